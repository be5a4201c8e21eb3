// The pieces an initial root is built from (see the header).
#include "layout_tools.h"

#include <cstdio>

namespace layout {

namespace {
bool IsWall(int i, int j) { return Tc[i][j] == TC_WALL; }
}  // namespace

void LayerFiles(int r, const FileBand* bands, int n) {
    for (int k = 0; k < n; k++) {
        for (int col = bands[k].from; col >= bands[k].wall; col--) SetTct(col, r, bands[k].tct);
        SetWall(bands[k].wall, r);
    }
}

void CloseDiagonalWallGaps() {
    // Rows 0 and NROWS-1 hold no walls; they are skipped so that no
    // neighbour read leaves the grid.
    for (int x = AXIS; x >= 1; x--)
        for (int r = 1; r < NROWS - 1; r++) {
            if (!IsWall(x, r)) continue;
            if (IsWall(x + 1, r) || IsWall(x - 1, r) || IsWall(x, r + 1) || IsWall(x, r - 1)) continue;
            if (!IsWall(x + 1, r + 1) && !IsWall(x + 1, r - 1)) {
                if (IsWall(x - 1, r + 1) || IsWall(x - 1, r - 1)) {
                    SetWall(x - 1, r);
                    SetTct(x - 1, r, 0);
                }
            } else {
                SetWall(x + 1, r);
                SetTct(x + 1, r, 0);
            }
        }
}

void MarkMembranes(int firstRow, int lastRow) {
    TissueChanged();
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = firstRow; j <= lastRow; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            if (IsWall(i + 1, j) || IsWall(i - 1, j) || IsWall(i, j + 1) || IsWall(i, j - 1))
                Tc[i][j] = TC_MEMBRANE;
        }
}

void MarkWallTissue(int firstRow, int lastRow) {
    TissueChanged();
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
                while (x >= 0 && Tct[x][r] == TCT_VASC_OUTER) {
                    SetTct(x, r, code);
                    x--;
                }
            }
            w = w + 1;
            x = x - 1;
        }
    }
}

void MarkUnclassifiedMembranes(int firstRow, int lastRow) {
    TissueChanged();
    for (int i = 0; i < NCOLS; i++)
        for (int r = firstRow; r <= lastRow; r++) Tmt[i][r] = Tc[i][r] == TC_MEMBRANE ? TMT_UNCLASSIFIED : 0;
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

}  // namespace layout
