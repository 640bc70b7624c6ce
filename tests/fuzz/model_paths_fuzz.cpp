// Stored file names and paths come from project files written anywhere: the
// name comparison, the relative-path rewrites, the file-type rules and the
// name checks take any two texts without fault. A name always equals itself,
// equality is symmetric, and == and != always disagree; a file's type stays
// in the group asked for.
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/imodelUtl.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string first = input.substr(0, split);
    const std::string second = split == std::string::npos ? std::string() : input.substr(split + 1);

    const ImodelFileName a(first), b(second);
    if (!(a == a) || a != a) std::abort();
    if ((a == b) != (b == a) || (a == b) == (a != b)) std::abort();
    if ((a == second.c_str()) == (a != second.c_str())) std::abort();

    ImodelFileName path(second);
    ImodelGetRelativePath(a, path);
    ImodelGetPathRelativeToVariable(first, second, "VAR");
    // The extension decides, without regard to case, between the specific
    // types of the group asked for and the group itself; the one type taken
    // from outside its group is the place-and-route tool's text report
    // ("txt"), which stored projects keep as a plain text file of no group.
    std::string upper = second;
    for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    for (int group : {zorpaFT_GROUP_SYNTHESIS, zorpaFT_GROUP_PHY_SYNTHESIS, zorpaFT_GROUP_PALLADOR,
                      zorpaFT_GROUP_CONSTRAINT, zorpaFT_GROUP_SIMULATION}) {
        const int type = ImodelGetSpecificFileType(group, b);
        if (ImodelGetSpecificFileType(group, ImodelFileName(upper)) != type) std::abort();
        if (type == group) continue;
        if (type < zorpaFT_SCH || type > zorpaFT_QVZ) std::abort();
        const bool textReport = group == zorpaFT_GROUP_PALLADOR && type == zorpaFT_TXT;
        if (ImodelGetGlobalType(type) != group && !textReport) std::abort();
    }
    const bool validPath = ImodelIsValidPathName(first);
    if (ImodelIsValidComponentName(first) && !validPath) std::abort();
    if (validPath && first.find('\n') != std::string::npos) std::abort();
    return 0;
}
