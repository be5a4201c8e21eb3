// Cell-to-cell diffusion through plasmodesmata, with the loss from the outer
// root cap and the first columella tier near the tip.
#include "rootsim.h"

#include "cellular_diffusion.h"
#include "plan.h"

void CellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
                       double topValue) {
    DiffuseBetweenCells(values, vertical, horizontal, drainTop, topValue, plan::Landmarks::PLTS_TIP_LOSS);
}
