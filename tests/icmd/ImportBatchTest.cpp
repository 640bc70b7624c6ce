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

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>
#include <thread>
#include <unordered_set>

namespace {

// A unit: its file, with `userData` its root flag and the data a user gives
// it, then its links.
void DumpUnit(std::ostream& out, const ImodelModule& unit, bool userData)
{
    out << unit.GetName() << " @" << (unit.GetModuleFile() ? unit.GetModuleFile()->GetFileTitleAndExt() : "-");
    if (userData)
        out << " root " << unit.IsRoot() << " expand " << unit.GetExpand() << " associated "
            << unit.GetAssociatedFileListConst().size() << " cdb " << unit.GetCDBOrder().size();
    out << " uses";
    if (const ImodelLinkList* subs = unit.GetSubBlocks())
        for (const ImodelModule* sub : *subs) out << " " << sub->GetName();
    out << " used by";
    if (const ImodelLinkList* parents = unit.GetParentsList())
        for (const ImodelModule* parent : *parents) out << " " << parent->GetName();
    out << "\n";
}

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
            DumpUnit(out, *unit, true);
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
    // A loaded machine may not run the child up to its first copy within
    // the window: rounds go on, the window widening, until one has.
    unsigned window = 20000;
    int killedAmidCopies = 0;
    for (int round = 0; round < 100 || (killedAmidCopies == 0 && round < 300); ++round) {
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
        std::this_thread::sleep_for(std::chrono::microseconds(random() % window));
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
        if (killedAmidCopies == 0 && round % 10 == 9) window = std::min(window * 2, 2000000u);
        // The project as the killed shell left it opens, its files whole.
        ASSERT_EQ(Eval("close_project -save false"), TCL_OK) << result;
        ASSERT_EQ(Eval("open_project {" + project + "}"), TCL_OK) << "round " << round << ": " << result;
    }
    EXPECT_GT(killedAmidCopies, 0);
    // The next import takes the temporaries left behind over.
    ASSERT_EQ(Eval("import_files -hdl_source {" + lists[0] + "}"), TCL_OK) << result;
    EXPECT_EQ(m_folder.List("alu/hdl").size(), static_cast<std::size_t>(kFiles));
}

namespace {

// The design and the project's files as a batch or files one by one leave
// them: each unit with its file, sub-blocks and parents, each file with the
// unit it was refused for; the order files enter the model shows in the
// order of parents.
std::string DesignAndFiles()
{
    std::ostringstream out;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    for (const ImodelModule* unit : *design.FindLibraryByName("work")->GetModules()) DumpUnit(out, *unit, false);
    std::vector<boost::shared_ptr<IfileObjectEx>> files;
    Imodel::GetInstance().GetFileManager()->GetFiles(files, 0, nullptr);
    std::vector<std::string> lines;
    for (const auto& file : files)
        lines.push_back(file->GetFileTitleAndExt() + " error " + std::to_string(file->GetErrorFileType()) + " " +
                        file->GetModuleAlreadyDefined());
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) out << line << "\n";
    return out.str();
}

}  // namespace

// A batch large enough for the sources to be read ahead of their parse
// leaves what the same files imported one per command leave: the same units,
// links, refused files and messages, and every file with the status it has
// on disk.
TEST_F(ImportBatchTest, ABatchReadAheadLeavesWhatTheSameFilesOneByOneLeave)
{
    std::mt19937 random(29029);
    constexpr int kUnits = 64;
    // Sources outside the project; unit i uses up to two units of any
    // index (some come later in the command, some never).
    std::vector<std::string> outside;
    for (int i = 0; i < kUnits; ++i) {
        std::vector<std::string> uses;
        for (unsigned n = random() % 3; n > 0; --n) uses.push_back("b" + std::to_string(random() % (kUnits + 10)));
        const std::string name = "b" + std::to_string(i);
        outside.push_back(m_folder.Write("src/" + name + ".vhd", Entity(name, uses)));
    }
    // Files already in each project's folder, and files that define a unit
    // a second time.
    std::vector<std::pair<std::string, std::string>> inPlace;
    for (int i = 0; i < 8; ++i) {
        const std::string name = "p" + std::to_string(i);
        inPlace.emplace_back(name + ".vhd", Entity(name, {"b" + std::to_string(random() % kUnits)}));
    }
    for (int i = 0; i < 6; ++i)
        outside.push_back(m_folder.Write("src/dup" + std::to_string(i) + ".vhd",
                                         Entity("b" + std::to_string(random() % kUnits), {})));
    // Sources of another folder with the title of a source above: both are
    // copied onto one target, the later one replacing the earlier.
    for (int i = 0; i < 4; ++i) {
        const std::string name = "b" + std::to_string(random() % kUnits);
        outside.push_back(m_folder.Write("other/" + name + ".vhd", Entity(name, {"b" + std::to_string(i)})));
    }
    // The command's list for a project in `folder`: the sources, the files
    // in place and a file named twice, shuffled.
    std::vector<std::string> order(outside);
    for (const auto& [name, text] : inPlace) order.push_back("@/" + name);
    order.push_back(order[random() % kUnits]);
    std::shuffle(order.begin(), order.end(), random);
    const auto listFor = [&](const std::string& folder, std::size_t first, std::size_t count) {
        std::string list;
        for (std::size_t i = first; i < first + count && i < order.size(); ++i)
            list += "{" + (order[i][0] == '@' ? folder + "/hdl" + order[i].substr(1) : order[i]) + "} ";
        return list;
    };
    const auto messageTexts = [&](const std::string& folder) {
        std::vector<std::string> texts;
        for (std::string text : messages.Texts()) {
            for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
                text.replace(at, folder.size(), "<project>");
            texts.push_back(text);
        }
        std::sort(texts.begin(), texts.end());
        return texts;
    };

    const std::string batchFolder = m_folder / "alu";
    for (const auto& [name, text] : inPlace) m_folder.Write("alu/hdl/" + name, text);
    messages.Clear();
    ASSERT_EQ(Eval("import_files -hdl_source {" + listFor(batchFolder, 0, order.size()) + "}"), TCL_OK) << result;
    const std::vector<std::string> batchMessages = messageTexts(batchFolder);
    const std::string batch = DesignAndFiles();
    // Every file in with the status it has on disk.
    const auto expectStatusesOnDisk = [] {
        std::vector<boost::shared_ptr<IfileObjectEx>> files;
        Imodel::GetInstance().GetFileManager()->GetFiles(files, 0, nullptr);
        EXPECT_EQ(files.size(), static_cast<std::size_t>(kUnits + 6 + 8));
        for (const auto& file : files) {
            SysStatInfo onDisk;
            ASSERT_EQ(SysPathStat(file->GetFullFileName().GetString(), &onDisk), 0) << file->GetFileTitleAndExt();
            ASSERT_NE(file->GetStatInfo(), nullptr) << file->GetFileTitleAndExt();
            EXPECT_EQ(file->GetStatInfo()->time, onDisk.time) << file->GetFileTitleAndExt();
            EXPECT_EQ(file->GetStatInfo()->size, onDisk.size) << file->GetFileTitleAndExt();
        }
    };
    expectStatusesOnDisk();
    ASSERT_EQ(Eval("close_project -save false"), TCL_OK) << result;

    const std::string plainFolder = m_folder / "plain";
    ASSERT_TRUE(IcmdDoNewProject(false, "alu", plainFolder, true, "ZX3", "zx3_10", "tq100"));
    for (const auto& [name, text] : inPlace) m_folder.Write("plain/hdl/" + name, text);
    messages.Clear();
    // A file named twice in one command comes in once.
    std::unordered_set<std::string> named;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (!named.insert(order[i]).second) continue;
        ASSERT_EQ(Eval("import_files -hdl_source {" + listFor(plainFolder, i, 1) + "}"), TCL_OK) << result;
    }
    EXPECT_EQ(DesignAndFiles(), batch);
    EXPECT_EQ(messageTexts(plainFolder), batchMessages);
    expectStatusesOnDisk();
}
