// rootsim_c's measurements: auxin totals, the histories of the two sampling
// points, profiles along the tissue files at grid and at cell resolution,
// profiles across the root, and the epidermal gradient cell by cell.
#include "rootsim_c.h"

#include "measurements.h"
#include "output_file.h"
#include "plan.h"
#include "profiles.h"

using namespace croot;

namespace {

// Grid-resolution profiles along the files: tip section below the tip-top
// wall, body section over every row a cell can reach.
constexpr rules::GridProfileRows kProfileRows = {Landmarks::TIP_TOP_ROW, kTipBottomRow, kCullRow - 1};

}  // namespace

void SaveTotAuxin(int t) { AppendTotalAuxin(t); }

void SaveTemp(int t, int column, int row) { AppendPointHistory(t, column, row); }

namespace {

struct Pair {
    const char* left;
    const char* right;
    int tissue;
    int column;
};
const Pair kGridProfiles[] = {
        {"%s/GridResolution_epiL_time%i", "%s/GridResolution_epiR_time%i", TCT_EPIDERMIS, kProfileEpidermisCol},
        {"%s/GridResolution_cortexL_time%i", "%s/GridResolution_cortexR_time%i", TCT_CORTEX, kProfileCortexCol},
        {"%s/GridResolution_endoL_time%i", "%s/GridResolution_endoR_time%i", TCT_ENDODERMIS, kProfileEndodermisCol},
        {"%s/GridResolution_vascL_time%i", "%s/GridResolution_vascR_time%i", rules::TCT_NONE_SEARCHED,
         kProfileVascCol},
};
const char* const kRowProfileName = "%s/GridResolution_j%i_time%i";
const char* const kEpidermalGradNames[2] = {"%s/EpidermalGradLeft_time%i", "%s/EpidermalGradRight_time%i"};

}  // namespace

std::vector<std::string> ProfileNameFormats() {
    std::vector<std::string> names;
    for (const Pair& p : kGridProfiles) names.insert(names.end(), {p.left, p.right});
    names.push_back(kRowProfileName);
    names.insert(names.end(), std::begin(rules::kCellProfileNames), std::end(rules::kCellProfileNames));
    names.insert(names.end(), std::begin(kEpidermalGradNames), std::end(kEpidermalGradNames));
    return names;
}

void SaveGradGridRes(int t) {
    for (const Pair& p : kGridProfiles) rules::WriteGridProfilePair(p.left, p.right, p.tissue, p.column, t, kProfileRows);

    // Across the root: every point of the row that belongs to a cell, in the
    // format of the body section (column, end of the cell's run in the row,
    // row, auxin, PIN1 and AUX1 on the membrane).
    for (int j : kRowProfileRows) {
        OutputFile f(FormatString(kRowProfileName, dirname, j, t), "w");
        for (int i = 0; i < NCOLS; i++) {
            const int cell = Cell[i][j];
            if (cell == -1) continue;
            int k = i + 1;
            while (k < NCOLS && Cell[k][j] == cell) k++;
            f.Printf("%i\t%i\t%i\t%f\t%f\t%f\n", i, k, j, Caux1[i][j], Cpin1M[i][j], Aux1M[i][j]);
        }
    }
}

void SaveGradCellularRes(int t) {
    rules::WriteCellProfiles(
        t, {kCellProfileEpidermisCol, kCellProfileCortexCol, kCellProfileEndodermisCol, kCellProfileVascCol});
}

void SaveEpidermalGrad(int t) {
    // One line per epidermal cell of the file, from the tip upward, at the
    // lowest row where the file's column meets it, in the format of the
    // cell-resolution profiles.
    const struct {
        const char* name;
        int column;
    } sides[] = {
        {kEpidermalGradNames[0], kEpidermisProbeCol},
        {kEpidermalGradNames[1], kMirrorSum - kEpidermisProbeCol},
    };
    for (const auto& side : sides) {
        OutputFile f(FormatString(side.name, dirname, t), "w");
        int last = -1;
        for (int j = 0; j < NROWS; j++) {
            const int cell = Cell[side.column][j];
            if (cell == -1 || cell == last || Tct[side.column][j] != TCT_EPIDERMIS) continue;
            last = cell;
            rules::PrintCellProfileLine(f, j, cell);
        }
    }
}
