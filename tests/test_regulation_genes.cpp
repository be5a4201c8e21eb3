// The per-cell gene network and its response functions.
#include <gtest/gtest.h>

#include <string>

#include "rootsim.h"
#include "test_support.h"
#include "transport_tissue.h"

using testsupport::StateGuard;
using namespace transporttissue;

TEST(ResponseFunctions, HalfSaturationAndNormalisation) {
    EXPECT_EQ(positivesigmoid(60, 60, 0), 0.5);
    EXPECT_EQ(positivesigmoid(0, 60, 0), 0.0);
    EXPECT_EQ(positivesigmoid(100, 60, 100), 1.0);
    EXPECT_DOUBLE_EQ(positivesigmoid(60, 60, 100), 0.5 / (10000.0 / 13600.0));
    EXPECT_EQ(negativesigmoid(35, 35, 0), 0.5);
    EXPECT_EQ(negativesigmoid(30, 60, 0), 1 - 900.0 / 4500.0);
    EXPECT_EQ(negativesigmoid(0, 35, 100), 1.0);
    EXPECT_EQ(positive4sigmoid(25, 25, 0), 0.5);
    EXPECT_DOUBLE_EQ(positive4sigmoid(50, 25, 100), (16.0 / 17.0) / (256.0 / 257.0));
}

TEST(ResponseFunctions, NormalisedNegativeNeverBelowZero) {
    for (double x : {100.0, 100.5, 150.0, 1e3, 1e9}) {
        EXPECT_GE(negativesigmoid(x, 35, 100), 0.0) << x;
        EXPECT_EQ(negativesigmoid(x, 35, 100), 0.0) << x;
    }
    EXPECT_GT(negativesigmoid(99.0, 35, 100), 0.0);
}

namespace {

class Genes : public ::testing::Test {
protected:
    StateGuard guard;
    void SetUp() override { ClearToOutside(); }
    // Runs one gene step and returns what it printed.
    std::string Step(int time) {
        testing::internal::CaptureStdout();
        UpdateGeneExpression(time);
        return testing::internal::GetCapturedStdout();
    }
};

}  // namespace

TEST_F(Genes, NoCellsStillMovesPlts) {
    ARF[0] = 7.0;
    Plts[0] = 5.0;
    Pin[0] = 3.0;
    EXPECT_EQ(Step(0), "");
    EXPECT_EQ(ARF[0], 7.0);
    EXPECT_EQ(Pin[0], 3.0);
    // Cellular diffusion ran: numbers not in use end at 0.
    EXPECT_EQ(Plts[0], 0.0);
}

TEST_F(Genes, ArrResponseRampsInArr1) {
    int x = AddCell(60, 70, 400, 430, 6);
    MeanCells[x] = 50;  // P(50, 50) = 0.5
    Plts[x] = 30;       // N(30, 30) = 0.5
    const double r = 0.5 * 0.02 * 0.5;
    double d1, d12;
    UpdateARRS(388800, x, 2, &d1, &d12);
    EXPECT_EQ(d1, 0.0);
    EXPECT_DOUBLE_EQ(d12, 2 * r);
    UpdateARRS(410400, x, 2, &d1, &d12);
    EXPECT_DOUBLE_EQ(d1, 2 * 0.5 * r);
    UpdateARRS(431999, x, 2, &d1, &d12);
    EXPECT_DOUBLE_EQ(d1, 2 * (43199.0 / 43200.0) * r);
    UpdateARRS(432000, x, 2, &d1, &d12);
    EXPECT_DOUBLE_EQ(d1, 2 * r);
    // Decay of the present levels.
    ARR1[x] = 50;
    ARR12[x] = 100;
    UpdateARRS(0, x, 2, &d1, &d12);
    EXPECT_DOUBLE_EQ(d1, 2 * (-2e-4 * 50));
    EXPECT_DOUBLE_EQ(d12, 2 * (r - 2e-4 * 100));
}

TEST_F(Genes, PltsOfMatureAndOtherCells) {
    int mature = AddCell(60, 70, 400, 430, 6);
    int young = AddCell(60, 70, 200, 230, 6);
    CellZonationState[mature] = 200;
    CellZonationState[young] = 30;
    Plts[mature] = Plts[young] = 80;
    EXPECT_DOUBLE_EQ(UpdatePlts(0, mature, 0.7, 2), 2 * (-1.75e-5 * 80));
    EXPECT_EQ(Pltsexpr[mature], 0.0);
    EXPECT_DOUBLE_EQ(UpdatePlts(0, young, 0.7, 2), 2 * (0.013125 * 0.7 - 1.75e-5 * 80));
    EXPECT_DOUBLE_EQ(Pltsexpr[young], 750 * 0.7);
}

TEST_F(Genes, MatureCellOnlyLosesEnzymes) {
    int x = AddCell(60, 70, 400, 430, 6);
    CellZonationState[x] = 200;
    Gh33[x] = 40;
    Yuc3[x] = 20;
    Plts[x] = 0;  // would drive Gh33 production in a younger cell
    Step(0);
    EXPECT_DOUBLE_EQ(Gh33[x], 40 + 2 * (-3e-4 * 40));
    EXPECT_DOUBLE_EQ(Yuc3[x], 20 + 2 * (-3e-4 * 20));
    EXPECT_EQ(Pltsexpr[x], 0.0);
    CellZonationState[x] = 30;
    double before = Gh33[x];
    Step(0);
    EXPECT_DOUBLE_EQ(Gh33[x], before + 2 * (0.03 * 1.0 - 3e-4 * before));
}

TEST_F(Genes, RootcapArfTargetFallsWithHeight) {
    // Root cap cells (type 2 at the lower-left corner) at ARF = target stay
    // put when auxin is high (the loss term is negligible).
    struct Case {
        int minj;
        double target;
    } cases[] = {
        {161, 100.0},
        {183, 100 * (0.7 * (21.0 / 43.0) + 0.3)},
        {204, 30.0},
        {232, 30.0},
    };
    int cells[4];
    for (int k = 0; k < 4; k++) {
        cells[k] = AddCell(20 + 15 * k, 30 + 15 * k, cases[k].minj, cases[k].minj + 10, 2);
        ARF[cells[k]] = cases[k].target;
        MeanCells[cells[k]] = 1e6;
    }
    // A cortex cell above row 204 keeps the full target.
    int cortex = AddCell(100, 106, 300, 320, 6);
    ARF[cortex] = 30.0;
    MeanCells[cortex] = 1e6;
    Step(0);
    for (int k = 0; k < 4; k++) EXPECT_NEAR(ARF[cells[k]], cases[k].target, 1e-8) << cases[k].minj;
    EXPECT_NEAR(ARF[cortex], 30.0 + 2 * 70 * 0.001, 1e-8);
}

TEST_F(Genes, Gh317ByTissue) {
    int epi = AddCell(40, 50, 149, 170, 5);
    int epiLow = AddCell(40, 50, 120, 147, 5);
    int cortex = AddCell(60, 70, 149, 170, 6);
    for (int x : {epi, epiLow, cortex}) {
        ARR12[x] = 60;
        ARR1RGA[x] = 40;  // S = 100: P(S, 100) = 0.5
    }
    Step(0);
    EXPECT_DOUBLE_EQ(Gh317[epi], 2 * 0.03 * 0.5);
    EXPECT_EQ(Gh317[epiLow], 0.0);
    EXPECT_EQ(Gh317[cortex], 0.0);
}

TEST_F(Genes, Arr1RgaMovesATenthOfTheWay) {
    int x = AddCell(60, 70, 400, 430, 6);
    ARR1[x] = 10;
    ARR1RGA[x] = 0;
    Step(0);
    EXPECT_DOUBLE_EQ(ARR1RGA[x], 3.0);
}

TEST_F(Genes, SteadyCarriersStay) {
    int x = AddCell(60, 70, 400, 430, 6);
    MeanCells[x] = 50;
    Pin[x] = 100;   // D = 1 without ARR
    Pin2[x] = 100;  // Plts = 0: full PIN2 production
    Aux1[x] = 50;   // 100 * P(50, 50)
    Step(0);
    EXPECT_DOUBLE_EQ(Pin[x], 100.0);
    EXPECT_DOUBLE_EQ(Pin2[x], 100.0);
    EXPECT_DOUBLE_EQ(Aux1[x], 50.0);
    // Cytokinin response damps PIN at low auxin: S = 100, M = 0 gives D = 0.875.
    ARR12[x] = 100;
    MeanCells[x] = 0;
    Step(0);
    EXPECT_DOUBLE_EQ(Pin[x], 100.0 + 2 * (0.01 * 0.875 - 1e-4 * 100));
}

TEST_F(Genes, NegativeArfIsReportedAndKept) {
    int x = AddCell(60, 70, 400, 430, 6);
    ARF[x] = 200;  // above the target 100, no auxin: ARF + dARF = 0.002 * (100 - 200)
    MeanCells[x] = 0;
    std::string out = Step(0);
    EXPECT_EQ(out,
              " ARFS reduced to -0.2production is -0.1 loss is 100 Arf were 200 dtarf -200.2 "
              "tspeed 2\n");
    EXPECT_NEAR(ARF[x], -0.2, 1e-9);
    // Below the target nothing is printed.
    ARF[x] = 10;
    EXPECT_EQ(Step(0), "");
}
