// Output files of the measurement writers and logs.
#include "output_file.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "state.h"

OutputFile::OutputFile(std::string name, const char* mode) : name_(std::move(name)) {
    f_ = fopen(name_.c_str(), mode);
    if (f_ == nullptr) {
        fprintf(stderr, "%s: cannot open %s: %s\n", ProgramName(), name_.c_str(), strerror(errno));
        reported_ = true;
    }
}

void OutputFile::Printf(const char* fmt, ...) {
    if (f_ == nullptr || err_ != 0) return;
    va_list ap;
    va_start(ap, fmt);
    int n = vfprintf(f_, fmt, ap);
    va_end(ap);
    if (n < 0) err_ = errno != 0 ? errno : EIO;
}

void OutputFile::Close() {
    if (f_ == nullptr) return;
    if (err_ == 0 && ferror(f_)) err_ = errno != 0 ? errno : EIO;
    errno = 0;
    if (fclose(f_) != 0 && err_ == 0) err_ = errno != 0 ? errno : EIO;
    f_ = nullptr;
    if (err_ != 0 && !reported_) {
        fprintf(stderr, "%s: error writing %s: %s\n", ProgramName(), name_.c_str(), strerror(err_));
        reported_ = true;
    }
}
