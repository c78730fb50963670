// Runs a program as a user would, bounded in time, and tells a clean end from
// a crash, a hang or a sanitizer report.
#pragma once

#include <string>
#include <vector>

struct ChildOutcome {
    bool exited = false;    // ended through exit(), not by a signal
    int status = -1;        // exit status when exited
    int signal = 0;         // the signal that ended it, when it did not exit
    bool timedOut = false;  // killed after the time limit
    std::string out;        // everything written to stdout
    std::string err;        // everything written to stderr

    // Ended by itself within the limit, with no signal and no sanitizer report.
    bool endedCleanly() const;
    // A one-line description for failure messages.
    std::string describe() const;
};

// Runs program with args (argv[0] is the program) in directory dir, stdin
// from /dev/null, and kills it after timeoutSeconds. Sanitizer reports are
// made fatal (abort) so that they cannot pass for an ordinary exit status.
ChildOutcome runChild(const std::string& program, const std::vector<std::string>& args,
                      const std::string& dir, double timeoutSeconds);

// A new empty directory under the system's temporary directory.
std::string makeScratchDirectory();

// Removes a directory tree made by makeScratchDirectory.
void removeTree(const std::string& dir);

// Lines of text, counting a last line without its line feed.
int countLines(const std::string& text);
