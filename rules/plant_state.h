// The plant state file of rootsim and the b family: the cell tables it holds.
#pragma once

#include <string>
#include <vector>

#include "geometry.h"
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

// What a plant read back from its file is rebuilt from: the program's
// meristem top (from the restored zonation) and its carrier update over the
// whole grid.
struct PlantRebuild {
    void (*meristemTop)();
    void (*carriers)();
};

// What the file of a plant just read does not hold: the cell geometry, the
// meristem's top and the carriers and coefficients of its very zonation.
inline void RebuildReadPlant(const PlantRebuild& rebuild) {
    ComputeCellCorners();
    ComputeCellSizes();
    rebuild.meristemTop();
    rebuild.carriers();
}

// Reads the plant state file of time t (or at `path`) into the state and
// rebuilds the rest.  False, the state unchanged, when the file was refused.
inline bool ReadPlant(const PlantFileLayout& layout, int t, const PlantRebuild& rebuild) {
    if (!ReadPlantFile(layout, t)) return false;
    RebuildReadPlant(rebuild);
    return true;
}

inline bool ReadPlantAt(const PlantFileLayout& layout, const std::string& path, const PlantRebuild& rebuild) {
    if (!ReadPlantFileAt(layout, path)) return false;
    RebuildReadPlant(rebuild);
    return true;
}

}  // namespace rules
