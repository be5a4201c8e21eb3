#include "transport_reference.h"

#include <cstdio>

#include "rootsim.h"

namespace transportref {

namespace {

const double h = 0.1;

// Neighbour (N) and self (S) membrane coefficients of point (i, j).
void Coefficients(int i, int j, double N[4], double S[4]) {
    for (int k = 0; k < 4; k++) {
        if (Tc[i][j] == TC_WALL) {
            N[k] = Eff[i][j][k];
            S[k] = Inf[i][j][k];
        } else if (Tc[i][j] == TC_MEMBRANE) {
            N[k] = Inf[i][j][k];
            S[k] = Eff[i][j][k];
        } else {
            N[k] = 0;
            S[k] = 0;
        }
    }
}

}  // namespace

void ReferenceUpdateAuxin(int time) {
    // First half step: implicit along each column.
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] == TC_OUTSIDE) {
                a[j] = 0;
                c[j] = 0;
                b[j] = 1;
                rhs[j] = 0;
                continue;
            }
            double N[4], S[4];
            Coefficients(i, j, N, S);
            double* K = DiffAuxC[i][j].r;
            double u = Caux1[i][j];
            double ui1 = Caux1[i + 1][j];
            double uim1 = Caux1[i - 1][j];
            a[j] = -K[3] - h * N[3];
            c[j] = -K[2] - h * N[2];
            b[j] = 1 + K[2] + K[3] - h * (S[2] + S[3]);
            rhs[j] = u + K[0] * (ui1 - u) + K[1] * (uim1 - u) + h * (N[0] * ui1 + N[1] * uim1) +
                     h * (S[0] + S[1]) * u;
        }
        dsolvetridiag(NROWS);
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] != TC_OUTSIDE)
                Cauxint[i][j] = rhs[j] + 0.1 * (paux[i][j] - daux[i][j] * Caux1[i][j]);
        }
    }

    // Second half step: implicit along each row.
    for (int j = 0; j < NROWS; j++) {
        for (int i = 0; i < NCOLS; i++) {
            if (Tc[i][j] == TC_OUTSIDE) {
                a[i] = 0;
                c[i] = 0;
                b[i] = 1;
                rhs[i] = 0;
                continue;
            }
            double N[4], S[4];
            Coefficients(i, j, N, S);
            double* K = DiffAuxC[i][j].r;
            double u = Cauxint[i][j];
            double uj1 = Cauxint[i][j + 1];
            double ujm1 = Cauxint[i][j - 1];
            a[i] = -K[1] - h * N[1];
            c[i] = -K[0] - h * N[0];
            b[i] = 1 + K[0] + K[1] - h * (S[0] + S[1]);
            rhs[i] = u + K[2] * (uj1 - u) + K[3] * (ujm1 - u) + h * (N[2] * uj1 + N[3] * ujm1) +
                     h * (S[2] + S[3]) * u;
        }
        dsolvetridiag(NCOLS);
        for (int i = 0; i < NCOLS; i++) {
            if (Tc[i][j] != TC_OUTSIDE)
                Caux2[i][j] = rhs[i] + 0.1 * (paux[i][j] - daux[i][j] * Cauxint[i][j]);
        }
    }

    // Cell means of the field before the step.
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] != -1) MeanCells[Cell[i][j]] += Caux1[i][j];
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] *= InvCellSizes[k];

    // Commit.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE) Caux1[i][j] = Caux2[i][j];

    // Left-right check, once per run.
    if (counter2 == 0) {
        for (int j = 0; j < NROWS; j++) {
            for (int i = 0; i < AXIS; i++) {
                if (Tc[i][j] == TC_OUTSIDE) continue;
                double f = Caux1[i][j];
                double g = Caux1[MIRRORSUM - i][j];
                if (static_cast<int>((f - g) * 1000) != 0) {
                    printf("something is wrong in auxin levels at %i %i %i (%.10f %i %i) and  %i %i "
                           "%i(%.10f %i %i)\n",
                           i, j, Cell[i][j], f, static_cast<int>(10000 * f), Tc[i][j],
                           MIRRORSUM - i, j, Cell[MIRRORSUM - i][j], g, static_cast<int>(10000 * g),
                           Tc[MIRRORSUM - i][j]);
                    fflush(stdout);
                    MakeGraphics(time);
                    counter2++;
                    return;
                }
            }
        }
    }
}

}  // namespace transportref
