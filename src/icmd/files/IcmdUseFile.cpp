// use_file: the file a flow step works on, and the flow's questions about it.
#include "icmd/files/IcmdUseFile.h"

#include "icmd/IcmdDoCommand.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolFunctions.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <tuple>

namespace {

using Entry = IcmdUseFile::Entry;
using Entries = IprocessFileObject::Entries;
using Nodes = IprocessFileObject::Nodes;

IprocessManager& Processes() { return *Imodel::GetInstance().GetProcessManager(); }

// A unit of the design's libraries, not a copy that a change keeps aside.
bool InDesign(const ImodelModule& unit)
{
    const auto library = Imodel::GetInstance().GetDesignManager()->FindLibraryByName(unit.GetDefinedInLibrary());
    return library && library->GetModules() && library->GetModules()->contains(&unit);
}

bool Contains(const Entries& files, const IfileObject& file)
{
    return std::any_of(files.begin(), files.end(), [&file](const Entry& each) { return each && *each == file; });
}

// use_file in process for the unit's revision; true when it succeeded.
bool RunUseFile(const Entry& file, ImodelModule* module, ImodelRevContextImpl* revision)
{
    // A follow-up of the library's own: with the feature off it would only
    // fail, and the user who did not type it needs no word about the option.
    if (!ImodelUserCanSelectFlowFileToUse()) return false;
    auto command = std::make_unique<IcmdUseFile>();
    command->SetModuleAndContext(module, revision);
    command->SetFileObject(file);
    return IcmdDoCommand(std::move(command), false);
}

}  // namespace

IcmdUseFile::IcmdUseFile()
    : IcmdBase(false), m_file(this, true, false, false, Imodel::GetInstance().IsLinkingEnabled()),
      m_view(this, true, true)
{
}

IcmdUseFile::~IcmdUseFile() = default;

void IcmdUseFile::SetFileObject(const IfileObject& file) { m_file.SetFileObject(file); }

void IcmdUseFile::SetFileObject(Entry file)
{
    if (file) m_file.SetFileObject(std::move(file));
}

void IcmdUseFile::SetModuleAndContext(ImodelModule* module, ImodelRevContextImpl* revision)
{
    m_view.SetObject(module, revision);
}

AcmdEnum::Result IcmdUseFile::checkParams()
{
    const AcmdEnum::Result checked = IcmdBase::checkParams();
    // Without the feature no flow step offers a choice: say so rather than fail without a word.
    if (!ImodelUserCanSelectFlowFileToUse()) {
        ImodelDisplayCOMMAND_NEEDS_OPTION_MSG(ImodelUserCanSelectFlowFileToUseOption, GetName().c_str());
        return AcmdEnum::Failure;
    }
    if (m_view.GetModule() == nullptr) return AcmdEnum::Failure;
    return checked;
}

AcmdEnum::Result IcmdUseFile::execDo()
{
    const Entry file = m_file.GetObject();
    ImodelModule* module = m_view.GetModule();
    ImodelRevContextImpl* revision = m_view.GetObject();
    if (!file || !module || !revision) return AcmdEnum::Failure;
    if (revision->IsFileUsed(*file)) return AcmdEnum::Success;

    IprocessFileObject* node = Processes().GetFileObject(file->GetFileSpecificType(), module);
    Entries usable;
    if (node) node->GetUsableFileList(usable, module, revision);
    if (!m_allowAbsent || file->IsFileInProject()) {
        const std::string name = file->GetFullFileName().GetString();
        const std::string view = m_view.GetStringFromObject(revision);
        if (usable.empty()) {
            ImodelDisplayUSE_FILE_NO_USABLE_FILE_MSG(name.c_str(), module->GetName().c_str(), view.c_str());
            return AcmdEnum::Failure;
        }
        if (!Contains(usable, *file)) {
            std::string names;
            for (const Entry& each : usable) {
                if (!names.empty()) names += "\n";
                names += each->GetFullFileName().GetString();
            }
            ImodelDisplayUSE_FILE_CANNOT_USE_FILE_MSG(name.c_str(), module->GetName().c_str(), view.c_str(),
                                                      names.c_str());
            return AcmdEnum::Failure;
        }
    }
    revision->UseFile(*file, true);
    ExamineDownstream(node, file, module, revision);
    return AcmdEnum::Success;
}

void IcmdUseFile::ExamineDownstream(IprocessFileObject* node, const Entry& file, ImodelModule* module,
                                    ImodelRevContextImpl* revision)
{
    Nodes downstream;
    IprocessFileObject::Tools tools;
    if (!node || !node->GetAllFilesAndToolsUsingYouRec(&downstream, &tools) || downstream.empty()) return;
    bool optional = false;
    if (IprocessFlow* flow = Processes().GetFlowForModule(module)) {
        if (IprocessFileObject* own = flow->GetFileObject(file->GetFileSpecificType())) {
            optional = own->IsOptionalConstraintFile();
            // The other files of the tool that made the chosen one follow it.
            if (IprocessToolObject* tool = own->GetToolGeneratingMe(module, revision)) {
                Nodes outputs;
                tool->GetOutputFiles(&outputs);
                for (IprocessFileObject* output : outputs)
                    if (output->GetFileType() != file->GetFileSpecificType() &&
                        std::find(downstream.begin(), downstream.end(), output) == downstream.end())
                        downstream.push_back(output);
            }
        }
        flow->SortFilesFlowOrder(downstream);
    }
    Nodes handled;
    for (IprocessFileObject* next : downstream) {
        optional = optional || next->IsOptionalConstraintFile();
        DontUseFileIfCannotBeCanBeUsedInFlow(next, module, revision);
        if (next->UserCanSelectFileToUse()) {
            Entries usable;
            next->GetUsableFileList(usable, module, revision);
            const auto used = revision->GetUsedFile(next->GetFileType());
            if (revision->IsValidUsedFile(used) && Contains(usable, *used)) continue;
            if (!usable.empty()) {
                RunUseFile(usable.front(), module, revision);
                handled.push_back(next);
                continue;
            }
        } else {
            const IprocessFileObject* chooser = next->GetUsedPredecessorAllowingFileSelection(module, revision);
            if (chooser && std::find(handled.begin(), handled.end(), chooser) != handled.end()) continue;
        }
        // The step's default file for the chosen file's name.
        const std::optional<IfileObject> fallback =
            next->CreateDefaultIfileObject(node->GetBasisName(*file, next->GetFileType()), module, revision);
        if (fallback) revision->UseFile(*fallback, true);
    }
    if (optional) ItoolUpdateToolConstraintFileList(module, revision, true, false, true);
}

Entry IcmdUseFile::GetDefaultFile(IprocessFileObject* node, ImodelModule* module, ImodelRevContextImpl* revision)
{
    if (!node) return Entry();
    const std::optional<IfileObject> fallback = node->CreateDefaultIfileObject(module, revision);
    return fallback ? node->GetFileManagerObject(*fallback, true) : Entry();
}

bool IcmdUseFile::IsRelatedFileOK(Entry file, const std::vector<IprocessFileObject*>& usableNodes, int revision,
                                  ImodelModule* module, ImodelRevContextImpl* revisionContext)
{
    return IprocessIsRelatedFileOK(file, usableNodes, revision, module, revisionContext);
}

void IcmdUseFile::DontUseFileIfCannotBeCanBeUsedInFlow(IprocessFileObject* node, ImodelModule* module,
                                                       ImodelRevContextImpl* revision)
{
    if (!node || !module || !revision) return;
    const auto used = revision->GetUsedFile(node->GetFileType());
    if (!revision->IsValidUsedFile(used)) return;
    Nodes path;
    if (!node->GetFlowToUsedPredecessorAllowingFileSelection(path, module, revision)) return;
    const Entry entry = node->GetFileManagerObject(*used, true);
    if (!entry->IsFileInProject() || !IsRelatedFileOK(entry, path, used->GetRevNum(), module, revision))
        revision->DontUseFile(used->GetFileSpecificType(), true);
}

void IcmdUseFile::FileRemoved(Entry file)
{
    if (!file) return;
    const zorpaFileManagerTypes type = file->GetFileSpecificType();
    const IfilePredecessorObject* record = file->GetPredecessorObject();
    if (ImodelModule* module = record ? record->GetModulePtr() : nullptr) {
        if (IprocessFileObject* node = Processes().GetFileObject(type, module)) FileRemoved(file, module, node);
        return;
    }
    // A file of no unit, or one never read (missing from disk when the
    // project was opened): the units whose views chose it, found by the
    // file's name rather than by a walk over the design for each file.
    std::vector<ImodelModule*> units;
    for (const ImodelRevContextImpl* revision : ImodelRevContextImpl::UsingFile(*file)) {
        ImodelModule* unit = revision->GetModule();
        if (unit && InDesign(*unit)) units.push_back(unit);
    }
    // Each unit once (several of its views may have chosen the file), in a set order.
    std::sort(units.begin(), units.end(), [](const ImodelModule* a, const ImodelModule* b) {
        const VyIfaces::ComponentID& x = a->GetComponentID();
        const VyIfaces::ComponentID& y = b->GetComponentID();
        return std::tie(x.library, x.name, a) < std::tie(y.library, y.name, b);
    });
    units.erase(std::unique(units.begin(), units.end()), units.end());
    for (ImodelModule* unit : units)
        if (IprocessFileObject* node = Processes().GetFileObject(type, unit)) FileRemoved(file, unit, node);
}

void IcmdUseFile::FileRemoved(const Entry& file, ImodelModule* module, IprocessFileObject* node)
{
    const ImodelContextImpl* context = module->GetContext();
    if (!context) return;
    const zorpaFileManagerTypes type = file->GetFileSpecificType();
    for (ImodelRevContextImpl* revision : context->GetAllRevs()) {
        // Only a revision that uses the removed file has a choice to drop.
        const auto used = revision->GetUsedFile(type);
        if (!revision->IsValidUsedFile(used) || !(*used == *file)) continue;
        Entries usable;
        node->GetUsableFileList(usable, module, revision);
        bool dropped = false;
        if (!node->GetFileManagerObject(*used, false)) {
            const std::optional<IfileObject> fallback = node->CreateDefaultIfileObject(module, revision);
            dropped = fallback && *fallback == *file;
        }
        if (!dropped) dropped = !Contains(usable, *file);
        if (!dropped) continue;
        revision->DontUseFile(type, true);
        if (!usable.empty()) RunUseFile(usable.front(), module, revision);
    }
}
