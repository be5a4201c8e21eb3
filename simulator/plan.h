// The landmarks of rootsim's root on its 225 x 1900 grid: every row, column
// and band that its rules and measurements refer to, named once.
#pragma once

#include "grid.h"

namespace plan {

// Cell tracking: the observation point (pericycle, above the stem cells).
constexpr int TRACK_COL = 83;
constexpr int TRACK_ROW = 166;

// Cell-to-cell diffusion: rows 0..TIP_LOSS_LAST_ROW lose a fraction in the
// outer root cap and the first columella tier.
constexpr int TIP_LOSS_LAST_ROW = 139;

}  // namespace plan
