// The checks run before a tool is launched on a design: the questions about
// block-design components that have errors or are out of date, and the
// search for Synplify DSP components under the root.
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "iprocess/IprocessConditions.h"
#include "iprocess/IprocessMessages.h"

#include <unordered_set>

namespace {

// One walk over a hierarchy: every module's sub-blocks, then the module,
// each module checked once.
class ComponentWalk {
public:
    ComponentWalk(IprocessComponentCheck check, IprocessComponentQuestions& questions, const std::string& action)
        : m_check(check), m_questions(questions), m_action(action)
    {
    }

    bool SubBlocks(const std::deque<ImodelModule*>* modules)
    {
        if (!modules) return true;
        for (ImodelModule* module : *modules)
            if (!Module(module)) return false;
        return true;
    }

    bool Module(ImodelModule* module)
    {
        // A module met again passed before, or is being checked further up
        // the path (a design that instantiates itself).
        if (!module || !m_checked.insert(module).second) return true;
        return SubBlocks(module->GetSubBlocks()) && m_check(module, m_questions, m_action);
    }

private:
    IprocessComponentCheck m_check;
    IprocessComponentQuestions& m_questions;
    const std::string& m_action;
    std::unordered_set<const ImodelModule*> m_checked;
};

ImodelModule* RootModule()
{
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design ? design->GetRootModule() : nullptr;
}

using Question = MdbQuery_result (*)(void*, MdbQuery_result, const char*);

// The answer of the question's kind in this run, asking it the first time.
bool AskOnce(IprocessComponentQuestions::Answer& answer, Question question, const std::string& action)
{
    if (answer == IprocessComponentQuestions::NotAsked) {
        ImodelHost* host = Imodel::GetInstance().GetHost();
        const MdbQuery_result given = question(host ? host->GetParentWindow() : nullptr, MdbOK, action.c_str());
        answer = given == MdbOK ? IprocessComponentQuestions::Accepted : IprocessComponentQuestions::Refused;
    }
    return answer == IprocessComponentQuestions::Accepted;
}

}  // namespace

bool IprocessCheckFlowForModule(ImodelModule* module, IprocessComponentQuestions& questions, const std::string& action)
{
    if (!module) return false;
    const VyIfaces::IComponent* component = module->GetComponent();
    if (!component) return true;
    switch (component->GetStatus()) {
    case 0:
        return true;
    case 1:
    case 3:
        return AskOnce(questions.componentsWithErrors, &IprocessDisplayCOMPONENT_NOT_READY_QRY, action);
    default:
        return AskOnce(questions.componentsOutOfDate, &IprocessDisplayCOMPONENT_NOT_UPTODATE_QRY, action);
    }
}

bool IprocessCheckIsNotDSP(ImodelModule* module, IprocessComponentQuestions&, const std::string&)
{
    if (!module) return false;
    const VyIfaces::IComponent* component = module->GetComponent();
    return !component || component->GetModuleType() != VyIfaces::IComponent::SynplifyDSP;
}

bool IprocessCheckSubBlocks(const std::deque<ImodelModule*>* subBlocks, IprocessComponentCheck check,
                            IprocessComponentQuestions& questions, const std::string& action)
{
    return ComponentWalk(check, questions, action).SubBlocks(subBlocks);
}

bool IprocessCheckModule(ImodelModule* module, IprocessComponentCheck check, IprocessComponentQuestions& questions,
                         const std::string& action)
{
    return ComponentWalk(check, questions, action).Module(module);
}

bool IprocessCheckFlowForSourceFiles(const std::string& action)
{
    IprocessComponentQuestions questions;
    return IprocessCheckModule(RootModule(), &IprocessCheckFlowForModule, questions, action);
}

bool IprocessCheckRootHasDSP()
{
    ImodelModule* root = RootModule();
    if (!root) return false;
    IprocessComponentQuestions unused;
    // The walk stops at the first DSP component, the root's own last.
    return !IprocessCheckModule(root, &IprocessCheckIsNotDSP, unused, std::string());
}
