// The growth step shared by rootsim and the b family, given the program's
// landmarks and its own growth functions (a struct P, see below): the factors
// each cell follows, the growth rates, the zonation of every cell and the
// growth pass that calls growth and division, the top of the meristem and the
// lookup of a cell's epidermal neighbour.
//
// P provides (static members):
//   MERISTEM_BASE_ROW      rows at and below belong to the tip; the pass starts here
//   EPIDERMIS_COL          the left epidermal file the zonation follows
//   GROWTH_SOURCE_COL      the vascular column the factors are read from
//   GROWTH_CAP_COL         a column of the outermost cap layer beside the meristem
//   MAX_GROWING_HEIGHT     dividing and elongating cells grow while at most this tall
//   FACTORS_ALONG_FILES    true: every cell follows the factors of the vascular
//                          cell at the height of its epidermal file's cells;
//                          false: every cell follows its own factors
//   RATES_AFTER_DIVISION   true: the rates of every cell are set again at the
//                          growth step after any division (SetRates); false:
//                          division sets the daughters' rates itself
//   void SetRates(int t, int cell)          Rdiv and Relong of a cell at time t
//   void GrowCell(int t, int cell, int flag)
//   bool DivideCell(int t, int cell)        whether the grid changed
//   void CullLateralRootcap(int t)
//   void AfterGrowth()                      last thing of every growth step
#pragma once

#include <cstdio>
#include <cstdlib>

#include "state.h"

namespace rules {

namespace growth {
constexpr double STOPPED_RATE = 1e-7;
constexpr double ROOTCAP_RATE_FACTOR = 1.1;
constexpr double FACTOR_THRESHOLD = 40.0;
constexpr int DIVISION_HEIGHT = 16;
constexpr int DIVISION_HEIGHT_ROOTCAP = 24;
constexpr int NO_DIVISION_HEIGHT = 10000;
constexpr double DIFF_START = 0.001;
constexpr double DIFF_RATE = 0.008;
constexpr double DIFF_DECAY = 0.00008;
constexpr double DIFF_DONE = 85.0;
constexpr double ARR_MARK_LEVEL = 25.0;
}  // namespace growth

// rootsim's division timing: the cycle time T of a cell is 36000 for a root
// cap cell (judged just inside its lower left corner) and otherwise follows
// the divisions behind it, 73800, 55800 and 52200 for 0, 1 and 2, 36000
// after more; Rdiv = (1/8 + ... + 1/16) / T, so that the cell grows from 8
// to 17 rows in T, and Relong = (1/8 + ... + 1/144) / 25200.
inline void SetRatesByDivisions(int i) {
    constexpr int CYCLE_ROOTCAP = 36000;
    constexpr int CYCLE_DIV0 = 73800;
    constexpr int CYCLE_DIV1 = 55800;
    constexpr int CYCLE_DIV2 = 52200;
    constexpr int CYCLE_LATER = 36000;
    constexpr int ELONGATION_TIME = 25200;
    constexpr double HARMONIC_8_16 = 0.7878718503718504;
    constexpr double HARMONIC_8_144 = 2.9576400250862727;
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

}  // namespace rules

// A program's own growth functions, named as rootsim names them.
void GrowCell(int t, int cell, int flag);
bool TryDivideCell(int t, int cell);
void CullLateralRootcap(int t);

namespace rules {

// The growth functions and timing a program gives the growth step when it
// grows as rootsim does: every cell follows the factors along the files,
// rootsim's division timing (the rates of every cell set again after any
// division), and its own GrowCell, TryDivideCell and CullLateralRootcap.
struct RootsimGrowthCalls {
    static constexpr bool FACTORS_ALONG_FILES = true;
    static constexpr bool RATES_AFTER_DIVISION = true;
    static void SetRates(int, int i) { SetRatesByDivisions(i); }
    static void GrowCell(int t, int cell, int flag) { ::GrowCell(t, cell, flag); }
    static bool DivideCell(int t, int cell) { return ::TryDivideCell(t, cell); }
    static void CullLateralRootcap(int t) { ::CullLateralRootcap(t); }
};

template <class P>
struct GrowthRules {
    static constexpr int BASE = P::MERISTEM_BASE_ROW;
    static constexpr int EPI_COL = P::EPIDERMIS_COL;
    static constexpr int EPI_COL_RIGHT = MIRRORSUM - EPI_COL;
    static constexpr int SOURCE_COL = P::GROWTH_SOURCE_COL;
    static constexpr int ROOTCAP_COL = P::GROWTH_CAP_COL;
    static constexpr int ROOTCAP_COL_RIGHT = MIRRORSUM - ROOTCAP_COL;

    // 0: the per-cell rates are computed at the start of the next growth step.
    static inline int firstTime = 0;

    static bool RootcapTypeAtCentre(int c) {
        int ci = (CellMinI[c] + CellMaxI[c]) / 2;
        int cj = (CellMinJ[c] + CellMaxJ[c]) / 2;
        return Tct[ci][cj] <= TCT_LRC4;
    }

    static void ComputeRates(int t) {
        for (int i = 0; i < actcells; i++) {
            if (CellMinJ[i] > BASE) epidermalcell(i);
            P::SetRates(t, i);
        }
    }

    // Each cell of the epidermal file starts a row band that follows the
    // vascular cell at that height; outermost root cap cells follow the
    // epidermal cell beside their base.
    static void SpreadFactors() {
        int last = -1;
        for (int j = BASE; j < NROWS; j++) {
            if (Tc[EPI_COL][j] == TC_OUTSIDE) break;
            int x = Cell[EPI_COL][j];
            if (x == -1 || x == last) continue;
            last = x;
            int src = Cell[SOURCE_COL][j];
            if (src == -1 && j + 1 < NROWS) src = Cell[SOURCE_COL][j + 1];
            if (src == -1) continue;  // a wall at both rows: the band keeps the earlier values
            const double dtf = divTF[src];
            const double etf = elongTF[src];
            for (int i = EPI_COL; i <= EPI_COL_RIGHT; i++) {
                int y = Cell[i][j];
                if (y == -1) continue;
                TempdivTF[y] = dtf;
                TempelongTF[y] = etf;
            }
        }
        last = -1;
        for (int j = BASE; j < NROWS; j++) {
            if (Tc[ROOTCAP_COL][j] == TC_OUTSIDE) break;
            int c = Cell[ROOTCAP_COL][j];
            if (c == -1 || c == last) continue;
            last = c;
            int er = CellMinJ[c];
            int e = Cell[EPI_COL][er];
            if (e == -1 && er + 1 < NROWS) e = Cell[EPI_COL][er + 1];
            if (e == -1) continue;
            if (Tct[ROOTCAP_COL][j] == TCT_LRC1 && Tct[ROOTCAP_COL_RIGHT][j] == TCT_LRC1) {
                const double dtf = TempdivTF[e];
                const double etf = TempelongTF[e];
                TempdivTF[c] = dtf;
                TempelongTF[c] = etf;
                int m = Cell[ROOTCAP_COL_RIGHT][j];
                if (m != -1) {
                    TempdivTF[m] = dtf;
                    TempelongTF[m] = etf;
                }
            }
        }
    }

    static void FollowedFactors() {
        for (int k = 0; k < MAXCELLS; k++) {
            JustChecked[k] = 0;
            TempdivTF[k] = 0;
            TempelongTF[k] = 0;
        }
        if (P::FACTORS_ALONG_FILES) {
            SpreadFactors();
        } else {
            for (int k = 0; k < actcells; k++) {
                TempdivTF[k] = divTF[k];
                TempelongTF[k] = elongTF[k];
            }
        }
    }

    static void ComputeGrowthRates() {
        using namespace growth;
        for (int l = 0; l < actcells; l++) {
            if (CellMinJ[l] > BASE) epidermalcell(l);
            if (CellMaxJ[l] <= BASE - 1) {
                Rgrow[l] = STOPPED_RATE;
            } else if (TempelongTF[l] < FACTOR_THRESHOLD) {
                Rgrow[l] = Rdiv[l];
                if (RootcapTypeAtCentre(l)) Rgrow[l] = Rdiv[l] * ROOTCAP_RATE_FACTOR;
            } else if (CellHeight[l] > P::MAX_GROWING_HEIGHT || Diff[l] >= DIFF_DONE) {
                Rgrow[l] = STOPPED_RATE;
            } else if (RootcapTypeAtCentre(l)) {
                Rgrow[l] = ROOTCAP_RATE_FACTOR * Rdiv[l];
            } else {
                Rgrow[l] = Relong[l];
            }
        }
    }

    static int ReferenceCell(int c) { return CellMinJ[c] <= BASE ? c : epidermalcell(c); }

    // Decides one cell of the growth pass; returns whether the grid changed.
    static bool DecideCell(int t, int u, bool& divided) {
        using namespace growth;
        if (JustChecked[u] != 0 || CellZonationState[u] >= Z_MATURE) return false;
        const int H = CellHeight[u];
        if (CellMaxJ[u] <= BASE - 1) {
            CellZonationState[u] = Z_TIP;
            JustChecked[u] = 1;
            return false;
        }
        const int r = ReferenceCell(u);
        const bool refBelowElongation = CellZonationState[r] < Z_ELONGATING;
        if (TempdivTF[u] > FACTOR_THRESHOLD && refBelowElongation) {
            CellZonationState[u] = Z_DIVIDING;
            JustChecked[u] = 1;
            int divisionHeight;
            if (!RootcapTypeAtCentre(u))
                divisionHeight = DIVISION_HEIGHT;
            else if (CellMinJ[u] <= BASE + (maxmzheight - BASE) / 3)
                divisionHeight = DIVISION_HEIGHT_ROOTCAP;
            else
                divisionHeight = NO_DIVISION_HEIGHT;
            if (H > divisionHeight) {
                divided = true;
                return P::DivideCell(t, u);
            }
            if (H <= P::MAX_GROWING_HEIGHT) return growtiming(t, u, 0) != 0;
            return false;
        }
        if (TempdivTF[u] <= FACTOR_THRESHOLD && TempelongTF[u] < FACTOR_THRESHOLD && refBelowElongation) {
            JustChecked[u] = 1;
            CellZonationState[u] = Z_TRANSITION;
            return growtiming(t, u, 0) != 0;
        }
        JustChecked[u] = 1;
        if (Diff[u] == 0)
            Diff[u] = DIFF_START;
        else
            Diff[u] += 2 * (DIFF_RATE - DIFF_DECAY * Diff[u]);
        if (Diff[u] < DIFF_DONE) {
            CellZonationState[u] = Z_ELONGATING;
            if (H <= P::MAX_GROWING_HEIGHT) {
                Rgrow[u] = Relong[u];
                return growtiming(t, u, 1) != 0;
            }
            return false;
        }
        CellZonationState[u] = CellZonationState[u] <= Z_DIFFERENTIATED ? Z_DIFFERENTIATED : Z_MATURE;
        return false;
    }

    // Lowest and highest row of the cells the pass has still to decide (lo >
    // hi when there are none).  Cells wholly below the pass's first row are
    // never met by it and do not count.
    static void UndecidedRows(int& lo, int& hi) {
        lo = NROWS;
        hi = -1;
        for (int x = 0; x < actcells; x++) {
            if (JustChecked[x] != 0 || CellZonationState[x] >= Z_MATURE) continue;
            if (CellMaxJ[x] < BASE) continue;
            if (CellMinJ[x] < lo) lo = CellMinJ[x];
            if (CellMaxJ[x] > hi) hi = CellMaxJ[x];
        }
    }

    static void Growth(int t) {
        if (firstTime == 0) {
            ComputeRates(t);
            firstTime = 1;
        }
        FollowedFactors();
        ComputeGrowthRates();

        // Rows upward from the meristem base; in each row the left half from
        // the axis outward, each cell followed by its mirror cell.  After a
        // change of the grid caused by the mirror cell the pass starts over at
        // the base row with the column two left of the axis; cells already
        // decided are passed over.  Rows that hold no undecided cell are
        // skipped, which decides exactly the same cells in the same order (a
        // decided cell's visit does nothing).
        bool divided = false;
        int lo, hi;
        UndecidedRows(lo, hi);
        int g = BASE;
        int m = AXIS - 1;
        if (lo > g) g = lo;
        while (g <= hi && g < NROWS) {
            bool restart = false;
            // A point whose two cells are those of the point before it in the
            // row is a visit to cells already decided: passed over.  After a
            // change of the grid the numbers may mean other cells, so nothing
            // is assumed.
            int prevU = -1, prevV = -1;
            for (; m >= 1; m--) {
                int u = Cell[m][g];
                if (u == -1) continue;
                if (u == prevU && Cell[MIRRORSUM - m][g] == prevV) continue;
                // A change of the grid by the first cell moves cells up: the
                // rows still to visit are found again (no restart).
                bool changed = DecideCell(t, u, divided);
                if (changed) UndecidedRows(lo, hi);
                // Read after the first decision, which may have renumbered.
                int v = Cell[MIRRORSUM - m][g];
                prevU = changed ? -1 : u;
                prevV = changed ? -2 : v;
                if (v == -1) continue;
                if (DecideCell(t, v, divided)) {
                    restart = true;
                    break;
                }
            }
            if (restart) {
                UndecidedRows(lo, hi);
                g = BASE;
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
            if (CellMinJ[l] > BASE && ARR12[epidermalcell(l)] > growth::ARR_MARK_LEVEL) ARRpassed[l] = 1;
        }

        P::CullLateralRootcap(t);
        if (divided && P::RATES_AFTER_DIVISION) firstTime = 0;
        maxmzsize();
        P::AfterGrowth();
    }

    static int growtiming(int t, int cell, int flag) {
        if (t >= 1 / (CellHeight[cell] * Rgrow[cell]) + TimePrevGrowth[cell]) {
            TimePrevGrowth[cell] = t;
            P::GrowCell(t, cell, flag);
            return 1;
        }
        return 0;
    }

    static void maxmzsize() {
        for (int j = BASE; j < NROWS; j++) {
            int x = Cell[EPI_COL][j];
            if (x != -1 && CellZonationState[x] > Z_TRANSITION) {
                maxmzheight = j - 2;
                return;
            }
        }
    }

    static int epidermalcell(int cell) {
        const int col = (CellMaxI[cell] <= AXIS - 1 && CellMinI[cell] <= AXIS - 2) ? EPI_COL : EPI_COL_RIGHT;
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
};

}  // namespace rules
