// Renumbering of cells with every per-cell value they carry, the grid side
// of a division, and the tracking of the cells that pass an observation
// point.
#include "renumbering.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "checkpoint.h"
#include "output_file.h"
#include "state.h"
#include "tissue_watch.h"

const char* const kTrackCellNameFormat = "%s/TrackCell_%d";

// Provided by every program: its numbering and geometry, and the two halves
// of the renumbering that every change of the set of cells goes through.
void NumberCells();
void FindCellCorners();
void FindCellSizes();
void StoreOldSituation(int n);
void MapOldToNewSituation(int n);

namespace {

// Scratch space, allocated once for the whole run.
int cornerLookup[NCOLS * NROWS];        // old slot by (minI, minJ); -1 when none
bool cornerLookupReady = false;
int oldToNew[MAXCELLS];                 // new number of each old cell, -1 when gone
int freshIdlist[MAXTRACKED];

int trackFirstTime = 0;
bool capacityReported = false;
const bool registered = (AddCheckpointState("tracking.first_time", &trackFirstTime, sizeof trackFirstTime),
                         AddCheckpointState("division.capacity_reported", &capacityReported, sizeof capacityReported),
                         true);

// Cell numbers of every point when the old cells were saved (the grid already
// changed, the numbers still the old ones), and a count per old cell.
int oldCellOfPoint[NCOLS * NROWS];
int ownerCount[MAXCELLS];

// The old cell (of the n saved) that held most of the points of new cell i,
// the lowest number among equals; -1 when none of its points had one.
int MainOldOwner(int i, int n) {
    std::vector<int> seen;
    for (int x = CellMinI[i]; x <= CellMaxI[i]; x++) {
        for (int y = CellMinJ[i]; y <= CellMaxJ[i]; y++) {
            if (!OnGrid(x, y) || Cell[x][y] != i) continue;
            const int o = oldCellOfPoint[x * NROWS + y];
            if (o < 0 || o >= n) continue;
            if (ownerCount[o]++ == 0) seen.push_back(o);
        }
    }
    int best = -1;
    for (int o : seen) {
        if (best < 0 || ownerCount[o] > ownerCount[best] || (ownerCount[o] == ownerCount[best] && o < best))
            best = o;
    }
    for (int o : seen) ownerCount[o] = 0;
    return best;
}

// Values of a cell that has no predecessor by its corner: those of the old
// cell that held most of its points, or else neutral ones (no levels, growth
// clock at the current time, no divisions, no flags).
void GiveValuesOfNoPredecessor(int i, int n) {
    const int p = MainOldOwner(i, n);
    if (p >= 0) {
#define ROOTSIM_TAKE(n_, o) n_[i] = o[p];
        ROOTSIM_CELL_INT_CARRIED(ROOTSIM_TAKE)
        ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_TAKE)
        ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_TAKE)
#undef ROOTSIM_TAKE
        return;
    }
#define ROOTSIM_ZERO_INT(n_, o) n_[i] = 0;
#define ROOTSIM_ZERO_DBL(n_, o) n_[i] = 0.0;
#define ROOTSIM_ZERO_FLG(n_, o) n_[i] = 0;
    ROOTSIM_CELL_INT_CARRIED(ROOTSIM_ZERO_INT)
    ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_ZERO_DBL)
    ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_ZERO_FLG)
#undef ROOTSIM_ZERO_INT
#undef ROOTSIM_ZERO_DBL
#undef ROOTSIM_ZERO_FLG
    TimePrevGrowth[i] = currentTime;
}

}  // namespace

// Maps the current cells onto the n old ones by their lower-left corners.
// expectedNew is the one new cell that may lack a predecessor (the upper
// daughter of a division), or -1; any other such cell is reported.  When
// continued >= 0 and has no predecessor by its corner, it continues the old
// cell continuedFrom (the lower daughter of a mother of another shape than a
// rectangle, whose corner may have moved).
void RemapCells(int n, int expectedNew, int continued, int continuedFrom) {
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
            GiveValuesOfNoPredecessor(i, n);
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

void RenumberCells() {
    int old = actcells;
    StoreOldSituation(old);
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    MapOldToNewSituation(old);
}

void SaveOldCells(int n) {
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
    memcpy(oldCellOfPoint, Cell[0], sizeof oldCellOfPoint);
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

// ---------------------------------------------------------------------------
// Division.

SplitResult SplitCell(int cell, int w, int* lower, int* upper) {
    *lower = *upper = -1;
    if (actcells >= MAXCELLS) {
        if (!capacityReported) {
            capacityReported = true;
            printf("cell capacity of %d reached: divisions are skipped\n", MAXCELLS);
            fflush(stdout);
        }
        return SPLIT_SKIPPED;
    }
    const int minI = CellMinI[cell], maxI = CellMaxI[cell];
    const int minJ = CellMinJ[cell], maxJ = CellMaxJ[cell];
    TissueChanged();

    // The wall and the two new membranes, on the mother's own points only;
    // each new membrane takes the tissue fields of the mother's membrane on
    // the same side.
    for (int i = minI; i <= maxI; i++) {
        if (Cell[i][w] == cell) {
            Tc[i][w] = TC_WALL;
            Tct[i][w] = TCT_WALL;
            Tmt[i][w] = TMT_NONE;
        }
        if (Cell[i][w + 1] == cell) {
            Tc[i][w + 1] = TC_MEMBRANE;
            Tmt[i][w + 1] = TMT_ROOTWARD;
            for (const TissueField& f : TissueFields()) (*f.field)[i][w + 1] = (*f.field)[i][minJ];
        }
        if (Cell[i][w - 1] == cell) {
            Tc[i][w - 1] = TC_MEMBRANE;
            Tmt[i][w - 1] = TMT_SHOOTWARD;
            for (const TissueField& f : TissueFields()) (*f.field)[i][w - 1] = (*f.field)[i][maxJ];
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
        return SPLIT_FAILED;
    }
    *lower = L;
    *upper = U;
    return SPLIT_DONE;
}

// ---------------------------------------------------------------------------
// Cell tracking.

void ResetCellTracking() { trackFirstTime = 0; }

void TrackCellsAt(int t, int column, int row) {
    if (trackFirstTime == 0) {
        memid = -1;
        for (int s = 0; s < MAXTRACKED; s++) idlist[s] = -1;
        idcounter = 0;
        trackFirstTime = 1;
        return;
    }
    int c = Cell[column][row];
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
        for (int s = 1; s <= used; s++) {
            int k = idlist[s];
            // An identity whose cell has left the tissue writes nothing.
            if (k < 0 || k >= actcells) continue;
            AppendRecord(FormatString(kTrackCellNameFormat, dirname, s),
                         FormatString("%i\t%i\t%f\t%f\t%i\t%f\t%i\t%i\n", t, k, MeanCells[k], PP[k],
                                      CellHeight[k], (CellMaxJ[k] + CellMinJ[k]) * 0.5, CellDivNr[k],
                                      CellTimeLastDiv[k]));
        }
    }
}
