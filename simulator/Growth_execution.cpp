// Cell growth and division, the renumbering and cell tracking of rootsim, and
// the removal of cells at the top of the domain and by shedding of the
// lateral root cap: the machinery's rules (growth_rules.h, renumbering.h)
// with rootsim's landmarks.
#include "rootsim.h"

#include "plan.h"
#include "renumbering.h"

void GrowCell(int t, int cell, int flag) { GrowCellByOneRow(t, cell, flag); }

bool TryDivideCell(int t, int cell) { return DivideCellInTwo(t, cell, kRootsimGrowth); }

void DivideCell(int t, int cell) { DivideCellInTwo(t, cell, kRootsimGrowth); }

void StoreOldSituation(int n) { SaveOldCells(n); }

void MapOldToNewSituation(int n) { RemapCells(n, -1); }

void TrackCells(int t) { TrackCellsAt(t, plan::TRACK_COL, plan::TRACK_ROW); }

void CullOverflowCells(int) { CullCellsAtTop(); }

void CullLateralRootcap(int t) { ShedLateralRootcap(t, kRootsimGrowth); }
