#include "src/itool/itoolSynthesisImpl.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelUnitConstraintFiles.h"
#include "imodel/design/ImodelUnitsNamingFile.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessMessages.h"
#include "iprocess/IprocessToolObject.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "iprofile/IprofileManager.h"

#include <foundation/Sys.h>
#include <ulv/PersistCollection.h>

#include <boost/make_shared.hpp>

#include <algorithm>

namespace {

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

IprofileManager* Profiles()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetProfileManager() : nullptr;
}

// The netlist a result names: a relative name lies beside the result file.
IfileObject NetlistNamed(const std::string& text, const IfileObject& resultFile)
{
    std::string name = text;
    UtlSetValidSeparator(name);
    if (name.empty() || name[0] != '/') name = AcmdGetFullPath(name, resultFile.GetFileLocation().GetString());
    return IfileObject(name, zorpaFT_SYN_EDN, ImodelFMFull, true, true);
}

}  // namespace

std::deque<IfileObject>*& ItoolSynthesis::GetDebugFileListPtr()
{
    static std::deque<IfileObject>* list = nullptr;
    return list;
}

std::unique_ptr<ItoolSynthesis> ItoolCreateSynthesis() { return std::make_unique<itoolSynthesisImpl>(); }

// --- constraint files ------------------------------------------------------------------------

bool itoolSynthesisImpl::GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl*)
{
    if (!module) return true;
    Entries files;
    IfileManagerGetRealObjects(module->GetSynthesisConstraintFileList(), files, false);
    out.insert(out.end(), files.begin(), files.end());
    return true;
}

bool itoolSynthesisImpl::GetConstraintFileListEx(const Entry&, Entries& out, ImodelModule* module,
                                                 ImodelRevContextImpl* revision, bool)
{
    return GetConstraintFileList(out, module, revision);
}

bool itoolSynthesisImpl::SetConstraintFileList(const Entries& files, ImodelModule* module, ImodelRevContextImpl*)
{
    if (!module) return true;
    std::deque<IfileObject> values;
    IfileManagerGetSimpleObjects(files, values);
    module->SetSynthesisConstraintFileList(values);
    return true;
}

void itoolSynthesisImpl::ConstraintFileRemoved(const IfileObject& file, ImodelModule* module, ImodelRevContextImpl*)
{
    if (!module) return;
    // Asked of every unit for every file that leaves: the list is copied
    // only by the few units that name the file.
    const std::deque<IfileObject>& listed = module->GetSynthesisConstraintFileList();
    const auto found = std::find(listed.begin(), listed.end(), file);
    if (found == listed.end()) return;
    std::deque<IfileObject> files = listed;
    files.erase(files.begin() + (found - listed.begin()));
    module->SetSynthesisConstraintFileList(files);
}

void itoolSynthesisImpl::ConstraintFileDeleted(const IfileObject& file)
{
    // Asked for every file that leaves: within delete_files once for the
    // whole batch, else the units are walked only when some unit's list
    // names this one.
    if (ImodelConstraintFileBatch::Keep(ImodelUnitConstraintList::Synthesis, file) ||
        !ImodelSynthesisListWatch::AnyNames(file))
        return;
    ImodelForgetUnitConstraintFiles(ImodelUnitConstraintList::Synthesis, {file});
}

void itoolSynthesisImpl::ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject*,
                                               IprocessToolObject* tool)
{
    if (!module || !file || !tool || !module->GetContext()) return;
    const std::deque<IfileObject>& listed = module->GetSynthesisConstraintFileList();
    if (std::find(listed.begin(), listed.end(), *file) == listed.end()) return;
    for (ImodelRevContextImpl* revision : module->GetContext()->GetAllRevs())
        if (tool->IsObjectUsed(module, revision)) revision->SetToolState(tool, StateNoResult, tool, true);
}

bool itoolSynthesisImpl::GetUnitsNamingConstraintFile(const IfileObject& file, std::vector<ImodelModule*>& units)
{
    // Only the units whose lists may name it are looked at.
    for (ImodelModule* module : ImodelUnitsNamingFiles({file}, nullptr, false)) {
        const std::deque<IfileObject>& listed = module->GetSynthesisConstraintFileList();
        if (std::find(listed.begin(), listed.end(), file) != listed.end()) units.push_back(module);
    }
    return true;
}

// --- results ---------------------------------------------------------------------------------

std::string itoolSynthesisImpl::GetProfileToolName() { return IprofileGetProfileToolName(GetToolType()); }

std::string itoolSynthesisImpl::GetDisplayName()
{
    std::string name = GetProfileToolName();
    if (!name.empty()) return name;
    // Without a profile (batch use) the flow's step names the tool.
    ImodelModule* root = Imodel::GetInstance().GetDesignManager()->GetRootModule();
    if (const IprocessToolObject* node = Imodel::GetInstance().GetProcessManager()->GetToolObject(GetToolType(), root))
        node->GetToolName(name);
    return name.empty() ? GetToolKey() : name;
}

void itoolSynthesisImpl::ReadResultFile(const IfileObject& file, const std::string& toolName,
                                        const std::string& rootName)
{
    if (std::deque<IfileObject>* collected = GetDebugFileListPtr()) collected->push_back(file);
    if (IprofileManager* profiles = Profiles()) {
        std::string displayName, info, activeTool;
        if (profiles->GetActiveTool(GetToolType(), displayName, info, activeTool) && activeTool != toolName) return;
    }

    Imodel& model = Imodel::GetInstance();
    ImodelModule* root = model.GetDesignManager()->GetRootModule();
    const std::string path = file.GetFullFileName().GetString();
    // Read through the hardened reader: nothing outside the file is fetched
    // and entity expansion is bounded. A result that cannot be read (cut
    // short by a run that stopped, or hostile) is a failed run.
    PersistCollection collection(std::string{});
    if (!collection.readObjects(path)) {
        SysDebugPrintf("ERROR: Invalid file content: %s\n", path.c_str());
        SysDebugPrintf("%s\n", collection.getReadError().c_str());
        SetResultState(StateFailure, Entry(), root);
        return;
    }
    const std::optional<PersistXMLAtom> top = collection.getRootAtom();
    const std::optional<PersistXMLAtom> result =
        top && UlvIsStrEqualNoCase(top->getName(), rootName) ? top->findChildAtom("result") : std::nullopt;
    if (!result) {
        SysDebugPrintf("ERROR: Invalid file content: %s\n", path.c_str());
        return;
    }
    const imodelToolState state =
        UlvIsStrEqualNoCase(Trimmed(result->getText()), "Success") ? StateSuccess : StateFailure;

    ImodelModule* module = nullptr;
    Entry netlist;
    if (const std::optional<PersistXMLAtom> target = top->findChildAtom("target_edif")) {
        netlist = boost::make_shared<IfileObjectEx>(NetlistNamed(Trimmed(target->getText()), file), false);
    } else {
        module = root;
        netlist = IprocessGetCurrentFile(root, GetResultFileType(), true, false);
    }
    if (state == StateSuccess && netlist) {
        const ImodelFileName name = netlist->GetFullFileName();
        if (ImodelDoesFileExist(name.GetString())) {
            netlist = AddNetlist(*netlist);
        } else {
            ImodelDisplayTOOL_FILE_NOT_FOUND_MSG(name.c_str());
            netlist.reset();
        }
    }
    if (!module && netlist) {
        ImodelRevContextImpl* revision = nullptr;
        netlist->GetModuleAndContext(module, revision);
    }
    SetResultState(state, netlist, module);
}

boost::shared_ptr<IfileObjectEx> itoolSynthesisImpl::AddNetlist(const IfileObject& netlist)
{
    Imodel& model = Imodel::GetInstance();
    ImodelModule* root = model.GetDesignManager()->GetRootModule();
    const Entry entry = model.GetFileManager()->GetFile(netlist);
    ImodelRevContextImpl* revision = root && root->GetContext() ? root->GetContext()->GetCurRevContext() : nullptr;
    const IfilePredecessorObject* predecessor = entry ? entry->GetPredecessorObject() : nullptr;
    // The new netlist of the root becomes the one its revision uses, where
    // the user chooses the flow's files and the flow can use it.
    if (revision && predecessor && predecessor->IsSameModule(root) && ImodelUserCanSelectFlowFileToUse() &&
        !revision->IsFileUsed(*entry)) {
        const IprocessFileObject* node = model.GetProcessManager()->GetFileObject(GetResultFileType(), root);
        Entries usable;
        if (node) node->GetUsableFileList(usable, root, revision);
        if (std::find(usable.begin(), usable.end(), entry) != usable.end()) revision->UseFile(*entry, true);
    }
    return IprocessGetCurrentFile(root, GetResultFileType(), true, false);
}

void itoolSynthesisImpl::SetResultState(imodelToolState state, const Entry& netlist, ImodelModule* module)
{
    if (state == StateNoResult) {
        m_state = StateNoResult;
        return;
    }
    Imodel::GetInstance().GetStateMachine()->ForceToolStateMessage(state, GetToolType(), module, netlist);
    if (state == m_state) return;
    m_state = state;
    const std::string name = GetDisplayName();
    if (state == StateFailure) ImodelDisplayTOOL_FAILED_MSG(name.c_str());
    if (state == StateSuccess) ImodelDisplayTOOL_SUCCEEDED_MSG(name.c_str());
}
