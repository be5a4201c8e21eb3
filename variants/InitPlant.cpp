// The b family's InitPlant source: the initial root of rootsim_b1 .. b4 on the
// 141 x 873 grid (tissue layout, membrane sides, numbering and geometry,
// initial conditions), with rootsim_b3's own layout, membrane sides and
// initial conditions in namespace b3.
//
// The construction has the form of rootsim's (simulator/Initial_layout.cpp,
// simulator/Initial_content.cpp): the body is a stack of straight cell
// files; the tip is a dome under a surface curve, cut into layers by further
// curves and into cells by straight radial lines through a centre on the
// axis; walls are made 4-connected, cell points next to a wall become
// membranes, and the vascular files are relabelled from the axis outward.  Every rule is evaluated on the left half and written at
// column c and at its mirror MIRRORSUM - c.  The constants are the b family's
// own (variants/plan.h and the curves below), computed in double precision
// and truncated toward zero; variants/README.md gives the reason for each.
#include <cmath>

#include "bfamily.h"
#include "plan.h"
#include "bfamily.h"
#include "geometry.h"
#include "initial_cells.h"
#include "plant_file.h"
#include "plant_state.h"
#include "layout_tools.h"
#include "tissue_watch.h"

static_assert(NCOLS == bplan::GRID_COLS && NROWS == bplan::GRID_ROWS,
              "the b family is built for the 141 x 873 grid");
static_assert(AXIS == bplan::AXIS_COL && MIRRORSUM == bplan::MIRROR, "the b family's axis is column 70");

namespace {

using namespace bplan;

// ---------------------------------------------------------------------------
// Geometry of the tip (the curve and line types of layout_tools.h)

using layout::CurveThrough;
using layout::RadialThrough;
using layout::SetCyto;
using layout::SetTct;
using layout::SetTmt;
using layout::SetWall;
using Curve = layout::TipCurve;
using Line = layout::RadialLine;

// Everything that shapes a tip.
struct Tip {
    Curve surface;                      // S: the dome
    Curve cap1, cap2, cap3;             // between cap layers 1|2, 2|3, 3|4
    Curve epidermis;                    // cap | epidermis
    Curve cortex;                       // epidermis | cortex
    Curve endodermis;                   // cortex | endodermis
    Curve pericycle;                    // endodermis | pericycle (not with stele initials)
    Curve vasculature;                  // pericycle | vasculature (not with stele initials)
    Line l1, l2, l3, l4;                // radial lines, shallowest first
    bool steleInitials;                 // b3: the stele runs straight down into the tip
    int steleBottomRow;                 // b3: flat wall under the stele initials
};

// rootsim_b1, b2, b4: rootsim's tip on the smaller grid.  The surface and the
// curves that close the files meet row 127 at the files' outer walls (k 49,
// 44, 34, 23, 17, 12) as rootsim's meet row 149 at theirs, with rootsim's
// powers and offsets mapped onto rows 8..127; the cap curves and the radial
// lines are rootsim's mapped likewise (rows 8..149 onto 8..127, k scaled by
// 49/92, so a coefficient a becomes a * (119/141) / (49/92)^n and a slope s
// about 1.6 s).
constexpr Tip kTipB2{
    CurveThrough(3, TIP_FIRST_ROW, AXIS_COL - WALL_LRC, MERISTEM_BASE_ROW),
    Curve{3, 0.00102, 46},
    Curve{3, 0.000744, 72},
    Curve{2, 0.00953, 90},
    CurveThrough(3, 101, AXIS_COL - WALL_EPIDERMIS, MERISTEM_BASE_ROW),
    CurveThrough(3, 110, AXIS_COL - WALL_CORTEX, MERISTEM_BASE_ROW),
    CurveThrough(4, 115, AXIS_COL - WALL_ENDODERMIS, MERISTEM_BASE_ROW),
    CurveThrough(5, 119, AXIS_COL - WALL_PERICYCLE, MERISTEM_BASE_ROW),
    CurveThrough(3, 119, AXIS_COL - WALL_VASC_OUTER, MERISTEM_BASE_ROW),
    RadialThrough(L1_SLOPE, RADIAL_CENTRE_ROW),
    RadialThrough(L2_SLOPE, RADIAL_CENTRE_ROW),
    RadialThrough(L3_SLOPE, RADIAL_CENTRE_ROW),
    RadialThrough(L4_SLOPE, RADIAL_CENTRE_ROW),
    false,
    0,
};

// rootsim_b3: a blunt (quartic) dome; the stele's files run straight down to
// a flat wall at row 100 and end there in one initial each, the other layers
// wrap around them, the quiescent centre sits under that wall; the layers and
// the point where the radial lines meet lie lower (centre row 120), and the
// lines are shallower than b2's so that the columella and cap sectors fit
// the lower tip.
constexpr Tip kTipB3{
    CurveThrough(4, TIP_FIRST_ROW, AXIS_COL - WALL_LRC, MERISTEM_BASE_ROW),
    Curve{4, 2.59e-05, 36},
    Curve{3, 0.000583, 55},
    Curve{2, 0.01276, 68},
    CurveThrough(3, 78, AXIS_COL - WALL_EPIDERMIS, MERISTEM_BASE_ROW),
    CurveThrough(3, B3_QC_BOTTOM_ROW - 1, AXIS_COL - WALL_CORTEX, MERISTEM_BASE_ROW),
    CurveThrough(5, 94, AXIS_COL - WALL_ENDODERMIS, MERISTEM_BASE_ROW),
    Curve{},
    Curve{},
    RadialThrough(B3_L1_SLOPE, B3_RADIAL_CENTRE_ROW),
    RadialThrough(B3_L2_SLOPE, B3_RADIAL_CENTRE_ROW),
    RadialThrough(B3_L3_SLOPE, B3_RADIAL_CENTRE_ROW),
    RadialThrough(B3_L4_SLOPE, B3_RADIAL_CENTRE_ROW),
    true,
    B3_STELE_BOTTOM_ROW,
};

// The straight part: meristem bands over the base wall, body cells above,
// the lateral root cap file beside the meristem.
struct Straight {
    int meristemTopRow;
    int bodyTopRow;
    int lrcTopRow;
};

constexpr Straight kStraightB2{MERISTEM_TOP_ROW, BODY_TOP_ROW, LRC_TOP_ROW};
constexpr Straight kStraightB3{B3_MERISTEM_TOP_ROW, B3_BODY_TOP_ROW, B3_LRC_TOP_ROW};

// ---------------------------------------------------------------------------
// Reading the grid

bool IsWall(int col, int r) { return Tc[col][r] == TC_WALL; }
bool IsOutside(int col, int r) { return Tc[col][r] == TC_OUTSIDE; }
bool IsStele(int t) { return t >= TCT_PERICYCLE && t <= TCT_VASC_CENTRAL; }

// The stele initials of b3: the straight stele files below the base wall.
bool InSteleInitials(const Tip& tip, int col, int r) {
    return tip.steleInitials && col >= WALL_PERICYCLE && r >= tip.steleBottomRow && r < MERISTEM_BASE_ROW;
}

// ---------------------------------------------------------------------------
// Tissue layout

// Radial layering of one row of the straight files, from the axis outward:
// the wall columns and each file's tissue code.  With the
// cap, the lateral root cap file lies outside the epidermis; steleOnly draws
// the pericycle and the vascular files alone (b3's stele initials).
void LayerRow(int r, bool withCap, bool steleOnly) {
    static const layout::FileBand files[] = {
        {TCT_VASC_OUTER, AXIS, WALL_VASC_CENTRAL},
        {TCT_VASC_OUTER, WALL_VASC_CENTRAL, WALL_VASC_MIDDLE},
        {TCT_VASC_OUTER, WALL_VASC_MIDDLE, WALL_VASC_OUTER},
        {TCT_PERICYCLE, WALL_VASC_OUTER, WALL_PERICYCLE},
        {TCT_ENDODERMIS, WALL_PERICYCLE, WALL_ENDODERMIS},
        {TCT_CORTEX, WALL_ENDODERMIS, WALL_CORTEX},
    };
    static const layout::FileBand cap = {TCT_LRC1, WALL_EPIDERMIS, WALL_LRC};
    constexpr int kSteleFiles = 4;  // the three vascular files and the pericycle
    SetWall(AXIS, r);
    layout::LayerFiles(r, files, steleOnly ? kSteleFiles : 6);
    if (steleOnly) return;
    SetWall(WALL_EPIDERMIS, r);
    if (withCap) layout::LayerFiles(r, &cap, 1);
}

// A point of the tip: inside the dome, below the base wall and (b3) outside
// the stele initials.
bool InTip(const Tip& tip, int col, int r) {
    return r >= TIP_FIRST_ROW && r < MERISTEM_BASE_ROW && r >= tip.surface.Row(AXIS - col) &&
           !InSteleInitials(tip, col, r);
}

// Tissue code of a tip point from the layer curves, or -1
// to keep the outer cap code 1.  The inner cap layers end at the radial line
// that ends them (layers 3 and 4 at L2, layer 2 at L1), where rootsim ends
// them at rows.
int TipTissue(const Tip& tip, int col, int r) {
    const int k = AXIS - col;
    if (!tip.steleInitials) {
        if (r >= tip.vasculature.Row(k)) return TCT_VASC_OUTER;
        if (r >= tip.pericycle.Row(k)) return TCT_PERICYCLE;
    }
    if (r >= tip.endodermis.Row(k)) return TCT_ENDODERMIS;
    if (r >= tip.cortex.Row(k)) return TCT_CORTEX;
    if (r >= tip.epidermis.Row(k)) return TCT_EPIDERMIS;
    if (r < tip.l2.Row(col)) {
        if (r >= tip.cap3.Row(k)) return TCT_LRC4;
        if (r >= tip.cap2.Row(k)) return TCT_LRC3;
    }
    if (r < tip.l1.Row(col) && r >= tip.cap1.Row(k)) return TCT_LRC2;
    return -1;
}

// The tissue code a tip point carries, walls included: the layer's code, plus 12 for cap and epidermis codes under the
// columella line L3, the quiescent centre for cortex and endodermis codes
// under the QC line L4.
int TipCode(const Tip& tip, int col, int r) {
    int t = TipTissue(tip, col, r);
    if (t < 0) t = TCT_LRC1;
    if (t <= TCT_EPIDERMIS && r < tip.l3.Row(col)) return t + TCT_QC;
    if ((t == TCT_CORTEX || t == TCT_ENDODERMIS) && r < tip.l4.Row(col)) return TCT_QC;
    return t;
}

// The layer curves, outermost first.
enum { kSurface, kCap1, kCap2, kCap3, kEpidermisCurve, kCortexCurve, kEndodermisCurve, kPericycleCurve,
       kVasculatureCurve, kCurves };
const Curve& CurveOf(const Tip& tip, int q) {
    const Curve* curves[kCurves] = {&tip.surface,    &tip.cap1,       &tip.cap2,      &tip.cap3,       &tip.epidermis,
                                    &tip.cortex,     &tip.endodermis, &tip.pericycle, &tip.vasculature};
    return *curves[q];
}

// Does layer curve q draw a wall at the tip point?  The
// endodermis curve is not drawn inside the columella line, so that cortex and
// endodermis codes there form the quiescent centre and its neighbour; the
// inner cap curves end where their layers end; b3 has no pericycle and
// vasculature curves (its stele initials stand on a flat wall).
bool CurveDraws(const Tip& tip, int q, int col, int r) {
    bool drawn = true;
    switch (q) {
        case kPericycleCurve:
        case kVasculatureCurve: drawn = !tip.steleInitials; break;
        case kEndodermisCurve: drawn = r > tip.l3.Row(col); break;
        case kCap2:
        case kCap3: drawn = r < tip.l2.Row(col); break;
        case kCap1: drawn = r < tip.l1.Row(col); break;
        default: break;
    }
    return drawn && CurveOf(tip, q).On(AXIS - col, r);
}

// The radial lines L1..L4 (0..3).
const Line& LineOf(const Tip& tip, int l) {
    const Line* lines[4] = {&tip.l1, &tip.l2, &tip.l3, &tip.l4};
    return *lines[l];
}

// Does radial line l draw a wall at the tip point?  Cap,
// epidermis and cortex are cut by L1 (below the endodermis curve), L2 and L3;
// so is the endodermis by L2 and L3; L4 cuts everything but the stele.
bool LineDraws(const Tip& tip, int l, int col, int r) {
    if (!LineOf(tip, l).On(col, r)) return false;
    const int t = TipCode(tip, col, r);
    switch (l) {
        case 0: return t <= TCT_ENDODERMIS && r < tip.endodermis.Row(AXIS - col);
        case 1:
        case 2: return t <= TCT_ENDODERMIS;
        default: return !IsStele(t);
    }
}

void BuildLayout(const Straight& st, const Tip& tip) {
    TissueChanged();
    // 1. Everything outside.
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = TCT_NONE;
        }

    // 2. Body block (no cap) and 3. the block of the meristem with the cap
    // file beside it.
    for (int col = WALL_EPIDERMIS; col <= AXIS; col++)
        for (int r = st.meristemTopRow; r <= st.bodyTopRow; r++) SetCyto(col, r, TCT_EPIDERMIS);
    for (int col = WALL_LRC; col <= AXIS; col++)
        for (int r = MERISTEM_BASE_ROW; r <= st.lrcTopRow; r++) SetCyto(col, r, TCT_EPIDERMIS);

    // 4. The dome under the surface curve; it meets the meristem's block at
    // the base wall, at the outer wall of the cap file.
    for (int k = 0; k <= AXIS; k++) {
        const int s = tip.surface.Row(k);
        for (int r = TIP_FIRST_ROW; r < MERISTEM_BASE_ROW; r++)
            if (s <= r) SetCyto(AXIS - k, r, TCT_LRC1);
    }

    // 5. Radial layering of the straight files (and of b3's stele initials,
    // which stand on a flat wall).
    for (int r = st.meristemTopRow; r <= st.bodyTopRow; r++) LayerRow(r, false, false);
    for (int r = MERISTEM_BASE_ROW; r <= st.lrcTopRow; r++) LayerRow(r, true, false);
    if (tip.steleInitials) {
        for (int r = tip.steleBottomRow + 1; r < MERISTEM_BASE_ROW; r++) LayerRow(r, false, true);
        for (int col = WALL_PERICYCLE; col <= AXIS; col++) SetWall(col, tip.steleBottomRow);
    }

    // 6. Layer walls of the tip, 7. and 8. tissue codes of the tip (walls
    // included), with the columella under the columella line (L3) and the
    // quiescent centre under the QC line (L4).
    for (int r = TIP_FIRST_ROW; r < MERISTEM_BASE_ROW; r++)
        for (int col = AXIS; col >= 0; col--) {
            if (!InTip(tip, col, r)) continue;
            for (int q = 0; q < kCurves; q++)
                if (CurveDraws(tip, q, col, r)) SetWall(col, r);
            SetTct(col, r, TipCode(tip, col, r));
        }

    // 9. Horizontal walls of the straight part: the base wall, the band
    // walls of the meristem (the cap file only at every third), the
    // meristem's top, the cap file's top and the body cells' walls.
    auto rowWall = [](int r, bool capToo, bool capOnly) {
        for (int col = 0; col <= AXIS; col++) {
            if (IsOutside(col, r)) continue;
            const bool cap = Tct[col][r] == TCT_LRC1;
            if (capOnly ? cap : (capToo || !cap)) SetWall(col, r);
        }
    };
    rowWall(MERISTEM_BASE_ROW, true, false);
    for (int m = 1; MERISTEM_BASE_ROW + m * BAND_ROWS < st.meristemTopRow; m++)
        rowWall(MERISTEM_BASE_ROW + m * BAND_ROWS, m % LRC_WALL_BANDS == 0, false);
    rowWall(st.meristemTopRow, true, false);
    rowWall(st.lrcTopRow, false, true);
    for (int r = st.meristemTopRow + BODY_CELL_ROWS + 1; r <= st.bodyTopRow; r += BODY_CELL_ROWS + 1)
        rowWall(r, true, false);

    // 10. Radial walls of the tip: the axis, the wall between the central
    // vascular file and its neighbour in the stele's tip cells (b1/b2/b4),
    // and the radial lines.
    for (int r = TIP_FIRST_ROW; r < MERISTEM_BASE_ROW; r++)
        for (int col = AXIS; col >= 0; col--) {
            if (!InTip(tip, col, r)) continue;
            bool wall = col == AXIS ||
                        (!tip.steleInitials && col == WALL_VASC_CENTRAL && Tct[col][r] == TCT_VASC_OUTER);
            for (int l = 0; l < 4; l++) wall = wall || LineDraws(tip, l, col, r);
            if (wall) SetWall(col, r);
        }

    // 11. 4-connected walls, 12. membranes, 13. wall codes, 14. vascular
    // files from the axis outward.
    layout::CloseDiagonalWallGaps();
    layout::MarkMembranes(TIP_FIRST_ROW, st.bodyTopRow);
    layout::MarkWallTissue(TIP_FIRST_ROW, st.bodyTopRow);
    layout::RelabelVascularFiles(TIP_FIRST_ROW, st.bodyTopRow);
}

// ---------------------------------------------------------------------------
// Membrane sides

constexpr int kSideShootward = 1;
constexpr int kSideRootward = 2;
constexpr int kSideInner = 3;
constexpr int kSideOuter = 4;
constexpr int kUnclassified = layout::TMT_UNCLASSIFIED;

// The side of a point of a straight cell from the cell's bounding box: with
// rowsFirst (rootsim, b1/b2/b4) the top and bottom rows win at the corners,
// otherwise (b3) the lateral columns do.  0 when the box does not decide.
int StraightSide(int col, int r, bool rowsFirst) {
    const int x = Cell[col][r];
    if (x < 0) return 0;
    const int vertical = r == CellMaxJ[x] ? kSideShootward : (r == CellMinJ[x] ? kSideRootward : 0);
    const int lateral = IsWall(col + 1, r) ? kSideInner : (IsWall(col - 1, r) ? kSideOuter : 0);
    if (rowsFirst) return vertical != 0 ? vertical : lateral;
    return lateral != 0 ? lateral : vertical;
}

// The four neighbours of a point.
constexpr int kNeighbours[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

// What drew a wall point of the tip: the radial line (0..3) and the layer
// curve (0..kCurves-1) that drew it, -1 for none.  A point that closed a
// diagonal gap (step 11 of the layout) stands beside the point it joined, in the
// same row: it takes what drew that point.
struct Drawn {
    int line = -1;
    int curve = -1;
};
Drawn DrawnAt(const Tip& tip, int col, int r) {
    Drawn d;
    for (int dc : {0, -1, 1}) {
        const int c = col + dc;
        if (c < 0 || c > AXIS || !IsWall(c, r) || !InTip(tip, c, r)) continue;
        for (int l = 0; l < 4 && d.line < 0; l++)
            if (LineDraws(tip, l, c, r)) d.line = l;
        for (int q = 0; q < kCurves && d.curve < 0; q++)
            if (CurveDraws(tip, q, c, r)) d.curve = q;
        if (d.line >= 0 || d.curve >= 0) break;
    }
    return d;
}

// Side of a tip membrane point along a radial wall beside it: in the tip the
// files run from the axis outward, so the radial line on a cell's axis side
// (the point lies above it) is its rootward wall and the one on its outer
// side its shootward wall.  0 when no radial wall lies beside the point.
int RadialSide(const Tip& tip, int col, int r) {
    int side = 0;
    for (const auto& d : kNeighbours) {
        const int wc = col + d[0], wr = r + d[1];
        if (!IsWall(wc, wr)) continue;
        const int l = DrawnAt(tip, wc, wr).line;
        if (l >= 0) side = r > LineOf(tip, l).At(col) ? kSideRootward : kSideShootward;
    }
    return side;
}

// Side of a tip membrane point along a layer wall beside it: the curve below
// the point (toward the tip surface) is its outer wall, the curve above it
// (toward the root's centre) its inner wall; inner wins where both touch, as
// in rootsim.  b3's flat wall under the stele initials and their outer side
// wall are inner walls of the cells around them.  0 when no layer wall lies
// beside the point.
int CurvedSide(const Tip& tip, int col, int r) {
    int side = 0;
    for (const auto& d : kNeighbours) {
        const int wc = col + d[0], wr = r + d[1];
        if (!IsWall(wc, wr)) continue;
        int s = 0;
        if (tip.steleInitials && wc >= WALL_PERICYCLE && wc <= AXIS &&
            (wr == tip.steleBottomRow || (wc == WALL_PERICYCLE && wr > tip.steleBottomRow))) {
            s = kSideInner;
        } else {
            const int q = DrawnAt(tip, wc, wr).curve;
            if (q >= 0) s = r > CurveOf(tip, q).At(AXIS - col) ? kSideOuter : kSideInner;
        }
        if (s != 0 && side != kSideInner) side = s;
    }
    return side;
}

// The cells whose sides follow their bounding box: those above the base wall
// and, in b3, the stele initials.
bool IsStraightCell(const Tip& tip, int x) {
    if (CellMinJ[x] > MERISTEM_BASE_ROW) return true;
    return tip.steleInitials && CellMinJ[x] == tip.steleBottomRow + 1 && CellMinI[x] > WALL_PERICYCLE &&
           CellMaxI[x] < MIRRORSUM - WALL_PERICYCLE;
}

void ClassifyMembranes(const Straight& st, const Tip& tip, bool rowsFirst) {
    // 1. Every membrane point unclassified.
    layout::MarkUnclassifiedMembranes(TIP_FIRST_ROW, st.bodyTopRow);

    // 2. Straight cells: sides from the bounding box.
    for (int r = TIP_FIRST_ROW; r <= st.bodyTopRow; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kUnclassified || !IsStraightCell(tip, Cell[col][r])) continue;
            const int side = StraightSide(col, r, rowsFirst);
            if (side != 0) SetTmt(col, r, side);
        }

    // 3. Tip cells: the base wall above them is their shootward wall; the
    // stele's tip cells (b1/b2/b4) have straight side walls; the column
    // beside the axis is rootward; the radial walls carry shootward and
    // rootward membranes.
    for (int r = TIP_FIRST_ROW; r <= TIP_TOP_ROW; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kUnclassified) continue;
            int side = 0;
            if (r + 1 == MERISTEM_BASE_ROW && IsWall(col, r + 1))
                side = kSideShootward;
            else if (IsStele(Tct[col][r]))
                side = IsWall(col + 1, r) ? kSideInner : (IsWall(col - 1, r) ? kSideOuter : 0);
            else if (col == AXIS - 1)
                side = kSideRootward;
            else
                side = RadialSide(tip, col, r);
            if (side != 0) SetTmt(col, r, side);
        }

    // 4. The layer walls carry the lateral membranes.
    for (int r = TIP_FIRST_ROW; r <= TIP_TOP_ROW; r++)
        for (int col = AXIS; col >= 1; col--) {
            if (Tmt[col][r] != kUnclassified) continue;
            const int side = CurvedSide(tip, col, r);
            if (side != 0) SetTmt(col, r, side);
        }

    // 5. Walls carry the wall code; 6. the symmetry report.
    layout::MarkWallTissue(0, NROWS - 1);
    layout::ReportMembraneAsymmetry();
}

}  // namespace

// ---------------------------------------------------------------------------
// rootsim_b1, b2, b4

void SetUpTissueLayout() { BuildLayout(kStraightB2, kTipB2); }

void SetUpMembraneTypes() { ClassifyMembranes(kStraightB2, kTipB2, true); }

void NumberCells() { NumberCellsByScan(NUMBER_SCAN_TOP_ROW, NUMBER_SCAN_WIDTH); }
void FindCellCorners() { ComputeCellCorners(); }
void FindCellSizes() { ComputeCellSizes(); }

// As rootsim's with the b landmarks, without the plasmodesmata
// pattern (the b family has none).
void InitConditions() {
    rules::SetInitialCells({MERISTEM_TOP_ROW, STEM_DAUGHTER_ROW, SECOND_BAND_FIRST_ROW, THIRD_BAND_FIRST_ROW, 3});
    rules::FillInitialAuxin(false);
}

void InitPlant() {
    const bfamily::Rules& rules = bfamily::Installed();
    rules.SetUpTissueLayout();
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    rules.SetUpMembraneTypes();
    rules.InitConditions();
    rules.UpdateMembraneProteinsAndFluxes(0);
}

// ---------------------------------------------------------------------------
// Plant state file: rootsim's, with the family's LAX3 pattern after the
// AUX1 pattern.

namespace {

const PlantFileLayout& Layout() {
    const PlantFileLayout::Range N = PlantFileLayout::NON_NEGATIVE;
    static const PlantFileLayout layout = {
        {{"Tc", &Tc}, {"Tct", &Tct, rules::TissueTypeCodes()}, {"Tmt", &Tmt, rules::MembraneSideCodes()}, {"Cell", &Cell}},
        {{"PinPrePat", &PinPrePat, N},
         {"Pin2PrePat", &Pin2PrePat, N},
         {"Aux1PrePat", &Aux1PrePat, N},
         {"Lax3PrePat", &Lax3PrePat, N},
         {"Caux1", &Caux1}},
        rules::DumpedCellLines(),
    };
    return layout;
}

}  // namespace

void WritePlantToFile(int t) { WritePlantFile(Layout(), t); }

// As rootsim, with the installed program's carrier update.
bool InitPlantFromFile(int t) { return rules::ReadPlant(Layout(), t, {maxmzsize, bfamily::Installed().RebuildCarriers}); }

bool InitPlantFromFileAt(const std::string& path) {
    return rules::ReadPlantAt(Layout(), path, {maxmzsize, bfamily::Installed().RebuildCarriers});
}

// ---------------------------------------------------------------------------
// rootsim_b3

namespace b3 {

void SetUpTissueLayout() { BuildLayout(kStraightB3, kTipB3); }

// b3 gives the corners of its straight cells to the lateral sides.
void SetUpMembraneTypes() { ClassifyMembranes(kStraightB3, kTipB3, false); }

// b3 gives the third meristem band and above the division count 2 (where
// rootsim's InitConditions gives 3 and its priming 2), and fills the whole
// tissue with auxin, walls included.
void InitConditions() {
    rules::SetInitialCells(
        {B3_MERISTEM_TOP_ROW, STEM_DAUGHTER_ROW, SECOND_BAND_FIRST_ROW, THIRD_BAND_FIRST_ROW, 2});
    rules::FillInitialAuxin(true);
}

}  // namespace b3
