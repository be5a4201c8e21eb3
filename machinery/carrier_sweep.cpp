// The sweep of the carrier update over the rows that hold tissue, and the
// zonation of a new plant.
#include "carrier_sweep.h"

#include <algorithm>

#include "checkpoint.h"
#include "threads.h"
#include "tissue_extent.h"
#include "transport.h"

void ResetZonationByTopRow(const ZonationRows& rows) {
    for (int x = 0; x < actcells; x++) {
        int top = CellMaxJ[x];
        if (top < rows.dividingFrom) {
            CellZonationState[x] = Z_TIP;
        } else if (top < rows.bodyFrom) {
            CellZonationState[x] = Z_DIVIDING;
        } else if (top <= rows.bodyLast) {
            CellZonationState[x] = Z_MATURE;
            Diff[x] = 100.0;
        }
    }
}

namespace {

// Every output is zero on points outside the tissue.  The update therefore
// writes, in each column, only the rows that hold tissue now or may still
// hold values from before: those it wrote in its previous call, moved upward
// by as many rows as growth has shifted the column since.  A pair is handled
// as a whole, since a program may form both columns from the left one.

struct Rows {
    int lo, hi;  // empty when lo > hi
};

inline Rows Hull(Rows a, Rows b) {
    if (a.lo > a.hi) return b;
    if (b.lo > b.hi) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

inline int RowsOf(Rows r) { return r.hi >= r.lo ? r.hi - r.lo + 1 : 0; }

Rows written[AXIS + 1];  // rows of each pair that may hold nonzero outputs
Rows sweep[AXIS + 1];    // rows of each pair the current call writes
bool writtenKnown = false;
// A resumed run continues with the very extents an uninterrupted one has.
const bool registered = (AddCheckpointState("carriers.written", written, sizeof written),
                         AddCheckpointState("carriers.written_known", &writtenKnown, sizeof writtenKnown), true);

// Per-call values shared by the threads.
bool sweepWholeGrid = false;
int pairWork[AXIS + 1];  // estimated rows of each pair, for sharing the pairs

// Decides the rows of pair p this call writes and records those that will
// hold its values afterwards.
void PlanPair(int p) {
    const int L = p, R = MIRRORSUM - p;
    Rows a, b = {0, -1};
    tissueextent::TissueRows(L, &a.lo, &a.hi);
    if (R != L) tissueextent::TissueRows(R, &b.lo, &b.hi);
    int shifts = TakeGrowthShifts(L);
    if (R != L) shifts = std::max(shifts, TakeGrowthShifts(R));
    const Rows now = Hull(a, b);
    if (sweepWholeGrid) {
        sweep[p] = {0, NROWS - 1};
    } else {
        Rows before = written[p];
        if (before.lo <= before.hi) before.hi = std::min(NROWS - 1, before.hi + shifts);
        sweep[p] = Hull(now, before);
    }
    written[p] = now;
}

}  // namespace

void SweepCarrierPairs(bool wholeGrid, void (*pairCarriers)(int pair, int lo, int hi),
                       const MembranePermeability& perm) {
    // Nothing is known of what the grids held before the first call.
    sweepWholeGrid = wholeGrid || !writtenKnown;
    // The threads share the pairs by the rows written last time (PlanPair
    // replaces those while the threads run).
    for (int p = 0; p <= AXIS; p++) pairWork[p] = 1 + (writtenKnown ? RowsOf(written[p]) : 0);

    RunOnTransportThreads([pairCarriers](int t, int n) {
        int begin, end;
        ShareByWork(AXIS + 1, t, n, [](int p) { return pairWork[p]; }, &begin, &end);
        for (int p = begin; p < end; p++) {
            PlanPair(p);
            if (sweep[p].lo <= sweep[p].hi) pairCarriers(p, sweep[p].lo, sweep[p].hi);
        }
    });
    RunOnTransportThreads([&perm](int t, int n) {
        int begin, end;
        ShareByWork(NCOLS, t, n, [](int c) { return 1 + RowsOf(sweep[PairOf(c)]); }, &begin, &end);
        for (int c = begin; c < end; c++)
            ColumnNeighbourCoefficients(c, sweep[PairOf(c)].lo, sweep[PairOf(c)].hi, perm);
    });
    writtenKnown = true;
    // The transport step factorises its line systems anew.
    TransportCoefficientsChanged();
}
