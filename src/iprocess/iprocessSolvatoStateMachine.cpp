// The design state of each revision of a unit: how far the design has got
// (pre-synthesis, post-synthesis, post-physical synthesis, post-layout) and
// which states it may reach because every file they need exists.
#include "src/iprocess/iprocessStateMachines.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessConditions.h"
#include "iprocess/IprocessToolObject.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <utility>

using Entry = boost::shared_ptr<IfileObjectEx>;

// --- constraints -----------------------------------------------------------------------------------

bool IprocessSolvatoStateConstraint::IsObjectUsed(ImodelModule* module, ImodelRevContext* revision) const
{
    if (IprocessFlowObject::IsObjectUsed(module, revision) && m_tool && m_tool->IsObjectUsed(module, revision))
        return true;
    return m_tool && m_tool->GetToolType() == ideSYNTHESIS && IprocessIsEDIFFlow(module, revision);
}

namespace {

// Whether each of `some` holds only where one of `all` holds.
bool Among(const std::vector<IprocessCondition>& some, const std::vector<IprocessCondition>& all)
{
    return std::all_of(some.begin(), some.end(), [&all](IprocessCondition condition) {
        return std::any_of(all.begin(), all.end(),
                           [condition](IprocessCondition other) { return IprocessConditionImplies(condition, other); });
    });
}

// Whether the object is used wherever the tool is: each condition it is
// ignored on holds only where one the tool is ignored on does, and it has
// no use condition or one of them holds wherever one of the tool's does.
bool UsedWheneverToolIs(const IprocessFlowObject& object, const IprocessToolObject& tool)
{
    const std::vector<IprocessCondition>& use = object.GetUseConditions();
    return Among(object.GetIgnoreConditions(), tool.GetIgnoreConditions()) &&
           (use.empty() || (!tool.GetUseConditions().empty() && Among(tool.GetUseConditions(), use)));
}

}  // namespace

bool IprocessSolvatoStateConstraint::AlwaysChecksAnOutput() const
{
    // Used without its tool only for a unit of the EDIF flow, whose netlist
    // is a tool output the flow knows.
    if (!m_tool) return false;
    const auto& transitions = m_tool->GetOutputTransitionsToFiles();
    return std::any_of(transitions.begin(), transitions.end(), [this](const IprocessToolToFileTransition* transition) {
        const auto& outputs = transition->GetTosList();
        return transition->IsUsedForState() && !outputs.empty() && UsedWheneverToolIs(*transition, *m_tool) &&
               std::all_of(outputs.begin(), outputs.end(), [this](const IprocessFileObject* output) {
                   return !output->IsOptionalConstraintFile() && UsedWheneverToolIs(*output, *m_tool);
               });
    });
}

void IprocessSolvatoStateConstraint::GetFiles(IprocessFileObject::Nodes* out, ImodelModule* module,
                                              ImodelRevContext* revision) const
{
    if (m_tool) m_tool->GetStateOutputFiles(out, module, revision);
}

bool IprocessSolvatoStateConstraint::CheckState(ImodelModule* module, ImodelRevContext* revision, bool& reached,
                                                bool& accessible) const
{
    if (!module || !revision) return false;
    reached = true;
    accessible = true;
    IprocessFileObject::Nodes nodes;
    GetFiles(&nodes, module, revision);
    for (const IprocessFileObject* node : nodes) {
        // A node that knows no file finds none: the current file would be
        // missing or a new entry outside the project, which ends the check
        // the same way. Making its name for every view costs most of an open.
        if (node->KnowsAnyFile()) ++m_fileLookups;
        const Entry file =
            node->KnowsAnyFile() ? node->GetFileManagerObject(module, revision, true, false, true) : Entry();
        if (!file) {
            reached = false;
            accessible = false;
            break;
        }
        if (file->GetFileState() == imodelFileUpToDate) continue;
        reached = false;
        if (!file->IsFileInProject()) {
            accessible = false;
            break;
        }
    }
    return true;
}

bool IprocessSolvatoStateConstraint_Tool::IsToolSupported(const IprocessToolObject* tool)
{
    return tool && tool->GetToolType() == idePALLADOR;
}

bool IprocessSolvatoStateConstraint_Tool::CheckState(ImodelModule* module, ImodelRevContext* revision, bool& reached,
                                                     bool& accessible) const
{
    if (!IprocessSolvatoStateConstraint::CheckState(module, revision, reached, accessible)) return false;
    if (!m_tool) return false;
    reached = revision->GetToolState(m_tool) == StateSuccess;
    if (!reached) return true;
    // The layout stands only while what it was made from is current; the
    // sources and the database are judged by the layout run itself.
    for (const IprocessFileToToolTransition* transition : m_tool->GetInputTransitionsFromFiles()) {
        if (!transition->IsObjectUsed(module, revision)) continue;
        IprocessFileObject::Nodes inputs;
        transition->GetFromsOpt(inputs, true);
        for (const IprocessFileObject* input : inputs) {
            if (input->GetFileType() == zorpaFT_ADB || input->GetFileType() == zorpaFT_HDL) continue;
            ++m_fileLookups;
            const Entry file = input->GetFileManagerObject(module, revision, false, false, true);
            if (file && file->GetFileState() == imodelFileOutOfDate) {
                reached = false;
                return true;
            }
        }
    }
    return true;
}

// --- machine ---------------------------------------------------------------------------------------

void IprocessSolvatoStateMachine::AddConstraint(imodelSolvatoState state, IprocessToolObject* tool)
{
    if (!tool) return;
    if (IprocessSolvatoStateConstraint_Tool::IsToolSupported(tool))
        m_constraints.push_back(std::make_unique<IprocessSolvatoStateConstraint_Tool>(state, tool));
    else
        m_constraints.push_back(std::make_unique<IprocessSolvatoStateConstraint>(state, tool));
}

imodelSolvatoState IprocessSolvatoStateMachine::GetState(ImodelRevContextImpl* revision) const
{
    if (!m_module || !revision) return m_default;
    imodelSolvatoState state = m_default;
    revision->ResetAccessibleStateList();
    revision->AddAccessibleState(m_default);
    // The last state reached wins; an earlier one need not be reached for a
    // later one to count (post-layout without physical synthesis).
    for (const auto& constraint : m_constraints) {
        if (!constraint->IsObjectUsed(m_module, revision)) continue;
        bool reached = false;
        bool accessible = false;
        if (!constraint->CheckState(m_module, revision, reached, accessible)) continue;
        if (reached) state = constraint->GetState();
        if (accessible) revision->AddAccessibleState(constraint->GetState());
    }
    return state;
}

bool IprocessSolvatoStateMachine::ChecksOutputsOnly() const
{
    return std::all_of(m_constraints.begin(), m_constraints.end(),
                       [](const auto& constraint) { return constraint->AlwaysChecksAnOutput(); });
}

bool& IprocessSolvatoStateMachine::PlainStates()
{
    static bool plain = false;
    return plain;
}

bool IprocessSolvatoStateMachine::AnyStateFileKnown() const
{
    // One list for every tool and every unit: asked of each unit an open reads.
    thread_local IprocessFileObject::Nodes outputs;
    for (const auto& constraint : m_constraints) {
        outputs.clear();
        constraint->GetTool()->GetOutputFiles(&outputs);
        for (const IprocessFileObject* output : outputs)
            if (output->KnowsAnyFile()) return true;
    }
    return false;
}

unsigned IprocessSolvatoStateMachine::FileLookups() const
{
    unsigned lookups = 0;
    for (const auto& constraint : m_constraints) lookups += constraint->GetFileLookups();
    return lookups;
}

void IprocessSolvatoStateMachine::UpdateState()
{
    ImodelContextImpl* context = Context();
    if (!context) return;
    const bool trace = Imodel::GetInstance().IsDebugState();
    // A view without tool records whose check looked up no file depends on
    // nothing of its own but its flow options (the flow's conditions read
    // no more of a view): views of the same options share one answer, so a
    // project with thousands of views works out a few per unit.
    struct Answer {
        ImodelFlowOptions options;
        imodelSolvatoState state;
        unsigned accessible;
    };
    std::vector<Answer> answers;
    // A context that has not made its revisions yet holds alike ones: when
    // no state file is known, they share one answer, worked out on the
    // sample they copy, and stay unmade unless their state changes.
    if (ImodelRevContextImpl* sample = PlainStates() ? nullptr : context->PendingSample();
        sample && sample->GetToolStatesManager().IsEmpty() && !AnyStateFileKnown()) {
        const imodelSolvatoState state = GetState(sample);
        if (state == sample->GetSolvatoState()) return;
        answers.push_back({std::as_const(*sample).GetFlowOptions(), state, sample->GetAccessibleStateSet()});
    }
    for (ImodelRevContextImpl* revision : context->GetAllRevs()) {
        const bool shareable = !PlainStates() && revision->GetToolStatesManager().IsEmpty();
        const ImodelFlowOptions& options = std::as_const(*revision).GetFlowOptions();
        const auto known = shareable
                               ? std::find_if(answers.begin(), answers.end(),
                                              [&options](const Answer& answer) { return answer.options == options; })
                               : answers.end();
        imodelSolvatoState state = m_default;
        if (known != answers.end()) {
            revision->ResetAccessibleStateList();
            for (int bit = 0; bit < imodelSolvatoStateCount; ++bit)
                if (known->accessible & (1u << bit)) revision->AddAccessibleState(static_cast<imodelSolvatoState>(bit));
            state = known->state;
        } else {
            const unsigned lookups = FileLookups();
            state = GetState(revision);
            if (shareable && FileLookups() == lookups)
                answers.push_back({options, state, revision->GetAccessibleStateSet()});
        }
        if (trace && state != revision->GetSolvatoState()) {
            std::string keyword;
            ImodelWriteSolvatoString(state, keyword);
            SysDebugPrintf("Process Engine: New State Of Solvato for %s (%s) : %s\n", m_module->GetName().c_str(),
                           revision->GetName().c_str(), keyword.c_str());
        }
        revision->SetSolvatoState(state);
    }
}

void IprocessSolvatoStateMachine::GetSupportedStates(std::vector<imodelSolvatoState>& out, ImodelModule* module) const
{
    out.push_back(m_default);
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    for (const auto& constraint : m_constraints) {
        if (!constraint->IsObjectUsed(module, context)) continue;
        IprocessFileObject::Nodes nodes;
        constraint->GetFiles(&nodes, module, context);
        const bool allUsed = std::all_of(nodes.begin(), nodes.end(), [&](const IprocessFileObject* node) {
            return node->IsObjectUsed(module, context);
        });
        if (allUsed && std::find(out.begin(), out.end(), constraint->GetState()) == out.end())
            out.push_back(constraint->GetState());
    }
}

bool IprocessSolvatoStateMachine::GetFilesRequiredForState(imodelSolvatoState state, IprocessFileObject::Nodes& out,
                                                           ImodelModule* module) const
{
    ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    for (const auto& constraint : m_constraints) {
        if (constraint->GetState() != state || !constraint->IsObjectUsed(module, context)) continue;
        constraint->GetFiles(&out, module, context);
        return true;
    }
    return false;
}
