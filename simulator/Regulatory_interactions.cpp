// Per-cell gene network, on rootsim's rows: the network itself is the
// machinery's (gene_network.h); PLETHORA then diffuses between cells.
#include "gene_network.h"
#include "plan.h"
#include "rootsim.h"

namespace {

// In the lateral root cap the ARF target falls linearly from 100 at row 161
// to 30 at row 204 (cells starting at row 162 or above); Gh317 is made only
// in outer cells starting above the tip.
constexpr GeneNetworkPlan kGenePlan = {
    162,                 // capRampMinRow
    161,                 // capRampStartRow
    43,                  // capRampRows
    plan::TIP_TOP_ROW,   // gh317MinRow
};

}  // namespace

double positivesigmoid(double x, double K, double M) { return PositiveSigmoid(x, K, M); }

double negativesigmoid(double x, double K, double M) { return NegativeSigmoid(x, K, M); }

double positive4sigmoid(double x, double K, double M) { return Positive4Sigmoid(x, K, M); }

double UpdatePlts(int, int cell, double drive, double dt) { return PltsIncrement(cell, drive, dt); }

void UpdateARRS(int time, int cell, double dt, double* dARR1, double* dARR12) {
    ARRIncrements(time, cell, dt, dARR1, dARR12);
}

void UpdateGeneExpression(int time) {
    GeneNetworkStep(time, kGenePlan);
    CellularDiffusion(Plts, GENE_PLTS_DIFFUSION, GENE_PLTS_DIFFUSION, true, 0);
}
