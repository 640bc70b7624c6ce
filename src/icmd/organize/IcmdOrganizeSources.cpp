// organize_sources: the module's customized list of HDL sources for
// synthesis or simulation, stored in use or beside the computed one.
#include "icmd/organize/IcmdOrganizeSources.h"

#include "src/icmd/organize/icmdOrganizeLists.h"

#include "icmd/organize/IcmdOrganizeFilesVisitor.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/names/ImodelMessages.h"

using namespace icmdOrganizeLists;

IcmdOrganizeSources::IcmdOrganizeSources(bool selfTest)
    : IcmdOrganizeFilesBase(selfTest), m_module(this, false, false),
      m_tool(this, true, ideHDLEDITOR, &IcmdToolTypeArg::OrganizeSourcesSupported)
{
    if (!selfTest) CreateUseDefaultParam();
}

IcmdOrganizeSources::~IcmdOrganizeSources() = default;

void IcmdOrganizeSources::SetParams(ImodelFunctionType tool, ImodelModule* module)
{
    m_module.SetObject(module);
    m_tool.SetObject(tool);
}

AcmdEnum::Result IcmdOrganizeSources::checkParams()
{
    if (!m_module.GetObject()) {
        if (ImodelModule* root = Design().GetRootModule()) m_module.SetObject(root);
    }
    const AcmdEnum::Result result = IcmdOrganizeFilesBase::checkParams();
    if (!IcmdToolTypeArg::OrganizeSourcesSupported(GetToolType())) {
        ImodelDisplayNO_CUSTOM_SOURCES_MSG(IcmdToolTypeArg::GetStringForTool(GetToolType()).c_str());
        return AcmdEnum::Failure;
    }
    return result;
}

void IcmdOrganizeSources::Accept(IcmdOrganizeFilesVisitor& visitor)
{
    switch (GetToolType()) {
    case ideSYNTHESIS:
        visitor.VisitSynthesisSources(*this);
        break;
    case ideSIMULATION:
        visitor.VisitSimulationSources(*this);
        break;
    default:
        visitor.VisitOtherSources(*this);
        break;
    }
}

ImodelModule* IcmdOrganizeSources::GetModule() const { return m_module.GetObject(); }

ImodelFunctionType IcmdOrganizeSources::GetToolType() const { return m_tool.GetObject(); }

void IcmdOrganizeSources::GetCurrentFileList(Entries& out, bool)
{
    out.clear();
    ImodelModule* module = GetModule();
    if (!module) return;
    if (!module->GetCustomizedFileList(GetToolType(), out))
        ImodelGetHdlFileNames(out, module, GetToolType(), nullptr, false);
}

void IcmdOrganizeSources::GetDefaultFileList(Entries& out)
{
    out.clear();
    ImodelModule* module = GetModule();
    if (!module) return;
    const bool used = module->SetUseCustomizedFileList(GetToolType(), false);
    ImodelGetHdlFileNames(out, module, GetToolType(), nullptr, false);
    module->SetUseCustomizedFileList(GetToolType(), used);
}

void IcmdOrganizeSources::GetListInEffect(Entries& out) const
{
    out.clear();
    if (ImodelModule* module = GetModule()) ImodelGetHdlFileNames(out, module, GetToolType(), nullptr, false);
}

bool IcmdOrganizeSources::IsUsingDefaultList()
{
    const ImodelModule* module = GetModule();
    return !module || !module->UseCustomizedFileList(GetToolType());
}

void IcmdOrganizeSources::GetAllowedFileList(Entries& out)
{
    out.clear();
    Files().GetFilesOfSpecificType(zorpaFT_HDL, out, 0, nullptr);
}

IcmdOrganizeSources::Entry IcmdOrganizeSources::FindAllowedFile(const Entry& file)
{
    return Files().GetFileOfSpecificType(*file, zorpaFT_HDL, 0, nullptr);
}

bool IcmdOrganizeSources::ApplyNewFileList(const Entries& list, const ImodelOptionalFiles&)
{
    ImodelModule* module = GetModule();
    if (!module) return false;
    const ImodelFunctionType tool = GetToolType();
    const bool useDefault = GetUseDefault();
    bool sameAsDefault = false;
    if (useDefault) {
        Entries computed;
        GetDefaultFileList(computed);
        sameAsDefault = IfileIsSameList(list, computed);
    }
    const bool oldUse = module->UseCustomizedFileList(tool);
    Entries old;
    GetCurrentFileList(old, true);
    Entries inEffect;
    GetListInEffect(inEffect);
    if (sameAsDefault)
        module->RemoveCustomizedFileList(tool);
    else
        module->SetCustomizedFileList(!useDefault, tool, list);
    if (module->UseCustomizedFileList(tool) != oldUse || !IfileIsSameList(old, list)) Design().SetNeedSave(true);
    // The tool's results were made from the files it received.
    Entries nowInEffect;
    GetListInEffect(nowInEffect);
    if (!IfileIsSameList(inEffect, nowInEffect)) ToolInputsChanged(tool, module);
    return true;
}

bool IcmdOrganizeSources::CanBeRemoved(const Entry&, bool) { return true; }

void IcmdOrganizeSources::GetOptionalFileList(Entries, ImodelOptionalFiles&) {}

std::string IcmdOrganizeSources::GetAssociateToWhat() { return ModuleNameOrThisModule(GetModule()); }

void IcmdOrganizeSources::UpdateActualListForNew(Entries& current, const Entries&) { current.clear(); }

bool IcmdOrganizeSources::IsNewFileListValid(const Entries&, void*) { return true; }
