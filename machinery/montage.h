// Montages: pictures joined side by side, left to right.
#pragma once

#include <vector>

// Joins the pictures named by the formats in `parts` (each "%s/..%.8d.png",
// filled with the output directory and `time`) into the picture `target`
// (formed the same way).  The image tool is ROOTSIM_CONVERT when set, else
// the system's own convert, else "convert" on the search path.  True when
// the tool ran and ended with status 0; otherwise the target is removed and
// the failure reported on standard error.
bool Montage(const std::vector<const char*>& parts, const char* target, int time);
