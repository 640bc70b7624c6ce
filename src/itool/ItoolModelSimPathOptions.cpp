#include "itool/ItoolModelSimPathOptions.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelProcess.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <deque>
#include <memory>
#include <vector>

namespace {

// The project's family ("" without a device) and language.
std::string ProjectFamily() { return Imodel::GetInstance().GetDeviceManager()->GetDevice().GetFamily(); }
bool ProjectIsVHDL() { return Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL(); }

// The user's remembered path; false when there is none.
bool RememberedPath(const std::string& family, bool vhdl, std::string& path)
{
    std::string pathVar;
    std::string useVar;
    ItoolModelSimPathOptions::GetDefVarName(pathVar, useVar, family, vhdl);
    path.clear();
    return ImodelDefGetStr(pathVar.c_str(), path);
}

// The user's remembered use-custom flag; an unset flag is off.
bool RememberedUse(const std::string& family, bool vhdl)
{
    std::string pathVar;
    std::string useVar;
    ItoolModelSimPathOptions::GetDefVarName(pathVar, useVar, family, vhdl);
    int use = 0;
    DefGetIntFL(useVar.c_str(), &use, __FILE__, __LINE__);
    return use != 0;
}

}  // namespace

bool ItoolModelSimPathOptions::operator==(const ItoolModelSimPathOptions& other) const
{
    return m_useCustomPath == other.m_useCustomPath && m_libraryPath == other.m_libraryPath;
}

void ItoolModelSimPathOptions::SetDefault()
{
    m_useCustomPath = false;
    m_libraryPath.clear();
}

void ItoolModelSimPathOptions::WriteToProject(std::ostream* stream) const
{
    if (!stream) return;
    *stream << "UseCustomPath=" << (m_useCustomPath ? "TRUE" : "FALSE") << "\n";
    *stream << "LibraryPath=" << m_libraryPath << "\n";
}

void ItoolModelSimPathOptions::ReadFromProject(const std::string& key, const std::string& value)
{
    if (key == "UseCustomPath") {
        m_useCustomPath = value == "TRUE";
    } else if (key == "LibraryPath") {
        m_libraryPath = value;
        if (value.empty()) RememberedPath(ProjectFamily(), ProjectIsVHDL(), m_libraryPath);
    }
}

void ItoolModelSimPathOptions::GetDefVarName(std::string& pathVar, std::string& useVar, const std::string& family,
                                             bool vhdl)
{
    const std::string language = vhdl ? "VHDL" : "VLOG";
    pathVar = "IDE_MODELSIM_USER_" + language + "_LIB_LOC_" + family;
    useVar = "IDE_MODELSIM_USER_" + language + "_USE_CUSTOM_" + family;
}

// The family is put in place by an override rather than by writing the
// user's "FAM": the user's settings stay untouched whatever happens.
void ItoolModelSimPathOptions::GetModelSimFam(std::string& fam, std::string& subdir, bool vhdl,
                                              const std::string* family)
{
    std::unique_ptr<DefOverRideGuard> familyGuard;
    if (family) familyGuard = std::make_unique<DefOverRideGuard>("FAM", *family);

    fam.clear();
    subdir.clear();
    ImodelDefGetStr(vhdl ? "IDE_MODELSIM_VHDL_FAM" : "IDE_MODELSIM_VLOG_FAM", fam);
    int neutral = 0;
    const bool isNeutral =
        DefGetBoolFL("IDE_MODELSIM_IS_LIB_NEUTRAL", &neutral, __FILE__, __LINE__) == 0 && neutral == 1;
    const char* subdirVariable = isNeutral ? "IDE_MODELSIM_LIB_NEUTRAL_SUBDIR"
                                 : vhdl    ? "IDE_MODELSIM_LIB_VHDL_SUBDIR"
                                           : "IDE_MODELSIM_LIB_VLOG_SUBDIR";
    ImodelDefGetStr(subdirVariable, subdir);
}

bool ItoolModelSimPathOptions::GetModelDefaultLibPath(std::string& out, bool vhdl, const std::string* family)
{
    out.clear();
    std::string root;
    if (!ImodelDefGetStr("IDE_MODELSIM_LIB_LOC_DEFAULT", root)) return false;
    std::string fam;
    std::string subdir;
    GetModelSimFam(fam, subdir, vhdl, family);
    out = root;
    if (!subdir.empty()) {
        if (!out.empty()) out += '/';
        out += subdir;
    }
    out += '/';
    out += fam;
    return true;
}

bool ItoolModelSimPathOptions::GetModelLibPath(std::string& out, bool vhdl, const std::string* family)
{
    const ItoolModelSimPathOptions* options = Imodel::GetInstance().GetModelSimPathOptions();
    if (options && options->m_useCustomPath) {
        out = options->m_libraryPath;
        return true;
    }
    return GetModelDefaultLibPath(out, vhdl, family);
}

bool ItoolModelSimPathOptions::GetModelLibPathLine(std::string& out, bool vhdl, const std::string* family)
{
    out.clear();
    std::string path;
    if (!GetModelLibPath(path, vhdl, family) || path.empty()) return false;
    std::string fam;
    std::string subdir;
    GetModelSimFam(fam, subdir, vhdl, family);
    // A mapping without a library name would be a broken line.
    if (fam.empty()) return false;
    ImodelSecureCommandLine(path);
    out = fam + " = " + path;
    return true;
}

void ItoolModelSimPathOptions::SaveCustomPath(bool& saved) const
{
    const std::string family = ProjectFamily();
    if (family.empty()) return;
    const bool vhdl = ProjectIsVHDL();
    std::string pathVar;
    std::string useVar;
    GetDefVarName(pathVar, useVar, family, vhdl);
    if (!m_libraryPath.empty() && m_useCustomPath) DefSetFL(pathVar.c_str(), m_libraryPath.c_str(), __FILE__, __LINE__);
    // An unset flag counts as off, so that the first custom choice is
    // remembered too.
    if (RememberedUse(family, vhdl) != m_useCustomPath) DefSetInt(useVar.c_str(), m_useCustomPath ? 1 : 0);
    saved = true;
}

bool ItoolModelSimPathOptions::IsSameConfigThanDef(const std::string& family, bool vhdl) const
{
    std::string path;
    RememberedPath(family, vhdl, path);
    return path == m_libraryPath && RememberedUse(family, vhdl) == m_useCustomPath;
}

void ItoolModelSimPathOptions::GetNewCustomPathFromDef(const std::string& oldFamily, const std::string& family,
                                                       bool vhdl)
{
    if (!oldFamily.empty() && !IsSameConfigThanDef(oldFamily, vhdl)) return;
    std::string path;
    if (RememberedPath(family, vhdl, path)) {
        m_libraryPath = path;
        m_useCustomPath = RememberedUse(family, vhdl);
        return;
    }
    m_useCustomPath = false;
    if (!oldFamily.empty()) m_libraryPath.clear();
}

bool ItoolModelSimPathOptions::GetLibraryType(const std::string& path, bool& vhdl)
{
    if (path.empty() || !UtlDoesPathExist(path)) return false;
    std::string folder = path;
    ImodelSetValidSeparator(folder, false);
    if (folder.back() != '/') folder += '/';
    ImodelHost* host = Imodel::GetInstance().GetHost();
    if (!UtlDoesFileExist(folder + "_info") || host == nullptr) return false;
    std::deque<IfileObject> entries;
    std::vector<std::string> names;
    host->ListFolder(ImodelFileName(folder + "*"), 0, zorpaFT_UNKNOWN, entries, &names, true);
    if (names.empty()) return false;
    vhdl = true;
    for (const std::string& name : names)
        if (name.find('@') != std::string::npos) vhdl = false;
    return true;
}

bool ItoolModelSimPathOptions::GetLibraryType(bool& vhdl) const
{
    return m_useCustomPath && GetLibraryType(m_libraryPath, vhdl);
}
