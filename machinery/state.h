// The global simulation state shared by every program: grid fields, records,
// per-cell tables with their Old twins, line buffers, tracking lists, the
// picture buffer and the run-wide scalars.  Everything is allocated once by
// AllocateState() (called from each program's MakeArrays) and read and
// written directly by name.  Grid fields are indexed [column][row]: each is
// an array of column pointers into one contiguous block, so a column is
// contiguous in memory.
#pragma once

#include <string>
#include <vector>

#include "grid.h"

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
// The integer time of the step being run (set by the run loop; 0 before it).
extern int currentTime;

// ---------------------------------------------------------------------------
// Allocation.  AllocateState() creates every array above with its fill (0,
// and 1.0 in every Plasmodesmatapattern component); ReleaseState() frees
// them.  Grid fields a program adds of its own are made with MakeGridField.
void AllocateState();
void ReleaseState();
double** MakeGridField();
void FreeGridField(double**& field);

// Grid fields of doubles that belong to the tissue point by point (carrier
// patterns): growth moves them with their points, division copies them onto
// the new membranes, and removal of a point clears those marked so.  Each
// program names its own after allocating them; Caux1 moves with the tissue
// too but is handled on its own.
struct TissueField {
    double*** field;         // address of the global that points at the field
    bool clearedOnRemoval;   // set to 0 where a point leaves the tissue
};
void SetTissueFields(const std::vector<TissueField>& fields);
const std::vector<TissueField>& TissueFields();

// The name of the running program, for messages ("rootsim" unless a program
// sets another).
const char* ProgramName();
void SetProgramName(const char* name);

// printf into a string of whatever length it takes (file names are formed
// with this: the output directory may be long).
std::string FormatString(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
