// Cell numbering and cell geometry: numbers are positions in a raster scan of
// the grid, and every cell has its bounding box and size.
#include "geometry.h"

#include <cstdio>
#include <cstdlib>

#include "state.h"
#include "tissue_watch.h"

void NumberCellsByScan(int obliqueTopRow, int scanWidth) {
    TissueChanged();
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) Cell[i][j] = -1;

    int n = 0;
    for (int r = 0; r < NROWS; r++)
        for (int col = 0; col < NCOLS; col++) {
            int tc = Tc[col][r];
            if (tc != TC_CYTO && tc != TC_MEMBRANE) continue;
            int number = -1;
            if (r < obliqueTopRow) {
                // A cell bounded by oblique walls may first show up in a row to
                // the right of a wall stub: inherit the number of the part
                // below, looking along the row up to the next wall.
                if (r > 0) {
                    for (int x = col; x < col + scanWidth && x < NCOLS; x++) {
                        if (Tc[x][r] == TC_WALL) break;
                        if (Cell[x][r - 1] >= 0) {
                            number = Cell[x][r - 1];
                            break;
                        }
                    }
                }
                if (number < 0 && col > 0) number = Cell[col - 1][r];
            } else {
                if (col > 0) number = Cell[col - 1][r];
                if (number < 0) number = Cell[col][r - 1];
            }
            if (number < 0) {
                if (n >= MAXCELLS) {
                    fflush(stdout);
                    fprintf(stderr,
                            "%s: the tissue holds more than %d cells; the cell tables have "
                            "no room for cell %d (first point at column %d, row %d)\n",
                            ProgramName(), MAXCELLS, n, col, r);
                    exit(1);
                }
                number = n;
                n = n + 1;
            }
            Cell[col][r] = number;
        }
    actcells = n;
}

namespace {

// Calls f(cell, column, first row, row past the end) for every run of points
// of one cell in a column, column by column (each column is contiguous in
// memory).
template <typename F>
void ForEachCellRun(F&& f) {
    for (int i = 0; i < NCOLS; i++) {
        const int* column = Cell[i];
        int j = 0;
        while (j < NROWS) {
            const int x = column[j];
            if (x < 0) {
                j++;
                continue;
            }
            const int first = j;
            while (j < NROWS && column[j] == x) j++;
            f(x, i, first, j);
        }
    }
}

}  // namespace

void ComputeCellCorners() {
    for (int x = 0; x < MAXCELLS; x++) {
        CellMinI[x] = CellMinJ[x] = 10000;
        CellMaxI[x] = CellMaxJ[x] = 0;
        CellWidth[x] = CellHeight[x] = 0;
    }
    ForEachCellRun([](int x, int i, int first, int end) {
        if (i < CellMinI[x]) CellMinI[x] = i;
        if (i > CellMaxI[x]) CellMaxI[x] = i;
        if (first < CellMinJ[x]) CellMinJ[x] = first;
        if (end - 1 > CellMaxJ[x]) CellMaxJ[x] = end - 1;
    });
    for (int x = 0; x < actcells; x++) {
        CellWidth[x] = CellMaxI[x] - CellMinI[x] + 1;
        CellHeight[x] = CellMaxJ[x] - CellMinJ[x] + 1;
    }
}

void ComputeCellSizes() {
    for (int x = 0; x < MAXCELLS; x++) {
        CellSizes[x] = 0;
        InvCellSizes[x] = 0;
    }
    ForEachCellRun([](int x, int, int first, int end) { CellSizes[x] += end - first; });
    for (int x = 0; x < actcells; x++) InvCellSizes[x] = 1.0 / CellSizes[x];
}

