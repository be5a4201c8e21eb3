// Tissue layout, membrane sides, cell numbering and geometry of the initial root.
#include "rootsim.h"

void SetUpTissueLayout() {}
void SetUpMembraneTypes() {}
void NumberCells() {}
void FindCellCorners() {}
void FindCellSizes() {}
void InitPlant() {
    SetUpTissueLayout();
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    SetUpMembraneTypes();
    InitConditions();
    UpdateMembraneProteinsAndFluxes(0);
}
