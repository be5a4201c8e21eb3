// rootsim_c's growth: the machinery's growth rules (growth_rules.h) and
// renumbering on the c root's landmarks.  The c program has no cell tracking,
// no plasmodesmata pattern and no log of the shed root cap cells.
#include "rootsim_c.h"

#include "plan.h"
#include "renumbering.h"

using namespace croot;

const GrowthPlan kCGrowth = {
    kGrowthBaseRow,     // baseRow: the tip-top wall
    kEpidermisProbeCol, // epidermisCol
    kFactorSourceCol,   // factorSourceCol
    kCapProbeCol,       // capProbeCol
    kShedCol,           // shedCol
    kStemDaughterRow,   // stemDaughterRow
    false,              // shedLog: the c program writes no shedding log
};

void Growth(int t) { GrowthStep(t, kCGrowth); }

int growtiming(int t, int cell, int flag) { return GrowIfDue(t, cell, flag); }

void maxmzsize() { FindMeristemTop(kCGrowth); }

int epidermalcell(int cell) { return EpidermalCellBeside(cell, kCGrowth); }

void GrowCell(int t, int cell, int flag) { GrowCellByOneRow(t, cell, flag); }

void DivideCell(int t, int cell) { DivideCellInTwo(t, cell, kCGrowth); }

void CullOverflowCells(int) { CullCellsAtTop(); }

void CullLateralRootcap(int t) { ShedLateralRootcap(t, kCGrowth); }

void StoreOldSituation(int n) { SaveOldCells(n); }

void MapOldToNewSituation(int n) { RemapCells(n, -1); }
