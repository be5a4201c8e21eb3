// Cell-to-cell diffusion of a per-cell quantity through plasmodesmata.
//
// The quantity is spread onto the grid; facing membrane points of two cells
// (across a wall at most three points wide) trade amounts in proportion to
// their difference and the plasmodesmata density of their sides; the top of
// the tissue may drain toward a fixed value; points of two given tissues near
// the tip lose a small fraction; each cell then takes the mean over its
// points.  One explicit step: all changes are computed from the spread values.
//
// Only the rows of each column that hold tissue are visited.  The columns are
// shared among the transport step's threads: a thread applies, in scan order,
// every trade that reaches a point of its own columns (visiting the four
// columns on either side too, since a trade reaches that far), so each point
// sees the same additions in the same order as in one sweep.  Each cell's sum
// is then formed by the thread that holds the cell's first column, over the
// cell's points in scan order.
//
// Which points trade with which, and the runs of one cell's points in each
// column, follow from the tissue alone: each share keeps its list of trades,
// in scan order, while the tissue's generation and its columns stay, and each
// column its runs while the generation stays.
#include <algorithm>
#include <cassert>
#include <vector>

#include "cellular_diffusion.h"

#include "state.h"
#include "threads.h"
#include "tissue_extent.h"
#include "tissue_watch.h"

namespace {

constexpr int MAX_SEARCH = 4;                   // a facing membrane lies 2..4 points away

// Directions of the trades from a membrane point, in the order they are made:
// left, right, down, up.
struct Direction {
    int di, dj;
};
constexpr Direction kDirections[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};


// Threads beyond this many take no share of the work (any number gives the
// same result).
constexpr int MAX_SHARES = 16;

// Scratch, kept for the whole run so that a call allocates nothing.  The new
// values of the tissue rows of every column; the spread (old) values are read
// from the cell values directly.
double NewGrid[NCOLS][NROWS];
int rowLo[NCOLS], rowHi[NCOLS];     // tissue rows of each column, this call
int colWork[NCOLS];                 // rows of each column at the last call, for sharing
bool rowsKnown = false;
// Which cells each share met in its own columns (seen[s][x] == stamp) and the
// last of those columns holding the cell.
int seen[MAX_SHARES][MAXCELLS];
int lastColumn[MAX_SHARES][MAXCELLS];
int stamp = 0;
double cellSum[MAXCELLS];

// One trade between two facing membrane points: u, the point traded from
// (its side's density sets the rate), and w, the one facing it.  Each gains
// only where it lies in the share's own columns.
struct Trade {
    short ui, uj, wi, wj;
    int cellU, cellW;   // their cells (-1: none)
    int side;           // the side of u's membrane, 0..3; -1: no density
    bool horizontal;    // across a lateral wall
    bool gainU, gainW;  // the point lies in the share's own columns
    bool operator==(const Trade& o) const {
        return ui == o.ui && uj == o.uj && wi == o.wi && wj == o.wj && cellU == o.cellU && cellW == o.cellW &&
               side == o.side && horizontal == o.horizontal && gainU == o.gainU && gainW == o.gainW;
    }
};
static_assert(NCOLS <= 32767 && NROWS <= 32767, "grid positions fit a short");

// What a share derives from the tissue alone: the tissue rows of the columns
// it visits (its own and MAX_SEARCH on either side) and its trades, with the
// tissue and columns they were found for.
struct ShareTissue {
    int lo[NCOLS], hi[NCOLS];
    std::vector<Trade> trades;
    unsigned long tissue = 0;
    int c0 = -1, c1 = -1;
};
ShareTissue shareTissue[MAX_SHARES];

// The runs of each column's tissue rows: consecutive points of one cell (or
// of none, -1), in order, and the tissue they were found on.
struct ColumnRun {
    int lo, hi, cell;
    bool operator==(const ColumnRun& o) const { return lo == o.lo && hi == o.hi && cell == o.cell; }
};
std::vector<ColumnRun> columnRuns[NCOLS];
unsigned long columnRunsTissue[NCOLS];

void FindColumnRuns(int i, int lo, int hi, std::vector<ColumnRun>& runs) {
    runs.clear();
    const int* cell = Cell[i];
    for (int j = lo; j <= hi; j++) {
        if (!runs.empty() && runs.back().cell == cell[j]) runs.back().hi = j;
        else runs.push_back({j, j, cell[j]});
    }
}

// Column i's runs over rows lo..hi of this call's tissue: those kept, or
// found anew (every time, and compared, in a build with ROOTSIM_CHECKED).
const std::vector<ColumnRun>& RunsOf(int i, unsigned long tissue, int lo, int hi) {
    std::vector<ColumnRun>& runs = columnRuns[i];
    const bool kept = tissue != 0 && columnRunsTissue[i] == tissue;
#ifdef ROOTSIM_CHECKED
    if (kept) {
        std::vector<ColumnRun> fresh;
        FindColumnRuns(i, lo, hi, fresh);
        assert(fresh == runs);
    }
#endif
    if (!kept) {
        FindColumnRuns(i, lo, hi, runs);
        columnRunsTissue[i] = tissue;
    }
    return runs;
}

// Per-call arguments shared by the threads.
const double* spread = nullptr;  // the cell values before the step
double verticalRate, horizontalRate, drainValue;
bool drain = false;
TipLoss loss;

// The value before the step of cell x (0 for no cell), and of point (i, j).
inline double SpreadOf(int x) { return x == -1 ? 0.0 : spread[x]; }
inline double Old(int i, int j) { return SpreadOf(Cell[i][j]); }

// The side of the membrane of point (i, j) whose plasmodesmata density sets
// its trades, 0..3; -1 for a point without a side code or without a cell (no
// transfer from its side).
inline int DensitySide(int i, int j) {
    int s = Tmt[i][j];
    if (s < 1 || s > 4 || Cell[i][j] == -1) return -1;
    return s - 1;
}

// The trades that reach a point of columns c0..c1-1, in scan order, visiting
// left, right, down, up from every membrane point of the columns v0..v1-1
// (rows lo..hi of each).
void FindTrades(int c0, int c1, int v0, int v1, const int* lo, const int* hi, std::vector<Trade>& out) {
    out.clear();
    auto own = [&](int i) { return i >= c0 && i < c1; };
    for (int i = v0; i < v1; i++) {
        const int* tc = Tc[i];
        for (int j = lo[i]; j <= hi[i]; j++) {
            if (tc[j] != TC_MEMBRANE) continue;
            for (const Direction& d : kDirections) {
                // Across a wall next to (i, j), the first membrane point 2..4
                // points away faces it.
                if (!OnGrid(i + d.di, j + d.dj) || Tc[i + d.di][j + d.dj] != TC_WALL) continue;
                for (int n = 2; n <= MAX_SEARCH; n++) {
                    const int k = i + n * d.di, l = j + n * d.dj;
                    if (!OnGrid(k, l)) break;
                    if (Tc[k][l] != TC_MEMBRANE) continue;
                    if (own(i) || own(k))
                        out.push_back({static_cast<short>(i), static_cast<short>(j), static_cast<short>(k),
                                       static_cast<short>(l), Cell[i][j], Cell[k][l], DensitySide(i, j), d.di != 0,
                                       own(i), own(k)});
                    break;
                }
            }
        }
    }
}

// Finds the tissue rows of columns v0..v1-1 and the trades of columns
// c0..c1-1 into d.
void FindShareTissue(int c0, int c1, int v0, int v1, ShareTissue& d) {
    for (int i = v0; i < v1; i++) tissueextent::TissueRows(i, &d.lo[i], &d.hi[i]);
    FindTrades(c0, c1, v0, v1, d.lo, d.hi, d.trades);
}

// Share s's rows and trades for this call's tissue and columns: those kept,
// or found anew.  A build with ROOTSIM_CHECKED finds them anew every time and
// compares.
const ShareTissue& ShareTissueOf(int s, unsigned long tissue, int c0, int c1) {
    ShareTissue& d = shareTissue[s];
    const int v0 = std::max(0, c0 - MAX_SEARCH), v1 = std::min(NCOLS, c1 + MAX_SEARCH);
    const bool kept = tissue != 0 && d.tissue == tissue && d.c0 == c0 && d.c1 == c1;
#ifdef ROOTSIM_CHECKED
    if (kept) {
        static ShareTissue fresh[MAX_SHARES];
        FindShareTissue(c0, c1, v0, v1, fresh[s]);
        assert(std::equal(d.lo + v0, d.lo + v1, fresh[s].lo + v0) && std::equal(d.hi + v0, d.hi + v1, fresh[s].hi + v0));
        assert(fresh[s].trades == d.trades);
    }
#endif
    if (kept) return d;
    FindShareTissue(c0, c1, v0, v1, d);
    d.tissue = tissue;
    d.c0 = c0;
    d.c1 = c1;
    return d;
}

// Spread, trades, drain and loss for the columns c0..c1-1 of share s, on the
// tissue of generation `tissue`.
void ExchangeShare(int s, int c0, int c1, unsigned long tissue) {
    const ShareTissue& d = ShareTissueOf(s, tissue, c0, c1);
    const int* lo = d.lo;
    const int* hi = d.hi;
    for (int i = c0; i < c1; i++) {
        rowLo[i] = lo[i];
        rowHi[i] = hi[i];
    }

    // 1. Spread over the own columns, run by run, noting the cells met.
    for (int i = c0; i < c1; i++) {
        double* nw = NewGrid[i];
        for (const ColumnRun& r : RunsOf(i, tissue, lo[i], hi[i])) {
            const int x = r.cell;
            const double v = SpreadOf(x);
            for (int j = r.lo; j <= r.hi; j++) nw[j] = v;
            if (x >= 0 && x < actcells) {
                seen[s][x] = stamp;
                lastColumn[s][x] = i;
            }
        }
    }

    // 2. Membrane trades in scan order; only additions to the own columns
    // are made.
    for (const Trade& t : d.trades) {
        const double p = t.side < 0 ? 0.0 : Plasmodesmatapattern[t.cellU][t.side];
        const double g = p * 0.5 * (t.horizontal ? horizontalRate : verticalRate);
        const double u = SpreadOf(t.cellU), w = SpreadOf(t.cellW);
        if (t.gainU) NewGrid[t.ui][t.uj] += (w - u) * g;
        if (t.gainW) NewGrid[t.wi][t.wj] += (u - w) * g;
    }

    for (int i = c0; i < c1; i++) {
        // 3. Top drain: the highest cell point of the column relaxes toward the value.
        if (drain) {
            for (int j = hi[i]; j >= lo[i]; j--) {
                if (Cell[i][j] != -1) {
                    NewGrid[i][j] += (drainValue - Old(i, j)) * verticalRate;
                    break;
                }
            }
        }
        // 4. Loss from the outer root cap and the first columella tier near the tip.
        const int last = std::min(hi[i], loss.lastRow);
        for (int j = lo[i]; j <= last; j++) {
            int t = Tct[i][j];
            if (t == loss.tissueA || t == loss.tissueB) NewGrid[i][j] -= Old(i, j) * loss.rate;
        }
    }
}

// The share that holds cell x's first column, -1 for a cell without points.
inline int Owner(int x, int shares) {
    for (int s = 0; s < shares; s++)
        if (seen[s][x] == stamp) return s;
    return -1;
}

// Sums, in scan order, the points of the cells whose first column share s
// holds, and writes their means.
void GatherShare(int s, int shares, int c0, double* values) {
    int end = -1;
    for (int x = 0; x < actcells; x++) {
        if (Owner(x, shares) != s) continue;
        cellSum[x] = 0;
        for (int r = s; r < shares; r++)
            if (seen[r][x] == stamp) end = std::max(end, lastColumn[r][x]);
    }
    // The runs of every column were found by the spread of this call.
    for (int i = c0; i <= end; i++) {
        const double* nw = NewGrid[i];
        for (const ColumnRun& r : columnRuns[i]) {
            const int x = r.cell;
            if (x < 0 || x >= actcells || Owner(x, shares) != s) continue;
            double acc = cellSum[x];
            for (int j = r.lo; j <= r.hi; j++) acc += nw[j];
            cellSum[x] = acc;
        }
    }
    for (int x = 0; x < actcells; x++) {
        const int o = Owner(x, shares);
        if (o == s) values[x] = cellSum[x] * InvCellSizes[x];
        else if (o == -1 && s == 0) values[x] = 0.0 * InvCellSizes[x];
    }
}

}  // namespace

void DiffuseBetweenCells(double* values, double vertical, double horizontal, bool drainTop,
                         double topValue, const TipLoss& tipLoss) {
    // The cell values before the step are read until the means replace them.
    spread = values;
    verticalRate = vertical;
    horizontalRate = horizontal;
    drain = drainTop;
    drainValue = topValue;
    loss = tipLoss;
    stamp++;
    if (!rowsKnown)
        for (int i = 0; i < NCOLS; i++) colWork[i] = 1;
    static int shareBegin[MAX_SHARES + 1];
    const unsigned long tissue = TissueGeneration();

    RunOnTransportThreads([tissue](int t, int n) {
        const int shares = std::min(n, MAX_SHARES);
        if (t >= shares) return;
        int begin, end;
        ShareByWork(NCOLS, t, shares, [](int i) { return colWork[i]; }, &begin, &end);
        shareBegin[t] = begin;
        ExchangeShare(t, begin, end, tissue);
    });
    RunOnTransportThreads([values](int t, int n) {
        const int shares = std::min(n, MAX_SHARES);
        if (t >= shares) return;
        GatherShare(t, shares, shareBegin[t], values);
    });
    // Numbers not in use hold no cell and end at 0, whatever the grid says.
    for (int x = actcells; x < MAXCELLS; x++) values[x] = 0;
    for (int i = 0; i < NCOLS; i++) colWork[i] = 1 + std::max(0, rowHi[i] - rowLo[i] + 1);
    rowsKnown = true;
}
