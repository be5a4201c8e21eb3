// Links the delivered relocatable objects into a program of its own and builds
// the initial root through them.
#include <gtest/gtest.h>

#include "rootsim.h"

TEST(DeliveredObjects, InitPlantThroughObjects) {
    MakeArrays();
    InitPlant();
    EXPECT_EQ(actcells, 364);
    // The layout is mirror-symmetric about the axis.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) ASSERT_EQ(Tc[i][j], Tc[MIRRORSUM - i][j]);
    FreeArrays();
}
