// Loading the library: the build identity is registered once, in its order
// (one golden dump), and loads are counted.
#include "Golden.h"

#include "imodel/model/QuorlaneModule.h"

#include <foundation/Arev.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(QuorlaneModule, FirstLoadRegistersTheBuildIdentityOnceInOrder)
{
    // Other tests of this program may have loaded the module already.
    int handle = 0;
    const int loads = QuorlaneGetLoadCount();
    EXPECT_EQ(QuorlaneInit(&handle), 0);
    EXPECT_EQ(QuorlaneInit(&handle + 1), 0);
    EXPECT_EQ(QuorlaneGetLoadCount(), loads + 2);
    EXPECT_EQ(QuorlaneGetModuleHandle(), &handle + 1);

    // The build view names the source revision: the same in every build but
    // its value.
    std::string dump;
    for (const std::string& line : ArevGetRegistrationLog()) {
        const std::string view = "ArevSetBuildView=";
        const bool isView = line.rfind(view, 0) == 0;
        if (isView) {
            EXPECT_GT(line.size(), view.size());
        }
        dump += (isView ? view + "<revision>" : line) + "\n";
    }
    ExpectMatchesGolden("build_identity.txt", dump);
    EXPECT_EQ(ArevGetReleaseVerinfoString(), "8.4");

    for (int i = 0; i < loads + 3; ++i) QuorlaneExit();  // one more than loaded
    EXPECT_EQ(QuorlaneGetLoadCount(), 0);
    // Loaded again in the same process: the identity is not registered twice.
    const std::size_t logged = ArevGetRegistrationLog().size();
    QuorlaneInit(&handle);
    EXPECT_EQ(ArevGetRegistrationLog().size(), logged);
    QuorlaneExit();
}
