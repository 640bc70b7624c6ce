// Stored file names and paths come from project files written anywhere: the
// name comparison, the relative-path rewrites, the file-type rules and the
// name checks take any two texts without fault. A name always equals itself,
// equality is symmetric, and == and != always disagree.
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
    for (int group : {101, 102, 103, 104, 105}) {
        const int type = ImodelGetSpecificFileType(group, b);
        if (type != group && ImodelGetGlobalType(type) != group) std::abort();
    }
    const bool validPath = ImodelIsValidPathName(first);
    if (ImodelIsValidComponentName(first) && !validPath) std::abort();
    if (validPath && first.find('\n') != std::string::npos) std::abort();
    return 0;
}
