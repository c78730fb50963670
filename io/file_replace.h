// Replacing a file whole: the bytes go to a new temporary file beside the
// target, which is then renamed over it, so that a reader (or a crash) never
// meets half a file under the target's name, and a failure leaves any
// earlier file as it was.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether the data must be on the disk before the rename: files a user keeps
// (grids, states) are; frames of a running output need not be.
enum class FileSync { None, BeforeRename };

// Writes size bytes as the file path. Through a symbolic link the file it
// leads to is replaced and the link kept; a replaced file keeps its
// permissions. False on any failure (the temporary is then removed), and for
// a target that exists but is not a regular file (a device or FIFO).
bool replaceFile(const std::string& path, const void* bytes, std::size_t size, FileSync sync);

template <class Byte>
bool replaceFile(const std::string& path, const std::vector<Byte>& bytes, FileSync sync)
{
    static_assert(sizeof(Byte) == 1, "a file is replaced by bytes");
    return replaceFile(path, bytes.data(), bytes.size(), sync);
}
