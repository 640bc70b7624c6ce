#include "RepositoryTestSupport.h"

#include "imodel/cores/ImodelRepMgrCallBack.h"
#include "imodel/cores/ImodelRepositoryMgr.h"

#include <dastrel/DastrelModel.h>

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

Lines Names()
{
    Lines names;
    for (const auto& repository : ImodelRepositoryMgr::GetInstance().GetRepositories())
        names.push_back(repository->GetName());
    return names;
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
