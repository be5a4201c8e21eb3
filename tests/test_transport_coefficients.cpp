// Carrier prepatterns and transport coefficients on hand-made tissues.
#include <gtest/gtest.h>

#include "coefficients.h"
#include "rootsim.h"
#include "test_support.h"
#include "transport_tissue.h"

using testsupport::StateGuard;
using namespace transporttissue;

namespace {

// The carrier update, and the view of the coefficient records it leaves to be
// built on demand (the transport step reads the carriers themselves).
void UpdateWithRecords(int time) {
    UpdateMembraneProteinsAndFluxes(time);
    CoefficientRecordsFromCarriers();
}

class Coefficients : public ::testing::Test {
protected:
    StateGuard guard;
    void SetUp() override {
        ClearToOutside();
        maxmzheight = 212;
    }
    // Every cell gets the same carrier and enzyme levels and zonation z.
    void Levels(double pin, double pin2, double aux1, int z) {
        for (int x = 0; x < actcells; x++) {
            Pin[x] = pin;
            Pin2[x] = pin2;
            Aux1[x] = aux1;
            CellZonationState[x] = z;
        }
    }
};

}  // namespace

TEST_F(Coefficients, WallBetweenTwoMembranes) {
    // Two cortex cells side by side, one wall column (80) between them.
    AddCell(70, 79, 400, 430, 6);
    AddCell(81, 90, 400, 430, 6);
    Levels(0, 0, 0, 200);
    UpdateWithRecords(1);
    const int i = 80, j = 415;
    ASSERT_EQ(Tc[i][j], TC_WALL);
    // Without carriers the membranes still pass auxin: efflux 1, influx 2.5.
    EXPECT_EQ(Eff[i][j][0], 1.0);
    EXPECT_EQ(Eff[i][j][1], 1.0);
    EXPECT_EQ(Inf[i][j][0], -2.5);
    EXPECT_EQ(Inf[i][j][1], -2.5);
    EXPECT_EQ(Eff[i][j][2], 0.0);
    EXPECT_EQ(Eff[i][j][3], 0.0);
    EXPECT_EQ(Inf[i][j][2], 0.0);
    EXPECT_EQ(Inf[i][j][3], 0.0);
    EXPECT_EQ(DiffAuxC[i][j][2], 4.0);
    EXPECT_EQ(DiffAuxC[i][j][3], 4.0);
    EXPECT_EQ(DiffAuxC[i][j][0], 0.0);
    EXPECT_EQ(DiffAuxC[i][j][1], 0.0);
    // The membrane points on either side hold the mirrored signs.
    EXPECT_EQ(Inf[79][j][0], 2.5);
    EXPECT_EQ(Eff[79][j][0], -1.0);
    EXPECT_EQ(Inf[81][j][1], 2.5);
    EXPECT_EQ(Eff[81][j][1], -1.0);
    EXPECT_EQ(Inf[79][j][1], 0.0);  // toward its own cytoplasm
    // Diffusion inside the cell, none across the membrane or into the outside.
    EXPECT_EQ(DiffAuxC[78][j][0], 60.0);  // cytoplasm toward membrane
    EXPECT_EQ(DiffAuxC[79][j][1], 60.0);  // membrane toward cytoplasm
    EXPECT_EQ(DiffAuxC[79][j][0], 0.0);   // membrane toward wall
    EXPECT_EQ(DiffAuxC[69][j][1], 0.0);   // wall toward outside
}

TEST_F(Coefficients, CarrierAmountsScaleThePermeabilities) {
    // An endodermis cell (PIN1 pattern) with z = 100: rootward weight 0.35.
    int x = AddCell(70, 79, 400, 430, 7);
    Levels(80, 50, 40, 100);
    UpdateWithRecords(1);
    const int i = 75, j = 400;  // rootward membrane row, wall at j - 1
    ASSERT_EQ(Tmt[i][j], 2);
    EXPECT_EQ(PinPrePat[i][j], 0.35);
    EXPECT_EQ(Cpin1M[i][j], 0.35 * 80);
    EXPECT_EQ(Cpin2M[i][j], 0.0);
    EXPECT_EQ(Eff[i][j][3], -(1 + 0.2 * (0.35 * 80 + 0.0)));
    EXPECT_EQ(Eff[i][j - 1][2], 1 + 0.2 * (0.35 * 80 + 0.0));
    // Endodermis carries no AUX1: influx stays at its base.
    EXPECT_EQ(Aux1PrePat[i][j], 0.0);
    EXPECT_EQ(Inf[i][j][3], 2.5);
    // Points without a cell hold no carrier.
    EXPECT_EQ(Cpin1M[i][j - 1], 0.0);
    EXPECT_EQ(Cell[i][j], x);
}

TEST_F(Coefficients, DecayAndProductionByRowAndTissue) {
    int v = AddCell(100, 106, 150, 170, 9);  // vascular, rows 150..170
    int e = AddCell(60, 70, 300, 320, 5);    // epidermis above the tip
    Levels(0, 0, 0, 30);
    Gh317[v] = 10;
    Gh33[v] = 20;
    Yuc3[v] = 4;
    Yuc3[e] = 0;
    UpdateWithRecords(1);
    EXPECT_EQ(daux[103][160], 5.8e-5 + 1.45e-6 * 10.0 + 1.45e-7 * 20.0);
    EXPECT_EQ(daux[103][149], 0.0);  // wall below the cell
    // The stele source reaches row 157; above it the base rate of the body.
    EXPECT_EQ(paux[103][157], (3.75e-4 * 4 + 0.066375) * 8 / 21);
    EXPECT_EQ(paux[103][158], (3.75e-4 * 4 + 0.00075) * 8 / 21);
    EXPECT_EQ(paux[65][310], (0 + 0.00075) * 8 / 21);
}

TEST_F(Coefficients, ProductionOfTipTissues) {
    int qc = AddCell(108, 116, 130, 139, 12);
    int col = AddCell(100, 124, 100, 110, 14);
    int lrc = AddCell(40, 50, 100, 120, 2);
    int cortexLow = AddCell(60, 66, 40, 60, 6);     // row 50 of column 63 lies under both slanted lines
    int cortexHigh = AddCell(40, 46, 125, 135, 6);  // column 43: the left line is at row 22
    Levels(0, 0, 0, 0);
    UpdateWithRecords(1);
    EXPECT_EQ(paux[112][135], 0.066375 * 8 / CellHeight[qc]);
    EXPECT_EQ(paux[112][105], 0.0335625 * 8 / CellHeight[col]);
    EXPECT_EQ(paux[45][110], 0.0204375 * 8 / CellHeight[lrc]);
    EXPECT_EQ(paux[63][50], 0.066375 * 8 / CellHeight[cortexLow]);
    EXPECT_EQ(paux[43][130], 0.0020625 * 8 / CellHeight[cortexHigh]);
}

TEST_F(Coefficients, SourceAndSinkAtTheTop) {
    int cortex = AddCell(60, 70, 900, 1000, 6);
    int stele = AddCell(100, 106, 900, 1050, 10);
    int cap = AddCell(30, 40, 900, 980, 3);
    Levels(0, 0, 0, 200);
    UpdateWithRecords(1);
    EXPECT_EQ(daux[65][1001], 0.1);
    EXPECT_EQ(paux[65][1001], 0.0);
    EXPECT_EQ(paux[103][1051], 3.15);
    EXPECT_EQ(daux[103][1051], 0.0);
    // Only the first wall over a membrane: the walls beside the cell are untouched.
    EXPECT_EQ(paux[99][1000], 0.0);
    // Above the root cap: neither source nor sink.
    EXPECT_EQ(daux[35][981], 0.0);
    EXPECT_EQ(paux[35][981], 0.0);
    (void)cortex;
    (void)stele;
    (void)cap;
}

TEST_F(Coefficients, ZonationResetAtTimeZeroOnly) {
    int tip = AddCell(60, 70, 120, 148, 6);
    int young = AddCell(60, 70, 150, 211, 6);
    int body = AddCell(60, 70, 213, 300, 6);
    int high = AddCell(60, 70, 1000, 1100, 6);
    Levels(0, 0, 0, 60);
    UpdateWithRecords(0);
    EXPECT_EQ(CellZonationState[tip], 0);
    EXPECT_EQ(CellZonationState[young], 30);
    EXPECT_EQ(CellZonationState[body], 200);
    EXPECT_EQ(Diff[body], 100.0);
    EXPECT_EQ(CellZonationState[high], 60);  // top above 1065: left alone
    EXPECT_EQ(Diff[high], 0.0);
    Levels(0, 0, 0, 60);
    UpdateWithRecords(10);
    EXPECT_EQ(CellZonationState[tip], 60);
}

TEST_F(Coefficients, CornerPointsGetNoPinAboveTheTip) {
    AddCell(70, 79, 300, 330, 7);  // endodermis above row 148
    AddCell(70, 79, 120, 148, 7);  // endodermis reaching row 148
    Levels(100, 100, 100, 30);
    UpdateWithRecords(1);
    EXPECT_EQ(PinPrePat[70][300], 0.0);   // corner, above 148
    EXPECT_EQ(PinPrePat[71][300], 1.0);   // rootward, not a corner
    EXPECT_EQ(PinPrePat[79][330], 0.0);   // corner, above 148
    EXPECT_EQ(PinPrePat[79][148], 0.5);   // corner on row 148, at or below the tip line (150)
    EXPECT_EQ(PinPrePat[70][148], 0.0);   // corner on row 148, above the tip line (146): 0
    EXPECT_EQ(PinPrePat[70][120], 1.0);   // corner, rootward
}

TEST_F(Coefficients, PinWeightIsMirroredEvenOntoNonMembranePoints) {
    AddCell(70, 79, 300, 330, 7);  // no mirror cell
    Levels(100, 100, 100, 30);
    UpdateWithRecords(1);
    const int m = MIRRORSUM - 75;
    ASSERT_EQ(Tc[m][300], TC_OUTSIDE);
    EXPECT_EQ(PinPrePat[75][300], 1.0);
    EXPECT_EQ(PinPrePat[m][300], 1.0);
    // But the membrane amount is only where a cell is.
    EXPECT_EQ(Cpin1M[m][300], 0.0);
}

TEST_F(Coefficients, EndodermisInnerSideAroundTheTipLine) {
    // Column 79 is the inner side; its tip line is int(0.5 * 79 + 111) = 150.
    AddCell(70, 79, 140, 160, 7);
    Levels(100, 100, 100, 0);
    UpdateWithRecords(1);
    ASSERT_EQ(Tmt[79][150], 3);
    EXPECT_EQ(PinPrePat[79][150], 0.7);
    EXPECT_EQ(PinPrePat[79][149], 0.7);
    EXPECT_EQ(PinPrePat[79][151], 0.35);
    EXPECT_EQ(PinPrePat[MIRRORSUM - 79][151], 0.35);
}

TEST_F(Coefficients, TopmostRootcapInnerSideSearch) {
    // A topmost layer-1 root cap cell of 41 rows (top - bottom = 40): the
    // search radius is int(0.35 * 40) = 14.  The inner side is column 50;
    // its nearest shootward point is the corner (50, 440).
    AddCell(40, 50, 400, 440, 1);
    Levels(100, 100, 100, 30);
    UpdateWithRecords(1);
    ASSERT_EQ(Tmt[50][426], 3);
    EXPECT_EQ(Pin2PrePat[50][426], 1.0);     // distance 14
    EXPECT_EQ(Pin2PrePat[50][425], 0.0005);  // distance 15
    EXPECT_EQ(Pin2PrePat[45][440], 1.0);     // shootward
    EXPECT_EQ(Pin2PrePat[40][420], 0.0);     // outer side of a topmost cell
    EXPECT_EQ(Pin2PrePat[45][400], 0.0);     // rootward: none
}

TEST_F(Coefficients, RootcapCellBelowAnotherCell) {
    AddCell(40, 50, 300, 340, 1);
    AddCell(40, 50, 342, 360, 1);  // above it: the lower cell is not topmost
    Levels(100, 100, 100, 30);
    UpdateWithRecords(1);
    EXPECT_EQ(Pin2PrePat[50][320], 0.0005);  // inner, z <= 50
    EXPECT_EQ(Pin2PrePat[40][320], 0.01);    // outer, z <= 50
    Levels(100, 100, 100, 60);
    UpdateWithRecords(1);
    EXPECT_EQ(Pin2PrePat[50][320], 0.3);
    EXPECT_EQ(Pin2PrePat[40][320], 0.0);
}

TEST_F(Coefficients, SteleRootwardSideWithoutACellBelow) {
    // Bottom at 150 (141..179): rootward 0.5 when nothing is below; 1 when a
    // cell below starts above row 179.
    int lone = AddCell(100, 106, 150, 170, 9);
    int low = AddCell(90, 96, 190, 200, 9);
    AddCell(90, 96, 180, 188, 9);
    Levels(100, 100, 100, 30);
    UpdateWithRecords(1);
    EXPECT_EQ(PinPrePat[103][150], 0.5);
    EXPECT_EQ(PinPrePat[93][190], 1.0);  // the cell below starts at 180
    EXPECT_EQ(PinPrePat[93][180], 0.75);  // nothing below it, starting above 179
    (void)lone;
    (void)low;
}

TEST_F(Coefficients, EpidermalBoundaryRowsForAux1) {
    // Epidermis cells along column 30: three boundaries in rows 151..210.
    AddCell(26, 34, 140, 150, 5);
    AddCell(26, 34, 152, 160, 5);
    AddCell(26, 34, 162, 170, 5);
    int x4 = AddCell(26, 34, 172, 180, 5);
    Levels(100, 100, 100, 30);
    UpdateWithRecords(1);
    EXPECT_EQ(Aux1PrePat[30][172], 1.0);  // n <= 3: every epidermis cell gets 1
    EXPECT_EQ(Aux1PrePat[26][176], 1.0);
    // A fourth boundary (row 182) turns the cells from it on to 0.55.
    int x5 = AddCell(26, 34, 182, 190, 5);
    UpdateWithRecords(1);
    EXPECT_EQ(Aux1PrePat[30][172], 1.0);
    EXPECT_EQ(Aux1PrePat[30][182], 0.55);
    (void)x4;
    (void)x5;
}

TEST_F(Coefficients, Aux1OfQuiescentCentreAndColumella) {
    // A QC-centred cell whose lowest row is columella tier 1.
    int qc = AddCell(100, 124, 130, 139, 12);
    for (int i = 100; i <= 124; i++) Tct[i][130] = 13;
    int col = AddCell(100, 124, 100, 110, 15);
    int lrc = AddCell(40, 50, 300, 320, 3);
    Levels(100, 100, 100, 0);
    UpdateWithRecords(1);
    EXPECT_EQ(Aux1PrePat[112][139], 3.0);  // QC membrane
    EXPECT_EQ(Aux1PrePat[100][135], 3.0);
    EXPECT_EQ(Aux1PrePat[112][130], 1.0);  // own type columella tier 1
    EXPECT_EQ(Aux1PrePat[112][110], 3.0);  // columella tiers 2..4
    EXPECT_EQ(Aux1PrePat[45][320], 1.0);   // lateral root cap
    (void)qc;
    (void)col;
    (void)lrc;
}

TEST_F(Coefficients, Aux1OfTheSteleFollowsTheMeristemHeight) {
    // A file of vascular cells starting at rows 150, 202, 242 and 282.
    AddCell(100, 106, 150, 200, 9);
    AddCell(100, 106, 202, 240, 9);
    AddCell(100, 106, 242, 280, 9);
    AddCell(100, 106, 282, 320, 9);
    Levels(100, 100, 100, 30);
    maxmzheight = 212;  // R = 148 + (212 - 149) / 2 = 179
    UpdateWithRecords(1);
    EXPECT_EQ(Aux1PrePat[103][150], 2.0);        // starts at or below R
    EXPECT_EQ(Aux1PrePat[100][220], 2.0);        // the cell below starts at 150
    EXPECT_EQ(Aux1PrePat[100][260], 5.0 / 3.0);  // two cells below starts at 150
    EXPECT_EQ(Aux1PrePat[100][300], 1.0);
    maxmzheight = 400;
    UpdateWithRecords(1);
    EXPECT_EQ(Aux1PrePat[100][220], 2.0);        // starts at or below 232
    EXPECT_EQ(Aux1PrePat[100][260], 5.0 / 3.0);  // the cell below starts at 202
    EXPECT_EQ(Aux1PrePat[100][300], 4.0 / 3.0);  // two cells below starts at 202
    EXPECT_EQ(Aux1PrePat[103][149], 0.0);        // wall: no carrier
}
