// The b family's tables of differing functions (bfamily.h).
#include "bfamily.h"

#include "plan.h"

namespace bfamily {

Rules B2Rules() {
    Rules r{};
    r.name = "rootsim_b2";
    r.SetUpTissueLayout = ::SetUpTissueLayout;
    r.SetUpMembraneTypes = ::SetUpMembraneTypes;
    r.InitConditions = ::InitConditions;
    r.UpdateGeneExpression = ::UpdateGeneExpression;
    r.UpdateMembraneProteinsAndFluxes = ::UpdateMembraneProteinsAndFluxes;
    r.RebuildCarriers = ::RebuildCarriers;
    r.Growth = ::Growth;
    r.GrowCell = ::GrowCell;
    r.DivideCell = ::DivideCell;
    r.CullOverflowCells = ::CullOverflowCells;
    r.SaveGradGridRes = ::SaveGradGridRes;
    r.MakePNGFile = ::MakePNGFile;
    r.MakeGraphics = ::MakeGraphics;
    r.meristemTopRow = bplan::MERISTEM_TOP_ROW;
    r.bodyTopRow = bplan::BODY_TOP_ROW;
    r.firstSampleRow = bplan::SAMPLE_FIRST_ROW;
    r.heightMarkLastRow = bplan::HEIGHT_MARK_LAST_ROW;
    r.extraHeightRow = bplan::EXTRA_HEIGHT_ROW;
    return r;
}

Rules B1Rules() {
    Rules r = B2Rules();
    r.name = "rootsim_b1";
    r.GrowCell = b1::GrowCell;
    r.CullOverflowCells = b1::CullOverflowCells;
    return r;
}

Rules B3Rules() {
    Rules r = B2Rules();
    r.name = "rootsim_b3";
    r.SetUpTissueLayout = b3::SetUpTissueLayout;
    r.SetUpMembraneTypes = b3::SetUpMembraneTypes;
    r.InitConditions = b3::InitConditions;
    r.UpdateGeneExpression = b3::UpdateGeneExpression;
    r.UpdateMembraneProteinsAndFluxes = b3::UpdateMembraneProteinsAndFluxes;
    r.RebuildCarriers = b3::RebuildCarriers;
    r.Growth = b3::Growth;
    r.GrowCell = b3::GrowCell;
    r.DivideCell = b3::DivideCell;
    r.CullOverflowCells = b3::CullOverflowCells;
    r.SaveGradGridRes = b3::SaveGradGridRes;
    r.MakePNGFile = b3::MakePNGFile;
    r.MakeGraphics = b3::MakeGraphics;
    r.meristemTopRow = bplan::B3_MERISTEM_TOP_ROW;
    r.bodyTopRow = bplan::B3_BODY_TOP_ROW;
    r.firstSampleRow = bplan::B3_SAMPLE_FIRST_ROW;
    r.heightMarkLastRow = bplan::B3_HEIGHT_MARK_LAST_ROW;
    r.extraHeightRow = bplan::B3_EXTRA_HEIGHT_ROW;
    return r;
}

Rules B4Rules() {
    Rules r = B2Rules();
    r.name = "rootsim_b4";
    r.DivideCell = b4::DivideCell;
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
