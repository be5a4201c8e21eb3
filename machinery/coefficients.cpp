// The coefficient records of the transport step, built on demand from the
// point classes and the carrier amounts on the membranes.
#include "coefficients.h"

#include <cstdio>
#include <cstdlib>

#include "transport.h"

void ColumnNeighbourCoefficients(int i, int lo, int hi, const MembranePermeability& perm) {
    NeighbourRates* inf = Inf[i];
    NeighbourRates* eff = Eff[i];
    NeighbourRates* dif = DiffAuxC[i];
    for (int j = lo; j <= hi; j++) {
        NeighbourRates in, ef, df;
        PointCoefficients(i, j, perm, &in, &ef, &df);
        StoreIfChanged(&inf[j], in);
        StoreIfChanged(&eff[j], ef);
        StoreIfChanged(&dif[j], df);
    }
}

void CoefficientRecordsFromCarriers() {
    const MembranePermeability* perm = TransportPermeability();
    if (perm == nullptr) {
        fprintf(stderr, "%s: no membrane permeabilities to build the coefficients from\n", ProgramName());
        exit(1);
    }
    for (int i = 0; i < NCOLS; i++) ColumnNeighbourCoefficients(i, 0, NROWS - 1, *perm);
}
