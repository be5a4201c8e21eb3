// The plant state file "DIR/DumpPlantStateAt%.10d": one line per column of
// each grid of ints, then of each grid of doubles, one line per cell table
// with all MAXCELLS slots, and last the number of cells.  Every value but the
// last is followed by a tab, every line by a newline; doubles with six
// decimals.
#pragma once

#include <string>
#include <vector>

struct PlantFileLayout {
    struct IntGrid {
        const char* name;
        int*** field;      // address of the global that points at the grid
    };
    struct RealGrid {
        const char* name;
        double*** field;
    };
    struct CellLine {
        const char* name;
        int** ints;        // the table, when it holds ints
        double** reals;    // the table, when it holds doubles
    };
    std::vector<IntGrid> intGrids;
    std::vector<RealGrid> realGrids;
    std::vector<CellLine> cellLines;
};

std::string PlantFileName(int t);

// Writes the dump of time t.  A file that cannot be written is reported on
// standard error; false then.
bool WritePlantFile(const PlantFileLayout& layout, int t);

// Reads the dump of time t from the output directory into the grids and
// tables of the layout and actcells.  Returns false, with a message on
// standard error, when the file is missing or not a complete valid dump; the
// state is then left exactly as it was.
bool ReadPlantFile(const PlantFileLayout& layout, int t);
