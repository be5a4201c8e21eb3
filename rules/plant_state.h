// The plant state file of rootsim and the b family: the cell tables it holds,
// and what a program does after reading one (the geometry of the cells and
// the carrier state rebuilt from what was read).
#pragma once

#include <algorithm>
#include <vector>

#include "geometry.h"
#include "plant_file.h"
#include "state.h"

namespace rules {

// The cell tables of the file, in file order.
inline std::vector<PlantFileLayout::CellLine> DumpedCellLines() {
    return {
        {"MeanCells", nullptr, &MeanCells},
        {"ARF", nullptr, &ARF},
        {"AA", nullptr, &AA},
        {"BB", nullptr, &BB},
        {"CC", nullptr, &CC},
        {"DD", nullptr, &DD},
        {"Plt", nullptr, &Plt},
        {"Yuc3", nullptr, &Yuc3},
        {"ARR1", nullptr, &ARR1},
        {"ARR12", nullptr, &ARR12},
        {"divTF", nullptr, &divTF},
        {"elongTF", nullptr, &elongTF},
        {"Gh317", nullptr, &Gh317},
        {"Pin", nullptr, &Pin},
        {"Pin2", nullptr, &Pin2},
        {"Plts", nullptr, &Plts},
        {"Aux1", nullptr, &Aux1},
        {"TimePrevGrowth", &TimePrevGrowth, nullptr},
        {"Diff", nullptr, &Diff},
        {"CellZonationState", &CellZonationState, nullptr},
        {"CellsInOZ", &CellsInOZ, nullptr},
        {"Gh33", nullptr, &Gh33},
        {"CellDivNr", &CellDivNr, nullptr},
    };
}

// Cell corners and sizes, then the carrier update of time 0, which also sets
// the first zonation of every cell from its top row as for a newly built
// plant; a reloaded plant keeps the zonation and differentiation it was saved
// with.
inline void RebuildAfterReload(void (*carrierUpdate)(int)) {
    ComputeCellCorners();
    ComputeCellSizes();
    std::vector<int> zonation(CellZonationState, CellZonationState + MAXCELLS);
    std::vector<double> diff(Diff, Diff + MAXCELLS);
    carrierUpdate(0);
    std::copy(zonation.begin(), zonation.end(), CellZonationState);
    std::copy(diff.begin(), diff.end(), Diff);
}

}  // namespace rules
