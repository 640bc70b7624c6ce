// Reading the result file a synthesis run leaves: the state it records, the
// lines the user reads, the netlist it names, and files that are foreign,
// cut short or hostile.
#include "DebugCapture.h"
#include "FlowProject.h"
#include "MessageRecorder.h"
#include "ProfileHost.h"

#include "itool/ItoolSynthesis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ItoolSynthesisResultTest : public FlowProject {
protected:
    ItoolSynthesisResultTest()
    {
        m_top = Unit("top");
        Design().SetRootId(m_top->GetComponentID());
        Synthesis().SetResultState(StateNoResult, nullptr, nullptr);
    }
    ~ItoolSynthesisResultTest() override { Synthesis().SetResultState(StateNoResult, nullptr, nullptr); }

    static ItoolSynthesis& Synthesis() { return *Imodel::GetInstance().GetSynthesisTool(); }

    // Writes a result file and reads it as the file watcher does.
    void Read(const std::string& xml, const std::string& name = "synthesis/top.xml")
    {
        m_folder.Write(name, xml);
        Synthesis().ReadResultFile(IfileObject(m_folder / name, zorpaFT_UNKNOWN, ImodelFMFull, true, true),
                                   "SYNPLIFY7_EXT", "SynplifyOutput");
    }
    static std::string Result(const std::string& result, const std::string& netlist = "top.edn",
                              const std::string& root = "SynplifyOutput")
    {
        return "<?xml version=\"1.0\"?>\n<" + root + ">\n  <result> " + result + " </result>\n" +
               (netlist.empty() ? "" : "  <target_edif>" + netlist + "</target_edif>\n") + "</" + root + ">\n";
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (const MdbMessage& message : m_messages.Messages()) lines.push_back(message.id + ": " + message.text);
        return lines;
    }

    MessageRecorder m_messages;
    ImodelModule* m_top = nullptr;
};

}  // namespace

TEST_F(ItoolSynthesisResultTest, TheUserHearsOfEachNewOutcomeOnce)
{
    m_folder.Write("synthesis/top.edn", "(edif top)\n");
    std::deque<IfileObject> collected;
    ItoolSynthesis::GetDebugFileListPtr() = &collected;
    Read(Result("success"));
    EXPECT_EQ(Synthesis().GetResultState(), StateSuccess);
    Read(Result("SUCCESS"));
    Read(Result("Failure"));
    EXPECT_EQ(Synthesis().GetResultState(), StateFailure);
    Read(Result("Success", "", "synplifyoutput"));  // the root's own netlist, root name in another case
    ItoolSynthesis::GetDebugFileListPtr() = nullptr;
    EXPECT_EQ(collected.size(), 4u);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"TOOL_SUCCEEDED: Synplicity successful.", "TOOL_FAILED: Synplicity failed.",
                                        "TOOL_SUCCEEDED: Synplicity successful."}));
}

TEST_F(ItoolSynthesisResultTest, AMissingNetlistIsReportedAndTheStateStillRecorded)
{
    Read(Result("Success", "missing.edn"));
    EXPECT_EQ(Synthesis().GetResultState(), StateSuccess);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"TOOL_FILE_NOT_FOUND: Unable to find the file '" +
                                            m_folder / "synthesis/missing.edn" + "', cannot add it to Solvato project.",
                                        "TOOL_SUCCEEDED: Synplicity successful."}));
}

TEST_F(ItoolSynthesisResultTest, AForeignFileChangesNothingAndAnUnreadableOneIsAFailedRun)
{
    DebugCapture debug;
    Read("<?xml version=\"1.0\"?><OtherOutput><result>Success</result></OtherOutput>");
    Read("<SynplifyOutput><status>Success</status></SynplifyOutput>");
    EXPECT_EQ(Synthesis().GetResultState(), StateNoResult);
    EXPECT_TRUE(m_messages.Messages().empty());
    EXPECT_TRUE(debug.Holds("ERROR: Invalid file content: " + m_folder / "synthesis/top.xml"));

    // Cut short by a run that stopped, or hostile: nothing outside the file
    // is read (the secret would read as a success), nothing blows up.
    const std::string secret = m_folder.Write("secret.txt", "Success");
    const std::string dtd = m_folder.Write("outcome.dtd", "<!ENTITY outcome \"Success\">\n");
    const std::string hostile[] = {
        Result("Success").substr(0, 40),
        "<?xml version=\"1.0\"?>\n<!DOCTYPE SynplifyOutput [<!ENTITY secret SYSTEM \"file://" + secret +
            "\">]>\n<SynplifyOutput><result>&secret;</result></SynplifyOutput>\n",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE SynplifyOutput SYSTEM \"file://" + dtd +
            "\">\n<SynplifyOutput><result>&outcome;</result></SynplifyOutput>\n",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE SynplifyOutput [\n<!ENTITY a \"Success\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n]>\n<SynplifyOutput><result>&f;</result></SynplifyOutput>\n"};
    for (const std::string& text : hostile) {
        debug.Clear();
        Synthesis().SetResultState(StateNoResult, nullptr, nullptr);
        m_messages.Clear();
        Read(text);
        EXPECT_EQ(Synthesis().GetResultState(), StateFailure) << text;
        EXPECT_EQ(Lines(), std::vector<std::string>{"TOOL_FAILED: Synplicity failed."}) << text;
    }
    // The cut-short file says why in a debug line.
    Read(hostile[0]);
    EXPECT_TRUE(debug.Holds("ERROR: Invalid file content: " + m_folder / "synthesis/top.xml"));
}

TEST_F(ItoolSynthesisResultTest, TheResultSetsTheSynthesisStateOfTheRootInTheFlow)
{
    IprocessToolObject& synthesis = Tool(ideSYNTHESIS);
    EXPECT_EQ(Revision(m_top)->GetToolState(&synthesis), StateNoResult);
    Read(Result("Success", ""));
    EXPECT_EQ(Revision(m_top)->GetToolState(&synthesis), StateSuccess);
    Read(Result("Failure", ""));
    EXPECT_EQ(Revision(m_top)->GetToolState(&synthesis), StateFailure);
}
