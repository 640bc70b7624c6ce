// The customized file lists of design units in the project file: any lines
// are read block after block without fault, each block ending where it
// should; what a unit read writes and reads back as the same lists in use.
#include "TextLines.h"
#include "imodel/design/ImodelModule.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<ImodelModule::typeUserFileList> InUse(const ImodelModule& unit)
{
    std::vector<ImodelModule::typeUserFileList> lists;
    for (const ImodelModule::typeUserFileList& list : unit.GetCustomizedFileLists()) {
        if (list.IsUsed()) lists.push_back(list);
    }
    return lists;
}

void CheckRoundTrip(const ImodelModule& unit)
{
    std::ostringstream written;
    if (!unit.WriteCustomizedSourceFileList(&written)) std::abort();
    std::vector<std::string> again = TextLines(written.str());
    if (unit.GetCustomizedFileLists().empty()) {
        if (!again.empty()) std::abort();
        return;
    }
    if (again.empty() || again.front() != "LIST \"unit\"") std::abort();
    again.erase(again.begin());
    ImodelModule reread("unit", nullptr, zorpaMODULE_VHDL, false, "", "", false);
    reread.ReadCustomizedSourceFileList(again, {});
    if (!again.empty() || reread.GetCustomizedFileLists() != InUse(unit)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> lines = TextLines(std::string(reinterpret_cast<const char*>(data), size));
    // Each pass takes a block's opening line and reads the block behind it.
    while (!lines.empty()) {
        const std::size_t before = lines.size();
        lines.erase(lines.begin());
        ImodelModule unit("unit", nullptr, zorpaMODULE_VHDL, false, "", "", false);
        unit.ReadCustomizedSourceFileList(lines, {});
        if (lines.size() >= before) std::abort();
        CheckRoundTrip(unit);
    }
    return 0;
}
