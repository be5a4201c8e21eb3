// A short real run writes the same files, byte for byte, with one and with two
// transport threads, and again when it is run a second time (the montages,
// made in the process, included).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

using testsupport::ListDir;
using testsupport::ReadFile;
using testsupport::RunCommand;
using testsupport::ShellQuote;
using testsupport::TempDir;

TEST(Threads, SameFilesForOneAndTwoThreadsAndForTwoRuns) {
    TempDir one, two, again;
    // 3000 steps reach the totals, the space-time tracks and the picture sets
    // of time 0 and of step 501.
    auto r1 = RunCommand(ShellQuote(ROOTSIM_BIN) + " --threads 1 --steps 3000 " + ShellQuote(one.path()));
    auto r2 = RunCommand(ShellQuote(ROOTSIM_BIN) + " --threads 2 --steps 3000 " + ShellQuote(two.path()));
    ASSERT_EQ(r1.status, 0) << r1.err;
    ASSERT_EQ(r2.status, 0) << r2.err;
    EXPECT_EQ(r1.out, r2.out);
    std::vector<std::string> files = ListDir(one.path());
    EXPECT_EQ(files, ListDir(two.path()));
    EXPECT_GT(files.size(), 100u);
    for (const std::string& f : files) {
        if (f == "run.json") continue;  // the record of the run: its command line and times differ
        EXPECT_TRUE(ReadFile(one.path() + "/" + f) == ReadFile(two.path() + "/" + f))
            << f << " differs between 1 and 2 threads";
    }

    // A second, shorter run: every step up to its last is the same as in the
    // longer one, so its pictures and montages are the same files and its
    // series the beginnings of the longer run's.
    auto r3 = RunCommand(ShellQuote(ROOTSIM_BIN) + " " + ShellQuote(again.path()) + " --steps 600 --threads 2");
    ASSERT_EQ(r3.status, 0) << r3.err;
    int pictures = 0, montages = 0, series = 0;
    for (const std::string& f : ListDir(again.path())) {
        if (f == "run.json") continue;
        const std::string shorter = ReadFile(again.path() + "/" + f);
        const std::string longer = ReadFile(two.path() + "/" + f);
        if (f.size() > 4 && f.compare(f.size() - 4, 4, ".png") == 0) {
            EXPECT_TRUE(shorter == longer) << f << " differs between two runs";
            pictures++;
            if (f.rfind("ABCD_", 0) == 0 || f.rfind("Pltscombo_", 0) == 0 || f.rfind("Combined_", 0) == 0) montages++;
        } else {
            EXPECT_EQ(longer.compare(0, shorter.size(), shorter), 0) << f << " is not the beginning of the longer run's";
            EXPECT_FALSE(shorter.empty()) << f;
            series++;
        }
    }
    EXPECT_EQ(pictures, 80);
    EXPECT_EQ(montages, 6);
    EXPECT_GT(series, 2);
}
