// Output files of the measurement writers and logs.
#pragma once

#include <string>

// One output file, written when the object is closed (or destroyed).
//
// Mode "a" appends: everything printed between opening and closing is one
// record, added with one write; a record that cannot be written whole is cut
// off again, so that the file holds only whole records.  Mode "w" (or "wb")
// writes the file anew under its temporary name and renames it when complete,
// so that the file is either whole or left as it was.  Failures are reported
// through OutputFailed (once per file) and the run goes on.
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
    std::string text_;
    bool append_ = false;
    bool open_ = true;
};

// Appends `record` to the file `name` with one write, creating the file when
// it does not exist.  A write that fails part way is cut off again.  True when
// the record was written; otherwise the failure is reported.
bool AppendRecord(const std::string& name, const std::string& record);
