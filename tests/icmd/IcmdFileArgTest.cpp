// File arguments in a project: "<project>" texts, texts taken against the
// command manager's folder, files that must belong to the project, the two
// conversion functions and the export of an optional file.
#include "IcmdTestSupport.h"

#include "icmd/args/IcmdTCLFileArgSafeExport.h"

#include <foundation/Sys.h>

namespace {

using File = IcmdTCLFileArg::File;

class IcmdFileArgTest : public IcmdTest {
protected:
    // The file the argument gives for one text, validated as a run would.
    File Convert(const std::string& text, bool inProject = false)
    {
        EchoCommand command;
        command.files.SetMustBeInProject(inProject);
        command.files.SetValueFromText(text.c_str());
        validation = AcmdEnum::Success;
        command.files.initAndValidateObject(validation);
        return command.files.GetObjects().empty() ? File() : command.files.GetObjects().front();
    }
    std::string InProject(const std::string& name) const { return m_folder.Path() + "/" + name; }
    std::string NotInProject(const std::string& name) const { return "'" + name + "' is not in the project."; }

    AcmdEnum::Result validation = AcmdEnum::Success;
};

}  // namespace

TEST_F(IcmdFileArgTest, ProjectTextsAreNormalisedInTheProjectFolderWhateverFolderTheCommandRunsIn)
{
    TempFolder elsewhere;
    Manager().SetCurrentFolder(elsewhere.Path());
    const File member = AddProjectFile("hdl/top.v");
    for (const std::string text : {"<project>/hdl/top.v", "<project>//hdl/top.v", "<project>\\hdl\\sub\\..\\top.v"})
        EXPECT_EQ(Convert(text, true), member) << text;
    EXPECT_EQ(Convert("sub/../x.v")->GetFullFileName().GetString(), elsewhere.Path() + "/x.v");

    // A name that climbs out of the project names the file beside it.
    const File outside = Convert("<project>/hdl/../../x.v", true);
    EXPECT_EQ(validation, AcmdEnum::Failure);
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(outside->GetInternalFileName().GetString(), SysGetQualifiedPath(m_folder.Path() + "/../x.v"));
    EXPECT_EQ(TextsOf("FILE_NOT_IN_PROJECT"), Texts{NotInProject(outside->GetInternalFileName())});

    // The token alone names the folder, no file; inside a path it could
    // not be told from the folder once stored.
    for (const std::string text : {"<project>", "sub/../<project>", "<project>/<project>/x.v"}) {
        EXPECT_EQ(Convert(text), nullptr) << text;
        EXPECT_EQ(validation, AcmdEnum::Failure) << text;
    }
    EXPECT_EQ(TextsOf("ARG_NOT_FOUND").size(), 3u);
}

TEST_F(IcmdFileArgTest, FilesSetInCodeAreThoseOfTheProjectAndTravelAsFullPaths)
{
    const File member = AddProjectFile("hdl/top.v");
    EchoCommand command;
    command.files.SetFileObjects(
        std::deque<IfileObject>{*member, IfileObject(InProject("gone.v"), zorpaFT_HDL, ImodelFMFull, true, true)});
    EXPECT_EQ(command.files.GetObjects(), std::vector<File>{member});
    EXPECT_EQ(command.files.GetValueTexts(), Texts{InProject("hdl/top.v")});
    EXPECT_EQ(IcmdTCLArgValueFromFileObject(member, true), "<project>/hdl/top.v");
    EXPECT_EQ(IcmdTCLArgValueFromFileObject(File(), false), "");

    // A bare name lies in the folder of its type.
    EXPECT_EQ(IcmdGetFileObjectFromTCLArgValue("top.v", "", zorpaFT_HDL, true, false), member);
    EXPECT_EQ(IcmdGetFileObjectFromTCLArgValue("a.txt", "", zorpaFT_UNKNOWN, true, false)->GetInternalFileName(),
              "<project>/a.txt");
    EXPECT_EQ(IcmdGetFileObjectFromTCLArgValue("<project>/x.v", "", zorpaFT_HDL, false, false), nullptr);

    // An optional file of an exported command is written only when given.
    IcmdTCLFileArgSafeExport optional(&command, false, false);
    IcmdTCLFileArgSafeExport required(&command, true, false);
    EXPECT_FALSE(optional.ExportParam());
    EXPECT_TRUE(required.ExportParam());
    optional.SetFileObject(*member);
    EXPECT_TRUE(optional.ExportParam());
}
