// The b family's run driver and state: allocation of every array with the
// family's own grid field, the command line, start-up and the time loop.
#include "bfamily.h"

#include "checkpoint.h"
#include "run.h"

double** Lax3PrePat = nullptr;

void MakeArrays() {
    AllocateState();
    Lax3PrePat = MakeGridField();
    // The carrier patterns move with the tissue; a point that leaves the
    // tissue loses its PIN patterns.
    SetTissueFields({{&PinPrePat, true}, {&Pin2PrePat, true}, {&Aux1PrePat, false}, {&Lax3PrePat, false}});
    // A checkpoint holds the family's own field too.
    AddCheckpointState("Lax3PrePat", Lax3PrePat[0], sizeof(double) * static_cast<size_t>(NCOLS) * NROWS);
}

void FreeArrays() {
    FreeGridField(Lax3PrePat);
    ReleaseState();
}

void Start(int argc, char** argv) { StartWithDirectory(argc, argv); }
