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

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

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

    // Whether cell x is still to be decided in this growth step.
    static bool Undecided(int x) { return JustChecked[x] == 0 && CellZonationState[x] < Z_MATURE; }

    // Decides one cell of the growth pass; returns whether the grid changed.
    static bool DecideCell(int t, int u, bool& divided) {
        using namespace growth;
        if (!Undecided(u)) return false;
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

    // The growth pass visits the points of rows upward from the meristem
    // base; in each row the left half from the axis outward, each point's
    // cell (slot 0) followed by the cell at its mirror point (slot 1), the
    // latter only where the former is a cell.  A visit's key orders the
    // visits as the pass makes them.
    static long VisitKey(int g, int m, int slot) { return (static_cast<long>(g) * (AXIS + 1) + (AXIS - m)) * 2 + slot; }
    static void VisitPoint(long key, int* g, int* m, int* slot) {
        *slot = static_cast<int>(key % 2);
        *g = static_cast<int>(key / 2 / (AXIS + 1));
        *m = AXIS - static_cast<int>(key / 2 % (AXIS + 1));
    }

    // The first visit of cell x with a key of at least `from`, found within
    // the cell's box (as a point's cell in its columns of the left half, as a
    // mirror cell in the mirror columns of its columns of the right half); -1
    // when there is none.
    static long FirstVisitFrom(int x, long from) {
        const int uLo = std::max(1, CellMinI[x]), uHi = std::min(AXIS - 1, CellMaxI[x]);
        const int vLo = std::max(1, MIRRORSUM - CellMaxI[x]), vHi = std::min(AXIS - 1, MIRRORSUM - CellMinI[x]);
        for (int g = std::max(CellMinJ[x], BASE); g <= CellMaxJ[x] && g < NROWS; g++) {
            if (VisitKey(g, 1, 1) < from) continue;
            long best = -1;
            for (int m = uHi; m >= uLo; m--)
                if (Cell[m][g] == x && VisitKey(g, m, 0) >= from) {
                    best = VisitKey(g, m, 0);
                    break;
                }
            for (int m = vHi; m >= vLo; m--) {
                const long k = VisitKey(g, m, 1);
                if (best >= 0 && k > best) break;
                if (k >= from && Cell[MIRRORSUM - m][g] == x && Cell[m][g] != -1) {
                    best = k;
                    break;
                }
            }
            if (best >= 0) return best;
        }
        return -1;
    }

    // The visits that decide a cell, in the pass's order from the visit
    // `from` on: each undecided cell's first visit (later visits of a
    // decided cell do nothing).
    static void PlanVisits(long from, std::vector<std::pair<long, int>>& visits) {
        visits.clear();
        for (int x = 0; x < actcells; x++) {
            if (!Undecided(x) || CellMaxJ[x] < BASE) continue;
            const long k = FirstVisitFrom(x, from);
            if (k >= 0) visits.push_back({k, x});
        }
        std::sort(visits.begin(), visits.end());
#ifdef ROOTSIM_CHECKED
        // The same from every visit of the pass on the present grid.
        std::vector<std::pair<long, int>> all;
        std::vector<char> met(static_cast<size_t>(actcells), 0);
        auto meet = [&](long k, int x) {
            if (k < from || x < 0 || x >= actcells || met[x] || !Undecided(x) || CellMaxJ[x] < BASE) return;
            met[x] = 1;
            all.push_back({k, x});
        };
        for (int g = BASE; g < NROWS; g++)
            for (int m = AXIS - 1; m >= 1; m--) {
                if (Cell[m][g] == -1) continue;
                meet(VisitKey(g, m, 0), Cell[m][g]);
                meet(VisitKey(g, m, 1), Cell[MIRRORSUM - m][g]);
            }
        assert(all == visits);
#endif
    }

    static void Growth(int t) {
        if (firstTime == 0) {
            ComputeRates(t);
            firstTime = 1;
        }
        FollowedFactors();
        ComputeGrowthRates();

        // The pass decides each cell at its first visit, in the pass's order.
        // After a change of the grid caused by a point's cell, the pass goes
        // on with the cell at its mirror point in the new grid, and from there
        // on; after one caused by the mirror cell it starts over at the base
        // row with the column two left of the axis.  Either way the visits
        // are planned anew on the new grid.
        bool divided = false;
        static std::vector<std::pair<long, int>> visits;
        const long restart = VisitKey(BASE, AXIS - 2, 0);
        PlanVisits(VisitKey(BASE, AXIS - 1, 0), visits);
        for (size_t next = 0; next < visits.size();) {
            const long key = visits[next].first;
            const int x = visits[next].second;
            next++;
            if (!Undecided(x)) continue;
            if (!DecideCell(t, x, divided)) continue;
            long from = restart;
            int g, m, slot;
            VisitPoint(key, &g, &m, &slot);
            if (slot == 0) {
                // Changed by the point's cell: its mirror cell, read anew.
                const int v = Cell[MIRRORSUM - m][g];
                if (v == -1 || !DecideCell(t, v, divided)) from = VisitKey(g, m, 1) + 1;
            }
            PlanVisits(from, visits);
            next = 0;
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
