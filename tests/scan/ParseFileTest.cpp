// parse_file through the command manager, as add_file runs it: duplicates
// refused or used anyway, what a package file records and where it is
// copied, the events and their order, the root kept across a parse, and
// one hierarchy whatever the order the files are parsed in.
#include "MessageRecorder.h"
#include "RecordingView.h"
#include "ScanDesignSupport.h"

#include "icmd/scan/IcmdParseFile.h"
#include "imodel/design/ImodelFindModule.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class ParseFile : public ProjectScanFixture {
protected:
    struct Parsed {
        bool accepted = false;
        std::string alreadyDefined;
        // The folder and name of the file whose unit the parse took over.
        std::string takenOver;
    };

    // Writes the file (unless `text` is null), enters it and parses it.
    Parsed Parse(const std::string& name, const char* text, bool useAnyway = false,
                 std::deque<IfileObject>* skipFiles = nullptr, std::vector<std::string>* skipModules = nullptr,
                 const std::string& library = "work")
    {
        const std::string path = text ? m_folder.Write(name, text) : m_folder / name;
        // A file of the project keeps its entry (and its place among the
        // files in error).
        boost::shared_ptr<IfileObjectEx> entry =
            ScanFiles().GetFile(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, false, true));
        if (!entry) entry = Enter(path, library);
        Parsed parsed;
        boost::shared_ptr<IfileObjectEx> takenOver;
        parsed.accepted = IcmdDoParseFile(entry, useAnyway, true, skipFiles, skipModules, nullptr, false, nullptr,
                                          &parsed.alreadyDefined, &takenOver);
        if (takenOver) {
            const fs::path full(takenOver->GetFullFileName().GetString());
            parsed.takenOver = (full.parent_path().filename() / full.filename()).generic_string();
        }
        return parsed;
    }
    std::string FileOf(const std::string& unit) const
    {
        const ImodelModule* module = Unit(unit);
        return module && module->GetModuleFile() ? module->GetModuleFile()->GetFileTitleAndExt() : "";
    }

    MessageRecorder m_messages;
    RecordingView m_view;
};

const char* const kLeaf = "entity leaf is port (x : in bit; y : out bit); end entity;\n"
                          "architecture rtl of leaf is begin y <= x; end architecture;\n";
const char* const kOtherLeaf = "entity leaf is end;\n"
                               "architecture rtl of leaf is begin u : inner port map (a); end;\n";
const char* const kPackage = "package comps is\n"
                             "  component leaf port (x : in bit; y : out bit); end component;\n"
                             "end package;\n";
const char* const kMid = "use work.comps.all;\n"
                         "entity mid is port (a : in bit; b : out bit); end mid;\n"
                         "architecture rtl of mid is\n"
                         "begin\n"
                         "  u1 : leaf port map (x => a, y => b);\n"
                         "end rtl;\n";
const char* const kTop = "entity top is end;\n"
                         "architecture rtl of top is\n"
                         "  signal a, b : bit;\n"
                         "begin\n"
                         "  u : entity work.mid port map (a, b);\n"
                         "end;\n";

}  // namespace

TEST_F(ParseFile, ASecondDefinitionIsRefusedOnceUnlessTheFileIsUsedAnyway)
{
    ASSERT_TRUE(Parse("a/leaf.vhd", kLeaf).accepted);
    const Parsed refused = Parse("b/leaf.vhd", kOtherLeaf);
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(refused.alreadyDefined, "leaf");
    EXPECT_EQ(refused.takenOver, "");  // refused, it takes nothing over
    // The message and the user's choice of file: design_refresh.tcl.
    ASSERT_EQ(m_messages.WithId("DUPLICATE_MODULE").size(), 1u);
    EXPECT_EQ(Unit("inner"), nullptr);  // the refused file's instances are not recorded
    // The views heard of the parse, without the refused file's units.
    const IeventFileAndModulePostParse* post = nullptr;
    for (const Ievent* event : m_view.Events())
        if (const auto* parsed = dynamic_cast<const IeventFileAndModulePostParse*>(event)) post = parsed;
    ASSERT_NE(post, nullptr);
    EXPECT_TRUE(post->GetModules().empty());

    // The file in the skip list is accepted silently; a unit name in the
    // skip list is refused silently.
    m_messages.Clear();
    std::deque<IfileObject> skipFiles{*Enter(m_folder / "b/leaf.vhd")};
    EXPECT_TRUE(Parse("b/leaf.vhd", nullptr, false, &skipFiles).accepted);
    std::vector<std::string> skipModules{"leaf"};
    const Parsed silent = Parse("b/leaf.vhd", nullptr, false, nullptr, &skipModules);
    EXPECT_FALSE(silent.accepted);
    EXPECT_EQ(silent.alreadyDefined, "leaf");
    EXPECT_TRUE(m_messages.WithId("DUPLICATE_MODULE").empty());

    // Used anyway, the file takes the unit over and its instances count;
    // the parse names the file it took the unit from (add_file makes that
    // file's units leave when the choice was made for another unit).
    const Parsed anyway = Parse("b/leaf.vhd", nullptr, true);
    EXPECT_TRUE(anyway.accepted);
    EXPECT_EQ(anyway.alreadyDefined, "leaf");
    EXPECT_EQ(anyway.takenOver, "a/leaf.vhd");
    // Parsed again, it takes over no file's unit but its own.
    EXPECT_EQ(Parse("b/leaf.vhd", nullptr, true).takenOver, "");
    EXPECT_TRUE(m_messages.WithId("DUPLICATE_MODULE").empty());
    EXPECT_EQ(Tree(), "leaf\n"
                      "  inner ?\n");

    // The command itself answers 1 for the first file, now refused in turn.
    IcmdParseFile command;
    command.SetFile(Enter(m_folder / "a/leaf.vhd"));
    EXPECT_EQ(command.execDo(), AcmdEnum::Failure);
    EXPECT_EQ(command.GetModuleAlreadyDefined(), "leaf");
    EXPECT_EQ(m_messages.WithId("DUPLICATE_MODULE").size(), 1u);
}

TEST_F(ParseFile, AUnitThatSeveralFilesDefineIsRefusedInTheirLibraryOnly)
{
    // The registry of multiply defined units: "leaf" defined by a file of "work".
    const boost::shared_ptr<IfileObjectEx> user = Enter(m_folder.Write("a/leaf.vhd", kLeaf));
    const boost::shared_ptr<IfileObjectEx> other = Enter(m_folder.Write("b/leaf.vhd", kLeaf));
    IfileObjectEx used(*user);
    used.SetErrorFile(ImodelNoError, "leaf");
    ScanFiles().AddOrUpdateFile(used, true);
    IfileObjectEx unused(*other);
    unused.SetErrorFile(ImodelModuleAlreadyDefined, "leaf");
    ScanFiles().AddOrUpdateFile(unused, true);

    // Declared by no other file, the name is still refused, unless the file
    // is used anyway.
    const Parsed marked = Parse("b/leaf.vhd", nullptr);
    EXPECT_FALSE(marked.accepted);
    EXPECT_EQ(marked.alreadyDefined, "leaf");
    const Parsed anyway = Parse("a/leaf.vhd", nullptr, true);
    EXPECT_TRUE(anyway.accepted);
    EXPECT_EQ(anyway.alreadyDefined, "leaf");
    // In another library the name is free.
    const Parsed elsewhere = Parse("d/leaf.vhd", kLeaf, false, nullptr, nullptr, "lib2");
    EXPECT_TRUE(elsewhere.accepted);
    EXPECT_EQ(elsewhere.alreadyDefined, "");
    ASSERT_NE(Unit("leaf", "lib2"), nullptr);
}

TEST_F(ParseFile, APackageFileRecordsItsPackagesAndIsCopiedIntoThePackageFolder)
{
    const char* const text = "library ieee;\n"
                             "use ieee.std_logic_1164.all;\n"
                             "use work.types.all;\n"
                             "package comps is\n"
                             "  component leaf port (x : in bit); end component;\n"
                             "end package;\n";
    ASSERT_TRUE(Parse("src/comps.vhd", text).accepted);
    const boost::shared_ptr<IfileObjectEx> file = Enter(m_folder / "src/comps.vhd");
    const auto [usedFirst, usedLast] = file->GetUsedPackages();
    EXPECT_EQ(Strings(usedFirst, usedLast), Strings{"work.types.all"});
    const auto [definedFirst, definedLast] = file->GetDefinedPackages();
    EXPECT_EQ(Strings(definedFirst, definedLast), Strings{"comps"});
    EXPECT_EQ(m_folder.Read("package/comps.vhd"), text);

    // Each unit concerned (the package and its placeholder) is announced,
    // after the file, also when it is parsed again.
    EXPECT_EQ(m_view.Count("IeventModuleAdded"), 2);
    m_view.Clear();
    ASSERT_TRUE(Parse("src/comps.vhd", nullptr).accepted);
    EXPECT_EQ(m_view.Names().front(), "IeventFilePreParse");
    EXPECT_EQ(m_view.Count("IeventModuleAdded"), 2);
}

TEST_F(ParseFile, APackageFileIsNeverCopiedOntoItself)
{
    const char* const text = "package comps is end package;\n";
    // The copy in the package folder, parsed itself: left as it is.
    const std::string copy = m_folder.Write("package/comps.vhd", text);
    const fs::file_time_type old = fs::last_write_time(copy) - std::chrono::hours(24);
    fs::last_write_time(copy, old);
    ASSERT_TRUE(Parse("package/comps.vhd", nullptr).accepted);
    EXPECT_EQ(fs::last_write_time(copy), old);

    // A file that is the package folder's copy under another path (a hard
    // link): the one file keeps both names.
    fs::create_directories(m_folder / "src");
    fs::create_hard_link(copy, m_folder / "src/comps.vhd");
    ASSERT_TRUE(Parse("src/comps.vhd", nullptr, true).accepted);
    EXPECT_EQ(fs::hard_link_count(copy), 2u);
    EXPECT_EQ(fs::last_write_time(copy), old);
}

TEST_F(ParseFile, TheRootStaysTheRootWhenItsFileIsParsedAgain)
{
    ASSERT_TRUE(Parse("top.vhd", kTop).accepted);
    ImodelModule* top = Unit("top");
    ScanDesign().SetRootId(top->GetComponentID());
    top->SetIsRoot(true);
    ASSERT_TRUE(Parse("top.vhd", nullptr).accepted);
    ImodelModule* again = ScanDesign().GetRootModule();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again, Unit("top"));
    EXPECT_TRUE(again->IsRoot());
    EXPECT_EQ(ScanDesign().GetRootId(), VyIfaces::ComponentID("top", "work", ""));

    // A file that no longer defines the root leaves the design without one.
    m_folder.Write("top.vhd", "entity top2 is end;\n");
    ASSERT_TRUE(Parse("top.vhd", nullptr).accepted);
    EXPECT_EQ(ScanDesign().GetRootModule(), nullptr);
}

TEST_F(ParseFile, AFileThatCannotBeParsedKeepsItsUnits)
{
    ASSERT_TRUE(Parse("leaf.vhd", kLeaf).accepted);
    // A library without its list of top-level units refuses the parse
    // before the file's units go.
    const auto work = ScanDesign().FindLibraryByName("work");
    const std::unique_ptr<std::deque<ImodelModule*>> tops = work->ReleaseModuleList();
    m_view.Clear();
    EXPECT_FALSE(Parse("leaf.vhd", nullptr).accepted);
    work->SetModuleList(std::make_unique<std::deque<ImodelModule*>>());
    EXPECT_EQ(FileOf("leaf"), "leaf.vhd");
    EXPECT_EQ(m_view.Count("IeventFilePreParse"), 0);

    // So does a file of a kind without scanner.
    const boost::shared_ptr<IfileObjectEx> notes =
        Enter(m_folder.Write("netlist.edn", "entity x is end;\n"), "work", zorpaFT_SYN_EDN);
    EXPECT_FALSE(IcmdDoParseFile(notes, false, true, nullptr, nullptr, nullptr, false, nullptr, nullptr));
    EXPECT_EQ(Unit("x"), nullptr);
    EXPECT_EQ(m_view.Count("IeventFilePreParse"), 0);
}

TEST_F(ParseFile, ThreeFilesGiveOneTreeInEveryOrderAndKeepItWhenParsedAgain)
{
    // The package declaring leaf's component stands in mid's file, or in leaf's.
    for (const bool packageWithLeaf : {false, true}) {
        const std::string leaf = packageWithLeaf ? std::string(kPackage) + kLeaf : kLeaf;
        const std::string mid = packageWithLeaf ? kMid : std::string(kPackage) + kMid;
        const std::array<std::pair<std::string, std::string>, 3> files = {
            {{"leaf.vhd", leaf}, {"mid.vhd", mid}, {"top.vhd", kTop}}};
        const std::string tree = "comps (package)\n"
                                 "  leaf\n"
                                 "top\n"
                                 "  mid\n"
                                 "    leaf\n";
        std::array<int, 3> order = {0, 1, 2};
        do {
            Clear();
            std::string sequence = packageWithLeaf ? "package in leaf.vhd: " : "package in mid.vhd: ";
            for (int index : order) {
                sequence += files[index].first + " ";
                EXPECT_TRUE(Parse(files[index].first, files[index].second.c_str()).accepted) << sequence;
            }
            EXPECT_EQ(Tree(), tree) << sequence;
            EXPECT_EQ(Placeholders(), 0) << sequence;
            for (const auto& [name, text] : files) {
                EXPECT_TRUE(Parse(name, nullptr).accepted) << sequence << "again " << name;
                EXPECT_EQ(Tree(), tree) << sequence << "again " << name;
                EXPECT_EQ(Placeholders(), 0) << sequence << "again " << name;
            }
        } while (std::next_permutation(order.begin(), order.end()));
    }
}
