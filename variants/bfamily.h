// The b family's programs (rootsim_b1 .. rootsim_b4) share all code but a
// few functions each program has its own version of.  Each program's main
// installs its table of those functions before anything else runs; the
// shared code calls through the installed table.  A table is built as "b2 plus its
// differences": B1Rules and B4Rules start from B2Rules and replace the
// functions they own, B3Rules replaces its many.  One test program can thus
// build and run b2 and b3 (or b2 and b4) side by side by installing one table,
// then the other.
//
// Entries not written yet are null; the code that calls them comes with them.
#pragma once

#include "renumbering.h"
#include "state.h"
#include "threads.h"
#include "transport.h"

namespace bfamily {

struct Rules {
    const char* name;  // "rootsim_b2"

    // InitPlant
    void (*SetUpTissueLayout)();
    void (*SetUpMembraneTypes)();
    void (*InitConditions)();

    // Update
    void (*UpdateGeneExpression)(int time);
    // Also the hook at the end of InitPlant (the carrier update of time 0);
    // InitPlant skips it while it is null.
    void (*UpdateMembraneProteinsAndFluxes)(int time);

    // GrowthOld
    void (*Growth)(int t);
    void (*GrowCell)(int t, int cell, int flag);
    void (*DivideCell)(int t, int cell);
    void (*CullOverflowCells)(int t);

    // Plotting and Graphics
    void (*SaveGradGridRes)(int t);
    void (*MakePNGFile)(int time, int kind);
    void (*MakeGraphics)(int time);

    // Landmarks that differ per program (variants/plan.h).
    int meristemTopRow;      // wall on top of the initial meristem; first maxmzheight
    int firstSampleRow;      // first row of the SaveTemp schedule (127, b3 102)
    int heightMarkLastRow;   // picture kind 22 marks rows 127..this (277, b3 302)
    int extraHeightRow;      // ExtraMeasurements' cell heights around this row
};

// The tables of the four programs.
Rules B2Rules();
Rules B1Rules();  // B2Rules with b1's GrowCell and CullOverflowCells (to come)
Rules B3Rules();
Rules B4Rules();  // B2Rules with b4's DivideCell (to come)

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
// plant file).
extern double** Lax3PrePat;

// Main
void MakeArrays();
void FreeArrays();
void Start(int argc, char** argv);

// InitPlant
void SetUpTissueLayout();
void SetUpMembraneTypes();
void NumberCells();
void FindCellCorners();
void FindCellSizes();
void InitConditions();
void InitPlant();

namespace b3 {
void SetUpTissueLayout();
void SetUpMembraneTypes();
void InitConditions();
}  // namespace b3
