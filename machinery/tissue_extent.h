// Where the tissue lies on the grid, for the passes that touch only the rows
// of each column that hold tissue (the carrier update and the cell-to-cell
// diffusion), and how far growth has moved column contents since the carrier
// update last ran.
#pragma once

#include "state.h"

namespace tissueextent {

// Whether rows j0..j0+15 of a column hold a point that is not outside or
// that belongs to a cell (written as one reduction, so that it vectorises).
inline bool AnyTissueIn16(const int* tc, const int* cell, int j0) {
    int acc = 0;
    for (int k = 0; k < 16; k++) acc |= (tc[j0 + k] ^ TC_OUTSIDE) | (cell[j0 + k] + 1);
    return acc != 0;
}

// Rows *lo..*hi of column i hold every point of it that is not outside or
// that belongs to a cell; *lo > *hi when the column holds none.
inline void TissueRows(int i, int* lo, int* hi) {
    const int* tc = Tc[i];
    const int* cell = Cell[i];
    auto in = [&](int j) { return tc[j] != TC_OUTSIDE || cell[j] != -1; };
    int j = NROWS;  // rows j.. hold no tissue
    while (j >= 16 && !AnyTissueIn16(tc, cell, j - 16)) j -= 16;
    while (j > 0 && !in(j - 1)) j--;
    if (j == 0) {
        *lo = 0;
        *hi = -1;
        return;
    }
    *hi = j - 1;
    int b = 0;
    while (b + 16 <= *hi && !AnyTissueIn16(tc, cell, b)) b += 16;
    while (!in(b)) b++;
    *lo = b;
}

}  // namespace tissueextent

// Growth moves the contents of a column upward one row at a time, carrier
// patterns included, and may then remove the points it moved them to without
// clearing every pattern.  It counts the rows each column moved since the
// last call of TakeGrowthShifts for that column, which returns the count and
// starts it again at 0: stale patterns lie at most that many rows above the
// extent the carrier update last wrote.
int TakeGrowthShifts(int column);
