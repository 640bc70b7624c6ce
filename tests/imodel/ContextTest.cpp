#include "ContextTestProject.h"
#include "MessageRecorder.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Context : public ContextTestProject {
protected:
    // A module context with the views impl_1, impl_2 and impl_3, impl_2 current.
    static void AddThreeViews(ImodelContextImpl& context)
    {
        for (const char* name : {"impl_1", "impl_2", "impl_3"}) ASSERT_TRUE(context.AddRevision(name));
        context.SetCurRev("impl_2");
    }

    static std::vector<imodelSolvatoState> States(const ImodelContextImpl& context)
    {
        std::vector<imodelSolvatoState> states;
        for (const ImodelRevContextImpl* revision : context.GetAllRevs()) states.push_back(revision->GetSolvatoState());
        return states;
    }
};

}  // namespace

TEST_F(Context, WithoutViewsTheModuleAnswersTheDefaultsAndIgnoresChanges)
{
    ImodelContextImpl context("alu", nullptr);
    EXPECT_EQ(context.GetCurRevContext(), nullptr);
    EXPECT_FALSE(MarksNeedSave([&] {
        context.SetSolvatoState(Post_Synthesis);
        context.SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);
        context.SetFlowOptions(ImodelFlowOptions());
    }));
    EXPECT_EQ(context.GetSolvatoState(), Pre_Synthesis);
    EXPECT_EQ(context.GetToolState(ideSYNTHESIS, nullptr), StateNoResult);
    EXPECT_EQ(context.GetFlowOptions(), nullptr);
    std::string name = "stale";
    EXPECT_FALSE(context.GetRevisionName(&context, name));
    EXPECT_EQ(name, "");
}

TEST_F(Context, PostLayoutBelongsToTheCurrentViewAndEveryOtherStateToAll)
{
    ImodelContextImpl context("alu", nullptr);
    AddThreeViews(context);
    context.SetSolvatoState(Post_Layout);
    EXPECT_EQ(States(context), (std::vector<imodelSolvatoState>{Pre_Synthesis, Post_Layout, Pre_Synthesis}));
    context.SetSolvatoState(Post_Synthesis);
    EXPECT_EQ(States(context), (std::vector<imodelSolvatoState>(3, Post_Synthesis)));
    EXPECT_FALSE(MarksNeedSave([&] { context.SetSolvatoState(Post_Synthesis); }));

    // Flow options and accessible states go to the current view only; a tool
    // result to every view.
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    context.SetFlowOptions(options);
    context.AddAccessibleState(Post_Layout);
    EXPECT_FALSE(context.FindRevision("impl_1")->IsStateAccessible(Post_Layout));
    EXPECT_FALSE(context.FindRevision("impl_3")->GetFlowOptions()->UsePhySynth);
    context.SetToolState(idePALLADOR, nullptr, StateSuccess, false);
    for (const ImodelRevContextImpl* revision : context.GetAllRevs())
        EXPECT_EQ(revision->GetToolState(idePALLADOR, nullptr), StateSuccess);
}

TEST_F(Context, ANewViewIsACopyOfTheCurrentOneAndDoesNotBecomeCurrent)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    const auto file = Entry("synthesis/top.edn", zorpaFT_SYN_EDN, false);
    ImodelContextImpl context("alu", nullptr);
    ASSERT_TRUE(context.AddRevision("impl_1"));
    // Without a current view the new one is fresh.
    ImodelRevContextImpl* first = context.FindRevision("impl_1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(context.GetCurRevContext(), nullptr);
    context.SetCurRev("impl_1");
    ASSERT_EQ(context.GetCurRevContext(), first);

    context.SetSolvatoState(Post_Layout);
    first->AddAccessibleState(Post_Layout);
    first->SetToolStateForFile(idePALLADOR, file, StateFailure);
    first->UseFile(*file, false);
    ImodelFlowOptions options;
    options.UseSynth = false;
    context.SetFlowOptions(options);

    ASSERT_TRUE(context.AddRevision("impl_2"));
    const ImodelRevContextImpl* second = context.FindRevision("impl_2");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(context.GetCurRevContext(), first);
    EXPECT_EQ(second->GetName(), "impl_2");
    EXPECT_EQ(second->GetSolvatoState(), Post_Layout);
    EXPECT_TRUE(second->IsStateAccessible(Post_Layout));
    EXPECT_EQ(second->GetToolStateForFile(idePALLADOR, file), StateFailure);
    EXPECT_TRUE(second->IsFileUsed(*file));
    EXPECT_FALSE(second->GetFlowOptions().UseSynth);

    // An existing name changes nothing.
    context.SetSolvatoState(Post_Synthesis);
    ASSERT_TRUE(context.AddRevision("impl_2"));
    EXPECT_EQ(context.GetAllRevs().size(), 2u);
    EXPECT_EQ(context.FindRevision("impl_2"), second);
    EXPECT_EQ(second->GetSolvatoState(), Post_Synthesis);

    // A removed file loses its results in every view.
    context.NotifyFileRemoved(file);
    for (const ImodelRevContextImpl* revision : context.GetAllRevs())
        EXPECT_EQ(revision->GetToolStateForFile(idePALLADOR, file), StateNoResult);
}

TEST_F(Context, ViewsAreFoundRenamedAndRemovedByExactName)
{
    MessageRecorder messages;
    ImodelContextImpl context("alu", nullptr);
    AddThreeViews(context);
    ImodelRevContextImpl* current = context.GetCurRevContext();
    EXPECT_EQ(context.FindRevision("IMPL_2"), nullptr);
    EXPECT_EQ(context.FindRevisionEx(&context), current);
    ImodelRevContextImpl stranger("impl_2", nullptr);
    EXPECT_EQ(context.FindRevisionEx(&stranger), nullptr);

    context.SetCurRev("impl_9");  // unknown names change nothing
    EXPECT_TRUE(context.IsCurRevContext(current));
    EXPECT_FALSE(context.RenameRevision("impl_9", "impl_8"));
    EXPECT_FALSE(context.AddRevision("impl\n4"));  // names that cannot be stored, or that another view has
    EXPECT_FALSE(context.RenameRevision("impl_1", "impl\"1"));
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 2u);
    EXPECT_FALSE(context.RenameRevision("impl_1", "impl_3"));
    EXPECT_TRUE(context.RenameRevision("impl_2", "fast"));
    EXPECT_EQ(context.FindRevision("fast"), current);

    // Removing the current view leaves none current, never a dangling one.
    context.RemoveRevision("fast");
    EXPECT_EQ(context.GetCurRevContext(), nullptr);
    EXPECT_EQ(context.GetSolvatoState(), Pre_Synthesis);
    ASSERT_EQ(context.GetAllRevs().size(), 2u);
}

TEST_F(Context, CopiesOfTheModuleKeepEveryViewAndTheCurrentOne)
{
    ImodelContextImpl context("alu", nullptr);
    AddThreeViews(context);
    context.SetSolvatoState(Post_Synthesis);
    context.SetSolvatoState(Post_Layout);
    context.GetCurRevContext()->UseFile(File("synthesis/top.edn", zorpaFT_SYN_EDN), false);
    int module = 0;  // the contexts only pass their module on
    auto* owner = reinterpret_cast<ImodelModule*>(&module);
    ImodelContextImpl whole(context, owner, true);
    EXPECT_EQ(States(whole), States(context));
    EXPECT_EQ(whole.GetCurRevContext()->GetName(), "impl_2");
    EXPECT_NE(whole.GetCurRevContext(), context.GetCurRevContext());
    for (const ImodelRevContextImpl* revision : whole.GetAllRevs()) EXPECT_EQ(revision->GetModule(), owner);
    ImodelContextImpl partial(context, owner, false);
    EXPECT_EQ(States(partial), (std::vector<imodelSolvatoState>(3, Pre_Synthesis)));
    EXPECT_EQ(partial.GetCurRevContext()->GetUsedFiles().size(), 1u);

    // Views are matched by name; a view the other module lacks keeps its data.
    ImodelContextImpl target("alu", nullptr);
    for (const char* name : {"impl_3", "impl_2", "impl_7"}) target.AddRevision(name);
    target.FindRevision("impl_7")->SetSolvatoState(Post_Phy_Synthesis);
    target.DuplicateContextInfo(&context, true);
    EXPECT_EQ(States(target), (std::vector<imodelSolvatoState>{Post_Synthesis, Post_Layout, Post_Phy_Synthesis}));
}
