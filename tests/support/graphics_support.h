// Helpers of the picture tests: hand-made tissues and a PNG reader.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rootsim.h"

namespace graphicstest {

using RGB = std::array<int, 3>;

// Colour of colour-map entry k.
RGB MapColour(int k);
// Colour that RGBdata holds for grid point (i, j).
RGB PixelAt(int i, int j);

// Marks the whole grid as outside, with no cells.
void ClearToOutside();

// Puts a rectangular cell c of tissue type `type` on columns i0..i1 and rows
// j0..j1: membrane on its border, cytoplasm inside, a wall ring around it, and
// its corners, width, height and size in the cell tables.  The membrane points
// get side codes: rootward on the bottom row, shootward on the top row, outer
// and inner lateral on the left and right columns (left counted as outer).
void PutRectCell(int c, int i0, int i1, int j0, int j1, int type);

// Sets the cell tables' extent of cell c from the grid.
void MeasureCell(int c);

// The membrane distance map as a plain search of the whole box around every
// cytoplasm point, columns outer, rows inner, first nearest point kept.
struct PlainDistanceMap {
    std::vector<double> dist;  // [i * NROWS + j]
    std::vector<int> nbi, nbj;
    std::string report;        // the "no membrane point found" lines
};
PlainDistanceMap BuildPlainDistanceMap();

// Compares the simulator's distance map (already built) with the plain one:
// equal where the plain map puts a point in the band, beyond the band where it
// does not.  Returns a description of the first few differences, empty when
// they agree; counts the points of the band in *inBand.
std::string CompareDistanceMaps(const PlainDistanceMap& plain, long* inBand);

// An irregular tissue of some 170 cells on rows 20..330, built from seed.
void IrregularTissue(uint32_t seed);

// A decoded PNG picture.
struct Picture {
    int width = 0, height = 0, colourType = -1, bitDepth = 0;  // as stored in the file
    std::vector<unsigned char> rgb;  // rows top to bottom, converted to 8-bit RGB
    bool ok = false;
    RGB At(int x, int y) const;
};
Picture ReadPng(const std::string& path);

// Width and height from a PNG file's header, -1 when it is not a PNG.
std::array<int, 2> PngSize(const std::string& path);

}  // namespace graphicstest
