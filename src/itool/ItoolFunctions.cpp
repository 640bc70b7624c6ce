#include "itool/ItoolFunctions.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTypes.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolCoreTools.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolWithConstraints.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/itool/itoolCreator.h"
#include "src/itool/itoolNames.h"

#include <algorithm>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;

IprocessManager& Processes() { return *Imodel::GetInstance().GetProcessManager(); }

IprocessToolObject* ToolNode(ImodelFunctionType tool, ImodelModule* module)
{
    IprocessFlow* flow = Processes().GetFlowForModule(module);
    return flow ? flow->GetToolObject(tool) : nullptr;
}

ImodelRevContextImpl* CurrentRevision(ImodelModule* module)
{
    return module && module->GetContext() ? module->GetContext()->GetCurRevContext() : nullptr;
}

bool IsFlowConstraintLevel(int level)
{
    return level == imodelConstraintFlowSynthesis || level == imodelConstraintFlowPhysicalSynthesis;
}

// The rule of ItoolGetDefaultPosT, given where the list holds its first
// element of a higher kind and its last element of the file's kind (`end`
// for none): a file of the other kind goes to the end; else before that
// higher element; else right after the last of its kind; else to the end.
template <class Position>
Position ChooseDefaultPosition(int kind, Position firstHigher, Position lastSame, Position end)
{
    if (kind == imodelConstraintFlowOther) return end;
    if (firstHigher != end) return firstHigher;
    if (lastSame != end) return std::next(lastSame);
    return end;
}

// The position ItoolGetDefaultPosT describes, over the kinds of a list.
template <class List, class KindOf>
std::size_t DefaultPosition(int kind, const List& list, KindOf kindOf)
{
    if (kind == imodelConstraintFlowOther || list.empty()) return list.size();
    std::vector<int> kinds;
    kinds.reserve(list.size());
    for (const auto& element : list) kinds.push_back(kindOf(element));
    const auto higher = std::find_if(kinds.begin(), kinds.end(), [kind](int each) { return each > kind; });
    const auto same = std::find(kinds.rbegin(), kinds.rend(), kind);
    const auto last = same == kinds.rend() ? kinds.end() : std::prev(same.base());
    return static_cast<std::size_t>(ChooseDefaultPosition(kind, higher, last, kinds.end()) - kinds.begin());
}

// Names each node's file after the input of one design database.
class AdbFileFtor : public ItoolGetTCFFileFtor {
public:
    AdbFileFtor(const IfileObject* input, int revisionNumber) : m_input(input), m_revision(revisionNumber) {}
    Entry operator()(IprocessFileObject* node, bool flag) const override
    {
        if (!node || !m_input) return Entry();
        return node->GetFileManagerObject(node->GetBasisName(*m_input, node->GetFileType()), m_revision, !flag);
    }

private:
    const IfileObject* m_input;
    int m_revision;
};

}  // namespace

// --- tool enabling ----------------------------------------------------------------------

bool ItoolIsToolEnabled(ImodelFunctionType tool, ImodelModule* module)
{
    const IprocessToolObject* node = ToolNode(tool, module);
    return node && node->IsToolEnable(module);
}

bool ItoolIsToolEnabled(ImodelFunctionType tool)
{
    return ItoolIsToolEnabled(tool, Imodel::GetInstance().GetDesignManager()->GetRootModule());
}

bool ItoolIsToolEnabled(ImodelFunctionType tool, ImodelModule* module, zorpaFileManagerTypes fileType)
{
    if (!ItoolIsToolEnabled(tool, module)) return false;
    const IprocessToolObject* node = ToolNode(tool, module);
    ImodelRevContextImpl* revision = CurrentRevision(module);
    for (const IprocessFileToToolTransition* input : node->GetInputTransitionsFromFiles()) {
        if (!input->IsObjectUsed(module, revision)) continue;
        const std::vector<IprocessFileObject*>& sources = input->GetFromsList();
        if (std::any_of(sources.begin(), sources.end(), [&](const IprocessFileObject* source) {
                return source && source->GetFileType() == fileType && source->IsObjectUsed(module, revision);
            }))
            return true;
    }
    return false;
}

bool ItoolIsToolEnabledForScriptExecute(ImodelFunctionType tool)
{
    if (!ItoolIsToolEnabled(tool)) return false;
    if (tool != ideSIMULATION) return true;
    ImodelModule* root = Imodel::GetInstance().GetDesignManager()->GetRootModule();
    if (!root) return false;
    if (!root->GetStimulusList().empty()) return true;
    ImodelDisplayNO_STIMULUS_ASSOCIATED_MSG(root->GetName().c_str());
    return false;
}

// --- who made a file ----------------------------------------------------------------------

std::string itoolCreatorOfNode(const IprocessFileObject& node)
{
    if (!node.IsOptionalConstraintFile()) return std::string();
    std::vector<IprocessToolObject*> tools;
    node.AddFromToolsList(tools);
    for (const IprocessToolObject* tool : tools) {
        if (tool->GetToolType() == idePHYSYNTH) return "DAVIRI";
        if (tool->GetToolType() == ideSYNTHESIS) return "Synplify";
    }
    return std::string();
}

void ItoolCreatedBy(const IfileObjectEx& file, ImodelModule* module, std::string& creator, std::string& parentName)
{
    creator = "User";
    parentName.clear();
    if (const IprocessFileObject* node = Processes().GetFileObject(file.GetFileSpecificType(), module)) {
        const std::string tool = itoolCreatorOfNode(*node);
        if (!tool.empty()) creator = tool;
    }
    zorpaFileManagerTypes coreType = zorpaFT_UNKNOWN;
    if (ItoolIsCoreSubFile(file, coreType)) {
        if (QuorlaneCoreToolManager* manager = Imodel::GetInstance().GetCoreToolManager(coreType))
            creator = manager->GetToolName();
    }
    if (parentName.empty()) parentName = creator;
}

// --- default positions ---------------------------------------------------------------------

int GetOrderType::operator()(const IfileObject& file) const
{
    return IfileObjectEx(file, true).GetOrderFileType(m_module);
}

int GetOrderType::operator()(const IfileObjectEx& file) const { return file.GetOrderFileType(m_module); }

std::size_t ItoolGetDefaultPosT(const IfileObjectEx& file, const std::deque<IfileObject>& list, ImodelModule* module)
{
    const GetOrderType order(module);
    return DefaultPosition(order(file), list, [&order](const IfileObject& element) { return order(element); });
}

std::size_t ItoolGetDefaultPos(const IfileObjectEx& file, const Entries& list, ImodelModule* module)
{
    const GetOrderType order(module);
    return DefaultPosition(order(file), list, [&order](const Entry& element) {
        return element ? order(*element) : static_cast<int>(imodelConstraintFlowOther);
    });
}

void ItoolInsertInDefaultPos(const IfileObjectEx& file, std::deque<IfileObject>& list, ImodelModule* module)
{
    const std::size_t position = ItoolGetDefaultPosT(file, list, module);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), static_cast<const IfileObject&>(file));
}

void ItoolInsertInDefaultPos(const Entry& file, Entries& list, ImodelModule* module)
{
    if (!file) return;
    const std::size_t position = ItoolGetDefaultPos(*file, list, module);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), file);
}

ItoolDefaultPosList::ItoolDefaultPosList(const Entries& list, ImodelModule* module) : m_order(module)
{
    m_firstHigher.fill(m_elements.end());
    m_lastSame.fill(m_elements.end());
    for (const Entry& file : list) {
        const int kind = file ? m_order(*file) : static_cast<int>(imodelConstraintFlowOther);
        Added(m_elements.insert(m_elements.end(), Element(file, KindIndex(kind))));
    }
}

int ItoolDefaultPosList::KindIndex(int kind)
{
    return kind >= 0 && kind < kKinds ? kind : static_cast<int>(imodelConstraintFlowOther);
}

void ItoolDefaultPosList::Insert(const Entry& file)
{
    if (!file) return;
    const int kind = KindIndex(m_order(*file));
    const Position at = ChooseDefaultPosition(kind, m_firstHigher[kind], m_lastSame[kind], m_elements.end());
    Added(m_elements.insert(at, Element(file, kind)));
}

void ItoolDefaultPosList::Added(Position added)
{
    const int kind = added->second;
    // A file goes before the first element of a higher kind, or after every
    // element of its kind and below: it becomes the first higher element of
    // a lower kind only when it stands right before that kind's former one,
    // or when the list had none.
    const Position next = std::next(added);
    for (int lower = 0; lower < kind; ++lower)
        if (m_firstHigher[lower] == m_elements.end() || m_firstHigher[lower] == next) m_firstHigher[lower] = added;
    if (m_firstHigher[kind] == m_elements.end()) m_lastSame[kind] = added;
}

std::vector<ItoolDefaultPosList::Entry> ItoolDefaultPosList::GetList() const
{
    Entries list;
    list.reserve(m_elements.size());
    for (const Element& element : m_elements) list.push_back(element.first);
    return list;
}

// --- tool constraint files -------------------------------------------------------------------

void ItoolGetAllTCF(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* revision, Entries& out,
                    bool flag, const ItoolGetTCFFileFtor* ftor)
{
    ItoolWithConstraints* constraints = ItoolConstraintsManager::GetTool(tool);
    int highestLevel = imodelConstraintFlowOther;
    if (!constraints || !constraints->GetToolFileKind(highestLevel)) return;
    if (module && revision) {
        if (const IprocessFlow* flow = Processes().GetFlowForModule(module)) {
            for (IprocessFileObject* node : flow->GetFileObjects()) {
                const int level = node->GetOptionalConstraintFileLevel();
                if (!IsFlowConstraintLevel(level) || level > highestLevel || !node->IsObjectUsed(module, revision))
                    continue;
                Entry file =
                    ftor ? (*ftor)(node, flag) : node->GetFileManagerObject(module, revision, !flag, false, true);
                if (file) out.push_back(std::move(file));
            }
        }
    }
    if (module && !ImodelUserMustPassComponentConstraints()) {
        ImodelGetAssociatedCstrsFtor select(tool, module);
        std::deque<IfileObject> associated;
        ImodelGetChildAssociatedFiles2(module, select, associated, &tool, nullptr, false);
        Entries files;
        IfileManagerGetRealObjects(associated, files, false);
        out.insert(out.end(), files.begin(), files.end());
    }
    ItoolRemoveUnsupportedCstrs(out, tool);
}

void ItoolGetAllTCFForAdb(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision, Entries& out,
                          bool flag)
{
    ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool();
    if (!pallador) return;
    const IfileObject database = itoolFileOf(adb, zorpaFT_ADB);
    std::deque<IfileObject> listed;
    std::string designName;
    pallador->GetFileListString(database, listed, designName);
    const std::vector<zorpaFileManagerTypes> inputTypes = IfilePredecessorObjectAdb::GetAllAdbInputTypes();
    const auto input = std::find_if(listed.begin(), listed.end(), [&](const IfileObject& file) {
        return std::find(inputTypes.begin(), inputTypes.end(), file.GetFileSpecificType()) != inputTypes.end();
    });
    const AdbFileFtor ftor(input == listed.end() ? nullptr : &*input, database.GetRevNum());
    ItoolGetAllTCF(idePALLADOR, module, revision, out, flag, &ftor);
}

void ItoolRemoveUnsupportedCstrs(Entries& files, ImodelFunctionType tool)
{
    ItoolWithConstraints* constraints = ItoolConstraintsManager::GetTool(tool);
    if (!constraints) return;
    std::vector<std::string> extensions;
    constraints->GetDefaultExtensions(extensions);
    std::erase_if(files, [&extensions](const Entry& file) {
        if (!file) return true;
        const std::string extension = file->GetExt();
        return std::none_of(extensions.begin(), extensions.end(),
                            [&](const std::string& each) { return ImodelIsSameStrNoCase(each, extension); });
    });
}

void ItoolCreateNewFileStatesVector(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* revision,
                                    const std::deque<IfileObject>& used, ImodelOptionalFiles& out)
{
    Entries files;
    ItoolGetAllTCF(tool, module, revision, files, true, nullptr);
    for (const Entry& file : files) {
        const bool isUsed = std::find(used.begin(), used.end(), *file) != used.end();
        out.emplace_back(file->GetFullFileName().GetString(), isUsed ? OptionalFileUsed : OptionalFileNotUsed);
    }
}

void ItoolUpdateToolConstraintFileList(ImodelModule* module, ImodelRevContextImpl* revision, bool, bool strict,
                                       bool thisDatabaseOnly)
{
    if (std::vector<ImodelRevContextImpl*>* waiting = ItoolPallador::GetConstraintFilesNeeded()) {
        const auto found = std::find(waiting->begin(), waiting->end(), revision);
        if (found != waiting->end()) waiting->erase(found);
    }
    Imodel& model = Imodel::GetInstance();
    ItoolPallador* pallador = model.GetPalladorTool();
    if (!pallador) return;
    ImodelFileName own;
    if (ItoolGetAdbFileName(module, revision, own, ImodelFMFull, false, true))
        pallador->RefreshFileList(own, module, revision, strict);
    if (thisDatabaseOnly) return;
    Entries databases;
    model.GetFileManager()->GetFilesOfSpecificType(zorpaFT_ADB, databases, 0, nullptr);
    for (const Entry& database : databases) {
        ImodelModule* itsModule = nullptr;
        ImodelRevContextImpl* itsRevision = nullptr;
        if (!database->GetModuleAndContext(itsModule, itsRevision) || itsModule != module || itsRevision != revision)
            continue;
        const ImodelFileName name = database->GetFullFileName();
        if (name != own) pallador->RefreshFileList(name, module, revision, strict);
    }
}

// --- design databases ----------------------------------------------------------------------

bool ItoolGetAdbFileName(ImodelModule* module, ImodelRevContext* revision, ImodelFileName& out,
                         ImodelFMStringFileType form, bool existingOnly, bool numbered)
{
    if (!module || !revision) return false;
    const IprocessFileObject* node = Processes().GetFileObject(zorpaFT_ADB, module);
    return node && node->GetFlowFileName(out, module, revision, form, !existingOnly, numbered);
}
