// Each of the four programs writes the same files, bit for bit, with one
// thread and with two: a short real run of each, compared file by file (but
// for b3's montages, made by the image tool).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bfamily_support.h"

using btest::TempDir;

namespace {

void ExpectSameRunWithOneAndTwoThreads(const char* name, const char* path) {
    TempDir one, two;
    for (const TempDir* d : {&one, &two}) {
        const std::string threads = d == &one ? "1" : "2";
        const std::string cmd = std::string(path) + " --steps 1500 --threads " + threads + " " + d->path() +
                                " >/dev/null 2>&1";
        ASSERT_EQ(system(cmd.c_str()), 0) << name << " with " << threads << " threads";
    }
    const std::vector<std::string> files = btest::ListDir(one.path());
    EXPECT_EQ(files, btest::ListDir(two.path())) << name;
    EXPECT_GE(files.size(), 12u) << name;
    // The montages' bytes depend on how the image tool encodes them (a date,
    // for one); every other file is the simulator's alone.
    for (const std::string& f : files) {
        if (f.compare(0, 5, "ABCD_") == 0) continue;
        EXPECT_TRUE(btest::ReadFile(one.path() + "/" + f) == btest::ReadFile(two.path() + "/" + f)) << name << ": " << f;
    }
}

}  // namespace

TEST(Threads, B1SameWithOneAndTwoThreads) { ExpectSameRunWithOneAndTwoThreads("rootsim_b1", ROOTSIM_B1_BIN); }
TEST(Threads, B2SameWithOneAndTwoThreads) { ExpectSameRunWithOneAndTwoThreads("rootsim_b2", ROOTSIM_B2_BIN); }
TEST(Threads, B3SameWithOneAndTwoThreads) { ExpectSameRunWithOneAndTwoThreads("rootsim_b3", ROOTSIM_B3_BIN); }
TEST(Threads, B4SameWithOneAndTwoThreads) { ExpectSameRunWithOneAndTwoThreads("rootsim_b4", ROOTSIM_B4_BIN); }
