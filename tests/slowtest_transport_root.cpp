// The transport step on the real initial root: bit-for-bit agreement with the
// plain whole-line form over 200 steps, and mirror symmetry over 2000 steps of
// the transport, gene and carrier schedule.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "coefficients.h"
#include "rootsim.h"
#include "test_support.h"
#include "transport_reference.h"

using testsupport::StateGuard;

namespace {

constexpr size_t kGrid = static_cast<size_t>(NCOLS) * NROWS;

std::vector<double> Snapshot(double** g) { return std::vector<double>(g[0], g[0] + kGrid); }
void Restore(double** g, const std::vector<double>& v) { std::copy(v.begin(), v.end(), g[0]); }

double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

TEST(TransportRoot, TwoHundredStepsMatchTheWholeLineFormBitForBit) {
    StateGuard guard;
    testsupport::TempDir outDir;
    outDir.UseAsOutput();  // where a symmetry report would write its pictures
    maxmzheight = 212;
    InitPlant();
    ASSERT_GT(actcells, 0);
    CoefficientRecordsFromCarriers();  // what the whole-line form reads
    counter2 = 0;

    const auto c1 = Snapshot(Caux1), ci = Snapshot(Cauxint), c2 = Snapshot(Caux2);
    const std::vector<double> m0(MeanCells, MeanCells + MAXCELLS);

    testing::internal::CaptureStdout();
    auto t0 = std::chrono::steady_clock::now();
    for (int s = 1; s <= 200; s++) transportref::ReferenceUpdateAuxin(static_cast<int>(s * 0.2));
    double tRef = Seconds(t0);
    const auto r1 = Snapshot(Caux1), ri = Snapshot(Cauxint), r2 = Snapshot(Caux2);
    const std::vector<double> rm(MeanCells, MeanCells + MAXCELLS);
    const int refCounter = counter2;

    Restore(Caux1, c1);
    Restore(Cauxint, ci);
    Restore(Caux2, c2);
    std::copy(m0.begin(), m0.end(), MeanCells);
    counter2 = 0;
    t0 = std::chrono::steady_clock::now();
    for (int s = 1; s <= 200; s++) UpdateAuxin(static_cast<int>(s * 0.2));
    double tProd = Seconds(t0);
    SecondHalfStepField();  // the step leaves Caux2 to be formed on demand
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(out, "");
    EXPECT_EQ(counter2, refCounter);
    EXPECT_EQ(std::memcmp(r1.data(), Caux1[0], kGrid * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(ri.data(), Cauxint[0], kGrid * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(r2.data(), Caux2[0], kGrid * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(rm.data(), MeanCells, MAXCELLS * sizeof(double)), 0);
    EXPECT_NE(r1, c1);  // auxin did move
    printf("transport step on the initial root: whole lines %.2f ms, production %.2f ms\n",
           1e3 * tRef / 200, 1e3 * tProd / 200);
}

TEST(TransportRoot, TwoThousandStepsStayMirrorSymmetric) {
    StateGuard guard;
    testsupport::TempDir outDir;
    outDir.UseAsOutput();  // where a symmetry report would write its pictures
    maxmzheight = 212;
    InitPlant();
    counter2 = 0;

    testing::internal::CaptureStdout();
    for (long j = 1; j <= 2000; j++) {
        int g = static_cast<int>(j * DT);
        UpdateAuxin(g);
        if (j % 10 == 0) {
            UpdateGeneExpression(g);
            UpdateMembraneProteinsAndFluxes(g);
        }
    }
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    EXPECT_EQ(counter2, 0);

    double worst = 0;
    for (int i = 0; i < AXIS; i++)
        for (int j = 0; j < NROWS; j++)
            worst = std::max(worst, std::fabs(Caux1[i][j] - Caux1[MIRRORSUM - i][j]));
    EXPECT_LE(worst, 1e-9);

    // The cells' states stay mirror-symmetric too: each cell is compared with
    // the cell at the mirror image of one of its points.
    std::vector<int> mirror(MAXCELLS, -1);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] >= 0 && mirror[Cell[i][j]] < 0) mirror[Cell[i][j]] = Cell[MIRRORSUM - i][j];
    int pairs = 0;
    for (int x = 0; x < actcells; x++) {
        int y = mirror[x];
        ASSERT_GE(y, 0) << x;
        if (y == x) continue;
        pairs++;
        EXPECT_NEAR(MeanCells[x], MeanCells[y], 1e-9) << x << " " << y;
        EXPECT_NEAR(Plts[x], Plts[y], 1e-9) << x << " " << y;
        EXPECT_NEAR(Pin[x], Pin[y], 1e-9) << x << " " << y;
        EXPECT_NEAR(ARF[x], ARF[y], 1e-9) << x << " " << y;
    }
    EXPECT_GT(pairs, 300);
}
