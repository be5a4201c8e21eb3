// A plain transcription of the transport step: whole lines, outside points
// as identity rows, each line solved by dsolvetridiag.  The oracle of the
// production step, which must give the same bits.
#pragma once

void PlainTransportStep();
