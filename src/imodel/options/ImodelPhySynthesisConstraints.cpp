// The physical-synthesis constraint list as the design flow sees it: flow
// constraint files stand for the files their flow nodes give per revision.
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolFunctions.h"

#include <algorithm>

#include <cstdint>

namespace {

// What the host's listener is told of the revision: its view's number.
std::uint32_t RevisionValue(ImodelModule* module, ImodelRevContextImpl* revision)
{
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    return static_cast<std::uint32_t>(views ? views->GetRevisionNumberOfContext(module, revision) : -1);
}

}  // namespace

void ImodelPhySynthesisOptions::GetConstraintFileList(std::deque<IfileObject>& out, ImodelModule* module,
                                                      ImodelRevContextImpl* revision, bool dropMissing,
                                                      const std::string* defaultName) const
{
    out = m_constraintFiles.Get();
    if (!module || !revision) return;
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    for (auto entry = out.begin(); entry != out.end();) {
        if (ImodelIsGenericConstraint(*entry)) {
            ++entry;
            continue;
        }
        const IprocessFileObject* node = processes->GetFileObject(entry->GetFileSpecificType(), module);
        boost::shared_ptr<IfileObjectEx> file;
        if (node && node->IsObjectUsed(module, revision))
            file = defaultName ? node->GetFileManagerObject(*defaultName, -1, !dropMissing)
                               : node->GetFileManagerObject(module, revision, !dropMissing, false, true);
        if (file) {
            *entry = *file;
            ++entry;
        } else if (dropMissing) {
            entry = out.erase(entry);
        } else {
            ++entry;
        }
    }
}

void ImodelPhySynthesisOptions::ConstraintFileAdded(boost::shared_ptr<IfileObjectEx> file, ImodelModule* module)
{
    const ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!file || !context) return;
    const std::vector<ImodelRevContextImpl*> revisions = context->GetAllRevs();
    const IprocessFileObject* node =
        Imodel::GetInstance().GetProcessManager()->GetFileObject(file->GetFileSpecificType(), module);
    if (node && node->IsOptionalConstraintFile()) {
        const bool usedByDefault = std::any_of(revisions.begin(), revisions.end(), [&](ImodelRevContextImpl* revision) {
            return node->IsConstraintFileUsedByDefault(module, revision, idePHYSYNTH);
        });
        const bool typeListed = std::any_of(
            m_constraintFiles.Get().begin(), m_constraintFiles.Get().end(),
            [&file](const IfileObject& entry) { return entry.GetFileSpecificType() == file->GetFileSpecificType(); });
        if (usedByDefault && !typeListed && m_useSynplifySDC)
            ItoolInsertInDefaultPos(*file, m_constraintFiles.Use(), module);
    }
    const ImodelFileName name = file->GetFullFileName();
    for (ImodelRevContextImpl* revision : revisions) {
        std::deque<IfileObject> files;
        GetConstraintFileList(files, module, revision, false, nullptr);
        if (std::any_of(files.begin(), files.end(),
                        [&name](const IfileObject& entry) { return entry.GetFullFileName() == name; }))
            NotifyListChanged(module, revision);
    }
}

void ImodelPhySynthesisOptions::ConstraintFileRemoved(const IfileObject& file, ImodelModule* module)
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context) return;
    bool everyRevisionTold = false;
    for (ImodelRevContextImpl* revision : context->GetAllRevs()) {
        std::deque<IfileObject> files;
        GetConstraintFileList(files, module, revision, false, nullptr);
        bool found = false;
        bool removed = false;
        bool flowFile = false;
        for (auto entry = files.begin(); entry != files.end();) {
            if (*entry != file) {
                ++entry;
                continue;
            }
            found = true;
            if (ImodelIsGenericConstraint(*entry)) {
                entry = files.erase(entry);
                removed = true;
            } else {
                flowFile = true;
                ++entry;
            }
        }
        if (removed) m_constraintFiles = files;
        if (!found) continue;
        if (flowFile) {
            NotifyListChanged(module, revision);
        } else if (!everyRevisionTold) {
            NotifyListChanged(module, nullptr);
            everyRevisionTold = true;
        }
    }
}

void ImodelPhySynthesisOptions::NotifyListChanged(ImodelModule* module, ImodelRevContextImpl* revision)
{
    if (!module) return;
    IprocessManager* processes = Imodel::GetInstance().GetProcessManager();
    if (revision) {
        processes->ConstraintListChanged(module, RevisionValue(module, revision), idePHYSYNTH);
        return;
    }
    ImodelContextImpl* context = module->GetContext();
    const IprocessFlow* flow = context ? processes->GetFlowForModule(module) : nullptr;
    const IprocessToolObject* tool = flow ? flow->GetToolObject(idePHYSYNTH) : nullptr;
    if (!tool) return;
    for (ImodelRevContextImpl* each : context->GetAllRevs())
        if (tool->IsObjectUsed(module, each))
            processes->ConstraintListChanged(module, RevisionValue(module, each), idePHYSYNTH);
}
