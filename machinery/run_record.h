// The run record "DIR/run.json": what ran, how far it got and how it ended,
// written at the start, at every checkpoint and at the end.  A resumed run
// keeps the records of the runs before it under "history", oldest first.
#pragma once

#include <string>
#include <vector>

struct RunRecord {
    std::string program;
    std::string version;              // the commit the program was built from
    std::vector<std::string> command;  // the command line
    int threads = 0;
    long firstStep = 1;               // the first step this run did
    long stepsRequested = 0;          // the last step it was to do
    long stepsDone = 0;               // the last step done
    std::string start;                // how the plant was made: "layout", "resume", "dump FILE"
    std::string state;                // running, finished, failed, interrupted
    double wallSeconds = 0;
    std::vector<std::string> failedFiles;
};

// The version string the build gave the program ("unknown" without one).
const char* ProgramVersion();

// Reads the run records of an earlier run from `path`: its own record and its
// history, as JSON texts, oldest first (none when there is no usable file).
std::vector<std::string> EarlierRunRecords(const std::string& path);

// Writes the record, with the earlier ones as its history, under a
// temporary name and renames it.  False when it could not be written (the
// failure is recorded with the other output failures).
bool WriteRunRecord(const std::string& path, const RunRecord& record, const std::vector<std::string>& history);

// The JSON text of one record (without history), for the next history.
std::string RunRecordJson(const RunRecord& record);
