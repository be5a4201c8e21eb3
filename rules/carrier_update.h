// The carrier update shared by rootsim, the b family and rootsim_c: it places
// the PIN1-type, PIN2-type and AUX1 carriers on the membrane points of every cell
// by the rules Rules (CarrierRules<P> of rules/carrier_rules.h, or a class
// derived from it that replaces some of its functions), with the cells'
// carrier levels the carrier amounts on the membranes, and production, decay
// and the source and sink at the top of the tissue.  The transport step forms
// its line systems (diffusion weights, membrane influx and efflux) from these
// directly when it factorises them next; the coefficient records are not
// written (CoefficientRecordsFromCarriers builds them for whoever reads them).
//
// The patterns (the PIN weights of LeftPinWeight and the AUX1 weights of
// Aux1Weight) follow from the tissue, the cells' extents and zonation, the
// meristem's height and the epidermal boundaries alone, unless the rules say
// otherwise (PATTERNS_FOLLOW_TISSUE false).  While none of these changed, an
// update takes them from its previous call instead of forming them anew; they
// are the same numbers.  It then visits only the points of cells, and writes
// only the carrier amounts of points with a pattern, production and decay:
// the pattern grids, and every output of the other points, hold what its
// previous call left there, since nothing else writes them while the tissue
// stays (a build with ROOTSIM_CHECKED checks that).
//
// Every output is zero on points outside the tissue.  The update therefore
// writes, in each column, only the rows that hold tissue now or may still hold
// values from before: those it wrote in its previous call, moved upward by as
// many rows as growth has shifted the column since.  All outputs of a point
// are formed in one visit, over independent column pairs on the transport
// step's threads.
#pragma once

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <string>
#include <vector>

#include "checkpoint.h"
#include "coefficients.h"
#include "state.h"
#include "threads.h"
#include "tissue_extent.h"
#include "tissue_watch.h"
#include "transport.h"

namespace rules {

template <class Rules>
struct CarrierUpdate {
    // -----------------------------------------------------------------------
    // Extent bookkeeping.  Pair p (0..AXIS) is column p with its mirror column
    // MIRRORSUM - p (the axis column pairs with itself); a pair is handled as
    // a whole, since the PIN patterns of both columns come from the left one.

    struct Rows {
        int lo, hi;  // empty when lo > hi
    };

    static Rows Hull(Rows a, Rows b) {
        if (a.lo > a.hi) return b;
        if (b.lo > b.hi) return a;
        return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
    }

    static int RowsOf(Rows r) { return r.hi >= r.lo ? r.hi - r.lo + 1 : 0; }

    static int PairOf(int column) { return std::min(column, MIRRORSUM - column); }

    static constexpr MembranePermeability kPermeability = {Rules::INFLUX_BASE, Rules::INFLUX_PER_AUX1,
                                                           Rules::EFFLUX_BASE, Rules::EFFLUX_PER_PIN};

    static inline Rows written[AXIS + 1];  // rows of each pair that may hold nonzero outputs
    static inline Rows sweep[AXIS + 1];    // rows of each pair the current call writes
    static inline bool shifted[AXIS + 1];  // whether growth moved the pair's columns since the last call
    static inline bool writtenKnown = false;
    // The tissue rows of each pair's two columns, the generation of the
    // tissue they were found on, and that of this call's tissue.
    static inline Rows tissueRows[AXIS + 1];
    static inline unsigned long tissueRowsOf[AXIS + 1];
    static inline unsigned long callTissue = 0;

    // The patterns of the call that formed them last: for each column, the
    // points of its cells that have a pattern (a membrane point, or a PIN
    // weight whose bits are not those of +0), in order, with their weights;
    // the rows of each pair they cover, and what they were formed from.
    struct PatternPoint {
        int row;
        double pin1, pin2, aux1;
    };
    static inline std::vector<PatternPoint> patternPoints[NCOLS];
    // The same call's runs of each column: consecutive points of one cell
    // with one base production rate, in order.
    struct CellRun {
        int lo, hi, cell;
        double base;
    };
    static inline std::vector<CellRun> patternRuns[NCOLS];
    static inline Rows patternRows[AXIS + 1];
    static inline bool patternsKnown = false;
    static inline unsigned long patternTissue = 0;
    static inline std::vector<int> patternInputs;
    // Whether the last call stored nothing but +0 as the carrier amounts of
    // the cells' points without a pattern (0 times a cell level, which is -0
    // or NaN where the level is negative or not finite), and the same for
    // this call.
    static inline bool plainZerosBefore = false;
    static inline std::atomic<bool> plainZeros{true};

    // The cells' extents and zonation, the meristem's height and the
    // epidermal boundaries of this call.
    static std::vector<int> PatternInputs() {
        std::vector<int> in;
        in.reserve(5 * MAXCELLS + 3 + Rules::EPI_MAX_BOUNDARIES);
        for (const int* a : {CellMinI, CellMaxI, CellMinJ, CellMaxJ, CellZonationState}) in.insert(in.end(), a, a + MAXCELLS);
        in.push_back(actcells);
        in.push_back(maxmzheight);
        in.push_back(epiCount);
        in.insert(in.end(), epiBoundaries, epiBoundaries + Rules::EPI_MAX_BOUNDARIES);
        return in;
    }

    // Per-call values shared by the threads.
    static inline bool sweepWholeGrid = false;
    static inline bool patternsKept = false;  // this call may take the patterns of the last
    static inline int pairWork[AXIS + 1];  // estimated rows of each pair, for sharing the pairs
    static inline int epiCount = 0;
    static inline int epiBoundaries[Rules::EPI_MAX_BOUNDARIES];

    // A resumed run continues with the very extents an uninterrupted one has;
    // the names of the entries start with `prefix`.
    static void RegisterCheckpointState(const std::string& prefix) {
        InstallTransportPermeability(kPermeability);
        AddCheckpointState((prefix + "carriers.written").c_str(), written, sizeof written);
        AddCheckpointState((prefix + "carriers.written_known").c_str(), &writtenKnown, sizeof writtenKnown);
    }

    // Decides the rows of pair p this call writes and records those that will
    // hold its values afterwards.
    static Rows PairTissueRows(int p) {
        const int L = p, R = MIRRORSUM - p;
        Rows a, b = {0, -1};
        tissueextent::TissueRows(L, &a.lo, &a.hi);
        if (R != L) tissueextent::TissueRows(R, &b.lo, &b.hi);
        return Hull(a, b);
    }

    static void PlanPair(int p) {
        const int L = p, R = MIRRORSUM - p;
        if (callTissue == 0 || tissueRowsOf[p] != callTissue) {
            tissueRows[p] = PairTissueRows(p);
            tissueRowsOf[p] = callTissue;
        }
#ifdef ROOTSIM_CHECKED
        const Rows fresh = PairTissueRows(p);
        assert(fresh.lo == tissueRows[p].lo && fresh.hi == tissueRows[p].hi);
#endif
        int shifts = TakeGrowthShifts(L);
        if (R != L) shifts = std::max(shifts, TakeGrowthShifts(R));
        shifted[p] = shifts > 0;
        const Rows now = tissueRows[p];
        if (sweepWholeGrid) {
            sweep[p] = {0, NROWS - 1};
        } else {
            Rows before = written[p];
            if (before.lo <= before.hi) before.hi = std::min(NROWS - 1, before.hi + shifts);
            sweep[p] = Hull(now, before);
        }
        written[p] = now;
    }

    static bool SameBits(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }
    static bool IsPlusZero(double v) { return SameBits(v, 0.0); }

    // The carrier amounts of point j of column c, in cell x, with the pattern
    // weights pin1, pin2 and aux1; whether all three are +0.
    __attribute__((always_inline)) static bool StoreAmounts(int c, int j, int x, double pin1, double pin2, double aux1) {
        const double a1 = Rules::MembranePin1(c, j, x, pin1), a2 = pin2 * Pin2[x], aa = aux1 * Aux1[x];
        StoreIfChanged(&Cpin1M[c][j], a1);
        StoreIfChanged(&Cpin2M[c][j], a2);
        StoreIfChanged(&Aux1M[c][j], aa);
        return IsPlusZero(a1) && IsPlusZero(a2) && IsPlusZero(aa);
    }
    static bool ZeroAmountsArePlusZero(int c, int j, int x) {
        return IsPlusZero(Rules::MembranePin1(c, j, x, 0.0)) && IsPlusZero(0.0 * Pin2[x]) && IsPlusZero(0.0 * Aux1[x]);
    }

    // Production and decay of cell x's points, reused along a column while
    // the cell and the base rate stay.
    struct Rates {
        int cell = -1;
        double base = 0, production = 0, decay = 0;
        void Of(int x, double k) {
            if (x == cell && k == base) return;
            cell = x;
            base = k;
            decay = Rules::DECAY_BASE + Rules::DECAY_PER_GH317 * Gh317[x] + Rules::DECAY_PER_GH33 * Gh33[x];
            production = (Rules::PRODUCTION_PER_YUC3 * Yuc3[x] + k) * Rules::PRODUCTION_HEIGHT_SCALE / CellHeight[x];
        }
    };

    // The first wall point over a membrane, seen from the top of column c, is
    // a sink above the outer tissues and the auxin supply above the stele
    // (rows outside lo..hi hold no wall).
    static void TopOfColumn(int c, int lo, int hi) {
        const int* tc = Tc[c];
        const int* tct = Tct[c];
        for (int j = hi; j >= std::max(lo, 1); j--) {
            if (tc[j] != TC_WALL || tc[j - 1] != TC_MEMBRANE) continue;
            int t = tct[j - 1];
            if (t >= 5 && t <= 7) daux[c][j] = Rules::TOP_SINK_DECAY;
            else if (t >= 8 && t <= 11) paux[c][j] = Rules::TOP_SOURCE_PRODUCTION;
            break;
        }
    }

    // Carrier patterns, amounts, production and decay of column c over rows
    // lo..hi, the PIN patterns being in place already; then the source or
    // sink at the top of the column.
    static void ColumnCarriers(int c, int lo, int hi) {
        const int* tc = Tc[c];
        const int* cell = Cell[c];
        const int* tct = Tct[c];
        const double* pin1 = PinPrePat[c];
        const double* pin2 = Pin2PrePat[c];
        double* aux1 = Aux1PrePat[c];
        double* m1 = Cpin1M[c];
        double* m2 = Cpin2M[c];
        double* ma = Aux1M[c];
        double* dec = daux[c];
        double* pro = paux[c];
        std::vector<PatternPoint>& points = patternPoints[c];
        std::vector<CellRun>& runs = patternRuns[c];
        points.clear();
        runs.clear();
        bool plain = true;
        Rates rates;
        for (int j = lo; j <= hi; j++) {
            const int x = cell[j];
            if (x == -1) {
                StoreIfChanged(&aux1[j], 0.0);
                StoreIfChanged(&m1[j], 0.0);
                StoreIfChanged(&m2[j], 0.0);
                StoreIfChanged(&ma[j], 0.0);
                StoreIfChanged(&dec[j], 0.0);
                StoreIfChanged(&pro[j], 0.0);
                continue;
            }
            double w = 0.0;
            const bool membrane = tc[j] == TC_MEMBRANE;
            if (membrane) w = Rules::Aux1Weight(c, j, x, epiCount, epiBoundaries);
            StoreIfChanged(&aux1[j], w);
            const bool zeros = StoreAmounts(c, j, x, pin1[j], pin2[j], w);
            if (membrane || !IsPlusZero(pin1[j]) || !IsPlusZero(pin2[j])) {
                if constexpr (Rules::PATTERNS_FOLLOW_TISSUE) points.push_back({j, pin1[j], pin2[j], w});
            } else {
                plain = plain && zeros;
            }
            const double base = Rules::BaseProduction(c, j, tct[j]);
            if constexpr (Rules::PATTERNS_FOLLOW_TISSUE) {
                if (!runs.empty() && runs.back().hi == j - 1 && runs.back().cell == x && SameBits(runs.back().base, base))
                    runs.back().hi = j;
                else
                    runs.push_back({j, j, x, base});
            }
            rates.Of(x, base);
            dec[j] = rates.decay;
            pro[j] = rates.production;
        }
        if (!plain) plainZeros.store(false, std::memory_order_relaxed);
        TopOfColumn(c, lo, hi);
    }

#ifdef ROOTSIM_CHECKED
    // What a kept column relies on: nothing but the update wrote its grids
    // since its last call.
    static void AssertKept(int c, int lo, int hi) {
        const std::vector<PatternPoint>& points = patternPoints[c];
        size_t next = 0;
        for (int j = lo; j <= hi; j++) {
            const int x = Cell[c][j];
            if (x == -1) {
                for (double** g : {Aux1PrePat, Cpin1M, Cpin2M, Aux1M}) assert(IsPlusZero(g[c][j]));
                continue;
            }
            PatternPoint pt = {j, 0.0, 0.0, 0.0};
            if (next < points.size() && points[next].row == j) pt = points[next++];
            assert(SameBits(PinPrePat[c][j], pt.pin1));
            assert(SameBits(Pin2PrePat[c][j], pt.pin2));
            assert(SameBits(Aux1PrePat[c][j], pt.aux1));
        }
        assert(next == points.size());
        int j = lo;
        for (const CellRun& r : patternRuns[c]) {
            for (; j < r.lo; j++) assert(Cell[c][j] == -1);
            for (; j <= r.hi; j++) {
                assert(Cell[c][j] == r.cell);
                assert(SameBits(Rules::BaseProduction(c, j, Tct[c][j]), r.base));
            }
        }
        for (; j <= hi; j++) assert(Cell[c][j] == -1);
    }
#endif

    // The same on a column whose patterns are those of the last call, on the
    // same tissue and rows: only the runs of cells' points that call found
    // are visited (the last call left zeros on the other points, and its
    // patterns on the pattern grids), production and decay written once per
    // run, and of the points without a pattern, whose carrier amounts are 0
    // times the cell's levels, only the ones that are not +0 now or were not
    // before.
    static void KeptColumnCarriers(int c, int lo, int hi) {
        double* dec = daux[c];
        double* pro = paux[c];
        const std::vector<PatternPoint>& points = patternPoints[c];
#ifdef ROOTSIM_CHECKED
        AssertKept(c, lo, hi);
#endif
        size_t next = 0;
        while (next < points.size() && points[next].row < lo) next++;
        bool plain = true;
        Rates rates;
        for (const CellRun& r : patternRuns[c]) {
            const int x = r.cell;
            rates.Of(x, r.base);
            for (int j = r.lo; j <= r.hi; j++) {
                dec[j] = rates.decay;
                pro[j] = rates.production;
            }
            // The points without a pattern need nothing where their amounts
            // are +0 now and were at the last call; where the rules make them
            // from the cell alone, one look tells for the whole run.
            if (plainZerosBefore && Rules::PIN1_OF_CELL && ZeroAmountsArePlusZero(c, r.lo, x)) {
                for (; next < points.size() && points[next].row <= r.hi; next++) {
                    const PatternPoint& pt = points[next];
                    StoreAmounts(c, pt.row, x, pt.pin1, pt.pin2, pt.aux1);
                }
                continue;
            }
            for (int j = r.lo; j <= r.hi; j++) {
                if (next < points.size() && points[next].row == j) {
                    const PatternPoint& pt = points[next++];
                    StoreAmounts(c, j, x, pt.pin1, pt.pin2, pt.aux1);
                } else if (!plainZerosBefore || !ZeroAmountsArePlusZero(c, j, x)) {
                    plain = StoreAmounts(c, j, x, 0.0, 0.0, 0.0) && plain;
                }
            }
        }
        if (!plain) plainZeros.store(false, std::memory_order_relaxed);
        TopOfColumn(c, lo, hi);
    }

    // Everything of pair p but the coefficients toward the neighbours.
    static void PairCarriers(int p) {
        const int L = p, R = MIRRORSUM - p;
        const int lo = sweep[p].lo, hi = sweep[p].hi;
        const bool kept = patternsKept && !shifted[p] && patternRows[p].lo == lo && patternRows[p].hi == hi;
        patternRows[p] = sweep[p];
        if (lo > hi) return;
        if (kept) {
            KeptColumnCarriers(L, lo, hi);
            if (R != L) KeptColumnCarriers(R, lo, hi);
            return;
        }
        if constexpr (Rules::PIN_PATTERN_CARRIED) {
            // The patterns move with the tissue; the rules only change them.
            Rules::ChangeCarriedPattern(L, lo, hi);
            if (R != L) Rules::ChangeCarriedPattern(R, lo, hi);
        } else {
            double* pin1 = PinPrePat[L];
            double* pin2 = Pin2PrePat[L];
            for (int j = lo; j <= hi; j++) {
                int grid;
                double v;
                Rules::LeftPinWeight(L, j, &grid, &v);
                StoreIfChanged(&pin1[j], grid == Rules::PAT_PIN1 ? v : 0.0);
                StoreIfChanged(&pin2[j], grid == Rules::PAT_PIN2 ? v : 0.0);
            }
            if (R != L) {
                double* mirror1 = PinPrePat[R];
                double* mirror2 = Pin2PrePat[R];
                for (int j = lo; j <= hi; j++) {
                    StoreIfChanged(&mirror1[j], pin1[j]);
                    StoreIfChanged(&mirror2[j], pin2[j]);
                }
            }
        }
        ColumnCarriers(L, lo, hi);
        if (R != L) ColumnCarriers(R, lo, hi);
    }

    // The carriers and coefficients of the present tissue, zonation and cell
    // levels; wholeGrid writes every row of every column.
    static void UpdateCarriers(bool wholeGrid) {
        sweepWholeGrid = wholeGrid;
        epiCount = Rules::EpidermalBoundaries(epiBoundaries);
        patternsKept = false;
        const unsigned long tissue = TissueGeneration();
        callTissue = tissue;
        if constexpr (Rules::PATTERNS_FOLLOW_TISSUE) {
            std::vector<int> inputs = PatternInputs();
            patternsKept = !wholeGrid && patternsKnown && tissue == patternTissue && inputs == patternInputs;
            patternTissue = tissue;
            patternInputs.swap(inputs);
            patternsKnown = true;
        }
        // The threads share the pairs by the rows written last time (PlanPair
        // replaces those while the threads run).
        for (int p = 0; p <= AXIS; p++) pairWork[p] = 1 + (writtenKnown ? RowsOf(written[p]) : 0);

        plainZerosBefore = plainZeros.exchange(true);
        RunOnTransportThreads([](int t, int n) {
            int begin, end;
            ShareByWork(AXIS + 1, t, n, [](int p) { return pairWork[p]; }, &begin, &end);
            for (int p = begin; p < end; p++) {
                PlanPair(p);
                PairCarriers(p);
            }
        });
        writtenKnown = true;
        // The transport step factorises its line systems anew, from the
        // carriers directly.
        TransportCarriersChanged(kPermeability, tissue);
    }

    // The update of time `time`: at time 0 it also sets the first zonation of
    // every cell, and, the state being new, writes every row.
    static void Run(int time) {
        if (time == 0) Rules::ResetZonation();
        UpdateCarriers(time == 0 || !writtenKnown);
    }

    // The carriers and coefficients of the present state, zonation included,
    // over the whole grid (after the state was read back from a file).
    static void Rebuild() { UpdateCarriers(true); }
};

}  // namespace rules
