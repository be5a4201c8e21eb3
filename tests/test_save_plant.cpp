// The plant state file: its exact layout, a round trip through writer and
// reader, and a reader that refuses incomplete or damaged files without
// touching the plant.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "measure_fixtures.h"
#include "rootsim.h"
#include "test_support.h"

using measurefix::AddCell;
using measurefix::ClearToOutside;
using measurefix::Fields;
using measurefix::Lines;
using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

// The per-cell tables in the order of the file.
struct TableRef {
    const char* name;
    int** ints;
    double** reals;
};
const TableRef kTables[] = {
    {"MeanCells", nullptr, &MeanCells}, {"ARF", nullptr, &ARF},
    {"AA", nullptr, &AA},               {"BB", nullptr, &BB},
    {"CC", nullptr, &CC},               {"DD", nullptr, &DD},
    {"Plt", nullptr, &Plt},             {"Yuc3", nullptr, &Yuc3},
    {"ARR1", nullptr, &ARR1},           {"ARR12", nullptr, &ARR12},
    {"divTF", nullptr, &divTF},         {"elongTF", nullptr, &elongTF},
    {"Gh317", nullptr, &Gh317},         {"Pin", nullptr, &Pin},
    {"Pin2", nullptr, &Pin2},           {"Plts", nullptr, &Plts},
    {"Aux1", nullptr, &Aux1},           {"TimePrevGrowth", &TimePrevGrowth, nullptr},
    {"Diff", nullptr, &Diff},           {"CellZonationState", &CellZonationState, nullptr},
    {"CellsInOZ", &CellsInOZ, nullptr}, {"Gh33", nullptr, &Gh33},
    {"CellDivNr", &CellDivNr, nullptr},
};
constexpr int kNumTables = sizeof kTables / sizeof kTables[0];
int** const* kIntGrids[] = {&Tc, &Tct, &Tmt, &Cell};
double** const* kRealGrids[] = {&PinPrePat, &Pin2PrePat, &Aux1PrePat, &Caux1};

// Deterministic values of every sign and size.
struct Values {
    unsigned long long s = 12345;
    unsigned Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(s >> 33);
    }
    double Real() {
        double m = (Next() % 2000001) / 1000.0 - 1000.0;  // -1000 .. 1000, three decimals
        switch (Next() % 4) {
            case 0: return m * 1e-4;            // digits below the sixth decimal
            case 1: return m * 123.4567891;     // large, many digits
            default: return m;
        }
    }
};

// A plant of irregular cells: L-shaped, one-row and one-column cells beside
// ordinary ones, with filled fields and tables (slots beyond the cells too).
void BuildIrregularPlant() {
    ClearToOutside();
    AddCell(0, 13, 100, 124, 10, 20);
    AddCell(1, 12, 100, 110, 22, 30);
    AddCell(1, 12, 100, 104, 31, 60);  // L-shaped with the part below
    AddCell(2, 5, 30, 30, 40, 300);    // one column wide
    AddCell(3, 6, 49, 70, 100, 100);   // one row high
    AddCell(4, 9, 90, 99, 500, 1800);
    AddCell(5, 1, 21, 28, 5, 1897);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_MEMBRANE) Tmt[i][j] = 1 + (i + j) % 4;
    Values v;
    for (double** const* g : kRealGrids)
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++) (*g)[i][j] = (i * 7 + j) % 5 == 0 ? v.Real() : 0.0;
    for (const TableRef& t : kTables) {
        for (int c = 0; c < MAXCELLS; c++) {
            if (t.ints) (*t.ints)[c] = static_cast<int>(v.Next() % 200001) - 100000;
            else (*t.reals)[c] = v.Real();
        }
    }
    CellZonationState[0] = 30;
    CellZonationState[4] = 60;
    Diff[4] = 42.125;
    MeanCells[2] = 12345.678901;
    MeanCells[3] = -0.0000001;
    actcells = 6;
}

// Everything the reader may change, for comparing before and after.
std::vector<double> Snapshot() {
    std::vector<double> s;
    for (int** const* g : kIntGrids)
        for (int i = 0; i < NCOLS; i++) s.insert(s.end(), (*g)[i], (*g)[i] + NROWS);
    for (double** const* g : kRealGrids)
        for (int i = 0; i < NCOLS; i++) s.insert(s.end(), (*g)[i], (*g)[i] + NROWS);
    for (const TableRef& t : kTables) {
        if (t.ints) s.insert(s.end(), *t.ints, *t.ints + MAXCELLS);
        else s.insert(s.end(), *t.reals, *t.reals + MAXCELLS);
    }
    for (int* t : {CellMinI, CellMaxI, CellMinJ, CellMaxJ, CellWidth, CellHeight, CellSizes})
        s.insert(s.end(), t, t + MAXCELLS);
    s.insert(s.end(), InvCellSizes, InvCellSizes + MAXCELLS);
    s.push_back(actcells);
    return s;
}

class PlantFile : public ::testing::Test {
protected:
    void SetUp() override { dir_.UseAsOutput(); }
    std::string Path(const std::string& name) const { return dir_.path() + "/" + name; }

    StateGuard guard_;
    TempDir dir_;
};

TEST_F(PlantFile, LayoutByteForByte) {
    ClearToOutside();
    AddCell(0, 5, 30, 32, 10, 11);
    Caux1[5][7] = 12.5;
    Caux1[5][8] = -0.0000004;
    PinPrePat[1][0] = 0.1234567;
    for (int k = 0; k < kNumTables; k++) {
        if (kTables[k].ints) (*kTables[k].ints)[1] = 100 + k;
        else (*kTables[k].reals)[1] = 100 + k + 0.25;
    }
    WritePlantToFile(50000);

    const std::string name = Path("DumpPlantStateAt0000050000");
    ASSERT_TRUE(FileExists(name));
    const std::string text = ReadFile(name);
    auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 1824u);
    ASSERT_EQ(text.back(), '\n');
    for (size_t n = 0; n + 1 < lines.size(); n++) ASSERT_EQ(lines[n].back(), '\t') << "line " << n + 1;

    std::string outsideColumn;
    for (int j = 0; j < NROWS; j++) outsideColumn += "3\t";
    EXPECT_EQ(lines[0], outsideColumn);  // Tc of column 0

    // Tc, Tct, Tmt and Cell of column 30 around the cell at rows 10..11.
    auto head = [&](int line, int n) {
        auto f = Fields(lines[line]);
        return std::vector<std::string>(f.begin(), f.begin() + n);
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(head(30, 13), (V{"3", "3", "3", "3", "3", "3", "3", "3", "3", "0", "2", "2", "0"}));
    EXPECT_EQ(head(NCOLS + 30, 13), (V{"0", "0", "0", "0", "0", "0", "0", "0", "0", "20", "5", "5", "20"}));
    EXPECT_EQ(head(3 * NCOLS + 30, 13),
              (V{"-1", "-1", "-1", "-1", "-1", "-1", "-1", "-1", "-1", "-1", "0", "0", "-1"}));
    // Reals: six decimals; a tiny negative keeps its sign.
    EXPECT_EQ(head(4 * NCOLS + 1, 2), (V{"0.123457", "0.000000"}));
    EXPECT_EQ(head(7 * NCOLS + 5, 9)[7], "12.500000");
    EXPECT_EQ(head(7 * NCOLS + 5, 9)[8], "-0.000000");
    // The per-cell lines in order, 4000 values each.
    for (int k = 0; k < kNumTables; k++) {
        auto f = Fields(lines[8 * NCOLS + k]);
        ASSERT_EQ(f.size(), static_cast<size_t>(MAXCELLS) + 1) << kTables[k].name;
        EXPECT_EQ(f[MAXCELLS], "");
        std::string want = kTables[k].ints ? std::to_string(100 + k) : std::to_string(100 + k) + ".250000";
        EXPECT_EQ(f[1], want) << kTables[k].name;
        EXPECT_EQ(f[0], kTables[k].ints ? "0" : "0.000000") << kTables[k].name;
    }
    EXPECT_EQ(lines[1823], "1");

    // A second write of the same time replaces the file.
    actcells = 0;
    WritePlantToFile(50000);
    EXPECT_EQ(Lines(ReadFile(name)).back(), "0");
    EXPECT_EQ(Lines(ReadFile(name)).size(), 1824u);
}

TEST_F(PlantFile, RoundTripRestoresTheSavedState) {
    BuildIrregularPlant();
    std::vector<int> ints[4];
    std::vector<double> reals[4];
    for (int g = 0; g < 4; g++) {
        for (int i = 0; i < NCOLS; i++) {
            ints[g].insert(ints[g].end(), (*kIntGrids[g])[i], (*kIntGrids[g])[i] + NROWS);
            reals[g].insert(reals[g].end(), (*kRealGrids[g])[i], (*kRealGrids[g])[i] + NROWS);
        }
    }
    std::vector<std::vector<double>> tables;
    for (const TableRef& t : kTables) {
        std::vector<double> col(MAXCELLS);
        for (int c = 0; c < MAXCELLS; c++) col[c] = t.ints ? (*t.ints)[c] : (*t.reals)[c];
        tables.push_back(col);
    }
    WritePlantToFile(100000);

    // Into a fresh state, without the rebuild of derived state.
    FreeArrays();
    MakeArrays();
    ASSERT_TRUE(ReadPlantStateFile(100000));
    // Six decimals are within 5e-7 of the value; the decimal-to-binary step of
    // a value near 1e5 adds at most about 1e-11.
    const double tol = 5e-7 + 1e-10;
    EXPECT_EQ(actcells, 6);
    for (int g = 0; g < 4; g++) {
        for (int i = 0; i < NCOLS; i++) {
            for (int j = 0; j < NROWS; j++) {
                ASSERT_EQ((*kIntGrids[g])[i][j], ints[g][i * NROWS + j]) << "grid " << g << " " << i << "," << j;
                ASSERT_NEAR((*kRealGrids[g])[i][j], reals[g][i * NROWS + j], tol)
                    << "grid " << g << " " << i << "," << j;
            }
        }
    }
    for (int k = 0; k < kNumTables; k++) {
        for (int c = 0; c < MAXCELLS; c++) {
            if (kTables[k].ints) ASSERT_EQ(static_cast<double>((*kTables[k].ints)[c]), tables[k][c]) << kTables[k].name << " " << c;
            else ASSERT_NEAR((*kTables[k].reals)[c], tables[k][c], tol) << kTables[k].name << " " << c;
        }
    }
    // Six decimals survive in double precision (single precision would give
    // 12345.6787109375).
    EXPECT_EQ(MeanCells[2], 12345.678901);
    EXPECT_EQ(Diff[4], 42.125);
    EXPECT_EQ(CellZonationState[4], 60);
}

// The reader rebuilds bounding boxes and sizes from the grid it read.
TEST_F(PlantFile, ReaderRebuildsCellGeometry) {
    // Skip while the cell geometry routines are not part of the build.
    ClearToOutside();
    AddCell(0, 5, 40, 41, 40, 41);
    CellMinI[0] = 77;
    FindCellCorners();
    if (CellMinI[0] == 77) GTEST_SKIP() << "cell geometry routines not built yet";

    BuildIrregularPlant();
    WritePlantToFile(150000);
    FreeArrays();
    MakeArrays();
    ASSERT_TRUE(InitPlantFromFile(150000));
    // Cell 1 is L-shaped: columns 100..110, rows 22..60, 11*9 + 5*30 points.
    EXPECT_EQ(CellMinI[1], 100);
    EXPECT_EQ(CellMaxI[1], 110);
    EXPECT_EQ(CellMinJ[1], 22);
    EXPECT_EQ(CellMaxJ[1], 60);
    EXPECT_EQ(CellWidth[1], 11);
    EXPECT_EQ(CellHeight[1], 39);
    EXPECT_EQ(CellSizes[1], 11 * 9 + 5 * 30);
    EXPECT_DOUBLE_EQ(InvCellSizes[1], 1.0 / (11 * 9 + 5 * 30));
    EXPECT_EQ(CellHeight[2], 261);
    EXPECT_EQ(CellWidth[2], 1);
    EXPECT_EQ(CellHeight[3], 1);
    EXPECT_EQ(CellSizes[3], 22);
    // Slots beyond the cells are reset.
    EXPECT_EQ(CellMinI[6], 10000);
    EXPECT_EQ(InvCellSizes[6], 0.0);
}

// The initial root written and read back into a fresh state: the reader's
// rebuilt geometry matches the built one, and the zonation and
// differentiation of a grown root survive the carrier update at time 0.
TEST_F(PlantFile, InitialRootComesBackWithItsGeometryAndZonation) {
    InitPlant();
    ASSERT_EQ(actcells, 364);
    // As in a grown root: cells in zones the time-0 rules would not give them.
    for (int k = 0; k < actcells; k += 3) {
        CellZonationState[k] = 50;
        Diff[k] = 12.5 + k;
    }
    const std::vector<double> built = Snapshot();
    WritePlantToFile(50000);
    FreeArrays();
    MakeArrays();
    ASSERT_TRUE(InitPlantFromFile(50000));
    const std::vector<double> loaded = Snapshot();
    ASSERT_EQ(loaded.size(), built.size());
    const size_t n = static_cast<size_t>(NCOLS) * NROWS;
    for (size_t k = 0; k < 4 * n; k++) ASSERT_EQ(loaded[k], built[k]) << "integer grid value " << k;
    // The carrier prepatterns are rebuilt from the tissue; the auxin field is
    // the one saved.
    for (size_t k = 7 * n; k < 8 * n; k++) ASSERT_NEAR(loaded[k], built[k], 5e-7) << "auxin value " << k;
    // The cell tables, then the bounding boxes, sizes and the cell count.
    for (size_t k = 8 * n; k < loaded.size(); k++) ASSERT_NEAR(loaded[k], built[k], 5e-7) << "cell value " << k;
    for (int k = 0; k < actcells; k += 3) {
        EXPECT_EQ(CellZonationState[k], 50) << k;
        EXPECT_EQ(Diff[k], 12.5 + k) << k;
    }
}

// The carrier state that the file does not hold is rebuilt from what it does:
// a reloaded initial root has the transport coefficients of the built one.
TEST_F(PlantFile, ReloadRebuildsTheCarrierState) {
    // As the driver builds it: the meristem's top is known before the plant.
    maxmzheight = 212;
    InitPlant();
    std::vector<double> built;
    auto coefficients = [](std::vector<double>& v) {
        v.clear();
        for (double** g : {Cpin1M, Cpin2M, Aux1M, paux, daux})
            for (int i = 0; i < NCOLS; i++) v.insert(v.end(), g[i], g[i] + NROWS);
        for (NeighbourRates** g : {DiffAuxC, Eff, Inf})
            for (int i = 0; i < NCOLS; i++)
                for (int j = 0; j < NROWS; j++) v.insert(v.end(), g[i][j].r, g[i][j].r + 4);
    };
    coefficients(built);
    WritePlantToFile(50000);
    FreeArrays();
    MakeArrays();
    ASSERT_TRUE(InitPlantFromFile(50000));
    std::vector<double> loaded;
    coefficients(loaded);
    ASSERT_EQ(loaded.size(), built.size());
    for (size_t k = 0; k < loaded.size(); k++)
        ASSERT_NEAR(loaded[k], built[k], 1e-6 * (1.0 + std::fabs(built[k]))) << "coefficient " << k;
}

// ---------------------------------------------------------------------------
// Damaged files

class DamagedFile : public PlantFile {
protected:
    void SetUp() override {
        PlantFile::SetUp();
        ClearToOutside();
        AddCell(0, 5, 30, 32, 10, 11);
        AddCell(1, 5, 40, 42, 10, 11);
        WritePlantToFile(50000);
        good_ = ReadFile(Path("DumpPlantStateAt0000050000"));
        // A different plant in memory, which a failed read must leave alone.
        BuildIrregularPlant();
        before_ = Snapshot();
    }
    // Writes the text as the dump of time 50000, reads it and returns what the
    // reader reported.
    std::string LoadFails(const std::string& text) {
        {
            std::ofstream out(Path("DumpPlantStateAt0000050000"), std::ios::binary | std::ios::trunc);
            out << text;
        }
        testing::internal::CaptureStderr();
        bool ok = InitPlantFromFile(50000);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(ok);
        EXPECT_TRUE(Snapshot() == before_) << "the plant state changed";
        EXPECT_NE(err.find(Path("DumpPlantStateAt0000050000")), std::string::npos) << err;
        return err;
    }
    // The good file with line n (1-based) replaced.
    std::string WithLine(int n, const std::string& line) const {
        size_t start = LineStart(n);
        size_t end = good_.find('\n', start);
        return good_.substr(0, start) + line + good_.substr(end);
    }
    std::string Line(int n) const {
        size_t start = LineStart(n);
        return good_.substr(start, good_.find('\n', start) - start);
    }
    size_t LineStart(int n) const {
        size_t pos = 0;
        for (int k = 1; k < n; k++) pos = good_.find('\n', pos) + 1;
        return pos;
    }

    std::string good_;
    std::vector<double> before_;
};

TEST_F(DamagedFile, MissingFile) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(InitPlantFromFile(250000));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(Path("DumpPlantStateAt0000250000")), std::string::npos) << err;
    EXPECT_TRUE(Snapshot() == before_);
}

TEST_F(DamagedFile, ShortAndMalformedFilesNameThePlace) {
    // Cut in the middle of the Caux1 block.
    std::string err = LoadFails(good_.substr(0, good_.size() / 2));
    EXPECT_NE(err.find("ends"), std::string::npos) << err;

    // The cell count missing altogether.
    err = LoadFails(good_.substr(0, good_.rfind('\n', good_.size() - 2) + 1));
    EXPECT_NE(err.find("line 1824"), std::string::npos) << err;

    // A word where a number belongs.
    std::string l = Line(2);
    err = LoadFails(WithLine(2, "3\t3\tabc" + l.substr(5)));
    EXPECT_NE(err.find("line 2, value 3"), std::string::npos) << err;

    // A real with trailing garbage in the Caux1 block.
    err = LoadFails(WithLine(7 * NCOLS + 1, "0.5x\t" + Line(7 * NCOLS + 1).substr(9)));
    EXPECT_NE(err.find("line " + std::to_string(7 * NCOLS + 1) + ", value 1"), std::string::npos) << err;

    // A line one value short, and one with a value too many.
    err = LoadFails(WithLine(1000, Line(1000).substr(9)));
    EXPECT_NE(err.find("line 1000"), std::string::npos) << err;
    err = LoadFails(WithLine(1000, Line(1000) + "1.000000\t"));
    EXPECT_NE(err.find("line 1000"), std::string::npos) << err;
    EXPECT_NE(err.find("more than"), std::string::npos) << err;

    // Text after the cell count.
    err = LoadFails(good_ + "17\n");
    EXPECT_NE(err.find("after the cell count"), std::string::npos) << err;
}

TEST_F(DamagedFile, OutOfRangeValuesAreRefused) {
    // A point class of 4 (column 0, row 4).
    std::string l = Line(1);
    std::string err = LoadFails(WithLine(1, "3\t3\t3\t3\t4" + l.substr(9)));
    EXPECT_NE(err.find("line 1, value 5"), std::string::npos) << err;

    // A cell number that names no cell: 2 when the file holds cells 0 and 1.
    l = Line(3 * NCOLS + 1);
    err = LoadFails(WithLine(3 * NCOLS + 1, "-1\t2" + l.substr(5)));
    EXPECT_NE(err.find("line " + std::to_string(3 * NCOLS + 1) + ", value 2"), std::string::npos) << err;
    l = Line(3 * NCOLS + 1);
    err = LoadFails(WithLine(3 * NCOLS + 1, "-2" + l.substr(2)));
    EXPECT_NE(err.find("cell number -2"), std::string::npos) << err;

    // Cell counts beyond the tables, or negative.
    err = LoadFails(WithLine(1824, "4001"));
    EXPECT_NE(err.find("4001"), std::string::npos) << err;
    err = LoadFails(WithLine(1824, "-1"));
    EXPECT_NE(err.find("line 1824"), std::string::npos) << err;

    // An integer beyond the range of int.
    err = LoadFails(WithLine(8 * NCOLS + 18, "99999999999\t" + Line(8 * NCOLS + 18).substr(2)));
    EXPECT_NE(err.find("out of range"), std::string::npos) << err;

    // The good file itself still loads.
    {
        std::ofstream out(Path("DumpPlantStateAt0000050000"), std::ios::binary | std::ios::trunc);
        out << good_;
    }
    ASSERT_TRUE(InitPlantFromFile(50000));
    EXPECT_EQ(actcells, 2);
    EXPECT_EQ(Cell[41][10], 1);
}

// ---------------------------------------------------------------------------
// Write failures

TEST_F(PlantFile, UnwritableDumpIsReportedAndTheRunGoesOn) {
    std::string missing = dir_.path() + "/gone";
    snprintf(dirname, sizeof dirname, "%s", missing.c_str());
    testing::internal::CaptureStderr();
    WritePlantToFile(2000000);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot open plant state file " + missing + "/DumpPlantStateAt0002000000"),
              std::string::npos)
        << err;

    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    dir_.UseAsOutput();
    ASSERT_EQ(symlink("/dev/full", Path("DumpPlantStateAt0000050000").c_str()), 0);
    testing::internal::CaptureStderr();
    WritePlantToFile(50000);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("error writing plant state file " + Path("DumpPlantStateAt0000050000")),
              std::string::npos)
        << err;
}

}  // namespace
