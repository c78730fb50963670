// Child processes for the hostile-input tests: fork, exec, wait with a limit.
#include "child_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// How often a running child is looked at.
constexpr auto pollInterval = std::chrono::milliseconds(5);

// Texts every sanitizer report carries.
constexpr const char* sanitizerMarks[] = {"Sanitizer", "runtime error:"};

// The whole content of a file ("" when it cannot be read).
std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The parent's environment with the sanitizers told to abort on any report;
// options given later in the list win.
std::vector<std::string> childEnvironment()
{
    std::vector<std::string> env;
    std::string asan = "ASAN_OPTIONS=", ubsan = "UBSAN_OPTIONS=";
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind(asan, 0) == 0)
            asan = entry + ":";
        else if (entry.rfind(ubsan, 0) == 0)
            ubsan = entry + ":";
        else
            env.push_back(entry);
    }
    env.push_back(asan + "abort_on_error=1:detect_leaks=1");
    env.push_back(ubsan + "halt_on_error=1:abort_on_error=1:print_stacktrace=1");
    return env;
}

// The C view of a list of strings, ending in a null pointer.
std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> p;
    for (std::string& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// In the child: redirect, change directory, exec; never returns.
[[noreturn]] void becomeChild(const std::string& dir, int outFd, int errFd, char** argv,
                              char** envp)
{
    const int nullFd = open("/dev/null", O_RDONLY);
    if (nullFd < 0 || dup2(nullFd, 0) < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0 ||
        chdir(dir.c_str()) != 0)
        _exit(126);
    execve(argv[0], argv, envp);
    _exit(127);
}

// Waits for pid until the deadline, then kills it; fills the end state.
void waitWithLimit(pid_t pid, double timeoutSeconds, ChildOutcome& o)
{
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration<double>(timeoutSeconds);
    int raw = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &raw, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return;
        if (std::chrono::steady_clock::now() >= deadline) {
            o.timedOut = true;
            kill(pid, SIGKILL);
            while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    o.exited = WIFEXITED(raw);
    o.status = o.exited ? WEXITSTATUS(raw) : -1;
    o.signal = WIFSIGNALED(raw) ? WTERMSIG(raw) : 0;
}

}  // namespace

bool ChildOutcome::endedCleanly() const
{
    if (!exited || timedOut)
        return false;
    for (const char* mark : sanitizerMarks)
        if (err.find(mark) != std::string::npos || out.find(mark) != std::string::npos)
            return false;
    return true;
}

std::string ChildOutcome::describe() const
{
    std::string d = timedOut ? "timed out" : exited ? "exit " + std::to_string(status)
                                                     : "signal " + std::to_string(signal);
    return d + ", stderr: " + err.substr(0, 400);
}

ChildOutcome runChild(const std::string& program, const std::vector<std::string>& args,
                      const std::string& dir, double timeoutSeconds)
{
    ChildOutcome o;
    const std::string outPath = dir + "/.child.out", errPath = dir + "/.child.err";
    const int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::vector<std::string> argStrings = {program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = childEnvironment();
    std::vector<char*> argv = pointersTo(argStrings), envp = pointersTo(envStrings);

    const pid_t pid = outFd >= 0 && errFd >= 0 ? fork() : -1;
    if (pid == 0)
        becomeChild(dir, outFd, errFd, argv.data(), envp.data());
    if (outFd >= 0)
        close(outFd);
    if (errFd >= 0)
        close(errFd);
    if (pid < 0)
        return o;
    waitWithLimit(pid, timeoutSeconds, o);
    o.out = readWhole(outPath);
    o.err = readWhole(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return o;
}

std::string makeScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvo-hostile-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return std::string();
    return pattern;
}

void removeTree(const std::string& dir)
{
    std::error_code ignored;
    if (!dir.empty())
        std::filesystem::remove_all(dir, ignored);
}

int countLines(const std::string& text)
{
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n + (!text.empty() && text.back() != '\n');
}
