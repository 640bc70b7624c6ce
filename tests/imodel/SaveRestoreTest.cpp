#include "ReparseTestSupport.h"

#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessManager.h"

#include <zorpa/ZorpaModule.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

namespace {

using FileList = ImodelModule::FileList;

constexpr zorpaSaveRestoreParams kAll{true, true, false};

class SaveRestoreTest : public ReparseFixture {
protected:
    void SetUp() override
    {
        ReparseFixture::SetUp();
        AddView("impl_1");
    }

    static Imodel& Model() { return Imodel::GetInstance(); }

    // The file's units leave the design and a new one comes, as parsing the
    // file again does.
    ImodelModule* Reparse(const Entry& file, const std::string& name, const std::string& library = "work")
    {
        ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
        return Unit(name, file, library);
    }
};

}  // namespace

TEST_F(SaveRestoreTest, AUnitParsedAgainGetsItsStatesListsOptionsAndTheRootBack)
{
    const Entry file = ProjectFile("top.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    const Entry first = ProjectFile("a.cdb", zorpaFT_ARM_DB);
    const Entry second = ProjectFile("b.cdb", zorpaFT_ARM_DB);
    ImodelModule* top = Unit("top", file);
    top->GetContext()->SetSolvatoState(Post_Synthesis);
    top->GetContext()->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);
    top->SetNewStimulusList({*bench}, nullptr);
    top->SetCDBOrder({*second, *first}, false);
    ImodelPhySynthesisOptions& options = *top->GetPhySynthOptions();
    options.SetGenPinConstraints(!options.GetGenPinConstraints());
    const ImodelPhySynthesisOptions kept = options;
    Design().SetRootId(top->GetComponentID());
    top->SetIsRoot(true);

    Model().SaveLibraries();
    ImodelModule* again = Reparse(file, "top");
    EXPECT_EQ(Design().GetRootModule(), nullptr);  // the root went with its file
    EXPECT_EQ(again->GetContext()->GetSolvatoState(), Pre_Synthesis);
    // The root comes back through set_root, which runs in an open project.
    Design().SetProjectOpen(true);
    Model().RestoreLibraries(false, kAll);
    Design().SetProjectOpen(false);

    // The design state comes back and is then computed again from the
    // files: the unit has no netlist.
    EXPECT_EQ(again->GetContext()->GetSolvatoState(), Pre_Synthesis);
    EXPECT_EQ(again->GetContext()->GetToolState(ideSYNTHESIS, nullptr), StateSuccess);
    EXPECT_EQ(again->GetStimulusList(), FileList{*bench});
    EXPECT_EQ(again->GetCDBOrder(), (FileList{*second, *first}));
    EXPECT_TRUE(*again->GetPhySynthOptions() == kept);
    EXPECT_EQ(Design().GetRootModule(), again);
    EXPECT_TRUE(again->IsRoot());
}

// A content command's restore gives the unit its lists back without its
// views' states: what the flow works out from the unit's files (the
// stimulus steps follow its stimulus list) is worked out again, what was
// made from the former definition stays gone.
TEST_F(SaveRestoreTest, AUnitGivenItsListsBackWithoutItsStatesHasThoseOfItsFilesWorkedOutAgain)
{
    constexpr zorpaSaveRestoreParams kListsOnly{false, true, false};
    const Entry file = ProjectFile("mid.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    ImodelModule* mid = Unit("mid", file);
    ImodelModule* leaf = Unit("leaf", ProjectFile("leaf.vhd"));
    mid->SetNewStimulusList({*bench}, nullptr);
    ASSERT_EQ(mid->GetContext()->GetToolState(ideSTIMULUS, nullptr), StateSuccess);
    mid->GetContext()->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);
    leaf->GetContext()->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Model().SaveLibraries();
        ImodelModule* again = Reparse(file, "mid");
        EXPECT_EQ(again->GetContext()->GetToolState(ideSTIMULUS, nullptr), StateNoResult);
        Model().RestoreLibraries(true, kListsOnly);
        EXPECT_EQ(again->GetStimulusList(), FileList{*bench});
        EXPECT_EQ(again->GetContext()->GetToolState(ideSTIMULUS, nullptr), StateSuccess);
        EXPECT_EQ(again->GetContext()->GetToolState(ideSYNTHESIS, nullptr), StateNoResult);
        EXPECT_FALSE(again->GetContext()->IsInDefaultState());
    }
    // A unit the change did not touch keeps what it held.
    EXPECT_EQ(Find("leaf"), leaf);
    EXPECT_EQ(leaf->GetContext()->GetToolState(ideSYNTHESIS, nullptr), StateSuccess);

    // Without a stimulus there is nothing to work out: the unit's views
    // stand as a new unit's.
    Find("mid")->SetNewStimulusList({}, nullptr);
    Model().SaveLibraries();
    Reparse(file, "mid");
    Model().RestoreLibraries(true, kListsOnly);
    EXPECT_EQ(Find("mid")->GetContext()->GetToolState(ideSTIMULUS, nullptr), StateNoResult);
    EXPECT_TRUE(Find("mid")->GetContext()->IsInDefaultState());
}

namespace {

// What a restore gives back of a unit, one line for the unit and its views.
std::string Held(const ImodelModule& unit)
{
    std::ostringstream out;
    out << unit.GetExpand() << " root " << unit.IsRoot() << " vsim '" << unit.GetVSimParams() << "' stimulus "
        << unit.GetStimulusList().size() << " associated " << unit.GetAssociatedFileListConst().size() << " cdb "
        << unit.GetCDBOrder().size() << " ignored " << unit.HasPackagesToIgnore(ideSIMULATION) << " included "
        << unit.GetSimulationModuleToIncludeList()->size() << " customized " << unit.GetCustomizedFileLists().size()
        << (unit.UseCustomizedFileList(ideSIMULATION) ? " used" : "") << " effort "
        << unit.GetPhySynthOptions()->GetLogSynthEffort() << "\n";
    unit.GetContext()->WriteStates(&out);
    return out.str();
}

}  // namespace

TEST_F(SaveRestoreTest, WhatChangesBetweenASaveAndItsRestoreByAnyMeansIsUndoneAtTheOutermostRestore)
{
    const Entry file = ProjectFile("top.vhd");
    const Entry other = ProjectFile("other.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    ImodelModule* top = Unit("top", file);
    top->SetExpand(1);
    top->AddAssociatedFile(*other);
    top->SetCustomizedFileList(false, ideSIMULATION, {other});
    const std::string before = Held(*top);

    // No unit is parsed again: the unit itself, its options and its views
    // change through their own operations, inside the inner pair and
    // between the inner restore and the outer one.
    Model().SaveLibraries();
    Model().SaveLibraries();
    top->SetExpand(2);
    ASSERT_TRUE(top->SetVSimParams("-t ps"));
    top->SetNewStimulusList({*bench}, nullptr);
    top->AddAssociatedFile(*bench);
    top->SetCDBOrder({*other}, false);
    ASSERT_TRUE(top->GetPhySynthOptions()->SetLogSynthEffort("3"));
    top->GetContext()->SetSolvatoState(Post_Synthesis);
    top->GetContext()->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);
    Model().RestoreLibraries(true, kAll);
    // The inner restore gives nothing back.
    EXPECT_EQ(top->GetExpand(), 2);
    EXPECT_EQ(top->GetVSimParams(), "-t ps");
    top->GetSimulationPackageToIgnoreList()->push_back(*other);
    top->GetSimulationModuleToIncludeList()->push_back(VyIfaces::ComponentID{"leaf", "work", ""});
    top->SetCustomizedFileList(true, ideSIMULATION, {bench});
    ImodelRevContextImpl* view = top->GetContext()->GetCurRevContext();
    ASSERT_NE(view, nullptr);
    view->UseFile(*other, false);
    ImodelFlowOptions options = std::as_const(*view).GetFlowOptions();
    options.UsePhySynth = !options.UsePhySynth;
    view->SetFlowOptions(options);
    EXPECT_NE(Held(*top), before);
    Model().RestoreLibraries(true, kAll);

    EXPECT_EQ(Find("top"), top);
    EXPECT_EQ(Held(*top), before);
    // The next pair starts afresh: a change after a restore stays.
    top->SetExpand(0);
    Model().SaveLibraries();
    Model().RestoreLibraries(true, kAll);
    EXPECT_EQ(top->GetExpand(), 0);
}

TEST_F(SaveRestoreTest, ALibraryListPutInAnotherOrderBetweenASaveAndItsRestoreGetsItsDataBack)
{
    const Entry first = ProjectFile("a.vhd");
    const Entry second = ProjectFile("b.vhd", zorpaFT_HDL, "lib2");
    const Entry third = ProjectFile("c.vhd", zorpaFT_HDL, "lib3");
    Unit("a", first)->SetExpand(1);
    Unit("b", second, "lib2")->SetExpand(2);
    Unit("c", third, "lib3")->SetExpand(0);
    const ImodelDesignManager::LibraryPtr work = Design().FindLibraryByName("work");

    Model().SaveLibraries();
    // "work" leaves the list and comes back at its end, after a new
    // library: paired by place, every saved library would meet another.
    // The units of every library are parsed again.
    Design().EraseLibrary("work");
    Design().AddLibrary("lib0", false);
    Design().AddLibrary(work, false);
    ImodelModule* b = Reparse(second, "b", "lib2");
    ImodelModule* c = Reparse(third, "c", "lib3");
    ImodelModule* again = Reparse(first, "a");
    Model().RestoreLibraries(true, kAll);

    EXPECT_EQ(again->GetExpand(), 1);
    EXPECT_EQ(b->GetExpand(), 2);
    EXPECT_EQ(c->GetExpand(), 0);
}

TEST_F(SaveRestoreTest, AUnitMadeAgainFromAnotherFileTakesTheDataOfTheUnitItReplacesOnlyByName)
{
    const Entry first = ProjectFile("mid.vhd");
    const Entry second = ProjectFile("mid2.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    for (const bool byName : {false, true}) {
        SCOPED_TRACE(byName ? "by name" : "by file");
        ImodelModule* mid = Unit("mid", first);
        mid->SetNewStimulusList({*bench}, nullptr);
        mid->SetExpand(2);
        mid->GetContext()->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);

        Model().SaveLibraries();
        ImodelRemoveModulesOfFile(first, nullptr, true, false, false, nullptr, nullptr);
        ImodelModule* again = Unit("mid", second);
        Model().RestoreLibraries(byName, kAll);

        EXPECT_EQ(again->GetExpand(), byName ? 2 : -1);
        EXPECT_EQ(again->GetStimulusList(), byName ? FileList{*bench} : FileList{});
        EXPECT_EQ(again->GetContext()->GetToolState(ideSYNTHESIS, nullptr), byName ? StateSuccess : StateNoResult);
        Design().FindLibraryByName("work")->GetModules()->Erase(again);
    }
}
