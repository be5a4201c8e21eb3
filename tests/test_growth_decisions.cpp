// Growth decisions on a small hand-made root: rates, followed factors,
// zonation, the growth pass, the meristem top and the epidermis lookup.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "growth_tissue.h"
#include "rootsim.h"
#include "test_support.h"

using namespace growthtest;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

constexpr double H816 = 0.7878718503718504;
constexpr double H8144 = 2.9576400250862727;

// Files from row 150 up, left half and mirror: outer root cap (1) over columns
// 19..25, epidermis (5) over 27..33, cortex (6) over 35..60, vascular (9) over
// 62..109, and a central file (11) over 111..113 on the axis.
struct Files {
    std::vector<int> cap{20, 20};
    std::vector<int> epi{12, 12, 12};
    std::vector<int> cortex{12, 12, 12};
    std::vector<int> vasc{12, 12, 12};
    std::vector<int> centre{12, 12, 12};
};

class MiniRoot : public ::testing::Test {
protected:
    void Build(const Files& f) {
        out.UseAsOutput();
        ResetGrowthSchedule();
        ClearGrid();
        AddMirroredFile(19, 25, 150, f.cap.data(), static_cast<int>(f.cap.size()), 1);
        AddMirroredFile(27, 33, 150, f.epi.data(), static_cast<int>(f.epi.size()), 5);
        AddMirroredFile(35, 60, 150, f.cortex.data(), static_cast<int>(f.cortex.size()), 6);
        AddMirroredFile(62, 109, 150, f.vasc.data(), static_cast<int>(f.vasc.size()), 9);
        AddMirroredFile(111, 113, 150, f.centre.data(), static_cast<int>(f.centre.size()), 11);
        Finish();
    }
    void Finish() {
        Renumber();
        maxmzheight = 212;
        leftsize = rightsize = 1067;
        // Nothing grows unless a test makes it due.
        for (int x = 0; x < actcells; x++) {
            TimePrevGrowth[x] = kT;
            CellZonationState[x] = 30;
        }
    }
    // The cell with this lower-left corner on the left and its mirror.
    std::pair<int, int> Pair(int mini, int maxi, int minj) {
        return {CellByCorner(mini, minj), CellByCorner(MIRRORSUM - maxi, minj)};
    }
    void SetFactors(int minj, double dtf, double etf) {
        auto p = Pair(62, 109, minj);
        ASSERT_GE(p.first, 0) << "no vascular cell at row " << minj;
        ASSERT_GE(p.second, 0);
        divTF[p.first] = divTF[p.second] = dtf;
        elongTF[p.first] = elongTF[p.second] = etf;
    }
    void MakeDue(int x) { TimePrevGrowth[x] = kT - 1000000; }
    static constexpr int kT = 60000;
    StateGuard guard;
    TempDir out;
};

TEST_F(MiniRoot, CycleTimesAndElongationRate) {
    Build(Files());
    auto c0 = Pair(35, 60, 150), c1 = Pair(35, 60, 163), c2 = Pair(35, 60, 176);
    auto e0 = Pair(27, 33, 150);
    auto cap = Pair(19, 25, 150);
    CellDivNr[c0.first] = 0;
    CellDivNr[c1.first] = 1;
    CellDivNr[c2.first] = 2;
    CellDivNr[e0.first] = 5;
    CellDivNr[cap.first] = 0;
    Growth(kT);
    EXPECT_EQ(Rdiv[c0.first], H816 / 73800);
    EXPECT_EQ(Rdiv[c1.first], H816 / 55800);
    EXPECT_EQ(Rdiv[c2.first], H816 / 52200);
    EXPECT_EQ(Rdiv[e0.first], H816 / 36000);
    EXPECT_EQ(Rdiv[cap.first], H816 / 36000);  // root cap type at the corner
    EXPECT_EQ(Relong[c0.first], H8144 / 25200);
}

TEST_F(MiniRoot, RatesAreRecomputedOnlyAfterADivision) {
    Files f;
    f.cortex = {17, 12, 12};
    Build(f);
    for (int x = 0; x < actcells; x++) CellDivNr[x] = 0;
    // The 17-row cortical cells span the bands of rows 150 and 163.
    SetFactors(150, 60, 10);
    SetFactors(163, 60, 10);
    Growth(kT);  // divides them: lower daughter at 150 (count 0), upper count 1
    auto lower = Pair(35, 60, 150);
    auto upper = Pair(35, 60, 159);
    ASSERT_GE(upper.first, 0);
    EXPECT_EQ(CellHeight[lower.first], 8);
    EXPECT_EQ(CellDivNr[lower.first], 0);
    EXPECT_EQ(CellDivNr[upper.first], 1);
    EXPECT_EQ(Rdiv[upper.first], H816 / 73800);  // the mother's, not yet recomputed
    Growth(kT + 2);
    upper = Pair(35, 60, 159);
    lower = Pair(35, 60, 150);
    EXPECT_EQ(Rdiv[upper.first], H816 / 55800);
    EXPECT_EQ(Rdiv[upper.second], H816 / 55800);
    EXPECT_EQ(Rdiv[lower.first], H816 / 73800);
    // No division in that step: the next one keeps the rates as they are.
    Rdiv[upper.first] = 123.0;
    Growth(kT + 4);
    EXPECT_EQ(Rdiv[upper.first], 123.0);
}

TEST_F(MiniRoot, SixteenRowsDoNotDivideSeventeenDo) {
    Files f;
    f.cortex = {16, 17, 12};
    Build(f);
    SetFactors(150, 60, 10);
    SetFactors(163, 60, 10);
    SetFactors(176, 60, 10);
    const int cells = actcells;
    Growth(kT);
    EXPECT_EQ(actcells, cells + 2);  // the 17-row cell and its mirror
    auto sixteen = Pair(35, 60, 150);
    EXPECT_EQ(CellHeight[sixteen.first], 16);
    EXPECT_EQ(CellZonationState[sixteen.first], 30);
    auto lower = Pair(35, 60, 167);
    auto upper = Pair(35, 60, 176);
    EXPECT_EQ(CellHeight[lower.first], 8);
    EXPECT_EQ(CellHeight[upper.first], 8);
    EXPECT_EQ(CellHeight[lower.second], 8);
    EXPECT_EQ(JustChecked[upper.first], 1);
    EXPECT_EQ(CheckMirrorSymmetry(), "");
    EXPECT_EQ(CheckCellRegions(), "");
}

TEST_F(MiniRoot, CellsOutsideEveryBandAreInTransitionAndGrowAtTheDivisionRate) {
    Files f;
    f.epi = {40};                      // one band starting at row 150
    f.cortex = {12, 150};              // the upper cortical cell starts above it
    Build(f);
    SetFactors(150, 60, 10);
    auto tall = Pair(35, 60, 163);
    MakeDue(tall.first);
    MakeDue(tall.second);
    Growth(kT);
    EXPECT_EQ(TempdivTF[tall.first], 0.0);
    EXPECT_EQ(TempelongTF[tall.first], 0.0);
    EXPECT_EQ(CellZonationState[tall.first], 50);
    EXPECT_EQ(Rgrow[tall.first], Rdiv[tall.first]);
    // Grows although it is above 143 rows.
    EXPECT_EQ(CellHeight[tall.first], 151);
    EXPECT_EQ(TimePrevGrowth[tall.first], kT);
    EXPECT_EQ(CheckMirrorSymmetry(), "");
}

TEST_F(MiniRoot, ElongationAdvancesDiffAndDifferentiates) {
    Build(Files());
    for (int j : {150, 163, 176}) SetFactors(j, 10, 60);
    auto a = Pair(35, 60, 150), b = Pair(35, 60, 163), c = Pair(35, 60, 176);
    auto m = Pair(62, 109, 150);
    Diff[a.first] = Diff[a.second] = 0.0;
    Diff[b.first] = Diff[b.second] = 50.0;
    Diff[c.first] = Diff[c.second] = 84.999;
    CellZonationState[c.second] = 150;
    CellZonationState[m.first] = 200;  // never decided again
    Diff[m.first] = 7.0;
    MakeDue(a.first);
    Growth(kT);
    // Cap cells beside the elongating epidermis are shed: look up again.
    a = Pair(35, 60, 150);
    // b and c moved up by the growth of a; their mirrors did not.
    b = {CellByCorner(35, 164), CellByCorner(MIRRORSUM - 60, 163)};
    c = {CellByCorner(35, 177), CellByCorner(MIRRORSUM - 60, 176)};
    m = Pair(62, 109, 150);
    EXPECT_EQ(Diff[a.first], 0.001);
    EXPECT_EQ(Diff[b.first], 50.0 + 2 * (0.008 - 0.00008 * 50.0));
    EXPECT_EQ(CellZonationState[a.first], 60);
    EXPECT_EQ(CellZonationState[b.first], 60);
    EXPECT_EQ(Rgrow[a.first], Relong[a.first]);
    EXPECT_EQ(CellHeight[a.first], 13);  // was due
    EXPECT_EQ(CellHeight[b.first], 12);
    EXPECT_EQ(CellZonationState[c.first], 100);
    EXPECT_EQ(CellZonationState[c.second], 200);
    EXPECT_EQ(Diff[m.first], 7.0);
    // Every decided cell advanced exactly once despite the growth and restart.
    EXPECT_EQ(Diff[a.second], 0.001);
}

// The first cell of a pair grows, which pushes its file into the culling row
// and renumbers the cells; the pass goes on with the mirror cell and the
// halves stay alike.
TEST_F(MiniRoot, GrowthThatCullsDuringThePassKeepsBothHalvesAlike) {
    Files f;
    f.cortex = {12, NROWS - 2 - 1 - 163 + 1};  // 150..161 and 163..1897
    Build(f);
    auto first = Pair(35, 60, 150);
    MakeDue(first.first);
    MakeDue(first.second);
    const int cells = actcells;
    Growth(kT);
    // Both tall cells were culled, both lower cells grew once.
    EXPECT_EQ(actcells, cells - 2);
    first = Pair(35, 60, 150);
    EXPECT_EQ(CellHeight[first.first], 13);
    EXPECT_EQ(CellHeight[first.second], 13);
    EXPECT_EQ(CheckMirrorSymmetry(), "");
    for (int x = 0; x < actcells; x++) EXPECT_EQ(JustChecked[x], 1) << "cell " << x;
}

TEST_F(MiniRoot, RatesOfTheDividingAndElongationBranches) {
    Files f;
    f.cortex = {12, 144};
    Build(f);
    SetFactors(150, 60, 60);   // divide and elongate both above 40
    SetFactors(163, 10, 60);
    SetFactors(176, 10, 60);
    auto both = Pair(35, 60, 150);
    auto tall = Pair(35, 60, 163);
    auto cap = Pair(19, 25, 171);  // follows the epidermal cell of 163: elongation
    MakeDue(both.first);
    MakeDue(tall.first);
    MakeDue(cap.first);
    const int tallGrown = TimePrevGrowth[tall.first];
    Growth(kT);
    both = Pair(35, 60, 150);
    tall = {CellByCorner(35, 164), CellByCorner(MIRRORSUM - 60, 163)};
    cap = {CellByCorner(19, 171), CellByCorner(MIRRORSUM - 25, 171)};
    auto lowCap = Pair(19, 25, 150);  // follows the epidermal cell of 150: dividing
    // Dividing state, but at the elongation rate its factors gave it.
    EXPECT_EQ(CellZonationState[both.first], 30);
    EXPECT_EQ(Rgrow[both.first], Relong[both.first]);
    EXPECT_EQ(CellHeight[both.first], 13);
    // Elongating above 143 rows: no growth although due.
    EXPECT_EQ(CellZonationState[tall.first], 60);
    EXPECT_EQ(CellHeight[tall.first], 144);
    EXPECT_EQ(TimePrevGrowth[tall.first], tallGrown);
    EXPECT_EQ(Rgrow[tall.first], 1e-7);
    // A root cap cell in the elongation branch grows at Relong, not 1.1 Rdiv.
    EXPECT_EQ(CellZonationState[cap.first], 60);
    EXPECT_EQ(Rgrow[cap.first], Relong[cap.first]);
    EXPECT_EQ(CellHeight[cap.first], 21);
    EXPECT_EQ(Rgrow[cap.second], Relong[cap.second]);
    // In the dividing branch a root cap cell keeps 1.1 times its division rate.
    EXPECT_EQ(CellZonationState[lowCap.first], 30);
    EXPECT_EQ(Rgrow[lowCap.first], 1.1 * Rdiv[lowCap.first]);
}

TEST_F(MiniRoot, ReferenceCellElongatingForcesElongation) {
    Build(Files());
    SetFactors(150, 60, 10);
    auto epi = Pair(27, 33, 150);
    auto cortex = Pair(35, 60, 150);
    CellZonationState[epi.first] = CellZonationState[epi.second] = 60;
    Growth(kT);
    cortex = Pair(35, 60, 150);
    // The epidermal cell itself and the cortex beside it elongate.
    EXPECT_EQ(CellZonationState[cortex.first], 60);
    EXPECT_EQ(Diff[cortex.first], 0.001);
}

TEST_F(MiniRoot, RootcapCellsDivideOnlyInTheLowerThirdOfTheMeristem) {
    Files f;
    f.cap = {25, 30, 30};
    f.epi = f.cortex = f.vasc = f.centre = {12, 12, 12, 12, 12, 12};
    Build(f);
    for (int j = 150; j < 220; j += 13) SetFactors(j, 60, 10);
    auto low = Pair(19, 25, 150);    // CellMinJ 150 <= 149 + 63/3: height 24
    auto high = Pair(19, 25, 176);   // 176 > 170: never divides
    MakeDue(high.first);
    MakeDue(high.second);
    ASSERT_GE(low.first, 0);
    const int cells = actcells;
    Growth(kT);
    EXPECT_EQ(actcells, cells + 2);  // the lower cap cells divided at 25 rows
    EXPECT_EQ(CellHeight[CellByCorner(19, 150)], 12);
    int h = CellByCorner(19, 176);
    ASSERT_GE(h, 0);
    EXPECT_EQ(CellZonationState[h], 30);
    EXPECT_EQ(CellHeight[h], 31);  // grew instead of dividing
    EXPECT_EQ(CheckMirrorSymmetry(), "");
}

TEST_F(MiniRoot, RootcapFollowsTheEpidermisBesideItsBase) {
    Files f;
    f.cap = {24, 20};  // 150..173 and 175..194
    Build(f);
    SetFactors(150, 10, 11);
    SetFactors(163, 70, 20);
    SetFactors(176, 30, 35);
    Growth(kT);
    auto cap1 = Pair(19, 25, 150), cap2 = Pair(19, 25, 175);
    // Cap cells lie outside the bands' rows walk; they follow the epidermal
    // cell at their lowest row, or one row higher where that is a wall.
    EXPECT_EQ(TempdivTF[cap1.first], 10.0);
    EXPECT_EQ(TempelongTF[cap1.first], 11.0);
    EXPECT_EQ(TempdivTF[cap2.first], 30.0);
    EXPECT_EQ(TempelongTF[cap2.first], 35.0);
    EXPECT_EQ(TempdivTF[cap2.second], 30.0);
    EXPECT_EQ(TempelongTF[cap2.second], 35.0);
}

TEST_F(MiniRoot, FactorSourceOnAWallTakesTheRowAboveOrSkipsTheBand) {
    Files f;
    f.epi = {12, 12, 12, 12};      // bands at 150, 163, 176, 189
    f.cortex = {12, 25, 12};       // 150..161, 163..187 (two bands), 189..200
    f.vasc = {};
    f.centre = {12, 12, 12, 12};
    Build(f);
    // Vascular cells 150..162, 164..174, 178..190: walls at (92,163), (92,175)
    // and (92,177), nothing at (92,176).
    AddMirroredRectCell(62, 109, 150, 162, 9);
    AddMirroredRectCell(62, 109, 164, 174, 9);
    AddMirroredRectCell(62, 109, 178, 190, 9);
    Finish();
    ASSERT_EQ(Cell[92][176], -1);
    ASSERT_EQ(Cell[92][177], -1);
    SetFactors(150, 11, 1);
    SetFactors(164, 22, 2);
    SetFactors(178, 33, 3);
    Growth(kT);
    auto e1 = Pair(27, 33, 150), e2 = Pair(27, 33, 163), e3 = Pair(27, 33, 176), e4 = Pair(27, 33, 189);
    EXPECT_EQ(TempdivTF[e1.first], 11.0);
    EXPECT_EQ(TempdivTF[e2.first], 22.0);   // from (92,164)
    EXPECT_EQ(TempelongTF[e2.first], 2.0);
    EXPECT_EQ(TempdivTF[e3.first], 0.0);    // band skipped, spans no other
    EXPECT_EQ(CellZonationState[e3.first], 50);
    EXPECT_EQ(TempdivTF[e4.first], 33.0);
    // A cell spanning the skipped band keeps the earlier band's values.
    auto tall = Pair(35, 60, 163);
    EXPECT_EQ(TempdivTF[tall.first], 22.0);
    EXPECT_EQ(TempdivTF[tall.second], 22.0);
}

TEST_F(MiniRoot, MeristemTopFollowsTheLowestEpidermalCellAboveTransition) {
    Build(Files());
    maxmzheight = 212;
    maxmzsize();
    EXPECT_EQ(maxmzheight, 212);
    auto e2 = Pair(27, 33, 163);
    CellZonationState[e2.first] = 60;
    maxmzsize();
    EXPECT_EQ(maxmzheight, 161);
    CellZonationState[e2.first] = 50;  // 50 does not count
    maxmzheight = 300;
    maxmzsize();
    EXPECT_EQ(maxmzheight, 300);
}

TEST_F(MiniRoot, CytokininMarkFromTheEpidermis) {
    Build(Files());
    auto e2 = Pair(27, 33, 163);
    auto c2 = Pair(35, 60, 163);
    auto c1 = Pair(35, 60, 150);
    ARR12[e2.first] = 26.0;
    ARRpassed[c1.first] = 1;
    Growth(kT);
    EXPECT_EQ(ARRpassed[c2.first], 1);
    EXPECT_EQ(ARRpassed[c2.second], 0);  // the right side has its own epidermis
    EXPECT_EQ(ARRpassed[c1.first], 1);   // never cleared
}

TEST_F(MiniRoot, GrowtimingWithTheStoppedRate) {
    Files f;
    f.cortex = {10, 12};
    Build(f);
    int x = CellByCorner(35, 150);
    ASSERT_EQ(CellHeight[x], 10);
    // Height 10 at rate 1e-7: due 1e6 time units after the last growth.
    Rgrow[x] = 1e-7;
    TimePrevGrowth[x] = 1000;
    EXPECT_EQ(growtiming(1000 + 999999, x, 0), 0);
    EXPECT_EQ(CellHeight[x], 10);
    EXPECT_EQ(TimePrevGrowth[x], 1000);
    EXPECT_EQ(growtiming(1001000, x, 0), 1);
    EXPECT_EQ(CellHeight[x], 11);
    EXPECT_EQ(TimePrevGrowth[x], 1001000);
}

TEST_F(MiniRoot, EpidermalCellLookup) {
    Build(Files());
    auto cortex = Pair(35, 60, 163);
    auto epi = Pair(27, 33, 163);
    EXPECT_EQ(epidermalcell(cortex.first), epi.first);
    EXPECT_EQ(epidermalcell(cortex.second), epi.second);
    // The central file reaches over the axis: right-hand epidermis.
    int centre = CellByCorner(111, 150);
    EXPECT_EQ(epidermalcell(centre), CellByCorner(MIRRORSUM - 33, 150));
}

using MiniRootDeathTest = MiniRoot;

TEST_F(MiniRootDeathTest, MissingEpidermisEndsTheRun) {
    Build(Files());
    // Turn the left epidermis into cortex: the check fails.
    for (int i = 27; i <= 33; i++)
        for (int j = 150; j < 200; j++)
            if (Tct[i][j] == 5) Tct[i][j] = 6;
    int cortex = CellByCorner(35, 163);
    EXPECT_EXIT(epidermalcell(cortex), testing::ExitedWithCode(1), "");
    // No cell at all down the column: the walk stops at row 0.
    for (int i = 26; i <= 34; i++)
        for (int j = 0; j < NROWS; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Cell[i][j] = -1;
        }
    EXPECT_EXIT(epidermalcell(cortex), testing::ExitedWithCode(1), "");
}

TEST_F(MiniRoot, FailureMessageOnStandardOutput) {
    Build(Files());
    for (int i = 27; i <= 33; i++)
        for (int j = 150; j < 200; j++)
            if (Tct[i][j] == 5) Tct[i][j] = 6;
    int cortex = CellByCorner(35, 163);
    // Run the lookup in a child and read what it printed.
    fflush(stdout);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        epidermalcell(cortex);
        _exit(0);
    }
    close(fds[1]);
    std::string got;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) got.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(got, "epidermis not properly located \n");
}

}  // namespace
