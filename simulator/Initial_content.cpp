// Initial cell states and the initial auxin field.
#include "rootsim.h"

void InitConditions() { Plasmodesmatapatterning(); }
