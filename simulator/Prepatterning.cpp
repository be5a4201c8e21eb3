// Carrier prepatterns and transport coefficients.
//
// UpdateMembraneProteinsAndFluxes places the PIN1-type, PIN2-type and AUX1
// carriers on the membrane points of every cell (dimensionless weights that
// depend on tissue, membrane side, position and zonation), and from them and
// the cells' carrier levels rebuilds every coefficient of the auxin step:
// diffusion weights, membrane influx and efflux, production and decay, and the
// source and sink at the top of the tissue.
//
// Every output is zero on points outside the tissue.  The update therefore
// writes, in each column, only the rows that hold tissue now or may still hold
// values from before: those it wrote in its previous call, moved upward by as
// many rows as growth has shifted the column since.  All outputs of a point
// are formed in one visit (the coefficients toward the neighbours in a second
// pass, once every carrier amount is known), over independent column pairs
// on the transport step's threads.
#include <algorithm>
#include <cstring>

#include "rootsim.h"
#include "tissue_extent.h"

namespace {

// Rows and columns of the tissue plan.
constexpr int TIP_TOP_ROW = 148;            // rows at or below belong to the root tip
constexpr double TIP_LINE_SLOPE = 0.5;      // tip line of column i: int(0.5 * i + 111)
constexpr double TIP_LINE_OFFSET = 111.0;
constexpr int ZONE_DIVIDING_ROW = 149;      // zonation at time 0 by the cell's top row
constexpr int ZONE_BODY_ROW = 212;
constexpr int ZONE_LAST_ROW = 1065;
constexpr int EPI_PROBE_COLUMN = 30;        // the left epidermal file
constexpr int EPI_PROBE_FIRST = 151;        // rows searched for epidermal boundaries
constexpr int EPI_PROBE_LAST = 210;
constexpr int EPI_MAX_BOUNDARIES = 6;
constexpr int ROOTCAP_SEARCH_COLUMNS = 100; // column reach of the shootward search
constexpr double ROOTCAP_SEARCH_FRACTION = 0.35;
constexpr int CELL_GAP = 3;                 // the neighbouring cell lies three rows beyond
constexpr int PRODUCTION_STELE_ROW = 157;   // stele production reaches this row
constexpr double SLANT_SLOPE = 2.1;         // columella boundary lines of the layout
constexpr double SLANT_OFFSET = 68.20000000000002;

// Membrane permeabilities and diffusion weights.
constexpr double INFLUX_BASE = 2.5;
constexpr double INFLUX_PER_AUX1 = 0.07;
constexpr double EFFLUX_BASE = 1.0;
constexpr double EFFLUX_PER_PIN = 0.2;

// Decay and production.
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

enum { PAT_NONE = 0, PAT_PIN1 = 1, PAT_PIN2 = 2 };

inline bool OnGrid(int i, int j) { return i >= 0 && i < NCOLS && j >= 0 && j < NROWS; }
inline bool IsMembrane(int i, int j) { return OnGrid(i, j) && Tc[i][j] == TC_MEMBRANE; }

// The cell across the wall above (below) cell x in column i, or -1 when that
// point lies off the grid or holds no cell.
inline int CellAbove(int x, int i) {
    int r = CellMaxJ[x] + CELL_GAP;
    return r < NROWS ? Cell[i][r] : -1;
}
inline int CellBelow(int x, int i) {
    int r = CellMinJ[x] - CELL_GAP;
    return r >= 0 ? Cell[i][r] : -1;
}

// Whether the cell below x in column i exists and starts above / at or below row r.
inline bool BelowStartsAbove(int x, int i, int r) {
    int y = CellBelow(x, i);
    return y != -1 && CellMinJ[y] > r;
}
inline bool BelowStartsAtOrBelow(int x, int i, int r) {
    int y = CellBelow(x, i);
    return y != -1 && CellMinJ[y] <= r;
}

// Tip line of a left-half column.
inline int TipLine(int i) { return static_cast<int>(TIP_LINE_SLOPE * i + TIP_LINE_OFFSET); }

void ResetZonation() {
    for (int x = 0; x < actcells; x++) {
        int top = CellMaxJ[x];
        if (top < ZONE_DIVIDING_ROW) {
            CellZonationState[x] = 0;
        } else if (top < ZONE_BODY_ROW) {
            CellZonationState[x] = 30;
        } else if (top <= ZONE_LAST_ROW) {
            CellZonationState[x] = 200;
            Diff[x] = 100.0;
        }
    }
}

// Inner side of a topmost layer-1 root cap cell: 1 when a shootward point of
// the same cell lies within Manhattan distance int(0.35 * (top - bottom)).
double TopRootcapInnerWeight(int x, int i, int j) {
    int bottom = CellMinJ[x], top = CellMaxJ[x];
    int r = static_cast<int>(ROOTCAP_SEARCH_FRACTION * (top - bottom));
    int lo = static_cast<int>(max(0, i - ROOTCAP_SEARCH_COLUMNS));
    int hi = static_cast<int>(min(NCOLS - 1, i + ROOTCAP_SEARCH_COLUMNS));
    for (int k = lo; k <= hi; k++) {
        int dk = k > i ? k - i : i - k;
        if (dk > r) continue;
        for (int l = bottom; l <= top; l++) {
            if (Cell[k][l] != x || Tmt[k][l] != 1) continue;
            int dl = l > j ? l - j : j - l;
            if (dk + dl <= r) return 1;
        }
    }
    return 0.0005;
}

// PIN weight of the left-half membrane point (i, j): sets *grid to the
// pattern it belongs to and *value to the weight; PAT_NONE when none applies.
void PinWeight(int i, int j, int* grid, double* value) {
    const int x = Cell[i][j];
    const int type = Tct[i][j];
    const int side = Tmt[i][j];
    const int bottom = CellMinJ[x];
    const int top = CellMaxJ[x];
    const int z = CellZonationState[x];
    const int L = TipLine(i);
    const bool nearTip = j <= L;
    int g = PAT_NONE;
    double v = 0;
    auto set = [&](int pattern, double w) {
        g = pattern;
        v = w;
    };

    if (type <= 4) {
        // Lateral root cap: PIN2.
        if (type == 1) {
            int above = top + CELL_GAP;
            bool topmost = above >= NROWS || Tc[i][above] == TC_OUTSIDE;
            if (!topmost && j <= TIP_TOP_ROW) {
                if (side == 1) set(PAT_PIN2, 0.5);
                else if (side == 3) set(PAT_PIN2, 0.35);
            } else if (!topmost) {
                if (side == 1) set(PAT_PIN2, 1);
                else if (side == 3) set(PAT_PIN2, z > 50 ? 0.3 : 0.0005);
                else if (side == 4) set(PAT_PIN2, z > 50 ? 0 : 0.01);
            } else {
                if (side == 1) set(PAT_PIN2, 1);
                else if (side == 3) set(PAT_PIN2, TopRootcapInnerWeight(x, i, j));
                else if (side == 4) set(PAT_PIN2, 0);
            }
        } else {
            if (side == 1) set(PAT_PIN2, 0.5);
            else if (side == 3) set(PAT_PIN2, 0.35);
        }
    } else if (type == 5) {
        // Epidermis: PIN2.
        if (side == 1) {
            if (z < 100 || z == 200) set(PAT_PIN2, 1);
            else if (z == 100) set(PAT_PIN2, 0.4);
        } else if (side == 2) {
            if (z == 0 && (nearTip || bottom <= 149)) set(PAT_PIN2, 0.25);
        } else if (side == 3) {
            if (bottom <= 149 || BelowStartsAtOrBelow(x, i, 152) || z <= 100 || z == 200)
                set(PAT_PIN2, 0.1);
        } else if (side == 4) {
            if (bottom <= 149) set(PAT_PIN2, 0.1);
            else set(PAT_PIN2, z <= 50 ? 0.1 : 0);
        }
    } else if (type == 6) {
        // Cortex: PIN2.
        if (side == 1) {
            if (top == 147 || top == 148) set(PAT_PIN2, 0.1);
            else if (z <= 50) {
            } else if (z <= 99) set(PAT_PIN2, 1);
            else if (z == 100) set(PAT_PIN2, 0.4);
            else if (z == 200) set(PAT_PIN2, 1);
        } else if (side == 2) {
            if (z <= 50) set(PAT_PIN2, 1);
        } else if (side == 3) {
            if (z != 0) set(PAT_PIN2, 0.1);
            else if (nearTip) set(PAT_PIN2, 0.5);
        } else if (side == 4) {
            if (z != 0) set(PAT_PIN2, z == 100 ? 0.1 : 0);
            else if (nearTip) set(PAT_PIN2, 0.5);
        }
    } else if (type == 7) {
        // Endodermis: PIN1.
        if (side == 1) {
            if (nearTip) set(PAT_PIN1, 0.5);
            else set(PAT_PIN1, z == 100 ? 0.1 : 0);
        } else if (side == 2) {
            set(PAT_PIN1, z == 100 ? 0.35 : 1);
        } else if (side == 3) {
            if (z != 0) set(PAT_PIN1, z == 100 ? 0.1 : 0.35);
            else set(PAT_PIN1, nearTip ? 0.7 : 0.35);
        } else if (side == 4) {
            if (z != 0) set(PAT_PIN1, z == 100 ? 0.1 : 0);
            else set(PAT_PIN1, nearTip ? 0.7 : 0.15);
        }
    } else if (type == 8) {
        // Pericycle: PIN1.
        if (side == 1) {
            set(PAT_PIN1, 0);
        } else if (side == 2) {
            if (BelowStartsAbove(x, i, 179)) set(PAT_PIN1, 1);
            else if (bottom > 179) set(PAT_PIN1, 0.75);
            else if (bottom > 140) set(PAT_PIN1, 0.5);
        } else if (side == 3) {
            if (z != 0) set(PAT_PIN1, bottom > 179 ? 0.1 : 0.5);
            else if (nearTip) set(PAT_PIN1, 0.7);
        } else if (side == 4) {
            if (z != 0) set(PAT_PIN1, 0);
            else if (nearTip) set(PAT_PIN1, 0.7);
        }
    } else if (type <= 11) {
        // Vascular files: PIN1.
        if (side == 1) {
            if (bottom >= 141 && bottom <= 179) set(PAT_PIN1, 0);
        } else if (side == 2) {
            if (BelowStartsAbove(x, i, 179)) set(PAT_PIN1, 1);
            else if (bottom > 179) set(PAT_PIN1, 0.75);
            else if (bottom > 140) set(PAT_PIN1, 0.5);
            else if (bottom > 134) {
            } else set(PAT_PIN1, 0.4);
        } else if (side == 3) {
            if (bottom <= 179) set(PAT_PIN1, 0.4);
            else if (z >= 30) set(PAT_PIN1, 0);
        } else if (side == 4) {
            if (bottom <= 179) set(PAT_PIN1, 0.4);
            else if (z >= 30) set(PAT_PIN1, 0.1);
        }
    } else if (type == 12) {
        // Quiescent centre: its lowest row only.
        if (j == bottom) set(PAT_PIN1, 0.5);
    } else if (type == 13) {
        if (side >= 1 && side <= 3) set(PAT_PIN1, 0.5);
    } else if (type <= 16) {
        if (side >= 1 && side <= 3) set(PAT_PIN1, 0.375);
        else if (side == 4) set(PAT_PIN1, 0.5);
    } else {
        if (side == 1) set(PAT_PIN1, 0.375);
        else if (side >= 2 && side <= 4) set(PAT_PIN1, 0.5);
    }
    *grid = g;
    *value = v;
}

// PIN weight of the left-half point (i, j) with the corner rule applied: sets
// *grid to the pattern and *value to the weight; PAT_NONE where no pattern
// applies.  The pattern holds unchanged at the mirror point, so the PIN1 and
// PIN2 patterns are exactly symmetric.
inline void LeftPinWeight(int i, int j, int* grid, double* value) {
    *grid = PAT_NONE;
    *value = 0;
    if (Tc[i][j] != TC_MEMBRANE || Cell[i][j] == -1) return;
    bool vertical = IsMembrane(i, j + 1) || IsMembrane(i, j - 1);
    bool horizontal = IsMembrane(i + 1, j) || IsMembrane(i - 1, j);
    // Corner points of an outline are skipped above the tip.
    if (j > TIP_TOP_ROW && vertical && horizontal) return;
    PinWeight(i, j, grid, value);
}

// Rows of column EPI_PROBE_COLUMN, within the probed band, where a new cell
// begins; returns how many were found (at most EPI_MAX_BOUNDARIES).
int EpidermalBoundaries(int B[EPI_MAX_BOUNDARIES]) {
    for (int k = 0; k < EPI_MAX_BOUNDARIES; k++) B[k] = 0;
    int n = 0;
    int remembered = Cell[EPI_PROBE_COLUMN][EPI_PROBE_FIRST];
    for (int j = EPI_PROBE_FIRST; j <= EPI_PROBE_LAST && n < EPI_MAX_BOUNDARIES; j++) {
        int x = Cell[EPI_PROBE_COLUMN][j];
        if (x != -1 && x != remembered) {
            B[n++] = j;
            remembered = x;
        }
    }
    return n;
}

double EpidermisAux1(int x, int i, int g, int z, int n, const int B[EPI_MAX_BOUNDARIES]) {
    if (g > EPI_PROBE_LAST) {
        if (z <= 49) return 0.1;
        if (z >= 60) return 1;
        int y = x;
        for (int k = 0; k < 4 && y != -1; k++) y = CellAbove(y, i);
        return (y != -1 && CellZonationState[y] <= 59) ? 0.1 : 1;
    }
    if (n <= 3) return 1;
    if (n == 4) return g < B[3] ? 1 : 0.55;
    if (n == 5) {
        if (g < B[3]) return 1;
        return g < B[4] ? 0.7 : 0.4;
    }
    if (g < B[3]) return 1;
    if (g < B[4]) return 0.775;
    return g < B[5] ? 0.55 : 0.225;
}

double CortexAux1(int x, int i, int g, int z, const int B[EPI_MAX_BOUNDARIES]) {
    if (g < 152) return 1;
    if (g < B[1]) return 0.7;
    if (g < B[2]) return 0.4;
    if (z <= 49) return 0.1;
    if (z >= 60) return 0.5;
    int y = CellAbove(x, i);
    return (y != -1 && CellZonationState[y] <= 59) ? 0.1 : 0.5;
}

double SteleAux1(int x, int j, int g) {
    const int centre = (CellMinI[x] + CellMaxI[x]) / 2;
    const int y = CellBelow(x, centre);
    const int y2 = y != -1 ? CellBelow(y, centre) : -1;
    auto startsAtOrBelow = [](int cell, int row) { return cell != -1 && CellMinJ[cell] <= row; };
    if (maxmzheight <= 316) {
        const int u = (maxmzheight - 149) / 2;
        const int R = u + 148;
        if (g <= static_cast<int>(max(151, R))) return 2;
        if (startsAtOrBelow(y, 151)) return 2;
        if (j <= 149) return 1;
        if (startsAtOrBelow(y, R)) return 5.0 / 3.0;
        if (startsAtOrBelow(y2, 151)) return 5.0 / 3.0;
        if (startsAtOrBelow(y2, R)) return 4.0 / 3.0;
        return 1;
    }
    if (g <= 232) return 2;
    if (j <= 149) return 1;
    if (startsAtOrBelow(y, 232)) return 5.0 / 3.0;
    if (startsAtOrBelow(y2, 151)) return 5.0 / 3.0;
    if (startsAtOrBelow(y2, 232)) return 4.0 / 3.0;
    return 1;
}

// AUX1 weight of the membrane point (i, j) of cell x, on both halves with
// mirrored rules.
double Aux1Weight(int i, int j, int x, int n, const int B[EPI_MAX_BOUNDARIES]) {
    const int g = CellMinJ[x];
    const int o = Tct[i][j];
    const int z = CellZonationState[x];
    const int h = Tct[(CellMinI[x] + CellMaxI[x]) / 2][(g + CellMaxJ[x]) / 2];
    double w = 0;
    if (h >= 14) return 3;
    if (h == 12) {
        w = 3;
        if (o == 13) return 1;
    } else {
        if (o == 13) return 1;
        if (h >= 1 && h <= 4) return 1;
    }
    // Tip corner: at or below the tip line of either half, never on the axis.
    bool belowTipLine = false;
    if (i < AXIS) belowTipLine = j <= TipLine(i);
    else if (i > AXIS) belowTipLine = j <= TIP_LINE_SLOPE * (MIRRORSUM - i) + TIP_LINE_OFFSET;
    if (j <= TIP_TOP_ROW && belowTipLine && !(h >= 8 && h <= 12)) return 1;
    if (o == 5) w = EpidermisAux1(x, i, g, z, n, B);
    else if (o == 6) w = CortexAux1(x, i, g, z, B);
    else if (o == 7) w = 0;
    else if (o >= 8 && o <= 11) w = SteleAux1(x, j, g);
    return w;
}

// Base production rate k of a point of tissue t at (i, j).
double BaseProduction(int i, int j, int t) {
    if (t == 17 || t == 12) return PRODUCTION_SOURCE_TISSUE;
    if (j <= PRODUCTION_STELE_ROW && t >= 8 && t <= 11) return PRODUCTION_SOURCE_TISSUE;
    if (j <= TIP_TOP_ROW && j < static_cast<int>(SLANT_SLOPE * i - SLANT_OFFSET) &&
        j < static_cast<int>(SLANT_SLOPE * (MIRRORSUM - i) - SLANT_OFFSET) && t >= 5 && t <= 7)
        return PRODUCTION_SOURCE_TISSUE;
    if (t >= 1 && t <= 4) return PRODUCTION_ROOTCAP;
    if (t >= 13 && t <= 16) return PRODUCTION_COLUMELLA;
    return j > TIP_TOP_ROW ? PRODUCTION_BODY : PRODUCTION_TIP;
}

// ---------------------------------------------------------------------------
// Extent bookkeeping.  Pair p (0..AXIS) is column p with its mirror column
// MIRRORSUM - p (the axis column pairs with itself); a pair is handled as a
// whole, since the PIN patterns of both columns come from the left one.

struct Rows {
    int lo, hi;  // empty when lo > hi
};

inline Rows Hull(Rows a, Rows b) {
    if (a.lo > a.hi) return b;
    if (b.lo > b.hi) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

inline int RowsOf(Rows r) { return r.hi >= r.lo ? r.hi - r.lo + 1 : 0; }

inline int PairOf(int column) { return std::min(column, MIRRORSUM - column); }

Rows written[AXIS + 1];  // rows of each pair that may hold nonzero outputs
Rows sweep[AXIS + 1];    // rows of each pair the current call writes
bool writtenKnown = false;

// Per-call values shared by the threads.
bool sweepWholeGrid = false;
int pairWork[AXIS + 1];  // estimated rows of each pair, for sharing the pairs
int epiCount = 0;
int epiBoundaries[EPI_MAX_BOUNDARIES];

// The share [*begin, *end) of items 0..count-1 that thread t of n takes: a
// contiguous run, the runs of about equal work (work(k) >= 1).
template <class Work>
void Share(int count, int t, int n, Work work, int* begin, int* end) {
    long total = 0;
    for (int k = 0; k < count; k++) total += work(k);
    *begin = *end = count;
    long acc = 0;
    for (int k = 0; k < count; k++) {
        const long owner = std::min<long>(n - 1, acc * n / total);
        if (owner >= t && *begin == count) *begin = k;
        if (owner > t) {
            *end = k;
            break;
        }
        acc += work(k);
    }
    if (*begin > *end) *begin = *end;
}

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

// Most outputs keep their bits from one call to the next (patterns, and all
// but the production and decay away from membranes): a value is stored only
// where its bits change, which spares writing its memory back.
inline void StoreIfChanged(double* to, double v) {
    if (memcmp(to, &v, sizeof v) != 0) *to = v;
}
inline void StoreIfChanged(NeighbourRates* to, const NeighbourRates& v) {
    if (memcmp(to, &v, sizeof v) != 0) *to = v;
}

// Carrier patterns, amounts, production and decay of column c over rows
// lo..hi, the PIN patterns being in place already; then the source or sink
// at the top of the column.
void ColumnCarriers(int c, int lo, int hi) {
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
    // The rates of the last point, reused while cell and base rate stay.
    int lastCell = -1;
    double lastBase = 0, lastProduction = 0, lastDecay = 0;
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
        const double w = tc[j] == TC_MEMBRANE ? Aux1Weight(c, j, x, epiCount, epiBoundaries) : 0.0;
        StoreIfChanged(&aux1[j], w);
        StoreIfChanged(&m1[j], pin1[j] * Pin[x]);
        StoreIfChanged(&m2[j], pin2[j] * Pin2[x]);
        StoreIfChanged(&ma[j], w * Aux1[x]);
        const double k = BaseProduction(c, j, tct[j]);
        if (x != lastCell || k != lastBase) {
            lastCell = x;
            lastBase = k;
            lastDecay = DECAY_BASE + DECAY_PER_GH317 * Gh317[x] + DECAY_PER_GH33 * Gh33[x];
            lastProduction = (PRODUCTION_PER_YUC3 * Yuc3[x] + k) * PRODUCTION_HEIGHT_SCALE / CellHeight[x];
        }
        dec[j] = lastDecay;
        pro[j] = lastProduction;
    }
    // The first wall point over a membrane, seen from the top of the column, is
    // a sink above the outer tissues and the auxin supply above the stele
    // (rows outside lo..hi hold no wall).
    for (int j = hi; j >= std::max(lo, 1); j--) {
        if (tc[j] != TC_WALL || tc[j - 1] != TC_MEMBRANE) continue;
        int t = tct[j - 1];
        if (t >= 5 && t <= 7) dec[j] = TOP_SINK_DECAY;
        else if (t >= 8 && t <= 11) pro[j] = TOP_SOURCE_PRODUCTION;
        break;
    }
}

// Everything of pair p but the coefficients toward the neighbours.
void PairCarriers(int p) {
    const int L = p, R = MIRRORSUM - p;
    const int lo = sweep[p].lo, hi = sweep[p].hi;
    if (lo > hi) return;
    double* pin1 = PinPrePat[L];
    double* pin2 = Pin2PrePat[L];
    for (int j = lo; j <= hi; j++) {
        int grid;
        double v;
        LeftPinWeight(L, j, &grid, &v);
        StoreIfChanged(&pin1[j], grid == PAT_PIN1 ? v : 0.0);
        StoreIfChanged(&pin2[j], grid == PAT_PIN2 ? v : 0.0);
    }
    if (R != L) {
        double* mirror1 = PinPrePat[R];
        double* mirror2 = Pin2PrePat[R];
        for (int j = lo; j <= hi; j++) {
            StoreIfChanged(&mirror1[j], pin1[j]);
            StoreIfChanged(&mirror2[j], pin2[j]);
        }
    }
    ColumnCarriers(L, lo, hi);
    if (R != L) ColumnCarriers(R, lo, hi);
}

// Membrane and diffusion coefficients of column i toward each neighbour on
// the grid (+column, -column, +row, -row), over rows lo..hi; every other rate
// of those rows is zero.
void ColumnCoefficients(int i, int lo, int hi) {
    constexpr int OFF_GRID = -1;  // matches no point class
    static const int dj[4] = {0, 0, 1, -1};
    const int* tc = Tc[i];
    const int* right = i + 1 < NCOLS ? Tc[i + 1] : nullptr;
    const int* left = i > 0 ? Tc[i - 1] : nullptr;
    // Columns of the carrier amounts of each neighbour (row dj[k]).
    const double* a1[4] = {right ? Aux1M[i + 1] : nullptr, left ? Aux1M[i - 1] : nullptr, Aux1M[i], Aux1M[i]};
    const double* p1[4] = {right ? Cpin1M[i + 1] : nullptr, left ? Cpin1M[i - 1] : nullptr, Cpin1M[i], Cpin1M[i]};
    const double* p2[4] = {right ? Cpin2M[i + 1] : nullptr, left ? Cpin2M[i - 1] : nullptr, Cpin2M[i], Cpin2M[i]};
    NeighbourRates* inf = Inf[i];
    NeighbourRates* eff = Eff[i];
    NeighbourRates* dif = DiffAuxC[i];
    for (int j = lo; j <= hi; j++) {
        const int p = tc[j];
        NeighbourRates in = {}, ef = {}, df = {};
        if (p != TC_OUTSIDE) {
            const int q[4] = {right ? right[j] : OFF_GRID, left ? left[j] : OFF_GRID,
                              j + 1 < NROWS ? tc[j + 1] : OFF_GRID, j > 0 ? tc[j - 1] : OFF_GRID};
            for (int k = 0; k < 4; k++) df[k] = DiffusionWeight(p, q[k]);
            if (p == TC_WALL) {
                for (int k = 0; k < 4; k++) {
                    if (q[k] == TC_MEMBRANE) {
                        const int r = j + dj[k];
                        in[k] = -(INFLUX_BASE + INFLUX_PER_AUX1 * a1[k][r]);
                        ef[k] = EFFLUX_BASE + EFFLUX_PER_PIN * (p1[k][r] + p2[k][r]);
                    }
                }
            } else if (p == TC_MEMBRANE) {
                for (int k = 0; k < 4; k++) {
                    if (q[k] == TC_WALL) {
                        in[k] = INFLUX_BASE + INFLUX_PER_AUX1 * Aux1M[i][j];
                        ef[k] = -(EFFLUX_BASE + EFFLUX_PER_PIN * (Cpin1M[i][j] + Cpin2M[i][j]));
                    }
                }
            }
        }
        StoreIfChanged(&inf[j], in);
        StoreIfChanged(&eff[j], ef);
        StoreIfChanged(&dif[j], df);
    }
}

}  // namespace

void UpdateMembraneProteinsAndFluxes(int time) {
    if (time == 0) ResetZonation();
    // At time 0 the state is new (start or reload): nothing is known of what
    // the grids held before, so every row is written.
    sweepWholeGrid = time == 0 || !writtenKnown;
    epiCount = EpidermalBoundaries(epiBoundaries);
    // The threads share the pairs by the rows written last time (PlanPair
    // replaces those while the threads run).
    for (int p = 0; p <= AXIS; p++) pairWork[p] = 1 + (writtenKnown ? RowsOf(written[p]) : 0);

    RunOnTransportThreads([](int t, int n) {
        int begin, end;
        Share(AXIS + 1, t, n, [](int p) { return pairWork[p]; }, &begin, &end);
        for (int p = begin; p < end; p++) {
            PlanPair(p);
            PairCarriers(p);
        }
    });
    RunOnTransportThreads([](int t, int n) {
        int begin, end;
        Share(NCOLS, t, n, [](int c) { return 1 + RowsOf(sweep[PairOf(c)]); }, &begin, &end);
        for (int c = begin; c < end; c++) ColumnCoefficients(c, sweep[PairOf(c)].lo, sweep[PairOf(c)].hi);
    });
    writtenKnown = true;
    // The transport step factorises its line systems anew.
    TransportCoefficientsChanged();
}
