// The time loop's schedule, driven with recording callees.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rootsim.h"

namespace {

std::vector<std::string> calls;

void Rec(const char* name, int g) { calls.push_back(std::string(name) + "(" + std::to_string(g) + ")"); }

#define REC1(fn) [](int g) { Rec(#fn, g); }
const ScheduleCallees kRecorder = {
    REC1(UpdateAuxin),
    REC1(UpdateGeneExpression),
    REC1(Growth),
    REC1(UpdateMembraneProteinsAndFluxes),
    REC1(TrackCells),
    REC1(WritePlantToFile),
    REC1(SaveTotAuxin),
    REC1(SaveTotPlts),
    REC1(TrackCellTypeSpaceTime),
    REC1(TrackPltsSpaceTime),
    REC1(TrackAuxSpaceTime),
    REC1(Tracktotalmeasures),
    REC1(MakeGraphics),
    REC1(SaveGradGridRes),
    [](int g, int col, int row) {
        calls.push_back("SaveTemp(" + std::to_string(g) + "," + std::to_string(col) + "," +
                        std::to_string(row) + ")");
    },
    REC1(SaveTempQC),
};

std::vector<std::string> Step(long j, long last = NSTEPS_DEFAULT) {
    calls.clear();
    RunStep(j, last, kRecorder);
    return calls;
}

using V = std::vector<std::string>;

}  // namespace

TEST(Schedule, IntegerTimeIsStepOverFive) {
    for (long j = 1; j <= NSTEPS_DEFAULT; j += 7919) ASSERT_EQ(IntegerTime(j), j / 5) << j;
    for (long j = NSTEPS_DEFAULT - 20; j <= NSTEPS_DEFAULT; j++) ASSERT_EQ(IntegerTime(j), j / 5) << j;
}

TEST(Schedule, PlainAndTenthSteps) {
    EXPECT_EQ(Step(1), (V{"UpdateAuxin(0)"}));
    EXPECT_EQ(Step(10), (V{"UpdateAuxin(2)", "UpdateGeneExpression(2)",
                           "UpdateMembraneProteinsAndFluxes(2)", "TrackCells(2)"}));
}

TEST(Schedule, GrowthStartsAfterTime57600) {
    // Step 288000 has t = 57600.0 exactly and does not grow.
    V at = Step(288000);
    EXPECT_EQ(std::count(at.begin(), at.end(), "Growth(57600)"), 0);
    EXPECT_EQ(Step(288010), (V{"UpdateAuxin(57602)", "UpdateGeneExpression(57602)", "Growth(57602)",
                               "UpdateMembraneProteinsAndFluxes(57602)", "TrackCells(57602)"}));
}

TEST(Schedule, DumpWrittenOnceOnLastStepOfItsTime) {
    int dumps = 0;
    for (long j = 249990; j <= 250010; j++) {
        V v = Step(j);
        for (auto& s : v)
            if (s.rfind("WritePlantToFile", 0) == 0) {
                dumps++;
                EXPECT_EQ(j, 250004);
                EXPECT_EQ(s, "WritePlantToFile(50000)");
            }
    }
    EXPECT_EQ(dumps, 1);
    // A run that ends among the five steps still writes its dump, on its last step.
    V v = Step(250002, 250002);
    EXPECT_NE(std::find(v.begin(), v.end(), "WritePlantToFile(50000)"), v.end());
    v = Step(250001, 250002);
    EXPECT_EQ(std::find(v.begin(), v.end(), "WritePlantToFile(50000)"), v.end());
    // The last step of a full run dumps time 2,000,000.
    v = Step(NSTEPS_DEFAULT);
    EXPECT_NE(std::find(v.begin(), v.end(), "WritePlantToFile(2000000)"), v.end());
    // No dump at time 0.
    v = Step(4);
    EXPECT_EQ(std::find(v.begin(), v.end(), "WritePlantToFile(0)"), v.end());
}

TEST(Schedule, PicturesAt501AndEvery18000) {
    EXPECT_EQ(Step(501), (V{"UpdateAuxin(100)", "MakeGraphics(100)"}));

    V v = Step(18000);
    V expected = {"UpdateAuxin(3600)", "UpdateGeneExpression(3600)",
                  "UpdateMembraneProteinsAndFluxes(3600)", "TrackCells(3600)",
                  "SaveTotAuxin(3600)", "SaveTotPlts(3600)",
                  "TrackCellTypeSpaceTime(3600)", "TrackPltsSpaceTime(3600)",
                  "TrackAuxSpaceTime(3600)", "Tracktotalmeasures(3600)",
                  "MakeGraphics(3600)", "SaveGradGridRes(3600)"};
    for (int col : {93, 84})
        for (int r : {149, 14, 32, 50, 68, 86, 104, 122, 140, 158, 176, 194, 212, 230, 284, 356})
            expected.push_back("SaveTemp(3600," + std::to_string(col) + "," + std::to_string(r) + ")");
    expected.push_back("SaveTempQC(3600)");
    EXPECT_EQ(v, expected);
}

TEST(Schedule, CountsOverOneGrowthPeriod) {
    // Over the first 36000 steps: every step transports, every tenth regulates.
    int aux = 0, gene = 0, tot = 0, tracks = 0, pics = 0;
    for (long j = 1; j <= 36000; j++) {
        for (auto& s : Step(j)) {
            aux += s.rfind("UpdateAuxin(", 0) == 0;
            gene += s.rfind("UpdateGeneExpression(", 0) == 0;
            tot += s.rfind("SaveTotAuxin(", 0) == 0;
            tracks += s.rfind("Tracktotalmeasures(", 0) == 0;
            pics += s.rfind("MakeGraphics(", 0) == 0;
        }
    }
    EXPECT_EQ(aux, 36000);
    EXPECT_EQ(gene, 3600);
    EXPECT_EQ(tot, 360);
    EXPECT_EQ(tracks, 12);
    EXPECT_EQ(pics, 3);  // steps 501, 18000 and 36000
}
