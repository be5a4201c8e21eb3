// The picture set with its montages, and pictures or montages that fail.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "graphics_support.h"
#include "outputs.h"
#include "rootsim.h"
#include "test_support.h"

using graphicstest::ClearToOutside;
using graphicstest::PngSize;
using graphicstest::PutRectCell;
using graphicstest::ReadPng;
using testsupport::FileExists;

namespace {

const char* const kSingles[] = {
    "Aux", "ARFKM_Aux", "PINmem", "Aux1mem", "CellZonation", "OscilationZone", "PltsExp", "Plts",
    "TimeOfPrevGrowth", "Membrane", "Priming", "outside", "Gh317", "ARR1", "ARR12", "ARR1_and12",
    "Celltypes", "Yuc3", "Tmt", "PltsExp2", "Plts2", "ARR1RGA", "Plasmodesmata", "PIN2mem",
    "PINtotmem", "lowAuxin", "Auxminpassed", "ARRpassed", "divTF", "elongTF", "MeanAux", "Gh33",
    "IdealPINtot", "IdealPIN1", "IdealPIN2", "IdealAUX1", "VolfacAuxProd"};
const char* const kSources[] = {"ARF", "AA", "BB", "CC", "DD"};

std::string Name(const std::string& dir, const char* stem, int time) {
    char t[32];
    snprintf(t, sizeof t, "%.8d", time);
    return dir + "/" + stem + "_" + t + ".png";
}

// Sets an environment variable for the lifetime of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : name_(name) {
        const char* old = getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv(name, value, 1);
    }
    ~EnvOverride() {
        if (had_) setenv(name_.c_str(), old_.c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

// A small tissue whose pictures differ from one another, with one cytoplasm
// point far from its cell's only membrane point.
void SmallTissue() {
    ClearToOutside();
    for (int c = 0; c < 6; c++) {
        PutRectCell(c, 20 + 14 * c, 30 + 14 * c, 100, 130, 5 + c);
        Plts[c] = 25.0 * c;
        Pltsexpr[c] = 90.0 * c;
        ARF[c] = 20.0 * c;
        AA[c] = 100.0 - 20.0 * c;
        ARR1[c] = 15.0 * c;
        ARR12[c] = 5.0 * c;
        CellZonationState[c] = c == 0 ? 0 : 30;
        for (int j = 100; j <= 130; j++) Caux1[20 + 14 * c + 3][j] = 10.0 * j;
    }
    Tc[150][300] = TC_MEMBRANE;
    Tc[150][340] = TC_CYTO;
    Cell[150][300] = Cell[150][340] = 6;
    Tct[150][300] = Tct[150][340] = 7;
    graphicstest::MeasureCell(6);
    actcells = 7;
}

const char* const kReport =
    "no membrane point found\nposition i,j: 150,340\ncell type 7\ncell dimensions 1 41\n";

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int k = 0; k < n; k++) r += s;
    return r;
}

class PictureSet : public ::testing::Test {
protected:
    testsupport::StateGuard guard_;
    testsupport::TempDir tmp_;
};

}  // namespace

TEST_F(PictureSet, FilesMontagesAndProgressLines) {
    // Shell characters in the directory name neither break the montages nor run anything.
    const std::string dir = tmp_.path() + "/a b;touch PWNED;$(touch PWNED2)'q";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    snprintf(dirname, sizeof dirname, "%s", dir.c_str());
    SmallTissue();
    testing::internal::CaptureStdout();
    MakeGraphics(3600);
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    // The report of the distance map comes with each of the eight membrane pictures.
    EXPECT_EQ(out, "start1\nstart3\nstart2\n" + std::string(kReport) + "start5\n" + kReport +
                       "end5\n" + Repeat(kReport, 6));

    for (const char* s : kSingles) {
        auto size = PngSize(Name(dir, s, 3600));
        EXPECT_EQ(size[0], NCOLS) << s;
        EXPECT_EQ(size[1], NROWS) << s;
    }
    for (const char* s : kSources) EXPECT_FALSE(FileExists(Name(dir, s, 3600))) << s;
    EXPECT_EQ(PngSize(Name(dir, "ABCD", 3600)), (std::array<int, 2>{7 * NCOLS, NROWS}));
    EXPECT_EQ(PngSize(Name(dir, "Pltscombo", 3600)), (std::array<int, 2>{4 * NCOLS, NROWS}));
    EXPECT_EQ(PngSize(Name(dir, "Combined", 3600)), (std::array<int, 2>{6 * NCOLS, NROWS}));
    EXPECT_EQ(testsupport::ListDir(dir).size(), 40u);
    EXPECT_FALSE(FileExists(tmp_.path() + "/PWNED"));
    EXPECT_FALSE(FileExists(tmp_.path() + "/PWNED2"));
    EXPECT_FALSE(FileExists("PWNED"));
    EXPECT_FALSE(FileExists("PWNED2"));

    // The montages hold their pictures left to right in the listed order.
    auto part = [](const graphicstest::Picture& m, int k, const graphicstest::Picture& p) {
        for (int y = 0; y < NROWS; y++)
            for (int x = 0; x < NCOLS; x++)
                if (m.At(k * NCOLS + x, y) != p.At(x, y)) return false;
        return true;
    };
    auto pic = [&](const char* s) { return ReadPng(Name(dir, s, 3600)); };
    graphicstest::Picture combined = pic("Combined"), combo = pic("Pltscombo"), abcd = pic("ABCD");
    ASSERT_TRUE(combined.ok && combo.ok && abcd.ok);
    const char* combinedParts[] = {"lowAuxin", "PltsExp2", "Plts2", "ARR1", "ARR12", "CellZonation"};
    for (int k = 0; k < 6; k++) EXPECT_TRUE(part(combined, k, pic(combinedParts[k]))) << combinedParts[k];
    const char* comboParts[] = {"lowAuxin", "PltsExp2", "Plts2", "CellZonation"};
    for (int k = 0; k < 4; k++) EXPECT_TRUE(part(combo, k, pic(comboParts[k]))) << comboParts[k];
    EXPECT_TRUE(part(abcd, 5, pic("PltsExp2")));
    EXPECT_TRUE(part(abcd, 6, pic("Plts2")));
    // The removed sources are in the ABCD montage: drawn again, they match.
    const int sourceKinds[] = {9, 17, 18, 19, 20};
    for (int k = 0; k < 5; k++) {
        MakePNGFile(3600, sourceKinds[k]);
        EXPECT_TRUE(part(abcd, k, ReadPng(Name(dir, kSources[k], 3600)))) << kSources[k];
    }
}

TEST_F(PictureSet, LongDirectoryName) {
    // Far longer than a command line of 1500 bytes would hold.
    std::string dir = tmp_.path();
    for (int k = 0; k < 9; k++) {
        dir += "/" + std::string(200, static_cast<char>('a' + k));
        ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    }
    ASSERT_GT(dir.size(), 1800u);
    snprintf(dirname, sizeof dirname, "%s", dir.c_str());
    SmallTissue();
    testing::internal::CaptureStdout();
    MakeGraphics(7);
    fflush(stdout);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(PngSize(Name(dir, "ABCD", 7)), (std::array<int, 2>{7 * NCOLS, NROWS}));
    EXPECT_EQ(PngSize(Name(dir, "Combined", 7)), (std::array<int, 2>{6 * NCOLS, NROWS}));
    EXPECT_FALSE(FileExists(Name(dir, "ARF", 7)));
    EXPECT_EQ(testsupport::ListDir(dir).size(), 40u);
}

// The montages are made in the process: no outside program is run (one that
// writes nothing and ends with status 0 once cost the five sources), and the
// directory name is never read as anything but a name.
TEST_F(PictureSet, MontagesAreMadeInProcessWhateverTheDirectoryName) {
    EnvOverride convert("ROOTSIM_CONVERT", "/bin/true");
    EnvOverride path("PATH", "");
    ASSERT_EQ(chdir(tmp_.path().c_str()), 0);
    SmallTissue();
    // A name that the image tool would have read as a format prefix ("png:",
    // writing into the directory "o") holding a pattern of frame numbers.
    const char* dir = "png:o%d[0]";
    ASSERT_EQ(mkdir(dir, 0700), 0);
    snprintf(dirname, sizeof dirname, "%s", dir);
    testing::internal::CaptureStdout();
    MakeGraphics(0);
    fflush(stdout);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(PngSize(Name(dir, "ABCD", 0)), (std::array<int, 2>{7 * NCOLS, NROWS}));
    EXPECT_EQ(PngSize(Name(dir, "Pltscombo", 0)), (std::array<int, 2>{4 * NCOLS, NROWS}));
    EXPECT_EQ(PngSize(Name(dir, "Combined", 0)), (std::array<int, 2>{6 * NCOLS, NROWS}));
    for (const char* src : kSources) EXPECT_FALSE(FileExists(Name(dir, src, 0))) << src;
    EXPECT_EQ(testsupport::ListDir(dir).size(), 40u);
    // Nothing was written beside the directory.
    EXPECT_EQ(testsupport::ListDir(tmp_.path()), (std::vector<std::string>{dir}));
    ASSERT_EQ(chdir("/"), 0);
}

// A montage that cannot be written leaves its sources, and no part of itself.
TEST_F(PictureSet, FailedMontageKeepsItsSources) {
    tmp_.UseAsOutput();
    SmallTissue();
    ClearOutputFailures();
    // A directory where the montage would go: its file cannot take the name.
    const std::string abcd = Name(tmp_.path(), "ABCD", 0);
    ASSERT_EQ(mkdir(abcd.c_str(), 0700), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    MakeGraphics(0);
    fflush(stdout);
    std::string err = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_NE(err.find("cannot write " + abcd + ": Is a directory"), std::string::npos) << err;
    for (const char* s : kSources) EXPECT_EQ(PngSize(Name(tmp_.path(), s, 0)), (std::array<int, 2>{NCOLS, NROWS})) << s;
    EXPECT_FALSE(FileExists(abcd + ".partial"));
    EXPECT_EQ(PngSize(Name(tmp_.path(), "Combined", 0)), (std::array<int, 2>{6 * NCOLS, NROWS}));
    EXPECT_EQ(FailedOutputFiles(), 1u);
}

TEST_F(PictureSet, UnopenablePictureIsSkipped) {
    SmallTissue();
    const std::string missing = tmp_.path() + "/not_there";
    snprintf(dirname, sizeof dirname, "%s", missing.c_str());
    testing::internal::CaptureStderr();
    MakePNGFile(0, 7);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(Name(missing, "Plts", 0)), std::string::npos) << err;
    EXPECT_FALSE(FileExists(missing));
    // The next picture into a usable directory is written.
    tmp_.UseAsOutput();
    MakePNGFile(0, 7);
    EXPECT_EQ(PngSize(Name(tmp_.path(), "Plts", 0)), (std::array<int, 2>{NCOLS, NROWS}));
}

// On a full disk no picture is left half written under its name, and a
// complete picture of the same name written before stays as it was.
TEST_F(PictureSet, FullDiskLeavesWholePicturesOnly) {
    testsupport::SmallDisk disk(4 << 20);
    const bool tmpfs = disk.mounted();
    if (!tmpfs && !testsupport::HaveDevFull()) GTEST_SKIP() << "neither a tmpfs nor /dev/full";
    const std::string dir = tmpfs ? disk.path() : tmp_.path();
    snprintf(dirname, sizeof dirname, "%s", dir.c_str());
    SmallTissue();
    ClearOutputFailures();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    MakePNGFile(0, 1);
    const std::string aux = Name(dir, "Aux", 0);
    const std::string before = testsupport::ReadFile(aux);
    ASSERT_TRUE(ReadPng(aux).ok);
    // A different picture of the same time, which cannot be written.
    for (int c = 0; c < 6; c++)
        for (int j = 100; j <= 130; j++) Caux1[20 + 14 * c + 3][j] = 900.0;
    if (tmpfs) disk.Fill();
    else ASSERT_EQ(symlink("/dev/full", (aux + ".partial").c_str()), 0);
    MakeGraphics(0);
    fflush(stdout);
    std::string err = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_NE(err.find("cannot write " + aux + ": No space left on device"), std::string::npos) << err;
    EXPECT_EQ(testsupport::ReadFile(aux), before);
    EXPECT_GE(FailedOutputFiles(), 1u);
    for (const std::string& f : testsupport::ListDir(dir)) {
        if (f == ".filler") continue;
        EXPECT_EQ(f.find(".partial"), std::string::npos) << f;
        EXPECT_TRUE(ReadPng(dir + "/" + f).ok) << f;
    }
    disk.Drain();
}

TEST_F(PictureSet, InitialRootAtTimeZero) {
    tmp_.UseAsOutput();
    InitPlant();
    ASSERT_EQ(actcells, 364);
    testing::internal::CaptureStdout();
    MakeGraphics(0);
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    // The progress lines in their order; anything else is the distance map's report.
    std::vector<std::string> progress;
    size_t from = 0;
    while (from < out.size()) {
        size_t nl = out.find('\n', from);
        ASSERT_NE(nl, std::string::npos) << "unterminated line in " << out;
        std::string line = out.substr(from, nl - from);
        if (line.rfind("start", 0) == 0 || line == "end5") progress.push_back(line);
        from = nl + 1;
    }
    EXPECT_EQ(progress, (std::vector<std::string>{"start1", "start3", "start2", "start5", "end5"}));
    EXPECT_EQ(out.rfind("start1\nstart3\nstart2\n", 0), 0u) << out;

    for (const char* s : kSingles) {
        graphicstest::Picture p = ReadPng(Name(tmp_.path(), s, 0));
        EXPECT_TRUE(p.ok) << s;
        EXPECT_EQ(p.colourType, 2) << s;  // 8-bit RGB
        EXPECT_EQ(p.width, NCOLS) << s;
        EXPECT_EQ(p.height, NROWS) << s;
    }
    for (const char* s : kSources) EXPECT_FALSE(FileExists(Name(tmp_.path(), s, 0))) << s;
    EXPECT_EQ(PngSize(Name(tmp_.path(), "ABCD", 0)), (std::array<int, 2>{1575, 1900}));
    EXPECT_EQ(PngSize(Name(tmp_.path(), "Pltscombo", 0)), (std::array<int, 2>{900, 1900}));
    EXPECT_EQ(PngSize(Name(tmp_.path(), "Combined", 0)), (std::array<int, 2>{1350, 1900}));
    EXPECT_EQ(testsupport::ListDir(tmp_.path()).size(), 40u);

    // The tissue picture of the real root: the root is drawn, not only outside.
    graphicstest::Picture types = ReadPng(Name(tmp_.path(), "Celltypes", 0));
    ASSERT_TRUE(types.ok);
    EXPECT_EQ(types.At(0, 0), graphicstest::MapColour(254));           // top left: outside
    EXPECT_NE(types.At(AXIS, NROWS - 1 - 150), graphicstest::MapColour(254));  // on the axis near the tip
}
