// The every-tenth-step update of carriers and coefficients, shared by the
// programs: auxin production and decay point by point with the source and
// sink at the top of the tissue, the zonation a built or loaded plant starts
// with, and the sweep that runs a program's carrier rules over the rows of
// each column pair that hold tissue (or held values at the last call) on the
// transport step's threads and then rebuilds the neighbour coefficients.
#pragma once

#include "coefficients.h"
#include "state.h"

// Rates of auxin decay and production.
namespace auxinrates {
constexpr double DECAY_BASE = 5.8e-5;
constexpr double DECAY_PER_GH317 = 1.45e-6;
constexpr double DECAY_PER_GH33 = 1.45e-7;
constexpr double PRODUCTION_PER_YUC3 = 3.75e-4;
constexpr double PRODUCTION_HEIGHT_SCALE = 8.0;
constexpr double PRODUCTION_SOURCE_TISSUE = 0.066375;
constexpr double PRODUCTION_ROOTCAP = 0.0204375;
constexpr double PRODUCTION_COLUMELLA = 0.0335625;
constexpr double PRODUCTION_BODY = 0.00075;
constexpr double PRODUCTION_TIP = 0.0020625;
constexpr double TOP_SINK_DECAY = 0.1;
constexpr double TOP_SOURCE_PRODUCTION = 3.15;
}  // namespace auxinrates

// Rows and the columella line of a root that auxin production reads.
struct ProductionPlan {
    int tipTopRow;          // rows at or below belong to the root tip
    int steleSourceTopRow;  // the pericycle and stele produce up to this row
    double slantSlope;      // the columella line: row int(slantSlope * i - slantOffset)
    double slantOffset;
};

// Base production rate of a point of tissue t at (i, j): the QC, the
// columella stem cells, the stele low down and the outer tissues of the tip
// inside the columella lines are sources; root cap, columella, body and tip
// have their own rates.
inline double BaseProductionRate(int i, int j, int t, const ProductionPlan& p) {
    using namespace auxinrates;
    if (t == 17 || t == 12) return PRODUCTION_SOURCE_TISSUE;
    if (j <= p.steleSourceTopRow && t >= 8 && t <= 11) return PRODUCTION_SOURCE_TISSUE;
    if (j <= p.tipTopRow && j < static_cast<int>(p.slantSlope * i - p.slantOffset) &&
        j < static_cast<int>(p.slantSlope * (MIRRORSUM - i) - p.slantOffset) && t >= 5 && t <= 7)
        return PRODUCTION_SOURCE_TISSUE;
    if (t >= 1 && t <= 4) return PRODUCTION_ROOTCAP;
    if (t >= 13 && t <= 16) return PRODUCTION_COLUMELLA;
    return j > p.tipTopRow ? PRODUCTION_BODY : PRODUCTION_TIP;
}

// Decay rate constant of a point of cell x, and production with base rate k.
inline double DecayRate(int x) {
    using namespace auxinrates;
    return DECAY_BASE + DECAY_PER_GH317 * Gh317[x] + DECAY_PER_GH33 * Gh33[x];
}
inline double ProductionRate(int x, double k) {
    using namespace auxinrates;
    return (PRODUCTION_PER_YUC3 * Yuc3[x] + k) * PRODUCTION_HEIGHT_SCALE / CellHeight[x];
}

// Decay and production of column c over rows lo..hi (0 on points of no
// cell; baseRate(i, j, type) gives the base production), then the first wall
// point over a membrane seen from the top of the column: a sink above the
// epidermis, cortex and endodermis, the auxin supply above the stele.  Rows
// outside lo..hi must hold no wall.
template <class BaseRate>
void ColumnMetabolism(int c, int lo, int hi, BaseRate baseRate) {
    const int* tc = Tc[c];
    const int* cell = Cell[c];
    const int* tct = Tct[c];
    double* dec = daux[c];
    double* pro = paux[c];
    // The rates of the last point, reused while cell and base rate stay.
    int lastCell = -1;
    double lastBase = 0, lastProduction = 0, lastDecay = 0;
    for (int j = lo; j <= hi; j++) {
        const int x = cell[j];
        if (x == -1) {
            StoreIfChanged(&dec[j], 0.0);
            StoreIfChanged(&pro[j], 0.0);
            continue;
        }
        const double k = baseRate(c, j, tct[j]);
        if (x != lastCell || k != lastBase) {
            lastCell = x;
            lastBase = k;
            lastDecay = DecayRate(x);
            lastProduction = ProductionRate(x, k);
        }
        dec[j] = lastDecay;
        pro[j] = lastProduction;
    }
    for (int j = hi; j >= (lo > 1 ? lo : 1); j--) {
        if (tc[j] != TC_WALL || tc[j - 1] != TC_MEMBRANE) continue;
        int t = tct[j - 1];
        if (t >= 5 && t <= 7) dec[j] = auxinrates::TOP_SINK_DECAY;
        else if (t >= 8 && t <= 11) pro[j] = auxinrates::TOP_SOURCE_PRODUCTION;
        break;
    }
}

// Zonation of a built or loaded plant by each cell's top row: tip below
// dividingFrom, dividing below bodyFrom, mature (with Diff 100) up to
// bodyLast; cells reaching above bodyLast keep theirs.
struct ZonationRows {
    int dividingFrom;
    int bodyFrom;
    int bodyLast;
};
void ResetZonationByTopRow(const ZonationRows& rows);

// Pair p (0..AXIS) is column p with its mirror column MIRRORSUM - p (the
// axis column pairs with itself).
inline int PairOf(int column) { return column < MIRRORSUM - column ? column : MIRRORSUM - column; }

// One carrier update: pairCarriers(p, lo, hi) writes every output but the
// neighbour coefficients for both columns of pair p over rows lo..hi: the
// rows that hold tissue now or may still hold values of the last call (moved
// up by the growth since), every row with wholeGrid or at the first call.
// The pairs are shared by the transport step's threads; then the neighbour
// coefficients of the same rows are rebuilt with the given permeabilities,
// and the transport step is told.
void SweepCarrierPairs(bool wholeGrid, void (*pairCarriers)(int pair, int lo, int hi),
                       const MembranePermeability& perm);
