// The b family's measurements: the total auxin, the point histories, the
// profiles along the root and the extra measurements, with rootsim's rules
// (machinery/measurements.h, rules/profiles.h) at the family's columns and
// rows.  b3 writes the grid profiles without their tip section.
#include "bfamily.h"

#include "measurements.h"
#include "plan.h"
#include "profiles.h"

namespace {

constexpr rules::GridProfilePlan kGridProfiles = {
    bplan::PROFILE_TIP_LAST_ROW, bplan::PROFILE_FIRST_ROW, bplan::PROFILE_LAST_ROW,
    bplan::PROFILE_COL_RC1,      bplan::PROFILE_COL_EPI,   bplan::PROFILE_COL_CORT,
    bplan::PROFILE_COL_ENDO,     bplan::PROFILE_COL_PERI,  bplan::PROFILE_COL_VASC1,
    bplan::PROFILE_COL_VASC2,    bplan::PROFILE_COL_VASC3,
};

}  // namespace

void SaveTotAuxin(int t) { AppendTotalAuxin(t); }

void SaveTemp(int t, int column, int row) { AppendPointHistory(t, column, row); }

void SaveGradGridRes(int t) { rules::WriteGridProfiles(t, kGridProfiles); }

void SaveGradCellularRes(int t) {
    rules::WriteCellProfiles(t, {bplan::CELLULAR_COL_EPI, bplan::CELLULAR_COL_CORTEX, bplan::CELLULAR_COL_ENDO,
                                 bplan::CELLULAR_COL_VASC});
}

void ExtraMeasurements(int t) {
    rules::WriteExtraMeasurements(t, {bplan::EXTRA_TOP_LRC_COL, bplan::EXTRA_PIN_COL,
                                      bfamily::Installed().extraHeightRow, bplan::EXTRA_COL_A, bplan::EXTRA_COL_B});
}

namespace b3 {

// The older profiles: the body section of every file only (the tip section,
// first point of each tissue per row, came later).
void SaveGradGridRes(int t) {
    rules::GridProfilePlan plan = kGridProfiles;
    plan.tipLastRow = -1;
    rules::WriteGridProfiles(t, plan);
}

}  // namespace b3
