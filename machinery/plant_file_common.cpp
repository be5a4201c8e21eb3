// What the plant files of the programs have in common.
#include "plant_file_common.h"

#include <algorithm>

#include "state.h"

// Provided by every program: its cell geometry.
void FindCellCorners();
void FindCellSizes();

const std::vector<PlantFileLayout::CellLine>& PlantFileCellLines() {
    static const std::vector<PlantFileLayout::CellLine> lines = {
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
    return lines;
}

void RebuildPlantAfterReading(void (*carrierUpdate)(int time)) {
    FindCellCorners();
    FindCellSizes();
    std::vector<int> zonation(CellZonationState, CellZonationState + MAXCELLS);
    std::vector<double> diff(Diff, Diff + MAXCELLS);
    carrierUpdate(0);
    std::copy(zonation.begin(), zonation.end(), CellZonationState);
    std::copy(diff.begin(), diff.end(), Diff);
}
