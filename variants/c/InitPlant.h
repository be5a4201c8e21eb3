// The start-up of the c root: its layout, membrane sides, numbering and
// geometry, transporter pre-pattern and initial cell states.
#pragma once

void SetUpTissueLayout();
void SetUpMembraneTypes();
void NumberCells();
void FindCellCorners();
void FindCellSizes();
void InitConditions();
// Builds the initial plant: layout, numbering and geometry, membrane sides,
// pre-pattern, initial conditions, then the carrier update of time 0.
void InitPlant();

// Fills PinPrePat from tissue type, membrane side and position, and clears
// Aux1PrePat.  Needs the layout, the numbering and the membrane sides.
void SetUpPrePattern();

// PIN share of a membrane point of type t, side s, at column d and row j of the
// left half (0 where the pre-pattern gives none).
double PrePatternPinShare(int t, int s, int d, int j);

