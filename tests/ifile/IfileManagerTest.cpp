#include "MessageRecorder.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "imodel/Imodel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(IfileManager, AProjectWithoutFilesAnswersEmpty)
{
    Imodel& model = Imodel::GetInstance();
    IfileManager* files = model.GetFileManager();
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->GetFileCount(), 0);

    std::vector<IfileManager::Entry> out(2);
    files->GetFiles(out, 0, nullptr);
    EXPECT_TRUE(out.empty());
    out.resize(1);
    files->GetFilesWith(out);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(files->RetargetFiles(1, 2));
    EXPECT_NE(model.GetExtendedInfoManager(), nullptr);
}

TEST(IfileExtendedInfoManager, TellsOfFailedLocalCopies)
{
    MessageRecorder messages;
    IfileExtendedInfoManager::DisplayFailedToCreateLocalCopiesMessage("/prj/core.cxf");
    const std::vector<MdbMessage> shown = messages.WithId("CONVERT_FAILED_LOCAL_COPIES");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].number, 1200u * 65536u + 34u);
    EXPECT_NE(shown[0].text.find("/prj/core.cxf"), std::string::npos);
}
