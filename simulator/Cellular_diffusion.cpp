// Cell-to-cell diffusion of a per-cell quantity through plasmodesmata.
//
// The quantity is spread onto the grid; facing membrane points of two cells
// (across a wall at most three points wide) trade amounts in proportion to
// their difference and the plasmodesmata density of their sides; the top of
// the tissue may drain toward a fixed value; the outer root cap and the first
// columella tier lose a small fraction; each cell then takes the mean over its
// points.  One explicit step: all changes are computed from the spread values.
#include "rootsim.h"

namespace {

constexpr int MAX_SEARCH = 4;                   // a facing membrane lies 2..4 points away
constexpr int TIP_LOSS_LAST_ROW = 139;          // rows 0..139 lose a fraction
constexpr double TIP_LOSS_RATE = 1.388888888888889e-05;  // 1 / 72000 per call
constexpr int TIP_LOSS_COLUMELLA = 13;          // columella tier 1
constexpr int TIP_LOSS_ROOTCAP = 1;             // outermost lateral root cap layer

// Scratch grids, kept for the whole run so that a call allocates nothing.
// Both are refilled from the cell values at the start of every call.
double OldGrid[NCOLS][NROWS];
double NewGrid[NCOLS][NROWS];

// Plasmodesmata density of the membrane side of point (i, j).  A membrane
// point without a side code or without a cell has no density (no transfer
// from its side).
inline double SideDensity(int i, int j) {
    int s = Tmt[i][j];
    if (s < 1 || s > 4 || Cell[i][j] == -1) return 0.0;
    return Plasmodesmatapattern[Cell[i][j]][s - 1];
}

// Trades between (i, j) and the facing membrane point (k, l).
inline void Transfer(int i, int j, int k, int l, double g) {
    double u = OldGrid[i][j];
    double w = OldGrid[k][l];
    NewGrid[i][j] += (w - u) * g;
    NewGrid[k][l] += (u - w) * g;
}

}  // namespace

void CellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
                       double topValue) {
    // 1. Spread.
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            double v = x == -1 ? 0.0 : values[x];
            OldGrid[i][j] = v;
            NewGrid[i][j] = v;
        }
    }

    // 2. Membrane transfer, visiting left, right, down, up from every membrane point.
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] != TC_MEMBRANE) continue;
            const double p = SideDensity(i, j);
            if (i - 1 >= 0 && Tc[i - 1][j] == TC_WALL) {
                for (int k = i - 2; k >= i - MAX_SEARCH && k >= 0; k--) {
                    if (Tc[k][j] == TC_MEMBRANE) {
                        Transfer(i, j, k, j, p * 0.5 * horizontal);
                        break;
                    }
                }
            }
            if (i + 1 < NCOLS && Tc[i + 1][j] == TC_WALL) {
                for (int k = i + 2; k <= i + MAX_SEARCH && k < NCOLS; k++) {
                    if (Tc[k][j] == TC_MEMBRANE) {
                        Transfer(i, j, k, j, p * 0.5 * horizontal);
                        break;
                    }
                }
            }
            if (j - 1 >= 0 && Tc[i][j - 1] == TC_WALL) {
                for (int l = j - 2; l >= j - MAX_SEARCH && l >= 0; l--) {
                    if (Tc[i][l] == TC_MEMBRANE) {
                        Transfer(i, j, i, l, p * 0.5 * vertical);
                        break;
                    }
                }
            }
            if (j + 1 < NROWS && Tc[i][j + 1] == TC_WALL) {
                for (int l = j + 2; l <= j + MAX_SEARCH && l < NROWS; l++) {
                    if (Tc[i][l] == TC_MEMBRANE) {
                        Transfer(i, j, i, l, p * 0.5 * vertical);
                        break;
                    }
                }
            }
        }
    }

    // 3. Top drain: the highest cell point of every column relaxes toward topValue.
    if (drainTop) {
        for (int i = 0; i < NCOLS; i++) {
            for (int j = NROWS - 1; j >= 0; j--) {
                if (Cell[i][j] != -1) {
                    NewGrid[i][j] += (topValue - OldGrid[i][j]) * vertical;
                    break;
                }
            }
        }
    }

    // 4. Loss from the outer root cap and the first columella tier near the tip.
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j <= TIP_LOSS_LAST_ROW && j < NROWS; j++) {
            int t = Tct[i][j];
            if (t == TIP_LOSS_COLUMELLA || t == TIP_LOSS_ROOTCAP)
                NewGrid[i][j] -= OldGrid[i][j] * TIP_LOSS_RATE;
        }
    }

    // 5. Gather the cell means, summed in scan order.
    for (int x = 0; x < MAXCELLS; x++) values[x] = 0;
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            if (x != -1) values[x] += NewGrid[i][j];
        }
    }
    for (int x = 0; x < actcells; x++) values[x] *= InvCellSizes[x];
    // Numbers not in use hold no cell and end at 0, whatever the grid says.
    for (int x = actcells; x < MAXCELLS; x++) values[x] = 0;
}
