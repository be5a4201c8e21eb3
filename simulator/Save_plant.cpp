// rootsim's plant state file: what its dump holds and how a plant is rebuilt
// from one.
//
// Layout: the grids Tc, Tct, Tmt, Cell, PinPrePat, Pin2PrePat, Aux1PrePat and
// Caux1, one line per column with the values of all rows; then one line per
// cell table with all MAXCELLS slots; then actcells.  Every value but the last
// is followed by a tab, every line by a newline.
#include "rootsim.h"

#include "plant_file.h"


namespace {

// What the reader accepts besides finite numbers: the codes of the tissue
// grids, no negative carrier weights, levels, counts or times.  The auxin
// field may hold negative values (a removed point holds -10, and the wall
// point above the tip of the axis file goes slightly below 0 in a run); the
// mean auxin of a cell is recomputed from it at every step.
const PlantFileLayout& Layout() {
    using L = PlantFileLayout;
    const L::Range N = L::NON_NEGATIVE;
    static const std::vector<int> kTissueTypes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 20};
    static const std::vector<int> kZonation = {0, 30, 50, 60, 100, 200};
    static const PlantFileLayout layout = {
        {{"Tc", &Tc}, {"Tct", &Tct, kTissueTypes}, {"Tmt", &Tmt, {0, 1, 2, 3, 4}}, {"Cell", &Cell}},
        {{"PinPrePat", &PinPrePat, N}, {"Pin2PrePat", &Pin2PrePat, N}, {"Aux1PrePat", &Aux1PrePat, N},
         {"Caux1", &Caux1}},
        {
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
            {"CellZonationState", &CellZonationState, nullptr, L::ANY, kZonation},
            {"CellsInOZ", &CellsInOZ, nullptr, N},
            {"Gh33", nullptr, &Gh33, N},
            {"CellDivNr", &CellDivNr, nullptr, N},
        },
    };
    return layout;
}

}  // namespace

void WritePlantToFile(int t) { WritePlantFile(Layout(), t); }

bool ReadPlantStateFile(int t) { return ReadPlantFile(Layout(), t); }

namespace {

// Rebuilds from a plant state just read what its file does not hold: the
// cell geometry, the meristem's top and the carriers and coefficients of its
// very zonation.
void RebuildReadPlant() {
    FindCellCorners();
    FindCellSizes();
    maxmzsize();
    RebuildCarriers();
}

}  // namespace

bool InitPlantFromFile(int t) {
    if (!ReadPlantStateFile(t)) return false;
    RebuildReadPlant();
    return true;
}

bool InitPlantFromFileAt(const std::string& path) {
    if (!ReadPlantFileAt(Layout(), path)) return false;
    RebuildReadPlant();
    return true;
}
