#include "imodel/views/ImodelToolStatesManager.h"

#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessToolObject.h"
#include "src/imodel/design/imodelReclaimer.h"
#include "src/imodel/views/imodelContextNotify.h"
#include "src/imodel/views/imodelFileNameIndex.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <atomic>

namespace {

void TraceNewToolState(const ImodelContextToolStatesManager::ImodelContextToolStatesObject& object,
                       imodelToolState state, const ImodelRevContextImpl& rev)
{
    std::string line = "Process Engine: New State Of ";
    std::string keyword;
    ImodelWriteToolNameString(object.GetKind(), keyword);
    line += keyword + " Tool for " + rev.GetName();
    if (const IfileObject* file = object.GetFile()) line += "(" + file->GetFullFileName().GetString() + ")";
    ImodelWriteToolStateString(state, keyword);
    line += " : " + keyword;
    SysDebugPrintf("%s\n", line.c_str());
}

// Revisions of units that went may be deleted on the reclaimer's thread.
std::atomic<std::size_t>& Total()
{
    static std::atomic<std::size_t> total{0};
    return total;
}

// The managers holding a record of a file, by the file's name. Made once
// and never deleted: managers may outlive the statics of this file at the
// process's end.
imodelFileNameIndex<ImodelContextToolStatesManager>& TheIndex()
{
    static auto* const index = new imodelFileNameIndex<ImodelContextToolStatesManager>;
    return *index;
}

// The files let go while the project did not hold them, whose records wait
// for the next save (the model is changed on one thread).
std::vector<IfileObject>& FilesNotHeld()
{
    static std::vector<IfileObject> files;
    return files;
}

// Per-file records exist only while the user may choose the file of a step.
bool IsPerFile(const boost::shared_ptr<IfileObjectEx>& file) { return file && ImodelUserCanSelectFlowFileToUse(); }

}  // namespace

ImodelContextToolStatesManager::ImodelContextToolStatesManager(const ImodelContextToolStatesManager& other)
    : m_objects(other.m_objects)
{
    Recount(Counts());
    IndexAll();
}

ImodelContextToolStatesManager& ImodelContextToolStatesManager::operator=(const ImodelContextToolStatesManager& other)
{
    if (this == &other) return *this;
    const Counts before = Held();
    UnindexAll();
    m_objects = other.m_objects;
    Recount(before);
    IndexAll();
    return *this;
}

ImodelContextToolStatesManager::~ImodelContextToolStatesManager()
{
    const Counts held = Held();
    Total() -= held.results;
    UnindexAll();
}

std::size_t ImodelContextToolStatesManager::ResultsHeld()
{
    // Units handed over hold their results until they are deleted.
    imodelTheReclaimer().Wait();
    return Total();
}

ImodelContextToolStatesManager::Counts ImodelContextToolStatesManager::Held() const
{
    Counts held;
    for (const ImodelContextToolStatesObject& object : m_objects) {
        if (object.GetState() != StateNoResult) ++held.results;
    }
    return held;
}

void ImodelContextToolStatesManager::Recount(Counts before) const
{
    const Counts after = Held();
    Total() += after.results;
    Total() -= before.results;
}

void ImodelContextToolStatesManager::SetObjectToolState(ImodelFunctionType kind,
                                                        const boost::shared_ptr<IfileObjectEx>& file,
                                                        imodelToolState state, ImodelRevContextImpl* rev)
{
    if (ImodelContextToolStatesObject* object = GetObject(kind, file, state != StateNoResult))
        SetObjectToolState(*object, state, rev);
}

boost::shared_ptr<IfileObjectEx> ImodelContextToolStatesManager::GetActiveFile(IprocessToolObject* tool,
                                                                               ImodelModule* module,
                                                                               ImodelRevContextImpl* revision)
{
    if (!tool || !ImodelUserCanSelectFlowFileToUse()) return nullptr;
    const zorpaFileManagerTypes type = tool->GetFileSelectionType(true);
    if (type == zorpaFT_UNKNOWN) return nullptr;
    return IprocessGetCurrentFile(module, revision, type, true, false);
}

void ImodelContextToolStatesManager::SetAllObjectsToolState(ImodelFunctionType kind, imodelToolState state,
                                                            ImodelRevContextImpl* rev)
{
    // The flow asks this for a result it could not tie to one file; a record
    // that does not exist yet has no file to be made for.
    if (state != StateNoResult)
        SysDebugPrintf("ERROR: Unsupported case in ImodelContextToolStatesManager::GetObjects\n");
    for (ImodelContextToolStatesObject& object : m_objects)
        if (object.GetKind() == kind) SetObjectToolState(object, state, rev);
}

imodelToolState ImodelContextToolStatesManager::GetObjectToolState(ImodelFunctionType kind,
                                                                   const boost::shared_ptr<IfileObjectEx>& file) const
{
    const ImodelContextToolStatesObject* object = Lookup(kind, file);
    return object ? object->GetState() : StateNoResult;
}

bool ImodelContextToolStatesManager::IsInDefaultState() const
{
    return std::all_of(m_objects.begin(), m_objects.end(),
                       [](const ImodelContextToolStatesObject& object) { return object.GetState() == StateNoResult; });
}

void ImodelContextToolStatesManager::NotifyFileRemoved(const boost::shared_ptr<IfileObjectEx>& file)
{
    if (file) DropFile(*file);
}

void ImodelContextToolStatesManager::DropFile(const IfileObject& file)
{
    const Counts before = Held();
    std::erase_if(m_objects, [this, &file](const ImodelContextToolStatesObject& object) {
        if (!object.GetFile() || !(*object.GetFile() == file)) return false;
        Unindexed(*object.GetFile());
        return true;
    });
    Recount(before);
}

void ImodelContextToolStatesManager::FileLeftProject(const IfileObject& file)
{
    if (!TheIndex().Any(file)) return;
    // Units handed over are deleted before their records are looked at.
    imodelTheReclaimer().Wait();
    for (ImodelContextToolStatesManager* manager : TheIndex().Holding(file)) manager->DropFile(file);
}

void ImodelContextToolStatesManager::RenameFile(const IfileObject& from, const IfileObject& to)
{
    for (ImodelContextToolStatesObject& object : m_objects) {
        const IfileObject* file = object.GetFile();
        if (!file || !(*file == from)) continue;
        Unindexed(*file);
        // The record's own type stays: only the name follows.
        IfileObject renamed = *file;
        renamed.SetFileName(to.GetInternalFileName(), ImodelFMInternal, false);
        object.SetFile(renamed);
        Indexed(renamed);
    }
}

void ImodelContextToolStatesManager::FileRenamed(const IfileObject& from, const IfileObject& to)
{
    if (!TheIndex().Any(from)) return;
    imodelTheReclaimer().Wait();
    for (ImodelContextToolStatesManager* manager : TheIndex().Holding(from)) manager->RenameFile(from, to);
}

void ImodelContextToolStatesManager::FileNotHeld(const IfileObject& file)
{
    if (TheIndex().Any(file)) FilesNotHeld().push_back(file);
}

void ImodelContextToolStatesManager::ForgetFilesNotBack()
{
    const std::vector<IfileObject> files = std::move(FilesNotHeld());
    FilesNotHeld().clear();
    for (const IfileObject& file : files)
        if (!IfileManagerGetRealObject(file, false)) FileLeftProject(file);
}

void ImodelContextToolStatesManager::Indexed(const IfileObject& file) { TheIndex().Add(this, file); }

void ImodelContextToolStatesManager::Unindexed(const IfileObject& file) { TheIndex().Remove(this, file); }

void ImodelContextToolStatesManager::IndexAll()
{
    for (const ImodelContextToolStatesObject& object : m_objects)
        if (const IfileObject* file = object.GetFile()) Indexed(*file);
}

void ImodelContextToolStatesManager::UnindexAll()
{
    for (const ImodelContextToolStatesObject& object : m_objects)
        if (const IfileObject* file = object.GetFile()) Unindexed(*file);
}

const ImodelContextToolStatesManager::ImodelContextToolStatesObject*
ImodelContextToolStatesManager::FindObject(ImodelFunctionType kind, const IfileObject* file) const
{
    const auto found =
        std::find_if(m_objects.begin(), m_objects.end(), [&](const ImodelContextToolStatesObject& object) {
            if (object.GetKind() != kind) return false;
            return file ? object.GetFile() && *object.GetFile() == *file : !object.GetFile();
        });
    return found == m_objects.end() ? nullptr : &*found;
}

const ImodelContextToolStatesManager::ImodelContextToolStatesObject*
ImodelContextToolStatesManager::Lookup(ImodelFunctionType kind, const boost::shared_ptr<IfileObjectEx>& file) const
{
    const bool perFile = IsPerFile(file);
    if (const ImodelContextToolStatesObject* object = FindObject(kind, perFile ? file.get() : nullptr)) return object;
    // A project file without a record of its own shares the tool's general
    // record.
    return perFile && file->IsFileInProject() ? FindObject(kind, nullptr) : nullptr;
}

ImodelContextToolStatesManager::ImodelContextToolStatesObject*
ImodelContextToolStatesManager::GetObject(ImodelFunctionType kind, const boost::shared_ptr<IfileObjectEx>& file,
                                          bool create)
{
    // A look-up never makes a record: only a state worth keeping does.
    if (!create) return const_cast<ImodelContextToolStatesObject*>(Lookup(kind, file));
    const bool perFile = IsPerFile(file);
    const ImodelContextToolStatesObject* found = FindObject(kind, perFile ? file.get() : nullptr);
    if (found) return const_cast<ImodelContextToolStatesObject*>(found);
    if (perFile) {
        m_objects.emplace_back(kind, static_cast<const IfileObject&>(*file), StateNoResult);
        Indexed(*file);
    } else {
        m_objects.emplace_back(kind, StateNoResult);
    }
    return &m_objects.back();
}

void ImodelContextToolStatesManager::SetObjectToolState(ImodelContextToolStatesObject& object, imodelToolState state,
                                                        ImodelRevContextImpl* rev)
{
    if (object.GetState() == state) return;
    if (rev && imodelContextIsDebugState()) TraceNewToolState(object, state, *rev);
    if (object.GetState() == StateNoResult) ++Total();
    if (state == StateNoResult) --Total();
    object.SetState(state);
    imodelContextMarkNeedSave();
    if (rev) imodelContextProcessManager().ToolStateOfRevisionChanged(object.GetKind(), rev);
}
