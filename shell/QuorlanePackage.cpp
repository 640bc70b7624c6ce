#include "QuorlanePackage.h"

#include "ConsoleHost.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/QuorlaneModule.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

namespace {

// The loaded library itself: its base address is the module handle, its path
// tells where the installed defaults are.
Dl_info LibraryInfo()
{
    Dl_info info{};
    dladdr(reinterpret_cast<const void*>(&Quorlane_Init), &info);
    return info;
}

// The installed defaults sit beside the library: <prefix>/lib/libquorlane.so
// and <prefix>/share/quorlane/options.defaults.
std::string DefaultsFile(const Dl_info& library)
{
    if (library.dli_fname == nullptr) return std::string();
    const std::filesystem::path lib = std::filesystem::absolute(library.dli_fname);
    return (lib.parent_path().parent_path() / "share" / "quorlane" / "options.defaults").string();
}

// The user's settings: $QUORLANE_OPTIONS, else ~/.config/quorlane/options.
std::string UserOptionsFile()
{
    if (const char* file = std::getenv("QUORLANE_OPTIONS"); file && *file) return file;
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::string(home) + "/.config/quorlane/options";
    }
    return std::string();
}

void LoadOptions(const Dl_info& library)
{
    std::string error;
    const std::string defaults = DefaultsFile(library);
    if (!defaults.empty() && std::filesystem::exists(defaults) && !DefLoadDefaults(defaults, &error)) {
        ImodelDisplayOPTIONS_NOT_READ_MSG(error.c_str());
    }
    const std::string user = UserOptionsFile();
    if (!user.empty() && !DefLoadUserSettings(user, &error)) ImodelDisplayOPTIONS_NOT_READ_MSG(error.c_str());
}

// The project model, with the terminal as its host and the library's commands.
void BuildModel()
{
    Imodel& model = Imodel::GetInstance();
    model.SetHost(&ConsoleHost::GetInstance());
    model.RegisterCommands();
}

}  // namespace

extern "C" int Quorlane_Init(Tcl_Interp* interp)
{
    static std::once_flag optionsLoaded;
    const Dl_info library = LibraryInfo();
    QuorlaneInit(library.dli_fbase);
    std::call_once(optionsLoaded, LoadOptions, library);
    static std::once_flag modelBuilt;
    std::call_once(modelBuilt, BuildModel);
    AcmdManager::GetInstance().AttachInterp(interp);
    return Tcl_PkgProvide(interp, "quorlane", "8.4");
}

extern "C" int Quorlane_Unload(Tcl_Interp*, int)
{
    QuorlaneExit();
    return TCL_OK;
}
