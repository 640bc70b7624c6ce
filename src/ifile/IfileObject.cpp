#include "ifile/IfileObject.h"

#include "iconvert/Iconvert.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <utility>

namespace {

const std::string kViewsFolder = "pallador";
const std::string kViewPrefix = "impl";

std::size_t LastSeparator(const std::string& name) { return name.find_last_of("/\\"); }

std::string WithSeparator(const std::string& folder) { return ifileJoinProjectFolder(folder, std::string()); }

// Whether `text` begins with `prefix`, compared as file names.
bool BeginsWithName(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && ImodelIsSameFileName(text.substr(0, prefix.size()), prefix);
}

bool IsAllDigits(const std::string& text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

IfileObject::IfileObject() = default;

IfileObject::IfileObject(const ImodelFileName& name, zorpaFileManagerTypes type, ImodelFMStringFileType form,
                         bool allowLink, bool usePrjVar)
    : m_type(type)
{
    SetFileName(name, form, usePrjVar);
    if (!allowLink && !IsLocalFile() && !Imodel::GetInstance().IsLinkingEnabled())
        SysDebugPrintf("Error: Created link for file '%s'.\n", name.c_str());
}

IfileObject::IfileObject(const std::string& line, const std::vector<Iconvert*>& converters)
{
    ReadFromFile(line, converters);
}

bool IfileObject::IsPreSynthFileType() const
{
    return m_type >= 0 && m_type < imodelFileManagerTypesCount && imodelFileManagerTypesArray[m_type].preSynth;
}

namespace {

std::atomic<bool> clientDataGiven{false};

}  // namespace

bool IfileObject::AnyClientDataGiven() { return clientDataGiven.load(std::memory_order_relaxed); }

void IfileObject::NoteClientDataGiven() { clientDataGiven.store(true, std::memory_order_relaxed); }

void IfileObject::MoveHeapTextsOut(std::vector<std::string>& out)
{
    MoveHeapText(m_name.GetString(), out);
    MoveHeapText(m_full.text.GetString(), out);
    m_full.stamp = 0;
}

void IfileObject::StoreName(std::string name)
{
    // The full name joined from the name before no longer holds.
    m_full.stamp = 0;
    // A name the project file cannot hold names no file.
    if (!IfileCheckStorableName(name, "file")) {
        m_name.clear();
        return;
    }
    ImodelSetValidSeparator(name, false);
    // Two spellings of one path would be two members of one file.
    ifileResolveDotSegments(name);
    m_name.GetString() = std::move(name);
}

ImodelFileName IfileObject::GetMapKey() const
{
    std::string key = m_name;
    ImodelMakeUpper(key);
    return key;
}

void IfileObject::SetFileName(const ImodelFileName& name, ImodelFMStringFileType form, bool usePrjVar)
{
    ImodelFileName n = name;
    if (form == ImodelFMShort) {
        if (!ImodelGetRelativeFileName(name, n, false, m_type))
            SysDebugPrintf("ERROR: Failed to resolve short file name\n");
        form = ImodelFMRelative;
    }
    bool prefixToken = false;
    if (form == ImodelFMRelative) {
        if (usePrjVar && ifileClimbsOut(n.GetString()) && !ifileProjectFolder().empty()) {
            // "../x" lies outside the project: stored by its absolute name.
            n = UtlResolveDots(WithSeparator(ifileProjectFolder()) + n.GetString());
        } else if (usePrjVar) {
            prefixToken = true;
        } else if (ifileProjectFolder().empty()) {
            SysDebugPrintf("Error: Project Loc not set\n");
        } else {
            n = WithSeparator(ifileProjectFolder()) + n.GetString();
        }
    } else if (form == ImodelFMFull && usePrjVar) {
        ImodelFileName relative;
        if (ImodelGetRelativeFileName(name, relative, true, m_type)) {
            n = relative;
            prefixToken = true;
        }
    }
    if (prefixToken && n.GetString().find(ImodelProjectToken) == std::string::npos)
        n = std::string(ImodelProjectToken) + SysGetDirChar() + n.GetString();
    StoreName(std::move(n.GetString()));
}

// --- names ----------------------------------------------------------------------------

const ImodelFileName& IfileObject::GetFullFileName() const
{
    // Joined under the folder as it stands now, of the name as it stands:
    // neither text is read again (in a large project both are cold). A name
    // outside the project never holds a stamp, nor asks for the folder's.
    if (m_full.stamp != 0 && m_full.stamp == ifileProjectFolderStamp()) return m_full.text;
    if (!ifileStartsWithProjectToken(m_name.GetString())) return m_name;
    const std::string_view rest = ifileStripProjectToken(m_name.GetString());
    const std::string& folder = ifileProjectFolder().GetString();
    std::string& full = m_full.text.GetString();
    if (folder.empty()) {
        SysDebugPrintf("Error: Project Loc not set\n");
        full.assign(rest);
        return m_full.text;
    }
    if (!ifileIsJoinOf(full, folder, rest)) full = ifileJoinProjectFolder(folder, rest);
    m_full.stamp = ifileProjectFolderStamp();
    return m_full.text;
}

ImodelFileName IfileObject::GetFileLocation() const
{
    const std::string& full = GetFullFileName().GetString();
    const std::size_t separator = LastSeparator(full);
    return separator == std::string::npos || separator == 0 ? std::string() : full.substr(0, separator);
}

std::string IfileObject::GetFileTitleAndExt() const { return std::string(ifileTitleOf(m_name.GetString())); }

std::string IfileObject::GetFileTitleNoExt() const
{
    const std::string title = GetFileTitleAndExt();
    const std::size_t dot = title.rfind('.');
    return dot == std::string::npos || dot == 0 ? title : title.substr(0, dot);
}

std::string IfileObject::GetExt() const
{
    // Taken from the title: a dot in a folder name is no extension.
    const std::string title = GetFileTitleAndExt();
    const std::size_t dot = title.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        SysDebugPrintf("Error: in IfileObject::GetExt() for '%s'.\n", m_name.c_str());
        return std::string();
    }
    return title.substr(dot + 1);
}

bool IfileObject::HasValidExt() const
{
    const std::string& name = m_name;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) return false;
    const std::size_t separator = LastSeparator(name);
    if (separator == std::string::npos) return true;
    if (dot <= separator + 1) return false;
    const std::size_t earlierDot = dot == 0 ? std::string::npos : name.rfind('.', dot - 1);
    return earlierDot == std::string::npos || earlierDot < separator;
}

bool IfileObject::IsInFolder(const ImodelFileName& folder) const
{
    // "/srv/p/../x" is not in "/srv/p": both are resolved first.
    const std::string prefix = WithSeparator(UtlResolveDots(folder.GetString()));
    const std::string full = UtlResolveDots(GetFullFileName().GetString());
    return full.size() > prefix.size() && BeginsWithName(full, prefix);
}

bool IfileObject::IsLocalFile() const
{
    if (ifileStartsWithProjectToken(m_name.GetString()))
        return !ifileClimbsOut(ifileStripProjectToken(m_name.GetString()));
    const ImodelFileName& folder = ifileProjectFolder();
    return !folder.empty() && IsInFolder(folder);
}

bool IfileObject::GetRelativeFileName(ImodelFileName& out) const
{
    out.clear();
    if (!ifileStartsWithProjectToken(m_name.GetString())) return false;
    const std::string_view relative = ifileStripProjectToken(m_name.GetString());
    if (ifileClimbsOut(relative)) return false;
    out = std::string(relative);
    return true;
}

ImodelFileName IfileObject::GetRelativeOrFullFileName() const
{
    ImodelFileName relative;
    return GetRelativeFileName(relative) ? relative : GetFullFileName();
}

bool IfileObject::GetRelativeFolder(ImodelFileName& out) const
{
    // Cut from the stored name where it lies: the watcher and the flow ask
    // this of every file, and a copy of the whole relative name is not needed.
    out.clear();
    if (!ifileStartsWithProjectToken(m_name.GetString())) return false;
    const std::string_view relative = ifileStripProjectToken(m_name.GetString());
    if (ifileClimbsOut(relative)) return false;
    const std::size_t separator = relative.find_last_of("/\\");
    if (separator != std::string_view::npos && separator > 0) out = std::string(relative.substr(0, separator));
    return true;
}

bool IfileObject::IsInRelativeFolder(std::string_view folder) const
{
    if (!ifileStartsWithProjectToken(m_name.GetString())) return false;
    const std::string_view relative = ifileStripProjectToken(m_name.GetString());
    if (ifileClimbsOut(relative)) return false;
    const std::size_t separator = relative.find_last_of("/\\");
    const std::string_view own =
        separator != std::string_view::npos && separator > 0 ? relative.substr(0, separator) : std::string_view();
    return own.size() == folder.size() && ImodelIsSameFileName(std::string(own), std::string(folder));
}

ImodelFileName IfileObject::GetRelativeOrFullFolder() const
{
    ImodelFileName folder;
    return GetRelativeFolder(folder) ? folder : GetFileLocation();
}

ImodelFileName IfileObject::GetDisplayFileName() const { return GetRelativeOrFullFileName(); }

std::string IfileObject::GetLinkToDisplayFileName() const
{
    std::string text = GetFileTitleAndExt();
    if (!IsLocalFile()) text += " (Link to: " + GetFullFileName().GetString() + ")";
    return text;
}

std::string IfileObject::GetRelativeDisplayFileName() const
{
    ImodelFileName relative;
    if (GetFileGlobalType() != zorpaFT_GROUP_SYNTHESIS || !GetRelativeFileName(relative)) return GetFileTitleAndExt();
    ImodelFileName folder;
    ImodelGetPathForFile(m_type, folder);
    ImodelGetRelativePath(folder, relative);
    return relative;
}

ImodelFileName IfileObject::GetFileNameRelativeTo(const ImodelFileName& folder) const
{
    ImodelFileName relative;
    if (!GetRelativeFileName(relative)) return GetFullFileName();
    ImodelGetRelativePath(folder, relative);
    return relative;
}

ImodelFileName IfileObject::GetFolderRelativeTo(const ImodelFileName& folder) const
{
    ImodelFileName relative;
    if (!GetRelativeFolder(relative)) return GetFileLocation();
    ImodelGetRelativePath(folder, relative);
    return relative;
}

bool IfileObject::GetFileNameString(ImodelFileName& out, ImodelFMStringFileType form) const
{
    switch (form) {
    case ImodelFMFull:
        out = GetFullFileName();
        return true;
    case ImodelFMRelative:
        if (GetRelativeFileName(out)) return true;
        out = GetFullFileName();
        return false;
    case ImodelFMShort:
        out = GetFileTitleAndExt();
        return true;
    case ImodelFMInternal:
        out = m_name;
        return true;
    }
    out = GetFullFileName();
    return false;
}

std::string IfileObject::GetPathUsingPrjVar(bool folderOnly, const char* variable) const
{
    ImodelFileName relative;
    const bool hasRelative = folderOnly ? GetRelativeFolder(relative) : GetRelativeFileName(relative);
    if (!hasRelative || relative.empty()) return folderOnly ? GetFileLocation() : GetFullFileName();
    return std::string("${") + (variable ? variable : "") + "}" + SysGetDirChar() + relative.GetString();
}

// --- types ------------------------------------------------------------------------------

int IfileObject::GetFileGlobalType() const { return ImodelGetGlobalType(m_type); }

bool IfileObject::GetStrType(std::string& out) const { return IfileGetStrType(out, m_type); }

bool IfileObject::IsBinaryFile() const
{
    return m_type == zorpaFT_VCD || m_type == zorpaFT_ARM_DB || m_type == zorpaFT_BIN || m_type == zorpaFT_PDB;
}

bool IfileObject::IsFileHDL(bool& isVHDL) const
{
    if (!ImodelIsHDLType(m_type)) return false;
    if (!ImodelIsMixedHDLEnabled()) {
        ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
        isVHDL = design && design->IsDefaultVHDL();
        return true;
    }
    const std::string extension = GetExt();
    if (ImodelIsSameStrNoCase(extension, "vhd"))
        isVHDL = true;
    else if (ImodelIsSameStrNoCase(extension, "v") || ImodelIsSameStrNoCase(extension, "h"))
        isVHDL = false;
    return true;
}

zorpaModuleTypes IfileObject::GetModuleType() const
{
    bool isVHDL = false;
    if (m_type == zorpaFT_SCH) return zorpaMODULE_SCHEMATIC;
    if (m_type == zorpaFT_HDL && IsFileHDL(isVHDL)) return isVHDL ? zorpaMODULE_VHDL : zorpaMODULE_VERILOG;
    return zorpaMODULE_UNKNOWN;
}

int IfileObject::GetRevNum() const
{
    // Most files lie elsewhere: they are told without building names.
    if (!ifileStartsWithProjectToken(m_name.GetString())) return -1;
    const std::string_view relative = ifileStripProjectToken(m_name.GetString());
    if (relative.size() <= kViewsFolder.size() + 1 ||
        !UtlIsSameNoCase(relative.substr(0, kViewsFolder.size()), kViewsFolder))
        return -1;
    ImodelFileName folder;
    if (!GetRelativeFolder(folder)) return -1;
    const std::string& text = folder;
    if (text.size() <= kViewsFolder.size() + 1 || !BeginsWithName(text, kViewsFolder) ||
        !ifileIsSeparator(text[kViewsFolder.size()]))
        return -1;
    std::string view = text.substr(kViewsFolder.size() + 1);
    const std::size_t separator = LastSeparator(view);
    if (separator != std::string::npos && separator > 0) view.erase(separator);
    if (view.size() <= kViewPrefix.size() || !BeginsWithName(view, kViewPrefix)) return -1;
    // Only a clean number names a view: "impl2/sub" has been cut to "impl2"
    // above, anything else (a sign, blanks, a deeper folder) is no view.
    const std::string number = view.substr(kViewPrefix.size());
    int revision = -1;
    if (!IsAllDigits(number) || !UtlConvertToInteger(number, revision)) return -1;
    return revision;
}

bool IfileObject::IsInCurRev() const
{
    const int revision = GetRevNum();
    if (revision == -1) return true;
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    return revision == (revisions ? revisions->GetCurrentRevisionNumber() : 0);
}

// --- comparison --------------------------------------------------------------------------

bool IfileObject::operator==(const IfileObject& other) const { return this == &other || m_name == other.m_name; }

bool IfileObject::operator<(const IfileObject& other) const { return m_name < other.m_name; }

bool IfileObject::IsSameFileName::operator()(const IfileObject& file) const
{
    ImodelFileName name;
    return file.GetFileNameString(name, m_form) && name == m_name;
}

// --- project-file line --------------------------------------------------------------------

std::string IfileObject::GetWriteFileLine() const
{
    std::string keyword;
    IfileGetStrType(keyword, m_type);
    return m_name.GetString() + "," + keyword;
}

void IfileObject::Write(std::ostream* stream) const
{
    if (!stream) return;
    // The value goes between quotes on one line: a name that could not stand
    // there (refused where values are made) is not written either, nor an
    // empty name, which names no file.
    if (m_name.empty()) {
        ImodelRefuseText(*stream, m_name, "empty file name");
        return;
    }
    if (ImodelCheckQuotable(*stream, m_name, "file name")) *stream << "VALUE \"" << GetWriteFileLine() << "\"\n";
}

void IfileObject::ParseFileLine(const std::string& line, std::vector<std::string>& pieces)
{
    std::size_t start = 0;
    for (std::size_t comma = line.find(','); comma != std::string::npos; comma = line.find(',', start)) {
        pieces.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    pieces.push_back(line.substr(start));
}

bool IfileObject::ReadFromFile(const std::string& line, const std::vector<Iconvert*>& converters)
{
    // Keywords never hold a comma and file names may: the keyword is what
    // follows the last comma.
    const std::size_t comma = line.rfind(',');
    ImodelFileName name = line.substr(0, comma);
    std::string keyword;
    if (comma != std::string::npos) {
        keyword = line.substr(comma + 1);
        for (Iconvert* converter : converters) converter->FoundNewProjectFile(name, keyword);
    }
    StoreName(std::move(name.GetString()));
    if (comma != std::string::npos) ReadStrType(keyword, m_type, converters);
    for (Iconvert* converter : converters) converter->ConvertObjectFromProjectFile(*this);
    IfileNamesInCopy::Apply(*this);
    IfileRenamesInCase::Apply(*this);
    return true;
}
