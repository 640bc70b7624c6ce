// ImodelContextImpl: the module context. Each design unit owns one; it owns
// one revision context per place-and-route view of the project, in the
// revision manager's order, and answers ImodelRevContext for its current
// view.
//
// The list follows the revision manager: views created, deleted, renamed and
// activated there call AddRevision, RemoveRevision, RenameRevision and
// SetCurRev here. Views are known by name, compared exactly; an unknown name
// changes nothing.
#pragma once

#include "imodel/views/ImodelRevContext.h"
#include "imodel/views/ImodelRevContextImpl.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class Iconvert;
class IfileObjectEx;
class ImodelModule;
class IprocessFlowObject;

class ImodelContextImpl : public ImodelRevContext {
public:
    // A revision for the revision manager's current view, which becomes
    // current (none when the project has no view); the other views come
    // through AddRevision as the manager names them.
    ImodelContextImpl(const std::string& name, ImodelModule* module);
    // A copy of every revision of `other` (revision copies with `all`) for
    // `module`; the copy of other's current revision is current.
    ImodelContextImpl(const ImodelContextImpl& other, ImodelModule* module, bool all);
    ImodelContextImpl(const ImodelContextImpl&) = delete;
    ImodelContextImpl& operator=(const ImodelContextImpl&) = delete;
    ~ImodelContextImpl() override;
    // Lie side by side with the others of their kind, in chunks a walk over
    // every one runs through quickly (ImodelBlockPool).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    const std::string& GetName() const { return m_name; }
    ImodelModule* GetModule() const { return m_module; }

    // Tests compare contexts that make their revisions when first needed
    // with those of the plain way (true: made with the context).
    static bool& PlainRevisions();
    // The context has not made its revisions yet: every one would be alike,
    // each a copy of the pending sample (fresh without one).
    bool Pending() const { return m_pendingViews != nullptr; }
    // What every revision of a pending context holds, made fresh when
    // missing: a change to it reaches every revision when they are made.
    // Null when the revisions are made.
    ImodelRevContextImpl* PendingSample();
    // The sample when there is one, without making it.
    const ImodelRevContextImpl* GetPendingSample() const { return m_pendingSample.get(); }
    // Whether a context that has not made its revisions yet belongs to a
    // unit with a file of its own.
    static bool AnyPendingOfUnitWithFile();
    // The unit was given a file of its own (ImodelModule::ChangeFile).
    void FileGiven();
    // Whether a fresh context of no unit named `name` that copied this one
    // whole would be alike: both wait for the manager's views, with its
    // current one. Then this one can stand in for the copy (LeaveUnit).
    bool CopiedWholeIsAlike(const std::string& name) const;
    // The context belongs to no unit from now on: its unit goes, and leaves
    // it to a change's record of the unit.
    void LeaveUnit();
    // The context stops waiting for its revisions (its unit goes): no list
    // names it any more, and deleting it touches nothing else.
    void LeaveWaitingLists() const { Enlist(this, PendingList::None); }
    // When every context alive is among `going` contexts whose units go
    // together, the waiting lists are emptied at once, their memory moved
    // into `spent`, and true is returned: those contexts must then be
    // deleted as retired (imodelRetiredUnits), without a look at the lists.
    using WaitingList = std::vector<const ImodelContextImpl*>;
    static bool EmptyWaitingListsIfOnly(std::size_t going, std::vector<WaitingList>& spent);
    // Whether every context alive belongs to a unit (none is kept apart
    // from one, as a change's record of a unit keeps one). Exact only while
    // the reclaimer frees no units: ask after ImodelWaitForFreedMemory.
    static bool OnlyContextsOfUnits();
    // How many contexts alive belong to units.
    static std::size_t ContextsOfUnits();

    // --- views ----------------------------------------------------------------------------
    // Appends a revision of that name, a copy of the current revision (all of
    // its data) or a fresh one without a current revision; it does not
    // become current. True when the revision exists afterwards: an existing
    // name changes nothing; a name with a line break or a double quote is
    // refused with a message.
    bool AddRevision(const std::string& name);
    // ... and with `update`, the new revision's files and tool results of
    // views are moved to its own view (`rename`) or dropped
    // (ImodelRevContextImpl::UpdateRevStates).
    bool AddRevision(const std::string& name, bool rename, bool update);
    // Removes and deletes the revision of that name; when it was current,
    // no revision is current afterwards.
    void RemoveRevision(const std::string& name);
    // Gives the revision `from` the name `to`. False for an unknown `from`,
    // a refused name, or a `to` that another revision already has.
    bool RenameRevision(const std::string& from, const std::string& to);
    void SetCurRev(const std::string& name);
    // The getters of the revisions (here and below, but for
    // IsInDefaultState) make a waiting context's revisions when first asked,
    // and so take the context off the waiting lists: a registry of the
    // whole process, without a lock. That is safe because the model and
    // its units are used by one thread at a time: the threads that work
    // beside it (the save's walk over the units) ask a context only
    // IsInDefaultState, Pending and GetPendingSample, which make nothing.
    ImodelRevContextImpl* GetCurRevContext() const { return Current(); }
    bool IsCurRevContext(const ImodelRevContextImpl* revision) const { return revision && revision == Current(); }
    // The revision of that exact name, else null.
    ImodelRevContextImpl* FindRevision(const std::string& name) const;
    // The given pointer when it is one of the revisions, else null.
    ImodelRevContextImpl* FindRevision(const ImodelRevContext* revision) const;
    // As FindRevision; the module context itself stands for its current revision.
    ImodelRevContextImpl* FindRevisionEx(const ImodelRevContext* revision) const;
    // The name of the revision (of the current one for the module context
    // itself); false, with an empty name, when there is no such revision.
    bool GetRevisionName(const ImodelRevContext* revision, std::string& name) const;
    // The revisions, in the revision manager's order.
    std::vector<ImodelRevContextImpl*> GetAllRevs() const;

    // The revisions a change of the flow concerns: the current one alone
    // when the flow object of the message being processed (the module's
    // message object) depends on the revision; otherwise each revision in
    // which `flowObject` (when given) is not used, or in which the message's
    // object is used, every revision when there is none.
    void GetRevsUsed(std::vector<ImodelRevContextImpl*>& out, IprocessFlowObject* flowObject) const;

    // For each own revision, the revision of `other` with the same name, when
    // there is one, is copied into it (ImodelRevContextImpl::DuplicateContextInfo).
    void DuplicateContextInfo(const ImodelContextImpl* other, bool all);
    // The same from a context that is spent afterwards: a sample it would
    // copy whole into a fresh one of this context moves over instead.
    void TakeContextInfo(ImodelContextImpl& other, bool all);
    // Drops the tool results recorded for the file in every revision.
    void NotifyFileRemoved(const boost::shared_ptr<IfileObjectEx>& file);
    // The project's language changed: every revision follows it.
    void HDLTypeChanged();

    // --- ImodelRevContext: the current revision -------------------------------------------------
    // Without a current revision the getters answer the defaults and the
    // setters do nothing.
    imodelSolvatoState GetSolvatoState() const override;
    // The post-layout state belongs to the current view only; every other
    // state is set on every view. Traced when the model's DEBUG_STATE
    // setting is on.
    void SetSolvatoState(imodelSolvatoState state) override;
    imodelToolState GetToolState(ImodelFunctionType tool,
                                 const boost::shared_ptr<IfileObjectEx>& activeFile) const override;
    // Sets the state in every revision: a tool result is the module's until
    // the flow narrows it to the views its node is used in.
    void SetToolState(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& activeFile,
                      imodelToolState state, bool allFiles) override;
    imodelToolState GetToolState(IprocessToolObject* tool) const override;
    // Sets the state in the revisions GetRevsUsed gives; nothing without a
    // current revision.
    void SetToolState(IprocessToolObject* tool, imodelToolState state, IprocessFlowObject* flowObject,
                      bool allFiles) override;
    void ResetAccessibleStateList() override;
    void AddAccessibleState(imodelSolvatoState state) override;
    bool IsStateAccessible(imodelSolvatoState state) const override;
    // Every revision is in its default state (true without revisions).
    // Makes no revision: threads beside the model's may ask it.
    bool IsInDefaultState() const override;
    void SetFlowOptions(const ImodelFlowOptions& options) override;
    ImodelFlowOptions* GetFlowOptions() override;

    // --- project file (ImodelRevContextPersistence.cpp) ---------------------------------------
    // The block of every revision that is not in its default state, in
    // order. Nothing for a null stream.
    void WriteStates(std::ostream* stream) const;
    // Reads the module's state block (its "LIST" line already taken) from
    // the front of `lines` up to and including its "ENDLIST", or up to the
    // block of another module, or the end; `line` is left holding the last
    // line read. Each view's block goes to the revision of that name (a
    // view the module has not is skipped whole) and its out-of-date names
    // to RestorePre71FileStates. A block of an older project, without view
    // blocks, goes to the current revision, its out-of-date names to
    // `outOfDate` and then to RestorePre71FileStates. With `matchNames`, a
    // view other than the current one matches its names against its own
    // description file in place of `otherNames`.
    void ReadStates(std::vector<std::string>& lines, std::string& line, bool& useSynthRead,
                    const ImodelFileTypeList& knownNames, const ImodelFileTypeList& otherNames, bool matchNames,
                    std::vector<std::string>& outOfDate, const std::vector<Iconvert*>& converters);
    // Marks the project's files of those names out of date: a file of no
    // view as it stands, a file of a view under its name in the folder of
    // `revision`'s view. Nothing without a file manager.
    void RestorePre71FileStates(const std::vector<std::string>& names, const ImodelRevContextImpl* revision) const;

private:
    // GetRevsUsed; with `withRecordsOnly`, revisions without any tool record
    // are left out before the flow is asked about them.
    void GetRevsUsed(std::vector<ImodelRevContextImpl*>& out, IprocessFlowObject* flowObject,
                     bool withRecordsOnly) const;

    // The revisions by name and the revisions themselves, for a context with
    // many (a project may have thousands of views); made on the first look
    // past a few revisions and kept in step from then on.
    struct Index {
        std::unordered_map<std::string, ImodelRevContextImpl*> byName;
        std::unordered_set<const ImodelRevContext*> revisions;
    };
    static constexpr std::size_t kIndexedFrom = 16;
    const Index* Indexed() const;
    void Indexing(ImodelRevContextImpl* revision, bool add) const;

    // The lists of contexts waiting for their revisions (ImodelContextImpl.cpp).
    enum class PendingList : std::uint8_t {
        Unchecked,
        WithoutFile,
        None
    };
    // Puts the context on the list (off the one it was on); None takes it off.
    static void Enlist(const ImodelContextImpl* context, PendingList list);

    using Revisions_ = std::vector<std::unique_ptr<ImodelRevContextImpl>>;
    // The revisions, made first when the context still waits for them; every
    // use of the revisions goes through these two.
    Revisions_& Revisions() const;
    ImodelRevContextImpl*& Current() const;

    std::string m_name;
    ImodelModule* m_module;
    // A fresh context keeps the manager's list of view names and its current
    // position, and makes a revision per view when one is first needed: most
    // units made while a project is read (the scanner's prototypes, units
    // named before they are declared) never need one, and a project may have
    // thousands of views. Null once the revisions are made.
    mutable std::shared_ptr<const std::vector<std::string>> m_pendingViews;
    mutable int m_pendingCurrent = 0;
    mutable std::unique_ptr<ImodelRevContextImpl> m_pendingSample;
    mutable Revisions_ m_revisions;
    mutable ImodelRevContextImpl* m_current = nullptr;
    mutable std::unique_ptr<Index> m_index;
    // Where the context stands on the waiting lists: it leaves its list
    // without a search, and no list keeps a block per context.
    mutable PendingList m_pendingList = PendingList::None;
    mutable std::uint32_t m_pendingAt = 0;
};
