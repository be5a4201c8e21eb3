// What the plant files of the programs have in common: the per-cell lines,
// and the rebuilding of a plant from what a dump holds.
#pragma once

#include <vector>

#include "plant_file.h"

// The per-cell lines of a plant file, in their order: MeanCells, ARF, AA,
// BB, CC, DD, Plt, Yuc3, ARR1, ARR12, divTF, elongTF, Gh317, Pin, Pin2, Plts,
// Aux1, TimePrevGrowth, Diff, CellZonationState, CellsInOZ, Gh33, CellDivNr.
const std::vector<PlantFileLayout::CellLine>& PlantFileCellLines();

// After a dump has been read: the boxes and sizes of the cells, then the
// carrier state by carrierUpdate(0), keeping the zonation and differentiation
// that were read (the update at time 0 would set them as for a new plant).
void RebuildPlantAfterReading(void (*carrierUpdate)(int time));
