// The file manager's answer to the watcher: the first pass records which
// project files changed on disk, the second sorts them into what is done
// with them and hands them to the project update; links that break leave
// the design once and come back when their file does.
#include "DebugCapture.h"
#include "MessageRecorder.h"
#include "ProjectFolderScope.h"
#include "RecordingCommandServices.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class ChangeDetection : public ::testing::Test {
protected:
    ChangeDetection() { Design().Reset(); }
    ~ChangeDetection() override
    {
        Files().RemoveAllFiles();
        Design().Reset();
    }

    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

    // A file written at `path` (a full name) and made a member of the project.
    static Entry Member(const std::string& path, zorpaFileManagerTypes type, const std::string& text = "x\n")
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
        return Files().AddOrUpdateFile(IfileObjectEx(IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true),
                                                     false),
                                       false);
    }
    static void Edit(const std::string& path, int seconds)
    {
        std::ofstream(path, std::ios::app) << "-- edited\n";
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() +
                                                   std::chrono::seconds(seconds));
    }
    // The names of the files of one list of one project update.
    static std::vector<std::string> Names(const std::vector<Entry>& files)
    {
        std::vector<std::string> names;
        for (const Entry& file : files) names.push_back(file->GetFileTitleAndExt());
        return names;
    }
    // Both passes; the updates asked for, as (removed, added) names: two by
    // the first pass (the links that came back in the second), two by the
    // second (the changed files in the first).
    std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> Cycle()
    {
        services.updates.clear();
        Files().HandleDetectedChanges(false);
        Files().HandleDetectedChanges(true);
        std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> updates;
        for (const auto& [removed, added] : services.updates) updates.emplace_back(Names(removed), Names(added));
        return updates;
    }
    static ImodelModule* Unit(const std::string& name, const Entry& file)
    {
        auto unit = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, "", "", false);
        return Design().FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first;
    }
    static bool HasUnit(const std::string& name)
    {
        for (const ImodelModule* unit : *Design().FindLibraryByName("work")->GetModules())
            if (unit && unit->GetName() == name) return true;
        return false;
    }

    using Updates = std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>;
    using Names_ = std::vector<std::string>;

    TempFolder project;
    TempFolder outside;
    ProjectFolderScope folder{project.Path()};
    RecordingCommandServices services;
    RecordingView view;
    MessageRecorder messages;
};

}  // namespace

TEST_F(ChangeDetection, TheFirstPassOnlyRecordsAndTheSecondHandsEachChangedFileOverOnce)
{
    Member(project / "hdl/top.vhd", zorpaFT_HDL);
    Member(project / "stimulus/tb.vhd", zorpaFT_TB_HDL);
    Member(project / "hdl/same.vhd", zorpaFT_HDL);
    Edit(project / "hdl/top.vhd", 5);
    Edit(project / "stimulus/tb.vhd", 5);

    Files().HandleDetectedChanges(false);
    // Both updates run, with nothing to do.
    ASSERT_EQ(services.updates.size(), 2u);
    EXPECT_TRUE(services.updates[0].first.empty() && services.updates[0].second.empty());
    EXPECT_TRUE(services.updates[1].second.empty());
    services.updates.clear();
    Files().HandleDetectedChanges(true);
    ASSERT_EQ(services.updates.size(), 2u);
    EXPECT_TRUE(services.updates[0].first.empty());
    EXPECT_EQ(Names(services.updates[0].second), (Names_{"top.vhd", "tb.vhd"}));
    // Handed over: the next cycle has nothing.
    EXPECT_EQ(Cycle(), Updates(4));
}

TEST_F(ChangeDetection, SourcesOutsideTheHdlFolderAreACoresAndComeLast)
{
    Member(project / "component/gen/core.vhd", zorpaFT_HDL);
    Member(project / "hdl/sub/deeper.vhd", zorpaFT_HDL);
    Member(project / "stimulus/tb.vhd", zorpaFT_TB_HDL);
    for (const char* name : {"component/gen/core.vhd", "hdl/sub/deeper.vhd", "stimulus/tb.vhd"})
        Edit(project / name, 3);
    EXPECT_EQ(Cycle(), (Updates{{}, {}, {{}, {"tb.vhd", "core.vhd", "deeper.vhd"}}, {}}));
}

TEST_F(ChangeDetection, AChangedCoreLeavesAndComesBackButOneWithAParentDoesNot)
{
    const Entry core = Member(project / "component/fifo.cxf", zorpaFT_OMBRIX_CXF);
    const Entry child = Member(project / "component/inner.cxf", zorpaFT_OMBRIX_CXF);
    child->AddParentFile(*core);
    Edit(project / "component/fifo.cxf", 4);
    Edit(project / "component/inner.cxf", 4);
    EXPECT_EQ(Cycle(), (Updates{{}, {}, {{"fifo.cxf"}, {"fifo.cxf"}}, {}}));
    ASSERT_EQ(messages.WithId("UPDATED_CORE_FROM_DISK").size(), 1u);
    EXPECT_NE(messages.WithId("UPDATED_CORE_FROM_DISK").front().text.find("'fifo'"), std::string::npos);
}

TEST_F(ChangeDetection, ALinkThatBreaksLeavesTheDesignOnceAndComesBackWithItsFile)
{
    const std::string path = outside / "lib/shared.vhd";
    const Entry link = Member(path, zorpaFT_HDL);
    ASSERT_TRUE(link && !link->IsLocalFile());
    Unit("shared", link);
    std::filesystem::rename(path, path + ".away");
    view.Clear();
    EXPECT_EQ(Cycle(), Updates(4));
    EXPECT_EQ(view.Count("IeventFilePreRemove"), 1);
    EXPECT_EQ(view.Count("IeventFilePostRemove"), 1);
    EXPECT_FALSE(HasUnit("shared"));
    EXPECT_TRUE(Files().ContainsFile(*link));  // the entry stays
    Cycle();
    EXPECT_EQ(view.Count("IeventFilePreRemove"), 1);

    // Back, as it was: added again with the links that came back.
    std::filesystem::rename(path + ".away", path);
    EXPECT_EQ(Cycle(), (Updates{{}, {{}, {"shared.vhd"}}, {}, {}}));
    // Edited: a changed link, told to the user.
    Edit(path, 6);
    EXPECT_EQ(Cycle(), (Updates{{}, {}, {{}, {"shared.vhd"}}, {}}));
    EXPECT_EQ(messages.WithId("LINK_CHANGED").size(), 1u);
}

TEST_F(ChangeDetection, ACoresMemoryFileIsCopiedToTheSimulationFolderAndAFailedCopyIsToldNotHidden)
{
    const Entry core = Member(project / "component/ram.cxf", zorpaFT_OMBRIX_CXF);
    const Entry memory = Member(project / "component/ram/init.mem", zorpaFT_SIM, "00\n");
    memory->AddParentFile(*core);
    std::filesystem::create_directories(project / "simulation");
    Edit(project / "component/ram/init.mem", 2);
    {
        const DebugCapture debug;
        Cycle();
        EXPECT_TRUE(debug.Holds("Copied init.mem to Solvato simulation folder"));
    }
    EXPECT_EQ(project.Read("simulation/init.mem"), project.Read("component/ram/init.mem"));

    // The simulation folder cannot take the copy: the user is told, nothing says it was copied.
    std::filesystem::remove_all(project / "simulation");
    project.Write("simulation", "a file in the folder's place\n");
    Edit(project / "component/ram/init.mem", 4);
    const DebugCapture debug;
    Cycle();
    EXPECT_FALSE(debug.Holds("Copied"));
    ASSERT_EQ(messages.WithId("UNABLE_TO_COPY").size(), 1u);
    EXPECT_NE(messages.WithId("UNABLE_TO_COPY").front().text.find("init.mem"), std::string::npos);
}
