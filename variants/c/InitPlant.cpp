// Initial plant of the c root: tissue layout, membrane sides, cell numbering
// and geometry, the transporter pre-pattern and the initial cell states.
//
// The layout follows rootsim's construction with the c root's own landmarks
// (plan.h): straight files above the tip-top row; below it a dome under the
// tip surface, cut into tissue layers by cup-shaped curves and into cells by
// four radial lines through (kAxisCol, kRadialCentreRow).  Everything is drawn
// on the left half and written at column c and at its mirror kMirrorSum - c.
// Every expression is evaluated in double precision and truncated toward zero.
#include "InitPlant.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "geometry.h"
#include "initial_cells.h"
#include "layout_tools.h"
#include "tissue_watch.h"
#include "plan.h"
#include "plant_file.h"
#include "plant_state.h"
#include "rootsim_c.h"
#include "state.h"

using namespace croot;

static_assert(NCOLS == kCols && NROWS == kRows, "build the c root with its own grid size");
static_assert(AXIS == kAxisCol && MIRRORSUM == kMirrorSum, "axis of the c root");

namespace {

// Side codes of Tmt.
constexpr int kShootward = 1;
constexpr int kRootward = 2;
constexpr int kInner = 3;
constexpr int kOuter = 4;
constexpr int kUnclassified = layout::TMT_UNCLASSIFIED;

// --- Curves and lines ----------------------------------------------------------

double IntPow(double x, int n) {
    double p = 1.0;
    for (int i = 0; i < n; i++) p *= x;
    return p;
}

// A tip curve ready for use: F(k) = int(k^n * a + o), and its inverse form
// k = int(((r - o) / a)^e) with e the double nearest 1/n, which keeps the curve
// a connected line where it is steep.
struct Shape {
    int n;
    double a;
    double o;
    double e;
};

Shape MakeShape(const Curve& cv) {
    return {cv.n, (cv.reachRow - cv.o + 0.5) / IntPow(cv.reachK, cv.n), cv.o, 1.0 / cv.n};
}

const Shape S = MakeShape(kSurface);
const Shape A = MakeShape(kCapCurve2);
const Shape B = MakeShape(kCapCurve3);
const Shape D = MakeShape(kCapCurve4);
const Shape E = MakeShape(kEpidermisCurve);
const Shape C = MakeShape(kCortexCurve);
const Shape N = MakeShape(kEndodermisCurve);
const Shape P = MakeShape(kPericycleCurve);
const Shape V = MakeShape(kVascularCurve);

int Forward(const Shape& s, int k) { return static_cast<int>(IntPow(k, s.n) * s.a + s.o); }

// The left-half point at distance k from the axis, row r, lies on the curve.
bool OnCurve(const Shape& s, int k, int r) {
    if (Forward(s, k) == r) return true;
    if (r < s.o) return false;
    return static_cast<int>(std::pow((r - s.o) / s.a, s.e)) == k;
}

// The radial lines through (kAxisCol, kRadialCentreRow): row int(slope * col +
// b), col int((row - b) / slope), b = kRadialCentreRow - slope * kAxisCol.
constexpr layout::RadialLine L1 = layout::RadialThrough(kL1Slope, kRadialCentreRow);
constexpr layout::RadialLine L2 = layout::RadialThrough(kL2Slope, kRadialCentreRow);
constexpr layout::RadialLine L3 = layout::RadialThrough(kL3Slope, kRadialCentreRow);
constexpr layout::RadialLine L4 = layout::RadialThrough(kL4Slope, kRadialCentreRow);

// --- Writers of a left-half point and its mirror (machinery/layout_tools.h) ---

using layout::SetCyto;
using layout::SetTct;
using layout::SetTmt;
using layout::SetWall;

bool IsWall(int col, int r) { return Tc[col][r] == TC_WALL; }

// --- Layout rules ----------------------------------------------------------------

// Walls between the straight files and the tissue code of each file, from the
// axis outward; beside the lateral root cap also the cap's file.
void LayerRow(int r, bool withCap) {
    SetWall(AXIS, r);
    SetWall(kWallEpidermisCol, r);
    static const layout::FileBand bands[] = {
        {TCT_VASC_OUTER, AXIS, kWallVascCentralCol},
        {TCT_VASC_OUTER, kWallVascCentralCol, kWallVascMiddleCol},
        {TCT_VASC_OUTER, kWallVascMiddleCol, kWallVascOuterCol},
        {TCT_PERICYCLE, kWallVascOuterCol, kWallPericycleCol},
        {TCT_ENDODERMIS, kWallPericycleCol, kWallEndodermisCol},
        {TCT_CORTEX, kWallEndodermisCol, kWallCortexCol},
    };
    layout::LayerFiles(r, bands, sizeof bands / sizeof bands[0]);
    // The epidermis keeps the code 5 of the blocks.
    if (withCap) {
        static const layout::FileBand cap[] = {{TCT_LRC1, kWallEpidermisCol, kWallCapCol}};
        layout::LayerFiles(r, cap, 1);
    }
}

// Is the tip point (col, r) on a layer wall?  The first matching curve
// decides.  The endodermis curve is no wall below the columella line, so that
// the QC and the cortex/endodermis initials span both layers; the inner cap
// layers end at the radial lines L2 (layers 3 and 4) and L1 (layer 2).
bool IsLayerWall(int col, int r) {
    const int k = AXIS - col;
    if (OnCurve(V, k, r) || OnCurve(P, k, r)) return true;
    if (OnCurve(N, k, r)) return r > L3.Row(col);
    if (OnCurve(C, k, r) || OnCurve(E, k, r)) return true;
    if (r < L2.Row(col) && (OnCurve(D, k, r) || OnCurve(B, k, r))) return true;
    if (r < L1.Row(col) && OnCurve(A, k, r)) return true;
    return OnCurve(S, k, r);
}

// Tissue code of a tip point from the layer curves, or -1 to keep the outer
// cap code of the dome.
int TipTissue(int col, int r) {
    const int k = AXIS - col;
    if (k < kSteleMaxK && r >= Forward(V, k)) return TCT_VASC_OUTER;
    if (k < kSteleMaxK && r >= Forward(P, k)) return TCT_PERICYCLE;
    if (r >= Forward(N, k)) return TCT_ENDODERMIS;
    if (r >= Forward(C, k)) return TCT_CORTEX;
    if (r >= Forward(E, k)) return TCT_EPIDERMIS;
    if (r < L2.Row(col)) {
        if (r >= Forward(D, k)) return TCT_LRC4;
        if (r >= Forward(B, k)) return TCT_LRC3;
        if (r >= Forward(A, k)) return TCT_LRC2;
    } else if (r < L1.Row(col)) {
        if (r >= Forward(A, k)) return TCT_LRC2;
    }
    return -1;
}

bool IsStele(int t) { return t >= TCT_PERICYCLE && t <= TCT_VASC_CENTRAL; }

// Does a radial line put a wall at (col, r)?  L1 (below the endodermis curve),
// L2 and L3 cut the cap, epidermis, cortex and endodermis layers; L4 cuts every
// tissue but the stele.
bool IsRadialWall(int col, int r) {
    const int t = Tct[col][r];
    const bool l4 = L4.On(col, r) && !IsStele(t);
    if (L1.On(col, r)) {
        if (t <= TCT_ENDODERMIS) return r < Forward(N, AXIS - col);
        return l4;
    }
    if (L2.On(col, r) || L3.On(col, r)) {
        if (t <= TCT_ENDODERMIS) return true;
        return l4;
    }
    return l4;
}

}  // namespace

void SetUpTissueLayout() {
    TissueChanged();
    // 1. Everything outside.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = TCT_NONE;
        }

    // 2. Body block and 3. the block of the lateral root cap beside it.
    for (int col = kWallEpidermisCol; col <= AXIS; col++)
        for (int r = kTipTopRow; r <= kBodyTopRow; r++) SetCyto(col, r, TCT_EPIDERMIS);
    for (int col = kWallCapCol; col <= AXIS; col++)
        for (int r = kTipTopRow; r <= kCapTopRow; r++) SetCyto(col, r, TCT_EPIDERMIS);

    // 4. Tip dome under the surface curve.
    for (int k = 0; k <= AXIS; k++) {
        const int s = Forward(S, k);
        for (int r = kTipBottomRow; r <= kTipTopRow; r++)
            if (s <= r) SetCyto(AXIS - k, r, TCT_LRC1);
    }

    // 5. Walls and codes of the straight files.
    for (int r = kTipTopRow; r <= kBodyTopRow; r++) LayerRow(r, r <= kCapTopRow);

    // 6. Layer walls of the tip.
    for (int r = kTipBottomRow; r <= kTipTopRow; r++)
        for (int col = AXIS; col >= 0; col--)
            if (Tc[col][r] != TC_OUTSIDE && IsLayerWall(col, r)) SetWall(col, r);

    // 7. Tissue codes of the tip (walls included).
    for (int r = kTipBottomRow; r < kTipTopRow; r++)
        for (int col = AXIS; col >= 0; col--) {
            if (Tc[col][r] == TC_OUTSIDE) continue;
            const int t = TipTissue(col, r);
            if (t >= 0) SetTct(col, r, t);
        }

    // 8. Columella below the columella line (cap layers become tiers 1-4, the
    // epidermis layer the stem cells), QC below the QC line.
    for (int r = kTipBottomRow; r < kTipTopRow; r++)
        for (int col = AXIS; col >= 0; col--) {
            if (Tc[col][r] == TC_OUTSIDE) continue;
            const int t = Tct[col][r];
            if (t >= TCT_LRC1 && t <= TCT_EPIDERMIS && r < L3.Row(col))
                SetTct(col, r, t + (TCT_COLUMELLA1 - TCT_LRC1));
            else if ((t == TCT_CORTEX || t == TCT_ENDODERMIS) && r < L4.Row(col))
                SetTct(col, r, TCT_QC);
        }

    // 9. Horizontal walls: the tip top, the meristem bands (the lateral root
    // cap only on its own rows), the cap's top and the body cells.
    auto rowWall = [](int r, auto pick) {
        for (int col = 0; col <= AXIS; col++)
            if (Tc[col][r] != TC_OUTSIDE && pick(Tct[col][r])) SetWall(col, r);
    };
    auto all = [](int) { return true; };
    auto notCap = [](int t) { return t != TCT_LRC1; };
    rowWall(kTipTopRow, all);
    for (int r = kTipTopRow + kBandPeriod; r <= kMeristemTopRow; r += kBandPeriod) {
        bool capWall = false;
        for (int w : kCapWallRows) capWall = capWall || w == r;
        if (capWall)
            rowWall(r, all);
        else
            rowWall(r, notCap);
    }
    rowWall(kCapTopRow, [](int t) { return t == TCT_LRC1; });
    for (int r = kMeristemTopRow + kBodyPeriod; r <= kBodyTopRow; r += kBodyPeriod) rowWall(r, all);

    // 10. Radial walls of the tip, the axis, and the wall between the central
    // and the middle vascular file down to the vascular curve.
    for (int r = kTipBottomRow; r < kTipTopRow; r++)
        for (int k = 0; k <= AXIS; k++) {
            const int col = AXIS - k;
            if (k == 0)
                SetWall(col, r);
            else if (col == kWallVascCentralCol && r > Forward(V, k))
                SetWall(col, r);
            else if (Tc[col][r] != TC_OUTSIDE && r >= Forward(S, k) && IsRadialWall(col, r))
                SetWall(col, r);
        }

    // 11. Close diagonal steps so that every wall line is 4-connected: where
    // two wall points touch only at a corner, the point beside the first in
    // the column of the second becomes a wall too.  (Joining only isolated
    // wall points would leave the two- and five-point steps of the flatter
    // and steeper radial lines apart.)
    for (int x = AXIS; x >= 1; x--)
        for (int r = 1; r < NROWS - 1; r++) {
            if (!IsWall(x, r)) continue;
            for (int dx : {1, -1})
                for (int dr : {1, -1}) {
                    const int xx = x + dx;
                    if (xx > AXIS || !IsWall(xx, r + dr) || IsWall(xx, r) || IsWall(x, r + dr)) continue;
                    SetWall(xx, r);
                    SetTct(xx, r, TCT_NONE);
                }
        }

    // 12. Cell points next to a wall are membrane points; 13. walls carry the
    // wall code; 14. vascular files: from the axis outward the first vascular
    // run of a row is the central file, the next the middle file, the third
    // stays outer.
    layout::MarkMembranes(kTipBottomRow, kBodyTopRow);
    layout::MarkWallTissue(kTipBottomRow, kBodyTopRow);
    layout::RelabelVascularFiles(kTipBottomRow, kBodyTopRow);
}

// ---------------------------------------------------------------------------
// Membrane sides
//
// Cells of the straight files take their sides from their bounding box; so do
// the vascular cells of the tip, whose walls are straight.  In the rest of the
// tip the radial lines (and the axis) carry shootward and rootward membranes,
// the layer curves the lateral ones: the side facing the root's centre is
// inner, the side facing the tip surface outer.  The points that neither rule
// reaches (corners, walls that close diagonal gaps) take the side of their
// neighbours in the same cell.

namespace {

int StraightSide(int col, int r) {
    const int x = Cell[col][r];
    if (x < 0) return 0;
    if (r == CellMaxJ[x]) return kShootward;
    if (r == CellMinJ[x]) return kRootward;
    if (IsWall(col + 1, r)) return kInner;
    if (IsWall(col - 1, r)) return kOuter;
    return 0;
}

// The point (wc, wr) lies on a radial line that bounds tissue of type t: the
// lines cut the cap, epidermis, cortex and endodermis layers (L1 only below
// the endodermis curve), and the columella and the QC lie below the columella
// and QC lines.
bool OnRayFor(int t, int wc, int wr) {
    if (t <= TCT_ENDODERMIS) {
        if (L1.On(wc, wr) && wr < Forward(N, AXIS - wc)) return true;
        return L2.On(wc, wr) || L3.On(wc, wr) || L4.On(wc, wr);
    }
    if (t >= TCT_QC) return L3.On(wc, wr) || L4.On(wc, wr);
    return false;
}

// A wall of the tip that no rule drew: it closes a diagonal step of a curve
// or a line, and belongs to the wall it closes.
bool ClosingWall(int wc, int wr) {
    if (!IsWall(wc, wr) || wc == AXIS || wc == kWallVascCentralCol || wr == kTipTopRow) return false;
    if (IsLayerWall(wc, wr)) return false;
    return !(L1.On(wc, wr) || L2.On(wc, wr) || L3.On(wc, wr) || L4.On(wc, wr));
}

// The wall point (wc, wr) belongs to a wall that `on` describes: it lies on it,
// or it closes a step of it.
template <class On>
bool WallOf(int wc, int wr, On on) {
    if (!IsWall(wc, wr)) return false;
    if (on(wc, wr)) return true;
    if (!ClosingWall(wc, wr)) return false;
    const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    for (int q = 0; q < 4; q++)
        if (IsWall(wc + dc[q], wr + dr[q]) && on(wc + dc[q], wr + dr[q])) return true;
    return false;
}

bool RayWallFor(int t, int wc, int wr) {
    return WallOf(wc, wr, [t](int c0, int r0) { return OnRayFor(t, c0, r0); });
}

// Side of a tip membrane point from the radial walls it touches: a line below
// the point or between it and the axis is its rootward side.  The points next
// to the axis are rootward.
int RadialSide(int col, int r) {
    if (col + 1 == AXIS) return kRootward;
    const int t = Tct[col][r];
    if (RayWallFor(t, col, r - 1) || RayWallFor(t, col + 1, r)) return kRootward;
    if (RayWallFor(t, col, r + 1) || RayWallFor(t, col - 1, r)) return kShootward;
    return 0;
}

bool LayerWallAt(int wc, int wr) { return WallOf(wc, wr, IsLayerWall); }

// Side of a tip membrane point from the layer walls it touches; the inner side
// wins.  A point near the tip surface is outer.
int CurvedSide(int col, int r) {
    if (LayerWallAt(col + 1, r) || LayerWallAt(col, r + 1)) return kInner;
    if ((col >= 2 && Tc[col - 2][r - 2] == TC_OUTSIDE) || LayerWallAt(col - 1, r) || LayerWallAt(col, r - 1))
        return kOuter;
    return 0;
}

// One neighbour vote over the tip rows.  Every point reads the state before
// the pass; an unclassified point takes `first` when at least `threshold` of
// its eight neighbours in the same cell carry it, else `second` on the same
// condition.
void VotePass(std::vector<int>& next, int first, int second, int threshold) {
    TissueChanged();
    const int rows = kTipTopRow - kTipBottomRow;
    auto at = [&](int col, int r) -> int& {
        return next[static_cast<size_t>(col) * rows + (r - kTipBottomRow)];
    };
    for (int i = 0; i < NCOLS; i++)
        for (int r = kTipBottomRow; r < kTipTopRow; r++) at(i, r) = Tmt[i][r];
    for (int r = kTipBottomRow; r < kTipTopRow; r++)
        for (int col = AXIS - 1; col >= 1; col--) {
            if (Tmt[col][r] != kUnclassified) continue;
            const int x = Cell[col][r];
            int n1 = 0, n2 = 0;
            for (int di = -1; di <= 1; di++)
                for (int dj = -1; dj <= 1; dj++) {
                    if ((di == 0 && dj == 0) || Cell[col + di][r + dj] != x) continue;
                    if (Tmt[col + di][r + dj] == first) n1++;
                    if (Tmt[col + di][r + dj] == second) n2++;
                }
            const int side = n1 >= threshold ? first : (n2 >= threshold ? second : 0);
            if (side != 0) {
                at(col, r) = side;
                at(MIRRORSUM - col, r) = side;
            }
        }
    for (int i = 0; i < NCOLS; i++)
        for (int r = kTipBottomRow; r < kTipTopRow; r++) Tmt[i][r] = at(i, r);
}

// Applies a side rule to the unclassified points of the left half in rows
// [r0, r1] whose type passes `pick`.
template <class Rule, class Pick>
void Classify(int r0, int r1, Rule rule, Pick pick) {
    for (int r = r0; r <= r1; r++)
        for (int col = AXIS - 1; col >= 1; col--) {
            if (Tmt[col][r] != kUnclassified || !pick(Tct[col][r])) continue;
            const int side = rule(col, r);
            if (side != 0) SetTmt(col, r, side);
        }
}

}  // namespace

void SetUpMembraneTypes() {
    // 1. Membrane points unclassified, all others no membrane.
    layout::MarkUnclassifiedMembranes(0, NROWS - 1);

    auto any = [](int) { return true; };
    // 2. Straight files, and the top row of every tip cell.
    Classify(kTipTopRow - 1, NROWS - 2, StraightSide, any);
    // 3. Vascular cells of the tip.
    Classify(kTipBottomRow, kTipTopRow - 1, StraightSide,
             [](int t) { return t >= TCT_VASC_OUTER && t <= TCT_VASC_CENTRAL; });
    // 4. Radial walls and the axis.
    Classify(kTipBottomRow, kTipTopRow - 1, RadialSide, any);

    std::vector<int> next(static_cast<size_t>(NCOLS) * (kTipTopRow - kTipBottomRow));
    // 5. One vote for shootward and rootward.
    VotePass(next, kShootward, kRootward, 2);
    // 6. Layer walls.
    Classify(kTipBottomRow, kTipTopRow - 1, CurvedSide, any);
    // 7. Ten votes for the lateral sides.
    for (int pass = 0; pass < 10; pass++) VotePass(next, kInner, kOuter, 1);

    // 8. Walls carry the wall code; 9. the symmetry report.
    layout::MarkWallTissue(0, NROWS - 1);
    layout::ReportMembraneAsymmetry();
}

// ---------------------------------------------------------------------------
// Cell numbering and geometry, by the machinery.  Every cell at or above the
// tip-top wall is a rectangle, so the numbering looks along the row for a
// cell's part below only in the tip.

void NumberCells() { NumberCellsByScan(kNumberScanTopRow, kNumberScanWidth); }
void FindCellCorners() { ComputeCellCorners(); }
void FindCellSizes() { ComputeCellSizes(); }

// ---------------------------------------------------------------------------
// Transporter pre-pattern: the share of its cell's PIN that each membrane
// carries, by tissue, side and position.

double PrePatternPinShare(int t, int s, int d, int j) {
    if (t <= TCT_LRC4 || t == TCT_EPIDERMIS) {
        if (s == kShootward) return 1;
        if (s == kInner) return 0.1;
        return 0;
    }
    if (t == TCT_CORTEX) {
        if (s == kShootward && j > kCortexShootwardAboveRow) return 1;
        if (s == kRootward && j <= kCortexRootwardLastRow) return 1;
        if (s == kInner) return 0.1;
        return 0;
    }
    if (t == TCT_ENDODERMIS) {
        if (s == kRootward) return 1;
        if (s == kInner) return 0.35;
        return 0;
    }
    if (t == TCT_PERICYCLE) {
        const int threshold = static_cast<int>(kPericycleThresholdSlope * d - kPericycleThresholdOffset);
        if (j > threshold) {
            if (s == kRootward) return 1;
            if (s == kInner) return 0.1;
            return 0;
        }
        return s == kOuter ? 1 : 0;
    }
    if (t >= TCT_VASC_OUTER && t <= TCT_VASC_CENTRAL) {
        if (s == kRootward) return 1;
        if (s == kOuter) return 0.1;
        return 0;
    }
    if (t == TCT_QC) return s == kOuter ? 1 : 0;
    if (t == TCT_COLUMELLA1) return s >= kShootward && s <= kInner ? 0.5 : 0;
    return 1;
}

void SetUpPrePattern() {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            PinPrePat[i][j] = 0;
            Aux1PrePat[i][j] = 0;
        }
    for (int d = AXIS; d >= 0; d--)
        for (int j = 0; j < NROWS; j++) {
            if (Tc[d][j] != TC_MEMBRANE) continue;
            const double v = PrePatternPinShare(Tct[d][j], Tmt[d][j], d, j);
            if (v == 0) continue;
            PinPrePat[d][j] = v;
            PinPrePat[MIRRORSUM - d][j] = v;
        }
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) Aux1PrePat[i][j] = 0;
}

// ---------------------------------------------------------------------------
// Initial cell states and auxin (rules/initial_cells.h): cells of the tip and
// of the meristem bands start with values by tissue, the body cells above the
// meristem top alike; division counts 0 for cells starting on rows 186-195,
// 1 on 196-204, 3 from 205; auxin 40 on every cell point.  There is no
// plasmodesmata pattern in this program: every side keeps the neutral weight
// it was allocated with.

void InitConditions() {
    rules::SetInitialCells(
        {kMeristemTopRow + 1, kDivCount0FirstRow, kDivCount1FirstRow, kDivCount3FirstRow, 3});
    rules::FillInitialAuxin(false);
}

// ---------------------------------------------------------------------------

void InitPlant() {
    SetUpTissueLayout();
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    SetUpMembraneTypes();
    SetUpPrePattern();
    InitConditions();
    UpdateMembraneProteinsAndFluxes(0);
}

// ---------------------------------------------------------------------------
// Plant state file: the grids of the tissue, its pre-pattern and the auxin
// field, one line per column; then the machinery's per-cell lines; then the
// number of cells (rules/plant_state.h).

namespace {

const PlantFileLayout& Layout() {
    const PlantFileLayout::Range N = PlantFileLayout::NON_NEGATIVE;
    static const PlantFileLayout layout = {
        {{"Tc", &Tc}, {"Tct", &Tct, rules::TissueTypeCodes()}, {"Tmt", &Tmt, rules::MembraneSideCodes()}, {"Cell", &Cell}},
        {{"PinPrePat", &PinPrePat, N}, {"Aux1PrePat", &Aux1PrePat, N}, {"Caux1", &Caux1}},
        rules::DumpedCellLines(),
    };
    return layout;
}

}  // namespace

void WritePlantToFile(int t) { WritePlantFile(Layout(), t); }

bool InitPlantFromFile(int t) { return rules::ReadPlant(Layout(), t, {maxmzsize, RebuildCarriers}); }

bool InitPlantFromFileAt(const std::string& path) {
    return rules::ReadPlantAt(Layout(), path, {maxmzsize, RebuildCarriers});
}
