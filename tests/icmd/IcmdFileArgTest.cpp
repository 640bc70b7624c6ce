// File arguments: "<project>" texts, texts taken against the command
// manager's folder, files that must belong to the project, the two
// conversion functions and the export of an optional file.
#include "IcmdTestSupport.h"

#include "icmd/IcmdTCLFileArgSafeExport.h"

#include <foundation/Sys.h>

namespace {

using Texts = std::vector<std::string>;
using File = IcmdTCLFileArg::File;

class IcmdFileArgTest : public IcmdTest {
protected:
    // The file the argument gives for one text, validated as a command would.
    File Convert(const std::string& text, bool inProject = false)
    {
        EchoCommand command;
        command.files.SetMustBeInProject(inProject);
        command.files.SetValueFromText(text.c_str());
        AcmdEnum::Result result = AcmdEnum::Success;
        command.files.initAndValidateObject(result);
        m_lastResult = result;
        return command.files.GetObjects().empty() ? File() : command.files.GetObjects().front();
    }

    std::string Project(const std::string& name) const { return m_folder.Path() + "/" + name; }

    AcmdEnum::Result m_lastResult = AcmdEnum::Success;
};

}  // namespace

TEST_F(IcmdFileArgTest, ProjectTextsAreResolvedInTheProjectFolderWhateverFolderTheCommandRunsIn)
{
    TempFolder elsewhere;
    Manager().SetCurrentFolder(elsewhere.Path());
    const File member = AddProjectFile("hdl/top.v");

    // Every separator after the token goes; the member entry itself is found.
    for (const std::string text : {"<project>/hdl/top.v", "<project>//hdl/top.v", "<project>\\hdl\\top.v"}) {
        EXPECT_EQ(Convert(text, true), member) << text;
        EXPECT_EQ(m_lastResult, AcmdEnum::Success) << text;
    }
    // A relative text is taken against the manager's folder.
    const File relative = Convert("sub/../x.v");
    ASSERT_NE(relative, nullptr);
    EXPECT_EQ(relative->GetFullFileName().GetString(), elsewhere.Path() + "/x.v");

    // A name that climbs out of the project names the file beside it, not
    // a file of the project.
    const File outside = Convert("<project>/hdl/../../x.v");
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(outside->GetFullFileName().GetString(), SysGetQualifiedPath(m_folder.Path() + "/../x.v"));
    EXPECT_EQ(outside->GetInternalFileName().GetString(), outside->GetFullFileName().GetString());
    EXPECT_FALSE(outside->IsFileInProject());
    const File again = Convert("<project>/../x.v", true);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetFullFileName(), outside->GetFullFileName());
    EXPECT_EQ(m_lastResult, AcmdEnum::Failure);
    EXPECT_EQ(TextsOf("FILE_NOT_IN_PROJECT"),
              Texts{"'" + outside->GetFullFileName().GetString() + "' is not in the project."});

    // The token alone names the folder, no file; inside a path it could
    // not be told from the folder once stored.
    m_messages.Clear();
    EXPECT_EQ(Convert("<project>"), nullptr);
    EXPECT_EQ(m_lastResult, AcmdEnum::Failure);
    EXPECT_EQ(Convert("sub/../<project>"), nullptr);
    EXPECT_EQ(Convert("<project>/<project>/x.v"), nullptr);
    EXPECT_EQ(TextsOf("ARG_NOT_FOUND"), (Texts{"cannot find file '<project>'.", "cannot find file 'sub/../<project>'.",
                                               "cannot find file '<project>/<project>/x.v'."}));
}

TEST_F(IcmdFileArgTest, EveryFileOutsideTheProjectIsToldAndTheCommandFailsOnce)
{
    Design().SetProjectOpen(true);
    AddProjectFile("a.v");
    EXPECT_EQ(Eval("echo_project_args -file <project>/a.v"), TCL_OK) << Result();
    EXPECT_EQ(Result(), "file: " + Project("a.v") + " (in the project)");

    EchoCommand command(EchoSetup{"echo_project_args", true, true});
    for (const char* text : {"b.v", "c.v"}) command.files.SetValueFromText(text);
    EXPECT_FALSE(command.files.isSetAndValid());
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Failure);
    EXPECT_EQ(TextsOf("FILE_NOT_IN_PROJECT"), (Texts{"'" + Project("b.v") + "' is not in the project.",
                                                     "'" + Project("c.v") + "' is not in the project."}));
    EXPECT_EQ(Eval("echo_project_args -file b.v -file c.v"), TCL_ERROR);
    EXPECT_EQ(Result(),
              "'" + Project("b.v") + "' is not in the project.\n'" + Project("c.v") + "' is not in the project.");

    // An empty text names no file: it is dropped, not counted.
    EXPECT_EQ(Eval("echo_project_args -file {} -file <project>/a.v"), TCL_OK) << Result();
    EXPECT_EQ(Result(), "file: " + Project("a.v") + " (in the project)");
}

TEST_F(IcmdFileArgTest, FilesSetInCodeAreThoseOfTheProjectAndTravelAsFullPaths)
{
    const File member = AddProjectFile("hdl/top.v");
    EchoCommand command;
    const std::deque<IfileObject> values{*member,
                                         IfileObject(Project("gone.v"), zorpaFT_HDL, ImodelFMFull, true, true)};
    command.files.SetFileObjects(values);
    ASSERT_EQ(command.files.GetObjects().size(), 1u);
    EXPECT_EQ(command.files.GetObjects().front(), member);
    EXPECT_EQ(command.files.GetValueTexts(), Texts{Project("hdl/top.v")});

    EXPECT_EQ(IcmdTCLArgValueFromFileObject(member, true), "<project>/hdl/top.v");
    EXPECT_EQ(IcmdTCLArgValueFromFileObject(member, false), Project("hdl/top.v"));
    EXPECT_EQ(IcmdTCLArgValueFromFileObject(File(), false), "");

    // A bare name lies in the folder of its type; a name with a folder
    // part is a path of its own.
    EXPECT_EQ(IcmdGetFileObjectFromTCLArgValue("top.v", "", zorpaFT_HDL, true, false), member);
    const File bare = IcmdGetFileObjectFromTCLArgValue("notes.txt", "", zorpaFT_UNKNOWN, true, false);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->GetInternalFileName().GetString(), "<project>/notes.txt");
    EXPECT_EQ(IcmdGetFileObjectFromTCLArgValue("", "", zorpaFT_HDL, true, false), nullptr);
    // Without the token allowed, a "<project>" text names no file.
    EXPECT_EQ(IcmdGetFileObjectFromTCLArgValue("<project>/x.v", "", zorpaFT_HDL, false, false), nullptr);
}

TEST_F(IcmdFileArgTest, AnOptionalSafeFileIsExportedOnlyWithAFile)
{
    EchoCommand command;
    IcmdTCLFileArgSafeExport optional(&command, false, false);
    IcmdTCLFileArgSafeExport required(&command, true, false);
    EXPECT_FALSE(optional.ExportParam());
    EXPECT_TRUE(required.ExportParam());
    optional.SetFileObject(*AddProjectFile("a.v"));
    EXPECT_TRUE(optional.ExportParam());
    EXPECT_EQ(optional.GetValueTexts(), Texts{Project("a.v")});
    EXPECT_EQ(optional.GetTypeDescription(), "a file path");
    optional.SetMustBeInProject(true);
    EXPECT_EQ(optional.GetTypeDescription(), "a file from the current project");
}
