#include "icmd/settings/IcmdUserLibraryOptions.h"

#include "icmd/IcmdDoCommand.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "src/icmd/settings/IcmdSettingsMessages.h"

IcmdUserLibraryOptions::IcmdUserLibraryOptions()
    : m_name("name", this, AcmdValueType::Single(), true, "Library name", std::string(), false),
      m_path("path", this, AcmdValueType::Single(), true, "Library path", std::string(), false),
      m_option("option", this, AcmdValueType::Single(), true, ZORPA_NOCOMPILE, false, "Library command")
{
    m_option.AddChoice(ZORPA_NOCOMPILE, "do_not_compile", "Do not compile");
    m_option.AddChoice(ZORPA_REFRESH, "refresh", "Refresh");
    m_option.AddChoice(ZORPA_COMPILE, "compile", "Compile the library");
    m_option.AddChoice(ZORPA_RECOMPILE, "recompile", "Delete and recompile");
    m_option.AddChoice(ZORPA_REFRESH_AND_COMPILE, "refresh_and_compile", "Refresh and Compile");
    m_option.SetStyle(4);
    m_displayed = {&m_path, &m_option};
    m_path.SetToolTipDescription("Specify the path name of the library.", "");
    m_option.SetToolTipDescription("Choose if you want to ignore (Do not compile), "
                                   "Refresh,<br />Compile or Recompile the library during simulations.",
                                   "");
}

IcmdUserLibraryOptions::~IcmdUserLibraryOptions() = default;

void IcmdUserLibraryOptions::SetDefaultOptions(const ImodelDesignManager::LibraryPtr& library)
{
    if (library) SetValues(library->GetName(), library->GetPath(), library->GetCompileOption());
}

void IcmdUserLibraryOptions::SetValues(const std::string& name, const std::string& path, zorpaCompileOption option)
{
    m_name.SetObject(name);
    m_path.SetObject(path);
    m_option.SetObject(option);
}

AcmdEnum::Result IcmdUserLibraryOptions::checkParams()
{
    // The path stands in a line of the project file.
    return IcmdCheckSingleLine(m_path.GetName(), m_path.GetObject()) ? AcmdEnum::Success : AcmdEnum::Failure;
}

AcmdEnum::Result IcmdUserLibraryOptions::execDo()
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const ImodelDesignManager::LibraryPtr library = design.FindLibraryByName(m_name.GetObject());
    if (!library) {
        ImodelDisplayLIBRARY_NOT_IN_PROJECT_MSG(m_name.GetObject().c_str());
        return AcmdEnum::Failure;
    }
    // A library without a path of its own is known by its name.
    const std::string path = m_path.GetObject().empty() ? library->GetName() : m_path.GetObject();
    const bool newPath = path != library->GetPath();
    const bool newOption = m_option.GetObject() != library->GetCompileOption();
    if (!newPath && !newOption) return AcmdEnum::Success;
    // The project file has no block for "work": a change would be lost at
    // the next open, after a success.
    if (ImodelIsSameStrNoCase(library->GetName(), "work")) {
        ImodelDisplayLIBRARY_SETTINGS_NOT_KEPT_MSG(library->GetName().c_str());
        return AcmdEnum::Failure;
    }
    if (newPath) library->SetPath(path);
    if (newOption) library->SetCompileOption(m_option.GetObject());
    design.SetNeedSave(true);
    return AcmdEnum::Success;
}

bool IcmdDoSetUserLibOptions(bool keep, const std::string& library, const std::string& path, zorpaCompileOption option)
{
    auto command = std::make_unique<IcmdUserLibraryOptions>();
    command->SetValues(library, path, option);
    return IcmdDoCommand(std::move(command), keep);
}
