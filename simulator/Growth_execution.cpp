// Cell growth and division on the grid, renumbering of cells with all their
// per-cell values, cell tracking, and the removal of cells at the top of the
// domain and by shedding of the lateral root cap.
#include "rootsim.h"

#include <cstdio>
#include <cstring>

#include "tissue_extent.h"

namespace {

// Height-dependent dilution: l = (H - 16) * 8/9 + 16.
constexpr double DILUTION_SLOPE = 0.8888888888888888;
constexpr double DILUTION_BASE = 16.0;
constexpr double ONE_ROW_OF_L = 0.8888888888888888;  // growth of l by one row

// A cell with a point in this row is removed after growth.
constexpr int CULL_ROW = NROWS - 2;

// Values of a removed point.
constexpr double REMOVED_AUXIN = -10.0;

// Observation point of the cell tracking (pericycle, above the stem cells).
constexpr int TRACK_COL = 83;
constexpr int TRACK_ROW = 166;

// Lateral root cap shedding: start columns of the two sides and the lowest
// row of a sheddable cell.
constexpr int SHED_COL_LEFT = 21;
constexpr int SHED_COL_RIGHT = MIRRORSUM - SHED_COL_LEFT;
constexpr int SHED_SCAN_FROM = 149;
constexpr int SHED_MIN_ROW = 150;
constexpr int SHED_INNER_LEFT_LIMIT = NCOLS - 3;   // last column the left walk reaches
constexpr int SHED_INNER_RIGHT_LIMIT = 1;          // last column the right walk reaches

// Division: the lower daughter starting at this row keeps a stem cell's count.
constexpr int STEM_DAUGHTER_ROW = 150;

// Rows each column's contents moved upward since the carrier update took the
// count (see TakeGrowthShifts).
int growthShifts[NCOLS];

// Scratch space, allocated once for the whole run.
int cornerLookup[NCOLS * NROWS];        // old slot by (minI, minJ); -1 when none
bool cornerLookupReady = false;
int oldToNew[MAXCELLS];                 // new number of each old cell, -1 when gone
int freshIdlist[MAXTRACKED];
unsigned char inSet[MAXCELLS];           // cells whose geometry is recomputed
int setList[MAXCELLS];
int setCount = 0;
int savedMinI[MAXCELLS], savedMaxI[MAXCELLS], savedMinJ[MAXCELLS], savedMaxJ[MAXCELLS];
unsigned char cullMark[MAXCELLS];

int trackFirstTime = 0;
bool trackOpenReported = false;
bool shedOpenReported = false;
bool capacityReported = false;

inline bool OnGrid(int i, int j) { return i >= 0 && i < NCOLS && j >= 0 && j < NROWS; }

// Cell number at a point; points beyond the grid hold no cell.
inline int CellAt(int i, int j) { return OnGrid(i, j) ? Cell[i][j] : -1; }

// Point class at a point; points beyond the grid are outside.
inline int TcAt(int i, int j) { return OnGrid(i, j) ? Tc[i][j] : TC_OUTSIDE; }

inline void CopyContents(int fi, int fj, int ti, int tj) {
    Tc[ti][tj] = Tc[fi][fj];
    Tct[ti][tj] = Tct[fi][fj];
    Tmt[ti][tj] = Tmt[fi][fj];
    Cell[ti][tj] = Cell[fi][fj];
    PinPrePat[ti][tj] = PinPrePat[fi][fj];
    Pin2PrePat[ti][tj] = Pin2PrePat[fi][fj];
    Aux1PrePat[ti][tj] = Aux1PrePat[fi][fj];
    Caux1[ti][tj] = Caux1[fi][fj];
}

// Moves rows lo..hi of column k up by one row (to lo+1..hi+1).
inline void ShiftColumn(int k, int lo, int hi) {
    if (hi < lo) return;
    growthShifts[k]++;
    size_t n = static_cast<size_t>(hi - lo + 1);
    memmove(&Tc[k][lo + 1], &Tc[k][lo], n * sizeof(int));
    memmove(&Tct[k][lo + 1], &Tct[k][lo], n * sizeof(int));
    memmove(&Tmt[k][lo + 1], &Tmt[k][lo], n * sizeof(int));
    memmove(&Cell[k][lo + 1], &Cell[k][lo], n * sizeof(int));
    memmove(&PinPrePat[k][lo + 1], &PinPrePat[k][lo], n * sizeof(double));
    memmove(&Pin2PrePat[k][lo + 1], &Pin2PrePat[k][lo], n * sizeof(double));
    memmove(&Aux1PrePat[k][lo + 1], &Aux1PrePat[k][lo], n * sizeof(double));
    memmove(&Caux1[k][lo + 1], &Caux1[k][lo], n * sizeof(double));
}

inline void RemovePoint(int i, int j, bool clearPrepattern) {
    Tc[i][j] = TC_OUTSIDE;
    Tct[i][j] = 0;
    Tmt[i][j] = 0;
    Cell[i][j] = -1;
    Caux1[i][j] = REMOVED_AUXIN;
    if (clearPrepattern) {
        PinPrePat[i][j] = 0.0;
        Pin2PrePat[i][j] = 0.0;
    }
}

// ---------------------------------------------------------------------------
// Geometry of the cells touched by a shift.  Only the points of columns
// colLo..colHi and rows rowLo..rowHi change in a shift, so only the cells with
// a point there (before or after) need new boxes and sizes; the rest of such a
// cell lies inside its old box outside that region.

void ClearTouchedSet() {
    for (int s = 0; s < setCount; s++) inSet[setList[s]] = 0;
    setCount = 0;
}

void CollectTouched(int colLo, int colHi, int rowLo, int rowHi) {
    for (int k = colLo; k <= colHi; k++) {
        const int* col = Cell[k];
        int prev = -1;
        for (int r = rowLo; r <= rowHi; r++) {
            int x = col[r];
            if (x == prev) continue;
            prev = x;
            if (x >= 0 && !inSet[x]) {
                inSet[x] = 1;
                setList[setCount++] = x;
            }
        }
    }
}

// Adds the points in rows lo..hi of column k (only those of cell `only` when
// it is not -1), one run of equal numbers at a time.
inline void AddColumnRuns(const int* col, int k, int lo, int hi, int only) {
    int r = lo;
    while (r <= hi) {
        int x = col[r];
        if (x < 0 || (only >= 0 && x != only)) {
            r++;
            continue;
        }
        int first = r;
        while (r <= hi && col[r] == x) r++;
        if (k < CellMinI[x]) CellMinI[x] = k;
        if (k > CellMaxI[x]) CellMaxI[x] = k;
        if (first < CellMinJ[x]) CellMinJ[x] = first;
        if (r - 1 > CellMaxJ[x]) CellMaxJ[x] = r - 1;
        CellSizes[x] += r - first;
    }
}

void RecomputeTouched(int colLo, int colHi, int rowLo, int rowHi) {
    for (int s = 0; s < setCount; s++) {
        int x = setList[s];
        savedMinI[x] = CellMinI[x];
        savedMaxI[x] = CellMaxI[x];
        savedMinJ[x] = CellMinJ[x];
        savedMaxJ[x] = CellMaxJ[x];
        CellMinI[x] = CellMinJ[x] = 10000;
        CellMaxI[x] = CellMaxJ[x] = 0;
        CellSizes[x] = 0;
    }
    // Points inside the changed region.
    for (int k = colLo; k <= colHi; k++) AddColumnRuns(Cell[k], k, rowLo, rowHi, -1);
    // Points outside it, all within the cell's old box.
    for (int s = 0; s < setCount; s++) {
        int x = setList[s];
        if (savedMinI[x] > savedMaxI[x]) continue;  // had no points
        for (int k = savedMinI[x]; k <= savedMaxI[x]; k++) {
            const int* col = Cell[k];
            if (k < colLo || k > colHi) {
                AddColumnRuns(col, k, savedMinJ[x], savedMaxJ[x], x);
                continue;
            }
            // Below and above the changed rows of this column.
            int below = rowLo - 1 < savedMaxJ[x] ? rowLo - 1 : savedMaxJ[x];
            AddColumnRuns(col, k, savedMinJ[x], below, x);
            int above = rowHi + 1 > savedMinJ[x] ? rowHi + 1 : savedMinJ[x];
            AddColumnRuns(col, k, above, savedMaxJ[x], x);
        }
    }
    for (int s = 0; s < setCount; s++) {
        int x = setList[s];
        if (x < actcells) {
            CellWidth[x] = CellMaxI[x] - CellMinI[x] + 1;
            CellHeight[x] = CellMaxJ[x] - CellMinJ[x] + 1;
            InvCellSizes[x] = 1.0 / CellSizes[x];
        } else {
            CellWidth[x] = CellHeight[x] = 0;
            InvCellSizes[x] = 0;
        }
    }
    ClearTouchedSet();
}

// ---------------------------------------------------------------------------
// Renumbering.

void StoreDefaultsForUnmatched(int i) {
    // Empty-slot values: a cell without a predecessor never takes another
    // cell's values.
#define ROOTSIM_DEF_INT(n, o) n[i] = -1;
#define ROOTSIM_DEF_DBL(n, o) n[i] = -1.0;
#define ROOTSIM_DEF_FLG(n, o) n[i] = 1;
    ROOTSIM_CELL_INT_CARRIED(ROOTSIM_DEF_INT)
    ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_DEF_DBL)
    ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_DEF_FLG)
#undef ROOTSIM_DEF_INT
#undef ROOTSIM_DEF_DBL
#undef ROOTSIM_DEF_FLG
}

// Maps the current cells onto the n old ones by their lower-left corners.
// expectedNew is the one new cell that may lack a predecessor (the upper
// daughter of a division), or -1; any other such cell is reported.  When
// continued >= 0 and has no predecessor by its corner, it continues the old
// cell continuedFrom (the lower daughter of a mother of another shape than a
// rectangle, whose corner may have moved).
void RemapCells(int n, int expectedNew, int continued = -1, int continuedFrom = -1) {
    if (!cornerLookupReady) {
        for (int p = 0; p < NCOLS * NROWS; p++) cornerLookup[p] = -1;
        cornerLookupReady = true;
    }
    if (n > MAXCELLS) n = MAXCELLS;
    // Later slots overwrite earlier ones with the same corner.
    for (int s = 0; s < n; s++) {
        if (OnGrid(OldSit[s].mini, OldSit[s].minj))
            cornerLookup[OldSit[s].mini * NROWS + OldSit[s].minj] = s;
    }
    for (int s = 0; s < MAXCELLS; s++) oldToNew[s] = -1;
    for (int i = 0; i < actcells; i++) {
        int p = OnGrid(CellMinI[i], CellMinJ[i]) ? cornerLookup[CellMinI[i] * NROWS + CellMinJ[i]] : -1;
        MapCellNrs[i] = p;
        if (p >= 0) oldToNew[p] = i;
    }
    if (continued >= 0 && continued < actcells && MapCellNrs[continued] < 0 && continuedFrom >= 0 &&
        continuedFrom < n && oldToNew[continuedFrom] < 0) {
        MapCellNrs[continued] = continuedFrom;
        oldToNew[continuedFrom] = continued;
    }
    for (int s = 0; s < n; s++) {
        if (OnGrid(OldSit[s].mini, OldSit[s].minj))
            cornerLookup[OldSit[s].mini * NROWS + OldSit[s].minj] = -1;
    }

    // Tracked identities follow their cells; identities of removed cells
    // become -1.
    int used = idcounter < MAXTRACKED - 1 ? idcounter : MAXTRACKED - 1;
    for (int s = 0; s < MAXTRACKED; s++) freshIdlist[s] = -1;
    for (int s = 1; s <= used; s++) {
        int p = idlist[s];
        if (p >= 0 && p < MAXCELLS) freshIdlist[s] = oldToNew[p];
    }
    for (int s = 0; s < MAXTRACKED; s++) idlist[s] = freshIdlist[s];
    memid = (memid >= 0 && memid < MAXCELLS) ? oldToNew[memid] : -1;

    for (int i = 0; i < actcells; i++) {
        int p = MapCellNrs[i];
        if (p < 0) {
            StoreDefaultsForUnmatched(i);
            if (i != expectedNew) {
                printf("cell %d has no predecessor after renumbering\n", i);
                fflush(stdout);
            }
            continue;
        }
#define ROOTSIM_MAP(n, o) n[i] = o[p];
        ROOTSIM_CELL_INT_CARRIED(ROOTSIM_MAP)
        ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_MAP)
        ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_MAP)
#undef ROOTSIM_MAP
    }
}

void Renumber() {
    int old = actcells;
    StoreOldSituation(old);
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    MapOldToNewSituation(old);
}

void LogFailedOpen(const char* path, bool& reported) {
    if (reported) return;
    reported = true;
    printf("cannot open %s for appending\n", path);
    fflush(stdout);
}

}  // namespace

int TakeGrowthShifts(int column) {
    const int n = growthShifts[column];
    growthShifts[column] = 0;
    return n;
}

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
    CollectTouched(scanLo, scanHi, rowLo, rowHi);

    for (int k = colLo; k <= colHi; k++) {
        if (k < 0 || k >= NCOLS) continue;
        // A side wall shared with the next file inward moves only where the
        // column beyond it is outside.
        bool conditional = (k == maxI + 1 && minI <= AXIS - 2) || (k == minI - 1 && maxI >= AXIS);
        if (!conditional) {
            ShiftColumn(k, rowLo, shiftTop);
            continue;
        }
        for (int r = shiftTop; r >= rowLo; r--) {
            bool copy = true;
            if (k == maxI + 1 && minI <= AXIS - 2 && TcAt(maxI + 2, r + 1) != TC_OUTSIDE) copy = false;
            if (k == minI - 1 && maxI >= AXIS && TcAt(minI - 2, r + 1) != TC_OUTSIDE) copy = false;
            if (copy) CopyContents(k, r, k, r + 1);
        }
        growthShifts[k]++;
    }

    // The two rows below the top membrane repeat the old row maxJ - 2; the
    // auxin of row maxJ is the old row maxJ - 1.
    for (int k = colLo; k <= colHi; k++) {
        if (k < 0 || k >= NCOLS) continue;
        Tc[k][maxJ] = Tc[k][maxJ - 1];
        Tct[k][maxJ] = Tct[k][maxJ - 1];
        Tmt[k][maxJ] = Tmt[k][maxJ - 1];
        Cell[k][maxJ] = Cell[k][maxJ - 1];
        PinPrePat[k][maxJ] = PinPrePat[k][maxJ - 1];
        Pin2PrePat[k][maxJ] = Pin2PrePat[k][maxJ - 1];
        Aux1PrePat[k][maxJ] = Aux1PrePat[k][maxJ - 1];
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
    CollectTouched(scanLo, scanHi, rowLo, rowHi);
    RecomputeTouched(scanLo, scanHi, rowLo, rowHi);

    CullOverflowCells(t);
}

// ---------------------------------------------------------------------------
// Division.

namespace {

// Divides the cell; returns whether the grid changed.
bool Divide(int t, int cell) {
    if (actcells >= MAXCELLS) {
        if (!capacityReported) {
            capacityReported = true;
            printf("cell capacity of %d reached: divisions are skipped\n", MAXCELLS);
            fflush(stdout);
        }
        return false;
    }
    const int minI = CellMinI[cell], maxI = CellMaxI[cell];
    const int minJ = CellMinJ[cell], maxJ = CellMaxJ[cell];
    const int H = CellHeight[cell];
    const int w = minJ + H / 2;

    // The wall and the two new membranes, on the mother's own points only.
    for (int i = minI; i <= maxI; i++) {
        if (Cell[i][w] == cell) {
            Tc[i][w] = TC_WALL;
            Tct[i][w] = 20;
            Tmt[i][w] = 0;
        }
        if (Cell[i][w + 1] == cell) {
            Tc[i][w + 1] = TC_MEMBRANE;
            Tmt[i][w + 1] = 2;
            PinPrePat[i][w + 1] = PinPrePat[i][minJ];
            Pin2PrePat[i][w + 1] = Pin2PrePat[i][minJ];
            Aux1PrePat[i][w + 1] = Aux1PrePat[i][minJ];
        }
        if (Cell[i][w - 1] == cell) {
            Tc[i][w - 1] = TC_MEMBRANE;
            Tmt[i][w - 1] = 1;
            PinPrePat[i][w - 1] = PinPrePat[i][maxJ];
            Pin2PrePat[i][w - 1] = Pin2PrePat[i][maxJ];
            Aux1PrePat[i][w - 1] = Aux1PrePat[i][maxJ];
        }
    }

    const int old = actcells;
    StoreOldSituation(old);
    NumberCells();
    FindCellCorners();
    FindCellSizes();

    // The daughters lie just below and just above the new wall.
    int L = -1, U = -1;
    for (int i = minI; i <= maxI; i++) {
        int lo = Cell[i][w - 1], hi = Cell[i][w + 1];
        if (lo >= 0 && hi >= 0 && lo != hi) {
            L = lo;
            U = hi;
            break;
        }
    }
    RemapCells(old, U, L, cell);
    if (L < 0 || U < 0 || MapCellNrs[U] >= 0) {
        printf("division of the cell at column %d, row %d did not give two new cells\n", minI, minJ);
        fflush(stdout);
        return true;
    }

    TimePrevGrowth[U] = TimePrevGrowth[L] = t;
    CellTimeLastDiv[U] = CellTimeLastDiv[L] = t;
    const int motherCount = CellDivNr[L];
    CellDivNr[U] = motherCount + 1;
    CellDivNr[L] = (CellMinJ[L] == STEM_DAUGHTER_ROW) ? 0 : motherCount + 1;

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
// Renumbering.

void StoreOldSituation(int n) {
    for (int s = 0; s < MAXCELLS; s++) {
        OldSit[s].cell = -1;
        OldSit[s].mini = -1;
        OldSit[s].minj = -1;
    }
#define ROOTSIM_RESET_INT(n_, o) for (int s = 0; s < MAXCELLS; s++) o[s] = -1;
#define ROOTSIM_RESET_DBL(n_, o) for (int s = 0; s < MAXCELLS; s++) o[s] = -1.0;
#define ROOTSIM_RESET_FLG(n_, o) for (int s = 0; s < MAXCELLS; s++) o[s] = 1;
    ROOTSIM_CELL_INT_CARRIED(ROOTSIM_RESET_INT)
    ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_RESET_DBL)
    ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_RESET_FLG)
#undef ROOTSIM_RESET_INT
#undef ROOTSIM_RESET_DBL
#undef ROOTSIM_RESET_FLG
    if (n > MAXCELLS) n = MAXCELLS;
    for (int s = 0; s < n; s++) {
        OldSit[s].cell = s;
        OldSit[s].mini = CellMinI[s];
        OldSit[s].minj = CellMinJ[s];
#define ROOTSIM_SAVE(n_, o) o[s] = n_[s];
        ROOTSIM_CELL_INT_CARRIED(ROOTSIM_SAVE)
        ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_SAVE)
        ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_SAVE)
#undef ROOTSIM_SAVE
    }
}

void MapOldToNewSituation(int n) { RemapCells(n, -1); }

// ---------------------------------------------------------------------------
// Cell tracking.

void ResetCellTracking() { trackFirstTime = 0; }

void TrackCells(int t) {
    if (trackFirstTime == 0) {
        memid = -1;
        for (int s = 0; s < MAXTRACKED; s++) idlist[s] = -1;
        idcounter = 0;
        trackFirstTime = 1;
        return;
    }
    int c = Cell[TRACK_COL][TRACK_ROW];
    if (c != -1 && c != memid) {
        memid = c;
        idcounter = idcounter + 1;
        if (idcounter <= MAXTRACKED - 1) idlist[idcounter] = c;
    }
    if (idcounter > MAXTRACKED - 1) {
        printf("idcounter is groter dan 3000\n");
        fflush(stdout);
    }
    if (t % 100 == 0) {
        int used = idcounter < MAXTRACKED - 1 ? idcounter : MAXTRACKED - 1;
        char path[DIRNAME_SIZE + 64];
        for (int s = 1; s <= used; s++) {
            int k = idlist[s];
            // An identity whose cell has left the tissue writes nothing.
            if (k < 0 || k >= actcells) continue;
            snprintf(path, sizeof path, "%s/TrackCell_%d", dirname, s);
            FILE* f = fopen(path, "a");
            if (f == nullptr) {
                LogFailedOpen(path, trackOpenReported);
                continue;
            }
            fprintf(f, "%i\t%i\t%f\t%f\t%i\t%f\t%i\t%i\n", t, k, MeanCells[k], PP[k], CellHeight[k],
                    (CellMaxJ[k] + CellMinJ[k]) * 0.5, CellDivNr[k], CellTimeLastDiv[k]);
            fclose(f);
        }
    }
}

// ---------------------------------------------------------------------------
// Culling.

void CullOverflowCells(int) {
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
                if (k == minI - 1 && (CellAt(minI - 2, r) != -1 || CellAt(minI - 2, r - 1) != -1)) continue;
                if (k == maxI + 1 && (CellAt(maxI + 2, r) != -1 || CellAt(maxI + 2, r - 1) != -1)) continue;
                RemovePoint(k, r, true);
            }
        }
    }
    // Marks of numbers at or above actcells cannot arise, but leave none behind.
    for (int c = actcells; c < MAXCELLS; c++) cullMark[c] = 0;

    Renumber();
}

void CullLateralRootcap(int t) {
    char path[DIRNAME_SIZE + 64];
    snprintf(path, sizeof path, "%s/Lateralrootcapculling", dirname);
    FILE* f = fopen(path, "a");
    if (f == nullptr) LogFailedOpen(path, shedOpenReported);

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
            int b = CellAt(CellMinI[c] + 1, CellMinJ[c] - 3);
            if (b < 0) continue;  // no cell below: nothing to compare with
            int mb = (CellMinJ[b] + CellMaxJ[b]) / 2;

            // The epidermal neighbour: the first other cell inward at row m or m + 1.
            int n = -1, k = -1;
            for (int col = s; dir > 0 ? col <= limit : col >= limit; col += dir) {
                int x = CellAt(col, m);
                if (x != -1 && x != CellAt(s, m)) {
                    n = x;
                    k = col;
                    break;
                }
                x = CellAt(col, m + 1);
                if (x != -1 && x != CellAt(s, m + 1)) {
                    n = x;
                    k = col;
                    break;
                }
            }
            if (n < 0) continue;
            int nb = CellAt(k, mb);
            if (nb == -1) nb = CellMinJ[c] <= SHED_MIN_ROW ? CellAt(k, CellMinJ[c] + 1) : CellAt(k, mb + 1);
            if (nb < 0) continue;  // no neighbour below

            if (!(CellZonationState[n] >= 60 && CellZonationState[nb] >= 50 && CellMinJ[c] >= SHED_MIN_ROW))
                continue;

            if (f != nullptr) fprintf(f, "%f 1\n", t / 3600.0);
            const int minI = CellMinI[c], maxI = CellMaxI[c], minJ = CellMinJ[c];
            for (int i = minI; i <= maxI; i++)
                for (int r = minJ; r < NROWS; r++) RemovePoint(i, r, true);
            const int wallCol = side == 0 ? minI - 1 : maxI + 1;
            if (wallCol >= 0 && wallCol < NCOLS)
                for (int r = minJ; r < NROWS; r++) RemovePoint(wallCol, r, false);
            Renumber();
            break;
        }
    }
    if (f != nullptr) fclose(f);
}
