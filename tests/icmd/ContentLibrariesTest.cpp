// The library commands seen from inside: the events and the need-save flag
// of add_library, the files remove_library parses again, and a randomised
// run of every library command against the invariant that each file's units
// live in the file's library (letter case aside) and that no two libraries
// share a name. The user's view is the scenario files_libraries.
#include "IcmdTestSupport.h"
#include "RecordingView.h"

#include "icmd/files/IcmdAddFileToLibrary.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdAddLibrary.h"
#include "icmd/project/IcmdCloseProject.h"
#include "imodel/design/ImodelFindModule.h"

#include <foundation/UtlAscii.h>

#include <random>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class ContentLibrariesTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        ASSERT_EQ(RegisterCommands({"add_library", "add_file_to_library", "remove_library", "rename_library"}), 4);
        ASSERT_TRUE(NewAluProject());
        Design().SetNeedSave(false);
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    // An HDL file hdl/<unit>.vhd defining the unit, added and parsed.
    Entry Add(const std::string& unit)
    {
        const std::string path =
            m_folder.Write("alu/hdl/" + unit + ".vhd",
                           "entity " + unit + " is end;\narchitecture rtl of " + unit + " is begin end;\n");
        return IcmdDoAddFileToModel(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), true,
                                    true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    }
    // The number of libraries whose names equal `name` letter case aside.
    static int LibrariesNamed(const std::string& name)
    {
        const ImodelDesignManager::LibraryRange range = Design().GetLibraries();
        return static_cast<int>(std::count_if(range.first, range.second, [&name](const auto& library) {
            return library && UtlIsSameNoCase(library->GetName(), name);
        }));
    }

    RecordingView view;
};

}  // namespace

TEST_F(ContentLibrariesTest, AddLibraryAnnouncesANewLibraryOnceAndRefusesWorkWithoutAWord)
{
    view.Clear();
    EXPECT_TRUE(IcmdDoAddLibrary(false, "dsp"));
    EXPECT_EQ(view.Count("IeventLibraryAdded"), 1);
    EXPECT_TRUE(Design().GetNeedSave());
    Design().SetNeedSave(false);
    view.Clear();
    // The same library in another case: nothing changes, and it is no failure.
    ASSERT_EQ(Eval("add_library -library DSP"), TCL_OK) << result;
    EXPECT_EQ(view.Count("IeventLibraryAdded"), 0);
    EXPECT_FALSE(Design().GetNeedSave());
    EXPECT_EQ(LibrariesNamed("dsp"), 1);
    const std::size_t told = messages.Messages().size();
    for (const char* script : {"add_library -library work", "add_library -library {}", "remove_library -library work",
                               "rename_library -library dsp -name work", "rename_library -library work -name x",
                               "rename_library -library dsp -name DSP", "remove_library -library nosuch"})
        EXPECT_EQ(Eval(script), TCL_ERROR) << script;
    EXPECT_EQ(messages.Messages().size(), told);
    EXPECT_EQ(view.Count("IeventLibraryAdded") + view.Count("IeventLibraryRemoved"), 0);
    EXPECT_FALSE(Design().GetNeedSave());
}

TEST_F(ContentLibrariesTest, RandomRunsKeepEveryUnitInItsFilesLibrary)
{
    const std::vector<std::string> units = {"alpha", "beta", "gamma", "delta", "eps"};
    std::vector<Entry> files;
    for (const std::string& unit : units) files.push_back(Add(unit));
    const std::vector<std::string> names = {"dsp", "DSP", "Audio", "audio", "io", "work"};
    std::mt19937 random(20261207);
    const auto pick = [&random](const auto& list) { return list[random() % list.size()]; };
    int outsideWork = 0;  // file checks that found a file outside "work": the run moves files
    for (int step = 0; step < 40; ++step) {
        std::string script;
        switch (random() % 4) {
        case 0:
            script = "add_library -library " + pick(names);
            break;
        case 1:
            script = "add_file_to_library -library " + pick(names) + " -file hdl/" + pick(units) + ".vhd";
            break;
        case 2:
            script = "remove_library -library " + pick(names);
            break;
        default:
            script = "rename_library -library " + pick(names) + " -name " + pick(names);
            break;
        }
        Eval(script);
        SCOPED_TRACE(script);
        for (const std::string& name : names) ASSERT_LE(LibrariesNamed(name), 1) << name;
        ASSERT_EQ(LibrariesNamed("work"), 1);
        for (std::size_t i = 0; i < units.size(); ++i) {
            const Entry file = Imodel::GetInstance().GetFileManager()->GetFile(*files[i]);
            ASSERT_TRUE(file) << units[i];
            const ImodelDesignManager::LibraryPtr library = Design().FindLibraryByName(file->GetLibraryName());
            ASSERT_TRUE(library) << units[i] << " in " << file->GetLibraryName();
            if (library->GetName() != "work") ++outsideWork;
            EXPECT_NE(ImodelFindModuleInLib(library, units[i], zorpaMODULE_UNKNOWN, ""), nullptr)
                << units[i] << " in " << file->GetLibraryName();
        }
    }
    EXPECT_GT(outsideWork, 20);
    // A file parsed on its own again stays in its library with its unit.
    const Entry alpha = Imodel::GetInstance().GetFileManager()->GetFile(*files[0]);
    EXPECT_EQ(IcmdAddFileToLibrary::doParseFile(alpha), AcmdEnum::Success);
    EXPECT_NE(
        ImodelFindModuleInLib(Design().FindLibraryByName(alpha->GetLibraryName()), "alpha", zorpaMODULE_UNKNOWN, ""),
        nullptr);
}

TEST_F(ContentLibrariesTest, RemoveLibraryParsesEveryHdlFileAgainAndMovesOnlyItsOwnToWork)
{
    std::vector<Entry> files;
    for (const std::string unit : {"alpha", "beta", "gamma", "delta"}) files.push_back(Add(unit));
    ASSERT_EQ(Eval("add_file_to_library -library dsp -file hdl/gamma.vhd"), TCL_OK) << result;
    ASSERT_EQ(Eval("add_file_to_library -library audio -file hdl/delta.vhd"), TCL_OK) << result;
    view.Clear();
    ASSERT_EQ(Eval("remove_library -library dsp"), TCL_OK) << result;
    // A file of any library may use units of the library gone: each is
    // parsed again, once.
    EXPECT_EQ(view.Count("IeventFilePreParse"), static_cast<int>(files.size()));
    EXPECT_EQ(LibrariesNamed("dsp"), 0);
    const std::vector<std::string> libraries = {"work", "work", "work", "audio"};
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Entry file = Imodel::GetInstance().GetFileManager()->GetFile(*files[i]);
        ASSERT_TRUE(file) << i;
        EXPECT_EQ(file->GetLibraryName(), libraries[i]) << i;
    }
    EXPECT_NE(ImodelFindModuleInLib(Design().FindLibraryByName("work"), "gamma", zorpaMODULE_UNKNOWN, ""), nullptr);
    EXPECT_NE(ImodelFindModuleInLib(Design().FindLibraryByName("audio"), "delta", zorpaMODULE_UNKNOWN, ""), nullptr);
    EXPECT_TRUE(Design().GetNeedSave());
}
