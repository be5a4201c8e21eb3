// Carriers and coefficients of the real initial root, and a few transport
// steps of it against the plain whole-line form.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "coefficients.h"
#include "rootsim.h"
#include "test_support.h"
#include "transport_reference.h"

using testsupport::StateGuard;

namespace {

class InitialRoot : public ::testing::Test {
protected:
    StateGuard guard;
    testsupport::TempDir outDir;
    void SetUp() override {
        outDir.UseAsOutput();  // where a symmetry report would write its pictures
        maxmzheight = 212;
        counter2 = 0;
        InitPlant();
        // The records read below and by the whole-line form are a view built
        // on demand; the step itself forms its systems from the carriers.
        CoefficientRecordsFromCarriers();
        ASSERT_GT(actcells, 0);
    }
};

}  // namespace

TEST_F(InitialRoot, SteleMembranesWithoutACellBelowGetHalf) {
    // Rootward stele membranes whose point three rows below holds no cell.
    const int points[][2] = {{98, 141}, {93, 150}, {84, 150}};
    for (auto& p : points) {
        const int i = p[0], j = p[1];
        ASSERT_EQ(Tc[i][j], TC_MEMBRANE) << i << " " << j;
        ASSERT_EQ(Tmt[i][j], 2) << i << " " << j;
        ASSERT_EQ(Cell[i][j - 3], -1) << i << " " << j;
        EXPECT_EQ(PinPrePat[i][j], 0.5) << i << " " << j;
        EXPECT_EQ(PinPrePat[MIRRORSUM - i][j], 0.5) << i << " " << j;
    }
}

TEST_F(InitialRoot, PatternsAndCoefficientsAreMirrorSymmetric) {
    int membranesWithPin = 0;
    for (int i = 0; i < AXIS; i++) {
        const int m = MIRRORSUM - i;
        for (int j = 0; j < NROWS; j++) {
            ASSERT_EQ(PinPrePat[i][j], PinPrePat[m][j]) << i << " " << j;
            ASSERT_EQ(Pin2PrePat[i][j], Pin2PrePat[m][j]) << i << " " << j;
            ASSERT_EQ(Aux1PrePat[i][j], Aux1PrePat[m][j]) << i << " " << j;
            ASSERT_EQ(paux[i][j], paux[m][j]) << i << " " << j;
            ASSERT_EQ(daux[i][j], daux[m][j]) << i << " " << j;
            // Mirror the direction: +column on the left is -column on the right.
            ASSERT_EQ(Eff[i][j][0], Eff[m][j][1]) << i << " " << j;
            ASSERT_EQ(Inf[i][j][2], Inf[m][j][2]) << i << " " << j;
            ASSERT_EQ(DiffAuxC[i][j][1], DiffAuxC[m][j][0]) << i << " " << j;
            if (PinPrePat[i][j] + Pin2PrePat[i][j] > 0) membranesWithPin++;
        }
    }
    EXPECT_GT(membranesWithPin, 1000);
}

TEST_F(InitialRoot, ZonationAndTopBoundary) {
    // Every cell's first zonation follows its top row.
    for (int x = 0; x < actcells; x++) {
        int top = CellMaxJ[x];
        int expect = top < 149 ? 0 : top < 212 ? 30 : 200;
        if (top <= 1065) {
            EXPECT_EQ(CellZonationState[x], expect) << x;
        }
    }
    // The top of every stele file is a source, of every outer file a sink.
    int sources = 0, sinks = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            if (paux[i][j] == 3.15) sources++;
            if (daux[i][j] == 0.1) sinks++;
        }
    EXPECT_GT(sources, 0);
    EXPECT_GT(sinks, 0);
}

TEST_F(InitialRoot, FewStepsMatchTheWholeLineForm) {
    const size_t n = static_cast<size_t>(NCOLS) * NROWS;
    std::vector<double> start(Caux1[0], Caux1[0] + n);
    for (int s = 0; s < 3; s++) transportref::ReferenceUpdateAuxin(0);
    std::vector<double> ref(Caux1[0], Caux1[0] + n);
    std::vector<double> refMeans(MeanCells, MeanCells + MAXCELLS);
    std::copy(start.begin(), start.end(), Caux1[0]);
    for (int s = 0; s < 3; s++) UpdateAuxin(0);
    EXPECT_EQ(std::memcmp(ref.data(), Caux1[0], n * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(refMeans.data(), MeanCells, MAXCELLS * sizeof(double)), 0);
    EXPECT_EQ(counter2, 0);
}
