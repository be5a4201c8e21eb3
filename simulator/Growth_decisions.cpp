// Growth decisions: rootsim's landmarks and growth functions given to the
// growth step it shares with the b family and rootsim_c
// (rules/growth_rules.h), with rootsim's per-cell rates: a cycle time by the
// divisions behind the cell.
#include "rootsim.h"

#include "checkpoint.h"
#include "growth_rules.h"
#include "plan.h"

namespace {

struct RootsimGrowth : plan::Landmarks, rules::RootsimGrowthCalls {
    // Zonation follows the epidermis (column 30); the factors come from the
    // outer vascular file (92); the cap follows at column 22.
    static constexpr int GROWTH_SOURCE_COL = plan::VASC_OUTER_COL;
    static constexpr int GROWTH_CAP_COL = plan::CAP_INNER_COL;
    static constexpr int MAX_GROWING_HEIGHT = 143;
    static void AfterGrowth() { Plasmodesmatapatterning(); }
};

using Rules = rules::GrowthRules<RootsimGrowth>;

const bool registered = (AddCheckpointState("growth.first_time", &Rules::firstTime, sizeof Rules::firstTime), true);

}  // namespace

void ResetGrowthSchedule() { Rules::firstTime = 0; }

void Growth(int t) { Rules::Growth(t); }

int growtiming(int t, int cell, int flag) { return Rules::growtiming(t, cell, flag); }

void maxmzsize() { Rules::maxmzsize(); }

int epidermalcell(int cell) { return Rules::epidermalcell(cell); }
