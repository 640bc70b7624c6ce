// The core generator's compile-report option.
#include "imodel/options/ImodelKiltoraReportOption.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <ktwkspace/Workspace.h>

const char* const ImodelKiltoraCompileReportVariable = "OMBRIXU_COMPILE_REPORT_PREF";

namespace {

// The core workspace's kind of the compile report.
constexpr int kCompileReport = 1;

}  // namespace

ImodelKiltoraReportOption::ImodelKiltoraReportOption()
    : ImodelBoolStringDefVarOption(ImodelKiltoraCompileReportVariable, "T", "F", true, "KiltoraCompileReport")
{
}

bool ImodelKiltoraReportOption::SetValue(const char* text)
{
    const bool stored = ImodelBoolStringDefVarOption::SetValue(text);
    // Also when nothing changed: a workspace opened since may not know yet.
    if (Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace()) {
        if (GetValueBool())
            workspace->addReport(kCompileReport);
        else
            workspace->removeReport(kCompileReport);
    }
    return stored;
}

void ImodelKiltoraReportOption::ValueChanged()
{
    if (ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager()) design->SetNeedSave(true);
}
