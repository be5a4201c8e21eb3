// rootsim_c's schedule, driven over a whole run with a recorder in place of
// the simulator's functions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plan.h"
#include "rootsim_c.h"

namespace {

// What the recorder saw.
long currentStep = 0;
struct Call {
    long step;
    std::string what;
    int t, a, b;
};
std::vector<Call> detailed;      // every call of the steps in detailSteps
std::vector<long> detailSteps;
struct PictureCall {
    long step;
    int t, kind;
};
std::vector<PictureCall> pictures;
std::vector<Call> dumps;
long transports = 0, totals = 0, tenthSteps = 0, badTenthSteps = 0;
long profileSets = 0, samples = 0;

bool Detailed() {
    for (long s : detailSteps)
        if (s == currentStep) return true;
    return false;
}
void Note(const char* what, int t = -1, int a = -1, int b = -1) {
    if (Detailed()) detailed.push_back({currentStep, what, t, a, b});
}

void RecAuxin() {
    transports++;
    Note("UpdateAuxin");
}
void RecGenes(int t) {
    // The tenth-step work belongs to the next step, with that step's time.
    tenthSteps++;
    if ((currentStep + 1) % 10 != 0 || t != IntegerTime(currentStep + 1)) badTenthSteps++;
    Note("UpdateGeneExpression", t);
}
void RecGrowth(int t) { Note("Growth", t); }
void RecCarriers(int t) { Note("UpdateMembraneProteinsAndFluxes", t); }
void RecDump(int t) {
    dumps.push_back({currentStep, "WritePlantToFile", t, -1, -1});
    Note("WritePlantToFile", t);
}
void RecTotals(int t) {
    totals++;
    Note("SaveTotAuxin", t);
}
void RecGridRes(int t) {
    profileSets++;
    Note("SaveGradGridRes", t);
}
void RecCellRes(int t) { Note("SaveGradCellularRes", t); }
void RecEpidermal(int t) { Note("SaveEpidermalGrad", t); }
void RecTemp(int t, int col, int row) {
    samples++;
    Note("SaveTemp", t, col, row);
}
void RecPicture(int t, int kind) {
    pictures.push_back({currentStep, t, kind});
    Note("MakePNGFile", t, kind);
}

const CScheduleCallees kRecorder = {
    RecAuxin,   RecGenes,   RecGrowth,    RecCarriers, RecDump, RecTotals,
    RecGridRes, RecCellRes, RecEpidermal, RecTemp,     RecPicture,
};

void Reset() {
    detailed.clear();
    pictures.clear();
    dumps.clear();
    transports = totals = tenthSteps = badTenthSteps = profileSets = samples = 0;
}

void Drive(long last) {
    for (long s = 1; s <= last; s++) {
        currentStep = s;
        RunStep(s, last, kRecorder);
    }
}

TEST(CSchedule, WholeRunPictureSetsDumpsAndTotals) {
    Reset();
    detailSteps = {1799, 1800};
    Drive(C_STEPS_DEFAULT);

    // Pictures of kinds 0 to 5 every 1800 steps: the first set at step 1800
    // (time 360), the last at the run's last step (time 2,419,200).
    ASSERT_EQ(pictures.size(), 6u * 6720);
    EXPECT_EQ(pictures.front().step, 1800);
    EXPECT_EQ(pictures.front().t, 360);
    EXPECT_EQ(pictures.back().step, 12096000);
    EXPECT_EQ(pictures.back().t, 2419200);
    for (size_t k = 0; k < pictures.size(); k++) {
        ASSERT_EQ(pictures[k].kind, static_cast<int>(k % 6)) << k;
        ASSERT_EQ(pictures[k].step, 1800 * static_cast<long>(k / 6 + 1)) << k;
        ASSERT_EQ(pictures[k].t, 360 * static_cast<int>(k / 6 + 1)) << k;
    }
    EXPECT_EQ(profileSets, 6720);
    EXPECT_EQ(samples, 2 * 6720);

    // One dump per positive multiple of 50000, written once, on the last of
    // the five steps that share its time.
    ASSERT_EQ(dumps.size(), 48u);
    for (size_t k = 0; k < dumps.size(); k++) {
        EXPECT_EQ(dumps[k].t, 50000 * static_cast<int>(k + 1));
        EXPECT_EQ(dumps[k].step, 5L * dumps[k].t + 4);
    }

    EXPECT_EQ(totals, C_STEPS_DEFAULT / 100);
    // Every iteration computes the next step; every tenth of those runs the
    // gene step, growth and carrier update with its own time.
    EXPECT_EQ(transports, C_STEPS_DEFAULT);
    EXPECT_EQ(tenthSteps, (C_STEPS_DEFAULT + 1) / 10);
    EXPECT_EQ(badTenthSteps, 0);

    // The order within the iterations of steps 1799 and 1800.
    std::vector<std::string> seen;
    for (const Call& c : detailed) {
        std::string s = std::to_string(c.step) + " " + c.what + " " + std::to_string(c.t);
        if (c.a >= 0) s += " " + std::to_string(c.a);
        if (c.b >= 0) s += " " + std::to_string(c.b);
        seen.push_back(s);
    }
    const std::vector<std::string> expected = {
        "1799 UpdateAuxin -1",
        "1799 UpdateGeneExpression 360",
        "1799 Growth 360",
        "1799 UpdateMembraneProteinsAndFluxes 360",
        "1800 SaveTotAuxin 360",
        "1800 SaveGradGridRes 360",
        "1800 SaveGradCellularRes 360",
        "1800 SaveEpidermalGrad 360",
        "1800 SaveTemp 360 12 288",
        "1800 SaveTemp 360 238 288",
        "1800 MakePNGFile 360 0",
        "1800 MakePNGFile 360 1",
        "1800 MakePNGFile 360 2",
        "1800 MakePNGFile 360 3",
        "1800 MakePNGFile 360 4",
        "1800 MakePNGFile 360 5",
        "1800 UpdateAuxin -1",
    };
    EXPECT_EQ(seen, expected);
}

// A run cut short inside the five steps of a dump time writes that dump on
// its last step, once.
TEST(CSchedule, ShortRunDumpsOnItsLastStep) {
    Reset();
    detailSteps = {};
    Drive(250002);
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(dumps[0].t, 50000);
    EXPECT_EQ(dumps[0].step, 250002);
    EXPECT_EQ(pictures.back().step, 250200 - 1800);
}

}  // namespace
