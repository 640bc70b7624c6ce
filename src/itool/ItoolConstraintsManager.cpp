#include "itool/ItoolConstraintsManager.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itool/ItoolFunctions.h"
#include "itool/ItoolWithConstraints.h"
#include "src/itool/ItoolConstraintsManagerImpl.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <unordered_set>

ItoolConstraintsManager& ItoolConstraintsManager::GetInstance()
{
    static ItoolConstraintsManagerImpl instance;
    return instance;
}

std::vector<ItoolWithConstraints*>& ItoolConstraintsManager::Registrations()
{
    static std::vector<ItoolWithConstraints*> tools;
    return tools;
}

ItoolWithConstraints* ItoolConstraintsManager::GetTool(ImodelFunctionType type)
{
    for (ItoolWithConstraints* tool : Registrations()) {
        if (tool->GetFunctionType() == type) return tool;
    }
    return nullptr;
}

std::vector<ItoolWithConstraints*> ItoolConstraintsManager::GetAllTools() { return Registrations(); }

void ItoolConstraintsManagerImpl::GetOptionalFilesUsed(std::vector<IprocessFileObject*>& nodes, Entries& files,
                                                       ImodelModule* module, ImodelRevContextImpl* revision,
                                                       ImodelFunctionType type)
{
    const IprocessFlow* flow = Imodel::GetInstance().GetProcessManager()->GetFlowForModule(module);
    if (!flow) return;
    ItoolWithConstraints* tool = GetTool(type);
    Entries listed;
    if (tool && tool->GetConstraintFileList(listed, module, revision)) {
        for (const auto& file : listed) {
            SysAssert(file);
            if (!file) continue;
            IprocessFileObject* node = flow->GetFileObject(file->GetFileSpecificType());
            if (node && node->IsOptionalConstraintFile()) nodes.push_back(node);
        }
        return;
    }
    for (IprocessFileObject* node : flow->GetFileObjects()) {
        if (!node->IsOptionalConstraintFile() || !node->IsConstraintFileUsedByDefault(module, revision, type)) continue;
        nodes.push_back(node);
        files.push_back(node->GetFileManagerObject(module, revision, true, false, true));
    }
}

bool ItoolConstraintsManagerImpl::IsOptionalFileUsed(IprocessFileObject* node, ImodelModule* module,
                                                     ImodelRevContextImpl* revision, ImodelFunctionType type)
{
    std::vector<IprocessFileObject*> nodes;
    Entries files;
    GetOptionalFilesUsed(nodes, files, module, revision, type);
    return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

void ItoolConstraintsManagerImpl::OptionalConstraintFileChanged(const IfileObject& file, IprocessFileObject* node,
                                                                int kind, ImodelModule* module)
{
    const ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    if (!context) return;
    for (ImodelRevContextImpl* revision : context->GetAllRevs()) {
        // The lists change here on purpose: nobody is to hear of it as a change of its own.
        ImodelSetAndRestoreModelFlagObject quiet(Imodel::GetNotifyConstraintListChanged(), false);
        if (kind == QuorlaneFileChanged) {
            if (node && !node->IsObjectUsed(module, revision)) continue;
            ItoolUpdateToolConstraintFileList(module, revision, true, false, false);
        } else if (kind == QuorlaneFileRemoved) {
            for (ItoolWithConstraints* tool : GetAllTools()) tool->ConstraintFileRemoved(file, module, revision);
        }
    }
}

void ItoolConstraintsManagerImpl::UpdateAllToolConstraintFileList(const std::deque<ImodelModule*>* modules)
{
    if (!modules) return;
    // A design may instantiate itself: each unit is refreshed once.
    std::unordered_set<ImodelModule*> visited;
    std::vector<ImodelModule*> pending(modules->rbegin(), modules->rend());
    while (!pending.empty()) {
        ImodelModule* module = pending.back();
        pending.pop_back();
        if (!module || !visited.insert(module).second) continue;
        if (const ImodelContextImpl* context = module->GetContext())
            for (ImodelRevContextImpl* revision : context->GetAllRevs())
                ItoolUpdateToolConstraintFileList(module, revision, true, false, false);
        if (const auto* children = module->GetSubBlocks())
            pending.insert(pending.end(), children->rbegin(), children->rend());
    }
}

bool ItoolConstraintsManagerImpl::ConstraintCanBeRemoved(const IfileObjectEx& file, ImodelFunctionType, ImodelModule*)
{
    return !(ImodelUserMustPassComponentConstraints() && file.GetFileGlobalType() == zorpaFT_GROUP_CONSTRAINT &&
             file.HasParentFileOfType(zorpaFT_OMBRIX_CXF, true));
}

void ItoolConstraintsManagerImpl::RemoveUnsupportedCstrs(Entries& files, ImodelFunctionType type)
{
    ItoolRemoveUnsupportedCstrs(files, type);
}
