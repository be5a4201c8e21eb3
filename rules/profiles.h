// The profiles and extra measurements rootsim and the b family write alike,
// given the program's landmarks: profiles of the tissue files along the root
// at grid resolution and at cell resolution, and the heights of the cells
// around the meristem's top with the top of the lateral root cap.
//
// A file that cannot be opened or written is reported on standard error with
// its name and the run goes on (OutputFile); diagnostics about the plant
// itself go to standard output.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "output_file.h"
#include "state.h"

namespace rules {

// ---------------------------------------------------------------------------
// Grid-resolution profiles.

struct GridProfilePlan {
    int tipLastRow;     // tip section: rows 0..tipLastRow
    int bodyFirstRow;   // body section: rows bodyFirstRow..bodyLastRow
    int bodyLastRow;
    // The fixed column of each file in the body section: outer root cap,
    // epidermis, cortex, endodermis, pericycle, and three vascular columns.
    int capCol, epiCol, cortexCol, endoCol, periCol, vasc1Col, vasc2Col, vasc3Col;
};

// A tissue code that no point has: the vascular profiles have no tip section.
constexpr int TCT_NONE_SEARCHED = 100;

// The files of the grid-resolution profiles, left and right half: outer root
// cap, epidermis, cortex, endodermis, pericycle and three vascular columns.
constexpr const char* kGridProfileNames[8][2] = {
    {"%s/GridResolutionL_RC1_time%i", "%s/GridResolutionR_RC1_time%i"},
    {"%s/GridResolutionL_Epi_time%i", "%s/GridResolutionR_Epi_time%i"},
    {"%s/GridResolutionL_Cort_time%i", "%s/GridResolutionR_Cort_time%i"},
    {"%s/GridResolutionL_Endo_time%i", "%s/GridResolutionR_Endo_time%i"},
    {"%s/GridResolutionL_Peri_time%i", "%s/GridResolutionR_Peri_time%i"},
    {"%s/GridResolutionL_Vasc1_time%i", "%s/GridResolutionR_Vasc1_time%i"},
    {"%s/GridResolutionL_Vasc2_time%i", "%s/GridResolutionR_Vasc2_time%i"},
    {"%s/GridResolutionL_Vasc3_time%i", "%s/GridResolutionR_Vasc3_time%i"},
};

// The files of the cell-resolution profiles: epidermis, cortex, endodermis,
// vasculature, each left then right.
constexpr const char* kCellProfileNames[8] = {
    "%s/Spatialdynamics_epiL_time%i",    "%s/Spatialdynamics_epiR_time%i",
    "%s/Spatialdynamics_cortexL_time%i", "%s/Spatialdynamics_cortexR_time%i",
    "%s/Spatialdynamics_endoL_time%i",   "%s/Spatialdynamics_endoR_time%i",
    "%s/Spatialdynamics_vascL_time%i",   "%s/Spatialdynamics_vascR_time%i",
};

// The files of the extra measurements.
constexpr const char* kExtraNames[2] = {"%s/ExtraMeasurements", "%s/ExtraMeasurements2"};

// Every profile and extra-measurement file name, for a program's list of its
// outputs.
inline std::vector<std::string> ProfileNameFormats() {
    std::vector<std::string> names;
    for (const auto& pair : kGridProfileNames) names.insert(names.end(), {pair[0], pair[1]});
    names.insert(names.end(), std::begin(kCellProfileNames), std::end(kCellProfileNames));
    names.insert(names.end(), std::begin(kExtraNames), std::end(kExtraNames));
    return names;
}

// The rows of the two sections of a grid-resolution profile.
struct GridProfileRows {
    int tipLastRow;     // tip section: rows 0..tipLastRow
    int bodyFirstRow;   // body section: rows bodyFirstRow..bodyLastRow
    int bodyLastRow;
};

// One pair of grid-resolution profiles of a tissue file, "leftFormat" and
// "rightFormat" (each "%s/...%i", filled with the output directory and t): in
// the tip section the first point of `tissue` in each row and the cell from
// the next column on (its columns, row, auxin, PIN1, AUX1, PLETHORA, ARR1,
// ARR12), in the body section the fixed column and its mirror (columns, row,
// auxin, PIN1, AUX1).  The right file names its columns mirrored.
inline void WriteGridProfilePair(const char* leftFormat, const char* rightFormat, int tissue, int column, int t,
                                 const GridProfileRows& rows) {
    OutputFile left(FormatString(leftFormat, dirname, t), "w");
    OutputFile right(FormatString(rightFormat, dirname, t), "w");

    // Tip section: the first point of the tissue in each low row.
    for (int r = 0; r <= rows.tipLastRow && r < NROWS; r++) {
        int c0 = -1;
        for (int c = 0; c <= AXIS; c++) {
            if (Tct[c][r] == tissue) {
                c0 = c;
                break;
            }
        }
        if (c0 < 0) continue;
        int g = c0 + 1;
        int cell = Cell[g][r];
        if (cell == -1) continue;
        int k = g + 1;
        while (k < NCOLS && Cell[k][r] == cell) k++;
        left.Printf("%i\t%i\t%i\t%f\t%f\t%f\t%f\t%f\t%f\n", g, k, r, Caux1[g][r], Cpin1M[g][r], Aux1M[g][r],
                    Plts[cell], ARR1[cell], ARR12[cell]);
        int m = MIRRORSUM - g;
        int mcell = Cell[m][r];
        if (mcell < 0) continue;  // the mirror point holds no cell to report
        right.Printf("%i\t%i\t%i\t%f\t%f\t%f\t%f\t%f\t%f\n", MIRRORSUM - k, m, r, Caux1[m][r], Cpin1M[m][r],
                     Aux1M[m][r], Plts[mcell], ARR1[mcell], ARR12[mcell]);
    }

    // Body section: the fixed column of the file and its mirror.
    int l = column;
    int h = MIRRORSUM - l;
    if (l >= NCOLS || h < 0) return;
    for (int r = rows.bodyFirstRow; r <= rows.bodyLastRow && r < NROWS; r++) {
        int cell = Cell[l][r];
        if (cell == -1) continue;
        int k = l + 1;
        while (k < NCOLS && Cell[k][r] == cell) k++;
        left.Printf("%i\t%i\t%i\t%f\t%f\t%f\n", l, k, r, Caux1[l][r], Cpin1M[l][r], Aux1M[l][r]);
        right.Printf("%i\t%i\t%i\t%f\t%f\t%f\n", MIRRORSUM - k, h, r, Caux1[h][r], Cpin1M[h][r], Aux1M[h][r]);
    }
}

// "DIR/GridResolutionL_<file>_time<t>" and "...R_...", for the outer root
// cap, epidermis, cortex, endodermis, pericycle and the three vascular files.
inline void WriteGridProfiles(int t, const GridProfilePlan& plan) {
    struct Pair {
        const char* left;
        const char* right;
        int tissue;
        int column;
    };
    const char* const (&n)[8][2] = kGridProfileNames;
    const Pair pairs[] = {
        {n[0][0], n[0][1], TCT_LRC1, plan.capCol},
        {n[1][0], n[1][1], TCT_EPIDERMIS, plan.epiCol},
        {n[2][0], n[2][1], TCT_CORTEX, plan.cortexCol},
        {n[3][0], n[3][1], TCT_ENDODERMIS, plan.endoCol},
        {n[4][0], n[4][1], TCT_PERICYCLE, plan.periCol},
        {n[5][0], n[5][1], TCT_NONE_SEARCHED, plan.vasc1Col},
        {n[6][0], n[6][1], TCT_NONE_SEARCHED, plan.vasc2Col},
        {n[7][0], n[7][1], TCT_NONE_SEARCHED, plan.vasc3Col},
    };
    for (const Pair& p : pairs)
        WriteGridProfilePair(p.left, p.right, p.tissue, p.column, t,
                             {plan.tipLastRow, plan.bodyFirstRow, plan.bodyLastRow});
}

// ---------------------------------------------------------------------------
// Cell-resolution profiles.

// The line of a cell-resolution profile: the row, and of the cell its mean
// auxin, ARF, delay chain, PLETHORA, its expression, differentiation and
// height.
inline void PrintCellProfileLine(OutputFile& f, int row, int cell) {
    f.Printf("%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%i\n", row, MeanCells[cell], ARF[cell], AA[cell], BB[cell],
             CC[cell], DD[cell], Plts[cell], Pltsexpr[cell], Diff[cell], CellHeight[cell]);
}

struct CellProfilePlan {
    int epiCol, cortexCol, endoCol, vascCol;  // a column of each file (left half)
};

// "DIR/Spatialdynamics_<file><L|R>_time<t>": for every row of the file's
// column (and its mirror) the cell's mean auxin, ARF, delay chain,
// PLETHORA, its expression, differentiation and height; -10 outside.
inline void WriteCellProfiles(int t, const CellProfilePlan& plan) {
    constexpr double OUTSIDE_MARKER = -10.0;
    constexpr int OUTSIDE_MARKER_INT = -10;
    struct Profile {
        const char* name;
        int column;
    };
    const char* const (&n)[8] = kCellProfileNames;
    const Profile profiles[] = {
        {n[0], plan.epiCol},    {n[1], MIRRORSUM - plan.epiCol},    {n[2], plan.cortexCol},
        {n[3], MIRRORSUM - plan.cortexCol}, {n[4], plan.endoCol},   {n[5], MIRRORSUM - plan.endoCol},
        {n[6], plan.vascCol},   {n[7], MIRRORSUM - plan.vascCol},
    };
    for (const Profile& p : profiles) {
        OutputFile f(FormatString(p.name, dirname, t), "wb");
        if (p.column < 0 || p.column >= NCOLS) continue;
        for (int r = 0; r < NROWS; r++) {
            int cell = Cell[p.column][r];
            if (cell >= 0) {
                PrintCellProfileLine(f, r, cell);
            } else if (Tc[p.column][r] == TC_OUTSIDE) {
                const double x = OUTSIDE_MARKER;
                f.Printf("%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%i\n", r, x, x, x, x, x, x, x, x, x,
                         OUTSIDE_MARKER_INT);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Extra measurements: heights of the cells met walking up and down a column.

struct ExtraPlan {
    int capCol;      // the outer cap column whose top is the top of the cap
    int pinCol;      // the cortex column searched for a full rootward PIN weight
    int heightRow;   // the walks start here (one row up on a wall)
    int colA, colB;  // the walked columns; colB also gives the division probe
};

namespace extra {

constexpr int WALK = 8;             // cells per direction
constexpr int MISSING_HEIGHT = -1;

struct HeightWalk {
    int up[WALK];
    int down[WALK];
};

// A point where a walk may find a cell: on the grid, neither wall nor outside.
inline int WalkCellAt(int column, int row) {
    if (!OnGrid(column, row)) return -1;
    if (Tc[column][row] == TC_WALL || Tc[column][row] == TC_OUTSIDE) return -1;
    return Cell[column][row];
}

inline HeightWalk WalkHeights(int column, int startRow) {
    HeightWalk w;
    for (int k = 0; k < WALK; k++) w.up[k] = w.down[k] = MISSING_HEIGHT;
    int row = startRow;
    if (OnGrid(column, row) && Tc[column][row] == TC_WALL) row = row + 1;
    int first = WalkCellAt(column, row);
    if (first < 0) return w;
    int cell = first;
    for (int k = 0; k < WALK && cell >= 0; k++) {
        w.up[k] = CellHeight[cell];
        cell = WalkCellAt(column, CellMaxJ[cell] + 2);
    }
    cell = WalkCellAt(column, CellMinJ[first] - 2);
    for (int k = 0; k < WALK && cell >= 0; k++) {
        w.down[k] = CellHeight[cell];
        cell = WalkCellAt(column, CellMinJ[cell] - 2);
    }
    return w;
}

// Sum of the first n entries, in order, as a double.
inline double SumOf(const int* v, int n) {
    double s = 0.0;
    for (int k = 0; k < n; k++) s = s + v[k];
    return s;
}

inline double Larger(double a, double b) { return a > b ? a : b; }

inline void WriteHeightColumns(OutputFile& f, const HeightWalk& w) {
    const int* u = w.up;
    const int* d = w.down;
    double both1 = static_cast<double>(u[0]) + d[0];
    double both2 = static_cast<double>(u[0]) + u[1] + d[0] + d[1];
    double both4 = SumOf(u, 4) + SumOf(d, 4);
    double both8 = SumOf(u, 8) + SumOf(d, 8);
    f.Printf("\t%f\t%f\t%f\t%f\t%f", Larger(u[0], d[0]), both1 / 2, both2 / 4, both4 / 8, both8 / 16);
    f.Printf("\t%f\t%f\t%f\t%f", static_cast<double>(u[0]), SumOf(u, 2) / 2, SumOf(u, 4) / 4, SumOf(u, 8) / 8);
    f.Printf("\t%f\t%f\t%f\t%f", static_cast<double>(d[0]), SumOf(d, 2) / 2, SumOf(d, 4) / 4, SumOf(d, 8) / 8);
}

}  // namespace extra

// "DIR/ExtraMeasurements": t, the top row of the lateral root cap, the
// height and mean auxin of its top cell, the highest full rootward PIN row of
// the cortex column, and the heights of the cells met walking up and down
// columns A and B from the height row; "DIR/ExtraMeasurements2": t, the cell
// at (B, height row), its division count and last division time.  A cap top
// that is not cap ends the run ("something is wrong in finding top lrc").
inline void WriteExtraMeasurements(int t, const ExtraPlan& plan) {
    // Top of the lateral root cap: the row below the highest point of the
    // cap's outer column that is not outside.
    int rtop = -1;
    for (int j = NROWS - 1; j >= 0; j--) {
        if (Tc[plan.capCol][j] != TC_OUTSIDE) {
            rtop = j - 1;
            break;
        }
    }
    int capCell = rtop >= 0 ? Cell[plan.capCol][rtop] : -1;
    if (rtop < 0 || Tct[plan.capCol][rtop] != TCT_LRC1 || capCell < 0) {
        printf("something is wrong in finding top lrc\n");
        fflush(stdout);
        exit(1);
    }

    // Highest rootward membrane point of the cortex column carrying a full
    // PIN weight; -1 when there is none.
    int pinRow = -1;
    for (int j = NROWS - 1; j >= 0; j--) {
        if (Tmt[plan.pinCol][j] == TMT_ROOTWARD &&
            (Pin2PrePat[plan.pinCol][j] == 1.0 || PinPrePat[plan.pinCol][j] == 1.0)) {
            pinRow = j;
            break;
        }
    }

    extra::HeightWalk wa = extra::WalkHeights(plan.colA, plan.heightRow);
    extra::HeightWalk wb = extra::WalkHeights(plan.colB, plan.heightRow);
    {
        OutputFile f(FormatString(kExtraNames[0], dirname), "a");
        f.Printf("%i\t%i\t%i\t%f\t%i", t, rtop, CellHeight[capCell], MeanCells[capCell], pinRow);
        extra::WriteHeightColumns(f, wa);
        extra::WriteHeightColumns(f, wb);
        f.Printf("\n");
    }

    OutputFile f2(FormatString(kExtraNames[1], dirname), "a");
    const int cell = OnGrid(plan.colB, plan.heightRow) ? Cell[plan.colB][plan.heightRow] : -1;
    if (cell >= 0) f2.Printf("%i\t%i\t%i\t%i\n", t, cell, CellDivNr[cell], CellTimeLastDiv[cell]);
}

}  // namespace rules
