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
#include "imodel/names/ImodelLineText.h"
#include "src/ifile/IfileFileListLines.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <optional>

namespace {

const char kModuleUnderTest[] = "MODULE_UNDER_TEST";
const char kSimulationTime[] = "SIMULATION_TIME";
const char kToolType[] = "TOOL_CONSTRAINT_TYPE";
const char kToolUse[] = "TOOL_CONSTRAINT_USE";
const char kToolSkip[] = "TOOL_CONSTRAINT_SKIP";

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool AnyProfileBreaksFormat(const std::set<std::string>& profiles)
{
    return std::any_of(profiles.begin(), profiles.end(),
                       [](const std::string& profile) { return profile.find_first_of(",\r\n") != std::string::npos; });
}

void WriteFlag(const char* keyword, bool write, bool value, std::ostream* stream)
{
    if (write) IfileObjectEx::WriteMemberElement(keyword, IfileObjectEx::GetBoolStr(value), stream);
}

}  // namespace

// --- writing ----------------------------------------------------------------------------------

void IfileObjectEx::WriteMemberElement(const char* keyword, const std::string& value, std::ostream* stream)
{
    // The reader takes off one quote at either end: a value may hold quotes,
    // but no line break.
    if (stream && ImodelCheckOneLine(*stream, value, keyword)) *stream << keyword << "=\"" << value << "\"\n";
}

void IfileObjectEx::WriteMemberElement(const char* keyword, const std::set<std::string>& values, std::ostream* stream)
{
    if (values.empty() || !stream) return;
    std::string joined;
    for (auto value = values.begin(); value != values.end(); ++value) {
        // The elements are split at "," when read back.
        if (value->find(',') != std::string::npos) {
            ImodelRefuseText(*stream, *value, keyword);
            return;
        }
        joined += (value == values.begin() ? "" : ",") + *value;
    }
    WriteMemberElement(keyword, joined, stream);
}

void IfileObjectEx::StimulusOptions::Write(std::ostream* stream) const
{
    WriteMemberElement(kModuleUnderTest, m_moduleUnderTest, stream);
    WriteMemberElement(kSimulationTime, m_simulationTime, stream);
}

bool IfileObjectEx::CanBeStored() const
{
    // The setters refuse what the format cannot hold; a file that got past
    // them is not written rather than written wrongly.
    const bool parentsStorable =
        std::all_of(m_fields.parents.begin(), m_fields.parents.end(),
                    [](const ParentFile& parent) { return IfileIsStorableName(parent.first.GetInternalFileName()); });
    const bool constraintsStorable =
        std::none_of(m_fields.constraints.begin(), m_fields.constraints.end(), [](const type_Filter& c) {
            return AnyProfileBreaksFormat(c.usedProfiles) || AnyProfileBreaksFormat(c.skippedProfiles);
        });
    return !GetInternalFileName().empty() && IfileIsStorableName(GetInternalFileName()) && parentsStorable &&
           constraintsStorable && !HasLineBreak(m_fields.library) && !HasLineBreak(m_fields.compileSetting) &&
           (!m_fields.stimulus || (!HasLineBreak(m_fields.stimulus->GetModuleUnderTest()) &&
                                   !HasLineBreak(m_fields.stimulus->GetSimulationTime())));
}

bool IfileObjectEx::WriteFileManagerFile(std::ostream* stream) const
{
    if (!stream) return false;
    if (!CanBeStored()) {
        SysDebugPrintf("Error: '%s' cannot be written to the project file.\n", GetInternalFileName().c_str());
        stream->setstate(std::ios::failbit);
        return false;
    }
    Write(stream);
    std::string state;
    GetStrState(state);
    WriteMemberElement("STATE", state, stream);
    if (m_fields.stat && ImodelSaveFileTimeStampInProjectFile()) {
        WriteMemberElement("TIME", std::to_string(m_fields.stat->time), stream);
        WriteMemberElement("SIZE", std::to_string(m_fields.stat->size), stream);
    }
    if (m_fields.library != "work") WriteMemberElement("LIBRARY", m_fields.library, stream);
    WriteCXFAttrs(stream);
    *stream << ifileEndFile << "\n";
    return !stream->fail();
}

void IfileObjectEx::WriteCXFAttrs(std::ostream* stream) const
{
    if (!stream) return;
    std::vector<std::string> parents;
    for (const ParentFile& parent : m_fields.parents) parents.push_back(parent.first.GetInternalFileName());
    std::sort(parents.begin(), parents.end());
    for (const std::string& parent : parents) WriteMemberElement("PARENT", parent, stream);
    if (!m_fields.compileSetting.empty()) WriteMemberElement("COMPILEFLAG", m_fields.compileSetting, stream);
    if (m_fields.stimulus) m_fields.stimulus->Write(stream);
    for (const type_Filter& constraint : m_fields.constraints) {
        std::string keyword;
        ImodelWriteToolNameString(constraint.toolKind, keyword);
        *stream << ifileBeginConstraint << "\n";
        WriteMemberElement(kToolType, keyword, stream);
        WriteMemberElement(kToolUse, constraint.usedProfiles, stream);
        WriteMemberElement(kToolSkip, constraint.skippedProfiles, stream);
        *stream << ifileEndConstraint << "\n";
    }
    WriteFlag("USE_FOR_ANY_TOOL", !m_fields.usedByAllTools, false, stream);
    WriteFlag("IS_READONLY", m_fields.ideReadOnly, true, stream);
    WriteFlag("IS_INCLUDED", m_fields.included, true, stream);
    WriteFlag("IS_ENCRYPTED", m_fields.encrypted, true, stream);
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
    StimulusOptions options =
        file.m_fields.stimulus ? *file.m_fields.stimulus : StimulusOptions(std::string(), std::string());
    (isModule ? options.m_moduleUnderTest : options.m_simulationTime) = value;
    file.m_fields.stimulus = boost::make_shared<StimulusOptions>(options);
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
    m_fields.constraints.push_back(*constraint);
}
