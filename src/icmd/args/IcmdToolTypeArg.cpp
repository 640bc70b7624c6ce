#include "icmd/args/IcmdToolTypeArg.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/imodelUtl.h"
#include "iprofile/IprofileManager.h"
#include "itool/ItoolConstraintsManager.h"

namespace {

// The tool-name table names the kinds before the constraints editor; its
// entry for that kind is not a tool's name.
constexpr int kNamedToolKinds = ideCONSTRAINTSEDITOR;

}  // namespace

IcmdToolTypeArg::IcmdToolTypeArg(AcmdBase* owner, bool required, ImodelFunctionType defaultKind, Filter filter)
    : AcmdEnumParam<ImodelFunctionType>("tool", owner, AcmdValueType::Single(), required, defaultKind, false,
                                        "tool type")
{
    for (int value = 0; value < kNamedToolKinds; ++value) {
        const auto kind = static_cast<ImodelFunctionType>(value);
        if (filter == nullptr || filter(kind)) AddChoice(kind, GetStringForTool(kind).c_str(), "");
    }
    SetCaseSensitive(false);
}

bool IcmdToolTypeArg::GetObjectFromString(const char* text, ImodelFunctionType& out, bool report, void* parentWindow)
{
    if (AcmdEnumParam<ImodelFunctionType>::GetObjectFromString(text, out, report, parentWindow)) return true;
    if (report && GetChoices().empty())
        AcmdDisplayArgInvalidErrorMessage(GetName(), text ? text : "", "a tool kind offered here, and none is",
                                          GetDisplayName(true), parentWindow);
    return false;
}

std::string IcmdToolTypeArg::GetStringForTool(ImodelFunctionType kind)
{
    std::string keyword;
    ImodelWriteToolNameString(kind, keyword);
    ImodelReplaceAll(keyword, "ide", "", 0);
    ImodelMakeLower(keyword);
    // The stored name of kind 6 ends with a blank, which nobody could type
    // as a Tcl word: the keyword goes without it.
    ImodelTrimLeftString(keyword, ' ');
    ImodelTrimRightString(keyword, ' ');
    return keyword;
}

bool IcmdToolTypeArg::OrganizeSourcesSupported(ImodelFunctionType kind)
{
    return kind == ideSYNTHESIS || kind == ideSIMULATION;
}

bool IcmdToolTypeArg::OrganizeConstraintsSupported(ImodelFunctionType kind)
{
    return ItoolConstraintsManager::GetTool(kind) != nullptr;
}

bool IcmdToolTypeArg::ProfilesSupported(ImodelFunctionType kind)
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    const IprofileManager* profiles = host ? host->GetProfileManager() : nullptr;
    return profiles && profiles->IsUserManagedProfile(kind);
}
