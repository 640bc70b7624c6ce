#include "imodel/cores/ImodelRepository.h"

#include "ievent/IeventClasses.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"

#include <dastrel/IIpMgrCallback.h>
#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

namespace {

constexpr const char* kErrorColour = "#FF0000";

struct CatalogStateText {
    const char* colour;
    const char* text;
};

// By CatalogState value.
constexpr CatalogStateText kCatalogStateTexts[] = {
    {"#0000FF", "Loaded"},
    {"#0000FF", "Catalog not loaded yet"},
    {kErrorColour, "Unable to locate Dremmet which is required to show Quibbixs in the catalog.\n"
                   "Be sure that Dremmet is installed and that a Tool Profile has been set up.\n"
                   "From the Project menu, select 'Profile...'"
                   " and change the Dremmet profile."},
    {kErrorColour, "Unable to get the catalog location from Dremmet\n"
                   "Please ensure that the Dremmet version you are using"
                   " is compatible with this version of Solvato IDE."},
    {kErrorColour, "Unable to find catalog on disk"},
    {kErrorColour, "Unable to read the catalog file; "
                   "the format is invalid."},
};

CatalogStateText TextOf(CatalogState state)
{
    const int index = static_cast<int>(state);
    if (index < 0 || index >= static_cast<int>(std::size(kCatalogStateTexts))) return {"", ""};
    return kCatalogStateTexts[index];
}

}  // namespace

bool ImodelIsVaultEnabled() { return true; }

ImodelRepository::ImodelRepository(const std::string& name, bool flag) : m_name(name), m_flag(flag) {}

ImodelRepository::~ImodelRepository() = default;

const char* ImodelRepository::GetIPCoresPluginName() { return "IP"; }
const char* ImodelRepository::GetKTCoresPluginName() { return "Kiltora"; }
const char* ImodelRepository::GetCvlibCoresPluginName() { return "cvlib"; }

bool ImodelRepository::IsUserRepository() { return false; }
bool ImodelRepository::IsVault() { return false; }

boost::shared_ptr<IIpMgrCallback> ImodelRepository::GetCallback()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetIpMgrCallback() : boost::shared_ptr<IIpMgrCallback>();
}

void ImodelRepository::SendReady() const
{
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventIPRepositoryReady>(GetLocation().c_str()), true);
}

std::string ImodelRepository::GotFromText(const char* const (&texts)[5], int code)
{
    return code >= 0 && code < 5 ? texts[code] : "";
}

void ImodelRepository::SetPluginState(CatalogState state)
{
    if (state == m_state) return;
    // Views that ask during the event still see the old state.
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventIPRepositoryStateChanged>(GetLocation().c_str()), true);
    m_state = state;
}

std::string ImodelRepository::GetCatalogStatus(bool html) const
{
    const CatalogStateText state = TextOf(m_state);
    if (!html) return state.text;
    std::string status = m_name + " cores:<br><font color=\"" + state.colour + "\">";
    if (std::string(state.colour) == kErrorColour) status += "Error: ";
    status += state.text;
    status += "</font>";
    if (Imodel::GetInstance().IsDebugMsg()) status += "<br>DEBUG:" + GetGotFromText();
    return status + "<br><hr=100%><br>";
}

void ImodelRepository::DestroyAndReCreate()
{
    m_gotFrom = 0;
    SetPluginState(CatalogNotOnDisk);
    const std::string location = GetLocation();
    if (location == "mockup") {
        m_gotFrom = 4;
        SetPluginState(CatalogLoaded);
        return;
    }
    if (location.empty()) return;
    if (IsVault() && !UtlDoesDiskObjectExist(location)) return;
    SetPluginState(CatalogUnreadable);
    if (!IsUserRepository()) {
        RemovePlugin();
        CreateNewPlugin(m_name);
    }
    LoadPlugin();
    m_gotFrom = 1;
}

void ImodelRepository::RemovePlugin()
{
    const boost::shared_ptr<IIpMgrCallback> callback = GetCallback();
    if (!callback) return;
    if (m_plugin) {
        if (IIpPluginLoader* loader = callback->GetPluginLoader()) loader->Unload(m_plugin->GetLocation());
        m_plugin.reset();
    }
    SetPluginState(CatalogNotLoadedYet);
}

bool ImodelRepository::LoadPlugin()
{
    const boost::shared_ptr<IIpMgrCallback> callback = GetCallback();
    IIpPluginLoader* loader = callback ? callback->GetPluginLoader() : nullptr;
    // Nothing to load without a plug-in or a loader.
    if (!loader || !m_plugin) return false;
    const std::string location = GetLocation();
    const IIpMgrCallback::ResultCallback finished = callback->GetLoadFinishedCallback();
    const int code = loader->Load(location, m_plugin->GetIndexFileName(), finished, m_plugin->IsUserRepository(),
                                  m_plugin->IsReadOnly());
    if (!finished) {
        if (const IIpMgrCallback::ResultCallback report = callback->GetLoadResultReporter()) report(location, code);
    }
    return code == 0;
}
