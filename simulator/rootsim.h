// Global simulation state of rootsim and the functions that act on it.
//
// All state is global and allocated once by MakeArrays(); every subsystem reads
// and writes the arrays below directly.  Grid fields are indexed [column][row]:
// each is an array of column pointers into one contiguous block, so a column is
// contiguous in memory.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// ---------------------------------------------------------------------------
// Grid and capacity.  The older-generation programs build the same machinery
// with other grid sizes by defining ROOTSIM_NCOLS / ROOTSIM_NROWS.
#ifndef ROOTSIM_NCOLS
#define ROOTSIM_NCOLS 225
#endif
#ifndef ROOTSIM_NROWS
#define ROOTSIM_NROWS 1900
#endif

constexpr int NCOLS = ROOTSIM_NCOLS;         // grid columns (i)
constexpr int NROWS = ROOTSIM_NROWS;         // grid rows (j)
constexpr int AXIS = (NCOLS - 1) / 2;        // axis column (112 on the main grid)
constexpr int MIRRORSUM = NCOLS - 1;         // mirror of column c is MIRRORSUM - c
constexpr int MAXCELLS = 4000;               // capacity of every cell table
constexpr int MAXTRACKED = 3000;             // capacity of idlist
constexpr int LINELEN = NROWS > NCOLS ? NROWS : NCOLS;  // length of the line buffers
constexpr int DIRNAME_SIZE = 10000;          // size of the dirname buffer
constexpr long NSTEPS_DEFAULT = 10000000;    // steps of a full run
constexpr double DT = 0.2;                   // time per step

// Point classes (Tc)
enum { TC_WALL = 0, TC_CYTO = 1, TC_MEMBRANE = 2, TC_OUTSIDE = 3 };

// Diffusion weights of the auxin step between neighbouring points: along the
// wall, and within a cell (cytoplasm and membrane); none across a membrane or
// toward the outside.
constexpr double DIFFUSION_WALL = 4.0;
constexpr double DIFFUSION_CELL = 60.0;
inline double DiffusionWeight(int p, int q) {
    if (p == TC_WALL && q == TC_WALL) return DIFFUSION_WALL;
    const bool pc = p == TC_CYTO || p == TC_MEMBRANE, qc = q == TC_CYTO || q == TC_MEMBRANE;
    return pc && qc ? DIFFUSION_CELL : 0.0;
}

// Tissue types (Tct)
enum {
    TCT_NONE = 0,
    TCT_LRC1 = 1,  // lateral root cap layers 1 (outermost) to 4
    TCT_LRC2 = 2,
    TCT_LRC3 = 3,
    TCT_LRC4 = 4,
    TCT_EPIDERMIS = 5,
    TCT_CORTEX = 6,
    TCT_ENDODERMIS = 7,
    TCT_PERICYCLE = 8,
    TCT_VASC_OUTER = 9,
    TCT_VASC_MIDDLE = 10,
    TCT_VASC_CENTRAL = 11,
    TCT_QC = 12,
    TCT_COLUMELLA1 = 13,  // columella tiers 1 (lowest) to 4
    TCT_COLUMELLA4 = 16,
    TCT_COLUMELLA_STEM = 17,
    TCT_WALL = 20
};

// Zonation states (CellZonationState)
enum {
    Z_TIP = 0,
    Z_DIVIDING = 30,
    Z_TRANSITION = 50,
    Z_ELONGATING = 60,
    Z_DIFFERENTIATED = 100,
    Z_MATURE = 200
};

// One record per grid point: one value per neighbour, in the order
// +column, -column, +row, -row.
struct NeighbourRates {
    double r[4];
    double& operator[](int k) { return r[k]; }
    const double& operator[](int k) const { return r[k]; }
};

// One record per cell: one weight per membrane side (Tmt - 1).
struct SideWeights {
    double w[4];
    double& operator[](int k) { return w[k]; }
    const double& operator[](int k) const { return w[k]; }
};

// Lower-left corner of a cell before renumbering.
struct OldCellCorner {
    int cell;
    int mini;
    int minj;
};

// ---------------------------------------------------------------------------
// Grid fields
extern int** Tc;
extern int** Tct;
extern int** Tmt;
extern int** Cell;

extern double** Caux1;
extern double** Cauxint;
extern double** Caux2;
extern double** paux;
extern double** daux;
extern double** PinPrePat;
extern double** Pin2PrePat;
extern double** Aux1PrePat;
extern double** Cpin1M;
extern double** Cpin2M;
extern double** Aux1M;

extern NeighbourRates** DiffAuxC;
extern NeighbourRates** Eff;
extern NeighbourRates** Inf;

// ---------------------------------------------------------------------------
// Per-cell tables (MAXCELLS entries).  The lists below drive allocation, the
// Old twins and the carrying of values across renumbering.
//
// X(name, oldtwin)
#define ROOTSIM_CELL_INT_CARRIED(X) \
    X(TimePrevGrowth, OldTimePrevGrowth) \
    X(CellZonationState, OldCellZonationState) \
    X(CellDivNr, OldCellDivNr) \
    X(CellTimeLastDiv, OldCellTimeLastDiv) \
    X(CellsInOZ, OldCellsInOZ) \
    X(JustChecked, OldJustChecked)

#define ROOTSIM_CELL_INT_PLAIN(X) \
    X(CellMinI) X(CellMaxI) X(CellMinJ) X(CellMaxJ) \
    X(CellWidth) X(CellHeight) X(CellSizes) X(MapCellNrs)

#define ROOTSIM_CELL_DOUBLE_CARRIED(X) \
    X(MeanCells, OldMeanCells) \
    X(ARF, OldARF) X(AA, OldAA) X(BB, OldBB) X(CC, OldCC) X(DD, OldDD) \
    X(Plts, OldPlts) X(Pltsexpr, OldPltsexpr) X(Plt, OldPlt) X(PP, OldPP) \
    X(Pin, OldPin) X(Pin2, OldPin2) X(Aux1, OldAux1) X(Yuc3, OldYuc3) \
    X(ARR1, OldARR1) X(ARR12, OldARR12) X(ARR1RGA, OldARR1RGA) \
    X(Gh317, OldGh317) X(Gh33, OldGh33) \
    X(divTF, OlddivTF) X(elongTF, OldelongTF) \
    X(TempdivTF, TempOlddivTF) X(TempelongTF, TempOldelongTF) \
    X(Diff, OldDiff) X(Rdiv, OldRdiv) X(Relong, OldRelong) \
    X(Rgrow, OldRgrow) X(Rgrowavg, OldRgrowavg)

#define ROOTSIM_CELL_DOUBLE_PLAIN(X) X(InvCellSizes)

#define ROOTSIM_CELL_FLAG_CARRIED(X) \
    X(ARRpassed, OldARRpassed) \
    X(Auxminpassed, OldAuxminpassed)

#define ROOTSIM_DECL_INT2(n, o) extern int* n; extern int* o;
#define ROOTSIM_DECL_INT1(n) extern int* n;
#define ROOTSIM_DECL_DBL2(n, o) extern double* n; extern double* o;
#define ROOTSIM_DECL_DBL1(n) extern double* n;
#define ROOTSIM_DECL_FLG2(n, o) extern unsigned char* n; extern unsigned char* o;
ROOTSIM_CELL_INT_CARRIED(ROOTSIM_DECL_INT2)
ROOTSIM_CELL_INT_PLAIN(ROOTSIM_DECL_INT1)
ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_DECL_DBL2)
ROOTSIM_CELL_DOUBLE_PLAIN(ROOTSIM_DECL_DBL1)
ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_DECL_FLG2)
#undef ROOTSIM_DECL_INT2
#undef ROOTSIM_DECL_INT1
#undef ROOTSIM_DECL_DBL2
#undef ROOTSIM_DECL_DBL1
#undef ROOTSIM_DECL_FLG2

extern SideWeights* Plasmodesmatapattern;

// Line buffers of the tridiagonal solver (LINELEN entries each)
extern double* a;
extern double* b;
extern double* c;
extern double* rhs;
extern double* res;

// Cell tracking
extern OldCellCorner* OldSit;   // MAXCELLS records
extern int* idlist;             // MAXTRACKED entries
extern int idcounter;
extern int memid;

// Picture buffer: NCOLS * NROWS * 3 bytes
extern unsigned char* RGBdata;

// Scalars
extern int actcells;
extern char dirname[DIRNAME_SIZE];
extern int counter2;
extern int maxmzheight;
extern int leftsize, rightsize;
extern int totalrootcellnrL, totalrootcellnrR;

// ---------------------------------------------------------------------------
// Main: state lifetime and the run driver
// printf into a string of whatever length it takes (file names are formed
// with this: the output directory may be long).
std::string FormatString(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void MakeArrays();
void FreeArrays();
void Start(int argc, char** argv);
// Growth-clock priming of the young cell bands (run once before the loop).
void PrimeGrowthClocks();
// The rest of the start-up after InitPlant and the first picture set: side
// sizes and file counts, plasmodesmata, meristem size, growth clocks, and the
// first tracking of cells.
void FinishInitialRoot();
// The functions the time loop calls, so that the schedule can be driven with
// other callees (a recorder in the tests).
struct ScheduleCallees {
    void (*UpdateAuxin)(int);
    void (*UpdateGeneExpression)(int);
    void (*Growth)(int);
    void (*UpdateMembraneProteinsAndFluxes)(int);
    void (*TrackCells)(int);
    void (*WritePlantToFile)(int);
    void (*SaveTotAuxin)(int);
    void (*SaveTotPlts)(int);
    void (*TrackCellTypeSpaceTime)(int);
    void (*TrackPltsSpaceTime)(int);
    void (*TrackAuxSpaceTime)(int);
    void (*Tracktotalmeasures)(int);
    void (*MakeGraphics)(int);
    void (*SaveGradGridRes)(int);
    void (*SaveTemp)(int, int, int);
    void (*SaveTempQC)(int);
};
extern const ScheduleCallees kSimulatorCallees;
// Integer time of step j (the truncated simulated time j * DT).
int IntegerTime(long j);
// Every scheduled call of step j of a run whose last step is `last`, in order.
void RunStep(long j, long last, const ScheduleCallees& f);
// The whole program behind main(); returns the exit status.
int RootsimMain(int argc, char** argv);

// Initial_layout: tissue layout, membrane sides, numbering and geometry
void SetUpTissueLayout();
void SetUpMembraneTypes();
void NumberCells();
void FindCellCorners();
void FindCellSizes();
void InitPlant();

// Initial_content
void InitConditions();

// Plasmodesmata
void Plasmodesmatapatterning();

// Auxin_diffusion
void UpdateAuxin(int time);
void dsolvetridiag(int n);
// The transport step keeps the line systems factorised between coefficient
// updates: whoever changes DiffAuxC, Eff, Inf, paux, daux or Tc calls this
// before the next UpdateAuxin.
void TransportCoefficientsChanged();
// Threads of the transport step (0: all cores).  Results do not depend on it.
void SetTransportThreads(int n);
int TransportThreads();
// Runs f(t, n) once for every thread t = 0..n-1 of the transport step's
// threads and returns when all are done.  Work split by t must not depend on
// n for its result (each thread writes its own part).
void RunOnTransportThreads(const std::function<void(int, int)>& f);
// The share [*begin, *end) of items 0..count-1 that thread t of n takes when
// the items are cut into contiguous runs of about equal work (work(k) >= 1).
// The shares of t = 0..n-1 follow one another and cover every item.
template <class Work>
void ShareByWork(int count, int t, int n, Work work, int* begin, int* end) {
    long total = 0;
    for (int k = 0; k < count; k++) total += work(k);
    *begin = *end = count;
    long acc = 0;
    for (int k = 0; k < count; k++) {
        long owner = acc * n / total;
        if (owner > n - 1) owner = n - 1;
        if (owner >= t && *begin == count) *begin = k;
        if (owner > t) {
            *end = k;
            break;
        }
        acc += work(k);
    }
    if (*begin > *end) *begin = *end;
}

// Cellular_diffusion
void CellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
                       double topValue);

// Regulatory_interactions
double positivesigmoid(double x, double K, double M);
double negativesigmoid(double x, double K, double M);
double positive4sigmoid(double x, double K, double M);
double UpdatePlts(int time, int cell, double drive, double dt);
void UpdateARRS(int time, int cell, double dt, double* dARR1, double* dARR12);
void UpdateGeneExpression(int time);

// Prepatterning: carriers and transport coefficients
void UpdateMembraneProteinsAndFluxes(int time);

// Growth_decisions
void Growth(int t);
int growtiming(int t, int cell, int flag);
void maxmzsize();
int epidermalcell(int cell);
// Marks the per-cell rates for recomputation at the next growth step (as at
// program start).
void ResetGrowthSchedule();

// Growth_execution
void GrowCell(int t, int cell, int flag);
void DivideCell(int t, int cell);
void StoreOldSituation(int n);
void MapOldToNewSituation(int n);
void TrackCells(int t);
void CullOverflowCells(int t);
void CullLateralRootcap(int t);
// DivideCell that tells whether the grid changed (false when the cell tables
// are full and the division is skipped).
bool TryDivideCell(int t, int cell);
// Makes the next TrackCells call the initialising one (as at program start).
void ResetCellTracking();

// Save_plant
void WritePlantToFile(int t);
// Reads the dump of time t from the output directory.  Returns false, with a
// message on standard error, when the file is missing or not a complete valid
// dump; the plant state is then left exactly as it was.  On success it
// rebuilds cell corners, sizes and the carrier state from what it read,
// keeping the saved zonation and differentiation.
bool InitPlantFromFile(int t);
// The reading half of InitPlantFromFile: the values of the file, checked
// and stored, with nothing derived from them rebuilt.
bool ReadPlantStateFile(int t);

// Graphics
void MakePNGFile(int time, int kind);
void MakeGraphics(int time);
double min(double a, double b);
double max(double a, double b);
// The 255-entry colour table of the pictures (red, green, blue).
extern const int colourmap[255][3];
// The membrane pictures' distance map: for a cytoplasm point, the distance to
// the nearest membrane point of its own cell (doubled in narrow or short
// cells; exact up to the band width 3, 10000 beyond) and that point.
void BuildMembraneDistanceMap();
double MembraneDistance(int i, int j);
void MembraneNearestPoint(int i, int j, int* ni, int* nj);

// Plotting
void SaveTotAuxin(int t);
void SaveTotPlts(int t);
void Tracktotalmeasures(int t);
void SaveTemp(int t, int column, int row);
void SaveTempQC(int t);
void SaveGradGridRes(int t);
void SaveGradCellularRes(int t);
void ExtraMeasurements(int t);
void TrackCellTypeSpaceTime(int t);
void TrackARRsSpaceTime(int t);
void TrackPltsSpaceTime(int t);
void TrackAuxSpaceTime(int t);
