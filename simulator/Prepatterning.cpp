// Carrier prepatterns and transport coefficients.
//
// UpdateMembraneProteinsAndFluxes places the PIN1-type, PIN2-type and AUX1
// carriers on the membrane points of every cell (dimensionless weights that
// depend on tissue, membrane side, position and zonation), and from them and
// the cells' carrier levels rebuilds every coefficient of the auxin step:
// diffusion weights, membrane influx and efflux, production and decay, and the
// source and sink at the top of the tissue.
//
// The machinery's sweep (carrier_sweep.h) runs the rules over the rows of
// each column pair that hold tissue, on the transport step's threads; all
// outputs of a point but the coefficients toward its neighbours are formed
// here, those in the sweep's second pass once every carrier amount is known.
#include "carrier_rules.h"
#include "carrier_sweep.h"
#include "coefficients.h"
#include "rootsim.h"

namespace {

using namespace carrierrules;

constexpr MembranePermeability kPermeability = {INFLUX_BASE, INFLUX_PER_AUX1, EFFLUX_BASE, EFFLUX_PER_PIN};

// Per-call values shared by the threads.
int epiCount = 0;
int epiBoundaries[EPI_MAX_BOUNDARIES];

// Carrier patterns and amounts of column c over rows lo..hi, the PIN patterns
// being in place already; then production and decay.
void ColumnCarriers(int c, int lo, int hi) {
    const int* tc = Tc[c];
    const int* cell = Cell[c];
    const double* pin1 = PinPrePat[c];
    const double* pin2 = Pin2PrePat[c];
    double* aux1 = Aux1PrePat[c];
    double* m1 = Cpin1M[c];
    double* m2 = Cpin2M[c];
    double* ma = Aux1M[c];
    for (int j = lo; j <= hi; j++) {
        const int x = cell[j];
        if (x == -1) {
            StoreIfChanged(&aux1[j], 0.0);
            StoreIfChanged(&m1[j], 0.0);
            StoreIfChanged(&m2[j], 0.0);
            StoreIfChanged(&ma[j], 0.0);
            continue;
        }
        const double w = tc[j] == TC_MEMBRANE ? Aux1Weight(c, j, x, epiCount, epiBoundaries) : 0.0;
        StoreIfChanged(&aux1[j], w);
        StoreIfChanged(&m1[j], pin1[j] * Pin[x]);
        StoreIfChanged(&m2[j], pin2[j] * Pin2[x]);
        StoreIfChanged(&ma[j], w * Aux1[x]);
    }
    ColumnMetabolism(c, lo, hi, BaseProduction);
}

// Everything of pair p over rows lo..hi but the coefficients toward the
// neighbours.
void PairCarriers(int p, int lo, int hi) {
    const int L = p, R = MIRRORSUM - p;
    double* pin1 = PinPrePat[L];
    double* pin2 = Pin2PrePat[L];
    for (int j = lo; j <= hi; j++) {
        int grid;
        double v;
        LeftPinWeight(L, j, &grid, &v);
        StoreIfChanged(&pin1[j], grid == PAT_PIN1 ? v : 0.0);
        StoreIfChanged(&pin2[j], grid == PAT_PIN2 ? v : 0.0);
    }
    if (R != L) {
        double* mirror1 = PinPrePat[R];
        double* mirror2 = Pin2PrePat[R];
        for (int j = lo; j <= hi; j++) {
            StoreIfChanged(&mirror1[j], pin1[j]);
            StoreIfChanged(&mirror2[j], pin2[j]);
        }
    }
    ColumnCarriers(L, lo, hi);
    if (R != L) ColumnCarriers(R, lo, hi);
}

}  // namespace

void UpdateMembraneProteinsAndFluxes(int time) {
    if (time == 0) ResetZonation();
    epiCount = EpidermalBoundaries(epiBoundaries);
    // At time 0 the state is new (start or reload): nothing is known of what
    // the grids held before, so every row is written.
    SweepCarrierPairs(time == 0, PairCarriers, kPermeability);
}
