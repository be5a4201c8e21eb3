// Which tissue the grid holds.  Passes that keep what they derive from the
// tissue alone between their calls (the carriers' patterns, the transport
// step's plan) keep it while the generation
// returned here stays the same, and derive it anew when it changes.
#pragma once

// The generation of the tissue now on the grid: the number of the last call
// when the point classes, cells, tissue types and membrane sides of every
// point are what they were then, a new number otherwise (also when they
// changed and changed back).  It compares the whole grids with a copy taken
// at the last call, on the transport step's threads.
unsigned long TissueGeneration();
