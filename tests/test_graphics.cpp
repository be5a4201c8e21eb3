// Pixel rules of the field pictures, drawn from small hand-made tissues.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "graphics_support.h"
#include "picture.h"
#include "rootsim.h"
#include "test_support.h"

using graphicstest::ClearToOutside;
using graphicstest::MapColour;
using graphicstest::MeasureCell;
using graphicstest::PixelAt;
using graphicstest::PutRectCell;
using graphicstest::RGB;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

class Pictures : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_.UseAsOutput();
        ClearToOutside();
    }
    void Draw(int kind) { MakePNGFile(0, kind); }
    testsupport::StateGuard guard_;
    testsupport::TempDir tmp_;
};

#define EXPECT_INDEX(i, j, k) EXPECT_EQ(PixelAt(i, j), MapColour(k)) << "at " << (i) << "," << (j)

}  // namespace

TEST(ColourMap, Landmarks) {
    EXPECT_EQ(MapColour(0), (RGB{0, 0, 0}));
    EXPECT_EQ(MapColour(1), (RGB{0, 0, 7}));
    EXPECT_EQ(MapColour(4), (RGB{0, 0, 14}));
    EXPECT_EQ(MapColour(35), (RGB{0, 0, 92}));
    EXPECT_EQ(MapColour(50), (RGB{0, 0, 129}));
    EXPECT_EQ(MapColour(139), (RGB{255, 0, 0}));
    EXPECT_EQ(MapColour(140), (RGB{255, 0, 0}));
    EXPECT_EQ(MapColour(214), (RGB{255, 193, 0}));
    EXPECT_EQ(MapColour(236), (RGB{255, 255, 0}));
    EXPECT_EQ(MapColour(254), (RGB{255, 255, 255}));
    // The ramp's segments: blue rises to 50, red rises to 139 while blue falls,
    // green rises to 236, blue rises to 254.
    for (int k = 1; k <= 50; k++) EXPECT_GT(colourmap[k][2], colourmap[k - 1][2]) << k;
    for (int k = 51; k <= 139; k++) {
        EXPECT_GE(colourmap[k][0], colourmap[k - 1][0]) << k;
        EXPECT_LE(colourmap[k][2], colourmap[k - 1][2]) << k;
        EXPECT_EQ(colourmap[k][1], 0) << k;
    }
    for (int k = 141; k <= 236; k++) EXPECT_GT(colourmap[k][1], colourmap[k - 1][1]) << k;
    for (int k = 237; k <= 254; k++) EXPECT_GT(colourmap[k][2], colourmap[k - 1][2]) << k;
}

TEST(NumericHelpers, MinMax) {
    EXPECT_EQ(min(2.0, 3.0), 2.0);
    EXPECT_EQ(min(3.0, -2.0), -2.0);
    EXPECT_EQ(max(2.0, 3.0), 3.0);
    EXPECT_EQ(max(-3.0, -4.0), -3.0);
    // a when a < b, else b: with a NaN the other argument decides.
    EXPECT_EQ(min(kNaN, 1.0), 1.0);
    EXPECT_EQ(max(kNaN, 1.0), 1.0);
}

TEST_F(Pictures, LogScaleBoundsOfAuxinPictures) {
    PutRectCell(0, 20, 40, 100, 130, 5);
    struct Case {
        double v;
        int k1, k42;
    };
    // At or below the lower bound index 34, at or above the upper bound 254;
    // halfway on the log scale 35 + 219/2.
    const Case cases[] = {{10, 34, 34},         {5, 34, 34},          {0, 34, 34},
                          {-3, 34, 34},         {kNaN, 34, 34},       {20, 63, 34},
                          {1000, 225, 254},     {2000, 254, 254},     {5000, 254, 254},
                          {kInf, 254, 254},     {std::sqrt(20000.0), 144, 144}};
    int j = 102;
    for (const Case& cs : cases) Caux1[25][j++] = cs.v;
    Caux1[20][110] = 0;  // a membrane point is drawn with its value as well
    Draw(1);
    j = 102;
    for (const Case& cs : cases) {
        EXPECT_INDEX(25, j, cs.k1) << " value " << cs.v;
        j++;
    }
    EXPECT_INDEX(20, 110, 34);
    EXPECT_INDEX(19, 110, 0);    // wall black
    EXPECT_INDEX(0, 0, 254);     // outside white
    Draw(42);
    j = 102;
    for (const Case& cs : cases) {
        EXPECT_INDEX(25, j, cs.k42) << " value " << cs.v;
        j++;
    }
    // The halfway value of kind 42's scale
    Caux1[25][102] = std::sqrt(20000.0);
    Draw(42);
    EXPECT_INDEX(25, 102, 144);
}

TEST_F(Pictures, AuxinResponsePicture) {
    PutRectCell(0, 20, 40, 100, 130, 5);
    Caux1[25][102] = 0;
    Caux1[25][103] = 250;     // half-saturation: 35 + 109.5
    Caux1[25][104] = 1e6;     // saturated
    Caux1[25][105] = kNaN;
    Caux1[25][106] = kInf;
    Draw(3);
    EXPECT_INDEX(25, 102, 35);
    EXPECT_INDEX(25, 103, 144);
    EXPECT_INDEX(25, 104, 253);
    EXPECT_INDEX(25, 105, 35);
    EXPECT_INDEX(25, 106, 254);
    EXPECT_INDEX(19, 110, 0);
    EXPECT_INDEX(0, 0, 254);
}

TEST_F(Pictures, CellLinearScales) {
    const double plts[] = {0, 300, 150, -5, kNaN, 1e300, 299.99};
    const int expect[] = {35, 254, 144, 35, 35, 254, 253};
    const int n = 7;
    for (int c = 0; c < n; c++) {
        PutRectCell(c, 10 + 12 * c, 19 + 12 * c, 100, 110, 5);
        Plts[c] = plts[c];
        MeanCells[c] = 1000.0 * c;  // kind 48, S = 2000
        ARR1[c] = 50.0 * c;         // kind 55: ARR1 + ARR12, S = 150
        ARR12[c] = 25.0 * c;
        Diff[c] = 100.0 * c;        // kind 23, S = 100, above 254 white
        ARRpassed[c] = static_cast<unsigned char>(c % 2);
    }
    Draw(7);
    for (int c = 0; c < n; c++) {
        EXPECT_INDEX(15 + 12 * c, 105, expect[c]) << " cytoplasm of cell " << c;
        EXPECT_INDEX(10 + 12 * c, 105, expect[c]) << " membrane of cell " << c;
    }
    EXPECT_INDEX(9, 105, 0);
    EXPECT_INDEX(0, 0, 254);
    Draw(48);
    EXPECT_INDEX(15, 105, 35);
    EXPECT_INDEX(27, 105, 144);
    EXPECT_INDEX(39, 105, 254);
    Draw(55);
    EXPECT_INDEX(15, 105, 35);
    EXPECT_INDEX(27, 105, 144);  // 75 of 150
    EXPECT_INDEX(39, 105, 254);
    Draw(23);
    EXPECT_INDEX(15, 105, 35);
    EXPECT_INDEX(27, 105, 254);
    EXPECT_INDEX(63, 105, 254);
    Draw(44);
    EXPECT_INDEX(15, 105, 80);
    EXPECT_INDEX(27, 105, 200);
    EXPECT_INDEX(9, 105, 0);
}

TEST_F(Pictures, MembraneLinearScales) {
    PutRectCell(0, 20, 40, 100, 160, 5);
    const double pin[] = {0, 0.0009, 0.001, 50, 100, 1e6, -1, kNaN};
    const int expect[] = {0, 0, 50, 132, 214, 214, 0, 0};
    for (int k = 0; k < 8; k++) Cpin1M[20][105 + 6 * k] = pin[k];
    Draw(2);
    for (int k = 0; k < 8; k++) EXPECT_INDEX(20, 105 + 6 * k, expect[k]) << " value " << pin[k];
    EXPECT_INDEX(19, 120, 1);   // walls index 1
    EXPECT_INDEX(0, 0, 254);    // outside white

    const double aux1[] = {0, 0.0009, 0.001, 150, 300, 1000, -2, kNaN};
    const int expectAux1[] = {0, 0, 25, 139, 254, 254, 0, 0};
    for (int k = 0; k < 8; k++) Aux1M[20][105 + 6 * k] = aux1[k];
    Draw(5);
    for (int k = 0; k < 8; k++) EXPECT_INDEX(20, 105 + 6 * k, expectAux1[k]) << " value " << aux1[k];
    EXPECT_INDEX(19, 120, 1);

    // Sums and scaled patterns.
    Cpin1M[40][110] = 60;
    Cpin2M[40][110] = 40;
    Cpin2M[40][120] = 50;
    PinPrePat[40][130] = 0.5;
    Pin2PrePat[40][130] = 0.5;
    Aux1PrePat[40][140] = 3;  // 99.99 on the PIN scale
    Draw(40);
    EXPECT_INDEX(40, 110, 115);
    EXPECT_INDEX(40, 120, 132);
    Draw(41);
    EXPECT_INDEX(40, 110, 214);
    Draw(50);
    EXPECT_INDEX(40, 130, 214);
    Draw(51);
    EXPECT_INDEX(40, 130, 132);
    Draw(52);
    EXPECT_INDEX(40, 130, 132);
    Draw(53);
    EXPECT_INDEX(40, 140, 213);
}

TEST_F(Pictures, MembraneBandWidth) {
    // One membrane point in a large block of cytoplasm of one cell.
    for (int i = 40; i <= 80; i++)
        for (int j = 100; j <= 140; j++) {
            Tc[i][j] = TC_CYTO;
            Cell[i][j] = 0;
            Tct[i][j] = 6;
        }
    Tc[60][120] = TC_MEMBRANE;
    Cpin1M[60][120] = 100;
    MeasureCell(0);
    actcells = 1;
    Draw(2);
    EXPECT_INDEX(60, 120, 214);
    EXPECT_INDEX(63, 120, 214);  // distance 3
    EXPECT_INDEX(60, 117, 214);
    EXPECT_INDEX(62, 122, 214);  // 2.83
    EXPECT_INDEX(63, 121, 0);    // 3.16: black
    EXPECT_INDEX(64, 120, 0);
    EXPECT_DOUBLE_EQ(MembraneDistance(63, 120), 3.0);

    // A cell 7 columns wide: distances doubled, band within 1.5.
    CellWidth[0] = 7;
    Draw(2);
    EXPECT_INDEX(61, 120, 214);
    EXPECT_INDEX(61, 121, 214);  // 1.41
    EXPECT_INDEX(62, 120, 0);    // 2
    EXPECT_INDEX(60, 118, 0);
    EXPECT_DOUBLE_EQ(MembraneDistance(61, 121), 2 * std::sqrt(2.0));
    // ... and 8 rows high
    CellWidth[0] = 41;
    CellHeight[0] = 8;
    Draw(5);
    Aux1M[60][120] = 300;
    Draw(5);
    EXPECT_INDEX(61, 121, 254);
    EXPECT_INDEX(60, 122, 0);
    CellHeight[0] = 9;
    Draw(5);
    EXPECT_INDEX(60, 122, 254);
    EXPECT_INDEX(60, 123, 254);
}

TEST_F(Pictures, MembraneBandTakesFirstNearestPoint) {
    for (int i = 100; i <= 110; i++)
        for (int j = 400; j <= 410; j++) {
            Tc[i][j] = TC_CYTO;
            Cell[i][j] = 2;
            Tct[i][j] = 6;
        }
    MeasureCell(2);
    actcells = 3;
    // Four points at distance 2 from (105, 405).
    const int pts[4][2] = {{103, 405}, {107, 405}, {105, 403}, {105, 407}};
    const double vals[4] = {10, 20, 30, 40};  // indices 66, 82, 99, 115
    for (int k = 0; k < 4; k++) {
        Tc[pts[k][0]][pts[k][1]] = TC_MEMBRANE;
        Cpin1M[pts[k][0]][pts[k][1]] = vals[k];
    }
    Draw(2);
    EXPECT_INDEX(105, 405, 66);  // the lowest column wins
    int ni = -1, nj = -1;
    MembraneNearestPoint(105, 405, &ni, &nj);
    EXPECT_EQ(ni, 103);
    EXPECT_EQ(nj, 405);
    Tc[103][405] = TC_CYTO;
    Draw(2);
    EXPECT_INDEX(105, 405, 99);  // then, in the same column, the lower row
    // A membrane point of another cell is no candidate.
    Cell[105][403] = 7;
    Cell[105][407] = 7;
    Draw(2);
    EXPECT_INDEX(105, 405, 82);
}

TEST_F(Pictures, MissingMembraneIsReportedAndBlack) {
    // Cell 1: a membrane point and two cytoplasm points, 10 and 40 rows away.
    Tc[150][300] = TC_MEMBRANE;
    Tc[150][310] = TC_CYTO;
    Tc[150][340] = TC_CYTO;
    for (int j : {300, 310, 340}) {
        Cell[150][j] = 1;
        Tct[150][j] = 7;
    }
    Cpin1M[150][300] = 100;
    MeasureCell(1);
    actcells = 2;
    testing::internal::CaptureStdout();
    Draw(2);
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "no membrane point found\nposition i,j: 150,340\ncell type 7\n"
              "cell dimensions 1 41\n");
    EXPECT_INDEX(150, 340, 0);
    EXPECT_INDEX(150, 310, 0);   // found, but beyond the band
    // Cytoplasm of no cell is black and not reported.
    Tc[10][10] = TC_CYTO;
    testing::internal::CaptureStdout();
    Draw(40);
    fflush(stdout);
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("position i,j: 10,10"), std::string::npos) << out;
    EXPECT_INDEX(10, 10, 0);
}

TEST_F(Pictures, ZonationColoursAndUntouchedOutside) {
    // A zeroed buffer: the first picture being kind 10 leaves outside black.
    const int states[] = {0, 30, 50, 60, 100, 200, 7};
    const RGB colours[] = {{100, 100, 100}, {10, 220, 10}, {10, 160, 10}, {250, 220, 0},
                           {0, 0, 254},     {140, 140, 140}, {255, 0, 255}};
    for (int c = 0; c < 7; c++) {
        PutRectCell(c, 10 + 12 * c, 19 + 12 * c, 100, 110, 5);
        CellZonationState[c] = states[c];
    }
    Draw(10);
    for (int c = 0; c < 7; c++) {
        EXPECT_EQ(PixelAt(15 + 12 * c, 105), colours[c]) << "state " << states[c];
        EXPECT_EQ(PixelAt(10 + 12 * c, 110), colours[c]) << "state " << states[c];
    }
    EXPECT_EQ(PixelAt(9, 105), (RGB{0, 0, 0}));
    EXPECT_EQ(PixelAt(0, 0), (RGB{0, 0, 0}));
    // After kind 5 (outside white) the outside stays white.
    Draw(5);
    Draw(10);
    EXPECT_EQ(PixelAt(0, 0), (RGB{255, 255, 255}));
    EXPECT_EQ(PixelAt(200, 1500), (RGB{255, 255, 255}));
    EXPECT_EQ(PixelAt(15, 105), colours[0]);
    memset(RGBdata, 77, static_cast<size_t>(NCOLS) * NROWS * 3);
    Draw(10);
    EXPECT_EQ(PixelAt(0, 0), (RGB{77, 77, 77}));
    EXPECT_EQ(PixelAt(9, 105), (RGB{0, 0, 0}));
}

TEST_F(Pictures, TissueTypeCodeScale) {
    PutRectCell(0, 20, 30, 100, 110, 5);
    Tct[25][105] = 22;  // 264: clamped to 254
    Tct[25][106] = -4;
    Draw(11);
    EXPECT_INDEX(25, 104, 60);
    EXPECT_INDEX(19, 105, 240);  // walls, type 20
    EXPECT_INDEX(0, 0, 0);       // outside, type 0
    EXPECT_INDEX(25, 105, 254);
    EXPECT_INDEX(25, 106, 0);
}

TEST_F(Pictures, GrowthHeightMarks) {
    PutRectCell(0, 20, 30, 150, 160, 5);   // 11 rows, inside the band
    PutRectCell(1, 40, 50, 205, 220, 5);   // crosses row 212
    PutRectCell(2, 60, 70, 170, 176, 5);   // 7 rows: not marked
    PutRectCell(3, 80, 90, 140, 152, 5);   // crosses row 149
    Draw(22);
    EXPECT_INDEX(25, 155, 125);
    EXPECT_INDEX(20, 150, 125);
    EXPECT_INDEX(45, 212, 125);
    EXPECT_INDEX(45, 213, 240);
    EXPECT_INDEX(65, 173, 240);
    EXPECT_INDEX(85, 148, 240);
    EXPECT_INDEX(85, 149, 125);
    EXPECT_INDEX(19, 155, 0);
    EXPECT_INDEX(0, 0, 254);
}

TEST_F(Pictures, LeftRightAsymmetry) {
    PutRectCell(0, 50, 60, 100, 115, 5);
    PutRectCell(1, MIRRORSUM - 60, MIRRORSUM - 50, 100, 115, 5);
    PutRectCell(2, AXIS - 5, AXIS + 5, 300, 310, 5);
    const int m = MIRRORSUM - 55;
    Caux1[55][105] = 1.0;    Caux1[m][105] = 1.5;     // hundredths differ
    Caux1[55][106] = 1.001;  Caux1[m][106] = 1.005;   // thousandths differ
    Caux1[55][107] = 1.0001; Caux1[m][107] = 1.0004;  // only ten-thousandths differ
    Caux1[55][108] = 5;      Caux1[m][108] = 5;       // equal: keeps the running index
    Caux1[55][109] = -10;    Caux1[m][109] = -10;     // equal and below -9
    Caux1[AXIS][305] = 3;
    Draw(25);
    EXPECT_INDEX(55, 105, 225);
    EXPECT_INDEX(m, 105, 120);
    EXPECT_INDEX(55, 106, 205);
    EXPECT_INDEX(m, 106, 150);
    EXPECT_INDEX(55, 107, 175);
    EXPECT_INDEX(m, 107, 140);
    EXPECT_INDEX(55, 108, 175);
    EXPECT_INDEX(m, 108, 140);
    EXPECT_INDEX(55, 109, 80);
    EXPECT_INDEX(55, 110, 80);   // keeps the index of the point below
    EXPECT_INDEX(49, 105, 0);
    EXPECT_INDEX(0, 0, 254);
    // The axis is its own mirror: its cell points keep the index of the wall below.
    EXPECT_INDEX(AXIS, 299, 0);
    EXPECT_INDEX(AXIS, 305, 0);
    EXPECT_INDEX(AXIS, 311, 0);
    EXPECT_INDEX(AXIS, 312, 254);
}

TEST_F(Pictures, TissueTypeColours) {
    const int types[] = {5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 1, 3};
    const int expect[] = {60, 80, 110, 140, 160, 180, 140, 40, 250, 230, 200, 0, 0};
    for (int c = 0; c < 13; c++) PutRectCell(c, 5 + 16 * c, 15 + 16 * c, 100, 110, types[c]);
    Draw(32);
    for (int c = 0; c < 13; c++) EXPECT_INDEX(10 + 16 * c, 105, expect[c]) << "type " << types[c];
    EXPECT_INDEX(4, 105, 0);
    EXPECT_INDEX(0, 0, 254);
    // A root-cap layer stacked on an epidermal cell takes the wall's black,
    // not the epidermis' colour: every cell is entered from a wall.
    PutRectCell(13, 5, 15, 112, 120, 2);
    Draw(32);
    EXPECT_INDEX(10, 115, 0);
}

TEST_F(Pictures, MembraneSides) {
    PutRectCell(0, 20, 30, 100, 110, 5);
    Draw(34);
    EXPECT_INDEX(25, 110, 60);   // shootward
    EXPECT_INDEX(25, 100, 100);  // rootward
    EXPECT_INDEX(30, 105, 140);  // inner lateral
    EXPECT_INDEX(20, 105, 180);  // outer lateral
    EXPECT_INDEX(25, 105, 254);  // cytoplasm
    EXPECT_INDEX(19, 105, 0);
    EXPECT_INDEX(0, 0, 254);
}

TEST_F(Pictures, PlasmodesmataPerSide) {
    PutRectCell(0, 20, 30, 100, 110, 5);
    PutRectCell(1, 40, 50, 100, 110, 5);
    Plasmodesmatapattern[0][0] = 1.7;  // shootward
    Plasmodesmatapattern[0][1] = 3;    // rootward
    Plasmodesmatapattern[0][2] = 6;    // inner
    Plasmodesmatapattern[0][3] = 10.5; // outer
    Plasmodesmatapattern[1][0] = 20;
    Plasmodesmatapattern[1][1] = 2;    // no colour of its own
    Plasmodesmatapattern[1][2] = 1;
    Plasmodesmatapattern[1][3] = 1;
    Draw(39);
    EXPECT_INDEX(25, 110, 40);
    EXPECT_INDEX(25, 100, 80);
    EXPECT_INDEX(30, 105, 130);
    EXPECT_INDEX(20, 105, 180);
    EXPECT_INDEX(45, 110, 230);
    EXPECT_INDEX(45, 100, 0);    // keeps the wall's black below it
    EXPECT_INDEX(25, 105, 254);  // cytoplasm white
    EXPECT_INDEX(19, 105, 0);
    EXPECT_INDEX(0, 0, 254);
}

TEST_F(Pictures, AuxinProductionZones) {
    PutRectCell(0, 100, 110, 60, 70, 12);     // quiescent centre
    PutRectCell(1, 60, 70, 150, 157, 9);      // vasculature up to row 157
    PutRectCell(2, 60, 70, 160, 170, 9);      // above: black
    PutRectCell(3, 5, 15, 20, 30, 2);         // root cap
    PutRectCell(4, 20, 30, 20, 30, 14);       // columella
    PutRectCell(5, 95, 105, 100, 110, 5);     // epidermis under both edges
    PutRectCell(6, 20, 30, 100, 110, 5);      // epidermis outside the edge
    PutRectCell(7, 20, 30, 150, 160, 6);      // cortex above row 148
    PutRectCell(8, 130, 140, 10, 20, 17);     // columella stem cells
    Draw(54);
    EXPECT_INDEX(105, 65, 200);
    EXPECT_INDEX(65, 157, 200);
    EXPECT_INDEX(65, 160, 0);
    EXPECT_INDEX(10, 25, 60);
    EXPECT_INDEX(25, 25, 100);
    EXPECT_INDEX(100, 105, 200);
    EXPECT_INDEX(25, 105, 4);
    EXPECT_INDEX(25, 155, 0);
    EXPECT_INDEX(135, 15, 200);
    EXPECT_INDEX(19, 105, 0);
    EXPECT_INDEX(0, 0, 254);
    // The edge row: at column 62, 2.1 * 62 - 68.20000000000002 gives 62 in
    // double precision, so row 61 lies below the edge and row 62 on it.
    PutRectCell(9, 58, 66, 55, 65, 5);
    Draw(54);
    EXPECT_INDEX(62, 61, 200);
    EXPECT_INDEX(62, 62, 4);
}

TEST_F(Pictures, RunningIndexFollowsColumnsThenRows) {
    // Point (30, top row) of a white cell, then points of no cell at the foot
    // of the next column: they keep white, the colour drawn just before them.
    Tc[30][NROWS - 1] = TC_CYTO;
    Cell[30][NROWS - 1] = 0;
    actcells = 1;
    Plts[0] = 300;
    Tc[31][0] = TC_CYTO;
    Tc[31][1] = TC_MEMBRANE;
    Draw(7);
    EXPECT_INDEX(30, NROWS - 1, 254);
    EXPECT_INDEX(31, 0, 254);
    EXPECT_INDEX(31, 1, 254);
    Plts[0] = 0;
    Draw(7);
    EXPECT_INDEX(31, 0, 35);
    EXPECT_INDEX(31, 1, 35);
}

TEST_F(Pictures, FileIsTopRowFirstRgb) {
    PutRectCell(0, 2, 8, NROWS - 10, NROWS - 2, 5);
    PutRectCell(1, 2, 8, 1, 8, 5);
    Plts[0] = 300;
    Plts[1] = 0;
    MakePNGFile(3600, 7);
    std::string name = tmp_.path() + "/Plts_00003600.png";
    graphicstest::Picture pic = graphicstest::ReadPng(name);
    ASSERT_TRUE(pic.ok) << name;
    EXPECT_EQ(pic.width, NCOLS);
    EXPECT_EQ(pic.height, NROWS);
    // Image row y is grid row NROWS - 1 - y.
    EXPECT_EQ(pic.At(5, 5), MapColour(254));
    EXPECT_EQ(pic.At(5, NROWS - 1 - 5), MapColour(35));
    for (int y = 0; y < NROWS; y++)
        for (int x = 0; x < NCOLS; x++)
            ASSERT_EQ(pic.At(x, y), PixelAt(x, NROWS - 1 - y)) << x << "," << y;
    MakePNGFile(0, 1);
    EXPECT_TRUE(testsupport::FileExists(tmp_.path() + "/Aux_00000000.png"));
}

TEST_F(Pictures, KindWithoutPictureWritesNothing) {
    testing::internal::CaptureStderr();
    MakePNGFile(0, 4);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("kind 4"), std::string::npos) << err;
    EXPECT_TRUE(testsupport::ListDir(tmp_.path()).empty());
}
