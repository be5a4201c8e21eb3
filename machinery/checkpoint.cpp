// Exact checkpoints of the whole state of a run.
#include "checkpoint.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>

#include "outputs.h"
#include "state.h"
#include "tissue_watch.h"
#include "transport.h"

namespace {

constexpr char kMagic[8] = {'R', 'S', 'C', 'H', 'K', 'P', 'T', '1'};
constexpr unsigned kVersion = 2;  // 2: without the coefficient records and Caux2

struct Section {
    std::string name;
    void* data;
    size_t bytes;
};

std::vector<Section>& Extras() {
    static std::vector<Section> extras;
    return extras;
}

template <typename T>
void AddGrid(std::vector<Section>& s, const char* name, T** grid) {
    s.push_back({name, grid[0], sizeof(T) * static_cast<size_t>(NCOLS) * NROWS});
}

template <typename T>
void AddTable(std::vector<Section>& s, const char* name, T* table, size_t n) {
    s.push_back({name, table, sizeof(T) * n});
}

// Everything the remaining steps depend on, in file order.
std::vector<Section> Sections() {
    std::vector<Section> s;
    AddGrid(s, "Tc", Tc);
    AddGrid(s, "Tct", Tct);
    AddGrid(s, "Tmt", Tmt);
    AddGrid(s, "Cell", Cell);
    AddGrid(s, "Caux1", Caux1);
    AddGrid(s, "Cauxint", Cauxint);
    AddGrid(s, "paux", paux);
    AddGrid(s, "daux", daux);
    AddGrid(s, "PinPrePat", PinPrePat);
    AddGrid(s, "Pin2PrePat", Pin2PrePat);
    AddGrid(s, "Aux1PrePat", Aux1PrePat);
    AddGrid(s, "Cpin1M", Cpin1M);
    AddGrid(s, "Cpin2M", Cpin2M);
    AddGrid(s, "Aux1M", Aux1M);
    // The coefficient records DiffAuxC, Eff and Inf are not kept: the step
    // forms its rates from the point classes and carriers above.  Nor is
    // Caux2, which no step reads (SecondHalfStepField).
#define ROOTSIM_CK2(n, o) AddTable(s, #n, n, MAXCELLS); AddTable(s, #o, o, MAXCELLS);
#define ROOTSIM_CK1(n) AddTable(s, #n, n, MAXCELLS);
    ROOTSIM_CELL_INT_CARRIED(ROOTSIM_CK2)
    ROOTSIM_CELL_INT_PLAIN(ROOTSIM_CK1)
    ROOTSIM_CELL_DOUBLE_CARRIED(ROOTSIM_CK2)
    ROOTSIM_CELL_DOUBLE_PLAIN(ROOTSIM_CK1)
    ROOTSIM_CELL_FLAG_CARRIED(ROOTSIM_CK2)
#undef ROOTSIM_CK2
#undef ROOTSIM_CK1
    AddTable(s, "Plasmodesmatapattern", Plasmodesmatapattern, MAXCELLS);
    AddTable(s, "OldSit", OldSit, MAXCELLS);
    AddTable(s, "idlist", idlist, MAXTRACKED);
    AddTable(s, "idcounter", &idcounter, 1);
    AddTable(s, "memid", &memid, 1);
    // Pixels a picture rule leaves unwritten keep the previous picture's.
    AddTable(s, "RGBdata", RGBdata, static_cast<size_t>(NCOLS) * NROWS * 3);
    AddTable(s, "actcells", &actcells, 1);
    AddTable(s, "counter2", &counter2, 1);
    AddTable(s, "maxmzheight", &maxmzheight, 1);
    AddTable(s, "leftsize", &leftsize, 1);
    AddTable(s, "rightsize", &rightsize, 1);
    AddTable(s, "totalrootcellnrL", &totalrootcellnrL, 1);
    AddTable(s, "totalrootcellnrR", &totalrootcellnrR, 1);
    // The registered extras in the order of their names, whatever the order
    // of registration.
    std::vector<Section> extras = Extras();
    std::sort(extras.begin(), extras.end(), [](const Section& a, const Section& b) { return a.name < b.name; });
    s.insert(s.end(), extras.begin(), extras.end());
    return s;
}

// Writes to a file while keeping the checksum of what was written.
class Writer {
public:
    explicit Writer(FILE* f) : f_(f) {}
    void Bytes(const void* p, size_t n) {
        if (!ok_) return;
        hash_ = Fnv1a64(p, n, hash_);
        if (n != 0 && fwrite(p, 1, n, f_) != n) ok_ = false;
    }
    void U64(unsigned long long v) { Bytes(&v, sizeof v); }
    void String(const std::string& s) {
        U64(s.size());
        Bytes(s.data(), s.size());
    }
    unsigned long long Hash() const { return hash_; }
    bool Ok() const { return ok_; }

private:
    FILE* f_;
    unsigned long long hash_ = 1469598103934665603ULL;
    bool ok_ = true;
};

// Reads from the file's bytes in memory; every read is checked against the end.
class Reader {
public:
    Reader(const unsigned char* p, size_t n) : p_(p), end_(p + n) {}
    bool Bytes(void* out, size_t n) {
        if (static_cast<size_t>(end_ - p_) < n) return false;
        memcpy(out, p_, n);
        p_ += n;
        return true;
    }
    const unsigned char* Skip(size_t n) {
        if (static_cast<size_t>(end_ - p_) < n) return nullptr;
        const unsigned char* at = p_;
        p_ += n;
        return at;
    }
    bool U64(unsigned long long* v) { return Bytes(v, sizeof *v); }
    bool String(std::string* s, size_t limit) {
        unsigned long long n;
        if (!U64(&n) || n > limit) return false;
        const unsigned char* at = Skip(static_cast<size_t>(n));
        if (at == nullptr) return false;
        s->assign(reinterpret_cast<const char*>(at), static_cast<size_t>(n));
        return true;
    }
    bool AtEnd() const { return p_ == end_; }

private:
    const unsigned char* p_;
    const unsigned char* end_;
};

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes, std::string* why) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        *why = std::string("cannot open ") + path + ": " + strerror(errno);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = path + " is not a regular file";
        close(fd);
        return false;
    }
    bytes->resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes->size()) {
        ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            *why = std::string("cannot read ") + path + (n < 0 ? std::string(": ") + strerror(errno) : "");
            close(fd);
            return false;
        }
        got += static_cast<size_t>(n);
    }
    close(fd);
    return true;
}

bool SyncDirectory(const char* dir) {
    int fd = open(dir, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

}  // namespace

unsigned long long Fnv1a64(const void* data, size_t bytes, unsigned long long h) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t k = 0; k < bytes; k++) {
        h ^= p[k];
        h *= 1099511628211ULL;
    }
    return h;
}

unsigned long long StateChecksum() {
    unsigned long long h = Fnv1a64(nullptr, 0);
    for (const Section& s : Sections()) {
        h = Fnv1a64(s.name.data(), s.name.size(), h);
        h = Fnv1a64(s.data, s.bytes, h);
    }
    return h;
}

void AddCheckpointState(const char* name, void* data, size_t bytes) {
    for (Section& e : Extras()) {
        if (e.name == name) {
            e.data = data;
            e.bytes = bytes;
            return;
        }
    }
    Extras().push_back({name, data, bytes});
}

std::string CheckpointPath() { return FormatString("%s/checkpoint", dirname); }

bool WriteCheckpoint(long step, long lastStep, long every, const std::vector<AppendedFile>& appended,
                     std::string* why) {
    const std::string path = CheckpointPath();
    const std::string temp = path + kTemporarySuffix;
    FILE* f = fopen(temp.c_str(), "wb");
    if (f == nullptr) {
        *why = std::string("cannot create ") + temp + ": " + strerror(errno);
        return false;
    }
    std::unique_ptr<char[]> buffer(new char[1 << 20]);
    setvbuf(f, buffer.get(), _IOFBF, 1 << 20);
    Writer w(f);
    w.Bytes(kMagic, sizeof kMagic);
    w.U64(kVersion);
    w.String(ProgramName());
    w.U64(NCOLS);
    w.U64(NROWS);
    w.U64(static_cast<unsigned long long>(step));
    w.U64(static_cast<unsigned long long>(lastStep));
    w.U64(static_cast<unsigned long long>(every));
    w.U64(appended.size());
    for (const AppendedFile& a : appended) {
        w.String(a.name);
        w.U64(static_cast<unsigned long long>(a.length));
    }
    const std::vector<Section> sections = Sections();
    w.U64(sections.size());
    for (const Section& s : sections) {
        w.String(s.name);
        w.U64(s.bytes);
        w.Bytes(s.data, s.bytes);
    }
    const unsigned long long sum = w.Hash();
    bool ok = w.Ok() && fwrite(&sum, sizeof sum, 1, f) == 1 && fflush(f) == 0 && fsync(fileno(f)) == 0;
    int err = errno;
    if (fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        *why = std::string("cannot write ") + path + ": " + strerror(err != 0 ? err : EIO);
        return false;
    }
    SyncDirectory(dirname);
    return true;
}

bool ReadCheckpoint(const std::string& path, CheckpointInfo* info, std::string* why) {
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(path, &bytes, why)) return false;
    const std::string bad = path + " is not a usable checkpoint: ";
    unsigned long long sum;
    if (bytes.size() < sizeof kMagic + sizeof sum || memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        *why = bad + "it does not start as one";
        return false;
    }
    const size_t body = bytes.size() - sizeof sum;
    memcpy(&sum, bytes.data() + body, sizeof sum);
    Reader r(bytes.data(), body);
    r.Skip(sizeof kMagic);
    unsigned long long version = 0, cols = 0, rows = 0, step = 0, lastStep = 0, every = 0, nfiles = 0;
    unsigned long long nsections = 0;
    if (!r.U64(&version) || version != kVersion) {
        *why = bad + "format version " + std::to_string(version) + ", this program reads version " +
               std::to_string(kVersion);
        return false;
    }
    if (Fnv1a64(bytes.data(), body) != sum) {
        *why = bad + "its checksum does not match its contents (the file is damaged or incomplete)";
        return false;
    }
    CheckpointInfo in;
    if (!r.String(&in.program, 256) || !r.U64(&cols) || !r.U64(&rows) || !r.U64(&step) || !r.U64(&lastStep) ||
        !r.U64(&every)) {
        *why = bad + "its header is cut short";
        return false;
    }
    if (in.program != ProgramName()) {
        *why = bad + "it was written by " + in.program + ", not by " + ProgramName();
        return false;
    }
    if (cols != static_cast<unsigned long long>(NCOLS) || rows != static_cast<unsigned long long>(NROWS)) {
        *why = bad + "its grid is " + std::to_string(cols) + " x " + std::to_string(rows) + ", not " +
               std::to_string(NCOLS) + " x " + std::to_string(NROWS);
        return false;
    }
    in.columns = static_cast<int>(cols);
    in.rows = static_cast<int>(rows);
    in.step = static_cast<long>(step);
    in.lastStep = static_cast<long>(lastStep);
    in.every = static_cast<long>(every);
    if (!r.U64(&nfiles) || nfiles > 1000000) {
        *why = bad + "its list of files is damaged";
        return false;
    }
    for (unsigned long long k = 0; k < nfiles; k++) {
        AppendedFile a;
        unsigned long long length;
        if (!r.String(&a.name, 4096) || !r.U64(&length)) {
            *why = bad + "its list of files is damaged";
            return false;
        }
        a.length = static_cast<long long>(length);
        in.appended.push_back(a);
    }
    // Every section must be the one this program keeps, with its size, in
    // order; only then is anything copied into the state.
    const std::vector<Section> sections = Sections();
    if (!r.U64(&nsections) || nsections != sections.size()) {
        *why = bad + "it holds " + std::to_string(nsections) + " parts of the state, this program keeps " +
               std::to_string(sections.size());
        return false;
    }
    std::vector<const unsigned char*> data(sections.size());
    for (size_t k = 0; k < sections.size(); k++) {
        std::string name;
        unsigned long long n;
        if (!r.String(&name, 256) || !r.U64(&n) || name != sections[k].name || n != sections[k].bytes ||
            (data[k] = r.Skip(static_cast<size_t>(n))) == nullptr) {
            *why = bad + "part " + std::to_string(k + 1) + " is not " + sections[k].name + " of " +
                   std::to_string(sections[k].bytes) + " bytes";
            return false;
        }
    }
    if (!r.AtEnd()) {
        *why = bad + "it holds more than the state";
        return false;
    }
    for (size_t k = 0; k < sections.size(); k++) memcpy(sections[k].data, data[k], sections[k].bytes);
    TissueChanged();
    // The transport step's factorised systems are built anew from the
    // restored state.
    TransportStateRestored();
    *info = in;
    return true;
}
