// Cell-to-cell diffusion of a per-cell quantity through plasmodesmata.
#include <gtest/gtest.h>

#include <vector>

#include "rootsim.h"
#include "test_support.h"
#include "transport_tissue.h"

using testsupport::StateGuard;
using namespace transporttissue;

namespace {

class Cellular : public ::testing::Test {
protected:
    StateGuard guard;
    std::vector<double> v = std::vector<double>(MAXCELLS, 0.0);
    void SetUp() override { ClearToOutside(); }
    void Densities(int x, double p) {
        for (int s = 0; s < 4; s++) Plasmodesmatapattern[x][s] = p;
    }
};

}  // namespace

TEST_F(Cellular, LoneCellKeepsItsValue) {
    int x = AddCell(60, 70, 400, 430, 6);
    v[x] = 5.0;
    CellularDiffusion(v.data(), 0.3, 0.3, false, 0.0);
    EXPECT_DOUBLE_EQ(v[x], 5.0);
}

TEST_F(Cellular, TwoCellsSideBySide) {
    // Cells of 11 x 31 points, one wall column between them: 31 facing pairs.
    int left = AddCell(60, 70, 400, 430, 6);
    int right = AddCell(72, 82, 400, 430, 6);
    const double p1 = 0.8, p2 = 0.4, r = 1e-3;
    Densities(left, p1);
    Densities(right, p2);
    v[left] = 1.0;
    v[right] = 0.0;
    CellularDiffusion(v.data(), 0.0, r, false, 0.0);
    const double N = 11 * 31, m = 31;
    const double change = m * 0.5 * r * (p1 + p2) / N;
    EXPECT_NEAR(v[left], 1.0 - change, 1e-13);
    EXPECT_NEAR(v[right], change, 1e-13);
    // The horizontal rate alone moves it: with only a vertical rate nothing moves.
    v[left] = 1.0;
    v[right] = 0.0;
    CellularDiffusion(v.data(), r, 0.0, false, 0.0);
    EXPECT_DOUBLE_EQ(v[left], 1.0);
    EXPECT_EQ(v[right], 0.0);
}

TEST_F(Cellular, CellsAboveOneAnotherUseTheVerticalRate) {
    int low = AddCell(60, 70, 400, 430, 6);
    int high = AddCell(60, 70, 432, 450, 6);
    v[low] = 2.0;
    v[high] = 1.0;
    const double r = 1e-2;
    CellularDiffusion(v.data(), r, 0.0, false, 0.0);
    // 11 facing pairs, density 1 on both sides.
    EXPECT_NEAR(v[low], 2.0 - 11 * 0.5 * r * 2 / (11.0 * 31), 1e-13);
    EXPECT_NEAR(v[high], 1.0 + 11 * 0.5 * r * 2 / (11.0 * 19), 1e-13);
}

TEST_F(Cellular, WallWidthLimitsTheSearch) {
    // Membranes four points apart (a wall three wide) still trade; a wall
    // five wide stops the search.
    int a1 = AddCell(60, 70, 400, 430, 6);
    int a2 = AddCell(74, 84, 400, 430, 6);
    for (int j = 399; j <= 431; j++)
        for (int i = 71; i <= 73; i++) Tc[i][j] = TC_WALL;
    int b1 = AddCell(60, 70, 600, 630, 6);
    int b2 = AddCell(76, 86, 600, 630, 6);
    for (int j = 599; j <= 631; j++)
        for (int i = 71; i <= 75; i++) Tc[i][j] = TC_WALL;
    v[a1] = v[b1] = 1.0;
    v[a2] = v[b2] = 0.0;
    CellularDiffusion(v.data(), 0.0, 0.01, false, 0.0);
    EXPECT_LT(v[a1], 1.0);
    EXPECT_GT(v[a2], 0.0);
    EXPECT_DOUBLE_EQ(v[b1], 1.0);
    EXPECT_EQ(v[b2], 0.0);
}

TEST_F(Cellular, TopDrainOfEveryColumn) {
    int x = AddCell(60, 70, 400, 430, 6);
    v[x] = 3.0;
    const double r = 1e-3;
    CellularDiffusion(v.data(), r, 0.0, true, 0.0);
    // Each of the 11 columns loses 3 * r at its top point.
    EXPECT_NEAR(v[x], 3.0 - 11 * 3.0 * r / (11.0 * 31), 1e-13);
    // Toward a higher value the top gains.
    v[x] = 3.0;
    CellularDiffusion(v.data(), r, 0.0, true, 5.0);
    EXPECT_NEAR(v[x], 3.0 + 11 * 2.0 * r / (11.0 * 31), 1e-13);
}

TEST_F(Cellular, TipLossOfOuterRootcapAndFirstColumellaTier) {
    int col = AddCell(100, 124, 100, 110, 13);
    int cap = AddCell(40, 50, 130, 150, 1);  // rows 130..139 lose, 140..150 do not
    int other = AddCell(60, 70, 100, 110, 2);
    v[col] = v[cap] = v[other] = 7.2;
    CellularDiffusion(v.data(), 0.0, 0.0, false, 0.0);
    const double f = 1.388888888888889e-05;
    EXPECT_NEAR(v[col], 7.2 * (1 - f), 1e-12);
    EXPECT_NEAR(v[cap], 7.2 - 7.2 * f * (11 * 10) / (11.0 * 21), 1e-12);
    EXPECT_NEAR(v[other], 7.2, 1e-12);
}

TEST_F(Cellular, ConservesTheTotalWithoutDrainAndLoss) {
    std::vector<int> cells;
    for (int k = 0; k < 4; k++) cells.push_back(AddCell(60 + 12 * k, 70 + 12 * k, 400, 430, 6));
    for (int k = 0; k < 4; k++) cells.push_back(AddCell(60 + 12 * k, 70 + 12 * k, 432, 450 + k, 7));
    for (size_t k = 0; k < cells.size(); k++) {
        v[cells[k]] = 1.0 + 3.0 * static_cast<double>(k % 3);
        Densities(cells[k], 0.5 + 0.25 * static_cast<double>(k % 2));
    }
    auto total = [&] {
        double s = 0;
        for (int x : cells) s += v[x] * CellSizes[x];
        return s;
    };
    double before = total();
    CellularDiffusion(v.data(), 0.02, 0.03, false, 0.0);
    EXPECT_NEAR(total(), before, 1e-12 * before);
}

TEST_F(Cellular, NumbersNotInUseEndAtZero) {
    int x = AddCell(60, 70, 400, 430, 6);
    v[x] = 1.0;
    v[actcells] = 9.0;
    v[MAXCELLS - 1] = 4.0;
    CellularDiffusion(v.data(), 0.0, 0.0, false, 0.0);
    EXPECT_EQ(v[actcells], 0.0);
    EXPECT_EQ(v[MAXCELLS - 1], 0.0);
}

TEST_F(Cellular, MembraneWithoutSideCodeHasNoDensity) {
    // The left cell's facing column has lost its side code: only the right
    // cell's side contributes, and nothing is read outside the density table.
    int left = AddCell(60, 70, 400, 430, 6);
    int right = AddCell(72, 82, 400, 430, 6);
    for (int j = 400; j <= 430; j++) Tmt[70][j] = 0;
    const double p2 = 0.4, r = 1e-3;
    Densities(left, 0.8);
    Densities(right, p2);
    v[left] = 1.0;
    v[right] = 0.0;
    CellularDiffusion(v.data(), 0.0, r, false, 0.0);
    const double change = 31 * 0.5 * r * p2 / (11.0 * 31);
    EXPECT_NEAR(v[left], 1.0 - change, 1e-13);
    EXPECT_NEAR(v[right], change, 1e-13);
}
