// The grid operations of growth, division and removal of cells: moving
// column contents, copying and removing points, and keeping the boxes and
// sizes of the cells they touch up to date.
#pragma once

// Cell number at a point; points beyond the grid hold no cell.
int CellAtPoint(int i, int j);
// Point class at a point; points beyond the grid are outside.
int TcAtPoint(int i, int j);

// Moves rows lo..hi of column k up by one row (to lo+1..hi+1): point class,
// tissue, side, cell number, auxin and every tissue field.
void ShiftColumnUp(int k, int lo, int hi);
// Copies the contents of (fi, fj) to (ti, tj), auxin included.
void CopyPoint(int fi, int fj, int ti, int tj);
// Copies everything but the auxin.
void CopyTissue(int fi, int fj, int ti, int tj);
// Makes (i, j) an outside point with auxin `auxin`; with clearFields the
// tissue fields marked so are cleared too.
void RemovePoint(int i, int j, double auxin, bool clearFields);
// Counts one row of growth for column k that was moved point by point.
void CountGrowthShift(int k);

// Boxes and sizes of the cells with a point in columns colLo..colHi, rows
// rowLo..rowHi: collect them before and after the change of that region,
// then recompute them (the rest of each such cell lies inside its old box).
void CollectTouchedCells(int colLo, int colHi, int rowLo, int rowHi);
void RecomputeTouchedCells(int colLo, int colHi, int rowLo, int rowHi);
