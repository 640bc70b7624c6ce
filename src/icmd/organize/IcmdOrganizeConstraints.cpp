// organize_constraints: the constraint files a tool with constraint lists
// receives for a module in one place-and-route view.
#include "icmd/organize/IcmdOrganizeConstraints.h"

#include "src/icmd/organize/icmdOrganizeLists.h"

#include "icmd/organize/IcmdOrganizeFilesVisitor.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTypes.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolFunctions.h"
#include "itool/ItoolWithConstraints.h"

#include <algorithm>
#include <unordered_set>

using namespace icmdOrganizeLists;

namespace {

// Appends the files of `more` that `out` lacks.
void AppendMissing(Entries& out, const Entries& more)
{
    std::unordered_set<std::string> listed = KeysOf(out);
    for (const Entry& file : more)
        if (file && listed.insert(KeyOf(file)).second) out.push_back(file);
}

}  // namespace

IcmdOrganizeConstraints::IcmdOrganizeConstraints(bool selfTest)
    : IcmdOrganizeFilesBase(selfTest), m_view(this, false, false),
      m_tool(this, true, ideHDLEDITOR, &IcmdToolTypeArg::OrganizeConstraintsSupported)
{
}

IcmdOrganizeConstraints::~IcmdOrganizeConstraints() = default;

void IcmdOrganizeConstraints::SetParams(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* view)
{
    m_view.SetObject(module, view);
    m_tool.SetObject(tool);
}

ItoolWithConstraints* IcmdOrganizeConstraints::GetManager() const
{
    return ItoolConstraintsManager::GetTool(GetToolType());
}

ImodelModule* IcmdOrganizeConstraints::GetModule() const { return m_view.GetModule(); }

ImodelRevContextImpl* IcmdOrganizeConstraints::GetView() const { return m_view.GetObject(); }

ImodelFunctionType IcmdOrganizeConstraints::GetToolType() const { return m_tool.GetObject(); }

std::string IcmdOrganizeConstraints::GetToolKeyword() const { return IcmdToolTypeArg::GetStringForTool(GetToolType()); }

bool IcmdOrganizeConstraints::HasConstraintFiles(ImodelFunctionType tool, ImodelModule* module,
                                                 ImodelRevContextImpl* view)
{
    IcmdOrganizeConstraints command(false);
    command.SetParams(tool, module, view);
    Entries files;
    command.GetAllowedFileList(files);
    if (!files.empty()) return true;
    command.GetCurrentFileList(files, true);
    return !files.empty();
}

void IcmdOrganizeConstraints::TakeDefaultModuleAndView()
{
    if (!m_view.GetModule()) m_view.SetObject(Design().GetRootModule(), nullptr);
    ImodelModule* module = m_view.GetModule();
    if (module && module->GetContext() && !m_view.GetObject())
        m_view.SetObject(module, module->GetContext()->GetCurRevContext());
}

AcmdEnum::Result IcmdOrganizeConstraints::initCmdTempObjects()
{
    // The list read here is the one the command will organize.
    TakeDefaultModuleAndView();
    if (GetToolType() == idePALLADOR) {
        Entries current;
        GetCurrentFileList(current, false);
        // Such files could not be named otherwise, nor taken out of the list.
        const bool outsider =
            std::any_of(current.begin(), current.end(), [](const Entry& file) { return !file->IsFileInProject(); });
        if (outsider) GetFileArg().SetMustBeInProject(false);
    }
    return IcmdOrganizeFilesBase::initCmdTempObjects();
}

AcmdEnum::Result IcmdOrganizeConstraints::checkParams()
{
    TakeDefaultModuleAndView();
    const AcmdEnum::Result result = IcmdOrganizeFilesBase::checkParams();
    if (!GetManager()) {
        ImodelDisplayNO_CONSTRAINTS_MANAGER_MSG(GetToolKeyword().c_str());
        return AcmdEnum::Failure;
    }
    return result;
}

void IcmdOrganizeConstraints::Accept(IcmdOrganizeFilesVisitor& visitor)
{
    switch (GetToolType()) {
    case idePHYSYNTH:
        visitor.VisitPhySynthesisConstraints(*this);
        break;
    case ideSYNTHESIS:
        visitor.VisitSynthesisConstraints(*this);
        break;
    case idePALLADOR:
        visitor.VisitPalladorConstraints(*this);
        break;
    default:
        visitor.VisitOtherConstraints(*this);
        break;
    }
}

void IcmdOrganizeConstraints::GetCurrentFileList(Entries& out, bool forTest)
{
    out.clear();
    ItoolWithConstraints* tool = GetManager();
    if (!tool) return;
    tool->GetConstraintFiles(out, GetModule(), GetView());
    std::erase_if(out, [](const Entry& file) { return !file; });
    if (!forTest || GetToolType() != idePALLADOR) return;
    ImodelModule* module = GetModule();
    std::erase_if(out,
                  [module](const Entry& file) { return file->GetOrderFileType(module) == imodelConstraintFlowSource; });
}

void IcmdOrganizeConstraints::GetDefaultFileList(Entries&) {}

bool IcmdOrganizeConstraints::IsUsingDefaultList() { return false; }

void IcmdOrganizeConstraints::GetAllowedFileList(Entries& out)
{
    out.clear();
    ImodelModule* module = GetModule();
    ImodelFunctionType tool = GetToolType();
    const IfileManagerFilterNoParentORModuleSpecificFiles ownOrGeneral(module);
    Files().GetFilesOfGlobalType(zorpaFT_GROUP_CONSTRAINT, out, 0, &ownOrGeneral);
    if (module && ImodelUserMustPassComponentConstraints()) {
        ImodelGetAssociatedCstrsFtor select(tool, module);
        std::deque<IfileObject> associated;
        ImodelGetChildAssociatedFiles2(module, select, associated, &tool, nullptr, false);
        Entries components;
        IfileManagerGetRealObjects(associated, components, true);
        AppendMissing(out, components);
    }
    Entries toolFiles;
    ItoolGetAllTCF(tool, module, GetView(), toolFiles, true, nullptr);
    AppendMissing(out, toolFiles);
    Model().GetConstraintsManager().RemoveUnsupportedCstrs(out, tool);
    std::erase_if(out, [tool](const Entry& file) {
        return !file->IsUsedByAllTools() && !file->IsUsedForTool(tool, std::string(), false);
    });
}

IcmdOrganizeConstraints::Entry IcmdOrganizeConstraints::FindAllowedFile(const Entry& file)
{
    // A constraint file of the project that the first step of the allowed
    // list takes and the last two keep is in that list as this very entry
    // (the steps between only append files missing from it). Any other
    // file is left to the whole list.
    const ImodelFunctionType tool = GetToolType();
    const IfileManagerFilterNoParentORModuleSpecificFiles ownOrGeneral(GetModule());
    const Entry found = Files().GetFileOfGlobalType(*file, zorpaFT_GROUP_CONSTRAINT, 0, &ownOrGeneral);
    if (!found) return Entry();
    Entries kept{found};
    Model().GetConstraintsManager().RemoveUnsupportedCstrs(kept, tool);
    if (kept.empty() || (!found->IsUsedByAllTools() && !found->IsUsedForTool(tool, std::string(), false)))
        return Entry();
    return found;
}

bool IcmdOrganizeConstraints::ApplyNewFileList(const Entries& list, const ImodelOptionalFiles& optional)
{
    ItoolWithConstraints* tool = GetManager();
    if (!tool) {
        ImodelDisplayNO_CONSTRAINTS_MANAGER_MSG(GetToolKeyword().c_str());
        return false;
    }
    Entries old;
    GetCurrentFileList(old, false);
    if (!tool->SetConstraintFiles(list, optional, GetModule(), GetView())) return false;
    if (!IfileIsSameList(old, list)) {
        Design().SetNeedSave(true);
        Files().AddFiles(SimpleObjects(old), SimpleObjects(list));
        // Not every tool tells the flow itself (place and route keeps its
        // list in a file beside its database).
        ToolInputsChanged(GetToolType(), GetModule());
    }
    return true;
}

bool IcmdOrganizeConstraints::CanBeRemoved(const Entry& file, bool silent)
{
    if (Model().GetConstraintsManager().ConstraintCanBeRemoved(*file, GetToolType(), GetModule())) return true;
    if (!silent)
        ImodelDisplayFIXED_CONSTRAINT_FILE_MOVED_MSG(file->GetFullFileName().c_str(), GetToolKeyword().c_str());
    return false;
}

void IcmdOrganizeConstraints::GetOptionalFileList(Entries list, ImodelOptionalFiles& out)
{
    ItoolCreateNewFileStatesVector(GetToolType(), GetModule(), GetView(), SimpleObjects(list), out);
}

std::string IcmdOrganizeConstraints::GetAssociateToWhat()
{
    const ImodelRevContextImpl* view = GetView();
    return view ? view->GetName() : "this module";
}

void IcmdOrganizeConstraints::UpdateActualListForNew(Entries& current, const Entries& requested)
{
    ImodelModule* module = GetModule();
    const std::unordered_set<std::string> named = KeysOf(requested);
    std::erase_if(current, [&](const Entry& file) {
        if (file->GetOrderFileType(module) == imodelConstraintFlowSource) return false;
        if (CanBeRemoved(file, true)) return true;
        // A fixed file the user did not name stays where it is, and says so.
        if (named.count(KeyOf(file)) == 0) CanBeRemoved(file, false);
        return false;
    });
}

bool IcmdOrganizeConstraints::IsNewFileListValid(const Entries&, void*) { return true; }
