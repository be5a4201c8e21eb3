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

// A colour index per tissue code (0..TCT_WALL); a negative entry keeps the
// running colour index.
struct TissueColours {
    int index[TCT_WALL + 1];
    constexpr int operator[](int t) const { return index[t]; }
};

// rootsim's tissue colours; the root cap layers (1 to 4) keep the running
// index and so come out black after their walls.
constexpr TissueColours kTissueColours = {{
    -1, -1, -1, -1, -1,  // none, root cap layers 1-4
    60, 80, 110, 140,    // epidermis, cortex, endodermis, pericycle
    160, 160, 160,       // vascular files
    180,                 // quiescent centre
    140, 40, 250, 230,   // columella tiers 1-4
    200,                 // columella stem cells
    -1, -1, -1,          // unused codes, wall
}};

// The same colours with the root cap layers 1 to 4 in the given indices.
constexpr TissueColours WithCapColours(TissueColours c, int layer1, int layer2, int layer3, int layer4) {
    c.index[TCT_LRC1] = layer1;
    c.index[TCT_LRC2] = layer2;
    c.index[TCT_LRC3] = layer3;
    c.index[TCT_LRC4] = layer4;
    return c;
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
