// The output files of a run: failures, names and files written anew.
#include "outputs.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <unordered_set>

#include "state.h"

// ---------------------------------------------------------------------------
// Failures

namespace {

// First failures reported one by one; beyond this many they are only counted
// (a directory removed during a long run would otherwise fill the terminal).
constexpr size_t kReportedOneByOne = 100;
constexpr size_t kNamedInSummary = 20;

struct FailureRecord {
    std::unordered_set<std::string> seen;
    std::vector<std::string> names;
    size_t writes = 0;
};

FailureRecord& Failures() {
    static FailureRecord record;
    return record;
}

// The name as it is kept and shown in the summary: without the output
// directory when the file lies in it.
std::string ShortName(const std::string& file) {
    const size_t n = strlen(dirname);
    if (n > 0 && file.size() > n + 1 && file.compare(0, n, dirname) == 0 && file[n] == '/')
        return file.substr(n + 1);
    return file;
}

}  // namespace

void OutputFailed(const std::string& file, const std::string& reason) {
    FailureRecord& r = Failures();
    r.writes++;
    if (!r.seen.insert(ShortName(file)).second) return;
    r.names.push_back(ShortName(file));
    if (r.names.size() <= kReportedOneByOne) {
        fprintf(stderr, "%s: cannot write %s: %s\n", ProgramName(), file.c_str(), reason.c_str());
    }
    if (r.names.size() == kReportedOneByOne) {
        fprintf(stderr, "%s: %zu output files cannot be written; further ones are only counted\n", ProgramName(),
                kReportedOneByOne);
    }
    fflush(stderr);
}

void OutputFailedErrno(const std::string& file, const char* what, int err) {
    const char* text = strerror(err != 0 ? err : EIO);
    OutputFailed(file, what != nullptr ? std::string(what) + ": " + text : std::string(text));
}

size_t FailedOutputFiles() { return Failures().names.size(); }

size_t FailedOutputWrites() { return Failures().writes; }

const std::vector<std::string>& FailedOutputNames() { return Failures().names; }

void PrintOutputFailureSummary() {
    const FailureRecord& r = Failures();
    if (r.names.empty()) return;
    fprintf(stderr, "%s: %zu output file%s could not be written (%zu failed write%s) in %s:\n", ProgramName(),
            r.names.size(), r.names.size() == 1 ? "" : "s", r.writes, r.writes == 1 ? "" : "s", dirname);
    for (size_t k = 0; k < r.names.size() && k < kNamedInSummary; k++)
        fprintf(stderr, "  %s\n", r.names[k].c_str());
    if (r.names.size() > kNamedInSummary)
        fprintf(stderr, "  ... and %zu more\n", r.names.size() - kNamedInSummary);
    fflush(stderr);
}

void ClearOutputFailures() {
    FailureRecord& r = Failures();
    r.seen.clear();
    r.names.clear();
    r.writes = 0;
}

// ---------------------------------------------------------------------------
// Output names

namespace {

std::vector<std::string>& Formats() {
    static std::vector<std::string> formats;
    return formats;
}

// The part of a format after the output directory ("%s/").
const char* FileNamePart(const std::string& format) {
    const char* f = format.c_str();
    return strncmp(f, "%s/", 3) == 0 ? f + 3 : f;
}

// Reads a number conversion at f ("%d", "%i", "%.8d"): its least number of
// digits in *digits, the characters it takes in *length.  False for anything
// else.
bool NumberConversion(const char* f, int* digits, int* length) {
    if (f[0] != '%') return false;
    int k = 1, least = 1;
    if (f[k] == '.') {
        k++;
        least = 0;
        while (f[k] >= '0' && f[k] <= '9') least = least * 10 + (f[k++] - '0');
        if (least == 0) least = 1;
    }
    if (f[k] != 'd' && f[k] != 'i') return false;
    *digits = least;
    *length = k + 1;
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool Match(const char* f, const char* s) {
    while (*f != '\0') {
        int least, length;
        if (NumberConversion(f, &least, &length)) {
            // An optional sign, then at least `least` digits; every run length
            // is tried, longest first.
            const char* d = s;
            if (*d == '-') d++;
            int n = 0;
            while (IsDigit(d[n])) n++;
            for (int take = n; take >= least; take--)
                if (Match(f + length, d + take)) return true;
            return false;
        }
        if (f[0] == '%' && f[1] == '%') f++;
        if (*f != *s) return false;
        f++;
        s++;
    }
    return *s == '\0';
}

}  // namespace

const char* const kTemporarySuffix = ".partial";

void SetOutputNameFormats(const std::vector<std::string>& formats) { Formats() = formats; }

const std::vector<std::string>& OutputNameFormats() { return Formats(); }

bool MatchesNameFormat(const std::string& format, const std::string& name) {
    return Match(FileNamePart(format), name.c_str());
}

bool IsOutputName(const std::string& name) {
    const size_t sl = strlen(kTemporarySuffix);
    const bool temporary = name.size() > sl && name.compare(name.size() - sl, sl, kTemporarySuffix) == 0;
    const std::string stem = temporary ? name.substr(0, name.size() - sl) : name;
    for (const std::string& f : Formats())
        if (MatchesNameFormat(f, name) || (temporary && MatchesNameFormat(f, stem))) return true;
    return false;
}

size_t LongestOutputPath(size_t dirLength) {
    // Without formats: room for a name of 64 characters.
    size_t longest = Formats().empty() ? 65 : 0;
    for (const std::string& format : Formats()) {
        const char* f = FileNamePart(format);
        size_t n = 1;  // the "/" after the directory
        while (*f != '\0') {
            int least, length;
            if (NumberConversion(f, &least, &length)) {
                // Any int: a sign and ten digits, or more when padded.
                n += static_cast<size_t>(least > 10 ? least + 1 : 11);
                f += length;
                continue;
            }
            if (f[0] == '%' && f[1] == '%') f++;
            n++;
            f++;
        }
        longest = std::max(longest, n);
    }
    return dirLength + longest + strlen(kTemporarySuffix);
}

bool FindOutputs(const std::string& dir, std::vector<std::string>* names, std::string* why) {
    names->clear();
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) {
        *why = strerror(errno);
        return false;
    }
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (!IsOutputName(name)) continue;
        // Files and links only: a directory of such a name is no output.
        struct stat st;
        const std::string path = dir + "/" + name;
        if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        names->push_back(name);
    }
    closedir(d);
    std::sort(names->begin(), names->end());
    return true;
}

// ---------------------------------------------------------------------------
// Files written anew

namespace {

// The temporaries being written, in fixed storage so that a signal handler
// can remove them.
constexpr int kSlots = 4;
char liveNames[kSlots][PATH_MAX + 16];
volatile sig_atomic_t liveUsed[kSlots];

int TakeSlot(const std::string& name) {
    if (name.size() >= sizeof liveNames[0]) return -1;
    for (int k = 0; k < kSlots; k++) {
        if (liveUsed[k]) continue;
        memcpy(liveNames[k], name.c_str(), name.size() + 1);
        liveUsed[k] = 1;
        return k;
    }
    return -1;
}

void ReleaseSlot(int& slot) {
    if (slot >= 0) liveUsed[slot] = 0;
    slot = -1;
}

}  // namespace

void RemoveLiveTemporaries() {
    for (int k = 0; k < kSlots; k++) {
        if (!liveUsed[k]) continue;
        unlink(liveNames[k]);
        liveUsed[k] = 0;
    }
}

WholeFile::WholeFile(std::string finalName) : final_(std::move(finalName)), temp_(final_ + kTemporarySuffix) {
    slot_ = TakeSlot(temp_);
    f_ = fopen(temp_.c_str(), "w");
    if (f_ == nullptr) {
        OutputFailedErrno(final_, "cannot create it", errno);
        ReleaseSlot(slot_);
    }
}

WholeFile::~WholeFile() { Discard(); }

void WholeFile::Failed(int err) {
    if (err_ == 0) err_ = err != 0 ? err : EIO;
}

void WholeFile::Discard() {
    if (f_ != nullptr) {
        fclose(f_);
        f_ = nullptr;
        unlink(temp_.c_str());
    }
    ReleaseSlot(slot_);
}

bool WholeFile::Commit() {
    if (f_ == nullptr) return false;
    int err = err_;
    errno = 0;
    if (fflush(f_) != 0 && err == 0) err = errno != 0 ? errno : EIO;
    if (ferror(f_) && err == 0) err = EIO;
    errno = 0;
    if (fclose(f_) != 0 && err == 0) err = errno != 0 ? errno : EIO;
    f_ = nullptr;
    if (err == 0 && rename(temp_.c_str(), final_.c_str()) != 0) err = errno != 0 ? errno : EIO;
    if (err != 0) {
        unlink(temp_.c_str());
        ReleaseSlot(slot_);
        OutputFailedErrno(final_, nullptr, err);
        return false;
    }
    ReleaseSlot(slot_);
    return true;
}
