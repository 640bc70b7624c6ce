// The record of a synthesized EDIF netlist: its top cell.
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/model/ImodelFeatures.h"
#include "src/ifile/ifileReadCache.h"

#include <foundation/Sys.h>

#include <cctype>

namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The token that starts at `position` after blanks, up to a blank or a
// parenthesis; `position` is left behind it.
std::string ReadToken(const std::string& text, std::size_t& position)
{
    while (position < text.size() && IsBlank(text[position])) ++position;
    const std::size_t start = position;
    while (position < text.size() && !IsBlank(text[position]) && text[position] != '(' && text[position] != ')')
        ++position;
    return text.substr(start, position - start);
}

// The keyword and its first argument of the list that opens at `open` (a
// "("); `position` is left behind the argument.
std::pair<std::string, std::string> ReadList(const std::string& text, std::size_t open, std::size_t& position)
{
    position = open + 1;
    std::string keyword = ReadToken(text, position);
    std::string argument = ReadToken(text, position);
    return {std::move(keyword), std::move(argument)};
}

// Netlists are read for their top cell, with its library.
ifileReadCache<VyIfaces::ComponentID>& Netlists()
{
    static ifileReadCache<VyIfaces::ComponentID> netlists;
    return netlists;
}

}  // namespace

VyIfaces::ComponentID IfilePredecessorObjectEdif::ScanTopCell(const std::string& text, bool withLibrary)
{
    VyIfaces::ComponentID id;
    std::size_t open = text.find('(');
    while (open != std::string::npos) {
        std::size_t position = 0;
        const auto [keyword, design] = ReadList(text, open, position);
        std::size_t next = position;
        if (keyword == "design" && !design.empty()) {
            // The list that follows the design's name must be its cell.
            const std::size_t cellOpen = text.find('(', position);
            if (cellOpen == std::string::npos) break;
            const auto [cellKeyword, cell] = ReadList(text, cellOpen, position);
            if (cellKeyword == "cellRef" && !cell.empty()) {
                id.name = cell;
                const std::size_t libraryOpen = withLibrary ? text.find('(', position) : std::string::npos;
                if (libraryOpen != std::string::npos) {
                    const auto [libraryKeyword, library] = ReadList(text, libraryOpen, position);
                    if (libraryKeyword == "libraryRef" && !library.empty()) id.library = library;
                }
                return id;
            }
            next = cellOpen;
        } else {
            next = open + 1;
        }
        open = text.find('(', next);
    }
    return id;
}

IfilePredecessorObjectEdif::IfilePredecessorObjectEdif(const boost::shared_ptr<IfileObjectEx>& owner,
                                                       const IprocessFileObject& node)
    : IfilePredecessorObject(owner.get(), &node)
{
    if (!owner) return;
    const std::string path = owner->GetFullFileName();
    m_id = Netlists().Get(path, [&path] {
        std::string text;
        return SysReadFile(path, text) ? ScanTopCell(text, true) : VyIfaces::ComponentID();
    });
    if (!ImodelParseEDIFLibraryInfo()) m_id.library = VyIfaces::ComponentID().library;
    if (m_id.name.empty()) SysDebugPrintf("Error: Unable to find module name in %s\n", path.c_str());
}

IfilePredecessorObjectEdif::IfilePredecessorObjectEdif(const IfilePredecessorObjectEdif& other, IfileObjectEx* owner)
    : IfilePredecessorObject(other, owner), m_id(other.m_id)
{
}

std::unique_ptr<IfilePredecessorObject> IfilePredecessorObjectEdif::Clone(IfileObjectEx* owner) const
{
    return std::make_unique<IfilePredecessorObjectEdif>(*this, owner);
}

std::string IfilePredecessorObjectEdif::GetDebugLine(const char*) const
{
    const std::string module = m_id.name.empty() ? "unknown module" : "module \"" + m_id.name + "\"";
    return "Edif Netlist defining " + module + " [library:" + m_id.library + "]";
}

std::string IfilePredecessorObjectEdif::GetUsingString() const
{
    if (m_id.name.empty()) return "unknown module";
    std::string text = "module: " + m_id.name;
    if (m_id.library != "work") text += " [" + m_id.library + "]";
    return text;
}
