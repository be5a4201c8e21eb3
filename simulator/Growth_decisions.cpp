// Growth decisions on rootsim's root: the growth step and its helpers are the
// machinery's (growth_rules.h) with rootsim's landmarks; the step ends with
// the plasmodesmata pattern of the grown tissue.
#include "rootsim.h"

#include "plan.h"

const GrowthPlan kRootsimGrowth = {
    plan::MERISTEM_BASE_ROW,   // baseRow
    plan::EPIDERMIS_COL,       // epidermisCol
    plan::VASC_OUTER_COL,      // factorSourceCol
    plan::CAP_INNER_COL,       // capProbeCol
    plan::CAP_COL,             // shedCol
    plan::STEM_DAUGHTER_ROW,   // stemDaughterRow
    true,                      // shedLog
};

void ResetGrowthSchedule() { ResetGrowthRates(); }

void Growth(int t) {
    GrowthStep(t, kRootsimGrowth);
    Plasmodesmatapatterning();
}

int growtiming(int t, int cell, int flag) { return GrowIfDue(t, cell, flag); }

void maxmzsize() { FindMeristemTop(kRootsimGrowth); }

int epidermalcell(int cell) { return EpidermalCellBeside(cell, kRootsimGrowth); }
