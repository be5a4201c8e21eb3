// Montages: pictures joined side by side by the image tool.
#include "montage.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "state.h"

extern char** environ;

namespace {

std::string FileName(const char* format, int time) { return FormatString(format, dirname, time); }

// The image tool: ROOTSIM_CONVERT when set, else the system's own convert,
// else whatever "convert" the search path finds.
std::string ConvertProgram() {
    const char* env = getenv("ROOTSIM_CONVERT");
    if (env != nullptr && *env != '\0') return env;
    if (access("/usr/bin/convert", X_OK) == 0) return "/usr/bin/convert";
    return "convert";
}

// Runs the image tool on `args` (without the program name) and waits for it.
// True when it ran and exited with status 0.  On failure the target picture,
// which could be partial or stale, is removed.
bool RunConvert(const std::vector<std::string>& args, const std::string& target) {
    const std::string prog = ConvertProgram();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(prog.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    fflush(stdout);
    fflush(stderr);
    pid_t pid = 0;
    int rc = prog.find('/') != std::string::npos
                 ? posix_spawn(&pid, prog.c_str(), nullptr, nullptr, argv.data(), environ)
                 : posix_spawnp(&pid, prog.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        fprintf(stderr, "%s: cannot run %s: %s; montage %s not written\n", ProgramName(), prog.c_str(),
                strerror(rc), target.c_str());
        unlink(target.c_str());
        return false;
    }
    int status = 0;
    pid_t w;
    do {
        w = waitpid(pid, &status, 0);
    } while (w < 0 && errno == EINTR);
    if (w < 0) {
        fprintf(stderr, "%s: lost track of %s: %s; montage %s not written\n", ProgramName(), prog.c_str(),
                strerror(errno), target.c_str());
        unlink(target.c_str());
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        if (WIFEXITED(status))
            fprintf(stderr, "%s: %s ended with status %d; montage %s not written\n", ProgramName(), prog.c_str(),
                    WEXITSTATUS(status), target.c_str());
        else
            fprintf(stderr, "%s: %s was stopped by signal %d; montage %s not written\n", ProgramName(),
                    prog.c_str(), WIFSIGNALED(status) ? WTERMSIG(status) : 0, target.c_str());
        unlink(target.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool Montage(const std::vector<const char*>& parts, const char* target, int time) {
    std::vector<std::string> args;
    for (const char* p : parts) args.push_back(FileName(p, time));
    args.push_back("+append");
    std::string out = FileName(target, time);
    args.push_back(out);
    return RunConvert(args, out);
}

