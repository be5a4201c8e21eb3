// The b family's growth: renumbering and tracking, the growth step, the
// growth of a cell by one row, division with the family's division timing,
// and the removal of cells at the top of the domain and by shedding of the
// lateral root cap.
//
// The rules are rootsim's (rules/growth_rules.h, rules/growth_execution.h)
// with the family's landmarks, except where a program has its own:
// - division timing: a daughter's division rate is 0.8845238095238095 / T
//   (1/4 + ... + 1/8 over its cycle time T) and its elongation rate
//   (1/8 + 1/9 + ... + 1/72) / 25200, with T from a table by tissue type
//   (b1, b2), 21600 (b4) or the division count (b3); the division rates
//   are set by division itself, not recomputed for all cells after it;
// - b1 grows a cell without diluting its levels and dilutes its auxin by the
//   plain height ratio, and culls by cutting each half of the root straight
//   across;
// - b3 follows every cell's own factors, inserts the new row of a growing
//   cell at its middle, and crops a cell that reaches the top to its lower
//   half.
#include "bfamily.h"

#include "checkpoint.h"
#include "growth_execution.h"
#include "growth_rules.h"
#include "plan.h"
#include "tissue_watch.h"

namespace {

// ---------------------------------------------------------------------------
// Division timing.

constexpr double DIVISION_HARMONIC = 0.8845238095238095;  // 1/4 + 1/5 + 1/6 + 1/7 + 1/8
constexpr double ELONGATION_TIME = 25200;
constexpr double UNIFORM_CYCLE = 21600;       // b4, and any type the table does not name
constexpr double SLOW_LOWER_FACTOR = 1.35;    // a lowest daughter's cycle is this much longer

// 1/8 + 1/9 + ... + 1/72, summed in that order.
constexpr double HarmonicSum(int from, int to) {
    double s = 0;
    for (int k = from; k <= to; k++) s += 1.0 / k;
    return s;
}
constexpr double ELONGATION_HARMONIC = HarmonicSum(bplan::NEWBORN_ROWS, bplan::ELONGATION_MAX_ROWS);

int CentreTissue(int cell) { return Tct[(CellMinI[cell] + CellMaxI[cell]) / 2][(CellMinJ[cell] + CellMaxJ[cell]) / 2]; }

// A lower daughter keeps its sister's pace when it is a root-cap cell (at its
// lowest row and leftmost column) or when, below it down to the base wall in
// the column just right of its left edge, another cell lies; the lowest cell
// of a file, just above the base wall, cycles 1.35 times slower.
bool KeepsPace(int cell) {
    if (Tct[CellMinI[cell]][CellMinJ[cell]] == TCT_LRC1) return true;
    if (CellMinJ[cell] <= bplan::MERISTEM_BASE_ROW) return false;
    const int col = CellMinI[cell] + 1;
    for (int r = CellMinJ[cell] - 1; r >= bplan::MERISTEM_BASE_ROW; r--)
        if (Cell[col][r] >= 0 && Cell[col][r] != cell) return true;
    return false;
}

void SetCycle(int cell, double T) {
    Rdiv[cell] = DIVISION_HARMONIC / T;
    Relong[cell] = ELONGATION_HARMONIC / ELONGATION_TIME;
}

// The cycle of a lower daughter whose sister cycles in T.
double LowerCycle(int cell, double T) { return KeepsPace(cell) ? T : SLOW_LOWER_FACTOR * T; }

// b3: the cycle time by the divisions behind a cell (rootsim's 73800, 55800,
// 52200 and 36000 at the family's pace, 21600 for 36000); root cap 21600.
double CountCycleTime(int cell) {
    static const double byCount[] = {44280, 33480, 31320, 21600};
    if (CentreTissue(cell) <= TCT_LRC4) return UNIFORM_CYCLE;
    const int n = CellDivNr[cell];
    return byCount[n < 0 ? 0 : (n > 3 ? 3 : n)];
}

// ---------------------------------------------------------------------------
// The growth step of b1, b2, b4 and of b3.

struct B2Growth : bplan::B2 {
    static constexpr bool FACTORS_ALONG_FILES = true;
    static constexpr bool RATES_AFTER_DIVISION = false;
    // At the first growth step every cell cycles as a lower daughter of its
    // tissue and place would (the division timing of b1 and b2): b4 shares
    // this step and differs only from its first division on.
    static void SetRates(int t, int cell) { SetCycle(cell, LowerCycle(cell, TypeCycleTime(CentreTissue(cell), t))); }
    static void GrowCell(int t, int cell, int flag) { bfamily::Installed().GrowCell(t, cell, flag); }
    static bool DivideCell(int t, int cell) { return bfamily::Installed().DivideCell(t, cell); }
    static void CullLateralRootcap(int t) { ::CullLateralRootcap(t); }
    static void AfterGrowth() {}
};

struct B3Growth : bplan::B3 {
    static constexpr bool FACTORS_ALONG_FILES = false;
    static constexpr bool RATES_AFTER_DIVISION = false;
    static void SetRates(int, int cell) { SetCycle(cell, CountCycleTime(cell)); }
    static void GrowCell(int t, int cell, int flag) { bfamily::Installed().GrowCell(t, cell, flag); }
    static bool DivideCell(int t, int cell) { return bfamily::Installed().DivideCell(t, cell); }
    static void CullLateralRootcap(int t) { ::CullLateralRootcap(t); }
    static void AfterGrowth() {}
};

using B2Step = rules::GrowthRules<B2Growth>;
using B3Step = rules::GrowthRules<B3Growth>;

const bool registered =
    (AddCheckpointState("growth.first_time", &B2Step::firstTime, sizeof B2Step::firstTime),
     AddCheckpointState("b3.growth.first_time", &B3Step::firstTime, sizeof B3Step::firstTime), true);

// Divides the cell; the daughters' cycles are upper(L, U) and lower(L) for
// the lower daughter L and the upper U.  Returns whether the grid changed.
template <typename Upper, typename Lower>
bool DivideWith(int t, int cell, Upper upper, Lower lower) {
    int L, U;
    const SplitResult split = rules::DivideAtMiddle(t, cell, bplan::STEM_DAUGHTER_ROW, &L, &U);
    if (split != SPLIT_DONE) return split == SPLIT_FAILED;
    SetCycle(U, upper(L, U));
    SetCycle(L, lower(L));
    return true;
}

unsigned char cullMark[MAXCELLS];

}  // namespace

// ---------------------------------------------------------------------------
// Renumbering and tracking.

void StoreOldSituation(int n) { SaveOldCells(n); }

void MapOldToNewSituation(int n) { RemapCells(n, -1); }

void TrackCells(int t) { TrackCellsAt(t, bplan::TRACK_COL, bplan::TRACK_ROW); }

// ---------------------------------------------------------------------------
// The growth step.

void Growth(int t) { B2Step::Growth(t); }

int growtiming(int t, int cell, int flag) { return B2Step::growtiming(t, cell, flag); }

void maxmzsize() { B2Step::maxmzsize(); }

int epidermalcell(int cell) { return B2Step::epidermalcell(cell); }

void ResetGrowthSchedule() {
    B2Step::firstTime = 0;
    B3Step::firstTime = 0;
}

double TypeCycleTime(int tissue, int t) {
    const bool fourth = t % 4 == 0;
    switch (tissue) {
        case TCT_EPIDERMIS: return fourth ? 21780 : 21420;
        case TCT_CORTEX: return fourth ? 21510 : 21690;
        case TCT_ENDODERMIS: return fourth ? 21730 : 21470;
        case TCT_PERICYCLE: return fourth ? 21490 : 21710;
        case TCT_VASC_OUTER: return fourth ? 21660 : 21540;
        case TCT_VASC_MIDDLE: return fourth ? 21380 : 21820;
        case TCT_VASC_CENTRAL: return fourth ? 21630 : 21570;
        default: return UNIFORM_CYCLE;
    }
}

// ---------------------------------------------------------------------------
// Growth of a cell, division.

void GrowCell(int t, int cell, int flag) {
    rules::GrowCellByOneRow(t, cell, flag, bfamily::Installed().CullOverflowCells);
}

// b1, b2: the upper daughter cycles by the tissue type at the centre of the
// lower daughter (the mother's type) at this time; the lower daughter the
// same or, as the lowest of its file, 1.35 times slower.
bool DivideCell(int t, int cell) {
    return DivideWith(
        t, cell, [t](int L, int) { return TypeCycleTime(CentreTissue(L), t); },
        [t](int L) { return LowerCycle(L, TypeCycleTime(CentreTissue(L), t)); });
}

// ---------------------------------------------------------------------------
// Removal of cells.

void CullOverflowCells(int) {
    rules::MarkCellsInRow(bplan::CULL_ROW, cullMark);
    rules::RemoveMarkedCells(cullMark);
}

void CullLateralRootcap(int t) { rules::ShedLateralRootcap(t, bplan::SHED_COL, bplan::MERISTEM_BASE_ROW); }

// ---------------------------------------------------------------------------
// rootsim_b1

namespace b1 {

// The older growth: the cell's levels are not diluted, whatever the flag, and
// the auxin of its columns is diluted by the plain height ratio H / (H + 1).
void GrowCell(int t, int cell, int) {
    const rules::GrowthShift g = rules::ShiftBelowTop(cell);
    rules::DiluteGrownAuxin(g, g.H / (g.H + 1.0));
    TimePrevGrowth[cell] = t;
    rules::FinishGrowth(g);
    bfamily::Installed().CullOverflowCells(t);
}

// The older culling cuts the root straight across, each half on its own
// (the growth step grows a cell and its mirror cell in turn, so each half
// reaches the cull row in turn): when cells of a half reach the cull row,
// every cell of that half that reaches the lowest row of those cells goes
// with them.
void CullOverflowCells(int) {
    rules::MarkCellsInRow(bplan::CULL_ROW, cullMark);
    int cutRow[2] = {NROWS, NROWS};  // left half, right half
    auto half = [](int c) { return CellMinI[c] > AXIS ? 1 : 0; };
    for (int c = 0; c < actcells; c++)
        if (cullMark[c] && CellMinJ[c] < cutRow[half(c)]) cutRow[half(c)] = CellMinJ[c];
    if (cutRow[0] == NROWS && cutRow[1] == NROWS) return;
    for (int c = 0; c < actcells; c++)
        if (CellMaxJ[c] >= cutRow[half(c)]) cullMark[c] = 1;
    rules::RemoveMarkedCells(cullMark);
}

}  // namespace b1

// ---------------------------------------------------------------------------
// rootsim_b4

namespace b4 {

// Both daughters cycle in 21600, a lower daughter that is the lowest of its
// file in 1.35 * 21600.
bool DivideCell(int t, int cell) {
    return DivideWith(
        t, cell, [](int, int) { return UNIFORM_CYCLE; }, [](int L) { return LowerCycle(L, UNIFORM_CYCLE); });
}

}  // namespace b4

// ---------------------------------------------------------------------------
// rootsim_b3

namespace b3 {

void Growth(int t) { B3Step::Growth(t); }

// The new row of a growing cell is its middle row, repeated; its auxin and,
// for flag 0, its levels are diluted by the plain height ratio H / (H + 1).
void GrowCell(int t, int cell, int flag) {
    const rules::GrowthShift g = rules::ShiftCellUp(cell, CellMinJ[cell] + CellHeight[cell] / 2);
    const double f = g.H / (g.H + 1.0);
    rules::DiluteGrownAuxin(g, f);
    if (flag == 0) rules::DiluteCellLevels(cell, f);
    TimePrevGrowth[cell] = t;
    rules::FinishGrowth(g);
    bfamily::Installed().CullOverflowCells(t);
}

// Each daughter cycles by the divisions behind it.
bool DivideCell(int t, int cell) {
    return DivideWith(t, cell, [](int, int U) { return CountCycleTime(U); }, CountCycleTime);
}

// A cell that reaches the cull row is cropped to its lower half: a new top
// wall at its middle row, with a shootward membrane under it, and everything
// above it in its columns removed (a side wall stays where the column beyond
// still holds a cell); a cell of two rows or fewer goes whole.  The rows an
// epidermal cell loses count as root length.
void CullOverflowCells(int) {
    rules::MarkCellsInRow(bplan::CULL_ROW, cullMark);
    bool any = false;
    for (int c = 0; c < actcells; c++) {
        if (!cullMark[c]) continue;
        cullMark[c] = 0;
        any = true;
        TissueChanged();
        if (CellHeight[c] <= 2) {
            rules::RemoveCellFromTop(c);
            continue;
        }
        const int minI = CellMinI[c], maxI = CellMaxI[c], maxJ = CellMaxJ[c];
        const int w = CellMinJ[c] + CellHeight[c] / 2;
        if (Tct[minI][CellMinJ[c]] == TCT_EPIDERMIS) (minI <= AXIS - 1 ? leftsize : rightsize) += maxJ - w + 1;
        for (int i = minI; i <= maxI; i++) {
            if (Cell[i][w] == c) {
                Tc[i][w] = TC_WALL;
                Tct[i][w] = TCT_WALL;
                Tmt[i][w] = TMT_NONE;
            }
            if (Cell[i][w - 1] == c) {
                Tc[i][w - 1] = TC_MEMBRANE;
                Tmt[i][w - 1] = TMT_SHOOTWARD;
                for (const TissueField& f : TissueFields()) (*f.field)[i][w - 1] = (*f.field)[i][maxJ];
            }
        }
        rules::RemoveColumnsFromTop(minI, maxI, w + 1, maxJ + 1 < NROWS ? maxJ + 1 : NROWS - 1);
    }
    if (any) RenumberCells();
}

}  // namespace b3
