// Core repositories: their status texts (one golden dump), states announced
// before they are stored, and re-creating and loading their catalogues with
// or without a host and its callback.
#include "Golden.h"
#include "RepositoryTestSupport.h"
#include "TempFolder.h"

#include "imodel/cores/ImodelCvlibRepository.h"
#include "imodel/cores/ImodelIPRepository.h"
#include "imodel/cores/ImodelKTRepository.h"
#include "imodel/cores/ImodelUserRepository.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Lines = std::vector<std::string>;

class RepositoryTest : public testing::Test {
protected:
    RepositoryTest()
    {
        DefUnset("KILTORACORE_CATALOG_LOC");
        DebugMessagesOff();
    }
    ~RepositoryTest() override { DefUnset("KILTORACORE_CATALOG_LOC"); }

    boost::shared_ptr<FakeCallback> callback = boost::make_shared<FakeCallback>();
    TempFolder folder;
};

// An IP repository whose got-from code the test sets.
class CodedIPRepository : public ImodelIPRepository {
public:
    void SetCode(int code) { SetGotFromCode(code); }
};

TEST_F(RepositoryTest, TheStatusAndOriginTextsOfEveryStateAndKindMatchTheGoldenFile)
{
    CodedIPRepository ip;
    ImodelKTRepository kt;
    ImodelUserRepository user("mine", boost::make_shared<FakePlugin>("/u"));
    ImodelCvlibRepository cvlib;
    std::string dump;
    for (int state = 0; state <= 6; ++state) {
        ip.SetPluginState(static_cast<CatalogState>(state));
        dump += "state " + std::to_string(state) + " | " + GoldenText(ip.GetCatalogStatus(false)) + " | " +
                GoldenText(ip.GetCatalogStatus(true)) + "\n";
    }
    for (int code = -1; code <= 5; ++code) {
        ip.SetCode(code);
        dump += "ip " + std::to_string(code) + " | " + ip.GetGotFromText() + "\n";
    }
    dump += "kt | " + kt.GetGotFromText() + "\nuser | " + user.GetGotFromText() + "\ncvlib | " +
            cvlib.GetGotFromText() + "\n";
    ExpectMatchesGolden("repository_texts.txt", dump);
    // With debug messages the html text also tells where the index came from.
    ip.SetPluginState(CatalogUnreadable);
    ip.SetCode(0);
    DebugCapture debug;
    EXPECT_NE(ip.GetCatalogStatus(true).find("DEBUG:Unable to determine where index.xml could be located<br>"),
              std::string::npos);
}

TEST_F(RepositoryTest, ANewStateIsAnnouncedBeforeItIsStored)
{
    CallbackHost host(callback);
    callback->defaultLocation = "/catalogs/ip";
    ImodelIPRepository repository;
    RepositoryEventRecorder recorder(&repository);
    repository.SetPluginState(CatalogNotLoadedYet);
    EXPECT_TRUE(recorder.lines.empty());
    repository.SetPluginState(CatalogLoaded);
    repository.SetPluginState(CatalogLoaded);
    EXPECT_EQ(recorder.lines, Lines{"changed /catalogs/ip 1"});
    EXPECT_EQ(repository.GetPluginState(), CatalogLoaded);
}

TEST_F(RepositoryTest, IPRecreateFindsCreatesAndLoads)
{
    CallbackHost host(callback);
    callback->defaultLocation = folder.Path();
    ImodelIPRepository repository;
    repository.CreateNewPlugin("ignored");
    ASSERT_EQ(callback->created, Lines{"IP " + folder.Path()});
    repository.SetPluginState(CatalogLoaded);

    RepositoryEventRecorder recorder(&repository);
    repository.DestroyAndReCreate();
    const std::string at = folder.Path();
    EXPECT_EQ(recorder.lines, (Lines{"changed " + at + " 0", "changed " + at + " 4", "changed " + at + " 5",
                                     "changed " + at + " 1", "ready " + at}));
    EXPECT_EQ(repository.GetPluginState(), CatalogLoaded);
    EXPECT_EQ(callback->loader.calls, Lines{"Unload " + at});  // the IP loader is the host's own
    EXPECT_EQ(callback->created.size(), 2u);
    EXPECT_EQ(repository.GetGotFromText(), "Got index.xml location from IP_VAULT_DEV_LOCATION");

    // The callback makes no plug-in: loading reports the catalogue missing.
    callback->makePlugins = false;
    repository.DestroyAndReCreate();
    EXPECT_EQ(repository.GetPluginState(), CatalogNotOnDisk);
    EXPECT_EQ(repository.GetLocation(), at);
}

TEST_F(RepositoryTest, AMissingLocationStopsTheIPRepositoryButNotTheOthers)
{
    CallbackHost host(callback);
    const std::string missing = folder / "nowhere";
    callback->defaultLocation = missing;
    ImodelIPRepository ip;
    ip.CreateNewPlugin("");
    callback->defaultLocation = folder.Path();
    ip.DestroyAndReCreate();
    EXPECT_EQ(ip.GetPluginState(), CatalogNotOnDisk);
    EXPECT_EQ(ip.GetLocation(), missing);  // the plug-in is kept
    EXPECT_TRUE(callback->loader.calls.empty());

    DefSetFL("KILTORACORE_CATALOG_LOC", missing.c_str());
    ImodelKTRepository kt;
    RepositoryEventRecorder recorder(&kt);
    kt.DestroyAndReCreate();
    EXPECT_EQ(callback->loader.calls, Lines{"Load " + missing + " index.xml built-in read-only"});
    // 4, 5, then 1 when the old plug-in goes; the load leaves the state.
    EXPECT_EQ(recorder.lines,
              (Lines{"changed " + missing + " 1", "changed " + missing + " 4", "changed " + missing + " 5"}));
    // An empty location stops before anything is made.
    DefSetFL("KILTORACORE_CATALOG_LOC", "");
    callback->created.clear();
    ImodelKTRepository unset;
    unset.DestroyAndReCreate();
    EXPECT_TRUE(callback->created.empty());
}

TEST_F(RepositoryTest, WithoutHostOrCallbackOnlyStatesChange)
{
    DefSetFL("KILTORACORE_CATALOG_LOC", "/kt");
    for (const bool withHost : {false, true}) {
        std::optional<CallbackHost> host;
        if (withHost) host.emplace(boost::shared_ptr<IIpMgrCallback>());
        ImodelKTRepository kt;
        kt.CreateNewPlugin("");
        EXPECT_FALSE(kt.LoadPlugin());
        kt.SetPluginState(CatalogLoaded);
        kt.RemovePlugin();
        EXPECT_EQ(kt.GetPluginState(), CatalogLoaded);
        ImodelIPRepository ip;
        ip.DestroyAndReCreate();  // no location: stops at state 4
        EXPECT_EQ(ip.GetPluginState(), CatalogNotOnDisk);
        ImodelUserRepository user("mine", boost::make_shared<FakePlugin>("/u"));
        user.CreateNewPlugin("");
        EXPECT_TRUE(user.LoadPlugin());
        EXPECT_EQ(user.GetPluginState(), CatalogNotOnDisk);
    }
}

}  // namespace
