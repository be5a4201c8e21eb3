// Carrier prepatterns and transport coefficients.
#include "rootsim.h"

void UpdateMembraneProteinsAndFluxes(int) {}
