// The output files of a run: the record of those that could not be written,
// the names the program's writers give their files, and the temporary names
// under which files written anew are made before they take their final names.
//
// Every writer reports a file it cannot write through OutputFailed: the first
// failure of a file is one line on standard error, later ones of the same file
// are only counted, and the run goes on.  The run ends with a summary of the
// failed files (PrintOutputFailureSummary) and a status that says whether any
// output was lost.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Failures

// Records that `file` could not be written; `reason` says why (for example
// "No space left on device" or "cannot create it: Permission denied").
void OutputFailed(const std::string& file, const std::string& reason);
// The same with the reason formed from a short phrase and an errno value
// ("cannot create it" and ENOENT give "cannot create it: No such file or
// directory"); a null phrase gives the errno text alone.
void OutputFailedErrno(const std::string& file, const char* what, int err);

// Distinct files that failed, and failed writes in all, since the start (or
// the last ClearOutputFailures).
size_t FailedOutputFiles();
size_t FailedOutputWrites();
// The names of the failed files in the order of their first failure, without
// the output directory when they lie in it.
const std::vector<std::string>& FailedOutputNames();
// When any output failed: the count and the names of the failed files on
// standard error (the first twenty, then how many more).
void PrintOutputFailureSummary();
void ClearOutputFailures();

// ---------------------------------------------------------------------------
// Output names

// The name formats of every file the program writes, as its writers form
// them: "%s/" (the output directory) followed by the file name, with %d, %i
// or %.Nd for numbers ("%s/Totalauxin", "%s/Aux_%.8d.png").  Each program
// gives its own before the run starts.
void SetOutputNameFormats(const std::vector<std::string>& formats);
const std::vector<std::string>& OutputNameFormats();

// Whether `name` (a file name without its directory) is one that a format
// forms, or the temporary of such a name.
bool IsOutputName(const std::string& name);
bool MatchesNameFormat(const std::string& format, const std::string& name);

// The length of the longest path that a writer can form in a directory whose
// name is dirLength characters long, temporaries included.
size_t LongestOutputPath(size_t dirLength);

// The files (and links) in `dir` with output names, sorted.  False, with the
// reason in *why, when the directory cannot be read.
bool FindOutputs(const std::string& dir, std::vector<std::string>* names, std::string* why);

// ---------------------------------------------------------------------------
// Files written anew

// The temporary name of a file written anew: the final name with this suffix.
extern const char* const kTemporarySuffix;

// A file written anew (a picture, a dump, a profile): the writer writes it
// under its temporary name in the same directory, and Commit gives it its
// final name once it is complete.  A file that fails is reported, its
// temporary removed, and an earlier file of the final name left as it was.
class WholeFile {
public:
    explicit WholeFile(std::string finalName);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // The stream of the temporary; null when it could not be created (that
    // is already reported).
    FILE* stream() const { return f_; }
    const std::string& name() const { return final_; }
    // Notes a write error that the writer saw (an errno value; 0 counts as EIO).
    void Failed(int err);
    // Closes the temporary and renames it to the final name.  True when the
    // file is complete under its final name; otherwise the failure is
    // reported and the temporary removed.
    bool Commit();

private:
    void Discard();

    std::string final_;
    std::string temp_;
    FILE* f_ = nullptr;
    int err_ = 0;
    int slot_ = -1;
};

// Removes the temporaries of files still being written (there are none
// between two steps); safe to call from a signal handler.
void RemoveLiveTemporaries();
