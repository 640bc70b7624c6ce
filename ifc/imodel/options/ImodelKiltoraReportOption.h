// Whether the core generator writes its compile report: variable
// "OMBRIXU_COMPILE_REPORT_PREF", "T" or "F" (default "T"), stored in the
// project file under "KiltoraCompileReport". A real change marks the project
// as needing a save; every setting is handed on to the core workspace, when
// the project has one, as its compile report wanted or not.
#pragma once

#include "imodel/options/ImodelBoolStringDefVarOption.h"

// The options variable of the compile-report option.
extern const char* const ImodelKiltoraCompileReportVariable;

class ImodelKiltoraReportOption : public ImodelBoolStringDefVarOption {
public:
    ImodelKiltoraReportOption();

    bool SetValue(const char* text) override;
    void ValueChanged() override;
};
