#include "cli/sweep_slurm.h"

#include "cli/sweep_commands.h"

#include <cctype>

std::string slurmJobName(const std::string& outDirectory)
{
    std::string last = outDirectory;
    while (last.size() > 1 && last.back() == '/')
        last.pop_back();
    last = last.substr(last.find_last_of('/') + 1);
    // #SBATCH lines are not read by a shell: keep the name to safe characters.
    for (char& c : last)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.'))
            c = '_';
    return "kelvo-" + last;
}

std::string slurmArrayScript(const std::string& outDirectory, int runCount)
{
    const std::string commands = shellQuote(outDirectory + "/commands.txt");
    return "#!/bin/sh\n"
           "#SBATCH --job-name=" + slurmJobName(outDirectory) + "\n"
           "#SBATCH --array=0-" + std::to_string(runCount - 1) + "\n"
           "#SBATCH --output=" + outDirectory + "/slurm-%A_%a.out\n"
           "#SBATCH --ntasks=1\n"
           "#SBATCH --cpus-per-task=1\n"
           "# One task per run: task K runs line K + 1 of commands.txt, which\n"
           "# writes the run's folder. Add --time, --partition or --mem above as\n"
           "# the cluster asks.\n"
           "if [ -z \"${SLURM_ARRAY_TASK_ID:-}\" ]; then\n"
           "    echo \"sweep.sbatch: SLURM_ARRAY_TASK_ID is not set (submit with sbatch)\" >&2\n"
           "    exit 2\n"
           "fi\n"
           "line=$((SLURM_ARRAY_TASK_ID + 1))\n"
           "command=$(sed -n \"${line}p\" " + commands + ")\n"
           "if [ -z \"$command\" ]; then\n"
           "    echo \"sweep.sbatch: commands.txt has no line $line\" >&2\n"
           "    exit 2\n"
           "fi\n"
           "exec sh -c \"$command\"\n";
}

std::string slurmSubmitScript(const std::string& sweepProgram, const std::string& outDirectory)
{
    const std::string merge = shellQuote(sweepProgram) + " --merge " + shellQuote(outDirectory);
    return "#!/bin/sh\n"
           "# Submits the runs as a job array and the merge into summary.csv as a\n"
           "# job that starts when every task has ended, failed ones included.\n"
           "set -eu\n"
           "jid=$(sbatch --parsable " + shellQuote(outDirectory + "/sweep.sbatch") + ")\n"
           "jid=${jid%%;*}\n"
           "sbatch --dependency=afterany:\"$jid\" --job-name=" + shellQuote(slurmJobName(outDirectory) + "-merge") +
           " --output=" + shellQuote(outDirectory + "/slurm-merge-%j.out") + " --wrap " + shellQuote(merge) + "\n"
           "echo \"runs: job array $jid; summary.csv is written when they have all ended\"\n";
}
