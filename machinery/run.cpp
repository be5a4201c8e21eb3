// The run of a program: command line, output directory, progress, steps,
// and how the run ends.
#include "run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checkpoint.h"
#include "outputs.h"
#include "profile.h"
#include "run_record.h"
#include "state.h"
#include "threads.h"
#include "wide_lanes.h"

namespace {

// The settings of the common options.
struct RunSettings {
    long steps = 0;
    bool stepsGiven = false;
    bool everyGiven = false;
    int threads = 0;  // 0: all cores
    bool overwrite = false;
    long checkpointEvery = DEFAULT_CHECKPOINT_EVERY;
    bool resume = false;
    std::string fromDump;
    bool profile = false;
};

std::string StepCount(const char* option, const char* v, long most, long* out) {
    char* end = nullptr;
    errno = 0;
    long n = strtol(v, &end, 10);
    if (errno != 0 || end == v || *end != '\0' || n < 0 || n > most)
        return std::string(option) + ": not a step count between 0 and " + std::to_string(most) + ": " + v;
    *out = n;
    return "";
}

std::string StepsHelp(long fullSteps) {
    return FormatString("stop after step N (default %ld, time %.1f per step)", fullSteps, DT);
}

std::vector<RunOption> CommonOptions(RunSettings* s, long fullSteps) {
    return {
        {"--steps", "N", StepsHelp(fullSteps),
         [s, fullSteps](const char* v) -> std::string {
             s->stepsGiven = true;
             return StepCount("--steps", v, fullSteps, &s->steps);
         }},
        {"--threads", "N",
         "threads of the transport step (default: all cores); the results are the same for any number",
         [s](const char* v) -> std::string {
             char* end = nullptr;
             errno = 0;
             long n = strtol(v, &end, 10);
             if (errno != 0 || end == v || *end != '\0' || n < 1 || n > 64)
                 return std::string("--threads: not a thread count between 1 and 64: ") + v;
             s->threads = static_cast<int>(n);
             return "";
         }},
        {"--overwrite", nullptr, "remove the outputs of an earlier run from DIR first (only files with this "
                                 "program's output names)",
         [s](const char*) -> std::string {
             s->overwrite = true;
             return "";
         }},
        {"--checkpoint-every", "N",
         FormatString("write DIR/checkpoint, the exact state of the run, every N steps and when the run is "
                      "stopped by a signal (default %ld; 0: never)",
                      DEFAULT_CHECKPOINT_EVERY),
         [s, fullSteps](const char* v) -> std::string {
             s->everyGiven = true;
             return StepCount("--checkpoint-every", v, fullSteps, &s->checkpointEvery);
         }},
        {"--resume", nullptr,
         "continue the run in DIR from its checkpoint, exactly as if it had never stopped: files written "
         "after the checkpoint are cut back or removed first; the run goes on to the step it was to reach "
         "with its checkpoint interval, unless --steps or --checkpoint-every say otherwise",
         [s](const char*) -> std::string {
             s->resume = true;
             return "";
         }},
        {"--profile", nullptr,
         "time every part of each step and print where the run's time went at its end (standard error)",
         [s](const char*) -> std::string {
             s->profile = true;
             return "";
         }},
        {"--from-dump", "FILE",
         "build the plant from a plant state file (DumpPlantStateAt...) instead of the initial layout and "
         "continue from its time; not exact: the file rounds to six decimals and lacks part of the state",
         [s](const char* v) -> std::string {
             s->fromDump = v;
             return "";
         }},
    };
}

void PrintHelp(const char* prog, const std::vector<RunOption>& options) {
    fprintf(stderr,
            "usage: %s [OPTION]... DIR\n"
            "\n"
            "Simulates the growing root tip and writes pictures, measurements and\n"
            "plant-state dumps into the existing directory DIR.  Options may stand\n"
            "before or after DIR; a DIR beginning with '-' goes after \"--\".\n"
            "\n",
            prog);
    // Each option's text wrapped at 78 columns beside its name.
    for (const RunOption& o : options) {
        std::string left = std::string(o.name) + (o.valueName != nullptr ? std::string(" ") + o.valueName : "");
        std::string line = FormatString("  %-14s", left.c_str());
        size_t from = 0;
        while (from < o.help.size()) {
            size_t end = o.help.find(' ', from);
            if (end == std::string::npos) end = o.help.size();
            const std::string word = o.help.substr(from, end - from);
            if (line.size() > 17 && line.size() + 1 + word.size() > 78) {
                fprintf(stderr, "%s\n", line.c_str());
                line = std::string(16, ' ');
            }
            line += " " + word;
            from = end + 1;
        }
        fprintf(stderr, "%s\n", line.c_str());
    }
    fprintf(stderr,
            "  %-14s %s\n"
            "\n"
            "Exit status:\n"
            "  0    the run completed and every output was written\n"
            "  1    refused at start (usage, option, output directory)\n"
            "  2    the run completed, but some outputs could not be written (named\n"
            "       on standard error as they failed and in a summary at the end)\n"
            "  130  stopped by SIGINT, 143 by SIGTERM, after the step in progress\n",
            "--help", "show this text");
}

// Outputs of an earlier run in the directory: refused, or removed with
// --overwrite.  Returns an empty string when the directory may be used.
std::string ClearEarlierOutputs(const std::string& dir, bool overwrite) {
    std::vector<std::string> found;
    std::string why;
    if (!FindOutputs(dir, &found, &why)) return "cannot read output directory " + dir + ": " + why;
    if (found.empty()) return "";
    if (!overwrite) {
        return "output directory " + dir + " holds the outputs of an earlier run (" + std::to_string(found.size()) +
               " file" + (found.size() == 1 ? "" : "s") + ", such as " + dir + "/" + found[0] +
               "); give --overwrite to remove them first, or choose another directory";
    }
    for (const std::string& name : found) {
        const std::string path = dir + "/" + name;
        if (unlink(path.c_str()) != 0 && errno != ENOENT)
            return "cannot remove " + path + " of an earlier run: " + strerror(errno);
    }
    fprintf(stderr, "%s: removed %zu file%s of an earlier run from %s\n", ProgramName(), found.size(),
            found.size() == 1 ? "" : "s", dir.c_str());
    return "";
}

// ---------------------------------------------------------------------------
// Stopping on SIGINT and SIGTERM: the first one lets the step in progress
// finish, a second one ends the process at once (removing the temporary of
// a file being written).

volatile sig_atomic_t stopSignal = 0;
char stopNotice[256];
size_t stopNoticeLength = 0;
struct sigaction previousInt, previousTerm;

extern "C" void OnStopSignal(int sig) {
    if (stopSignal != 0) {
        RemoveLiveTemporaries();
        signal(sig, SIG_DFL);
        raise(sig);
        return;
    }
    stopSignal = sig;
    if (stopNoticeLength > 0) {
        ssize_t ignored = write(STDERR_FILENO, stopNotice, stopNoticeLength);
        (void)ignored;
    }
}

void InstallStopHandlers() {
    stopSignal = 0;
    snprintf(stopNotice, sizeof stopNotice,
             "\n%s: stopping after the step in progress (a second signal stops at once)\n", ProgramName());
    stopNoticeLength = strlen(stopNotice);
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    // A signal ignored by whoever started the run (a job in the background
    // of a script, nohup) stays ignored.
    sigaction(SIGINT, nullptr, &previousInt);
    sigaction(SIGTERM, nullptr, &previousTerm);
    if (previousInt.sa_handler != SIG_IGN) sigaction(SIGINT, &sa, nullptr);
    if (previousTerm.sa_handler != SIG_IGN) sigaction(SIGTERM, &sa, nullptr);
}

void RemoveStopHandlers() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

// Progress on standard error: rewritten in place on a terminal, one line a
// minute otherwise.  Standard output carries only the simulator's own lines.
class Progress {
public:
    Progress(long first, long total) : first_(first), total_(total), tty_(isatty(STDERR_FILENO) != 0) {
        start_ = last_ = Clock::now();
    }
    void Update(long step, bool force = false) {
        Clock::time_point now = Clock::now();
        double since = std::chrono::duration<double>(now - last_).count();
        if (!force && since < (tty_ ? 1.0 : 60.0)) return;
        last_ = now;
        double elapsed = std::chrono::duration<double>(now - start_).count();
        double rate = elapsed > 0 ? static_cast<double>(step - first_ + 1) / elapsed : 0.0;
        double remain = rate > 0 ? static_cast<double>(total_ - step) / rate : 0.0;
        long rs = static_cast<long>(remain);
        fprintf(stderr, "%sstep %ld/%ld  time %.1f  cells %d  %.0f steps/s  remaining %ldh%02ldm%02lds%s",
                tty_ ? "\r" : "", step, total_, step * DT, actcells, rate, rs / 3600,
                (rs / 60) % 60, rs % 60, tty_ ? "   " : "\n");
        fflush(stderr);
    }
    void Finish() {
        if (tty_) fputc('\n', stderr);
    }

private:
    using Clock = std::chrono::steady_clock;
    long first_;
    long total_;
    bool tty_;
    Clock::time_point start_, last_;
};

}  // namespace

std::string CheckOutputDirectory(const char* dir) {
    size_t len = strlen(dir);
    if (len == 0) return "output directory name is empty";
    // Every output path must fit the system's limit (PATH_MAX bytes with the
    // terminator), the longest name in the directory included.
    const size_t longest = LongestOutputPath(len);
    if (longest > static_cast<size_t>(PATH_MAX) - 1 || len >= static_cast<size_t>(DIRNAME_SIZE)) {
        return "output directory name is too long (" + std::to_string(len) +
               " characters): its output file names would exceed the system's path limit of " +
               std::to_string(PATH_MAX - 1) + " characters (the longest would have " + std::to_string(longest) +
               ")";
    }
    struct stat st;
    if (stat(dir, &st) != 0) {
        return std::string("output directory ") + dir + " does not exist: " + strerror(errno);
    }
    if (!S_ISDIR(st.st_mode)) return std::string("output directory ") + dir + " is not a directory";
    if (access(dir, W_OK | X_OK) != 0) {
        return std::string("output directory ") + dir + " is not writable: " + strerror(errno);
    }
    return "";
}

CommandLine ParseCommandLine(int argc, char** argv, const std::vector<RunOption>& options) {
    CommandLine cl;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--") == 0) break;
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) cl.help = true;
    }
    bool optionsEnded = false;
    for (int i = 1; i < argc && cl.error.empty(); i++) {
        const char* arg = argv[i];
        if (!optionsEnded && strcmp(arg, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
            if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) continue;
            const char* eq = strncmp(arg, "--", 2) == 0 ? strchr(arg, '=') : nullptr;
            const std::string name = eq != nullptr ? std::string(arg, eq) : std::string(arg);
            const RunOption* o = nullptr;
            for (const RunOption& c : options)
                if (name == c.name) o = &c;
            if (o == nullptr) {
                cl.error = "unknown option: " + std::string(arg) +
                           " (a directory whose name begins with '-' goes after \"--\")";
                break;
            }
            const char* value = nullptr;
            if (o->valueName != nullptr) {
                if (eq != nullptr) value = eq + 1;
                else if (i + 1 < argc) value = argv[++i];
                else {
                    cl.error = name + " needs a value " + o->valueName;
                    break;
                }
            } else if (eq != nullptr) {
                cl.error = name + " takes no value: " + arg;
                break;
            }
            cl.error = o->take(value);
            continue;
        }
        if (cl.hasDirectory) {
            cl.error = "more than one output directory: " + cl.directory + " and " + arg;
            break;
        }
        cl.directory = arg;
        cl.hasDirectory = true;
    }
    return cl;
}

int StopSignal() { return stopSignal; }

void StartWithDirectory(int argc, char** argv) {
    if (argc < 2) {
        // Every program of the family prints the same line.
        printf("usage: rootsim dirname\n");
        fflush(stdout);
        exit(1);
    }
    // The caller has checked the length; copy with a bound all the same.
    snprintf(dirname, sizeof dirname, "%s", argv[1]);
}

namespace {

// The outputs of the run as they stand (their names and lengths), for a
// checkpoint: everything with an output name but the checkpoint, the run
// record and temporaries.
bool ListOutputs(std::vector<AppendedFile>* files, std::string* why) {
    std::vector<std::string> names;
    if (!FindOutputs(dirname, &names, why)) return false;
    files->clear();
    const size_t sl = strlen(kTemporarySuffix);
    for (const std::string& n : names) {
        if (n == "checkpoint" || n == "run.json") continue;
        if (n.size() > sl && n.compare(n.size() - sl, sl, kTemporarySuffix) == 0) continue;
        struct stat st;
        const std::string path = std::string(dirname) + "/" + n;
        if (stat(path.c_str(), &st) != 0) continue;
        files->push_back({n, static_cast<long long>(st.st_size)});
    }
    return true;
}

// Writes the checkpoint after step j; a failure is reported (with the other
// failed outputs) and the run goes on with the previous checkpoint.
void TakeCheckpoint(long j, long last, long every) {
    std::vector<AppendedFile> files;
    std::string why;
    if (!ListOutputs(&files, &why) || !WriteCheckpoint(j, last, every, files, &why))
        OutputFailed(CheckpointPath(), why);
}

// Puts the outputs back as they were at the checkpoint: the files it lists cut
// back to their lengths, every other output removed.  Nothing is changed
// unless every listed file is there, at least as long as it was.
std::string RestoreOutputs(const CheckpointInfo& info) {
    const std::string dir = dirname;
    std::vector<std::string> names;
    std::string why;
    if (!FindOutputs(dir, &names, &why)) return "cannot read output directory " + dir + ": " + why;
    for (const AppendedFile& f : info.appended) {
        struct stat st;
        const std::string path = dir + "/" + f.name;
        if (stat(path.c_str(), &st) != 0)
            return path + " was there when the checkpoint was written and is missing now";
        if (static_cast<long long>(st.st_size) < f.length)
            return FormatString("%s is shorter than when the checkpoint was written (%lld bytes, was %lld)",
                                path.c_str(), static_cast<long long>(st.st_size), f.length);
    }
    std::vector<std::string> keep;
    for (const AppendedFile& f : info.appended) {
        keep.push_back(f.name);
        const std::string path = dir + "/" + f.name;
        if (truncate(path.c_str(), static_cast<off_t>(f.length)) != 0)
            return "cannot cut " + path + " back: " + strerror(errno);
    }
    std::sort(keep.begin(), keep.end());
    size_t removed = 0;
    for (const std::string& n : names) {
        if (n == "checkpoint" || n == "run.json" || std::binary_search(keep.begin(), keep.end(), n)) continue;
        const std::string path = dir + "/" + n;
        if (unlink(path.c_str()) != 0 && errno != ENOENT) return "cannot remove " + path + ": " + strerror(errno);
        removed++;
    }
    if (removed > 0)
        fprintf(stderr, "%s: removed %zu file%s written after the checkpoint\n", ProgramName(), removed,
                removed == 1 ? "" : "s");
    return "";
}

// Whether this processor runs the build's transport step: a build for 512-bit
// vector registers stops with a clear word instead of an illegal instruction.
bool ProcessorRunsThisBuild() {
#ifdef ROOTSIM_WIDE_LANES
    return ProcessorHasWideLanes();
#else
    return true;
#endif
}

}  // namespace

int RunProgram(int argc, char** argv, const ProgramRun& program) {
    SetProgramName(program.name);
    std::vector<std::string> names = program.outputNames;
    names.push_back("%s/checkpoint");
    names.push_back("%s/run.json");
    SetOutputNameFormats(names);
    ClearOutputFailures();
    const auto started = std::chrono::steady_clock::now();

    RunSettings settings;
    settings.steps = program.steps;
    std::vector<RunOption> options = CommonOptions(&settings, program.steps);
    options.insert(options.end(), program.options.begin(), program.options.end());
    CommandLine cl = ParseCommandLine(argc, argv, options);
    if (cl.help) {
        PrintHelp(argv[0], options);
        return RUN_COMPLETE;
    }
    if (!ProcessorRunsThisBuild()) {
        fprintf(stderr,
                "%s: this build uses 512-bit vector instructions that this processor lacks; build it here "
                "with -DROOTSIM_WIDE_LANES=OFF\n",
                program.name);
        return RUN_REFUSED;
    }
    if (cl.error.empty() && settings.resume && !settings.fromDump.empty())
        cl.error = "--resume and --from-dump cannot go together";
    if (cl.error.empty() && settings.resume && settings.overwrite)
        cl.error = "--resume continues the outputs in the directory; --overwrite would remove them";
    if (cl.error.empty() && settings.resume && program.makeState == nullptr)
        cl.error = std::string(program.name) + " cannot resume a run";
    if (cl.error.empty() && !settings.fromDump.empty() && program.fromPlantFile == nullptr)
        cl.error = std::string(program.name) + " cannot start from a plant state file";
    if (!cl.error.empty()) {
        fprintf(stderr, "%s: %s\n", program.name, cl.error.c_str());
        fprintf(stderr, "%s: see %s --help\n", program.name, argv[0]);
        return RUN_REFUSED;
    }
    if (cl.hasDirectory) {
        std::string problem = CheckOutputDirectory(cl.directory.c_str());
        if (problem.empty() && !settings.resume) problem = ClearEarlierOutputs(cl.directory, settings.overwrite);
        if (!problem.empty()) {
            fprintf(stderr, "%s: %s\n", program.name, problem.c_str());
            return RUN_REFUSED;
        }
    }
    // Without a directory, Start prints the usage line and ends with status 1.
    char* startArgv[3] = {argv[0], cl.hasDirectory ? &cl.directory[0] : nullptr, nullptr};
    Start(cl.hasDirectory ? 2 : 1, startArgv);
    SetTransportThreads(settings.threads);

    RunRecord record;
    record.program = program.name;
    record.version = ProgramVersion();
    for (int i = 0; i < argc; i++) record.command.push_back(argv[i]);
    record.threads = TransportThreads();
    const std::string recordPath = std::string(dirname) + "/run.json";
    std::vector<std::string> history;

    InstallStopHandlers();
    currentTime = 0;
    long first = 1;
    if (settings.resume) {
        program.makeState();
        CheckpointInfo info;
        std::string why;
        std::string problem;
        if (!ReadCheckpoint(CheckpointPath(), &info, &why)) problem = why + "; nothing in the directory was changed";
        if (problem.empty()) {
            if (!settings.stepsGiven) settings.steps = info.lastStep;
            if (!settings.everyGiven) settings.checkpointEvery = info.every;
            if (settings.steps < info.step)
                problem = FormatString("--steps %ld is below the checkpoint's step %ld", settings.steps, info.step);
        }
        if (problem.empty()) problem = RestoreOutputs(info);
        if (!problem.empty()) {
            fprintf(stderr, "%s: cannot resume: %s\n", program.name, problem.c_str());
            RemoveStopHandlers();
            program.finish();
            return RUN_REFUSED;
        }
        first = info.step + 1;
        currentTime = static_cast<int>(info.step * DT);
        history = EarlierRunRecords(recordPath);
        record.start = FormatString("resumed after step %ld", info.step);
        fprintf(stderr, "%s: resuming after step %ld (time %.1f)\n", program.name, info.step, info.step * DT);
    } else if (!settings.fromDump.empty()) {
        std::string why;
        const long done = program.fromPlantFile(settings.fromDump, &why);
        if (done < 0) {
            if (!why.empty()) fprintf(stderr, "%s: %s\n", program.name, why.c_str());
            fprintf(stderr, "%s: cannot start from %s\n", program.name, settings.fromDump.c_str());
            RemoveStopHandlers();
            program.finish();
            return RUN_REFUSED;
        }
        if (settings.steps <= done) {
            fprintf(stderr, "%s: the plant state file stands for step %ld; --steps %ld does not go beyond it\n",
                    program.name, done, settings.steps);
            RemoveStopHandlers();
            program.finish();
            return RUN_REFUSED;
        }
        first = done + 1;
        currentTime = static_cast<int>(done * DT);
        record.start = "plant state file " + settings.fromDump;
    } else {
        record.start = "initial layout";
        program.startUp();
    }
    // Only a program that can resume has use for checkpoints.
    if (program.makeState == nullptr) settings.checkpointEvery = 0;
    record.firstStep = first;
    record.stepsRequested = settings.steps;
    record.stepsDone = first - 1;
    record.state = "running";
    auto writeRecord = [&](const char* state) {
        record.state = state;
        record.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        record.failedFiles = FailedOutputNames();
        WriteRunRecord(recordPath, record, history);
    };
    writeRecord("running");

    PhaseProfile profile;
    if (settings.profile) runProfile = &profile;
    const int checkpointPhase = profile.Phase("checkpoint");
    profile.Start();
    Progress progress(first, settings.steps);
    long done = first - 1;
    for (long j = first; j <= settings.steps && stopSignal == 0; j++) {
        currentTime = static_cast<int>(j * DT);
        program.step(j, settings.steps);
        done = j;
        record.stepsDone = j;
        if (settings.checkpointEvery > 0 && j % settings.checkpointEvery == 0 && j < settings.steps) {
            Timed(checkpointPhase, [&] { TakeCheckpoint(j, settings.steps, settings.checkpointEvery); });
            writeRecord("running");
        }
        if ((j & 63) == 0) progress.Update(j);
    }
    const int stoppedBy = stopSignal;
    profile.Stop(done - first + 1);
    runProfile = nullptr;
    // A run stopped by a signal can go on from where it stopped.
    if (stoppedBy != 0 && settings.checkpointEvery > 0 && done >= first)
        TakeCheckpoint(done, settings.steps, settings.checkpointEvery);
    if (stoppedBy == 0) progress.Update(settings.steps, true);
    progress.Finish();
    program.finish();
    RemoveLiveTemporaries();
    if (stoppedBy != 0) {
        if (done < first)
            fprintf(stderr, "%s: stopped by %s before the first step; the outputs of the start are complete\n",
                    program.name, stoppedBy == SIGINT ? "SIGINT" : "SIGTERM");
        else
            fprintf(stderr,
                    "%s: stopped by %s after step %ld of %ld (time %.1f); the outputs up to that step are "
                    "complete%s\n",
                    program.name, stoppedBy == SIGINT ? "SIGINT" : "SIGTERM", done, settings.steps, done * DT,
                    settings.checkpointEvery > 0 ? "; --resume continues from there" : "");
    }
    writeRecord(stoppedBy != 0 ? "interrupted" : FailedOutputFiles() > 0 ? "failed" : "finished");
    if (settings.profile) profile.Print(stderr);
    PrintOutputFailureSummary();
    RemoveStopHandlers();
    if (stoppedBy != 0) return 128 + stoppedBy;
    return FailedOutputFiles() > 0 ? RUN_OUTPUTS_LOST : RUN_COMPLETE;
}
