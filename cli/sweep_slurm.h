// The Slurm form of a sweep: a job array with one task per command line, and
// a script that submits it with the merge as a dependent job.
#pragma once

#include <string>

// sweep.sbatch: task SLURM_ARRAY_TASK_ID runs line SLURM_ARRAY_TASK_ID + 1
// of outDirectory/commands.txt; Slurm's own output goes to
// outDirectory/slurm-JOB_TASK.out. outDirectory should be absolute.
std::string slurmArrayScript(const std::string& outDirectory, int runCount);

// submit.sh: submits sweep.sbatch, then `kelvo-sweep --merge outDirectory`
// to start once every task has ended, whatever their status.
std::string slurmSubmitScript(const std::string& sweepProgram, const std::string& outDirectory);

// A name for the job: "kelvo-" and the last part of outDirectory.
std::string slurmJobName(const std::string& outDirectory);
