// Tissue layout, membrane sides, cell numbering and geometry of the initial root.
//
// The initial root is drawn on the left half of the grid (columns up to the
// axis) and every result is written both at column c and at its mirror column
// MIRRORSUM - c.  The body is a stack of straight cell files; the tip below
// row 149 is a dome closed by a cubic surface curve, cut into layers by further
// curves and into cells by four straight radial lines through (AXIS, 167).
//
// Every expression of the geometry is evaluated in double precision in the
// order written and converted to int by truncation toward zero: several walls
// depend on that exact rounding.
#include "rootsim.h"

#include "geometry.h"
#include "plan.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// --- Geometry of the initial root -------------------------------------------

constexpr int kTipFirstRow = plan::TIP_FIRST_ROW;        // lowest row of the dome
constexpr int kTipTopRow = plan::MERISTEM_BASE_ROW;      // the dome meets the upper tip block here
constexpr int kBodyBottomRow = plan::MERISTEM_TOP_ROW;   // first row of the body block
constexpr int kBodyTopRow = plan::BODY_TOP_ROW;          // last row of the body block
constexpr int kUpperTipTopRow = 237;   // last row of the upper tip block
constexpr int kBodyOuterCol = 29;      // outer wall of the body (epidermis outside)
constexpr int kCapOuterCol = plan::CAP_OUTER_WALL_COL;  // outer wall of the lateral root cap beside the body
constexpr int kRadialLinesTopRow = 166;  // radial tip walls are drawn up to here
constexpr int kTipSidesTopRow = 167;   // membrane-side rules of the tip reach up to here
constexpr int kStraightSidesTopRow = 1870;
constexpr int kStraightSidesBottomRow = plan::TIP_TOP_ROW;
constexpr int kNumberScanTopRow = plan::MERISTEM_TOP_ROW;  // rows below use the oblique-wall scan
constexpr int kNumberScanWidth = 10;   // columns examined by that scan

// Tissue codes used while drawing.
constexpr int kTctOutside = 0;
constexpr int kTctCapOuter = 1;
constexpr int kTctCap4 = 4;
constexpr int kTctEpidermis = 5;
constexpr int kTctCortex = 6;
constexpr int kTctEndodermis = 7;
constexpr int kTctPericycle = 8;
constexpr int kTctVascOuter = 9;
constexpr int kTctVascMiddle = 10;
constexpr int kTctVascCentral = 11;
constexpr int kTctWall = 20;
constexpr int kColumellaShift = 12;    // cap/epidermis code + 12 = columella tier

// Membrane side codes.
constexpr int kSideShootward = 1;
constexpr int kSideRootward = 2;
constexpr int kSideInner = 3;
constexpr int kSideOuter = 4;
constexpr int kSideUnclassified = 10;

// A layer curve of the tip: forward form F(k) = int(k^n * a + o) with k the
// distance of a left-half column from the axis, and the inverse form that keeps
// the curve a connected line where it is steep.
struct Curve {
    int n;       // power
    double a;    // coefficient
    double o;    // offset
    double e;    // the double nearest 1/n
};

constexpr Curve kSurface{3, 0.0001810738061970905, 8, 0.3333333333333333};
constexpr Curve kCurve53{3, 0.00018251851851851852, 53, 0.3333333333333333};
constexpr Curve kCurve84{3, 0.00013325679609660094, 84, 0.3333333333333333};
constexpr Curve kCurve105{2, 0.003203987184051264, 105, 0.5};
constexpr Curve kCurve118{3, 5.4215993018379224e-05, 118, 0.3333333333333333};
constexpr Curve kCurve129{3, 7.62939453125e-05, 129, 0.3333333333333333};
constexpr Curve kCurve134{4, 4.153502938603326e-06, 134.8, 0.25};
constexpr Curve kCurve140q{5, 3.7037037037037036e-07, 140, 0.2};
constexpr Curve kCurve140c{3, 0.0009718172983479105, 140, 0.3333333333333333};

// Offset of the columella line (radial line L3).
constexpr double kL3Offset = plan::SLANT_OFFSET;

// Forward form F(k).
int Forward(const Curve& cv, int k) {
    double dk = static_cast<double>(k);
    double p;
    if (cv.n == 2)
        p = dk * dk;
    else
        p = std::pow(std::fabs(dk), static_cast<double>(cv.n));
    return static_cast<int>(p * cv.a + cv.o);
}

// The point of the left half at distance k from the axis, row r, lies on the
// curve: by the forward form, or by the inverse form hitting its column.
bool OnCurve(const Curve& cv, int k, int r) {
    if (Forward(cv, k) == r) return true;
    if (r < cv.o) return false;
    return static_cast<int>(AXIS + std::pow((r - cv.o) / cv.a, cv.e)) == AXIS + k;
}

// Column of the left half at which the curve passes in row r (inverse form),
// or -1 below the curve's offset.
int InverseColumn(const Curve& cv, int r) {
    if (r < cv.o) return -1;
    return MIRRORSUM - static_cast<int>(AXIS + std::pow((r - cv.o) / cv.a, cv.e));
}

// The curve passes at column x of row r.
bool PassesAtColumn(const Curve& cv, int r, int x) {
    return r >= cv.o && InverseColumn(cv, r) == x;
}

// The curve passes at row y of column col (left half).
bool PassesAtRow(const Curve& cv, int col, int y) { return Forward(cv, AXIS - col) == y; }

// The four radial lines of the tip, tested in forward and inverse form.
int L1Row(int col) { return static_cast<int>(0.5 * col + 111); }
int L1Col(int r) { return static_cast<int>((r - 111) * 2.0); }
int L2Row(int col) { return static_cast<int>(static_cast<double>(col) + 55); }
int L2Col(int r) { return static_cast<int>(static_cast<double>(r) - 55); }
int L3Row(int col) { return static_cast<int>(plan::SLANT_SLOPE * col - kL3Offset); }
int L3Col(int r) { return static_cast<int>((r + kL3Offset) / plan::SLANT_SLOPE); }
int L4Row(int col) { return static_cast<int>(5.0 * col - 393.0); }
int L4Col(int r) { return static_cast<int>((r + 393.0) / 5.0); }

bool OnL1(int col, int r) { return L1Row(col) == r || L1Col(r) == col; }
bool OnL2(int col, int r) { return L2Row(col) == r || L2Col(r) == col; }
bool OnL3(int col, int r) { return L3Row(col) == r || L3Col(r) == col; }
bool OnL4(int col, int r) { return L4Row(col) == r || L4Col(r) == col; }

// Writers of a left-half point and its mirror.
void SetWall(int col, int r) {
    Tc[col][r] = TC_WALL;
    Tc[MIRRORSUM - col][r] = TC_WALL;
}

void SetTct(int col, int r, int t) {
    Tct[col][r] = t;
    Tct[MIRRORSUM - col][r] = t;
}

void SetCyto(int col, int r, int t) {
    Tc[col][r] = TC_CYTO;
    Tc[MIRRORSUM - col][r] = TC_CYTO;
    SetTct(col, r, t);
}

void SetTmt(int col, int r, int side) {
    Tmt[col][r] = side;
    Tmt[MIRRORSUM - col][r] = side;
}

bool IsWall(int col, int r) { return Tc[col][r] == TC_WALL; }

// Radial layering of one row of the straight files: walls between the files
// and the tissue code of each file, from the axis outward.
void LayerRow(int r, bool upperTip) {
    SetWall(AXIS, r);
    SetWall(kBodyOuterCol, r);
    // (tissue, first column from the axis side, last column, wall column)
    struct Band {
        int tct, from, to, wall;
    };
    static const Band bands[] = {
        {kTctVascOuter, AXIS, 105, 105}, {kTctVascOuter, 105, 98, 98},
        {kTctVascOuter, 98, 91, 91},    {kTctPericycle, 91, 82, 82},
        {kTctEndodermis, 82, 69, 69},   {kTctCortex, 69, 48, 48},
    };
    for (const Band& bd : bands) {
        for (int col = bd.from; col >= bd.to; col--) SetTct(col, r, bd.tct);
        SetWall(bd.wall, r);
    }
    if (upperTip) {
        for (int col = kBodyOuterCol; col >= kCapOuterCol; col--) SetTct(col, r, kTctCapOuter);
        SetWall(kCapOuterCol, r);
    }
}

// Does the tip point (col, r) lie on one of the layer walls?  The first
// matching curve decides.
bool IsLayerWall(int col, int r) {
    int k = AXIS - col;
    if (OnCurve(kCurve140c, k, r) || OnCurve(kCurve140q, k, r)) return true;
    if (OnCurve(kCurve134, k, r)) return r > L3Row(col);
    if (OnCurve(kCurve129, k, r) || OnCurve(kCurve118, k, r)) return true;
    bool tryCurve53;
    if (r <= 113) {
        if (OnCurve(kCurve105, k, r)) return true;
        if (r <= 109 && OnCurve(kCurve84, k, r)) return true;
        tryCurve53 = true;
    } else {
        tryCurve53 = r <= 129;
    }
    if (tryCurve53 && OnCurve(kCurve53, k, r)) return true;
    return OnCurve(kSurface, k, r);
}

// Tissue code of a tip point from the layer curves, or -1 to leave it
// unchanged.
int TipTissue(int col, int r) {
    int k = AXIS - col;
    if (col > 60 && r >= Forward(kCurve140c, k)) return kTctVascOuter;
    if (col > 60 && r >= Forward(kCurve140q, k)) return kTctPericycle;
    if (r >= Forward(kCurve134, k)) return kTctEndodermis;
    if (r >= Forward(kCurve129, k)) return kTctCortex;
    if (r >= Forward(kCurve118, k)) return kTctEpidermis;
    if (r < static_cast<int>(col + 55.0) && r >= Forward(kCurve105, k)) return kTctCap4;
    if (r < 110) {
        if (r >= Forward(kCurve84, k)) return 3;
        if (r >= Forward(kCurve53, k)) return 2;
        return -1;
    }
    if (r <= 129) return r >= Forward(kCurve53, k) ? 2 : -1;
    return -1;
}

// Does a radial line put a wall at (col, r)?  Cap, epidermis, cortex and
// endodermis are cut by L1 (below curve 134), L2 and L3; the inner tissues
// only by L4, which never cuts pericycle or vasculature.
bool IsRadialWall(int col, int r) {
    int t = Tct[col][r];
    bool notStele = t < kTctPericycle || t > kTctVascCentral;
    if (OnL1(col, r)) {
        if (t <= kTctEndodermis) return r < Forward(kCurve134, AXIS - col);
        return OnL4(col, r) && notStele;
    }
    if (OnL2(col, r) || OnL3(col, r)) {
        if (t <= kTctEndodermis) return true;
        return OnL4(col, r) && notStele;
    }
    return OnL4(col, r) && notStele;
}

}  // namespace

void SetUpTissueLayout() {
    // 1. Everything outside.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = kTctOutside;
        }

    // 2. Body block and 3. upper tip block.
    for (int col = kBodyOuterCol; col <= AXIS; col++)
        for (int r = kBodyBottomRow; r <= kBodyTopRow; r++) SetCyto(col, r, kTctEpidermis);
    for (int col = kCapOuterCol; col <= AXIS; col++)
        for (int r = kTipTopRow; r <= kUpperTipTopRow; r++) SetCyto(col, r, kTctEpidermis);

    // 4. Tip dome under the surface curve.
    for (int k = 0; k <= AXIS; k++) {
        int col = AXIS - k;
        int s = Forward(kSurface, k);
        for (int r = kTipFirstRow; r <= kTipTopRow; r++)
            if (s <= r) SetCyto(col, r, kTctCapOuter);
    }

    // 5. Radial layering of the straight files.
    for (int r = kBodyBottomRow; r <= kBodyTopRow; r++) LayerRow(r, false);
    for (int r = kTipTopRow; r <= kUpperTipTopRow; r++) LayerRow(r, true);

    // 6. Layer walls of the tip.
    for (int r = kTipFirstRow; r <= kTipTopRow; r++)
        for (int k = 0; k <= AXIS; k++) {
            int col = AXIS - k;
            if (Tc[col][r] == TC_OUTSIDE) continue;
            if (IsLayerWall(col, r)) SetWall(col, r);
        }

    // 7. Tissue codes of the tip (walls included).
    for (int r = kTipFirstRow; r <= kTipTopRow - 1; r++)
        for (int k = 0; k <= AXIS; k++) {
            int col = AXIS - k;
            if (Tc[col][r] == TC_OUTSIDE) continue;
            int t = TipTissue(col, r);
            if (t >= 0) SetTct(col, r, t);
        }

    // 8. Columella below the columella line, quiescent centre below the QC line.
    for (int r = kTipFirstRow; r <= kTipTopRow - 1; r++)
        for (int col = AXIS; col >= 0; col--) {
            if (Tc[col][r] == TC_OUTSIDE) continue;
            int t = Tct[col][r];
            if (t >= kTctCapOuter && t <= kTctEpidermis && r < L3Row(col))
                SetTct(col, r, t + kColumellaShift);
            else if ((t == kTctCortex || t == kTctEndodermis) && r < L4Row(col))
                SetTct(col, r, TCT_QC);
        }

    // 9. Horizontal walls between the cells of the straight files.
    auto rowWall = [](int r, auto pick) {
        for (int col = 0; col <= AXIS; col++) {
            if (Tc[col][r] == TC_OUTSIDE) continue;
            if (pick(Tct[col][r])) SetWall(col, r);
        }
    };
    auto all = [](int) { return true; };
    auto notCap = [](int t) { return t != kTctCapOuter; };
    rowWall(kTipTopRow, all);
    rowWall(158, notCap);
    rowWall(167, all);
    rowWall(176, all);
    rowWall(185, all);
    rowWall(194, notCap);
    rowWall(203, [](int t) { return t > 2; });
    rowWall(kBodyBottomRow, all);
    rowWall(237, [](int t) { return t == kTctCapOuter; });
    for (int r = 273; r <= kBodyTopRow; r += 61) rowWall(r, all);

    // 10. Radial walls of the tip.
    for (int r = kTipFirstRow; r <= kRadialLinesTopRow; r++)
        for (int k = 0; k <= AXIS; k++) {
            int col = AXIS - k;
            if (col == AXIS) {
                SetWall(col, r);
            } else if (col == 106 && r >= 141 && r <= 148) {
                // The wall between the central vascular file and its neighbour
                // in the last tip rows.
                SetWall(col, r);
            } else if (r >= Forward(kSurface, k) && IsRadialWall(col, r)) {
                SetWall(col, r);
            }
        }

    // 11. Close diagonal gaps so that every wall line is 4-connected.  Rows 0
    // and NROWS-1 hold no walls; they are skipped so that no neighbour read
    // leaves the grid.
    for (int x = AXIS; x >= 1; x--)
        for (int r = 1; r < NROWS - 1; r++) {
            if (!IsWall(x, r)) continue;
            if (IsWall(x + 1, r) || IsWall(x - 1, r) || IsWall(x, r + 1) || IsWall(x, r - 1))
                continue;
            if (!IsWall(x + 1, r + 1) && !IsWall(x + 1, r - 1)) {
                if (IsWall(x - 1, r + 1) || IsWall(x - 1, r - 1)) {
                    SetWall(x - 1, r);
                    SetTct(x - 1, r, 0);
                }
            } else {
                SetWall(x + 1, r);
                SetTct(x + 1, r, 0);
            }
        }

    // 12. Cell points next to a wall are membrane points.
    for (int i = 1; i < NCOLS - 1; i++)
        for (int j = kTipFirstRow; j <= kBodyTopRow; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            if (IsWall(i + 1, j) || IsWall(i - 1, j) || IsWall(i, j + 1) || IsWall(i, j - 1))
                Tc[i][j] = TC_MEMBRANE;
        }

    // 13. Walls carry the wall code.
    for (int i = 0; i < NCOLS; i++)
        for (int j = kTipFirstRow; j <= kBodyTopRow; j++)
            if (Tc[i][j] == TC_WALL) Tct[i][j] = kTctWall;

    // 14. Vascular files: from the axis outward the first vascular run is the
    // central file, the next the middle file, the third stays the outer file.
    for (int r = kTipFirstRow; r <= kBodyTopRow; r++) {
        int w = 0;
        int x = AXIS;
        while (x >= 0) {
            while (x >= 0 && IsWall(x, r)) x--;
            if (x < 0 || Tct[x][r] < kTctVascOuter) break;
            if (Tct[x][r] == kTctVascOuter) {
                int code = w == 0 ? kTctVascCentral : (w == 1 ? kTctVascMiddle : kTctVascOuter);
                while (x >= 0 && Tct[x][r] == kTctVascOuter) {
                    SetTct(x, r, code);
                    x--;
                }
            }
            w = w + 1;
            x = x - 1;
        }
    }
}

// ---------------------------------------------------------------------------
// Membrane sides

namespace {

// Sides of a straight cell from its bounding box, or 0 when the box does not
// decide.
int StraightSide(int col, int r) {
    int x = Cell[col][r];
    if (x < 0) return 0;
    if (r == CellMaxJ[x]) return kSideShootward;
    if (r == CellMinJ[x]) return kSideRootward;
    if (IsWall(col + 1, r)) return kSideInner;
    if (IsWall(col - 1, r)) return kSideOuter;
    return 0;
}

// Side of a tip membrane point along the radial lines, or 0.
int RadialSide(int col, int r) {
    int side = 0;
    // L1
    if (L1Row(col) == r - 1 || L1Col(r) == col + 1)
        side = kSideRootward;
    else if (L1Row(col) == r + 1 || L1Col(r) == col - 1)
        side = kSideShootward;
    // L2
    if (L2Row(col) == r - 1 || L2Col(r) == col + 1)
        side = kSideRootward;
    else if (L2Row(col) == r + 1 || L2Col(r) == col - 1 || L2Row(col) == r + 2)
        side = kSideShootward;
    // L3
    if (L3Row(col) == r - 1 || L3Col(r) == col + 1)
        side = kSideRootward;
    else if (L3Row(col) == r + 1 || L3Col(r) == col - 1)
        side = kSideShootward;
    // L4
    if (L4Row(col) == r - 1 || L4Col(r) == col + 1)
        side = kSideRootward;
    else if (L4Row(col) == r + 1 || L4Col(r) == col - 1)
        side = kSideShootward;
    return side;
}

// A layer curve passes beside the point: at column col + d of its row or at
// row r + d of its column; d = -1 looks to the outer side, d = +1 to the inner.
bool CurveBeside(const Curve& cv, int col, int r, int d) {
    return PassesAtColumn(cv, r, col + d) || PassesAtRow(cv, col, r + d);
}

// Side of a tip membrane point on a curved layer wall, or 0.
int CurvedSide(int col, int r) {
    int side = 0;
    // Outer side.
    bool outer = false;
    if (col >= 2 && r >= 2 && Tc[col - 2][r - 2] == TC_OUTSIDE) {
        outer = true;
    } else if (CurveBeside(kCurve53, col, r, -1)) {
        outer = true;
    } else if (r < 109 && (CurveBeside(kCurve84, col, r, -1) || CurveBeside(kCurve105, col, r, -1))) {
        outer = true;
    } else if (r >= 109 && r < 113 && CurveBeside(kCurve105, col, r, -1)) {
        outer = true;
    } else if (CurveBeside(kCurve118, col, r, -1) || CurveBeside(kCurve129, col, r, -1)) {
        outer = true;
    } else if (CurveBeside(kCurve134, col, r, -1)) {
        outer = r > L4Row(col);
    } else if (CurveBeside(kCurve140q, col, r, -1) || CurveBeside(kCurve140c, col, r, -1)) {
        outer = true;
    }
    if (outer) side = kSideOuter;

    // Inner side, whatever the outer tests gave; it takes precedence.
    bool inner = false;
    if (CurveBeside(kCurve53, col, r, +1) || CurveBeside(kCurve84, col, r, +1)) {
        inner = true;
    } else if (r < 113 && CurveBeside(kCurve105, col, r, +1)) {
        inner = true;
    } else if (CurveBeside(kCurve118, col, r, +1) || CurveBeside(kCurve129, col, r, +1)) {
        inner = true;
    } else if (CurveBeside(kCurve134, col, r, +1)) {
        inner = r > L4Row(col);
    } else if (CurveBeside(kCurve140q, col, r, +1) || CurveBeside(kCurve140c, col, r, +1)) {
        inner = true;
    }
    if (inner) side = kSideInner;
    return side;
}

// One neighbour-vote pass over the tip rows.  Every point reads the state from
// before the pass; a still unclassified point takes `first` when at least
// `threshold` of its same-cell neighbours carry it, otherwise `second` on the
// same condition.  The results replace the tip rows below kTipSidesTopRow when
// the pass is over.
void VotePass(std::vector<int>& next, int first, int second, int threshold) {
    const int rows = kTipSidesTopRow - kTipFirstRow + 1;
    auto at = [&](int col, int r) -> int& { return next[static_cast<size_t>(col) * rows + (r - kTipFirstRow)]; };
    for (int i = 0; i < NCOLS; i++)
        for (int r = kTipFirstRow; r <= kTipSidesTopRow; r++) at(i, r) = Tmt[i][r];
    for (int r = kTipFirstRow; r <= kTipSidesTopRow; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kSideUnclassified) continue;
            int x = Cell[col][r];
            int n1 = 0, n2 = 0;
            for (int di = -1; di <= 1; di++)
                for (int dj = -1; dj <= 1; dj++) {
                    if (di == 0 && dj == 0) continue;
                    if (Cell[col + di][r + dj] != x) continue;
                    if (Tmt[col + di][r + dj] == first) n1++;
                    if (Tmt[col + di][r + dj] == second) n2++;
                }
            int side = 0;
            if (n1 >= threshold)
                side = first;
            else if (n2 >= threshold)
                side = second;
            if (side != 0) {
                at(col, r) = side;
                at(MIRRORSUM - col, r) = side;
            }
        }
    for (int i = 0; i < NCOLS; i++)
        for (int r = kTipFirstRow; r < kTipSidesTopRow; r++) Tmt[i][r] = at(i, r);
}

}  // namespace

void SetUpMembraneTypes() {
    // 1. Mark the membrane points as unclassified.
    for (int i = 0; i < NCOLS; i++)
        for (int r = kTipFirstRow; r <= kBodyTopRow; r++)
            Tmt[i][r] = Tc[i][r] == TC_MEMBRANE ? kSideUnclassified : 0;

    // 2. Straight files: sides from the bounding box.
    int straightTop = kStraightSidesTopRow < NROWS - 1 ? kStraightSidesTopRow : NROWS - 2;
    for (int r = kStraightSidesBottomRow; r <= straightTop; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kSideUnclassified) continue;
            int side = StraightSide(col, r);
            if (side != 0) SetTmt(col, r, side);
        }

    // 3. The same for pericycle and vasculature in the last tip rows.
    for (int r = 140; r <= kTipSidesTopRow; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kSideUnclassified) continue;
            int t = Tct[col][r];
            if (t < kTctPericycle || t > kTctVascCentral) continue;
            int side = StraightSide(col, r);
            if (side != 0) SetTmt(col, r, side);
        }

    // 4. Radial lines of the tip carry shootward and rootward membranes; the
    // column beside the axis is rootward.
    for (int r = kTipFirstRow; r <= kTipSidesTopRow; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kSideUnclassified) continue;
            int side = RadialSide(col, r);
            if (col == AXIS - 1) side = kSideRootward;
            if (side != 0) SetTmt(col, r, side);
        }

    std::vector<int> next(static_cast<size_t>(NCOLS) * (kTipSidesTopRow - kTipFirstRow + 1));

    // 5. One vote for shootward and rootward.
    VotePass(next, kSideShootward, kSideRootward, 2);

    // 6. Curved layer walls carry the lateral membranes.
    for (int r = kTipFirstRow; r <= kTipSidesTopRow; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kSideUnclassified) continue;
            int side = CurvedSide(col, r);
            if (side != 0) SetTmt(col, r, side);
        }

    // 7. Ten votes for the lateral sides.
    for (int pass = 0; pass < 10; pass++) VotePass(next, kSideInner, kSideOuter, 1);

    // 8. Walls carry the wall code.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_WALL) Tct[i][j] = kTctWall;

    // 9. Symmetry report.
    for (int r = 0; r < NROWS; r++)
        for (int l = 0; l < AXIS; l++)
            if (Tmt[l][r] != Tmt[MIRRORSUM - l][r])
                printf("something is wrong in tissue layout at %i %i and %i %i celltype is %i and %i\n",
                       l, r, MIRRORSUM - l, r, Tct[l][r], Tct[MIRRORSUM - l][r]);
}

// ---------------------------------------------------------------------------
// Cell numbering and geometry

void NumberCells() { NumberCellsByScan(kNumberScanTopRow, kNumberScanWidth); }

void FindCellCorners() { ComputeCellCorners(); }

void FindCellSizes() { ComputeCellSizes(); }

void InitPlant() {
    SetUpTissueLayout();
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    SetUpMembraneTypes();
    InitConditions();
    UpdateMembraneProteinsAndFluxes(0);
}
