// Where the carriers sit and what the auxin step's coefficients are, point
// by point: the rules of the carrier update that rootsim and the b family
// share, given the program's landmarks P, and used both by the update itself
// (rules/carrier_update.h) and by the plain whole-grid form the tests compare
// it with.  A program with rules of its own derives from CarrierRules<P> and
// replaces the static functions it changes.
//
// The landmarks P provides (static constexpr members):
//   TIP_TOP_ROW          rows at or below belong to the root tip
//   TIP_LINE_SLOPE, TIP_LINE_OFFSET   the tip line int(slope * i + offset)
//   MERISTEM_BASE_ROW    the wall under the first meristem band
//   MERISTEM_TOP_ROW     the wall over the last meristem band
//   BODY_TOP_ROW         the wall over the last body cell
//   EPIDERMIS_COL        the left epidermal file (first column)
//   FIRST_BAND_LOW_ROW   cells starting at or below lie in the first band
//   FIRST_BAND_REACH_ROW a cell below starting at or below this row counts as
//                        one of the first band's
//   LOWER_STELE_ROW      stele cells whose cell below starts above this row
//                        are past the lower meristem
//   STELE_TIP_BOTTOM_ROW the lowest row of the stele's tip cells
//   STELE_TIP_LOW_ROW    stele cells starting at or below lie under them
//   STELE_SOURCE_TOP_ROW the stele produces auxin up to this row
//   STELE_AUX1_MAXMZ_LIMIT, STELE_AUX1_HIGH_ROW  the stele's AUX1 follows the
//                        meristem's top up to the limit, the fixed row above
//   SLANT_SLOPE, SLANT_OFFSET  the columella line int(slope * i - offset)
#pragma once

#include "state.h"

double min(double a, double b);
double max(double a, double b);

namespace rules {

template <class P>
struct CarrierRules {
    // Rows and columns of the tissue plan.
    static constexpr int TIP_TOP_ROW = P::TIP_TOP_ROW;
    static constexpr double TIP_LINE_SLOPE = P::TIP_LINE_SLOPE;  // tip line of column i: int(slope * i + offset)
    static constexpr double TIP_LINE_OFFSET = P::TIP_LINE_OFFSET;
    static constexpr int ZONE_DIVIDING_ROW = P::MERISTEM_BASE_ROW;  // zonation at time 0 by the cell's top row
    static constexpr int ZONE_BODY_ROW = P::MERISTEM_TOP_ROW;
    static constexpr int ZONE_LAST_ROW = P::BODY_TOP_ROW - 1;
    static constexpr int EPI_PROBE_COLUMN = P::EPIDERMIS_COL;  // the left epidermal file
    static constexpr int EPI_PROBE_FIRST = P::FIRST_BAND_LOW_ROW;  // rows searched for epidermal boundaries
    static constexpr int EPI_PROBE_LAST = P::MERISTEM_TOP_ROW - 2;
    static constexpr int EPI_MAX_BOUNDARIES = 6;
    static constexpr int ROOTCAP_SEARCH_COLUMNS = 100; // column reach of the shootward search
    static constexpr double ROOTCAP_SEARCH_FRACTION = 0.35;
    static constexpr int CELL_GAP = 3;                 // the neighbouring cell lies three rows beyond
    static constexpr int PRODUCTION_STELE_ROW = P::STELE_SOURCE_TOP_ROW;  // stele production reaches this row
    static constexpr double SLANT_SLOPE = P::SLANT_SLOPE;  // columella boundary lines of the layout
    static constexpr double SLANT_OFFSET = P::SLANT_OFFSET;
    static constexpr int FIRST_BAND_LOW_ROW = P::FIRST_BAND_LOW_ROW;
    static constexpr int FIRST_BAND_REACH_ROW = P::FIRST_BAND_REACH_ROW;
    static constexpr int LOWER_STELE_ROW = P::LOWER_STELE_ROW;
    static constexpr int STELE_TIP_BOTTOM_ROW = P::STELE_TIP_BOTTOM_ROW;
    static constexpr int STELE_TIP_LOW_ROW = P::STELE_TIP_LOW_ROW;
    static constexpr int STELE_AUX1_MAXMZ_LIMIT = P::STELE_AUX1_MAXMZ_LIMIT;
    static constexpr int STELE_AUX1_HIGH_ROW = P::STELE_AUX1_HIGH_ROW;

    // Membrane permeabilities and diffusion weights.
    static constexpr double INFLUX_BASE = 2.5;
    static constexpr double INFLUX_PER_AUX1 = 0.07;
    static constexpr double EFFLUX_BASE = 1.0;
    static constexpr double EFFLUX_PER_PIN = 0.2;

    // Decay and production.
    static constexpr double DECAY_BASE = 5.8e-5;
    static constexpr double DECAY_PER_GH317 = 1.45e-6;
    static constexpr double DECAY_PER_GH33 = 1.45e-7;
    static constexpr double PRODUCTION_PER_YUC3 = 3.75e-4;
    static constexpr double PRODUCTION_HEIGHT_SCALE = 8.0;
    static constexpr double PRODUCTION_SOURCE_TISSUE = 0.066375;
    static constexpr double PRODUCTION_ROOTCAP = 0.0204375;
    static constexpr double PRODUCTION_COLUMELLA = 0.0335625;
    static constexpr double PRODUCTION_BODY = 0.00075;
    static constexpr double PRODUCTION_TIP = 0.0020625;
    static constexpr double TOP_SINK_DECAY = 0.1;
    static constexpr double TOP_SOURCE_PRODUCTION = 3.15;

    enum { PAT_NONE = 0, PAT_PIN1 = 1, PAT_PIN2 = 2 };

    // The PIN patterns are formed by the rules at every update (LeftPinWeight,
    // mirrored); a program whose patterns move with the tissue sets
    // PIN_PATTERN_CARRIED and changes them in ChangeCarriedPattern (column c,
    // rows lo..hi) instead.
    static constexpr bool PIN_PATTERN_CARRIED = false;
    static void ChangeCarriedPattern(int, int, int) {}

    // Whether LeftPinWeight and Aux1Weight depend on nothing but the point
    // classes, cells, tissue types and membrane sides of the grid, the cells'
    // extents (CellMinI..CellMaxJ) and zonation, actcells, maxmzheight and the
    // epidermal boundaries, so that the carrier update may keep them while
    // none of these changes.  Rules that read anything else set it false.
    static constexpr bool PATTERNS_FOLLOW_TISSUE = true;

    // The PIN1-type amount on point (i, j) of cell x whose pattern weight is
    // `share`, and whether it depends on the cell alone (not on the point).
    static double MembranePin1(int, int, int x, double share) { return share * Pin[x]; }
    static constexpr bool PIN1_OF_CELL = true;

    static bool IsMembrane(int i, int j) { return OnGrid(i, j) && Tc[i][j] == TC_MEMBRANE; }

    // The cell across the wall above (below) cell x in column i, or -1 when that
    // point lies off the grid or holds no cell.
    static int CellAbove(int x, int i) {
        int r = CellMaxJ[x] + CELL_GAP;
        return r < NROWS ? Cell[i][r] : -1;
    }
    static int CellBelow(int x, int i) {
        int r = CellMinJ[x] - CELL_GAP;
        return r >= 0 ? Cell[i][r] : -1;
    }

    // Whether the cell below x in column i exists and starts above / at or below row r.
    static bool BelowStartsAbove(int x, int i, int r) {
        int y = CellBelow(x, i);
        return y != -1 && CellMinJ[y] > r;
    }
    static bool BelowStartsAtOrBelow(int x, int i, int r) {
        int y = CellBelow(x, i);
        return y != -1 && CellMinJ[y] <= r;
    }

    // Tip line of a left-half column.
    static int TipLine(int i) { return static_cast<int>(TIP_LINE_SLOPE * i + TIP_LINE_OFFSET); }

    static void ResetZonation() {
        for (int x = 0; x < actcells; x++) {
            int top = CellMaxJ[x];
            if (top < ZONE_DIVIDING_ROW) {
                CellZonationState[x] = 0;
            } else if (top < ZONE_BODY_ROW) {
                CellZonationState[x] = 30;
            } else if (top <= ZONE_LAST_ROW) {
                CellZonationState[x] = 200;
                Diff[x] = 100.0;
            }
        }
    }

    // Inner side of a topmost layer-1 root cap cell: 1 when a shootward point of
    // the same cell lies within Manhattan distance int(0.35 * (top - bottom)).
    static double TopRootcapInnerWeight(int x, int i, int j) {
        int bottom = CellMinJ[x], top = CellMaxJ[x];
        int r = static_cast<int>(ROOTCAP_SEARCH_FRACTION * (top - bottom));
        int lo = static_cast<int>(max(0, i - ROOTCAP_SEARCH_COLUMNS));
        int hi = static_cast<int>(min(NCOLS - 1, i + ROOTCAP_SEARCH_COLUMNS));
        for (int k = lo; k <= hi; k++) {
            int dk = k > i ? k - i : i - k;
            if (dk > r) continue;
            for (int l = bottom; l <= top; l++) {
                if (Cell[k][l] != x || Tmt[k][l] != 1) continue;
                int dl = l > j ? l - j : j - l;
                if (dk + dl <= r) return 1;
            }
        }
        return 0.0005;
    }

    // PIN weight of the left-half membrane point (i, j): sets *grid to the
    // pattern it belongs to and *value to the weight; PAT_NONE when none applies.
    static void PinWeight(int i, int j, int* grid, double* value) {
        const int x = Cell[i][j];
        const int type = Tct[i][j];
        const int side = Tmt[i][j];
        const int bottom = CellMinJ[x];
        const int top = CellMaxJ[x];
        const int z = CellZonationState[x];
        const int L = TipLine(i);
        const bool nearTip = j <= L;
        int g = PAT_NONE;
        double v = 0;
        auto set = [&](int pattern, double w) {
            g = pattern;
            v = w;
        };

        if (type <= 4) {
            // Lateral root cap: PIN2.
            if (type == 1) {
                int above = top + CELL_GAP;
                bool topmost = above >= NROWS || Tc[i][above] == TC_OUTSIDE;
                if (!topmost && j <= TIP_TOP_ROW) {
                    if (side == 1) set(PAT_PIN2, 0.5);
                    else if (side == 3) set(PAT_PIN2, 0.35);
                } else if (!topmost) {
                    if (side == 1) set(PAT_PIN2, 1);
                    else if (side == 3) set(PAT_PIN2, z > 50 ? 0.3 : 0.0005);
                    else if (side == 4) set(PAT_PIN2, z > 50 ? 0 : 0.01);
                } else {
                    if (side == 1) set(PAT_PIN2, 1);
                    else if (side == 3) set(PAT_PIN2, TopRootcapInnerWeight(x, i, j));
                    else if (side == 4) set(PAT_PIN2, 0);
                }
            } else {
                if (side == 1) set(PAT_PIN2, 0.5);
                else if (side == 3) set(PAT_PIN2, 0.35);
            }
        } else if (type == 5) {
            // Epidermis: PIN2.
            if (side == 1) {
                if (z < 100 || z == 200) set(PAT_PIN2, 1);
                else if (z == 100) set(PAT_PIN2, 0.4);
            } else if (side == 2) {
                if (z == 0 && (nearTip || bottom <= ZONE_DIVIDING_ROW)) set(PAT_PIN2, 0.25);
            } else if (side == 3) {
                if (bottom <= ZONE_DIVIDING_ROW || BelowStartsAtOrBelow(x, i, FIRST_BAND_REACH_ROW) || z <= 100 || z == 200)
                    set(PAT_PIN2, 0.1);
            } else if (side == 4) {
                if (bottom <= ZONE_DIVIDING_ROW) set(PAT_PIN2, 0.1);
                else set(PAT_PIN2, z <= 50 ? 0.1 : 0);
            }
        } else if (type == 6) {
            // Cortex: PIN2.
            if (side == 1) {
                if (top == TIP_TOP_ROW - 1 || top == TIP_TOP_ROW) set(PAT_PIN2, 0.1);
                else if (z <= 50) {
                } else if (z <= 99) set(PAT_PIN2, 1);
                else if (z == 100) set(PAT_PIN2, 0.4);
                else if (z == 200) set(PAT_PIN2, 1);
            } else if (side == 2) {
                if (z <= 50) set(PAT_PIN2, 1);
            } else if (side == 3) {
                if (z != 0) set(PAT_PIN2, 0.1);
                else if (nearTip) set(PAT_PIN2, 0.5);
            } else if (side == 4) {
                if (z != 0) set(PAT_PIN2, z == 100 ? 0.1 : 0);
                else if (nearTip) set(PAT_PIN2, 0.5);
            }
        } else if (type == 7) {
            // Endodermis: PIN1.
            if (side == 1) {
                if (nearTip) set(PAT_PIN1, 0.5);
                else set(PAT_PIN1, z == 100 ? 0.1 : 0);
            } else if (side == 2) {
                set(PAT_PIN1, z == 100 ? 0.35 : 1);
            } else if (side == 3) {
                if (z != 0) set(PAT_PIN1, z == 100 ? 0.1 : 0.35);
                else set(PAT_PIN1, nearTip ? 0.7 : 0.35);
            } else if (side == 4) {
                if (z != 0) set(PAT_PIN1, z == 100 ? 0.1 : 0);
                else set(PAT_PIN1, nearTip ? 0.7 : 0.15);
            }
        } else if (type == 8) {
            // Pericycle: PIN1.
            if (side == 1) {
                set(PAT_PIN1, 0);
            } else if (side == 2) {
                if (BelowStartsAbove(x, i, LOWER_STELE_ROW)) set(PAT_PIN1, 1);
                else if (bottom > LOWER_STELE_ROW) set(PAT_PIN1, 0.75);
                else if (bottom >= STELE_TIP_BOTTOM_ROW) set(PAT_PIN1, 0.5);
            } else if (side == 3) {
                if (z != 0) set(PAT_PIN1, bottom > LOWER_STELE_ROW ? 0.1 : 0.5);
                else if (nearTip) set(PAT_PIN1, 0.7);
            } else if (side == 4) {
                if (z != 0) set(PAT_PIN1, 0);
                else if (nearTip) set(PAT_PIN1, 0.7);
            }
        } else if (type <= 11) {
            // Vascular files: PIN1.
            if (side == 1) {
                if (bottom >= STELE_TIP_BOTTOM_ROW && bottom <= LOWER_STELE_ROW) set(PAT_PIN1, 0);
            } else if (side == 2) {
                if (BelowStartsAbove(x, i, LOWER_STELE_ROW)) set(PAT_PIN1, 1);
                else if (bottom > LOWER_STELE_ROW) set(PAT_PIN1, 0.75);
                else if (bottom >= STELE_TIP_BOTTOM_ROW) set(PAT_PIN1, 0.5);
                else if (bottom > STELE_TIP_LOW_ROW) {
                } else set(PAT_PIN1, 0.4);
            } else if (side == 3) {
                if (bottom <= LOWER_STELE_ROW) set(PAT_PIN1, 0.4);
                else if (z >= 30) set(PAT_PIN1, 0);
            } else if (side == 4) {
                if (bottom <= LOWER_STELE_ROW) set(PAT_PIN1, 0.4);
                else if (z >= 30) set(PAT_PIN1, 0.1);
            }
        } else if (type == 12) {
            // Quiescent centre: its lowest row only.
            if (j == bottom) set(PAT_PIN1, 0.5);
        } else if (type == 13) {
            if (side >= 1 && side <= 3) set(PAT_PIN1, 0.5);
        } else if (type <= 16) {
            if (side >= 1 && side <= 3) set(PAT_PIN1, 0.375);
            else if (side == 4) set(PAT_PIN1, 0.5);
        } else {
            if (side == 1) set(PAT_PIN1, 0.375);
            else if (side >= 2 && side <= 4) set(PAT_PIN1, 0.5);
        }
        *grid = g;
        *value = v;
    }

    // PIN weight of the left-half point (i, j) with the corner rule applied: sets
    // *grid to the pattern and *value to the weight; PAT_NONE where no pattern
    // applies.  The pattern holds unchanged at the mirror point, so the PIN1 and
    // PIN2 patterns are exactly symmetric.
    static void LeftPinWeight(int i, int j, int* grid, double* value) {
        *grid = PAT_NONE;
        *value = 0;
        if (Tc[i][j] != TC_MEMBRANE || Cell[i][j] == -1) return;
        bool vertical = IsMembrane(i, j + 1) || IsMembrane(i, j - 1);
        bool horizontal = IsMembrane(i + 1, j) || IsMembrane(i - 1, j);
        // Corner points of an outline are skipped above the tip.
        if (j > TIP_TOP_ROW && vertical && horizontal) return;
        PinWeight(i, j, grid, value);
    }

    // Rows of column EPI_PROBE_COLUMN, within the probed band, where a new cell
    // begins; returns how many were found (at most EPI_MAX_BOUNDARIES).
    static int EpidermalBoundaries(int B[EPI_MAX_BOUNDARIES]) {
        for (int k = 0; k < EPI_MAX_BOUNDARIES; k++) B[k] = 0;
        int n = 0;
        int remembered = Cell[EPI_PROBE_COLUMN][EPI_PROBE_FIRST];
        for (int j = EPI_PROBE_FIRST; j <= EPI_PROBE_LAST && n < EPI_MAX_BOUNDARIES; j++) {
            int x = Cell[EPI_PROBE_COLUMN][j];
            if (x != -1 && x != remembered) {
                B[n++] = j;
                remembered = x;
            }
        }
        return n;
    }

    static double EpidermisAux1(int x, int i, int g, int z, int n, const int B[EPI_MAX_BOUNDARIES]) {
        if (g > EPI_PROBE_LAST) {
            if (z <= 49) return 0.1;
            if (z >= 60) return 1;
            int y = x;
            for (int k = 0; k < 4 && y != -1; k++) y = CellAbove(y, i);
            return (y != -1 && CellZonationState[y] <= 59) ? 0.1 : 1;
        }
        if (n <= 3) return 1;
        if (n == 4) return g < B[3] ? 1 : 0.55;
        if (n == 5) {
            if (g < B[3]) return 1;
            return g < B[4] ? 0.7 : 0.4;
        }
        if (g < B[3]) return 1;
        if (g < B[4]) return 0.775;
        return g < B[5] ? 0.55 : 0.225;
    }

    static double CortexAux1(int x, int i, int g, int z, const int B[EPI_MAX_BOUNDARIES]) {
        if (g < FIRST_BAND_REACH_ROW) return 1;
        if (g < B[1]) return 0.7;
        if (g < B[2]) return 0.4;
        if (z <= 49) return 0.1;
        if (z >= 60) return 0.5;
        int y = CellAbove(x, i);
        return (y != -1 && CellZonationState[y] <= 59) ? 0.1 : 0.5;
    }

    static double SteleAux1(int x, int j, int g) {
        const int centre = (CellMinI[x] + CellMaxI[x]) / 2;
        const int y = CellBelow(x, centre);
        const int y2 = y != -1 ? CellBelow(y, centre) : -1;
        auto startsAtOrBelow = [](int cell, int row) { return cell != -1 && CellMinJ[cell] <= row; };
        if (maxmzheight <= STELE_AUX1_MAXMZ_LIMIT) {
            const int u = (maxmzheight - ZONE_DIVIDING_ROW) / 2;
            const int R = u + TIP_TOP_ROW;
            if (g <= static_cast<int>(max(FIRST_BAND_LOW_ROW, R))) return 2;
            if (startsAtOrBelow(y, FIRST_BAND_LOW_ROW)) return 2;
            if (j <= ZONE_DIVIDING_ROW) return 1;
            if (startsAtOrBelow(y, R)) return 5.0 / 3.0;
            if (startsAtOrBelow(y2, FIRST_BAND_LOW_ROW)) return 5.0 / 3.0;
            if (startsAtOrBelow(y2, R)) return 4.0 / 3.0;
            return 1;
        }
        if (g <= STELE_AUX1_HIGH_ROW) return 2;
        if (j <= ZONE_DIVIDING_ROW) return 1;
        if (startsAtOrBelow(y, STELE_AUX1_HIGH_ROW)) return 5.0 / 3.0;
        if (startsAtOrBelow(y2, FIRST_BAND_LOW_ROW)) return 5.0 / 3.0;
        if (startsAtOrBelow(y2, STELE_AUX1_HIGH_ROW)) return 4.0 / 3.0;
        return 1;
    }

    // AUX1 weight of the membrane point (i, j) of cell x, on both halves with
    // mirrored rules.
    static double Aux1Weight(int i, int j, int x, int n, const int B[EPI_MAX_BOUNDARIES]) {
        const int g = CellMinJ[x];
        const int o = Tct[i][j];
        const int z = CellZonationState[x];
        const int h = Tct[(CellMinI[x] + CellMaxI[x]) / 2][(g + CellMaxJ[x]) / 2];
        double w = 0;
        if (h >= 14) return 3;
        if (h == 12) {
            w = 3;
            if (o == 13) return 1;
        } else {
            if (o == 13) return 1;
            if (h >= 1 && h <= 4) return 1;
        }
        // Tip corner: at or below the tip line of either half, never on the axis.
        bool belowTipLine = false;
        if (i < AXIS) belowTipLine = j <= TipLine(i);
        else if (i > AXIS) belowTipLine = j <= TIP_LINE_SLOPE * (MIRRORSUM - i) + TIP_LINE_OFFSET;
        if (j <= TIP_TOP_ROW && belowTipLine && !(h >= 8 && h <= 12)) return 1;
        if (o == 5) w = EpidermisAux1(x, i, g, z, n, B);
        else if (o == 6) w = CortexAux1(x, i, g, z, B);
        else if (o == 7) w = 0;
        else if (o >= 8 && o <= 11) w = SteleAux1(x, j, g);
        return w;
    }

    // Base production rate k of a point of tissue t at (i, j).
    static double BaseProduction(int i, int j, int t) {
        if (t == 17 || t == 12) return PRODUCTION_SOURCE_TISSUE;
        if (j <= PRODUCTION_STELE_ROW && t >= 8 && t <= 11) return PRODUCTION_SOURCE_TISSUE;
        if (j <= TIP_TOP_ROW && j < static_cast<int>(SLANT_SLOPE * i - SLANT_OFFSET) &&
            j < static_cast<int>(SLANT_SLOPE * (MIRRORSUM - i) - SLANT_OFFSET) && t >= 5 && t <= 7)
            return PRODUCTION_SOURCE_TISSUE;
        if (t >= 1 && t <= 4) return PRODUCTION_ROOTCAP;
        if (t >= 13 && t <= 16) return PRODUCTION_COLUMELLA;
        return j > TIP_TOP_ROW ? PRODUCTION_BODY : PRODUCTION_TIP;
    }
};

}  // namespace rules
