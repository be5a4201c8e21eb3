// rootsim_b2: the b family with the functions the family shares.
#include "bfamily.h"

int main(int argc, char** argv) { return RunBFamily(argc, argv, bfamily::B2Rules()); }
