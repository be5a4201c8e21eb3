// Cell growth and division, the renumbering and cell tracking of rootsim, and
// the removal of cells at the top of the domain and by shedding of the
// lateral root cap.
#include "rootsim.h"

#include <cstdio>

#include "growth_grid.h"
#include "output_file.h"
#include "plan.h"
#include "renumbering.h"

namespace {

// Height-dependent dilution: l = (H - 16) * 8/9 + 16.
constexpr double DILUTION_SLOPE = 0.8888888888888888;
constexpr double DILUTION_BASE = 16.0;
constexpr double ONE_ROW_OF_L = 0.8888888888888888;  // growth of l by one row

// Values of a removed point.
constexpr double REMOVED_AUXIN = -10.0;

// Lateral root cap shedding: start columns of the two sides and the lowest
// row of a sheddable cell.
constexpr int SHED_COL_LEFT = plan::CAP_COL;
constexpr int SHED_COL_RIGHT = MIRRORSUM - SHED_COL_LEFT;
constexpr int SHED_SCAN_FROM = plan::MERISTEM_BASE_ROW;
constexpr int SHED_MIN_ROW = plan::MERISTEM_BASE_ROW + 1;
constexpr int SHED_INNER_LEFT_LIMIT = NCOLS - 3;   // last column the left walk reaches
constexpr int SHED_INNER_RIGHT_LIMIT = 1;          // last column the right walk reaches

unsigned char cullMark[MAXCELLS];

}  // namespace

// ---------------------------------------------------------------------------
// Growth by one row.

void GrowCell(int t, int cell, int flag) {
    const int minI = CellMinI[cell], maxI = CellMaxI[cell];
    const int minJ = CellMinJ[cell], maxJ = CellMaxJ[cell];
    const int H = CellHeight[cell];
    const int colLo = minI - 1, colHi = maxI + 1;

    // Top of the file, taken in the column just inside the cell's left side.
    int top = NROWS - 1;
    while (top >= 0 && Tc[minI + 1][top] == TC_OUTSIDE) top--;
    // The row above the top must exist; the contents of the last row are
    // dropped if the file ever reaches it.
    int shiftTop = top < NROWS - 2 ? top : NROWS - 2;
    const int rowLo = maxJ - 2;
    const int rowHi = shiftTop + 1 > maxJ ? shiftTop + 1 : maxJ;

    const int scanLo = colLo < 0 ? 0 : colLo, scanHi = colHi >= NCOLS ? NCOLS - 1 : colHi;
    CollectTouchedCells(scanLo, scanHi, rowLo, rowHi);

    for (int k = colLo; k <= colHi; k++) {
        if (k < 0 || k >= NCOLS) continue;
        // A side wall shared with the next file inward moves only where the
        // column beyond it is outside.
        bool conditional = (k == maxI + 1 && minI <= AXIS - 2) || (k == minI - 1 && maxI >= AXIS);
        if (!conditional) {
            ShiftColumnUp(k, rowLo, shiftTop);
            continue;
        }
        for (int r = shiftTop; r >= rowLo; r--) {
            bool copy = true;
            if (k == maxI + 1 && minI <= AXIS - 2 && TcAtPoint(maxI + 2, r + 1) != TC_OUTSIDE) copy = false;
            if (k == minI - 1 && maxI >= AXIS && TcAtPoint(minI - 2, r + 1) != TC_OUTSIDE) copy = false;
            if (copy) CopyPoint(k, r, k, r + 1);
        }
        CountGrowthShift(k);
    }

    // The two rows below the top membrane repeat the old row maxJ - 2; the
    // auxin of row maxJ is the old row maxJ - 1.
    for (int k = colLo; k <= colHi; k++) {
        if (k < 0 || k >= NCOLS) continue;
        CopyTissue(k, maxJ - 1, k, maxJ);
    }

    // Dilution by the added row.
    const double l = (H - DILUTION_BASE) * DILUTION_SLOPE + DILUTION_BASE;
    const double gridFactor = l / (l + 1);
    int dilTop = maxJ + 1 < NROWS ? maxJ + 1 : NROWS - 1;
    for (int k = colLo; k <= colHi; k++) {
        if (k < 0 || k >= NCOLS) continue;
        for (int r = minJ; r <= dilTop; r++) Caux1[k][r] *= gridFactor;
    }
    if (flag == 0) {
        const double cellFactor = l / (l + ONE_ROW_OF_L);
        AA[cell] *= cellFactor;
        BB[cell] *= cellFactor;
        CC[cell] *= cellFactor;
        DD[cell] *= cellFactor;
        Plts[cell] *= cellFactor;
        ARR1[cell] *= cellFactor;
        ARR1RGA[cell] *= cellFactor;
        ARR12[cell] *= cellFactor;
        divTF[cell] *= cellFactor;
        elongTF[cell] *= cellFactor;
        Yuc3[cell] *= cellFactor;
        Gh317[cell] *= cellFactor;
        Gh33[cell] *= cellFactor;
        Aux1[cell] *= cellFactor;
    }

    TimePrevGrowth[cell] = t;

    // Boxes and sizes of the cells in the moved columns (the rest of the grid
    // is unchanged).
    CollectTouchedCells(scanLo, scanHi, rowLo, rowHi);
    RecomputeTouchedCells(scanLo, scanHi, rowLo, rowHi);

    CullOverflowCells(t);
}

// ---------------------------------------------------------------------------
// Division.

namespace {

// Divides the cell; returns whether the grid changed.
bool Divide(int t, int cell) {
    int L, U;
    const SplitResult split = SplitCell(cell, CellMinJ[cell] + CellHeight[cell] / 2, &L, &U);
    if (split != SPLIT_DONE) return split == SPLIT_FAILED;

    TimePrevGrowth[U] = TimePrevGrowth[L] = t;
    CellTimeLastDiv[U] = CellTimeLastDiv[L] = t;
    const int motherCount = CellDivNr[L];
    CellDivNr[U] = motherCount + 1;
    CellDivNr[L] = (CellMinJ[L] == plan::STEM_DAUGHTER_ROW) ? 0 : motherCount + 1;

    // Both daughters keep the mother's concentrations.
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
    // The rates are recomputed for all cells at the next growth step; until
    // then the upper daughter holds the mother's.
    Rdiv[U] = Rdiv[L];
    Relong[U] = Relong[L];
    return true;
}

}  // namespace

bool TryDivideCell(int t, int cell) { return Divide(t, cell); }

void DivideCell(int t, int cell) { Divide(t, cell); }

// ---------------------------------------------------------------------------
// Renumbering and cell tracking.

void StoreOldSituation(int n) { SaveOldCells(n); }

void MapOldToNewSituation(int n) { RemapCells(n, -1); }

void TrackCells(int t) { TrackCellsAt(t, plan::TRACK_COL, plan::TRACK_ROW); }

// ---------------------------------------------------------------------------
// Culling.

void CullOverflowCells(int) {
    bool any = false;
    for (int i = 0; i < NCOLS; i++) {
        int tc = Tc[i][plan::CULL_ROW];
        int x = Cell[i][plan::CULL_ROW];
        if ((tc == TC_CYTO || tc == TC_MEMBRANE) && x >= 0 && x < MAXCELLS) {
            cullMark[x] = 1;
            any = true;
        }
    }
    if (!any) return;

    for (int c = 0; c < actcells; c++) {
        if (!cullMark[c]) continue;
        cullMark[c] = 0;
        const int minI = CellMinI[c], maxI = CellMaxI[c];
        const int minJ = CellMinJ[c], maxJ = CellMaxJ[c];
        if (Tct[minI][minJ] == 5) {
            if (minI <= AXIS - 1) {
                leftsize += CellHeight[c];
                totalrootcellnrL += 1;
            } else {
                rightsize += CellHeight[c];
                totalrootcellnrR += 1;
            }
        }
        int rTop = maxJ + 1 < NROWS ? maxJ + 1 : NROWS - 1;
        for (int k = minI - 1; k <= maxI + 1; k++) {
            if (k < 0 || k >= NCOLS) continue;
            for (int r = minJ; r <= rTop; r++) {
                // A side wall stays where the column beyond still holds a cell.
                if (k == minI - 1 && (CellAtPoint(minI - 2, r) != -1 || CellAtPoint(minI - 2, r - 1) != -1)) continue;
                if (k == maxI + 1 && (CellAtPoint(maxI + 2, r) != -1 || CellAtPoint(maxI + 2, r - 1) != -1)) continue;
                RemovePoint(k, r, REMOVED_AUXIN, true);
            }
        }
    }
    // Marks of numbers at or above actcells cannot arise, but leave none behind.
    for (int c = actcells; c < MAXCELLS; c++) cullMark[c] = 0;

    RenumberCells();
}

void CullLateralRootcap(int t) {
    // The log exists from the first call on; the lines of a call are one record.
    OutputFile log(FormatString("%s/Lateralrootcapculling", dirname), "a");

    for (int side = 0; side < 2; side++) {
        const int s = side == 0 ? SHED_COL_LEFT : SHED_COL_RIGHT;
        const int dir = side == 0 ? 1 : -1;
        const int limit = side == 0 ? SHED_INNER_LEFT_LIMIT : SHED_INNER_RIGHT_LIMIT;
        for (int j = SHED_SCAN_FROM; j < NROWS; j++) {
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
            if (nb == -1) nb = CellMinJ[c] <= SHED_MIN_ROW ? CellAtPoint(k, CellMinJ[c] + 1) : CellAtPoint(k, mb + 1);
            if (nb < 0) continue;  // no neighbour below

            if (!(CellZonationState[n] >= 60 && CellZonationState[nb] >= 50 && CellMinJ[c] >= SHED_MIN_ROW))
                continue;

            log.Printf("%f 1\n", t / 3600.0);
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
