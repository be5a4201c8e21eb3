// The implicit auxin transport step on the grid: Caux1 moves by diffusion and
// membrane transport with production and decay, using the coefficients
// DiffAuxC, Eff, Inf, paux and daux; the cell means MeanCells are formed from
// the field before the step.
#pragma once

// Whoever changes DiffAuxC, Eff, Inf, paux, daux or Tc calls this before the
// next step: the line systems are kept factorised between such changes.
void TransportCoefficientsChanged();

// One step (two half steps of 0.1).  With checkSymmetry, also compares the
// new field with its mirror image and returns the first point that differs
// (as row * NCOLS + column), or -1 when none does; -1 without the check.
long TransportStep(bool checkSymmetry);

// The report line of a point whose auxin differs from its mirror point's.
void PrintAuxinAsymmetry(long key);

// Plain Thomas solve of the tridiagonal line system of length n held in the
// line buffers a, b, c and rhs; the solution is left in res and rhs.
void SolveTridiagonal(int n);
