// rootsim_c's measurement files: names, the grid- and cell-resolution
// profiles at the c root's columns and rows, the epidermal gradient, the
// sampling points and the totals.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "plan.h"
#include "rootsim_c.h"
#include "c_support.h"

using namespace croot;
using ctest::FileExists;
using ctest::ListDir;
using ctest::ReadFile;
using ctest::StateGuard;
using ctest::TempDir;

namespace {

struct CRootOutputs {
    StateGuard guard;
    TempDir out;
    CRootOutputs() {
        out.UseAsOutput();
        maxmzheight = kMeristemTopRow;
        InitPlant();
    }
    std::vector<std::string> Lines(const std::string& name) const {
        std::vector<std::string> lines;
        std::istringstream in(ReadFile(out.path() + "/" + name));
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> f;
    std::istringstream in(line);
    for (std::string x; std::getline(in, x, '\t');) f.push_back(x);
    return f;
}

// The first line of `lines` whose third field (the row) is `row`.
std::string LineOfRow(const std::vector<std::string>& lines, int row) {
    for (const std::string& l : lines) {
        std::vector<std::string> f = Fields(l);
        if (f.size() > 2 && f[2] == std::to_string(row)) return l;
    }
    return "";
}

TEST(CMeasurements, GridResolutionProfilesAlongTheFilesAndAcross) {
    CRootOutputs root;
    SaveGradGridRes(360);
    std::vector<std::string> names = ListDir(root.out.path());
    const std::vector<std::string> expected = {
        "GridResolution_cortexL_time360", "GridResolution_cortexR_time360", "GridResolution_endoL_time360",
        "GridResolution_endoR_time360",   "GridResolution_epiL_time360",    "GridResolution_epiR_time360",
        "GridResolution_j167_time360",    "GridResolution_j288_time360",    "GridResolution_j700_time360",
        "GridResolution_vascL_time360",   "GridResolution_vascR_time360"};
    EXPECT_EQ(names, expected);

    // Body section at the epidermis' outer membrane column and its mirror.
    const std::vector<std::string> epiL = root.Lines("GridResolution_epiL_time360");
    const std::vector<std::string> epiR = root.Lines("GridResolution_epiR_time360");
    std::vector<std::string> f = Fields(LineOfRow(epiL, 300));
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0], "24");
    EXPECT_EQ(f[1], "47");
    EXPECT_EQ(f[3], "40.000000");
    f = Fields(LineOfRow(epiR, 300));
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0], "203");
    EXPECT_EQ(f[1], "226");
    // The tip section lists the epidermis of the tip with the cell's levels.
    f = Fields(epiL.front());
    EXPECT_EQ(f.size(), 9u);
    EXPECT_LE(std::stoi(f[2]), kTipTopRow - 1);
    // No tip section for the vasculature: its first line is the body column.
    f = Fields(root.Lines("GridResolution_vascL_time360").front());
    EXPECT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0], std::to_string(kProfileVascCol));
    // Rows 10..1779 that hold a cell at the column, one line each.
    int cellRows = 0;
    for (int r = kTipBottomRow; r < kCullRow; r++) cellRows += Cell[kProfileCortexCol][r] >= 0;
    int tipLines = 0;
    for (const std::string& l : root.Lines("GridResolution_cortexL_time360")) tipLines += Fields(l).size() == 9;
    EXPECT_EQ(root.Lines("GridResolution_cortexL_time360").size(), static_cast<size_t>(cellRows + tipLines));

    // Across the root at the sampling row: every cell point, from the cap's
    // outer membrane column on.
    const std::vector<std::string> across = root.Lines("GridResolution_j288_time360");
    int points = 0;
    for (int i = 0; i < NCOLS; i++) points += Cell[i][kSampleRow] >= 0;
    EXPECT_EQ(across.size(), static_cast<size_t>(points));
    f = Fields(across.front());
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0], "12");
    EXPECT_EQ(f[1], "23");
    EXPECT_EQ(f[2], "288");
    EXPECT_EQ(Fields(across.back())[0], "238");
}

TEST(CMeasurements, CellProfilesAndTheEpidermalGradient) {
    CRootOutputs root;
    SaveGradCellularRes(720);
    for (const char* tissue : {"epi", "cortex", "endo", "vasc"})
        for (const char* side : {"L", "R"})
            EXPECT_TRUE(FileExists(root.out.path() + "/Spatialdynamics_" + tissue + side + "_time720")) << tissue << side;
    // Column 35: outside rows write -10, wall rows nothing, cell rows the cell.
    const std::vector<std::string> epi = root.Lines("Spatialdynamics_epiL_time720");
    int expected = 0;
    for (int r = 0; r < NROWS; r++) expected += Cell[kCellProfileEpidermisCol][r] >= 0 || Tc[kCellProfileEpidermisCol][r] == TC_OUTSIDE;
    EXPECT_EQ(epi.size(), static_cast<size_t>(expected));
    EXPECT_EQ(Fields(epi.front())[1], "-10.000000");

    SaveEpidermalGrad(720);
    for (const char* side : {"Left", "Right"}) {
        const std::vector<std::string> grad = root.Lines(std::string("EpidermalGrad") + side + "_time720");
        // One line per epidermal cell of the file: the meristem bands and the body.
        ASSERT_EQ(grad.size(), static_cast<size_t>(kInitialEpidermisCells)) << side;
        std::vector<std::string> first = Fields(grad.front());
        ASSERT_EQ(first.size(), 11u);
        EXPECT_EQ(first[0], std::to_string(kTipTopRow + 1));   // the cell's lowest row
        EXPECT_EQ(first[10], "8");                              // its height
        EXPECT_EQ(Fields(grad.back())[0], std::to_string(kBodyTopRow - 72));
        EXPECT_EQ(Fields(grad.back())[10], "72");
    }
}

TEST(CMeasurements, SamplingPointsAndTotals) {
    CRootOutputs root;
    SaveTemp(360, kSampleLeftCol, kSampleRow);
    SaveTemp(360, kSampleRightCol, kSampleRow);
    SaveTotAuxin(360);
    for (const char* name : {"TemporalDynamicsPoint12_288", "TemporalDynamicsPoint238_288"}) {
        const std::vector<std::string> lines = root.Lines(name);
        ASSERT_EQ(lines.size(), 1u) << name;
        std::vector<std::string> f = Fields(lines[0]);
        EXPECT_EQ(f.size(), 14u);
        EXPECT_EQ(f[0], "360");
    }
    // The point lies in the topmost cell of the outer cap layer.
    EXPECT_EQ(Tct[kSampleLeftCol][kSampleRow], TCT_LRC1);
    const std::vector<std::string> totals = root.Lines("Totalauxin");
    ASSERT_EQ(totals.size(), 1u);
    double sum = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) sum += Caux1[i][j];
    std::vector<std::string> f = Fields(totals[0]);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_NEAR(std::stod(f[1]), sum, 1e-3);
    EXPECT_NEAR(std::stod(f[2]), sum / (NCOLS * NROWS), 1e-6);
}

}  // namespace
