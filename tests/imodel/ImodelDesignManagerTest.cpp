#include "IeventRecorder.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include "imodel/Imodel.h"
#include "imodel/ImodelDesignManager.h"
#include "imodel/ImodelRevisionManager.h"
#include "imodel/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/ImodelTemplateManager.h"
#include "imodel/imodelDesignManagerImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(ImodelDesignManager, TheProjectFileNameJoinsFolderAndName)
{
    imodelDesignManagerImpl manager;
    EXPECT_EQ(manager.GetProjectFolder(), "");
    manager.SetProjectFolder(std::string("C:\\work\\designs\\alu\\"));
    manager.SetProjectName(std::string("alu"));
    EXPECT_EQ(manager.GetProjectFolder().GetString(), "C:/work/designs/alu");
    EXPECT_EQ(manager.GetProjectName().GetString(), "alu");
    EXPECT_EQ(manager.GetProjectFileName().GetString(), "C:/work/designs/alu/alu.prj");
}

TEST(ImodelDesignManager, TheNeedSaveFlagIsAnnouncedOnlyWhenItChanges)
{
    Imodel::GetInstance();
    IeventRecorder view;
    imodelDesignManagerImpl manager;
    EXPECT_FALSE(manager.GetNeedSave());

    manager.SetNeedSave(true);
    manager.SetNeedSave(true);
    EXPECT_TRUE(manager.GetNeedSave());
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 1);

    manager.SetNeedSave(false);
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 2);

    // The default HDL: the same value changes nothing, a new one needs a save.
    manager.SetDefaultVHDL(false);
    EXPECT_FALSE(manager.GetNeedSave());
    manager.SetDefaultVHDL(true);
    EXPECT_TRUE(manager.IsDefaultVHDL());
    EXPECT_TRUE(manager.GetNeedSave());
    EXPECT_EQ(view.Count("IeventNeedSaveFlagChanged"), 3);
    EXPECT_EQ(view.Names().size(), 3u);
}

TEST(ImodelDesignManager, AProjectIsOpenWhileTheManagerHoldsAStream)
{
    TempFolder folder;
    imodelDesignManagerImpl manager;
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_EQ(manager.GetProjectFileStream(), nullptr);

    manager.ResetProjectFileStream(true);
    ASSERT_TRUE(manager.HasProjectFileStream());
    std::fstream* stream = manager.GetProjectFileStream();
    EXPECT_FALSE(stream->is_open());
    stream->open(folder / "p.prj", std::ios::out);
    ASSERT_TRUE(stream->is_open());
    *stream << "KEY x\n";

    // Dropping the stream closes it first: what was written is on disk.
    manager.ResetProjectFileStream(false);
    EXPECT_FALSE(manager.HasProjectFileStream());
    EXPECT_EQ(folder.Read("p.prj"), "KEY x\n");
}

TEST(ImodelDesignManager, TheModelHandsOutItsManagers)
{
    Imodel& model = Imodel::GetInstance();
    EXPECT_NE(model.GetDesignManager(), nullptr);
    EXPECT_NE(model.GetDeviceManager(), nullptr);
    ASSERT_NE(model.GetRevisionManager(), nullptr);
    EXPECT_EQ(model.GetRevisionManager()->GetCurrentRevisionNumber(), 0);
    EXPECT_EQ(model.GetRevisionManager()->GetRevisionCount(), 0);
    EXPECT_EQ(model.GetRevisionManager()->GetCurrentRevisionName(), "");
}

TEST(ImodelSetAndRestoreModelFlagObject, PutsTheFlagBackOnEveryPath)
{
    bool& flag = Imodel::GetIsReadingProject();
    ASSERT_FALSE(flag);
    {
        ImodelSetAndRestoreModelFlagObject setter(flag, true);
        EXPECT_TRUE(flag);
        setter.Unset();
        EXPECT_FALSE(flag);
        flag = true;  // someone else sets it meanwhile; the setter still restores
    }
    EXPECT_FALSE(flag);
    {
        ImodelSetAndRestoreModelFlagObject outer(flag, true);
        ImodelSetAndRestoreModelFlagObject inner(flag, false);
        EXPECT_FALSE(flag);
    }
    EXPECT_FALSE(flag);
}

namespace {

class ImodelTemplateManagerTest : public testing::Test {
protected:
    // The model (and its own template manager) exists before the options change.
    void SetUp() override
    {
        DefReset();
        Imodel::GetInstance();
    }
    void TearDown() override { DefReset(); }
    TempFolder folder;
};

}  // namespace

TEST_F(ImodelTemplateManagerTest, TheUserTemplateFolderEndsWithASeparatorAndIsCreated)
{
    const std::string templates = folder / "user/templates";
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", templates.c_str()), 0);
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), templates + "/");
    EXPECT_TRUE(std::filesystem::is_directory(templates));

    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", (templates + "/").c_str()), 0);
    EXPECT_EQ(manager.getUserTemplateDirectory(), templates + "/");
}

TEST_F(ImodelTemplateManagerTest, NoFolderOptionMeansNoUserTemplateFolder)
{
    MessageRecorder messages;
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), "");
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", ""), 0);
    EXPECT_EQ(manager.getUserTemplateDirectory(), "");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImodelTemplateManagerTest, AFolderThatCannotBeMadeIsReportedAndKept)
{
    const std::string blocked = folder.Write("plain_file", "x") + "/templates";
    ASSERT_EQ(DefSetFL("TEMPLATE_DIR", blocked.c_str()), 0);
    MessageRecorder messages;
    ImodelTemplateManager manager;
    EXPECT_EQ(manager.getUserTemplateDirectory(), blocked + "/");
    // Once at construction and once for the query.
    EXPECT_EQ(messages.WithId("UNABLE_TO_CREATE_DIR").size(), 2u);
}
