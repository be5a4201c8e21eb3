// Profiles along the root at one moment, written anew for each time (the
// time is part of the name): at grid resolution along a tissue file of both
// halves, and at cell resolution along a column.
#pragma once

// Rows of the two sections of a grid-resolution profile.
struct GridProfileRows {
    int tipLastRow;    // tip section: rows 0..tipLastRow, at the first point of the tissue
    int bodyFirstRow;  // body section: rows bodyFirstRow..bodyLastRow at a fixed column
    int bodyLastRow;
};

// The pair of files "leftFormat" and "rightFormat" (each "%s/..%i", filled
// with the output directory and t).  Tip section: in every row whose left
// half holds `tissue`, the point just inside its first column c0 and the
// mirror point: "%i\t%i\t%i\t%f\t%f\t%f\t%f\t%f\t%f\n" with the column, the
// end of the cell's run in the row, the row, auxin, PIN1 and AUX1 on the
// membrane, and the cell's PLETHORA, ARR1 and ARR12 (a tissue code no point
// has gives no tip lines).  Body section: every row whose point at `column`
// (and its mirror) holds a cell: "%i\t%i\t%i\t%f\t%f\t%f\n" with the same
// first six values.  The right file names its columns mirrored.
void WriteGridProfilePair(const char* leftFormat, const char* rightFormat, int tissue, int column, int t,
                          const GridProfileRows& rows);

// The file "format" (filled with the output directory and t): for every row
// of `column` with a cell, "%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%i\n"
// with the row and the cell's mean auxin, ARF, AA, BB, CC, DD, PLETHORA, its
// production, Diff and height; a row outside the root writes -10 in every
// value column; walls write nothing.
void WriteCellProfile(const char* format, int column, int t);
// The line of cell `cell` at `row` in that format.
class OutputFile;
void PrintCellProfileLine(OutputFile& f, int row, int cell);
