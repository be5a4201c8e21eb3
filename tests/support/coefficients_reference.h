// Plain, whole-grid forms of the every-tenth-step passes, kept as the oracle
// that the production code must match bit for bit.
#pragma once

namespace coefref {

// Carrier patterns, carrier amounts and every transport coefficient, as
// UpdateMembraneProteinsAndFluxes computes them, clearing the whole grid first.
void ReferenceUpdateMembraneProteinsAndFluxes(int time);

// One explicit step of cell-to-cell diffusion, as CellularDiffusion does it,
// with scratch grids of its own spread over the whole grid.
void ReferenceCellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
                                double topValue);

}  // namespace coefref
