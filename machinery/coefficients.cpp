// The coefficients of the transport step toward each neighbour: diffusion
// weights from the point classes, membrane influx and efflux from the
// carrier amounts on the membranes.
#include "coefficients.h"

#include "state.h"

void ColumnNeighbourCoefficients(int i, int lo, int hi, const MembranePermeability& perm) {
    constexpr int OFF_GRID = -1;  // matches no point class
    static const int dj[4] = {0, 0, 1, -1};
    const int* tc = Tc[i];
    const int* right = i + 1 < NCOLS ? Tc[i + 1] : nullptr;
    const int* left = i > 0 ? Tc[i - 1] : nullptr;
    // Columns of the carrier amounts of each neighbour (row dj[k]).
    const double* a1[4] = {right ? Aux1M[i + 1] : nullptr, left ? Aux1M[i - 1] : nullptr, Aux1M[i], Aux1M[i]};
    const double* p1[4] = {right ? Cpin1M[i + 1] : nullptr, left ? Cpin1M[i - 1] : nullptr, Cpin1M[i], Cpin1M[i]};
    const double* p2[4] = {right ? Cpin2M[i + 1] : nullptr, left ? Cpin2M[i - 1] : nullptr, Cpin2M[i], Cpin2M[i]};
    NeighbourRates* inf = Inf[i];
    NeighbourRates* eff = Eff[i];
    NeighbourRates* dif = DiffAuxC[i];
    for (int j = lo; j <= hi; j++) {
        const int p = tc[j];
        NeighbourRates in = {}, ef = {}, df = {};
        if (p != TC_OUTSIDE) {
            const int q[4] = {right ? right[j] : OFF_GRID, left ? left[j] : OFF_GRID,
                              j + 1 < NROWS ? tc[j + 1] : OFF_GRID, j > 0 ? tc[j - 1] : OFF_GRID};
            for (int k = 0; k < 4; k++) df[k] = DiffusionWeight(p, q[k]);
            if (p == TC_WALL) {
                for (int k = 0; k < 4; k++) {
                    if (q[k] == TC_MEMBRANE) {
                        const int r = j + dj[k];
                        in[k] = -(perm.influxBase + perm.influxPerAux1 * a1[k][r]);
                        ef[k] = perm.effluxBase + perm.effluxPerPin * (p1[k][r] + p2[k][r]);
                    }
                }
            } else if (p == TC_MEMBRANE) {
                for (int k = 0; k < 4; k++) {
                    if (q[k] == TC_WALL) {
                        in[k] = perm.influxBase + perm.influxPerAux1 * Aux1M[i][j];
                        ef[k] = -(perm.effluxBase + perm.effluxPerPin * (Cpin1M[i][j] + Cpin2M[i][j]));
                    }
                }
            }
        }
        StoreIfChanged(&inf[j], in);
        StoreIfChanged(&eff[j], ef);
        StoreIfChanged(&dif[j], df);
    }
}

