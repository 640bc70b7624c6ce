// Names and texts with line breaks never reach the project file: file values
// refuse them, the file manager refuses them, and every writer of a line
// of the project file refuses them itself, failing its stream so that the
// save writes nothing.
#include "IfileObjectTestSupport.h"
#include "MessageRecorder.h"
#include "TextLines.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "imodel/views/ImodelFileListIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <sstream>
#include <string>

namespace {

const char kProject[] = "/prj/lines";
// What a hostile or broken name would smuggle into the project file.
const std::string kInjection = "a.v\nENDLIST\nKEY SOLVATO \"0.1\"";

bool HasInjectedLine(const std::string& written)
{
    const std::vector<std::string> lines = TextLines(written);
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return line.starts_with("KEY SOLVATO"); });
}

}  // namespace

TEST(LineBreaks, AFileNameWithALineBreakNamesNoFileAndIsNeverWritten)
{
    const ProjectFolderScope project(kProject);
    MessageRecorder messages;
    for (const ImodelFMStringFileType form : {ImodelFMFull, ImodelFMRelative, ImodelFMInternal}) {
        const std::string name = form == ImodelFMFull ? std::string(kProject) + "/" + kInjection : kInjection;
        const IfileObject file(name, zorpaFT_HDL, form, true, true);
        EXPECT_TRUE(file.GetInternalFileName().empty()) << form;

        std::ostringstream out;
        IfileWriteFileList({IfileObject("<project>/good.v", zorpaFT_HDL, ImodelFMInternal, true, false), file}, &out,
                           "LIST UsedFiles", "ENDLIST");
        EXPECT_FALSE(HasInjectedLine(out.str()));
        EXPECT_TRUE(out.fail()) << "a list with a file that names nothing is no list to save";
    }
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 3u);

    // A project-file line cannot hold a line feed, but a double quote ends
    // the quoted name early: such a name is refused when read too.
    const IfileObject quoted(std::string("<project>/a\".v,hdl"), {});
    EXPECT_TRUE(quoted.GetInternalFileName().empty());
}

TEST(LineBreaks, TheFileManagerTakesNoFileItCouldNotWrite)
{
    const ProjectFolderScope project(kProject);
    MessageRecorder messages;
    const std::unique_ptr<IfileManager> files = IfileCreateManager();
    // A file outside the project is registered whether it exists or not (a
    // broken link): only its name can keep it out.
    for (const ImodelFMStringFileType form : {ImodelFMFull, ImodelFMInternal}) {
        const IfileObjectEx refused(IfileObject("/elsewhere/" + kInjection, zorpaFT_HDL, form, true, true), false);
        EXPECT_EQ(files->AddOrUpdateFile(refused, false), nullptr);
    }
    EXPECT_EQ(files->GetFileCount(), 0);
    EXPECT_NE(files->AddOrUpdateFile(
                  IfileObjectEx(IfileObject("/elsewhere/a.v", zorpaFT_HDL, ImodelFMFull, true, true), false), false),
              nullptr);
    files->RemoveAllFiles();

    std::ostringstream out;
    EXPECT_TRUE(files->WriteFileList(&out));
    EXPECT_EQ(out.str(), "LIST FileManager\nENDLIST\n");
}

TEST(LineBreaks, SimulationTextsAreRefusedByTheWriterEvenWithoutCheckTexts)
{
    ImodelSimulationOptions options;
    std::ostringstream good;
    options.WriteSimulationOptions(&good);
    EXPECT_FALSE(good.fail());

    options.VsimOpt = "-t ps\nENDLIST\nKEY SOLVATO \"0.1\"";
    std::ostringstream out;
    options.WriteSimulationOptions(&out);
    EXPECT_TRUE(out.fail());
    EXPECT_FALSE(HasInjectedLine(out.str()));
    EXPECT_EQ(out.str(), "");

    // Read back, a text with a line break is not taken either.
    ImodelSimulationOptions read;
    EXPECT_TRUE(read.ReadSimulationOption("VsimOpt", "-t ps\r-x"));
    EXPECT_EQ(read.VsimOpt, ImodelSimulationOptions().VsimOpt);
}

TEST(LineBreaks, NameListsAndMemberValuesAreRefusedByTheirWriters)
{
    const std::vector<ImodelFileName> names = {ImodelFileName("a.v"), ImodelFileName(kInjection)};
    std::ostringstream list;
    ImodelWriteFileList(&list, &names, "Conversion");
    EXPECT_TRUE(list.fail());
    EXPECT_FALSE(HasInjectedLine(list.str()));

    std::ostringstream member;
    IfileObjectEx::WriteMemberElement("COMPILEFLAG", "-2008\nKEY SOLVATO \"0.1\"", &member);
    EXPECT_TRUE(member.fail());
    EXPECT_EQ(member.str(), "");
    // Quotes inside a member value read back as written: they stay.
    std::ostringstream quoted;
    IfileObjectEx::WriteMemberElement("COMPILEFLAG", "-D X=\"1\"", &quoted);
    EXPECT_EQ(quoted.str(), "COMPILEFLAG=\"-D X=\"1\"\"\n");
}
