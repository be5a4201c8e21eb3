// Per-cell gene network.
#include "rootsim.h"

double positivesigmoid(double, double, double) { return 0; }
double negativesigmoid(double, double, double) { return 0; }
double positive4sigmoid(double, double, double) { return 0; }
double UpdatePlts(int, int, double, double) { return 0; }
void UpdateARRS(int, int, double, double* dARR1, double* dARR12) { *dARR1 = 0; *dARR12 = 0; }
void UpdateGeneExpression(int) {}
