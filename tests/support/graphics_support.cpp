#include "graphics_support.h"

#include "picture.h"
#include "test_support.h"
#include "tissue_watch.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace graphicstest {

RGB MapColour(int k) { return {colourmap[k][0], colourmap[k][1], colourmap[k][2]}; }

RGB PixelAt(int i, int j) {
    const unsigned char* p = RGBdata + 3 * (static_cast<size_t>(NCOLS) * j + i);
    return {p[0], p[1], p[2]};
}

void ClearToOutside() { testsupport::ClearToOutside(); }

void PutRectCell(int c, int i0, int i1, int j0, int j1, int type) {
    TissueChanged();
    for (int i = i0 - 1; i <= i1 + 1; i++)
        for (int j = j0 - 1; j <= j1 + 1; j++) {
            bool ring = i < i0 || i > i1 || j < j0 || j > j1;
            if (ring) {
                Tc[i][j] = TC_WALL;
                Tct[i][j] = 20;
                Tmt[i][j] = 0;
                Cell[i][j] = -1;
                continue;
            }
            bool border = i == i0 || i == i1 || j == j0 || j == j1;
            Tc[i][j] = border ? TC_MEMBRANE : TC_CYTO;
            Tct[i][j] = type;
            Cell[i][j] = c;
            int side = 0;
            if (border) {
                if (j == j0) side = 2;
                else if (j == j1) side = 1;
                else if (i == i0) side = 4;
                else side = 3;
            }
            Tmt[i][j] = side;
        }
    MeasureCell(c);
    if (actcells <= c) actcells = c + 1;
}

void MeasureCell(int c) {
    int mini = NCOLS, maxi = -1, minj = NROWS, maxj = -1, size = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] == c) {
                if (i < mini) mini = i;
                if (i > maxi) maxi = i;
                if (j < minj) minj = j;
                if (j > maxj) maxj = j;
                size++;
            }
    CellMinI[c] = mini;
    CellMaxI[c] = maxi;
    CellMinJ[c] = minj;
    CellMaxJ[c] = maxj;
    CellWidth[c] = maxi - mini + 1;
    CellHeight[c] = maxj - minj + 1;
    CellSizes[c] = size;
    InvCellSizes[c] = size > 0 ? 1.0 / size : 0.0;
}

PlainDistanceMap BuildPlainDistanceMap() {
    PlainDistanceMap m;
    const size_t n = static_cast<size_t>(NCOLS) * NROWS;
    m.dist.assign(n, 0.0);
    m.nbi.assign(n, 0);
    m.nbj.assign(n, 0);
    int lastI = 0, lastJ = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            if (Cell[i][j] < 0) {  // no cell, no membrane of its own
                m.dist[static_cast<size_t>(i) * NROWS + j] = 10000;
                continue;
            }
            const int c = Cell[i][j];
            double best = 10000;
            for (int ii = std::max(0, i - 30); ii <= std::min(NCOLS - 1, i + 30); ii++)
                for (int jj = std::max(0, j - 30); jj <= std::min(NROWS - 1, j + 30); jj++)
                    if (Tc[ii][jj] == TC_MEMBRANE && Cell[ii][jj] == c) {
                        double d = std::sqrt(static_cast<double>((i - ii) * (i - ii) + (j - jj) * (j - jj)));
                        if (d < best) {
                            best = d;
                            lastI = ii;
                            lastJ = jj;
                        }
                    }
            const size_t at = static_cast<size_t>(i) * NROWS + j;
            m.dist[at] = (CellWidth[c] <= 7 || CellHeight[c] <= 8) ? 2 * best : best;
            m.nbi[at] = lastI;
            m.nbj[at] = lastJ;
            if (best == 10000) {
                char buf[200];
                snprintf(buf, sizeof buf,
                         "no membrane point found\nposition i,j: %i,%i\ncell type %i\ncell dimensions %i %i\n",
                         i, j, Tct[i][j], CellWidth[c], CellHeight[c]);
                m.report += buf;
            }
        }
    return m;
}

std::string CompareDistanceMaps(const PlainDistanceMap& plain, long* inBand) {
    std::string diff;
    int shown = 0;
    long band = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            const size_t at = static_cast<size_t>(i) * NROWS + j;
            const double fast = MembraneDistance(i, j);
            int fi = -1, fj = -1;
            MembraneNearestPoint(i, j, &fi, &fj);
            bool same;
            if (plain.dist[at] <= 3) {
                band++;
                same = fast == plain.dist[at] && fi == plain.nbi[at] && fj == plain.nbj[at];
            } else {
                same = fast > 3;
            }
            if (!same && shown++ < 10) {
                char buf[200];
                snprintf(buf, sizeof buf, "at %d,%d: plain %g (%d,%d), map %g (%d,%d)\n", i, j,
                         plain.dist[at], plain.nbi[at], plain.nbj[at], fast, fi, fj);
                diff += buf;
            }
        }
    if (inBand) *inBand = band;
    return diff;
}

// An irregular tissue: cells around scattered seeds (each point belongs to its
// nearest seed), one-point walls between them, membrane on every cell point
// next to a wall or to the outside.  Seeds are dense in some bands and sparse
// in others, so that there are narrow cells and cells too wide for their
// interior to see any membrane.  Some cells are then joined into non-convex or
// split cells, and one cell loses its membrane.
void IrregularTissue(uint32_t seed) {
    TissueChanged();
    ClearToOutside();
    const int i0 = 8, i1 = 200, j0 = 20, j1 = 330;
    uint32_t state = seed;
    auto next = [&](int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
    };
    std::vector<std::array<int, 2>> seeds;
    for (int k = 0; k < 120; k++) seeds.push_back({i0 + next(i1 - i0 + 1), j0 + next(120)});
    for (int k = 0; k < 50; k++) seeds.push_back({i0 + next(i1 - i0 + 1), 140 + next(60)});
    for (int k = 0; k < 3; k++) seeds.push_back({i0 + next(i1 - i0 + 1), 200 + next(131)});
    std::vector<int> owner(static_cast<size_t>(NCOLS) * NROWS, -1);
    auto own = [&](int i, int j) -> int& { return owner[static_cast<size_t>(i) * NROWS + j]; };
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++) {
            int best = -1;
            long bd = 0;
            for (size_t s = 0; s < seeds.size(); s++) {
                long di = i - seeds[s][0], dj = j - seeds[s][1];
                long d = di * di + 3 * dj * dj / 2;  // cells a little taller than wide
                if (best < 0 || d < bd) {
                    best = static_cast<int>(s);
                    bd = d;
                }
            }
            own(i, j) = best;
        }
    // Joined cells: a few cells take the number of another one.
    for (int k = 0; k < 8; k++) {
        int from = next(static_cast<int>(seeds.size())), to = next(static_cast<int>(seeds.size()));
        for (int& o : owner)
            if (o == from) o = to;
    }
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++) {
            bool wall = (i < i1 && own(i + 1, j) != own(i, j)) || (j < j1 && own(i, j + 1) != own(i, j));
            if (wall) {
                Tc[i][j] = TC_WALL;
                Tct[i][j] = 20;
            } else {
                Tc[i][j] = TC_CYTO;
                Cell[i][j] = own(i, j);
                Tct[i][j] = 1 + own(i, j) % 17;
            }
        }
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            const int nb[4][2] = {{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}};
            for (const auto& p : nb)
                if (Tc[p[0]][p[1]] == TC_WALL || Tc[p[0]][p[1]] == TC_OUTSIDE) Tc[i][j] = TC_MEMBRANE;
        }
    // A cell without membrane.
    const int bare = own(100, 60);
    for (int i = i0; i <= i1; i++)
        for (int j = j0; j <= j1; j++)
            if (Cell[i][j] == bare) Tc[i][j] = TC_CYTO;
    actcells = static_cast<int>(seeds.size());
    for (int c = 0; c < actcells; c++) MeasureCell(c);
}

RGB Picture::At(int x, int y) const {
    size_t at = 3 * (static_cast<size_t>(width) * y + x);
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

Picture ReadPng(const std::string& path) {
    Picture pic;
    FILE* fp = fopen(path.c_str(), "rb");
    if (!fp) return pic;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, &info, nullptr);
        fclose(fp);
        return pic;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        fclose(fp);
        pic.ok = false;
        return pic;
    }
    png_init_io(png, fp);
    png_read_info(png, info);
    pic.width = static_cast<int>(png_get_image_width(png, info));
    pic.height = static_cast<int>(png_get_image_height(png, info));
    pic.colourType = png_get_color_type(png, info);
    pic.bitDepth = png_get_bit_depth(png, info);
    // Whatever the stored form, deliver 8-bit RGB.
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) == 3 * static_cast<size_t>(pic.width)) {
        pic.rgb.resize(3 * static_cast<size_t>(pic.width) * pic.height);
        for (int y = 0; y < pic.height; y++) {
            png_bytep row = pic.rgb.data() + 3 * static_cast<size_t>(pic.width) * y;
            png_read_row(png, row, nullptr);
        }
        png_read_end(png, nullptr);
        pic.ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(fp);
    return pic;
}

std::array<int, 2> PngSize(const std::string& path) {
    unsigned char h[24];
    FILE* fp = fopen(path.c_str(), "rb");
    if (!fp) return {-1, -1};
    size_t n = fread(h, 1, sizeof h, fp);
    fclose(fp);
    static const unsigned char sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (n < 24 || memcmp(h, sig, 8) != 0 || memcmp(h + 12, "IHDR", 4) != 0) return {-1, -1};
    auto be = [&](int o) {
        return (h[o] << 24) | (h[o + 1] << 16) | (h[o + 2] << 8) | h[o + 3];
    };
    return {be(16), be(20)};
}

}  // namespace graphicstest
