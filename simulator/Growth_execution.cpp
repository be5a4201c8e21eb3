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

unsigned char cullMark[MAXCELLS];

}  // namespace

bool TryDivideCell(int t, int cell) { return rules::DivideKeepingRates(t, cell, plan::STEM_DAUGHTER_ROW); }

void DivideCell(int t, int cell) { TryDivideCell(t, cell); }

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
