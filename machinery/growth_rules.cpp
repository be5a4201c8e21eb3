// The growth of a root: decisions, growth by one row, division and removal
// of cells.
#include "growth_rules.h"

#include <cstdio>
#include <cstdlib>

#include "checkpoint.h"
#include "growth_grid.h"
#include "renumbering.h"
#include "state.h"

namespace {

// Cycle times of a dividing cell, by the number of divisions behind it.
constexpr int CYCLE_ROOTCAP = 36000;
constexpr int CYCLE_DIV0 = 73800;
constexpr int CYCLE_DIV1 = 55800;
constexpr int CYCLE_DIV2 = 52200;
constexpr int CYCLE_LATER = 36000;
constexpr int ELONGATION_TIME = 25200;
// 1/8 + 1/9 + ... + 1/16 and 1/8 + 1/9 + ... + 1/144.
constexpr double HARMONIC_8_16 = 0.7878718503718504;
constexpr double HARMONIC_8_144 = 2.9576400250862727;

constexpr double STOPPED_RATE = 1e-7;
constexpr double ROOTCAP_RATE_FACTOR = 1.1;
constexpr double FACTOR_THRESHOLD = 40.0;
constexpr int MAX_GROWING_HEIGHT = 143;
constexpr int DIVISION_HEIGHT = 16;
constexpr int DIVISION_HEIGHT_ROOTCAP = 24;
constexpr int NO_DIVISION_HEIGHT = 10000;
constexpr double DIFF_START = 0.001;
constexpr double DIFF_RATE = 0.008;
constexpr double DIFF_DECAY = 0.00008;
constexpr double DIFF_DONE = 85.0;
constexpr double ARR_MARK_LEVEL = 25.0;

// Height-dependent dilution: l = (H - 16) * 8/9 + 16.
constexpr double DILUTION_SLOPE = 0.8888888888888888;
constexpr double DILUTION_BASE = 16.0;
constexpr double ONE_ROW_OF_L = 0.8888888888888888;  // growth of l by one row

// A cell with a point in this row leaves the domain; a removed point holds
// this auxin.
constexpr int CULL_ROW = NROWS - 2;
constexpr double REMOVED_AUXIN = -10.0;

// Last columns the inward walks of the shedding reach on the two sides.
constexpr int SHED_INNER_LEFT_LIMIT = NCOLS - 3;
constexpr int SHED_INNER_RIGHT_LIMIT = 1;

// 0: the per-cell rates are computed at the start of the next growth step.
int growthFirstTime = 0;
const bool registered = (AddCheckpointState("growth.first_time", &growthFirstTime, sizeof growthFirstTime), true);

unsigned char cullMark[MAXCELLS];

inline bool RootcapTypeAtCentre(int c) {
    int ci = (CellMinI[c] + CellMaxI[c]) / 2;
    int cj = (CellMinJ[c] + CellMaxJ[c]) / 2;
    return Tct[ci][cj] <= TCT_LRC4;
}

void ComputeRates(const GrowthPlan& p) {
    for (int i = 0; i < actcells; i++) {
        if (CellMinJ[i] > p.baseRow) EpidermalCellBeside(i, p);
        int x = Tct[CellMinI[i] + 1][CellMinJ[i] + 1];
        int T;
        if (x <= TCT_LRC4) {
            T = CYCLE_ROOTCAP;
        } else if (CellDivNr[i] == 0) {
            T = CYCLE_DIV0;
        } else if (CellDivNr[i] == 1) {
            T = CYCLE_DIV1;
        } else if (CellDivNr[i] == 2) {
            T = CYCLE_DIV2;
        } else {
            T = CYCLE_LATER;
        }
        Rdiv[i] = HARMONIC_8_16 / T;
        Relong[i] = HARMONIC_8_144 / ELONGATION_TIME;
    }
}

void SpreadFactors(const GrowthPlan& p) {
    const int epiRight = MIRRORSUM - p.epidermisCol;
    const int capRight = MIRRORSUM - p.capProbeCol;
    for (int k = 0; k < MAXCELLS; k++) {
        JustChecked[k] = 0;
        TempdivTF[k] = 0;
        TempelongTF[k] = 0;
    }
    // Each cell of the epidermal file starts a row band that follows the
    // vascular cell at that height.
    int last = -1;
    for (int j = p.baseRow; j < NROWS; j++) {
        if (Tc[p.epidermisCol][j] == TC_OUTSIDE) break;
        int x = Cell[p.epidermisCol][j];
        if (x == -1 || x == last) continue;
        last = x;
        int src = Cell[p.factorSourceCol][j];
        if (src == -1 && j + 1 < NROWS) src = Cell[p.factorSourceCol][j + 1];
        if (src == -1) continue;  // a wall at both rows: the band keeps the earlier values
        const double dtf = divTF[src];
        const double etf = elongTF[src];
        for (int i = p.epidermisCol; i <= epiRight; i++) {
            int y = Cell[i][j];
            if (y == -1) continue;
            TempdivTF[y] = dtf;
            TempelongTF[y] = etf;
        }
    }
    // Outermost root cap cells follow the epidermal cell beside their base.
    last = -1;
    for (int j = p.baseRow; j < NROWS; j++) {
        if (Tc[p.capProbeCol][j] == TC_OUTSIDE) break;
        int c = Cell[p.capProbeCol][j];
        if (c == -1 || c == last) continue;
        last = c;
        int er = CellMinJ[c];
        int e = Cell[p.epidermisCol][er];
        if (e == -1 && er + 1 < NROWS) e = Cell[p.epidermisCol][er + 1];
        if (e == -1) continue;
        if (Tct[p.capProbeCol][j] == TCT_LRC1 && Tct[capRight][j] == TCT_LRC1) {
            const double dtf = TempdivTF[e];
            const double etf = TempelongTF[e];
            TempdivTF[c] = dtf;
            TempelongTF[c] = etf;
            int m = Cell[capRight][j];
            if (m != -1) {
                TempdivTF[m] = dtf;
                TempelongTF[m] = etf;
            }
        }
    }
}

void ComputeGrowthRates(const GrowthPlan& p) {
    for (int l = 0; l < actcells; l++) {
        if (CellMinJ[l] > p.baseRow) EpidermalCellBeside(l, p);
        if (CellMaxJ[l] <= p.baseRow - 1) {
            Rgrow[l] = STOPPED_RATE;
        } else if (TempelongTF[l] < FACTOR_THRESHOLD) {
            Rgrow[l] = Rdiv[l];
            if (RootcapTypeAtCentre(l)) Rgrow[l] = Rdiv[l] * ROOTCAP_RATE_FACTOR;
        } else if (CellHeight[l] > MAX_GROWING_HEIGHT || Diff[l] >= DIFF_DONE) {
            Rgrow[l] = STOPPED_RATE;
        } else if (RootcapTypeAtCentre(l)) {
            Rgrow[l] = ROOTCAP_RATE_FACTOR * Rdiv[l];
        } else {
            Rgrow[l] = Relong[l];
        }
    }
}

inline int ReferenceCell(int c, const GrowthPlan& p) {
    return CellMinJ[c] <= p.baseRow ? c : EpidermalCellBeside(c, p);
}

// Decides one cell of the growth pass; returns whether the grid changed.
bool DecideCell(int t, int u, bool& divided, const GrowthPlan& p) {
    if (JustChecked[u] != 0 || CellZonationState[u] >= Z_MATURE) return false;
    const int H = CellHeight[u];
    if (CellMaxJ[u] <= p.baseRow - 1) {
        CellZonationState[u] = Z_TIP;
        JustChecked[u] = 1;
        return false;
    }
    const int r = ReferenceCell(u, p);
    const bool refBelowElongation = CellZonationState[r] < Z_ELONGATING;
    if (TempdivTF[u] > FACTOR_THRESHOLD && refBelowElongation) {
        CellZonationState[u] = Z_DIVIDING;
        JustChecked[u] = 1;
        int divisionHeight;
        if (!RootcapTypeAtCentre(u))
            divisionHeight = DIVISION_HEIGHT;
        else if (CellMinJ[u] <= p.baseRow + (maxmzheight - p.baseRow) / 3)
            divisionHeight = DIVISION_HEIGHT_ROOTCAP;
        else
            divisionHeight = NO_DIVISION_HEIGHT;
        if (H > divisionHeight) {
            divided = true;
            return DivideCellInTwo(t, u, p);
        }
        if (H <= MAX_GROWING_HEIGHT) return GrowIfDue(t, u, 0) != 0;
        return false;
    }
    if (TempdivTF[u] <= FACTOR_THRESHOLD && TempelongTF[u] < FACTOR_THRESHOLD && refBelowElongation) {
        JustChecked[u] = 1;
        CellZonationState[u] = Z_TRANSITION;
        return GrowIfDue(t, u, 0) != 0;
    }
    JustChecked[u] = 1;
    if (Diff[u] == 0)
        Diff[u] = DIFF_START;
    else
        Diff[u] += 2 * (DIFF_RATE - DIFF_DECAY * Diff[u]);
    if (Diff[u] < DIFF_DONE) {
        CellZonationState[u] = Z_ELONGATING;
        if (H <= MAX_GROWING_HEIGHT) {
            Rgrow[u] = Relong[u];
            return GrowIfDue(t, u, 1) != 0;
        }
        return false;
    }
    CellZonationState[u] = CellZonationState[u] <= Z_DIFFERENTIATED ? Z_DIFFERENTIATED : Z_MATURE;
    return false;
}

// Lowest and highest row of the cells the pass has still to decide (lo > hi
// when there are none).  Cells wholly below the pass's first row are never
// met by it and do not count.
void UndecidedRows(int& lo, int& hi, const GrowthPlan& p) {
    lo = NROWS;
    hi = -1;
    for (int x = 0; x < actcells; x++) {
        if (JustChecked[x] != 0 || CellZonationState[x] >= Z_MATURE) continue;
        if (CellMaxJ[x] < p.baseRow) continue;
        if (CellMinJ[x] < lo) lo = CellMinJ[x];
        if (CellMaxJ[x] > hi) hi = CellMaxJ[x];
    }
}

void ReportShedLogFailure(const char* path) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    printf("cannot open %s for appending\n", path);
    fflush(stdout);
}

}  // namespace

void ResetGrowthRates() { growthFirstTime = 0; }

void GrowthStep(int t, const GrowthPlan& p) {
    if (growthFirstTime == 0) {
        ComputeRates(p);
        growthFirstTime = 1;
    }
    SpreadFactors(p);
    ComputeGrowthRates(p);

    // Rows upward from the meristem base; in each row the left half from the
    // axis outward, each cell followed by its mirror cell.  After a change of
    // the grid caused by the mirror cell the pass starts over at the base row
    // with the second column from the axis; cells already decided are passed
    // over.  Rows that hold no undecided cell are skipped, which decides
    // exactly the same cells in the same order (a decided cell's visit does
    // nothing).
    bool divided = false;
    int lo, hi;
    UndecidedRows(lo, hi, p);
    int g = p.baseRow;
    int m = AXIS - 1;
    if (lo > g) g = lo;
    while (g <= hi && g < NROWS) {
        bool restart = false;
        // A point whose two cells are those of the point before it in the row
        // is a visit to cells already decided: passed over.  After a change
        // of the grid the numbers may mean other cells, so nothing is assumed.
        int prevU = -1, prevV = -1;
        for (; m >= 1; m--) {
            int u = Cell[m][g];
            if (u == -1) continue;
            if (u == prevU && Cell[MIRRORSUM - m][g] == prevV) continue;
            // A change of the grid by the first cell moves cells up: the rows
            // still to visit are found again (no restart).
            bool changed = DecideCell(t, u, divided, p);
            if (changed) UndecidedRows(lo, hi, p);
            // Read after the first decision, which may have renumbered.
            int v = Cell[MIRRORSUM - m][g];
            prevU = changed ? -1 : u;
            prevV = changed ? -2 : v;
            if (v == -1) continue;
            if (DecideCell(t, v, divided, p)) {
                restart = true;
                break;
            }
        }
        if (restart) {
            UndecidedRows(lo, hi, p);
            g = p.baseRow;
            m = AXIS - 2;
            if (lo > g) {
                g = lo;
                m = AXIS - 1;
            }
            continue;
        }
        g++;
        m = AXIS - 1;
    }

    // Cytokinin mark from the epidermal neighbour.
    for (int l = 0; l < actcells; l++) {
        if (CellMinJ[l] > p.baseRow && ARR12[EpidermalCellBeside(l, p)] > ARR_MARK_LEVEL) ARRpassed[l] = 1;
    }

    ShedLateralRootcap(t, p);
    if (divided) growthFirstTime = 0;
    FindMeristemTop(p);
}

int GrowIfDue(int t, int cell, int flag) {
    if (t >= 1 / (CellHeight[cell] * Rgrow[cell]) + TimePrevGrowth[cell]) {
        TimePrevGrowth[cell] = t;
        GrowCellByOneRow(t, cell, flag);
        return 1;
    }
    return 0;
}

void FindMeristemTop(const GrowthPlan& p) {
    for (int j = p.baseRow; j < NROWS; j++) {
        int x = Cell[p.epidermisCol][j];
        if (x != -1 && CellZonationState[x] > Z_TRANSITION) {
            maxmzheight = j - 2;
            return;
        }
    }
}

int EpidermalCellBeside(int cell, const GrowthPlan& p) {
    const int col = (CellMaxI[cell] <= AXIS - 1 && CellMinI[cell] <= AXIS - 2) ? p.epidermisCol
                                                                                 : MIRRORSUM - p.epidermisCol;
    int j = (CellMinJ[cell] + CellMaxJ[cell]) / 2;
    if (j >= NROWS) j = NROWS - 1;
    while (j >= 0 && Cell[col][j] == -1) j--;
    if (j >= 0) {
        int e = Cell[col][j];
        int checkRow = CellMaxJ[e] - 1;
        if (checkRow >= 0 && checkRow < NROWS && Tct[col][checkRow] == TCT_EPIDERMIS) return e;
    }
    printf("epidermis not properly located \n");
    fflush(stdout);
    exit(1);
}

// ---------------------------------------------------------------------------
// Growth by one row.

void GrowCellByOneRow(int t, int cell, int flag) {
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

    CullCellsAtTop();
}

// ---------------------------------------------------------------------------
// Division.

bool DivideCellInTwo(int t, int cell, const GrowthPlan& p) {
    int L, U;
    const SplitResult split = SplitCell(cell, CellMinJ[cell] + CellHeight[cell] / 2, &L, &U);
    if (split != SPLIT_DONE) return split == SPLIT_FAILED;

    TimePrevGrowth[U] = TimePrevGrowth[L] = t;
    CellTimeLastDiv[U] = CellTimeLastDiv[L] = t;
    const int motherCount = CellDivNr[L];
    CellDivNr[U] = motherCount + 1;
    CellDivNr[L] = (CellMinJ[L] == p.stemDaughterRow) ? 0 : motherCount + 1;

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

// ---------------------------------------------------------------------------
// Culling.

void CullCellsAtTop() {
    bool any = false;
    for (int i = 0; i < NCOLS; i++) {
        int tc = Tc[i][CULL_ROW];
        int x = Cell[i][CULL_ROW];
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
        if (Tct[minI][minJ] == TCT_EPIDERMIS) {
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

void ShedLateralRootcap(int t, const GrowthPlan& p) {
    FILE* f = nullptr;
    if (p.shedLog) {
        const std::string path = FormatString("%s/Lateralrootcapculling", dirname);
        f = fopen(path.c_str(), "a");
        if (f == nullptr) ReportShedLogFailure(path.c_str());
    }

    const int shedMinRow = p.baseRow + 1;
    for (int side = 0; side < 2; side++) {
        const int s = side == 0 ? p.shedCol : MIRRORSUM - p.shedCol;
        const int dir = side == 0 ? 1 : -1;
        const int limit = side == 0 ? SHED_INNER_LEFT_LIMIT : SHED_INNER_RIGHT_LIMIT;
        for (int j = p.baseRow; j < NROWS; j++) {
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
            if (nb == -1) nb = CellMinJ[c] <= shedMinRow ? CellAtPoint(k, CellMinJ[c] + 1) : CellAtPoint(k, mb + 1);
            if (nb < 0) continue;  // no neighbour below

            if (!(CellZonationState[n] >= Z_ELONGATING && CellZonationState[nb] >= Z_TRANSITION &&
                  CellMinJ[c] >= shedMinRow))
                continue;

            if (f != nullptr) fprintf(f, "%f 1\n", t / 3600.0);
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
    if (f != nullptr) fclose(f);
}
