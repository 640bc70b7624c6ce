#include "RepositoryTestSupport.h"

#include "imodel/cores/ImodelRepMgrCallBack.h"
#include "imodel/cores/ImodelRepositoryMgr.h"

#include <dastrel/DastrelModel.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using Lines = std::vector<std::string>;

Lines Names()
{
    Lines names;
    for (const auto& repository : ImodelRepositoryMgr::GetInstance().GetRepositories())
        names.push_back(repository->GetName());
    return names;
}

// Runs `check` in a fresh copy of this program, where the manager is not
// built yet; fails when the check fails there.
void ExpectInFreshProcess(const std::function<bool()>& check)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(check() ? 0 : 1), testing::ExitedWithCode(0), "");
}

bool NamesAre(const Lines& expected)
{
    const Lines names = Names();
    if (names == expected) return true;
    for (const std::string& name : names) std::fprintf(stderr, "repository %s\n", name.c_str());
    return false;
}

TEST(RepositoryMgrConstructionTest, TheBuiltInRepositoriesWithoutHost)
{
    ExpectInFreshProcess([] {
        DefUnset("IDE_DISPLAY_IPCORES");
        if (!NamesAre({"Kiltora", "cvlib"})) return false;
        // The IP-repository library got no callback: a new user repository
        // is not announced to the list.
        const auto callback = boost::make_shared<FakeCallback>();
        callback->added = ImodelRepMgrCallBack().GetUserPluginAddedCallback();
        CallbackHost host(callback);
        return ImodelRepositoryMgr::GetInstance().AddUserRepository("mine", "/mine") && NamesAre({"Kiltora", "cvlib"});
    });
}

TEST(RepositoryMgrConstructionTest, TheIPRepositoryWhenEnabledAndTheHostsCallback)
{
    ExpectInFreshProcess([] {
        DefSetFL("IDE_DISPLAY_IPCORES", "1");
        const auto callback = boost::make_shared<FakeCallback>();
        callback->added = ImodelRepMgrCallBack().GetUserPluginAddedCallback();
        CallbackHost host(callback);
        if (!NamesAre({"IP", "Kiltora", "cvlib"})) return false;
        return ImodelRepositoryMgr::GetInstance().AddUserRepository("mine", "/mine") &&
               NamesAre({"IP", "Kiltora", "cvlib", "mine"});
    });
}

// The manager is process-wide: every test leaves the list as it found it.
class RepositoryMgrTest : public testing::Test {
protected:
    RepositoryMgrTest()
    {
        callback->added = ImodelRepMgrCallBack().GetUserPluginAddedCallback();
        callback->removed = ImodelRepMgrCallBack().GetUserPluginRemovedCallback();
        DastrelModel::GetInstance().Init(callback, Dastrel::UserRepositoryFileDefault);
        before = Names();
    }
    ~RepositoryMgrTest() override
    {
        DastrelModel::GetInstance().Init({}, Dastrel::UserRepositoryFileDefault);
        for (const char* location : {"/a", "/b", "/c"}) DastrelModel::GetInstance().RemoveUserRep(location);
        for (const auto& repository : Manager().GetRepositories()) {
            if (repository->IsUserRepository())
                ImodelRepositoryMgr::OnUserRepRemoved(boost::make_shared<FakePlugin>("", repository->GetName()));
        }
    }

    static ImodelRepositoryMgr& Manager() { return ImodelRepositoryMgr::GetInstance(); }
    Lines With(const Lines& added) const
    {
        Lines names = before;
        names.insert(names.end(), added.begin(), added.end());
        return names;
    }

    boost::shared_ptr<FakeCallback> callback = boost::make_shared<FakeCallback>();
    CallbackHost host{callback};
    Lines before;
};

TEST_F(RepositoryMgrTest, UserRepositoriesComeAndGoByAnnouncement)
{
    RepositoryEventRecorder recorder;
    EXPECT_TRUE(Manager().AddUserRepository("first", "/a"));
    EXPECT_TRUE(Manager().AddUserRepository("second", "/b"));
    EXPECT_TRUE(Manager().AddUserRepository("again", "/a"));  // a location already listed is not asked for again
    EXPECT_EQ(Names(), With({"first", "second"}));
    EXPECT_EQ(Manager().FindPluginByName("second"), Manager().FindPlugin("/b"));
    EXPECT_FALSE(Manager().FindPlugin("/A"));
    Manager().RemoveUserRepository("nobody", "ignored");
    Manager().RemoveUserRepository("first", "ignored");
    Manager().RemoveUserRepository(Manager().FindPlugin("/b"));
    Manager().RemoveUserRepository(boost::shared_ptr<ImodelRepository>());
    EXPECT_EQ(recorder.lines, (Lines{"removed /a", "removed /b"}));
    EXPECT_EQ(Names(), before);
    // No location is no repository, even while a built-in one has none.
    DefUnset("KILTORACORE_CATALOG_LOC");
    EXPECT_FALSE(Manager().AddUserRepository("nameless", ""));
}

}  // namespace
