// The run of a program: its command line, the check of its output
// directory, the progress line and the loop over its steps.
#pragma once

// What a program brings to the run.
struct ProgramRun {
    const char* name;           // program name, as in messages ("rootsim")
    long steps;                 // steps of a full run
    void (*startUp)();          // after the directory is known: state, plant, first outputs
    void (*step)(long j, long last);  // everything of step j of a run ending at step `last`
    void (*finish)();           // after the last step (releases the state)
};

// Parses the command line ([--steps N] [--threads N] [--help] dirname), checks
// the output directory, calls Start (which copies the directory into
// dirname), sets the threads, and runs startUp, the steps 1..N with a
// progress line on standard error, and finish.  Returns the exit status.
int RunProgram(int argc, char** argv, const ProgramRun& program);

// Provided by every program: copies argv[1] into dirname; without it prints
// the usage line and ends the process with status 1.
void Start(int argc, char** argv);
// What every program's Start does.
void StartWithDirectory(int argc, char** argv);
