// Growth, division and removal of cells on the grid, as rootsim and the b
// family carry them out: the shift of a growing cell's columns, the dilution
// by the added row, the split of a dividing cell with what its daughters
// take, the removal of cells at the top of the domain and the shedding of the
// lateral root cap.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "growth_grid.h"
#include "renumbering.h"
#include "output_file.h"
#include "state.h"

namespace rules {

// ---------------------------------------------------------------------------
// Growth by one row.

// A growing cell's box before growth and the region its growth changes.
struct GrowthShift {
    int minI, maxI, minJ, maxJ, H;
    int colLo, colHi;    // the cell's columns and side walls
    int scanLo, scanHi;  // the same within the grid
    int rowLo, rowHi;    // the rows that change
};

// Moves the contents of the cell's columns and side walls up by one row,
// from row `from` to the top of the file, so that row `from` is repeated.  A
// side wall shared with the next file inward moves only where the column
// beyond it is outside.  The boxes of the cells in the region are collected
// first (FinishGrowth recomputes them).
inline GrowthShift ShiftCellUp(int cell, int from) {
    GrowthShift g;
    g.minI = CellMinI[cell];
    g.maxI = CellMaxI[cell];
    g.minJ = CellMinJ[cell];
    g.maxJ = CellMaxJ[cell];
    g.H = CellHeight[cell];
    g.colLo = g.minI - 1;
    g.colHi = g.maxI + 1;

    // Top of the file, taken in the column just inside the cell's left side.
    int top = NROWS - 1;
    while (top >= 0 && Tc[g.minI + 1][top] == TC_OUTSIDE) top--;
    // The row above the top must exist; the contents of the last row are
    // dropped if the file ever reaches it.
    const int shiftTop = top < NROWS - 2 ? top : NROWS - 2;
    g.rowLo = from;
    g.rowHi = shiftTop + 1 > g.maxJ ? shiftTop + 1 : g.maxJ;
    g.scanLo = g.colLo < 0 ? 0 : g.colLo;
    g.scanHi = g.colHi >= NCOLS ? NCOLS - 1 : g.colHi;
    CollectTouchedCells(g.scanLo, g.scanHi, g.rowLo, g.rowHi);

    for (int k = g.colLo; k <= g.colHi; k++) {
        if (k < 0 || k >= NCOLS) continue;
        // The axis-side wall of a cell of the left half, or of the right half.
        const bool leftAxisWall = k == g.maxI + 1 && g.minI <= AXIS - 2;
        const bool rightAxisWall = k == g.minI - 1 && g.maxI >= AXIS;
        if (!leftAxisWall && !rightAxisWall) {
            ShiftColumnUp(k, from, shiftTop);
            continue;
        }
        for (int r = shiftTop; r >= from; r--) {
            bool copy = true;
            if (leftAxisWall && TcAtPoint(g.maxI + 2, r + 1) != TC_OUTSIDE) copy = false;
            if (rightAxisWall && TcAtPoint(g.minI - 2, r + 1) != TC_OUTSIDE) copy = false;
            if (copy) CopyPoint(k, r, k, r + 1);
        }
        CountGrowthShift(k);
    }
    return g;
}

// Multiplies the auxin of the grown cell's columns, rows minJ..maxJ + 1 (the
// cell after growth), by `factor`.
inline void DiluteGrownAuxin(const GrowthShift& g, double factor) {
    const int top = g.maxJ + 1 < NROWS ? g.maxJ + 1 : NROWS - 1;
    for (int k = g.scanLo; k <= g.scanHi; k++)
        for (int r = g.minJ; r <= top; r++) Caux1[k][r] *= factor;
}

// Multiplies the regulator levels of the cell by `factor` (ARF, the carriers'
// PIN levels and the mean auxin are not diluted).
inline void DiluteCellLevels(int cell, double factor) {
    AA[cell] *= factor;
    BB[cell] *= factor;
    CC[cell] *= factor;
    DD[cell] *= factor;
    Plts[cell] *= factor;
    ARR1[cell] *= factor;
    ARR1RGA[cell] *= factor;
    ARR12[cell] *= factor;
    divTF[cell] *= factor;
    elongTF[cell] *= factor;
    Yuc3[cell] *= factor;
    Gh317[cell] *= factor;
    Gh33[cell] *= factor;
    Aux1[cell] *= factor;
}

// Boxes and sizes of the cells in the moved columns (the rest of the grid is
// unchanged).
inline void FinishGrowth(const GrowthShift& g) {
    CollectTouchedCells(g.scanLo, g.scanHi, g.rowLo, g.rowHi);
    RecomputeTouchedCells(g.scanLo, g.scanHi, g.rowLo, g.rowHi);
}

// Height-dependent dilution: l = (H - 16) * 8/9 + 16.
constexpr double DILUTION_SLOPE = 0.8888888888888888;
constexpr double DILUTION_BASE = 16.0;
constexpr double ONE_ROW_OF_L = 0.8888888888888888;  // growth of l by one row

// The shift of a cell growing by one row under its top: the two rows below
// its top membrane repeat the old row maxJ - 2 (the auxin of row maxJ is the
// old row maxJ - 1), everything above moves up.
inline GrowthShift ShiftBelowTop(int cell) {
    const GrowthShift g = ShiftCellUp(cell, CellMaxJ[cell] - 2);
    for (int k = g.scanLo; k <= g.scanHi; k++) CopyTissue(k, g.maxJ - 1, k, g.maxJ);
    return g;
}

// Growth of the cell by one row at time t: the rows below its top membrane
// repeat the row two under it, the auxin of its columns is diluted by the
// added row and, for flag 0 (not elongating), so are its regulator levels;
// then cull(t) removes what reached the top of the domain.
inline void GrowCellByOneRow(int t, int cell, int flag, void (*cull)(int)) {
    const GrowthShift g = ShiftBelowTop(cell);
    const double l = (g.H - DILUTION_BASE) * DILUTION_SLOPE + DILUTION_BASE;
    DiluteGrownAuxin(g, l / (l + 1));
    if (flag == 0) DiluteCellLevels(cell, l / (l + ONE_ROW_OF_L));

    TimePrevGrowth[cell] = t;
    FinishGrowth(g);
    cull(t);
}

// ---------------------------------------------------------------------------
// Division.

// Divides the cell at time t by a wall through its middle row (SplitCell) and
// sets what the daughters take: both the time as their last growth and
// division, the upper daughter the mother's division count + 1, the lower
// daughter the same or 0 when it starts at stemRow (the daughter that stays
// at the bottom of the meristem keeps the count of a stem cell), and the
// upper daughter every level of the lower (the mother's concentrations).
// Their rates are the caller's.  *lower and *upper are the daughters when the
// result is SPLIT_DONE.
inline SplitResult DivideAtMiddle(int t, int cell, int stemRow, int* lower, int* upper) {
    int L, U;
    const SplitResult split = SplitCell(cell, CellMinJ[cell] + CellHeight[cell] / 2, &L, &U);
    *lower = L;
    *upper = U;
    if (split != SPLIT_DONE) return split;

    TimePrevGrowth[U] = TimePrevGrowth[L] = t;
    CellTimeLastDiv[U] = CellTimeLastDiv[L] = t;
    const int motherCount = CellDivNr[L];
    CellDivNr[U] = motherCount + 1;
    CellDivNr[L] = (CellMinJ[L] == stemRow) ? 0 : motherCount + 1;

    Auxminpassed[U] = Auxminpassed[L];
    ARRpassed[U] = ARRpassed[L];
    ARF[U] = ARF[L];
    AA[U] = AA[L];
    BB[U] = BB[L];
    CC[U] = CC[L];
    DD[U] = DD[L];
    Plt[U] = Plt[L];
    Plts[U] = Plts[L];
    Pltsexpr[U] = Pltsexpr[L];
    PP[U] = PP[L];
    Pin[U] = Pin[L];
    Pin2[U] = Pin2[L];
    Yuc3[U] = Yuc3[L];
    ARR1[U] = ARR1[L];
    ARR1RGA[U] = ARR1RGA[L];
    ARR12[U] = ARR12[L];
    Gh317[U] = Gh317[L];
    Gh33[U] = Gh33[L];
    Aux1[U] = Aux1[L];
    MeanCells[U] = MeanCells[L];
    Rgrow[U] = Rgrow[L];
    Rgrowavg[U] = Rgrowavg[L];
    JustChecked[U] = JustChecked[L];
    CellZonationState[U] = CellZonationState[L];
    CellsInOZ[U] = CellsInOZ[L];
    Diff[U] = Diff[L];
    divTF[U] = divTF[L];
    elongTF[U] = elongTF[L];
    TempdivTF[U] = TempdivTF[L];
    TempelongTF[U] = TempelongTF[L];
    return SPLIT_DONE;
}

// Division when the rates of every cell are set again at the growth step
// after any division (rootsim's timing): until then the upper daughter holds
// the mother's.  Returns whether the grid changed.
inline bool DivideKeepingRates(int t, int cell, int stemRow) {
    int L, U;
    const SplitResult split = DivideAtMiddle(t, cell, stemRow, &L, &U);
    if (split != SPLIT_DONE) return split == SPLIT_FAILED;
    Rdiv[U] = Rdiv[L];
    Relong[U] = Relong[L];
    return true;
}

// ---------------------------------------------------------------------------
// Removal of cells.

constexpr double REMOVED_AUXIN = -10.0;  // auxin of a removed point

// Removes the points of columns minI..maxI, rows fromRow..toRow, and of the
// side-wall columns beside them; a side-wall point stays where the column
// beyond still holds a cell at its row or the row below.
inline void RemoveColumnsFromTop(int minI, int maxI, int fromRow, int toRow) {
    for (int k = minI - 1; k <= maxI + 1; k++) {
        if (k < 0 || k >= NCOLS) continue;
        for (int r = fromRow; r <= toRow; r++) {
            if (k == minI - 1 && (CellAtPoint(minI - 2, r) != -1 || CellAtPoint(minI - 2, r - 1) != -1)) continue;
            if (k == maxI + 1 && (CellAtPoint(maxI + 2, r) != -1 || CellAtPoint(maxI + 2, r - 1) != -1)) continue;
            RemovePoint(k, r, REMOVED_AUXIN, true);
        }
    }
}

// Removes cell c from the grid: its points, its upper wall and its side walls
// (a side-wall point stays where the column beyond still holds a cell at its
// row or the row below); its lower wall stays as the new top of the file.
// A removed epidermal cell adds its height and one cell to its side's root
// size.  The cells are not renumbered.
inline void RemoveCellFromTop(int c) {
    const int minI = CellMinI[c], maxI = CellMaxI[c];
    const int minJ = CellMinJ[c], maxJ = CellMaxJ[c];
    if (Tct[minI][minJ] == TCT_EPIDERMIS) {
        if (minI <= AXIS - 1) {
            leftsize += CellHeight[c];
            totalrootcellnrL += 1;
        } else {
            rightsize += CellHeight[c];
            totalrootcellnrR += 1;
        }
    }
    RemoveColumnsFromTop(minI, maxI, minJ, maxJ + 1 < NROWS ? maxJ + 1 : NROWS - 1);
}

// Removes, in increasing number, the cells marked in `marked` (MAXCELLS
// entries, cleared on the way) and renumbers; nothing when none is marked.
inline void RemoveMarkedCells(unsigned char* marked) {
    bool any = false;
    for (int c = 0; c < MAXCELLS && !any; c++) any = marked[c] != 0;
    if (!any) return;
    for (int c = 0; c < actcells; c++) {
        if (!marked[c]) continue;
        marked[c] = 0;
        RemoveCellFromTop(c);
    }
    // Marks of numbers at or above actcells cannot arise, but leave none behind.
    for (int c = actcells; c < MAXCELLS; c++) marked[c] = 0;
    RenumberCells();
}

// Marks every cell with a cytoplasm or membrane point in row `row`.
inline void MarkCellsInRow(int row, unsigned char* marked) {
    for (int i = 0; i < NCOLS; i++) {
        const int tc = Tc[i][row];
        const int x = Cell[i][row];
        if ((tc == TC_CYTO || tc == TC_MEMBRANE) && x >= 0 && x < MAXCELLS) marked[x] = 1;
    }
}

// Sheds at most one outermost root-cap cell per side: walking up the cap's
// outer column from baseRow (capCol on the left, its mirror on the right), the
// first membrane point whose cell lies above the base wall, beside an
// elongating epidermal cell with a cell at least in transition below it, goes
// with every point above it in its columns and its outer wall column; with
// writeLog, one line per shed cell is appended to the shedding log.
inline void ShedLateralRootcap(int t, int capCol, int baseRow, bool writeLog = true) {
    // The log exists from the first call on; the lines of a call are one record.
    std::unique_ptr<OutputFile> log;
    if (writeLog) log.reset(new OutputFile(FormatString("%s/Lateralrootcapculling", dirname), "a"));
    const int minRow = baseRow + 1;  // the lowest row of a sheddable cell
    for (int side = 0; side < 2; side++) {
        const int s = side == 0 ? capCol : MIRRORSUM - capCol;
        const int dir = side == 0 ? 1 : -1;
        const int limit = side == 0 ? NCOLS - 3 : 1;
        for (int j = baseRow; j < NROWS; j++) {
            if (Tc[s][j] == TC_OUTSIDE) break;
            if (Tc[s][j] != TC_MEMBRANE) continue;
            int c = Cell[s][j];
            if (c < 0) continue;
            int m = (CellMinJ[c] + CellMaxJ[c]) / 2;
            int b = CellAtPoint(CellMinI[c] + 1, CellMinJ[c] - 3);
            if (b < 0) continue;  // no cell below: nothing to compare with
            int mb = (CellMinJ[b] + CellMaxJ[b]) / 2;

            // The epidermal neighbour: the first other cell inward at row m or m + 1.
            int n = -1, k = -1;
            for (int col = s; dir > 0 ? col <= limit : col >= limit; col += dir) {
                int x = CellAtPoint(col, m);
                if (x != -1 && x != CellAtPoint(s, m)) {
                    n = x;
                    k = col;
                    break;
                }
                x = CellAtPoint(col, m + 1);
                if (x != -1 && x != CellAtPoint(s, m + 1)) {
                    n = x;
                    k = col;
                    break;
                }
            }
            if (n < 0) continue;
            int nb = CellAtPoint(k, mb);
            if (nb == -1) nb = CellMinJ[c] <= minRow ? CellAtPoint(k, CellMinJ[c] + 1) : CellAtPoint(k, mb + 1);
            if (nb < 0) continue;  // no neighbour below

            if (!(CellZonationState[n] >= Z_ELONGATING && CellZonationState[nb] >= Z_TRANSITION &&
                  CellMinJ[c] >= minRow))
                continue;

            if (log) log->Printf("%f 1\n", t / 3600.0);
            const int minI = CellMinI[c], maxI = CellMaxI[c], minJ = CellMinJ[c];
            for (int i = minI; i <= maxI; i++)
                for (int r = minJ; r < NROWS; r++) RemovePoint(i, r, REMOVED_AUXIN, true);
            const int wallCol = side == 0 ? minI - 1 : maxI + 1;
            if (wallCol >= 0 && wallCol < NCOLS)
                for (int r = minJ; r < NROWS; r++) RemovePoint(wallCol, r, REMOVED_AUXIN, false);
            RenumberCells();
            break;
        }
    }
}

}  // namespace rules
