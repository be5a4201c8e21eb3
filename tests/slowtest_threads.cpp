// A short real run with one and with two transport threads writes the same
// files, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

using testsupport::ListDir;
using testsupport::ReadFile;
using testsupport::RunCommand;
using testsupport::ShellQuote;
using testsupport::TempDir;

TEST(Threads, SameFilesForOneAndTwoThreads) {
    TempDir one, two;
    // 3000 steps reach the totals, the space-time tracks and the picture set
    // of step 501.  The image tool stamps its montages with the time it ran
    // unless SOURCE_DATE_EPOCH fixes that stamp.
    const std::string env = "SOURCE_DATE_EPOCH=0 ";
    auto r1 = RunCommand(env + ShellQuote(ROOTSIM_BIN) + " --threads 1 --steps 3000 " + ShellQuote(one.path()));
    auto r2 = RunCommand(env + ShellQuote(ROOTSIM_BIN) + " --threads 2 --steps 3000 " + ShellQuote(two.path()));
    ASSERT_EQ(r1.status, 0) << r1.err;
    ASSERT_EQ(r2.status, 0) << r2.err;
    EXPECT_EQ(r1.out, r2.out);
    std::vector<std::string> files = ListDir(one.path());
    EXPECT_EQ(files, ListDir(two.path()));
    EXPECT_GT(files.size(), 40u);
    for (const std::string& f : files)
        EXPECT_TRUE(ReadFile(one.path() + "/" + f) == ReadFile(two.path() + "/" + f)) << f << " differs";
}
