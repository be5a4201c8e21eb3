// The b family's pictures: the scales of its renderer (auxin 1000 and above
// at the top of the colour map, the response, the per-cell, PIN and AUX1
// scales, the height-mark bands of b2 and b3, zonation and tissue colours),
// and the picture sets with b3's montage.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bfamily_support.h"
#include "picture.h"
#include "plan.h"

using btest::CellWithCorner;
using btest::ProgramGuard;
using btest::TempDir;

namespace {

class Pictures : public ::testing::Test {
protected:
    void SetUp() override {
        guard_.reset(new ProgramGuard(bfamily::B2Rules()));
        out_.UseAsOutput();
        InitPlant();
        cell_ = CellWithCorner(bplan::CORTEX_FIRST_COL, 146);
        ASSERT_GE(cell_, 0);
        ci_ = bplan::CORTEX_FIRST_COL + 3;  // a cytoplasm point of that cell
        cj_ = 150;
        ASSERT_EQ(Tc[ci_][cj_], TC_CYTO);
    }
    void TearDown() override { guard_.reset(); }

    // The colour-map entry a pixel holds, -1 when it holds none.
    static int IndexAt(int i, int j) {
        const unsigned char* p = Pixel(i, j);
        for (int k = 0; k <= TOP_INDEX; k++)
            if (p[0] == colourmap[k][0] && p[1] == colourmap[k][1] && p[2] == colourmap[k][2]) return k;
        return -1;
    }
    static bool IsRgb(int i, int j, int r, int g, int b) {
        const unsigned char* p = Pixel(i, j);
        return p[0] == r && p[1] == g && p[2] == b;
    }

    std::unique_ptr<ProgramGuard> guard_;
    TempDir out_;
    int cell_ = -1, ci_ = 0, cj_ = 0;
};

// A wall point and an outside point of the grid.
constexpr int kWallCol = bplan::WALL_CORTEX, kWallRow = 150;
constexpr int kOutCol = 5, kOutRow = 400;

}  // namespace

TEST_F(Pictures, AuxinOf1000OrMoreDrawsTheTopOfTheMapAtEveryPointClass) {
    ASSERT_EQ(Tc[kWallCol][kWallRow], TC_WALL);
    ASSERT_EQ(Tc[kOutCol][kOutRow], TC_OUTSIDE);
    Caux1[ci_][cj_] = 1000;
    Caux1[ci_][cj_ + 1] = 4000;
    Caux1[ci_][cj_ + 2] = 40;
    Caux1[ci_][cj_ + 3] = 0;       // clamped to 0.05
    Caux1[kWallCol][kWallRow] = 1000;
    Caux1[kOutCol][kOutRow] = 2500;
    MakePNGFile(0, 1);
    EXPECT_EQ(IndexAt(ci_, cj_), 254);
    EXPECT_EQ(IndexAt(ci_, cj_ + 1), 254);
    EXPECT_EQ(IndexAt(ci_, cj_ + 2), 182);  // 35 + 219 (log10 40 + 1.301) / 4.301
    EXPECT_EQ(IndexAt(ci_, cj_ + 3), 34);
    EXPECT_EQ(IndexAt(kWallCol, kWallRow), 254);
    EXPECT_EQ(IndexAt(kOutCol, kOutRow), 254);
    Caux1[ci_][cj_] = 999;
    MakePNGFile(0, 1);
    EXPECT_EQ(IndexAt(ci_, cj_), 253);
    EXPECT_TRUE(btest::FileExists(out_.path() + "/Aux_00000000.png"));
}

TEST_F(Pictures, ResponseHalfSaturatesAt80WithWallsBlackAndOutsideWhite) {
    Caux1[ci_][cj_] = 80;
    Caux1[ci_][cj_ + 1] = 500;
    Caux1[ci_][cj_ + 2] = 0;
    Caux1[ci_][cj_ + 3] = 1e6;
    MakePNGFile(0, 3);
    EXPECT_EQ(IndexAt(ci_, cj_), 144);  // 35 + 219 / 2
    EXPECT_EQ(IndexAt(ci_, cj_ + 1), 253);
    EXPECT_EQ(IndexAt(ci_, cj_ + 2), 35);
    EXPECT_EQ(IndexAt(ci_, cj_ + 3), 254);
    EXPECT_EQ(IndexAt(kWallCol, kWallRow), 0);
    EXPECT_EQ(IndexAt(kOutCol, kOutRow), 254);
    EXPECT_TRUE(btest::FileExists(out_.path() + "/SatAux_00000000.png"));
}

TEST_F(Pictures, PerCellKindsScaleTo100AndDrawWhiteAbove) {
    struct Kind {
        int kind;
        double* table;
        const char* stem;
    };
    const Kind kinds[] = {{7, Plts, "Plts"},     {9, ARF, "ARF"}, {17, AA, "AA"},           {18, BB, "BB"},
                          {19, CC, "CC"},        {20, DD, "DD"},  {21, Pltsexpr, "PltsExp"}, {23, Diff, "Membrane"},
                          {24, PP, "Priming"}};
    const int other = CellWithCorner(bplan::CORTEX_FIRST_COL, 155);
    const int third = CellWithCorner(bplan::CORTEX_FIRST_COL, 164);
    ASSERT_GE(other, 0);
    ASSERT_GE(third, 0);
    for (const Kind& k : kinds) {
        k.table[cell_] = 50;
        k.table[other] = 100;
        k.table[third] = 170;
        MakePNGFile(0, k.kind);
        EXPECT_EQ(IndexAt(ci_, cj_), 144) << k.stem;  // 35 + 219 * 50 / 100
        EXPECT_EQ(IndexAt(CellMinI[other] + 2, CellMinJ[other] + 2), 254) << k.stem;
        EXPECT_EQ(IndexAt(CellMinI[third] + 2, CellMinJ[third] + 2), 254) << k.stem;
        EXPECT_EQ(IndexAt(CellMinI[cell_], cj_), 144) << k.stem << ": membranes take their cell's colour";
        EXPECT_EQ(IndexAt(kWallCol, kWallRow), 0) << k.stem;
        EXPECT_EQ(IndexAt(kOutCol, kOutRow), 254) << k.stem;
        EXPECT_TRUE(btest::FileExists(out_.path() + "/" + k.stem + "_00000000.png")) << k.stem;
    }
}

TEST_F(Pictures, MembraneKindsUsePinAndAux1ScalesOf100) {
    const int mi = CellMinI[cell_], mj = cj_;  // the cell's outer lateral membrane
    ASSERT_EQ(Tc[mi][mj], TC_MEMBRANE);
    Cpin1M[mi][mj] = 100;
    Cpin1M[mi][mj + 1] = 0.001;
    Cpin1M[mi][mj + 2] = 0;
    MakePNGFile(0, 2);
    EXPECT_EQ(IndexAt(mi, mj), 214);
    EXPECT_EQ(IndexAt(mi, mj + 1), 50);
    EXPECT_EQ(IndexAt(mi, mj + 2), 0);
    EXPECT_EQ(IndexAt(mi + 1, mj), 214) << "the band next to the membrane shows it";
    EXPECT_EQ(IndexAt(kWallCol, kWallRow), 1);
    Aux1M[mi][mj] = 100;
    Aux1M[mi][mj + 1] = 50;
    Aux1M[mi][mj + 2] = 400;
    MakePNGFile(0, 5);
    EXPECT_EQ(IndexAt(mi, mj), 254);
    EXPECT_EQ(IndexAt(mi, mj + 1), 139);  // 25 + 229 * 50 / 100
    EXPECT_EQ(IndexAt(mi, mj + 2), 254);
    EXPECT_EQ(IndexAt(kOutCol, kOutRow), 254);
}

TEST_F(Pictures, HeightMarksCoverRows127To277InB2And127To302InB3) {
    // A straight cell across row 290, taller than 7 rows.
    const int high = Cell[bplan::CORTEX_FIRST_COL + 3][290];
    ASSERT_GE(high, 0);
    ASSERT_GT(CellHeight[high], 7);
    MakePNGFile(0, 22);
    EXPECT_EQ(IndexAt(ci_, cj_), 125);
    EXPECT_EQ(IndexAt(ci_, 277), 125);
    EXPECT_EQ(IndexAt(ci_, 290), 240);
    EXPECT_EQ(IndexAt(ci_, 126), 240) << "the tip lies below the band";
    EXPECT_EQ(IndexAt(kWallCol, kWallRow), 0);
    b3::MakePNGFile(0, 22);
    EXPECT_EQ(IndexAt(ci_, 290), 125);
    EXPECT_EQ(IndexAt(ci_, 302), 125);
}

TEST_F(Pictures, ZonationHasNoColourForTheMatureStateAndTissueBandsScaleBy12) {
    CellZonationState[cell_] = Z_DIVIDING;
    MakePNGFile(0, 10);
    EXPECT_TRUE(IsRgb(ci_, cj_, 10, 220, 10));
    const int body = Cell[ci_][400];
    ASSERT_GE(body, 0);
    EXPECT_EQ(CellZonationState[body], Z_MATURE);
    EXPECT_TRUE(IsRgb(ci_, 400, 255, 0, 255));
    EXPECT_TRUE(IsRgb(kWallCol, kWallRow, 0, 0, 0));
    MakePNGFile(0, 11);
    EXPECT_EQ(IndexAt(ci_, cj_), 12 * TCT_CORTEX);
    EXPECT_EQ(IndexAt(kWallCol, kWallRow), 240);
    EXPECT_EQ(IndexAt(kOutCol, kOutRow), 0);
}

TEST(PictureSets, B2DrawsNineKindsAndB3SixteenWithItsMontage) {
    {
        ProgramGuard guard(bfamily::B2Rules());
        TempDir out;
        out.UseAsOutput();
        InitPlant();
        bfamily::Installed().MakeGraphics(3600);
        const std::vector<std::string> expected = {
            "Aux1mem_00003600.png", "Aux_00003600.png",       "CellZonation_00003600.png",
            "Membrane_00003600.png", "OscilationZone_00003600.png", "PINmem_00003600.png",
            "Priming_00003600.png", "SatAux_00003600.png",    "TimeOfPrevGrowth_00003600.png"};
        EXPECT_EQ(btest::ListDir(out.path()), expected);
    }
    {
        ProgramGuard guard(bfamily::B3Rules());
        TempDir out;
        out.UseAsOutput();
        InitPlant();
        bfamily::Installed().MakeGraphics(7200);
        // The seven pictures of the montage live on only inside it.
        const std::vector<std::string> expected = {
            "ABCD_00007200.png",     "Aux1mem_00007200.png",        "Aux_00007200.png",
            "CellZonation_00007200.png", "Membrane_00007200.png", "OscilationZone_00007200.png",
            "PINmem_00007200.png",   "Priming_00007200.png",        "SatAux_00007200.png",
            "TimeOfPrevGrowth_00007200.png"};
        EXPECT_EQ(btest::ListDir(out.path()), expected);
        // ARF, AA, BB, CC, DD, PltsExp and Plts side by side.
        const std::string png = btest::ReadFile(out.path() + "/ABCD_00007200.png");
        ASSERT_GE(png.size(), 24u);
        auto be32 = [&](size_t at) {
            return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
                   (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
        };
        EXPECT_EQ(be32(16), 7 * NCOLS);
        EXPECT_EQ(be32(20), NROWS);
    }
}
