// The every-tenth-step passes (carrier and coefficient update, cell-to-cell
// diffusion) against their plain whole-grid forms, bit for bit, on the real
// root, a grown root and hand-made tissues that change between calls.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "carrier_rules.h"
#include "carrier_update.h"
#include "checkpoint.h"
#include "coefficients_reference.h"
#include "growth_drive.h"
#include "growth_tissue.h"
#include "coefficients.h"
#include "growth_grid.h"
#include "renumbering.h"
#include "rootsim.h"
#include "test_support.h"
#include "plan.h"
#include "tissue_watch.h"
#include "transport_tissue.h"

using testsupport::StateGuard;

namespace {

const size_t kPoints = static_cast<size_t>(NCOLS) * NROWS;
const char* const kGridNames[] = {"PinPrePat", "Pin2PrePat", "Aux1PrePat", "Cpin1M",
                                  "Cpin2M",    "Aux1M",      "paux",       "daux"};
const char* const kRecordNames[] = {"Inf", "Eff", "DiffAuxC"};

std::vector<double**> Grids() { return {PinPrePat, Pin2PrePat, Aux1PrePat, Cpin1M, Cpin2M, Aux1M, paux, daux}; }
std::vector<NeighbourRates**> Records() { return {Inf, Eff, DiffAuxC}; }

// Everything the carrier update writes.
struct CarrierOutputs {
    std::vector<double> grids[8];
    std::vector<NeighbourRates> records[3];
    std::vector<int> zonation;
    std::vector<double> diff;
};

CarrierOutputs Capture() {
    CarrierOutputs o;
    std::vector<double**> g = Grids();
    for (int f = 0; f < 8; f++) o.grids[f].assign(g[f][0], g[f][0] + kPoints);
    std::vector<NeighbourRates**> r = Records();
    for (int f = 0; f < 3; f++) o.records[f].assign(r[f][0], r[f][0] + kPoints);
    o.zonation.assign(CellZonationState, CellZonationState + MAXCELLS);
    o.diff.assign(Diff, Diff + MAXCELLS);
    return o;
}

void Restore(const CarrierOutputs& o) {
    std::vector<double**> g = Grids();
    for (int f = 0; f < 8; f++) memcpy(g[f][0], o.grids[f].data(), kPoints * sizeof(double));
    std::vector<NeighbourRates**> r = Records();
    for (int f = 0; f < 3; f++) memcpy(r[f][0], o.records[f].data(), kPoints * sizeof(NeighbourRates));
    memcpy(CellZonationState, o.zonation.data(), MAXCELLS * sizeof(int));
    memcpy(Diff, o.diff.data(), MAXCELLS * sizeof(double));
}

std::string Where(const char* name, size_t index) {
    char buf[160];
    snprintf(buf, sizeof buf, "%s differs at column %zu, row %zu", name, index / NROWS, index % NROWS);
    return buf;
}

// "" when both hold the same bits everywhere, else the first difference.
std::string FirstDifference(const CarrierOutputs& a, const CarrierOutputs& b) {
    for (int f = 0; f < 8; f++)
        if (memcmp(a.grids[f].data(), b.grids[f].data(), kPoints * sizeof(double)) != 0)
            for (size_t k = 0; k < kPoints; k++)
                if (memcmp(&a.grids[f][k], &b.grids[f][k], sizeof(double)) != 0) return Where(kGridNames[f], k);
    for (int f = 0; f < 3; f++)
        if (memcmp(a.records[f].data(), b.records[f].data(), kPoints * sizeof(NeighbourRates)) != 0)
            for (size_t k = 0; k < kPoints; k++)
                if (memcmp(&a.records[f][k], &b.records[f][k], sizeof(NeighbourRates)) != 0)
                    return Where(kRecordNames[f], k);
    if (a.zonation != b.zonation) return "zonation differs";
    if (memcmp(a.diff.data(), b.diff.data(), MAXCELLS * sizeof(double)) != 0) return "Diff differs";
    return "";
}

// Runs the production update and the reference on the same state; "" when all
// outputs agree.  Leaves the state as the production update left it.
std::string CompareUpdate(int time) {
    CarrierOutputs before = Capture();
    UpdateMembraneProteinsAndFluxes(time);
    // The update leaves the coefficient records alone; their view must hold
    // what the plain update writes into them.
    CoefficientRecordsFromCarriers();
    CarrierOutputs fast = Capture();
    Restore(before);
    coefref::ReferenceUpdateMembraneProteinsAndFluxes(time);
    std::string d = FirstDifference(fast, Capture());
    Restore(fast);
    return d;
}

// Carrier and enzyme levels that differ from cell to cell.
void VaryCellLevels(int seed) {
    for (int x = 0; x < actcells; x++) {
        const int k = x * 7 + seed;
        Pin[x] = 5 + k % 13 * 0.37;
        Pin2[x] = 3 + k % 11 * 0.53;
        Aux1[x] = 2 + k % 17 * 0.29;
        Yuc3[x] = k % 5 * 1.7;
        Gh317[x] = k % 3 * 2.3;
        Gh33[x] = k % 7 * 0.9;
    }
}

long NonzeroPoints(double** g) {
    long n = 0;
    for (size_t k = 0; k < kPoints; k++) n += g[0][k] != 0;
    return n;
}

// Runs the production diffusion and the reference on copies of v; "" when
// the results agree, else the first differing cell.  Also tells whether any
// value changed.
std::string CompareDiffusion(const std::vector<double>& v, double vertical, double horizontal, bool drain,
                             double top, bool* moved = nullptr) {
    std::vector<double> fast = v, plain = v;
    CellularDiffusion(fast.data(), vertical, horizontal, drain, top);
    coefref::ReferenceCellularDiffusion(plain.data(), vertical, horizontal, drain, top);
    if (moved) *moved = memcmp(fast.data(), v.data(), v.size() * sizeof(double)) != 0;
    for (int x = 0; x < MAXCELLS; x++)
        if (memcmp(&fast[x], &plain[x], sizeof(double)) != 0)
            return "cell " + std::to_string(x) + ": " + std::to_string(fast[x]) + " vs " + std::to_string(plain[x]);
    return "";
}

// Per-cell values of both signs, and junk beyond actcells (which must end 0).
std::vector<double> CellValues(int seed) {
    std::vector<double> v(MAXCELLS);
    for (int x = 0; x < MAXCELLS; x++) v[x] = x < actcells ? (x * 37 + seed) % 101 - 20.5 : 999.0;
    return v;
}

void CheckDiffusionCases(const char* where) {
    for (int threads : {1, 2}) {
        SetTransportThreads(threads);
        SCOPED_TRACE(std::string(where) + ", threads " + std::to_string(threads));
        bool moved = false;
        EXPECT_EQ(CompareDiffusion(CellValues(threads), 1.068e-4, 1.068e-4, true, 0.0, &moved), "");
        EXPECT_TRUE(moved);
        EXPECT_EQ(CompareDiffusion(CellValues(5), 0.02, 0.03, false, 0.0), "");
        EXPECT_EQ(CompareDiffusion(CellValues(9), 0.3, 0.1, true, 5.0), "");
    }
}

}  // namespace

TEST(TenthStepFast, InitialRootAtTimeZeroAndLater) {
    StateGuard guard;
    InitPlant();
    for (int threads : {1, 2}) {
        SetTransportThreads(threads);
        SCOPED_TRACE("threads " + std::to_string(threads));
        EXPECT_EQ(CompareUpdate(0), "");
        VaryCellLevels(threads);
        EXPECT_EQ(CompareUpdate(10), "");
        EXPECT_EQ(CompareUpdate(20), "");
    }
    // The comparison covers real content.
    EXPECT_GT(NonzeroPoints(PinPrePat), 500);
    EXPECT_GT(NonzeroPoints(Pin2PrePat), 500);
    EXPECT_GT(NonzeroPoints(Aux1M), 1000);
    EXPECT_GT(NonzeroPoints(paux), 10000);
    CheckDiffusionCases("initial root");
}

// Growth shifts, copies and removes carrier patterns between the calls.
TEST(TenthStepFast, GrowingRootWithDivisionsAndRemovals) {
    StateGuard guard;
    testsupport::TempDir out;
    out.UseAsOutput();
    growthtest::PrepareGrowingRoot(600);
    const int startCells = actcells;
    SetTransportThreads(1);
    ASSERT_EQ(CompareUpdate(57600), "");
    int divisions = 0;
    for (int round = 0; round < 6; round++) {
        growthtest::DriveResult r = growthtest::DriveGrowth(6, 58000 + 12000 * round, 2000, false);
        divisions += r.divisions;
        SetTransportThreads(1 + round % 2);
        VaryCellLevels(round);
        EXPECT_EQ(CompareUpdate(70000 + 12000 * round), "") << "round " << round;
    }
    EXPECT_GT(divisions, 0);
    EXPECT_LT(actcells, startCells + divisions);  // some cells have left
    CheckDiffusionCases("grown root");
}

namespace {

// Hand-made tissue: mirrored cells of most tissue types, some in the tip rows.
class HandMade : public ::testing::Test {
protected:
    StateGuard guard;
    void SetUp() override {
        using transporttissue::AddCell;
        using transporttissue::AddCellPair;
        transporttissue::ClearToOutside();
        const int types[] = {1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17};
        int col = 30;
        for (int t : types) {
            AddCellPair(col, col + 5, 100, 140, t);
            AddCellPair(col, col + 5, 142, 170, t);
            AddCellPair(col, col + 5, 172, 230, t);
            col += 6;
        }
        // A cell on one side only: its patterns are written at the empty mirror points.
        lonely = AddCell(20, 26, 300, 330, 6);
        for (int x = 0; x < actcells; x++) {
            CellZonationState[x] = x % 3 == 0 ? 0 : x % 3 == 1 ? 30 : 200;
            for (int s = 0; s < 4; s++) Plasmodesmatapattern[x][s] = 0.2 + 0.1 * ((x + s) % 4);
        }
        CellZonationState[lonely] = 0;
        VaryCellLevels(3);
    }
    // Makes every point of columns i0..i1, rows j0..j1 outside.
    void Remove(int i0, int i1, int j0, int j1) {
        TissueChanged();
        for (int i = i0; i <= i1; i++)
            for (int j = j0; j <= j1; j++) {
                Tc[i][j] = TC_OUTSIDE;
                Tct[i][j] = Tmt[i][j] = 0;
                Cell[i][j] = -1;
            }
    }
    int lonely = -1;
};

}  // namespace

TEST_F(HandMade, ShrinkingTissueLeavesNoStaleValues) {
    for (int threads : {1, 2}) {
        SetTransportThreads(threads);
        SCOPED_TRACE("threads " + std::to_string(threads));
        ASSERT_EQ(CompareUpdate(5), "");
        ASSERT_EQ(CompareDiffusion(CellValues(threads), 0.02, 0.03, true, 0.5), "");
    }
    ASSERT_NE(Aux1PrePat[20][300], 0.0);
    ASSERT_NE(Pin2PrePat[MIRRORSUM - 22][300], 0.0);  // mirror of the lone cell's bottom
    // The top cells of some files and the lone cell leave; one whole file goes.
    Remove(29, 48, 171, 231);
    Remove(19, 27, 299, 331);
    Remove(MIRRORSUM - 60, MIRRORSUM - 53, 99, 231);
    for (int threads : {2, 1}) {
        SetTransportThreads(threads);
        SCOPED_TRACE("threads " + std::to_string(threads));
        EXPECT_EQ(CompareUpdate(15), "");
        // The trades of the points that left are gone.
        EXPECT_EQ(CompareDiffusion(CellValues(threads + 2), 0.02, 0.03, true, 0.5), "");
    }
    EXPECT_EQ(Aux1PrePat[20][300], 0.0);
    EXPECT_EQ(Pin2PrePat[MIRRORSUM - 22][300], 0.0);
    EXPECT_EQ(Inf[19][300][0], 0.0);
}

TEST_F(HandMade, CellularDiffusionWithGapsAndPointsWithoutCells) {
    // A membrane point without a cell, and a cell number with no points.
    Cell[31][120] = -1;
    // A column whose highest cell point is no membrane: the drain changes a
    // point that no trade does.
    int top = NROWS - 1;
    while (Cell[33][top] == -1) top--;
    Tc[33][top] = TC_CYTO;
    TissueChanged();
    actcells += 1;
    InvCellSizes[actcells - 1] = 0.25;
    CheckDiffusionCases("hand-made");
}

// Growth at the top of the grid pushes a file into the last rows, where its
// top cell is removed; its carrier pattern stays behind on points that were
// never inside the tissue at the previous update.
TEST(TenthStepFast, CellsCulledAtTheTopAfterGrowth) {
    StateGuard guard;
    testsupport::TempDir out;
    out.UseAsOutput();
    growthtest::ClearGrid();
    const int heights[] = {12, 10, 8};
    const int base = NROWS - 40;
    growthtest::AddMirroredFile(40, 57, base, heights, 3, 6);
    growthtest::Renumber();
    VaryCellLevels(1);
    for (int x = 0; x < actcells; x++) CellZonationState[x] = 30;
    int top = NROWS - 1;
    while (Tc[41][top] == TC_OUTSIDE) top--;
    ASSERT_EQ(CompareUpdate(3), "");
    const int cells = actcells;
    for (int k = 0; k < 9; k++) GrowCell(10 + k, growthtest::CellByCorner(40, base), 0);
    ASSERT_LT(actcells, cells);
    bool stale = false;
    for (int i = 39; i <= 58; i++)
        for (int j = top + 1; j < NROWS; j++) stale |= Tc[i][j] == TC_OUTSIDE && Aux1PrePat[i][j] != 0;
    ASSERT_TRUE(stale);
    for (int threads : {1, 2}) {
        SetTransportThreads(threads);
        SCOPED_TRACE("threads " + std::to_string(threads));
        EXPECT_EQ(CompareUpdate(20), "");
    }
}

// The tissue's generation stays while the four grids that define it hold the
// same values, and moves on with a reported change to any of them, also when
// the change is undone before the next look.
TEST(TenthStepFast, TissueGenerationFollowsEveryGrid) {
    StateGuard guard;
    InitPlant();
    const unsigned long g0 = TissueGeneration();
    EXPECT_EQ(TissueGeneration(), g0);
    int** const grids[4] = {Tc, Cell, Tct, Tmt};
    unsigned long last = g0;
    for (int g = 0; g < 4; g++) {
        SCOPED_TRACE("grid " + std::to_string(g));
        // The point at the top right of the grid: the far end of the copy.
        int& v = grids[g][g % 2 == 0 ? NCOLS - 1 : 1][NROWS - 1 - g];
        const int old = v;
        v = old + 1;
        TissueChanged();
        const unsigned long changed = TissueGeneration();
        EXPECT_NE(changed, last);
        EXPECT_EQ(TissueGeneration(), changed);
        v = old;
        TissueChanged();
        last = TissueGeneration();
        EXPECT_NE(last, changed);
    }
    const int old = Tmt[AXIS][300];
    Tmt[AXIS][300] = old + 2;
    Tmt[AXIS][300] = old;
    TissueChanged();
    EXPECT_EQ(TissueGeneration(), last);  // nothing to see at the look
    // A change nobody reports is not looked for; a checked build looks all
    // the same and stops there.
    Tmt[AXIS][300] = old + 2;
#ifdef ROOTSIM_CHECKED
    EXPECT_DEATH(TissueGeneration(), "the tissue changed and no writer reported it");
#else
    EXPECT_EQ(TissueGeneration(), last);
#endif
    Tmt[AXIS][300] = old;
}

// Growth's grid operations, the division of a cell and the checkpoint loader
// report what they write: the generation moves on after each of them.
TEST(TenthStepFast, TissueWritersReportTheirChanges) {
    StateGuard guard;
    testsupport::TempDir out;
    out.UseAsOutput();
    InitPlant();
    std::string why;
    ASSERT_TRUE(WriteCheckpoint(10, 20, 5, {}, &why)) << why;
    unsigned long last = TissueGeneration();
    auto movedOn = [&last]() {
        const unsigned long g = TissueGeneration();
        const bool moved = g != last;
        last = g;
        return moved;
    };
    int j = 0;
    while (Cell[60][j] == -1) j++;
    RemovePoint(60, j, 0.0, true);
    EXPECT_TRUE(movedOn()) << "RemovePoint";
    CopyTissue(60, j + 1, 60, j);
    EXPECT_TRUE(movedOn()) << "CopyTissue";
    ShiftColumnUp(60, j, j + 30);
    EXPECT_TRUE(movedOn()) << "ShiftColumnUp";
    int tall = -1;
    for (int x = 0; x < actcells && tall < 0; x++)
        if (CellMaxJ[x] - CellMinJ[x] >= 8) tall = x;
    ASSERT_GE(tall, 0);
    int lower, upper;
    ASSERT_NE(SplitCell(tall, (CellMinJ[tall] + CellMaxJ[tall]) / 2, &lower, &upper), SPLIT_SKIPPED);
    EXPECT_TRUE(movedOn()) << "SplitCell";
    CheckpointInfo info;
    ASSERT_TRUE(ReadCheckpoint(CheckpointPath(), &info, &why)) << why;
    EXPECT_TRUE(movedOn()) << "ReadCheckpoint";
}

// The carrier patterns are kept while the tissue, the cells' extents and
// zonation and the meristem's height stay, and formed anew when any of them
// changes; the outputs are those of the plain update every time.
TEST(TenthStepFast, PatternsKeptWhileTheirInputsStay) {
    using Update = rules::CarrierUpdate<rules::CarrierRules<plan::Landmarks>>;
    StateGuard guard;
    InitPlant();
    SetTransportThreads(2);
    ASSERT_EQ(CompareUpdate(0), "");
    EXPECT_FALSE(Update::patternsKept);  // time 0 writes the whole grid
    VaryCellLevels(4);
    ASSERT_EQ(CompareUpdate(10), "");
    EXPECT_TRUE(Update::patternsKept);
    VaryCellLevels(5);
    ASSERT_EQ(CompareUpdate(20), "");
    EXPECT_TRUE(Update::patternsKept);
    // A negative level makes the amounts of its cell's points without a
    // pattern -0 instead of +0, and a positive one +0 again.
    int y = -1;
    for (int j = NROWS / 4; j < NROWS && y < 0; j++) y = Cell[60][j];
    ASSERT_GE(y, 0);
    const double pin2Level = Pin2[y];
    Pin2[y] = -1.5;
    EXPECT_EQ(CompareUpdate(22), "");
    EXPECT_TRUE(Update::patternsKept);
    Pin2[y] = pin2Level;
    EXPECT_EQ(CompareUpdate(24), "");
    EXPECT_TRUE(Update::patternsKept);
    // One epidermal cell moves on in its zonation: the PIN2 on its shootward
    // membranes follows the new state.
    int x = -1;
    for (int j = NROWS / 8; j < NROWS && x < 0; j++)
        if (Tct[plan::Landmarks::EPIDERMIS_COL + 1][j] == 5) x = Cell[plan::Landmarks::EPIDERMIS_COL + 1][j];
    ASSERT_GE(x, 0);
    const std::vector<double> pin2(Pin2PrePat[0], Pin2PrePat[0] + kPoints);
    CellZonationState[x] = CellZonationState[x] == 100 ? 200 : 100;
    EXPECT_EQ(CompareUpdate(30), "");
    EXPECT_FALSE(Update::patternsKept);
    EXPECT_NE(memcmp(pin2.data(), Pin2PrePat[0], kPoints * sizeof(double)), 0);
    // The meristem's height.
    maxmzheight += 40;
    EXPECT_EQ(CompareUpdate(40), "");
    EXPECT_FALSE(Update::patternsKept);
    EXPECT_EQ(CompareUpdate(50), "");
    EXPECT_TRUE(Update::patternsKept);
    // A membrane side changed on the grid.
    int j = 300;
    while (Tc[60][j] != TC_MEMBRANE) j++;
    Tmt[60][j] = Tmt[60][j] == 1 ? 3 : 1;
    TissueChanged();
    EXPECT_EQ(CompareUpdate(60), "");
    EXPECT_FALSE(Update::patternsKept);
}
