// The plan of the b family's root (rootsim_b1 .. rootsim_b4) on the 141 x 873
// grid: every landmark of its geometry, once, by name.
//
// The b root is rootsim's initial root settled on the smaller grid:
// across, the files are rootsim's scaled by about 0.53 (the schedule samples
// columns 60 and 55, 10 and 15 columns from the axis, where rootsim samples
// its columns 93 and 84, 19 and 28 from its axis); along the root, cells are
// born 8 rows high and divide above 16 rows as in rootsim, but elongate only up
// to 72 rows (rootsim: 144), so the straight body cells are half rootsim's
// height; the tip dome spans rows 8..127 (rootsim 8..149).  b1, b2 and b4 share
// this plan; rootsim_b3, a real older variant, has a taller meristem and a tip
// whose stele runs down into the cap (names with the prefix B3_).
// variants/README.md gives the reason for every value.
//
// Columns are given on the left half; the right half is the mirror,
// column MIRROR - c.  k = AXIS_COL - c is a column's distance from the axis.
#pragma once

#include "cellular_diffusion.h"
#include "grid.h"

namespace bplan {

// ---------------------------------------------------------------------------
// Grid
constexpr int GRID_COLS = 141;
constexpr int GRID_ROWS = 873;
constexpr int AXIS_COL = 70;                       // the axis, itself a wall
constexpr int MIRROR = GRID_COLS - 1;              // mirror of column c: MIRROR - c
constexpr int LAST_ROW = GRID_ROWS - 1;            // 872, always outside
constexpr int CULL_ROW = GRID_ROWS - 2;            // 871: a cell reaching it is culled

// ---------------------------------------------------------------------------
// Along the root: tip, meristem, body
constexpr int TIP_FIRST_ROW = 8;                   // apex of the dome (rows 0..7 outside)
constexpr int MERISTEM_BASE_ROW = 127;             // wall under the first meristem band
constexpr int TIP_TOP_ROW = MERISTEM_BASE_ROW - 1;  // 126: last row of the tip cells
constexpr int STEM_DAUGHTER_ROW = MERISTEM_BASE_ROW + 1;  // 128: a lower daughter starting here
                                                   // resets its division count
constexpr int NEWBORN_ROWS = 8;                    // height of a newborn cell
constexpr int BAND_ROWS = NEWBORN_ROWS + 1;        // 9: walls of the meristem bands, 127 + 9m
constexpr int DIVISION_ROWS = 16;                  // a cell divides when taller than this
constexpr int ELONGATION_MAX_ROWS = 72;            // a cell elongates up to this height
constexpr int MAX_GROWING_ROWS = ELONGATION_MAX_ROWS - 1;  // 71: grows while at most this tall

constexpr int MERISTEM_BANDS = 17;                 // bands of 8-row cells over the base wall
constexpr int MERISTEM_TOP_ROW = MERISTEM_BASE_ROW + MERISTEM_BANDS * BAND_ROWS;  // 280: top wall
constexpr int BODY_CELL_ROWS = 30;                 // the straight body cells above the meristem
constexpr int BODY_CELLS = 7;                      // per file
constexpr int BODY_TOP_ROW = MERISTEM_TOP_ROW + BODY_CELLS * (BODY_CELL_ROWS + 1);  // 497: last wall
constexpr int LRC_TOP_ROW = MERISTEM_TOP_ROW + 13;  // 293: wall on top of the lateral root cap file
constexpr int LRC_WALL_BANDS = 3;                  // the cap file beside the meristem has a wall
                                                   // at every third band wall (127, 154, ..., 262)
                                                   // and at the meristem's top (280)

// Bands of the division counts that InitConditions gives (rootsim: 0, 1, 3).
constexpr int SECOND_BAND_FIRST_ROW = STEM_DAUGHTER_ROW + BAND_ROWS;   // 137
constexpr int THIRD_BAND_FIRST_ROW = STEM_DAUGHTER_ROW + 2 * BAND_ROWS;  // 146

// ---------------------------------------------------------------------------
// Across the root: the straight files (left half).  Each file lies between
// two wall columns; the first column of a file is the one next to its outer
// wall (rootsim's profiles sample the first column, its schedule the second).
constexpr int WALL_VASC_CENTRAL = 66;   // between central and middle vascular file (k 4)
constexpr int WALL_VASC_MIDDLE = 62;    // between middle and outer vascular file (k 8)
constexpr int WALL_VASC_OUTER = 58;     // between outer vascular file and pericycle (k 12)
constexpr int WALL_PERICYCLE = 53;      // between pericycle and endodermis (k 17)
constexpr int WALL_ENDODERMIS = 47;     // between endodermis and cortex (k 23)
constexpr int WALL_CORTEX = 36;         // between cortex and epidermis (k 34)
constexpr int WALL_EPIDERMIS = 26;      // outer wall of the epidermis, of the body (k 44)
constexpr int WALL_LRC = 21;            // outer wall of the lateral root cap file (k 49)

constexpr int VASC_CENTRAL_FIRST_COL = WALL_VASC_CENTRAL + 1;  // 67 (67..69)
constexpr int VASC_CENTRAL_LAST_COL = AXIS_COL - 1;            // 69
constexpr int VASC_MIDDLE_FIRST_COL = WALL_VASC_MIDDLE + 1;    // 63 (63..65)
constexpr int VASC_OUTER_FIRST_COL = WALL_VASC_OUTER + 1;      // 59 (59..61)
constexpr int VASC_OUTER_LAST_COL = WALL_VASC_MIDDLE - 1;      // 61
constexpr int PERICYCLE_FIRST_COL = WALL_PERICYCLE + 1;        // 54 (54..57)
constexpr int ENDODERMIS_FIRST_COL = WALL_ENDODERMIS + 1;      // 48 (48..52)
constexpr int CORTEX_FIRST_COL = WALL_CORTEX + 1;              // 37 (37..46)
constexpr int EPIDERMIS_FIRST_COL = WALL_EPIDERMIS + 1;        // 27 (27..35)
constexpr int LRC_FIRST_COL = WALL_LRC + 1;                    // 22 (22..25)
constexpr int LRC_SECOND_COL = LRC_FIRST_COL + 1;              // 23

// ---------------------------------------------------------------------------
// The tip: a dome under the surface curve, cut into layers by curves and into
// cells by radial lines through (AXIS_COL, RADIAL_CENTRE_ROW).  The curves and
// lines themselves (their coefficients) are the layout's own (InitPlant.cpp).
constexpr int RADIAL_CENTRE_ROW = 142;  // rootsim: 167
// Slopes of the radial lines L1..L4 (rows per column); L1 is the tip line of
// the carrier rules, L3 the columella line.
constexpr double L1_SLOPE = 0.8;
constexpr double L2_SLOPE = 1.6;
constexpr double L3_SLOPE = 3.3;
constexpr double L4_SLOPE = 8.0;
constexpr int STELE_TIP_BOTTOM_ROW = 120;  // lowest row of the stele's tip cells next to the axis
constexpr int QC_BOTTOM_ROW = 111;      // lowest row of the quiescent centre next to the axis
// NumberCells: rows below this take the number of the part of their cell
// below them (the oblique walls of the tip), looking this far along the row.
constexpr int NUMBER_SCAN_TOP_ROW = MERISTEM_BASE_ROW;  // rootsim: 212
constexpr int NUMBER_SCAN_WIDTH = 10;                   // rootsim: 10

// ---------------------------------------------------------------------------
// Measurements and pictures
// The schedule: SaveTemp at (60, r) and (55, r) for r = 127, 147, 157,
// ..., 287, 317, 357.
constexpr int SAMPLE_COL_VASC = 60;     // outer vascular file (rootsim 93)
constexpr int SAMPLE_COL_PERICYCLE = 55;  // pericycle (rootsim 84)
constexpr int SAMPLE_FIRST_ROW = MERISTEM_BASE_ROW;  // 127 (rootsim 149, also its base wall)
constexpr int SAMPLE_BAND_FIRST_ROW = 147;
constexpr int SAMPLE_BAND_STEP = 10;
constexpr int SAMPLE_BAND_COUNT = 15;   // 147..287
constexpr int SAMPLE_BODY_ROW_1 = 317;  // second body cell (rootsim 284)
constexpr int SAMPLE_BODY_ROW_2 = 357;  // third body cell (rootsim 356)

// Profiles (SaveGradGridRes): the fixed left column of each tissue file for
// the body section (the right one is its mirror), tip section rows 0..126,
// body section rows PROFILE_FIRST_ROW..PROFILE_LAST_ROW.
constexpr int PROFILE_COL_RC1 = 1;      // rootsim 1: the grid's second column (outside there too)
constexpr int PROFILE_COL_EPI = EPIDERMIS_FIRST_COL;        // 27 (rootsim 30)
constexpr int PROFILE_COL_CORT = CORTEX_FIRST_COL;          // 37 (rootsim 49)
constexpr int PROFILE_COL_ENDO = ENDODERMIS_FIRST_COL;      // 48 (rootsim 70)
constexpr int PROFILE_COL_PERI = PERICYCLE_FIRST_COL;       // 54 (rootsim 83)
constexpr int PROFILE_COL_VASC1 = VASC_OUTER_FIRST_COL;     // 59 (rootsim 92)
constexpr int PROFILE_COL_VASC2 = WALL_VASC_MIDDLE;         // 62 (rootsim 98, the same wall)
constexpr int PROFILE_COL_VASC3 = VASC_CENTRAL_LAST_COL;    // 69 (rootsim 111)
constexpr int PROFILE_TIP_LAST_ROW = TIP_TOP_ROW;           // 126 (rootsim 148)
constexpr int PROFILE_FIRST_ROW = TIP_FIRST_ROW;            // 8
constexpr int PROFILE_LAST_ROW = GRID_ROWS - 31;            // 842 (rootsim 1869 = 1900 - 31)

// Cell-resolution profiles (SaveGradCellularRes): a middle column of each file.
constexpr int CELLULAR_COL_EPI = 31;    // rootsim 38
constexpr int CELLULAR_COL_CORTEX = 41;  // rootsim 58
constexpr int CELLULAR_COL_ENDO = 50;   // rootsim 75
constexpr int CELLULAR_COL_VASC = VASC_OUTER_LAST_COL;  // 61 (rootsim 97)

// ExtraMeasurements.
constexpr int EXTRA_TOP_LRC_COL = LRC_FIRST_COL;      // 22 (rootsim 21)
constexpr int EXTRA_PIN_COL = CORTEX_FIRST_COL;       // 37 (rootsim 49)
constexpr int EXTRA_HEIGHT_ROW = MERISTEM_TOP_ROW;    // 280 (rootsim 212)
constexpr int EXTRA_COL_A = PERICYCLE_FIRST_COL;      // 54 (rootsim 83), written first
constexpr int EXTRA_COL_B = VASC_OUTER_FIRST_COL;     // 59 (rootsim 92), also the division probe

// Cell tracking: observation point in the pericycle, 17 rows above the base
// wall (rootsim 83, 166).
constexpr int TRACK_COL = PERICYCLE_FIRST_COL;        // 54
constexpr int TRACK_ROW = MERISTEM_BASE_ROW + 17;     // 144

// Growth and shedding probes (rootsim columns 30, 92, 22, 21; rows 149, 150).
constexpr int GROWTH_EPI_COL = EPIDERMIS_FIRST_COL;   // 27: zonation follows this file
constexpr int GROWTH_SOURCE_COL = VASC_OUTER_FIRST_COL;  // 59: divTF/elongTF are read here
constexpr int GROWTH_LRC_COL = LRC_SECOND_COL;        // 23
constexpr int SHED_COL = LRC_FIRST_COL;               // 22
constexpr int GROWTH_FIRST_ROW = MERISTEM_BASE_ROW;   // 127: growth and shedding scans start here
constexpr int INITIAL_MAXMZHEIGHT = MERISTEM_TOP_ROW;  // 280 (rootsim 212)

// Picture kind 22 (TimeOfPrevGrowth): the band of the height marks.
constexpr int HEIGHT_MARK_FIRST_ROW = MERISTEM_BASE_ROW;  // 127
constexpr int HEIGHT_MARK_LAST_ROW = 277;
constexpr int HEIGHT_MARK_MIN_ROWS = 7;               // marked cells are taller than this

// Picture distance map: search box half size.
constexpr int DISTANCE_SEARCH_HALF = 15;

// ---------------------------------------------------------------------------
// rootsim_b3: the landmarks where b3 differs.  Its meristem is taller (20
// bands), its stele runs straight down into the tip as one initial cell per
// file over a flat wall, with the quiescent centre under that wall.
constexpr int B3_MERISTEM_BANDS = 20;
constexpr int B3_MERISTEM_TOP_ROW = MERISTEM_BASE_ROW + B3_MERISTEM_BANDS * BAND_ROWS;  // 307
constexpr int B3_BODY_TOP_ROW = B3_MERISTEM_TOP_ROW + BODY_CELLS * (BODY_CELL_ROWS + 1);  // 524
constexpr int B3_LRC_TOP_ROW = B3_MERISTEM_TOP_ROW + 13;  // 320
constexpr int B3_STELE_BOTTOM_ROW = 100;   // flat wall under the stele initials (rows 101..126)
constexpr int B3_RADIAL_CENTRE_ROW = 120;  // the radial lines of b3's tip meet here
constexpr double B3_L1_SLOPE = 0.7;
constexpr double B3_L2_SLOPE = 1.4;
constexpr double B3_L3_SLOPE = 2.8;
constexpr double B3_L4_SLOPE = 5.0;
constexpr int B3_QC_BOTTOM_ROW = 90;       // the quiescent centre: rows 90..99 next to the axis
constexpr int B3_SAMPLE_FIRST_ROW = 102;   // b3's schedule; in its stele initials
constexpr int B3_HEIGHT_MARK_LAST_ROW = 302;
constexpr int B3_EXTRA_HEIGHT_ROW = B3_MERISTEM_TOP_ROW;     // 307
constexpr int B3_INITIAL_MAXMZHEIGHT = B3_MERISTEM_TOP_ROW;  // 307

// ---------------------------------------------------------------------------
// The landmarks of the rules the b family shares with rootsim (rules/), with
// the meanings their headers give; B3 differs where its root does.

struct B2 {
    // The plan.
    static constexpr int TIP_TOP_ROW = bplan::TIP_TOP_ROW;
    static constexpr int MERISTEM_BASE_ROW = bplan::MERISTEM_BASE_ROW;
    static constexpr int MERISTEM_TOP_ROW = bplan::MERISTEM_TOP_ROW;
    static constexpr int BODY_TOP_ROW = bplan::BODY_TOP_ROW;
    static constexpr int EPIDERMIS_COL = EPIDERMIS_FIRST_COL;
    static constexpr int FIRST_BAND_LOW_ROW = MERISTEM_BASE_ROW + 2;  // 129 (rootsim 151)
    // The tip line (L1) and the columella line (L3) of the layout.
    static constexpr double TIP_LINE_SLOPE = L1_SLOPE;
    static constexpr double TIP_LINE_OFFSET = RADIAL_CENTRE_ROW - L1_SLOPE * AXIS_COL;
    static constexpr double SLANT_SLOPE = L3_SLOPE;
    static constexpr double SLANT_OFFSET = -(RADIAL_CENTRE_ROW - L3_SLOPE * AXIS_COL);

    // Gene network: rootsim's rows over its base wall (161, 162 = 149 + 12,
    // 13), its tip top, its ARR1 onset as long after the start of growth
    // (57600 there, 0 here), PLETHORA lost below 10 rows under the base wall
    // (rootsim 139).
    static constexpr int ARF_CAP_RAMP_START = MERISTEM_BASE_ROW + 12;
    static constexpr int ARF_CAP_RAMP_ROWS = 43;
    static constexpr int ARF_CAP_MIN_ROW = MERISTEM_BASE_ROW + 13;
    static constexpr int GH317_MIN_ROW = TIP_TOP_ROW;
    static constexpr int ARR1_RAMP_START = 388800 - 57600;
    static constexpr int ARR1_RAMP_LAST = 431999 - 57600;
    static constexpr double ARR1_RAMP_LENGTH = 43200.0;
    static constexpr TipLoss PLTS_TIP_LOSS = {MERISTEM_BASE_ROW - 10, TCT_COLUMELLA1, TCT_LRC1,
                                              1.388888888888889e-05};

    // Carrier rules: rootsim's rows over its base wall (152 = 149 + 3, 179 =
    // 149 + 30, its stele source 157 = 149 + 8), under its stele's tip cells
    // (134 = 141 - 7) and over its meristem's top (316 = 212 + 104; the row
    // above it continues (316 - 149) / 2 + 148 by one, as 232 does).
    static constexpr int FIRST_BAND_REACH_ROW = MERISTEM_BASE_ROW + 3;
    static constexpr int LOWER_STELE_ROW = MERISTEM_BASE_ROW + 30;
    static constexpr int STELE_TIP_BOTTOM_ROW = bplan::STELE_TIP_BOTTOM_ROW;
    static constexpr int STELE_TIP_LOW_ROW = STELE_TIP_BOTTOM_ROW - 7;
    static constexpr int STELE_SOURCE_TOP_ROW = MERISTEM_BASE_ROW + 8;
    static constexpr int STELE_AUX1_MAXMZ_LIMIT = MERISTEM_TOP_ROW + 104;
    static constexpr int STELE_AUX1_HIGH_ROW = (STELE_AUX1_MAXMZ_LIMIT - MERISTEM_BASE_ROW) / 2 + TIP_TOP_ROW + 1;

    // Growth.
    static constexpr int GROWTH_SOURCE_COL = bplan::GROWTH_SOURCE_COL;
    static constexpr int GROWTH_CAP_COL = GROWTH_LRC_COL;
    static constexpr int MAX_GROWING_HEIGHT = MAX_GROWING_ROWS;
};

struct B3 : B2 {
    static constexpr int MERISTEM_TOP_ROW = B3_MERISTEM_TOP_ROW;
    static constexpr int BODY_TOP_ROW = B3_BODY_TOP_ROW;
    static constexpr double TIP_LINE_SLOPE = B3_L1_SLOPE;
    static constexpr double TIP_LINE_OFFSET = B3_RADIAL_CENTRE_ROW - B3_L1_SLOPE * AXIS_COL;
    static constexpr double SLANT_SLOPE = B3_L3_SLOPE;
    static constexpr double SLANT_OFFSET = -(B3_RADIAL_CENTRE_ROW - B3_L3_SLOPE * AXIS_COL);
    // The stele's lowest cells are its initials over the flat wall.
    static constexpr int STELE_TIP_BOTTOM_ROW = B3_STELE_BOTTOM_ROW + 1;
    static constexpr int STELE_TIP_LOW_ROW = STELE_TIP_BOTTOM_ROW - 7;
    static constexpr int STELE_AUX1_MAXMZ_LIMIT = MERISTEM_TOP_ROW + 104;
    static constexpr int STELE_AUX1_HIGH_ROW = (STELE_AUX1_MAXMZ_LIMIT - MERISTEM_BASE_ROW) / 2 + TIP_TOP_ROW + 1;
};

}  // namespace bplan
