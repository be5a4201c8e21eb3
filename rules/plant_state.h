// The plant state file of rootsim and the b family: the cell tables it holds.
#pragma once

#include <vector>

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

}  // namespace rules
