// The pieces an initial root is built from, whatever its plan: writers of a
// left-half point and its mirror, the curves and radial lines of a tip, the
// layering of a row of straight files, and the steps that finish a drawn
// layout (4-connected walls, membranes, wall codes, vascular files) and its
// membrane sides (the unclassified start, the symmetry report).
//
// A layout is drawn on the left half (columns up to the axis) and every
// result written both at column c and at its mirror MIRRORSUM - c.
#pragma once

#include <cmath>

#include "state.h"
#include "tissue_watch.h"

namespace layout {

// ---------------------------------------------------------------------------
// Writers of a left-half point and its mirror.

inline void SetWall(int col, int r) {
    TissueChanged();
    Tc[col][r] = TC_WALL;
    Tc[MIRRORSUM - col][r] = TC_WALL;
}

inline void SetTct(int col, int r, int t) {
    TissueChanged();
    Tct[col][r] = t;
    Tct[MIRRORSUM - col][r] = t;
}

inline void SetCyto(int col, int r, int t) {
    TissueChanged();
    Tc[col][r] = TC_CYTO;
    Tc[MIRRORSUM - col][r] = TC_CYTO;
    SetTct(col, r, t);
}

inline void SetTmt(int col, int r, int side) {
    TissueChanged();
    Tmt[col][r] = side;
    Tmt[MIRRORSUM - col][r] = side;
}

// ---------------------------------------------------------------------------
// The curves and lines of a tip.

// The double nearest 1/n, as the inverse form of a curve of power n uses it.
constexpr double InverseExponent(int n) {
    return n == 2 ? 0.5 : (n == 3 ? 0.3333333333333333 : (n == 4 ? 0.25 : 0.2));
}

constexpr double IntPow(double x, int n) {
    double p = 1;
    for (int i = 0; i < n; i++) p *= x;
    return p;
}

// A layer curve of the tip: row F(k) = int(k^n * a + o) at distance k from the
// axis (forward form), and the inverse form that keeps the curve a connected
// line of grid points where it is steep.  k^n is a power of the double k (of
// its absolute value), k * k for n = 2.
struct TipCurve {
    int n;       // power
    double a;    // coefficient
    double o;    // offset: the curve's row at the axis

    double Power(int k) const {
        const double dk = static_cast<double>(k);
        return n == 2 ? dk * dk : std::pow(std::fabs(dk), static_cast<double>(n));
    }
    // The curve's row at distance k, before truncation.
    double At(int k) const { return Power(k) * a + o; }
    // Forward form F(k).
    int Row(int k) const { return static_cast<int>(At(k)); }
    // The distance from the axis, before truncation, at which the inverse
    // form puts the curve in row r (r at least the offset).
    double InverseDistance(int r) const { return std::pow((r - o) / a, InverseExponent(n)); }
    // The point at distance k, row r lies on the curve: by the forward form,
    // or by the inverse form hitting its column.
    bool On(int k, int r) const {
        if (Row(k) == r) return true;
        if (r < o) return false;
        return static_cast<int>(AXIS + InverseDistance(r)) == AXIS + k;
    }
    // Left-half column of the inverse form in row r, or -1 below the offset.
    int InverseColumn(int r) const {
        if (r < o) return -1;
        return MIRRORSUM - static_cast<int>(AXIS + InverseDistance(r));
    }
    // The curve passes at column x of row r (inverse form).
    bool PassesAtColumn(int r, int x) const { return r >= o && InverseColumn(r) == x; }
    // The curve passes at row y of left-half column col (forward form).
    bool PassesAtRow(int col, int y) const { return Row(AXIS - col) == y; }
};

// The curve of power n with offset o that passes through row `row` at
// distance k from the axis.
constexpr TipCurve CurveThrough(int n, double o, int k, int row) {
    return TipCurve{n, (row - o) / IntPow(k, n), o};
}

// A straight radial line of the tip: row int(s * c + b) at left-half column c
// (forward form), or column int((r - b) / s) at row r (inverse form).
struct RadialLine {
    double s;  // slope
    double b;  // row at column 0

    double At(int col) const { return s * col + b; }
    int Row(int col) const { return static_cast<int>(At(col)); }
    int Col(int r) const { return static_cast<int>((r - b) / s); }
    bool On(int col, int r) const { return Row(col) == r || Col(r) == col; }
};

// The radial line of slope s through the axis at row centreRow.
constexpr RadialLine RadialThrough(double s, int centreRow) { return RadialLine{s, centreRow - s * AXIS}; }

// ---------------------------------------------------------------------------
// Straight files.

// A file of a row, from the axis outward: tissue tct on the columns from
// `from` down to `wall`, then a wall at `wall`.
struct FileBand {
    int tct;
    int from;
    int wall;
};

// Lays the files bands[0..n-1] of row r, in order (left half and mirror).
void LayerFiles(int r, const FileBand* bands, int n);

// ---------------------------------------------------------------------------
// Finishing a drawn layout.

// Closes diagonal gaps between wall points, for columns AXIS down to 1 and
// every row, reading the grid as it goes: a wall point whose four neighbours
// are no walls gets a neighbour wall (Tct 0) on the side of its diagonal
// partner, so that every wall line is 4-connected.
void CloseDiagonalWallGaps();
// Cytoplasm points of rows firstRow..lastRow with a wall among their four
// neighbours become membrane points (outside neighbours do not count).
void MarkMembranes(int firstRow, int lastRow);
// Walls of rows firstRow..lastRow get the wall code.
void MarkWallTissue(int firstRow, int lastRow);
// In every row of firstRow..lastRow the first vascular run from the axis
// becomes the central file (11), the next the middle file (10), the third
// stays the outer file (9).
void RelabelVascularFiles(int firstRow, int lastRow);

// ---------------------------------------------------------------------------
// Membrane sides.

constexpr int TMT_UNCLASSIFIED = 10;  // a membrane point whose side is not known yet

// Membrane points of rows firstRow..lastRow become unclassified, every other
// point of those rows gets no side.
void MarkUnclassifiedMembranes(int firstRow, int lastRow);
// Prints the report line of every point whose side differs from its mirror
// point's; returns the number of lines printed.
int ReportMembraneAsymmetry();

}  // namespace layout
