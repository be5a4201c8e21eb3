// The coefficients of the transport step toward each neighbour of a point.
#pragma once

#include <cstring>

#include "grid.h"
#include "state.h"

// Membrane permeabilities: influx across a membrane is influxBase +
// influxPerAux1 * (AUX1 on the membrane point), efflux effluxBase +
// effluxPerPin * (PIN1 + PIN2 on the membrane point).
struct MembranePermeability {
    double influxBase, influxPerAux1;
    double effluxBase, effluxPerPin;
};

// The influx and efflux rates of a membrane point (or of the points of a
// vector) from its carriers: the one form the records and the transport
// step's factorisation share.
template <typename V>
inline V InfluxRate(const MembranePermeability& perm, V aux1) {
    return perm.influxBase + perm.influxPerAux1 * aux1;
}
template <typename V>
inline V EffluxRate(const MembranePermeability& perm, V pin1, V pin2) {
    return perm.effluxBase + perm.effluxPerPin * (pin1 + pin2);
}

// DiffAuxC, Inf and Eff of point (i, j) toward each neighbour on the grid
// (+column, -column, +row, -row), from Tc, Aux1M, Cpin1M and Cpin2M:
// diffusion weights everywhere inside the tissue, influx and efflux between a
// membrane point and the wall next to it (positive on the membrane side,
// negative on the wall side); every other rate is zero.  The transport step
// forms its line systems from these very numbers.
inline void PointCoefficients(int i, int j, const MembranePermeability& perm, NeighbourRates* inf,
                              NeighbourRates* eff, NeighbourRates* dif) {
    constexpr int OFF_GRID = -1;  // matches no point class
    static const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
    NeighbourRates in = {}, ef = {}, df = {};
    const int p = Tc[i][j];
    if (p != TC_OUTSIDE) {
        const int q[4] = {i + 1 < NCOLS ? Tc[i + 1][j] : OFF_GRID, i > 0 ? Tc[i - 1][j] : OFF_GRID,
                          j + 1 < NROWS ? Tc[i][j + 1] : OFF_GRID, j > 0 ? Tc[i][j - 1] : OFF_GRID};
        for (int k = 0; k < 4; k++) df[k] = DiffusionWeight(p, q[k]);
        if (p == TC_WALL) {
            for (int k = 0; k < 4; k++) {
                if (q[k] != TC_MEMBRANE) continue;
                const int qi = i + di[k], qj = j + dj[k];
                in[k] = -InfluxRate(perm, Aux1M[qi][qj]);
                ef[k] = EffluxRate(perm, Cpin1M[qi][qj], Cpin2M[qi][qj]);
            }
        } else if (p == TC_MEMBRANE) {
            for (int k = 0; k < 4; k++) {
                if (q[k] != TC_WALL) continue;
                in[k] = InfluxRate(perm, Aux1M[i][j]);
                ef[k] = -EffluxRate(perm, Cpin1M[i][j], Cpin2M[i][j]);
            }
        }
    }
    *inf = in;
    *eff = ef;
    *dif = df;
}

// The records DiffAuxC, Inf and Eff of column i over rows lo..hi, from
// PointCoefficients.  The carrier update does not write them (the transport
// step forms its systems from the carriers directly): they are a view for
// whoever reads coefficients point by point, built on demand.  Whoever
// changes records and means the step to use them calls
// TransportCoefficientsChanged before the next step.
void ColumnNeighbourCoefficients(int i, int lo, int hi, const MembranePermeability& perm);

// The records of the whole grid, from the permeabilities the last carrier
// update used (or the program's own, before any update).
void CoefficientRecordsFromCarriers();

// Most outputs keep their bits from one call to the next (patterns, and all
// but the production and decay away from membranes): a value is stored only
// where its bits change, which spares writing its memory back.
inline void StoreIfChanged(double* to, double v) {
    if (memcmp(to, &v, sizeof v) != 0) *to = v;
}
inline void StoreIfChanged(NeighbourRates* to, const NeighbourRates& v) {
    if (memcmp(to, &v, sizeof v) != 0) *to = v;
}
