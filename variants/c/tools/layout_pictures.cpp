// Writes the initial c root as pictures to look at: tissue types, point
// classes, membrane sides and the PIN pre-pattern, the whole grid and the tip
// enlarged.  Usage: layout_pictures DIR
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "InitPlant.h"
#include "plan.h"
#include "state.h"

namespace {

struct Rgb {
    unsigned char r, g, b;
};

// One colour per tissue code: cap layers reds, epidermis orange, cortex
// yellow, endodermis green, pericycle cyan, vascular files blues, QC magenta,
// columella greys, walls black, outside white.
Rgb TissueColour(int t) {
    switch (t) {
        case 0: return {255, 255, 255};
        case 1: return {200, 40, 40};
        case 2: return {230, 100, 100};
        case 3: return {240, 150, 150};
        case 4: return {250, 200, 200};
        case 5: return {240, 150, 30};
        case 6: return {230, 220, 60};
        case 7: return {60, 170, 60};
        case 8: return {60, 200, 220};
        case 9: return {80, 110, 230};
        case 10: return {50, 60, 180};
        case 11: return {20, 20, 110};
        case 12: return {220, 40, 220};
        case 13: return {200, 200, 200};
        case 14: return {170, 170, 170};
        case 15: return {140, 140, 140};
        case 16: return {110, 110, 110};
        case 17: return {150, 100, 60};
        case 20: return {0, 0, 0};
        default: return {0, 255, 0};
    }
}

Rgb ClassColour(int tc) {
    switch (tc) {
        case TC_WALL: return {0, 0, 0};
        case TC_CYTO: return {200, 200, 200};
        case TC_MEMBRANE: return {220, 60, 60};
        default: return {255, 255, 255};
    }
}

Rgb SideColour(int i, int j) {
    if (Tc[i][j] == TC_WALL) return {0, 0, 0};
    if (Tc[i][j] == TC_OUTSIDE) return {255, 255, 255};
    switch (Tmt[i][j]) {
        case 1: return {230, 30, 30};     // shootward red
        case 2: return {30, 60, 230};     // rootward blue
        case 3: return {30, 180, 30};     // inner green
        case 4: return {240, 200, 0};     // outer yellow
        case 10: return {255, 0, 255};    // unclassified
        default: return {215, 215, 215};  // cytoplasm
    }
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

template <class F>
void Write(const std::string& path, int i0, int i1, int j0, int j1, int scale, F colour) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    const int w = (i1 - i0 + 1) * scale, h = (j1 - j0 + 1) * scale;
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
    for (int j = j1; j >= j0; j--) {
        for (int i = i0; i <= i1; i++) {
            Rgb c = colour(i, j);
            for (int s = 0; s < scale; s++) {
                unsigned char* p = &row[3 * ((i - i0) * scale + s)];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
        for (int s = 0; s < scale; s++) png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 1;
    }
    const std::string dir = argv[1];
    AllocateState();
    InitPlant();
    printf("cells %d\n", actcells);
    // The cells of the tip's left half: number, tissue code at the centre,
    // bounding box and number of points.
    printf("cell\ttype\tcolumns\trows\tpoints\n");
    for (int x = 0; x < actcells; x++) {
        if (CellMaxI[x] >= AXIS || CellMinJ[x] >= croot::kTipTopRow) continue;
        int t = Tct[(CellMinI[x] + CellMaxI[x]) / 2][(CellMinJ[x] + CellMaxJ[x]) / 2];
        printf("%d\t%d\t%d-%d\t%d-%d\t%d\n", x, t, CellMinI[x], CellMaxI[x], CellMinJ[x], CellMaxJ[x],
               CellSizes[x]);
    }
    int unclassified = 0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] == TC_MEMBRANE && (Tmt[i][j] < 1 || Tmt[i][j] > 4)) {
                if (unclassified++ < 20) printf("membrane point without a side: %d %d (%d)\n", i, j, Tmt[i][j]);
            }
    printf("membrane points without a side: %d\n", unclassified);

    auto tissue = [](int i, int j) { return TissueColour(Tct[i][j]); };
    auto cls = [](int i, int j) { return ClassColour(Tc[i][j]); };
    auto side = [](int i, int j) { return SideColour(i, j); };
    auto pin = [](int i, int j) { return PinColour(i, j); };

    Write(dir + "/Tct.png", 0, NCOLS - 1, 0, NROWS - 1, 1, tissue);
    Write(dir + "/Tc.png", 0, NCOLS - 1, 0, NROWS - 1, 1, cls);
    Write(dir + "/Tmt.png", 0, NCOLS - 1, 0, NROWS - 1, 1, side);
    Write(dir + "/PinPrePat.png", 0, NCOLS - 1, 0, NROWS - 1, 1, pin);
    // The tip and the lowest meristem bands, enlarged.
    Write(dir + "/Tct_tip.png", 0, NCOLS - 1, 0, 320, 3, tissue);
    Write(dir + "/Tc_tip.png", 0, NCOLS - 1, 0, 320, 3, cls);
    Write(dir + "/Tmt_tip.png", 0, NCOLS - 1, 0, 320, 3, side);
    Write(dir + "/PinPrePat_tip.png", 0, NCOLS - 1, 0, 320, 3, pin);
    // The inner tip (QC, pericycle cup, stele base) and the left flank, more enlarged.
    Write(dir + "/Tct_centre.png", 80, 170, 120, 200, 8, tissue);
    Write(dir + "/Tmt_centre.png", 80, 170, 120, 200, 8, side);
    Write(dir + "/PinPrePat_centre.png", 80, 170, 120, 200, 8, pin);
    Write(dir + "/Tct_flank.png", 5, 110, 90, 300, 4, tissue);
    Write(dir + "/Tmt_flank.png", 5, 110, 90, 300, 4, side);
    // The meristem top and the first body cells.
    Write(dir + "/Tct_meristemtop.png", 0, NCOLS - 1, 420, 560, 3, tissue);
    Write(dir + "/PinPrePat_meristemtop.png", 0, NCOLS - 1, 420, 560, 3, pin);
    ReleaseState();
    return 0;
}
