// Checkpoints: a run continued from a checkpoint is the run that was never
// interrupted, bit for bit; a damaged, foreign or missing checkpoint is
// refused with the state untouched.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "checkpoint.h"
#include "growth_drive.h"
#include "rootsim.h"
#include "test_support.h"

using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

void NoOutput(int) {}
void NoProbe(int, int, int) {}

// The real rules of every step, without the files.
const ScheduleCallees kRulesOnly = {
    UpdateAuxin, UpdateGeneExpression, Growth,   UpdateMembraneProteinsAndFluxes,
    TrackCells,  NoOutput,             NoOutput, NoOutput,
    NoOutput,    NoOutput,             NoOutput, NoOutput,
    NoOutput,    NoOutput,             NoProbe,  NoOutput,
};

void Steps(long from, long to) {
    for (long j = from; j <= to; j++) RunStep(j, to, kRulesOnly);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A valid file with its grid size (the fields right after the name) changed
// and the checksum made to match again.
std::string WithOtherGrid(std::string bytes) {
    const size_t name = 8 + 8;  // magic, version
    unsigned long long len;
    memcpy(&len, bytes.data() + name, sizeof len);
    const size_t cols = name + 8 + static_cast<size_t>(len);
    unsigned long long other = 141;
    memcpy(&bytes[cols], &other, sizeof other);
    unsigned long long sum = Fnv1a64(bytes.data(), bytes.size() - 8);
    memcpy(&bytes[bytes.size() - 8], &sum, sizeof sum);
    return bytes;
}

}  // namespace

// A root in its growth phase (the first growth call is at step 288010),
// checkpointed after some growth steps and continued: the state after the
// continuation equals that of the run that went straight on.
TEST(Checkpoint, ContinuesExactlyThroughGrowth) {
    StateGuard guard;
    TempDir dir;
    dir.UseAsOutput();
    growthtest::PrepareGrowingRoot(600);
    growthtest::SetFactorsByPosition();
    const long first = 288001, cut = 288160, last = 288300;
    Steps(first, cut);
    std::string why;
    ASSERT_TRUE(WriteCheckpoint(cut, {{"Totalauxin", 12}}, &why)) << why;
    const int cellsAtCut = actcells;
    std::vector<int> grownAtCut(TimePrevGrowth, TimePrevGrowth + actcells);
    std::vector<double> diffAtCut(Diff, Diff + actcells);
    Steps(cut + 1, last);
    const unsigned long long straight = StateChecksum();
    // The continuation must have gone through real growth steps: growth
    // events, divisions, culling, or cells differentiating.
    bool grew = actcells != cellsAtCut, differentiated = false;
    for (int x = 0; x < actcells && x < cellsAtCut; x++) {
        grew = grew || TimePrevGrowth[x] != grownAtCut[x];
        differentiated = differentiated || Diff[x] != diffAtCut[x];
    }
    EXPECT_TRUE(grew || differentiated) << "no growth step did anything after the checkpoint";

    CheckpointInfo info;
    ASSERT_TRUE(ReadCheckpoint(CheckpointPath(), &info, &why)) << why;
    EXPECT_EQ(info.step, cut);
    EXPECT_EQ(info.program, "rootsim");
    ASSERT_EQ(info.appended.size(), 1u);
    EXPECT_EQ(info.appended[0].name, "Totalauxin");
    EXPECT_EQ(info.appended[0].length, 12);
    EXPECT_NE(StateChecksum(), straight);
    Steps(cut + 1, last);
    EXPECT_EQ(StateChecksum(), straight);
}

// Every damaged or foreign checkpoint is refused, saying why, and nothing of
// the state changes.
TEST(Checkpoint, RefusesDamagedForeignAndMissingFiles) {
    StateGuard guard;
    TempDir dir;
    dir.UseAsOutput();
    maxmzheight = 212;
    InitPlant();
    std::string why;
    ASSERT_TRUE(WriteCheckpoint(10, {}, &why)) << why;
    const std::string path = CheckpointPath();
    const std::string good = ReadBytes(path);
    ASSERT_GT(good.size(), 1000000u);
    // The state then moves on; a refused read must leave it there.
    Steps(1, 10);
    const unsigned long long before = StateChecksum();

    struct Case {
        const char* what;
        std::string bytes;
        const char* expect;  // part of the reason given
    };
    std::string flipped = good;
    flipped[flipped.size() / 2] ^= 0x10;
    const std::string other = path + ".other";
    std::vector<Case> cases = {
        {"truncated", good.substr(0, good.size() / 3), "checksum"},
        {"one flipped byte", flipped, "checksum"},
        {"foreign grid", WithOtherGrid(good), "grid is 141 x"},
        {"empty", "", "does not start as one"},
        {"not a checkpoint", "Tc\tTct\n", "does not start as one"},
    };
    for (const Case& c : cases) {
        WriteBytes(other, c.bytes);
        CheckpointInfo info;
        why.clear();
        EXPECT_FALSE(ReadCheckpoint(other, &info, &why)) << c.what;
        EXPECT_NE(why.find(c.expect), std::string::npos) << c.what << ": " << why;
        EXPECT_EQ(StateChecksum(), before) << c.what;
    }

    // Written by another program.
    SetProgramName("rootsim_b2");
    ASSERT_TRUE(WriteCheckpoint(10, {}, &why)) << why;
    SetProgramName("rootsim");
    CheckpointInfo info;
    EXPECT_FALSE(ReadCheckpoint(path, &info, &why));
    EXPECT_NE(why.find("written by rootsim_b2"), std::string::npos) << why;
    EXPECT_EQ(StateChecksum(), before);

    EXPECT_FALSE(ReadCheckpoint(dir.path() + "/none", &info, &why));
    EXPECT_NE(why.find("cannot open"), std::string::npos) << why;
    EXPECT_EQ(StateChecksum(), before);

    // The good file still restores the state it holds.
    WriteBytes(path, good);
    ASSERT_TRUE(ReadCheckpoint(path, &info, &why)) << why;
    EXPECT_NE(StateChecksum(), before);
    EXPECT_EQ(info.step, 10);
}
