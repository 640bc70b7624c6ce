#include "iprocess/IprocessMessages.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessageDef.h"
#include "imodel/names/ImodelMessages.h"
#include "iprofile/IprofileManager.h"

#include <string>

MdbQuery_result IprocessDisplayCOMPONENT_NOT_READY_QRY(void* parent, MdbQuery_result defaultAnswer, const char* action)
{
    return ImodelEmitQuery(kCOMPONENT_NOT_READY_QRY, parent, defaultAnswer, {action});
}

MdbQuery_result IprocessDisplayCOMPONENT_NOT_UPTODATE_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                          const char* action)
{
    return ImodelEmitQuery(kCOMPONENT_NOT_UPTODATE_QRY, parent, defaultAnswer, {action});
}

int IprocessDisplayLAYOUT_IGNORED_OOD_FILE_MSG(const char* layoutFile, const char* outOfDateFile)
{
    return ImodelEmitOutput(kLAYOUT_IGNORED_OOD_FILE_MSG, {layoutFile, outOfDateFile});
}

void IprocessRegisterCOMPONENT_NOT_READY_QRY()
{
    MdbDontShowAgainManager::GetInstance().RegisterQuery(kCOMPONENT_NOT_READY_QRY.dontShowAgainKey, 1,
                                                         "Launching a tool on a component with error(s).", 0, 0);
}

void IprocessRegisterCOMPONENT_NOT_UPTODATE_QRY()
{
    MdbDontShowAgainManager::GetInstance().RegisterQuery(kCOMPONENT_NOT_UPTODATE_QRY.dontShowAgainKey, 1,
                                                         "Launching a tool on an out of date component.", 0, 0);
}

namespace {

const IprofileManagedProfile* ManagedProfile(ImodelFunctionType kind)
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IprofileManager* profiles = host ? host->GetProfileManager() : nullptr;
    return profiles ? profiles->GetManagedProfile(kind) : nullptr;
}

}  // namespace

std::string IprofileGetToolListStr(ImodelFunctionType kind)
{
    const IprofileManagedProfile* profile = ManagedProfile(kind);
    return profile ? profile->GetToolList() : std::string();
}

std::string IprofileGetProfileToolName(ImodelFunctionType kind)
{
    const IprofileManagedProfile* profile = ManagedProfile(kind);
    return profile ? profile->GetToolName() : std::string();
}

namespace {

// Registered while the library loads, before any question can be asked.
struct ComponentQuestionsRegistration {
    ComponentQuestionsRegistration()
    {
        IprocessRegisterCOMPONENT_NOT_READY_QRY();
        IprocessRegisterCOMPONENT_NOT_UPTODATE_QRY();
    }
};
const ComponentQuestionsRegistration g_componentQuestionsRegistration;

}  // namespace
