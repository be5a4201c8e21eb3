// Small hand-made tissues for the transport and regulation tests: rectangular
// cells with a one-point membrane ring, cytoplasm inside and a one-point wall
// ring around, on a grid that is otherwise outside.
#pragma once

#include <vector>

#include "rootsim.h"

namespace transporttissue {

// Sets every grid point to outside (Tc 3, Tct 0, Tmt 0, Cell -1) and clears
// the cell tables' geometry; actcells becomes 0.
void ClearToOutside();

// Adds a cell covering columns i0..i1 and rows j0..j1 (membrane ring and
// cytoplasm) of tissue type `type`, with a wall ring around it unless a cell
// point is already there.  Membrane sides: the top row is shootward (1), the
// bottom row rootward (2), the column facing the axis inner (3) and the other
// outer (4).  Updates Cell, the bounding box, sizes and actcells and returns
// the new cell's number.
int AddCell(int i0, int i1, int j0, int j1, int type);

// The cell above and its mirror image (columns MIRRORSUM - i1..MIRRORSUM - i0),
// left one first.  A cell that straddles the axis is added once.
std::vector<int> AddCellPair(int i0, int i1, int j0, int j1, int type);

// Sum of Caux1 over every point that is not outside, in scan order.
double TotalAuxin();

}  // namespace transporttissue
