// Implicit (ADI) auxin transport step.
//
// One step is two half steps of 0.1 time units: the first implicit along each
// column (rows coupled), the second implicit along each row.  Every implicit
// line is a tridiagonal system.  The matrices depend only on the transport
// coefficients, which change every tenth step, so each line system is
// factorised once per coefficient update (the elimination multipliers and
// modified diagonals are the very numbers the plain Thomas algorithm computes
// for that line), and each step only substitutes.  Four neighbouring lines are
// solved together in vector lanes, and lines are shared between threads.
// Every point is computed with exactly the operations, in exactly the order,
// of the plain solve of whole lines, so the result does not depend on the
// lane grouping or on the number of threads.
#include "rootsim.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr double HALFSTEP = 0.1;   // h, the length of a half step
constexpr int LANES = 4;           // lines solved together

typedef double v4 __attribute__((vector_size(32)));
typedef long long v4i __attribute__((vector_size(32)));

inline v4 Splat(double x) { return v4{x, x, x, x}; }
inline v4 Select(v4i mask, v4 yes, v4 no) { return (v4)(((v4i)yes & mask) | ((v4i)no & ~mask)); }

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
    size_t off;    // offset of position lo in the coefficient arrays
};

struct Sweep {
    std::vector<Group> groups;
    std::vector<size_t> split;   // group ranges per thread: [split[t], split[t+1])
    int nthreads_split = 0;
    // Per point of every group span, one vector of LANES values:
    v4* Ku = nullptr;   // diffusion weight toward the +across neighbour
    v4* Kd = nullptr;   // toward the -across neighbour
    v4* Nu = nullptr;   // neighbour membrane coefficient toward +across
    v4* Nd = nullptr;   // toward -across
    v4* hS = nullptr;   // h * (self coefficients across)
    v4* m = nullptr;    // elimination multiplier
    v4* cc = nullptr;   // super-diagonal
    v4* bp = nullptr;   // modified diagonal
    v4* p = nullptr;    // production
    v4* d = nullptr;    // decay
    v4i* in = nullptr;  // all ones where the point is not outside
    size_t capacity = 0;
};

Sweep colSweep;   // first half step: lines are columns, along = rows
Sweep rowSweep;   // second half step: lines are rows, along = columns

long preparedVersion = -1;

// ---------------------------------------------------------------------------
// A small pool of worker threads that run one function over a range of thread
// slots and wait for each other at its end.
class Pool {
public:
    void Resize(int n) {
        if (n == static_cast<int>(workers_.size()) + 1) return;
        Stop();
        stop_ = false;
        for (int t = 1; t < n; t++) workers_.emplace_back([this, t] { Work(t); });
    }
    int Size() const { return static_cast<int>(workers_.size()) + 1; }

    template <typename F>
    void Run(F&& f) {
        int n = Size();
        if (n == 1) {
            f(0);
            return;
        }
        fn_ = [&f](int t) { f(t); };
        remaining_.store(n - 1, std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> lk(mu_);
            epoch_.fetch_add(1, std::memory_order_release);
        }
        cv_.notify_all();
        f(0);
        // Wait for the workers: spin briefly, they are usually done by now.
        while (remaining_.load(std::memory_order_acquire) != 0) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
    }
    ~Pool() { Stop(); }

private:
    void Stop() {
        {
            std::lock_guard<std::mutex> lk(mu_);
            stop_ = true;
            epoch_.fetch_add(1, std::memory_order_release);
        }
        cv_.notify_all();
        for (auto& w : workers_) w.join();
        workers_.clear();
    }
    void Work(int t) {
        unsigned long seen = epoch_.load(std::memory_order_acquire);
        for (;;) {
            // Spin for a short while before sleeping: the next half step
            // usually follows within microseconds.
            unsigned long now = seen;
            for (int spin = 0; spin < 20000; spin++) {
                now = epoch_.load(std::memory_order_acquire);
                if (now != seen) break;
#if defined(__x86_64__) || defined(__i386__)
                __builtin_ia32_pause();
#endif
            }
            if (now == seen) {
                std::unique_lock<std::mutex> lk(mu_);
                cv_.wait(lk, [&] { return epoch_.load(std::memory_order_acquire) != seen; });
                now = epoch_.load(std::memory_order_acquire);
            }
            seen = now;
            if (stop_) return;
            fn_(t);
            remaining_.fetch_sub(1, std::memory_order_acq_rel);
        }
    }

    std::vector<std::thread> workers_;
    std::function<void(int)> fn_;
    std::atomic<unsigned long> epoch_{0};
    std::atomic<int> remaining_{0};
    std::mutex mu_;
    std::condition_variable cv_;
    bool stop_ = false;
};

Pool& ThePool() {
    static Pool pool;
    return pool;
}

int requestedThreads = 0;  // 0: all cores

int EffectiveThreads() {
    int n = requestedThreads;
    if (n <= 0) {
        unsigned hc = std::thread::hardware_concurrency();
        n = hc == 0 ? 1 : static_cast<int>(hc);
    }
    return std::max(1, std::min(n, 64));
}

// ---------------------------------------------------------------------------
// Preparation: builds the factorised systems of both sweeps from the
// coefficient records.

template <typename T>
T* AllocVec(size_t n) {
    void* mem = nullptr;
    if (posix_memalign(&mem, 64, n * sizeof(T)) != 0) {
        fprintf(stderr, "rootsim: out of memory for the transport step\n");
        exit(1);
    }
    return static_cast<T*>(mem);
}

void Reserve(Sweep& s, size_t n) {
    if (n <= s.capacity) return;
    for (v4** arr : {&s.Ku, &s.Kd, &s.Nu, &s.Nd, &s.hS, &s.m, &s.cc, &s.bp, &s.p, &s.d}) {
        free(*arr);
        *arr = AllocVec<v4>(n);
    }
    free(s.in);
    s.in = AllocVec<v4i>(n);
    s.capacity = n;
}

// Coefficients of point (i, j) as the line systems use them.  K: diffusion
// weights, N: neighbour membrane coefficients, S: self coefficients, each in
// the record order +column, -column, +row, -row.
struct PointCoef {
    double K[4], N[4], S[4];
};

inline void LoadCoef(int i, int j, PointCoef& pc) {
    const NeighbourRates& k = DiffAuxC[i][j];
    const NeighbourRates& e = Eff[i][j];
    const NeighbourRates& f = Inf[i][j];
    int t = Tc[i][j];
    for (int q = 0; q < 4; q++) {
        pc.K[q] = k[q];
        if (t == TC_WALL) {
            pc.N[q] = e[q];
            pc.S[q] = f[q];
        } else if (t == TC_MEMBRANE) {
            pc.N[q] = f[q];
            pc.S[q] = e[q];
        } else {
            pc.N[q] = 0.0;
            pc.S[q] = 0.0;
        }
    }
}

// Fills one sweep.  For the column sweep the lines are columns (along = rows,
// record components 2/3 along, 0/1 across); for the row sweep the reverse.
void PrepareSweep(Sweep& s, bool columns) {
    const int nlines = columns ? NCOLS : NROWS;
    const int len = columns ? NROWS : NCOLS;
    const int qNext = columns ? 2 : 0, qPrev = columns ? 3 : 1;
    const int qUp = columns ? 0 : 2, qDn = columns ? 1 : 3;
    auto isOut = [&](int line, int k) {
        return columns ? Tc[line][k] == TC_OUTSIDE : Tc[k][line] == TC_OUTSIDE;
    };

    s.groups.clear();
    size_t total = 0;
    for (int first = 0; first < nlines; first += LANES) {
        Group g;
        g.first = first;
        g.lanes = std::min(LANES, nlines - first);
        int lo = len, hi = -1;
        for (int l = 0; l < g.lanes; l++) {
            int line = first + l;
            for (int k = 0; k < len; k++)
                if (!isOut(line, k)) {
                    lo = std::min(lo, k);
                    break;
                }
            for (int k = len - 1; k >= 0; k--)
                if (!isOut(line, k)) {
                    hi = std::max(hi, k);
                    break;
                }
        }
        if (hi < 0) continue;  // nothing but outside points: no result is kept
        // One outside point beyond each end (the grid's border is outside).
        g.lo = std::max(lo - 1, 0);
        g.hi = std::min(hi + 1, len - 1);
        g.off = total;
        total += static_cast<size_t>(g.hi - g.lo + 1);
        s.groups.push_back(g);
    }
    Reserve(s, total);

    const double h = HALFSTEP;
    PointCoef pc;
    for (const Group& g : s.groups) {
        for (int l = 0; l < LANES; l++) {
            const bool lane = l < g.lanes;
            double bprev = 1.0, cprev = 0.0;
            for (int k = g.lo; k <= g.hi; k++) {
                size_t at = g.off + static_cast<size_t>(k - g.lo);
                int line = g.first + l;
                double a, b, c, Ku = 0, Kd = 0, Nu = 0, Nd = 0, hS = 0;
                bool inside = lane && !isOut(line, k);
                if (inside) {
                    if (columns) LoadCoef(line, k, pc);
                    else LoadCoef(k, line, pc);
                    a = -pc.K[qPrev] - h * pc.N[qPrev];
                    c = -pc.K[qNext] - h * pc.N[qNext];
                    b = 1 + pc.K[qNext] + pc.K[qPrev] - h * (pc.S[qNext] + pc.S[qPrev]);
                    Ku = pc.K[qUp];
                    Kd = pc.K[qDn];
                    Nu = pc.N[qUp];
                    Nd = pc.N[qDn];
                    hS = h * (pc.S[qUp] + pc.S[qDn]);
                } else {
                    a = 0;
                    b = 1;
                    c = 0;
                }
                // Below the span every point is outside, so the elimination
                // enters the span with diagonal 1 and super-diagonal 0.
                double m = a / bprev;
                double bp = b - cprev * m;
                bprev = bp;
                cprev = c;
                s.m[at][l] = m;
                s.bp[at][l] = bp;
                s.cc[at][l] = c;
                s.Ku[at][l] = Ku;
                s.Kd[at][l] = Kd;
                s.Nu[at][l] = Nu;
                s.Nd[at][l] = Nd;
                s.hS[at][l] = hS;
                int ci = columns ? line : k, cj = columns ? k : line;
                s.p[at][l] = inside ? paux[ci][cj] : 0.0;
                s.d[at][l] = inside ? daux[ci][cj] : 0.0;
                s.in[at][l] = inside ? -1LL : 0LL;
            }
        }
    }
    s.nthreads_split = 0;
}

// Splits the groups between n threads by their number of points.
void SplitWork(Sweep& s, int n) {
    if (s.nthreads_split == n) return;
    size_t total = 0;
    for (const Group& g : s.groups) total += static_cast<size_t>(g.hi - g.lo + 1);
    s.split.assign(static_cast<size_t>(n) + 1, s.groups.size());
    s.split[0] = 0;
    size_t acc = 0;
    int t = 1;
    for (size_t gi = 0; gi < s.groups.size() && t < n; gi++) {
        acc += static_cast<size_t>(s.groups[gi].hi - s.groups[gi].lo + 1);
        while (t < n && acc * static_cast<size_t>(n) >= total * static_cast<size_t>(t)) s.split[t++] = gi + 1;
    }
    s.nthreads_split = n;
}

// ---------------------------------------------------------------------------
// Substitution.  rhs = u + Ku*(uU - u) + Kd*(uD - u) + h*(Nu*uU + Nd*uD) + hS*u
// on points that are not outside, 0 on outside points.

std::vector<std::vector<v4>> scratch;  // forward results, one line buffer per thread

// First half step on one group of columns: reads Caux1, writes Cauxint.
void ColumnGroup(const Group& g, v4* rp) {
    const Sweep& s = colSweep;
    const v4 h = Splat(HALFSTEP), tenth = Splat(0.1);
    const int i0 = g.first;
    // Column pointers of the lanes and their neighbours; padding lanes read
    // a real column and are never stored.
    const double* col[LANES + 2];
    for (int l = -1; l <= LANES; l++) {
        int ci = std::min(std::max(i0 + l, 0), NCOLS - 1);
        col[l + 1] = Caux1[ci];
    }
    v4 prev = Splat(0.0);
    for (int k = g.lo; k <= g.hi; k++) {
        size_t at = g.off + static_cast<size_t>(k - g.lo);
        v4 u = {col[1][k], col[2][k], col[3][k], col[4][k]};
        v4 uD = {col[0][k], col[1][k], col[2][k], col[3][k]};
        v4 uU = {col[2][k], col[3][k], col[4][k], col[5][k]};
        v4 r = u + s.Ku[at] * (uU - u) + s.Kd[at] * (uD - u) + h * (s.Nu[at] * uU + s.Nd[at] * uD) +
               s.hS[at] * u;
        r = Select(s.in[at], r, Splat(0.0));
        prev = r - s.m[at] * prev;
        rp[k - g.lo] = prev;
    }
    v4 x = rp[g.hi - g.lo] / s.bp[g.off + static_cast<size_t>(g.hi - g.lo)];
    // The top point of the span is outside in every lane: nothing to store.
    for (int k = g.hi - 1; k >= g.lo; k--) {
        size_t at = g.off + static_cast<size_t>(k - g.lo);
        x = (rp[k - g.lo] - s.cc[at] * x) / s.bp[at];
        v4 u = {col[1][k], col[2][k], col[3][k], col[4][k]};
        v4 out = x + tenth * (s.p[at] - s.d[at] * u);
        for (int l = 0; l < g.lanes; l++)
            if (s.in[at][l]) Cauxint[i0 + l][k] = out[l];
    }
}

// Second half step on one group of rows: reads Cauxint, writes Caux2 and
// commits into Caux1.
void RowGroup(const Group& g, v4* rp) {
    const Sweep& s = rowSweep;
    const v4 h = Splat(HALFSTEP), tenth = Splat(0.1);
    const int j0 = g.first;
    const bool full = g.lanes == LANES && j0 >= 1 && j0 + LANES < NROWS;
    auto load = [&](int i, int dj) -> v4 {
        const double* colp = Cauxint[i];
        if (full) {
            v4 v;
            memcpy(&v, colp + j0 + dj, sizeof v);
            return v;
        }
        v4 v;
        for (int l = 0; l < LANES; l++) {
            int j = std::min(std::max(j0 + l + dj, 0), NROWS - 1);
            v[l] = colp[j];
        }
        return v;
    };
    v4 prev = Splat(0.0);
    for (int k = g.lo; k <= g.hi; k++) {
        size_t at = g.off + static_cast<size_t>(k - g.lo);
        v4 u = load(k, 0), uU = load(k, 1), uD = load(k, -1);
        v4 r = u + s.Ku[at] * (uU - u) + s.Kd[at] * (uD - u) + h * (s.Nu[at] * uU + s.Nd[at] * uD) +
               s.hS[at] * u;
        r = Select(s.in[at], r, Splat(0.0));
        prev = r - s.m[at] * prev;
        rp[k - g.lo] = prev;
    }
    v4 x = rp[g.hi - g.lo] / s.bp[g.off + static_cast<size_t>(g.hi - g.lo)];
    for (int k = g.hi - 1; k >= g.lo; k--) {
        size_t at = g.off + static_cast<size_t>(k - g.lo);
        x = (rp[k - g.lo] - s.cc[at] * x) / s.bp[at];
        v4 u = load(k, 0);
        v4 out = x + tenth * (s.p[at] - s.d[at] * u);
        for (int l = 0; l < g.lanes; l++)
            if (s.in[at][l]) {
                Caux2[k][j0 + l] = out[l];
                Caux1[k][j0 + l] = out[l];
            }
    }
}

template <typename F>
void RunSweep(Sweep& s, F&& body) {
    Pool& pool = ThePool();
    int n = pool.Size();
    SplitWork(s, n);
    if (scratch.size() < static_cast<size_t>(n)) scratch.resize(static_cast<size_t>(n));
    for (auto& buf : scratch)
        if (buf.size() < static_cast<size_t>(LINELEN)) buf.resize(static_cast<size_t>(LINELEN));
    pool.Run([&](int t) {
        v4* rp = scratch[static_cast<size_t>(t)].data();
        for (size_t gi = s.split[static_cast<size_t>(t)]; gi < s.split[static_cast<size_t>(t) + 1]; gi++)
            body(s.groups[gi], rp);
    });
}

void ComputeCellMeans() {
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            int cell = Cell[i][j];
            if (cell != -1) MeanCells[cell] += Caux1[i][j];
        }
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] *= InvCellSizes[k];
}

void SymmetryCheck(int time) {
    if (counter2 != 0) return;
    for (int j = 0; j < NROWS; j++)
        for (int i = 0; i < AXIS; i++) {
            if (Tc[i][j] == TC_OUTSIDE) continue;
            double f = Caux1[i][j], g = Caux1[MIRRORSUM - i][j];
            if (static_cast<int>((f - g) * 1000) != 0) {
                printf("something is wrong in auxin levels at %i %i %i (%.10f %i %i) and  %i %i %i(%.10f %i %i)\n",
                       i, j, Cell[i][j], f, static_cast<int>(10000 * f), Tc[i][j], MIRRORSUM - i, j,
                       Cell[MIRRORSUM - i][j], g, static_cast<int>(10000 * g), Tc[MIRRORSUM - i][j]);
                fflush(stdout);
                MakeGraphics(time);
                counter2++;
                return;
            }
        }
}

}  // namespace

long transportCoefficientsVersion = 0;

void TransportCoefficientsChanged() { transportCoefficientsVersion++; }

void SetTransportThreads(int n) {
    requestedThreads = n;
    ThePool().Resize(EffectiveThreads());
}

int TransportThreads() { return ThePool().Size(); }

void dsolvetridiag(int n) {
    for (int k = 1; k < n; k++) {
        double m = a[k] / b[k - 1];
        b[k] = b[k] - c[k - 1] * m;
        rhs[k] = rhs[k] - m * rhs[k - 1];
    }
    res[n - 1] = rhs[n - 1] / b[n - 1];
    for (int k = n - 2; k >= 0; k--) res[k] = (rhs[k] - c[k] * res[k + 1]) / b[k];
    for (int k = 0; k < n; k++) rhs[k] = res[k];
}

void UpdateAuxin(int time) {
    static int Direction = 0;
    if (ThePool().Size() != EffectiveThreads()) ThePool().Resize(EffectiveThreads());
    if (preparedVersion != transportCoefficientsVersion) {
        PrepareSweep(colSweep, true);
        PrepareSweep(rowSweep, false);
        preparedVersion = transportCoefficientsVersion;
    }
    // Cell means of the field before the step.
    ComputeCellMeans();
    Direction = 1;
    RunSweep(colSweep, ColumnGroup);
    Direction = 0;
    RunSweep(rowSweep, RowGroup);
    (void)Direction;
    SymmetryCheck(time);
}
