// Which tissue the grid holds.  Passes that keep what they derive from the
// tissue alone between their calls (the carriers' patterns, the transport
// step's plan) keep it while the generation
// returned here stays the same, and derive it anew when it changes.
#pragma once

// Whoever writes the point classes, cells, tissue types or membrane sides of
// the grid (Tc, Cell, Tct, Tmt) calls this before the next TissueGeneration:
// growth's grid operations, the renumbering, the layouts and the loaders do.
void TissueChanged();

// The generation of the tissue now on the grid: the number of the last call
// when the point classes, cells, tissue types and membrane sides of every
// point are what they were then, a new number otherwise (also when they
// changed and changed back).  After a reported change it compares the whole
// grids with a copy taken at its last look, on the transport step's threads;
// with none reported it does not look.  A build with ROOTSIM_CHECKED looks
// every time, and stops the program when it finds a change nobody reported.
unsigned long TissueGeneration();
