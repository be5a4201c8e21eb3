// Cell growth and division, the renumbering and cell tracking of rootsim, and
// the removal of cells at the top of the domain and by shedding of the
// lateral root cap: rootsim's landmarks given to the rules it shares with the
// b family (rules/growth_execution.h).
#include "rootsim.h"

#include "growth_execution.h"
#include "plan.h"
#include "renumbering.h"

void GrowCell(int t, int cell, int flag) { rules::GrowCellByOneRow(t, cell, flag, CullOverflowCells); }

// ---------------------------------------------------------------------------
// Division.

namespace {

// Divides the cell; returns whether the grid changed.
bool Divide(int t, int cell) {
    int L, U;
    const SplitResult split = rules::DivideAtMiddle(t, cell, plan::STEM_DAUGHTER_ROW, &L, &U);
    if (split != SPLIT_DONE) return split == SPLIT_FAILED;
    // The rates are recomputed for all cells at the next growth step; until
    // then the upper daughter holds the mother's.
    Rdiv[U] = Rdiv[L];
    Relong[U] = Relong[L];
    return true;
}

unsigned char cullMark[MAXCELLS];

}  // namespace

bool TryDivideCell(int t, int cell) { return Divide(t, cell); }

void DivideCell(int t, int cell) { Divide(t, cell); }

// ---------------------------------------------------------------------------
// Renumbering and cell tracking.

void StoreOldSituation(int n) { SaveOldCells(n); }

void MapOldToNewSituation(int n) { RemapCells(n, -1); }

void TrackCells(int t) { TrackCellsAt(t, plan::TRACK_COL, plan::TRACK_ROW); }

// ---------------------------------------------------------------------------
// Culling.

void CullOverflowCells(int) {
    rules::MarkCellsInRow(plan::CULL_ROW, cullMark);
    rules::RemoveMarkedCells(cullMark);
}

void CullLateralRootcap(int t) { rules::ShedLateralRootcap(t, plan::CAP_COL, plan::MERISTEM_BASE_ROW); }
