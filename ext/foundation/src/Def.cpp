// Options database: the three layers, lookups, writes and the files.
#include "foundation/Def.h"

#include "foundation/Sys.h"
#include "foundation/UtlAscii.h"

#include "DefFile.h"
#include "DefText.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

struct Database {
    std::mutex mutex;
    DefContent defaults;
    std::map<std::string, std::string> user;
    std::map<std::string, std::vector<std::string>> overrides;  // innermost last
    // The answers of lookups since the last change: scoped defaults make a
    // lookup walk conditions, and many are asked for again and again.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    std::unordered_map<std::string, std::optional<std::string>, NameHash, std::equal_to<>> resolved;
    // Counts the changes (DefChangeCount), so that a caller may keep an
    // answer until the next one.
    std::atomic<std::uint64_t> changes{0};
    std::string userFile;
    // Serialises whole flushes, so the file always ends with the latest state.
    std::mutex flushMutex;
};

Database& Db()
{
    static Database database;
    return database;
}

// Every answer may differ after a change (the caller holds the lock).
void Changed(Database& db)
{
    db.resolved.clear();
    db.changes.fetch_add(1, std::memory_order_acq_rel);
}

// --- lookups (the caller holds the lock) -------------------------------------

const DefVariable* FindDefault(const Database& db, const std::string& name)
{
    const auto found = db.defaults.variables.find(name);
    return found == db.defaults.variables.end() ? nullptr : &found->second;
}

// The override or the user value, else nothing.
const std::string* UpperValue(const Database& db, const std::string& name)
{
    if (const auto found = db.overrides.find(name); found != db.overrides.end()) return &found->second.back();
    if (const auto found = db.user.find(name); found != db.user.end()) return &found->second;
    return nullptr;
}

// The value a condition compares with: scoped defaults of the condition
// variable itself are not consulted, so conditions never recurse.
const std::string* ConditionValue(const Database& db, const std::string& name)
{
    if (const std::string* value = UpperValue(db, name)) return value;
    const DefVariable* variable = FindDefault(db, name);
    if (!variable) return nullptr;
    for (const auto& definition : variable->values) {
        if (definition.scope.empty()) return &definition.data;
    }
    return nullptr;
}

bool ScopeMatches(const Database& db, const DefScope& scope)
{
    for (const DefCondition& condition : scope) {
        const std::string* value = ConditionValue(db, condition.name);
        if (!value || !UtlIsSameNoCase(*value, condition.value)) return false;
    }
    return true;
}

// The most specific matching definition; among equals the one written last.
template <class T>
const T* Select(const Database& db, const std::vector<DefScoped<T>>& definitions)
{
    const DefScoped<T>* best = nullptr;
    for (const auto& definition : definitions) {
        if (best && definition.scope.size() < best->scope.size()) continue;
        if (ScopeMatches(db, definition.scope)) best = &definition;
    }
    return best ? &best->data : nullptr;
}

std::optional<std::string> Resolve(const Database& db, const std::string& name)
{
    if (const std::string* value = UpperValue(db, name)) return *value;
    const DefVariable* variable = FindDefault(db, name);
    const std::string* value = variable ? Select(db, variable->values) : nullptr;
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

std::optional<std::string> Lookup(const char* name)
{
    if (!name) return std::nullopt;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    if (const auto found = db.resolved.find(std::string_view(name)); found != db.resolved.end()) return found->second;
    // Names asked for once (a script's typos) do not pile up.
    constexpr std::size_t kMaxResolved = 4096;
    if (db.resolved.size() >= kMaxResolved) db.resolved.clear();
    std::string key(name);
    std::optional<std::string> value = Resolve(db, key);
    db.resolved.emplace(std::move(key), value);
    return value;
}

std::optional<DefWords> VisibleChoices(const char* name)
{
    if (!name) return std::nullopt;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    const DefVariable* variable = FindDefault(db, name);
    const DefWords* visible = variable ? Select(db, variable->visible) : nullptr;
    if (!visible) return std::nullopt;
    DefWords words = *visible;
    if (const DefWords* hidden = Select(db, variable->hidden)) {
        std::erase_if(words, [&](const std::string& word) {
            return std::find(hidden->begin(), hidden->end(), word) != hidden->end();
        });
    }
    return words;
}

// --- conversions ---------------------------------------------------------------

std::optional<int> ParseInt(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (code != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int> ParseBool(const std::string& text)
{
    static const struct {
        const char* word;
        int value;
    } kWords[] = {{"TRUE", 1}, {"T", 1}, {"YES", 1}, {"ON", 1}, {"FALSE", 0}, {"F", 0}, {"NO", 0}, {"OFF", 0}};
    for (const auto& word : kWords) {
        if (UtlIsSameNoCase(text, word.word)) return word.value;
    }
    return ParseInt(text);
}

// Copies `text` whole into the buffer, else leaves the buffer empty.
int CopyToBuffer(const std::optional<std::string>& text, char* buffer, std::size_t size)
{
    if (!buffer || size == 0) return 1;
    if (!text || text->size() >= size) {
        buffer[0] = '\0';
        return 1;
    }
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    return 0;
}

// --- writes ----------------------------------------------------------------------

void Report(const std::string& text) { SysPrintf("%s\n", text.c_str()); }

// Reports the error where the caller asked for it, else on the debug print.
void Deliver(const std::string& text, std::string* error)
{
    if (error) {
        *error = text;
    } else {
        Report(text);
    }
}

const char* WriteProblem(const char* name, const char* value)
{
    if (!name) return "no name was given";
    if (!value) return "no value was given";
    if (const char* problem = DefTextNameProblem(name)) return problem;
    return DefTextValueProblem(value);
}

// Checks a write; a refused one is reported with the caller's location.
bool Storable(const char* what, const char* name, const char* value, const char* file, int line)
{
    const char* problem = WriteProblem(name, value);
    if (!problem) return true;
    std::string text =
        std::string("Error: ") + what + " of the option " + (name ? name : "(none)") + " refused: " + problem;
    if (file) text += " (" + std::string(file) + ":" + std::to_string(line) + ")";
    Report(text);
    return false;
}

std::string UserSettingsText(const std::map<std::string, std::string>& user)
{
    std::string text = "# Quorlane user settings, written by Quorlane.\n";
    for (const auto& [name, value] : user) text += name + " = " + DefTextQuoteValue(value) + "\n";
    return text;
}

bool ParseOrReport(const std::string& text, const std::string& source, DefTextKind kind, DefContent& content,
                   std::string* error)
{
    std::string problem;
    if (DefTextParse(text, source, kind, content, problem)) return true;
    Deliver(problem, error);
    return false;
}

}  // namespace

// --- reading -----------------------------------------------------------------------

int DefGetBoolFL(const char* name, int* value, const char*, int)
{
    const std::optional<std::string> text = Lookup(name);
    const std::optional<int> parsed = text ? ParseBool(*text) : std::nullopt;
    if (!parsed || !value) return 1;
    *value = *parsed;
    return 0;
}

int DefGetIntFL(const char* name, int* value, const char*, int)
{
    const std::optional<std::string> text = Lookup(name);
    const std::optional<int> parsed = text ? ParseInt(*text) : std::nullopt;
    if (!parsed || !value) return 1;
    *value = *parsed;
    return 0;
}

int DefGetStrFL(const char* name, std::string& value, const char*, int)
{
    std::optional<std::string> text = Lookup(name);
    if (!text) return 1;
    value = std::move(*text);
    return 0;
}

int DefGetStrFL(const char* name, char* buffer, std::size_t size, const char*, int)
{
    return CopyToBuffer(Lookup(name), buffer, size);
}

std::optional<std::string> DefGetFL(const char* name, const char*, int) { return Lookup(name); }

std::uint64_t DefChangeCount() { return Db().changes.load(std::memory_order_acquire); }

int DefGetAllVisList(const char* name, std::vector<std::string>& values)
{
    std::optional<DefWords> words = VisibleChoices(name);
    values = words ? std::move(*words) : DefWords();
    return words ? 0 : 1;
}

int DefGetAllVisList(const char* name, char* buffer, std::size_t size)
{
    const std::optional<DefWords> words = VisibleChoices(name);
    return CopyToBuffer(words ? std::optional<std::string>(DefTextJoinWords(*words)) : std::nullopt, buffer, size);
}

int DefGetExtValue(const char* value, int flag, std::string& out)
{
    out.clear();
    if (!value) return 1;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    const std::map<std::string, std::string>& names = flag ? db.defaults.externalOf : db.defaults.internalOf;
    const auto found = names.find(value);
    if (found == names.end()) return 1;
    out = found->second;
    return 0;
}

int DefGetExtValue(const char* value, int flag, char* buffer, std::size_t size)
{
    std::string out;
    return CopyToBuffer(DefGetExtValue(value, flag, out) == 0 ? std::optional<std::string>(out) : std::nullopt, buffer,
                        size);
}

bool DefIsOptSupported(const char* name)
{
    if (!name) return false;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    return UpperValue(db, name) || FindDefault(db, name);
}

// --- writing -----------------------------------------------------------------------

int DefSetFL(const char* name, const char* value, const char* file, int line)
{
    if (!Storable("setting", name, value, file, line)) return 1;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.user[name] = value;
    Changed(db);
    return 0;
}

int DefSetInt(const char* name, int value) { return DefSetFL(name, std::to_string(value).c_str()); }

int DefSetBool(const char* name, bool value) { return DefSetFL(name, value ? "1" : "0"); }

int DefUnset(const char* name)
{
    if (!name) return 1;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.user.erase(name);
    Changed(db);
    return 0;
}

int DefOverRideFL(const char* name, const char* value, const char* file, int line)
{
    if (!Storable("override", name, value, file, line)) return 1;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.overrides[name].push_back(value);
    Changed(db);
    return 0;
}

int DefUnOverRide(const char* name)
{
    if (!name) return 1;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    const auto found = db.overrides.find(name);
    if (found == db.overrides.end()) return 1;
    found->second.pop_back();
    if (found->second.empty()) db.overrides.erase(found);
    Changed(db);
    return 0;
}

DefOverRideGuard::DefOverRideGuard(const char* name, const std::string& value)
    : m_name(name ? name : ""), m_active(DefOverRideFL(name, value.c_str()) == 0)
{
}

DefOverRideGuard::~DefOverRideGuard()
{
    if (m_active) DefUnOverRide(m_name.c_str());
}

// --- files -------------------------------------------------------------------------

bool DefLoadDefaultsFromText(const std::string& text, std::string* error)
{
    DefContent content;
    if (!ParseOrReport(text, "options text", DefTextKind::Defaults, content, error)) return false;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.defaults = std::move(content);
    Changed(db);
    return true;
}

bool DefLoadDefaults(const std::string& path, std::string* error)
{
    std::string text;
    std::string problem;
    switch (DefFileRead(path, text, problem)) {
    case DefReadResult::Missing:
        Deliver("Cannot open " + path + ": the file does not exist", error);
        return false;
    case DefReadResult::Failed:
        Deliver(problem, error);
        return false;
    case DefReadResult::Read:
        break;
    }
    DefContent content;
    if (!ParseOrReport(text, path, DefTextKind::Defaults, content, error)) return false;
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.defaults = std::move(content);
    Changed(db);
    return true;
}

bool DefLoadUserSettings(const std::string& path, std::string* error)
{
    std::string text;
    std::string problem;
    const DefReadResult read = DefFileRead(path, text, problem);
    if (read == DefReadResult::Failed) {
        Deliver(problem, error);
        return false;
    }
    DefContent content;
    if (!ParseOrReport(text, path, DefTextKind::UserSettings, content, error)) return false;
    std::map<std::string, std::string> user;
    for (auto& [name, variable] : content.variables) user.emplace(name, std::move(variable.values.front().data));
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.user = std::move(user);
    Changed(db);
    db.userFile = path;
    return true;
}

int DefFlush(std::string* error)
{
    Database& db = Db();
    std::lock_guard<std::mutex> flushing(db.flushMutex);
    std::string path;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(db.mutex);
        if (db.userFile.empty()) return 0;
        path = db.userFile;
        text = UserSettingsText(db.user);
    }
    std::string problem;
    if (DefFileMakeFolderFor(path, problem) && SysWriteFileAtomically(path, text, &problem)) return 0;
    Deliver("Error: the options were not saved. " + problem, error);
    return 1;
}

void DefReset()
{
    Database& db = Db();
    std::lock_guard<std::mutex> lock(db.mutex);
    db.defaults = DefContent();
    db.user.clear();
    db.overrides.clear();
    Changed(db);
    db.userFile.clear();
}
