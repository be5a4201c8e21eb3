#include "growth_tissue.h"

#include "test_support.h"
#include "tissue_watch.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace growthtest {

void ClearGrid() {
    testsupport::ClearToOutside();
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            Caux1[i][j] = 0.0;
            PinPrePat[i][j] = 0.0;
            Pin2PrePat[i][j] = 0.0;
            Aux1PrePat[i][j] = 0.0;
        }
    }
    actcells = 0;
}

void AddRectCell(int i0, int i1, int j0, int j1, int tct) {
    TissueChanged();
    for (int i = i0 - 1; i <= i1 + 1; i++) {
        for (int j = j0 - 1; j <= j1 + 1; j++) {
            if (i < 0 || i >= NCOLS || j < 0 || j >= NROWS) continue;
            bool inside = i >= i0 && i <= i1 && j >= j0 && j <= j1;
            if (!inside) {
                if (Tc[i][j] == TC_OUTSIDE) {
                    Tc[i][j] = TC_WALL;
                    Tct[i][j] = 20;
                    Tmt[i][j] = 0;
                }
                continue;
            }
            Tct[i][j] = tct;
            if (j == j0) {
                Tc[i][j] = TC_MEMBRANE;
                Tmt[i][j] = 2;
            } else if (j == j1) {
                Tc[i][j] = TC_MEMBRANE;
                Tmt[i][j] = 1;
            } else if (i == i0 || i == i1) {
                Tc[i][j] = TC_MEMBRANE;
                // Inner on the axis side; a cell over the axis has two inner sides.
                bool axisSide = (i0 < AXIS && i1 > AXIS) || ((i1 < AXIS) ? (i == i1) : (i == i0));
                Tmt[i][j] = axisSide ? 3 : 4;
            } else {
                Tc[i][j] = TC_CYTO;
                Tmt[i][j] = 0;
            }
            Caux1[i][j] = 40.0;
        }
    }
}

void AddMirroredRectCell(int i0, int i1, int j0, int j1, int tct) {
    AddRectCell(i0, i1, j0, j1, tct);
    if (i1 < AXIS) AddRectCell(MIRRORSUM - i1, MIRRORSUM - i0, j0, j1, tct);
}

void AddMirroredFile(int i0, int i1, int j0, const int* heights, int count, int tct) {
    int j = j0;
    for (int k = 0; k < count; k++) {
        AddMirroredRectCell(i0, i1, j, j + heights[k] - 1, tct);
        j += heights[k] + 1;
    }
}

void Renumber() {
    NumberCells();
    FindCellCorners();
    FindCellSizes();
}

int CellByCorner(int mini, int minj) {
    for (int x = 0; x < actcells; x++)
        if (CellMinI[x] == mini && CellMinJ[x] == minj) return x;
    return -1;
}

std::string CompareWithFullGeometry() {
    std::vector<int> a0(CellMinI, CellMinI + MAXCELLS), a1(CellMaxI, CellMaxI + MAXCELLS),
        a2(CellMinJ, CellMinJ + MAXCELLS), a3(CellMaxJ, CellMaxJ + MAXCELLS),
        a4(CellWidth, CellWidth + MAXCELLS), a5(CellHeight, CellHeight + MAXCELLS),
        a6(CellSizes, CellSizes + MAXCELLS);
    std::vector<double> a7(InvCellSizes, InvCellSizes + MAXCELLS);
    FindCellCorners();
    FindCellSizes();
    char buf[256];
    for (int x = 0; x < MAXCELLS; x++) {
        if (a0[x] != CellMinI[x] || a1[x] != CellMaxI[x] || a2[x] != CellMinJ[x] || a3[x] != CellMaxJ[x] ||
            a4[x] != CellWidth[x] || a5[x] != CellHeight[x] || a6[x] != CellSizes[x] ||
            a7[x] != InvCellSizes[x]) {
            snprintf(buf, sizeof buf,
                     "cell %d: held box %d..%d x %d..%d size %d, full recompute %d..%d x %d..%d size %d", x,
                     a0[x], a1[x], a2[x], a3[x], a6[x], CellMinI[x], CellMaxI[x], CellMinJ[x], CellMaxJ[x],
                     CellSizes[x]);
            return buf;
        }
    }
    return "";
}

std::string CheckCellRegions() {
    char buf[256];
    std::vector<int> count(MAXCELLS, 0);
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            bool cellPoint = Tc[i][j] == TC_CYTO || Tc[i][j] == TC_MEMBRANE;
            if (cellPoint != (x >= 0) || x >= actcells) {
                snprintf(buf, sizeof buf, "point %d,%d: Tc %d but Cell %d (actcells %d)", i, j, Tc[i][j], x,
                         actcells);
                return buf;
            }
            if (x >= 0) count[x]++;
        }
    }
    std::vector<char> seen(static_cast<size_t>(NCOLS) * NROWS, 0);
    std::vector<int> stack;
    std::vector<char> started(MAXCELLS, 0);
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            if (x < 0 || seen[static_cast<size_t>(i) * NROWS + j]) continue;
            if (started[x]) {
                snprintf(buf, sizeof buf, "cell %d is split: a second region starts at %d,%d", x, i, j);
                return buf;
            }
            started[x] = 1;
            int n = 0;
            stack.assign(1, i * NROWS + j);
            seen[static_cast<size_t>(i) * NROWS + j] = 1;
            while (!stack.empty()) {
                int p = stack.back();
                stack.pop_back();
                n++;
                int pi = p / NROWS, pj = p % NROWS;
                const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
                for (int k = 0; k < 4; k++) {
                    int qi = pi + di[k], qj = pj + dj[k];
                    if (qi < 0 || qi >= NCOLS || qj < 0 || qj >= NROWS) continue;
                    if (Cell[qi][qj] == x && !seen[static_cast<size_t>(qi) * NROWS + qj]) {
                        seen[static_cast<size_t>(qi) * NROWS + qj] = 1;
                        stack.push_back(qi * NROWS + qj);
                    }
                }
            }
            if (n != count[x]) {
                snprintf(buf, sizeof buf, "cell %d: region of %d points, %d points carry the number", x, n,
                         count[x]);
                return buf;
            }
        }
    }
    for (int x = 0; x < actcells; x++) {
        if (count[x] == 0) {
            snprintf(buf, sizeof buf, "cell number %d is unused (actcells %d)", x, actcells);
            return buf;
        }
    }
    return "";
}

std::string CheckMirrorSymmetry() {
    char buf[160];
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int m = MIRRORSUM - i;
            if (Tc[i][j] != Tc[m][j] || Tct[i][j] != Tct[m][j] || Tmt[i][j] != Tmt[m][j]) {
                snprintf(buf, sizeof buf, "asymmetry at column %d, row %d: Tc %d/%d Tct %d/%d Tmt %d/%d", i, j,
                         Tc[i][j], Tc[m][j], Tct[i][j], Tct[m][j], Tmt[i][j], Tmt[m][j]);
                return buf;
            }
        }
    }
    return "";
}

}  // namespace growthtest
