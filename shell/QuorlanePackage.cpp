#include "QuorlanePackage.h"

#include "ConsoleHost.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/QuorlaneModule.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>

#include <dlfcn.h>
#include <malloc.h>

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

// An open or a refresh builds the whole design while the one before still
// stands, and frees the old one after. Left to itself, the C allocator gives
// such tens of megabytes back to the system at once and takes them again,
// page by page, at the next refresh: at a hundred thousand files a tenth of
// a refresh went to those page faults. The heap keeps what it freed (up to
// a gigabyte at its end) for the next design, and gives blocks of up to
// 32 MB from itself rather than mapping each apart (32 MB is as far as the
// allocator would raise that bound by itself).
void KeepFreedMemory()
{
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
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
    static std::once_flag memoryKept;
    std::call_once(memoryKept, KeepFreedMemory);
    static std::once_flag optionsLoaded;
    const Dl_info library = LibraryInfo();
    QuorlaneInit(library.dli_fbase);
    std::call_once(optionsLoaded, LoadOptions, library);
    static std::once_flag modelBuilt;
    std::call_once(modelBuilt, BuildModel);
    AcmdManager::GetInstance().AttachInterp(interp);
    ConsoleHost::StartWatching();
    return Tcl_PkgProvide(interp, "quorlane", "8.4");
}

extern "C" int Quorlane_Unload(Tcl_Interp*, int)
{
    QuorlaneExit();
    return TCL_OK;
}
