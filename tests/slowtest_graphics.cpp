// The membrane distance map on the initial root against a plain search, and
// the time one picture set takes (printed, not asserted).
#include <gtest/gtest.h>

#include <png.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics_support.h"
#include "montage.h"
#include "rootsim.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Encodes RGBdata as the pictures are encoded (8-bit RGB, defaults), top row
// first, into the named file.
void EncodeBuffer(const std::string& name) {
    FILE* fp = fopen(name.c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, fp);
    png_set_IHDR(png, info, NCOLS, NROWS, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int j = NROWS - 1; j >= 0; j--) {
        png_bytep row = RGBdata + 3 * static_cast<size_t>(NCOLS) * j;
        png_write_rows(png, &row, 1);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    fclose(fp);
}

}  // namespace

TEST(GraphicsOnInitialRoot, DistanceMapAgreesWithPlainSearch) {
    testsupport::StateGuard guard;
    InitPlant();
    ASSERT_EQ(actcells, 364);
    graphicstest::PlainDistanceMap plain = graphicstest::BuildPlainDistanceMap();
    testing::internal::CaptureStdout();
    BuildMembraneDistanceMap();
    fflush(stdout);
    std::string report = testing::internal::GetCapturedStdout();
    long inBand = 0;
    EXPECT_EQ(graphicstest::CompareDistanceMaps(plain, &inBand), "");
    EXPECT_EQ(report, plain.report);
    EXPECT_GT(inBand, 10000);
}

TEST(GraphicsOnInitialRoot, PictureSetTiming) {
    testsupport::StateGuard guard;
    testsupport::TempDir tmp;
    tmp.UseAsOutput();
    InitPlant();
    ASSERT_EQ(actcells, 364);

    testing::internal::CaptureStdout();
    auto t0 = Clock::now();
    MakeGraphics(0);
    double full = Seconds(t0);
    t0 = Clock::now();
    MakeGraphics(0);
    double full2 = Seconds(t0);

    fflush(stdout);
    testing::internal::GetCapturedStdout();

    // The three montages alone, from kept pixels (the last buffer for every part).
    const std::vector<const char*> abcd = {"%s/ARF_%.8d.png", "%s/AA_%.8d.png", "%s/BB_%.8d.png", "%s/CC_%.8d.png",
                                           "%s/DD_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png"};
    const std::vector<const char*> combo = {"%s/lowAuxin_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png",
                                            "%s/CellZonation_%.8d.png"};
    const std::vector<const char*> combined = {"%s/lowAuxin_%.8d.png", "%s/PltsExp2_%.8d.png",
                                               "%s/Plts2_%.8d.png",   "%s/ARR1_%.8d.png",
                                               "%s/ARR12_%.8d.png",   "%s/CellZonation_%.8d.png"};
    for (const auto* parts : {&abcd, &combo, &combined})
        for (const char* p : *parts) KeepForMontage(p);
    t0 = Clock::now();
    EXPECT_TRUE(Montage(abcd, "%s/ABCD_%.8d.png", 36000));
    EXPECT_TRUE(Montage(combo, "%s/Pltscombo_%.8d.png", 36000));
    EXPECT_TRUE(Montage(combined, "%s/Combined_%.8d.png", 36000));
    double montages = Seconds(t0);
    ForgetMontageParts();

    // Encoding alone: 42 pictures of the last buffer.
    t0 = Clock::now();
    for (int k = 0; k < 42; k++) EncodeBuffer(tmp.path() + "/encode.png");
    double encode = Seconds(t0);

    testing::internal::CaptureStdout();
    t0 = Clock::now();
    BuildMembraneDistanceMap();
    double map = Seconds(t0);
    fflush(stdout);
    testing::internal::GetCapturedStdout();
    t0 = Clock::now();
    graphicstest::PlainDistanceMap plain = graphicstest::BuildPlainDistanceMap();
    double plainMap = Seconds(t0);

    printf("picture set with montages: %.3f s, again %.3f s\n", full, full2);
    printf("the three montages: %.3f s\n", montages);
    printf("PNG encoding of 42 pictures: %.3f s (%.1f ms each)\n", encode, 1000 * encode / 42);
    printf("distance map: %.4f s; plain 61 x 61 search: %.3f s\n", map, plainMap);

    EXPECT_EQ(graphicstest::PngSize(tmp.path() + "/ABCD_00000000.png"),
              (std::array<int, 2>{7 * NCOLS, NROWS}));
    EXPECT_EQ(graphicstest::PngSize(tmp.path() + "/Combined_00036000.png"), (std::array<int, 2>{6 * NCOLS, NROWS}));
    EXPECT_EQ(graphicstest::PngSize(tmp.path() + "/encode.png"), (std::array<int, 2>{NCOLS, NROWS}));
    EXPECT_FALSE(plain.dist.empty());
}
