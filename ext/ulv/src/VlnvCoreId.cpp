#include "ulv/VlnvCoreId.h"

#include <vector>

bool VlnvCoreId::Parse(const std::string& text)
{
    std::vector<std::string> fields(1);
    for (const char c : text) {
        if (c == ':')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    if (fields.size() != 4) return false;
    for (const std::string& field : fields)
        if (field.empty()) return false;
    *this = VlnvCoreId(fields[0], fields[1], fields[2], fields[3]);
    return true;
}
