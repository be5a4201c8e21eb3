// Cell-to-cell diffusion through plasmodesmata, with the loss from the outer
// root cap and the first columella tier near the tip.
#include "rootsim.h"

#include "cellular_diffusion.h"
#include "plan.h"

namespace {

constexpr TipLoss kTipLoss = {
    plan::TIP_LOSS_LAST_ROW,  // rows 0..139 lose a fraction
    TCT_COLUMELLA1,           // columella tier 1
    TCT_LRC1,                 // outermost lateral root cap layer
    1.388888888888889e-05,    // 1 / 72000 per call
};

}  // namespace

void CellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
                       double topValue) {
    DiffuseBetweenCells(values, vertical, horizontal, drainTop, topValue, kTipLoss);
}
