// rootsim_c's growth: the growth step, growth, division and removal of cells
// that rootsim and the b family share (rules/growth_rules.h,
// rules/growth_execution.h) on the c root's landmarks, with rootsim's
// division timing (cycle times by the divisions behind a cell).  The c
// program has no cell tracking, no plasmodesmata pattern and no log of the
// shed root cap cells.
#include "rootsim_c.h"

#include "growth_execution.h"
#include "growth_rules.h"
#include "plan.h"
#include "renumbering.h"

using namespace croot;

namespace {

struct CGrowth : Landmarks, rules::RootsimGrowthCalls {
    static void AfterGrowth() {}
};

using Rules = rules::GrowthRules<CGrowth>;

unsigned char cullMark[MAXCELLS];

}  // namespace

void Growth(int t) { Rules::Growth(t); }

int growtiming(int t, int cell, int flag) { return Rules::growtiming(t, cell, flag); }

void maxmzsize() { Rules::maxmzsize(); }

int epidermalcell(int cell) { return Rules::epidermalcell(cell); }

void GrowCell(int t, int cell, int flag) { rules::GrowCellByOneRow(t, cell, flag, CullOverflowCells); }

bool TryDivideCell(int t, int cell) { return rules::DivideKeepingRates(t, cell, kStemDaughterRow); }

void DivideCell(int t, int cell) { TryDivideCell(t, cell); }

void CullOverflowCells(int) {
    rules::MarkCellsInRow(kCullRow, cullMark);
    rules::RemoveMarkedCells(cullMark);
}

void CullLateralRootcap(int t) { rules::ShedLateralRootcap(t, kShedCol, kGrowthBaseRow, false); }

void StoreOldSituation(int n) { SaveOldCells(n); }

void MapOldToNewSituation(int n) { RemapCells(n, -1); }
