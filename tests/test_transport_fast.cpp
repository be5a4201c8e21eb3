// The production transport step against a plain solve of whole lines, on
// irregular synthetic tissues with arbitrary coefficients: the fields must be
// the same bit for bit, for any number of threads.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "growth_drive.h"
#include "coefficients.h"
#include "rootsim.h"
#include "transport_reference.h"
#include "test_support.h"
#include "tissue_watch.h"
#include "transport.h"

namespace {

// An irregular tissue: a ragged region of wall, membrane and cytoplasm points
// with arbitrary coefficients (not mirror-symmetric).
void SyntheticTissue(unsigned seed) {
    TissueChanged();
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    for (int i = 0; i < NCOLS; i++) {
        int lo = 5 + static_cast<int>(U(rng) * 40);
        int hi = NROWS - 2 - static_cast<int>(U(rng) * 600);
        for (int j = 0; j < NROWS; j++) {
            bool in = i > 2 + static_cast<int>(seed % 7) && i < NCOLS - 3 && j >= lo && j <= hi && U(rng) > 0.01;
            Tc[i][j] = in ? static_cast<int>(U(rng) * 3) : TC_OUTSIDE;
            Cell[i][j] = in && Tc[i][j] != TC_WALL ? static_cast<int>(U(rng) * 300) : -1;
            Caux1[i][j] = in ? U(rng) * 100 : (U(rng) < 0.5 ? 0.0 : 7.0);
            Cauxint[i][j] = U(rng);  // stale values that must not matter
            paux[i][j] = in ? U(rng) * 0.01 : 0;
            daux[i][j] = in ? U(rng) * 1e-3 : 0;
        }
    }
    const double Kv[3] = {0.0, 4.0, 60.0};
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            for (int q = 0; q < 4; q++) {
                bool in = Tc[i][j] != TC_OUTSIDE;
                int ni = i + (q == 0) - (q == 1), nj = j + (q == 2) - (q == 3);
                bool nin = ni >= 0 && ni < NCOLS && nj >= 0 && nj < NROWS && Tc[ni][nj] != TC_OUTSIDE;
                DiffAuxC[i][j][q] = in && nin ? Kv[static_cast<int>(U(rng) * 3)] : 0.0;
                Eff[i][j][q] = in && nin ? (U(rng) - 0.5) * 3 : 0.0;
                Inf[i][j][q] = in && nin ? (U(rng) - 0.5) * 5 : 0.0;
            }
    for (int k = 0; k < 300; k++) InvCellSizes[k] = 1.0 / (1 + k % 17);
    actcells = 300;
    TransportCoefficientsChanged();
}

struct Snapshot {
    std::vector<double> aux1, auxint, aux2, means;
};

Snapshot Take() {
    Snapshot s;
    s.aux1.assign(Caux1[0], Caux1[0] + NCOLS * NROWS);
    s.auxint.assign(Cauxint[0], Cauxint[0] + NCOLS * NROWS);
    s.aux2.assign(Caux2[0], Caux2[0] + NCOLS * NROWS);
    s.means.assign(MeanCells, MeanCells + MAXCELLS);
    return s;
}

bool SameBits(const std::vector<double>& x, const std::vector<double>& y) {
    return x.size() == y.size() && memcmp(x.data(), y.data(), x.size() * sizeof(double)) == 0;
}

Snapshot RunPlain(unsigned seed, int steps) {
    testsupport::StateGuard guard;
    SyntheticTissue(seed);
    counter2 = 1;  // the synthetic tissue is not symmetric
    for (int s = 0; s < steps; s++) transportref::ReferenceUpdateAuxin(0);
    return Take();
}

Snapshot RunFast(unsigned seed, int steps, int threads) {
    testsupport::StateGuard guard;
    SyntheticTissue(seed);
    SetTransportThreads(threads);
    counter2 = 1;  // the synthetic tissue is not symmetric
    for (int s = 0; s < steps; s++) UpdateAuxin(0);
    SecondHalfStepField();  // what the plain solve writes into Caux2
    return Take();
}

}  // namespace

TEST(FastTransport, BitIdenticalToPlainSolveOnIrregularTissue) {
    for (unsigned seed : {1u, 2u}) {
        Snapshot plain = RunPlain(seed, 3);
        for (int threads : {1, 2, 3}) {
            Snapshot fast = RunFast(seed, 3, threads);
            EXPECT_TRUE(SameBits(plain.aux1, fast.aux1)) << "seed " << seed << " threads " << threads;
            EXPECT_TRUE(SameBits(plain.auxint, fast.auxint)) << "seed " << seed << " threads " << threads;
            EXPECT_TRUE(SameBits(plain.aux2, fast.aux2)) << "seed " << seed << " threads " << threads;
            EXPECT_TRUE(SameBits(plain.means, fast.means)) << "seed " << seed << " threads " << threads;
        }
    }
}

TEST(FastTransport, RefactorisesAfterCoefficientChange) {
    testsupport::StateGuard guard;
    SyntheticTissue(5);
    counter2 = 1;
    UpdateAuxin(0);
    // Change the coefficients and the tissue; the next step must follow them.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE) {
                DiffAuxC[i][j][2] *= 0.5;
                paux[i][j] += 0.001;
            }
    Tc[100][500] = TC_OUTSIDE;
    TransportCoefficientsChanged();
    std::vector<double> start(Caux1[0], Caux1[0] + NCOLS * NROWS);
    UpdateAuxin(0);
    Snapshot fast = Take();
    memcpy(Caux1[0], start.data(), start.size() * sizeof(double));
    transportref::ReferenceUpdateAuxin(0);
    Snapshot plain = Take();
    EXPECT_TRUE(SameBits(plain.aux1, fast.aux1));
}

TEST(FastTransport, ForkedCopyRunsTheStepAlone) {
    // A forked process (as a death test makes) has none of the worker threads:
    // the step must still complete there, with the same result.
    testsupport::StateGuard guard;
    SyntheticTissue(3);
    SetTransportThreads(2);
    counter2 = 1;
    UpdateAuxin(0);
    std::vector<double> start(Caux1[0], Caux1[0] + NCOLS * NROWS);
    UpdateAuxin(0);
    std::vector<double> expected(Caux1[0], Caux1[0] + NCOLS * NROWS);
    memcpy(Caux1[0], start.data(), start.size() * sizeof(double));
    EXPECT_EXIT(
        {
            UpdateAuxin(0);
            bool same = memcmp(expected.data(), Caux1[0], expected.size() * sizeof(double)) == 0;
            exit(same ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

// A root that has grown and divided (cells shifted, new walls, cells shed at
// the top) with the real coefficient update: the same bits as the plain solve
// for one and two threads, on the irregular tissue growth leaves behind.
TEST(FastTransport, GrownRootMatchesThePlainSolve) {
    testsupport::StateGuard guard;
    testsupport::TempDir out;
    out.UseAsOutput();
    growthtest::PrepareGrowingRoot(600);
    growthtest::DriveResult r = growthtest::DriveGrowth(20, 58000, 2000, false);
    ASSERT_EQ(r.failure, "");
    ASSERT_GT(r.divisions, 0);
    UpdateMembraneProteinsAndFluxes(98000);
    CoefficientRecordsFromCarriers();  // what the plain solve reads
    counter2 = 1;
    const Snapshot start = Take();
    auto restore = [&] {
        memcpy(Caux1[0], start.aux1.data(), start.aux1.size() * sizeof(double));
        memcpy(Cauxint[0], start.auxint.data(), start.auxint.size() * sizeof(double));
        memcpy(Caux2[0], start.aux2.data(), start.aux2.size() * sizeof(double));
    };
    for (int s = 0; s < 4; s++) transportref::ReferenceUpdateAuxin(0);
    const Snapshot plain = Take();
    for (int threads : {1, 2}) {
        restore();
        SetTransportThreads(threads);
        for (int s = 0; s < 4; s++) UpdateAuxin(0);
        SecondHalfStepField();
        const Snapshot fast = Take();
        EXPECT_TRUE(SameBits(plain.aux1, fast.aux1)) << threads << " threads";
        EXPECT_TRUE(SameBits(plain.auxint, fast.auxint)) << threads << " threads";
        EXPECT_TRUE(SameBits(plain.aux2, fast.aux2)) << threads << " threads";
        EXPECT_TRUE(SameBits(plain.means, fast.means)) << threads << " threads";
    }
    // Weights changed by hand after the carrier update: the step must follow
    // the records as they are now.
    restore();
    for (int s = 0; s < 2; s++) transportref::ReferenceUpdateAuxin(0);
    const Snapshot plainUnedited = Take();
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_WALL) DiffAuxC[i][j][2] *= 0.5;
    TransportCoefficientsChanged();
    restore();
    for (int s = 0; s < 2; s++) transportref::ReferenceUpdateAuxin(0);
    const Snapshot plainEdited = Take();
    restore();
    for (int s = 0; s < 2; s++) UpdateAuxin(0);
    EXPECT_TRUE(SameBits(plainEdited.aux1, Take().aux1));
    EXPECT_FALSE(SameBits(plainEdited.aux1, plainUnedited.aux1));
}

// The systems factorised straight from the carriers, on a ragged tissue that
// reaches the grid's border (which itself is outside, as in every root): the
// groups of lines next to it, whose neighbours lie on or off the border and
// whose rows are read fewer at once, with arbitrary carrier amounts.  The
// same bits as the plain solve of the records that the carriers give.
TEST(FastTransport, FactorisedFromCarriersUpToTheGridsEdges) {
    const MembranePermeability perm = {0.35, 1.7, 0.12, 2.9};
    auto tissue = [&](unsigned seed) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> U(0.0, 1.0);
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++) {
                const bool border = i == 0 || i == NCOLS - 1 || j == 0 || j == NROWS - 1;
                const bool in = !border && (j < 40 || j >= NROWS - 40 || i < 12 || i >= NCOLS - 12 || U(rng) < 0.3) &&
                                U(rng) > 0.02;
                Tc[i][j] = in ? static_cast<int>(U(rng) * 3) : TC_OUTSIDE;
                Cell[i][j] = in && Tc[i][j] != TC_WALL ? static_cast<int>(U(rng) * 300) : -1;
                Caux1[i][j] = in ? U(rng) * 100 : 3.0;
                paux[i][j] = in ? U(rng) * 0.01 : 0;
                daux[i][j] = in ? U(rng) * 1e-3 : 0;
                Aux1M[i][j] = in ? U(rng) * 2 : 0;
                Cpin1M[i][j] = in ? U(rng) : 0;
                Cpin2M[i][j] = in ? U(rng) * 0.5 : 0;
            }
        for (int k = 0; k < 300; k++) InvCellSizes[k] = 1.0 / (1 + k % 13);
        actcells = 300;
        counter2 = 1;  // not symmetric
        TransportCarriersChanged(perm);
    };
    for (unsigned seed : {5u, 6u}) {
        Snapshot plain;
        {
            testsupport::StateGuard guard;
            tissue(seed);
            CoefficientRecordsFromCarriers();
            for (int s = 0; s < 3; s++) transportref::ReferenceUpdateAuxin(0);
            plain = Take();
        }
        for (int threads : {1, 2}) {
            testsupport::StateGuard guard;
            tissue(seed);
            SetTransportThreads(threads);
            for (int s = 0; s < 3; s++) UpdateAuxin(0);
            SecondHalfStepField();
            const Snapshot fast = Take();
            EXPECT_TRUE(SameBits(plain.aux1, fast.aux1)) << "seed " << seed << " threads " << threads;
            EXPECT_TRUE(SameBits(plain.auxint, fast.auxint)) << "seed " << seed << " threads " << threads;
            EXPECT_TRUE(SameBits(plain.means, fast.means)) << "seed " << seed << " threads " << threads;
        }
    }
}

// Factorisations on the tissue of the one before keep its plan (extents,
// groups, weights across the lines, the cell means' batches) and form the
// rest from the new carriers; a changed tissue is planned anew.  Each time
// the same bits as the plain solve of the records the carriers give.
TEST(FastTransport, PlanKeptOnTheSameTissueOnly) {
    const MembranePermeability perm = {0.35, 1.7, 0.12, 2.9};
    testsupport::StateGuard guard;
    SyntheticTissue(11);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    auto carriers = [&]() {
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++) {
                const bool in = Tc[i][j] != TC_OUTSIDE;
                Aux1M[i][j] = in ? U(rng) * 2 : 0;
                Cpin1M[i][j] = in ? U(rng) : 0;
                Cpin2M[i][j] = in ? U(rng) * 0.5 : 0;
            }
    };
    counter2 = 1;  // not symmetric
    // Two steps from the carriers as given, then the same by the plain solve.
    auto stepsAgree = [&](const char* what) {
        TransportCarriersChanged(perm, TissueGeneration());
        const Snapshot start = Take();
        for (int s = 0; s < 2; s++) UpdateAuxin(0);
        const Snapshot fast = Take();
        const bool kept = TransportLastPlanKept();
        memcpy(Caux1[0], start.aux1.data(), start.aux1.size() * sizeof(double));
        CoefficientRecordsFromCarriers();
        for (int s = 0; s < 2; s++) transportref::ReferenceUpdateAuxin(0);
        EXPECT_TRUE(SameBits(Take().aux1, fast.aux1)) << what;
        EXPECT_TRUE(SameBits(Take().means, fast.means)) << what;
        memcpy(Caux1[0], fast.aux1.data(), fast.aux1.size() * sizeof(double));
        return kept;
    };
    for (int threads : {1, 2}) {
        SetTransportThreads(threads);
        SCOPED_TRACE("threads " + std::to_string(threads));
        carriers();
        stepsAgree("first");
        carriers();
        EXPECT_TRUE(stepsAgree("new carriers, same tissue"));
        // A wall point turned cytoplasm somewhere inside: other weights
        // across the lines, another plan.
        int ci = -1, cj = -1;
        for (int i = NCOLS / 2; i < NCOLS && ci < 0; i++)
            for (int j = NROWS / 2; j < NROWS; j++)
                if (Tc[i][j] == TC_WALL && Tc[i + 1][j] == TC_CYTO) {
                    ci = i;
                    cj = j;
                    break;
                }
        ASSERT_GE(ci, 0);
        Tc[ci][cj] = TC_CYTO;
        Cell[ci][cj] = Cell[ci + 1][cj];
        TissueChanged();
        EXPECT_FALSE(stepsAgree("one point changed"));
        EXPECT_TRUE(stepsAgree("the changed tissue again"));
    }
}

// A diffusion weight across the lines that single precision cannot hold is
// refused, whichever sweep meets it.
TEST(FastTransport, InexactWeightAcrossTheLinesIsRefused) {
    testsupport::StateGuard guard;
    SyntheticTissue(4);
    SetTransportThreads(2);
    counter2 = 1;
    int ci = -1, cj = -1;
    for (int i = NCOLS / 2; i < NCOLS && ci < 0; i++)
        for (int j = NROWS / 3; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE && DiffAuxC[i][j][0] != 0 && DiffAuxC[i][j][2] != 0) {
                ci = i;
                cj = j;
                break;
            }
    ASSERT_GE(ci, 0);
    auto refused = [] {
        TransportCoefficientsChanged();
        EXPECT_EXIT(
            {
                UpdateAuxin(0);
                exit(0);
            },
            ::testing::ExitedWithCode(1), "not exact in single precision");
    };
    // Toward +column: across the column sweep's lines.
    DiffAuxC[ci][cj][0] = 0.1;
    refused();
    // Toward +row: across the row sweep's lines only.
    DiffAuxC[ci][cj][0] = 4.0;
    DiffAuxC[ci][cj][2] = 0.1;
    refused();
}
