// Initial cell states and the initial auxin field.
//
// Cells of the tip and of the young 8-row bands (top row below the body) start
// with values that depend on their tissue; the taller body cells start alike.
#include "rootsim.h"

#include "initial_cells.h"
#include "plan.h"

void InitConditions() {
    Plasmodesmatapatterning();

    // Division counts by the band of the lowest row: 148..157, 158..166, 167
    // and above.
    const int first = plan::TIP_TOP_ROW, band = plan::CELL_BAND;
    rules::SetInitialCells({plan::MERISTEM_TOP_ROW, first, first + band + 1, first + 2 * band + 1, 3});
    rules::FillInitialAuxin(false);
}
