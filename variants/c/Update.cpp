// rootsim_c's transport step, gene step and membrane-protein update.
//
// The membrane-protein update puts each cell's PIN on its membranes by the
// transporter pre-pattern (PinPrePat, built at start-up and moved with the
// tissue): the cortex of cells that have left the meristem switches for good
// from rootward to shootward PIN, and the outer tissues put on a membrane
// facing a wall a share f(a) of their pattern that rises with the auxin a in
// that wall.  AUX1 follows Aux1PrePat.  Production, decay and the transport
// coefficients follow from the amounts as in rootsim; the machinery's sweep
// runs all of it over the rows that hold tissue.
#include "rootsim_c.h"

#include "carrier_sweep.h"
#include "cellular_diffusion.h"
#include "coefficients.h"
#include "gene_network.h"
#include "plan.h"
#include "transport.h"

using namespace croot;

namespace {

// Membrane permeabilities: influx 2.5 + 0.07 AUX1, efflux 1 + 0.2 PIN.
constexpr MembranePermeability kPermeability = {2.5, 0.07, 1.0, 0.2};
constexpr ProductionPlan kProduction = {kTipLastRow, kSteleSourceTopRow, kL3Slope, kL3Offset};
constexpr ZonationRows kZonation = {kTipTopRow, kMeristemTopRow, kZoneBodyLastRow};
constexpr GeneNetworkPlan kGenePlan = {kCapRampMinRow, kCapRampStartRow, kCapRampRows, kTipLastRow};
constexpr TipLoss kTipLoss = {kTipLossLastRow, TCT_COLUMELLA1, TCT_LRC1, 1.388888888888889e-05};

// The zonation state above which a cortex cell has left the meristem.
constexpr int CORTEX_SWITCH_STATE = Z_DIVIDING;

inline double BaseProduction(int i, int j, int t) { return BaseProductionRate(i, j, t, kProduction); }

// Tissues whose PIN on a membrane facing a wall follows the auxin there.
inline bool AuxinResponsive(int t) { return (t >= TCT_LRC1 && t <= TCT_EPIDERMIS) || t == TCT_VASC_CENTRAL; }

// Membrane PIN of the point (i, j) of cell x with pattern share `share`.
inline double MembranePin(int i, int j, int x, double share) {
    if (Tc[i][j] == TC_MEMBRANE && AuxinResponsive(Tct[i][j])) {
        const int s = Tmt[i][j];
        if (s == TMT_SHOOTWARD && Tc[i][j + 1] == TC_WALL) return PinAuxinResponse(Caux1[i][j + 1]) * share * Pin[x];
        if (s == TMT_INNER) {
            const int k = i < AXIS ? i + 1 : i - 1;  // the neighbour toward the axis
            if (Tc[k][j] == TC_WALL) return PinAuxinResponse(Caux1[k][j]) * share * Pin[x];
        }
    }
    return share * Pin[x];
}

// Column c over rows lo..hi: the cortex switch, the membrane amounts, then
// production and decay.
void ColumnCarriers(int c, int lo, int hi) {
    const int* tc = Tc[c];
    const int* cell = Cell[c];
    const int* tct = Tct[c];
    const int* tmt = Tmt[c];
    double* pin = PinPrePat[c];
    const double* aux1 = Aux1PrePat[c];
    double* m1 = Cpin1M[c];
    double* ma = Aux1M[c];
    for (int j = lo; j <= hi; j++) {
        const int x = cell[j];
        if (x == -1) {
            StoreIfChanged(&m1[j], 0.0);
            StoreIfChanged(&ma[j], 0.0);
            continue;
        }
        if (tc[j] == TC_MEMBRANE && tct[j] == TCT_CORTEX && CellZonationState[x] > CORTEX_SWITCH_STATE) {
            if (tmt[j] == TMT_ROOTWARD) StoreIfChanged(&pin[j], 0.0);
            else if (tmt[j] == TMT_SHOOTWARD) StoreIfChanged(&pin[j], 1.0);
        }
        StoreIfChanged(&m1[j], MembranePin(c, j, x, pin[j]));
        StoreIfChanged(&ma[j], aux1[j] * Aux1[x]);
    }
    ColumnMetabolism(c, lo, hi, BaseProduction);
}

void PairCarriers(int p, int lo, int hi) {
    ColumnCarriers(p, lo, hi);
    if (MIRRORSUM - p != p) ColumnCarriers(MIRRORSUM - p, lo, hi);
}

}  // namespace

double PinAuxinResponse(double a) { return 1.5 * a * a / (a * a + 100) + 0.1; }

void UpdateAuxin() {
    const long key = TransportStep(counter2 == 0);
    if (key < 0) return;
    // The first difference from the mirror image is reported once.
    PrintAuxinAsymmetry(key);
    counter2++;
}

void UpdateGeneExpression(int time) {
    GeneNetworkStep(time, kGenePlan);
    DiffuseBetweenCells(Plts, GENE_PLTS_DIFFUSION, GENE_PLTS_DIFFUSION, true, 0, kTipLoss);
}

void UpdateMembraneProteinsAndFluxes(int time) {
    if (time == 0) ResetZonationByTopRow(kZonation);
    // At time 0 the state is new (start or reload): every row is written.
    SweepCarrierPairs(time == 0, PairCarriers, kPermeability);
}
