// Implicit (ADI) auxin transport step.
//
// One step is two half steps of 0.1 time units: the first implicit along each
// column (rows coupled), the second implicit along each row.  Every implicit
// line is a tridiagonal system.  The matrices depend only on the transport
// coefficients, which change every tenth step, so each line system is
// factorised once per coefficient update (the elimination multipliers and
// modified diagonals are the very numbers the plain Thomas algorithm computes
// for that line), and each step only substitutes.  The first step after an
// update factorises each group of lines right before it solves them, while
// their factorised data is still in the caches.  Four or eight neighbouring
// lines are solved together in vector lanes, and lines are shared between
// threads.
// Every point is computed with exactly the operations, in exactly the order,
// of the plain solve of whole lines, so the result does not depend on the
// lane grouping or on the number of threads.
#include "transport.h"

#include "coefficients.h"
#include "large_arrays.h"
#include "state.h"
#include "threads.h"

#include <unistd.h>
#include <immintrin.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr double HALFSTEP = 0.1;   // h, the length of a half step
// Lines solved together: one vector register of doubles where the processor
// has 512-bit registers (the build passes TRANSPORT_LANES=8 there), two of
// 256 bits otherwise.  Every lane is computed with the same operations, so
// the count changes only the speed.
#ifndef TRANSPORT_LANES
#define TRANSPORT_LANES 4
#endif
constexpr int LANES = TRANSPORT_LANES;
static_assert(LANES == 4 || LANES == 8, "four or eight lanes");
// How many positions ahead the sweeps ask for their factorised data: each
// position waits on a chain of arithmetic, so few loads are in flight unless
// asked for early.
constexpr int PREFETCH_AHEAD = 16;
// The row sweep's lanes are neighbouring rows, so each position along its
// lines lies a whole column further on in memory, a stride the processor's
// own prefetching does not follow: the cache lines of the position this many
// columns ahead (behind, for the backward pass) are asked for in advance.
// Measured: 2, 4 and 8 alike, the step some 4 to 7 % faster than with none.
constexpr int PREFETCH_COLUMNS = 4;

// Asks for the cache lines of p[0..LANES-1], to be read, or written with
// `write`.
template <typename T>
__attribute__((always_inline)) inline void PrefetchLanes(const T* p, bool write = false) {
    if (write) {
        __builtin_prefetch(p, 1);
        __builtin_prefetch(p + (LANES - 1), 1);
    } else {
        __builtin_prefetch(p);
        __builtin_prefetch(p + (LANES - 1));
    }
}

// Asks for the cache line of p[ahead].  The address is formed as an integer:
// it may lie outside the array near a span's ends, where a prefetch is
// harmless but pointer arithmetic would not be.
template <typename T>
__attribute__((always_inline)) inline void PrefetchAt(const T* p, long ahead) {
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(p) +
                                                     static_cast<uintptr_t>(ahead * static_cast<long>(sizeof(T)))));
}

typedef double vd __attribute__((vector_size(8 * LANES)));
typedef long long vi __attribute__((vector_size(8 * LANES)));
typedef int vn __attribute__((vector_size(4 * LANES)));
// Blocks of four lanes, the unit of the transposes.
typedef double v4d __attribute__((vector_size(32)));
typedef long long v4i __attribute__((vector_size(32)));

__attribute__((always_inline)) inline vd Splat(double x) {
    vd v;
    for (int l = 0; l < LANES; l++) v[l] = x;
    return v;
}
__attribute__((always_inline)) inline vd Select(vi mask, vd yes, vd no) { return (vd)(((vi)yes & mask) | ((vi)no & ~mask)); }
// Every lane's magnitude: its sign bit cleared.
__attribute__((always_inline)) inline vd Magnitude(vd x) { return (vd)((vi)x & (vi{} + 0x7fffffffffffffffLL)); }

// Whether every lane of a mask is set, and whether any is.
__attribute__((always_inline)) inline bool AllSet(vi mask) {
    long long all = -1;
    for (int l = 0; l < LANES; l++) all &= mask[l];
    return all == -1;
}
__attribute__((always_inline)) inline bool AnySet(vi mask) {
    long long any = 0;
    for (int l = 0; l < LANES; l++) any |= mask[l];
    return any != 0;
}

// A vector of the values x[0..LANES-1] held in registers (a vector read back
// from separate stores waits for them).
template <typename V, typename T>
__attribute__((always_inline)) inline V Gather(const T* x) {
    if constexpr (LANES == 4) return V{x[0], x[1], x[2], x[3]};
    else return V{x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]};
}

// The lanes moved one up, the last taking `top`'s first lane: lane l holds
// lane l + 1.  And one down, the first taking `bottom`'s first lane.
template <typename V, typename M>
__attribute__((always_inline)) inline V ShiftUp(V v, V top) {
    if constexpr (LANES == 4) return __builtin_shuffle(v, top, M{1, 2, 3, 4});
    else return __builtin_shuffle(v, top, M{1, 2, 3, 4, 5, 6, 7, 8});
}
template <typename V, typename M>
__attribute__((always_inline)) inline V ShiftDown(V v, V bottom) {
    if constexpr (LANES == 4) return __builtin_shuffle(v, bottom, M{4, 0, 1, 2});
    else return __builtin_shuffle(v, bottom, M{8, 0, 1, 2, 3, 4, 5, 6});
}

// Rows r[0..3] of a 4 x 4 block to its columns c[0..3].
__attribute__((always_inline)) inline void Transpose4(const v4d r[4], v4d c[4]) {
    const v4d t0 = __builtin_shuffle(r[0], r[1], v4i{0, 4, 2, 6});
    const v4d t1 = __builtin_shuffle(r[0], r[1], v4i{1, 5, 3, 7});
    const v4d t2 = __builtin_shuffle(r[2], r[3], v4i{0, 4, 2, 6});
    const v4d t3 = __builtin_shuffle(r[2], r[3], v4i{1, 5, 3, 7});
    c[0] = __builtin_shuffle(t0, t2, v4i{0, 1, 4, 5});
    c[1] = __builtin_shuffle(t1, t3, v4i{0, 1, 4, 5});
    c[2] = __builtin_shuffle(t0, t2, v4i{2, 3, 6, 7});
    c[3] = __builtin_shuffle(t1, t3, v4i{2, 3, 6, 7});
}

// Four values of each lane (lane l's in lane[l]) to four vectors, one per
// value: vector q holds every lane's value q.
__attribute__((always_inline)) inline void TransposeLanes(const v4d lane[LANES], vd out[4]) {
    v4d block[LANES / 4][4];
    #pragma GCC unroll 8
    for (int h = 0; h < LANES / 4; h++) Transpose4(lane + 4 * h, block[h]);
    #pragma GCC unroll 8
    for (int q = 0; q < 4; q++) {
#if TRANSPORT_LANES == 4
        out[q] = block[0][q];
#else
        out[q] = __builtin_shufflevector(block[0][q], block[1][q], 0, 1, 2, 3, 4, 5, 6, 7);
#endif
    }
}

// The same with lane l's four values read from src[l][0..3].
__attribute__((always_inline)) inline void LanesToVectors(const double* const* src, vd out[4]) {
    v4d lane[LANES];
    #pragma GCC unroll 8
    for (int l = 0; l < LANES; l++) memcpy(&lane[l], src[l], sizeof(v4d));
    TransposeLanes(lane, out);
}

// The other way: four vectors to four values of each lane, dst[l][0..3] =
// in[0..3][l].
__attribute__((always_inline)) inline void VectorsToLanes(const vd in[4], v4d dst[LANES]) {
    #pragma GCC unroll 8
    for (int h = 0; h < LANES / 4; h++) {
        v4d r[4];
        #pragma GCC unroll 8
        for (int q = 0; q < 4; q++) {
#if TRANSPORT_LANES == 4
            r[q] = in[q];
#else
            r[q] = h == 0 ? __builtin_shufflevector(in[q], in[q], 0, 1, 2, 3)
                          : __builtin_shufflevector(in[q], in[q], 4, 5, 6, 7);
#endif
        }
        Transpose4(r, dst + 4 * h);
    }
}

// ---------------------------------------------------------------------------
// Factorised line systems of one sweep.  A group is LANES neighbouring lines;
// its span [lo, hi] along the lines covers every non-outside point of its
// lines plus one outside point at each end, so that the substitution over the
// span reproduces the whole-line solve exactly (below and above the span the
// whole-line solve carries exact zeros).
struct Group {
    int first;     // first line (column or row) of the group
    int lanes;     // lines of the group that exist (the rest are padding)
    int lo, hi;    // span along the lines
    size_t off;    // offset of position lo in the per-position arrays
    size_t moff;   // offset of the group's first membrane entry
};

typedef float vf __attribute__((vector_size(4 * LANES)));

// What `mflag` holds of a position: whether it has membrane terms across the
// lines, and whether it is plain: no point of it is a membrane next to a
// wall or a wall next to a membrane.  At a plain position every membrane
// rate is +0 whatever the carriers hold, so on the same tissue its rates
// follow from the point classes alone.
constexpr unsigned char MEMBRANE_TERMS = 1, PLAIN = 2;

// Per position of every group span (one vector of LANES values each):
// the factorised matrix (m, bp, cc) and the diffusion weights across the
// lines (0, 4 or 60, exact in single precision; -1 marks an outside point,
// whose right-hand side is 0).  Production and decay are read from their
// grids.  The membrane terms across the lines (neighbour coefficients and
// h * self coefficients) are nonzero only next to membranes; they are kept
// for the positions flagged in `mflag` (MEMBRANE_TERMS), in order, three
// vectors each.  Where all three are zero, adding them would add only zeros,
// so leaving them out gives the same value.
struct Sweep {
    std::vector<Group> groups;
    std::vector<size_t> split;   // group ranges per thread: [split[t], split[t+1])
    int nthreads_split = 0;
    vd* m = nullptr;        // elimination multiplier
    vd* bp = nullptr;       // modified diagonal
    vd* cc = nullptr;       // super-diagonal
    vf* Kud = nullptr;      // weight toward +across, -across (two vectors per position)
    unsigned char* mflag = nullptr;
    vd* mem = nullptr;      // Nu, Nd, h*(Su + Sd) of flagged positions
    size_t capacity = 0, mcapacity = 0;
};

Sweep colSweep;   // first half step: lines are columns, along = rows
Sweep rowSweep;   // second half step: lines are rows, along = columns

long preparedVersion = -1;

// Where the line systems come from: the coefficient records, or the point
// classes and carriers with `permeability`.
bool fromCarriers = false;
// The tissue generation the carriers were placed on (0: not known), and the
// one the plan in place (extents, groups, weights across the lines, plain
// positions, the cell means' batches) was made from the carriers for (0:
// none).
unsigned long carriersTissue = 0;
unsigned long plannedTissue = 0;
bool lastPlanKept = false;
bool havePermeability = false;
MembranePermeability permeability;

// ---------------------------------------------------------------------------
// Preparation: builds the factorised systems of both sweeps from the
// coefficient records or straight from the point classes and carriers.

template <typename T>
T* AllocVec(size_t n) {
    void* mem = AllocateLarge(n * sizeof(T));
    if (mem == nullptr) {
        fprintf(stderr, "%s: out of memory for the transport step\n", ProgramName());
        exit(1);
    }
    return static_cast<T*>(mem);
}

void Reserve(Sweep& s, size_t n, size_t nm) {
    if (n > s.capacity) {
        for (vd** arr : {&s.m, &s.bp, &s.cc}) {
            FreeLarge(*arr);
            *arr = AllocVec<vd>(n);
        }
        FreeLarge(s.Kud);
        s.Kud = AllocVec<vf>(2 * n);
        FreeLarge(s.mflag);
        s.mflag = AllocVec<unsigned char>(n);
        s.capacity = n;
    }
    if (nm > s.mcapacity) {
        FreeLarge(s.mem);
        s.mem = AllocVec<vd>(3 * nm);
        s.mcapacity = nm;
    }
}

// Non-outside extent of every column and every row (empty: lo > hi).
struct Extents {
    std::vector<int> colLo, colHi, rowLo, rowHi;
} extents;

// Extent of column i; the rows' extents of the columns a thread visits (in
// increasing order) go into its own rowLo/rowHi, merged afterwards.
void ColumnExtent(int i, int* rowLo, int* rowHi) {
    Extents& e = extents;
    const int* t = Tc[i];
    int lo = 0, hi = NROWS - 1;
    while (lo <= hi && t[lo] == TC_OUTSIDE) lo++;
    while (hi >= lo && t[hi] == TC_OUTSIDE) hi--;
    e.colLo[i] = lo;
    e.colHi[i] = hi;
    for (int j = lo; j <= hi; j++)
        if (t[j] != TC_OUTSIDE) {
            if (rowLo[j] > i) rowLo[j] = i;
            rowHi[j] = i;
        }
}

// Groups of one sweep and their place in the per-position arrays.
void PlanGroups(Sweep& s, bool columns) {
    const int nlines = columns ? NCOLS : NROWS;
    const int len = columns ? NROWS : NCOLS;
    const std::vector<int>& lineLo = columns ? extents.colLo : extents.rowLo;
    const std::vector<int>& lineHi = columns ? extents.colHi : extents.rowHi;
    s.groups.clear();
    size_t positions = 0;
    for (int first = 0; first < nlines; first += LANES) {
        Group g;
        g.first = first;
        g.lanes = std::min(LANES, nlines - first);
        int lo = len, hi = -1;
        for (int l = 0; l < g.lanes; l++) {
            lo = std::min(lo, lineLo[first + l]);
            hi = std::max(hi, lineHi[first + l]);
        }
        if (hi < 0) continue;  // nothing but outside points: no result is kept
        // One outside point beyond each end (the grid's border is outside).
        g.lo = std::max(lo - 1, 0);
        g.hi = std::min(hi + 1, len - 1);
        g.off = positions;
        // Membrane entries of a group follow from its own start, so that the
        // groups can be filled independently; flagged positions are a part of
        // the span, the rest of the reserved room is never touched.
        g.moff = positions;
        positions += static_cast<size_t>(g.hi - g.lo + 1);
        s.groups.push_back(g);
    }
    Reserve(s, positions, positions);
    s.nthreads_split = 0;
}

// What the rates of a position are formed from when they come from the
// carriers: the point classes of the lanes' points and their membrane
// rates (influx base + per-AUX1 rate * AUX1, efflux base + per-PIN rate *
// (PIN1 + PIN2), as if each were a membrane point), and the same of the
// points on either side across the lanes (the line before the group's first
// and after its last).  A point off the grid, or of a padding lane, counts
// as outside: no rate toward it differs from one toward an outside point.
struct LaneVals {
    vi tc;
    vd in, ef;
    long long tcLo, tcHi;
    double inLo, inHi, efLo, efHi;
};

// Elimination state of one group between positions.  Below the span every
// point is outside, so the elimination enters the span with diagonal 1 and
// super-diagonal 0.
struct FillState {
    vd bprev, cprev;
    vd* mem;
    bool exact;
    // Positions k - 1, k and k + 1 of the lines when the rates come from
    // the carriers, position p at win[(p - lo + 1) % 3]: each is read once
    // and left in place (copies of them were slow to read back).
    LaneVals win[3];
    int windowAt;  // the position k whose window is in place (none: INT_MIN)
    // The column sweep reads four rows of every column at once: positions
    // ahead[0..3] are rows aheadFirst..aheadFirst + 3.
    int aheadFirst;
    LaneVals ahead[4];
};

FillState StartFill(const Sweep& s, const Group& g) {
    FillState st;
    st.bprev = Splat(1.0);
    st.cprev = Splat(0.0);
    st.mem = s.mem + 3 * g.moff;
    st.exact = true;
    st.aheadFirst = -8;  // nothing read ahead (positions start at -1)
    st.windowAt = INT_MIN;
    return st;
}

// The classes and membrane rates of position k of a group's lines.
template <bool columns>
void LoadLaneVals(const Group& g, int k, LaneVals& v) {
    const int len = columns ? NROWS : NCOLS, nlines = columns ? NCOLS : NROWS;
    const bool on = k >= 0 && k < len;
    auto point = [&](int line, long long* tc, double* in, double* ef) {
        if (!on || line < 0 || line >= nlines) {
            *tc = TC_OUTSIDE;
            *in = *ef = 0;
            return;
        }
        const int i = columns ? line : k, j = columns ? k : line;
        *tc = Tc[i][j];
        *in = InfluxRate(permeability, Aux1M[i][j]);
        *ef = EffluxRate(permeability, Cpin1M[i][j], Cpin2M[i][j]);
    };
    if (!columns && on && g.lanes == LANES) {
        // The lanes of the row sweep are neighbouring rows of column k: one
        // load each.
        const int kp = std::min(k + PREFETCH_COLUMNS, NCOLS - 1);
        __builtin_prefetch(Tc[kp] + g.first);
        PrefetchLanes(Aux1M[kp] + g.first);
        PrefetchLanes(Cpin1M[kp] + g.first);
        PrefetchLanes(Cpin2M[kp] + g.first);
        vn t4;
        vd a1, p1, p2;
        memcpy(&t4, Tc[k] + g.first, sizeof t4);
        memcpy(&a1, Aux1M[k] + g.first, sizeof a1);
        memcpy(&p1, Cpin1M[k] + g.first, sizeof p1);
        memcpy(&p2, Cpin2M[k] + g.first, sizeof p2);
        v.tc = __builtin_convertvector(t4, vi);
        v.in = InfluxRate(permeability, a1);
        v.ef = EffluxRate(permeability, p1, p2);
        point(g.first - 1, &v.tcLo, &v.inLo, &v.efLo);
        point(g.first + LANES, &v.tcHi, &v.inHi, &v.efHi);
        return;
    }
    // Formed in registers and put together whole (Gather).
    long long t[LANES];
    double in[LANES], ef[LANES];
    for (int l = 0; l < LANES; l++) point(l < g.lanes ? g.first + l : -1, &t[l], &in[l], &ef[l]);
    v.tc = Gather<vi>(t);
    v.in = Gather<vd>(in);
    v.ef = Gather<vd>(ef);
    point(g.first - 1, &v.tcLo, &v.inLo, &v.efLo);
    point(g.lanes == LANES ? g.first + LANES : -1, &v.tcHi, &v.inHi, &v.efHi);
}

// Rows k..k+3 of a column group's lines and of the columns on either side,
// four rows of each column at once: the classes and the membrane rates, then
// transposed into one vector per row.
// Only for a group of LANES columns with a column on either side, and rows
// on the grid.
__attribute__((always_inline)) inline bool ColumnBlockFits(const Group& g, int k) {
    return g.lanes == LANES && g.first >= 1 && g.first + LANES < NCOLS && k >= 0 && k + 3 < NROWS;
}

void LoadColumnBlock(const Group& g, int k, LaneVals out[4]) {
    typedef int v4n __attribute__((vector_size(16)));
    v4d tc[LANES + 2], in[LANES + 2], ef[LANES + 2];
    #pragma GCC unroll 10
    for (int c = 0; c < LANES + 2; c++) {
        const int i = g.first - 1 + c;
        v4n t;
        v4d a1, p1, p2;
        memcpy(&t, Tc[i] + k, sizeof t);
        memcpy(&a1, Aux1M[i] + k, sizeof a1);
        memcpy(&p1, Cpin1M[i] + k, sizeof p1);
        memcpy(&p2, Cpin2M[i] + k, sizeof p2);
        tc[c] = (v4d)__builtin_convertvector(t, v4i);
        in[c] = InfluxRate(permeability, a1);
        ef[c] = EffluxRate(permeability, p1, p2);
    }
    vd rowsTc[4], rowsIn[4], rowsEf[4];
    TransposeLanes(tc + 1, rowsTc);
    TransposeLanes(in + 1, rowsIn);
    TransposeLanes(ef + 1, rowsEf);
    #pragma GCC unroll 4
    for (int q = 0; q < 4; q++) {
        LaneVals& v = out[q];
        v.tc = (vi)rowsTc[q];
        v.in = rowsIn[q];
        v.ef = rowsEf[q];
        v.tcLo = ((v4i)tc[0])[q];
        v.tcHi = ((v4i)tc[LANES + 1])[q];
        v.inLo = in[0][q];
        v.inHi = in[LANES + 1][q];
        v.efLo = ef[0][q];
        v.efHi = ef[LANES + 1][q];
    }
}

// Position k of a group's lines for the window: in the column sweep from the
// block of four rows read ahead (read anew when k is past it), else as
// LoadLaneVals.
template <bool columns>
__attribute__((always_inline)) inline void NextLaneVals(const Group& g, int k, FillState& st, LaneVals& v) {
    if constexpr (columns) {
        if (k - st.aheadFirst >= 0 && k - st.aheadFirst < 4) {
            v = st.ahead[k - st.aheadFirst];
            return;
        }
        if (ColumnBlockFits(g, k)) {
            LoadColumnBlock(g, k, st.ahead);
            st.aheadFirst = k;
            v = st.ahead[0];
            return;
        }
    }
    LoadLaneVals<columns>(g, k, v);
}

// The rates of the lanes' points toward each neighbour (K: diffusion
// weights, N: neighbour membrane coefficients, S: self coefficients; one
// vector per direction +column, -column, +row, -row) and the mask of outside
// points, at position k of a group, from the coefficient records.
template <bool columns>
__attribute__((always_inline)) inline void RatesFromRecords(const Group& g, int k, vd Kq[4], vd Nq[4], vd Sq[4],
                                                            vi& out) {
    // Points are read through pointers chosen without branches (the tissue
    // changes from point to point): an outside point or a padding lane reads
    // zeros, a cytoplasm point reads zero membrane coefficients.
    alignas(32) static const double zeros[4] = {0, 0, 0, 0};
    auto pick = [](bool cond, const double* yes, const double* no) {
        const uintptr_t m = 0 - static_cast<uintptr_t>(cond);
        return reinterpret_cast<const double*>((reinterpret_cast<uintptr_t>(yes) & m) |
                                               (reinterpret_cast<uintptr_t>(no) & ~m));
    };
    // Each lane's records are read whole (four values each, in the order
    // +column, -column, +row, -row) and turned into one vector per direction
    // below.
    const double* Krec[LANES];
    const double* Nrec[LANES];
    const double* Srec[LANES];
    long long outs[LANES];
    for (int l = 0; l < LANES; l++) {
        const bool real = l < g.lanes;
        const int ci = columns ? g.first + l : k, cj = columns ? k : g.first + l;
        const int cic = real ? ci : 0, cjc = real ? cj : 0;
        const int t = real ? Tc[cic][cjc] : TC_OUTSIDE;
        const bool o = t == TC_OUTSIDE, wall = t == TC_WALL, memb = t == TC_MEMBRANE;
        outs[l] = o ? -1 : 0;
        const double* e = Eff[cic][cjc].r;
        const double* f = Inf[cic][cjc].r;
        Krec[l] = pick(o, zeros, DiffAuxC[cic][cjc].r);
        Nrec[l] = pick(wall, e, pick(memb, f, zeros));
        Srec[l] = pick(wall, f, pick(memb, e, zeros));
    }
    out = Gather<vi>(outs);
    LanesToVectors(Krec, Kq);
    LanesToVectors(Nrec, Nq);
    LanesToVectors(Srec, Sq);
}

// The same rates formed from the point classes and the carriers on the
// membranes, with the very operations of PointCoefficients (coefficients.h),
// in vector lanes and without branches: from the position before (prev), the
// position itself (cur) and the one after (next), every rate chosen by masks.
// `pairs` marks the lanes whose point is a wall next to a membrane or a
// membrane next to a wall, in any direction.
template <bool columns>
__attribute__((always_inline)) inline void RatesFromCarriers(const LaneVals& prev, const LaneVals& cur,
                                                             const LaneVals& next, vd Kq[4], vd Nq[4], vd Sq[4],
                                                             vi& out, vi& pairs) {
    // The neighbours across the lanes: the next lane's point, the last lane's
    // being the point after the group; the previous lane's likewise.
    const vi tcUp = ShiftUp<vi, vi>(cur.tc, vi{} + cur.tcHi);
    const vi tcDn = ShiftDown<vi, vi>(cur.tc, vi{} + cur.tcLo);
    const vd inUp = ShiftUp<vd, vi>(cur.in, Splat(cur.inHi));
    const vd inDn = ShiftDown<vd, vi>(cur.in, Splat(cur.inLo));
    const vd efUp = ShiftUp<vd, vi>(cur.ef, Splat(cur.efHi));
    const vd efDn = ShiftDown<vd, vi>(cur.ef, Splat(cur.efLo));
    // Directions +column, -column, +row, -row: along the lines of the column
    // sweep are rows, across them columns; the other way round for rows.
    const vi qTc[4] = {columns ? tcUp : next.tc, columns ? tcDn : prev.tc, columns ? next.tc : tcUp,
                       columns ? prev.tc : tcDn};
    const vd qIn[4] = {columns ? inUp : next.in, columns ? inDn : prev.in, columns ? next.in : inUp,
                       columns ? prev.in : inDn};
    const vd qEf[4] = {columns ? efUp : next.ef, columns ? efDn : prev.ef, columns ? next.ef : efUp,
                       columns ? prev.ef : efDn};
    const vd zero = Splat(0.0);
    auto is = [](vi v, long long cls) { return (vi)(v == cls); };
    auto cellular = [&](vi v) { return is(v, TC_CYTO) | is(v, TC_MEMBRANE); };
    out = is(cur.tc, TC_OUTSIDE);
    const vi wall = is(cur.tc, TC_WALL), memb = is(cur.tc, TC_MEMBRANE), cell = cellular(cur.tc);
    // A membrane point toward a wall: its own influx, and its efflux with the
    // sign turned.
    const vd efOwn = -cur.ef;
    pairs = vi{};
    #pragma GCC unroll 4
    for (int d = 0; d < 4; d++) {
        const vi qWall = is(qTc[d], TC_WALL), qMemb = is(qTc[d], TC_MEMBRANE);
        Kq[d] = Select(wall & qWall, Splat(DIFFUSION_WALL), Select(cell & cellular(qTc[d]), Splat(DIFFUSION_CELL), zero));
        // A wall point toward a membrane: the membrane's efflux, and its
        // influx with the sign turned.  N is the efflux record on a wall
        // point, the influx record on a membrane point; S the other one.
        const vi wallToMemb = wall & qMemb, membToWall = memb & qWall;
        pairs |= wallToMemb | membToWall;
        Nq[d] = Select(wallToMemb, qEf[d], Select(membToWall, cur.in, zero));
        Sq[d] = Select(wallToMemb, -qIn[d], Select(membToWall, efOwn, zero));
    }
}

// One elimination step of all lanes at position `at`, from the rates
// toward the neighbours along the lines (weights Kp, Kn, membrane
// coefficients Np, Nn, self coefficients Sp, Sn).
__attribute__((always_inline)) inline void Eliminate(Sweep& s, size_t at, FillState& st, vi out, vd Kp, vd Kn, vd Np,
                                                   vd Nn, vd Sp, vd Sn) {
    const vd hv = Splat(HALFSTEP), zero = Splat(0.0);
    const vd a = Select(out, zero, -Kp - hv * Np);
    const vd c = Select(out, zero, -Kn - hv * Nn);
    const vd b = Select(out, Splat(1.0), Splat(1.0) + Kn + Kp - hv * (Sn + Sp));
    const vd m = a / st.bprev;
    const vd bp = b - st.cprev * m;
    st.bprev = bp;
    st.cprev = c;
    s.m[at] = m;
    s.bp[at] = bp;
    s.cc[at] = c;
}

// A plain position k of group g on the tissue of the last factorisation:
// every membrane rate is +0 and the outside points are those marked by the
// weights across the lines.  The weights along the lines are those the super-
// diagonal holds: the last factorisation's at k, -(weight toward k + 1)
// (or +0 outside), and this one's at k - 1, -(weight toward k), the same
// weight seen from the other side (a plain position has no membrane terms
// toward its neighbours, so neither has the one before toward it).  Their
// magnitudes are the weights (0, 4 or 60).  Before the span's first
// position lies an outside point or the grid's edge: weight 0.
__attribute__((always_inline)) inline void FillPlainPosition(Sweep& s, const Group& g, int k, FillState& st) {
    const size_t at = g.off + static_cast<size_t>(k - g.lo);
    const vd zero = Splat(0.0);
    const vi out = (vi)(__builtin_convertvector(s.Kud[2 * at], vd) < zero);
    const vd Kn = Magnitude(s.cc[at]);
    const vd Kp = k > g.lo ? Magnitude(s.cc[at - 1]) : zero;
    Eliminate(s, at, st, out, Kp, Kn, zero, zero, zero, zero);
}

// Factorises position k of a group: the rates of each lane's point as the
// line systems use them, from the records or from the carriers, and one
// elimination step of all lanes at once.  Clears st.exact when a diffusion
// weight across the lines is not exact in single precision.
template <bool columns, bool carriers, bool weightsKept>
__attribute__((always_inline)) inline void FillPosition(Sweep& s, const Group& g, int k, FillState& st) {
    constexpr int qNext = columns ? 2 : 0, qPrev = columns ? 3 : 1;
    constexpr int qUp = columns ? 0 : 2, qDn = columns ? 1 : 3;
    const size_t at = g.off + static_cast<size_t>(k - g.lo);
    if constexpr (carriers && weightsKept) {
        if (s.mflag[at] & PLAIN) {
            FillPlainPosition(s, g, k, st);
            return;
        }
    }
    vd Kq[4], Nq[4], Sq[4];
    vi out, pairs = vi{};
    if constexpr (carriers) {
        // The window moves one position along the lines.  After plain
        // positions (or at the first) positions k - 1 and k are read anew.
        const int r = (k - g.lo) % 3;
        LaneVals& prev = st.win[r];
        LaneVals& cur = st.win[(r + 1) % 3];
        LaneVals& next = st.win[(r + 2) % 3];
        if (st.windowAt != k - 1) {
            NextLaneVals<columns>(g, k - 1, st, prev);
            NextLaneVals<columns>(g, k, st, cur);
        }
        NextLaneVals<columns>(g, k + 1, st, next);
        st.windowAt = k;
        RatesFromCarriers<columns>(prev, cur, next, Kq, Nq, Sq, out, pairs);
    } else {
        RatesFromRecords<columns>(g, k, Kq, Nq, Sq, out);
    }
    const vd Kp = Kq[qPrev], Kn = Kq[qNext], Kd = Kq[qDn];
    vd Ku = Kq[qUp];
    const vd Nu = Nq[qUp], Nd = Nq[qDn];
    const vd Su = Sq[qUp], Sd = Sq[qDn];
    const vd hv = Splat(HALFSTEP), zero = Splat(0.0);
    Eliminate(s, at, st, out, Kp, Kn, Nq[qPrev], Nq[qNext], Sq[qPrev], Sq[qNext]);
    const vd hS = hv * (Su + Sd);
    Ku = Select(out, Splat(-1.0), Ku);
    // The weights are 0, 4 or 60 (or the -1 mark): exact in single
    // precision.  They follow from the point classes alone, so on the tissue
    // of the last factorisation they are in place already, and so is whether
    // the position is plain.
    if constexpr (!weightsKept) {
        const vf ku = __builtin_convertvector(Ku, vf), kd = __builtin_convertvector(Kd, vf);
        const vi same = (__builtin_convertvector(ku, vd) == Ku) & (__builtin_convertvector(kd, vd) == Kd);
        st.exact &= AllSet(same);
        s.Kud[2 * at] = ku;
        s.Kud[2 * at + 1] = kd;
    }
    const vi nz = (Nu != zero) | (Nd != zero) | (hS != zero);
    const bool flagged = AnySet(nz);
    // Records may hold any rates: no position of theirs counts as plain.
    const bool plain = carriers && !AnySet(pairs);
    s.mflag[at] = static_cast<unsigned char>((flagged ? MEMBRANE_TERMS : 0) | (plain ? PLAIN : 0));
    // Written always, kept only where flagged: the room is reserved.
    st.mem[0] = Nu;
    st.mem[1] = Nd;
    st.mem[2] = hS;
    st.mem += flagged ? 3 : 0;
}

// The groups [gb, ge) of a sweep advance together in blocks, position by
// position.  In the row sweep, blocks of eight: the rows of each column are
// read in order, the eliminations of a block overlap, and the factorised data
// is written to few places at a time.  The column sweep's groups go one at a
// time (measured: two or four together were slower, their columns too many
// streams to read at once).
constexpr size_t COLUMN_FILL_BLOCK = 1, ROW_FILL_BLOCK = 8;

template <bool columns, bool carriers, bool weightsKept = false>
bool FillGroups(Sweep& s, size_t gb, size_t ge, std::vector<FillState>& states) {
    states.clear();
    for (size_t gi = gb; gi < ge; gi++) states.push_back(StartFill(s, s.groups[gi]));
    const size_t block = columns ? COLUMN_FILL_BLOCK : ROW_FILL_BLOCK;
    for (size_t bb = gb; bb < ge; bb += block) {
        const size_t be = std::min(ge, bb + block);
        int kmin = INT_MAX, kmax = -1;
        for (size_t gi = bb; gi < be; gi++) {
            kmin = std::min(kmin, s.groups[gi].lo);
            kmax = std::max(kmax, s.groups[gi].hi);
        }
        for (int k = kmin; k <= kmax; k++)
            for (size_t gi = bb; gi < be; gi++) {
                const Group& g = s.groups[gi];
                if (k >= g.lo && k <= g.hi) FillPosition<columns, carriers, weightsKept>(s, g, k, states[gi - gb]);
            }
    }
    bool exact = true;
    for (const FillState& st : states) exact &= st.exact;
    return exact;
}

// What the next step factorises, group by group right before it solves
// them (the factorised data of a group is then still in the caches when the
// step reads it): nothing, the systems from the records, from the carriers,
// or from the carriers with the weights across the lines of the plan kept.
enum class Pending { NOTHING, RECORDS, CARRIERS, CARRIERS_KEPT };
Pending pending = Pending::NOTHING;
std::vector<std::vector<FillState>> fillStates;  // per thread

// Factorises groups [gb, ge) of a sweep as pending; false when a diffusion
// weight across the lines is not exact in single precision.
template <bool columns>
bool FillPending(Sweep& s, size_t gb, size_t ge, int t) {
    std::vector<FillState>& states = fillStates[static_cast<size_t>(t)];
    switch (pending) {
        case Pending::RECORDS: return FillGroups<columns, false>(s, gb, ge, states);
        case Pending::CARRIERS: return FillGroups<columns, true>(s, gb, ge, states);
        case Pending::CARRIERS_KEPT: return FillGroups<columns, true, true>(s, gb, ge, states);
        case Pending::NOTHING: break;
    }
    return true;
}

void ReportInexactWeight() {
    fprintf(stderr, "%s: a diffusion weight is not exact in single precision\n", ProgramName());
    exit(1);
}

// Splits the groups between n threads by their number of points.
void SplitWork(Sweep& s, int n) {
    if (s.nthreads_split == n) return;
    const int count = static_cast<int>(s.groups.size());
    s.split.assign(static_cast<size_t>(n) + 1, s.groups.size());
    for (int t = 0; t < n; t++) {
        int begin, end;
        ShareByWork(count, t, n, [&s](int gi) { return s.groups[static_cast<size_t>(gi)].hi - s.groups[static_cast<size_t>(gi)].lo + 1; },
                    &begin, &end);
        s.split[static_cast<size_t>(t)] = static_cast<size_t>(begin);
    }
    s.nthreads_split = n;
}

// ---------------------------------------------------------------------------
// Substitution.  rhs = u + Ku*(uU - u) + Kd*(uD - u) + h*(Nu*uU + Nd*uD) + hS*u
// on points that are not outside, 0 on outside points.

// Per thread: forward results of a line, then the production and decay terms.
std::vector<std::vector<vd>> scratch;

// Right-hand side of one position: u + Ku*(uU - u) + Kd*(uD - u), plus the
// membrane terms h*(Nu*uU + Nd*uD) + h*(Su + Sd)*u where there are any; 0 on
// outside points.
__attribute__((always_inline)) inline vd RightHandSide(const Sweep& s, size_t at, const vd*& mem, vd u, vd uU, vd uD) {
    const vd Ku = __builtin_convertvector(s.Kud[2 * at], vd);
    const vd Kd = __builtin_convertvector(s.Kud[2 * at + 1], vd);
    vd r = u + Ku * (uU - u) + Kd * (uD - u);
    if (s.mflag[at] & MEMBRANE_TERMS) {
        r = r + Splat(HALFSTEP) * (mem[0] * uU + mem[1] * uD) + mem[2] * u;
        mem += 3;
    }
    return Select((vi)(Ku >= Splat(0.0)), r, Splat(0.0));
}

// First half step on one group of columns: reads Caux1, writes Cauxint.
void ColumnGroup(const Group& g, vd* rp, vd* wp) {
    const Sweep& s = colSweep;
    const vd tenth = Splat(0.1);
    const int i0 = g.first;
    // Column pointers of the lanes and their neighbours; padding lanes read
    // a real column and are never stored.
    const double* col[LANES + 2];
    for (int l = -1; l <= LANES; l++) {
        int ci = std::min(std::max(i0 + l, 0), NCOLS - 1);
        col[l + 1] = Caux1[ci];
    }
    double* out[LANES];
    const double *pcol[LANES], *dcol[LANES];
    for (int l = 0; l < LANES; l++) {
        const int ci = std::min(i0 + l, NCOLS - 1);
        out[l] = Cauxint[ci];
        pcol[l] = paux[ci];
        dcol[l] = daux[ci];
    }
    const vd* mem = s.mem + 3 * g.moff;
    vd prev = Splat(0.0);
    // One position of the forward pass; wp keeps the production and decay
    // term of the result, 0.1 * (p - d * u), for the backward pass.
    auto forward = [&](int k, vd u, vd uU, vd uD, vd p, vd d) __attribute__((always_inline)) {
        const size_t at = g.off + static_cast<size_t>(k - g.lo);
        const vd r = RightHandSide(s, at, mem, u, uU, uD);
        PrefetchAt(s.m + at, PREFETCH_AHEAD);
        PrefetchAt(s.Kud + 2 * at, 2 * PREFETCH_AHEAD);
        PrefetchAt(mem, PREFETCH_AHEAD);
        prev = r - s.m[at] * prev;
        rp[k - g.lo] = prev;
        wp[k - g.lo] = tenth * (p - d * u);
    };
    auto block = [](const double* const* c, int k, vd* rows) {
        const double* at[LANES];
        #pragma GCC unroll 8
        for (int l = 0; l < LANES; l++) at[l] = c[l] + k;
        LanesToVectors(at, rows);
    };
    int k = g.lo;
    // Four rows at a time: each column's four values are one load, and
    // transposes turn them into one vector per row.
    for (; k + 3 <= g.hi; k += 4) {
        vd U[4], P[4], D[4];
        block(col + 1, k, U);
        block(pcol, k, P);
        block(dcol, k, D);
        #pragma GCC unroll 8
        for (int q = 0; q < 4; q++)
            forward(k + q, U[q], ShiftUp<vd, vi>(U[q], Splat(col[LANES + 1][k + q])),
                    ShiftDown<vd, vi>(U[q], Splat(col[0][k + q])), P[q], D[q]);
    }
    for (; k <= g.hi; k++) {
        vd u, uD, uU, p, d;
        for (int l = 0; l < LANES; l++) {
            uD[l] = col[l][k];
            u[l] = col[l + 1][k];
            uU[l] = col[l + 2][k];
            p[l] = pcol[l][k];
            d[l] = dcol[l][k];
        }
        forward(k, u, uU, uD, p, d);
    }
    vd x = rp[g.hi - g.lo] / s.bp[g.off + static_cast<size_t>(g.hi - g.lo)];
    // The top point of the span is outside in every lane: nothing to store.
    auto backward = [&](int k, vi& inside) __attribute__((always_inline)) {
        const size_t at = g.off + static_cast<size_t>(k - g.lo);
        PrefetchAt(s.cc + at, -PREFETCH_AHEAD);
        PrefetchAt(s.bp + at, -PREFETCH_AHEAD);
        PrefetchAt(s.Kud + 2 * at, -2 * PREFETCH_AHEAD);
        x = (rp[k - g.lo] - s.cc[at] * x) / s.bp[at];
        inside = (vi)(__builtin_convertvector(s.Kud[2 * at], vd) >= Splat(0.0));
        return x + wp[k - g.lo];
    };
    k = g.hi - 1;
    // Four rows at a time, stored as one vector per column; outside points
    // keep what they hold.
    for (; k - 3 >= g.lo; k -= 4) {
        vd R[4], M[4];
        v4d RC[LANES], MC[LANES];
        #pragma GCC unroll 8
        for (int q = 0; q < 4; q++) {
            vi inside;
            R[3 - q] = backward(k - q, inside);
            M[3 - q] = (vd)inside;
        }
        VectorsToLanes(R, RC);
        VectorsToLanes(M, MC);
        for (int l = 0; l < g.lanes; l++) {
            double* dst = out[l] + (k - 3);
            const v4i inside = (v4i)MC[l];
            if ((inside[0] & inside[1] & inside[2] & inside[3]) == -1) {
                memcpy(dst, &RC[l], sizeof(v4d));
                continue;
            }
            v4i old;
            memcpy(&old, dst, sizeof old);
            const v4i v = ((v4i)RC[l] & inside) | (old & ~inside);
            memcpy(dst, &v, sizeof v);
        }
    }
    for (; k >= g.lo; k--) {
        vi inside;
        const vd res = backward(k, inside);
        for (int l = 0; l < g.lanes; l++)
            if (inside[l]) out[l][k] = res[l];
    }
}

// Second half step on one group of rows: reads Cauxint and commits into
// Caux1.
template <bool check>
void RowGroup(const Group& g, vd* rp, vd* wp, long& firstBad) {
    const Sweep& s = rowSweep;
    const vd tenth = Splat(0.1);
    const int j0 = g.first;
    const bool full = g.lanes == LANES && j0 >= 1 && j0 + LANES < NROWS;
    auto load = [&](double* const* field, int i, int dj) -> vd {
        const double* colp = field[i];
        vd v = Splat(0.0);
        if (full) {
            memcpy(&v, colp + j0 + dj, sizeof v);
            return v;
        }
        for (int l = 0; l < LANES; l++) {
            int j = std::min(std::max(j0 + l + dj, 0), NROWS - 1);
            v[l] = colp[j];
        }
        return v;
    };
    const vd* mem = s.mem + 3 * g.moff;
    vd prev = Splat(0.0);
    for (int k = g.lo; k <= g.hi; k++) {
        const size_t at = g.off + static_cast<size_t>(k - g.lo);
        if (full) {
            const int kp = std::min(k + PREFETCH_COLUMNS, g.hi);
            PrefetchLanes(Cauxint[kp] + j0 - 1);
            __builtin_prefetch(Cauxint[kp] + j0 + LANES);
            PrefetchLanes(paux[kp] + j0);
            PrefetchLanes(daux[kp] + j0);
        }
        const vd u = load(Cauxint, k, 0), uU = load(Cauxint, k, 1), uD = load(Cauxint, k, -1);
        const vd r = RightHandSide(s, at, mem, u, uU, uD);
        PrefetchAt(s.m + at, PREFETCH_AHEAD);
        PrefetchAt(s.Kud + 2 * at, 2 * PREFETCH_AHEAD);
        PrefetchAt(mem, PREFETCH_AHEAD);
        prev = r - s.m[at] * prev;
        rp[k - g.lo] = prev;
        wp[k - g.lo] = tenth * (load(paux, k, 0) - load(daux, k, 0) * u);
    }
    // The left-right comparison of whole groups of rows is made as each
    // left column is committed: its mirror column, further right, is final
    // by then.
    const int iend = std::min(g.hi, AXIS - 1);
    vi differs = vi{};
    vd x = rp[g.hi - g.lo] / s.bp[g.off + static_cast<size_t>(g.hi - g.lo)];
    for (int k = g.hi - 1; k >= g.lo; k--) {
        const size_t at = g.off + static_cast<size_t>(k - g.lo);
        PrefetchAt(s.cc + at, -PREFETCH_AHEAD);
        PrefetchAt(s.bp + at, -PREFETCH_AHEAD);
        PrefetchAt(s.Kud + 2 * at, -2 * PREFETCH_AHEAD);
        x = (rp[k - g.lo] - s.cc[at] * x) / s.bp[at];
        if (full) PrefetchLanes(Caux1[std::max(k - PREFETCH_COLUMNS, g.lo)] + j0, true);
        const vd res = x + wp[k - g.lo];
        const vi inside = (vi)(__builtin_convertvector(s.Kud[2 * at], vd) >= Splat(0.0));
        // Committed into Caux1 only (see SecondHalfStepField).
        if (full) {
            double* c1 = Caux1[k] + j0;
            if (AllSet(inside)) {
                memcpy(c1, &res, sizeof res);
            } else {
                // Outside points keep what they hold.
                vd old1;
                memcpy(&old1, c1, sizeof old1);
                const vd n1 = Select(inside, res, old1);
                memcpy(c1, &n1, sizeof n1);
            }
            if (check && k <= iend) {
                vd right;
                memcpy(&right, Caux1[MIRRORSUM - k] + j0, sizeof right);
                const vd diff = (res - right) * Splat(1000.0);
                const vi small = (vi)(Magnitude(diff) < Splat(1.0));
                differs |= ~small & inside;
            }
        } else {
            for (int l = 0; l < g.lanes; l++)
                if (inside[l]) Caux1[k][j0 + l] = res[l];
        }
    }
    if (!check) return;
    // Left-right comparison of the committed rows: the first mismatch in the
    // order rows upward, columns from the left, looked for point by point
    // where a whole group's comparison found one (or could not be made).
    if (full && !AnySet(differs)) return;
    for (int l = 0; l < g.lanes; l++) {
        const int j = j0 + l;
        const long rowKey = static_cast<long>(j) * NCOLS;
        if (rowKey >= firstBad) break;
        for (int i = std::max(g.lo, 0); i <= iend; i++) {
            if (Tc[i][j] == TC_OUTSIDE) continue;
            const double diff = (Caux1[i][j] - Caux1[MIRRORSUM - i][j]) * 1000;
            if (!(std::fabs(diff) < 1.0)) {
                firstBad = std::min(firstBad, rowKey + i);
                break;
            }
        }
    }
}

void EnsureScratch(int n) {
    if (scratch.size() < static_cast<size_t>(n)) scratch.resize(static_cast<size_t>(n));
    for (auto& buf : scratch)
        if (buf.size() < 2 * static_cast<size_t>(LINELEN)) buf.resize(2 * static_cast<size_t>(LINELEN));
}

// Cell means.  Each cell is summed over its points in the order columns
// outward, rows upward, one addition after the other, so that every sum is
// formed in the same order whatever the number of threads.  The chains of
// additions of different cells are independent: LANES cells are summed side
// by side in vector lanes, each lane reading its cell's points through a list
// of their places in the field.  The cells go into the lanes by decreasing
// number of points; a lane whose cell has no point left adds -0, which
// changes no sum.
struct MeanBatch {
    size_t off;          // first place of the batch, LANES places per position
    int len;             // positions: the points of its largest cell
    int cell[LANES];     // -1: an empty lane
};
struct MeansPlan {
    int nthreads = 0;
    std::vector<int> rowLo, rowHi;   // rows of each column that hold cells
    std::vector<int32_t> place;      // column * NROWS + row, or -1 past a cell's last point
    std::vector<MeanBatch> batches;
    std::vector<int> split;          // batches of each thread: [split[t], split[t + 1])
} meansPlan;

// Rows of column i from its first to its last cell point.
void CellRange(int i) {
    MeansPlan& mp = meansPlan;
    const int* cell = Cell[i];
    int lo = 0, hi = NROWS - 1;
    while (lo <= hi && cell[lo] == -1) lo++;
    while (hi >= lo && cell[hi] == -1) hi--;
    mp.rowLo[i] = lo > hi ? 1 : lo;
    mp.rowHi[i] = lo > hi ? 0 : hi;
}

// The batches, and the places of every cell's points in summing order:
// cell c's k-th point at place cursor[c] + k * LANES.
void PlanMeanBatches() {
    MeansPlan& mp = meansPlan;
    std::vector<int> count(MAXCELLS, 0);
    for (int i = 0; i < NCOLS; i++)
        for (int j = mp.rowLo[i]; j <= mp.rowHi[i]; j++)
            if (Cell[i][j] != -1) count[static_cast<size_t>(Cell[i][j])]++;
    std::vector<int> order;
    for (int c = 0; c < MAXCELLS; c++)
        if (count[c] > 0) order.push_back(c);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return count[x] > count[y]; });
    mp.batches.clear();
    std::vector<size_t> cursor(MAXCELLS, 0);
    size_t places = 0;
    for (size_t b = 0; b < order.size(); b += LANES) {
        MeanBatch batch;
        batch.off = places;
        batch.len = count[order[b]];
        for (int l = 0; l < LANES; l++) {
            batch.cell[l] = b + l < order.size() ? order[b + l] : -1;
            if (batch.cell[l] >= 0) cursor[static_cast<size_t>(batch.cell[l])] = places + static_cast<size_t>(l);
        }
        places += static_cast<size_t>(batch.len) * LANES;
        mp.batches.push_back(batch);
    }
    mp.place.assign(places, -1);
    for (int i = 0; i < NCOLS; i++)
        for (int j = mp.rowLo[i]; j <= mp.rowHi[i]; j++) {
            const int c = Cell[i][j];
            if (c == -1) continue;
            mp.place[cursor[static_cast<size_t>(c)]] = i * NROWS + j;
            cursor[static_cast<size_t>(c)] += LANES;
        }
    mp.nthreads = 0;
}

// Batches of about equal numbers of places, one range per thread.
void SplitMeans(int n) {
    MeansPlan& mp = meansPlan;
    mp.split.assign(static_cast<size_t>(n) + 1, static_cast<int>(mp.batches.size()));
    for (int t = 0; t < n; t++) {
        int begin, end;
        ShareByWork(static_cast<int>(mp.batches.size()), t, n, [&mp](int b) { return mp.batches[static_cast<size_t>(b)].len; },
                    &begin, &end);
        mp.split[static_cast<size_t>(t)] = begin;
    }
    mp.nthreads = n;
}

void SumCellMeans(int t) {
    const MeansPlan& mp = meansPlan;
    const double* field = Caux1[0];
    for (int b = mp.split[static_cast<size_t>(t)]; b < mp.split[static_cast<size_t>(t) + 1]; b++) {
        const MeanBatch& batch = mp.batches[static_cast<size_t>(b)];
        const int32_t* place = mp.place.data() + batch.off;
        vd acc = Splat(0.0);
        for (int k = 0; k < batch.len; k++, place += LANES) {
#if TRANSPORT_LANES == 8
            __m256i at;
            memcpy(&at, place, sizeof at);
            const __mmask8 some = _mm256_cmpge_epi32_mask(at, _mm256_setzero_si256());
            acc += (vd)_mm512_mask_i32gather_pd(_mm512_set1_pd(-0.0), some, at, field, 8);
#else
            __m128i at;
            memcpy(&at, place, sizeof at);
            const __m256d some = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_cmpgt_epi32(at, _mm_set1_epi32(-1))));
            acc += (vd)_mm256_mask_i32gather_pd(_mm256_set1_pd(-0.0), field, at, some, 8);
#endif
        }
        for (int l = 0; l < LANES; l++)
            if (batch.cell[l] >= 0) MeanCells[batch.cell[l]] = acc[l];
    }
}

#ifdef ROOTSIM_CHECKED
// Every cell's sum formed anew point by point, in the same order, and compared.
void CheckCellMeans() {
    std::vector<double> sum(MAXCELLS, 0.0);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] != -1) sum[static_cast<size_t>(Cell[i][j])] += Caux1[i][j];
    for (int c = 0; c < MAXCELLS; c++)
        if (memcmp(&sum[static_cast<size_t>(c)], &MeanCells[c], sizeof(double)) != 0) {
            fprintf(stderr, "%s: the cells changed and the transport step was not told\n", ProgramName());
            abort();
        }
}
#endif

// Integer part of x, truncated toward zero.  Values beyond the int range (and
// NaN) give INT_MIN, as the hardware conversion does, instead of undefined
// behaviour.
int TruncToInt(double x) {
    if (!(x > -2147483649.0 && x < 2147483648.0)) return INT_MIN;
    return static_cast<int>(x);
}

}  // namespace

long transportCoefficientsVersion = 0;

void TransportCoefficientsChanged() {
    fromCarriers = false;
    carriersTissue = 0;
    transportCoefficientsVersion++;
}

void TransportCarriersChanged(const MembranePermeability& perm, unsigned long tissue) {
    permeability = perm;
    havePermeability = true;
    fromCarriers = true;
    carriersTissue = tissue;
    transportCoefficientsVersion++;
}

void InstallTransportPermeability(const MembranePermeability& perm) {
    permeability = perm;
    havePermeability = true;
}

void TransportStateRestored() {
    fromCarriers = havePermeability;
    carriersTissue = 0;
    transportCoefficientsVersion++;
}

int TransportLanes() { return LANES; }

bool TransportLastPlanKept() { return lastPlanKept; }

const MembranePermeability* TransportPermeability() { return havePermeability ? &permeability : nullptr; }

void SolveTridiagonal(int n) {
    if (n < 1) return;  // an empty system has nothing to solve
    for (int k = 1; k < n; k++) {
        double m = a[k] / b[k - 1];
        b[k] = b[k] - c[k - 1] * m;
        rhs[k] = rhs[k] - m * rhs[k - 1];
    }
    res[n - 1] = rhs[n - 1] / b[n - 1];
    for (int k = n - 2; k >= 0; k--) res[k] = (rhs[k] - c[k] * res[k + 1]) / b[k];
    for (int k = 0; k < n; k++) rhs[k] = res[k];
}

long TransportStep(bool check) {
    // Which half step comes next; both run in every call.
    static int Direction = 0;
    static std::vector<long> firstBad;
    Pool& pool = ThePool();
    if (pool.Size() != EffectiveThreads()) pool.Resize(EffectiveThreads());
    const int n = pool.Size();
    if (preparedVersion != transportCoefficientsVersion && fromCarriers && carriersTissue != 0 &&
        carriersTissue == plannedTissue) {
        // The tissue of the last factorisation: its plan holds, and only what
        // the carriers give is formed anew.
        pending = Pending::CARRIERS_KEPT;
        lastPlanKept = true;
        preparedVersion = transportCoefficientsVersion;
    }
    if (preparedVersion != transportCoefficientsVersion) {
        lastPlanKept = false;
        // Extents of the tissue and of the cells, by columns on all threads.
        Extents& e = extents;
        e.colLo.resize(NCOLS);
        e.colHi.resize(NCOLS);
        meansPlan.rowLo.resize(NCOLS);
        meansPlan.rowHi.resize(NCOLS);
        static std::vector<std::vector<int>> rowLoT, rowHiT;
        rowLoT.resize(static_cast<size_t>(n));
        rowHiT.resize(static_cast<size_t>(n));
        pool.Run([&](int t) {
            std::vector<int>& lo = rowLoT[static_cast<size_t>(t)];
            std::vector<int>& hi = rowHiT[static_cast<size_t>(t)];
            lo.assign(NROWS, NCOLS);
            hi.assign(NROWS, -1);
            for (int i = NCOLS * t / n; i < NCOLS * (t + 1) / n; i++) {
                ColumnExtent(i, lo.data(), hi.data());
                CellRange(i);
            }
        });
        e.rowLo.assign(NROWS, NCOLS);
        e.rowHi.assign(NROWS, -1);
        for (int t = 0; t < n; t++)
            for (int j = 0; j < NROWS; j++) {
                e.rowLo[j] = std::min(e.rowLo[j], rowLoT[static_cast<size_t>(t)][j]);
                e.rowHi[j] = std::max(e.rowHi[j], rowHiT[static_cast<size_t>(t)][j]);
            }
        PlanGroups(colSweep, true);
        PlanGroups(rowSweep, false);
        SplitWork(colSweep, n);
        SplitWork(rowSweep, n);
        // The cell means' batches; the factorisation itself is made by the
        // step.
        PlanMeanBatches();
        pending = fromCarriers ? Pending::CARRIERS : Pending::RECORDS;
        plannedTissue = fromCarriers ? carriersTissue : 0;
        preparedVersion = transportCoefficientsVersion;
    }
    SplitWork(colSweep, n);
    SplitWork(rowSweep, n);
    if (meansPlan.nthreads != n) SplitMeans(n);
    EnsureScratch(n);
    fillStates.resize(static_cast<size_t>(n));
    std::atomic<bool> exact{true};
    const long none = static_cast<long>(NCOLS) * NROWS;
    firstBad.assign(static_cast<size_t>(n), none);

    // First half step, and the cell means of the field before the step.
    // Each thread sums its own cells first, then takes the column groups one
    // after the other as it comes free, so that the threads finish together
    // whatever their share of the means (a group writes only its own columns;
    // which thread solves it changes nothing).
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] = 0;
    Direction = 1;
    std::atomic<size_t> nextColumnGroup{0};
    pool.Run([&](int t) {
        SumCellMeans(t);
        vd* rp = scratch[static_cast<size_t>(t)].data();
        for (size_t gi; (gi = nextColumnGroup.fetch_add(1, std::memory_order_relaxed)) < colSweep.groups.size();) {
            if (!FillPending<true>(colSweep, gi, gi + 1, t)) exact = false;
            ColumnGroup(colSweep.groups[gi], rp, rp + LINELEN);
        }
    });
    // The half step wrote only Cauxint: nothing of the field is lost yet.
    if (!exact) ReportInexactWeight();
#ifdef ROOTSIM_CHECKED
    CheckCellMeans();
#endif
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] *= InvCellSizes[k];

    // Second half step with the commit and the left-right comparison.
    Direction = 0;
    pool.Run([&](int t) {
        vd* rp = scratch[static_cast<size_t>(t)].data();
        long& bad = firstBad[static_cast<size_t>(t)];
        const size_t end = rowSweep.split[t + 1];
        for (size_t gb = rowSweep.split[t]; gb < end; gb += ROW_FILL_BLOCK) {
            const size_t ge = std::min(end, gb + ROW_FILL_BLOCK);
            if (!FillPending<false>(rowSweep, gb, ge, t)) {
                exact = false;
                return;
            }
            for (size_t gi = gb; gi < ge; gi++)
                if (check) RowGroup<true>(rowSweep.groups[gi], rp, rp + LINELEN, bad);
                else RowGroup<false>(rowSweep.groups[gi], rp, rp + LINELEN, bad);
        }
    });
    pending = Pending::NOTHING;
    if (!exact) ReportInexactWeight();
    (void)Direction;
    if (!check) return -1;
    const long key = *std::min_element(firstBad.begin(), firstBad.end());
    return key != none ? key : -1;
}

void SecondHalfStepField() {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE) Caux2[i][j] = Caux1[i][j];
}

void PrintAuxinAsymmetry(long key) {
    const int j = static_cast<int>(key / NCOLS), i = static_cast<int>(key % NCOLS);
    const double f = Caux1[i][j], g = Caux1[MIRRORSUM - i][j];
    printf("something is wrong in auxin levels at %i %i %i (%.10f %i %i) and  %i %i %i(%.10f %i %i)\n", i, j,
           Cell[i][j], f, TruncToInt(10000 * f), Tc[i][j], MIRRORSUM - i, j, Cell[MIRRORSUM - i][j], g,
           TruncToInt(10000 * g), Tc[MIRRORSUM - i][j]);
    fflush(stdout);
}
