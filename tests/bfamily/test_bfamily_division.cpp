// Division in the b family: the daughters' division timing of b1/b2, b4 and
// b3, the division counts with the reset at row 128, and what the daughters
// carry (levels, LAX3 pattern on the new membranes, CellsInOZ).
#include <gtest/gtest.h>

#include "bfamily_support.h"
#include "plan.h"

using btest::CellWithCorner;
using btest::ProgramGuard;

namespace {

constexpr double kHarmonic = 0.8845238095238095;       // division rate times cycle time
constexpr double kRelong = 8.999813534571707e-05;      // (1/8 + ... + 1/72) / 25200

// Rows of the meristem bands of the initial root (walls at 127 + 9m).
constexpr int kFirstBand = 128;
constexpr int kThirdBand = 146;

struct Daughters {
    int lower = -1, upper = -1;
};

// Divides the cell whose box starts at (col, row) at time t through the
// installed table and finds its daughters.
Daughters DivideAt(int col, int row, int t) {
    const int x = CellWithCorner(col, row);
    EXPECT_GE(x, 0) << "no cell starts at " << col << "," << row;
    if (x < 0) return {};
    const int wall = CellMinJ[x] + CellHeight[x] / 2;
    const int before = actcells;
    EXPECT_TRUE(bfamily::Installed().DivideCell(t, x));
    EXPECT_EQ(actcells, before + 1);
    Daughters d;
    d.lower = CellWithCorner(col, row);
    d.upper = Cell[col + 1][wall + 1];
    EXPECT_GE(d.lower, 0);
    EXPECT_GE(d.upper, 0);
    EXPECT_NE(d.lower, d.upper);
    return d;
}

void ExpectCycles(const Daughters& d, double upperT, double lowerT, const char* what) {
    EXPECT_EQ(Rdiv[d.upper], kHarmonic / upperT) << what << ": upper daughter";
    EXPECT_EQ(Rdiv[d.lower], kHarmonic / lowerT) << what << ": lower daughter";
    EXPECT_EQ(Relong[d.upper], kRelong) << what;
    EXPECT_EQ(Relong[d.lower], kRelong) << what;
}

// The first column of each file of the left half and its cycle times at a
// time that is not a multiple of 4 and at one that is.
struct FileTiming {
    const char* file;
    int col;
    double notFourth, fourth;
};
const FileTiming kFiles[] = {
    {"epidermis", bplan::EPIDERMIS_FIRST_COL, 21420, 21780},
    {"cortex", bplan::CORTEX_FIRST_COL, 21690, 21510},
    {"endodermis", bplan::ENDODERMIS_FIRST_COL, 21470, 21730},
    {"pericycle", bplan::PERICYCLE_FIRST_COL, 21710, 21490},
    {"outer vascular file", bplan::VASC_OUTER_FIRST_COL, 21540, 21660},
    {"middle vascular file", bplan::VASC_MIDDLE_FIRST_COL, 21820, 21380},
    {"central vascular file", bplan::VASC_CENTRAL_FIRST_COL, 21570, 21630},
};

}  // namespace

TEST(Division, B1AndB2TimeDaughtersByTissueAlternatingWithTimeMultiplesOfFour) {
    EXPECT_EQ(bfamily::B1Rules().DivideCell, bfamily::B2Rules().DivideCell);
    for (int t : {10, 8}) {
        ProgramGuard guard(bfamily::B2Rules());
        InitPlant();
        for (const FileTiming& f : kFiles) {
            // A third-band cell has cells below it in its file: both
            // daughters keep the type's pace.
            const double T = t % 4 == 0 ? f.fourth : f.notFourth;
            ExpectCycles(DivideAt(f.col, kThirdBand, t), T, T, f.file);
        }
    }
}

TEST(Division, TheLowestDaughterOfAFileCyclesSlowerExceptInTheCap) {
    {
        ProgramGuard guard(bfamily::B2Rules());
        InitPlant();
        // Just above the base wall: no other cell below the lower daughter.
        ExpectCycles(DivideAt(bplan::EPIDERMIS_FIRST_COL, kFirstBand, 10), 21420, 1.35 * 21420, "first band");
        // The cap file beside the meristem: cap cells keep their sister's pace
        // and every other type cycles in 21600.
        ExpectCycles(DivideAt(bplan::LRC_FIRST_COL, kFirstBand, 8), 21600, 21600, "cap");
    }
    {
        ProgramGuard guard(bfamily::B4Rules());
        InitPlant();
        ExpectCycles(DivideAt(bplan::CORTEX_FIRST_COL, kFirstBand, 10), 21600, 29160.000000000004, "b4 first band");
        ExpectCycles(DivideAt(bplan::CORTEX_FIRST_COL, kThirdBand, 8), 21600, 21600, "b4 third band");
        ExpectCycles(DivideAt(bplan::LRC_FIRST_COL, kFirstBand, 12), 21600, 21600, "b4 cap");
    }
}

TEST(Division, CountsGrowByOneAndResetForTheLowerDaughterAtRow128) {
    for (const bfamily::Rules& rules : {bfamily::B2Rules(), bfamily::B3Rules(), bfamily::B4Rules()}) {
        ProgramGuard guard(rules);
        InitPlant();
        const int col = bplan::PERICYCLE_FIRST_COL;
        const int first = CellDivNr[CellWithCorner(col, kFirstBand)];
        const int third = CellDivNr[CellWithCorner(col, kThirdBand)];
        const Daughters low = DivideAt(col, kFirstBand, 20);
        EXPECT_EQ(CellMinJ[low.lower], 128);
        EXPECT_EQ(CellDivNr[low.lower], 0) << rules.name;
        EXPECT_EQ(CellDivNr[low.upper], first + 1) << rules.name;
        const Daughters high = DivideAt(col, kThirdBand, 20);
        EXPECT_EQ(CellDivNr[high.lower], third + 1) << rules.name;
        EXPECT_EQ(CellDivNr[high.upper], third + 1) << rules.name;
        for (int x : {low.lower, low.upper, high.lower, high.upper}) {
            EXPECT_EQ(TimePrevGrowth[x], 20);
            EXPECT_EQ(CellTimeLastDiv[x], 20);
        }
    }
}

TEST(Division, B3TimesDaughtersByTheirDivisionCount) {
    ProgramGuard guard(bfamily::B3Rules());
    InitPlant();
    // A first-band cell (count 0): the lower daughter starts again at 0, the
    // upper has 1.
    ExpectCycles(DivideAt(bplan::ENDODERMIS_FIRST_COL, kFirstBand, 8), 33480, 44280, "b3 first band");
    // b3's third band starts with count 2: both daughters have 3 and later.
    ExpectCycles(DivideAt(bplan::ENDODERMIS_FIRST_COL, kThirdBand, 8), 21600, 21600, "b3 third band");
}

TEST(Division, DaughtersCarryTheMothersLevelsPatternsAndCellsInOZ) {
    ProgramGuard guard(bfamily::B2Rules());
    InitPlant();
    const int col = bplan::CORTEX_FIRST_COL;
    const int x = CellWithCorner(col, kThirdBand);
    ASSERT_GE(x, 0);
    const int minI = CellMinI[x], maxI = CellMaxI[x], minJ = CellMinJ[x], maxJ = CellMaxJ[x];
    for (int i = minI; i <= maxI; i++) {
        Lax3PrePat[i][minJ] = 0.25;  // rootward membrane
        Lax3PrePat[i][maxJ] = 0.75;  // shootward membrane
    }
    CellsInOZ[x] = 7;
    Plts[x] = 123.5;
    ARF[x] = 42.25;
    const Daughters d = DivideAt(col, kThirdBand, 30);
    const int w = minJ + (maxJ - minJ + 1) / 2;
    for (int i = minI; i <= maxI; i++) {
        EXPECT_EQ(Tc[i][w], TC_WALL);
        EXPECT_EQ(Tmt[i][w + 1], TMT_ROOTWARD);
        EXPECT_EQ(Tmt[i][w - 1], TMT_SHOOTWARD);
        EXPECT_EQ(Lax3PrePat[i][w + 1], 0.25) << i;  // the upper daughter's new rootward membrane
        EXPECT_EQ(Lax3PrePat[i][w - 1], 0.75) << i;  // the lower daughter's new shootward membrane
    }
    for (int c : {d.lower, d.upper}) {
        EXPECT_EQ(CellsInOZ[c], 7);
        EXPECT_EQ(Plts[c], 123.5);
        EXPECT_EQ(ARF[c], 42.25);
    }
}
