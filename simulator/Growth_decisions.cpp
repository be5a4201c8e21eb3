// Growth decisions: rootsim's landmarks and growth functions given to the
// growth step it shares with the b family (rules/growth_rules.h), and
// rootsim's per-cell rates: a cycle time by the divisions behind the cell.
#include "rootsim.h"

#include "checkpoint.h"
#include "growth_rules.h"
#include "plan.h"

namespace {

// Cycle times of a dividing cell, by the number of divisions behind it.
constexpr int CYCLE_ROOTCAP = 36000;
constexpr int CYCLE_DIV0 = 73800;
constexpr int CYCLE_DIV1 = 55800;
constexpr int CYCLE_DIV2 = 52200;
constexpr int CYCLE_LATER = 36000;
constexpr int ELONGATION_TIME = 25200;
// 1/8 + 1/9 + ... + 1/16 and 1/8 + 1/9 + ... + 1/144.
constexpr double HARMONIC_8_16 = 0.7878718503718504;
constexpr double HARMONIC_8_144 = 2.9576400250862727;

struct RootsimGrowth : plan::Landmarks {
    // Zonation follows the epidermis (column 30); the factors come from the
    // outer vascular file (92); the cap follows at column 22.
    static constexpr int GROWTH_SOURCE_COL = plan::VASC_OUTER_COL;
    static constexpr int GROWTH_CAP_COL = plan::CAP_INNER_COL;
    static constexpr int MAX_GROWING_HEIGHT = 143;
    static constexpr bool FACTORS_ALONG_FILES = true;
    static constexpr bool RATES_AFTER_DIVISION = true;

    static void SetRates(int, int i) {
        int x = Tct[CellMinI[i] + 1][CellMinJ[i] + 1];
        int T;
        if (x <= TCT_LRC4) {
            T = CYCLE_ROOTCAP;
        } else if (CellDivNr[i] == 0) {
            T = CYCLE_DIV0;
        } else if (CellDivNr[i] == 1) {
            T = CYCLE_DIV1;
        } else if (CellDivNr[i] == 2) {
            T = CYCLE_DIV2;
        } else {
            T = CYCLE_LATER;
        }
        Rdiv[i] = HARMONIC_8_16 / T;
        Relong[i] = HARMONIC_8_144 / ELONGATION_TIME;
    }
    static void GrowCell(int t, int cell, int flag) { ::GrowCell(t, cell, flag); }
    static bool DivideCell(int t, int cell) { return TryDivideCell(t, cell); }
    static void CullLateralRootcap(int t) { ::CullLateralRootcap(t); }
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
