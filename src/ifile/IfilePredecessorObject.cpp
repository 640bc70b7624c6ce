// Derived-file records: the base rules, the records of flow files, and the
// module and revision of a derived file.
#include "ifile/IfilePredecessorObject.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"

#include <foundation/Sys.h>

namespace {

// Records ask the records of their predecessors: the chains follow the
// flow's nodes upstream and are short, but a depth bound keeps any chain
// of files from going round for ever.
thread_local int g_chainDepth = 0;
constexpr int kMaxChainDepth = 64;

class ChainStep {
public:
    ChainStep() { ++g_chainDepth; }
    ~ChainStep() { --g_chainDepth; }
    ChainStep(const ChainStep&) = delete;
    ChainStep& operator=(const ChainStep&) = delete;
    bool TooDeep() const { return g_chainDepth > kMaxChainDepth; }
};

void TraceInvalidOwner(const IfileObjectEx* owner)
{
    if (!owner) SysDebugPrintf("ERROR: Unable to create valid predecessor object\n");
}

}  // namespace

bool& IfilePredecessorUpdatesEnabled()
{
    static bool enabled = true;
    return enabled;
}

// --- the base rules ----------------------------------------------------------------------------------

IfilePredecessorObject::IfilePredecessorObject(IfileObjectEx* owner, const IprocessFileObject* node)
    : m_owner(owner), m_node(node)
{
    TraceInvalidOwner(owner);
}

IfilePredecessorObject::IfilePredecessorObject(const IfilePredecessorObject& other, IfileObjectEx* owner)
    : m_owner(owner), m_node(other.m_node)
{
    TraceInvalidOwner(owner);
}

boost::shared_ptr<IfileObjectEx> IfilePredecessorObject::GetOutOfDatePredecessor() const
{
    boost::shared_ptr<IfileObjectEx> predecessor = GetPredecessorFile();
    return predecessor && predecessor->GetFileState() == imodelFileOutOfDate ? predecessor : nullptr;
}

bool IfilePredecessorObject::IsDependingOfFile(const IfileObject& file) const
{
    return ImodelIsUsedInHierarchy(file, GetModulePtr());
}

ImodelModule* IfilePredecessorObject::GetModulePtr() const { return ImodelFindModule(GetComponentID()); }

VyIfaces::ComponentID IfilePredecessorObject::GetComponentID() const
{
    const ChainStep step;
    const boost::shared_ptr<IfileObjectEx> predecessor = step.TooDeep() ? nullptr : GetPredecessorFile();
    const IfilePredecessorObject* record = predecessor ? predecessor->GetPredecessorObject() : nullptr;
    return record ? record->GetComponentID() : VyIfaces::ComponentID();
}

bool IfilePredecessorObject::IsSameModule(ImodelModule* module) const
{
    return module && module->IsSameModule(GetComponentID());
}

bool IfilePredecessorObject::HasPredecessor(const IfileObject& file, bool recursive) const
{
    const ChainStep step;
    if (step.TooDeep()) return false;
    const boost::shared_ptr<IfileObjectEx> predecessor = GetPredecessorFile();
    if (!predecessor) return false;
    if (*predecessor == file) return true;
    const IfilePredecessorObject* record = predecessor->GetPredecessorObject();
    return recursive && record && record->HasPredecessor(file, true);
}

bool IfilePredecessorObject::HasPredecessors(const Path& path, ImodelModule* module, ImodelRevContext* revision) const
{
    return MatchPath(path, module, revision, [this](const IfileObject& file) { return HasPredecessor(file, false); });
}

bool IfilePredecessorObject::MatchPath(const Path& path, ImodelModule* module, ImodelRevContext* revision,
                                       const std::function<bool(const IfileObject&)>& isPredecessor) const
{
    if (path.empty() || !path.front()) return false;
    const boost::shared_ptr<IfileObjectEx> file =
        path.front()->GetFileManagerObject(module, revision, true, false, true);
    if (!file || !isPredecessor(*file)) return false;
    const IfilePredecessorObject* record = file->GetPredecessorObject();
    if (!record || path.size() == 1) return true;
    const ChainStep step;
    return !step.TooDeep() && record->HasPredecessors(Path(path.begin() + 1, path.end()), module, revision);
}

void IfilePredecessorObject::FileChanged(const IfileObject&) {}

std::string IfilePredecessorObject::GetUsingString() const { return std::string(); }

void IfilePredecessorObject::DoUpdateDisplay() const
{
    if (!m_owner) return;
    bool& enabled = IfilePredecessorUpdatesEnabled();
    const bool was = enabled;
    enabled = false;
    m_owner->UpdateFileDisplay();
    enabled = was;
}

// --- a predecessor found through the flow ------------------------------------------------------------------

IfilePredecessorObjectFlowFileNameParent::IfilePredecessorObjectFlowFileNameParent(IfileObjectEx* owner,
                                                                                   const IprocessFileObject* node)
    : IfilePredecessorObject(owner, node)
{
}

IfilePredecessorObjectFlowFileNameParent::IfilePredecessorObjectFlowFileNameParent(
    const IfilePredecessorObjectFlowFileNameParent& other, IfileObjectEx* owner)
    : IfilePredecessorObject(other, owner), m_predecessor(other.m_predecessor),
      m_predecessorNode(other.m_predecessorNode)
{
}

boost::shared_ptr<IfileObjectEx> IfilePredecessorObjectFlowFileNameParent::GetPredecessorFile() const
{
    if (!m_predecessorNode || !m_predecessor) return nullptr;
    return m_predecessorNode->GetFileManagerObject(*m_predecessor, true);
}

std::string IfilePredecessorObjectFlowFileNameParent::GetDebugLine(const char*) const
{
    if (!m_predecessor) return "Predecessor: unknown";
    const boost::shared_ptr<IfileObjectEx> predecessor = GetPredecessorFile();
    const bool present = predecessor && predecessor->IsFileInProject();
    return "Predecessor: " + m_predecessor->GetInternalFileName().GetString() + (present ? "(present)" : "(absent)");
}

bool IfilePredecessorObjectFlowFileNameParent::HasPredecessor(const IfileObject& file, bool recursive) const
{
    if (!recursive && (!m_predecessorNode || m_predecessorNode->GetFileType() != file.GetFileSpecificType()))
        return false;
    return IfilePredecessorObject::HasPredecessor(file, recursive);
}

bool IfilePredecessorObjectFlowFileNameParent::IsPredecessorAt(const IfileObject& value, const IprocessFileObject* node,
                                                               const IfileObject& file)
{
    if (!node || node->GetFileType() != file.GetFileSpecificType()) return false;
    const boost::shared_ptr<IfileObjectEx> predecessor = node->GetFileManagerObject(value, true);
    return predecessor && *predecessor == file;
}

IfilePredecessorObjectFlowFile::IfilePredecessorObjectFlowFile(IfileObjectEx* owner, const IprocessFileObject& node)
    : IfilePredecessorObjectFlowFileNameParent(owner, &node)
{
    m_predecessorNode = node.GetPredecessorFileObject();
    if (owner && m_predecessorNode) {
        // The predecessor's default file named after the owner.
        const std::string baseName = node.GetBasisName(*owner, m_predecessorNode->GetFileType());
        if (!baseName.empty())
            m_predecessor = m_predecessorNode->CreateDefaultIfileObject(baseName, owner->GetRevNum());
    }
    if (owner && !m_predecessor)
        SysDebugPrintf("Error: Unable to find predecessor for %s\n", owner->GetFullFileName().c_str());
}

IfilePredecessorObjectFlowFile::IfilePredecessorObjectFlowFile(const IfilePredecessorObjectFlowFile& other,
                                                               IfileObjectEx* owner)
    : IfilePredecessorObjectFlowFileNameParent(other, owner)
{
}

std::unique_ptr<IfilePredecessorObject> IfilePredecessorObjectFlowFile::Clone(IfileObjectEx* owner) const
{
    return std::make_unique<IfilePredecessorObjectFlowFile>(*this, owner);
}

std::unique_ptr<IfilePredecessorObject> IfilePredecessorObjectSynplifySdc::Clone(IfileObjectEx* owner) const
{
    return std::make_unique<IfilePredecessorObjectSynplifySdc>(*this, owner);
}

VyIfaces::ComponentID IfilePredecessorObjectSynplifySdc::GetComponentID() const
{
    // The netlist the constraint file was written beside.
    const boost::shared_ptr<IfileObjectEx> netlist = IfilePredecessorObjectFlowFileNameParent::GetPredecessorFile();
    if (netlist && netlist->GetFileSpecificType() != zorpaFT_SYN_EDN)
        SysDebugPrintf("Error in IfilePredecessorObjectSynplifySdc::GetPredecessorFile()");
    const ChainStep step;
    const IfilePredecessorObject* record = netlist && !step.TooDeep() ? netlist->GetPredecessorObject() : nullptr;
    return record ? record->GetComponentID() : VyIfaces::ComponentID();
}

// --- the module and revision of a derived file -----------------------------------------------------------

bool IfileObjectEx::GetModuleAndContext(ImodelModule*& module, ImodelRevContextImpl*& revision) const
{
    module = nullptr;
    revision = nullptr;
    const IfilePredecessorObject* record = GetPredecessorObject();
    if (!record) return false;
    module = record->GetModulePtr();
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context) return false;
    if (!IsRevSpecific()) {
        revision = context->GetCurRevContext();
    } else if (const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager()) {
        revision = context->FindRevision(views->GetRevisionNameByNumber(GetRevNum()));
    }
    return revision != nullptr;
}

bool IfileObjectEx::IsOODPDBThanCanBeUpdatedFromTorvix() const
{
    if (GetFileSpecificType() != zorpaFT_PDB || GetFileState() != imodelFileOutOfDate) return false;
    const IfilePredecessorObject* record = GetPredecessorObject();
    const boost::shared_ptr<IfileObjectEx> database = record ? record->GetPredecessorFile() : nullptr;
    if (!database || database->GetFileSpecificType() != zorpaFT_ADB) return false;
    ImodelModule* module = nullptr;
    ImodelRevContextImpl* revision = nullptr;
    if (!GetModuleAndContext(module, revision)) return false;
    const IprocessFlow* flow = Imodel::GetInstance().GetProcessManager()->GetFlowForModule(module);
    IprocessToolObject* layout = flow ? flow->GetToolObject(idePALLADOR) : nullptr;
    return layout && revision->GetToolStateForFile(layout, database) == StateSuccess;
}
