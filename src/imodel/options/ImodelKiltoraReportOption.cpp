// The core generator's compile-report option.
#include "imodel/options/ImodelKiltoraReportOption.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

const char* const ImodelKiltoraCompileReportVariable = "OMBRIXU_COMPILE_REPORT_PREF";

ImodelKiltoraReportOption::ImodelKiltoraReportOption()
    : ImodelBoolStringDefVarOption(ImodelKiltoraCompileReportVariable, "T", "F", true, "KiltoraCompileReport")
{
}

void ImodelKiltoraReportOption::ValueChanged()
{
    if (ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager()) design->SetNeedSave(true);
}
