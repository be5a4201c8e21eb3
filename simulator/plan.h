// The landmarks of rootsim's root on its 225 x 1900 grid: every row, column
// and band that its rules and measurements refer to, named once.  Columns are
// those of the left half; the right half is their mirror (MIRRORSUM - c).
#pragma once

#include "cellular_diffusion.h"
#include "grid.h"

namespace plan {

// ---------------------------------------------------------------------------
// Rows of the initial root.
constexpr int TIP_FIRST_ROW = 8;            // lowest row of the tip dome
constexpr int TIP_TOP_ROW = 148;            // rows at or below belong to the root tip
constexpr int MERISTEM_BASE_ROW = 149;      // the wall under the first meristem band
constexpr int MERISTEM_TOP_ROW = 212;       // the wall over the last meristem band
constexpr int BODY_TOP_ROW = 1066;          // the wall over the last body cell
constexpr int CELL_BAND = 9;                // rows from one meristem wall to the next
constexpr int FIRST_BAND_LOW_ROW = MERISTEM_BASE_ROW + 2;  // cells starting at or below lie in the first band

// ---------------------------------------------------------------------------
// Columns of the tissue files (left half).
constexpr int CAP_OUTER_WALL_COL = 20;      // outer wall of the lateral root cap
constexpr int CAP_COL = 21;                 // first column of the outermost cap layer
constexpr int CAP_INNER_COL = 22;           // a column inside the outermost cap layer
constexpr int EPIDERMIS_COL = 30;           // first column of the epidermis
constexpr int CORTEX_COL = 49;              // first column of the cortex
constexpr int ENDODERMIS_COL = 70;          // first column of the endodermis
constexpr int PERICYCLE_COL = 83;           // first column of the pericycle
constexpr int VASC_OUTER_COL = 92;          // first column of the outer vascular file
constexpr int VASC_MIDDLE_COL = 98;         // a column of the middle vascular file
constexpr int VASC_CENTRAL_COL = 111;       // last column of the central vascular file
constexpr int QC_COL = 109;                 // a column through the quiescent centre

// The columella line of the tip, row int(SLANT_SLOPE * c - SLANT_OFFSET), and
// the tip line int(TIP_LINE_SLOPE * c + TIP_LINE_OFFSET).
constexpr double SLANT_SLOPE = 2.1;
constexpr double SLANT_OFFSET = 68.20000000000002;
constexpr double TIP_LINE_SLOPE = 0.5;
constexpr double TIP_LINE_OFFSET = 111.0;

// Auxin sources near the tip: the stele produces up to this row.
constexpr int STELE_SOURCE_TOP_ROW = 157;

// ---------------------------------------------------------------------------
// Growth.
constexpr int CULL_ROW = NROWS - 2;         // a cell with a point here leaves the domain
constexpr int STEM_DAUGHTER_ROW = 150;      // a lower daughter starting here keeps a stem cell's count
constexpr int PRIMING_COL = 31;             // the column the growth-clock priming walks up

// Cell tracking: the observation point (pericycle, above the stem cells).
constexpr int TRACK_COL = 83;
constexpr int TRACK_ROW = 166;

// Cell-to-cell diffusion: rows 0..TIP_LOSS_LAST_ROW lose a fraction in the
// outer root cap and the first columella tier.
constexpr int TIP_LOSS_LAST_ROW = 139;

// ---------------------------------------------------------------------------
// Measurements and pictures.
constexpr int PROBE_COL_A = 93;             // point histories: outer vascular file
constexpr int PROBE_COL_B = 84;             // ... and pericycle
constexpr int PROBE_ROWS[] = {149, 14, 32, 50, 68, 86, 104, 122,
                              140, 158, 176, 194, 212, 230, 284, 356};
constexpr int PROFILE_BODY_LAST_ROW = 1869;  // last row of the grid-resolution profiles
constexpr int TRACK_FIRST_ROW = 141;        // first row of the space-time tracks
constexpr int PROFILE_CAP_COL = 1;          // the grid-resolution profile of the outer cap scans from here
// Columns of the cell-resolution profiles: inside epidermis, cortex,
// endodermis and outer vascular file.
constexpr int CELL_PROFILE_EPI_COL = 38;
constexpr int CELL_PROFILE_CORTEX_COL = 58;
constexpr int CELL_PROFILE_ENDO_COL = 75;
constexpr int CELL_PROFILE_VASC_COL = 97;
constexpr int HEIGHT_MARK_LOW = MERISTEM_BASE_ROW;  // band of the growth-height marks
constexpr int HEIGHT_MARK_HIGH = MERISTEM_TOP_ROW;

// ---------------------------------------------------------------------------
// The landmarks of the rules rootsim shares with other programs (rules/),
// each given with the meaning the rule's header states.
struct Landmarks {
    // The plan itself.
    static constexpr int TIP_TOP_ROW = plan::TIP_TOP_ROW;
    static constexpr int MERISTEM_BASE_ROW = plan::MERISTEM_BASE_ROW;
    static constexpr int MERISTEM_TOP_ROW = plan::MERISTEM_TOP_ROW;
    static constexpr int BODY_TOP_ROW = plan::BODY_TOP_ROW;
    static constexpr int EPIDERMIS_COL = plan::EPIDERMIS_COL;
    static constexpr int FIRST_BAND_LOW_ROW = plan::FIRST_BAND_LOW_ROW;
    static constexpr double TIP_LINE_SLOPE = plan::TIP_LINE_SLOPE;
    static constexpr double TIP_LINE_OFFSET = plan::TIP_LINE_OFFSET;
    static constexpr double SLANT_SLOPE = plan::SLANT_SLOPE;
    static constexpr double SLANT_OFFSET = plan::SLANT_OFFSET;

    // Carrier rules (rules/carrier_rules.h).
    static constexpr int FIRST_BAND_REACH_ROW = 152;
    static constexpr int LOWER_STELE_ROW = 179;        // in the fourth band (176..185)
    static constexpr int STELE_TIP_BOTTOM_ROW = 141;
    static constexpr int STELE_TIP_LOW_ROW = 134;
    static constexpr int STELE_SOURCE_TOP_ROW = plan::STELE_SOURCE_TOP_ROW;
    static constexpr int STELE_AUX1_MAXMZ_LIMIT = 316;
    static constexpr int STELE_AUX1_HIGH_ROW = 232;

    // Gene network (rules/gene_network.h).
    static constexpr int ARF_CAP_RAMP_START = 161;   // the cap's ARF target falls from here ...
    static constexpr int ARF_CAP_RAMP_ROWS = 43;     // ... to 30 % over these rows
    static constexpr int ARF_CAP_MIN_ROW = 162;
    static constexpr int GH317_MIN_ROW = TIP_TOP_ROW;
    static constexpr int ARR1_RAMP_START = 388800;   // ARR1 switches on between these times
    static constexpr int ARR1_RAMP_LAST = 431999;
    static constexpr double ARR1_RAMP_LENGTH = 43200.0;
    // Rows 0..TIP_LOSS_LAST_ROW lose 1/72000 of PLETHORA per call in the
    // first columella tier and the outermost cap layer.
    static constexpr TipLoss PLTS_TIP_LOSS = {TIP_LOSS_LAST_ROW, TCT_COLUMELLA1, TCT_LRC1, 1.388888888888889e-05};
};

}  // namespace plan
