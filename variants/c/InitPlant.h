// Start-up of the c root beyond what rootsim.h declares.
#pragma once

// Fills PinPrePat from tissue type, membrane side and position, and clears
// Aux1PrePat.  Needs the layout, the numbering and the membrane sides.
void SetUpPrePattern();

// PIN share of a membrane point of type t, side s, at column d and row j of the
// left half (0 where the pre-pattern gives none).
double PrePatternPinShare(int t, int s, int d, int j);

// The time-0 carrier update that ends InitPlant (the program's own
// membrane-protein update); InitPlant skips it while it is null.
extern void (*InitPlantCarrierUpdate)(int time);
