// The per-cell gene network shared by rootsim and the b family, given the
// program's landmarks.
//
// One explicit Euler step of gene time 2 for every cell: auxin drives ARF,
// ARF a four-stage delay chain, its last stage (repressed by ARR12) the
// PLETHORA-type factors, which in turn drive auxin synthesis, repress
// conjugation and drive division; auxin and PLETHORA control the cytokinin
// response regulators, which damp PIN production, drive conjugation in the
// outer tissues and favour elongation.  All increments of a cell come from its
// values before the step.  PLETHORA then diffuses between cells.
//
// The landmarks P provides (static constexpr members):
//   ARF_CAP_RAMP_START, ARF_CAP_RAMP_ROWS, ARF_CAP_MIN_ROW  the ARF target of a
//       root-cap cell whose lowest row is ARF_CAP_MIN_ROW or above falls from
//       100 at ARF_CAP_RAMP_START to 30 over ARF_CAP_RAMP_ROWS rows;
//   GH317_MIN_ROW   Gh317 is made only in outer cells starting above it;
//   ARR1_RAMP_START, ARR1_RAMP_LAST, ARR1_RAMP_LENGTH  ARR1 switches on
//       linearly between these times;
//   PLTS_TIP_LOSS   the loss of PLETHORA near the tip (cellular_diffusion.h).
#pragma once

#include <iostream>

#include "cellular_diffusion.h"
#include "state.h"

namespace rules {

// ---------------------------------------------------------------------------
// Response functions: normalised Hill functions.

inline double Square(double x) { return x * x; }
inline double Fourth(double x) { return x * x * x * x; }
inline double S2(double x, double K) { return Square(x) / (Square(x) + Square(K)); }
inline double S4(double x, double K) { return Fourth(x) / (Fourth(x) + Fourth(K)); }
// The larger of a and b (b when a is not larger, also when one is not a number).
inline double Larger(double a, double b) { return a > b ? a : b; }

inline double PositiveSigmoid(double x, double K, double M) {
    if (M == 0) return S2(x, K);
    return S2(x, K) / S2(M, K);
}

inline double NegativeSigmoid(double x, double K, double M) {
    if (M == 0) return 1 - S2(x, K);
    return Larger(0, 1 - S2(x, K) / S2(M, K));
}

inline double Positive4Sigmoid(double x, double K, double M) {
    if (M == 0) return S4(x, K);
    return S4(x, K) / S4(M, K);
}

// ---------------------------------------------------------------------------
// Constants of the network.

namespace genes {
constexpr double GENE_DT = 2.0;                 // gene time per call
constexpr double ARF_TARGET = 100.0;
constexpr double ARF_PRODUCTION = 0.001;
constexpr double ARF_AUXIN_SQ = 6.25e-6;
constexpr double ARF_AUXIN_BASE = 2e-4;
constexpr double CHAIN_PRODUCTION = 0.0065;
constexpr double CHAIN_DECAY = 6.5e-5;
constexpr double CHAIN_K = 60.0;
constexpr double CHAIN_NORM = 100.0;
constexpr double PLTS_PRODUCTION = 0.013125;
constexpr double PLTS_DECAY = 1.75e-5;
constexpr double PLTS_DISPLAY = 750.0;
constexpr double PLTS_DIFFUSION = 1.068e-4;
constexpr double CARRIER_PRODUCTION = 0.01;
constexpr double CARRIER_DECAY = 1e-4;
constexpr double ENZYME_PRODUCTION = 0.03;
constexpr double ENZYME_DECAY = 3e-4;
constexpr double ARR_PRODUCTION = 0.02;
constexpr double ARR_DECAY = 2e-4;
}  // namespace genes

// The changes of one cell's levels in one step (0 for a level not made).
struct GeneChanges {
    double ARF = 0, AA = 0, BB = 0, CC = 0, DD = 0, Plts = 0, Pin = 0, Pin2 = 0, Aux1 = 0;
    double ARR1 = 0, ARR12 = 0, ARR1RGA = 0, Yuc3 = 0, Gh317 = 0, Gh33 = 0, divTF = 0, elongTF = 0;
};

inline void ApplyGeneChanges(int x, const GeneChanges& c) {
    ARF[x] += c.ARF;
    AA[x] += c.AA;
    BB[x] += c.BB;
    CC[x] += c.CC;
    DD[x] += c.DD;
    Plts[x] += c.Plts;
    Pin[x] += c.Pin;
    Pin2[x] += c.Pin2;
    Aux1[x] += c.Aux1;
    ARR1[x] += c.ARR1;
    ARR12[x] += c.ARR12;
    ARR1RGA[x] += c.ARR1RGA;
    Yuc3[x] += c.Yuc3;
    Gh317[x] += c.Gh317;
    Gh33[x] += c.Gh33;
    divTF[x] += c.divTF;
    elongTF[x] += c.elongTF;
}

// ARF change of a cell over dt toward the target e, lost in proportion to
// its level and less so the more auxin the cell holds.
inline double ArfChange(int x, double e, double dt) {
    using namespace genes;
    const double M = MeanCells[x];
    const double loss = 0.01 * ARF[x] * 0.01 / (ARF_AUXIN_SQ * Square(M) + ARF_AUXIN_BASE);
    const double dARF = dt * ((e - ARF[x]) * ARF_PRODUCTION - loss);
    if (ARF[x] + dARF < 0) {
        std::cout << " ARFS reduced to " << (ARF[x] + dARF) << "production is " << (ARF_PRODUCTION * (e - ARF[x]))
                  << " loss is " << loss << " Arf were " << ARF[x] << " dtarf " << dARF << " tspeed " << dt
                  << std::endl;
    }
    return dARF;
}

// Changes of the four-stage delay chain ARF -> AA -> BB -> CC -> DD over dt.
inline void DelayChainChanges(int x, double dt, double* dAA, double* dBB, double* dCC, double* dDD) {
    using namespace genes;
    *dAA = dt * (CHAIN_PRODUCTION * PositiveSigmoid(ARF[x], CHAIN_K, CHAIN_NORM) - CHAIN_DECAY * AA[x]);
    *dBB = dt * (CHAIN_PRODUCTION * PositiveSigmoid(AA[x], CHAIN_K, CHAIN_NORM) - CHAIN_DECAY * BB[x]);
    *dCC = dt * (CHAIN_PRODUCTION * PositiveSigmoid(BB[x], CHAIN_K, CHAIN_NORM) - CHAIN_DECAY * CC[x]);
    *dDD = dt * (CHAIN_PRODUCTION * PositiveSigmoid(CC[x], CHAIN_K, CHAIN_NORM) - CHAIN_DECAY * DD[x]);
}

// Changes of the conjugation (Gh33) and synthesis (Yuc3) enzymes over dt:
// made by PLETHORA (Gh33 where it is low), only decaying in mature cells.
inline void EnzymeChanges(int x, double dt, double* dGh33, double* dYuc3) {
    using namespace genes;
    if (CellZonationState[x] == Z_MATURE) {
        *dGh33 = dt * (-ENZYME_DECAY * Gh33[x]);
        *dYuc3 = dt * (-ENZYME_DECAY * Yuc3[x]);
    } else {
        *dGh33 = dt * (ENZYME_PRODUCTION * NegativeSigmoid(Plts[x], 100, 0) - ENZYME_DECAY * Gh33[x]);
        *dYuc3 = dt * (ENZYME_PRODUCTION * PositiveSigmoid(Plts[x], 200, 0) - ENZYME_DECAY * Yuc3[x]);
    }
}

// PLETHORA change of a cell over dt for the given drive; sets its expression.
inline double UpdatePltsOf(int cell, double drive, double dt) {
    using namespace genes;
    if (CellZonationState[cell] == Z_MATURE) {
        Pltsexpr[cell] = 0;
        return dt * (-PLTS_DECAY * Plts[cell]);
    }
    Pltsexpr[cell] = PLTS_DISPLAY * drive;
    return dt * (PLTS_PRODUCTION * drive - PLTS_DECAY * Plts[cell]);
}

// Changes of ARR1 and ARR12 of a cell over dt at the given time.
template <class P>
void UpdateARRsOf(int time, int cell, double dt, double* dARR1, double* dARR12) {
    using namespace genes;
    double r = PositiveSigmoid(MeanCells[cell], 50, 0) * ARR_PRODUCTION * NegativeSigmoid(Plts[cell], 30, 0);
    double w;
    if (time <= P::ARR1_RAMP_START) w = 0;
    else if (time <= P::ARR1_RAMP_LAST) w = (time - P::ARR1_RAMP_START) / P::ARR1_RAMP_LENGTH;
    else w = 1;
    *dARR1 = dt * (w * r - ARR_DECAY * ARR1[cell]);
    *dARR12 = dt * (r - ARR_DECAY * ARR12[cell]);
}

// One step of the network for every cell, then the diffusion of PLETHORA.
template <class P>
void GeneNetworkStep(int time) {
    using namespace genes;
    const double dt = GENE_DT;
    for (int x = 0; x < actcells; x++) {
        const double M = MeanCells[x];
        const double S = ARR12[x] + ARR1RGA[x];
        const int minj = CellMinJ[x];

        // 1-2. ARF toward its target; in the lateral root cap the target falls
        // linearly to 30 % over the ramp's rows.
        double e = ARF_TARGET;
        if (minj >= P::ARF_CAP_MIN_ROW && Tct[CellMinI[x]][minj] <= 4) {
            e = 100 * (0.7 * Larger(0, (P::ARF_CAP_RAMP_ROWS - (minj - P::ARF_CAP_RAMP_START)) /
                                           static_cast<double>(P::ARF_CAP_RAMP_ROWS)) +
                       0.3);
        }
        const double dARF = ArfChange(x, e, dt);

        // 3. Delay chain.
        double dAA, dBB, dCC, dDD;
        DelayChainChanges(x, dt, &dAA, &dBB, &dCC, &dDD);

        // 4. PLETHORA.
        const double drive = PositiveSigmoid(DD[x], CHAIN_K, CHAIN_NORM) * NegativeSigmoid(ARR12[x], 35, 100);
        const double dPlts = UpdatePltsOf(x, drive, dt);

        // 5. Carriers.
        const double A = PositiveSigmoid(Plts[x], 80, 0);
        const double D = 1 - 0.25 * PositiveSigmoid(S, 100, 0) * (1 - PositiveSigmoid(M, 225, 0));
        const double dPin = dt * (CARRIER_PRODUCTION * D - CARRIER_DECAY * Pin[x]);
        const double dPin2 = dt * (CARRIER_PRODUCTION * D * (0.4 + 0.6 * (1 - A)) - CARRIER_DECAY * Pin2[x]);
        const double dAux1 = dt * (CARRIER_PRODUCTION * PositiveSigmoid(M, 50, 0) - CARRIER_DECAY * Aux1[x]);

        // 6. Auxin synthesis and conjugation enzymes.
        double dGh33, dYuc3;
        EnzymeChanges(x, dt, &dGh33, &dYuc3);

        // 7. Cytokinin response regulators.
        double dARR1, dARR12;
        UpdateARRsOf<P>(time, x, dt, &dARR1, &dARR12);

        // 8. Gh317 in the outer tissues (root cap and epidermis) above the tip,
        // judged at the first point of the cell on its middle row.
        const int m = (CellMaxJ[x] + minj + 1) / 2;
        int k = CellMinI[x];
        while (k < NCOLS && Cell[k][m] != x) k++;
        const bool outer = k < NCOLS && Tct[k][m] >= 0 && Tct[k][m] <= 5;
        double dGh317;
        if (outer && minj > P::GH317_MIN_ROW)
            dGh317 = dt * (ENZYME_PRODUCTION * PositiveSigmoid(S, 100, 0) - ENZYME_DECAY * Gh317[x]);
        else
            dGh317 = dt * (-ENZYME_DECAY * Gh317[x]);

        // 9. ARR1 with RGA: a tenth of the way toward three times ARR1.
        const double dARR1RGA = 0.3 * ARR1[x] - 0.1 * ARR1RGA[x];

        // 10-11. Division and elongation factors.
        const double ddivTF = dt * ((0.5 + 0.5 * NegativeSigmoid(ARR1[x], 40, 0)) * CARRIER_PRODUCTION *
                                        PositiveSigmoid(Plts[x], 35, 0) -
                                    CARRIER_DECAY * divTF[x]);
        const double delongTF =
            dt * (CARRIER_PRODUCTION * (0.5 * (1 - Positive4Sigmoid(divTF[x], 25, 0)) +
                                        0.25 * NegativeSigmoid(Plts[x], 20, 0) + 0.25 * PositiveSigmoid(S, 80, 0)) -
                  CARRIER_DECAY * elongTF[x]);

        // 12. Apply.
        GeneChanges c;
        c.ARF = dARF;
        c.AA = dAA;
        c.BB = dBB;
        c.CC = dCC;
        c.DD = dDD;
        c.Plts = dPlts;
        c.Pin = dPin;
        c.Pin2 = dPin2;
        c.Aux1 = dAux1;
        c.ARR1 = dARR1;
        c.ARR12 = dARR12;
        c.ARR1RGA = dARR1RGA;
        c.Yuc3 = dYuc3;
        c.Gh317 = dGh317;
        c.Gh33 = dGh33;
        c.divTF = ddivTF;
        c.elongTF = delongTF;
        ApplyGeneChanges(x, c);
    }

    DiffuseBetweenCells(Plts, PLTS_DIFFUSION, PLTS_DIFFUSION, true, 0, P::PLTS_TIP_LOSS);
}

}  // namespace rules
