// File types of file values: keywords, safe type lookups and the types of
// constraint files.
#include "ifile/IfileFunctions.h"
#include "ifile/IfileObject.h"

#include "iconvert/Iconvert.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

// Row i of the type table must hold type i: keywords are looked up by type.
// Checked when the library is built, so a broken table never runs.
constexpr bool TypeTableIsIndexed()
{
    for (int i = 0; i < imodelFileManagerTypesCount; ++i)
        if (imodelFileManagerTypesArray[i].type != i) return false;
    return true;
}
static_assert(TypeTableIsIndexed(), "imodelFileManagerTypesArray: row i must hold type i");

// Keywords of older projects and the type whose keyword replaces them.
struct OldKeyword {
    const char* keyword;
    zorpaFileManagerTypes type;
};
constexpr OldKeyword kOldKeywords[] = {
    {"package", zorpaFT_HDL},
    {"mult_stp", zorpaFT_STP},
    {"arm", zorpaFT_OMBRIX_CXF},
    {"block_cxf", zorpaFT_OMBRIX_CXF},
};

bool InTable(int type) { return type >= 0 && type < imodelFileManagerTypesCount; }

// Whether the name holds `suffix`, ".", `extension` (case-sensitive, anywhere).
bool Holds(const std::string& name, const char* suffix, const char* extension)
{
    return name.find(std::string(suffix) + "." + extension) != std::string::npos;
}

}  // namespace

const char* ifileTypeKeyword(int type)
{
    return imodelFileManagerTypesArray[InTable(type) ? type : zorpaFT_UNKNOWN].keyword;
}

bool IfileGetStrType(std::string& out, int type)
{
    if (!InTable(type)) {
        out = imodelFileManagerTypesArray[zorpaFT_UNKNOWN].keyword;
        return false;
    }
    out = imodelFileManagerTypesArray[type].keyword;
    return true;
}

bool ImodelIsHDLType(zorpaFileManagerTypes type)
{
    switch (type) {
    case zorpaFT_HDL:
    case zorpaFT_TB_HDL:
    case zorpaFT_BA_HDL:
    case zorpaFT_SYN_HDL:
    case zorpaFT_ZEVORU_HDL:
    case zorpaFT_TEMPLATES:
    case zorpaFT_OTHER_HDL:
        return true;
    default:
        return false;
    }
}

bool IfileObject::ReadStrType(const std::string& keyword, zorpaFileManagerTypes& type,
                              const std::vector<Iconvert*>& converters)
{
    std::string text = keyword;
    for (const OldKeyword& old : kOldKeywords)
        if (text == old.keyword) text = imodelFileManagerTypesArray[old.type].keyword;
    // Every converter is asked, also after one has answered.
    bool converted = false;
    for (Iconvert* converter : converters) converted = converter->IsOldStrType(text, type) || converted;
    if (converted) return true;
    const auto row = std::find_if(std::begin(imodelFileManagerTypesArray), std::end(imodelFileManagerTypesArray),
                                  [&](const imodelFileManagerTypesEntry& entry) { return text == entry.keyword; });
    if (row == std::end(imodelFileManagerTypesArray)) {
        SysDebugPrintf("Error: in IfileObject::ReadStrType.\n");
        return false;
    }
    type = static_cast<zorpaFileManagerTypes>(row->type);
    return true;
}

zorpaFileManagerTypes IfileObject::GetSafeFileType(int group, const ImodelFileName& name)
{
    const int type = ImodelGetSpecificFileType(group, name);
    if (InTable(type)) return static_cast<zorpaFileManagerTypes>(type);
    SysDebugPrintf("Error: IfileObject::GetSafeFileType, could not get file type for '%s', %d.\n", name.c_str(), group);
    return zorpaFT_UNKNOWN;
}

zorpaFileManagerTypes IfileObject::GetConstrFileType(const ImodelFileName& name)
{
    const zorpaFileManagerTypes type = GetSafeFileType(zorpaFT_GROUP_CONSTRAINT, name);
    const std::string& text = name;
    switch (type) {
    case zorpaFT_SDC:
        if (Holds(text, "_sdc", "sdc")) return zorpaFT_SYN_SDC;
        return Holds(text, "_zevoru", "sdc") ? zorpaFT_ZEVORU_SDC : type;
    case zorpaFT_GCF:
        return Holds(text, "_zevoru", "gcf") ? zorpaFT_ZEVORU_GCF : type;
    case zorpaFT_PDC:
        return Holds(text, "_zevoru", "pdc") ? zorpaFT_ZEVORU_PDC : type;
    default:
        return type;
    }
}
