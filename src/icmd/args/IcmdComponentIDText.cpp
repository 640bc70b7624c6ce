#include "icmd/args/IcmdComponentIDText.h"

namespace {

constexpr const char* kSeparator = "::";
constexpr std::size_t kSeparatorLength = 2;

}  // namespace

VyIfaces::ComponentID IcmdReadComponentID(const std::string& text)
{
    VyIfaces::ComponentID id;
    const std::size_t first = text.find(kSeparator);
    if (first == std::string::npos) {
        id.name = text;
        return id;
    }
    id.name = text.substr(0, first);
    const std::size_t libraryStart = first + kSeparatorLength;
    const std::size_t second = text.find(kSeparator, libraryStart);
    if (second == std::string::npos) {
        id.library = text.substr(libraryStart);
        return id;
    }
    id.library = text.substr(libraryStart, second - libraryStart);
    id.package = text.substr(second + kSeparatorLength);
    return id;
}

std::string IcmdWriteComponentID(const VyIfaces::ComponentID& id)
{
    if (id.name.empty()) return std::string();
    std::string text = id.name + kSeparator + id.library;
    if (!id.package.empty()) text += kSeparator + id.package;
    return text;
}
