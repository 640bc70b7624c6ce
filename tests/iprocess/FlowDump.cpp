#include "FlowDump.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessConditions.h"
#include "src/iprocess/iprocessFlowImpl.h"

#include <sstream>

namespace {

std::string Conditions(const IprocessFlowObject& object)
{
    std::string text;
    for (IprocessCondition condition : object.GetIgnoreConditions())
        text += " ignore " + IprocessGetConditionName(condition);
    for (IprocessCondition condition : object.GetUseConditions()) text += " use " + IprocessGetConditionName(condition);
    return text;
}

std::string Ends(const std::vector<IprocessFileObject*>& nodes)
{
    std::string text = "files";
    for (const IprocessFileObject* node : nodes) text += " " + std::to_string(node->GetFileType());
    return nodes.empty() ? "nothing" : text;
}

std::string Ends(const std::vector<IprocessToolObject*>& nodes)
{
    std::string text = "tools";
    for (const IprocessToolObject* node : nodes) text += " " + std::to_string(node->GetToolType());
    return nodes.empty() ? "nothing" : text;
}

template <class Transition>
void DumpTransitions(std::ostream& out, const char* kind, const std::vector<Transition*>& transitions)
{
    for (const Transition* transition : transitions) {
        out << kind << " " << transition->GetID() << " \"" << transition->GetName() << "\" from "
            << Ends(transition->GetFromsList()) << " to " << Ends(transition->GetTosList()) << " state "
            << transition->GetDefaultState() << (transition->IsUsedForState() ? " for-state" : "")
            << (transition->IsAutoProcessed() ? " auto" : "") << Conditions(*transition) << "\n";
    }
}

}  // namespace

std::string DumpFlow(const IprocessFlow& flow)
{
    std::ostringstream out;
    out << "flow " << flow.GetName() << "\n";
    int position = 1;
    for (const IprocessFileObject* node : flow.GetFileObjects()) {
        std::string keyword;
        IfileGetStrType(keyword, node->GetFileType());
        ImodelFileName title;
        const bool named = node->GetDefaultFlowFileTitle(title, "top");
        out << "file " << position++ << " " << node->GetFileType() << " " << keyword << " suffix=\""
            << node->GetAppend() << "\" ext=\"" << node->GetExt() << "\" filters " << node->GetFilter(true) << " "
            << node->GetFilter(false) << " top=\"" << (named ? title.GetString() : "(none)") << "\"";
        if (node->IsRevDependent()) out << " rev";
        if (node->UserCanSelectFileToUse()) out << " choice";
        if (node->IsAutoProcessed()) out << " auto";
        if (node->IsOptionalConstraintFile())
            out << " constraint-level " << node->GetOptionalConstraintFileLevel()
                << (node->IsUsedByDefault() ? " by-default" : "");
        if (!node->DoHandlePredecessor()) out << " no-variants";
        out << Conditions(*node) << "\n";
    }
    position = 1;
    for (const IprocessToolObject* tool : flow.GetToolObjects()) {
        out << "tool " << position++ << " " << tool->GetToolType() << " \"" << tool->GetName() << "\" group \""
            << tool->GetGroup() << "\" device-level " << tool->GetDeviceLevel()
            << (tool->IsPackageDepending() ? " package" : "") << " selects " << tool->GetFileSelectionType(false) << "/"
            << tool->GetFileSelectionType(true) << (tool->IsRevDependent() ? " rev" : "") << Conditions(*tool) << "\n";
    }
    const auto& impl = dynamic_cast<const iprocessFlowImpl&>(flow);
    DumpTransitions(out, "tool-to-file", impl.GetToolToFileTransitions());
    DumpTransitions(out, "file-to-tool", impl.GetFileToToolTransitions());
    DumpTransitions(out, "file-to-file", impl.GetFileToFileTransitions());
    return out.str();
}

std::string DumpStates(const IprocessFlow& flow, IfileManager& files, const std::vector<ImodelModule*>& units,
                       const std::vector<std::string>& events)
{
    std::string text;
    for (ImodelModule* unit : units) {
        text += unit->GetName() + ":";
        // Looking at a context's views makes them: one not made yet is
        // told as such.
        if (unit->GetContext()->Pending()) {
            text += " pending\n";
            continue;
        }
        for (ImodelRevContextImpl* revision : unit->GetContext()->GetAllRevs()) {
            text += " " + revision->GetName() + " state " + std::to_string(revision->GetSolvatoState()) + " reach";
            for (imodelSolvatoState state : {Pre_Synthesis, Post_Synthesis, Post_Phy_Synthesis, Post_Layout})
                if (revision->IsStateAccessible(state)) text += " " + std::to_string(state);
            for (IprocessToolObject* tool : flow.GetToolObjects())
                text += " " + std::to_string(revision->GetToolState(tool));
        }
        text += "\n";
    }
    std::vector<boost::shared_ptr<IfileObjectEx>> members;
    files.GetFiles(members, 0, nullptr);
    for (const auto& file : members)
        text += file->GetInternalFileName().GetString() + " " + std::to_string(file->GetFileState()) + "\n";
    for (const std::string& name : events) text += name + "\n";
    return text;
}
