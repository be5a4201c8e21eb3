// The grid operations of growth, division and removal of cells.
#include "growth_grid.h"

#include <cstring>

#include "checkpoint.h"
#include "state.h"
#include "tissue_watch.h"
#include "tissue_extent.h"

namespace {

// Rows each column's contents moved upward since the carrier update took the
// count (see TakeGrowthShifts).
int growthShifts[NCOLS];
const bool registered = (AddCheckpointState("growth.shifts", growthShifts, sizeof growthShifts), true);

// Cells whose geometry is recomputed, and their boxes before.
unsigned char inSet[MAXCELLS];
int setList[MAXCELLS];
int setCount = 0;
int savedMinI[MAXCELLS], savedMaxI[MAXCELLS], savedMinJ[MAXCELLS], savedMaxJ[MAXCELLS];

void ClearTouchedSet() {
    for (int s = 0; s < setCount; s++) inSet[setList[s]] = 0;
    setCount = 0;
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

}  // namespace

int CellAtPoint(int i, int j) { return OnGrid(i, j) ? Cell[i][j] : -1; }

int TcAtPoint(int i, int j) { return OnGrid(i, j) ? Tc[i][j] : TC_OUTSIDE; }

int TakeGrowthShifts(int column) {
    const int n = growthShifts[column];
    growthShifts[column] = 0;
    return n;
}

void CountGrowthShift(int k) { growthShifts[k]++; }

void CopyTissue(int fi, int fj, int ti, int tj) {
    TissueChanged();
    Tc[ti][tj] = Tc[fi][fj];
    Tct[ti][tj] = Tct[fi][fj];
    Tmt[ti][tj] = Tmt[fi][fj];
    Cell[ti][tj] = Cell[fi][fj];
    for (const TissueField& f : TissueFields()) (*f.field)[ti][tj] = (*f.field)[fi][fj];
}

void CopyPoint(int fi, int fj, int ti, int tj) {
    CopyTissue(fi, fj, ti, tj);
    Caux1[ti][tj] = Caux1[fi][fj];
}

void ShiftColumnUp(int k, int lo, int hi) {
    if (hi < lo) return;
    growthShifts[k]++;
    TissueChanged();
    size_t n = static_cast<size_t>(hi - lo + 1);
    memmove(&Tc[k][lo + 1], &Tc[k][lo], n * sizeof(int));
    memmove(&Tct[k][lo + 1], &Tct[k][lo], n * sizeof(int));
    memmove(&Tmt[k][lo + 1], &Tmt[k][lo], n * sizeof(int));
    memmove(&Cell[k][lo + 1], &Cell[k][lo], n * sizeof(int));
    for (const TissueField& f : TissueFields()) {
        double* col = (*f.field)[k];
        memmove(&col[lo + 1], &col[lo], n * sizeof(double));
    }
    memmove(&Caux1[k][lo + 1], &Caux1[k][lo], n * sizeof(double));
}

void RemovePoint(int i, int j, double auxin, bool clearFields) {
    TissueChanged();
    Tc[i][j] = TC_OUTSIDE;
    Tct[i][j] = 0;
    Tmt[i][j] = 0;
    Cell[i][j] = -1;
    Caux1[i][j] = auxin;
    if (clearFields) {
        for (const TissueField& f : TissueFields())
            if (f.clearedOnRemoval) (*f.field)[i][j] = 0.0;
    }
}

// ---------------------------------------------------------------------------
// Geometry of the cells touched by a shift.  Only the points of columns
// colLo..colHi and rows rowLo..rowHi change in a shift, so only the cells with
// a point there (before or after) need new boxes and sizes; the rest of such a
// cell lies inside its old box outside that region.

void CollectTouchedCells(int colLo, int colHi, int rowLo, int rowHi) {
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

void RecomputeTouchedCells(int colLo, int colHi, int rowLo, int rowHi) {
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
