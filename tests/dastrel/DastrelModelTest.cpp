#include <dastrel/DastrelModel.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

namespace {

using Lines = std::vector<std::string>;

// A host callback that records the user repositories announced to it.
class AnnouncementCallback : public IIpMgrCallback {
public:
    Lines announced;

    IIpPluginLoader* GetPluginLoader() override { return nullptr; }
    ResultCallback GetLoadFinishedCallback() override { return {}; }
    RepositoryCallback GetUserPluginAddedCallback() override { return Recorder("added "); }
    RepositoryCallback GetUserPluginRemovedCallback() override { return Recorder("removed "); }
    boost::shared_ptr<IIpRepository> CreateIpCorePlugin(const std::string&) override { return {}; }
    boost::shared_ptr<IIpRepository> CreateKiltoraCorePlugin(const std::string&) override { return {}; }
    ResultCallback GetLoadResultReporter() override { return {}; }
    std::string GetDefaultIpCatalogLocation() override { return {}; }

private:
    RepositoryCallback Recorder(const std::string& what)
    {
        return [this, what](boost::shared_ptr<IIpRepository> repository) {
            announced.push_back(what + repository->GetName() + " " + repository->GetLocation());
        };
    }
};

TEST(DastrelModelTest, UserRepositoriesAreKeptAndAnnounced)
{
    DastrelModel& model = DastrelModel::GetInstance();
    const auto callback = boost::make_shared<AnnouncementCallback>();
    model.Init(callback, Dastrel::UserRepositoryFileDefault);
    model.RegisterCommands();

    const auto [created, repository] = model.CreateUserRep("/cores/mine", "mine");
    ASSERT_TRUE(created);
    ASSERT_TRUE(repository);
    EXPECT_EQ(repository->GetLocation(), "/cores/mine");
    EXPECT_EQ(repository->GetName(), "mine");
    EXPECT_EQ(repository->GetIndexFileName(), "index.xml");
    EXPECT_TRUE(repository->IsUserRepository());
    EXPECT_FALSE(repository->IsReadOnly());

    // The same location again: the repository kept, not announced twice.
    const auto again = model.CreateUserRep("/cores/mine", "other name");
    EXPECT_TRUE(again.first);
    EXPECT_EQ(again.second, repository);
    EXPECT_FALSE(model.CreateUserRep("", "nameless").first);

    EXPECT_FALSE(model.RemoveUserRep("/cores/MINE"));
    EXPECT_TRUE(model.RemoveUserRep("/cores/mine"));
    EXPECT_FALSE(model.RemoveUserRep("/cores/mine"));
    EXPECT_EQ(callback->announced, (Lines{"added mine /cores/mine", "removed mine /cores/mine"}));

    // Without a callback nobody is told, and nothing fails.
    model.Init({}, Dastrel::UserRepositoryFileDefault);
    EXPECT_TRUE(model.CreateUserRep("/quiet", "quiet").first);
    EXPECT_TRUE(model.RemoveUserRep("/quiet"));
    EXPECT_EQ(callback->announced.size(), 2u);
}

}  // namespace
