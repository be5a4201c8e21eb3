// A plant read back from its dump is rebuilt from what the dump holds: its
// carrier patterns and transport coefficients are those the next carrier
// update builds from the restored state, and what the dump lacks is derived.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "growth_drive.h"
#include "rootsim.h"
#include "test_support.h"

using testsupport::StateGuard;
using testsupport::TempDir;

namespace {

// Every carrier pattern, amount and coefficient, bit for bit.
std::vector<unsigned char> CarrierState() {
    std::vector<unsigned char> v;
    auto add = [&v](const void* p, size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        v.insert(v.end(), b, b + n);
    };
    const size_t points = static_cast<size_t>(NCOLS) * NROWS;
    for (double** g : {PinPrePat, Pin2PrePat, Aux1PrePat, Cpin1M, Cpin2M, Aux1M, paux, daux})
        add(g[0], points * sizeof(double));
    for (NeighbourRates** g : {DiffAuxC, Eff, Inf}) add(g[0], points * sizeof(NeighbourRates));
    return v;
}

}  // namespace

TEST(Reload, GrownRootGetsTheCarriersOfItsOwnZonation) {
    StateGuard guard;
    TempDir dir;
    dir.UseAsOutput();
    // A root that has grown: cells in every zone, some divided.
    growthtest::PrepareGrowingRoot(400);
    growthtest::DriveGrowth(60, 57602, 10, false);
    const int t = 58200;
    UpdateMembraneProteinsAndFluxes(t);
    int zones[6] = {0, 0, 0, 0, 0, 0};
    for (int x = 0; x < actcells; x++) {
        const int z = CellZonationState[x];
        zones[z == 0 ? 0 : z == 30 ? 1 : z == 50 ? 2 : z == 60 ? 3 : z == 100 ? 4 : 5]++;
    }
    EXPECT_GT(zones[3] + zones[4], 0) << "no elongating or differentiated cells to test with";
    const int meristemTop = maxmzheight;
    WritePlantToFile(50000);

    FreeArrays();
    MakeArrays();
    maxmzheight = 0;
    ASSERT_TRUE(InitPlantFromFile(50000));
    EXPECT_EQ(maxmzheight, meristemTop);
    const std::vector<unsigned char> reloaded = CarrierState();
    // The next carrier update, from the restored state, changes nothing.
    UpdateMembraneProteinsAndFluxes(t + 2);
    const std::vector<unsigned char> next = CarrierState();
    ASSERT_EQ(reloaded.size(), next.size());
    size_t differ = 0;
    for (size_t k = 0; k < next.size(); k += 8) differ += memcmp(&next[k], &reloaded[k], 8) != 0;
    EXPECT_EQ(differ, 0u) << "values the reload built differently from the next update";
}
