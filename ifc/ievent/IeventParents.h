// Payload carriers shared by the event classes. Each holds its payload by
// value: module, component and core pointers are not owned, file entries are
// shared with the file manager.
#pragma once

#include "ievent/IeventModuleRegistry.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/container/small_vector.hpp>
#include <boost/shared_ptr.hpp>

#include <concepts>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class IfileObjectEx;
class ImodelModule;
class VlnvCoreId;
namespace VyIfaces {
class IComponent;
}

// A block-design component.
class Ievent_ComponentParent {
public:
    explicit Ievent_ComponentParent(VyIfaces::IComponent* component) : m_component(component) {}
    virtual ~Ievent_ComponentParent() = default;
    VyIfaces::IComponent* GetComponent() const { return m_component; }

private:
    VyIfaces::IComponent* m_component;
};

// The identity of a core.
class Ievent_CoresParent {
public:
    explicit Ievent_CoresParent(const VlnvCoreId* core) : m_core(core) {}
    virtual ~Ievent_CoresParent() = default;
    const VlnvCoreId* GetCore() const { return m_core; }

private:
    const VlnvCoreId* m_core;
};

// The name of an HDL library.
class Ievent_LibraryParent {
public:
    explicit Ievent_LibraryParent(const std::string& library) : m_library(library) {}
    virtual ~Ievent_LibraryParent() = default;
    const std::string& GetLibrary() const { return m_library; }

private:
    std::string m_library;
};

// The revision number of a place-and-route view.
class Ievent_DesignViewParent {
public:
    explicit Ievent_DesignViewParent(int revision) : m_revision(revision) {}
    virtual ~Ievent_DesignViewParent() = default;
    int GetRevNum() const { return m_revision; }

private:
    int m_revision;
};

// A tool kind.
class Ievent_ToolParent {
public:
    explicit Ievent_ToolParent(ImodelFunctionType tool) : m_tool(tool) {}
    virtual ~Ievent_ToolParent() = default;
    ImodelFunctionType GetTool() const { return m_tool; }

private:
    ImodelFunctionType m_tool;
};

// A scanner of design units (ZorpaParser<ImodelModule*>): the modules it
// found, as a (begin, end) pair. A module itself is never one.
template <class Scanner>
concept IeventModuleScanner = !std::same_as<std::remove_cv_t<Scanner>, ImodelModule> && requires(Scanner & scanner)
{
    {
        *scanner.GetModuleRange().first
        } -> std::convertible_to<ImodelModule*>;
};

// Design units. Each module is remembered with the serial of its
// registration (IeventModuleRegistry), so that the event writes only into a
// module that is still the one it was built with.
class Ievent_ModulesParent {
public:
    // Most events carry one module: it is kept in place, without a block of
    // its own (a refresh makes two such events for every unit).
    using Modules = boost::container::small_vector<ImodelModule*, 1>;

    explicit Ievent_ModulesParent(const std::vector<ImodelModule*>& modules);
    // A one-element list, also for a null module.
    explicit Ievent_ModulesParent(ImodelModule* module);
    // The same for a module its maker has just found registered under
    // `serial` and not being destroyed (IsAlive): the registry is not asked
    // again.
    Ievent_ModulesParent(ImodelModule* module, IeventModuleRegistry::Serial serial);
    // Every module that the scanner found, in its order; none without a scanner.
    template <IeventModuleScanner Scanner>
    explicit Ievent_ModulesParent(Scanner* scanner) : Ievent_ModulesParent(FoundModules(scanner))
    {
    }
    virtual ~Ievent_ModulesParent() = default;

    const Modules& GetModules() const { return m_modules; }
    // The modules that still stand as they were when the event was built.
    std::vector<ImodelModule*> GetLiveModules() const;

protected:
    // Lets each module be displayed in a view, skipping those destroyed (or
    // being destroyed) since the event was built.
    void MarkModulesDisplayable() const;

private:
    explicit Ievent_ModulesParent(Modules modules);
    template <class Scanner>
    static Modules FoundModules(Scanner* scanner)
    {
        if (scanner == nullptr) return {};
        const auto range = scanner->GetModuleRange();
        return Modules(range.first, range.second);
    }

    Modules m_modules;
    // Each module's serial, held in place as the modules are.
    boost::container::small_vector<IeventModuleRegistry::Serial, 1> m_serials;
};

// Project files, as the file manager's shared entries.
class Ievent_FilesParent {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;
    // Nearly every event carries one file: it is kept in place.
    using Files = boost::container::small_vector<Entry, 1>;

    // A one-element list, also for an empty entry.
    explicit Ievent_FilesParent(Entry file) { m_files.push_back(std::move(file)); }
    explicit Ievent_FilesParent(const std::vector<Entry>& files) : m_files(files.begin(), files.end()) {}
    virtual ~Ievent_FilesParent() = default;

    const Files& GetFiles() const { return m_files; }

private:
    Files m_files;
};
