#include "imodel/views/ImodelFlowOptions.h"

#include "imodel/names/imodelUtl.h"

namespace {

const char* const kBlockName = "LIST FlowOptions";
const char* const kEndList = "ENDLIST";
const char* const kUsePhySynth = "UsePhySynth";
const char* const kUseSynth = "UseSynth";

const char* BoolText(bool value) { return value ? "TRUE" : "FALSE"; }

bool ReadBool(const std::string& value) { return ImodelIsSameStrNoCase(value, "TRUE"); }

}  // namespace

ImodelFlowOptions::ImodelFlowOptions(const ImodelFlowOptions& other)
    : UsePhySynth(other.UsePhySynth), UseSynth(other.UseSynth)
{
}

ImodelFlowOptions::~ImodelFlowOptions() = default;

ImodelFlowOptions& ImodelFlowOptions::operator=(const ImodelFlowOptions& other)
{
    if (this != &other) {
        UsePhySynth = other.UsePhySynth;
        UseSynth = other.UseSynth;
    }
    return *this;
}

bool ImodelFlowOptions::operator==(const ImodelFlowOptions& other) const
{
    return this == &other || (UsePhySynth == other.UsePhySynth && UseSynth == other.UseSynth);
}

bool ImodelFlowOptions::operator!=(const ImodelFlowOptions& other) const { return !(*this == other); }

void ImodelFlowOptions::SetDefault()
{
    UsePhySynth = false;
    UseSynth = true;
}

void ImodelFlowOptions::WriteFlowOptions(std::ostream* stream) const
{
    if (!stream) return;
    *stream << kBlockName << '\n'
            << kUsePhySynth << '=' << BoolText(UsePhySynth) << '\n'
            << kUseSynth << '=' << BoolText(UseSynth) << '\n'
            << kEndList << '\n';
}

void ImodelFlowOptions::ReadFlowOptions(std::vector<std::string>& lines, bool& hasUseSynth)
{
    SetDefault();
    // The lines read are removed in one step at the end: the vector may hold
    // the rest of a large project file.
    std::size_t consumed = 0;
    while (consumed < lines.size()) {
        // Project files written on Windows read alike.
        std::string line = lines[consumed++];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == kEndList) break;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == kUsePhySynth) {
            UsePhySynth = ReadBool(value);
        } else if (key == kUseSynth) {
            UseSynth = ReadBool(value);
            hasUseSynth = true;
        }
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(consumed));
}
