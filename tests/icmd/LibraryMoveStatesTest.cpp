// add_file_to_library asks the flow again only about the units a move may
// have changed (the units the moved files define and instantiate, and the
// units of the moved names in the libraries left and gone to), not about
// every unit of the design. Held here on a randomised run of moves, to
// other libraries, back to "work" and in other letter cases, over a small
// design with netlists (synthesis states that go with a unit's library),
// test benches, a shared block, a second definition of a unit and a root:
// after each move the project saved at once equals the one saved after the
// flow has worked out the states of every unit, and, every few moves, the
// one saved after a close and an open.
#include "IcmdTestSupport.h"
#include "RecordingHost.h"

#include "iprocess/QuorlaneStateMachine.h"

#include <random>

namespace {

class LibraryMoveStatesTest : public IcmdProjectTest {
protected:
    LibraryMoveStatesTest()
        : IcmdProjectTest({"import_files", "associate_stimulus", "set_root", "add_library", "add_file_to_library",
                           "save_project", "close_project", "open_project"})
    {
    }

    static std::string Unit(const std::string& name, const Texts& subs)
    {
        std::string text =
            "entity " + name + " is port (p : in bit); end;\narchitecture rtl of " + name + " is\nbegin\n";
        for (std::size_t i = 0; i < subs.size(); ++i)
            text += "  u" + std::to_string(i) + " : entity work." + subs[i] + " port map (p);\n";
        return text + "end;\n";
    }
    static std::string Netlist(const std::string& unit)
    {
        return "(edif " + unit + " (library work (cell " + unit + ")) (design " + unit + " (cellRef " + unit +
               " (libraryRef work))))\n";
    }

    std::string Saved()
    {
        EXPECT_EQ(Eval("save_project"), TCL_OK) << result;
        return m_folder.Read("alu/alu.prj");
    }

    // The first line where two saved projects differ, with its neighbours.
    static std::string Difference(const std::string& a, const std::string& b)
    {
        std::size_t at = 0;
        while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
        const std::size_t from = a.rfind('\n', at > 200 ? at - 200 : 0);
        const std::size_t start = from == std::string::npos ? 0 : from;
        return "at once:\n" + a.substr(start, 400) + "\nthen:\n" + b.substr(start, 400);
    }

    RecordingHost m_host;
};

}  // namespace

TEST_F(LibraryMoveStatesTest, EachMoveSavesTheStatesOfAWalkOfEveryUnitAndOfAnOpen)
{
    m_folder.Write("src/top.vhd", Unit("top", {"mid", "shr"}));
    m_folder.Write("src/mid.vhd", Unit("mid", {"leaf", "shr"}));
    m_folder.Write("src/leaf.vhd", Unit("leaf", {}));
    m_folder.Write("src/shr.vhd", Unit("shr", {}));
    // A second definition of leaf: refused while leaf.vhd stands in "work".
    m_folder.Write("src/leaf2.vhd", Unit("leaf", {"shr"}));
    m_folder.Write("src/tb.vhd", "entity tb is end;\narchitecture sim of tb is begin end;\n");
    for (const char* unit : {"top", "mid", "shr"}) m_folder.Write(std::string("src/") + unit + ".edn", Netlist(unit));
    ASSERT_EQ(Eval("import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd ../src/shr.vhd "
                   "../src/leaf2.vhd} -edif {../src/top.edn ../src/mid.edn ../src/shr.edn} -stimulus ../src/tb.vhd"),
              TCL_OK)
        << result;
    ASSERT_EQ(Eval("associate_stimulus -module top -file stimulus/tb.vhd"), TCL_OK) << result;
    ASSERT_EQ(Eval("associate_stimulus -module shr -file stimulus/tb.vhd"), TCL_OK) << result;
    ASSERT_EQ(Eval("set_root top"), TCL_OK) << result;

    const Texts files = {"hdl/top.vhd", "hdl/mid.vhd", "hdl/leaf.vhd", "hdl/shr.vhd", "hdl/leaf2.vhd"};
    // "LIB2" and "Work" name libraries in other letters than they were made
    // with: a unit such a file leaves behind is saved under the library's
    // own name, whichever file made it.
    const Texts libraries = {"lib2", "LIB2", "lib3", "work", "Work"};
    std::mt19937 random(20261211);
    const auto pick = [&random](const Texts& from) { return from[random() % from.size()]; };
    QuorlaneStateMachine* flow = Imodel::GetInstance().GetStateMachine();
    ASSERT_NE(flow, nullptr);
    int movedOut = 0;
    for (int step = 0; step < 40; ++step) {
        std::string script = "add_file_to_library -library " + pick(libraries) + " -file " + pick(files);
        if (random() % 3 == 0) script += " -file " + pick(files);
        SCOPED_TRACE(std::to_string(step) + ": " + script);
        ASSERT_EQ(Eval(script), TCL_OK) << result;
        m_host.DeliverDispatched();
        const std::string saved = Saved();
        // A file of another library names it in the project.
        if (saved.find("LIBRARY=\"") != std::string::npos) ++movedOut;
        flow->UpdateFileDependentStates();
        const std::string walked = Saved();
        ASSERT_EQ(saved, walked) << Difference(saved, walked);
        if (step % 4 != 3) continue;
        ASSERT_EQ(Eval("close_project -save false"), TCL_OK) << result;
        ASSERT_EQ(Eval("open_project alu.prj"), TCL_OK) << result;
        const std::string reopened = Saved();
        ASSERT_EQ(saved, reopened) << Difference(saved, reopened);
    }
    // The run did keep files out of "work" for a good part of it.
    EXPECT_GT(movedOut, 10);
}
