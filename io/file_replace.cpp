#include "io/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The directory part of a path, with its trailing slash ("" for none).
std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Creates a new, unique, hidden file next to the target; -1 when that fails.
// A name taken (a save at the same time, a leftover) moves on to the next.
int createTemporary(const std::string& path, std::string& tempPath)
{
    const std::string dir = directoryOf(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".kelvo-save-%ld-%d.tmp", static_cast<long>(getpid()), attempt);
        tempPath = dir + name;
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Whether the path names something other than a regular file: a device,
// FIFO or socket must not be replaced by a renamed temporary.
bool isSpecialFile(const std::string& path)
{
    struct stat target {};
    return stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode);
}

// The file a symbolic link leads to; any other path as it is.
std::string linkTarget(const std::string& path)
{
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    const std::string target(resolved);
    std::free(resolved);
    return target;
}

// A replaced file keeps its permissions; a new one gets 0666 & ~umask.
bool keepPermissions(int fd, const std::string& path)
{
    struct stat old {};
    if (stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return true;
    return fchmod(fd, old.st_mode & 07777) == 0;
}

// Writes every byte, retrying short writes and interruptions.
bool writeAll(int fd, const unsigned char* bytes, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string& chosen, const void* bytes, std::size_t size, FileSync sync)
{
    if (chosen.empty() || isSpecialFile(chosen))
        return false;
    const std::string path = linkTarget(chosen);
    std::string tempPath;
    const int fd = createTemporary(path, tempPath);
    if (fd < 0)
        return false;
    // From here on the temporary is ours, to rename or remove.
    bool ok = keepPermissions(fd, path) && writeAll(fd, static_cast<const unsigned char*>(bytes), size);
    ok = (sync == FileSync::None || fsync(fd) == 0) && ok;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(tempPath.c_str());
    return ok;
}
