#include "icmd/args/IcmdTCLFileArg.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelGetFullPathParam.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <algorithm>

namespace {

using File = boost::shared_ptr<IfileObjectEx>;

bool StartsWithProjectToken(const std::string& text) { return text.rfind(ImodelProjectToken, 0) == 0; }

// A stored name holds the project token only at its start, where it stands
// for the project folder: a path with the token inside names no file the
// project can keep.
bool HoldsProjectToken(const std::string& path) { return path.find(ImodelProjectToken) != std::string::npos; }

// The entry of a name given in the project-relative form. With a project
// folder the name is first made a full path, "." and ".." resolved, so that
// a name that leaves the folder is taken for the outside file it is.
File EntryOfRelativeName(const std::string& relative, zorpaFileManagerTypes type, bool acceptOutside)
{
    const ImodelFileName& folder = Imodel::GetInstance().GetDesignManager()->GetProjectFolder();
    if (HoldsProjectToken(relative)) return File();
    if (folder.empty()) return IfileManagerGetRealObject(relative, ImodelFMRelative, type, true, acceptOutside);
    const std::string full = SysGetQualifiedPath(folder.GetString() + SysGetDirChar() + relative);
    return IfileManagerGetRealObject(full, ImodelFMFull, type, true, acceptOutside);
}

}  // namespace

// --- conversion functions ---------------------------------------------------------------

File IcmdGetFileObjectFromTCLArgValue(const std::string& value, const std::string& revisionName,
                                      zorpaFileManagerTypes type, bool allowProjectToken, bool acceptOutside)
{
    std::string name = value;
    ImodelSetValidSeparator(name, false);
    const char separator = SysGetDirChar();
    if (allowProjectToken && StartsWithProjectToken(name)) {
        std::string relative = name.substr(std::string(ImodelProjectToken).size());
        relative.erase(0, relative.find_first_not_of(separator));
        // "<project>" alone names the folder, not a file.
        if (relative.empty()) return File();
        return EntryOfRelativeName(relative, type, acceptOutside);
    }
    if (name.empty()) return File();
    if (name.find(separator) != std::string::npos) {
        const std::string full = SysGetQualifiedPath(name);
        if (HoldsProjectToken(full)) return File();
        return IfileManagerGetRealObject(full, ImodelFMFull, type, true, acceptOutside);
    }
    // A bare file name lies in the project's folder for files of its type.
    const int revision = Imodel::GetInstance().GetRevisionManager()->GetRevisionNumber(revisionName);
    ImodelFileName relative;
    ImodelGetRelativeFileName(name, relative, false, type, ImodelGetFullPathParam(revision));
    return EntryOfRelativeName(relative, type, acceptOutside);
}

std::string IcmdGetFullPathFromTCLArgValue(const std::string& value)
{
    std::string name = value;
    ImodelSetValidSeparator(name, false);
    if (!StartsWithProjectToken(name)) {
        return name.empty() ? name
                            : SysGetQualifiedPath(AcmdGetFullPath(name, AcmdManager::GetInstance().GetCurrentFolder()));
    }
    std::string relative = name.substr(std::string(ImodelProjectToken).size());
    relative.erase(0, relative.find_first_not_of(SysGetDirChar()));
    const ImodelFileName& folder = Imodel::GetInstance().GetDesignManager()->GetProjectFolder();
    if (relative.empty() || folder.empty()) return std::string();
    return SysGetQualifiedPath(folder.GetString() + SysGetDirChar() + relative);
}

std::string IcmdTCLArgValueFromFileObject(File file, bool internalName)
{
    if (!file) return std::string();
    return internalName ? file->GetInternalFileName().GetString() : file->GetFullFileName().GetString();
}

// --- IcmdTCLFileArg -------------------------------------------------------------------------

IcmdTCLFileArg::IcmdTCLFileArg(AcmdBase* owner, bool required, bool list, bool inProject, bool acceptOutside)
    : IcmdParam<File>("file", owner, AcmdValueType(list, list), required, File(), true, "file"), m_inProject(inProject),
      m_acceptOutside(acceptOutside)
{
    SetFileKind(true);
}

void IcmdTCLFileArg::SetFileObject(const IfileObject& file) { SetObject(IfileManagerGetRealObject(file, true)); }

void IcmdTCLFileArg::SetFileObjects(const std::deque<IfileObject>& files)
{
    std::vector<File> entries;
    IfileManagerGetRealObjects(files, entries, false);
    SetObjects(entries);
}

std::string IcmdTCLFileArg::GetTypeDescription() const
{
    return m_inProject ? "a file from the current project" : "a file path";
}

bool IcmdTCLFileArg::GetObjectFromString(const char* text, File& out, bool report, void* /*parentWindow*/)
{
    const std::string given = text ? text : "";
    out.reset();
    if (given.empty()) return true;
    // A "<project>" text never depends on the folder the command runs in.
    const std::string path =
        StartsWithProjectToken(given) ? given : AcmdGetFullPath(given, AcmdManager::GetInstance().GetCurrentFolder());
    // A name the project file could not hold is refused for what it is,
    // not as a file that cannot be found.
    if (!IfileIsStorableName(path)) {
        if (report) IfileRefuseName(path, "file");
        return false;
    }
    out = IcmdGetFileObjectFromTCLArgValue(path, std::string(), zorpaFT_UNKNOWN, true, m_acceptOutside);
    if (!out && report) AcmdDisplayArgNotFoundErrorMessage(GetDisplayName(true), given);
    return out != nullptr;
}

std::string IcmdTCLFileArg::GetStringFromObject(File file) const { return IcmdTCLArgValueFromFileObject(file, false); }

bool IcmdTCLFileArg::isSetAndValid() const
{
    if (!IcmdParam<File>::isSetAndValid()) return false;
    if (!m_inProject || m_ownerChecksProject) return true;
    return std::all_of(m_values.begin(), m_values.end(),
                       [](const File& file) { return file && file->IsFileInProject(); });
}

void IcmdTCLFileArg::ValidateOwnValue(AcmdEnum::Result& result)
{
    IcmdParam<File>::ValidateOwnValue(result);
    if (result != AcmdEnum::Success) return;
    // An empty text gave an empty entry: it names no file. Texts that match
    // the values one to one are dropped with them.
    const bool paired = m_valueTexts.size() == m_values.size();
    for (std::size_t i = m_values.size(); i-- > 0;) {
        if (m_values[i]) continue;
        m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(i));
        if (paired) m_valueTexts.erase(m_valueTexts.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (!m_inProject || m_ownerChecksProject) return;
    for (const File& file : m_values) {
        if (file->IsFileInProject()) continue;
        ImodelDisplayFILE_NOT_IN_PROJECT_MSG(GetStringFromObject(file).c_str());
        result = AcmdEnum::Failure;
    }
}
