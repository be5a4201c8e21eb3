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
    auto r3 = RunCommand(ShellQuote(ROOTSIM_BIN) + " " + ShellQuote(again.path()) + " --steps 3000 --threads 2");
    ASSERT_EQ(r1.status, 0) << r1.err;
    ASSERT_EQ(r2.status, 0) << r2.err;
    ASSERT_EQ(r3.status, 0) << r3.err;
    EXPECT_EQ(r1.out, r2.out);
    EXPECT_EQ(r2.out, r3.out);
    std::vector<std::string> files = ListDir(one.path());
    EXPECT_EQ(files, ListDir(two.path()));
    EXPECT_EQ(files, ListDir(again.path()));
    EXPECT_GT(files.size(), 100u);
    int montages = 0;
    for (const std::string& f : files) {
        if (f.rfind("ABCD_", 0) == 0 || f.rfind("Pltscombo_", 0) == 0 || f.rfind("Combined_", 0) == 0) montages++;
        const std::string bytes = ReadFile(one.path() + "/" + f);
        EXPECT_TRUE(bytes == ReadFile(two.path() + "/" + f)) << f << " differs between 1 and 2 threads";
        EXPECT_TRUE(bytes == ReadFile(again.path() + "/" + f)) << f << " differs between two runs";
    }
    EXPECT_EQ(montages, 6);
}
