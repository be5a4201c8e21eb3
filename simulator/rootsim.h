// rootsim: its global state (shared with every program, see the machinery's
// state.h) and the functions of its own sources.
#pragma once

#include "renumbering.h"
#include "state.h"
#include "threads.h"
#include "transport.h"

constexpr long NSTEPS_DEFAULT = 10000000;    // steps of a full run

// ---------------------------------------------------------------------------
// Main: state lifetime and the run driver
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
// The carrier update of the present state, zonation included, over the whole
// grid (after the state was read back from a file).
void RebuildCarriers();

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
