// Pictures: the colour map and the PNG writer.
#include "picture.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "outputs.h"

const int colourmap[255][3] = {
    {0, 0, 0}, {0, 0, 7}, {0, 0, 9}, {0, 0, 12}, {0, 0, 14},  // 0-4
    {0, 0, 17}, {0, 0, 19}, {0, 0, 22}, {0, 0, 24}, {0, 0, 27},  // 5-9
    {0, 0, 29}, {0, 0, 32}, {0, 0, 34}, {0, 0, 37}, {0, 0, 39},  // 10-14
    {0, 0, 42}, {0, 0, 44}, {0, 0, 47}, {0, 0, 49}, {0, 0, 52},  // 15-19
    {0, 0, 54}, {0, 0, 57}, {0, 0, 59}, {0, 0, 62}, {0, 0, 64},  // 20-24
    {0, 0, 67}, {0, 0, 69}, {0, 0, 72}, {0, 0, 74}, {0, 0, 77},  // 25-29
    {0, 0, 79}, {0, 0, 82}, {0, 0, 84}, {0, 0, 87}, {0, 0, 89},  // 30-34
    {0, 0, 92}, {0, 0, 94}, {0, 0, 97}, {0, 0, 99}, {0, 0, 102},  // 35-39
    {0, 0, 104}, {0, 0, 107}, {0, 0, 109}, {0, 0, 112}, {0, 0, 114},  // 40-44
    {0, 0, 117}, {0, 0, 119}, {0, 0, 122}, {0, 0, 124}, {0, 0, 127},  // 45-49
    {0, 0, 129}, {3, 0, 127}, {7, 0, 126}, {10, 0, 124}, {13, 0, 122},  // 50-54
    {16, 0, 121}, {19, 0, 119}, {22, 0, 117}, {26, 0, 116}, {29, 0, 114},  // 55-59
    {32, 0, 112}, {35, 0, 111}, {38, 0, 109}, {41, 0, 107}, {44, 0, 106},  // 60-64
    {48, 0, 104}, {51, 0, 102}, {54, 0, 101}, {57, 0, 99}, {60, 0, 97},  // 65-69
    {63, 0, 96}, {66, 0, 94}, {69, 0, 93}, {72, 0, 92}, {75, 0, 90},  // 70-74
    {77, 0, 89}, {80, 0, 88}, {83, 0, 86}, {87, 0, 85}, {90, 0, 84},  // 75-79
    {93, 0, 82}, {96, 0, 81}, {98, 0, 80}, {101, 0, 78}, {104, 0, 77},  // 80-84
    {107, 0, 76}, {110, 0, 74}, {113, 0, 73}, {116, 0, 72}, {119, 0, 70},  // 85-89
    {120, 0, 69}, {123, 0, 68}, {126, 0, 66}, {127, 0, 64}, {129, 0, 63},  // 90-94
    {132, 0, 62}, {135, 0, 60}, {137, 0, 58}, {140, 0, 56}, {143, 0, 54},  // 95-99
    {146, 0, 52}, {149, 0, 51}, {151, 0, 50}, {154, 0, 48}, {157, 0, 47},  // 100-104
    {160, 0, 46}, {163, 0, 44}, {165, 0, 43}, {168, 0, 42}, {171, 0, 40},  // 105-109
    {174, 0, 39}, {176, 0, 38}, {179, 0, 36}, {182, 0, 35}, {185, 0, 34},  // 110-114
    {188, 0, 32}, {190, 0, 31}, {193, 0, 30}, {196, 0, 28}, {199, 0, 27},  // 115-119
    {202, 0, 26}, {204, 0, 24}, {207, 0, 23}, {210, 0, 22}, {213, 0, 20},  // 120-124
    {215, 0, 19}, {218, 0, 18}, {221, 0, 16}, {224, 0, 15}, {227, 0, 14},  // 125-129
    {229, 0, 12}, {232, 0, 11}, {235, 0, 10}, {238, 0, 8}, {241, 0, 7},  // 130-134
    {243, 0, 6}, {246, 0, 4}, {249, 0, 3}, {252, 0, 2}, {255, 0, 0},  // 135-139
    {255, 0, 0}, {255, 3, 0}, {255, 6, 0}, {255, 8, 0}, {255, 11, 0},  // 140-144
    {255, 13, 0}, {255, 16, 0}, {255, 18, 0}, {255, 21, 0}, {255, 24, 0},  // 145-149
    {255, 26, 0}, {255, 29, 0}, {255, 31, 0}, {255, 34, 0}, {255, 36, 0},  // 150-154
    {255, 39, 0}, {255, 41, 0}, {255, 43, 0}, {255, 47, 0}, {255, 49, 0},  // 155-159
    {255, 52, 0}, {255, 55, 0}, {255, 58, 0}, {255, 61, 0}, {255, 64, 0},  // 160-164
    {255, 67, 0}, {255, 70, 0}, {255, 72, 0}, {255, 75, 0}, {255, 77, 0},  // 165-169
    {255, 80, 0}, {255, 83, 0}, {255, 85, 0}, {255, 88, 0}, {255, 90, 0},  // 170-174
    {255, 93, 0}, {255, 96, 0}, {255, 98, 0}, {255, 101, 0}, {255, 104, 0},  // 175-179
    {255, 106, 0}, {255, 109, 0}, {255, 111, 0}, {255, 114, 0}, {255, 117, 0},  // 180-184
    {255, 119, 0}, {255, 122, 0}, {255, 124, 0}, {255, 127, 0}, {255, 130, 0},  // 185-189
    {255, 132, 0}, {255, 135, 0}, {255, 137, 0}, {255, 140, 0}, {255, 142, 0},  // 190-194
    {255, 145, 0}, {255, 148, 0}, {255, 150, 0}, {255, 153, 0}, {255, 155, 0},  // 195-199
    {255, 158, 0}, {255, 160, 0}, {255, 163, 0}, {255, 166, 0}, {255, 168, 0},  // 200-204
    {255, 171, 0}, {255, 173, 0}, {255, 176, 0}, {255, 178, 0}, {255, 180, 0},  // 205-209
    {255, 183, 0}, {255, 186, 0}, {255, 188, 0}, {255, 191, 0}, {255, 193, 0},  // 210-214
    {255, 196, 0}, {255, 198, 0}, {255, 201, 0}, {255, 204, 0}, {255, 207, 0},  // 215-219
    {255, 209, 0}, {255, 212, 0}, {255, 215, 0}, {255, 218, 0}, {255, 221, 0},  // 220-224
    {255, 223, 0}, {255, 226, 0}, {255, 229, 0}, {255, 231, 0}, {255, 234, 0},  // 225-229
    {255, 236, 0}, {255, 239, 0}, {255, 242, 0}, {255, 245, 0}, {255, 248, 0},  // 230-234
    {255, 251, 0}, {255, 255, 0}, {255, 255, 14}, {255, 255, 28}, {255, 255, 43},  // 235-239
    {255, 255, 57}, {255, 255, 71}, {255, 255, 85}, {255, 255, 99}, {255, 255, 113},  // 240-244
    {255, 255, 128}, {255, 255, 142}, {255, 255, 156}, {255, 255, 170}, {255, 255, 184},  // 245-249
    {255, 255, 199}, {255, 255, 213}, {255, 255, 227}, {255, 255, 241}, {255, 255, 255},  // 250-254
};

namespace {

struct PngErrorState {
    char message[256];
    int err;  // errno when the library failed (a failed write leaves it set)
};

void PngError(png_structp png, png_const_charp msg) {
    PngErrorState* st = static_cast<PngErrorState*>(png_get_error_ptr(png));
    st->err = errno;
    snprintf(st->message, sizeof st->message, "%s", msg ? msg : "picture library error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WriteRgbPicture(const std::string& name, int width, int height,
                     const std::function<const unsigned char*(int)>& row) {
    WholeFile out(name);
    FILE* fp = out.stream();
    if (fp == nullptr) return false;
    // Static: it is written between setjmp and longjmp and read after.
    static PngErrorState err;
    err.message[0] = '\0';
    err.err = 0;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, PngError, PngWarning);
    if (png == nullptr) {
        RemoveLiveTemporaries();
        printf("out of memoryflag\n");
        fflush(stdout);
        exit(1);
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        RemoveLiveTemporaries();
        printf("out of memory\n");
        fflush(stdout);
        exit(1);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        // A failed write shows as the library's "Write Error"; the system's
        // reason says more.
        if (err.err != 0) OutputFailedErrno(name, nullptr, err.err);
        else OutputFailed(name, err.message);
        return false;  // the temporary goes with `out`
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; y++) {
        png_bytep r = const_cast<png_bytep>(row(y));
        png_write_rows(png, &r, 1);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out.Commit();
}

bool WritePng(const char* name) {
    return WriteRgbPicture(name, NCOLS, NROWS, [](int y) -> const unsigned char* { return Pixel(0, NROWS - 1 - y); });
}
