#include "plain_transport.h"

#include "rootsim.h"

void PlainTransportStep() {
    const double h = 0.1;
    auto NS = [](int i, int j, double* N, double* S) {
        for (int q = 0; q < 4; q++) {
            if (Tc[i][j] == TC_WALL) {
                N[q] = Eff[i][j][q];
                S[q] = Inf[i][j][q];
            } else if (Tc[i][j] == TC_MEMBRANE) {
                N[q] = Inf[i][j][q];
                S[q] = Eff[i][j][q];
            } else {
                N[q] = 0;
                S[q] = 0;
            }
        }
    };
    double N[4], S[4];
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] == TC_OUTSIDE) {
                a[j] = 0;
                c[j] = 0;
                b[j] = 1;
                rhs[j] = 0;
                continue;
            }
            const NeighbourRates& K = DiffAuxC[i][j];
            NS(i, j, N, S);
            double u = Caux1[i][j];
            a[j] = -K[3] - h * N[3];
            c[j] = -K[2] - h * N[2];
            b[j] = 1 + K[2] + K[3] - h * (S[2] + S[3]);
            rhs[j] = u + K[0] * (Caux1[i + 1][j] - u) + K[1] * (Caux1[i - 1][j] - u) +
                     h * (N[0] * Caux1[i + 1][j] + N[1] * Caux1[i - 1][j]) + h * (S[0] + S[1]) * u;
        }
        dsolvetridiag(NROWS);
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE)
                Cauxint[i][j] = rhs[j] + 0.1 * (paux[i][j] - daux[i][j] * Caux1[i][j]);
    }
    for (int j = 0; j < NROWS; j++) {
        for (int i = 0; i < NCOLS; i++) {
            if (Tc[i][j] == TC_OUTSIDE) {
                a[i] = 0;
                c[i] = 0;
                b[i] = 1;
                rhs[i] = 0;
                continue;
            }
            const NeighbourRates& K = DiffAuxC[i][j];
            NS(i, j, N, S);
            double u = Cauxint[i][j];
            a[i] = -K[1] - h * N[1];
            c[i] = -K[0] - h * N[0];
            b[i] = 1 + K[0] + K[1] - h * (S[0] + S[1]);
            rhs[i] = u + K[2] * (Cauxint[i][j + 1] - u) + K[3] * (Cauxint[i][j - 1] - u) +
                     h * (N[2] * Cauxint[i][j + 1] + N[3] * Cauxint[i][j - 1]) + h * (S[2] + S[3]) * u;
        }
        dsolvetridiag(NCOLS);
        for (int i = 0; i < NCOLS; i++)
            if (Tc[i][j] != TC_OUTSIDE)
                Caux2[i][j] = rhs[i] + 0.1 * (paux[i][j] - daux[i][j] * Cauxint[i][j]);
    }
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] != -1) MeanCells[Cell[i][j]] += Caux1[i][j];
    for (int k = 0; k < MAXCELLS; k++) MeanCells[k] *= InvCellSizes[k];
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE) Caux1[i][j] = Caux2[i][j];
}
