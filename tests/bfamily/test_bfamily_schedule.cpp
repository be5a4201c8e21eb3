// The b family's schedule, recorded with stand-in callees; its plant state
// file; its checkpoints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bfamily_support.h"
#include "checkpoint.h"
#include "plan.h"

using btest::CellWithCorner;
using btest::ProgramGuard;
using btest::TempDir;

namespace {

std::vector<std::string> calls;

void Note(const std::string& s) { calls.push_back(s); }
void RecAuxin() { Note("UpdateAuxin"); }
void RecGenes(int t) { Note("UpdateGeneExpression " + std::to_string(t)); }
void RecGrowth(int t) { Note("Growth " + std::to_string(t)); }
void RecCarriers(int t) { Note("UpdateMembraneProteinsAndFluxes " + std::to_string(t)); }
void RecTrack(int t) { Note("TrackCells " + std::to_string(t)); }
void RecDump(int t) { Note("WritePlantToFile " + std::to_string(t)); }
void RecTotal(int t) { Note("SaveTotAuxin " + std::to_string(t)); }
void RecProfiles(int t) { Note("SaveGradGridRes " + std::to_string(t)); }
void RecExtra(int t) { Note("ExtraMeasurements " + std::to_string(t)); }
void RecTemp(int t, int c, int r) { Note("SaveTemp " + std::to_string(t) + " " + std::to_string(c) + " " + std::to_string(r)); }
void RecPictures(int t) { Note("MakeGraphics " + std::to_string(t)); }

BScheduleCallees Recorder(int firstSampleRow) {
    return {RecAuxin,   RecGenes,    RecGrowth, RecCarriers, RecTrack,    RecDump,
            RecTotal,   RecProfiles, RecExtra,  RecTemp,     RecPictures, firstSampleRow};
}

std::vector<std::string> Steps(long from, long to, long last, int firstSampleRow) {
    calls.clear();
    const BScheduleCallees f = Recorder(firstSampleRow);
    for (long j = from; j <= to; j++) RunBStep(j, last, f);
    return calls;
}

long Count(const std::vector<std::string>& v, const std::string& prefix) {
    long n = 0;
    for (const std::string& s : v)
        if (s.compare(0, prefix.size(), prefix) == 0) n++;
    return n;
}

}  // namespace

TEST(Schedule, GrowthRunsFromTheFirstTenthStepWithoutPriming) {
    const std::vector<std::string> first = Steps(1, 10, BFAMILY_STEPS, 127);
    const std::vector<std::string> expected = {
        "UpdateAuxin", "UpdateAuxin", "UpdateAuxin", "UpdateAuxin", "UpdateAuxin", "UpdateAuxin",
        "UpdateAuxin", "UpdateAuxin", "UpdateAuxin", "UpdateAuxin", "UpdateGeneExpression 2", "Growth 2",
        "UpdateMembraneProteinsAndFluxes 2", "TrackCells 2"};
    EXPECT_EQ(first, expected);

    const std::vector<std::string> hour = Steps(1, 18000, BFAMILY_STEPS, 127);
    EXPECT_EQ(Count(hour, "UpdateAuxin"), 18000);
    EXPECT_EQ(Count(hour, "Growth "), 1800);
    EXPECT_EQ(Count(hour, "SaveTotAuxin "), 180);
    EXPECT_EQ(Count(hour, "MakeGraphics "), 1);
    EXPECT_EQ(Count(hour, "WritePlantToFile "), 0);
}

TEST(Schedule, EveryHourProfilesMeasurementsPointHistoriesAndPicturesLast) {
    for (int firstRow : {bplan::SAMPLE_FIRST_ROW, bplan::B3_SAMPLE_FIRST_ROW}) {
        const std::vector<std::string> got = Steps(18000, 18000, BFAMILY_STEPS, firstRow);
        std::vector<std::string> expected = {"UpdateAuxin",       "UpdateGeneExpression 3600",
                                             "Growth 3600",       "UpdateMembraneProteinsAndFluxes 3600",
                                             "TrackCells 3600",   "SaveTotAuxin 3600",
                                             "SaveGradGridRes 3600", "ExtraMeasurements 3600"};
        for (int col : {60, 55}) {
            std::vector<int> rows = {firstRow};
            for (int r = 147; r <= 287; r += 10) rows.push_back(r);
            rows.push_back(317);
            rows.push_back(357);
            for (int r : rows) expected.push_back("SaveTemp 3600 " + std::to_string(col) + " " + std::to_string(r));
        }
        expected.push_back("MakeGraphics 3600");
        EXPECT_EQ(got, expected) << "first row " << firstRow;
        EXPECT_EQ(Count(got, "SaveTemp "), 36);
    }
}

TEST(Schedule, TheDumpOfATimeSharedByFiveStepsIsWrittenOnce) {
    EXPECT_EQ(Count(Steps(249995, 250010, BFAMILY_STEPS, 127), "WritePlantToFile 50000"), 1);
    std::vector<std::string> got = Steps(250004, 250004, BFAMILY_STEPS, 127);
    EXPECT_EQ(Count(got, "WritePlantToFile 50000"), 1) << "the last step of the time writes it";
    // A run that ends inside such a time writes it at its last step.
    EXPECT_EQ(Count(Steps(250000, 250002, 250002, 127), "WritePlantToFile 50000"), 1);
    EXPECT_EQ(Count(Steps(250000, 250001, 250002, 127), "WritePlantToFile 50000"), 0);
}

TEST(PlantFile, HoldsTheFamilysLax3PatternAndCellsInOZAndReadsBack) {
    ProgramGuard guard(bfamily::B2Rules());
    TempDir out;
    out.UseAsOutput();
    InitPlant();
    const int x = CellWithCorner(bplan::ENDODERMIS_FIRST_COL, 146);
    ASSERT_GE(x, 0);
    for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++) Lax3PrePat[CellMinI[x]][j] = 0.5 + j;
    CellsInOZ[x] = 11;
    CellZonationState[x] = Z_TRANSITION;
    // The state as a reload builds it: meristem top and carriers of this
    // zonation.
    maxmzsize();
    bfamily::Installed().RebuildCarriers();
    WritePlantToFile(50000);
    const std::string name = out.path() + "/DumpPlantStateAt0000050000";
    // Four grids of ints and five of doubles, one line per column; 23 cell
    // tables; the number of cells.
    EXPECT_EQ(btest::LineCount(name), 9 * NCOLS + 23 + 1);

    const unsigned long long before = btest::StateChecksum();
    for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++) Lax3PrePat[CellMinI[x]][j] = 0;
    CellsInOZ[x] = 0;
    ASSERT_TRUE(InitPlantFromFile(50000));
    for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++) EXPECT_EQ(Lax3PrePat[CellMinI[x]][j], 0.5 + j);
    EXPECT_EQ(CellsInOZ[x], 11);
    EXPECT_EQ(CellZonationState[x], Z_TRANSITION) << "a reloaded plant keeps its zonation";
    EXPECT_EQ(btest::StateChecksum(), before);
}

namespace {

void NoOutput(int) {}
void NoProbe(int, int, int) {}

// The real rules of every step of the installed program, without the files.
BScheduleCallees RulesOnly() {
    const bfamily::Rules& r = bfamily::Installed();
    return {UpdateAuxin, r.UpdateGeneExpression, r.Growth, r.UpdateMembraneProteinsAndFluxes,
            TrackCells,  NoOutput,               NoOutput, NoOutput,
            NoOutput,    NoProbe,                NoOutput, r.firstSampleRow};
}

}  // namespace

// A checkpoint holds everything the family keeps (its LAX3 grid, the growth
// step's flag, the carrier update's extents): a run continued from one is
// the run that went straight on.
TEST(Checkpoint, B2AndB3ContinueExactlyAfterTheFirstDivisions) {
    for (const bfamily::Rules& rules : {bfamily::B2Rules(), bfamily::B3Rules()}) {
        ProgramGuard guard(rules);
        TempDir dir;
        dir.UseAsOutput();
        InitPlant();
        TrackCells(0);
        const BScheduleCallees f = RulesOnly();
        for (long j = 1; j <= 30; j++) RunBStep(j, 60, f);
        for (int i = 0; i < NCOLS; i++) Lax3PrePat[i][200] = i;
        std::string why;
        ASSERT_TRUE(WriteCheckpoint(30, {}, &why)) << why;
        for (long j = 31; j <= 60; j++) RunBStep(j, 60, f);
        const unsigned long long straight = btest::StateChecksum();
        const int cells = actcells;
        EXPECT_GT(cells, rules.SetUpTissueLayout == b3::SetUpTissueLayout ? 456 : 410) << "the cap divides";

        // A fresh start, then the checkpoint.
        FreeArrays();
        MakeArrays();
        ResetGrowthSchedule();
        CheckpointInfo info;
        ASSERT_TRUE(ReadCheckpoint(CheckpointPath(), &info, &why)) << why;
        EXPECT_EQ(info.step, 30);
        EXPECT_EQ(Lax3PrePat[17][200], 17);
        for (long j = 31; j <= 60; j++) RunBStep(j, 60, f);
        EXPECT_EQ(actcells, cells) << rules.name;
        EXPECT_EQ(btest::StateChecksum(), straight) << rules.name;
    }
}
