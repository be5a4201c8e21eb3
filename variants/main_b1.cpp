// rootsim_b1: the b family with its own cell growth and culling at the top.
#include "bfamily.h"

int main(int argc, char** argv) { return RunBFamily(argc, argv, bfamily::B1Rules()); }
