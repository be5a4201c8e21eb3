// A plain, line-by-line form of the auxin transport step, kept as the oracle
// that the production step must match bit for bit.  Every line is built whole,
// outside points included (as identity rows with a zero right-hand side), and
// solved by dsolvetridiag through the shared line buffers.
#pragma once

namespace transportref {

// One full transport step on the global state, as UpdateAuxin does it.
void ReferenceUpdateAuxin(int time);

}  // namespace transportref
