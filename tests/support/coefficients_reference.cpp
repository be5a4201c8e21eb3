// A plain, whole-grid form of the carrier and coefficient update and of the
// cell-to-cell diffusion, kept as the oracle that the production code must
// match bit for bit.  Every pass sweeps the whole grid, as written first.
#include "coefficients_reference.h"

#include "carrier_rules.h"
#include "plan.h"
#include "rootsim.h"

namespace coefref {

namespace {

using CR = rules::CarrierRules<plan::Landmarks>;

// PIN1 and PIN2 patterns: computed on the left half (axis included) and
// written unchanged at the mirror point, so they are exactly symmetric.
void PinPrepatterns() {
    for (int i = AXIS; i >= 0; i--) {
        const int m = MIRRORSUM - i;
        for (int j = 0; j < NROWS; j++) {
            int grid;
            double v;
            CR::LeftPinWeight(i, j, &grid, &v);
            if (grid == CR::PAT_PIN1) {
                PinPrePat[i][j] = v;
                PinPrePat[m][j] = v;
            } else if (grid == CR::PAT_PIN2) {
                Pin2PrePat[i][j] = v;
                Pin2PrePat[m][j] = v;
            }
        }
    }
}

// AUX1 pattern on both halves with mirrored rules.
void Aux1Prepattern() {
    int B[CR::EPI_MAX_BOUNDARIES];
    const int n = CR::EpidermalBoundaries(B);
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_MEMBRANE && Cell[i][j] != -1) Aux1PrePat[i][j] = CR::Aux1Weight(i, j, Cell[i][j], n, B);
}

void MembraneAmounts() {
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            if (x == -1) {
                Cpin1M[i][j] = 0;
                Cpin2M[i][j] = 0;
                Aux1M[i][j] = 0;
            } else {
                Cpin1M[i][j] = PinPrePat[i][j] * Pin[x];
                Cpin2M[i][j] = Pin2PrePat[i][j] * Pin2[x];
                Aux1M[i][j] = Aux1PrePat[i][j] * Aux1[x];
            }
        }
    }
}

void ProductionAndDecay() {
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            if (x == -1) continue;
            daux[i][j] = CR::DECAY_BASE + CR::DECAY_PER_GH317 * Gh317[x] + CR::DECAY_PER_GH33 * Gh33[x];
            double k = CR::BaseProduction(i, j, Tct[i][j]);
            paux[i][j] = (CR::PRODUCTION_PER_YUC3 * Yuc3[x] + k) * CR::PRODUCTION_HEIGHT_SCALE / CellHeight[x];
        }
    }
}

// Membrane and diffusion coefficients toward each neighbour on the grid.
void NeighbourCoefficients() {
    static const int di[4] = {1, -1, 0, 0};
    static const int dj[4] = {0, 0, 1, -1};
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            const int p = Tc[i][j];
            for (int k = 0; k < 4; k++) {
                const int qi = i + di[k], qj = j + dj[k];
                if (!OnGrid(qi, qj)) continue;
                const int q = Tc[qi][qj];
                if (p == TC_WALL && q == TC_MEMBRANE) {
                    Inf[i][j][k] = -(CR::INFLUX_BASE + CR::INFLUX_PER_AUX1 * Aux1M[qi][qj]);
                    Eff[i][j][k] = CR::EFFLUX_BASE + CR::EFFLUX_PER_PIN * (Cpin1M[qi][qj] + Cpin2M[qi][qj]);
                } else if (p == TC_MEMBRANE && q == TC_WALL) {
                    Inf[i][j][k] = CR::INFLUX_BASE + CR::INFLUX_PER_AUX1 * Aux1M[i][j];
                    Eff[i][j][k] = -(CR::EFFLUX_BASE + CR::EFFLUX_PER_PIN * (Cpin1M[i][j] + Cpin2M[i][j]));
                }
                if (p == TC_WALL && q == TC_WALL) {
                    DiffAuxC[i][j][k] = DIFFUSION_WALL;
                } else if ((p == TC_CYTO || p == TC_MEMBRANE) && (q == TC_CYTO || q == TC_MEMBRANE)) {
                    DiffAuxC[i][j][k] = DIFFUSION_CELL;
                }
            }
        }
    }
}

// The first wall point over a membrane, seen from the top of each column, is
// a sink above the outer tissues and the auxin supply above the stele.
void TopBoundary() {
    for (int i = 0; i < NCOLS; i++) {
        for (int j = NROWS - 1; j >= 1; j--) {
            if (Tc[i][j] != TC_WALL || Tc[i][j - 1] != TC_MEMBRANE) continue;
            int t = Tct[i][j - 1];
            if (t >= 5 && t <= 7) daux[i][j] = CR::TOP_SINK_DECAY;
            else if (t >= 8 && t <= 11) paux[i][j] = CR::TOP_SOURCE_PRODUCTION;
            break;
        }
    }
}

void ClearGrid(double** g) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) g[i][j] = 0;
}

void ClearRecords(NeighbourRates** g) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            for (int k = 0; k < 4; k++) g[i][j][k] = 0;
}

}  // namespace

void ReferenceUpdateMembraneProteinsAndFluxes(int time) {
    ClearGrid(PinPrePat);
    ClearGrid(Pin2PrePat);
    ClearGrid(Aux1PrePat);
    if (time == 0) CR::ResetZonation();
    PinPrepatterns();
    Aux1Prepattern();

    MembraneAmounts();
    ClearGrid(daux);
    ClearGrid(paux);
    ClearRecords(Inf);
    ClearRecords(Eff);
    ClearRecords(DiffAuxC);
    ProductionAndDecay();
    NeighbourCoefficients();
    TopBoundary();
    // The transport step factorises its line systems anew.
    TransportCoefficientsChanged();
}

namespace cellular {

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

void ReferenceCellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
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

}  // namespace cellular

void ReferenceCellularDiffusion(double* values, double vertical, double horizontal, bool drainTop,
                                double topValue) {
    cellular::ReferenceCellularDiffusion(values, vertical, horizontal, drainTop, topValue);
}

}  // namespace coefref
