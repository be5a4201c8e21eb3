// The plant state file of rootsim and the b family: the cell tables it holds.
#pragma once

#include <vector>

#include "plant_file.h"
#include "state.h"

namespace rules {

// The cell tables of the file, in file order, with what the reader accepts
// in each besides finite numbers: no negative levels, counts or times, and
// only the zonation states the growth rules give.  The mean auxin of a cell
// may be anything finite: it is recomputed from the field at every step.
inline std::vector<PlantFileLayout::CellLine> DumpedCellLines() {
    using L = PlantFileLayout;
    const L::Range N = L::NON_NEGATIVE;
    const std::vector<int> zonation = {Z_TIP, Z_DIVIDING, Z_TRANSITION, Z_ELONGATING, Z_DIFFERENTIATED, Z_MATURE};
    return {
        {"MeanCells", nullptr, &MeanCells},
        {"ARF", nullptr, &ARF, N},
        {"AA", nullptr, &AA, N},
        {"BB", nullptr, &BB, N},
        {"CC", nullptr, &CC, N},
        {"DD", nullptr, &DD, N},
        {"Plt", nullptr, &Plt, N},
        {"Yuc3", nullptr, &Yuc3, N},
        {"ARR1", nullptr, &ARR1, N},
        {"ARR12", nullptr, &ARR12, N},
        {"divTF", nullptr, &divTF, N},
        {"elongTF", nullptr, &elongTF, N},
        {"Gh317", nullptr, &Gh317, N},
        {"Pin", nullptr, &Pin, N},
        {"Pin2", nullptr, &Pin2, N},
        {"Plts", nullptr, &Plts, N},
        {"Aux1", nullptr, &Aux1, N},
        {"TimePrevGrowth", &TimePrevGrowth, nullptr, N},
        {"Diff", nullptr, &Diff, N},
        {"CellZonationState", &CellZonationState, nullptr, L::ANY, zonation},
        {"CellsInOZ", &CellsInOZ, nullptr, N},
        {"Gh33", nullptr, &Gh33, N},
        {"CellDivNr", &CellDivNr, nullptr, N},
    };
}

// The codes the tissue grids may hold.
inline std::vector<int> TissueTypeCodes() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 20}; }
inline std::vector<int> MembraneSideCodes() { return {0, 1, 2, 3, 4}; }

}  // namespace rules
