// The physical-synthesis tool's lists, kept in each unit's options, and the
// constraints manager's questions about optional constraint files.
#include "FlowProject.h"
#include "ProfileHost.h"

#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "iprocess/IprocessListener.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolPhySynth.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts the constraint-list notices the process manager passes on.
class NoticeListener : public IprocessListener {
public:
    void ConstraintListChanged(ImodelModule*, std::uint32_t, ImodelFunctionType tool) override
    {
        notices.push_back(tool);
    }
    void DisplayItemsMessage1(std::uint32_t, ImodelModule*) override {}
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override {}
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override {}

    std::vector<ImodelFunctionType> notices;
};

class ItoolPhySynthTest : public FlowProject {
protected:
    ItoolPhySynthTest()
    {
        m_top = Unit("top");
        Revision(m_top)->GetFlowOptions()->UsePhySynth = true;
        Imodel::GetInstance().GetProcessManager()->SetListener(&m_listener);
    }
    ~ItoolPhySynthTest() override { Imodel::GetInstance().GetProcessManager()->SetListener(nullptr); }

    static ItoolWithConstraints& PhySynth() { return *Imodel::GetInstance().GetPhySynthTool(); }
    std::vector<std::string> Stored() const
    {
        std::vector<std::string> titles;
        for (const IfileObject& file : m_top->GetPhySynthOptions()->GetConstraintFileList())
            titles.push_back(file.GetFileTitleAndExt());
        return titles;
    }

    FlowOptionsScope m_options{{"IMPORT_CONSTRAINT_FILES", "PDC"}, {"PDC_DISP_NAME", "Pin"}, {"PDC_EXTN", "pdc"}};
    NoticeListener m_listener;
    ImodelModule* m_top = nullptr;
};

}  // namespace

TEST_F(ItoolPhySynthTest, TheOptionalFilesInUseComeFromTheToolsListOrTheFlowsDefaults)
{
    const auto pins = AddDefault(zorpaFT_ZEVORU_PDC, m_top);
    ItoolConstraintsManager& manager = ItoolConstraintsManager::GetInstance();

    // Physical synthesis keeps a list: its optional flow files count.
    std::vector<IprocessFileObject*> nodes;
    ItoolConstraintsManager::Entries files;
    PhySynth().SetConstraintFileList({pins}, m_top, Revision(m_top));
    manager.GetOptionalFilesUsed(nodes, files, m_top, Revision(m_top), idePHYSYNTH);
    EXPECT_EQ(nodes, std::vector<IprocessFileObject*>{&Node(zorpaFT_ZEVORU_PDC)});
    EXPECT_TRUE(files.empty());
    EXPECT_FALSE(manager.IsOptionalFileUsed(&Node(zorpaFT_ZEVORU_GCF), m_top, Revision(m_top), idePHYSYNTH));

    // A kind without a tool: the nodes used by default, with their files.
    nodes.clear();
    manager.GetOptionalFilesUsed(nodes, files, m_top, Revision(m_top), ideSIMULATION);
    EXPECT_TRUE(nodes.empty());
    manager.GetOptionalFilesUsed(nodes, files, m_top, Revision(m_top), ideRESERVED);
    EXPECT_TRUE(nodes.empty());

    // A removed optional file leaves the tools' lists; the notice flag is
    // back as it was.
    Imodel::GetNotifyConstraintListChanged() = true;
    manager.OptionalConstraintFileChanged(*pins, &Node(zorpaFT_ZEVORU_PDC), QuorlaneFileRemoved, m_top);
    EXPECT_TRUE(Imodel::GetNotifyConstraintListChanged());
    manager.OptionalConstraintFileChanged(*pins, nullptr, QuorlaneFileChanged, nullptr);
}

TEST_F(ItoolPhySynthTest, ASynthesisConstraintFileThatJoinsTheProjectJoinsTheListWhenPassedOn)
{
    // Synplify writes the synthesis constraints, which physical synthesis
    // takes by default.
    ProfileHost host("SYNPLIFY7_EXT");
    FlowOptionsScope sdc{{"IMPORT_CONSTRAINT_FILES", "PDC SDC"}, {"SDC_DISP_NAME", "Timing"}, {"SDC_EXTN", "sdc"}};
    IprocessFileObject& node = Node(zorpaFT_SYN_SDC);
    const bool usedByDefault = node.IsUsedByDefault();
    node.SetOptionalConstraintFileLevel(imodelConstraintFlowSynthesis, true);

    ImodelPhySynthesisOptions& options = *m_top->GetPhySynthOptions();
    const auto clocks = Add("constraint/top.pdc", zorpaFT_PDC);
    const auto notes = Add("constraint/notes.txt", zorpaFT_TXT);
    // The netlist the synthesis constraints go with names the unit as its top.
    AddDefault(zorpaFT_SYN_EDN, m_top, "(edif top (design top (cellRef top (libraryRef work))))\n");
    options.SetConstraintFileList({*clocks, *notes}, nullptr);
    options.SetUseSynplifySDC(false);
    const auto timing = AddDefault(zorpaFT_SYN_SDC, m_top);
    options.ConstraintFileAdded(timing, m_top);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"top.pdc", "notes.txt"}));

    options.SetUseSynplifySDC(true);
    options.ConstraintFileAdded(timing, m_top);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"top_sdc.sdc", "top.pdc", "notes.txt"}));
    EXPECT_FALSE(m_listener.notices.empty());
    options.ConstraintFileAdded(timing, m_top);  // its type is listed already
    EXPECT_EQ(Stored().size(), 3u);
    node.SetOptionalConstraintFileLevel(imodelConstraintFlowSynthesis, usedByDefault);
}
