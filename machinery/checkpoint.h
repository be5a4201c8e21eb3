// Exact checkpoints: the complete state that the remaining steps of a run
// depend on, in one binary file "DIR/checkpoint" with a checksum, written so
// that a crash at any moment leaves the previous checkpoint whole.
//
// File: magic "RSCHKPT1", format version, program name, grid size, step,
// the run's last step and checkpoint interval, the lengths of the run's
// output files, then the state as named sections (every grid field but the
// coefficient records, which are derived from the carriers, and Caux2, which
// no step reads; every cell table
// with its twin, the tracking lists, the picture buffer, the run-wide scalars
// and the one-shot flags that the machinery and the program registered), and
// last a 64-bit checksum of everything before it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// State a program or a machinery module keeps outside the global arrays
// (function-local flags, counters, extents): registered once, by address and
// size, saved and restored with the rest.  Registering the same name again
// replaces the entry.
void AddCheckpointState(const char* name, void* data, size_t bytes);

// A file the run appends to and its length at the checkpoint.
struct AppendedFile {
    std::string name;  // relative to the output directory
    long long length;
};

struct CheckpointInfo {
    std::string program;
    int columns = 0, rows = 0;
    long step = 0;       // the last step done
    long lastStep = 0;   // the last step the run was to do
    long every = 0;      // the run's steps between checkpoints
    std::vector<AppendedFile> appended;
};

std::string CheckpointPath();  // "DIR/checkpoint"

// Writes the checkpoint of the state after step `step` of a run to step
// `lastStep` with a checkpoint every `every` steps (temporary file in the same
// directory, flushed to disk, renamed over the previous one).  False with the
// reason in *why when it could not be written; the previous checkpoint is
// then left as it was.
bool WriteCheckpoint(long step, long lastStep, long every, const std::vector<AppendedFile>& appended,
                     std::string* why);

// Reads and verifies the checkpoint at `path` (magic, version, program, grid,
// sections, checksum) and, only when all is well, puts its state in place
// and fills *info.  False with the reason in *why otherwise; the state is
// then untouched.  The state must have been allocated (AllocateState) and the
// program's extras registered.
bool ReadCheckpoint(const std::string& path, CheckpointInfo* info, std::string* why);

// The checksum of the whole state a checkpoint would hold (for comparing two
// states).
unsigned long long StateChecksum();

// The 64-bit FNV-1a checksum used by the file, continuing from `h`.
unsigned long long Fnv1a64(const void* data, size_t bytes,
                           unsigned long long h = 1469598103934665603ULL);
