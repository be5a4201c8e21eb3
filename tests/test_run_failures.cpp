// How a run starts and ends: options anywhere on the command line, the output
// directory (its length, the outputs of an earlier run in it), the exit
// status and closing summary of a run that lost outputs, and a run stopped
// by a signal.  Most cases run the program itself.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "graphics_support.h"
#include "outputs.h"
#include "rootsim.h"
#include "run.h"
#include "test_support.h"

using testsupport::FileExists;
using testsupport::ListDir;
using testsupport::ReadFile;
using testsupport::ShellQuote;
using testsupport::TempDir;

namespace {

// Runs rootsim with the arguments (already quoted), ended after `limit`
// seconds should it run on.
testsupport::CommandResult Rootsim(const std::string& args, int limit = 120) {
    return testsupport::RunCommand("timeout -s KILL " + std::to_string(limit) + " " + ShellQuote(ROOTSIM_BIN) +
                                   " " + args);
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

void WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << path;
    fputs(text.c_str(), f);
    fclose(f);
}

// A nested directory below `base` whose path is exactly `length` characters.
std::string DeepDirectory(const std::string& base, size_t length) {
    std::string dir = base;
    if (mkdir(dir.c_str(), 0700) != 0) return "";
    while (dir.size() < length) {
        // Each part "/" and at most 200 characters; never leave one character.
        const size_t remaining = length - dir.size();
        const size_t part = remaining <= 201 ? remaining - 1 : std::min<size_t>(200, remaining - 3);
        if (part == 0) return "";
        dir += "/" + std::string(part, 'd');
        if (mkdir(dir.c_str(), 0700) != 0) return "";
    }
    return dir.size() == length ? dir : "";
}

// No temporary is left in dir, and every picture there is whole.
void ExpectOnlyWholePictures(const std::string& dir) {
    for (const std::string& f : ListDir(dir)) {
        EXPECT_EQ(f.find(".partial"), std::string::npos) << f;
        if (f.size() > 4 && f.compare(f.size() - 4, 4, ".png") == 0) {
            EXPECT_TRUE(graphicstest::ReadPng(dir + "/" + f).ok) << f << " is not a whole picture";
        }
    }
}

// rootsim with its standard output read through a pipe, to be signalled once
// a line appears.
class RunningRootsim {
public:
    explicit RunningRootsim(const std::vector<std::string>& args) {
        int out[2];
        if (pipe(out) != 0) return;
        std::string errPath = errFile_.path() + "/err";
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            FILE* e = freopen(errPath.c_str(), "w", stderr);
            (void)e;
            close(out[0]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(ROOTSIM_BIN));
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            // As started from a terminal, whatever ignores the test runner inherited.
            signal(SIGINT, SIG_DFL);
            signal(SIGTERM, SIG_DFL);
            alarm(120);
            execv(ROOTSIM_BIN, argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = fdopen(out[0], "r");
    }
    ~RunningRootsim() {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        if (out_ != nullptr) fclose(out_);
    }
    // Reads standard output up to a line that starts with `prefix`.
    bool WaitForLine(const char* prefix) {
        char line[4096];
        while (out_ != nullptr && fgets(line, sizeof line, out_) != nullptr)
            if (strncmp(line, prefix, strlen(prefix)) == 0) return true;
        return false;
    }
    void Signal(int sig) { kill(pid_, sig); }
    // Waits for the end; returns the exit status, or -signal when killed.
    int Wait() {
        if (status_ >= 0) return Result();
        // Drain standard output so that the program never blocks on it.
        char buf[4096];
        while (out_ != nullptr && fread(buf, 1, sizeof buf, out_) > 0) {
        }
        int st = 0;
        while (waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
        }
        status_ = st;
        return Result();
    }
    std::string Err() const { return ReadFile(errFile_.path() + "/err"); }

private:
    int Result() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -WTERMSIG(status_); }
    TempDir errFile_;
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    int status_ = -1;
};

// ---------------------------------------------------------------------------
// Command line

TEST(CommandLine, OptionsAfterTheDirectoryCount) {
    TempDir tmp;
    const std::string dir = ShellQuote(tmp.path());
    // Help anywhere, and nothing is run.
    auto r = Rootsim(dir + " --help", 10);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Exit status"), std::string::npos) << r.err;
    EXPECT_TRUE(ListDir(tmp.path()).empty());
    // A bad value after the directory is seen, in either spelling.
    r = Rootsim(dir + " --steps abc", 10);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--steps: not a step count"), std::string::npos) << r.err;
    r = Rootsim(dir + " --threads=0", 10);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--threads: not a thread count"), std::string::npos) << r.err;
    // A second directory is refused, and so is an unknown option.
    r = Rootsim(dir + " " + dir, 10);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("more than one output directory"), std::string::npos) << r.err;
    r = Rootsim(dir + " -x", 10);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unknown option: -x"), std::string::npos) << r.err;
    // After "--" a name beginning with '-' is the directory.
    r = Rootsim("--steps 1 -- -no-such-dir", 10);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("output directory -no-such-dir does not exist"), std::string::npos) << r.err;
    EXPECT_TRUE(ListDir(tmp.path()).empty());
}

// ---------------------------------------------------------------------------
// Output directory

// The longest path a writer forms must fit the system's limit: a directory
// whose names would not fit is refused at once, whether it exists or not.
TEST(OutputDirectory, NamesBeyondThePathLimitAreRefusedAtOnce) {
    SetOutputNameFormats(RootsimOutputNames());
    TempDir tmp;
    const size_t fits = PATH_MAX - 1 - LongestOutputPath(0);
    ASSERT_GT(fits, tmp.path().size() + 10);
    const std::string ok = DeepDirectory(tmp.path() + "/a", fits);
    ASSERT_EQ(ok.size(), fits);
    EXPECT_EQ(CheckOutputDirectory(ok.c_str()), "");
    const std::string over = DeepDirectory(tmp.path() + "/b", fits + 1);
    ASSERT_EQ(over.size(), fits + 1);
    EXPECT_NE(CheckOutputDirectory(over.c_str()).find("exceed the system's path limit"), std::string::npos);
    SetOutputNameFormats({});

    // The program itself, with a name longer than any path.
    auto r = Rootsim("--steps 1 " + std::string(5000, 'x'), 10);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("exceed the system's path limit"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("does not exist"), std::string::npos) << r.err;
}

// Every file that a writer makes has one of the program's output names, so
// that --overwrite and the check for an earlier run see all of them.
TEST(OutputDirectory, EveryWriterUsesAnOutputName) {
    testsupport::StateGuard guard;
    TempDir tmp;
    tmp.UseAsOutput();
    maxmzheight = 212;
    InitPlant();
    ResetCellTracking();
    testing::internal::CaptureStdout();
    // The picture names come from the tables that draw them; one picture stands
    // for all.
    MakePNGFile(0, 7);
    FinishInitialRoot();
    TrackCells(2);
    TrackCells(100);
    SaveTotAuxin(20);
    SaveTotPlts(20);
    Tracktotalmeasures(600);
    SaveTemp(3600, 93, 149);
    SaveTempQC(3600);
    SaveGradGridRes(3600);
    SaveGradCellularRes(3600);
    ExtraMeasurements(3600);
    TrackCellTypeSpaceTime(600);
    TrackPltsSpaceTime(600);
    TrackAuxSpaceTime(600);
    CullLateralRootcap(60000);
    WritePlantToFile(50000);
    fflush(stdout);
    testing::internal::GetCapturedStdout();
    SetOutputNameFormats(RootsimOutputNames());
    const std::vector<std::string> files = ListDir(tmp.path());
    EXPECT_GE(files.size(), 60u);
    for (const std::string& f : files) EXPECT_TRUE(IsOutputName(f)) << f;
    std::vector<std::string> found;
    std::string why;
    ASSERT_TRUE(FindOutputs(tmp.path(), &found, &why)) << why;
    EXPECT_EQ(found, files);
    SetOutputNameFormats({});
}

// A second run into a used directory is refused, naming a file found;
// --overwrite removes exactly the outputs of the earlier run first.
TEST(OutputDirectory, UsedDirectoryIsRefusedUnlessOverwrite) {
    TempDir tmp;
    const std::string d = tmp.path();
    WriteText(d + "/Totalauxin", "999\t1.000000\t1.000000\n");
    WriteText(d + "/TrackCell_7", "x\n");
    WriteText(d + "/DumpPlantStateAt0000050000", "x\n");
    WriteText(d + "/Aux_00000000.png.partial", "x");
    WriteText(d + "/notes.txt", "mine\n");
    WriteText(d + "/Totalauxin.old", "mine\n");
    ASSERT_EQ(mkdir((d + "/TrackCell_8").c_str(), 0700), 0);  // a directory is no output

    auto r = Rootsim("--steps 0 " + ShellQuote(d), 30);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds the outputs of an earlier run (4 files, such as " + d + "/Aux_00000000.png.partial"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("--overwrite"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(d + "/Totalauxin"), "999\t1.000000\t1.000000\n");
    EXPECT_EQ(ListDir(d).size(), 7u);

    // The run's start (its first picture set) is enough to show what goes.
    r = Rootsim(ShellQuote(d) + " --steps 0 --overwrite", 120);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("removed 4 files of an earlier run"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(d + "/Totalauxin"));
    EXPECT_TRUE(graphicstest::ReadPng(d + "/Aux_00000000.png").ok);
    EXPECT_FALSE(FileExists(d + "/TrackCell_7"));
    EXPECT_FALSE(FileExists(d + "/DumpPlantStateAt0000050000"));
    EXPECT_FALSE(FileExists(d + "/Aux_00000000.png.partial"));
    EXPECT_EQ(ReadFile(d + "/notes.txt"), "mine\n");
    EXPECT_EQ(ReadFile(d + "/Totalauxin.old"), "mine\n");
    EXPECT_TRUE(FileExists(d + "/TrackCell_8"));
}

// ---------------------------------------------------------------------------
// How a run ends

// Files that cannot be written: each named on standard error as it fails, a
// summary with the count at the end, status 2; the run goes on.  (That a file
// is named once however often it fails is shown with the writers.)
TEST(RunEnd, LostOutputsGiveStatusTwoAndASummary) {
    TempDir tmp;
    const std::string d = tmp.path();
    // Directories where two outputs of the run's start would go.
    ASSERT_EQ(mkdir((d + "/Aux_00000000.png").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((d + "/ABCD_00000000.png").c_str(), 0700), 0);
    auto r = Rootsim("--steps 0 " + ShellQuote(d), 120);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(Count(r.err, "cannot write " + d + "/Aux_00000000.png: Is a directory\n"), 1u) << r.err;
    EXPECT_EQ(Count(r.err, "cannot write " + d + "/ABCD_00000000.png: Is a directory\n"), 1u) << r.err;
    EXPECT_NE(r.err.find("2 output files could not be written (2 failed writes) in " + d + ":\n  Aux_00000000.png\n"
                         "  ABCD_00000000.png\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out.find("cannot"), std::string::npos) << r.out;
    // The rest is there, the sources of the montage that failed among it.
    EXPECT_TRUE(graphicstest::ReadPng(d + "/Combined_00000000.png").ok);
    EXPECT_TRUE(graphicstest::ReadPng(d + "/ARF_00000000.png").ok);
}

// SIGINT during the first picture set: the set is finished, the run stops
// before its first step and says so, status 130, whole files only.
TEST(RunEnd, InterruptFinishesTheWritesInProgress) {
    TempDir tmp;
    RunningRootsim run({"--steps", "100000", tmp.path()});
    ASSERT_TRUE(run.WaitForLine("start1"));
    run.Signal(SIGINT);
    EXPECT_EQ(run.Wait(), 130) << run.Err();
    EXPECT_NE(run.Err().find("stopped by SIGINT before the first step"), std::string::npos) << run.Err();
    // The 40 pictures of time 0 and the run record, which says how it ended.
    EXPECT_EQ(ListDir(tmp.path()).size(), 41u);
    EXPECT_NE(ReadFile(tmp.path() + "/run.json").find("\"state\": \"interrupted\""), std::string::npos);
    ExpectOnlyWholePictures(tmp.path());
}

TEST(RunEnd, TerminateStopsAfterTheStepInProgress) {
    TempDir tmp;
    RunningRootsim run({tmp.path(), "--steps", "100000"});
    ASSERT_TRUE(run.WaitForLine("actually starting simulation"));
    run.Signal(SIGTERM);
    EXPECT_EQ(run.Wait(), 143) << run.Err();
    // The signal may come before the first step has begun.
    const std::string err = run.Err();
    EXPECT_TRUE(err.find("stopped by SIGTERM after step ") != std::string::npos ||
                err.find("stopped by SIGTERM before the first step") != std::string::npos)
        << err;
    ExpectOnlyWholePictures(tmp.path());
}

}  // namespace
