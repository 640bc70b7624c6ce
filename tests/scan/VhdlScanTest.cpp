// VHDL files scanned into the design's libraries: units, placeholders, use
// clauses, architectures, duplicates and the structural flag.
#include "DebugCapture.h"
#include "ScanDesignSupport.h"

#include <ndb/NdbWorld.h>

#include <cctype>
#include <random>
#include <string>
#include <utility>

namespace {

class VhdlScan : public ScanDesignFixture {
protected:
    Result Vhdl(const std::string& title, const std::string& text, const std::string& library = "work",
                bool useAnyway = false, const std::deque<std::string>& marked = {})
    {
        return Scan(title, text, zorpaMODULE_VHDL, library, useAnyway, marked);
    }
};

using Strings = std::vector<std::string>;

const char* const kLeaf = "entity leaf is port (x : in bit; y : out bit); end entity;\n"
                          "architecture rtl of leaf is begin y <= x; end architecture;\n";

// The name with each letter upper-cased or not at random.
std::string RandomCase(std::mt19937& random, std::string name)
{
    for (char& c : name)
        if (random() % 2) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

TEST_F(VhdlScan, AnArchitectureRecordsItsInstancesOnTheEntityItNames)
{
    // Two entities, then the architecture of the first: the instance is the
    // first entity's, not that of the entity declared last.
    Vhdl("ab.vhd", "entity a is end;\n"
                   "entity b is end;\n"
                   "architecture rtl of a is begin u : leaf port map (x); end;\n"
                   "architecture rtl of b is begin end;\n");
    EXPECT_EQ(Tree(), "a\n"
                      "  leaf ?\n"
                      "b\n");

    // An architecture in a file of its own, scanned before its entity: the
    // entity stands as a placeholder that its declaration takes over.
    Clear();
    const Result body =
        Vhdl("top_rtl.vhd", "architecture rtl of top is begin u : entity work.mid port map (a); end;\n");
    EXPECT_EQ(body.found, (Strings{"mid", "top"}));
    EXPECT_EQ(Tree(), "top ?\n"
                      "  mid ?\n");
    Vhdl("top.vhd", "entity top is end;\n");
    Vhdl("mid.vhd", "entity mid is end;\n");
    EXPECT_EQ(Tree(), "top\n"
                      "  mid\n");
    EXPECT_EQ(Placeholders(), 0);
}

TEST_F(VhdlScan, ASecondDeclarationInTheLibraryIsReportedAndTheFirstFileKeepsTheUnit)
{
    Vhdl("leaf.vhd", kLeaf);
    ImodelModule* leaf = Unit("leaf");
    ASSERT_NE(leaf, nullptr);
    const Result second = Vhdl("leaf2.vhd", "use work.other.all;\nentity LEAF is end;\n"
                                            "architecture rtl of leaf is begin u : other port map (a); end;\n");
    EXPECT_EQ(second.alreadyDefined, "LEAF");
    EXPECT_EQ(leaf->GetPossibleLibraries(), std::deque<std::string>{"work"});  // nor its use clauses

    // (Used anyway, the file takes the unit: see the parse command's tests.)
    // A marked name is reported even when no other file defines it yet.
    Clear();
    EXPECT_EQ(Vhdl("x.vhd", "entity x is end;", "work", false, {"y", "x"}).alreadyDefined, "x");
    EXPECT_EQ(Vhdl("z.vhd", "entity z is end;", "work", false, {"Z"}).alreadyDefined, "");
}

TEST_F(VhdlScan, ComponentsOfAPackageAndUseClauses)
{
    const Result result = Vhdl("p.vhd", "library ieee, mylib;\n"
                                        "use ieee.std_logic_1164.all;\n"
                                        "use IEEE.numeric_std.all;\n"
                                        "use mylib.types.all;\n"
                                        "use work.pkg.comp;\n"
                                        "use mylib.types.all;\n"
                                        "package pkg is\n"
                                        "  component comp is generic (n : integer := 1); port (a : in bit);\n"
                                        "  end component comp;\n"
                                        "  component other port (a : in bit); end component;\n"
                                        "end package pkg;\n"
                                        "package body pkg is end package body;\n");
    ImodelModule* pkg = Unit("pkg");
    ASSERT_NE(pkg, nullptr);
    EXPECT_TRUE(pkg->IsPackage());
    EXPECT_EQ(pkg->GetPossibleLibraries(),
              (std::deque<std::string>{"IEEE.numeric_std.all", "work.pkg.comp", "mylib.types.all", "work"}));
    EXPECT_EQ(Tree(), "pkg (package)\n"
                      "  comp ?\n"
                      "  other ?\n");
    EXPECT_EQ(result.found, (Strings{"comp", "other", "pkg"}));
}

TEST_F(VhdlScan, ADeclarationInAnotherLibraryTakesOverThePlaceholdersItsParentsMaySee)
{
    Vhdl("top.vhd", "library mylib; use mylib.all;\n"
                    "entity top is end; architecture a of top is begin u : alu port map (x); end;\n");
    Vhdl("blind.vhd", "entity blind is end; architecture a of blind is begin u : alu port map (x); end;\n");
    ASSERT_NE(Unit("alu"), nullptr);
    Vhdl("alu.vhd", "entity alu is end;", "mylib");
    // top sees mylib through its use clause and takes the new unit; blind
    // keeps the placeholder.
    EXPECT_EQ(Tree(), "blind\n"
                      "  alu ?\n"
                      "top\n"
                      "  alu\n");
    EXPECT_EQ(Unit("top")->GetSubBlocks()->front(), Unit("alu", "mylib"));

    // Once every parent may see it, the placeholder goes.
    Clear();
    Vhdl("top.vhd", "library mylib; use mylib.all;\n"
                    "entity top is end; architecture a of top is begin u : alu port map (x); end;\n");
    Vhdl("alu.vhd", "entity alu is end;", "mylib");
    EXPECT_EQ(Unit("alu"), nullptr);
    EXPECT_EQ(Placeholders(), 0);
    EXPECT_EQ(Tree(), "top\n"
                      "  alu\n");
}

TEST_F(VhdlScan, AnEntityInstantiatedWithItsLibraryIsThatLibrarysUnitInEitherFileOrder)
{
    // "entity mylib.alu" needs no use clause: the library is named. Scanned
    // after the library's unit, and before it: the placeholder made then
    // goes over to the unit once it is declared.
    const std::string top = "library mylib;\n"
                            "entity top is end;\n"
                            "architecture a of top is begin\n"
                            "  u1 : entity mylib.alu(rtl) port map (x);\n"
                            "  u2 : entity work.mid port map (x);\n"
                            "end;\n";
    for (const bool libraryFirst : {true, false}) {
        Clear();
        if (libraryFirst) Vhdl("alu.vhd", "entity alu is end;", "mylib");
        Vhdl("top.vhd", top);
        Vhdl("mid.vhd", "entity mid is end;\n");
        if (!libraryFirst) Vhdl("alu.vhd", "entity alu is end;", "mylib");
        ASSERT_NE(Unit("alu", "mylib"), nullptr);
        const ImodelLinkList* subs = Unit("top")->GetSubBlocks();
        ASSERT_NE(subs, nullptr) << libraryFirst;
        EXPECT_TRUE(subs->Contains(Unit("alu", "mylib"))) << libraryFirst;
        EXPECT_TRUE(subs->Contains(Unit("mid"))) << libraryFirst;
        EXPECT_EQ(subs->size(), 2u) << libraryFirst;
        EXPECT_EQ(Placeholders(), 0) << libraryFirst;
    }

    // A unit naming thousands of the library's units sees the library once:
    // its list of possible libraries, asked for every placeholder of its
    // that a declaration may take over, stays short.
    Clear();
    std::string many = "entity top is end;\narchitecture a of top is begin\n";
    for (int i = 0; i < 3000; ++i)
        many += "u" + std::to_string(i) + " : entity MyLib.c" + std::to_string(i) + " port map (x);\n";
    Vhdl("many.vhd", many + "end;\n");
    EXPECT_EQ(Unit("top")->GetPossibleLibraries(), (std::deque<std::string>{"work", "MyLib.all"}));
    std::string declared;
    for (int i = 0; i < 3000; ++i) declared += "entity c" + std::to_string(i) + " is end;\n";
    Vhdl("mylib.vhd", declared, "mylib");
    EXPECT_EQ(Placeholders(), 0);
    EXPECT_EQ(Unit("top")->GetSubBlocks()->size(), 3000u);

    // "work" and the file's own library are the file's library: no other
    // library is asked, and the unit's possible libraries stay as declared.
    Clear();
    Vhdl("alu.vhd", "entity alu is end;", "mylib");
    Vhdl("own.vhd",
         "entity own is end;\narchitecture a of own is begin\n"
         "  u1 : entity work.alu port map (x);\n  u2 : entity MyLib.leaf port map (x);\nend;\n",
         "mylib");
    EXPECT_EQ(Tree("mylib"), "own\n"
                             "  alu\n"
                             "  leaf ?\n");
    EXPECT_EQ(Unit("own", "mylib")->GetPossibleLibraries(), std::deque<std::string>{"mylib"});
}

TEST_F(VhdlScan, TheInstancesOfEveryAlternativeOfACaseGenerateAreFound)
{
    const Result result = Vhdl("gen.vhd", "entity top is generic (sel : integer := 0); end;\n"
                                          "architecture rtl of top is\n"
                                          "begin\n"
                                          "  g : case sel generate\n"
                                          "    when 0 =>\n"
                                          "      u0 : entity work.m0 port map (a => a);\n"
                                          "    when alt1 : 1 | 2 =>u1 : m1 port map (a => a);\n"
                                          "    when 3=> -- a comment with =>\n"
                                          "      u3 : m3 port map (a => a);\n"
                                          "    when others =>\n"
                                          "      u4 : m4 port map (a => a);\n"
                                          "  end generate;\n"
                                          "  p : process (sel) begin\n"
                                          "    case sel is when 0 => null; when others => null; end case;\n"
                                          "  end process;\n"
                                          "  u5 : m5 port map (a => a);\n"
                                          "end;\n");
    EXPECT_EQ(Tree(), "top\n"
                      "  m0 ?\n"
                      "  m1 ?\n"
                      "  m3 ?\n"
                      "  m4 ?\n"
                      "  m5 ?\n");
    EXPECT_FALSE(result.structural);

    // A "when" whose statement ends before any arrow, and a case alternative
    // that instantiates nothing, take nothing from the statements after them.
    Clear();
    Vhdl("odd.vhd", "entity top is end;\narchitecture rtl of top is begin\n"
                    "  when x;\n  u1 : m1 port map (a => a);\n"
                    "  when '>' | \"=>\" => u2 : m2 port map (a => a);\n"
                    "end;\n");
    EXPECT_EQ(Tree(), "top\n"
                      "  m1 ?\n"
                      "  m2 ?\n");
}

TEST_F(VhdlScan, CommentsAndCellsOfTheMakersLibraryDeclareNothing)
{
    EXPECT_EQ(Vhdl("c.vhd", "-- entity hidden is\nentity \\odd name\\ is end;\n").found, (Strings{"\\odd name\\"}));

    Clear();
    const std::string cells = m_folder.Write("cells.v", "module AND2(input A, B, output O); endmodule\n");
    DefSetFL("VERILOGLIB", cells.c_str());
    DebugCapture debug;
    const Result result = Vhdl("m.vhd", "entity and2 is end;\n"
                                        "entity user is end; architecture a of user is begin\n"
                                        "  g : And2 port map (a, b, o);\n"
                                        "end;\n");
    EXPECT_TRUE(debug.Holds("ERROR: and2 is already defined in the Brennic library.\n"));
    EXPECT_EQ(result.found, (Strings{"user"}));
    EXPECT_EQ(Tree(), "user\n");
}

TEST_F(VhdlScan, OnlyInstantiationsKeepAFileStructural)
{
    const std::string head = "entity s is end; architecture a of s is signal x, y : bit;\n"
                             "constant w : integer := 8 - 1;\nbegin\n"
                             "  u : leaf port map (x => x, y => y);\n";
    EXPECT_TRUE(Vhdl("s1.vhd", head + "end;\n").structural);
    EXPECT_TRUE(Vhdl("s2.vhd", head + "  x <= -1;\n  y <= x;\nend;\n").structural);
    EXPECT_FALSE(Vhdl("s3.vhd", head + "  x <= y - 1;\nend;\n").structural);
    EXPECT_FALSE(Vhdl("s4.vhd", head + "  p : process (x) begin y <= x; end process;\nend;\n").structural);
    EXPECT_FALSE(Vhdl("s5.vhd", head + "  process begin wait; end process;\nend;\n").structural);
    EXPECT_TRUE(Vhdl("empty.vhd", "").structural);
    EXPECT_TRUE(Vhdl("empty.vhd", "").found.empty());
}

TEST_F(VhdlScan, AFileThatCannotBeReadIsReportedAndLeavesNothingBehind)
{
    const int worlds = NdbGetWorldCount();
    testing::internal::CaptureStdout();
    const Result result = ScanPath(m_folder / "missing.vhd", zorpaMODULE_VHDL);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to open file!\n");
    EXPECT_FALSE(result.parsed);
    EXPECT_TRUE(result.found.empty());
    EXPECT_EQ(NdbGetWorldCount(), worlds);  // the scan's own netlist world is gone too
}

TEST_F(VhdlScan, BitStringLiteralsWithDontCareDigitsHideNoInstanceAfterThem)
{
    // A decoder of a system-on-chip top: each case compares with a literal
    // of don't-care digits, and every sub-block comes after the first one.
    std::mt19937 random(30);
    const std::vector<std::string> bases = {"x", "X", "b", "B", "o", "ux", "UB", "sx", "SO", "12x", "8UB", "d"};
    std::string text = "library ieee; use ieee.numeric_std_unsigned.all;\n"
                       "entity soc is port (m : in bit_vector(15 downto 0)); end;\n"
                       "architecture rtl of soc is\nbegin\n";
    Strings expected{"soc"};
    for (int block = 0; block < 12; ++block) {
        std::string digits;
        for (int i = 0; i < 4; ++i) digits += random() % 2 ? '-' : 'F';
        const std::string literal = bases[random() % bases.size()] + "\"" + digits + "\"";
        text += "  sel" + std::to_string(block) + " <= '1' when std_match(m, " + literal + ") else '0';\n";
        text += "  u" + std::to_string(block) + " : entity work.block" + std::to_string(block) + " port map (a => sel" +
                std::to_string(block) + ");\n";
        expected.push_back("block" + std::to_string(block));
    }
    const Result result = Vhdl("soc.vhd", text + "end;\n");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(result.found, expected);
    ASSERT_NE(Unit("soc"), nullptr);
    ASSERT_NE(Unit("soc")->GetSubBlocks(), nullptr);
    EXPECT_EQ(Unit("soc")->GetSubBlocks()->size(), 12u);
    EXPECT_FALSE(result.structural);  // the selections are behaviour

    // The plain forms the scanner always read keep their meaning.
    Clear();
    EXPECT_EQ(Vhdl("plain.vhd", "entity top is end; architecture a of top is begin\n"
                                "  y <= \"1111----\"; z <= x\"FF\";\n"
                                "  u : entity work.leaf port map (a => y);\nend;\n")
                  .found,
              (Strings{"leaf", "top"}));
}

TEST_F(VhdlScan, RandomDesignsInAnyFileOrderAndLetterCaseLinkEachUnitOnceBothWays)
{
    // Random acyclic designs, one unit a file, each instantiating earlier
    // units under names in random letter case, several times over, by
    // entity and by component: whatever order the files come in (so that
    // units are entered as placeholders with parents before their
    // declaration), every unit lists each unit it names exactly once, and
    // each of those lists it as a parent.
    std::mt19937 random(29);
    const auto randomCase = [&random](std::string name) { return RandomCase(random, std::move(name)); };
    for (int round = 0; round < 12; ++round) {
        Clear();
        const int count = 4 + static_cast<int>(random() % 10);
        std::vector<std::set<int>> named(static_cast<std::size_t>(count));
        std::vector<std::string> texts;
        for (int unit = 0; unit < count; ++unit) {
            const std::string name = "blk" + std::to_string(unit);
            std::string text = "entity " + randomCase(name) + " is port (a : in bit); end entity;\n" +
                               "architecture rtl of " + randomCase(name) + " is\nbegin\n";
            const int instances = unit == 0 ? 0 : static_cast<int>(random() % 6);
            for (int i = 0; i < instances; ++i) {
                const int sub = static_cast<int>(random() % static_cast<unsigned>(unit));
                named[static_cast<std::size_t>(unit)].insert(sub);
                const std::string subName = randomCase("blk" + std::to_string(sub));
                text += "  u" + std::to_string(i) + " : " + (random() % 2 ? "entity work." + subName : subName) +
                        " port map (a => a);\n";
            }
            texts.push_back(text + "end architecture;\n");
        }
        std::vector<int> order(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), random);
        for (int unit : order) Vhdl("blk" + std::to_string(unit) + ".vhd", texts[static_cast<std::size_t>(unit)]);

        EXPECT_EQ(Placeholders(), 0) << "round " << round;
        for (int unit = 0; unit < count; ++unit) {
            const ImodelModule* parent = Unit("blk" + std::to_string(unit));
            ASSERT_NE(parent, nullptr) << "round " << round << " unit " << unit;
            std::multiset<int> subs;
            if (const auto* list = parent->GetSubBlocks())
                for (const ImodelModule* sub : *list) {
                    subs.insert(std::stoi(sub->GetName().substr(3)));
                    const auto* parents = sub->GetParentsList();
                    ASSERT_NE(parents, nullptr);
                    EXPECT_NE(std::find(parents->begin(), parents->end(), parent), parents->end());
                }
            const auto& expected = named[static_cast<std::size_t>(unit)];
            EXPECT_EQ(subs, std::multiset<int>(expected.begin(), expected.end()))
                << "round " << round << " unit " << unit;
        }
    }
}

TEST_F(VhdlScan, EveryUnitAFileDeclaresOrNamesIsFoundOnceHoweverManyItHolds)
{
    // Files of one to sixty entities, each architecture naming units of the
    // file and units of nowhere in random letter case, some several times:
    // the units found are the names declared or instantiated, each once,
    // against a plain set of the names lower-cased.
    std::mt19937 random(71);
    const auto randomCase = [&random](std::string name) { return RandomCase(random, std::move(name)); };
    for (int round = 0; round < 16; ++round) {
        Clear();
        const int count = 1 + static_cast<int>(random() % 60);
        std::set<std::string> expected;
        std::string text;
        for (int unit = 0; unit < count; ++unit) {
            const std::string name = "e" + std::to_string(unit);
            expected.insert(name);
            text += "entity " + randomCase(name) + " is end entity;\narchitecture a of " + randomCase(name) +
                    " is\nbegin\n";
            // Names of later units (declared further down) or of no unit.
            for (int i = static_cast<int>(random() % 4); i > 0; --i) {
                const std::string sub = random() % 3 == 0 ? "nowhere" + std::to_string(random() % 30)
                                                          : "e" + std::to_string(unit + 1 + random() % 40);
                expected.insert(sub);
                text += "  u" + std::to_string(i) + " : entity work." + randomCase(sub) + " port map (a => a);\n";
            }
            text += "end architecture;\n";
        }
        const Result result = Vhdl("many.vhd", text);
        std::vector<std::string> found;
        for (const std::string& name : result.found) {
            std::string lowered = name;
            for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            found.push_back(lowered);
        }
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, Strings(expected.begin(), expected.end())) << "round " << round;
        EXPECT_TRUE(result.foundInUnitOrder) << "round " << round;
    }
}

TEST_F(VhdlScan, AScannerUsedAgainStartsEachParseAfreshAndLeavesAHeldResultAsItWas)
{
    const std::string first = m_folder.Write("first.vhd", "use work.pkg.all;\n"
                                                          "package pkg is end package;\n"
                                                          "entity one is end;\narchitecture a of one is begin\n"
                                                          "  u : entity work.two port map (a => a);\nend;\n");
    const std::string second = m_folder.Write("second.vhd", "entity three is end;\n");
    const boost::shared_ptr<IfileObjectEx> file = Enter(first);
    ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
    zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
    create.Visit(zorpaMODULE_VHDL);
    ZorpaParser<ImodelModule*>& parser = *create.GetParser();
    // Asked before any parse: nothing found, an empty set of the scanner's own.
    EXPECT_TRUE(parser.GetFoundModules()->empty());
    EXPECT_TRUE(parser.GetLibraryModules()->empty());
    parser.SetLibraries(ScanDesign().GetLibraries());
    ASSERT_TRUE(parser.parse(first, "work", nullptr, false));
    EXPECT_EQ(parser.GetUseClauses(), (std::deque<std::string>{"work.pkg.all"}));
    EXPECT_EQ(parser.GetPackageNames(), (std::deque<std::string>{"pkg"}));
    EXPECT_EQ(parser.GetLibraryModules(), ScanDesign().FindLibraryByName("work")->GetModules());
    const ZorpaParser<ImodelModule*>::ModuleSetPtr held = parser.GetFoundModules();
    const std::vector<ImodelModule*> heldUnits(held->begin(), held->end());
    EXPECT_EQ(heldUnits.size(), 3u);

    ASSERT_TRUE(parser.parse(second, "work", nullptr, false));
    EXPECT_TRUE(parser.GetUseClauses().empty());
    EXPECT_TRUE(parser.GetPackageNames().empty());
    EXPECT_EQ(std::vector<ImodelModule*>(held->begin(), held->end()), heldUnits);
    ASSERT_EQ(parser.GetFoundModules()->size(), 1u);
    EXPECT_EQ((*parser.GetFoundModules()->begin())->GetName(), "three");

    // A library the design does not hold: a fresh set, found empty again.
    ASSERT_TRUE(parser.parse(second, "elsewhere", nullptr, false));
    EXPECT_NE(parser.GetLibraryModules(), ScanDesign().FindLibraryByName("work")->GetModules());
    EXPECT_EQ(parser.GetLibraryModules()->size(), 1u);
}

// A scanner is made for every file and dropped after it, and the next one
// may take its place in memory: each starts with nothing of the one before,
// and two alive at once are two.
TEST_F(VhdlScan, ScannersMadeInTurnOrSideBySideStartClean)
{
    for (int round = 0; round < 3; ++round) {
        const std::string name = "unit" + std::to_string(round);
        const Result vhdl = Vhdl(name + ".vhd", "entity " + name + " is end;\n");
        EXPECT_EQ(vhdl.found, Strings{name});
        const Result verilog = Scan(name + "_v.v", "module " + name + "_v; endmodule\n", zorpaMODULE_VERILOG);
        EXPECT_EQ(verilog.found, Strings{name + "_v"});
    }
    const boost::shared_ptr<IfileObjectEx> file = Enter(m_folder.Write("side.vhd", "entity side is end;\n"));
    ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
    zorpaCreateParser<ImodelModule*> first(&prototype, nullptr);
    zorpaCreateParser<ImodelModule*> second(&prototype, nullptr);
    first.Visit(zorpaMODULE_VHDL);
    second.Visit(zorpaMODULE_VHDL);
    ASSERT_TRUE(first.GetParser() && second.GetParser());
    EXPECT_NE(first.GetParser().get(), second.GetParser().get());
}

TEST_F(VhdlScan, BlockCommentsHideWhatTheyHold)
{
    // Each source: the design it gives. Text inside "/* */" is no code,
    // across lines or within one, closed or left open to the end of the
    // file; "/*" in a string or a line comment opens nothing.
    const std::string top = "architecture rtl of top is begin u : leaf port map (a); end;\n";
    const std::pair<std::string, std::string> cases[] = {
        {"entity top is end;\n" + top + "/*\narchitecture old of top is begin\n  v : ghost port map (a);\nend;\n*/\n",
         "top\n  leaf ?\n"},
        {"/* the chip's top */ entity TOP is end;\n" + top, "TOP\n  leaf ?\n"},
        {"entity top is end;\narchitecture rtl of top is begin\n  u : leaf port map (a /* , b); */);\n"
         "  /* w : ghost port map (a); */ v : mid port map (a);\nend;\n",
         "top\n  leaf ?\n  mid ?\n"},
        {"entity top is end;\n" + top + "/* never closed\nentity other is end;\n", "top\n  leaf ?\n"},
        {"entity top is end;\narchitecture rtl of top is\n  constant s : string := \"/*\";\nbegin\n"
         "  -- /* not opened here\n  u : leaf port map (a);\nend;\n",
         "top\n  leaf ?\n"},
        // A comment ends at its first "*/"; "--" inside it opens nothing.
        {"entity top is end;\narchitecture rtl of top is begin\n  /* -- */ u : leaf port map (a);\n"
         "  /*/ v : ghost port map (a); */ x <= a/*c*/;\nend;\n",
         "top\n  leaf ?\n"},
    };
    for (const auto& [text, tree] : cases) {
        Clear();
        Vhdl("block.vhd", text);
        EXPECT_EQ(Tree(), tree) << text;
    }
    // A division stays an operator.
    Clear();
    EXPECT_FALSE(Vhdl("div.vhd", "entity e is end;\narchitecture r of e is begin x <= a / b; end;\n").structural);
}
