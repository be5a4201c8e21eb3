// Renumbering of cells with every per-cell value they carry, the grid side
// of a division, and the tracking of cells that pass an observation point.
#pragma once

// Saves cells 0..n-1: their lower-left corners in OldSit and every carried
// table in its Old twin (slots beyond n hold the empty-slot values).
void SaveOldCells(int n);

// Maps the current cells onto the n old ones by their lower-left corners and
// gives each new cell the values of its old self; tracked identities follow
// their cells.  A new cell without a predecessor by its corner takes the
// values of the old cell that held most of its points, or, when none held
// any, neutral values (levels 0, TimePrevGrowth the current time, no
// divisions, flags 0).  expectedNew is the one new cell that may lack a
// predecessor (the upper daughter of a division, whose values the division
// sets), or -1; any other such cell is reported.  When continued >= 0 and has no predecessor by its corner, it
// continues the old cell continuedFrom (the lower daughter of a mother whose
// corner moved).
void RemapCells(int n, int expectedNew, int continued = -1, int continuedFrom = -1);

// The renumbering after any change of the set of cells on the grid:
// StoreOldSituation, NumberCells, FindCellCorners, FindCellSizes and
// MapOldToNewSituation of the program.
void RenumberCells();

// Divides `cell` by a wall in row `wallRow` across its own points, with a
// rootward membrane above and a shootward one below (taking the tissue
// fields of the mother's bottom and top rows), and renumbers.  The daughters
// keep the mother's values; *lower continues the mother.
enum SplitResult {
    SPLIT_SKIPPED,  // the cell tables are full: nothing changed
    SPLIT_FAILED,   // the grid changed but did not give two cells (reported)
    SPLIT_DONE
};
SplitResult SplitCell(int cell, int wallRow, int* lower, int* upper);

// The name format of the cell-tracking logs ("%s/TrackCell_%d").
extern const char* const kTrackCellNameFormat;

// Logs and follows the cells that pass the point (column, row): the first
// call only starts the list; later calls add the cell at the point when it
// is not the one seen last, and on multiples of 100 append a line for every
// tracked cell to its TrackCell_N file (a line that cannot be written is
// reported through OutputFailed).
void TrackCellsAt(int t, int column, int row);
// Makes the next TrackCellsAt call the initialising one (as at program start).
void ResetCellTracking();
