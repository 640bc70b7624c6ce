// Invalidation: when a file or a tool result changes, everything made from
// it shows as out of date. An invalidation object lives for one change: it
// first collects what lies downstream of a starting point in the flow graph,
// then marks it: files downstream become out of date (state 2), tools
// downstream go back to no result. The starting point keeps its own state.
//
// Two walkers: the _All walker works on nodes (every file a node knows, for
// the chosen revisions); the _Propagate walker follows one real file through
// the files derived from it. A revision filter narrows either to some
// revisions of the unit.
#pragma once

#include "iprocess/IprocessFileObject.h"

#include <boost/shared_ptr.hpp>

#include <optional>
#include <unordered_set>
#include <vector>

class IfileObjectEx;
class ImodelModule;
class ImodelRevContext;
class ImodelRevContextImpl;
class IprocessToolObject;

class IprocessInvalidationRevisionFilter {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    // Every revision.
    IprocessInvalidationRevisionFilter() = default;
    // The listed revisions of the unit; a list holding the unit's own
    // (module-level) context filters nothing.
    IprocessInvalidationRevisionFilter(ImodelModule* module, const std::vector<ImodelRevContext*>& revisions);
    // The one revision; nothing is filtered for a null one.
    IprocessInvalidationRevisionFilter(ImodelModule* module, ImodelRevContext* revision);

    // A file outside the filter's views: given, revision-specific and of a
    // view whose number is not listed.
    bool IsInGoodRev(const Entry& file) const { return IsInGoodRev(file, GetNumberFilters()); }
    static bool IsInGoodRev(const Entry& file, const std::vector<unsigned>* numbers);
    // Null when unrestricted.
    const std::vector<ImodelRevContextImpl*>* GetContextFilters() const { return m_contexts ? &*m_contexts : nullptr; }
    const std::vector<unsigned>* GetNumberFilters() const { return m_numbers ? &*m_numbers : nullptr; }

private:
    void SetFilters(ImodelModule* module, const std::vector<ImodelRevContext*>& revisions);

    std::optional<std::vector<unsigned>> m_numbers;
    std::optional<std::vector<ImodelRevContextImpl*>> m_contexts;
};

class IprocessInvalidationObject {
public:
    using Nodes = std::vector<IprocessFileObject*>;
    using Tools = std::vector<IprocessToolObject*>;

    virtual ~IprocessInvalidationObject() = default;
    IprocessInvalidationObject(const IprocessInvalidationObject&) = delete;
    IprocessInvalidationObject& operator=(const IprocessInvalidationObject&) = delete;

    virtual void NewFileFound(IprocessFileObject* node);
    virtual void NewToolFound(IprocessToolObject* tool);
    virtual void GetAllFilesAndTools() = 0;
    virtual void InvalidateAll() = 0;
    // Drops the back-annotated nodes (types 13 and 14), keeping the order.
    void RemoveBAFiles();

    // The file nodes found, in the order found, without duplicates.
    const Nodes& GetFoundFiles() const { return m_files; }

protected:
    IprocessInvalidationObject() = default;
    bool HasFile(const IprocessFileObject* node) const;
    bool HasTool(const IprocessToolObject* tool) const;

    Nodes m_files;
    Tools m_tools;
};

// Works on nodes: the files of every node downstream, the tools downstream.
class IprocessInvalidationObject_All : public IprocessInvalidationObject {
public:
    // `filter` is not owned and may be null.
    IprocessInvalidationObject_All(ImodelModule* module, bool moduleSpecific,
                                   const IprocessInvalidationRevisionFilter* filter);

    // Does nothing: the walk needs a starting node or tool.
    void GetAllFilesAndTools() override {}
    // What lies downstream of the tool, not the tool itself.
    virtual void GetAllFilesAndTools(IprocessToolObject* tool);
    // What lies downstream of the node.
    virtual void GetAllFilesAndTools(IprocessFileObject* node);
    // Tools are then reset for every file they ran on.
    virtual void SetInvalidateToolForAllFiles(bool allFiles) { m_allFiles = allFiles; }
    void InvalidateAll() override;

private:
    ImodelModule* m_module;
    bool m_moduleSpecific;
    bool m_allFiles = false;
    const IprocessInvalidationRevisionFilter* m_filter;
};

// Follows one file through the files derived from it.
class IprocessInvalidationObject_Propagate : public IprocessInvalidationObject {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    // `filter` is not owned and may be null.
    IprocessInvalidationObject_Propagate(Entry file, IprocessFileObject* node, ImodelModule* module,
                                         const IprocessInvalidationRevisionFilter* filter);

    // One level from the current file's node; deeper levels come through
    // NewFileFound.
    void GetAllFilesAndTools() override;
    // The output nodes of the tool.
    virtual void GetAllFilesAndTools(IprocessToolObject* tool);
    void NewFileFound(IprocessFileObject* node) override;
    // Sets the starting file out of date; InvalidateAll leaves it alone.
    void InvalidateFirstFile();
    void InvalidateAll() override;

    const std::vector<Entry>& GetCollectedFiles() const { return m_collected; }

private:
    void DoNewFileFound(IprocessFileObject* node);
    void InvalidateTool(IprocessToolObject* tool, ImodelRevContextImpl* revision);
    bool IsCollectedOrStart(const Entry& file) const;

    Entry m_current;
    IprocessFileObject* m_currentNode;
    Entry m_start;
    // Files reached, in order; each once, never the starting file (a file
    // reached two ways, or again through a cycle of derivations, is walked
    // once, so the walk ends).
    std::vector<Entry> m_collected;
    std::unordered_set<const IfileObjectEx*> m_seen;
    ImodelModule* m_module;
    const IprocessInvalidationRevisionFilter* m_filter;
};
