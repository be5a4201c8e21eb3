// Montages: pictures joined side by side, left to right, made in the process
// from the pixels of the pictures just drawn.
#pragma once

#include <vector>

// Keeps a copy of the picture buffer RGBdata as the picture named by `format`
// (a picture name format such as "%s/ARF_%.8d.png") of the set being drawn.
void KeepForMontage(const char* format);
// Forgets every kept picture.
void ForgetMontageParts();

// Joins the kept pictures named by the formats in `parts`, in this order, into
// the picture `target` (a name format filled with the output directory and
// `time`), NCOLS wide per part and NROWS high.  The montage is written under
// its temporary name and renamed when complete.  True then; otherwise the
// failure is reported (OutputFailed) and no file is left.
bool Montage(const std::vector<const char*>& parts, const char* target, int time);
