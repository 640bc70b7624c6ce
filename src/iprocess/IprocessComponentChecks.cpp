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
#include <vector>

namespace {

// One walk over a hierarchy: every module's sub-blocks, then the module,
// each module checked once.
class ComponentWalk {
public:
    ComponentWalk(IprocessComponentCheck check, IprocessComponentQuestions& questions, const std::string& action)
        : m_check(check), m_questions(questions), m_action(action)
    {
    }

    bool SubBlocks(const ImodelLinkList* modules)
    {
        if (!modules) return true;
        for (ImodelModule* module : *modules)
            if (!Module(module)) return false;
        return true;
    }

    // Iterative, so a deep hierarchy cannot exhaust the stack.
    bool Module(ImodelModule* start)
    {
        // A module met again passed before, or is being checked further up
        // the path (a design that instantiates itself).
        if (!start || !m_checked.insert(start).second) return true;
        struct Frame {
            ImodelModule* module;
            const ImodelLinkList* subBlocks;
            ImodelLinkList::const_iterator next;
        };
        std::vector<Frame> path;
        const auto enter = [&path](ImodelModule* module) {
            const ImodelLinkList* subBlocks = module->GetSubBlocks();
            path.push_back({module, subBlocks, subBlocks ? subBlocks->begin() : ImodelLinkList::const_iterator()});
        };
        enter(start);
        while (!path.empty()) {
            Frame& top = path.back();
            if (top.subBlocks && top.next != top.subBlocks->end()) {
                ImodelModule* sub = *top.next++;
                if (sub && m_checked.insert(sub).second) enter(sub);
                continue;
            }
            ImodelModule* checked = top.module;
            path.pop_back();
            if (!m_check(checked, m_questions, m_action)) return false;
        }
        return true;
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

bool IprocessCheckSubBlocks(const ImodelLinkList* subBlocks, IprocessComponentCheck check,
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
