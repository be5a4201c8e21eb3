// Run driver and global state: allocation of every array, the command line,
// start-up, the growth-clock priming and the fixed-step time loop.
#include "rootsim.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

// ---------------------------------------------------------------------------
// Global state
int** Tc;
int** Tct;
int** Tmt;
int** Cell;

double** Caux1;
double** Cauxint;
double** Caux2;
double** paux;
double** daux;
double** PinPrePat;
double** Pin2PrePat;
double** Aux1PrePat;
double** Cpin1M;
double** Cpin2M;
double** Aux1M;

NeighbourRates** DiffAuxC;
NeighbourRates** Eff;
NeighbourRates** Inf;

#define ROOTSIM_DEF_INT2(n, o) int* n; int* o;
#define ROOTSIM_DEF_INT1(n) int* n;
#define ROOTSIM_DEF_DBL2(n, o) double* n; double* o;
#define ROOTSIM_DEF_DBL1(n) double* n;
#define ROOTSIM_DEF_FLG2(n, o) unsigned char* n; unsigned char* o;
ROOTSIM_CELL_INT_CARRIED(ROOTSIM_DEF_INT2)
ROOTSIM_CELL_INT_PLAIN(ROOTSIM_DEF_INT1)
ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_DEF_DBL2)
ROOTSIM_CELL_DOUBLE_PLAIN(ROOTSIM_DEF_DBL1)
ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_DEF_FLG2)

SideWeights* Plasmodesmatapattern;

double* a;
double* b;
double* c;
double* rhs;
double* res;

OldCellCorner* OldSit;
int* idlist;
int idcounter;
int memid;

unsigned char* RGBdata;

int actcells;
char dirname[DIRNAME_SIZE];
int counter2;
int maxmzheight;
int leftsize, rightsize;
int totalrootcellnrL, totalrootcellnrR;

// ---------------------------------------------------------------------------
// Allocation.  Every grid field is one zeroed block with a table of column
// pointers, so that Field[i][j] addresses column i, row j and columns are
// contiguous.
namespace {

template <typename T>
T** MakeGrid() {
    T* block = new T[static_cast<size_t>(NCOLS) * NROWS]();
    T** cols = new T*[NCOLS];
    for (int i = 0; i < NCOLS; i++) cols[i] = block + static_cast<size_t>(i) * NROWS;
    return cols;
}

template <typename T>
void FreeGrid(T**& g) {
    if (g == nullptr) return;
    delete[] g[0];
    delete[] g;
    g = nullptr;
}

template <typename T>
T* MakeTable(int n) {
    return new T[n]();
}

template <typename T>
void FreeTable(T*& t) {
    delete[] t;
    t = nullptr;
}

}  // namespace

void MakeArrays() {
    Tc = MakeGrid<int>();
    Tct = MakeGrid<int>();
    Tmt = MakeGrid<int>();
    Cell = MakeGrid<int>();
    Caux1 = MakeGrid<double>();
    Cauxint = MakeGrid<double>();
    Caux2 = MakeGrid<double>();
    paux = MakeGrid<double>();
    daux = MakeGrid<double>();
    PinPrePat = MakeGrid<double>();
    Pin2PrePat = MakeGrid<double>();
    Aux1PrePat = MakeGrid<double>();
    Cpin1M = MakeGrid<double>();
    Cpin2M = MakeGrid<double>();
    Aux1M = MakeGrid<double>();
    DiffAuxC = MakeGrid<NeighbourRates>();
    Eff = MakeGrid<NeighbourRates>();
    Inf = MakeGrid<NeighbourRates>();

#define ROOTSIM_MK2(n, o) n = MakeTable<std::remove_pointer_t<decltype(n)>>(MAXCELLS); \
                          o = MakeTable<std::remove_pointer_t<decltype(o)>>(MAXCELLS);
#define ROOTSIM_MK1(n) n = MakeTable<std::remove_pointer_t<decltype(n)>>(MAXCELLS);
    ROOTSIM_CELL_INT_CARRIED(ROOTSIM_MK2)
    ROOTSIM_CELL_INT_PLAIN(ROOTSIM_MK1)
    ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_MK2)
    ROOTSIM_CELL_DOUBLE_PLAIN(ROOTSIM_MK1)
    ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_MK2)
#undef ROOTSIM_MK2
#undef ROOTSIM_MK1

    Plasmodesmatapattern = MakeTable<SideWeights>(MAXCELLS);
    for (int k = 0; k < MAXCELLS; k++)
        for (int s = 0; s < 4; s++) Plasmodesmatapattern[k][s] = 1.0;

    a = MakeTable<double>(LINELEN);
    b = MakeTable<double>(LINELEN);
    c = MakeTable<double>(LINELEN);
    rhs = MakeTable<double>(LINELEN);
    res = MakeTable<double>(LINELEN);

    OldSit = MakeTable<OldCellCorner>(MAXCELLS);
    idlist = MakeTable<int>(MAXTRACKED);
    idcounter = 0;
    memid = 0;

    RGBdata = MakeTable<unsigned char>(NCOLS * NROWS * 3);
    actcells = 0;
    // New arrays: nothing prepared for the old ones holds.
    TransportCoefficientsChanged();
}

void FreeArrays() {
    FreeGrid(Tc);
    FreeGrid(Tct);
    FreeGrid(Tmt);
    FreeGrid(Cell);
    FreeGrid(Caux1);
    FreeGrid(Cauxint);
    FreeGrid(Caux2);
    FreeGrid(paux);
    FreeGrid(daux);
    FreeGrid(PinPrePat);
    FreeGrid(Pin2PrePat);
    FreeGrid(Aux1PrePat);
    FreeGrid(Cpin1M);
    FreeGrid(Cpin2M);
    FreeGrid(Aux1M);
    FreeGrid(DiffAuxC);
    FreeGrid(Eff);
    FreeGrid(Inf);

#define ROOTSIM_FR2(n, o) FreeTable(n); FreeTable(o);
#define ROOTSIM_FR1(n) FreeTable(n);
    ROOTSIM_CELL_INT_CARRIED(ROOTSIM_FR2)
    ROOTSIM_CELL_INT_PLAIN(ROOTSIM_FR1)
    ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_FR2)
    ROOTSIM_CELL_DOUBLE_PLAIN(ROOTSIM_FR1)
    ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_FR2)
#undef ROOTSIM_FR2
#undef ROOTSIM_FR1

    FreeTable(Plasmodesmatapattern);
    FreeTable(a);
    FreeTable(b);
    FreeTable(c);
    FreeTable(rhs);
    FreeTable(res);
    FreeTable(OldSit);
    FreeTable(idlist);
    FreeTable(RGBdata);
}

std::string FormatString(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string s;
    if (n > 0) {
        s.resize(static_cast<size_t>(n) + 1);
        vsnprintf(&s[0], s.size(), fmt, ap2);
        s.resize(static_cast<size_t>(n));
    }
    va_end(ap2);
    return s;
}

// ---------------------------------------------------------------------------
// Command line

void Start(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: rootsim dirname\n");
        fflush(stdout);
        exit(1);
    }
    // The caller has checked the length; copy with a bound all the same.
    snprintf(dirname, sizeof dirname, "%s", argv[1]);
}

namespace {

struct Options {
    long steps = NSTEPS_DEFAULT;
    int threads = 0;  // 0: all cores
    bool help = false;
    int first_plain = -1;  // index of the output directory in argv
    std::string error;
};

void PrintHelp(const char* prog) {
    fprintf(stderr,
            "usage: %s [--steps N] [--threads N] [--help] dirname\n"
            "\n"
            "Simulates the growing root tip and writes pictures, measurements and\n"
            "plant-state dumps into the existing directory dirname.\n"
            "\n"
            "  --steps N   stop after step N (default %ld, time 0.2 per step)\n"
            "  --threads N threads of the transport step (default: all cores); the\n"
            "              results are the same for any number\n"
            "  --help      show this text\n",
            prog, NSTEPS_DEFAULT);
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    int i = 1;
    while (i < argc) {
        const char* arg = argv[i];
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            o.help = true;
            i++;
        } else if (strcmp(arg, "--steps") == 0) {
            if (i + 1 >= argc) {
                o.error = "--steps needs a number";
                return o;
            }
            char* end = nullptr;
            errno = 0;
            long v = strtol(argv[i + 1], &end, 10);
            if (errno != 0 || end == argv[i + 1] || *end != '\0' || v < 0 || v > NSTEPS_DEFAULT) {
                o.error = std::string("--steps: not a step count between 0 and ") +
                          std::to_string(NSTEPS_DEFAULT) + ": " + argv[i + 1];
                return o;
            }
            o.steps = v;
            i += 2;
        } else if (strcmp(arg, "--threads") == 0) {
            if (i + 1 >= argc) {
                o.error = "--threads needs a number";
                return o;
            }
            char* end = nullptr;
            errno = 0;
            long v = strtol(argv[i + 1], &end, 10);
            if (errno != 0 || end == argv[i + 1] || *end != '\0' || v < 1 || v > 64) {
                o.error = std::string("--threads: not a thread count between 1 and 64: ") + argv[i + 1];
                return o;
            }
            o.threads = static_cast<int>(v);
            i += 2;
        } else if (strcmp(arg, "--") == 0) {
            if (i + 1 < argc) o.first_plain = i + 1;
            return o;
        } else if (arg[0] == '-' && arg[1] == '-') {
            o.error = std::string("unknown option: ") + arg;
            return o;
        } else {
            o.first_plain = i;
            return o;
        }
    }
    return o;
}

// Refuses an output directory that cannot hold the run's files, before hours of
// computation are spent.  Returns an empty string when the directory is usable.
std::string CheckOutputDirectory(const char* dir) {
    size_t len = strlen(dir);
    if (len >= static_cast<size_t>(DIRNAME_SIZE)) {
        return "output directory name is too long (" + std::to_string(len) +
               " characters; at most " + std::to_string(DIRNAME_SIZE - 1) + ")";
    }
    if (len == 0) return "output directory name is empty";
    struct stat st;
    if (stat(dir, &st) != 0) {
        return std::string("output directory ") + dir + " does not exist: " + strerror(errno);
    }
    if (!S_ISDIR(st.st_mode)) return std::string("output directory ") + dir + " is not a directory";
    if (access(dir, W_OK | X_OK) != 0) {
        return std::string("output directory ") + dir + " is not writable: " + strerror(errno);
    }
    return "";
}

// Progress on standard error: rewritten in place on a terminal, one line a
// minute otherwise.  Standard output carries only the simulator's own lines.
class Progress {
public:
    explicit Progress(long total) : total_(total), tty_(isatty(STDERR_FILENO) != 0) {
        start_ = last_ = Clock::now();
    }
    void Update(long step, bool force = false) {
        Clock::time_point now = Clock::now();
        double since = std::chrono::duration<double>(now - last_).count();
        if (!force && since < (tty_ ? 1.0 : 60.0)) return;
        last_ = now;
        double elapsed = std::chrono::duration<double>(now - start_).count();
        double rate = elapsed > 0 ? static_cast<double>(step) / elapsed : 0.0;
        double remain = rate > 0 ? static_cast<double>(total_ - step) / rate : 0.0;
        long rs = static_cast<long>(remain);
        fprintf(stderr, "%sstep %ld/%ld  time %.1f  cells %d  %.0f steps/s  remaining %ldh%02ldm%02lds%s",
                tty_ ? "\r" : "", step, total_, step * DT, actcells, rate, rs / 3600,
                (rs / 60) % 60, rs % 60, tty_ ? "   " : "\n");
        fflush(stderr);
    }
    void Finish() {
        if (tty_) fputc('\n', stderr);
    }

private:
    using Clock = std::chrono::steady_clock;
    long total_;
    bool tty_;
    Clock::time_point start_, last_;
};

}  // namespace

int IntegerTime(long j) { return static_cast<int>(j * DT); }

const ScheduleCallees kSimulatorCallees = {
    UpdateAuxin,        UpdateGeneExpression,   Growth,           UpdateMembraneProteinsAndFluxes,
    TrackCells,         WritePlantToFile,       SaveTotAuxin,     SaveTotPlts,
    TrackCellTypeSpaceTime, TrackPltsSpaceTime, TrackAuxSpaceTime, Tracktotalmeasures,
    MakeGraphics,       SaveGradGridRes,        SaveTemp,         SaveTempQC,
};

void RunStep(long j, long last, const ScheduleCallees& f) {
    double t = j * DT;
    int g = IntegerTime(j);

    f.UpdateAuxin(g);
    if (j % 10 == 0) {
        f.UpdateGeneExpression(g);
        if (t > 57600.0) f.Growth(g);
        f.UpdateMembraneProteinsAndFluxes(g);
        f.TrackCells(g);
    }
    // The five steps that share a dump time would each write the same file;
    // only the last of them (or the run's last step) writes it.
    if (g > 0 && g % 50000 == 0 && (j == last || IntegerTime(j + 1) != g)) f.WritePlantToFile(g);
    if (j % 100 == 0) {
        f.SaveTotAuxin(g);
        f.SaveTotPlts(g);
    }
    if (j % 3000 == 0) {
        f.TrackCellTypeSpaceTime(g);
        f.TrackPltsSpaceTime(g);
        f.TrackAuxSpaceTime(g);
        f.Tracktotalmeasures(g);
    }
    if (j % 18000 == 0) {
        static const int rows[] = {149, 14, 32, 50, 68, 86, 104, 122,
                                   140, 158, 176, 194, 212, 230, 284, 356};
        f.MakeGraphics(g);
        f.SaveGradGridRes(g);
        for (int r : rows) f.SaveTemp(g, 93, r);
        for (int r : rows) f.SaveTemp(g, 84, r);
        f.SaveTempQC(g);
    }
    if (j == 501) f.MakeGraphics(g);
}

// Gives the cells of the young 8-row bands staggered times of previous growth
// and division counts, walking up column 31 from row 149.
void PrimeGrowthClocks() {
    const int probe = 31;
    int d = 0;
    for (int i = 149; i < NROWS; i++) {
        if (Tc[probe][i] == TC_OUTSIDE) break;
        if (Cell[probe][i] >= 0 && CellZonationState[Cell[probe][i]] == 200) break;
        d = d + 1;
        double s = static_cast<double>((5 * d) % 8) - 4.0;
        int e = 57600 + static_cast<int>(s * 18000.0 * 0.25);
        if (Cell[probe][i] >= 0) {
            TimePrevGrowth[Cell[probe][i]] = e;
            if (Cell[MIRRORSUM - probe][i] >= 0) TimePrevGrowth[Cell[MIRRORSUM - probe][i]] = e;
        }
        int prev = -2;
        for (int col = 30; col <= AXIS - 1; col++) {
            int x = Cell[col][i];
            if (Tc[col][i] == TC_WALL || x == prev) {
                prev = x;
                continue;
            }
            prev = x;
            if (x < 0) continue;
            int y = Cell[MIRRORSUM - col][i];
            int divnr;
            if (CellMinJ[x] <= 151) {
                divnr = 0;
            } else {
                int zj = CellMinJ[x] - 3;
                int z = zj >= 0 ? Cell[CellMinI[x]][zj] : -1;
                divnr = (z >= 0 && CellMinJ[z] > 151) ? 2 : 1;
            }
            TimePrevGrowth[x] = e;
            CellDivNr[x] = divnr;
            if (y >= 0) {
                TimePrevGrowth[y] = e;
                CellDivNr[y] = divnr;
            }
        }
    }
}

void FinishInitialRoot() {
    rightsize = leftsize = 1067;
    totalrootcellnrL = totalrootcellnrR = 21;
    Plasmodesmatapatterning();
    maxmzsize();
    PrimeGrowthClocks();
    TrackCells(0);
}

int RootsimMain(int argc, char** argv) {
    counter2 = 0;

    Options opt = ParseOptions(argc, argv);
    if (opt.help) {
        PrintHelp(argv[0]);
        return 0;
    }
    if (!opt.error.empty()) {
        fprintf(stderr, "rootsim: %s\n", opt.error.c_str());
        PrintHelp(argv[0]);
        return 1;
    }
    // Without a directory, Start prints the usage line and ends with status 1.
    char* startArgv[3] = {argv[0], opt.first_plain > 0 ? argv[opt.first_plain] : nullptr, nullptr};
    int startArgc = opt.first_plain > 0 ? 2 : 1;
    if (startArgc == 2) {
        std::string problem = CheckOutputDirectory(startArgv[1]);
        if (!problem.empty()) {
            fprintf(stderr, "rootsim: %s\n", problem.c_str());
            return 1;
        }
    }
    Start(startArgc, startArgv);
    SetTransportThreads(opt.threads);

    MakeArrays();
    maxmzheight = 212;
    InitPlant();
    MakeGraphics(0);
    FinishInitialRoot();
    printf("actually starting simulation\n");
    fflush(stdout);

    Progress progress(opt.steps);
    for (long j = 1; j <= opt.steps; j++) {
        RunStep(j, opt.steps, kSimulatorCallees);
        if ((j & 63) == 0) progress.Update(j);
    }
    progress.Update(opt.steps, true);
    progress.Finish();

    FreeArrays();
    return 0;
}

#ifndef ROOTSIM_NO_MAIN
int main(int argc, char** argv) { return RootsimMain(argc, argv); }
#endif
