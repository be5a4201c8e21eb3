// Helpers for the tests of the initial root: building it without the carrier
// update, and looking cells up by position and tissue.
#pragma once

#include <map>
#include <vector>

#include "rootsim.h"

namespace layouttest {

// Builds the initial root by the construction steps of InitPlant up to and
// including the initial conditions (so without the carrier update).  The state
// must be allocated.
void BuildRootWithoutCarriers();

// Tissue code held by most points of cell x (ties go to the lower code).
int MajorityTissue(int x);

// Number of points of cell x per tissue code.
std::map<int, int> TissueCounts(int x);

// The cell whose bounding box is exactly the given one, or -1.
int CellWithBox(int minI, int maxI, int minJ, int maxJ);

// The mirror cell of x: the cell at the mirror point of one of x's points.
int MirrorCell(int x);

}  // namespace layouttest
