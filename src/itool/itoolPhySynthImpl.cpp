#include "src/itool/itoolPhySynthImpl.h"

#include "ifile/IfileManagerFunctions.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelUnitConstraintFiles.h"
#include "imodel/design/ImodelUnitsNamingFile.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessToolObject.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>

void itoolPhySynthImpl::AppendList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision,
                                   const std::string* baseName)
{
    const ImodelPhySynthesisOptions* options = module ? std::as_const(*module).GetPhySynthOptions() : nullptr;
    if (!options) return;
    std::deque<IfileObject> files;
    options->GetConstraintFileList(files, module, revision, false, baseName);
    // Equal files have equal name keys: one lookup per file, not a walk of
    // the output.
    std::unordered_set<std::string> listed;
    for (const Entry& entry : out)
        if (entry) listed.insert(ImodelFileNameKey(entry->GetInternalFileName()));
    for (const IfileObject& file : files)
        if (listed.insert(ImodelFileNameKey(file.GetInternalFileName())).second)
            out.push_back(boost::make_shared<IfileObjectEx>(file, true));
}

bool itoolPhySynthImpl::GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision)
{
    return GetConstraintFileListEx(Entry(), out, module, revision, false);
}

bool itoolPhySynthImpl::GetConstraintFileListEx(const Entry&, Entries& out, ImodelModule* module,
                                                ImodelRevContextImpl* revision, bool)
{
    AppendList(out, module, revision, nullptr);
    return true;
}

void itoolPhySynthImpl::GetUsedConstraintFiles(Entries& out, const Entry&, ImodelModule* module,
                                               ImodelRevContextImpl* revision, const std::string* baseName)
{
    out.clear();
    Entries listed;
    AppendList(listed, module, revision, baseName);
    for (const Entry& entry : listed)
        if (Entry known = IfileManagerGetRealObject(*entry, false)) out.push_back(known);
}

bool itoolPhySynthImpl::SetConstraintFileList(const Entries& files, ImodelModule* module, ImodelRevContextImpl*)
{
    StoreList(files, nullptr, module);
    return true;
}

bool itoolPhySynthImpl::SetConstraintFiles(const Entries& files, const ImodelOptionalFiles& optional,
                                           ImodelModule* module, ImodelRevContextImpl*)
{
    StoreList(files, &optional, module);
    return true;
}

void itoolPhySynthImpl::StoreList(const Entries& files, const ImodelOptionalFiles* optional, ImodelModule* module)
{
    ImodelPhySynthesisOptions* options = module ? module->GetPhySynthOptions() : nullptr;
    if (!options) return;
    std::deque<IfileObject> values;
    IfileManagerGetSimpleObjects(files, values);
    const std::deque<IfileObject> before = options->GetConstraintFileList();
    options->SetConstraintFileList(values, optional);
    if (before != options->GetConstraintFileList()) ImodelPhySynthesisOptions::NotifyListChanged(module, nullptr);
}

void itoolPhySynthImpl::ConstraintFileRemoved(const IfileObject& file, ImodelModule* module, ImodelRevContextImpl*)
{
    // Asked of every unit: a unit whose options hold the defaults after it
    // keeps none of its own.
    if (module == nullptr) return;
    module->GetPhySynthOptions()->ConstraintFileRemoved(file, module);
    module->SettlePhySynthOptions();
}

void itoolPhySynthImpl::ConstraintFileDeleted(const IfileObject& file)
{
    if (!ImodelIsGenericConstraint(file)) return;
    // Within delete_files, once for the whole batch.
    if (!ImodelConstraintFileBatch::Keep(ImodelUnitConstraintList::PhySynthesis, file))
        ImodelForgetUnitConstraintFiles(ImodelUnitConstraintList::PhySynthesis, {file});
}

void itoolPhySynthImpl::ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject* resultNode,
                                              IprocessToolObject* tool)
{
    const ImodelPhySynthesisOptions* options = module ? std::as_const(*module).GetPhySynthOptions() : nullptr;
    if (!options || !file || !tool || !module->GetContext()) return;
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    for (ImodelRevContextImpl* revision : module->GetContext()->GetAllRevs()) {
        std::deque<IfileObject> listed;
        options->GetConstraintFileList(listed, module, revision, false, nullptr);
        const bool concerned = std::any_of(listed.begin(), listed.end(), [&file](const IfileObject& entry) {
            return ImodelIsGenericConstraint(*file) ? entry == *file
                                                    : entry.GetFileSpecificType() == file->GetFileSpecificType();
        });
        if (!concerned) continue;
        if (!resultNode) {
            revision->SetToolState(tool, StateNoResult, tool, false);
            continue;
        }
        const int number = views ? views->GetRevisionNumberOfContext(module, revision) : -1;
        const std::string baseName = resultNode->GetBasisName(*file, resultNode->GetFileType());
        if (const Entry result = resultNode->GetFileManagerObject(baseName, number, false))
            revision->SetToolStateForFile(tool, result, StateNoResult);
    }
}
bool itoolPhySynthImpl::GetUnitsNamingConstraintFile(const IfileObject& file, std::vector<ImodelModule*>& units)
{
    // Only a file of the constraint group is matched by name (above).
    if (!ImodelIsGenericConstraint(file)) return false;
    // Only a unit with a list of its own may name it.
    for (ImodelModule* module : ImodelUnitsNamingFiles({}, nullptr, true)) {
        const ImodelPhySynthesisOptions* options = std::as_const(*module).GetPhySynthOptions();
        if (!options) continue;
        // A flow file stands for the file its node gives per revision: a
        // unit listing one is counted in whatever that file is.
        const std::deque<IfileObject>& listed = options->GetConstraintFileList();
        if (std::any_of(listed.begin(), listed.end(), [&file](const IfileObject& entry) {
                return entry == file || !ImodelIsGenericConstraint(entry);
            }))
            units.push_back(module);
    }
    return true;
}

std::unique_ptr<ItoolPhySynth> ItoolCreatePhySynth() { return std::make_unique<itoolPhySynthImpl>(); }
