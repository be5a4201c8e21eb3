// Times the transport step: the plain reference and the production step, in
// one process, on the real initial root and on a root that fills the grid's
// height, with 1 and 2 threads; checks that both give the same bits.
//
//   build/bench/bench_transport [steps]
//   build/bench/bench_transport steps checkpoint DIR/checkpoint [changes]
//       the real schedule on the grown root of a rootsim run's checkpoint
//   build/bench/bench_transport steps changes
//       how many lines' factorisation inputs change per coefficient update
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "checkpoint.h"
#include "coefficients.h"
#include "tissue_watch.h"
#include "transport.h"
#include "transport_reference.h"
#include "rootsim.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Transport coefficients of a tissue from its point classes, with the rules of
// the coefficient update and carrier amounts that vary from point to point.
void CoefficientsFromTissue() {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            paux[i][j] = daux[i][j] = 0;
            for (int q = 0; q < 4; q++) DiffAuxC[i][j][q] = Eff[i][j][q] = Inf[i][j][q] = 0;
        }
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = 1; j < NROWS - 1; j++) {
            int t = Tc[i][j];
            if (t == TC_OUTSIDE) continue;
            if (t != TC_WALL) {
                paux[i][j] = 0.0005 + 1e-6 * (i % 13);
                daux[i][j] = 5.8e-5 + 1e-7 * (j % 11);
            }
            const int ni[4] = {i + 1, i - 1, i, i}, nj[4] = {j, j, j + 1, j - 1};
            for (int q = 0; q < 4; q++) {
                int u = Tc[ni[q]][nj[q]];
                if (t == TC_WALL && u == TC_WALL) DiffAuxC[i][j][q] = 4.0;
                if (t != TC_WALL && u != TC_WALL && u != TC_OUTSIDE) DiffAuxC[i][j][q] = 60.0;
                double e = 1 + 0.2 * (100.0 + (ni[q] * 7 + nj[q] * 3) % 50);
                double f = 2.5 + 0.07 * (80.0 + (ni[q] * 5 + nj[q]) % 40);
                if (t == TC_WALL && u == TC_MEMBRANE) {
                    Eff[i][j][q] = e;
                    Inf[i][j][q] = -f;
                }
                if (t == TC_MEMBRANE && u == TC_WALL) {
                    double em = 1 + 0.2 * (100.0 + (i * 7 + j * 3) % 50);
                    double fm = 2.5 + 0.07 * (80.0 + (i * 5 + j) % 40);
                    Eff[i][j][q] = -em;
                    Inf[i][j][q] = fm;
                }
            }
        }
    TransportCoefficientsChanged();
}

// A root that fills rows 8..1897: files of cells 17 rows high between
// columns 29 and 195, mirror-symmetric, with walls between cells.
void FullHeightRoot() {
    static const int walls[] = {29, 48, 69, 82, 91, 98, 105, 112};
    TissueChanged();
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Cell[i][j] = -1;
            Caux1[i][j] = 0;
        }
    for (int i = 29; i <= MIRRORSUM - 29; i++)
        for (int j = 8; j <= 1897; j++) {
            int k = i <= AXIS ? i : MIRRORSUM - i;
            bool wall = (j - 8) % 17 == 0 || j == 1897 ||
                        std::find(std::begin(walls), std::end(walls), k) != std::end(walls);
            Tc[i][j] = wall ? TC_WALL : TC_CYTO;
            Caux1[i][j] = wall ? 0.0 : 40.0;
        }
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = 1; j < NROWS - 1; j++)
            if (Tc[i][j] == TC_CYTO && (Tc[i + 1][j] == TC_WALL || Tc[i - 1][j] == TC_WALL ||
                                        Tc[i][j + 1] == TC_WALL || Tc[i][j - 1] == TC_WALL))
                Tc[i][j] = TC_MEMBRANE;
    // Number the cells (4-connected regions) so the means have work to do.
    int next = 0;
    std::vector<std::pair<int, int>> stack;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] == TC_WALL || Tc[i][j] == TC_OUTSIDE || Cell[i][j] != -1) continue;
            int id = next < MAXCELLS ? next++ : MAXCELLS - 1;
            stack.push_back({i, j});
            Cell[i][j] = id;
            while (!stack.empty()) {
                auto [x, y] = stack.back();
                stack.pop_back();
                const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
                for (int q = 0; q < 4; q++) {
                    int u = x + dx[q], v = y + dy[q];
                    if ((Tc[u][v] == TC_CYTO || Tc[u][v] == TC_MEMBRANE) && Cell[u][v] == -1) {
                        Cell[u][v] = id;
                        stack.push_back({u, v});
                    }
                }
            }
        }
    actcells = next;
    std::vector<int> count(MAXCELLS, 0);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] >= 0) count[Cell[i][j]]++;
    for (int k = 0; k < MAXCELLS; k++) InvCellSizes[k] = count[k] ? 1.0 / count[k] : 0.0;
    CoefficientsFromTissue();
}

struct Saved {
    std::vector<double> aux;
};

Saved Save() { return Saved{std::vector<double>(Caux1[0], Caux1[0] + NCOLS * NROWS)}; }
void Restore(const Saved& s) { memcpy(Caux1[0], s.aux.data(), s.aux.size() * sizeof(double)); }

std::vector<double> TimeSteps(void (*step)(), int n) {
    std::vector<double> t;
    for (int s = 0; s < n; s++) {
        auto t0 = Clock::now();
        step();
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return t;
}

void ProductionStep() { UpdateAuxin(0); }
// Factorising anew before every step.
void RefactoriseAndStep() {
    TransportCoefficientsChanged();
    UpdateAuxin(0);
}
void PlainStep() { transportref::ReferenceUpdateAuxin(0); }
// Factorising anew from the carriers, as after every carrier update.
void RefactoriseFromCarriersAndStep() {
    TransportCarriersChanged(*TransportPermeability());
    UpdateAuxin(0);
}
// The same on the tissue of the factorisation before, as the carrier update
// tells it (its look at the tissue is its own cost).
unsigned long benchTissue = 0;
void RefactoriseOnTheSameTissueAndStep() {
    TransportCarriersChanged(*TransportPermeability(), benchTissue);
    UpdateAuxin(0);
}

// Returns the production step's median with the last thread count.  A run
// compares the field with its mirror image at every step until the two first
// differ (counter2 0); mirrorCheck times the steps so, for a root that is
// symmetric.
double Compare(const char* name, int plainSteps, int fastSteps, bool mirrorCheck) {
    double lastMs = 0;
    Saved start = Save();
    counter2 = 1;
    std::vector<double> plain = TimeSteps(PlainStep, plainSteps);
    std::vector<double> plainField(Caux1[0], Caux1[0] + NCOLS * NROWS);
    std::vector<double> plainMeans(MeanCells, MeanCells + MAXCELLS);
    double plainMs = Median(plain);
    printf("%-28s plain reference            %8.3f ms/step\n", name, plainMs);
    for (int threads : {1, 2}) {
        SetTransportThreads(threads);
        Restore(start);
        TransportCoefficientsChanged();
        // The same steps as the reference, for the bit comparison...
        for (int s = 0; s < plainSteps; s++) UpdateAuxin(0);
        bool same = memcmp(plainField.data(), Caux1[0], plainField.size() * sizeof(double)) == 0 &&
                    memcmp(plainMeans.data(), MeanCells, plainMeans.size() * sizeof(double)) == 0;
        // ...then a longer timed series.
        counter2 = mirrorCheck ? 0 : 1;
        std::vector<double> fast = TimeSteps(ProductionStep, fastSteps);
        counter2 = 1;
        double ms = Median(fast);
        double best = *std::min_element(fast.begin(), fast.end());
        printf("%-28s production, %d thread%s      %8.3f ms/step  (x%.1f, best %.3f)  %s\n", name,
               threads, threads == 1 ? " " : "s", ms, plainMs / ms, best,
               same ? "bit-identical" : "DIFFERENT BITS");
        lastMs = ms;
    }
    Restore(start);
    return lastMs;
}

// ---------------------------------------------------------------------------
// The real schedule with every callee timed: transport steps, the work of
// every tenth step and growth.  Outputs (tables, pictures, dumps) are left
// out; they are timed by a real run.
enum Phase { P_TRANSPORT, P_PREPARED, P_GENES, P_GROWTH, P_CARRIERS, P_TRACK, P_COUNT };
std::vector<double> phaseMs[P_COUNT];
bool afterCoefficientUpdate = false;
long plansKept = 0;  // factorisations that kept the plan of the one before

// Lines of each sweep whose factorisation inputs (point classes and the
// coefficient records of their points) changed bits in a coefficient update,
// against the lines that hold tissue.  Counted only when asked for: the
// comparison copies the records before each update.
bool countChangedLines = false;
struct LineChanges {
    long updates = 0;
    long columnsChanged = 0, columnsInUse = 0, rowsChanged = 0, rowsInUse = 0;
} lineChanges;

struct LineInputs {
    std::vector<int> tc;
    std::vector<NeighbourRates> dif, eff, inf;
};

LineInputs TakeLineInputs() {
    const size_t n = static_cast<size_t>(NCOLS) * NROWS;
    LineInputs in;
    in.tc.assign(Tc[0], Tc[0] + n);
    in.dif.assign(DiffAuxC[0], DiffAuxC[0] + n);
    in.eff.assign(Eff[0], Eff[0] + n);
    in.inf.assign(Inf[0], Inf[0] + n);
    return in;
}

void CountChangedLines(const LineInputs& before) {
    std::vector<char> colChanged(NCOLS, 0), rowChanged(NROWS, 0), colUsed(NCOLS, 0), rowUsed(NROWS, 0);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            const size_t at = static_cast<size_t>(i) * NROWS + static_cast<size_t>(j);
            if (Tc[i][j] != TC_OUTSIDE || before.tc[at] != TC_OUTSIDE) colUsed[i] = rowUsed[j] = 1;
            const bool changed = before.tc[at] != Tc[i][j] ||
                                 memcmp(&before.dif[at], &DiffAuxC[i][j], sizeof(NeighbourRates)) != 0 ||
                                 memcmp(&before.eff[at], &Eff[i][j], sizeof(NeighbourRates)) != 0 ||
                                 memcmp(&before.inf[at], &Inf[i][j], sizeof(NeighbourRates)) != 0;
            if (changed) colChanged[i] = rowChanged[j] = 1;
        }
    lineChanges.updates++;
    for (int i = 0; i < NCOLS; i++) {
        lineChanges.columnsChanged += colChanged[i];
        lineChanges.columnsInUse += colUsed[i];
    }
    for (int j = 0; j < NROWS; j++) {
        lineChanges.rowsChanged += rowChanged[j];
        lineChanges.rowsInUse += rowUsed[j];
    }
}

template <Phase P, void (*F)(int)>
void Timed(int t) {
    LineInputs before;
    if (P == P_CARRIERS && countChangedLines) before = TakeLineInputs();
    auto t0 = Clock::now();
    F(t);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    Phase p = P;
    if (P == P_TRANSPORT && afterCoefficientUpdate) {
        p = P_PREPARED;
        plansKept += TransportLastPlanKept();
    }
    if (P == P_TRANSPORT) afterCoefficientUpdate = false;
    if (P == P_CARRIERS) afterCoefficientUpdate = true;
    phaseMs[p].push_back(ms);
    if (P == P_CARRIERS && countChangedLines) CountChangedLines(before);
}
void Skip(int) {}
void Skip3(int, int, int) {}

const ScheduleCallees kTimedCallees = {
    Timed<P_TRANSPORT, UpdateAuxin>, Timed<P_GENES, UpdateGeneExpression>, Timed<P_GROWTH, Growth>,
    Timed<P_CARRIERS, UpdateMembraneProteinsAndFluxes>, Timed<P_TRACK, TrackCells>,
    Skip, Skip, Skip, Skip, Skip, Skip, Skip, Skip, Skip, Skip3, Skip,
};

double Mean(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return v.empty() ? 0.0 : s / static_cast<double>(v.size());
}

// Runs steps first..last of the real schedule and prints what each phase
// costs per call and per step.
struct Breakdown {
    double transport = 0;  // ms per transport step (median)
    double other = 0;      // ms per step of the every-tenth-step work and growth
};

Breakdown ScheduleBreakdown(const char* name, long first, long last, int threads) {
    SetTransportThreads(threads);
    for (auto& v : phaseMs) v.clear();
    afterCoefficientUpdate = false;
    plansKept = 0;
    lineChanges = LineChanges();
    for (long j = first; j <= last; j++) RunStep(j, last, kTimedCallees);
    const double steps = static_cast<double>(last - first + 1);
    const double transport = Median(phaseMs[P_TRANSPORT]);
    // The first transport step after a coefficient update factorises the
    // line systems anew: its extra cost belongs to the tenth-step work.
    const double prepare = std::max(0.0, Median(phaseMs[P_PREPARED]) - transport);
    printf("%s, %d thread%s, steps %ld..%ld (%d cells at the end)\n", name, threads, threads == 1 ? "" : "s",
           first, last, actcells);
    printf("  transport step                 %8.3f ms (median)\n", transport);
    struct Row {
        const char* label;
        double perCall;
        size_t calls;
    } rows[] = {
        {"factorisation (extra)", prepare, phaseMs[P_PREPARED].size()},
        {"gene step + cellular diff.", Mean(phaseMs[P_GENES]), phaseMs[P_GENES].size()},
        {"carrier/coefficient update", Mean(phaseMs[P_CARRIERS]), phaseMs[P_CARRIERS].size()},
        {"cell tracking", Mean(phaseMs[P_TRACK]), phaseMs[P_TRACK].size()},
        {"growth", Mean(phaseMs[P_GROWTH]), phaseMs[P_GROWTH].size()},
    };
    double amortised = 0;
    for (const Row& r : rows) {
        const double perStep = r.perCall * static_cast<double>(r.calls) / steps;
        amortised += perStep;
        printf("  %-30s %8.3f ms per call, %4zu calls, %7.4f ms per step\n", r.label, r.perCall, r.calls, perStep);
    }
    printf("  every-tenth-step work and growth: %.4f ms per step = %.1f%% of the transport step\n", amortised,
           transport > 0 ? 100.0 * amortised / transport : 0.0);
    printf("  factorisations on the tissue of the one before (plan kept): %ld of %zu\n", plansKept,
           phaseMs[P_PREPARED].size());
    if (lineChanges.updates > 0) {
        const LineChanges& c = lineChanges;
        printf("  lines changed per coefficient update: columns %.1f of %.1f in use (%.1f%%), rows %.1f of %.1f "
               "(%.1f%%), over %ld updates\n",
               double(c.columnsChanged) / c.updates, double(c.columnsInUse) / c.updates,
               100.0 * c.columnsChanged / std::max(1L, c.columnsInUse), double(c.rowsChanged) / c.updates,
               double(c.rowsInUse) / c.updates, 100.0 * c.rowsChanged / std::max(1L, c.rowsInUse), c.updates);
    }
    return Breakdown{transport, amortised};
}

double TimeMs(const std::function<void()>& f) {
    auto t0 = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The outputs of the schedule, written into a scratch directory, per step of
// their period: tables every 100 and 3000 steps, the picture set with its
// tables every 18000 steps, a plant-state dump every 250000 steps.
double OutputsPerStep(int time) {
    char dir[] = "/tmp/rootsim-bench-XXXXXX";
    if (mkdtemp(dir) == nullptr) {
        printf("outputs: no scratch directory, not timed\n");
        return 0;
    }
    char prog[] = "bench_transport";
    char* argv[] = {prog, dir, nullptr};
    Start(2, argv);
    static const int rows[] = {149, 14, 32, 50, 68, 86, 104, 122, 140, 158, 176, 194, 212, 230, 284, 356};
    const double t100 = TimeMs([&] {
        SaveTotAuxin(time);
        SaveTotPlts(time);
    });
    const double t3000 = TimeMs([&] {
        TrackCellTypeSpaceTime(time);
        TrackPltsSpaceTime(time);
        TrackAuxSpaceTime(time);
        Tracktotalmeasures(time);
    });
    const double pictures = TimeMs([&] { MakeGraphics(time); });
    const double t18000 = TimeMs([&] {
        SaveGradGridRes(time);
        for (int r : rows) SaveTemp(time, 93, r);
        for (int r : rows) SaveTemp(time, 84, r);
        SaveTempQC(time);
    });
    const double dump = TimeMs([&] { WritePlantToFile(time); });
    const double perStep = t100 / 100 + t3000 / 3000 + (pictures + t18000) / 18000 + dump / 250000;
    printf("outputs: tables %.2f ms / 100 steps, %.2f ms / 3000 steps; picture set %.0f ms and its tables %.1f ms\n"
           "         / 18000 steps; dump %.0f ms / 250000 steps: %.4f ms per step\n",
           t100, t3000, pictures, t18000, dump, perStep);
    std::string cmd = std::string("rm -rf '") + dir + "'";
    if (system(cmd.c_str()) != 0) printf("(scratch directory %s left behind)\n", dir);
    return perStep;
}

}  // namespace

// Production steps only, for counting cycles with an external profiler.
void ProductionOnly(int steps, int threads, void (*step)(), bool mirrorCheck) {
    SetTransportThreads(threads);
    counter2 = mirrorCheck ? 0 : 1;
    std::vector<double> t = TimeSteps(step, steps);
    printf("production only, %d thread(s): median %.3f ms/step, best %.3f\n", threads, Median(t),
           *std::min_element(t.begin(), t.end()));
}

int main(int argc, char** argv) {
    int steps = argc > 1 ? atoi(argv[1]) : 200;
    if (steps < 1) steps = 1;
    MakeArrays();
    printf("transport step in %d vector lanes\n", TransportLanes());
    if (argc > 3 && strcmp(argv[2], "checkpoint") == 0) {
        // bench_transport STEPS checkpoint FILE [changes]: the real schedule
        // from a checkpoint of a rootsim run (a grown root), with 1 and 2
        // threads, each from the same state; "changes" also counts the lines
        // whose factorisation inputs change per coefficient update.
        SetProgramName("rootsim");
        countChangedLines = argc > 4 && strcmp(argv[4], "changes") == 0;
        CheckpointInfo info;
        std::string why;
        for (int threads : {1, 2}) {
            if (!ReadCheckpoint(argv[3], &info, &why)) {
                printf("cannot read %s: %s\n", argv[3], why.c_str());
                return 1;
            }
            if (threads == 1) {
                // The plain reference reads the coefficient records.
                CoefficientRecordsFromCarriers();
                TransportCoefficientsChanged();
                Compare("grown root (checkpoint)", std::max(1, steps / 20), steps, true);
                for (int n : {1, 2}) {
                    if (!ReadCheckpoint(argv[3], &info, &why)) return 1;
                    SetTransportThreads(n);
                    counter2 = 0;  // with the mirror check, as in the run
                    UpdateAuxin(0);
                    const double step = Median(TimeSteps(ProductionStep, 50));
                    const double both = Median(TimeSteps(RefactoriseFromCarriersAndStep, 50));
                    benchTissue = TissueGeneration();
                    const double kept = Median(TimeSteps(RefactoriseOnTheSameTissueAndStep, 50));
                    printf("factorisation from the carriers alone, %d thread%s: %.3f ms, on the same tissue %.3f ms\n",
                           n, n == 1 ? "" : "s", both - step, kept - step);
                }
                if (!ReadCheckpoint(argv[3], &info, &why)) return 1;
            }
            char label[96];
            snprintf(label, sizeof label, "real schedule from step %ld", info.step);
            ScheduleBreakdown(label, info.step + 1, info.step + steps, threads);
        }
        FreeArrays();
        return 0;
    }
    if (argc > 2 && strcmp(argv[2], "changes") == 0) {
        // bench_transport STEPS changes: the lines whose factorisation inputs
        // change per coefficient update on the young root, from the start and
        // where growth has begun (2 threads; the comparison slows the steps
        // after each update, so these timings are not the benchmark's).
        countChangedLines = true;
        maxmzheight = 212;
        InitPlant();
        FinishInitialRoot();
        counter2 = 0;  // the mirror check of every step, as in a run
        ScheduleBreakdown("real schedule from the start", 1, std::max(200, steps), 2);
        ScheduleBreakdown("real schedule with growth", 288001, 288000 + 5 * std::max(200, steps), 2);
        FreeArrays();
        return 0;
    }
    if (argc > 2) {
        // bench_transport STEPS full|initial THREADS [refactorise]: one case,
        // production only; "refactorise" factorises anew before every step.
        int threads = argc > 3 ? atoi(argv[3]) : 1;
        const bool full = strcmp(argv[2], "full") == 0;
        if (full) {
            FullHeightRoot();
        } else {
            // The real root with the real carrier update.
            maxmzheight = 212;
            InitPlant();
            FinishInitialRoot();
            UpdateMembraneProteinsAndFluxes(2);
        }
        const char* mode = argc > 4 ? argv[4] : "";
        // The synthetic root's coefficients are records, the real root's
        // come from its carriers.
        void (*refactorise)() = full ? RefactoriseAndStep : RefactoriseFromCarriersAndStep;
        ProductionOnly(steps, threads, strcmp(mode, "refactorise") == 0 ? refactorise : ProductionStep, !full);
        FreeArrays();
        return 0;
    }

    InitPlant();
    // The plain reference reads the coefficient records: their view.
    if (actcells > 0) CoefficientRecordsFromCarriers();
    double initialTwoThreads = 1;
    if (actcells > 0) {
        bool any = false;
        for (int i = 0; i < NCOLS && !any; i++)
            for (int j = 0; j < NROWS && !any; j++) any = DiffAuxC[i][j][0] != 0;
        if (!any) {
            printf("(no coefficient update in this tree: rule-based coefficients on the initial root)\n");
            CoefficientsFromTissue();
        }
        TransportCoefficientsChanged();
        initialTwoThreads = Compare("initial root", std::max(1, steps / 20), steps, true);
    } else {
        printf("initial root: not built in this tree, skipped\n");
    }

    FullHeightRoot();
    // The synthetic root is not symmetric: its steps go without the check.
    const double fullTwoThreads = Compare("full-height root (8..1897)", std::max(1, steps / 20), steps, false);

    // The real schedule on the real root: from the start, and where growth
    // has begun (the state is the young root's, the growth clocks run).
    Breakdown last;
    for (int threads : {1, 2}) {
        maxmzheight = 212;
        InitPlant();
        FinishInitialRoot();
        counter2 = 0;  // the mirror check of every step, as in a run
        ScheduleBreakdown("real schedule from the start", 1, std::max(200, steps), threads);
        last = ScheduleBreakdown("real schedule with growth", 288001, 288000 + 5 * std::max(200, steps), threads);
    }
    const double outputs = OutputsPerStep(57600);

    // A whole run of ten million steps with the threads of the last case:
    // from the young root's costs throughout, and with the transport step and
    // the tenth-step work scaled to a root that fills the grid's height.
    const double scale = fullTwoThreads / initialTwoThreads;
    const double young = last.transport + last.other + outputs;
    const double tall = (last.transport + last.other) * scale + outputs;
    printf("whole run (10^7 steps, 2 threads): %.1f h with the young root's costs, %.1f h with a root that fills "
           "the grid (x%.2f)\n",
           young * 1e7 / 3.6e6, tall * 1e7 / 3.6e6, scale);
    FreeArrays();
    return 0;
}
