// Implicit (ADI) auxin transport step.
//
// One step of 0.2 time units is two half steps (Peaceman-Rachford): the first
// implicit along the rows of each column, the second implicit along the
// columns of each row.  Every implicit line is a tridiagonal system.  An
// outside point has no coupling to its neighbours (its row of the system is
// the identity with a zero right-hand side, and the coefficients of its
// neighbours toward it are zero), so a line splits exactly into the runs of
// points that are not outside; only those runs are built and solved.
#include <climits>
#include <cmath>
#include <cstdio>

#include "rootsim.h"

namespace {

constexpr double HALF_STEP = 0.1;          // length of one half step (h)
constexpr double ASYMMETRY_SCALE = 1000.0; // difference * scale truncated must be 0
constexpr double REPORT_SCALE = 10000.0;   // scale of the integer echo in the report

// Thomas algorithm without pivoting on a system of n >= 1 unknowns.  lo[0] and
// up[n-1] are not read; diag and r are overwritten; the solution goes to x.
inline void SolveLine(const double* lo, double* diag, const double* up, double* r, double* x,
                      int n) {
    for (int k = 1; k < n; k++) {
        double m = lo[k] / diag[k - 1];
        diag[k] = diag[k] - up[k - 1] * m;
        r[k] = r[k] - m * r[k - 1];
    }
    x[n - 1] = r[n - 1] / diag[n - 1];
    for (int k = n - 2; k >= 0; k--) x[k] = (r[k] - up[k] * x[k + 1]) / diag[k];
}

// Membrane records of a point: on a wall the neighbour coefficients are the
// efflux ones and the self coefficients the influx ones; on a membrane point
// the other way round; other points have neither.
const NeighbourRates kNoRates = {{0.0, 0.0, 0.0, 0.0}};

inline void PointRates(int i, int j, const NeighbourRates** N, const NeighbourRates** S) {
    int t = Tc[i][j];
    if (t == TC_WALL) {
        *N = &Eff[i][j];
        *S = &Inf[i][j];
    } else if (t == TC_MEMBRANE) {
        *N = &Inf[i][j];
        *S = &Eff[i][j];
    } else {
        *N = &kNoRates;
        *S = &kNoRates;
    }
}

// First half step on column i: builds the entries of the non-outside runs,
// solves each run and writes Cauxint with half the production and decay.
// The border rows and columns are outside by construction of the tissue.
void ColumnHalfStep(int i) {
    const double h = HALF_STEP;
    const int* tc = Tc[i];
    const double* u = Caux1[i];
    const double* ur = Caux1[i + 1];
    const double* ul = Caux1[i - 1];
    int j = 1;
    while (j < NROWS - 1) {
        if (tc[j] == TC_OUTSIDE) {
            j++;
            continue;
        }
        int s = j;
        for (; j < NROWS - 1 && tc[j] != TC_OUTSIDE; j++) {
            const NeighbourRates& K = DiffAuxC[i][j];
            const NeighbourRates* N;
            const NeighbourRates* S;
            PointRates(i, j, &N, &S);
            const NeighbourRates& n = *N;
            const NeighbourRates& sf = *S;
            a[j] = -K[3] - h * n[3];
            c[j] = -K[2] - h * n[2];
            b[j] = 1 + K[2] + K[3] - h * (sf[2] + sf[3]);
            rhs[j] = u[j] + K[0] * (ur[j] - u[j]) + K[1] * (ul[j] - u[j]) +
                     h * (n[0] * ur[j] + n[1] * ul[j]) + h * (sf[0] + sf[1]) * u[j];
        }
        SolveLine(a + s, b + s, c + s, rhs + s, res + s, j - s);
        double* out = Cauxint[i];
        const double* p = paux[i];
        const double* d = daux[i];
        for (int k = s; k < j; k++) out[k] = res[k] + h * (p[k] - d[k] * u[k]);
    }
}

// Second half step on row j, from Cauxint into Caux2.
void RowHalfStep(int j) {
    const double h = HALF_STEP;
    int i = 1;
    while (i < NCOLS - 1) {
        if (Tc[i][j] == TC_OUTSIDE) {
            i++;
            continue;
        }
        int s = i;
        for (; i < NCOLS - 1 && Tc[i][j] != TC_OUTSIDE; i++) {
            const NeighbourRates& K = DiffAuxC[i][j];
            const NeighbourRates* N;
            const NeighbourRates* S;
            PointRates(i, j, &N, &S);
            const NeighbourRates& n = *N;
            const NeighbourRates& sf = *S;
            const double u = Cauxint[i][j];
            const double uu = Cauxint[i][j + 1];
            const double ud = Cauxint[i][j - 1];
            a[i] = -K[1] - h * n[1];
            c[i] = -K[0] - h * n[0];
            b[i] = 1 + K[0] + K[1] - h * (sf[0] + sf[1]);
            rhs[i] = u + K[2] * (uu - u) + K[3] * (ud - u) + h * (n[2] * uu + n[3] * ud) +
                     h * (sf[2] + sf[3]) * u;
        }
        SolveLine(a + s, b + s, c + s, rhs + s, res + s, i - s);
        for (int k = s; k < i; k++)
            Caux2[k][j] = res[k] + h * (paux[k][j] - daux[k][j] * Cauxint[k][j]);
    }
}

// Mean auxin of every cell, summed in scan order (column outer, row inner).
void ComputeCellMeans() {
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] = 0;
    for (int i = 0; i < NCOLS; i++) {
        const int* cell = Cell[i];
        const double* u = Caux1[i];
        for (int j = 0; j < NROWS; j++)
            if (cell[j] != -1) MeanCells[cell[j]] += u[j];
    }
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] *= InvCellSizes[k];
}

void CommitStep() {
    for (int i = 0; i < NCOLS; i++) {
        const int* tc = Tc[i];
        double* dst = Caux1[i];
        const double* src = Caux2[i];
        for (int j = 0; j < NROWS; j++)
            if (tc[j] != TC_OUTSIDE) dst[j] = src[j];
    }
}

// Integer part of x, truncated toward zero.  Values beyond the int range (and
// NaN) give INT_MIN, as the hardware conversion does, instead of undefined
// behaviour.
int TruncToInt(double x) {
    if (!(x > -2147483649.0 && x < 2147483648.0)) return INT_MIN;
    return static_cast<int>(x);
}

bool AuxinAsymmetric(double f, double g) {
    // (f - g) * 1000 truncated toward zero is non-zero exactly when its
    // magnitude reaches 1; NaN counts as asymmetric.
    double d = (f - g) * ASYMMETRY_SCALE;
    return !(std::fabs(d) < 1.0);
}

void CheckAuxinSymmetry(int time) {
    if (counter2 != 0) return;
    for (int j = 0; j < NROWS; j++) {
        for (int i = 0; i < AXIS; i++) {
            if (Tc[i][j] == TC_OUTSIDE) continue;
            int m = MIRRORSUM - i;
            double f = Caux1[i][j];
            double g = Caux1[m][j];
            if (!AuxinAsymmetric(f, g)) continue;
            printf("something is wrong in auxin levels at %i %i %i (%.10f %i %i) and  %i %i "
                   "%i(%.10f %i %i)\n",
                   i, j, Cell[i][j], f, TruncToInt(REPORT_SCALE * f), Tc[i][j], m, j, Cell[m][j], g,
                   TruncToInt(REPORT_SCALE * g), Tc[m][j]);
            fflush(stdout);
            MakeGraphics(time);
            counter2++;
            return;
        }
    }
}

}  // namespace

void UpdateAuxin(int time) {
    // Which half step comes next; every call runs both in order.
    [[maybe_unused]] static int Direction = 0;

    Direction = 1;
    for (int i = 1; i < NCOLS - 1; i++) ColumnHalfStep(i);

    Direction = 0;
    for (int j = 1; j < NROWS - 1; j++) RowHalfStep(j);

    ComputeCellMeans();
    CommitStep();
    CheckAuxinSymmetry(time);
}

void dsolvetridiag(int n) {
    if (n < 1) return;  // an empty system has nothing to solve
    SolveLine(a, b, c, rhs, res, n);
    for (int k = 0; k < n; k++) rhs[k] = res[k];
}
