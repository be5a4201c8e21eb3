// rootsim_c's membrane-protein update: the permanent cortex switch, membrane
// PIN from the pre-pattern with the auxin response of the outer tissues, the
// pattern carried by growth, division and removal, and the plant file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "carrier_rules.h"
#include "growth_grid.h"
#include "plan.h"
#include "rootsim_c.h"
#include "c_support.h"

using namespace croot;
using ctest::ReadFile;
using ctest::StateGuard;
using ctest::TempDir;

namespace {

// A fresh c root as the program builds it.
struct CRoot {
    StateGuard guard;
    CRoot() {
        maxmzheight = kMeristemTopRow;
        InitPlant();
    }
};

constexpr int kCortexCol = 60;     // inside the left cortex file
constexpr int kEpidermisCol = 35;  // inside the left epidermal file
constexpr int kMeristemRow = 300;  // a row of the meristem bands

TEST(CUpdate, CortexSwitchesOnceItsStateRisesAboveThirtyAndNeverBack) {
    CRoot root;
    const int x = Cell[kCortexCol][kMeristemRow];
    const int m = Cell[MIRRORSUM - kCortexCol][kMeristemRow];
    const int lo = CellMinJ[x], hi = CellMaxJ[x];
    ASSERT_EQ(CellZonationState[x], Z_DIVIDING);
    // In the meristem the cortex pumps rootward.
    EXPECT_EQ(PinPrePat[kCortexCol][lo], 1.0);
    EXPECT_EQ(PinPrePat[kCortexCol][hi], 0.0);

    // State 30 is not above 30: nothing changes.
    UpdateMembraneProteinsAndFluxes(2);
    EXPECT_EQ(PinPrePat[kCortexCol][lo], 1.0);

    CellZonationState[x] = Z_TRANSITION;
    UpdateMembraneProteinsAndFluxes(4);
    for (int i = CellMinI[x]; i <= CellMaxI[x]; i++) {
        EXPECT_EQ(PinPrePat[i][lo], 0.0) << i;
        EXPECT_EQ(PinPrePat[i][hi], 1.0) << i;
        EXPECT_EQ(Cpin1M[i][lo], 0.0) << i;
        EXPECT_EQ(Cpin1M[i][hi], Pin[x]) << i;
        // The mirror cell, still dividing, keeps its pattern.
        EXPECT_EQ(PinPrePat[MIRRORSUM - i][lo], 1.0) << i;
        EXPECT_EQ(PinPrePat[MIRRORSUM - i][hi], 0.0) << i;
    }
    // The lateral membranes keep their share.
    EXPECT_EQ(PinPrePat[CellMaxI[x]][lo + 3], 0.1);

    // Back in the dividing state the cell keeps the switched pattern.
    CellZonationState[x] = Z_DIVIDING;
    UpdateMembraneProteinsAndFluxes(6);
    EXPECT_EQ(PinPrePat[kCortexCol][lo], 0.0);
    EXPECT_EQ(PinPrePat[kCortexCol][hi], 1.0);
    EXPECT_EQ(CellZonationState[m], Z_DIVIDING);
}

TEST(CUpdate, OuterTissuesFollowTheAuxinAcrossTheWall) {
    EXPECT_DOUBLE_EQ(PinAuxinResponse(0), 0.1);
    EXPECT_DOUBLE_EQ(PinAuxinResponse(10), 0.85);
    EXPECT_NEAR(PinAuxinResponse(1e6), 1.6, 1e-9);

    CRoot root;
    const int x = Cell[kEpidermisCol][kMeristemRow];
    const int top = CellMaxJ[x], mid = CellMinJ[x] + 3;
    const int inner = CellMaxI[x];  // inner lateral membrane column, wall beside it toward the axis
    const int outer = CellMinI[x];
    ASSERT_EQ(Tc[kEpidermisCol][top + 1], TC_WALL);
    ASSERT_EQ(Tmt[inner][mid], TMT_INNER);
    ASSERT_EQ(Tc[inner + 1][mid], TC_WALL);
    ASSERT_EQ(PinPrePat[kEpidermisCol][top], 1.0);
    ASSERT_EQ(PinPrePat[inner][mid], 0.1);

    for (int side = 0; side < 2; side++) {
        auto col = [side](int c) { return side == 0 ? c : MIRRORSUM - c; };
        Caux1[col(kEpidermisCol)][top + 1] = 0;     // no auxin above the shootward membrane
        Caux1[col(inner + 1)][mid] = 10;            // some beside the inner one (toward the axis)
    }
    UpdateMembraneProteinsAndFluxes(2);
    for (int side = 0; side < 2; side++) {
        auto col = [side](int c) { return side == 0 ? c : MIRRORSUM - c; };
        const int y = Cell[col(kEpidermisCol)][mid];
        EXPECT_DOUBLE_EQ(Cpin1M[col(kEpidermisCol)][top], 0.1 * 1.0 * Pin[y]) << side;
        EXPECT_DOUBLE_EQ(Cpin1M[col(inner)][mid], 0.85 * 0.1 * Pin[y]) << side;
        // The outer lateral membrane carries no share.
        EXPECT_EQ(Cpin1M[col(outer)][mid], 0.0) << side;
    }

    // Tissues outside the responsive ones take the plain share: the
    // endodermis' rootward membrane whatever the auxin below it.
    const int e = Cell[80][kMeristemRow];
    const int bottom = CellMinJ[e];
    Caux1[80][bottom - 1] = 0;
    UpdateMembraneProteinsAndFluxes(4);
    EXPECT_EQ(Cpin1M[80][bottom], 1.0 * Pin[e]);
    // Points of no cell carry nothing.
    EXPECT_EQ(Cpin1M[80][bottom - 1], 0.0);
    EXPECT_EQ(Aux1M[80][bottom - 1], 0.0);
}

TEST(CUpdate, PatternAndAmountsStayMirrorSymmetric) {
    CRoot root;
    for (int k = 1; k <= 3; k++) {
        for (int s = 0; s < 10; s++) UpdateAuxin();
        UpdateMembraneProteinsAndFluxes(2 * k);
    }
    EXPECT_EQ(counter2, 0);  // no left-right difference of the auxin reported
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            ASSERT_EQ(PinPrePat[i][j], PinPrePat[MIRRORSUM - i][j]) << i << " " << j;
            // The transport step's sweeps run one way, so mirror points'
            // auxin (and the amounts that follow it) may differ in the last bits.
            ASSERT_NEAR(Cpin1M[i][j], Cpin1M[MIRRORSUM - i][j], 1e-9 * (1 + Cpin1M[i][j])) << i << " " << j;
            ASSERT_EQ(paux[i][j], paux[MIRRORSUM - i][j]) << i << " " << j;
            ASSERT_EQ(daux[i][j], daux[MIRRORSUM - i][j]) << i << " " << j;
        }
}

// The update writes only the rows that hold tissue or held it: after growth
// its outputs equal those of an update of the whole grid.
TEST(CUpdate, RowsOfTheTissueOnlyGiveTheWholeGridsValues) {
    CRoot root;
    UpdateMembraneProteinsAndFluxes(2);
    for (int col : {kEpidermisCol, kCortexCol, 104, MIRRORSUM - kCortexCol})
        for (int k = 0; k < 5; k++) GrowCell(4, Cell[col][kMeristemRow], 1);
    // The zonation an update of time 0 gives the grown cells.
    rules::CarrierRules<Landmarks>::ResetZonation();
    UpdateMembraneProteinsAndFluxes(6);
    std::vector<double> pin, aux1, pro, dec, rates;
    auto snapshot = [](std::vector<double>& v, double** g) { v.assign(g[0], g[0] + NCOLS * NROWS); };
    snapshot(pin, Cpin1M);
    snapshot(aux1, Aux1M);
    snapshot(pro, paux);
    snapshot(dec, daux);
    rates.assign(&Eff[0][0][0], &Eff[0][0][0] + 4 * NCOLS * NROWS);
    // Time 0 sweeps every row; the zonation it sets is the one the cells have.
    UpdateMembraneProteinsAndFluxes(0);
    EXPECT_TRUE(pin == std::vector<double>(Cpin1M[0], Cpin1M[0] + NCOLS * NROWS));
    EXPECT_TRUE(aux1 == std::vector<double>(Aux1M[0], Aux1M[0] + NCOLS * NROWS));
    EXPECT_TRUE(pro == std::vector<double>(paux[0], paux[0] + NCOLS * NROWS));
    EXPECT_TRUE(dec == std::vector<double>(daux[0], daux[0] + NCOLS * NROWS));
    EXPECT_TRUE(rates == std::vector<double>(&Eff[0][0][0], &Eff[0][0][0] + 4 * NCOLS * NROWS));
}

TEST(CUpdate, PatternMovesWithGrowthAndDivisionAndLeavesWithRemovedPoints) {
    CRoot root;
    const int x = Cell[kCortexCol][kMeristemRow];
    const int lo = CellMinJ[x], hi = CellMaxJ[x];
    std::vector<double> above(PinPrePat[kCortexCol] + hi + 1, PinPrePat[kCortexCol] + kBodyTopRow + 1);
    GrowCell(2, x, 0);
    ASSERT_EQ(CellMaxJ[x], hi + 1);
    EXPECT_EQ(PinPrePat[kCortexCol][lo], 1.0);
    EXPECT_EQ(PinPrePat[kCortexCol][hi + 1], 0.0);
    EXPECT_EQ(PinPrePat[kCortexCol][hi], 0.0);  // cytoplasm now
    for (size_t k = 0; k < above.size(); k++) ASSERT_EQ(PinPrePat[kCortexCol][hi + 2 + k], above[k]) << k;

    // Division: the upper daughter's new rootward membrane takes the
    // mother's rootward share, the lower daughter's new shootward one the
    // mother's shootward share.
    const int y = Cell[kCortexCol][kMeristemRow + 30];
    const int ylo = CellMinJ[y], w = ylo + CellHeight[y] / 2;
    DivideCell(2, y);
    EXPECT_EQ(Tc[kCortexCol][w], TC_WALL);
    EXPECT_EQ(PinPrePat[kCortexCol][w + 1], 1.0);
    EXPECT_EQ(Tmt[kCortexCol][w + 1], TMT_ROOTWARD);
    EXPECT_EQ(PinPrePat[kCortexCol][w - 1], 0.0);
    EXPECT_EQ(Tmt[kCortexCol][w - 1], TMT_SHOOTWARD);

    // A point leaving the tissue loses its PIN share, not its AUX1 share.
    Aux1PrePat[kCortexCol][lo] = 0.5;
    RemovePoint(kCortexCol, lo, -10.0, true);
    EXPECT_EQ(PinPrePat[kCortexCol][lo], 0.0);
    EXPECT_EQ(Aux1PrePat[kCortexCol][lo], 0.5);
}

TEST(CUpdate, PlantFileKeepsThePatternAndTheZonation) {
    CRoot root;
    TempDir out;
    out.UseAsOutput();
    const int x = Cell[kCortexCol][kMeristemRow];
    CellZonationState[x] = Z_ELONGATING;
    UpdateMembraneProteinsAndFluxes(2);
    const int lo = CellMinJ[x], hi = CellMaxJ[x];
    Aux1PrePat[kCortexCol][hi] = 0.25;
    WritePlantToFile(50000);

    const std::string text = ReadFile(out.path() + "/DumpPlantStateAt0000050000");
    size_t lines = 0;
    for (char ch : text) lines += ch == '\n';
    // Seven grids of a line per column, 23 cell lines, the number of cells.
    EXPECT_EQ(lines, 7u * NCOLS + 23 + 1);

    std::vector<double> pin(PinPrePat[0], PinPrePat[0] + NCOLS * NROWS);
    const int cells = actcells;
    PinPrePat[kCortexCol][lo] = 1.0;
    PinPrePat[kCortexCol][hi] = 0.0;
    Aux1PrePat[kCortexCol][hi] = 0;
    CellZonationState[x] = Z_DIVIDING;
    ASSERT_TRUE(InitPlantFromFile(50000));
    EXPECT_EQ(actcells, cells);
    EXPECT_TRUE(pin == std::vector<double>(PinPrePat[0], PinPrePat[0] + NCOLS * NROWS));
    EXPECT_EQ(Aux1PrePat[kCortexCol][hi], 0.25);
    // The reloaded plant keeps its zonation (the update of time 0 would make
    // the cell dividing again) and its switched cortex.
    EXPECT_EQ(CellZonationState[x], Z_ELONGATING);
    EXPECT_EQ(Cpin1M[kCortexCol][hi], Pin[x]);
    EXPECT_FALSE(InitPlantFromFile(100000));
}

}  // namespace
