// Functions the flow tools share and offer to the commands and the host:
// whether a tool can run for a unit, who created a file, where a constraint
// file goes in an ordered list, which tool constraint files (TCF) belong to
// a tool, a unit and a revision, and the refresh of the place-and-route
// file lists. None keeps state.
#pragma once

#include "ifile/IfileObject.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <boost/shared_ptr.hpp>

#include <array>
#include <deque>
#include <list>
#include <string>
#include <utility>
#include <vector>

class ImodelModule;
class ImodelRevContext;
class ImodelRevContextImpl;
class IprocessFileObject;

// --- tool enabling ----------------------------------------------------------------------

// The tool node of the unit's flow says the tool can run for the unit;
// false without a flow or node.
bool ItoolIsToolEnabled(ImodelFunctionType tool, ImodelModule* module);
// ... for the design's root unit.
bool ItoolIsToolEnabled(ImodelFunctionType tool);
// Enabled, and fed for the unit (in its current revision) by a file of
// that type through an input of the tool that takes part.
bool ItoolIsToolEnabled(ImodelFunctionType tool, ImodelModule* module, zorpaFileManagerTypes fileType);
// Enabled for the root unit; simulation also needs a stimulus of the root
// unit, else the user is told ("NO_STIMULUS_ASSOCIATED") and the answer is
// false.
bool ItoolIsToolEnabledForScriptExecute(ImodelFunctionType tool);

// --- who made a file ----------------------------------------------------------------------

// `creator` names what made the file: "User", the tool that makes its flow
// constraint kind ("DAVIRI" for physical synthesis, "Synplify" for
// synthesis, whichever the flow names first), the core tool of the core it
// belongs to, or the kind of the component at the top of its parents;
// `parentName` names that component, else it is the creator.
void ItoolCreatedBy(const IfileObjectEx& file, ImodelModule* module, std::string& creator, std::string& parentName);

// --- default positions in a constraint order ------------------------------------------------

// A file's kind in a unit's constraint order (IfileObjectEx::GetOrderFileType).
class GetOrderType {
public:
    explicit GetOrderType(ImodelModule* module) : m_module(module) {}
    int operator()(const IfileObject& file) const;
    int operator()(const IfileObjectEx& file) const;

private:
    ImodelModule* m_module;
};

// Where a file goes in an ordered list: the end for a file of kind 4 or an
// empty list; else before the first element of a higher kind; else right
// after the last element of its own kind; else the end.
std::size_t ItoolGetDefaultPosT(const IfileObjectEx& file, const std::deque<IfileObject>& list, ImodelModule* module);
std::size_t ItoolGetDefaultPos(const IfileObjectEx& file, const std::vector<boost::shared_ptr<IfileObjectEx>>& list,
                               ImodelModule* module);
// Inserts a copy of the file (the entry itself in the vector form) there.
void ItoolInsertInDefaultPos(const IfileObjectEx& file, std::deque<IfileObject>& list, ImodelModule* module);
void ItoolInsertInDefaultPos(const boost::shared_ptr<IfileObjectEx>& file,
                             std::vector<boost::shared_ptr<IfileObjectEx>>& list, ImodelModule* module);

// An ordered list that takes files one after another, each at its default
// position as ItoolInsertInDefaultPos would put it, in constant time per
// file: it remembers, per kind, the first element of a higher kind and the
// last element of that kind. For lists filled file by file.
class ItoolDefaultPosList {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    ItoolDefaultPosList(const std::vector<Entry>& list, ImodelModule* module);
    // The tables point into the list: a copy would point into the original.
    ItoolDefaultPosList(const ItoolDefaultPosList&) = delete;
    ItoolDefaultPosList& operator=(const ItoolDefaultPosList&) = delete;
    // Nothing for an empty entry.
    void Insert(const Entry& file);
    // The list in its order.
    std::vector<Entry> GetList() const;

private:
    static constexpr int kKinds = 5;
    using Element = std::pair<Entry, int>;
    using Position = std::list<Element>::iterator;

    // The element's kind as a table index (the other kind for an unknown one).
    static int KindIndex(int kind);
    // The list has grown by `added`: the tables follow.
    void Added(Position added);

    GetOrderType m_order;
    std::list<Element> m_elements;
    // Per kind: the first element of a higher kind, and the last element
    // of the kind (read only while there is no higher one); end for none.
    std::array<Position, kKinds> m_firstHigher;
    std::array<Position, kKinds> m_lastSame;
};

// --- tool constraint files -------------------------------------------------------------------

// What ItoolGetAllTCF takes for a flow node, when not the node's own file.
class ItoolGetTCFFileFtor {
public:
    virtual ~ItoolGetTCFFileFtor() = default;
    virtual boost::shared_ptr<IfileObjectEx> operator()(IprocessFileObject* node, bool flag) const = 0;
};

// Appends the tool's constraint files for the unit and revision: the files
// of the flow's optional constraint nodes up to the tool's list kind (the
// functor's answer, else the node's file: the project's only with `flag`,
// else also a new one), then, unless users must pass component constraints
// themselves, the constraint files the units below give; only extensions
// the tool accepts are kept. Nothing for a tool without a list kind.
void ItoolGetAllTCF(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* revision,
                    std::vector<boost::shared_ptr<IfileObjectEx>>& out, bool flag, const ItoolGetTCFFileFtor* ftor);
// The same for place and route, for the files of one design database:
// each node's file is named after the database's input.
void ItoolGetAllTCFForAdb(const ImodelFileName& adb, ImodelModule* module, ImodelRevContextImpl* revision,
                          std::vector<boost::shared_ptr<IfileObjectEx>>& out, bool flag);
// Keeps the files whose extension the tool accepts (case ignored), in order;
// nothing when there is no tool of that kind.
void ItoolRemoveUnsupportedCstrs(std::vector<boost::shared_ptr<IfileObjectEx>>& files, ImodelFunctionType tool);
// One optional-file record per tool constraint file: its full name, used
// (0) when it is in `used`, else not used (1).
void ItoolCreateNewFileStatesVector(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* revision,
                                    const std::deque<IfileObject>& used, ImodelOptionalFiles& out);
// Brings the place-and-route file lists of the unit and revision up to
// date: the list of the revision's own design database and, unless
// `thisDatabaseOnly`, those of the unit's other databases of that revision.
// `strict` lists the constraint files as the tool will use them.
void ItoolUpdateToolConstraintFileList(ImodelModule* module, ImodelRevContextImpl* revision, bool unused, bool strict,
                                       bool thisDatabaseOnly);

// --- design databases ----------------------------------------------------------------------

// The name, in `form`, of the unit's design database for the revision (the
// flow's database node); false, `out` untouched, without unit, revision or
// node. `numbered` lets a database of another unit give way to a numbered
// variant.
bool ItoolGetAdbFileName(ImodelModule* module, ImodelRevContext* revision, ImodelFileName& out,
                         ImodelFMStringFileType form, bool existingOnly, bool numbered);
