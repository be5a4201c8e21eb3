// Cell numbering and cell geometry.
#pragma once

// Numbers the cells in a raster scan, rows upward and columns left to right,
// and sets actcells.  A cell point takes the number of its left neighbour or,
// failing that, of the point below; in rows below obliqueTopRow, where cells
// bounded by oblique walls may first show up to the right of a wall stub, it
// looks along its row (up to the next wall, at most scanWidth columns) for a
// numbered point below first.  More cells than the tables hold end the run.
void NumberCellsByScan(int obliqueTopRow, int scanWidth);

// Bounding box (CellMinI/MaxI/MinJ/MaxJ, CellWidth, CellHeight) of every cell.
void ComputeCellCorners();

// Number of points of every cell (CellSizes) and its inverse (InvCellSizes).
void ComputeCellSizes();
