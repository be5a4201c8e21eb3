// Writes pictures of an initial root's point classes (Tc), tissue types (Tct),
// membrane sides (Tmt), cells (Cell) and PIN pattern (PinPrePat), so that a
// layout can be looked at.
//
//   layout_pictures OUTDIR [NAME] [ZOOM TOPROW [BOTTOMROW LEFTCOL RIGHTCOL]]
//
// Built three times: against rootsim (NAME is ignored, the root is rootsim's),
// against the b family (NAME is b2 or b3; default b2) and against rootsim_c
// (NAME is ignored, the root is the c root).  Each field is written
// whole at one pixel per grid point (top image row = highest grid row, as the
// simulator's pictures) and, when ZOOM > 1, once more as the rows 0..TOPROW
// enlarged ZOOM times (or the rows BOTTOMROW..TOPROW of columns
// LEFTCOL..RIGHTCOL).  Files: OUTDIR/NAME_{Tct,Tc,Tmt,Cell,PinPrePat}[_zoom].png.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(LAYOUT_PICTURES_BFAMILY)
#include "bfamily.h"
#elif defined(LAYOUT_PICTURES_C)
#include "rootsim_c.h"
#else
#include "rootsim.h"
#endif

namespace {

struct Rgb {
    unsigned char r, g, b;
};

// One colour per tissue code: cap layers browns, epidermis to pericycle
// greens and yellows, vascular files blues, QC red, columella purples.
Rgb TissueColour(int t) {
    switch (t) {
        case 0: return {255, 255, 255};
        case 1: return {150, 90, 40};
        case 2: return {190, 120, 60};
        case 3: return {220, 160, 90};
        case 4: return {240, 200, 140};
        case 5: return {40, 150, 40};
        case 6: return {140, 210, 110};
        case 7: return {230, 220, 60};
        case 8: return {250, 150, 30};
        case 9: return {60, 110, 230};
        case 10: return {40, 60, 170};
        case 11: return {110, 190, 250};
        case 12: return {230, 20, 20};
        case 13: return {120, 40, 140};
        case 14: return {160, 70, 180};
        case 15: return {200, 110, 210};
        case 16: return {230, 160, 240};
        case 17: return {250, 60, 170};
        case 20: return {0, 0, 0};
        default: return {128, 128, 128};
    }
}

Rgb ClassColour(int tc) {
    switch (tc) {
        case TC_WALL: return {0, 0, 0};
        case TC_CYTO: return {200, 200, 200};
        case TC_MEMBRANE: return {40, 90, 220};
        case TC_OUTSIDE: return {255, 255, 255};
        default: return {255, 0, 255};
    }
}

// Sides: shootward red, rootward blue, inner green, outer orange; points
// without a side as their class (cytoplasm light grey).
Rgb SideColour(int i, int j) {
    switch (Tmt[i][j]) {
        case 1: return {220, 30, 30};
        case 2: return {30, 60, 230};
        case 3: return {30, 170, 40};
        case 4: return {250, 160, 0};
        case 0: return Tc[i][j] == TC_CYTO ? Rgb{225, 225, 225} : ClassColour(Tc[i][j]);
        default: return {255, 0, 255};
    }
}

Rgb CellColour(int i, int j) {
    int x = Cell[i][j];
    if (x < 0) return ClassColour(Tc[i][j]);
    unsigned h = static_cast<unsigned>(x) * 2654435761u;
    return {static_cast<unsigned char>(60 + (h >> 8) % 180), static_cast<unsigned char>(60 + (h >> 16) % 180),
            static_cast<unsigned char>(60 + (h >> 24) % 180)};
}

// PIN share: walls dark grey, cytoplasm light grey, shares from dark blue
// (0.1) over green (0.35, 0.5) to red (1); membranes without PIN white.
Rgb PinColour(int i, int j) {
    if (Tc[i][j] == TC_WALL) return {60, 60, 60};
    if (Tc[i][j] == TC_OUTSIDE) return {255, 255, 255};
    if (Tc[i][j] == TC_CYTO) return {215, 215, 215};
    double v = PinPrePat[i][j];
    if (v == 0) return {255, 255, 255};
    if (v <= 0.1) return {20, 20, 200};
    if (v <= 0.35) return {0, 160, 160};
    if (v <= 0.5) return {0, 190, 0};
    return {230, 0, 0};
}

bool WritePng(const std::string& path, int w, int h, const std::vector<unsigned char>& rgb) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; y++)
        png_write_row(png, const_cast<png_bytep>(&rgb[static_cast<size_t>(y) * w * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return true;
}

struct Crop {
    int zoom, top, bottom, left, right;
};

template <typename F>
void WriteField(const std::string& stem, const Crop& crop, F colour) {
    // Whole grid, one pixel per point, highest row on top.
    std::vector<unsigned char> rgb(static_cast<size_t>(NCOLS) * NROWS * 3);
    for (int y = 0; y < NROWS; y++)
        for (int i = 0; i < NCOLS; i++) {
            Rgb c = colour(i, NROWS - 1 - y);
            size_t p = (static_cast<size_t>(y) * NCOLS + i) * 3;
            rgb[p] = c.r;
            rgb[p + 1] = c.g;
            rgb[p + 2] = c.b;
        }
    WritePng(stem + ".png", NCOLS, NROWS, rgb);
    const int zoom = crop.zoom;
    if (zoom <= 1) return;
    int top = crop.top < NROWS ? crop.top : NROWS - 1;
    int rows = top - crop.bottom + 1, cols = crop.right - crop.left + 1;
    int w = cols * zoom, h = rows * zoom;
    std::vector<unsigned char> z(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            Rgb c = colour(crop.left + x / zoom, top - y / zoom);
            size_t p = (static_cast<size_t>(y) * w + x) * 3;
            z[p] = c.r;
            z[p + 1] = c.g;
            z[p + 2] = c.b;
        }
    WritePng(stem + "_zoom.png", w, h, z);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s OUTDIR [NAME] [ZOOM TOPROW]\n", argv[0]);
        return 1;
    }
    std::string dir = argv[1];
    std::string name = argc > 2 ? argv[2] : "";
    Crop crop{argc > 3 ? atoi(argv[3]) : 4, argc > 4 ? atoi(argv[4]) : 320, 0, 0, NCOLS - 1};
    if (argc > 7) {
        crop.bottom = atoi(argv[5]);
        crop.left = atoi(argv[6]);
        crop.right = atoi(argv[7]);
    }
    if (crop.bottom < 0 || crop.bottom > crop.top || crop.left < 0 || crop.right >= NCOLS || crop.left > crop.right) {
        fprintf(stderr, "bad crop\n");
        return 1;
    }
#ifdef LAYOUT_PICTURES_BFAMILY
    if (name.empty()) name = "b2";
    if (name == "b3")
        bfamily::Install(bfamily::B3Rules());
    else if (name == "b2")
        bfamily::Install(bfamily::B2Rules());
    else {
        fprintf(stderr, "unknown program %s (b2 or b3)\n", name.c_str());
        return 1;
    }
#elif defined(LAYOUT_PICTURES_C)
    name = "c";
#else
    name = "rootsim";
#endif
    MakeArrays();
    InitPlant();
    std::string stem = dir + "/" + name + "_";
    WriteField(stem + "Tct", crop, [](int i, int j) { return TissueColour(Tct[i][j]); });
    WriteField(stem + "Tc", crop, [](int i, int j) { return ClassColour(Tc[i][j]); });
    WriteField(stem + "Tmt", crop, [](int i, int j) { return SideColour(i, j); });
    WriteField(stem + "Cell", crop, [](int i, int j) { return CellColour(i, j); });
    WriteField(stem + "PinPrePat", crop, [](int i, int j) { return PinColour(i, j); });
    printf("%s: %d cells\n", name.c_str(), actcells);
    FreeArrays();
    return 0;
}
