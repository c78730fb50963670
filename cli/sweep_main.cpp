// kelvo-sweep: runs the lines of a table through kelvo-batch with GNU
// parallel, or writes them as a Slurm job array, and merges the summaries.
#include "cli/sweep_commands.h"
#include "cli/sweep_merge.h"
#include "cli/sweep_slurm.h"
#include "cli/sweep_table.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Exit statuses: as kelvo-batch's for success and a bad command line.
constexpr int exitOk = 0;
constexpr int exitRunsFailed = 1;  // a run failed, or a file could not be written
constexpr int exitUsage = 2;

struct SweepOptions {
    std::string tablePath;
    std::string outDirectory;
    std::string jobs;                     // "" for parallel's default, one per core
    std::vector<std::string> sshLogins;   // --sshlogin, passed on as given
    std::string batchProgram;             // "" for the one beside kelvo-sweep
    bool slurm = false;
    bool mergeOnly = false;
    bool help = false;
};

const char* const usage =
    "usage: kelvo-sweep TABLE.csv OUTDIR [--jobs N] [--sshlogin LOGIN]... [--batch PATH]\n"
    "       kelvo-sweep --slurm TABLE.csv OUTDIR [--batch PATH]\n"
    "       kelvo-sweep --merge OUTDIR\n"
    "\n"
    "Runs kelvo-batch once per line of TABLE.csv with GNU parallel, each run\n"
    "in OUTDIR/NAME/ (summary.json, log.txt and the files it was asked for),\n"
    "then merges the summaries into OUTDIR/summary.csv.\n"
    "\n"
    "TABLE.csv has a header line with a 'name' column and one column per\n"
    "kelvo-batch option without its dashes (re, dt, steps, convection ...);\n"
    "'grid' is the grid file, relative to the table's folder, and 'probe'\n"
    "holds points X,Y separated by ';'. An empty cell leaves the option out.\n"
    "\n"
    "  --jobs N         runs at a time (default: one per core)\n"
    "  --sshlogin LOGIN run on this machine too, as GNU parallel does\n"
    "                   (repeatable; the same paths must exist there)\n"
    "  --batch PATH     the kelvo-batch to run (default: beside kelvo-sweep)\n"
    "  --slurm          write OUTDIR/sweep.sbatch, a job array, and\n"
    "                   OUTDIR/submit.sh, which submits it with the merge\n"
    "  --merge          only merge OUTDIR's summaries into summary.csv\n"
    "  --help           show this text\n";

int fail(int status, const std::string& message)
{
    std::fprintf(stderr, "kelvo-sweep: %s\n", message.c_str());
    return status;
}

bool parseJobs(const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    const long jobs = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && errno == 0 && jobs >= 1 && jobs <= 1000;
}

bool parseSweepOptions(int argc, char** argv, SweepOptions& o, std::string& error)
{
    std::vector<std::string> positional;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        const bool valued = arg == "--jobs" || arg == "--sshlogin" || arg == "--batch";
        if (valued && k + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        if (arg == "--help" || arg == "-h")
            o.help = true;
        else if (arg == "--slurm")
            o.slurm = true;
        else if (arg == "--merge")
            o.mergeOnly = true;
        else if (arg == "--jobs")
            o.jobs = argv[++k];
        else if (arg == "--sshlogin")
            o.sshLogins.push_back(argv[++k]);
        else if (arg == "--batch")
            o.batchProgram = argv[++k];
        else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option '" + arg + "' (see --help)";
            return false;
        } else
            positional.push_back(arg);
    }
    if (o.help)
        return true;
    if (!o.jobs.empty() && !parseJobs(o.jobs))
        error = "--jobs needs a whole number from 1 to 1000, not '" + o.jobs + "'";
    else if (o.mergeOnly && (positional.size() != 1 || o.slurm))
        error = "--merge takes OUTDIR alone";
    else if (!o.mergeOnly && positional.size() != 2)
        error = "a table and an output folder are needed (see --help)";
    if (!error.empty())
        return false;
    o.outDirectory = positional.back();
    if (!o.mergeOnly)
        o.tablePath = positional.front();
    return true;
}

// path made absolute against the working folder, so that command lines work
// from any folder and on other machines with the same paths.
std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char here[PATH_MAX];
    if (!getcwd(here, sizeof here))
        return path;
    return path == "." ? here : std::string(here) + "/" + path;
}

std::string directoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// This program's own path, for the merge job of a Slurm sweep.
std::string thisProgram()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? std::string(self, static_cast<size_t>(length)) : "kelvo-sweep";
}

// kelvo-batch from the folder of this program, installed or in a build tree.
std::string batchBesideThisProgram()
{
    const std::string self = thisProgram();
    return self.find('/') == std::string::npos ? "kelvo-batch" : directoryOf(self) + "/kelvo-batch";
}

bool makeDirectory(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

bool writeFile(const std::string& path, const std::string& text, bool executable = false)
{
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!(file << text))
            return false;
    }
    return !executable || chmod(path.c_str(), 0755) == 0;
}

bool copyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    return in && (out << in.rdbuf());
}

// Whether a program of this name is found on PATH.
bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Runs GNU parallel over the command file; its exit status (the number of
// failed runs, up to 100), or -1 when it could not be started.
int runParallel(const SweepOptions& o, const std::string& outDirectory)
{
    std::vector<std::string> arguments{"parallel", "--will-cite", "--joblog", outDirectory + "/joblog.txt"};
    // Runs end only in the summary: show how far the sweep is on a terminal.
    if (isatty(fileno(stderr)))
        arguments.push_back("--eta");
    if (!o.jobs.empty())
        arguments.insert(arguments.end(), {"--jobs", o.jobs});
    for (const std::string& login : o.sshLogins)
        arguments.insert(arguments.end(), {"--sshlogin", login});
    arguments.insert(arguments.end(), {"::::", outDirectory + "/commands.txt"});
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // The command lines are POSIX shell, whatever the user's login shell.
        setenv("PARALLEL_SHELL", "/bin/sh", 1);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    // Ctrl-C stops parallel and its runs; the sweep lives on to merge what
    // has finished.
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGINT, &ignore, &previous);
    int status = 0;
    pid_t waited = 0;
    while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    sigaction(SIGINT, &previous, nullptr);
    return waited == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Writes OUTDIR/summary.csv from OUTDIR/table.csv; the exit status.
int merge(const std::string& outDirectory)
{
    SweepTable table;
    std::string error;
    if (!readSweepTable(outDirectory + "/table.csv", table, error))
        return fail(exitUsage, error);
    int ok = 0;
    const std::string csv = mergeSummaries(table, outDirectory, ok);
    if (!writeFile(outDirectory + "/summary.csv", csv))
        return fail(exitRunsFailed, "cannot write '" + outDirectory + "/summary.csv'");
    const int total = static_cast<int>(table.rows.size());
    std::fprintf(stderr, "kelvo-sweep: %d of %d runs ok, %s/summary.csv written\n", ok, total,
                 outDirectory.c_str());
    return ok == total ? exitOk : exitRunsFailed;
}

// The output folder with the table, the command file and the run folders.
bool prepareOutput(const SweepOptions& o, const std::string& outDirectory, const std::vector<SweepRun>& runs,
                   std::string& error)
{
    if (!makeDirectory(outDirectory)) {
        error = "cannot make the folder '" + outDirectory + "'";
        return false;
    }
    const std::string batch = o.batchProgram.empty() ? batchBesideThisProgram() : absolutePath(o.batchProgram);
    std::string commands;
    for (const SweepRun& run : runs) {
        commands += runCommandLine(batch, run, outDirectory) + "\n";
        // Leftovers of an earlier sweep into the same folder must not count.
        const std::string folder = runDirectory(outDirectory, run.name);
        for (const char* stale : {"/summary.json", "/exit_status"})
            std::remove((folder + stale).c_str());
    }
    if (!copyFile(o.tablePath, outDirectory + "/table.csv") ||
        !writeFile(outDirectory + "/commands.txt", commands))
        error = "cannot write into '" + outDirectory + "'";
    return error.empty();
}

int sweep(const SweepOptions& o)
{
    SweepTable table;
    std::vector<SweepRun> runs;
    std::string error;
    const std::string outDirectory = absolutePath(o.outDirectory);
    if (!readSweepTable(o.tablePath, table, error))
        return fail(exitUsage, error);
    if (!buildSweepRuns(table, absolutePath(directoryOf(o.tablePath)), outDirectory, runs, error))
        return fail(exitUsage, o.tablePath + ": " + error);
    if (!o.slurm && !onPath("parallel"))
        return fail(exitUsage, "GNU parallel is not on PATH (Debian: apt-get install parallel)");
    if (!prepareOutput(o, outDirectory, runs, error))
        return fail(exitRunsFailed, error);
    if (o.slurm) {
        if (!writeFile(outDirectory + "/sweep.sbatch", slurmArrayScript(outDirectory, static_cast<int>(runs.size()))) ||
            !writeFile(outDirectory + "/submit.sh", slurmSubmitScript(thisProgram(), outDirectory), true))
            return fail(exitRunsFailed, "cannot write into '" + outDirectory + "'");
        std::fprintf(stderr, "kelvo-sweep: %zu runs; submit them with sh %s/submit.sh\n", runs.size(),
                     outDirectory.c_str());
        return exitOk;
    }
    std::fprintf(stderr, "kelvo-sweep: %zu runs, logs in %s/NAME/log.txt\n", runs.size(), outDirectory.c_str());
    if (runParallel(o, outDirectory) < 0)
        std::fprintf(stderr, "kelvo-sweep: GNU parallel could not be run\n");
    return merge(outDirectory);
}

}  // namespace

int main(int argc, char** argv)
{
    SweepOptions options;
    std::string error;
    if (!parseSweepOptions(argc, argv, options, error))
        return fail(exitUsage, error);
    if (options.help) {
        std::fputs(usage, stdout);
        return exitOk;
    }
    return options.mergeOnly ? merge(absolutePath(options.outDirectory)) : sweep(options);
}
