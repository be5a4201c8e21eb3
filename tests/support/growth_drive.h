// Drives the real growth step on the real initial root, standing in for the
// gene network with factors set by position.
#pragma once

#include <string>

namespace growthtest {

// Builds the initial root and prepares it as the driver does before its first
// growth step; the zonation the carrier update would give is set by hand:
// tip below row 149, meristem above it, the rest in transition.  Cells
// starting above row oldFrom are close to differentiation (they stop growing
// at their first elongation decision).
void PrepareGrowingRoot(int oldFrom);

// Division and elongation factors by the height of each cell, as the gene
// network would give them: division up to row 189, transition up to 212,
// elongation above.
void SetFactorsByPosition();

struct DriveResult {
    int divisions = 0;      // cells added by divisions (net of nothing removed)
    int maxCells = 0;
    int grownCells = 0;     // growth events seen through TimePrevGrowth
    double growthSeconds = 0;  // time spent inside Growth
    std::string failure;    // first broken invariant, "" when none
};

// Runs `steps` growth steps at times t0, t0 + stride, ..., each after
// SetFactorsByPosition and followed by TrackCells.  With check, every cell is
// tagged before each step and after it the grid, the tags, the geometry,
// the mirror symmetry and the decisions are checked; the run stops at the
// first failure.
DriveResult DriveGrowth(int steps, int t0, int stride, bool check);

}  // namespace growthtest
