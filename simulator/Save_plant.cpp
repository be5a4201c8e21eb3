// rootsim's plant state file: what its dump holds and how a plant is rebuilt
// from one.
//
// Layout: the grids Tc, Tct, Tmt, Cell, PinPrePat, Pin2PrePat, Aux1PrePat and
// Caux1, one line per column with the values of all rows; then one line per
// cell table with all MAXCELLS slots; then actcells.  Every value but the last
// is followed by a tab, every line by a newline.
#include "rootsim.h"

#include "plant_file.h"
#include "plant_state.h"

namespace {

// What the reader accepts besides finite numbers: the codes of the tissue
// grids, no negative carrier weights, levels, counts or times.  The auxin
// field may hold negative values (a removed point holds -10, and the wall
// point above the tip of the axis file goes slightly below 0 in a run); the
// mean auxin of a cell is recomputed from it at every step.
const PlantFileLayout& Layout() {
    const PlantFileLayout::Range N = PlantFileLayout::NON_NEGATIVE;
    static const PlantFileLayout layout = {
        {{"Tc", &Tc}, {"Tct", &Tct, rules::TissueTypeCodes()}, {"Tmt", &Tmt, rules::MembraneSideCodes()}, {"Cell", &Cell}},
        {{"PinPrePat", &PinPrePat, N}, {"Pin2PrePat", &Pin2PrePat, N}, {"Aux1PrePat", &Aux1PrePat, N},
         {"Caux1", &Caux1}},
        rules::DumpedCellLines(),
    };
    return layout;
}

}  // namespace

void WritePlantToFile(int t) { WritePlantFile(Layout(), t); }

bool ReadPlantStateFile(int t) { return ReadPlantFile(Layout(), t); }

bool InitPlantFromFile(int t) { return rules::ReadPlant(Layout(), t, {maxmzsize, RebuildCarriers}); }

bool InitPlantFromFileAt(const std::string& path) {
    return rules::ReadPlantAt(Layout(), path, {maxmzsize, RebuildCarriers});
}
