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

const PlantFileLayout& Layout() {
    static const PlantFileLayout layout = {
        {{"Tc", &Tc}, {"Tct", &Tct}, {"Tmt", &Tmt}, {"Cell", &Cell}},
        {{"PinPrePat", &PinPrePat}, {"Pin2PrePat", &Pin2PrePat}, {"Aux1PrePat", &Aux1PrePat}, {"Caux1", &Caux1}},
        rules::DumpedCellLines(),
    };
    return layout;
}

}  // namespace

void WritePlantToFile(int t) { WritePlantFile(Layout(), t); }

bool ReadPlantStateFile(int t) { return ReadPlantFile(Layout(), t); }

bool InitPlantFromFile(int t) {
    if (!ReadPlantStateFile(t)) return false;
    // The file holds the tissue, the auxin, the patterns, the cell levels and
    // the zonation; the cell geometry, the meristem's top and the carriers
    // and coefficients of that very zonation are built from them.
    FindCellCorners();
    FindCellSizes();
    maxmzsize();
    RebuildCarriers();
    return true;
}
