// Derived-file records: what a file made by a tool of the design flow was
// derived from (its predecessor file or input files) and the design unit it
// implements. A project member file (IfileObjectEx) owns at most one record
// and keeps a clone of every record it is given.
//
// The file nodes of the flow have the records made when the file manager
// reports a file of their type (IfileCreatePredecessorObject): a netlist
// knows its top cell, a database its inputs and design name, a programming
// project its chain of programming files, any other flow file its
// predecessor through the flow. A record answers for the module of its file
// from the nearest record up the chain that knows one.
//
// Records refer to flow nodes by plain pointers; a node outlives the records
// made for it while its flow lives.
#pragma once

#include "ifile/IfileObject.h"

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>
#include <vy/ComponentID.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class IfileObjectEx;
class ImodelModule;
class ImodelRevContext;
class IprocessFileObject;

class IfilePredecessorObject {
public:
    using Path = std::vector<IprocessFileObject*>;

    IfilePredecessorObject& operator=(const IfilePredecessorObject&) = delete;
    virtual ~IfilePredecessorObject() = default;

    // The project file the owner was derived from; empty when unknown.
    virtual boost::shared_ptr<IfileObjectEx> GetPredecessorFile() const = 0;
    // A copy of this record for `owner`.
    virtual std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const = 0;
    // A trace of what the record knows; `separator` goes between parts.
    virtual std::string GetDebugLine(const char* separator) const = 0;
    // The predecessor when it is out of date, else empty.
    virtual boost::shared_ptr<IfileObjectEx> GetOutOfDatePredecessor() const;
    // Whether the file is a source of the derived file: by default, whether
    // it defines a unit of the hierarchy of the record's module.
    virtual bool IsDependingOfFile(const IfileObject& file) const;
    // The file node of the owner's type; null for a record made without one.
    virtual const IprocessFileObject* GetFlowObject() const { return m_node; }
    // The design's unit of GetComponentID(); null when the design has none.
    virtual ImodelModule* GetModulePtr() const;
    // The unit the derived file implements: the identity of the nearest
    // record up the predecessor chain that knows one, else the default one.
    virtual VyIfaces::ComponentID GetComponentID() const;
    virtual bool IsSameModule(ImodelModule* module) const;
    // Whether `file` is the predecessor (with `recursive`, one up the chain).
    virtual bool HasPredecessor(const IfileObject& file, bool recursive) const;
    // Whether the chain of predecessors matches the path of flow nodes link
    // by link, each node's current file for the unit and revision.
    virtual bool HasPredecessors(const Path& path, ImodelModule* module, ImodelRevContext* revision) const;
    // Another project file changed.
    virtual void FileChanged(const IfileObject& file);
    // What to show beside the file ("module: top", "using top.edn", ...).
    virtual std::string GetUsingString() const;

    IfileObjectEx* GetOwner() const { return m_owner; }
    // Tells the views that the owner changed, without records being made
    // again meanwhile.
    void DoUpdateDisplay() const;

protected:
    IfilePredecessorObject(IfileObjectEx* owner, const IprocessFileObject* node);
    // The copy for another owner (Clone).
    IfilePredecessorObject(const IfilePredecessorObject& other, IfileObjectEx* owner);

    // The rule of HasPredecessors with `isPredecessor` standing for the
    // non-recursive predecessor test of the first link.
    bool MatchPath(const Path& path, ImodelModule* module, ImodelRevContext* revision,
                   const std::function<bool(const IfileObject&)>& isPredecessor) const;

private:
    IfileObjectEx* m_owner;
    const IprocessFileObject* m_node;
};

// A synthesized EDIF netlist (type 3): its top cell, read from the file.
class IfilePredecessorObjectEdif : public IfilePredecessorObject {
public:
    // Reads the owner's netlist, unless it was read before at the same size
    // and time.
    IfilePredecessorObjectEdif(const boost::shared_ptr<IfileObjectEx>& owner, const IprocessFileObject& node);
    IfilePredecessorObjectEdif(const IfilePredecessorObjectEdif& other, IfileObjectEx* owner);

    boost::shared_ptr<IfileObjectEx> GetPredecessorFile() const override { return {}; }
    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const override;
    std::string GetDebugLine(const char* separator) const override;
    VyIfaces::ComponentID GetComponentID() const override { return m_id; }
    std::string GetUsingString() const override;

    // The top cell of a netlist's text: the cellRef that follows the first
    // "(design <name>" that is followed by one, with, when asked, the
    // libraryRef after it. An empty name when there is none.
    static VyIfaces::ComponentID ScanTopCell(const std::string& text, bool withLibrary);

private:
    VyIfaces::ComponentID m_id;
};

// A file whose predecessor is one file found through the flow.
class IfilePredecessorObjectFlowFileNameParent : public IfilePredecessorObject {
public:
    // The project's entry for the predecessor (a new one when the project
    // holds none); empty without predecessor.
    boost::shared_ptr<IfileObjectEx> GetPredecessorFile() const override;
    std::string GetDebugLine(const char* separator) const override;
    // Without `recursive`, only a file of the predecessor node's type can be
    // the predecessor.
    bool HasPredecessor(const IfileObject& file, bool recursive) const override;

    const std::optional<IfileObject>& GetPredecessorValue() const { return m_predecessor; }
    IprocessFileObject* GetPredecessorNode() const { return m_predecessorNode; }

protected:
    IfilePredecessorObjectFlowFileNameParent(IfileObjectEx* owner, const IprocessFileObject* node);
    IfilePredecessorObjectFlowFileNameParent(const IfilePredecessorObjectFlowFileNameParent& other,
                                             IfileObjectEx* owner);
    // Whether `file` is `value` as `node` knows it, `node` being of the file's type.
    static bool IsPredecessorAt(const IfileObject& value, const IprocessFileObject* node, const IfileObject& file);

    std::optional<IfileObject> m_predecessor;
    IprocessFileObject* m_predecessorNode = nullptr;
};

// Any other flow file: the predecessor is the default file, named after the
// owner, of the node that precedes the owner's node.
class IfilePredecessorObjectFlowFile : public IfilePredecessorObjectFlowFileNameParent {
public:
    IfilePredecessorObjectFlowFile(IfileObjectEx* owner, const IprocessFileObject& node);
    IfilePredecessorObjectFlowFile(const IfilePredecessorObjectFlowFile& other, IfileObjectEx* owner);
    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const override;
};

// A synthesis constraint file (type 29): its module is its netlist's, and
// it has no predecessor of its own (so none out of date).
class IfilePredecessorObjectSynplifySdc : public IfilePredecessorObjectFlowFile {
public:
    using IfilePredecessorObjectFlowFile::IfilePredecessorObjectFlowFile;
    boost::shared_ptr<IfileObjectEx> GetPredecessorFile() const override { return {}; }
    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const override;
    VyIfaces::ComponentID GetComponentID() const override;
};

// A file derived from a list of input files; the first input of a type the
// derived file is made from is its predecessor.
class IfilePredecessorMultipleFiles : public IfilePredecessorObjectFlowFileNameParent {
public:
    using Inputs = std::vector<std::pair<IfileObject, boost::weak_ptr<IfileObjectEx>>>;

    // The predecessor, else the first input out of date.
    boost::shared_ptr<IfileObjectEx> GetOutOfDatePredecessor() const override;
    // A schematic by the hierarchy rule; any other file when it is an input.
    bool IsDependingOfFile(const IfileObject& file) const override;
    std::string GetDebugLine(const char* separator) const override;
    const Inputs& GetInputs() const { return m_inputs; }

protected:
    using IfilePredecessorObjectFlowFileNameParent::IfilePredecessorObjectFlowFileNameParent;
    // HasPredecessors with each input in turn as the predecessor.
    bool HasPredecessorsInList(const Path& path, ImodelModule* module, ImodelRevContext* revision) const;
    virtual void UpdateFileMembers(bool updateDisplay);
    virtual void DeleteFileMembers();
    // Fills the input list; false when the inputs could not be read.
    virtual bool GetFileList(Inputs& inputs) = 0;
    // The live entry of an input.
    static boost::shared_ptr<IfileObjectEx> Resolve(Inputs::value_type& input);

    // The weak references are a cache refreshed by the read-only walks.
    mutable Inputs m_inputs;
};

// A place-and-route database (type 4): inputs and design name as the
// place-and-route tool reads them from the database's project information.
class IfilePredecessorObjectAdb : public IfilePredecessorMultipleFiles {
public:
    IfilePredecessorObjectAdb(IfileObjectEx* owner, const IprocessFileObject& node);
    IfilePredecessorObjectAdb(const IfilePredecessorObjectAdb& other, IfileObjectEx* owner);

    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const override;
    std::string GetDebugLine(const char* separator) const override;
    // The design name when no record up the chain names the unit.
    VyIfaces::ComponentID GetComponentID() const override;
    // The database's file-list file was written: the inputs are read again.
    void FileChanged(const IfileObject& file) override;
    std::string GetUsingString() const override;
    const std::string& GetDesignName() const { return m_designName; }

    // The types a database is made from: those of the nodes directly before
    // the flow's database node, but for the HDL sources and the optional
    // constraint files.
    static std::vector<zorpaFileManagerTypes> GetAllAdbInputTypes();

protected:
    void UpdateFileMembers(bool updateDisplay) override;
    void DeleteFileMembers() override;
    bool GetFileList(Inputs& inputs) override;

private:
    std::string m_designName;
};

// A programming project (type 37): the programming file of its single
// algorithm, then those of the devices of its chain.
class IfilePredecessorObjectTorvixProject : public IfilePredecessorMultipleFiles {
public:
    // Reads the owner's project, unless it was read before at the same size
    // and time.
    IfilePredecessorObjectTorvixProject(IfileObjectEx* owner, const IprocessFileObject& node);
    IfilePredecessorObjectTorvixProject(const IfilePredecessorObjectTorvixProject& other, IfileObjectEx* owner);

    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx* owner) const override;
    // Some input derives from the unit.
    bool IsSameModule(ImodelModule* module) const override;
    bool HasPredecessors(const Path& path, ImodelModule* module, ImodelRevContext* revision) const override;
    std::string GetUsingString() const override;

    // The input nodes of the default flow's programming tool.
    static std::vector<IprocessFileObject*> GetTorvixInputTypes();

protected:
    bool GetFileList(Inputs& inputs) override;
};

// While false, file nodes make no records (the records turn it off while
// they refresh a file's display, so that the refresh makes none). True at start.
bool& IfilePredecessorUpdatesEnabled();

// Gives the file the record its type calls for, made for `node`. A node with
// a constant file name or that does not handle predecessors makes none
// (false). Without `flowFile` a plain flow file gets no record (true) and a
// file that got one is announced again. A netlist whose top cell the design
// lacks while the design has no unit at all brings in that unit.
bool IfileCreatePredecessorObject(boost::shared_ptr<IfileObjectEx> file, const IprocessFileObject& node, bool flowFile);
// While the design holds only units that netlists brought in, the netlist of
// the project whose top cell is `cell` brings in its unit in their place:
// true when it did. Netlists read in another order than they came into the
// project would otherwise leave the design the unit of another one.
bool IfileBringInNetlistUnitOf(const VyIfaces::ComponentID& cell);
