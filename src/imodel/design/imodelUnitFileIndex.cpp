// The index of the units naming a file: each unit that told of a change is
// filed again under the files its lists name the next time anyone asks, so
// that a walk of many renames costs what the renamed files' units hold.
#include "src/imodel/design/imodelUnitFileIndex.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelUnitsNamingFile.h"
#include "imodel/names/imodelUtl.h"
#include "src/imodel/design/ImodelModuleNotify.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using Units = std::unordered_set<ImodelModule*>;

struct Filed {
    std::vector<std::string> names;
    bool phySynth = false;
};

// Units go on the reclaimer's thread too. Made once and never deleted: a
// unit may outlive the statics of this file at the process's end.
struct Index {
    std::mutex lock;
    std::unordered_set<ImodelModule*> changed;
    std::unordered_map<const ImodelModule*, Filed> filed;
    std::unordered_map<std::string, Units> byName;
    Units withPhySynthList;
};

Index& TheIndex()
{
    static Index* const index = new Index;
    return *index;
}

template <class Key>
void Drop(std::unordered_map<Key, Units>& map, const Key& key, ImodelModule* unit)
{
    const auto found = map.find(key);
    if (found == map.end()) return;
    found->second.erase(unit);
    if (found->second.empty()) map.erase(found);
}

void Unfile(Index& index, ImodelModule* unit)
{
    const auto found = index.filed.find(unit);
    if (found == index.filed.end()) return;
    for (const std::string& name : found->second.names) Drop(index.byName, name, unit);
    if (found->second.phySynth) index.withPhySynthList.erase(unit);
    index.filed.erase(found);
}

void File(Index& index, ImodelModule* unit)
{
    Filed filed;
    unit->ForEachFileUpdateModelSees(
        [&filed](const IfileObject& file) { filed.names.push_back(imodelUnitFileIndex::NameKey(file)); });
    std::sort(filed.names.begin(), filed.names.end());
    filed.names.erase(std::unique(filed.names.begin(), filed.names.end()), filed.names.end());
    filed.phySynth = !std::as_const(*unit).GetPhySynthOptions()->GetConstraintFileList().empty();
    if (filed.names.empty()) return;
    for (const std::string& name : filed.names) index.byName[name].insert(unit);
    if (filed.phySynth) index.withPhySynthList.insert(unit);
    index.filed.emplace(unit, std::move(filed));
}

}  // namespace

void ImodelModule::ListsMayChange()
{
    KeptDataMayChange();
    // Once told, the unit is looked at whole when the index is next asked.
    if (!m_listsChanged) imodelUnitFileIndex::Touch(*this);
}

void imodelUnitFileIndex::Touch(ImodelModule& unit)
{
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    unit.m_listsChanged = true;
    unit.m_inFileIndex = true;
    index.changed.insert(&unit);
}

bool ImodelModule::NamesAnyFile() const
{
    bool any = false;
    ForEachFileUpdateModelSees([&any](const IfileObject&) { any = true; });
    return any;
}

void imodelUnitFileIndex::Gone(ImodelModule& unit)
{
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    // A change told while it goes files it nowhere.
    unit.m_listsChanged = true;
    index.changed.erase(&unit);
    Unfile(index, &unit);
}

std::string imodelUnitFileIndex::NameKey(const IfileObject& file)
{
    const std::string& name = file.GetInternalFileName().GetString();
    const std::size_t slash = name.find_last_of("/\\");
    std::string key = slash == std::string::npos ? name : name.substr(slash + 1);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

std::vector<ImodelModule*> ImodelUnitsNamingFiles(const std::vector<IfileObject>& files, const IfileObjectEx* defining,
                                                  bool anyPhySynthList)
{
    return imodelUnitFileIndex::Find(files, defining, anyPhySynthList);
}

std::vector<ImodelModule*> imodelUnitFileIndex::Find(const std::vector<IfileObject>& files,
                                                     const IfileObjectEx* defining, bool anyPhySynthList)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (design == nullptr) return {};
    Units found;
    {
        Index& index = TheIndex();
        const std::lock_guard<std::mutex> held(index.lock);
        for (ImodelModule* unit : index.changed) {
            Unfile(index, unit);
            unit->m_listsChanged = false;
            File(index, unit);
        }
        index.changed.clear();
        const auto take = [&found](const Units& units) { found.insert(units.begin(), units.end()); };
        for (const IfileObject& file : files) {
            const auto named = index.byName.find(NameKey(file));
            if (named != index.byName.end()) take(named->second);
        }
        if (anyPhySynthList) take(index.withPhySynthList);
    }
    // Only the units of the design's libraries, in the walk's order: the
    // libraries in the design's order, the units in their set's.
    std::unordered_map<const ImodelModule::UnitSet*, std::size_t> libraries;
    const auto [first, last] = design->GetLibraries();
    for (auto library = first; library != last; ++library)
        if (*library && (*library)->GetModules()) libraries.emplace((*library)->GetModules().get(), libraries.size());
    // The units the entry defines, from the libraries' own index of units by
    // their file: filed under the name the entry had when it was given to
    // them, which a rename in place has since changed (the name asked for).
    if (defining != nullptr) {
        std::vector<std::string> keys{ImodelFileNameKey(defining->GetInternalFileName().GetString(), std::string())};
        for (const IfileObject& file : files)
            keys.push_back(ImodelFileNameKey(file.GetInternalFileName().GetString(), std::string()));
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        std::vector<ImodelModule*> defined;
        for (const auto& [units, at] : libraries)
            for (const std::string& key : keys) units->AppendUnitsOfFileKey(key, defined);
        for (ImodelModule* unit : defined)
            if (unit->GetModuleFile().get() == defining) found.insert(unit);
    }
    struct Placed {
        std::size_t library;
        ImodelModule* unit;
    };
    std::vector<Placed> placed;
    placed.reserve(found.size());
    for (ImodelModule* unit : found) {
        const auto library = libraries.find(unit->GetUnitSet());
        if (library != libraries.end() && library->first->contains(unit)) placed.push_back({library->second, unit});
    }
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        if (a.library != b.library) return a.library < b.library;
        if (a.unit->GetUnitOrder() < b.unit->GetUnitOrder()) return true;
        if (b.unit->GetUnitOrder() < a.unit->GetUnitOrder()) return false;
        return a.unit->GetUnitSerial() < b.unit->GetUnitSerial();
    });
    std::vector<ImodelModule*> units;
    units.reserve(placed.size());
    for (const Placed& entry : placed) units.push_back(entry.unit);
    return units;
}
