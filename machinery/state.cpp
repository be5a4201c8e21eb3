// The global simulation state: definitions and allocation.
#include "state.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "large_arrays.h"
#include "tissue_watch.h"
#include "transport.h"

// The symbol that ties every object built for this grid to this machinery.
const int ROOTSIM_GRID_TAG = NCOLS * 10000 + NROWS;

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
int currentTime;

// ---------------------------------------------------------------------------
// Allocation.  Every grid field is one zeroed block with a table of column
// pointers, so that Field[i][j] addresses column i, row j and columns are
// contiguous.
namespace {

template <typename T>
T** MakeGrid() {
    static_assert(std::is_trivial<T>::value, "a grid value is zero when its bytes are");
    T* block = static_cast<T*>(AllocateLarge(static_cast<size_t>(NCOLS) * NROWS * sizeof(T)));
    if (block == nullptr) {
        fprintf(stderr, "%s: out of memory for the grid fields\n", ProgramName());
        exit(1);
    }
    T** cols = new T*[NCOLS];
    for (int i = 0; i < NCOLS; i++) cols[i] = block + static_cast<size_t>(i) * NROWS;
    return cols;
}

template <typename T>
void FreeGrid(T**& g) {
    if (g == nullptr) return;
    FreeLarge(g[0]);
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

void AllocateState() {
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
    TissueChanged();
}

void ReleaseState() {
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

double** MakeGridField() { return MakeGrid<double>(); }

void FreeGridField(double**& field) { FreeGrid(field); }

namespace {
std::vector<TissueField> tissueFields;
const char* programName = "rootsim";
}

const char* ProgramName() { return programName; }

void SetProgramName(const char* name) { programName = name; }

void SetTissueFields(const std::vector<TissueField>& fields) { tissueFields = fields; }

const std::vector<TissueField>& TissueFields() { return tissueFields; }

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

