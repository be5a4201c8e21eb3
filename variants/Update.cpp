// The b family's updates: the auxin step, the gene network and the carrier
// update.  b1, b2 and b4 use rootsim's network and carrier rules with the
// family's landmarks (rules/gene_network.h, rules/carrier_rules.h); b3 has
// an older network without the cytokinin response and older carrier rules
// with one PIN carrier and AUX1 by tissue alone.
#include "bfamily.h"

#include <cstdio>

#include "carrier_rules.h"
#include "carrier_update.h"
#include "gene_network.h"
#include "plan.h"

namespace {

// b3's carriers: rootsim's rules on b3's root, but every PIN pattern is the
// one PIN carrier's (PinPrePat with the cell's Pin level; the older network
// makes no PIN2-type carrier), corners are not skipped (b3 gives them to the
// lateral sides), and AUX1 follows the tissue alone: 3 in the quiescent
// centre and the inner columella tiers, 1 in the first tier and the cap, in
// the epidermis 1 up to the meristem's top and 0.5 above, in the stele 2 up
// to it and 1 above, none in cortex and endodermis.
struct B3Carriers : rules::CarrierRules<bplan::B3> {
    static void LeftPinWeight(int i, int j, int* grid, double* value) {
        *grid = PAT_NONE;
        *value = 0;
        if (Tc[i][j] != TC_MEMBRANE || Cell[i][j] == -1) return;
        PinWeight(i, j, grid, value);
        if (*grid == PAT_PIN2) *grid = PAT_PIN1;
    }
    static double Aux1Weight(int i, int j, int x, int, const int*) {
        const int h = Tct[(CellMinI[x] + CellMaxI[x]) / 2][(CellMinJ[x] + CellMaxJ[x]) / 2];
        const int o = Tct[i][j];
        if (h >= TCT_COLUMELLA1 + 1 || h == TCT_QC) return 3;
        if (h == TCT_COLUMELLA1 || h <= TCT_LRC4) return 1;
        const bool meristem = CellMinJ[x] <= maxmzheight;
        if (o == TCT_EPIDERMIS) return meristem ? 1 : 0.5;
        if (o >= TCT_PERICYCLE && o <= TCT_VASC_CENTRAL) return meristem ? 2 : 1;
        return 0;
    }
};

using B2Carriers = rules::CarrierUpdate<rules::CarrierRules<bplan::B2>>;
using B3CarrierUpdate = rules::CarrierUpdate<B3Carriers>;

const bool registered = (B2Carriers::RegisterCheckpointState(""), B3CarrierUpdate::RegisterCheckpointState("b3."), true);

}  // namespace

void dsolvetridiag(int n) { SolveTridiagonal(n); }

// The auxin step.  The first difference of the field from its mirror image
// is reported once, with the number of reports so far.
void UpdateAuxin() {
    const long key = TransportStep(counter2 == 0);
    if (key < 0) return;
    PrintAuxinAsymmetry(key);
    counter2++;
    printf("counter is %i\n", counter2);
    fflush(stdout);
}

void UpdateGeneExpression(int time) { rules::GeneNetworkStep<bplan::B2>(time); }

void UpdateMembraneProteinsAndFluxes(int time) { B2Carriers::Run(time); }

void RebuildCarriers() { B2Carriers::Rebuild(); }

namespace b3 {

// The older network: ARF toward 100 everywhere, the delay chain, PLETHORA
// driven by its last stage alone (no cytokinin response: ARR1, ARR12, their
// RGA form and Gh317 are not made), one PIN carrier made at a constant rate,
// AUX1 by auxin, the enzymes as in the newer network, division factor by
// PLETHORA and elongation factor where division factor and PLETHORA are low.
// PLETHORA then diffuses between cells.
void UpdateGeneExpression(int) {
    using namespace rules;
    using namespace rules::genes;
    const double dt = GENE_DT;
    for (int x = 0; x < actcells; x++) {
        GeneChanges c;
        c.ARF = ArfChange(x, ARF_TARGET, dt);
        DelayChainChanges(x, dt, &c.AA, &c.BB, &c.CC, &c.DD);
        c.Plts = UpdatePltsOf(x, PositiveSigmoid(DD[x], CHAIN_K, CHAIN_NORM), dt);
        c.Pin = dt * (CARRIER_PRODUCTION - CARRIER_DECAY * Pin[x]);
        c.Aux1 = dt * (CARRIER_PRODUCTION * PositiveSigmoid(MeanCells[x], 50, 0) - CARRIER_DECAY * Aux1[x]);
        EnzymeChanges(x, dt, &c.Gh33, &c.Yuc3);
        c.divTF = dt * (CARRIER_PRODUCTION * PositiveSigmoid(Plts[x], 35, 0) - CARRIER_DECAY * divTF[x]);
        c.elongTF = dt * (CARRIER_PRODUCTION *
                              (0.5 * (1 - Positive4Sigmoid(divTF[x], 25, 0)) + 0.5 * NegativeSigmoid(Plts[x], 20, 0)) -
                          CARRIER_DECAY * elongTF[x]);
        ApplyGeneChanges(x, c);
    }
    DiffuseBetweenCells(Plts, PLTS_DIFFUSION, PLTS_DIFFUSION, true, 0, bplan::B3::PLTS_TIP_LOSS);
}

void UpdateMembraneProteinsAndFluxes(int time) { B3CarrierUpdate::Run(time); }

void RebuildCarriers() { B3CarrierUpdate::Rebuild(); }

}  // namespace b3
