#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/options/ImodelPhySynthesisDefaults.h"

#include "ifile/IfileFunctions.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

const char* const kEndList = "ENDLIST";
const char* const kConstraints = "Constraints";
const char* const kEndConstraints = "ENDConstraints";
const char* const kOptionalFiles = "OptionalFiles";
const char* const kEndOptionalFiles = "ENDOptionalFiles";

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

// What a new record holds.
constexpr bool kDefaultGenPinConstraints = true;
// Views: a save compares every unit's texts with them, lengths first.
constexpr std::string_view kDefaultLogSynthEffort = "3";
constexpr std::string_view kDefaultPhySynthEffort = "1";
constexpr std::string_view kDefaultRelaxDelay = "0";
constexpr std::string_view kDefaultMaxCoreCell = "100";

// The parser of the project file hands a file line over as the text of its
// VALUE line; the line as written is taken too.
std::string FileLineText(const std::string& line)
{
    const std::string prefix = "VALUE \"";
    if (StartsWith(line, prefix.c_str()) && line.size() > prefix.size() && line.back() == '"')
        return line.substr(prefix.size(), line.size() - prefix.size() - 1);
    return line;
}

// A constraint file named by its path: "<project>/..." as stored, an absolute
// path, or a path relative to the project.
IfileObject FileOfPath(const std::string& path, zorpaFileManagerTypes type)
{
    if (StartsWith(path, ImodelProjectToken)) return IfileObject(path, type, ImodelFMInternal, true, true);
    if (StartsWith(path, "/")) return IfileObject(path, type, ImodelFMFull, true, true);
    return IfileObject(path, type, ImodelFMRelative, true, true);
}

// Separators become the directory character; a bare file name lies in the
// project's constraint folder. Empty for a name that names no file: its
// last part "." or ".." or nothing, a folder. A path whose "." and ".."
// leave no folder in it ("./top.sdc", "x/../top.sdc") names a file of the
// project folder: it keeps the project's token in front, as the file is
// written back, or the next read would take it for a bare name and place it
// in the constraint folder.
std::string PlaceConstraintFile(std::string name)
{
    const char dirChar = SysGetDirChar();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '/' || c == '\\'; }, dirChar);
    const std::size_t lastDir = name.rfind(dirChar);
    const std::string_view last = std::string_view(name).substr(lastDir == std::string::npos ? 0 : lastDir + 1);
    if (last.empty() || last == "." || last == "..") return std::string();
    if (lastDir != std::string::npos) {
        if (StartsWith(name, ImodelProjectToken) || name.front() == dirChar) return name;
        const std::string resolved = UtlResolveDots(name);
        if (resolved.find(dirChar) != std::string::npos) return name;
        return std::string(ImodelProjectToken) + dirChar + resolved;
    }
    ImodelFileName path;
    ImodelGetFullPathForFileWithThisLoc(ImodelFileName(name), zorpaFT_GROUP_CONSTRAINT, path, ImodelFileName());
    std::string placed = path.GetString();
    if (!placed.empty() && placed.front() == dirChar) placed.erase(0, 1);
    return placed;
}

// A file name alone, or a stored entry: the name, "," and the type keyword.
IfileObject ReadConstraintLine(const std::string& line, const std::vector<Iconvert*>& converters)
{
    const std::string text = FileLineText(line);
    const std::size_t comma = text.rfind(',');
    const std::string name = PlaceConstraintFile(text.substr(0, comma));
    if (name.empty()) return IfileObject();
    if (comma != std::string::npos) return IfileObject(name + text.substr(comma), converters);
    return FileOfPath(name, IfileObject::GetConstrFileType(name));
}

// "<file name>;<state>", the state 0 (used) or 1 (not used).
bool ReadOptionalFile(const std::string& line, std::string& name, OptionalFileState& state)
{
    const std::size_t separator = line.rfind(';');
    if (separator == std::string::npos || separator == 0) return false;
    int value = -1;
    const char* first = line.data() + separator + 1;
    const char* last = line.data() + line.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || (value != OptionalFileUsed && value != OptionalFileNotUsed))
        return false;
    name = line.substr(0, separator);
    state = static_cast<OptionalFileState>(value);
    return true;
}

}  // namespace

// The option lines, in the order they are written.
struct ImodelPhySynthesisOptions::Keys {
    struct BoolKey {
        const char* key;
        bool ImodelPhySynthesisOptions::*member;
    };
    struct TextKey {
        const char* key;
        std::string ImodelPhySynthesisOptions::*member;
    };
    static constexpr BoolKey kBools[] = {
        {"GenPinConstraints", &ImodelPhySynthesisOptions::m_genPinConstraints},
        {"UseSynplifySDC", &ImodelPhySynthesisOptions::m_useSynplifySDC},
    };
    static constexpr TextKey kTexts[] = {
        {"LogSynthEffort", &ImodelPhySynthesisOptions::m_logSynthEffort},
        {"PhySynthEffort", &ImodelPhySynthesisOptions::m_phySynthEffort},
        {"RelaxDelay", &ImodelPhySynthesisOptions::m_relaxDelay},
        {"MaxCoreCell", &ImodelPhySynthesisOptions::m_maxCoreCell},
    };
};

ImodelPhySynthesisOptions::ImodelPhySynthesisOptions() { SetDefaultPhySynthOpt(); }

ImodelPhySynthesisOptions::~ImodelPhySynthesisOptions() = default;

bool ImodelPhySynthesisOptions::operator==(const ImodelPhySynthesisOptions& other) const
{
    return m_genPinConstraints == other.m_genPinConstraints && m_useSynplifySDC == other.m_useSynplifySDC &&
           m_logSynthEffort == other.m_logSynthEffort && m_phySynthEffort == other.m_phySynthEffort &&
           m_relaxDelay == other.m_relaxDelay && m_maxCoreCell == other.m_maxCoreCell &&
           m_constraintFiles == other.m_constraintFiles;
}

void ImodelPhySynthesisOptions::SetDefaultPhySynthOpt(ImodelModule*)
{
    m_genPinConstraints = kDefaultGenPinConstraints;
    m_logSynthEffort = kDefaultLogSynthEffort;
    m_phySynthEffort = kDefaultPhySynthEffort;
    m_relaxDelay = kDefaultRelaxDelay;
    m_maxCoreCell = kDefaultMaxCoreCell;
    m_constraintFiles.clear();
    m_useSynplifySDC = ImodelDefaultUseSynplifySDC();
}

bool ImodelDefaultUseSynplifySDC()
{
    // Read for every unit made.
    static ImodelSwitchMemo memo("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT");
    return memo.IsOn();
}

ImodelUnitPhySynthesisOptions::ImodelUnitPhySynthesisOptions() : m_useSynplifySDC(ImodelDefaultUseSynplifySDC()) {}

namespace {

const ImodelPhySynthesisOptions& DefaultRecord(bool useSynplifySDC)
{
    const auto made = [](bool on) {
        ImodelPhySynthesisOptions record;
        record.SetUseSynplifySDC(on);
        return record;
    };
    static const ImodelPhySynthesisOptions on = made(true);
    static const ImodelPhySynthesisOptions off = made(false);
    return useSynplifySDC ? on : off;
}

}  // namespace

const ImodelPhySynthesisOptions& ImodelUnitPhySynthesisOptions::Get() const
{
    return m_options.Made() ? m_options.Get() : DefaultRecord(m_useSynplifySDC);
}

ImodelPhySynthesisOptions& ImodelUnitPhySynthesisOptions::Use()
{
    if (!m_options.Made()) m_options.Use().SetUseSynplifySDC(m_useSynplifySDC);
    return m_options.Use();
}

void ImodelUnitPhySynthesisOptions::Settle()
{
    if (m_options.Made() && m_options.Get() == DefaultRecord(m_useSynplifySDC)) m_options.Reset();
}

bool ImodelPhySynthesisOptions::IsCustomized(ImodelModule*) const
{
    // The options variable read last: most units keep every default.
    return ImodelIsPhySynthCustomized(*this, m_useSynplifySDC) || m_useSynplifySDC != ImodelDefaultUseSynplifySDC();
}

bool ImodelIsPhySynthCustomized(const ImodelPhySynthesisOptions& options, bool defaultUseSynplifySDC)
{
    return options.GetGenPinConstraints() != kDefaultGenPinConstraints ||
           options.GetLogSynthEffort() != kDefaultLogSynthEffort ||
           options.GetPhySynthEffort() != kDefaultPhySynthEffort || options.GetRelaxDelay() != kDefaultRelaxDelay ||
           options.GetMaxCoreCell() != kDefaultMaxCoreCell || !options.GetConstraintFileList().empty() ||
           options.GetUseSynplifySDC() != defaultUseSynplifySDC;
}

void ImodelPhySynthesisOptions::WriteToFile(std::ostream* stream) const
{
    if (!stream) return;
    for (const Keys::BoolKey& entry : Keys::kBools)
        *stream << entry.key << '=' << (this->*entry.member ? "TRUE" : "FALSE") << '\n';
    for (const Keys::TextKey& entry : Keys::kTexts)
        if (ImodelCheckOneLine(*stream, this->*entry.member, entry.key))
            *stream << entry.key << '=' << this->*entry.member << '\n';
    IfileWriteFileList(m_constraintFiles.Get(), stream, kConstraints, kEndConstraints);
}

void ImodelPhySynthesisOptions::ReadFromFile(std::vector<std::string>& lines, const std::vector<Iconvert*>& converters)
{
    SetDefaultPhySynthOpt();
    enum class List {
        None,
        Constraints,
        OptionalFiles
    } list = List::None;
    // The lines read are removed in one step at the end: the vector may hold
    // the rest of a large project file.
    std::size_t consumed = 0;
    while (consumed < lines.size()) {
        std::string line = lines[consumed++];
        // Project files written on Windows read alike.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        // The block's end also ends a list whose closing line is missing:
        // a damaged block never reaches into the next one.
        if (line == kEndList) break;
        if (list == List::Constraints) {
            if (line == kEndConstraints)
                list = List::None;
            else if (!line.empty()) {
                // A name the project file cannot hold names no file.
                IfileObject file = ReadConstraintLine(line, converters);
                if (!file.GetInternalFileName().empty()) m_constraintFiles.Use().push_back(std::move(file));
            }
        } else if (list == List::OptionalFiles) {
            if (line == kEndOptionalFiles)
                list = List::None;
            else
                ReadOptionalFileLine(FileLineText(line));
        } else if (StartsWith(line, kConstraints)) {
            list = List::Constraints;
        } else if (StartsWith(line, kOptionalFiles)) {
            m_useSynplifySDC = false;
            list = List::OptionalFiles;
        } else {
            ReadOptionLine(line);
        }
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(consumed));
}

void ImodelPhySynthesisOptions::ReadOptionLine(const std::string& line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    for (const Keys::BoolKey& entry : Keys::kBools)
        if (key == entry.key) this->*entry.member = ImodelIsSameStrNoCase(value, "TRUE");
    // An empty number keeps its default.
    for (const Keys::TextKey& entry : Keys::kTexts)
        if (key == entry.key && !value.empty() && ImodelIsOneLine(value)) this->*entry.member = value;
}

void ImodelPhySynthesisOptions::ReadOptionalFileLine(const std::string& line)
{
    std::string name;
    OptionalFileState state = OptionalFileNotUsed;
    if (!ReadOptionalFile(line, name, state) || state != OptionalFileUsed) return;
    m_useSynplifySDC = true;
    const std::string placed = PlaceConstraintFile(name);
    if (placed.empty()) return;
    const IfileObject file = FileOfPath(placed, zorpaFT_SYN_SDC);
    if (!file.GetInternalFileName().empty() && std::find(m_constraintFiles.Get().begin(), m_constraintFiles.Get().end(),
                                                         file) == m_constraintFiles.Get().end())
        m_constraintFiles.Use().push_front(file);
}

bool ImodelPhySynthesisOptions::SetLogSynthEffort(const std::string& value) { return SetText(m_logSynthEffort, value); }
bool ImodelPhySynthesisOptions::SetPhySynthEffort(const std::string& value) { return SetText(m_phySynthEffort, value); }
bool ImodelPhySynthesisOptions::SetRelaxDelay(const std::string& value) { return SetText(m_relaxDelay, value); }
bool ImodelPhySynthesisOptions::SetMaxCoreCell(const std::string& value) { return SetText(m_maxCoreCell, value); }

bool ImodelPhySynthesisOptions::SetText(std::string& field, const std::string& value)
{
    if (!IfileCheckStorableName(value, "option")) return false;
    field = value;
    return true;
}

void ImodelPhySynthesisOptions::SetConstraintFileList(const std::deque<IfileObject>& files,
                                                      const ImodelOptionalFiles* optionalFiles)
{
    m_constraintFiles = files;
    if (optionalFiles && optionalFiles->size() == 1)
        m_useSynplifySDC = optionalFiles->front().second == OptionalFileUsed;
}
