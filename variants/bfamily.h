// The b family (rootsim_b1 .. rootsim_b4): the functions of its sources and
// the table of those each program has its own version of.
//
// The four programs share all code but a few functions.  Each program's main
// installs its table of those functions before anything else runs; the
// shared code calls them through the installed table.  A table is built as
// "b2 plus its differences": B1Rules and B4Rules start from B2Rules and
// replace the functions they own, B3Rules replaces its many.  One test
// program can thus build and run b2 and b4 (or b2 and b3) side by side by
// installing one table, then the other.
#pragma once

#include "renumbering.h"
#include "state.h"
#include "threads.h"
#include "transport.h"

constexpr long BFAMILY_STEPS = 10000000;  // steps of a full run

namespace bfamily {

struct Rules {
    const char* name;  // "rootsim_b2"

    // InitPlant
    void (*SetUpTissueLayout)();
    void (*SetUpMembraneTypes)();
    void (*InitConditions)();

    // Update
    void (*UpdateGeneExpression)(int time);
    void (*UpdateMembraneProteinsAndFluxes)(int time);
    // The carrier update of the present state over the whole grid, zonation
    // kept (after the state was read back from a file).
    void (*RebuildCarriers)();

    // GrowthOld.  DivideCell tells whether the grid changed (false when the
    // cell tables are full and the division is skipped).
    void (*Growth)(int t);
    void (*GrowCell)(int t, int cell, int flag);
    bool (*DivideCell)(int t, int cell);
    void (*CullOverflowCells)(int t);

    // Plotting and Graphics
    void (*SaveGradGridRes)(int t);
    void (*MakePNGFile)(int time, int kind);
    void (*MakeGraphics)(int time);

    // Landmarks that differ per program (variants/plan.h).
    int meristemTopRow;      // wall on top of the initial meristem; first maxmzheight
    int bodyTopRow;          // wall on top of the initial root
    int firstSampleRow;      // first row of the SaveTemp schedule (127, b3 102)
    int heightMarkLastRow;   // picture kind 22 marks rows 127..this (277, b3 302)
    int extraHeightRow;      // ExtraMeasurements' cell heights around this row
};

// The tables of the four programs.
Rules B2Rules();
Rules B1Rules();  // B2Rules with b1's GrowCell and CullOverflowCells
Rules B3Rules();
Rules B4Rules();  // B2Rules with b4's DivideCell

// The installed table (B2Rules until a program installs its own).
void Install(const Rules& rules);
const Rules& Installed();

}  // namespace bfamily

// ---------------------------------------------------------------------------
// The functions of the b family's sources.  The plain names are the versions
// the programs share (those of rootsim_b2); b1, b3 and b4 have their own in
// namespaces of their names.

// The b family's own grid field: the pattern of LAX3-type influx carriers,
// point by point (moved with the tissue, copied at division, saved in the
// plant file).  No rule of the family places LAX3 carriers: it stays 0.
extern double** Lax3PrePat;

// Main
void MakeArrays();
void FreeArrays();
void Start(int argc, char** argv);
// Integer time of step j (the truncated simulated time j * DT).
int IntegerTime(long j);
// The start-up of a run: state, plant, first pictures, tracking.
void StartUpBFamily();
// The functions the time loop calls, so that the schedule can be driven with
// other callees (a recorder in the tests).
struct BScheduleCallees {
    void (*UpdateAuxin)();
    void (*UpdateGeneExpression)(int);
    void (*Growth)(int);
    void (*UpdateMembraneProteinsAndFluxes)(int);
    void (*TrackCells)(int);
    void (*WritePlantToFile)(int);
    void (*SaveTotAuxin)(int);
    void (*SaveGradGridRes)(int);
    void (*ExtraMeasurements)(int);
    void (*SaveTemp)(int, int, int);
    void (*MakeGraphics)(int);
    int firstSampleRow;  // the first row of the point histories
};
// The callees of a program with the given table.
BScheduleCallees ScheduleOf(const bfamily::Rules& rules);
// Every scheduled call of step j of a run whose last step is `last`, in order.
void RunBStep(long j, long last, const BScheduleCallees& f);
// The whole program behind main(), with the program's table; returns the
// exit status.
int RunBFamily(int argc, char** argv, const bfamily::Rules& rules);

// InitPlant
void WritePlantToFile(int t);
void SetUpTissueLayout();
void SetUpMembraneTypes();
void NumberCells();
void FindCellCorners();
void FindCellSizes();
// Reads the dump of time t from the output directory.  Returns false, with a
// message on standard error, when the file is missing or not a complete valid
// dump; the plant state is then left exactly as it was.  On success it
// rebuilds cell corners, sizes and the carrier state from what it read,
// keeping the saved zonation and differentiation.
bool InitPlantFromFile(int t);
void InitConditions();
void InitPlant();

// GrowthOld
void StoreOldSituation(int n);
void TrackCells(int t);
void MapOldToNewSituation(int n);
bool DivideCell(int t, int cell);
void CullOverflowCells(int t);
void CullLateralRootcap(int t);
void GrowCell(int t, int cell, int flag);
void Growth(int t);
int growtiming(int t, int cell, int flag);
void maxmzsize();
int epidermalcell(int cell);
// Marks the per-cell rates for setting at the next growth step (as at
// program start).
void ResetGrowthSchedule();
// The cycle time of a cell of tissue type `tissue` at time t (b1, b2): a type
// table whose values alternate with time multiples of 4.
double TypeCycleTime(int tissue, int t);

// Update
void dsolvetridiag(int n);
void UpdateAuxin();
void UpdateGeneExpression(int time);
void UpdateMembraneProteinsAndFluxes(int time);
void RebuildCarriers();

// Plotting
void ExtraMeasurements(int t);
void SaveTotAuxin(int t);
void SaveTemp(int t, int column, int row);
void SaveGradCellularRes(int t);
void SaveGradGridRes(int t);

// Graphics
double min(double a, double b);
double max(double a, double b);
void MakePNGFile(int time, int kind);
void MakeGraphics(int time);

namespace b1 {
void GrowCell(int t, int cell, int flag);
void CullOverflowCells(int t);
}  // namespace b1

namespace b3 {
void SetUpTissueLayout();
void SetUpMembraneTypes();
void InitConditions();
void UpdateGeneExpression(int time);
void UpdateMembraneProteinsAndFluxes(int time);
void RebuildCarriers();
void Growth(int t);
void GrowCell(int t, int cell, int flag);
bool DivideCell(int t, int cell);
void CullOverflowCells(int t);
void SaveGradGridRes(int t);
void MakePNGFile(int time, int kind);
void MakeGraphics(int time);
}  // namespace b3

namespace b4 {
bool DivideCell(int t, int cell);
}  // namespace b4
