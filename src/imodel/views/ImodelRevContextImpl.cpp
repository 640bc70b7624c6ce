#include "imodel/views/ImodelRevContextImpl.h"

#include "ifile/IfileFunctions.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolFunctions.h"
#include "src/imodel/design/imodelReclaimer.h"
#include "src/imodel/views/imodelContextNotify.h"
#include "src/imodel/views/imodelFileNameIndex.h"

#include <algorithm>
#include <atomic>

namespace {

// Revisions of units that went may be deleted on the reclaimer's thread.
std::atomic<std::size_t>& NotRestingCount()
{
    static std::atomic<std::size_t> count{0};
    return count;
}

// The files the views chose for the flow, by name: a project opened with
// thousands of chosen files missing would otherwise walk every unit for
// each. Made once and never deleted: revisions may outlive the statics of
// this file at the process's end.
imodelFileNameIndex<ImodelRevContextImpl>& UsedFileIndex()
{
    static auto* const index = new imodelFileNameIndex<ImodelRevContextImpl>;
    return *index;
}

}  // namespace

ImodelRevContextImpl::ImodelRevContextImpl(const std::string& name, ImodelModule* module)
    : m_name(name), m_module(module)
{
    ++NotRestingCount();
}

ImodelRevContextImpl::ImodelRevContextImpl(const ImodelRevContextImpl& other, ImodelModule* module, bool all)
    : m_name(other.m_name), m_module(module)
{
    ++NotRestingCount();
    DuplicateContextInfo(&other, all);
}

ImodelRevContextImpl::~ImodelRevContextImpl()
{
    UsedFileIndex().RemoveAll(this, m_usedFiles.Get());
    if (m_counted && !Rests()) --NotRestingCount();
}

std::size_t ImodelRevContextImpl::NotResting()
{
    // Units handed over count until they are deleted.
    imodelTheReclaimer().Wait();
    return NotRestingCount();
}

void ImodelRevContextImpl::StandForViewsToCome()
{
    if (m_counted && !Rests()) --NotRestingCount();
    m_counted = false;
}

void ImodelRevContextImpl::Recount(bool restedBefore)
{
    const bool rests = Rests();
    if (!m_counted || rests == restedBefore) return;
    if (rests)
        --NotRestingCount();
    else
        ++NotRestingCount();
}

void ImodelRevContextImpl::DuplicateContextInfo(const ImodelRevContextImpl* other, bool all)
{
    if (!other || other == this) return;
    m_flowOptions = other->m_flowOptions;
    if (all) {
        const bool rested = Rests();
        m_state = other->m_state;
        m_toolStates = other->m_toolStates;
        m_accessibleStates = other->m_accessibleStates;
        Recount(rested);
    }
    ReplaceUsedFiles(other->m_usedFiles.Get());
}

bool ImodelRevContextImpl::SetName(const std::string& name)
{
    if (!IfileCheckStorableName(name, "view")) return false;
    m_name = name;
    return true;
}

void ImodelRevContextImpl::SetSolvatoState(imodelSolvatoState state)
{
    if (state == m_state) return;
    imodelContextWillChange(m_module);
    const bool rested = Rests();
    m_state = state;
    Recount(rested);
    imodelContextMarkNeedSave();
    imodelContextProcessManager().DesignStateOfRevisionChanged(this);
}

imodelToolState ImodelRevContextImpl::GetToolState(ImodelFunctionType tool,
                                                   const boost::shared_ptr<IfileObjectEx>& activeFile) const
{
    return m_toolStates.GetObjectToolState(tool, activeFile);
}

void ImodelRevContextImpl::SetToolState(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& activeFile,
                                        imodelToolState state, bool allFiles)
{
    // "No result" makes no record where there is none.
    if (state != StateNoResult || !m_toolStates.IsEmpty()) imodelContextWillChange(m_module);
    if (allFiles)
        m_toolStates.SetAllObjectsToolState(tool, state, this);
    else
        m_toolStates.SetObjectToolState(tool, activeFile, state, this);
}

imodelToolState ImodelRevContextImpl::GetToolState(IprocessToolObject* tool) const
{
    if (!tool) return StateNoResult;
    // Without records every file answers no result: the file need not be
    // found (a project may have many views, each asked for every unit).
    if (m_toolStates.IsEmpty()) return StateNoResult;
    // Finding the current file changes nothing of this revision.
    ImodelRevContextImpl* self = const_cast<ImodelRevContextImpl*>(this);
    return m_toolStates.GetObjectToolState(tool->GetToolType(),
                                           ImodelContextToolStatesManager::GetActiveFile(tool, m_module, self));
}

void ImodelRevContextImpl::SetToolState(IprocessToolObject* tool, imodelToolState state, IprocessFlowObject*,
                                        bool allFiles)
{
    if (!tool) return;
    // "No result" makes no record and changes none when there is none: the
    // file need not be found.
    if (state == StateNoResult && m_toolStates.IsEmpty()) return;
    imodelContextWillChange(m_module);
    if (allFiles)
        m_toolStates.SetAllObjectsToolState(tool->GetToolType(), state, this);
    else
        m_toolStates.SetObjectToolState(
            tool->GetToolType(), ImodelContextToolStatesManager::GetActiveFile(tool, m_module, this), state, this);
}

namespace {

unsigned StateBit(imodelSolvatoState state)
{
    static_assert(imodelSolvatoStateCount <= 32, "a bit per design state");
    return state >= 0 && state < imodelSolvatoStateCount ? 1u << static_cast<unsigned>(state) : 0u;
}

}  // namespace

void ImodelRevContextImpl::ResetAccessibleStateList()
{
    if (m_accessibleStates != 0) imodelContextWillChange(m_module);
    const bool rested = Rests();
    m_accessibleStates = 0;
    Recount(rested);
}

void ImodelRevContextImpl::AddAccessibleState(imodelSolvatoState state)
{
    if ((m_accessibleStates & StateBit(state)) == 0) imodelContextWillChange(m_module);
    const bool rested = Rests();
    m_accessibleStates |= StateBit(state);
    Recount(rested);
}

bool ImodelRevContextImpl::Rests() const
{
    return m_state == Pre_Synthesis && m_accessibleStates == StateBit(Pre_Synthesis);
}

bool ImodelRevContextImpl::IsStateAccessible(imodelSolvatoState state) const
{
    return (m_accessibleStates & StateBit(state)) != 0;
}

bool ImodelRevContextImpl::IsInDefaultState() const
{
    return m_state == Pre_Synthesis && m_toolStates.IsInDefaultState() && m_usedFiles.empty() &&
           m_flowOptions.IsDefault();
}

void ImodelRevContextImpl::SetFlowOptions(const ImodelFlowOptions& options)
{
    if (options == m_flowOptions) return;
    imodelContextWillChange(m_module);
    m_flowOptions = options;
    imodelContextMarkNeedSave();
    // The route changed: so may the files place and route reads.
    ItoolUpdateToolConstraintFileList(m_module, this, true, true, false);
    imodelContextProcessManager().FlowOptionsChanged(true);
}

void ImodelRevContextImpl::SetToolStateForFile(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& file,
                                               imodelToolState state)
{
    if (state != StateNoResult || !m_toolStates.IsEmpty()) imodelContextWillChange(m_module);
    m_toolStates.SetObjectToolState(tool, file, state, this);
}

imodelToolState ImodelRevContextImpl::GetToolStateForFile(ImodelFunctionType tool,
                                                          const boost::shared_ptr<IfileObjectEx>& file) const
{
    return m_toolStates.GetObjectToolState(tool, file);
}

void ImodelRevContextImpl::SetToolStateForFile(IprocessToolObject* tool, const boost::shared_ptr<IfileObjectEx>& file,
                                               imodelToolState state)
{
    if (!tool) return;
    if (state != StateNoResult || !m_toolStates.IsEmpty()) imodelContextWillChange(m_module);
    m_toolStates.SetObjectToolState(tool->GetToolType(), file, state, this);
}

imodelToolState ImodelRevContextImpl::GetToolStateForFile(IprocessToolObject* tool,
                                                          const boost::shared_ptr<IfileObjectEx>& file) const
{
    return tool ? m_toolStates.GetObjectToolState(tool->GetToolType(), file) : StateNoResult;
}

void ImodelRevContextImpl::NotifyFileRemoved(const boost::shared_ptr<IfileObjectEx>& file)
{
    imodelContextWillChange(m_module);
    m_toolStates.NotifyFileRemoved(file);
}

void ImodelRevContextImpl::UseFile(const IfileObject& file, bool notify)
{
    const zorpaFileManagerTypes type = file.GetFileSpecificType();
    const UsedFiles::const_iterator used = GetUsedFile(type);
    if (used != m_usedFiles.Get().end() && *used == file) return;
    imodelContextWillChange(m_module);
    DontUseFile(type, false);
    m_usedFiles.Use().push_back(file);
    UsedFileIndex().Add(this, file);
    imodelContextMarkNeedSave();
    if (notify) ReportUsedFileChange(type);
}

void ImodelRevContextImpl::DontUseFile(zorpaFileManagerTypes specificType, bool notify)
{
    if (GetUsedFile(specificType) == m_usedFiles.Get().end()) return;
    imodelContextWillChange(m_module);
    const std::size_t removed =
        m_usedFiles.empty() ? 0 : std::erase_if(m_usedFiles.Use(), [this, specificType](const IfileObject& file) {
            if (file.GetFileSpecificType() != specificType) return false;
            UsedFileIndex().Remove(this, file);
            return true;
        });
    if (removed == 0) return;
    imodelContextMarkNeedSave();
    if (notify)
        for (std::size_t i = 0; i < removed; ++i) ReportUsedFileChange(specificType);
}

void ImodelRevContextImpl::ReplaceUsedFiles(UsedFiles files)
{
    UsedFileIndex().RemoveAll(this, m_usedFiles.Get());
    m_usedFiles = std::move(files);
    UsedFileIndex().AddAll(this, m_usedFiles.Get());
}

std::vector<ImodelRevContextImpl*> ImodelRevContextImpl::UsingFile(const IfileObject& file)
{
    if (!UsedFileIndex().Any(file)) return {};
    // Units handed over are deleted before their revisions are looked at.
    imodelTheReclaimer().Wait();
    std::vector<ImodelRevContextImpl*> revisions = UsedFileIndex().Holding(file);
    std::erase_if(revisions, [&file](const ImodelRevContextImpl* revision) { return !revision->IsFileUsed(file); });
    return revisions;
}

void ImodelRevContextImpl::FileRenamed(const IfileObject& from, const IfileObject& to)
{
    ImodelContextToolStatesManager::FileRenamed(from, to);
    for (ImodelRevContextImpl* revision : UsingFile(from)) {
        for (IfileObject& file : revision->m_usedFiles.Use()) {
            if (!(file == from)) continue;
            UsedFileIndex().Remove(revision, file);
            file.SetFileName(to.GetInternalFileName(), ImodelFMInternal, false);
            UsedFileIndex().Add(revision, file);
        }
    }
}

bool ImodelRevContextImpl::IsFileUsed(const IfileObject& file) const
{
    const UsedFiles& used = m_usedFiles.Get();
    return std::find(used.begin(), used.end(), file) != used.end();
}

ImodelRevContextImpl::UsedFiles::const_iterator
ImodelRevContextImpl::GetUsedFile(zorpaFileManagerTypes specificType) const
{
    const UsedFiles& used = m_usedFiles.Get();
    return std::find_if(used.begin(), used.end(),
                        [specificType](const IfileObject& file) { return file.GetFileSpecificType() == specificType; });
}

bool ImodelRevContextImpl::IsValidUsedFile(UsedFiles::const_iterator it) const
{
    // It belongs here when it stands on one of this list's elements.
    const UsedFiles& used = m_usedFiles.Get();
    for (auto own = used.begin(); own != used.end(); ++own)
        if (own == it) return true;
    return false;
}

void ImodelRevContextImpl::DuplicateList(const std::vector<ImodelFileName>* from, std::vector<ImodelFileName>& to)
{
    if (from && from != &to) to = *from;
}

void ImodelRevContextImpl::ReportUsedFileChange(zorpaFileManagerTypes type)
{
    imodelContextProcessManager().UsedFileOfRevisionChanged(type, this);
    Imodel::GetInstance().GetStateMachine()->UsedFileChanged(m_module, this, type);
}
