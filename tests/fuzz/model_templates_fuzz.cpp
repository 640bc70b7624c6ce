// The template database reader: any file is read without fault; an invalid
// database yields no template; every template's section name starts with its
// HDL type and splits into levels that join back to it.
#include "TempFolder.h"

#include "ixml/IxmlTemplateParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TempFolder folder;
    const std::string path = folder.Write("templates.xml", std::string(reinterpret_cast<const char*>(data), size));
    const IxmlTemplateParser parser(path);
    if (!parser.IsXMLValid() && !parser.GetTemplates().empty()) std::abort();
    for (const auto& t : parser.GetTemplates()) {
        std::vector<std::string> levels;
        t->getSectionVector(levels);
        if (levels.empty() || levels.front() != (t->isVHDL() ? "VHDL" : "Verilog")) std::abort();
        std::string joined = levels.front();
        for (std::size_t i = 1; i < levels.size(); ++i) joined += ";" + levels[i];
        if (joined != t->getSectionFullName() || t->isUserTemplate() || !t->getFileName().empty()) std::abort();
    }
    return 0;
}
