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
#include "layout_tools.h"
#include "tissue_watch.h"
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
constexpr int kTctVascCentral = 11;
constexpr int kColumellaShift = 12;    // cap/epidermis code + 12 = columella tier

// Membrane side codes.
constexpr int kSideShootward = 1;
constexpr int kSideRootward = 2;
constexpr int kSideInner = 3;
constexpr int kSideOuter = 4;
constexpr int kSideUnclassified = layout::TMT_UNCLASSIFIED;

using layout::RadialLine;
using layout::SetCyto;
using layout::SetTct;
using layout::SetTmt;
using layout::SetWall;
using layout::TipCurve;

// The layer curves of the tip (layout_tools.h).
constexpr TipCurve kSurface{3, 0.0001810738061970905, 8};
constexpr TipCurve kCurve53{3, 0.00018251851851851852, 53};
constexpr TipCurve kCurve84{3, 0.00013325679609660094, 84};
constexpr TipCurve kCurve105{2, 0.003203987184051264, 105};
constexpr TipCurve kCurve118{3, 5.4215993018379224e-05, 118};
constexpr TipCurve kCurve129{3, 7.62939453125e-05, 129};
constexpr TipCurve kCurve134{4, 4.153502938603326e-06, 134.8};
constexpr TipCurve kCurve140q{5, 3.7037037037037036e-07, 140};
constexpr TipCurve kCurve140c{3, 0.0009718172983479105, 140};

// The four radial lines of the tip, through (AXIS, 167); L3 is the
// columella line.
constexpr RadialLine kL1{0.5, 111};
constexpr RadialLine kL2{1.0, 55};
constexpr RadialLine kL3{plan::SLANT_SLOPE, -plan::SLANT_OFFSET};
constexpr RadialLine kL4{5.0, -393.0};

bool IsWall(int col, int r) { return Tc[col][r] == TC_WALL; }

// Radial layering of one row of the straight files: walls between the files
// and the tissue code of each file, from the axis outward; the lateral root
// cap beside the upper tip block.
void LayerRow(int r, bool upperTip) {
    static const layout::FileBand files[] = {
        {kTctVascOuter, AXIS, 105}, {kTctVascOuter, 105, 98}, {kTctVascOuter, 98, 91},
        {kTctPericycle, 91, 82},    {kTctEndodermis, 82, 69},  {kTctCortex, 69, 48},
    };
    static const layout::FileBand cap = {kTctCapOuter, kBodyOuterCol, kCapOuterCol};
    SetWall(AXIS, r);
    SetWall(kBodyOuterCol, r);
    layout::LayerFiles(r, files, 6);
    if (upperTip) layout::LayerFiles(r, &cap, 1);
}

// Does the tip point (col, r) lie on one of the layer walls?  The first
// matching curve decides.
bool IsLayerWall(int col, int r) {
    int k = AXIS - col;
    if (kCurve140c.On(k, r) || kCurve140q.On(k, r)) return true;
    if (kCurve134.On(k, r)) return r > kL3.Row(col);
    if (kCurve129.On(k, r) || kCurve118.On(k, r)) return true;
    bool tryCurve53;
    if (r <= 113) {
        if (kCurve105.On(k, r)) return true;
        if (r <= 109 && kCurve84.On(k, r)) return true;
        tryCurve53 = true;
    } else {
        tryCurve53 = r <= 129;
    }
    if (tryCurve53 && kCurve53.On(k, r)) return true;
    return kSurface.On(k, r);
}

// Tissue code of a tip point from the layer curves, or -1 to leave it
// unchanged.
int TipTissue(int col, int r) {
    int k = AXIS - col;
    if (col > 60 && r >= kCurve140c.Row(k)) return kTctVascOuter;
    if (col > 60 && r >= kCurve140q.Row(k)) return kTctPericycle;
    if (r >= kCurve134.Row(k)) return kTctEndodermis;
    if (r >= kCurve129.Row(k)) return kTctCortex;
    if (r >= kCurve118.Row(k)) return kTctEpidermis;
    if (r < static_cast<int>(col + 55.0) && r >= kCurve105.Row(k)) return kTctCap4;
    if (r < 110) {
        if (r >= kCurve84.Row(k)) return 3;
        if (r >= kCurve53.Row(k)) return 2;
        return -1;
    }
    if (r <= 129) return r >= kCurve53.Row(k) ? 2 : -1;
    return -1;
}

// Does a radial line put a wall at (col, r)?  Cap, epidermis, cortex and
// endodermis are cut by L1 (below curve 134), L2 and L3; the inner tissues
// only by L4, which never cuts pericycle or vasculature.
bool IsRadialWall(int col, int r) {
    int t = Tct[col][r];
    bool notStele = t < kTctPericycle || t > kTctVascCentral;
    if (kL1.On(col, r)) {
        if (t <= kTctEndodermis) return r < kCurve134.Row(AXIS - col);
        return kL4.On(col, r) && notStele;
    }
    if (kL2.On(col, r) || kL3.On(col, r)) {
        if (t <= kTctEndodermis) return true;
        return kL4.On(col, r) && notStele;
    }
    return kL4.On(col, r) && notStele;
}

}  // namespace

void SetUpTissueLayout() {
    TissueChanged();
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
        int s = kSurface.Row(k);
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
            if (t >= kTctCapOuter && t <= kTctEpidermis && r < kL3.Row(col))
                SetTct(col, r, t + kColumellaShift);
            else if ((t == kTctCortex || t == kTctEndodermis) && r < kL4.Row(col))
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
            } else if (r >= kSurface.Row(k) && IsRadialWall(col, r)) {
                SetWall(col, r);
            }
        }

    // 11. Close diagonal gaps so that every wall line is 4-connected, 12. cell
    // points next to a wall are membrane points, 13. walls carry the wall
    // code, 14. vascular files: from the axis outward the first vascular run
    // is the central file, the next the middle file, the third stays the
    // outer file.
    layout::CloseDiagonalWallGaps();
    layout::MarkMembranes(kTipFirstRow, kBodyTopRow);
    layout::MarkWallTissue(kTipFirstRow, kBodyTopRow);
    layout::RelabelVascularFiles(kTipFirstRow, kBodyTopRow);
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
    if (kL1.Row(col) == r - 1 || kL1.Col(r) == col + 1)
        side = kSideRootward;
    else if (kL1.Row(col) == r + 1 || kL1.Col(r) == col - 1)
        side = kSideShootward;
    // L2
    if (kL2.Row(col) == r - 1 || kL2.Col(r) == col + 1)
        side = kSideRootward;
    else if (kL2.Row(col) == r + 1 || kL2.Col(r) == col - 1 || kL2.Row(col) == r + 2)
        side = kSideShootward;
    // L3
    if (kL3.Row(col) == r - 1 || kL3.Col(r) == col + 1)
        side = kSideRootward;
    else if (kL3.Row(col) == r + 1 || kL3.Col(r) == col - 1)
        side = kSideShootward;
    // L4
    if (kL4.Row(col) == r - 1 || kL4.Col(r) == col + 1)
        side = kSideRootward;
    else if (kL4.Row(col) == r + 1 || kL4.Col(r) == col - 1)
        side = kSideShootward;
    return side;
}

// A layer curve passes beside the point: at column col + d of its row or at
// row r + d of its column; d = -1 looks to the outer side, d = +1 to the inner.
bool CurveBeside(const TipCurve& cv, int col, int r, int d) {
    return cv.PassesAtColumn(r, col + d) || cv.PassesAtRow(col, r + d);
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
        outer = r > kL4.Row(col);
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
        inner = r > kL4.Row(col);
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
    TissueChanged();
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
    layout::MarkUnclassifiedMembranes(kTipFirstRow, kBodyTopRow);

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

    // 8. Walls carry the wall code; 9. symmetry report.
    layout::MarkWallTissue(0, NROWS - 1);
    layout::ReportMembraneAsymmetry();
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
