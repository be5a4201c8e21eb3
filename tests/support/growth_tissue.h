// Hand-made tissues and grid invariants for the growth tests.
#pragma once

#include <string>

#include "rootsim.h"

namespace growthtest {

// Every point outside, no cell, no auxin.
void ClearGrid();

// A rectangular cell whose points (membranes included) fill columns i0..i1 and
// rows j0..j1, with tissue type tct; walls (Tc 0, Tct 20) are put around it
// where the grid is still outside.  Membranes: bottom row rootward (2), top
// row shootward (1), side columns inner (3) on the axis side, outer (4) else.
void AddRectCell(int i0, int i1, int j0, int j1, int tct);

// The same cell and its mirror image about the axis.
void AddMirroredRectCell(int i0, int i1, int j0, int j1, int tct);

// A file of stacked cells over columns i0..i1 with one wall row between
// them: the first cell starts at row j0, heights as given (count entries).
void AddMirroredFile(int i0, int i1, int j0, const int* heights, int count, int tct);

// NumberCells, FindCellCorners, FindCellSizes.
void Renumber();

// The cell whose box has this lower-left corner, -1 when none.
int CellByCorner(int mini, int minj);

// Checks that the boxes, heights, widths and sizes held now equal a full
// recompute (which it leaves in place).  Returns "" or a description.
std::string CompareWithFullGeometry();

// Every cell is one 4-connected region, numbers 0..actcells-1 are all used,
// cytoplasm and membrane points and only they carry numbers.  "" or a
// description.
std::string CheckCellRegions();

// Tc, Tct and Tmt are mirror-symmetric about the axis.  "" or a description.
std::string CheckMirrorSymmetry();

}  // namespace growthtest
