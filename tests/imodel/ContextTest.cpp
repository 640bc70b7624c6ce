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
};

}  // namespace

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
