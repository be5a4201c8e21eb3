// rootsim_c: the c root on its 251 x 1782 grid with the transporter
// pre-pattern.  Its global state is the machinery's (state.h); these are the
// functions of its own sources.
#pragma once

#include "InitPlant.h"
#include "state.h"

constexpr long C_STEPS_DEFAULT = 12096000;   // steps of a full run
constexpr long C_OUTPUT_PERIOD = 1800;       // steps between profile and picture sets
constexpr long C_TOTALS_PERIOD = 100;        // steps between auxin totals
constexpr int C_DUMP_PERIOD = 50000;         // time between plant dumps

// ---------------------------------------------------------------------------
// Main: state lifetime and the run driver
void MakeArrays();
void FreeArrays();
void Start(int argc, char** argv);
// Integer time of step s (the truncated simulated time s * DT).
int IntegerTime(long s);
// The functions the time loop calls, so that the schedule can be driven with
// other callees (a recorder in the tests).
struct CScheduleCallees {
    void (*UpdateAuxin)();
    void (*UpdateGeneExpression)(int);
    void (*Growth)(int);
    void (*UpdateMembraneProteinsAndFluxes)(int);
    void (*WritePlantToFile)(int);
    void (*SaveTotAuxin)(int);
    void (*SaveGradGridRes)(int);
    void (*SaveGradCellularRes)(int);
    void (*SaveEpidermalGrad)(int);
    void (*SaveTemp)(int, int, int);
    void (*MakePNGFile)(int, int);
};
extern const CScheduleCallees kCCallees;
// Everything of the loop iteration of step s in a run whose last step is
// `last`: the outputs of step s, then the transport of step s + 1 and, when
// s + 1 is a multiple of 10, its gene step, growth and carrier update.
void RunStep(long s, long last, const CScheduleCallees& f);
// The start-up: state, plant, the auxin picture of time 0 and the transport
// of step 1.
void StartUp();
// The whole program behind main(); returns the exit status.
int RootsimCMain(int argc, char** argv);

// ---------------------------------------------------------------------------
// InitPlant (see InitPlant.h): also the plant state file
void WritePlantToFile(int t);
// Reads the dump of time t; false, with the state untouched, when it is
// missing or not a complete valid dump.  A reloaded plant keeps its zonation.
bool InitPlantFromFile(int t);
bool InitPlantFromFileAt(const std::string& path);

// ---------------------------------------------------------------------------
// GrowthOld: growth, division, culling and renumbering on the c root
void Growth(int t);
int growtiming(int t, int cell, int flag);
void maxmzsize();
int epidermalcell(int cell);
void GrowCell(int t, int cell, int flag);
void DivideCell(int t, int cell);
// DivideCell that tells whether the grid changed (false when the cell tables
// are full and the division is skipped).
bool TryDivideCell(int t, int cell);
void CullOverflowCells(int t);
void CullLateralRootcap(int t);
void StoreOldSituation(int n);
void MapOldToNewSituation(int n);

// ---------------------------------------------------------------------------
// Update: transport, gene network, membrane proteins and coefficients
void UpdateAuxin();
void UpdateGeneExpression(int time);
// The permanent cortex switch, the membrane PIN and AUX1 from the pattern,
// production, decay and every coefficient of the transport step; at time 0
// also the zonation of the new plant.
void UpdateMembraneProteinsAndFluxes(int time);
// The carrier update of the present state, zonation included, over the whole
// grid (after the state was read back from a file).
void RebuildCarriers();
// f(a) = 1.5 a^2 / (a^2 + 100) + 0.1: the share of their pattern that the
// outer tissues put on a membrane facing auxin a across the wall.
double PinAuxinResponse(double a);

// ---------------------------------------------------------------------------
// Plotting
void SaveTotAuxin(int t);
void SaveTemp(int t, int column, int row);
void SaveGradGridRes(int t);
void SaveGradCellularRes(int t);
void SaveEpidermalGrad(int t);

// ---------------------------------------------------------------------------
// Graphics
void MakePNGFile(int time, int kind);
// The name formats of every picture and profile the program writes.
std::vector<std::string> PictureNameFormats();
std::vector<std::string> ProfileNameFormats();
double min(double a, double b);
double max(double a, double b);
// Index of the Aux picture for auxin a: a clamped to [0.05, 3500], then
// trunc((log10 a + 1.301) / 4.845068044350276 * 219 + 35).
int CAuxIndex(double a);
// The zonation override: the index of a cell point by its cell's zonation
// state, or `index` for a state without one of its own.
int ZonationIndex(int state, int index);
// How many times the membrane pictures' distance map has been built.
long DistanceMapBuilds();
