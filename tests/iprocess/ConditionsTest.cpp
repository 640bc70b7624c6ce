// When flow objects take part, and the questions asked about block-design
// components before a tool runs.
#include "FlowProject.h"
#include "MessageRecorder.h"

#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "iprocess/IprocessConditions.h"

#include <vy/IComponent.h>

#include <string>
#include <vector>

namespace {

// Conditions that record their calls.
std::vector<std::string> g_calls;
bool Holds(ImodelModule*, ImodelRevContext*)
{
    g_calls.push_back("holds");
    return true;
}
bool Fails(ImodelModule*, ImodelRevContext*)
{
    g_calls.push_back("fails");
    return false;
}

class Conditioned : public IprocessFlowObject {
public:
    bool IsRevDependent() const override { return false; }
};

class FakeComponent : public VyIfaces::IComponent {
public:
    FakeComponent(int status, VyModuleType type) : m_status(status), m_type(type) {}
    const VyIfaces::ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return m_type; }
    std::string GetDefinitionFileName() const override { return std::string(); }
    void Accept(VyIfaces::IComponentVisitor&) override {}
    int GetStatus() const override { return m_status; }

private:
    VyIfaces::ComponentID m_id;
    int m_status;
    VyModuleType m_type;
};

}  // namespace

TEST(FlowConditions, IgnoreConditionsComeFirstAndUseConditionsAreAlternatives)
{
    Conditioned object;
    EXPECT_TRUE(object.IsObjectUsed(nullptr, nullptr));
    object.AttachUseConstraint(&Fails);
    object.AttachUseConstraint(&Holds);
    g_calls.clear();
    EXPECT_TRUE(object.IsObjectUsed(nullptr, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"fails", "holds"}));

    // An ignore condition that holds ends the test: no use condition is asked.
    object.AttachIgnoreConstraint(&Fails);
    object.AttachIgnoreConstraint(&Holds);
    g_calls.clear();
    EXPECT_FALSE(object.IsObjectUsed(nullptr, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"fails", "holds"}));

    Conditioned copy;
    copy.AttachUseConstraint(&Fails);
    copy.CopyConstraints(&object);
    EXPECT_EQ(copy.GetUseConditions(), (std::vector<IprocessCondition>{&Fails, &Fails, &Holds}));
    EXPECT_EQ(copy.GetIgnoreConditions(), (std::vector<IprocessCondition>{&Fails, &Holds}));
    copy.ClearConditions();
    EXPECT_TRUE(copy.IsObjectUsed(nullptr, nullptr));
}

using FlowFamilies = FlowProject;

TEST_F(FlowFamilies, SynthesisIsHiddenForStructuralUnitsRoutedAroundItAndForNetlists)
{
    ImodelModule* top = Unit("top");
    ImodelRevContextImpl* revision = Revision(top);
    EXPECT_FALSE(IprocessHideSynthesisTool(top, revision));
    ImodelFlowOptions options;
    options.UseSynth = false;
    revision->SetFlowOptions(options);
    ASSERT_TRUE(top->IsStructural());
    EXPECT_TRUE(IprocessHideSynthesisTool(top, revision));
    EXPECT_TRUE(IprocessHideEdifNetlist(top, revision));
    EXPECT_FALSE(Node(zorpaFT_SYN_EDN).IsObjectUsed(top, revision));
    EXPECT_TRUE(Tool(idePALLADOR).IsObjectUsed(top, revision));
    // Physical synthesis takes the synthesis netlist.
    options.UsePhySynth = true;
    revision->SetFlowOptions(options);
    EXPECT_FALSE(IprocessHideSynthesisTool(top, revision));
    EXPECT_TRUE(Node(zorpaFT_ZEVORU_EDN).IsObjectUsed(top, revision));

    // A netlist unit: synthesis is hidden, its netlist is not; without a
    // revision nothing is hidden.
    ImodelModule* netlist = Unit("core", Add("core.edn", zorpaFT_SYN_EDN), zorpaMODULE_NETLIST);
    EXPECT_TRUE(IprocessIsEDIFFlow(netlist, nullptr));
    EXPECT_TRUE(IprocessHideSynthesisTool(netlist, Revision(netlist)));
    EXPECT_FALSE(IprocessHideEdifNetlist(netlist, Revision(netlist)));
    EXPECT_FALSE(IprocessHideSynthesisTool(netlist, nullptr));
    EXPECT_FALSE(Node(zorpaFT_HDL).IsObjectUsed(netlist, Revision(netlist)));

    EXPECT_FALSE(IprocessIsStateRevDependent(Post_Phy_Synthesis));
    EXPECT_TRUE(IprocessIsStateRevDependent(Post_Layout));
    EXPECT_FALSE(IprocessIsToolRevDependent(idePHYSYNTH));
    EXPECT_TRUE(Node(zorpaFT_PDB).IsRevDependent());
    EXPECT_FALSE(Node(zorpaFT_SYN_SDC).IsRevDependent());
}

using ComponentChecks = FlowProject;

TEST_F(ComponentChecks, EachQuestionIsAskedOncePerRunAndItsAnswerHoldsForItsKind)
{
    FakeComponent outOfDate(2, VyIfaces::IComponent::HDL);
    FakeComponent withErrors(1, VyIfaces::IComponent::HDL);
    FakeComponent alsoWithErrors(3, VyIfaces::IComponent::Block);
    ImodelModule* root = Unit("root");
    ImodelModule* first = Unit("first");
    ImodelModule* second = Unit("second");
    ImodelModule* third = Unit("third");
    root->AddSubBlock(first, false);
    root->AddSubBlock(second, false);
    second->AddSubBlock(third, false);
    third->AddSubBlock(root, false);  // a design that instantiates itself
    first->SetComponent(&outOfDate);
    second->SetComponent(&withErrors);
    third->SetComponent(&alsoWithErrors);
    // No root: nothing to check.
    EXPECT_TRUE(IprocessCheckFlowForSourceFiles("synthesis"));
    Design().SetRootId(root->GetComponentID());

    MessageRecorder messages;
    EXPECT_TRUE(IprocessCheckFlowForSourceFiles("synthesis"));
    ASSERT_EQ(messages.Records().size(), 2u);
    EXPECT_EQ(std::string(messages.Records()[0].message.id), "COMPONENT_NOT_UPTODATE");
    EXPECT_EQ(std::string(messages.Records()[1].message.id), "COMPONENT_NOT_READY");
    EXPECT_EQ(messages.Texts()[1],
              "Your design contains some components with error(s).\nClick Cancel to abort synthesis.");

    // Cancel ends the run at once.
    messages.Clear();
    messages.AnswerNext("COMPONENT_NOT_UPTODATE", MdbCANCEL);
    EXPECT_FALSE(IprocessCheckFlowForSourceFiles("synthesis"));
    EXPECT_EQ(messages.Records().size(), 1u);

    // A refused kind stops every later component of that kind.
    messages.Clear();
    IprocessComponentQuestions questions;
    questions.componentsWithErrors = IprocessComponentQuestions::Refused;
    EXPECT_TRUE(IprocessCheckModule(first, &IprocessCheckFlowForModule, questions, "layout"));
    EXPECT_FALSE(IprocessCheckModule(third, &IprocessCheckFlowForModule, questions, "layout"));
    EXPECT_EQ(messages.Records().size(), 1u);
    EXPECT_FALSE(IprocessCheckFlowForModule(nullptr, questions, "layout"));
    EXPECT_TRUE(IprocessCheckModule(nullptr, &IprocessCheckFlowForModule, questions, "layout"));

    // The DSP search ends on the cycle too.
    EXPECT_FALSE(IprocessCheckRootHasDSP());
    FakeComponent dsp(0, VyIfaces::IComponent::SynplifyDSP);
    third->SetComponent(&dsp);
    EXPECT_TRUE(IprocessCheckRootHasDSP());
    for (ImodelModule* unit : {root, first, second, third}) unit->UnreferenceComponent();
}
