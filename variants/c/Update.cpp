// rootsim_c's transport step, gene step and membrane-protein update.
//
// The gene network and the carrier update are the rules rootsim and the b
// family share (rules/gene_network.h, rules/carrier_update.h) on the c root's
// landmarks, with the c root's own carriers: each cell's PIN sits on its
// membranes by the transporter pre-pattern (PinPrePat, built at start-up and
// moved with the tissue), the cortex of cells that have left the meristem
// switches for good from rootward to shootward PIN, and the outer tissues put
// on a membrane facing a wall a share f(a) of their pattern that rises with
// the auxin a in that wall.  AUX1 follows Aux1PrePat.  Production, decay and
// the transport coefficients follow from the amounts as in rootsim.
#include "rootsim_c.h"

#include "carrier_rules.h"
#include "carrier_update.h"
#include "gene_network.h"
#include "plan.h"
#include "transport.h"

using namespace croot;

namespace {

// The zonation state above which a cortex cell has left the meristem.
constexpr int CORTEX_SWITCH_STATE = Z_DIVIDING;

// Tissues whose PIN on a membrane facing a wall follows the auxin there.
inline bool AuxinResponsive(int t) { return (t >= TCT_LRC1 && t <= TCT_EPIDERMIS) || t == TCT_VASC_CENTRAL; }

struct CCarriers : rules::CarrierRules<Landmarks> {
    static constexpr bool PIN_PATTERN_CARRIED = true;
    // AUX1 follows the pattern the tissue carries, which c's own rules change.
    static constexpr bool PATTERNS_FOLLOW_TISSUE = false;

    // The permanent cortex switch on column c, rows lo..hi.
    static void ChangeCarriedPattern(int c, int lo, int hi) {
        const int* tc = Tc[c];
        const int* tct = Tct[c];
        const int* tmt = Tmt[c];
        const int* cell = Cell[c];
        double* pin = PinPrePat[c];
        for (int j = lo; j <= hi; j++) {
            const int x = cell[j];
            if (x == -1 || tc[j] != TC_MEMBRANE || tct[j] != TCT_CORTEX) continue;
            if (CellZonationState[x] <= CORTEX_SWITCH_STATE) continue;
            if (tmt[j] == TMT_ROOTWARD) StoreIfChanged(&pin[j], 0.0);
            else if (tmt[j] == TMT_SHOOTWARD) StoreIfChanged(&pin[j], 1.0);
        }
    }

    // PIN on the membranes: f(a) of the share on the shootward and inner
    // lateral membranes of the outer tissues that face a wall (above, and
    // toward the axis), a the auxin in that wall; the plain share elsewhere.
    static double MembranePin1(int i, int j, int x, double share) {
        if (Tc[i][j] == TC_MEMBRANE && AuxinResponsive(Tct[i][j])) {
            const int s = Tmt[i][j];
            if (s == TMT_SHOOTWARD && Tc[i][j + 1] == TC_WALL)
                return PinAuxinResponse(Caux1[i][j + 1]) * share * Pin[x];
            if (s == TMT_INNER) {
                const int k = i < AXIS ? i + 1 : i - 1;  // the neighbour toward the axis
                if (Tc[k][j] == TC_WALL) return PinAuxinResponse(Caux1[k][j]) * share * Pin[x];
            }
        }
        return share * Pin[x];
    }
    static constexpr bool PIN1_OF_CELL = false;

    // AUX1 on the membranes follows the pattern the tissue carries.
    static double Aux1Weight(int i, int j, int, int, const int*) { return Aux1PrePat[i][j]; }
};

using Update = rules::CarrierUpdate<CCarriers>;

}  // namespace

double PinAuxinResponse(double a) { return 1.5 * a * a / (a * a + 100) + 0.1; }

void UpdateAuxin() {
    const long key = TransportStep(counter2 == 0);
    if (key < 0) return;
    // The first difference from the mirror image is reported once.
    PrintAuxinAsymmetry(key);
    counter2++;
}

void UpdateGeneExpression(int time) { rules::GeneNetworkStep<Landmarks>(time); }

namespace {

// A resumed run continues with the very extents of an uninterrupted one, and
// steps its state from the carriers as that run does.
const bool registered = (Update::RegisterCheckpointState(""), true);

}  // namespace

void UpdateMembraneProteinsAndFluxes(int time) { Update::Run(time); }

void RebuildCarriers() { Update::Rebuild(); }
