// ImodelContextToolStatesManager: the result state of each tool of the flow
// for one design unit in one place-and-route view. A tool has one record in
// general or, while the user may choose the file a flow step works on
// (ImodelUserCanSelectFlowFileToUse), one record per chosen file.
//
// Records are kept in the order of creation; records in the "no result"
// state are not worth storing (IsInDefaultState). Every change of a state
// marks the project as needing a save, is traced when the model's
// DEBUG_STATE setting is on and reaches the process manager.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class Iconvert;
class IfileObjectEx;
class ImodelModule;
class ImodelRevContextImpl;
class IprocessToolObject;

class ImodelContextToolStatesManager {
public:
    // One record: a tool kind, its state and, for a per-file state, a copy
    // of the file it belongs to.
    class ImodelContextToolStatesObject {
    public:
        ImodelContextToolStatesObject(ImodelFunctionType kind, imodelToolState state) : m_kind(kind), m_state(state) {}
        ImodelContextToolStatesObject(ImodelFunctionType kind, const IfileObject& file, imodelToolState state)
            : m_kind(kind), m_state(state), m_file(file)
        {
        }

        ImodelFunctionType GetKind() const { return m_kind; }
        imodelToolState GetState() const { return m_state; }
        void SetState(imodelToolState state) { m_state = state; }
        // The file of a per-file record; null for the tool's general record.
        const IfileObject* GetFile() const { return m_file ? &*m_file : nullptr; }
        void SetFile(const IfileObject& file) { m_file = file; }

    private:
        ImodelFunctionType m_kind;
        imodelToolState m_state;
        std::optional<IfileObject> m_file;
    };
    using Objects = std::vector<ImodelContextToolStatesObject>;

    ImodelContextToolStatesManager() = default;
    ImodelContextToolStatesManager(const ImodelContextToolStatesManager& other);
    ImodelContextToolStatesManager& operator=(const ImodelContextToolStatesManager& other);
    ~ImodelContextToolStatesManager();

    // How many records, of every manager there is, hold a state other than
    // "no result": none means that no unit has a tool result left that a
    // change could take away.
    static std::size_t ResultsHeld();

    // Sets the record of (kind, file) to `state`. Without file choice, or
    // without a file, the record is the tool's general one. A missing record
    // is made only for a state other than "no result". `rev` names the view
    // in the trace and in the message to the process manager (none: no
    // message).
    void SetObjectToolState(ImodelFunctionType kind, const boost::shared_ptr<IfileObjectEx>& file,
                            imodelToolState state, ImodelRevContextImpl* rev);
    // Sets every record of the kind, whatever its file; makes none.
    void SetAllObjectsToolState(ImodelFunctionType kind, imodelToolState state, ImodelRevContextImpl* rev);
    // The state of the record of (kind, file) as SetObjectToolState finds it;
    // a project file without a record of its own answers with the tool's
    // general record. "No result" when there is no record.
    imodelToolState GetObjectToolState(ImodelFunctionType kind, const boost::shared_ptr<IfileObjectEx>& file) const;

    // The file a tool node's state belongs to: while the user may choose
    // flow files, the current file of the node's file-selection type for the
    // module and revision; empty otherwise, for a null node or a node
    // without such a type.
    static boost::shared_ptr<IfileObjectEx> GetActiveFile(IprocessToolObject* tool, ImodelModule* module,
                                                          ImodelRevContextImpl* revision);

    // No record holds a state other than "no result".
    bool IsInDefaultState() const;
    // No record at all: every look-up answers no result.
    bool IsEmpty() const { return m_objects.empty(); }
    // Drops every per-file record of the file; nothing for an empty pointer.
    void NotifyFileRemoved(const boost::shared_ptr<IfileObjectEx>& file);

    // The file left the project: every record of it goes, in every view of
    // every unit (also of units whose views are still to be made, and of
    // copies kept aside to be restored). The managers holding one are found
    // through an index of the records' files by name, not by a walk over
    // the design for each file.
    static void FileLeftProject(const IfileObject& file);
    // A file the project does not hold was let go (one missing from disk
    // when the project was opened): its records go at the next save, unless
    // the project holds the file again by then (ForgetFilesNotBack).
    static void FileNotHeld(const IfileObject& file);
    // The member `from` took the name of `to` (renamed on disk, or given a
    // new place): every record of it, in every view of every unit, takes
    // the new name and keeps its state. Found through the same index.
    static void FileRenamed(const IfileObject& from, const IfileObject& to);
    // Called before the project is written: the records of the files let
    // go by FileNotHeld that the project does not hold now go.
    static void ForgetFilesNotBack();

    // After the revision was made as a copy of another: the per-file records
    // of the unit's view-dependent tools take their file's name in view
    // `revNumber` (with `rename`, where it can be formed) or, without
    // `rename`, are dropped; other records stay. Nothing without a flow.
    void UpdateRevStates(bool rename, int revNumber, ImodelModule* module);

    // The records, in the order of creation.
    const Objects& GetObjects() const { return m_objects; }

    // --- project file (ImodelRevContextPersistence.cpp) ---------------------------------------
    // One line per record whose state is not "no result", in record order:
    // the tool keyword, "(" + the file's line + ")" for a per-file record,
    // "=" and the state keyword. Nothing for a null stream.
    void WriteToolStates(std::ostream* stream) const;
    // Reads one such line into the record of its kind (and file), which is
    // made when missing; nobody is told. A line without "=", or whose tool
    // or state keyword is unknown, is ignored. The file's line is read with
    // the converters of an older project.
    void ReadToolState(const std::string& line, ImodelModule* module, ImodelRevContextImpl* rev,
                       const std::vector<Iconvert*>& converters);

private:
    // The first record of the kind whose file equals `file`, or, for null,
    // the first record of the kind without a file.
    const ImodelContextToolStatesObject* FindObject(ImodelFunctionType kind, const IfileObject* file) const;
    // The record that holds the state of (kind, file), without making one.
    const ImodelContextToolStatesObject* Lookup(ImodelFunctionType kind,
                                                const boost::shared_ptr<IfileObjectEx>& file) const;
    // As Lookup; with `create`, a missing record of (kind, file) is appended.
    ImodelContextToolStatesObject* GetObject(ImodelFunctionType kind, const boost::shared_ptr<IfileObjectEx>& file,
                                             bool create);
    void SetObjectToolState(ImodelContextToolStatesObject& object, imodelToolState state, ImodelRevContextImpl* rev);
    // Drops every per-file record of the file.
    void DropFile(const IfileObject& file);
    // Every per-file record of `from` takes the name of `to`.
    void RenameFile(const IfileObject& from, const IfileObject& to);
    // The index of the records' files follows a record of `file` made or
    // taken away, or every per-file record of this manager.
    void Indexed(const IfileObject& file);
    void Unindexed(const IfileObject& file);
    void IndexAll();
    void UnindexAll();
    // The records of this manager that hold a result.
    struct Counts {
        std::size_t results = 0;
    };
    Counts Held() const;
    // After a change of the records: ResultsHeld follows from `before`,
    // what Held answered before it.
    void Recount(Counts before) const;

    Objects m_objects;
};
