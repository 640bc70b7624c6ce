#include "src/icmd/organize/icmdOrganizeLists.h"

#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"

namespace icmdOrganizeLists {

Imodel& Model() { return Imodel::GetInstance(); }
IfileManager& Files() { return *Model().GetFileManager(); }
ImodelDesignManager& Design() { return *Model().GetDesignManager(); }

std::string KeyOf(const Entry& file) { return ImodelFileNameKey(file->GetInternalFileName()); }

std::unordered_set<std::string> KeysOf(const Entries& files)
{
    std::unordered_set<std::string> keys;
    keys.reserve(files.size());
    for (const Entry& file : files)
        if (file) keys.insert(KeyOf(file));
    return keys;
}

Entries Unique(const Entries& files)
{
    Entries unique;
    unique.reserve(files.size());
    std::unordered_set<std::string> seen;
    for (const Entry& file : files)
        if (file && seen.insert(KeyOf(file)).second) unique.push_back(file);
    return unique;
}

std::deque<IfileObject> SimpleObjects(const Entries& files)
{
    std::deque<IfileObject> values;
    IfileManagerGetSimpleObjects(files, values);
    return values;
}

std::string ModuleNameOrThisModule(const ImodelModule* module) { return module ? module->GetName() : "this module"; }

void ToolInputsChanged(ImodelFunctionType tool, ImodelModule* module)
{
    if (QuorlaneStateMachine* flow = Model().GetStateMachine())
        flow->FunctionTypeMessage(QuorlaneToolChangedForModule, tool, module);
}

}  // namespace icmdOrganizeLists
