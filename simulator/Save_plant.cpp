// The plant state file: a tab-separated text dump of the tissue grids, the
// auxin field and the per-cell regulator levels and growth bookkeeping, and
// the reader that puts such a dump back into the global state.
//
// Layout: the grids Tc, Tct, Tmt, Cell, PinPrePat, Pin2PrePat, Aux1PrePat and
// Caux1, one line per column with the values of all rows; then one line per
// cell table with all MAXCELLS slots; then actcells.  Every value but the last
// is followed by a tab, every line by a newline.
#include "rootsim.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One per-cell line of the file.
struct CellLine {
    const char* name;
    int** ints;       // the table, when it holds ints
    double** reals;   // the table, when it holds doubles
};

// The per-cell lines in file order.  The tables are reached through the
// addresses of the global pointers, which MakeArrays sets.
const CellLine kCellLines[] = {
    {"MeanCells", nullptr, &MeanCells},
    {"ARF", nullptr, &ARF},
    {"AA", nullptr, &AA},
    {"BB", nullptr, &BB},
    {"CC", nullptr, &CC},
    {"DD", nullptr, &DD},
    {"Plt", nullptr, &Plt},
    {"Yuc3", nullptr, &Yuc3},
    {"ARR1", nullptr, &ARR1},
    {"ARR12", nullptr, &ARR12},
    {"divTF", nullptr, &divTF},
    {"elongTF", nullptr, &elongTF},
    {"Gh317", nullptr, &Gh317},
    {"Pin", nullptr, &Pin},
    {"Pin2", nullptr, &Pin2},
    {"Plts", nullptr, &Plts},
    {"Aux1", nullptr, &Aux1},
    {"TimePrevGrowth", &TimePrevGrowth, nullptr},
    {"Diff", nullptr, &Diff},
    {"CellZonationState", &CellZonationState, nullptr},
    {"CellsInOZ", &CellsInOZ, nullptr},
    {"Gh33", nullptr, &Gh33},
    {"CellDivNr", &CellDivNr, nullptr},
};
constexpr int kNumCellLines = sizeof kCellLines / sizeof kCellLines[0];

// The grids in file order: four of ints, then four of doubles.
struct IntGrid {
    const char* name;
    int*** grid;
};
struct RealGrid {
    const char* name;
    double*** grid;
};
const IntGrid kIntGrids[] = {{"Tc", &Tc}, {"Tct", &Tct}, {"Tmt", &Tmt}, {"Cell", &Cell}};
const RealGrid kRealGrids[] = {
    {"PinPrePat", &PinPrePat}, {"Pin2PrePat", &Pin2PrePat}, {"Aux1PrePat", &Aux1PrePat}, {"Caux1", &Caux1}};
constexpr int kNumIntGrids = 4;
constexpr int kNumRealGrids = 4;


std::string DumpFileName(int t) { return FormatString("%s/DumpPlantStateAt%.10d", dirname, t); }

// ---------------------------------------------------------------------------
// Reading.

// Everything a dump holds, read completely before any of it reaches the
// global state.
struct DumpContents {
    std::vector<int> ints[kNumIntGrids];      // NCOLS * NROWS each, column-major
    std::vector<double> reals[kNumRealGrids];
    std::vector<int> cellInts[kNumCellLines];      // used for the int lines
    std::vector<double> cellReals[kNumCellLines];  // used for the real lines
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
bool ParseDump(const std::string& text, DumpContents* d, std::string* why) {
    DumpParser in(text);
    auto failed = [&]() {
        *why = "line " + std::to_string(in.line()) + ", value " + std::to_string(in.value()) + ": " +
               in.error();
        return false;
    };

    for (int g = 0; g < kNumIntGrids; g++) {
        d->ints[g].resize(static_cast<size_t>(NCOLS) * NROWS);
        for (int i = 0; i < NCOLS; i++) {
            in.BeginLine();
            for (int j = 0; j < NROWS; j++) {
                int v;
                if (!in.ReadInt(&v)) return failed();
                if (g == 0 && (v < TC_WALL || v > TC_OUTSIDE)) {
                    in.Fail("point class " + std::to_string(v) + " of column " + std::to_string(i) +
                            ", row " + std::to_string(j) + " is not 0..3");
                    return failed();
                }
                d->ints[g][static_cast<size_t>(i) * NROWS + j] = v;
            }
            if (!in.EndLine(NROWS)) return failed();
        }
    }
    for (int g = 0; g < kNumRealGrids; g++) {
        d->reals[g].resize(static_cast<size_t>(NCOLS) * NROWS);
        for (int i = 0; i < NCOLS; i++) {
            in.BeginLine();
            for (int j = 0; j < NROWS; j++) {
                if (!in.ReadReal(&d->reals[g][static_cast<size_t>(i) * NROWS + j])) return failed();
            }
            if (!in.EndLine(NROWS)) return failed();
        }
    }
    for (int k = 0; k < kNumCellLines; k++) {
        in.BeginLine();
        if (kCellLines[k].ints != nullptr) {
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
    const std::vector<int>& cell = d->ints[3];
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            int v = cell[static_cast<size_t>(i) * NROWS + j];
            if (v < -1 || v >= d->cells) {
                *why = "line " + std::to_string(3 * NCOLS + i + 1) + ", value " + std::to_string(j + 1) +
                       ": cell number " + std::to_string(v) + " of column " + std::to_string(i) +
                       ", row " + std::to_string(j) + " is not -1.." + std::to_string(d->cells - 1) +
                       " (the file holds " + std::to_string(d->cells) + " cells)";
                return false;
            }
        }
    }
    return true;
}

void CommitDump(const DumpContents& d) {
    for (int g = 0; g < kNumIntGrids; g++)
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++) (*kIntGrids[g].grid)[i][j] = d.ints[g][static_cast<size_t>(i) * NROWS + j];
    for (int g = 0; g < kNumRealGrids; g++)
        for (int i = 0; i < NCOLS; i++)
            for (int j = 0; j < NROWS; j++)
                (*kRealGrids[g].grid)[i][j] = d.reals[g][static_cast<size_t>(i) * NROWS + j];
    for (int k = 0; k < kNumCellLines; k++) {
        for (int c = 0; c < MAXCELLS; c++) {
            if (kCellLines[k].ints != nullptr) (*kCellLines[k].ints)[c] = d.cellInts[k][c];
            else (*kCellLines[k].reals)[c] = d.cellReals[k][c];
        }
    }
    actcells = d.cells;
}

}  // namespace

void WritePlantToFile(int t) {
    const std::string name = DumpFileName(t);
    FILE* f = fopen(name.c_str(), "w");
    if (f == nullptr) {
        fprintf(stderr, "rootsim: cannot open plant state file %s for writing: %s\n", name.c_str(),
                strerror(errno));
        return;
    }
    std::vector<char> buffer(1 << 20);
    setvbuf(f, buffer.data(), _IOFBF, buffer.size());

    // Stops at the first failed line so that a full disk does not cost the
    // whole 20 MB of formatting.
    bool ok = true;
    for (int g = 0; g < kNumIntGrids && ok; g++) {
        int** grid = *kIntGrids[g].grid;
        for (int i = 0; i < NCOLS && ok; i++) {
            for (int j = 0; j < NROWS; j++) fprintf(f, "%i\t", grid[i][j]);
            ok = fputc('\n', f) != EOF && !ferror(f);
        }
    }
    for (int g = 0; g < kNumRealGrids && ok; g++) {
        double** grid = *kRealGrids[g].grid;
        for (int i = 0; i < NCOLS && ok; i++) {
            for (int j = 0; j < NROWS; j++) fprintf(f, "%f\t", grid[i][j]);
            ok = fputc('\n', f) != EOF && !ferror(f);
        }
    }
    for (int k = 0; k < kNumCellLines && ok; k++) {
        if (kCellLines[k].ints != nullptr) {
            const int* v = *kCellLines[k].ints;
            for (int c = 0; c < MAXCELLS; c++) fprintf(f, "%i\t", v[c]);
        } else {
            const double* v = *kCellLines[k].reals;
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
        fprintf(stderr, "rootsim: error writing plant state file %s: %s; the file is incomplete\n",
                name.c_str(), strerror(err));
    }
}

bool ReadPlantStateFile(int t) {
    const std::string name = DumpFileName(t);
    std::string text, why;
    if (!ReadWholeFile(name, &text, &why)) {
        fprintf(stderr, "rootsim: cannot read plant state file %s: %s; the plant state is unchanged\n",
                name.c_str(), why.c_str());
        return false;
    }
    DumpContents d;
    if (!ParseDump(text, &d, &why)) {
        fprintf(stderr, "rootsim: plant state file %s is not usable: %s; the plant state is unchanged\n",
                name.c_str(), why.c_str());
        return false;
    }
    text.clear();
    CommitDump(d);
    return true;
}

bool InitPlantFromFile(int t) {
    if (!ReadPlantStateFile(t)) return false;
    FindCellCorners();
    FindCellSizes();
    // The carrier update at time 0 also sets the first zonation of every
    // cell from its top row, as for a newly built plant; a reloaded plant
    // keeps the zonation and differentiation it was saved with.
    std::vector<int> zonation(CellZonationState, CellZonationState + MAXCELLS);
    std::vector<double> diff(Diff, Diff + MAXCELLS);
    UpdateMembraneProteinsAndFluxes(0);
    std::copy(zonation.begin(), zonation.end(), CellZonationState);
    std::copy(diff.begin(), diff.end(), Diff);
    return true;
}
