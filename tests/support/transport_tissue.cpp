#include "transport_tissue.h"

#include "test_support.h"
#include "tissue_watch.h"

namespace transporttissue {

void ClearToOutside() {
    testsupport::ClearToOutside();
    for (int x = 0; x < MAXCELLS; x++) {
        CellMinI[x] = CellMaxI[x] = CellMinJ[x] = CellMaxJ[x] = 0;
        CellWidth[x] = CellHeight[x] = CellSizes[x] = 0;
        InvCellSizes[x] = 0;
    }
    actcells = 0;
}

int AddCell(int i0, int i1, int j0, int j1, int type) {
    TissueChanged();
    const int x = actcells++;
    for (int i = i0 - 1; i <= i1 + 1; i++) {
        for (int j = j0 - 1; j <= j1 + 1; j++) {
            bool ring = i < i0 || i > i1 || j < j0 || j > j1;
            if (ring) {
                if (Cell[i][j] != -1) continue;
                Tc[i][j] = TC_WALL;
                Tct[i][j] = 20;
                Tmt[i][j] = 0;
                continue;
            }
            Cell[i][j] = x;
            Tct[i][j] = type;
            bool membrane = i == i0 || i == i1 || j == j0 || j == j1;
            Tc[i][j] = membrane ? TC_MEMBRANE : TC_CYTO;
            int side = 0;
            if (membrane) {
                bool leftHalf = 2 * i0 + (i1 - i0) < 2 * AXIS;  // centre left of the axis
                int inner = leftHalf ? i1 : i0;
                if (j == j1) side = 1;
                else if (j == j0) side = 2;
                else if (i == inner) side = 3;
                else side = 4;
            }
            Tmt[i][j] = side;
        }
    }
    CellMinI[x] = i0;
    CellMaxI[x] = i1;
    CellMinJ[x] = j0;
    CellMaxJ[x] = j1;
    CellWidth[x] = i1 - i0 + 1;
    CellHeight[x] = j1 - j0 + 1;
    CellSizes[x] = CellWidth[x] * CellHeight[x];
    InvCellSizes[x] = 1.0 / CellSizes[x];
    return x;
}

std::vector<int> AddCellPair(int i0, int i1, int j0, int j1, int type) {
    std::vector<int> cells;
    cells.push_back(AddCell(i0, i1, j0, j1, type));
    if (i1 < AXIS) cells.push_back(AddCell(MIRRORSUM - i1, MIRRORSUM - i0, j0, j1, type));
    return cells;
}

double TotalAuxin() {
    double sum = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE) sum += Caux1[i][j];
    return sum;
}

}  // namespace transporttissue
