// Carrier prepatterns and transport coefficients: rootsim's landmarks given
// to the carrier rules and update it shares with the b family
// (rules/carrier_rules.h, rules/carrier_update.h).
#include "rootsim.h"

#include "carrier_rules.h"
#include "carrier_update.h"
#include "plan.h"

namespace {

using Update = rules::CarrierUpdate<rules::CarrierRules<plan::Landmarks>>;

// A resumed run continues with the very extents an uninterrupted one has.
const bool registered = (Update::RegisterCheckpointState(""), true);

}  // namespace

void UpdateMembraneProteinsAndFluxes(int time) { Update::Run(time); }

void RebuildCarriers() { Update::Rebuild(); }
