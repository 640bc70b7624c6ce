// A member file's lines in the project file's file-list block:
//
//   VALUE "<stored name>,<type keyword>"
//   STATE="utd"                      always ("utd", "ood" or "absent")
//   TIME="<n>" / SIZE="<n>"          the disk stamp, when stamps are saved
//   LIBRARY="<name>"                 unless "work"
//   PARENT="<stored name>"           per parent, sorted by name
//   COMPILEFLAG="<text>"             unless empty
//   MODULE_UNDER_TEST="<text>"       with stimulus options, and then
//   SIMULATION_TIME="<text>"
//   BEGIN_USE_CONSTRAINT             per tool constraint, in list order:
//   TOOL_CONSTRAINT_TYPE="<tool>"      its tool keyword,
//   TOOL_CONSTRAINT_USE="<a>,<b>"      used profiles (unless none),
//   TOOL_CONSTRAINT_SKIP="<c>"         skipped profiles (unless none)
//   END_USE_CONSTRAINT
//   USE_FOR_ANY_TOOL="FALSE"         when not used by all tools
//   IS_READONLY="TRUE" / IS_INCLUDED="TRUE" / IS_ENCRYPTED="TRUE"
//   ENDFILE
//
// Stamps are written as 64-bit decimals; the reader takes numbers of either
// width, so projects written with 32-bit stamps read as they are.
#include "ifile/IfileObjectEx.h"

#include "ifile/IfileFunctions.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelLineText.h"
#include "src/ifile/IfileFileListLines.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

const char kModuleUnderTest[] = "MODULE_UNDER_TEST";
const char kSimulationTime[] = "SIMULATION_TIME";
const char kToolType[] = "TOOL_CONSTRAINT_TYPE";
const char kToolUse[] = "TOOL_CONSTRAINT_USE";
const char kToolSkip[] = "TOOL_CONSTRAINT_SKIP";

// Set while a file is formatted without tracing what cannot be stored.
thread_local bool t_quiet = false;

void TraceRefused(std::string_view text, const char* keyword)
{
    if (!t_quiet) ImodelTraceRefusedText(text, keyword);
}

// The lines of a file's block, appended to one text: a project of many
// files is formatted without a stream operation per value. A value that
// cannot be stored is refused with a trace and marks the text as failed.
class BlockText {
public:
    explicit BlockText(std::string& out) : m_out(out) {}

    bool Failed() const { return m_failed; }

    void Line(std::string_view text) { m_out.append(text).push_back('\n'); }

    // KEYWORD="value" for a value of our own making (a state, a number, a
    // flag): nothing to check.
    void Known(const char* keyword, std::string_view value)
    {
        m_out.append(keyword).append("=\"").append(value).append("\"\n");
    }

    // KEYWORD="value"
    void Member(const char* keyword, std::string_view value)
    {
        if (!ImodelIsOneLine(value)) {
            TraceRefused(value, keyword);
            m_failed = true;
            return;
        }
        m_out.append(keyword).append("=\"").append(value).append("\"\n");
    }

    // The elements joined by "," (they are split there when read back);
    // nothing for an empty set.
    void Member(const char* keyword, const std::set<std::string>& values)
    {
        if (values.empty()) return;
        std::string joined;
        for (const std::string& value : values) {
            if (value.find(',') != std::string::npos) {
                TraceRefused(value, keyword);
                m_failed = true;
                return;
            }
            if (&value != &*values.begin()) joined += ',';
            joined += value;
        }
        Member(keyword, joined);
    }

    void Flag(const char* keyword, bool write, bool value)
    {
        if (write) Known(keyword, IfileObjectEx::GetBoolStr(value));
    }

private:
    std::string& m_out;
    bool m_failed = false;
};

constexpr std::size_t LongestTypeKeyword()
{
    std::size_t longest = 0;
    for (const imodelFileManagerTypesEntry& entry : imodelFileManagerTypesArray)
        longest = std::max(longest, std::string_view(entry.keyword).size());
    return longest;
}
constexpr std::size_t kLongestTypeKeyword = LongestTypeKeyword();

// The fixed lines at a file's head (the end of its VALUE line, its state
// and its stamp), gathered in place and appended to the text at once: a
// project of a hundred thousand files would otherwise make a dozen small
// appends and two general number conversions per file.
class HeadLines {
public:
    template <std::size_t N>
    void Put(const char (&literal)[N])
    {
        Put(std::string_view(literal, N - 1));
    }
    void Put(std::string_view text)
    {
        std::memcpy(m_end, text.data(), text.size());
        m_end += text.size();
    }
    // The decimal digits of `number`, as std::to_chars writes them.
    void Number(std::int64_t number)
    {
        std::uint64_t magnitude = static_cast<std::uint64_t>(number);
        if (number < 0) {
            *m_end++ = '-';
            magnitude = 0 - magnitude;
        }
        // Eight digits at a time in 32 bits, two by two from a table: a
        // stamp in nanoseconds has nineteen.
        constexpr std::uint64_t kEight = 100000000;
        if (magnitude < kEight) {
            Short(static_cast<std::uint32_t>(magnitude));
        } else if (magnitude < kEight * kEight) {
            Short(static_cast<std::uint32_t>(magnitude / kEight));
            Eight(static_cast<std::uint32_t>(magnitude % kEight));
        } else {
            const std::uint64_t high = magnitude / kEight;
            Short(static_cast<std::uint32_t>(high / kEight));
            Eight(static_cast<std::uint32_t>(high % kEight));
            Eight(static_cast<std::uint32_t>(magnitude % kEight));
        }
    }
    void AppendTo(std::string& out) const { out.append(m_text, static_cast<std::size_t>(m_end - m_text)); }

private:
    static const char* Pair(std::uint32_t pair)
    {
        static constexpr char kPairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        return kPairs + 2 * pair;
    }
    // Below 10^8, without leading zeros.
    void Short(std::uint32_t value)
    {
        char digits[8];
        char* at = digits + sizeof digits;
        while (value >= 100) {
            at -= 2;
            std::memcpy(at, Pair(value % 100), 2);
            value /= 100;
        }
        if (value >= 10) {
            at -= 2;
            std::memcpy(at, Pair(value), 2);
        } else {
            *--at = static_cast<char>('0' + value);
        }
        Put(std::string_view(at, static_cast<std::size_t>(digits + sizeof digits - at)));
    }
    // Below 10^8, as eight digits.
    void Eight(std::uint32_t value)
    {
        const std::uint32_t high = value / 10000;
        const std::uint32_t low = value % 10000;
        std::memcpy(m_end, Pair(high / 100), 2);
        std::memcpy(m_end + 2, Pair(high % 100), 2);
        std::memcpy(m_end + 4, Pair(low / 100), 2);
        std::memcpy(m_end + 6, Pair(low % 100), 2);
        m_end += 8;
    }

    // The longest head: ",<keyword>\"", the state and two stamps.
    char m_text[kLongestTypeKeyword + 96];
    char* m_end = m_text;
};

// Writes the text to the stream, or fails the stream when the text failed.
bool Deliver(const std::string& text, bool failed, std::ostream& stream)
{
    if (failed)
        stream.setstate(std::ios::failbit);
    else
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    return !stream.fail();
}

}  // namespace

// --- writing ----------------------------------------------------------------------------------

void IfileObjectEx::WriteMemberElement(const char* keyword, const std::string& value, std::ostream* stream)
{
    if (!stream) return;
    std::string text;
    BlockText block(text);
    // The reader takes off one quote at either end: a value may hold quotes,
    // but no line break.
    block.Member(keyword, value);
    Deliver(text, block.Failed(), *stream);
}

void IfileObjectEx::WriteMemberElement(const char* keyword, const std::set<std::string>& values, std::ostream* stream)
{
    if (!stream) return;
    std::string text;
    BlockText block(text);
    block.Member(keyword, values);
    Deliver(text, block.Failed(), *stream);
}

void IfileObjectEx::StimulusOptions::Write(std::ostream* stream) const
{
    WriteMemberElement(kModuleUnderTest, m_moduleUnderTest, stream);
    WriteMemberElement(kSimulationTime, m_simulationTime, stream);
}

bool IfileObjectEx::WriteFileManagerFile(std::ostream* stream) const
{
    if (!stream) return false;
    std::string text;
    const bool written = AppendFileManagerFile(text);
    return Deliver(text, !written, *stream) && written;
}

bool IfileObjectEx::AppendFileManagerFile(std::string& out) const
{
    return AppendFileManagerFile(out, ImodelSaveFileTimeStampInProjectFile());
}

bool IfileObjectEx::AppendFileManagerFile(std::string& out, bool withStamps) const
{
    // The setters refuse what the format cannot hold; a file that got past
    // them is not written rather than written wrongly (nothing of it stays
    // in `out`).
    const std::string& name = GetInternalFileName().GetString();
    if (name.empty() || !IfileIsStorableName(name)) return CannotBeStored();
    const std::size_t start = out.size();
    BlockText block(out);
    out.append("VALUE \"").append(name);
    HeadLines head;
    head.Put(",");
    head.Put(std::string_view(ifileTypeKeyword(GetFileType())));
    head.Put(m_fields.state == imodelFileUpToDate    ? "\"\nSTATE=\"utd\"\n"
             : m_fields.state == imodelFileOutOfDate ? "\"\nSTATE=\"ood\"\n"
                                                     : "\"\nSTATE=\"absent\"\n");
    if (m_fields.stat && withStamps) {
        head.Put("TIME=\"");
        head.Number(m_fields.stat->time);
        head.Put("\"\nSIZE=\"");
        head.Number(m_fields.stat->size);
        head.Put("\"\n");
    }
    head.AppendTo(out);
    if (m_fields.library != "work") block.Member("LIBRARY", m_fields.library);
    const bool attributes = AppendCXFAttrs(out);
    block.Line(ifileEndFile);
    if (block.Failed() || !attributes) {
        out.resize(start);
        return CannotBeStored();
    }
    return true;
}

bool IfileObjectEx::AppendFileManagerFileQuietly(std::string& out, bool withStamps) const
{
    struct Quiet {
        Quiet() { t_quiet = true; }
        ~Quiet() { t_quiet = false; }
    } quiet;
    return AppendFileManagerFile(out, withStamps);
}

bool IfileObjectEx::CannotBeStored() const
{
    if (!t_quiet) SysDebugPrintf("Error: '%s' cannot be written to the project file.\n", GetInternalFileName().c_str());
    return false;
}

void IfileObjectEx::WriteCXFAttrs(std::ostream* stream) const
{
    if (!stream) return;
    std::string text;
    const bool written = AppendCXFAttrs(text);
    Deliver(text, !written, *stream);
}

bool IfileObjectEx::AppendCXFAttrs(std::string& out) const
{
    BlockText block(out);
    const RareFields& rare = Rare();
    // Parents in the plain order of their stored names; a name the format
    // cannot hold fails the file.
    // Most files have one parent or none: no list is made for them.
    const auto storable = [](const ParentFile& parent) {
        return IfileIsStorableName(parent.first.GetInternalFileName());
    };
    if (!std::all_of(rare.parents.begin(), rare.parents.end(), storable)) return false;
    if (rare.parents.size() == 1) {
        block.Member("PARENT", rare.parents.front().first.GetInternalFileName().GetString());
    } else if (rare.parents.size() > 1) {
        std::vector<const std::string*> parents;
        parents.reserve(rare.parents.size());
        for (const ParentFile& parent : rare.parents)
            parents.push_back(&parent.first.GetInternalFileName().GetString());
        std::sort(parents.begin(), parents.end(), [](const std::string* a, const std::string* b) { return *a < *b; });
        for (const std::string* parent : parents) block.Member("PARENT", *parent);
    }
    if (!rare.compileSetting.empty()) block.Member("COMPILEFLAG", rare.compileSetting);
    if (rare.stimulus) {
        block.Member(kModuleUnderTest, rare.stimulus->GetModuleUnderTest());
        block.Member(kSimulationTime, rare.stimulus->GetSimulationTime());
    }
    for (const type_Filter& constraint : rare.constraints) {
        std::string keyword;
        ImodelWriteToolNameString(constraint.toolKind, keyword);
        block.Line(ifileBeginConstraint);
        block.Member(kToolType, keyword);
        block.Member(kToolUse, constraint.usedProfiles);
        block.Member(kToolSkip, constraint.skippedProfiles);
        block.Line(ifileEndConstraint);
    }
    block.Flag("USE_FOR_ANY_TOOL", !m_fields.usedByAllTools, false);
    block.Flag("IS_READONLY", m_fields.ideReadOnly, true);
    block.Flag("IS_INCLUDED", m_fields.included, true);
    block.Flag("IS_ENCRYPTED", m_fields.encrypted, true);
    return !block.Failed();
}

// --- reading -------------------------------------------------------------------------------------

void IfileObjectEx::ReadBool(const std::string& text, bool& flag)
{
    if (text == GetBoolStr(!flag)) flag = !flag;
}

bool IfileObjectEx::ReadStrState(const std::string& text, imodelFileState& state)
{
    state = text == "ood" ? imodelFileOutOfDate : text == "utd" ? imodelFileUpToDate : imodelFileAbsent;
    return true;
}

IfileObjectEx::IfileObjectEx(std::vector<std::string>::const_iterator& it, const std::vector<std::string>& lines,
                             const std::vector<Iconvert*>& converters)
    : IfileObject(*it, converters)
{
    MyReadFromFile(it, lines);
}

void IfileObjectEx::MyReadFromFile(std::vector<std::string>::const_iterator& it, const std::vector<std::string>& lines)
{
    if (it == lines.end()) return;
    const LineIterator start = it;
    const LineIterator stop = ifileFileBlockEnd(std::next(start), lines.end());
    for (it = std::next(start); it != stop; ++it) ReadMemberLine(it, stop);
    it = ifileLastLineOfBlock(start, lines.end());
}

void IfileObjectEx::ReadMemberLine(LineIterator& it, LineIterator stop)
{
    struct MemberReader {
        const char* keyword;
        Reader read;
    };
    static const MemberReader kReaders[] = {
        {"LIBRARY", &IfileObjectEx::ReadLibrary},
        {"STATE", &IfileObjectEx::ReadState},
        {"TIME", &IfileObjectEx::ReadTime},
        {"SIZE", &IfileObjectEx::ReadSize},
        {"PARENT", &IfileObjectEx::ReadParent},
        {"COMPILEFLAG", &IfileObjectEx::ReadCompileFlag},
        {"USE_FOR_ANY_TOOL", &IfileObjectEx::ReadUseForAnyTool},
        {"IS_READONLY", &IfileObjectEx::ReadIsReadOnly},
        {"IS_INCLUDED", &IfileObjectEx::ReadIsIncluded},
        {"IS_ENCRYPTED", &IfileObjectEx::ReadIsEncrypted},
    };
    const std::string& line = *it;
    for (const MemberReader& reader : kReaders)
        if (ReadMemberElement(reader.keyword, line, reader.read)) return;
    if (StimulusOptions::Read(line, *this)) return;
    if (ifileIsBlockWord(line, ifileBeginConstraint) && std::next(it) != stop) {
        ++it;
        ReadUseForToolSetting(it, stop);
    }
    // Any other line is ignored.
}

bool IfileObjectEx::ReadMemberElement(const char* keyword, const std::string& line, Reader reader)
{
    std::string value;
    if (!ifileMemberValue(keyword, line, value)) return false;
    (this->*reader)(value);
    return true;
}

SysStatInfo& IfileObjectEx::StampToRead()
{
    // A stamp read alone starts from zeros.
    if (!m_fields.stat) m_fields.stat.emplace();
    return *m_fields.stat;
}

void IfileObjectEx::ReadTime(const std::string& value)
{
    // Project files written by earlier releases store whole seconds; ours
    // store nanoseconds. A value below this bound (the year 2255 in seconds,
    // nine seconds after 1970 in nanoseconds) is taken as seconds.
    constexpr long long kLargestSeconds = 9'000'000'000LL;
    long long time = 0;
    if (!UtlConvertToLong(value, time)) return;
    if (time > -kLargestSeconds && time < kLargestSeconds) time *= kNanosecondsPerSecond;
    StampToRead().time = time;
}

void IfileObjectEx::ReadSize(const std::string& value)
{
    long long size = 0;
    if (UtlConvertToLong(value, size) && size >= 0) StampToRead().size = size;
}

bool IfileObjectEx::StimulusOptions::Read(const std::string& line, IfileObjectEx& file)
{
    std::string value;
    const bool isModule = ifileMemberValue(kModuleUnderTest, line, value);
    if (!isModule && !ifileMemberValue(kSimulationTime, line, value)) return false;
    const boost::shared_ptr<const StimulusOptions>& held = file.Rare().stimulus;
    StimulusOptions options = held ? *held : StimulusOptions(std::string(), std::string());
    (isModule ? options.m_moduleUnderTest : options.m_simulationTime) = value;
    file.UseRare().stimulus = boost::make_shared<StimulusOptions>(options);
    return true;
}

void IfileObjectEx::ReadUseForToolSetting(LineIterator& it, LineIterator stop)
{
    std::optional<type_Filter> constraint;
    std::vector<std::string> kept;
    for (; it != stop; ++it) {
        const std::string& line = *it;
        // A line of the file's own block ends a block whose end is missing.
        if (ifileIsBlockWord(line, ifileEndConstraint) || line.rfind("TOOL_CONSTRAINT_", 0) != 0) break;
        std::string value;
        ImodelFunctionType kind = ideSYNTHESIS;
        if (ifileMemberValue(kToolType, line, value) && ImodelReadToolNameString(kind, value))
            constraint.emplace(kind, std::string());
        else
            kept.push_back(line);
    }
    if (it == stop || !ifileIsBlockWord(*it, ifileEndConstraint)) --it;
    if (!constraint) return;
    for (const std::string& line : kept) {
        std::string value;
        std::set<std::string>* profiles = ifileMemberValue(kToolUse, line, value)    ? &constraint->usedProfiles
                                          : ifileMemberValue(kToolSkip, line, value) ? &constraint->skippedProfiles
                                                                                     : nullptr;
        if (!profiles) continue;
        std::vector<std::string> pieces;
        ParseFileLine(value, pieces);
        profiles->insert(pieces.begin(), pieces.end());
    }
    UseRare().constraints.push_back(*constraint);
}
