// Runs that survive being killed: a real run killed with SIGKILL at random
// moments (also while it writes a checkpoint) and resumed each time ends with
// the very files of a run that was never interrupted; damaged or missing
// checkpoints are refused with the directory untouched; a run can start from
// a plant state file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "rootsim.h"
#include "test_support.h"

using testsupport::FileExists;
using testsupport::ListDir;
using testsupport::ReadFile;
using testsupport::RunCommand;
using testsupport::ShellQuote;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

constexpr long kSteps = 3000;  // the picture set of step 501, the tables, the tracks of step 3000

// rootsim started in the background, its standard error in `errPath`.
pid_t Launch(const std::vector<std::string>& args, const std::string& errPath = "/dev/null") {
    pid_t pid = fork();
    if (pid == 0) {
        FILE* o = freopen("/dev/null", "w", stdout);
        FILE* e = freopen(errPath.c_str(), "w", stderr);
        (void)o;
        (void)e;
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(ROOTSIM_BIN));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        alarm(600);
        execv(ROOTSIM_BIN, argv.data());
        _exit(127);
    }
    return pid;
}

// Kills the run with SIGKILL; true when it was still running.
bool Kill(pid_t pid) {
    int st = 0;
    const bool running = waitpid(pid, &st, WNOHANG) == 0;
    kill(pid, SIGKILL);
    waitpid(pid, &st, 0);
    return running;
}

int Finish(pid_t pid) {
    int st = 0;
    waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// Every file but the checkpoint and the run record, with its contents.
std::vector<std::pair<std::string, std::string>> Outputs(const std::string& dir) {
    std::vector<std::pair<std::string, std::string>> v;
    for (const std::string& f : ListDir(dir)) {
        if (f == "checkpoint" || f == "run.json") continue;
        v.emplace_back(f, ReadFile(dir + "/" + f));
    }
    return v;
}

void ExpectSameOutputs(const std::string& a, const std::string& b) {
    const auto x = Outputs(a), y = Outputs(b);
    ASSERT_EQ(x.size(), y.size());
    for (size_t k = 0; k < x.size(); k++) {
        ASSERT_EQ(x[k].first, y[k].first);
        EXPECT_TRUE(x[k].second == y[k].second) << x[k].first << " differs";
    }
}

// Names, sizes and modification times of a directory's files.
std::string Listing(const std::string& dir) {
    std::string s;
    for (const std::string& f : ListDir(dir)) {
        struct stat st;
        stat((dir + "/" + f).c_str(), &st);
        s += f + " " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
             std::to_string(st.st_mtim.tv_nsec) + "\n";
    }
    return s;
}

std::string Rootsim(const std::string& args) { return ShellQuote(ROOTSIM_BIN) + " " + args; }

}  // namespace

TEST(Resume, KilledAndResumedRunWritesTheFilesOfAnUninterruptedOne) {
    TempDir straight, killed;
    auto r = RunCommand(Rootsim("--steps 3000 --threads 2 --checkpoint-every 0 " + ShellQuote(straight.path())));
    ASSERT_EQ(r.status, 0) << r.err;

    const std::vector<std::string> first = {"--steps", std::to_string(kSteps), "--checkpoint-every", "250",
                                            "--threads", "1", killed.path()};
    const std::vector<std::string> resume = {"--resume", "--threads", "2", killed.path()};
    std::mt19937 random(20261208);
    int kills = 0, duringCheckpoint = 0;
    TempDir logs;
    // Waits until `name` appears in the run's directory; false after two minutes.
    auto waitFor = [&killed](const std::string& name) {
        const std::string path = killed.path() + "/" + name;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!FileExists(path) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        return FileExists(path);
    };
    for (int round = 0; round < 5; round++) {
        const std::string err = logs.path() + "/" + std::to_string(round);
        pid_t pid = Launch(round == 0 ? first : resume, err);
        SCOPED_TRACE("round " + std::to_string(round));
        if (round == 0) {
            // Killed soon after its first checkpoint, whatever the machine's pace.
            if (!waitFor("checkpoint")) ADD_FAILURE() << ReadFile(err);
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 300));
        } else if (round == 1) {
            // Killed as soon as the next checkpoint is being written.
            const bool writing = waitFor("checkpoint.partial");
            duringCheckpoint += writing ? 1 : 0;
            if (!writing) ADD_FAILURE() << ReadFile(err);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(800 + random() % 1700));
        }
        kills += Kill(pid) ? 1 : 0;
        ASSERT_TRUE(FileExists(killed.path() + "/checkpoint"));
    }
    EXPECT_GE(kills, 3) << "the run ended before it could be killed";
    EXPECT_EQ(duringCheckpoint, 1) << "no checkpoint was being written when the run was killed";
    ASSERT_EQ(Finish(Launch(resume)), 0);
    ExpectSameOutputs(straight.path(), killed.path());
    const std::string record = ReadFile(killed.path() + "/run.json");
    EXPECT_NE(record.find("\"state\": \"finished\""), std::string::npos) << record;
    EXPECT_NE(record.find("\"state\": \"interrupted\""), std::string::npos) << record;
}

TEST(Resume, DamagedForeignOrMissingCheckpointsAreRefusedLeavingTheDirectoryAlone) {
    TempDir dir;
    auto r = RunCommand(Rootsim("--steps 600 --checkpoint-every 300 " + ShellQuote(dir.path())));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string path = dir.path() + "/checkpoint";
    const std::string good = ReadFile(path);
    ASSERT_GT(good.size(), 1000000u);
    auto write = [&path](const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    std::string flipped = good;
    flipped[good.size() / 3] ^= 0x01;
    // Another program's: the name in the header changed (the checksum then
    // fails first, which is refused all the same).
    std::string foreign = good;
    foreign.replace(16 + 8, 7, "rootsiX");
    const struct {
        const char* what;
        std::string bytes;
        const char* expect;
    } cases[] = {
        {"truncated", good.substr(0, good.size() - 100), "checksum"},
        {"one flipped byte", flipped, "checksum"},
        {"another program's", foreign, "checksum"},
    };
    for (const auto& c : cases) {
        write(c.bytes);
        const std::string before = Listing(dir.path());
        r = RunCommand(Rootsim("--resume " + ShellQuote(dir.path())));
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_NE(r.err.find("cannot resume"), std::string::npos) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.expect), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(Listing(dir.path()), before) << c.what;
    }
    unlink(path.c_str());
    const std::string before = Listing(dir.path());
    r = RunCommand(Rootsim("--resume " + ShellQuote(dir.path())));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open"), std::string::npos) << r.err;
    EXPECT_EQ(Listing(dir.path()), before);

    // A series cut shorter than at the checkpoint: the outputs were changed.
    write(good);
    auto c = RunCommand(": > " + ShellQuote(dir.path() + "/Totalauxin"));
    ASSERT_EQ(c.status, 0);
    const std::string cut = Listing(dir.path());
    r = RunCommand(Rootsim("--resume " + ShellQuote(dir.path())));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Totalauxin is shorter"), std::string::npos) << r.err;
    EXPECT_EQ(Listing(dir.path()), cut);
}

TEST(Resume, RunStartsFromAPlantStateFile) {
    TempDir from, out;
    {
        StateGuard guard;
        from.UseAsOutput();
        maxmzheight = 212;
        InitPlant();
        WritePlantToFile(50000);
    }
    const std::string dump = from.path() + "/DumpPlantStateAt0000050000";
    auto r = RunCommand(Rootsim("--from-dump " + ShellQuote(dump) + " --steps 250100 " + ShellQuote(out.path())));
    ASSERT_EQ(r.status, 0) << r.err;
    // Steps 250005..250100: the totals of steps 250100 only, at time 50020.
    EXPECT_EQ(ReadFile(out.path() + "/Totalauxin").substr(0, 6), "50020\t");
    EXPECT_NE(ReadFile(out.path() + "/run.json").find("plant state file"), std::string::npos);
    // A file whose name gives no time, and a file that is no plant state.
    r = RunCommand(Rootsim("--overwrite --from-dump " + ShellQuote(from.path() + "/other") + " --steps 250100 " +
                           ShellQuote(out.path())));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot tell the time"), std::string::npos) << r.err;
    std::ofstream(from.path() + "/DumpPlantStateAt0000100000") << "1\t2\n";
    r = RunCommand(Rootsim("--overwrite --from-dump " + ShellQuote(from.path() + "/DumpPlantStateAt0000100000") +
                           " --steps 500100 " + ShellQuote(out.path())));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not usable"), std::string::npos) << r.err;
}
