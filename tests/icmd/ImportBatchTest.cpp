// import_files copies a command's files in one batch and adds them in the
// command's order: a file that fails to come in, in the middle of a batch,
// leaves the design as it was before it, and a shell killed at any moment
// of its imports leaves every copy absent or whole and a project that opens.
#include "IcmdTestSupport.h"

#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <sstream>
#include <thread>

namespace {

class ImportBatchTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        ASSERT_EQ(RegisterCommands({"import_files", "set_root", "save_project", "open_project", "close_project"}), 5);
        ASSERT_TRUE(NewAluProject());
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    static ImodelModule* Find(const std::string& name)
    {
        const ImodelDesignManager::LibraryPtr work = Design().FindLibraryByName("work");
        for (ImodelModule* unit : *work->GetModules())
            if (unit->GetName() == name) return unit;
        return nullptr;
    }

    // The units of "work" but those named in `skip`: file, links, root and
    // the data a user gives them.
    static std::string Dump(const std::vector<std::string>& skip = {})
    {
        std::ostringstream out;
        out << "root " << Design().GetRootId().ToString() << "\n";
        for (const ImodelModule* unit : *Design().FindLibraryByName("work")->GetModules()) {
            if (std::find(skip.begin(), skip.end(), unit->GetName()) != skip.end()) continue;
            out << unit->GetName() << " @" << (unit->GetModuleFile() ? unit->GetModuleFile()->GetFileTitleAndExt() : "-")
                << " root " << unit->IsRoot() << " expand " << unit->GetExpand() << " associated "
                << unit->GetAssociatedFileListConst().size() << " cdb " << unit->GetCDBOrder().size() << " uses";
            if (const ImodelLinkList* subs = unit->GetSubBlocks())
                for (const ImodelModule* sub : *subs) out << " " << sub->GetName();
            out << " used by";
            if (const ImodelLinkList* parents = unit->GetParentsList())
                for (const ImodelModule* parent : *parents) out << " " << parent->GetName();
            out << "\n";
        }
        return out.str();
    }
};

std::string Entity(const std::string& name, const std::vector<std::string>& uses)
{
    std::string text = "entity " + name + " is end;\narchitecture rtl of " + name + " is\nbegin\n";
    for (std::size_t i = 0; i < uses.size(); ++i)
        text += "  u" + std::to_string(i) + " : entity work." + uses[i] + ";\n";
    return text + "end;\n";
}

}  // namespace

TEST_F(ImportBatchTest, AFileThatFailsInTheMiddleOfABatchLeavesTheDesignAsItWas)
{
    m_folder.Write("src/leaf.vhd", Entity("leaf", {}));
    m_folder.Write("src/mid.vhd", Entity("mid", {"leaf"}));
    m_folder.Write("src/top.vhd", Entity("top", {"mid"}));
    ASSERT_EQ(Eval("import_files -hdl_source {../src/leaf.vhd ../src/mid.vhd ../src/top.vhd}"), TCL_OK) << result;
    ASSERT_EQ(Eval("set_root top"), TCL_OK) << result;
    // What the user gave the units.
    Find("mid")->SetExpand(2);
    Find("top")->SetExpand(1);
    Find("leaf")->AddAssociatedFile(*Find("top")->GetModuleFile());
    Find("top")->SetCDBOrder({*Find("leaf")->GetModuleFile()}, false);
    const std::string before = Dump();

    // The batch: a new unit, mid's file again (its unit goes and comes
    // back), a file that fails (it defines mid too, and would hang n1 and
    // leaf under it), another new unit.
    m_folder.Write("src/n1.vhd", Entity("n1", {}));
    m_folder.Write("src/dup.vhd", Entity("mid", {"leaf", "n1"}));
    m_folder.Write("src/n2.vhd", Entity("n2", {}));
    messages.Clear();
    ASSERT_EQ(Eval("import_files -hdl_source {../src/n1.vhd ../src/mid.vhd ../src/dup.vhd ../src/n2.vhd}"), TCL_OK)
        << result;
    EXPECT_EQ(messages.WithId("DUPLICATE_MODULE").size(), 1u);

    EXPECT_EQ(Dump({"n1", "n2"}), before);
    ASSERT_NE(Find("n1"), nullptr);
    ASSERT_NE(Find("n2"), nullptr);
    EXPECT_EQ(Find("n1")->GetParentsList() ? Find("n1")->GetParentsList()->size() : 0u, 0u);
    // Every file came into the project, in the command's order.
    const auto entry = Imodel::GetInstance().GetFileManager()->GetFile(
        IfileObject(ImodelFileName(m_folder / "alu/hdl/dup.vhd"), zorpaFT_HDL, ImodelFMFull, true, true));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->GetErrorFileType(), ImodelModuleAlreadyDefined);
}

TEST_F(ImportBatchTest, AShellKilledWhileImportingLeavesEveryCopyAbsentOrWholeAndTheProjectOpens)
{
    // Three versions of each source, told apart by their text; the child
    // imports them in turn, each import replacing the copies of the one
    // before, and saves the project.
    constexpr int kFiles = 6;
    constexpr int kVersions = 3;
    std::mt19937 random(2029);
    std::vector<std::vector<std::string>> versions(kFiles);
    std::vector<std::string> lists(kVersions);
    for (int v = 0; v < kVersions; ++v) {
        for (int f = 0; f < kFiles; ++f) {
            const std::string name = "k" + std::to_string(f);
            const std::string text = "-- " + name + " version " + std::to_string(v) + ": " +
                                     std::string(1000 + random() % 30000, static_cast<char>('a' + v)) + "\n" +
                                     Entity(name, {});
            versions[f].push_back(text);
            lists[v] += m_folder.Write("v" + std::to_string(v) + "/" + name + ".vhd", text) + " ";
        }
    }
    ASSERT_EQ(Eval("save_project"), TCL_OK) << result;
    const std::string project = Design().GetProjectFileName().GetString();
    int killedAmidCopies = 0;
    for (int round = 0; round < 100; ++round) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::close(started[0]);
            const char ready = 1;
            if (::write(started[1], &ready, 1) != 1) ::_exit(1);
            for (int n = round;; ++n) {
                Eval("import_files -hdl_source {" + lists[n % kVersions] + "}");
                Eval("save_project");
            }
        }
        ::close(started[1]);
        char ready = 0;
        ASSERT_EQ(::read(started[0], &ready, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        int temporaries = 0;
        for (const std::string& name : m_folder.List("alu/hdl")) {
            if (name[0] == '.') {
                ++temporaries;
                continue;
            }
            const std::string text = m_folder.Read("alu/hdl/" + name);
            const int f = std::stoi(name.substr(1));
            EXPECT_NE(std::find(versions[f].begin(), versions[f].end(), text), versions[f].end())
                << "round " << round << ": " << name << " is torn (" << text.size() << " bytes)";
        }
        EXPECT_LE(temporaries, kFiles) << "round " << round;
        killedAmidCopies += temporaries > 0;
        // The project as the killed shell left it opens, its files whole.
        ASSERT_EQ(Eval("close_project -save false"), TCL_OK) << result;
        ASSERT_EQ(Eval("open_project {" + project + "}"), TCL_OK) << "round " << round << ": " << result;
    }
    EXPECT_GT(killedAmidCopies, 0);
    // The next import takes the temporaries left behind over.
    ASSERT_EQ(Eval("import_files -hdl_source {" + lists[0] + "}"), TCL_OK) << result;
    EXPECT_EQ(m_folder.List("alu/hdl").size(), static_cast<std::size_t>(kFiles));
}
