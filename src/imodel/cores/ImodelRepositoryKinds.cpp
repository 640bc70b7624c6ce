// The IP catalogue, the core generator's catalogue and the user
// repositories.
#include "imodel/cores/ImodelIPRepository.h"
#include "imodel/cores/ImodelKTRepository.h"
#include "imodel/cores/ImodelRepVisitor.h"
#include "imodel/cores/ImodelUserRepository.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"

#include <dastrel/IIpMgrCallback.h>

namespace {

constexpr const char* kNoLocationText = "Unable to determine where index.xml could be located";
constexpr const char* kUnexpectedText = "Unexpected value";
constexpr const char* kMockupText = "Cores come from mockup data";

constexpr const char* kIPGotFromTexts[5] = {
    kNoLocationText,
    "Got index.xml location from IP_VAULT_DEV_LOCATION",
    "Got index.xml by parsing velto.ini,found through IPCORE_QV_INI_LOC",
    "Got index.xml location fromIPCORE_QV_INDEX_DEFAULT_LOC",
    kMockupText,
};
constexpr const char* kKTGotFromTexts[5] = {
    kNoLocationText, "Got index.xml location from KILTORACORE_CATALOG_LOC", kUnexpectedText, kUnexpectedText,
    kMockupText,
};
constexpr const char* kUserGotFromTexts[5] = {
    kNoLocationText, "Got index.xml location from PACK_USER_REPOSITORY_LOC", kUnexpectedText, kUnexpectedText,
    kUnexpectedText,
};

}  // namespace

// --- IP ----------------------------------------------------------------------------

ImodelIPRepository::ImodelIPRepository() : ImodelRepository(GetIPCoresPluginName(), true) {}

std::string ImodelIPRepository::GetLocation() const
{
    if (m_plugin) return m_plugin->GetLocation();
    const boost::shared_ptr<IIpMgrCallback> callback = GetCallback();
    return callback ? callback->GetDefaultIpCatalogLocation() : std::string();
}

void ImodelIPRepository::CreateNewPlugin(const std::string&)
{
    m_plugin.reset();
    if (const boost::shared_ptr<IIpMgrCallback> callback = GetCallback())
        m_plugin = callback->CreateIpCorePlugin(GetLocation());
}

// The host's browser loads the IP catalogue itself: a plug-in is all it needs.
bool ImodelIPRepository::LoadPlugin()
{
    if (m_plugin) {
        SetPluginState(CatalogLoaded);
        SendReady();
    } else {
        SetPluginState(CatalogNotOnDisk);
    }
    return true;
}

std::string ImodelIPRepository::GetGotFromText() const { return GotFromText(kIPGotFromTexts, GetGotFromCode()); }

void ImodelIPRepository::Accept(ImodelRepVisitor& visitor) { visitor.Visit(*this); }

// --- core generator ---------------------------------------------------------------

ImodelKTRepository::ImodelKTRepository() : ImodelRepository(GetKTCoresPluginName(), false) {}

std::string ImodelKTRepository::GetLocation() const
{
    if (m_plugin) return m_plugin->GetLocation();
    std::string location;
    ImodelDefGetStr("KILTORACORE_CATALOG_LOC", location);
    return location;
}

void ImodelKTRepository::CreateNewPlugin(const std::string&)
{
    m_plugin.reset();
    if (const boost::shared_ptr<IIpMgrCallback> callback = GetCallback())
        m_plugin = callback->CreateKiltoraCorePlugin(GetLocation());
}

std::string ImodelKTRepository::GetGotFromText() const { return GotFromText(kKTGotFromTexts, GetGotFromCode()); }

void ImodelKTRepository::Accept(ImodelRepVisitor& visitor) { visitor.Visit(*this); }

// --- user --------------------------------------------------------------------------

ImodelUserRepository::ImodelUserRepository(const char* name, boost::shared_ptr<IIpRepository> userRepository)
    : ImodelRepository(name ? name : "", false), m_userRepository(std::move(userRepository))
{
}

std::string ImodelUserRepository::GetLocation() const
{
    return m_userRepository ? m_userRepository->GetLocation() : std::string();
}

void ImodelUserRepository::CreateNewPlugin(const std::string&)
{
    if (GetCallback()) m_plugin = m_userRepository;
}

// In batch and script use nobody watches the browser: the result is
// reported to the user instead.
bool ImodelUserRepository::LoadPlugin()
{
    const CatalogState state = m_plugin ? CatalogLoaded : CatalogNotOnDisk;
    SetPluginState(state);
    const boost::shared_ptr<IIpMgrCallback> callback = GetCallback();
    if (callback && !Imodel::IsInteractiveMode()) {
        if (const IIpMgrCallback::ResultCallback report = callback->GetLoadResultReporter())
            report(GetName(), static_cast<int>(state));
    }
    return true;
}

std::string ImodelUserRepository::GetGotFromText() const { return GotFromText(kUserGotFromTexts, GetGotFromCode()); }

void ImodelUserRepository::Accept(ImodelRepVisitor& visitor) { visitor.Visit(*this); }
