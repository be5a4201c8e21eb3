// Value-to-colour rules of the pictures that several programs draw: the
// linear scales of per-cell levels and of membrane carrier amounts, and the
// tissue-type colours.
#pragma once

#include "picture.h"

// Clamps v into [0, top]; a value that is not a number counts as 0.
inline double ClampScale(double v, double top) {
    if (!(v > 0.0)) return 0.0;
    return v > top ? top : v;
}

// Per-cell value on a linear scale: 0 -> 35, S and above -> 254.
inline int CellLinearIndex(double v, double S) {
    long double x = ClampScale(v, S);
    int k = static_cast<int>(35.0L + 219.0L * x / S);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

// Membrane amount of a PIN carrier: 0 black, from 0.001 on dark blue upward,
// 100 and above orange (index 214, never white).
constexpr int MEMBRANE_CAP = 214;
constexpr double MEMBRANE_SCALE = 100.0;
inline int MembraneLinearIndex(double v) {
    long double x = ClampScale(v, MEMBRANE_SCALE);
    int k;
    if (static_cast<int>(1000.0L * x) < 1)
        k = static_cast<int>(214.0L * x / 100.0L);
    else
        k = static_cast<int>(50.0L + 164.0L * x / 100.0L);
    return k > MEMBRANE_CAP ? MEMBRANE_CAP : k;
}

// Membrane amount of AUX1 on a scale S: 0 black, from 0.001 on index 25
// upward, S and above white.
inline int Aux1LinearIndex(double v, double S) {
    long double x = ClampScale(v, S);
    int k;
    if (static_cast<int>(1000.0L * x) < 1)
        k = static_cast<int>(254.0L * x / S);
    else
        k = static_cast<int>(25.0L + 229.0L * x / S);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

// Per-cell value on the linear scale S; points without a cell: wall black,
// outside white.
template <typename Value>
void ScanCellLinear(Value value, double S) {
    ScanCells([&](int c, int, int) { return CellLinearIndex(value(c), S); });
}

// Tissue-type colour of the point (i, j) by a colour index per type code
// (0..TCT_WALL), wall black and outside white; a code whose entry is
// negative keeps the running colour index ci.
template <typename Table>
int TissueColourIndex(const Table& indexOfType, int i, int j, int ci) {
    const int t = Tct[i][j];
    if (t >= 0 && t <= TCT_WALL && indexOfType[t] >= 0) ci = indexOfType[t];
    if (Tc[i][j] == TC_WALL) ci = WALL_INDEX;
    else if (Tc[i][j] == TC_OUTSIDE) ci = OUTSIDE_INDEX;
    return ci;
}

// Every point by its tissue-type colour.
template <typename Table>
void ScanTissueColours(const Table& indexOfType) {
    Scan([&](int i, int j, int& ci) {
        ci = TissueColourIndex(indexOfType, i, j, ci);
        PutIndex(i, j, ci);
    });
}
