// The compile-report option hands every setting on to the project's core
// workspace: the core generator writes its compile report exactly while the
// option is on.
#include "CoreServicesTestSupport.h"

#include "imodel/options/ImodelKiltoraReportOption.h"

#include <ktwkspace/Workspace.h>

namespace {

using KiltoraReportWorkspaceTest = CoreServicesFixture;

constexpr int kCompileReport = 1;

TEST_F(KiltoraReportWorkspaceTest, TheWorkspaceWritesTheCompileReportWhileTheOptionIsOn)
{
    ImodelKiltoraReportOption report;
    EXPECT_TRUE(report.SetValue("F"));  // no workspace yet: the option alone
    EXPECT_FALSE(report.GetValueBool());

    model.OpenWorkspace();
    Ktwkspace::Workspace* workspace = model.GetWorkspace();
    ASSERT_NE(workspace, nullptr);
    EXPECT_FALSE(workspace->HasReport(kCompileReport));

    // Every way of setting the option reaches the workspace.
    report.SetValueBool(true);
    EXPECT_TRUE(workspace->HasReport(kCompileReport));
    report.Read("KiltoraCompileReport", "F");
    EXPECT_FALSE(workspace->HasReport(kCompileReport));
    report.SetDefault();
    EXPECT_TRUE(workspace->HasReport(kCompileReport));
    report.SetValue("neither");  // not the true text: off
    EXPECT_FALSE(workspace->HasReport(kCompileReport));
    report.Read("OtherKey", "T");  // not the option's line
    EXPECT_FALSE(workspace->HasReport(kCompileReport));

    // Setting the value it already has still tells a workspace opened since.
    report.SetValue("T");
    model.OpenWorkspace();
    workspace = model.GetWorkspace();
    ASSERT_NE(workspace, nullptr);
    EXPECT_FALSE(workspace->HasReport(kCompileReport));
    design.SetNeedSave(false);
    report.SetValue("T");
    EXPECT_TRUE(workspace->HasReport(kCompileReport));
    EXPECT_FALSE(design.GetNeedSave());
}

}  // namespace
