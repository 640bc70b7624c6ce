// The core generator's compile-report option.
#include "imodel/ImodelKiltoraReportOption.h"

#include "imodel/Imodel.h"
#include "imodel/ImodelDesignManager.h"

const char* const ImodelKiltoraCompileReportVariable = "OMBRIXU_COMPILE_REPORT_PREF";

ImodelKiltoraReportOption::ImodelKiltoraReportOption()
    : ImodelBoolStringDefVarOption(ImodelKiltoraCompileReportVariable, "T", "F", true, "KiltoraCompileReport")
{
}

void ImodelKiltoraReportOption::ValueChanged()
{
    if (ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager()) design->SetNeedSave(true);
}
