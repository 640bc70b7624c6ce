// The records of files derived from a list of input files: the
// place-and-route database and the programming project.
#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolPallador.h"
#include "src/ifile/ifileReadCache.h"

#include <foundation/Sys.h>
#include <txprj/Txprj.h>

#include <algorithm>
#include <optional>

namespace {

IprocessManager& ProcessManager() { return *Imodel::GetInstance().GetProcessManager(); }

// The programming files a project names, the algorithm's first; nothing
// for a project that cannot be read.
using ProgrammingFiles = std::optional<std::vector<std::string>>;

ProgrammingFiles ReadProgrammingProject(const std::string& path)
{
    TxprjReader reader(path, "LATIN1");
    if (reader.Read() != TxprjReader::Ok) return std::nullopt;
    std::vector<std::string> files;
    const TxprjData& data = reader.GetData();
    if (const TxprjAlgo* algo = data.GetAlgo()) files.push_back(algo->GetFilename());
    for (auto device = data.GetDeviceMgr().GetDevicesBegin(); device != data.GetDeviceMgr().GetDevicesEnd(); ++device)
        files.push_back(device->GetFilename());
    return files;
}

ifileReadCache<ProgrammingFiles>& ProgrammingProjects()
{
    static ifileReadCache<ProgrammingFiles> projects;
    return projects;
}

// The text after the last dot of a name's title.
std::string ExtensionOf(const std::string& name)
{
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return std::string();
    return name.substr(dot + 1);
}

}  // namespace

// --- inputs ------------------------------------------------------------------------------------------------

boost::shared_ptr<IfileObjectEx> IfilePredecessorMultipleFiles::Resolve(Inputs::value_type& input)
{
    return IfileGetAndUpdateFileObject(input);
}

boost::shared_ptr<IfileObjectEx> IfilePredecessorMultipleFiles::GetOutOfDatePredecessor() const
{
    if (boost::shared_ptr<IfileObjectEx> predecessor = IfilePredecessorObject::GetOutOfDatePredecessor())
        return predecessor;
    for (Inputs::value_type& input : m_inputs)
        if (const boost::shared_ptr<IfileObjectEx> file = Resolve(input))
            if (file->GetFileState() == imodelFileOutOfDate) return file;
    return nullptr;
}

bool IfilePredecessorMultipleFiles::IsDependingOfFile(const IfileObject& file) const
{
    if (file.GetFileSpecificType() == zorpaFT_SCH) return IfilePredecessorObject::IsDependingOfFile(file);
    return std::any_of(m_inputs.begin(), m_inputs.end(),
                       [&file](const Inputs::value_type& input) { return input.first == file; });
}

std::string IfilePredecessorMultipleFiles::GetDebugLine(const char* separator) const
{
    std::string line = IfilePredecessorObjectFlowFileNameParent::GetDebugLine(separator);
    if (GetPredecessorFile() || m_inputs.empty()) return line;
    const std::string between = separator ? separator : "";
    line += between + "Input Files:";
    for (const Inputs::value_type& input : m_inputs) line += between + input.first.GetInternalFileName().GetString();
    return line;
}

bool IfilePredecessorMultipleFiles::HasPredecessorsInList(const Path& path, ImodelModule* module,
                                                          ImodelRevContext* revision) const
{
    const IprocessFlow* flow = ProcessManager().GetFlowForModule(module);
    if (!flow) return false;
    // Each input in turn stands as the predecessor.
    for (const Inputs::value_type& input : m_inputs) {
        const IprocessFileObject* node = flow->GetFileObject(input.first.GetFileSpecificType());
        const auto isPredecessor = [&](const IfileObject& file) { return IsPredecessorAt(input.first, node, file); };
        if (MatchPath(path, module, revision, isPredecessor)) return true;
    }
    return false;
}

void IfilePredecessorMultipleFiles::UpdateFileMembers(bool updateDisplay)
{
    DeleteFileMembers();
    GetFileList(m_inputs);
    if (updateDisplay) DoUpdateDisplay();
}

void IfilePredecessorMultipleFiles::DeleteFileMembers()
{
    m_inputs.clear();
    m_predecessor.reset();
    m_predecessorNode = nullptr;
}

// --- the place-and-route database ------------------------------------------------------------------------

IfilePredecessorObjectAdb::IfilePredecessorObjectAdb(IfileObjectEx* owner, const IprocessFileObject& node)
    : IfilePredecessorMultipleFiles(owner, &node)
{
    UpdateFileMembers(false);
}

IfilePredecessorObjectAdb::IfilePredecessorObjectAdb(const IfilePredecessorObjectAdb& other, IfileObjectEx* owner)
    : IfilePredecessorMultipleFiles(other, owner), m_designName(other.m_designName)
{
    m_inputs = other.m_inputs;
}

std::unique_ptr<IfilePredecessorObject> IfilePredecessorObjectAdb::Clone(IfileObjectEx* owner) const
{
    return std::make_unique<IfilePredecessorObjectAdb>(*this, owner);
}

std::vector<zorpaFileManagerTypes> IfilePredecessorObjectAdb::GetAllAdbInputTypes()
{
    static std::vector<zorpaFileManagerTypes> types;
    if (!types.empty()) return types;
    const IprocessFileObject* databases = ProcessManager().GetFileObject(zorpaFT_ADB, nullptr);
    if (!databases) return types;
    std::vector<IprocessFileObject*> sources;
    databases->GetAllFilesDirectlyPrecedingYou(sources);
    for (const IprocessFileObject* source : sources) {
        const imodelConstraintFlowType level = source->GetOptionalConstraintFileLevel();
        if (source->GetFileType() != zorpaFT_HDL && level != imodelConstraintFlowSynthesis &&
            level != imodelConstraintFlowPhysicalSynthesis)
            types.push_back(source->GetFileType());
    }
    return types;
}

void IfilePredecessorObjectAdb::UpdateFileMembers(bool updateDisplay)
{
    DeleteFileMembers();
    GetFileList(m_inputs);
    const std::vector<zorpaFileManagerTypes> types = GetAllAdbInputTypes();
    for (const Inputs::value_type& input : m_inputs) {
        const zorpaFileManagerTypes type = input.first.GetFileSpecificType();
        if (std::find(types.begin(), types.end(), type) == types.end()) continue;
        m_predecessor = input.first;
        m_predecessorNode = ProcessManager().GetFileObject(type, nullptr);
        break;
    }
    if (updateDisplay) DoUpdateDisplay();
}

void IfilePredecessorObjectAdb::DeleteFileMembers()
{
    IfilePredecessorMultipleFiles::DeleteFileMembers();
    m_designName.clear();
}

bool IfilePredecessorObjectAdb::GetFileList(Inputs& inputs)
{
    if (!GetOwner()) return false;
    ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool();
    if (!pallador) return false;
    std::deque<IfileObject> files;
    const bool read = pallador->GetDatabaseInputFiles(*GetOwner(), files, m_designName);
    for (const IfileObject& file : files) inputs.emplace_back(file, boost::weak_ptr<IfileObjectEx>());
    return read;
}

void IfilePredecessorObjectAdb::FileChanged(const IfileObject& file)
{
    if (file.GetFileSpecificType() != zorpaFT_IDE_PLD || !GetOwner()) return;
    // The file-list file beside this database.
    const std::string database =
        file.GetFileLocation().GetString() + SysGetDirChar() + file.GetFileTitleNoExt() + "." + "adb";
    if (!ImodelIsSameFileName(database, GetOwner()->GetFullFileName())) return;
    DeleteFileMembers();
    UpdateFileMembers(true);
}

std::string IfilePredecessorObjectAdb::GetUsingString() const
{
    const boost::shared_ptr<IfileObjectEx> predecessor = GetPredecessorFile();
    return predecessor ? "using " + predecessor->GetRelativeDisplayFileName() : std::string();
}

std::string IfilePredecessorObjectAdb::GetDebugLine(const char* separator) const
{
    return IfilePredecessorMultipleFiles::GetDebugLine(separator) + (separator ? separator : "") +
           "Design Name: " + (m_designName.empty() ? "(unknown)" : m_designName);
}

VyIfaces::ComponentID IfilePredecessorObjectAdb::GetComponentID() const
{
    VyIfaces::ComponentID id = IfilePredecessorMultipleFiles::GetComponentID();
    if (id.name.empty() && !m_designName.empty()) id.name = m_designName;
    return id;
}

// --- the programming project -------------------------------------------------------------------------------

IfilePredecessorObjectTorvixProject::IfilePredecessorObjectTorvixProject(IfileObjectEx* owner,
                                                                         const IprocessFileObject& node)
    : IfilePredecessorMultipleFiles(owner, &node)
{
    DeleteFileMembers();
    GetFileList(m_inputs);
}

IfilePredecessorObjectTorvixProject::IfilePredecessorObjectTorvixProject(
    const IfilePredecessorObjectTorvixProject& other, IfileObjectEx* owner)
    : IfilePredecessorMultipleFiles(other, owner)
{
    m_inputs = other.m_inputs;
}

std::unique_ptr<IfilePredecessorObject> IfilePredecessorObjectTorvixProject::Clone(IfileObjectEx* owner) const
{
    return std::make_unique<IfilePredecessorObjectTorvixProject>(*this, owner);
}

std::vector<IprocessFileObject*> IfilePredecessorObjectTorvixProject::GetTorvixInputTypes()
{
    // Asked of the flow every time: the nodes live as long as their flow.
    std::vector<IprocessFileObject*> nodes;
    const IprocessFlow* flow = ProcessManager().GetFlowForModule(nullptr);
    const IprocessToolObject* programming = flow ? flow->GetToolObject(ideTORVIX) : nullptr;
    if (programming) programming->AddInputFiles(&nodes);
    return nodes;
}

bool IfilePredecessorObjectTorvixProject::GetFileList(Inputs& inputs)
{
    inputs.clear();
    if (!GetOwner()) return false;
    const std::string path = GetOwner()->GetFullFileName();
    const ProgrammingFiles files = ProgrammingProjects().Get(path, [&path] { return ReadProgrammingProject(path); });
    if (!files) return false;
    const std::vector<IprocessFileObject*> nodes = GetTorvixInputTypes();
    for (const std::string& name : *files) {
        if (name.empty()) continue;
        // A programming file of an input node's extension, once.
        const std::string extension = ExtensionOf(name);
        const auto node = std::find_if(nodes.begin(), nodes.end(), [&extension](const IprocessFileObject* candidate) {
            return ImodelIsSameFileName(extension, candidate->GetExt());
        });
        if (node == nodes.end()) continue;
        const IfileObject file(name, (*node)->GetFileType(), ImodelFMFull, true, true);
        const bool listed = std::any_of(inputs.begin(), inputs.end(),
                                        [&file](const Inputs::value_type& input) { return input.first == file; });
        if (!listed) inputs.emplace_back(file, boost::weak_ptr<IfileObjectEx>());
    }
    return true;
}

bool IfilePredecessorObjectTorvixProject::IsSameModule(ImodelModule* module) const
{
    for (Inputs::value_type& input : m_inputs) {
        const boost::shared_ptr<IfileObjectEx> file = Resolve(input);
        const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
        if (record && record->IsSameModule(module)) return true;
    }
    return false;
}

bool IfilePredecessorObjectTorvixProject::HasPredecessors(const Path& path, ImodelModule* module,
                                                          ImodelRevContext* revision) const
{
    return HasPredecessorsInList(path, module, revision);
}

std::string IfilePredecessorObjectTorvixProject::GetUsingString() const
{
    if (m_inputs.size() > 1) return "chain mode";
    if (m_inputs.empty()) return std::string();
    return "using " + m_inputs.front().first.GetDisplayFileName().GetString();
}
