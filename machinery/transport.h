// The implicit auxin transport step on the grid: Caux1 moves by diffusion and
// membrane transport with production and decay (paux, daux), with the rates
// toward each neighbour formed from the point classes and the carriers on the
// membranes (or, for whoever sets them by hand, from the records DiffAuxC,
// Eff and Inf); the cell means MeanCells are formed from the field before the
// step.
#pragma once

struct MembranePermeability;

// Whoever changes DiffAuxC, Eff, Inf, paux, daux or Tc calls this before the
// next step: the line systems are kept factorised between such changes, and
// are formed from the records DiffAuxC, Eff and Inf.
void TransportCoefficientsChanged();

// What the carrier update calls instead, having changed Tc, Aux1M, Cpin1M,
// Cpin2M, paux or daux: the line systems are formed directly from the point
// classes and the carriers with these permeabilities (PointCoefficients of
// coefficients.h), the very numbers the records would hold, which are then
// neither written nor read.  `tissue` is the generation of the tissue on the
// grid (TissueGeneration of tissue_watch.h, taken since its last change), 0
// when not known: on the tissue of the last factorisation, what follows from
// the tissue alone (extents, line groups, the diffusion weights across the
// lines, the positions without membrane rates, the places of the cells'
// points for their means) is kept.
void TransportCarriersChanged(const MembranePermeability& perm, unsigned long tissue = 0);

// A program's permeabilities, given once at start-up, so that a state put in
// place from a checkpoint is stepped from its carriers like the run that
// wrote it.
void InstallTransportPermeability(const MembranePermeability& perm);

// After a checkpoint's state was put in place: the systems are formed anew
// from the carriers when a program installed its permeabilities, else from
// the records.
void TransportStateRestored();

// The permeabilities of the last carrier update (or the installed ones), or
// null when there are none.
const MembranePermeability* TransportPermeability();

// One step (two half steps of 0.1).  With checkSymmetry, also compares the
// new field with its mirror image and returns the first point that differs
// (as row * NCOLS + column), or -1 when none does; -1 without the check.
long TransportStep(bool checkSymmetry);

// The field of the second half step, Caux2, is the field the step commits
// into Caux1 on every point that is not outside; nothing a run does reads it,
// so the step does not write it (a store of every point in every step).  This
// puts it in place for whoever reads it, right after a step.
void SecondHalfStepField();

// The report line of a point whose auxin differs from its mirror point's.
void PrintAuxinAsymmetry(long key);

// Whether the last factorisation kept the plan of the one before (the same
// tissue), for the tests and the benchmark.
bool TransportLastPlanKept();

// Lines the step solves together in vector lanes (4 or 8, as built); the
// results do not depend on it.
int TransportLanes();

// Plain Thomas solve of the tridiagonal line system of length n held in the
// line buffers a, b, c and rhs; the solution is left in res and rhs.
void SolveTridiagonal(int n);
