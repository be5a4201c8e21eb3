// Cell growth and division, renumbering, tracking and culling.
#include "rootsim.h"

void GrowCell(int, int, int) {}
void DivideCell(int, int) {}
void StoreOldSituation(int) {}
void MapOldToNewSituation(int) {}
void TrackCells(int) {}
void CullOverflowCells(int) {}
void CullLateralRootcap(int) {}
