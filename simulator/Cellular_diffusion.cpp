// Cell-to-cell diffusion of a per-cell quantity through plasmodesmata.
#include "rootsim.h"

void CellularDiffusion(double*, double, double, bool, double) {}
