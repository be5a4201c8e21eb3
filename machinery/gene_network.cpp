// The gene network of every cell: one explicit Euler step of gene time 2.
#include "gene_network.h"

#include <iostream>

#include "state.h"

namespace {

constexpr double GENE_DT = 2.0;                 // gene time per call

// ARF
constexpr double ARF_TARGET = 100.0;
constexpr double ARF_PRODUCTION = 0.001;
constexpr double ARF_AUXIN_SQ = 6.25e-6;
constexpr double ARF_AUXIN_BASE = 2e-4;

// Delay chain
constexpr double CHAIN_PRODUCTION = 0.0065;
constexpr double CHAIN_DECAY = 6.5e-5;
constexpr double CHAIN_K = 60.0;
constexpr double CHAIN_NORM = 100.0;

// PLETHORA
constexpr double PLTS_PRODUCTION = 0.013125;
constexpr double PLTS_DECAY = 1.75e-5;
constexpr double PLTS_DISPLAY = 750.0;

// Carriers
constexpr double CARRIER_PRODUCTION = 0.01;
constexpr double CARRIER_DECAY = 1e-4;

// Enzymes
constexpr double ENZYME_PRODUCTION = 0.03;
constexpr double ENZYME_DECAY = 3e-4;

// Cytokinin response
constexpr double ARR_PRODUCTION = 0.02;
constexpr double ARR_DECAY = 2e-4;
constexpr int ARR1_RAMP_START = 388800;         // ARR1 switches on between these times
constexpr int ARR1_RAMP_LAST = 431999;
constexpr double ARR1_RAMP_LENGTH = 43200.0;

inline double Square(double x) { return x * x; }
inline double Fourth(double x) { return x * x * x * x; }

inline double S2(double x, double K) { return Square(x) / (Square(x) + Square(K)); }
inline double S4(double x, double K) { return Fourth(x) / (Fourth(x) + Fourth(K)); }

// The larger of two values; the first when neither is larger.
inline double Larger(double a, double b) { return a > b ? a : b; }

}  // namespace

double PositiveSigmoid(double x, double K, double M) {
    if (M == 0) return S2(x, K);
    return S2(x, K) / S2(M, K);
}

double NegativeSigmoid(double x, double K, double M) {
    if (M == 0) return 1 - S2(x, K);
    return Larger(0, 1 - S2(x, K) / S2(M, K));
}

double Positive4Sigmoid(double x, double K, double M) {
    if (M == 0) return S4(x, K);
    return S4(x, K) / S4(M, K);
}

double PltsIncrement(int cell, double drive, double dt) {
    if (CellZonationState[cell] == Z_MATURE) {
        Pltsexpr[cell] = 0;
        return dt * (-PLTS_DECAY * Plts[cell]);
    }
    Pltsexpr[cell] = PLTS_DISPLAY * drive;
    return dt * (PLTS_PRODUCTION * drive - PLTS_DECAY * Plts[cell]);
}

void ARRIncrements(int time, int cell, double dt, double* dARR1, double* dARR12) {
    double r = PositiveSigmoid(MeanCells[cell], 50, 0) * ARR_PRODUCTION *
               NegativeSigmoid(Plts[cell], 30, 0);
    double w;
    if (time <= ARR1_RAMP_START) w = 0;
    else if (time <= ARR1_RAMP_LAST) w = (time - ARR1_RAMP_START) / ARR1_RAMP_LENGTH;
    else w = 1;
    *dARR1 = dt * (w * r - ARR_DECAY * ARR1[cell]);
    *dARR12 = dt * (r - ARR_DECAY * ARR12[cell]);
}

void GeneNetworkStep(int time, const GeneNetworkPlan& plan) {
    const double dt = GENE_DT;
    for (int x = 0; x < actcells; x++) {
        const double M = MeanCells[x];
        const double S = ARR12[x] + ARR1RGA[x];
        const int minj = CellMinJ[x];

        // 1-2. ARF toward its target; in the lateral root cap the target falls
        // linearly to 30 % above the ramp's start row.
        double e = ARF_TARGET;
        if (minj >= plan.capRampMinRow && Tct[CellMinI[x]][minj] <= 4) {
            e = 100 * (0.7 * Larger(0, (plan.capRampRows - (minj - plan.capRampStartRow)) /
                                           static_cast<double>(plan.capRampRows)) +
                       0.3);
        }
        const double loss = 0.01 * ARF[x] * 0.01 / (ARF_AUXIN_SQ * Square(M) + ARF_AUXIN_BASE);
        const double dARF = dt * ((e - ARF[x]) * ARF_PRODUCTION - loss);
        if (ARF[x] + dARF < 0) {
            std::cout << " ARFS reduced to " << (ARF[x] + dARF) << "production is "
                      << (ARF_PRODUCTION * (e - ARF[x])) << " loss is " << loss << " Arf were "
                      << ARF[x] << " dtarf " << dARF << " tspeed " << dt << std::endl;
        }

        // 3. Delay chain.
        const double dAA = dt * (CHAIN_PRODUCTION * PositiveSigmoid(ARF[x], CHAIN_K, CHAIN_NORM) -
                                 CHAIN_DECAY * AA[x]);
        const double dBB = dt * (CHAIN_PRODUCTION * PositiveSigmoid(AA[x], CHAIN_K, CHAIN_NORM) -
                                 CHAIN_DECAY * BB[x]);
        const double dCC = dt * (CHAIN_PRODUCTION * PositiveSigmoid(BB[x], CHAIN_K, CHAIN_NORM) -
                                 CHAIN_DECAY * CC[x]);
        const double dDD = dt * (CHAIN_PRODUCTION * PositiveSigmoid(CC[x], CHAIN_K, CHAIN_NORM) -
                                 CHAIN_DECAY * DD[x]);

        // 4. PLETHORA.
        const double drive =
            PositiveSigmoid(DD[x], CHAIN_K, CHAIN_NORM) * NegativeSigmoid(ARR12[x], 35, 100);
        const double dPlts = PltsIncrement(x, drive, dt);

        // 5. Carriers.
        const double A = PositiveSigmoid(Plts[x], 80, 0);
        const double D =
            1 - 0.25 * PositiveSigmoid(S, 100, 0) * (1 - PositiveSigmoid(M, 225, 0));
        const double dPin = dt * (CARRIER_PRODUCTION * D - CARRIER_DECAY * Pin[x]);
        const double dPin2 =
            dt * (CARRIER_PRODUCTION * D * (0.4 + 0.6 * (1 - A)) - CARRIER_DECAY * Pin2[x]);
        const double dAux1 =
            dt * (CARRIER_PRODUCTION * PositiveSigmoid(M, 50, 0) - CARRIER_DECAY * Aux1[x]);

        // 6. Auxin synthesis and conjugation enzymes.
        double dGh33, dYuc3;
        if (CellZonationState[x] == Z_MATURE) {
            dGh33 = dt * (-ENZYME_DECAY * Gh33[x]);
            dYuc3 = dt * (-ENZYME_DECAY * Yuc3[x]);
        } else {
            dGh33 = dt * (ENZYME_PRODUCTION * NegativeSigmoid(Plts[x], 100, 0) -
                          ENZYME_DECAY * Gh33[x]);
            dYuc3 = dt * (ENZYME_PRODUCTION * PositiveSigmoid(Plts[x], 200, 0) -
                          ENZYME_DECAY * Yuc3[x]);
        }

        // 7. Cytokinin response regulators.
        double dARR1, dARR12;
        ARRIncrements(time, x, dt, &dARR1, &dARR12);

        // 8. Gh317 in the outer tissues (root cap and epidermis) above the tip,
        // judged at the first point of the cell on its middle row.
        const int m = (CellMaxJ[x] + minj + 1) / 2;
        int k = CellMinI[x];
        while (k < NCOLS && Cell[k][m] != x) k++;
        const bool outer = k < NCOLS && Tct[k][m] >= 0 && Tct[k][m] <= 5;
        double dGh317;
        if (outer && minj > plan.gh317MinRow)
            dGh317 = dt * (ENZYME_PRODUCTION * PositiveSigmoid(S, 100, 0) -
                           ENZYME_DECAY * Gh317[x]);
        else
            dGh317 = dt * (-ENZYME_DECAY * Gh317[x]);

        // 9. ARR1 with RGA: a tenth of the way toward three times ARR1.
        const double dARR1RGA = 0.3 * ARR1[x] - 0.1 * ARR1RGA[x];

        // 10-11. Division and elongation factors.
        const double ddivTF = dt * ((0.5 + 0.5 * NegativeSigmoid(ARR1[x], 40, 0)) *
                                        CARRIER_PRODUCTION * PositiveSigmoid(Plts[x], 35, 0) -
                                    CARRIER_DECAY * divTF[x]);
        const double delongTF =
            dt * (CARRIER_PRODUCTION * (0.5 * (1 - Positive4Sigmoid(divTF[x], 25, 0)) +
                                        0.25 * NegativeSigmoid(Plts[x], 20, 0) +
                                        0.25 * PositiveSigmoid(S, 80, 0)) -
                  CARRIER_DECAY * elongTF[x]);

        // 12. Apply.
        ARF[x] += dARF;
        AA[x] += dAA;
        BB[x] += dBB;
        CC[x] += dCC;
        DD[x] += dDD;
        Plts[x] += dPlts;
        Pin[x] += dPin;
        Pin2[x] += dPin2;
        Aux1[x] += dAux1;
        ARR1[x] += dARR1;
        ARR12[x] += dARR12;
        ARR1RGA[x] += dARR1RGA;
        Yuc3[x] += dYuc3;
        Gh317[x] += dGh317;
        Gh33[x] += dGh33;
        divTF[x] += ddivTF;
        elongTF[x] += delongTF;
    }
}
