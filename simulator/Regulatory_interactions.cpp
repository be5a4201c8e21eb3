// Per-cell gene network: rootsim's landmarks given to the network it shares
// with the b family (rules/gene_network.h).
#include "rootsim.h"

#include "gene_network.h"
#include "plan.h"

double positivesigmoid(double x, double K, double M) { return rules::PositiveSigmoid(x, K, M); }

double negativesigmoid(double x, double K, double M) { return rules::NegativeSigmoid(x, K, M); }

double positive4sigmoid(double x, double K, double M) { return rules::Positive4Sigmoid(x, K, M); }

double UpdatePlts(int, int cell, double drive, double dt) { return rules::UpdatePltsOf(cell, drive, dt); }

void UpdateARRS(int time, int cell, double dt, double* dARR1, double* dARR12) {
    rules::UpdateARRsOf<plan::Landmarks>(time, cell, dt, dARR1, dARR12);
}

void UpdateGeneExpression(int time) { rules::GeneNetworkStep<plan::Landmarks>(time); }
