// The coefficients of the transport step toward each neighbour of a point.
#pragma once

#include <cstring>

#include "grid.h"

// Membrane permeabilities: influx across a membrane is influxBase +
// influxPerAux1 * (AUX1 on the membrane point), efflux effluxBase +
// effluxPerPin * (PIN1 + PIN2 on the membrane point).
struct MembranePermeability {
    double influxBase, influxPerAux1;
    double effluxBase, effluxPerPin;
};

// DiffAuxC, Inf and Eff of column i toward each neighbour on the grid
// (+column, -column, +row, -row), over rows lo..hi, from Tc, Aux1M, Cpin1M and
// Cpin2M: diffusion weights everywhere inside the tissue, influx and efflux
// between a membrane point and the wall next to it (positive on the membrane
// side, negative on the wall side); every other rate of those rows is zero.
// Whoever calls it calls TransportCoefficientsChanged before the next step.
void ColumnNeighbourCoefficients(int i, int lo, int hi, const MembranePermeability& perm);

// Most outputs keep their bits from one call to the next (patterns, and all
// but the production and decay away from membranes): a value is stored only
// where its bits change, which spares writing its memory back.
inline void StoreIfChanged(double* to, double v) {
    if (memcmp(to, &v, sizeof v) != 0) *to = v;
}
inline void StoreIfChanged(NeighbourRates* to, const NeighbourRates& v) {
    if (memcmp(to, &v, sizeof v) != 0) *to = v;
}

