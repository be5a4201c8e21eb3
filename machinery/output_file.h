// Output files of the measurement writers and logs.
#pragma once

#include <cstdio>
#include <string>

// One output file, open for the lifetime of the object.  Failures to open or
// to write are reported once on standard error; writes to a file that could
// not be opened are dropped.
class OutputFile {
public:
    OutputFile(std::string name, const char* mode);
    ~OutputFile() { Close(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    __attribute__((format(printf, 2, 3)))
    void Printf(const char* fmt, ...);

    void Close();

private:
    std::string name_;
    FILE* f_ = nullptr;
    int err_ = 0;
    bool reported_ = false;
};

