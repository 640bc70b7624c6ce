#include "itool/ItoolModelSimPathOptions.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"

#include <foundation/Def.h>

#include <memory>

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
    }
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
