// TEMPORARY, until the machinery split (see temporary_machinery.h).
#include "temporary_machinery.h"

#include <cstdio>
#include <cstdlib>

#include "rootsim.h"

namespace tempmachinery {

namespace {
bool IsWall(int i, int j) { return Tc[i][j] == TC_WALL; }
bool IsCellPoint(int i, int j) { return Tc[i][j] == TC_CYTO || Tc[i][j] == TC_MEMBRANE; }
}  // namespace

void NumberCellsScanning(int scanTopRow, int scanWidth) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) Cell[i][j] = -1;
    int n = 0;
    for (int r = 0; r < NROWS; r++)
        for (int col = 0; col < NCOLS; col++) {
            if (!IsCellPoint(col, r)) continue;
            int number = -1;
            if (r < scanTopRow) {
                for (int x = col; r > 0 && x < col + scanWidth && x < NCOLS && !IsWall(x, r); x++)
                    if (Cell[x][r - 1] >= 0) {
                        number = Cell[x][r - 1];
                        break;
                    }
                if (number < 0 && col > 0) number = Cell[col - 1][r];
            } else {
                if (col > 0) number = Cell[col - 1][r];
                if (number < 0 && r > 0) number = Cell[col][r - 1];
            }
            if (number < 0) {
                if (n >= MAXCELLS) {
                    fprintf(stderr, "the tissue holds more than %d cells\n", MAXCELLS);
                    exit(1);
                }
                number = n++;
            }
            Cell[col][r] = number;
        }
    actcells = n;
}

void FindCellCornersOfGrid() {
    for (int x = 0; x < MAXCELLS; x++) {
        CellMinI[x] = CellMinJ[x] = 10000;
        CellMaxI[x] = CellMaxJ[x] = 0;
        CellWidth[x] = CellHeight[x] = 0;
    }
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            if (x < 0) continue;
            if (i < CellMinI[x]) CellMinI[x] = i;
            if (i > CellMaxI[x]) CellMaxI[x] = i;
            if (j < CellMinJ[x]) CellMinJ[x] = j;
            if (j > CellMaxJ[x]) CellMaxJ[x] = j;
        }
    for (int x = 0; x < actcells; x++) {
        CellWidth[x] = CellMaxI[x] - CellMinI[x] + 1;
        CellHeight[x] = CellMaxJ[x] - CellMinJ[x] + 1;
    }
}

void FindCellSizesOfGrid() {
    for (int x = 0; x < MAXCELLS; x++) {
        CellSizes[x] = 0;
        InvCellSizes[x] = 0;
    }
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] >= 0) CellSizes[Cell[i][j]]++;
    for (int x = 0; x < actcells; x++) InvCellSizes[x] = 1.0 / CellSizes[x];
}

void CloseDiagonalWallGaps() {
    auto setWall = [](int col, int r) {
        Tc[col][r] = Tc[MIRRORSUM - col][r] = TC_WALL;
        Tct[col][r] = Tct[MIRRORSUM - col][r] = 0;
    };
    for (int x = AXIS; x >= 1; x--)
        for (int r = 1; r < NROWS - 1; r++) {
            if (!IsWall(x, r)) continue;
            if (IsWall(x + 1, r) || IsWall(x - 1, r) || IsWall(x, r + 1) || IsWall(x, r - 1)) continue;
            if (!IsWall(x + 1, r + 1) && !IsWall(x + 1, r - 1)) {
                if (IsWall(x - 1, r + 1) || IsWall(x - 1, r - 1)) setWall(x - 1, r);
            } else {
                setWall(x + 1, r);
            }
        }
}

void MarkMembranes(int firstRow, int lastRow) {
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = firstRow; j <= lastRow; j++)
            if (Tc[i][j] == TC_CYTO &&
                (IsWall(i + 1, j) || IsWall(i - 1, j) || IsWall(i, j + 1) || IsWall(i, j - 1)))
                Tc[i][j] = TC_MEMBRANE;
}

void MarkWallTissue(int firstRow, int lastRow) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = firstRow; j <= lastRow; j++)
            if (IsWall(i, j)) Tct[i][j] = TCT_WALL;
}

void RelabelVascularFiles(int firstRow, int lastRow) {
    for (int r = firstRow; r <= lastRow; r++) {
        int w = 0;
        int x = AXIS;
        while (x >= 0) {
            while (x >= 0 && IsWall(x, r)) x--;
            if (x < 0 || Tct[x][r] < TCT_VASC_OUTER) break;
            if (Tct[x][r] == TCT_VASC_OUTER) {
                int code = w == 0 ? TCT_VASC_CENTRAL : (w == 1 ? TCT_VASC_MIDDLE : TCT_VASC_OUTER);
                for (; x >= 0 && Tct[x][r] == TCT_VASC_OUTER; x--)
                    Tct[x][r] = Tct[MIRRORSUM - x][r] = code;
            }
            w++;
            x--;
        }
    }
}

void MarkUnclassifiedMembranes(int firstRow, int lastRow) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            Tmt[i][j] = (j >= firstRow && j <= lastRow && Tc[i][j] == TC_MEMBRANE) ? 10 : 0;
}

int ReportMembraneAsymmetry() {
    int lines = 0;
    for (int r = 0; r < NROWS; r++)
        for (int l = 0; l < AXIS; l++)
            if (Tmt[l][r] != Tmt[MIRRORSUM - l][r]) {
                printf("something is wrong in tissue layout at %i %i and %i %i celltype is %i and %i\n", l, r,
                       MIRRORSUM - l, r, Tct[l][r], Tct[MIRRORSUM - l][r]);
                lines++;
            }
    return lines;
}

}  // namespace tempmachinery
