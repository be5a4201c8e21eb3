// The run of a program: command line, output directory, progress, steps.
#include "run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "state.h"
#include "threads.h"

namespace {

struct Options {
    long steps = 0;
    int threads = 0;  // 0: all cores
    bool help = false;
    int first_plain = -1;  // index of the output directory in argv
    std::string error;
};

void PrintHelp(const char* prog, long fullSteps) {
    fprintf(stderr,
            "usage: %s [--steps N] [--threads N] [--help] dirname\n"
            "\n"
            "Simulates the growing root tip and writes pictures, measurements and\n"
            "plant-state dumps into the existing directory dirname.\n"
            "\n"
            "  --steps N   stop after step N (default %ld, time 0.2 per step)\n"
            "  --threads N threads of the transport step (default: all cores); the\n"
            "              results are the same for any number\n"
            "  --help      show this text\n",
            prog, fullSteps);
}

Options ParseOptions(int argc, char** argv, long fullSteps) {
    Options o;
    o.steps = fullSteps;
    int i = 1;
    while (i < argc) {
        const char* arg = argv[i];
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            o.help = true;
            i++;
        } else if (strcmp(arg, "--steps") == 0) {
            if (i + 1 >= argc) {
                o.error = "--steps needs a number";
                return o;
            }
            char* end = nullptr;
            errno = 0;
            long v = strtol(argv[i + 1], &end, 10);
            if (errno != 0 || end == argv[i + 1] || *end != '\0' || v < 0 || v > fullSteps) {
                o.error = std::string("--steps: not a step count between 0 and ") +
                          std::to_string(fullSteps) + ": " + argv[i + 1];
                return o;
            }
            o.steps = v;
            i += 2;
        } else if (strcmp(arg, "--threads") == 0) {
            if (i + 1 >= argc) {
                o.error = "--threads needs a number";
                return o;
            }
            char* end = nullptr;
            errno = 0;
            long v = strtol(argv[i + 1], &end, 10);
            if (errno != 0 || end == argv[i + 1] || *end != '\0' || v < 1 || v > 64) {
                o.error = std::string("--threads: not a thread count between 1 and 64: ") + argv[i + 1];
                return o;
            }
            o.threads = static_cast<int>(v);
            i += 2;
        } else if (strcmp(arg, "--") == 0) {
            if (i + 1 < argc) o.first_plain = i + 1;
            return o;
        } else if (arg[0] == '-' && arg[1] == '-') {
            o.error = std::string("unknown option: ") + arg;
            return o;
        } else {
            o.first_plain = i;
            return o;
        }
    }
    return o;
}

// Refuses an output directory that cannot hold the run's files, before hours of
// computation are spent.  Returns an empty string when the directory is usable.
std::string CheckOutputDirectory(const char* dir) {
    size_t len = strlen(dir);
    if (len >= static_cast<size_t>(DIRNAME_SIZE)) {
        return "output directory name is too long (" + std::to_string(len) +
               " characters; at most " + std::to_string(DIRNAME_SIZE - 1) + ")";
    }
    if (len == 0) return "output directory name is empty";
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

// Progress on standard error: rewritten in place on a terminal, one line a
// minute otherwise.  Standard output carries only the simulator's own lines.
class Progress {
public:
    explicit Progress(long total) : total_(total), tty_(isatty(STDERR_FILENO) != 0) {
        start_ = last_ = Clock::now();
    }
    void Update(long step, bool force = false) {
        Clock::time_point now = Clock::now();
        double since = std::chrono::duration<double>(now - last_).count();
        if (!force && since < (tty_ ? 1.0 : 60.0)) return;
        last_ = now;
        double elapsed = std::chrono::duration<double>(now - start_).count();
        double rate = elapsed > 0 ? static_cast<double>(step) / elapsed : 0.0;
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
    long total_;
    bool tty_;
    Clock::time_point start_, last_;
};

}  // namespace

void StartWithDirectory(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: rootsim dirname\n");
        fflush(stdout);
        exit(1);
    }
    // The caller has checked the length; copy with a bound all the same.
    snprintf(dirname, sizeof dirname, "%s", argv[1]);
}

int RunProgram(int argc, char** argv, const ProgramRun& program) {
    SetProgramName(program.name);
    Options opt = ParseOptions(argc, argv, program.steps);
    if (opt.help) {
        PrintHelp(argv[0], program.steps);
        return 0;
    }
    if (!opt.error.empty()) {
        fprintf(stderr, "%s: %s\n", program.name, opt.error.c_str());
        PrintHelp(argv[0], program.steps);
        return 1;
    }
    // Without a directory, Start prints the usage line and ends with status 1.
    char* startArgv[3] = {argv[0], opt.first_plain > 0 ? argv[opt.first_plain] : nullptr, nullptr};
    int startArgc = opt.first_plain > 0 ? 2 : 1;
    if (startArgc == 2) {
        std::string problem = CheckOutputDirectory(startArgv[1]);
        if (!problem.empty()) {
            fprintf(stderr, "%s: %s\n", program.name, problem.c_str());
            return 1;
        }
    }
    Start(startArgc, startArgv);
    SetTransportThreads(opt.threads);

    program.startUp();
    Progress progress(opt.steps);
    for (long j = 1; j <= opt.steps; j++) {
        program.step(j, opt.steps);
        if ((j & 63) == 0) progress.Update(j);
    }
    progress.Update(opt.steps, true);
    progress.Finish();
    program.finish();
    return 0;
}
