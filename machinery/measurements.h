// Measurements every program writes alike.
#pragma once

#include <string>

// The cell at (column, row), or failing that at the first of (column, row+1),
// (column+1, row+1), (column-1, row), (column-1, row-1) that has one; -1 when
// none does.  Points off the grid have no cell.
int ProbeCell(int column, int row);
// Appends the line of cell `cell` at time t to a point history: t, mean
// auxin, ARF, the delay chain AA..DD, min(ARF, DD), PLETHORA, its production,
// differentiation, ARR1, ARR12, Yuc3.
void AppendProbeLine(const std::string& name, int t, int cell);
// The line printed when a probe point has no cell near it.
void ReportNoProbeCell();

// "DIR/Totalauxin": t, the sum of Caux1 over the grid and its mean.
void AppendTotalAuxin(int t);
// "DIR/TemporalDynamicsPoint<column>_<row>": the probe line of the cell at
// (column, row).
void AppendPointHistory(int t, int column, int row);
