// The auxin transport step: the line solver, conservation, isolated points,
// the cell means, the once-per-run symmetry report and agreement with the
// plain whole-line form of the step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "coefficients.h"
#include "rootsim.h"
#include "test_support.h"
#include "transport_reference.h"
#include "transport_tissue.h"

using testsupport::StateGuard;
using namespace transporttissue;

namespace {

bool SameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

// A closed, irregular patch of tissue: two files of cells of different
// heights on both sides of the axis, a cell across the axis and one cell
// without a mirror image.
void BuildPatch() {
    ClearToOutside();
    AddCellPair(90, 100, 300, 320, 7);
    AddCellPair(90, 100, 322, 335, 7);
    AddCellPair(102, 110, 300, 312, 9);
    AddCellPair(102, 110, 314, 340, 9);
    AddCell(112 - 4, 112 + 4, 342, 350, 11);
    AddCell(60, 70, 302, 318, 5);
}

// A field that differs from point to point.
void FillField(double base) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            Caux1[i][j] = Tc[i][j] == TC_OUTSIDE ? 0.0 : base + 0.37 * ((i * 7 + j * 13) % 29);
}

void SetCarrierLevels() {
    for (int x = 0; x < actcells; x++) {
        Pin[x] = 40 + 3 * x;
        Pin2[x] = 25 + x;
        Aux1[x] = 60 - 2 * x;
        Yuc3[x] = 5 * x;
        Gh317[x] = 10;
        Gh33[x] = 20 + x;
        CellZonationState[x] = 30;
    }
}

}  // namespace

TEST(Tridiagonal, SingleUnknown) {
    StateGuard guard;
    b[0] = 4.0;
    rhs[0] = 10.0;
    a[0] = 123.0;  // not read
    c[0] = 456.0;  // not read
    dsolvetridiag(1);
    EXPECT_EQ(res[0], 2.5);
    EXPECT_EQ(rhs[0], 2.5);
}

TEST(Tridiagonal, SolvesKnownSystemAndCopiesBack) {
    StateGuard guard;
    // [2 1 0; 1 3 1; 0 1 2] x = [4 10 8] has the solution (1, 2, 3).
    double lo[3] = {0, 1, 1}, di[3] = {2, 3, 2}, up[3] = {1, 1, 0}, r[3] = {4, 10, 8};
    for (int k = 0; k < 3; k++) {
        a[k] = lo[k];
        b[k] = di[k];
        c[k] = up[k];
        rhs[k] = r[k];
    }
    rhs[3] = 99.0;  // beyond the system: untouched
    dsolvetridiag(3);
    EXPECT_DOUBLE_EQ(res[0], 1.0);
    EXPECT_DOUBLE_EQ(res[1], 2.0);
    EXPECT_DOUBLE_EQ(res[2], 3.0);
    for (int k = 0; k < 3; k++) EXPECT_EQ(rhs[k], res[k]);
    EXPECT_EQ(rhs[3], 99.0);
}

TEST(Tridiagonal, FullLengthLinesHaveSmallResidual) {
    StateGuard guard;
    for (int n : {NCOLS, NROWS}) {
        std::vector<double> lo(n), di(n), up(n), r(n);
        for (int k = 0; k < n; k++) {
            lo[k] = -0.5 - 0.01 * (k % 7);
            up[k] = -0.3 - 0.02 * (k % 5);
            di[k] = 1.0 - lo[k] - up[k];
            r[k] = std::sin(0.1 * k) + 2.0;
        }
        for (int k = 0; k < n; k++) {
            a[k] = lo[k];
            b[k] = di[k];
            c[k] = up[k];
            rhs[k] = r[k];
        }
        dsolvetridiag(n);
        double worst = 0;
        for (int k = 0; k < n; k++) {
            double ax = di[k] * res[k];
            if (k > 0) ax += lo[k] * res[k - 1];
            if (k < n - 1) ax += up[k] * res[k + 1];
            worst = std::max(worst, std::fabs(ax - r[k]));
        }
        EXPECT_LT(worst, 1e-12) << "n = " << n;
    }
}

TEST(Tridiagonal, EmptySystemTouchesNothing) {
    StateGuard guard;
    res[0] = 7.0;
    rhs[0] = 5.0;
    dsolvetridiag(0);
    EXPECT_EQ(res[0], 7.0);
    EXPECT_EQ(rhs[0], 5.0);
}

TEST(TransportStep, IsolatedPointKeepsItsValue) {
    StateGuard guard;
    ClearToOutside();
    // A cytoplasm point and a wall point, each surrounded by outside points,
    // with every coefficient 0 (nothing couples to the outside).
    Tc[50][500] = TC_CYTO;
    Tc[70][800] = TC_WALL;
    Caux1[50][500] = 3.7;
    Caux1[70][800] = 0.123456789;
    counter2 = 1;
    for (int s = 0; s < 5; s++) UpdateAuxin(0);
    EXPECT_EQ(Caux1[50][500], 3.7);
    EXPECT_EQ(Caux1[70][800], 0.123456789);
}

TEST(TransportStep, OutsidePointsAreNeverWritten) {
    StateGuard guard;
    BuildPatch();
    SetCarrierLevels();
    UpdateMembraneProteinsAndFluxes(1);
    FillField(10.0);
    Caux1[20][20] = -5.0;  // an outside point with a stale value
    counter2 = 1;
    UpdateAuxin(0);
    EXPECT_EQ(Caux1[20][20], -5.0);
    EXPECT_EQ(Caux2[20][20], 0.0);
    EXPECT_EQ(Cauxint[20][20], 0.0);
}

TEST(TransportStep, ClosedTissueConservesAuxin) {
    StateGuard guard;
    BuildPatch();
    SetCarrierLevels();
    UpdateMembraneProteinsAndFluxes(1);
    // No production and no decay, including the source and sink at the top.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) paux[i][j] = daux[i][j] = 0;
    FillField(5.0);
    counter2 = 1;
    const double before = TotalAuxin();
    std::vector<double> start(Caux1[0], Caux1[0] + NCOLS * NROWS);
    for (int s = 0; s < 100; s++) UpdateAuxin(0);
    const double after = TotalAuxin();
    EXPECT_NEAR(after, before, 1e-9 * before);
    // Transport did happen.
    double moved = 0;
    for (size_t k = 0; k < start.size(); k++) moved += std::fabs(Caux1[0][k] - start[k]);
    EXPECT_GT(moved, 1.0);
}

TEST(TransportStep, UniformCellWithoutMembraneTransportStaysUniform) {
    StateGuard guard;
    ClearToOutside();
    int x = AddCell(40, 60, 400, 440, 6);
    SetCarrierLevels();
    UpdateMembraneProteinsAndFluxes(1);
    CoefficientRecordsFromCarriers();
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            paux[i][j] = daux[i][j] = 0;
            for (int k = 0; k < 4; k++) Inf[i][j][k] = Eff[i][j][k] = 0;
            Caux1[i][j] = Cell[i][j] == x ? 25.0 : 0.0;
        }
    }
    TransportCoefficientsChanged();  // the step follows the records edited here
    counter2 = 1;
    for (int s = 0; s < 20; s++) UpdateAuxin(0);
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            if (Cell[i][j] == x) {
                ASSERT_NEAR(Caux1[i][j], 25.0, 1e-12) << i << " " << j;
            } else if (Tc[i][j] == TC_WALL) {
                ASSERT_EQ(Caux1[i][j], 0.0);
            }
        }
    }
}

TEST(TransportStep, CellMeansComeFromTheFieldBeforeTheStep) {
    StateGuard guard;
    BuildPatch();
    SetCarrierLevels();
    UpdateMembraneProteinsAndFluxes(1);
    FillField(3.0);
    // Sums in scan order: column outer, row inner.
    std::vector<double> expect(MAXCELLS, 0.0);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] != -1) expect[Cell[i][j]] += Caux1[i][j];
    for (int k = 0; k < MAXCELLS; k++) expect[k] *= InvCellSizes[k];
    MeanCells[actcells + 3] = 77.0;  // unused numbers end as 0
    counter2 = 1;
    UpdateAuxin(0);
    for (int k = 0; k < MAXCELLS; k++) ASSERT_TRUE(SameBits(MeanCells[k], expect[k])) << k;
    // The field did change in this step, so the means are not those of the new field.
    double sumNew = 0;
    for (int i = 60; i <= 70; i++)
        for (int j = 302; j <= 318; j++) sumNew += Caux1[i][j];
    EXPECT_NE(sumNew * InvCellSizes[actcells - 1], MeanCells[actcells - 1]);
}

TEST(TransportStep, AgreesBitForBitWithTheWholeLineForm) {
    StateGuard guard;
    BuildPatch();
    SetCarrierLevels();
    UpdateMembraneProteinsAndFluxes(1);
    CoefficientRecordsFromCarriers();  // what the whole-line form reads
    FillField(2.0);
    // Stale values on outside points must not matter to either form.
    for (int j = 0; j < NROWS; j += 37) Cauxint[150][j] = Caux2[150][j] = 1e3;

    const size_t total = static_cast<size_t>(NCOLS) * NROWS;
    std::vector<double> c1(Caux1[0], Caux1[0] + total), ci(Cauxint[0], Cauxint[0] + total),
        c2(Caux2[0], Caux2[0] + total);
    counter2 = 1;
    for (int s = 0; s < 30; s++) transportref::ReferenceUpdateAuxin(0);
    std::vector<double> r1(Caux1[0], Caux1[0] + total), ri(Cauxint[0], Cauxint[0] + total),
        r2(Caux2[0], Caux2[0] + total), rm(MeanCells, MeanCells + MAXCELLS);

    std::copy(c1.begin(), c1.end(), Caux1[0]);
    std::copy(ci.begin(), ci.end(), Cauxint[0]);
    std::copy(c2.begin(), c2.end(), Caux2[0]);
    for (int s = 0; s < 30; s++) UpdateAuxin(0);
    SecondHalfStepField();  // the step leaves Caux2 to be formed on demand

    EXPECT_EQ(std::memcmp(r1.data(), Caux1[0], total * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(ri.data(), Cauxint[0], total * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(r2.data(), Caux2[0], total * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(rm.data(), MeanCells, MAXCELLS * sizeof(double)), 0);
    // And the step is not trivial.
    EXPECT_NE(r1, c1);
}

// The symmetry report: two single points at columns 10 and MIRRORSUM - 10 of
// a row, with no coupling, so the step keeps their values.
class SymmetryCheck : public ::testing::Test {
protected:
    StateGuard guard;
    testsupport::TempDir out;
    void SetUp() override {
        ClearToOutside();
        counter2 = 0;
        out.UseAsOutput();  // the report writes a picture set
    }
    // The first line printed (the picture set adds its own lines after it).
    static std::string FirstLine(const std::string& s) {
        size_t end = s.find('\n');
        return end == std::string::npos ? s : s.substr(0, end + 1);
    }
    bool PicturesWritten() const {
        return testsupport::FileExists(out.path() + "/Aux_00000100.png");
    }
    void Place(int row, double left, double right) {
        Tc[10][row] = TC_CYTO;
        Tc[MIRRORSUM - 10][row] = TC_CYTO;
        Caux1[10][row] = left;
        Caux1[MIRRORSUM - 10][row] = right;
    }
    std::string Step() {
        testing::internal::CaptureStdout();
        UpdateAuxin(100);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(SymmetryCheck, DifferenceOf0002IsReportedOnce) {
    Place(500, 1.002, 1.0);
    std::string printed = Step();
    EXPECT_EQ(FirstLine(printed),
              "something is wrong in auxin levels at 10 500 -1 (1.0020000000 10020 1) and  "
              "214 500 -1(1.0000000000 10000 1)\n");
    EXPECT_EQ(counter2, 1);
    EXPECT_TRUE(PicturesWritten());
    // The check is off for the rest of the run, even for a larger difference.
    Place(900, 0.5, 7.0);
    EXPECT_EQ(Step(), "");
    EXPECT_EQ(counter2, 1);
}

TEST_F(SymmetryCheck, FirstOfSeveralInRowOrderOnly) {
    Place(700, 2.0, 1.0);
    Tc[20][600] = Tc[MIRRORSUM - 20][600] = TC_CYTO;
    Caux1[20][600] = 1.0;
    Caux1[MIRRORSUM - 20][600] = 1.5;  // lower row: reported first, and alone
    std::string printed = Step();
    EXPECT_EQ(FirstLine(printed),
              "something is wrong in auxin levels at 20 600 -1 (1.0000000000 10000 1) and  "
              "204 600 -1(1.5000000000 15000 1)\n");
    EXPECT_EQ(printed.find("something", 1), std::string::npos) << printed;
}

TEST_F(SymmetryCheck, DifferenceOf00009IsNotReported) {
    Place(500, 1.0009, 1.0);
    Place(501, 1.0, 1.0009);
    EXPECT_EQ(Step(), "");
    EXPECT_EQ(counter2, 0);
    EXPECT_FALSE(PicturesWritten());
    // A right-half point whose mirror is outside is not compared.
    Tc[MIRRORSUM - 30][800] = TC_CYTO;
    Caux1[MIRRORSUM - 30][800] = 5.0;
    EXPECT_EQ(Step(), "");
}

TEST_F(SymmetryCheck, HugeDifferenceIsReportedWithoutOverflow) {
    Place(400, 1e300, -1e300);
    std::string printed = Step();
    EXPECT_NE(printed.find("something is wrong in auxin levels at 10 400"), std::string::npos);
    EXPECT_EQ(counter2, 1);
}

// A value that is not a number differs from anything; found in the last lane
// of its group of rows as in the first.
TEST_F(SymmetryCheck, NotANumberIsReportedInAnyLane) {
    Place(503, 1.0, 1.0);
    Caux1[MIRRORSUM - 10][503] = std::nan("");
    std::string printed = Step();
    EXPECT_NE(printed.find("something is wrong in auxin levels at 10 503"), std::string::npos) << printed;
    EXPECT_EQ(counter2, 1);
}
