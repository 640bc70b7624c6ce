#include "EchoCommand.h"

#include "imodel/design/ImodelModule.h"

#include <functional>
#include <map>
#include <vector>

namespace {

int g_destroyed = 0;

std::string Words(const std::vector<std::string>& words)
{
    return "(" + std::to_string(words.size()) + ") " + AcmdMergeList(words);
}

}  // namespace

EchoCommand::EchoCommand(Setup setup)
    : IcmdBase(false), m_setup(std::move(setup)),
      text("string", this, AcmdValueType::Single(), false, "string", "", false),
      fileName("file_name", this, AcmdValueType::Single(), false, "file name", ""),
      folder("folder", this, AcmdValueType::Single(), false, "folder", ""),
      boolean("bool", this, AcmdValueType::Single(), false, false, "bool"),
      verbose("verbose", this, AcmdValueType::Single(), false, false, "verbose"),
      speed("speed", this, AcmdValueType::Single(), false, 2, false, "speed"),
      words("words", this, AcmdValueType::List(), false, "words", "", false),
      files(this, false, true, m_setup.projectArguments, false), view(this, false, false),
      components(this, false, true), device(this, imodelDeviceNone), hdl(this, false, false),
      // The default is among the kinds offered, so that it is written back.
      tool(this, false, m_setup.projectArguments ? ideSYNTHESIS : ideHDLEDITOR,
           m_setup.projectArguments ? &IcmdToolTypeArg::OrganizeSourcesSupported : IcmdToolTypeArg::Filter())
{
    speed.AddChoice(1, "slow", "");
    speed.AddChoice(2, "medium", "");
    speed.AddChoice(3, "fast", "");
}

EchoCommand::~EchoCommand() { ++g_destroyed; }

int EchoCommand::DestroyedCount() { return g_destroyed; }

AcmdEnum::Result EchoCommand::execDo()
{
    const std::map<const AcmdParam*, std::function<std::string()>> describe = {
        {&text, [this] { return text.GetObject(); }},
        {&fileName, [this] { return fileName.GetObject(); }},
        {&folder, [this] { return folder.GetObject(); }},
        {&boolean, [this] { return std::string(boolean.GetObject() ? "true" : "false"); }},
        {&verbose, [this] { return std::string(verbose.GetObject() ? "on" : "off"); }},
        {&speed, [this] { return speed.GetValueText() + " (" + std::to_string(speed.GetObject()) + ")"; }},
        {&words, [this] { return Words(words.GetObjects()); }},
        {&files,
         [this] {
             std::string lines;
             for (const IcmdTCLFileArg::File& file : files.GetObjects()) {
                 if (!lines.empty()) lines += "\n      ";
                 lines += file->GetFullFileName().GetString() +
                          (file->IsFileInProject() ? " (in the project)" : " (not in the project)");
             }
             return lines;
         }},
        {&view, [this] { return view.GetValueText() + " of " + view.GetModuleArg().GetValueText(); }},
        {&view.GetModuleArg(), [this] { return view.GetModuleArg().GetValueText(); }},
        {&components, [this] { return Words(components.GetValueTexts()); }},
        {&device,
         [this] {
             const ImodelDevice value = device.GetObject();
             return "family " + value.GetFamily() + ", die " + value.GetDieInternalName() + ", package " +
                    value.GetPackageInternalName();
         }},
        {&device.GetDieArg(), [this] { return device.GetDieArg().GetObject(); }},
        {&device.GetPackageArg(), [this] { return device.GetPackageArg().GetObject(); }},
        {&hdl, [this] { return hdl.GetValueText(); }},
        {&tool, [this] { return tool.GetValueText() + " (kind " + std::to_string(tool.GetObject()) + ")"; }},
    };
    std::string result;
    for (const AcmdParam* param : GetParams()) {
        if (param->GetValueTexts().empty()) continue;
        const auto found = describe.find(param);
        if (!result.empty()) result += "\n";
        result += param->GetName() + ": " + (found == describe.end() ? std::string("?") : found->second());
    }
    SetResultMsg(result);
    return AcmdEnum::Success;
}
