// File arguments in a project: "<project>" texts, texts taken against the
// command manager's folder, files that must belong to the project, the two
// conversion functions and the export of an optional file.
#include "IcmdTestSupport.h"

#include "icmd/args/IcmdTCLFileArgSafeExport.h"
#include "icmd/args/IcmdTCLFilePathArg.h"

#include <foundation/Sys.h>

namespace {

using File = IcmdTCLFileArg::File;

// Names a file for another program: answers the path it was given.
class PathCommand : public AcmdBase {
public:
    std::string GetName() const override { return "path_arg"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<PathCommand>(); }
    AcmdEnum::Result execDo() override
    {
        SetResultMsg(file.GetObject());
        return AcmdEnum::Success;
    }

    IcmdTCLFilePathArg file{this, false};
};

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
    // not be told from the folder once stored, and is refused as such.
    for (const std::string text : {"<project>", "sub/../<project>", "<project>/<project>/x.v"}) {
        EXPECT_EQ(Convert(text), nullptr) << text;
        EXPECT_EQ(validation, AcmdEnum::Failure) << text;
    }
    EXPECT_EQ(TextsOf("ARG_NOT_FOUND"), Texts{"cannot find file '<project>'."});
    EXPECT_EQ(TextsOf("INVALID_NAME_CHAR").size(), 2u);
}

TEST_F(IcmdFileArgTest, ANameTheProjectFileCannotHoldIsRefusedForWhatItIsNeverAsNotFound)
{
    TempFolder elsewhere;
    Manager().SetCurrentFolder(elsewhere.Path());
    for (const std::string name : {"say \"hi\"/a.v", "two\nlines/a.v"}) {
        elsewhere.Write(name, "");
        messages.Clear();
        EXPECT_EQ(Convert(name), nullptr) << name;
        EXPECT_EQ(validation, AcmdEnum::Failure) << name;
        EXPECT_EQ(TextsOf("INVALID_NAME_CHAR").size(), 1u) << name;
        EXPECT_TRUE(TextsOf("ARG_NOT_FOUND").empty()) << name;
    }
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

TEST_F(IcmdFileArgTest, APathArgumentTakesAnyExistingFileByItsFullPathAndTheJournalGivesItBack)
{
    TempFolder elsewhere;
    TempFolder replayed;
    Manager().SetCurrentFolder(elsewhere.Path());
    Manager().RegisterCommand(std::make_unique<PathCommand>());
    const std::string awkward = elsewhere.Write("lib/say \"hi\" [x] $y {z/line\nbreak/core.cxf", "");
    const std::string inProject = m_folder.Write("core.cxf", "");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"lib/say \"hi\" [x] $y {z/line\nbreak/core.cxf", awkward},
        {awkward, awkward},
        {"lib/../lib/./say \"hi\" [x] $y {z/line\nbreak/core.cxf", awkward},
        {"<project>/core.cxf", inProject},
        {"<project>//sub/../core.cxf", inProject},
    };
    for (const auto& [text, path] : cases) {
        Manager().SetCurrentFolder(elsewhere.Path());
        ASSERT_EQ(Eval(AcmdMergeList({"path_arg", "-file", text})), TCL_OK) << text << ": " << result;
        EXPECT_EQ(result, path) << text;
        // The journal names the file whole: run from another folder, it
        // names the same file.
        const std::string line = Manager().GetJournal().back();
        EXPECT_EQ(line, AcmdMergeList({"path_arg", "-file", path}));
        Manager().SetCurrentFolder(replayed.Path());
        ASSERT_EQ(Eval(line), TCL_OK) << line << ": " << result;
        EXPECT_EQ(result, path) << line;
    }
    EXPECT_TRUE(messages.Messages().empty());

    // No file: nothing given, nothing written out.
    ASSERT_EQ(Eval("path_arg"), TCL_OK) << result;
    EXPECT_EQ(result, "");
    EXPECT_EQ(Manager().GetJournal().back(), "path_arg");

    // A file that is not there, and texts that name no file, each say so.
    Manager().SetCurrentFolder(elsewhere.Path());
    EXPECT_EQ(Eval("path_arg -file lib/nosuch.cxf"), TCL_ERROR);
    EXPECT_EQ(result, "path_arg: the file '" + elsewhere.Path() + "/lib/nosuch.cxf' given for -file does not exist.");
    EXPECT_EQ(Eval("path_arg -file <project>"), TCL_ERROR);
    EXPECT_EQ(result, "path_arg: cannot find file '<project>'.");
    Design().SetProjectFolder(ImodelFileName());
    EXPECT_EQ(Eval("path_arg -file <project>/core.cxf"), TCL_ERROR);
    EXPECT_EQ(result, "path_arg: cannot find file '<project>/core.cxf'.");
    EXPECT_TRUE(messages.WithId("INVALID_NAME_CHAR").empty());
}
