// The grid every program works on: its size, the codes stored on it and the
// records of the transport coefficients.
//
// The machinery is compiled once for each grid size; the size comes from
// ROOTSIM_NCOLS / ROOTSIM_NROWS, set by the build for the machinery library
// and for every program and test linked with it.
#pragma once

#ifndef ROOTSIM_NCOLS
#define ROOTSIM_NCOLS 225
#endif
#ifndef ROOTSIM_NROWS
#define ROOTSIM_NROWS 1900
#endif

constexpr int NCOLS = ROOTSIM_NCOLS;         // grid columns (i)
constexpr int NROWS = ROOTSIM_NROWS;         // grid rows (j)
constexpr int AXIS = (NCOLS - 1) / 2;        // axis column (the middle one)
constexpr int MIRRORSUM = NCOLS - 1;         // mirror of column c is MIRRORSUM - c
constexpr int MAXCELLS = 4000;               // capacity of every cell table
constexpr int MAXTRACKED = 3000;             // capacity of idlist
constexpr int LINELEN = NROWS > NCOLS ? NROWS : NCOLS;  // length of the line buffers
constexpr int DIRNAME_SIZE = 10000;          // size of the dirname buffer
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

// Membrane sides (Tmt)
enum { TMT_NONE = 0, TMT_SHOOTWARD = 1, TMT_ROOTWARD = 2, TMT_INNER = 3, TMT_OUTER = 4 };

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

inline bool OnGrid(int i, int j) { return i >= 0 && i < NCOLS && j >= 0 && j < NROWS; }

// Objects built for one grid size must not be linked with the machinery of
// another: every object that includes this header refers to a symbol named
// after its grid, which only the machinery of that grid defines.
#define ROOTSIM_GRID_TAG_2(c, r) rootsim_grid_##c##x##r
#define ROOTSIM_GRID_TAG_1(c, r) ROOTSIM_GRID_TAG_2(c, r)
#define ROOTSIM_GRID_TAG ROOTSIM_GRID_TAG_1(ROOTSIM_NCOLS, ROOTSIM_NROWS)
extern const int ROOTSIM_GRID_TAG;
namespace {
__attribute__((used)) const int* const rootsim_grid_guard = &ROOTSIM_GRID_TAG;
}
