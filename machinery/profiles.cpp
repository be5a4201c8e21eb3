// Profiles along the root at one moment.
#include "profiles.h"

#include "output_file.h"
#include "state.h"

namespace {

// Marker written for points outside the root.
constexpr double OUTSIDE_MARKER = -10.0;
constexpr int OUTSIDE_MARKER_INT = -10;

}  // namespace

void WriteGridProfilePair(const char* leftFormat, const char* rightFormat, int tissue, int column, int t,
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

void PrintCellProfileLine(OutputFile& f, int row, int cell) {
    f.Printf("%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%i\n", row, MeanCells[cell], ARF[cell], AA[cell], BB[cell],
             CC[cell], DD[cell], Plts[cell], Pltsexpr[cell], Diff[cell], CellHeight[cell]);
}

void WriteCellProfile(const char* format, int column, int t) {
    OutputFile f(FormatString(format, dirname, t), "wb");
    if (column < 0 || column >= NCOLS) return;
    for (int r = 0; r < NROWS; r++) {
        int cell = Cell[column][r];
        if (cell >= 0) {
            PrintCellProfileLine(f, r, cell);
        } else if (Tc[column][r] == TC_OUTSIDE) {
            const double x = OUTSIDE_MARKER;
            f.Printf("%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%i\n", r, x, x, x, x, x, x, x, x, x,
                     OUTSIDE_MARKER_INT);
        }
    }
}
