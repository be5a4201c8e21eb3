// The b family's tables of differing functions (bfamily.h).
#include "bfamily.h"

#include "plan.h"
#include "bfamily.h"

namespace bfamily {

Rules B2Rules() {
    Rules r{};
    r.name = "rootsim_b2";
    r.SetUpTissueLayout = ::SetUpTissueLayout;
    r.SetUpMembraneTypes = ::SetUpMembraneTypes;
    r.InitConditions = ::InitConditions;
    // Update, GrowthOld, Plotting and Graphics entries come with their sources.
    r.meristemTopRow = bplan::MERISTEM_TOP_ROW;
    r.firstSampleRow = bplan::SAMPLE_FIRST_ROW;
    r.heightMarkLastRow = bplan::HEIGHT_MARK_LAST_ROW;
    r.extraHeightRow = bplan::EXTRA_HEIGHT_ROW;
    return r;
}

Rules B1Rules() {
    Rules r = B2Rules();
    r.name = "rootsim_b1";
    // b1's own GrowCell and CullOverflowCells come with GrowthOld.
    return r;
}

Rules B3Rules() {
    Rules r = B2Rules();
    r.name = "rootsim_b3";
    r.SetUpTissueLayout = b3::SetUpTissueLayout;
    r.SetUpMembraneTypes = b3::SetUpMembraneTypes;
    r.InitConditions = b3::InitConditions;
    // b3's UpdateGeneExpression, UpdateMembraneProteinsAndFluxes, Growth,
    // GrowCell, DivideCell, CullOverflowCells, SaveGradGridRes, MakePNGFile
    // and MakeGraphics come with their sources.
    r.meristemTopRow = bplan::B3_MERISTEM_TOP_ROW;
    r.firstSampleRow = bplan::B3_SAMPLE_FIRST_ROW;
    r.heightMarkLastRow = bplan::B3_HEIGHT_MARK_LAST_ROW;
    r.extraHeightRow = bplan::B3_EXTRA_HEIGHT_ROW;
    return r;
}

Rules B4Rules() {
    Rules r = B2Rules();
    r.name = "rootsim_b4";
    // b4's own DivideCell comes with GrowthOld.
    return r;
}

namespace {
Rules& Table() {
    static Rules installed = B2Rules();
    return installed;
}
}  // namespace

void Install(const Rules& rules) { Table() = rules; }
const Rules& Installed() { return Table(); }

}  // namespace bfamily
