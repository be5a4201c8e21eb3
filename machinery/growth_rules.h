// The growth of a root, shared by the programs: the growth step's decisions
// (rates, the factors each cell follows, zonation, the growth pass), growth
// of a cell by one row, division, and the removal of cells at the top of the
// grid and by shedding of the lateral root cap.  A program gives the rows and
// columns of its root; every rule is the same for all.
#pragma once

// Landmarks of a root that growth reads (columns of the left half; the right
// half uses their mirrors).
struct GrowthPlan {
    int baseRow;          // the wall under the first meristem band: growth starts here,
                          // cells wholly below it are tip cells
    int epidermisCol;     // a column of the epidermal file: row bands, reference cells,
                          // the meristem top
    int factorSourceCol;  // a column of the outer vascular file: the cell there gives
                          // a row band its division and elongation factors
    int capProbeCol;      // a column inside the outermost root cap layer, whose cells
                          // follow the epidermal cell beside their base
    int shedCol;          // the outer membrane column of that layer, walked for shedding
    int stemDaughterRow;  // a lower daughter starting at this row keeps a stem cell's count
    bool shedLog;         // each shed cell is logged to DIR/Lateralrootcapculling
};

// The growth step at time t: rates (after a division, for every cell),
// factors, growth rates, the growth pass with its zonation, the cytokinin
// mark, shedding of the lateral root cap and the meristem top.
void GrowthStep(int t, const GrowthPlan& plan);
// Marks the per-cell rates for recomputation at the next growth step (as at
// program start).
void ResetGrowthRates();

// Grows the cell by one row when its time has come (1 / (height * rate) after
// its last growth); returns 1 if it grew.  flag 0 dilutes its levels.
int GrowIfDue(int t, int cell, int flag);
// Adds one row to the cell: the cell and everything above it in its columns
// move up, auxin is diluted (and with flag 0 the cell's levels), then cells
// reaching the top of the grid are removed.
void GrowCellByOneRow(int t, int cell, int flag);
// Divides the cell by a wall through its middle row; both daughters keep the
// mother's levels.  Returns whether the grid changed (false when the cell
// tables are full).
bool DivideCellInTwo(int t, int cell, const GrowthPlan& plan);
// Removes every cell that has a point in row NROWS - 2, counting the
// epidermal ones in the root size of their side.
void CullCellsAtTop();
// Sheds at most one outermost root cap cell per side, with everything above
// it in its columns, once the epidermis beside it elongates; with the plan's
// shedLog, logs each to DIR/Lateralrootcapculling (opened at every call).
void ShedLateralRootcap(int t, const GrowthPlan& plan);

// The top row of the meristem: two rows below the lowest cell of the
// epidermal file whose state is above the transition state (maxmzheight
// unchanged when there is none).
void FindMeristemTop(const GrowthPlan& plan);
// The epidermal cell beside a cell; ends the run with status 1 when there is
// none.
int EpidermalCellBeside(int cell, const GrowthPlan& plan);
