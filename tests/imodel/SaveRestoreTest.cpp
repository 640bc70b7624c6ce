#include "ReparseTestSupport.h"

#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessManager.h"

#include <zorpa/ZorpaModule.h>

#include <gtest/gtest.h>

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
