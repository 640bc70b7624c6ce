// What the revision contexts ask of the flow: a new view made as a copy of
// another takes over, or drops, the files and results of views; the used
// HDL files follow the project's language; traces of design states.
#include "FlowProject.h"
#include "PrintCapture.h"

#include "iprocess/QuorlaneStateMachine.h"

#include <string>

namespace {

class RevisionFlow : public FlowProject {
protected:
    RevisionFlow()
    {
        std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "VALUE=\"impl2\",NUM=2", "CURREV=1"};
        Views().ReadRevisions(views);
        top = Unit("top");
        database = Add("pallador/impl1/top.adb", zorpaFT_ADB);
        synthesized = Add("synthesis/top.v", zorpaFT_SYN_HDL);
        ImodelRevContextImpl* first = Revision(top);
        first->UseFile(*database, false);
        first->UseFile(*synthesized, false);
        first->SetToolStateForFile(&Tool(idePALLADOR), database, StateSuccess);
        first->SetToolStateForFile(&Tool(ideSYNTHESIS), synthesized, StateSuccess);
    }
    // The view impl2 made again as a copy of the current one.
    ImodelRevContextImpl* CopyInto(bool rename)
    {
        ImodelContextImpl* context = top->GetContext();
        context->RemoveRevision("impl2");
        EXPECT_TRUE(context->AddRevision("impl2", rename, true));
        return context->FindRevision(std::string("impl2"));
    }
    static std::string UsedName(const ImodelRevContextImpl* revision, zorpaFileManagerTypes type)
    {
        const auto used = revision->GetUsedFile(type);
        return revision->IsValidUsedFile(used) ? used->GetInternalFileName().GetString() : std::string("(none)");
    }

    // Tool results are kept per file while users choose flow files.
    FlowOptionsScope m_choice{{"IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1"}};
    ImodelModule* top = nullptr;
    boost::shared_ptr<IfileObjectEx> database, synthesized;
};

}  // namespace

TEST_F(RevisionFlow, ACopiedViewTakesItsOwnFilesOrNone)
{
    ImodelRevContextImpl* renamed = CopyInto(true);
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(UsedName(renamed, zorpaFT_ADB), "<project>/pallador/impl2/top.adb");
    EXPECT_EQ(UsedName(renamed, zorpaFT_SYN_HDL), "<project>/synthesis/top.v");
    const auto& records = renamed->GetToolStatesManager().GetObjects();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].GetFile()->GetInternalFileName().GetString(), "<project>/pallador/impl2/top.adb");
    EXPECT_EQ(records[1].GetFile()->GetInternalFileName().GetString(), "<project>/synthesis/top.v");

    ImodelRevContextImpl* fresh = CopyInto(false);
    EXPECT_EQ(UsedName(fresh, zorpaFT_ADB), "(none)");
    EXPECT_EQ(UsedName(fresh, zorpaFT_SYN_HDL), "<project>/synthesis/top.v");
    // Place and route depends on the view: its results are not copied.
    ASSERT_EQ(fresh->GetToolStatesManager().GetObjects().size(), 1u);
    EXPECT_EQ(fresh->GetToolStatesManager().GetObjects()[0].GetKind(), ideSYNTHESIS);
    // Adding a view that exists changes nothing.
    EXPECT_TRUE(top->GetContext()->AddRevision("impl2", false, true));
    EXPECT_EQ(top->GetContext()->GetAllRevs().size(), 2u);
    EXPECT_FALSE(top->HasRevDependentData(true));  // no file of a view derives from it
}

TEST_F(RevisionFlow, UsedHdlFilesFollowTheProjectLanguage)
{
    Design().SetDefaultVHDL(true);
    top->GetContext()->HDLTypeChanged();
    EXPECT_EQ(UsedName(Revision(top), zorpaFT_SYN_HDL), "<project>/synthesis/top.vhd");
    EXPECT_EQ(UsedName(Revision(top), zorpaFT_ADB), "<project>/pallador/impl1/top.adb");
    Design().SetDefaultVHDL(false);
    top->GetContext()->HDLTypeChanged();
    EXPECT_EQ(UsedName(Revision(top), zorpaFT_SYN_HDL), "<project>/synthesis/top.v");
}
