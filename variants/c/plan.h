// The plan of the c root: every landmark of its geometry, on the 251 x 1782
// grid, as one named constant.
//
// The c root is a longitudinal section of a root tip drawn like rootsim's, at
// about 1.22 times its size across and about 1.25 times along the tip: straight
// cell files above the tip-top row, and below it a dome cut into tissue layers
// by curves and into cells by four straight radial lines.  Columns are given
// for the left half; column c and column kMirrorSum - c always hold the same.
// Row 0 is the tip end; the root grows toward higher rows.
//
// A curve of the tip is F(k) = int(k^n * a + o), with k = kAxisCol - c the
// distance of a left-half column from the axis.  Its coefficient a follows from
// the point where the curve meets the straight files: F(kReachK) = kReachRow
// (the 0.5 keeps that point clear of the truncation).
#pragma once

#include "cellular_diffusion.h"
#include "grid.h"

namespace croot {

// --- Grid --------------------------------------------------------------------
constexpr int kCols = 251;
constexpr int kRows = 1782;
constexpr int kAxisCol = 125;                 // the axis, itself a wall
constexpr int kMirrorSum = kCols - 1;         // mirror of column c is 250 - c

// --- Straight files: wall columns (left half) --------------------------------
// Between two neighbouring wall columns lies one file of cells.
constexpr int kWallVascCentralCol = 117;      // central | middle vascular file
constexpr int kWallVascMiddleCol = 109;       // middle | outer vascular file
constexpr int kWallVascOuterCol = 100;        // outer vascular file | pericycle
constexpr int kWallPericycleCol = 89;         // pericycle | endodermis
constexpr int kWallEndodermisCol = 73;        // endodermis | cortex
constexpr int kWallCortexCol = 47;            // cortex | epidermis
constexpr int kWallEpidermisCol = 23;         // epidermis | lateral root cap (body's outer wall)
constexpr int kWallCapCol = 11;               // outer wall of the lateral root cap

// First and last column of each file (left half).
constexpr int kVascCentralFirstCol = kWallVascCentralCol + 1;   // 118..124
constexpr int kVascCentralLastCol = kAxisCol - 1;
constexpr int kVascMiddleFirstCol = kWallVascMiddleCol + 1;     // 110..116
constexpr int kVascMiddleLastCol = kWallVascCentralCol - 1;
constexpr int kVascOuterFirstCol = kWallVascOuterCol + 1;       // 101..108
constexpr int kVascOuterLastCol = kWallVascMiddleCol - 1;
constexpr int kPericycleFirstCol = kWallPericycleCol + 1;       // 90..99
constexpr int kPericycleLastCol = kWallVascOuterCol - 1;
constexpr int kEndodermisFirstCol = kWallEndodermisCol + 1;     // 74..88
constexpr int kEndodermisLastCol = kWallPericycleCol - 1;
constexpr int kCortexFirstCol = kWallCortexCol + 1;             // 48..72
constexpr int kCortexLastCol = kWallEndodermisCol - 1;
constexpr int kEpidermisFirstCol = kWallEpidermisCol + 1;       // 24..46
constexpr int kEpidermisLastCol = kWallCortexCol - 1;
constexpr int kCapFirstCol = kWallCapCol + 1;                   // 12..22
constexpr int kCapLastCol = kWallEpidermisCol - 1;

// --- Rows ----------------------------------------------------------------------
constexpr int kTipBottomRow = 10;             // lowest row of the dome (on the axis)
constexpr int kTipTopRow = 187;               // wall row between the tip and the files
constexpr int kBandPeriod = 9;                // meristem cells: 8 rows and a wall
constexpr int kMeristemTopRow = 466;          // wall row closing the meristem bands
constexpr int kMeristemBands = (kMeristemTopRow - kTipTopRow) / kBandPeriod;  // 31 per file
constexpr int kBodyPeriod = 73;               // body cells: 72 rows and a wall
constexpr int kBodyTopRow = 1050;             // wall row closing the body
constexpr int kBodyCells = (kBodyTopRow - kMeristemTopRow) / kBodyPeriod;     // 8 per file
static_assert(kTipTopRow + kMeristemBands * kBandPeriod == kMeristemTopRow, "bands end on the meristem top");
static_assert(kMeristemTopRow + kBodyCells * kBodyPeriod == kBodyTopRow, "body cells end on the body top");

// Lateral root cap beside the files: its own walls, all on meristem wall rows,
// and a wall of its own on top.
constexpr int kCapTopRow = 290;
constexpr int kCapWallRows[] = {187, 205, 214, 223, 250};
constexpr int kCapWallCount = sizeof(kCapWallRows) / sizeof(kCapWallRows[0]);

// First rows of the meristem bands that start with fewer divisions behind them
// (the initial division counts): the band just above the tip starts at 0, the
// next at 1, all higher ones at 3.
constexpr int kDivCount0FirstRow = kTipTopRow - 1;               // 186..195: 0
constexpr int kDivCount1FirstRow = kTipTopRow + kBandPeriod;     // 196..204: 1
constexpr int kDivCount3FirstRow = kTipTopRow + 2 * kBandPeriod; // 205 and up: 3

// --- Curves of the tip ---------------------------------------------------------
struct Curve {
    int n;          // power
    double o;       // offset: the row on the axis
    int reachK;     // distance from the axis ...
    int reachRow;   // ... at which the curve reaches this row
};

// Tip surface: reaches the tip-top row at the cap's outer wall.
constexpr Curve kSurface{3, 10, kAxisCol - kWallCapCol, kTipTopRow};
// Cap layer boundaries: outer layer | layer 2, layer 2 | layer 3, layer 3 | layer 4.
// The first is parallel to the surface, 56 rows inside it.
constexpr Curve kCapCurve2{3, 66, kAxisCol - kWallCapCol, kTipTopRow + 56};
constexpr Curve kCapCurve3{3, 105, 100, 196};
constexpr Curve kCapCurve4{2, 131, 100, 157};
// Lower boundaries of the epidermis, cortex, endodermis, pericycle and
// vasculature layers; each reaches the tip-top row at its file's outer wall.
constexpr Curve kEpidermisCurve{3, 147, kAxisCol - kWallEpidermisCol, kTipTopRow};
constexpr Curve kCortexCurve{3, 161, kAxisCol - kWallCortexCol, kTipTopRow};
constexpr Curve kEndodermisCurve{4, 168, kAxisCol - kWallEndodermisCol, kTipTopRow};
constexpr Curve kPericycleCurve{5, 173, kAxisCol - kWallPericycleCol, kTipTopRow};
constexpr Curve kVascularCurve{3, 180, kAxisCol - kWallVascOuterCol, kTipTopRow};

// Stele codes are given in the tip only inside the endodermis' outer wall.
constexpr int kSteleMaxK = kAxisCol - kWallEndodermisCol;   // k < 52

// --- Radial lines of the tip ---------------------------------------------------
// Four straight lines through the point (kAxisCol, kRadialCentreRow), falling
// kRadialSlope rows per column away from the axis: row = centre - slope * k.
// In column terms (d the column as a double) each is int(slope * d - offset).
constexpr int kRadialCentreRow = 204;
constexpr double kL1Slope = 0.5;              // cuts cap, epidermis and cortex layers
constexpr double kL2Slope = 1.0;              // inner cap layers end at this line
constexpr double kL3Slope = 2.1;              // columella line: columella below it
constexpr double kL4Slope = 5.0;              // QC line: QC below it
constexpr double kL1Offset = kL1Slope * kAxisCol - kRadialCentreRow;   // -141.5
constexpr double kL2Offset = kL2Slope * kAxisCol - kRadialCentreRow;   // -79
constexpr double kL3Offset = kL3Slope * kAxisCol - kRadialCentreRow;   // 58.5
constexpr double kL4Offset = kL4Slope * kAxisCol - kRadialCentreRow;   // 421
static_assert(kL4Offset == 421.0, "the QC line is the pericycle threshold of the pre-pattern");

// The wall between the central and the middle vascular file continues into the
// tip down to the vascular curve; the other stele walls stop at the tip top.

// --- Numbering -------------------------------------------------------------------
// Rows below this one may hold cells bounded by oblique walls; the numbering
// looks along the row for the part of the cell below (at most kNumberScanWidth
// columns).  Every cell at or above the tip-top wall is a rectangle and stays one.
constexpr int kNumberScanTopRow = kTipTopRow;
constexpr int kNumberScanWidth = 10;

// --- Transporter pre-pattern -------------------------------------------------------
// Cortex: rootward PIN in the meristem, shootward PIN above it.
constexpr int kCortexRootwardLastRow = 465;   // rootward membranes at or below
constexpr int kCortexShootwardAboveRow = 466; // shootward membranes above
static_assert(kCortexShootwardAboveRow == kMeristemTopRow, "the cortex switches at the meristem top");
// Pericycle: threshold row trunc(5 d - 421) of column d: the QC line.
constexpr double kPericycleThresholdSlope = kL4Slope;
constexpr double kPericycleThresholdOffset = kL4Offset;

// --- Measurements ------------------------------------------------------------------
// Point histories: the topmost cell of the outermost lateral root cap layer,
// at its outer membrane, on both sides.
constexpr int kSampleRow = 288;
constexpr int kSampleLeftCol = 12;
constexpr int kSampleRightCol = kMirrorSum - kSampleLeftCol;   // 238
static_assert(kSampleLeftCol == kCapFirstCol, "the sampling point lies on the cap's outer membrane");
static_assert(kSampleRow > kCapWallRows[kCapWallCount - 1] && kSampleRow < kCapTopRow,
              "the sampling point lies in the topmost cap cell");

// Grid-resolution profiles: the first column inside each file's outer wall
// (its outer membrane column).
constexpr int kProfileEpidermisCol = kEpidermisFirstCol;       // 24 / 226
constexpr int kProfileCortexCol = kCortexFirstCol;             // 48 / 202
constexpr int kProfileEndodermisCol = kEndodermisFirstCol;     // 74 / 176
constexpr int kProfileVascCol = kVascOuterFirstCol;            // 101 / 149
// Cell-resolution profiles: a column near the middle of each file.
constexpr int kCellProfileEpidermisCol = (kEpidermisFirstCol + kEpidermisLastCol) / 2;   // 35 / 215
constexpr int kCellProfileCortexCol = (kCortexFirstCol + kCortexLastCol) / 2;            // 60 / 190
constexpr int kCellProfileEndodermisCol = (kEndodermisFirstCol + kEndodermisLastCol) / 2;  // 81 / 169
constexpr int kCellProfileVascCol = (kVascOuterFirstCol + kVascOuterLastCol) / 2;        // 104 / 146
// Grid-resolution profiles across the root, one file per row: through the
// middle of the QC (rows 162-172), at the sampling row, and in the body.
constexpr int kRowProfileRows[] = {167, kSampleRow, 700};

// --- Growth landmarks ----------------------------------------------------------------
constexpr int kGrowthBaseRow = kTipTopRow;              // the growth zone starts here
constexpr int kEpidermisProbeCol = kEpidermisFirstCol;  // walks of the epidermal file
constexpr int kFactorSourceCol = kVascOuterFirstCol;    // vascular cell whose factors a row follows
constexpr int kCapProbeCol = kCapFirstCol + 1;          // walks of the outer cap layer
constexpr int kShedCol = kCapFirstCol;                  // the cap's outer membrane column, walked for shedding
constexpr int kStemDaughterRow = kTipTopRow + 1;        // a lower daughter starting here keeps a count of 0
constexpr int kCullRow = kRows - 2;                     // a cell reaching this row is removed
constexpr int kInitialRootLength = kBodyTopRow + 1;     // rows of the initial root
constexpr int kInitialEpidermisCells = kMeristemBands + kBodyCells;   // epidermis cells per side above the tip

// --- The landmarks the shared rules read (rules/) ---------------------------------
// rootsim's rows over its tip-top wall (its MERISTEM_BASE_ROW, 149) are taken
// over the c root's (187), as the b family does over its own.
struct Landmarks {
    // The plan.
    static constexpr int TIP_TOP_ROW = kTipTopRow - 1;          // rows at or below: the tip
    static constexpr int MERISTEM_BASE_ROW = kTipTopRow;        // the tip-top wall
    static constexpr int MERISTEM_TOP_ROW = kMeristemTopRow;
    static constexpr int BODY_TOP_ROW = kBodyTopRow;
    static constexpr int EPIDERMIS_COL = kEpidermisProbeCol;
    static constexpr int FIRST_BAND_LOW_ROW = kTipTopRow + 2;   // 189 (rootsim 151)
    // The tip line (L1) and the columella line (L3) of the layout.
    static constexpr double TIP_LINE_SLOPE = kL1Slope;
    static constexpr double TIP_LINE_OFFSET = -kL1Offset;
    static constexpr double SLANT_SLOPE = kL3Slope;
    static constexpr double SLANT_OFFSET = kL3Offset;

    // Gene network: rootsim's ramp rows over the base wall (161, 162 = 149 +
    // 12, 13), its tip top for Gh317, its ARR1 onset as long after the start of
    // growth (57600 there, 0 here), PLETHORA lost up to 10 rows under the base
    // wall (rootsim 139).
    static constexpr int ARF_CAP_RAMP_START = kTipTopRow + 12;
    static constexpr int ARF_CAP_RAMP_ROWS = 43;
    static constexpr int ARF_CAP_MIN_ROW = kTipTopRow + 13;
    static constexpr int GH317_MIN_ROW = TIP_TOP_ROW;
    static constexpr int ARR1_RAMP_START = 388800 - 57600;
    static constexpr int ARR1_RAMP_LAST = 431999 - 57600;
    static constexpr double ARR1_RAMP_LENGTH = 43200.0;
    static constexpr TipLoss PLTS_TIP_LOSS = {kTipTopRow - 10, TCT_COLUMELLA1, TCT_LRC1, 1.388888888888889e-05};

    // Carrier rules.  The pericycle and stele produce auxin in the tip and in
    // the first meristem band (157 = 149 + 8 in rootsim).  The other rows are
    // read only by rootsim's PIN and AUX1 rules, which the pre-pattern
    // replaces; they are given over the c root's walls as the b family's are.
    static constexpr int STELE_SOURCE_TOP_ROW = kTipTopRow + 8;
    static constexpr int FIRST_BAND_REACH_ROW = kTipTopRow + 3;
    static constexpr int LOWER_STELE_ROW = kTipTopRow + 30;
    static constexpr int STELE_TIP_BOTTOM_ROW = static_cast<int>(kVascularCurve.o) + 1;
    static constexpr int STELE_TIP_LOW_ROW = STELE_TIP_BOTTOM_ROW - 7;
    static constexpr int STELE_AUX1_MAXMZ_LIMIT = kMeristemTopRow + 104;
    static constexpr int STELE_AUX1_HIGH_ROW = (STELE_AUX1_MAXMZ_LIMIT - kTipTopRow) / 2 + TIP_TOP_ROW + 1;

    // Growth: zonation follows the epidermal file, the factors come from the
    // outer vascular file, the outer cap follows inside its outer membrane.
    static constexpr int GROWTH_SOURCE_COL = kFactorSourceCol;
    static constexpr int GROWTH_CAP_COL = kCapProbeCol;
    static constexpr int MAX_GROWING_HEIGHT = 143;
};

}  // namespace croot
