// Plasmodesmata density per membrane side of every cell.
#include "rootsim.h"

void Plasmodesmatapatterning() {}
