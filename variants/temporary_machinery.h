// TEMPORARY, until the machinery split: small local versions of rootsim's
// grid-generic construction pieces, which the b family's layout calls with its
// own landmarks.  Each is rootsim's rule (simulator/Initial_layout.cpp) with the
// landmark it hard-codes turned into a parameter; the machinery/ folder will
// provide them once, compiled per grid, and these go away.  Nothing here knows
// the b family's plan.
#pragma once

namespace tempmachinery {

// NumberCells: raster scan; rows below scanTopRow take the number of
// a numbered point below along their own row (up to scanWidth columns, not
// across a wall) before their left neighbour.  rootsim: (212, 10).
void NumberCellsScanning(int scanTopRow, int scanWidth);
// FindCellCorners and FindCellSizes (no landmark at all).
void FindCellCornersOfGrid();
void FindCellSizesOfGrid();

// Layout step 11: closes diagonal gaps between wall points so that every
// wall line is 4-connected (columns AXIS down to 1, every row, mirrored).
void CloseDiagonalWallGaps();
// Layout step 12: cytoplasm points of rows firstRow..lastRow with a wall
// among their four neighbours become membrane points.  rootsim: (8, 1066).
void MarkMembranes(int firstRow, int lastRow);
// Layout step 13 (and the end of the membrane sides): walls of rows firstRow..lastRow get
// Tct 20.
void MarkWallTissue(int firstRow, int lastRow);
// Layout step 14: in every row of firstRow..lastRow the first vascular run
// from the axis becomes the central file (11), the next the middle file (10),
// the third stays the outer file (9).  rootsim: (8, 1066).
void RelabelVascularFiles(int firstRow, int lastRow);

// Membrane sides, first stage: Tmt 10 (unclassified) on the membrane points of rows
// firstRow..lastRow, 0 on every other point of the grid.
void MarkUnclassifiedMembranes(int firstRow, int lastRow);
// Membrane sides, last stage: prints the symmetry report line for every point whose
// Tmt differs from its mirror's; returns the number of lines printed.
int ReportMembraneAsymmetry();

}  // namespace tempmachinery
