// What the revision contexts and units ask of the design flow: moving the
// files and tool results of a copied revision to its own view, following a
// change of the project's language, and whether a unit has files of views.
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "imodel/views/ImodelToolStatesManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"

#include "imodel/names/imodelUtl.h"
#include "src/imodel/views/imodelContextNotify.h"

#include <optional>

namespace {

IprocessFlow* FlowOf(ImodelModule* module)
{
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    return processes ? processes->GetFlowForModule(module) : nullptr;
}

// The file's name in view `number`, as a value of its type; none when it
// cannot be formed.
std::optional<IfileObject> InView(const IfileObject& file, int number)
{
    ImodelFileName moved;
    if (number == -1 || !IfileGetFileNameInRev(file, number, moved, ImodelFMFull)) return std::nullopt;
    return IfileObject(moved, file.GetFileSpecificType(), ImodelFMFull, true, true);
}

}  // namespace

void ImodelRevContextImpl::UpdateRevStates(bool rename)
{
    imodelContextWillChange(m_module);
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    const int number = views ? views->GetRevisionNumber(m_name) : -1;
    UsedFiles kept;
    bool changed = false;
    for (const IfileObject& file : m_usedFiles.Get()) {
        if (!file.IsRevSpecific()) {
            kept.push_back(file);
            continue;
        }
        changed = true;
        if (std::optional<IfileObject> moved = rename ? InView(file, number) : std::nullopt)
            kept.push_back(std::move(*moved));
    }
    if (changed) {
        ReplaceUsedFiles(std::move(kept));
        imodelContextMarkNeedSave();
    }
    m_toolStates.UpdateRevStates(rename, number, m_module);
}

void ImodelContextToolStatesManager::UpdateRevStates(bool rename, int revNumber, ImodelModule* module)
{
    const IprocessFlow* flow = FlowOf(module);
    if (!flow) return;
    const Counts before = Held();
    for (auto record = m_objects.begin(); record != m_objects.end();) {
        const IprocessToolObject* tool = flow->GetToolObject(record->GetKind());
        if (!tool || !tool->IsRevDependent()) {
            ++record;
            continue;
        }
        if (!rename) {
            if (record->GetFile()) Unindexed(*record->GetFile());
            record = m_objects.erase(record);
            continue;
        }
        if (record->GetFile())
            if (std::optional<IfileObject> moved = InView(*record->GetFile(), revNumber)) {
                Unindexed(*record->GetFile());
                record->SetFile(*moved);
                Indexed(*moved);
            }
        ++record;
    }
    Recount(before);
}

void ImodelRevContextImpl::HDLTypeChanged()
{
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    if (!processes) return;
    bool changed = false;
    if (m_usedFiles.empty()) return;
    UsedFiles files = m_usedFiles.Get();
    for (IfileObject& file : files) {
        bool isVHDL = false;
        if (!file.IsFileHDL(isVHDL)) continue;
        const IprocessFileObject* node = processes->GetFileObject(file.GetFileSpecificType(), m_module);
        if (!node) continue;
        const std::string extension = node->GetExt();
        if (ImodelIsSameStrNoCase(extension, file.GetExt())) continue;
        const std::string full = file.GetFullFileName().GetString();
        const std::size_t dot = full.rfind('.');
        const std::string stem = dot == std::string::npos ? full + "." : full.substr(0, dot + 1);
        file = IfileObject(ImodelFileName(stem + extension), file.GetFileSpecificType(), ImodelFMFull, true, true);
        changed = true;
    }
    if (!changed) return;
    imodelContextWillChange(m_module);
    ReplaceUsedFiles(std::move(files));
    imodelContextMarkNeedSave();
}

bool ImodelModule::HasRevDependentData(bool allRevisions)
{
    if (!GetContext()) return false;
    const IprocessFlow* flow = FlowOf(this);
    if (!flow) return false;
    for (IprocessFileObject* node : flow->GetFileObjects())
        if (node->IsRevDependent() && node->HasOneFileOf(this, allRevisions)) return true;
    return false;
}
