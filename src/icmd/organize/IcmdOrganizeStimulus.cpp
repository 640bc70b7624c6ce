// associate_stimulus: the module's stimulus files, handed to the design
// flow.
#include "icmd/organize/IcmdOrganizeStimulus.h"

#include "src/icmd/organize/icmdOrganizeLists.h"

#include "icmd/organize/IcmdOrganizeFilesVisitor.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"

using namespace icmdOrganizeLists;

IcmdOrganizeStimulus::IcmdOrganizeStimulus(bool selfTest) : IcmdOrganizeFilesBase(selfTest), m_module(this, true, false)
{
}

IcmdOrganizeStimulus::~IcmdOrganizeStimulus() = default;

void IcmdOrganizeStimulus::SetParams(ImodelModule* module) { m_module.SetObject(module); }

void IcmdOrganizeStimulus::Accept(IcmdOrganizeFilesVisitor& visitor) { visitor.VisitStimulus(*this); }

ImodelModule* IcmdOrganizeStimulus::GetModule() const { return m_module.GetObject(); }

ImodelFunctionType IcmdOrganizeStimulus::GetToolType() const { return ideSTIMULUS; }

void IcmdOrganizeStimulus::GetCurrentFileList(Entries& out, bool)
{
    out.clear();
    if (const ImodelModule* module = GetModule()) IfileManagerGetRealObjects(module->GetStimulusList(), out, true);
}

void IcmdOrganizeStimulus::GetDefaultFileList(Entries&) {}

bool IcmdOrganizeStimulus::IsUsingDefaultList() { return false; }

void IcmdOrganizeStimulus::GetAllowedFileList(Entries& out)
{
    out.clear();
    Files().GetFilesOfSpecificType(zorpaFT_TB_HDL, out, 0, nullptr);
}

IcmdOrganizeStimulus::Entry IcmdOrganizeStimulus::FindAllowedFile(const Entry& file)
{
    return Files().GetFileOfSpecificType(*file, zorpaFT_TB_HDL, 0, nullptr);
}

bool IcmdOrganizeStimulus::ApplyNewFileList(const Entries& list, const ImodelOptionalFiles&)
{
    ImodelModule* module = GetModule();
    return module && module->SetNewStimulusList(SimpleObjects(list), nullptr);
}

bool IcmdOrganizeStimulus::CanBeRemoved(const Entry&, bool) { return true; }

void IcmdOrganizeStimulus::GetOptionalFileList(Entries, ImodelOptionalFiles&) {}

std::string IcmdOrganizeStimulus::GetAssociateToWhat() { return ModuleNameOrThisModule(GetModule()); }

void IcmdOrganizeStimulus::UpdateActualListForNew(Entries& current, const Entries&) { current.clear(); }

bool IcmdOrganizeStimulus::IsNewFileListValid(const Entries&, void*) { return true; }
