// ImodelRevContextImpl: one design unit in one place-and-route view: its
// design state, the design states it may reach, its tool results (per tool,
// or per chosen file), its flow options and the files the user chose for the
// flow in this view (the used files, at most one per specific file type).
//
// Each module context (ImodelContextImpl) owns one per view of the project.
// Every change of the design state, a tool state, the flow options or a used
// file marks the project as needing a save and is reported to the process
// manager.
#pragma once

#include "imodel/names/ImodelLazyList.h"

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/views/ImodelFileListIO.h"
#include "imodel/views/ImodelFlowOptions.h"
#include "imodel/views/ImodelRevContext.h"
#include "imodel/views/ImodelToolStatesManager.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

class Iconvert;
class IfileObjectEx;
class ImodelModule;

class ImodelRevContextImpl : public ImodelRevContext {
public:
    using UsedFiles = std::deque<IfileObject>;

    // Design state 0, nothing accessible, no tool result, default flow
    // options, no used file.
    ImodelRevContextImpl(const std::string& name, ImodelModule* module);
    // A copy of `other` under its name for `module` (DuplicateContextInfo).
    ImodelRevContextImpl(const ImodelRevContextImpl& other, ImodelModule* module, bool all);
    ImodelRevContextImpl(const ImodelRevContextImpl&) = delete;
    ImodelRevContextImpl& operator=(const ImodelRevContextImpl&) = delete;
    ~ImodelRevContextImpl() override;
    // Lie side by side with the others of their kind, in chunks a walk over
    // every one runs through quickly (ImodelBlockPool).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // Takes the flow options and the used files of `other`; with `all` also
    // its design state, tool results and accessible states. Nothing for null.
    // Copies set no need-save flag and notify nobody: the copy is new data.
    void DuplicateContextInfo(const ImodelRevContextImpl* other, bool all);

    // The name of the place-and-route view. A name holding a line break or
    // a double quote is refused with a message (false).
    bool SetName(const std::string& name);
    const std::string& GetName() const { return m_name; }
    ImodelModule* GetModule() const { return m_module; }

    // --- ImodelRevContext -------------------------------------------------------------
    imodelSolvatoState GetSolvatoState() const override { return m_state; }
    void SetSolvatoState(imodelSolvatoState state) override;
    imodelToolState GetToolState(ImodelFunctionType tool,
                                 const boost::shared_ptr<IfileObjectEx>& activeFile) const override;
    void SetToolState(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& activeFile,
                      imodelToolState state, bool allFiles) override;
    imodelToolState GetToolState(IprocessToolObject* tool) const override;
    void SetToolState(IprocessToolObject* tool, imodelToolState state, IprocessFlowObject* flowObject,
                      bool allFiles) override;
    void ResetAccessibleStateList() override;
    void AddAccessibleState(imodelSolvatoState state) override;
    bool IsStateAccessible(imodelSolvatoState state) const override;
    // The accessible states, a bit per state (1 << state).
    unsigned GetAccessibleStateSet() const { return m_accessibleStates; }
    bool IsInDefaultState() const override;
    void SetFlowOptions(const ImodelFlowOptions& options) override;
    ImodelFlowOptions* GetFlowOptions() override { return &m_flowOptions; }
    const ImodelFlowOptions& GetFlowOptions() const { return m_flowOptions; }

    // Whether the view holds what a unit without any result works out to:
    // pre-synthesis as its design state and as its only accessible state.
    // A new view holds no accessible state yet.
    bool Rests() const;
    // How many views, of every context, do not rest; the sample that stands
    // for the views of a context not made yet is not one.
    static std::size_t NotResting();
    // The view stands for views not made yet: it leaves the count above.
    void StandForViewsToCome();
    // A sample that a spent context gave up stands for `module`'s views.
    void HandTo(ImodelModule* module) { m_module = module; }

    // --- tool results per file ----------------------------------------------------------
    // The state of a tool for one file (with file choice off: the tool's
    // general state).
    void SetToolStateForFile(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& file,
                             imodelToolState state);
    imodelToolState GetToolStateForFile(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& file) const;
    // The same for a tool node (its kind); nothing, or no result, for null.
    void SetToolStateForFile(IprocessToolObject* tool, const boost::shared_ptr<IfileObjectEx>& file,
                             imodelToolState state);
    imodelToolState GetToolStateForFile(IprocessToolObject* tool, const boost::shared_ptr<IfileObjectEx>& file) const;
    const ImodelContextToolStatesManager& GetToolStatesManager() const { return m_toolStates; }
    // Drops the tool results recorded for the file.
    void NotifyFileRemoved(const boost::shared_ptr<IfileObjectEx>& file);

    // --- used files ------------------------------------------------------------------------
    // Makes `file` the used file of its specific type (the former one goes).
    // Nothing when it already is. With `notify` the process manager and the
    // model's state machine hear of the change.
    void UseFile(const IfileObject& file, bool notify);
    // Removes every used file of the type; each removal is reported with
    // `notify`.
    void DontUseFile(zorpaFileManagerTypes specificType, bool notify);
    bool IsFileUsed(const IfileObject& file) const;
    // After this revision was made as a copy of another: each used file of a
    // place-and-route view takes its name in this revision's view (with
    // `rename`, when that name can be formed) or is dropped, silently; the
    // tool results of view-dependent tools follow the same way.
    void UpdateRevStates(bool rename);
    // The project's language changed: each used HDL file takes the
    // extension of the flow's node of its type.
    void HDLTypeChanged();
    // The first used file of the type, or the end of the list.
    UsedFiles::const_iterator GetUsedFile(zorpaFileManagerTypes specificType) const;
    // Whether the iterator points into this view's used files, not at the end.
    bool IsValidUsedFile(UsedFiles::const_iterator it) const;
    const UsedFiles& GetUsedFiles() const { return m_usedFiles.Get(); }
    // The revisions, of every context alive, whose used files hold `file`,
    // each once, in no set order; the sample of a context that has not made
    // its revisions yet may be among them. Found through an index of the
    // used files by name, not by a walk over the units.
    static std::vector<ImodelRevContextImpl*> UsingFile(const IfileObject& file);
    // The member `from` took the name of `to` (renamed on disk, or given a
    // new place): every view that uses it, and every tool result recorded
    // for it, names it so, in every unit. Nobody is told: the file used is
    // the same.
    static void FileRenamed(const IfileObject& from, const IfileObject& to);

    // With a source: `to` becomes a copy of `from`, in order.
    static void DuplicateList(const std::vector<ImodelFileName>* from, std::vector<ImodelFileName>& to);

    // --- project file (ImodelRevContextPersistence.cpp) ---------------------------------------
    // The view's block: "LIST " + view name, "SolvatoState=" + keyword (only
    // for a state other than pre-synthesis), the tool-state lines, the flow
    // options block, the used files between "Used_File_List" and
    // "ENDUsed_File_List", "ENDLIST". Nothing for a null stream.
    void WriteStates(std::ostream* stream) const;
    // Reads the lines of the view's block (its "LIST" line already taken)
    // from the front of `lines`, starting with `line` when it is not empty,
    // up to and including the block's "ENDLIST"; a line that opens a
    // sibling view's block or another module's block ends it too, so a
    // missing "ENDLIST" never lets it read another block. `line` is left
    // holding the last line read. The older lists of files up to date and
    // out of date are read with ImodelReadFileList (the out-of-date names
    // go to `outOfDate`); `useSynthRead` is set when the flow options name
    // UseSynth. Used files and tool states read are taken without telling
    // anyone; the design state is set as by SetSolvatoState.
    void ReadStates(std::vector<std::string>& lines, std::string& line, bool& useSynthRead,
                    const ImodelFileTypeList& knownNames, const ImodelFileTypeList& otherNames, bool matchNames,
                    std::vector<std::string>& outOfDate, const std::vector<Iconvert*>& converters);

private:
    // Reads the view's block for ReadStates and for the module context.
    friend class imodelRevisionBlockReader;

    void ReportUsedFileChange(zorpaFileManagerTypes type);
    // The used files become `files`; the index of used files follows.
    void ReplaceUsedFiles(UsedFiles files);
    // After a change of the design or accessible states: NotResting
    // follows from `restedBefore`, what Rests answered before it.
    void Recount(bool restedBefore);

    imodelSolvatoState m_state = Pre_Synthesis;
    // A bit per state: a list of its own per view and unit cost an
    // allocation each time the flow works the states out.
    unsigned m_accessibleStates = 0;
    bool m_counted = true;
    ImodelContextToolStatesManager m_toolStates;
    std::string m_name;
    ImodelFlowOptions m_flowOptions;
    ImodelModule* m_module;
    ImodelLazyList<UsedFiles> m_usedFiles;
};
