// Core repositories: their status texts, one golden dump.
#include "Golden.h"
#include "RepositoryTestSupport.h"

#include "imodel/cores/ImodelCvlibRepository.h"
#include "imodel/cores/ImodelIPRepository.h"
#include "imodel/cores/ImodelKTRepository.h"
#include "imodel/cores/ImodelUserRepository.h"

#include <gtest/gtest.h>

namespace {

class RepositoryTest : public testing::Test {
protected:
    RepositoryTest()
    {
        DefUnset("KILTORACORE_CATALOG_LOC");
        DebugMessagesOff();
    }
    ~RepositoryTest() override { DefUnset("KILTORACORE_CATALOG_LOC"); }
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

}  // namespace
