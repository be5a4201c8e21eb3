// Output files of the measurement writers and logs.
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "outputs.h"

OutputFile::OutputFile(std::string name, const char* mode) : name_(std::move(name)) {
    append_ = mode[0] == 'a';
}

void OutputFile::Printf(const char* fmt, ...) {
    if (!open_) return;
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    if (n > 0) {
        const size_t at = text_.size();
        text_.resize(at + static_cast<size_t>(n) + 1);
        vsnprintf(&text_[at], static_cast<size_t>(n) + 1, fmt, ap2);
        text_.resize(at + static_cast<size_t>(n));
    }
    va_end(ap2);
}

void OutputFile::Close() {
    if (!open_) return;
    open_ = false;
    if (append_) {
        AppendRecord(name_, text_);
    } else {
        WholeFile f(name_);
        if (f.stream() != nullptr) {
            if (!text_.empty() && fwrite(text_.data(), 1, text_.size(), f.stream()) != text_.size())
                f.Failed(errno);
            f.Commit();
        }
    }
    text_.clear();
}

bool AppendRecord(const std::string& name, const std::string& record) {
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        OutputFailedErrno(name, "cannot open it", errno);
        return false;
    }
    struct stat st;
    const off_t before = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : -1;
    size_t done = 0;
    int err = 0;
    while (done < record.size()) {
        ssize_t n = write(fd, record.data() + done, record.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<size_t>(n);
    }
    bool cut = true;
    if (err != 0 && done > 0) cut = before >= 0 && ftruncate(fd, before) == 0;
    if (close(fd) != 0 && err == 0) err = errno;
    if (err == 0) return true;
    if (cut) OutputFailedErrno(name, nullptr, err);
    else OutputFailedErrno(name, "a partial record could not be cut off again", err);
    return false;
}
