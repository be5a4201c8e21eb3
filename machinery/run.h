// The run of a program: its command line, the check of its output
// directory, the progress line, the loop over its steps and how the run ends.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One option of the command line.  Options may stand anywhere on the line,
// as "--name value" or "--name=value" (flags without a value); "--" ends the
// options, so that a directory whose name begins with "-" can follow it.
struct RunOption {
    const char* name;        // "--steps"
    const char* valueName;   // "N" for an option that takes a value; null for a flag
    std::string help;        // its line in --help
    // Takes the option's value (null for a flag).  Returns "" or what is
    // wrong, as the whole message ("--steps: not a step count ...").
    std::function<std::string(const char* value)> take;
};

// What a program brings to the run.
struct ProgramRun {
    const char* name;           // program name, as in messages ("rootsim")
    long steps;                 // steps of a full run
    void (*startUp)();          // after the directory is known: state, plant, first outputs
    void (*step)(long j, long last);  // everything of step j of a run ending at step `last`
    void (*finish)();           // after the last step (releases the state)
    // The name formats of every file the program writes ("%s/Totalauxin",
    // "%s/Aux_%.8d.png"): a directory holding such a file is refused unless
    // --overwrite is given, which removes exactly those files first; the
    // longest of them bounds the length of the directory name.
    std::vector<std::string> outputNames = {};
    // Options of the program besides the common ones (--steps, --threads,
    // --overwrite, --checkpoint-every, --resume, --from-dump, --help).
    std::vector<RunOption> options = {};
    // Resuming from a checkpoint: makes the state (allocation and the
    // registration of what the program keeps outside the global arrays)
    // without building a plant.  Null when the program cannot resume.
    void (*makeState)() = nullptr;
    // Starting from a plant state file: makes the state, reads the file at
    // `path` and rebuilds the plant from it.  Returns the last step the file
    // stands for, or -1 with the reason in *why (empty when the reader has
    // already said it).  Null when the program cannot.
    long (*fromPlantFile)(const std::string& path, std::string* why) = nullptr;
};

// Checkpoints are written every this many steps unless --checkpoint-every
// says otherwise (0: none).
constexpr long DEFAULT_CHECKPOINT_EVERY = 250000;

// How a run ends (RunProgram's result).  A run stopped by SIGINT or SIGTERM
// ends with 128 + the signal's number (130, 143).
enum RunStatus {
    RUN_COMPLETE = 0,      // every step run, every output written
    RUN_REFUSED = 1,       // refused at start: usage, option, directory
    RUN_OUTPUTS_LOST = 2,  // every step run, but some outputs could not be written
};

// The command line split into the directory and the options, each option
// handed to its `take`.  error is the first thing wrong ("" when none).
struct CommandLine {
    std::string directory;
    bool hasDirectory = false;
    bool help = false;       // --help or -h anywhere before "--"
    std::string error;
};
CommandLine ParseCommandLine(int argc, char** argv, const std::vector<RunOption>& options);

// Refuses an output directory that cannot hold the run's files, before hours
// of computation are spent: an empty name, a name with which the longest
// output path (OutputNameFormats) would exceed the system's path limit, a
// directory that does not exist or is not writable.  Returns "" when the
// directory is usable, else the reason.
std::string CheckOutputDirectory(const char* dir);

// Parses the command line, checks the output directory (and clears or
// refuses the outputs of an earlier run in it), calls Start (which copies the
// directory into dirname), sets the threads, and runs startUp, the steps
// 1..N with a progress line on standard error, and finish.  SIGINT and SIGTERM
// stop the run after the step in progress, whose files are then complete; a
// second such signal ends it at once.  Returns the exit status: a RunStatus,
// or 128 + the signal.
int RunProgram(int argc, char** argv, const ProgramRun& program);

// The signal that asked the run to stop (0 while none did).
int StopSignal();

// Provided by every program: copies argv[1] into dirname; without it prints
// the usage line and ends the process with status 1.
void Start(int argc, char** argv);
// What every program's Start does.
void StartWithDirectory(int argc, char** argv);
