// The plant state file: a tab-separated text dump of the tissue grids, the
// auxin field and the per-cell tables, and the reader that puts such a dump
// back into the global state.  Which grids and tables a file holds, and in
// which order, each program states in its PlantFileLayout.
#include "plant_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "state.h"

std::string PlantFileName(int t) { return FormatString("%s/DumpPlantStateAt%.10d", dirname, t); }

namespace {

// Everything a dump holds, read completely before any of it reaches the
// global state.
struct DumpContents {
    std::vector<std::vector<int>> ints;        // NCOLS * NROWS each, column-major
    std::vector<std::vector<double>> reals;
    std::vector<std::vector<int>> cellInts;    // used for the int lines
    std::vector<std::vector<double>> cellReals;  // used for the real lines
    int cells = 0;
};

// Reads the text of a dump value by value, keeping track of the line and the
// position of the value in it for the messages.
class DumpParser {
public:
    explicit DumpParser(const std::string& text) : p_(text.c_str()), end_(text.c_str() + text.size()) {}

    int line() const { return line_; }
    int value() const { return value_; }
    const std::string& error() const { return error_; }

    // Starts the next line of the file.
    void BeginLine() {
        line_++;
        value_ = 0;
    }

    bool ReadInt(int* out) {
        if (!StartValue()) return false;
        char* stop = nullptr;
        errno = 0;
        long v = strtol(p_, &stop, 10);
        if (stop == p_) return Fail("not an integer: " + Token());
        if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return Fail("integer out of range: " + Token());
        if (!EndsValue(stop)) return Fail("not an integer: " + Token());
        p_ = stop;
        *out = static_cast<int>(v);
        return true;
    }

    bool ReadReal(double* out) {
        if (!StartValue()) return false;
        char* stop = nullptr;
        double v = strtod(p_, &stop);
        if (stop == p_ || !EndsValue(stop)) return Fail("not a number: " + Token());
        p_ = stop;
        *out = v;
        return true;
    }

    // After the values of a line: only blanks may remain before its newline.
    bool EndLine(int expected) {
        SkipBlanks();
        if (p_ < end_ && *p_ == '\n') {
            p_++;
            return true;
        }
        if (p_ >= end_) return Fail("the file ends without the newline of this line");
        return Fail("more than " + std::to_string(expected) + " values on the line");
    }

    // After the last value: nothing but white space may follow.
    bool EndFile() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n')) p_++;
        if (p_ < end_) return Fail("unexpected text after the cell count: " + Token());
        return true;
    }

    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
        return false;
    }

private:
    void SkipBlanks() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r')) p_++;
    }

    bool StartValue() {
        value_++;
        SkipBlanks();
        if (p_ >= end_) return Fail("the file ends early");
        if (*p_ == '\n') return Fail("the line ends early");
        return true;
    }

    bool EndsValue(const char* q) const {
        return q >= end_ || *q == '\t' || *q == ' ' || *q == '\n' || *q == '\r';
    }

    std::string Token() const {
        const char* q = p_;
        while (q < end_ && q - p_ < 40 && *q != '\t' && *q != ' ' && *q != '\n' && *q != '\r') q++;
        return "\"" + std::string(p_, q) + "\"";
    }

    const char* p_;
    const char* end_;
    int line_ = 0;
    int value_ = 0;
    std::string error_;
};

bool ReadWholeFile(const std::string& name, std::string* text, std::string* why) {
    FILE* f = fopen(name.c_str(), "rb");
    if (f == nullptr) {
        *why = strerror(errno);
        return false;
    }
    text->clear();
    std::vector<char> buf(1 << 20);
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), f)) > 0) text->append(buf.data(), n);
    bool bad = ferror(f) != 0;
    int err = errno;
    fclose(f);
    if (bad) {
        *why = strerror(err);
        return false;
    }
    return true;
}

// Parses and checks a whole dump.  On failure returns false with the reason
// and the place in *why.
bool ParseDump(const PlantFileLayout& layout, const std::string& text, DumpContents* d, std::string* why) {
    DumpParser in(text);
    const int nInt = static_cast<int>(layout.intGrids.size());
    const int nReal = static_cast<int>(layout.realGrids.size());
    const int nLines = static_cast<int>(layout.cellLines.size());
    d->ints.resize(nInt);
    d->reals.resize(nReal);
    d->cellInts.resize(nLines);
    d->cellReals.resize(nLines);
    int tcGrid = -1, cellGrid = -1;
    for (int g = 0; g < nInt; g++) {
        if (layout.intGrids[g].field == &Tc) tcGrid = g;
        if (layout.intGrids[g].field == &Cell) cellGrid = g;
    }
    auto failed = [&]() {
        *why = "line " + std::to_string(in.line()) + ", value " + std::to_string(in.value()) + ": " +
               in.error();
        return false;
    };

    for (int g = 0; g < nInt; g++) {
        d->ints[g].resize(static_cast<size_t>(NCOLS) * NROWS);
        for (int i = 0; i < NCOLS; i++) {
            in.BeginLine();
            for (int j = 0; j < NROWS; j++) {
                int v;
                if (!in.ReadInt(&v)) return failed();
                if (g == tcGrid && (v < TC_WALL || v > TC_OUTSIDE)) {
                    in.Fail("point class " + std::to_string(v) + " of column " + std::to_string(i) +
                            ", row " + std::to_string(j) + " is not 0..3");
                    return failed();
                }
                d->ints[g][static_cast<size_t>(i) * NROWS + j] = v;
            }
            if (!in.EndLine(NROWS)) return failed();
        }
    }
    for (int g = 0; g < nReal; g++) {
        d->reals[g].resize(static_cast<size_t>(NCOLS) * NROWS);
        for (int i = 0; i < NCOLS; i++) {
            in.BeginLine();
            for (int j = 0; j < NROWS; j++) {
                if (!in.ReadReal(&d->reals[g][static_cast<size_t>(i) * NROWS + j])) return failed();
            }
            if (!in.EndLine(NROWS)) return failed();
        }
    }
    for (int k = 0; k < nLines; k++) {
        in.BeginLine();
        if (layout.cellLines[k].ints != nullptr) {
            d->cellInts[k].resize(MAXCELLS);
            for (int c = 0; c < MAXCELLS; c++)
                if (!in.ReadInt(&d->cellInts[k][c])) return failed();
        } else {
            d->cellReals[k].resize(MAXCELLS);
            for (int c = 0; c < MAXCELLS; c++)
                if (!in.ReadReal(&d->cellReals[k][c])) return failed();
        }
        if (!in.EndLine(MAXCELLS)) return failed();
    }
    in.BeginLine();
    if (!in.ReadInt(&d->cells)) return failed();
    if (d->cells < 0 || d->cells > MAXCELLS) {
        in.Fail("cell count " + std::to_string(d->cells) + " is not 0.." + std::to_string(MAXCELLS));
        return failed();
    }
    if (!in.EndFile()) return failed();

    // Every cell number on the grid must name one of the cells.
    if (cellGrid < 0) return true;
    const std::vector<int>& cell = d->ints[cellGrid];
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int v = cell[static_cast<size_t>(i) * NROWS + j];
            if (v < -1 || v >= d->cells) {
                *why = "line " + std::to_string(cellGrid * NCOLS + i + 1) + ", value " + std::to_string(j + 1) +
                       ": cell number " + std::to_string(v) + " of column " + std::to_string(i) +
                       ", row " + std::to_string(j) + " is not -1.." + std::to_string(d->cells - 1) +
                       " (the file holds " + std::to_string(d->cells) + " cells)";
                return false;
            }
        }
    }
    return true;
}

void CommitDump(const PlantFileLayout& layout, const DumpContents& d) {
    for (size_t g = 0; g < layout.intGrids.size(); g++)
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++)
                (*layout.intGrids[g].field)[i][j] = d.ints[g][static_cast<size_t>(i) * NROWS + j];
    for (size_t g = 0; g < layout.realGrids.size(); g++)
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++)
                (*layout.realGrids[g].field)[i][j] = d.reals[g][static_cast<size_t>(i) * NROWS + j];
    for (size_t k = 0; k < layout.cellLines.size(); k++) {
        for (int c = 0; c < MAXCELLS; c++) {
            if (layout.cellLines[k].ints != nullptr) (*layout.cellLines[k].ints)[c] = d.cellInts[k][c];
            else (*layout.cellLines[k].reals)[c] = d.cellReals[k][c];
        }
    }
    actcells = d.cells;
}

}  // namespace

bool WritePlantFile(const PlantFileLayout& layout, int t) {
    const std::string name = PlantFileName(t);
    FILE* f = fopen(name.c_str(), "w");
    if (f == nullptr) {
        fprintf(stderr, "%s: cannot open plant state file %s for writing: %s\n", ProgramName(), name.c_str(),
                strerror(errno));
        return false;
    }
    std::vector<char> buffer(1 << 20);
    setvbuf(f, buffer.data(), _IOFBF, buffer.size());

    // Stops at the first failed line so that a full disk does not cost the
    // whole 20 MB of formatting.
    bool ok = true;
    for (size_t g = 0; g < layout.intGrids.size() && ok; g++) {
        int** grid = *layout.intGrids[g].field;
        for (int i = 0; i < NCOLS && ok; i++) {
            for (int j = 0; j < NROWS; j++) fprintf(f, "%i\t", grid[i][j]);
            ok = fputc('\n', f) != EOF && !ferror(f);
        }
    }
    for (size_t g = 0; g < layout.realGrids.size() && ok; g++) {
        double** grid = *layout.realGrids[g].field;
        for (int i = 0; i < NCOLS && ok; i++) {
            for (int j = 0; j < NROWS; j++) fprintf(f, "%f\t", grid[i][j]);
            ok = fputc('\n', f) != EOF && !ferror(f);
        }
    }
    for (size_t k = 0; k < layout.cellLines.size() && ok; k++) {
        if (layout.cellLines[k].ints != nullptr) {
            const int* v = *layout.cellLines[k].ints;
            for (int c = 0; c < MAXCELLS; c++) fprintf(f, "%i\t", v[c]);
        } else {
            const double* v = *layout.cellLines[k].reals;
            for (int c = 0; c < MAXCELLS; c++) fprintf(f, "%f\t", v[c]);
        }
        ok = fputc('\n', f) != EOF && !ferror(f);
    }
    if (ok) ok = fprintf(f, "%i\n", actcells) > 0 && !ferror(f);
    int err = ok ? 0 : (errno != 0 ? errno : EIO);
    errno = 0;
    if (fclose(f) != 0 && ok) {
        ok = false;
        err = errno != 0 ? errno : EIO;
    }
    if (!ok) {
        fprintf(stderr, "%s: error writing plant state file %s: %s; the file is incomplete\n", ProgramName(),
                name.c_str(), strerror(err));
    }
    return ok;
}

bool ReadPlantFile(const PlantFileLayout& layout, int t) {
    const std::string name = PlantFileName(t);
    std::string text, why;
    if (!ReadWholeFile(name, &text, &why)) {
        fprintf(stderr, "%s: cannot read plant state file %s: %s; the plant state is unchanged\n", ProgramName(),
                name.c_str(), why.c_str());
        return false;
    }
    DumpContents d;
    if (!ParseDump(layout, text, &d, &why)) {
        fprintf(stderr, "%s: plant state file %s is not usable: %s; the plant state is unchanged\n", ProgramName(),
                name.c_str(), why.c_str());
        return false;
    }
    text.clear();
    CommitDump(layout, d);
    return true;
}

