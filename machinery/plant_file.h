// The plant state file "DIR/DumpPlantStateAt%.10d": one line per column of
// each grid of ints, then of each grid of doubles, one line per cell table
// with all MAXCELLS slots, and last the number of cells.  Every value but the
// last is followed by a tab, every line by a newline; doubles with six
// decimals.
#pragma once

#include <string>
#include <vector>

//
// The reader takes only finite numbers, point classes 0..3, cell numbers that
// name a cell of the file, and a cell number on exactly the cytoplasm and
// membrane points; beyond that each grid and table states what it may hold.
// The rules of the tables apply to the slots of the file's cells (the slots
// beyond hold values of former cells that nothing reads).
struct PlantFileLayout {
    enum Range {
        ANY,            // any finite value
        NON_NEGATIVE    // levels, weights, counts and times: no value below 0
    };
    struct IntGrid {
        const char* name;
        int*** field;      // address of the global that points at the grid
        std::vector<int> allowed = {};  // the codes it may hold; empty: any
    };
    struct RealGrid {
        const char* name;
        double*** field;
        Range range = ANY;
    };
    struct CellLine {
        const char* name;
        int** ints;        // the table, when it holds ints
        double** reals;    // the table, when it holds doubles
        Range range = ANY;
        std::vector<int> allowed = {};  // ints only: the codes it may hold; empty: any
    };
    std::vector<IntGrid> intGrids;
    std::vector<RealGrid> realGrids;
    std::vector<CellLine> cellLines;
};

// The name format of the dump ("%s/DumpPlantStateAt%.10d") and the name of
// the dump of time t.
extern const char* const kPlantFileNameFormat;
std::string PlantFileName(int t);
// The time in the name of a plant state file ("DumpPlantStateAt0000050000" at
// the end of `path` gives 50000); -1 when the name is not such a name.
int PlantFileTimeOf(const std::string& path);
// The same, with the reason in *why when there is no time.
int PlantFileTimeOf(const std::string& path, std::string* why);
// The last step of a time t, after which its plant state file is written.
inline long LastStepOfTime(int t) { return 5L * t + 4; }

// Writes the dump of time t under a temporary name and renames it when it is
// complete, so that an earlier dump of the same name stays whole when writing
// fails.  A file that cannot be written is reported (OutputFailed); false then.
bool WritePlantFile(const PlantFileLayout& layout, int t);

// The size of the largest dump that WritePlantFile can write for the layout.
size_t LargestPlantFile(const PlantFileLayout& layout);

// Reads the dump of time t from the output directory into the grids and
// tables of the layout and actcells.  Only a regular file no larger than the
// largest dump is read.  Returns false, with a message on standard error that
// names the file, the line and the value, when the file is missing or not a
// complete valid dump; the state is then left exactly as it was.
bool ReadPlantFile(const PlantFileLayout& layout, int t);
// The same for the plant state file at `path`.
bool ReadPlantFileAt(const PlantFileLayout& layout, const std::string& path);
