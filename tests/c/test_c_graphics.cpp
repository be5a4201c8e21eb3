// rootsim_c's pictures: the Aux scale, the zonation override, the stems and
// size of every kind, the membrane band, and the distance map that follows
// the tissue.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "picture.h"
#include "picture_scales.h"
#include "plan.h"
#include "rootsim_c.h"
#include "c_support.h"

using namespace croot;
using ctest::FileExists;
using ctest::ReadFile;
using ctest::StateGuard;
using ctest::TempDir;

namespace {

struct CRootPictures {
    StateGuard guard;
    TempDir out;
    CRootPictures() {
        out.UseAsOutput();
        maxmzheight = kMeristemTopRow;
        InitPlant();
    }
};

// Whether the pixel of (i, j) in the picture buffer shows colour-map entry k.
bool PixelIs(int i, int j, int k) {
    const unsigned char* p = Pixel(i, j);
    return p[0] == colourmap[k][0] && p[1] == colourmap[k][1] && p[2] == colourmap[k][2];
}

unsigned BigEndian(const std::string& s, size_t at) {
    return (static_cast<unsigned>(static_cast<unsigned char>(s[at])) << 24) |
           (static_cast<unsigned>(static_cast<unsigned char>(s[at + 1])) << 16) |
           (static_cast<unsigned>(static_cast<unsigned char>(s[at + 2])) << 8) |
           static_cast<unsigned>(static_cast<unsigned char>(s[at + 3]));
}

TEST(CGraphics, AuxScale) {
    // 3500 is the top of the scale; 0.05 is its bottom, where the stated
    // constant 1.301 (log10 0.05 is -1.30103) leaves the index just under 35.
    EXPECT_EQ(CAuxIndex(3500), 254);
    EXPECT_EQ(CAuxIndex(1e9), 254);
    EXPECT_EQ(CAuxIndex(3499), 253);
    EXPECT_EQ(CAuxIndex(0.05), 34);
    EXPECT_EQ(CAuxIndex(0.051), 35);
    EXPECT_EQ(CAuxIndex(0), 34);
    EXPECT_EQ(CAuxIndex(-10), 34);
    EXPECT_EQ(CAuxIndex(std::numeric_limits<double>::quiet_NaN()), 34);
    EXPECT_EQ(CAuxIndex(1), 93);
    EXPECT_EQ(CAuxIndex(40), 166);
}

TEST(CGraphics, ZonationOverride) {
    EXPECT_EQ(ZonationIndex(Z_TIP, 7), 190);
    EXPECT_EQ(ZonationIndex(10, 7), 254);
    EXPECT_EQ(ZonationIndex(Z_DIVIDING, 7), 150);
    EXPECT_EQ(ZonationIndex(Z_ELONGATING, 7), 75);
    EXPECT_EQ(ZonationIndex(Z_DIFFERENTIATED, 7), 15);
    // States without an index of their own keep the one computed.
    EXPECT_EQ(ZonationIndex(Z_TRANSITION, 7), 7);
    EXPECT_EQ(ZonationIndex(Z_MATURE, 7), 7);
}

TEST(CGraphics, EveryKindWritesItsStemAtTheGridSize) {
    CRootPictures root;
    const struct {
        int kind;
        const char* stem;
    } kinds[] = {{0, "Tissue"},         {1, "Aux"},  {2, "PINmem"}, {3, "Aux1mem"}, {4, "PltsExpression"},
                 {5, "Plts"},           {6, "Yuc3"}, {7, "Gh33"},   {8, "Diff"},    {15, "Zonation"}};
    for (const auto& k : kinds) {
        MakePNGFile(2419200, k.kind);
        const std::string name = root.out.path() + "/" + k.stem + "_02419200.png";
        ASSERT_TRUE(FileExists(name)) << name;
        const std::string png = ReadFile(name);
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(BigEndian(png, 16), static_cast<unsigned>(NCOLS)) << k.stem;
        EXPECT_EQ(BigEndian(png, 20), static_cast<unsigned>(NROWS)) << k.stem;
    }
    // A kind the renderer does not draw writes nothing.
    testing::internal::CaptureStderr();
    MakePNGFile(360, 9);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("picture kind 9"), std::string::npos);
    EXPECT_FALSE(FileExists(root.out.path() + "/ARF_00000360.png"));
}

TEST(CGraphics, ZonationPictureOverridesTheTissueColoursOfCells) {
    CRootPictures root;
    const int meristem = Cell[60][300], body = Cell[60][600], tip = Cell[AXIS - 3][20];
    ASSERT_EQ(CellZonationState[meristem], Z_DIVIDING);
    ASSERT_EQ(CellZonationState[body], Z_MATURE);
    ASSERT_EQ(CellZonationState[tip], Z_TIP);
    CellZonationState[Cell[35][300]] = Z_ELONGATING;
    CellZonationState[Cell[35][330]] = Z_TRANSITION;

    MakePNGFile(0, 0);
    EXPECT_TRUE(PixelIs(60, 300, 80));    // cortex
    EXPECT_TRUE(PixelIs(35, 300, 60));    // epidermis
    EXPECT_TRUE(PixelIs(15, 260, 215));   // outer root cap layer
    EXPECT_TRUE(PixelIs(47, 300, 0));     // wall
    EXPECT_TRUE(PixelIs(5, 300, 254));    // outside

    MakePNGFile(0, 15);
    EXPECT_TRUE(PixelIs(60, 300, 150));
    EXPECT_TRUE(PixelIs(35, 300, 75));
    EXPECT_TRUE(PixelIs(35, 330, 60));    // transition: the tissue colour
    EXPECT_TRUE(PixelIs(60, 600, 80));    // mature: the tissue colour
    EXPECT_TRUE(PixelIs(AXIS - 3, 20, 190));
    EXPECT_TRUE(PixelIs(47, 300, 0));
    EXPECT_TRUE(PixelIs(5, 300, 254));
}

TEST(CGraphics, AuxPictureDrawsWallsAndCellsByTheirAuxin) {
    CRootPictures root;
    Caux1[60][300] = 3500;
    Caux1[47][300] = 1;
    MakePNGFile(0, 1);
    EXPECT_TRUE(PixelIs(60, 300, 254));
    EXPECT_TRUE(PixelIs(47, 300, 93));
    EXPECT_TRUE(PixelIs(61, 300, CAuxIndex(40)));
    EXPECT_TRUE(PixelIs(5, 300, 254));
}

// The membrane band: cytoplasm up to 4 from the cell's nearest membrane
// point shows that point's amount, farther cytoplasm is black; distances
// count double in cells at most 8 wide or high.
TEST(CGraphics, MembraneBandFourWideAndHalvedInSmallCells) {
    CRootPictures root;
    const int body = Cell[35][600];      // 23 wide, 72 high
    const int small = Cell[35][300];     // 23 wide, 8 high
    ASSERT_EQ(CellHeight[small], 8);
    for (int x : {body, small})
        for (int i = CellMinI[x]; i <= CellMaxI[x]; i++)
            for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++) Cpin1M[i][j] = Tc[i][j] == TC_MEMBRANE ? 50 : 0;
    const int band = MembraneLinearIndex(50);
    MakePNGFile(0, 2);
    const int top = CellMaxJ[body];
    EXPECT_TRUE(PixelIs(35, top, band));
    EXPECT_TRUE(PixelIs(35, top - 4, band));
    EXPECT_TRUE(PixelIs(35, top - 5, 0));
    EXPECT_TRUE(PixelIs(CellMinI[body] + 4, top - 30, band));
    EXPECT_TRUE(PixelIs(CellMinI[body] + 5, top - 30, 0));
    const int stop = CellMaxJ[small];
    EXPECT_TRUE(PixelIs(35, stop - 2, band));
    EXPECT_TRUE(PixelIs(35, stop - 3, 0));
    EXPECT_TRUE(PixelIs(47, 300, 1));    // walls dark blue
    EXPECT_TRUE(PixelIs(5, 300, 254));   // outside white
}

// The distance map is built again after the tissue changed, and only then.
TEST(CGraphics, DistanceMapFollowsTheGrowingTissue) {
    CRootPictures root;
    // (A map built by an earlier test for the same tissue serves as well.)
    MakePNGFile(0, 2);
    const long before = DistanceMapBuilds();
    MakePNGFile(0, 3);
    MakePNGFile(0, 2);
    EXPECT_EQ(DistanceMapBuilds(), before);

    const int x = Cell[35][600];
    const int oldTop = CellMaxJ[x];
    GrowCell(2, x, 1);
    ASSERT_EQ(CellMaxJ[x], oldTop + 1);
    ASSERT_EQ(Tc[35][oldTop], TC_CYTO);
    for (int i = CellMinI[x]; i <= CellMaxI[x]; i++)
        for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++) Cpin1M[i][j] = Tc[i][j] == TC_MEMBRANE ? 50 : 0;
    MakePNGFile(2, 2);
    EXPECT_EQ(DistanceMapBuilds(), before + 1);
    // The former membrane row is cytoplasm one row under the new membrane:
    // in the band, with its amount.
    EXPECT_TRUE(PixelIs(35, oldTop, MembraneLinearIndex(50)));
    EXPECT_TRUE(PixelIs(35, oldTop - 3, MembraneLinearIndex(50)));
    EXPECT_TRUE(PixelIs(35, oldTop - 4, 0));
}

}  // namespace
