// Pictures: the shared colour map, the pixel buffer RGBdata (one pixel per
// grid point, grid row NROWS-1 as the top image row), the scans that fill it
// and the PNG writer.  The buffer is never cleared: a pixel that a rule
// leaves unwritten keeps the previous picture's colour.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "state.h"

// The 255-entry colour table of the pictures (red, green, blue): black, dark
// blue, purple, red, yellow, white.
extern const int colourmap[255][3];

constexpr int TOP_INDEX = 254;          // last colour-map entry (white)
constexpr int WALL_INDEX = 0;           // walls of the "wall black" rule
constexpr int OUTSIDE_INDEX = 254;      // outside of the "outside white" rule

// Pixel of grid point (i, j) in RGBdata.
inline unsigned char* Pixel(int i, int j) {
    return RGBdata + 3 * (static_cast<size_t>(NCOLS) * static_cast<size_t>(j) + static_cast<size_t>(i));
}

inline void PutIndex(int i, int j, int index) {
    unsigned char* p = Pixel(i, j);
    p[0] = static_cast<unsigned char>(colourmap[index][0] & 0xFF);
    p[1] = static_cast<unsigned char>(colourmap[index][1] & 0xFF);
    p[2] = static_cast<unsigned char>(colourmap[index][2] & 0xFF);
}

inline void PutRGB(int i, int j, unsigned char r, unsigned char g, unsigned char b) {
    unsigned char* p = Pixel(i, j);
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

// Cell number of a point, or -1 when the point belongs to no (valid) cell.
inline int PictureCellAt(int i, int j) {
    int c = Cell[i][j];
    return (c >= 0 && c < MAXCELLS) ? c : -1;
}

// Visits every point, columns outer and rows inner, with the running colour
// index carried from pixel to pixel.
template <typename Rule>
void Scan(Rule rule) {
    int ci = 0;  // running colour index, carried from pixel to pixel
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) rule(i, j, ci);
}

// Grid field with "wall black, outside white".
template <typename IndexOf>
void ScanGridField(IndexOf indexOf) {
    Scan([&](int i, int j, int& ci) {
        int t = Tc[i][j];
        if (t == TC_WALL) ci = WALL_INDEX;
        else if (t == TC_OUTSIDE) ci = OUTSIDE_INDEX;
        else ci = indexOf(i, j);
        PutIndex(i, j, ci);
    });
}

// Per-cell value; points without a cell: wall black, outside white, others
// keep the running colour index.
template <typename IndexOfCell>
void ScanCells(IndexOfCell indexOfCell) {
    Scan([&](int i, int j, int& ci) {
        int c = PictureCellAt(i, j);
        if (c >= 0) ci = indexOfCell(c, i, j);
        else if (Tc[i][j] == TC_WALL) ci = WALL_INDEX;
        else if (Tc[i][j] == TC_OUTSIDE) ci = OUTSIDE_INDEX;
        PutIndex(i, j, ci);
    });
}

// Writes RGBdata to the named file, under its temporary name first and
// renamed when complete.  A file that cannot be written is reported
// (OutputFailed) and no partial file is left; false then.
bool WritePng(const char* name);

// Writes an 8-bit RGB picture of width x height pixels whose image row y (top
// row first) is row(y), 3 * width bytes, the same way.
bool WriteRgbPicture(const std::string& name, int width, int height,
                     const std::function<const unsigned char*(int)>& row);
