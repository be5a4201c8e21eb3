// The plant state file: a tab-separated text dump of the tissue grids, the
// auxin field and the per-cell tables, and the reader that puts such a dump
// back into the global state.  Which grids and tables a file holds, and in
// which order, each program states in its PlantFileLayout.
#include "plant_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "outputs.h"
#include "state.h"
#include "tissue_watch.h"

const char* const kPlantFileNameFormat = "%s/DumpPlantStateAt%.10d";

std::string PlantFileName(int t) { return FormatString(kPlantFileNameFormat, dirname, t); }

int PlantFileTimeOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string stem = "DumpPlantStateAt";
    if (base.compare(0, stem.size(), stem) != 0) return -1;
    const std::string digits = base.substr(stem.size());
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    const long t = std::stol(digits);
    return t > 2000000000L ? -1 : static_cast<int>(t);
}

int PlantFileTimeOf(const std::string& path, std::string* why) {
    const int t = PlantFileTimeOf(path);
    if (t < 0) *why = "cannot tell the time of " + path + ": its name is not DumpPlantStateAt followed by the time";
    return t;
}

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
        // "nan", "inf" and numbers beyond the range of double (1e400).
        if (!std::isfinite(v)) return Fail("not a finite number: " + Token());
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

    // The value at the read position, quoted, with control characters (a NUL
    // byte among them) written as \xNN so that the message stays one whole
    // line of text.
    std::string Token() const {
        const char* q = p_;
        while (q < end_ && q - p_ < 40 && *q != '\t' && *q != ' ' && *q != '\n' && *q != '\r') q++;
        std::string t = "\"";
        for (const char* c = p_; c < q; c++) {
            const unsigned char u = static_cast<unsigned char>(*c);
            if (u < 0x20 || u == 0x7f || u == '"' || u == '\\') {
                char esc[8];
                snprintf(esc, sizeof esc, "\\x%02x", u);
                t += esc;
            } else {
                t += *c;
            }
        }
        return t + "\"";
    }

    const char* p_;
    const char* end_;
    int line_ = 0;
    int value_ = 0;
    std::string error_;
};

// Reads the whole file, which must be a regular file of at most `largest`
// bytes (a FIFO or a device is refused without waiting on it).
bool ReadWholeFile(const std::string& name, size_t largest, std::string* text, std::string* why) {
    int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = strerror(errno);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        *why = strerror(errno);
        close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *why = "not a regular file";
        close(fd);
        return false;
    }
    auto tooLarge = [&](unsigned long long size) {
        *why = "the file holds " + std::to_string(size) + " bytes, more than the largest dump of this grid (" +
               std::to_string(largest) + " bytes)";
        return false;
    };
    if (static_cast<unsigned long long>(st.st_size) > largest) {
        close(fd);
        return tooLarge(static_cast<unsigned long long>(st.st_size));
    }
    text->clear();
    std::vector<char> buf(1 << 20);
    int err = 0;
    for (;;) {
        ssize_t n = read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        text->append(buf.data(), static_cast<size_t>(n));
        // A file that grows while it is read.
        if (text->size() > largest) {
            close(fd);
            return tooLarge(text->size());
        }
    }
    close(fd);
    if (err != 0) {
        *why = strerror(err);
        return false;
    }
    return true;
}

// The codes of a rule, for messages: runs written as a..b.
std::string DescribeCodes(const std::vector<int>& allowed) {
    std::vector<int> v = allowed;
    std::sort(v.begin(), v.end());
    std::string s;
    for (size_t k = 0; k < v.size();) {
        size_t e = k;
        while (e + 1 < v.size() && v[e + 1] == v[e] + 1) e++;
        if (!s.empty()) s += ", ";
        s += std::to_string(v[k]);
        if (e > k + 1) s += ".." + std::to_string(v[e]);
        else if (e == k + 1) s += ", " + std::to_string(v[e]);
        k = e + 1;
    }
    return s;
}

bool Allowed(const std::vector<int>& allowed, int v) {
    return allowed.empty() || std::find(allowed.begin(), allowed.end(), v) != allowed.end();
}

// Parses and checks a whole dump.  On failure returns false with the reason
// and the place in *why.
bool ParseDump(const PlantFileLayout& layout, const std::string& text, DumpContents* d, std::string* why) {
    using Layout = PlantFileLayout;
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
    auto point = [](int i, int j) { return " of column " + std::to_string(i) + ", row " + std::to_string(j); };

    for (int g = 0; g < nInt; g++) {
        const Layout::IntGrid& grid = layout.intGrids[g];
        d->ints[g].resize(static_cast<size_t>(NCOLS) * NROWS);
        for (int i = 0; i < NCOLS; i++) {
            in.BeginLine();
            for (int j = 0; j < NROWS; j++) {
                int v;
                if (!in.ReadInt(&v)) return failed();
                if (g == tcGrid && (v < TC_WALL || v > TC_OUTSIDE)) {
                    in.Fail("point class " + std::to_string(v) + point(i, j) + " is not 0..3");
                    return failed();
                }
                if (!Allowed(grid.allowed, v)) {
                    in.Fail(std::string(grid.name) + " " + std::to_string(v) + point(i, j) + " is not one of " +
                            DescribeCodes(grid.allowed));
                    return failed();
                }
                d->ints[g][static_cast<size_t>(i) * NROWS + j] = v;
            }
            if (!in.EndLine(NROWS)) return failed();
        }
    }
    for (int g = 0; g < nReal; g++) {
        const Layout::RealGrid& grid = layout.realGrids[g];
        d->reals[g].resize(static_cast<size_t>(NCOLS) * NROWS);
        for (int i = 0; i < NCOLS; i++) {
            in.BeginLine();
            for (int j = 0; j < NROWS; j++) {
                double& v = d->reals[g][static_cast<size_t>(i) * NROWS + j];
                if (!in.ReadReal(&v)) return failed();
                if (grid.range == Layout::NON_NEGATIVE && v < 0) {
                    in.Fail(std::string(grid.name) + " " + FormatString("%g", v) + point(i, j) + " is negative");
                    return failed();
                }
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

    // What needs the cell count: every cell number on the grid names one of
    // the cells, and exactly the cytoplasm and membrane points have one.
    auto at = [&why](int line, int value, const std::string& what) {
        *why = "line " + std::to_string(line) + ", value " + std::to_string(value) + ": " + what;
        return false;
    };
    if (cellGrid >= 0) {
        const std::vector<int>& cell = d->ints[cellGrid];
        const std::vector<int>* tc = tcGrid >= 0 ? &d->ints[tcGrid] : nullptr;
        for (int i = 0; i < NCOLS; i++) {
            for (int j = 0; j < NROWS; j++) {
                const size_t p = static_cast<size_t>(i) * NROWS + j;
                const int v = cell[p];
                const int line = cellGrid * NCOLS + i + 1;
                if (v < -1 || v >= d->cells) {
                    return at(line, j + 1, "cell number " + std::to_string(v) + point(i, j) + " is not -1.." +
                                               std::to_string(d->cells - 1) + " (the file holds " +
                                               std::to_string(d->cells) + " cells)");
                }
                if (tc == nullptr) continue;
                const int t = (*tc)[p];
                const bool inCell = t == TC_CYTO || t == TC_MEMBRANE;
                if (inCell != (v >= 0)) {
                    return at(line, j + 1, "cell number " + std::to_string(v) + point(i, j) +
                                               " does not fit its point class " + std::to_string(t) +
                                               (inCell ? " (a cytoplasm or membrane point belongs to a cell)"
                                                       : " (a wall or outside point belongs to no cell)"));
                }
            }
        }
    }
    // The rules of the tables, for the slots of the file's cells.
    for (int k = 0; k < nLines; k++) {
        const Layout::CellLine& line = layout.cellLines[k];
        const int lineNo = (nInt + nReal) * NCOLS + k + 1;
        for (int c = 0; c < d->cells; c++) {
            const std::string cell = " of cell " + std::to_string(c);
            if (line.ints != nullptr) {
                const int v = d->cellInts[k][c];
                if (line.range == Layout::NON_NEGATIVE && v < 0)
                    return at(lineNo, c + 1, std::string(line.name) + " " + std::to_string(v) + cell + " is negative");
                if (!Allowed(line.allowed, v))
                    return at(lineNo, c + 1, std::string(line.name) + " " + std::to_string(v) + cell +
                                                 " is not one of " + DescribeCodes(line.allowed));
            } else if (line.range == Layout::NON_NEGATIVE && d->cellReals[k][c] < 0) {
                return at(lineNo, c + 1, std::string(line.name) + " " + FormatString("%g", d->cellReals[k][c]) +
                                             cell + " is negative");
            }
        }
    }
    return true;
}

void CommitDump(const PlantFileLayout& layout, const DumpContents& d) {
    TissueChanged();
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
    std::vector<char> buffer(1 << 20);  // outlives the stream
    WholeFile out(PlantFileName(t));
    FILE* f = out.stream();
    if (f == nullptr) return false;
    setvbuf(f, buffer.data(), _IOFBF, buffer.size());

    // Stops at the first failed line so that a full disk does not cost the
    // whole 20 MB of formatting.
    // errno is cleared before each line, so that a write of the stream that
    // fails within the line leaves its reason.
    bool ok = true;
    auto endLine = [&]() {
        ok = fputc('\n', f) != EOF && !ferror(f);
        if (!ok) out.Failed(errno);
        errno = 0;
    };
    errno = 0;
    for (size_t g = 0; g < layout.intGrids.size() && ok; g++) {
        int** grid = *layout.intGrids[g].field;
        for (int i = 0; i < NCOLS && ok; i++) {
            for (int j = 0; j < NROWS; j++) fprintf(f, "%i\t", grid[i][j]);
            endLine();
        }
    }
    for (size_t g = 0; g < layout.realGrids.size() && ok; g++) {
        double** grid = *layout.realGrids[g].field;
        for (int i = 0; i < NCOLS && ok; i++) {
            for (int j = 0; j < NROWS; j++) fprintf(f, "%f\t", grid[i][j]);
            endLine();
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
        endLine();
    }
    if (ok) {
        errno = 0;
        if (fprintf(f, "%i\n", actcells) < 0) out.Failed(errno);
    }
    return out.Commit();
}

size_t LargestPlantFile(const PlantFileLayout& layout) {
    // The widest values the writer forms: an int ("-2147483648") and a double
    // with six decimals ("-" and 309 digits before the point), each with its tab.
    const size_t intWidth = 11 + 1;
    const size_t realWidth = 1 + 309 + 1 + 6 + 1;
    size_t n = 0;
    n += layout.intGrids.size() * NCOLS * (NROWS * intWidth + 1);
    n += layout.realGrids.size() * NCOLS * (NROWS * realWidth + 1);
    for (const PlantFileLayout::CellLine& line : layout.cellLines)
        n += MAXCELLS * (line.ints != nullptr ? intWidth : realWidth) + 1;
    return n + intWidth;
}

bool ReadPlantFile(const PlantFileLayout& layout, int t) { return ReadPlantFileAt(layout, PlantFileName(t)); }

bool ReadPlantFileAt(const PlantFileLayout& layout, const std::string& name) {
    std::string text, why;
    if (!ReadWholeFile(name, LargestPlantFile(layout), &text, &why)) {
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

