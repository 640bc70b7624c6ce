// An HDL library of the HDL parser: its name, two further texts, two
// numbers, the set of its design units and the list of its top-level units.
//
// T is a pointer to a design unit that orders itself with operator<. The
// library holds the units but does not own them: whoever empties a library
// deletes its units (the project model's ImodelDestroyLib). The list of
// top-level units is the library's own; the project's design manager makes
// and rebuilds it.
#pragma once

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <utility>

// What the simulator does with a user library before a run.
enum zorpaCompileOption : int {
    ZORPA_NOCOMPILE = 0,
    ZORPA_REFRESH = 1,
    ZORPA_COMPILE = 2,
    ZORPA_RECOMPILE = 3,
    ZORPA_REFRESH_AND_COMPILE = 4  // given to precompiled libraries
};

// Sets of design units, ordered by the units' own order.
template <class T>
struct ZorpaSet {
    // Orders the pointed-to units; a null entry sorts before every unit.
    struct lessThanTFtor {
        bool operator()(const T& a, const T& b) const
        {
            if (!a || !b) return !a && b;
            return *a < *b;
        }
    };
    using Set = std::set<T, lessThanTFtor>;
};

// How a copy of a library copies one of its units: Copy(unit) returns a new
// unit that the copy holds. The owner of the unit type defines it (the
// project model clones its design units).
template <class T>
struct ZorpaUnitCopier;

template <class T>
class ZorpaLibrary {
public:
    using ModuleSet = typename ZorpaSet<T>::Set;
    using ModuleList = std::deque<T>;

    // The path is the name when given empty. The library starts with an
    // empty unit set and no top-level list.
    explicit ZorpaLibrary(const std::string& name, const std::string& location = std::string(),
                          const std::string& path = std::string())
        : m_name(name), m_location(location), m_path(path.empty() ? name : path),
          m_modules(boost::make_shared<ModuleSet>())
    {
    }
    // A copy holds a copy of each unit of `other` (ZorpaUnitCopier) and no
    // top-level list; nothing else is shared with `other`.
    ZorpaLibrary(const ZorpaLibrary& other) { *this = other; }
    // Nothing for the library itself. The units of the set this library had
    // are not deleted, as a library does not own its units: empty it first.
    ZorpaLibrary& operator=(const ZorpaLibrary& other)
    {
        if (this == &other) return *this;
        m_name = other.m_name;
        m_location = other.m_location;
        m_path = other.m_path;
        m_number = other.m_number;
        m_compileOption = other.m_compileOption;
        m_moduleList.reset();
        auto modules = boost::make_shared<ModuleSet>();
        for (const T& unit : *other.m_modules) modules->insert(ZorpaUnitCopier<T>::Copy(unit));
        m_modules = std::move(modules);
        return *this;
    }
    ~ZorpaLibrary() = default;

    std::string GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    // Where the library's sources live; kept and handed on, not read here.
    const std::string& GetLocation() const { return m_location; }
    void SetLocation(const std::string& location) { m_location = location; }
    // The path under which the simulator knows the library (its alias).
    const std::string& GetPath() const { return m_path; }
    void SetPath(const std::string& path) { m_path = path; }
    // A number the parser gives the library; -1 until it does.
    int GetNumber() const { return m_number; }
    void SetNumber(int number) { m_number = number; }
    zorpaCompileOption GetCompileOption() const { return m_compileOption; }
    void SetCompileOption(zorpaCompileOption option) { m_compileOption = option; }

    // The units of the library; never null.
    const boost::shared_ptr<ModuleSet>& GetModules() const { return m_modules; }

    // The top-level units; null until made.
    ModuleList* GetModuleList() const { return m_moduleList.get(); }
    // Makes an empty top-level list when there is none.
    void MakeModuleList()
    {
        if (!m_moduleList) m_moduleList = std::make_unique<ModuleList>();
    }
    void SetModuleList(std::unique_ptr<ModuleList> list) { m_moduleList = std::move(list); }
    // Hands the list over; the library is left without one.
    std::unique_ptr<ModuleList> ReleaseModuleList() { return std::move(m_moduleList); }

private:
    std::string m_name;
    std::string m_location;
    std::string m_path;
    int m_number = -1;
    zorpaCompileOption m_compileOption = ZORPA_COMPILE;
    boost::shared_ptr<ModuleSet> m_modules;
    std::unique_ptr<ModuleList> m_moduleList;
};
