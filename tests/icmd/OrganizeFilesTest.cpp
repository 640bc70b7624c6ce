// The organize commands seen from inside, where the scenarios cannot look:
// the flow's tool states after each command and the need-save flag; the
// lists the model holds after a save and an open; random requests merged
// against a list worked out in the test; random named files, in every
// spelling, refused as a match against the whole allowed list refuses
// them; in-process callers that leave out
// the module or name a tool without constraint lists; an optional
// constraint file the user took out of the place-and-route list; and what
// the host's dialog reads.
#include "IcmdTestSupport.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/organize/IcmdOrganizeCDBs.h"
#include "icmd/organize/IcmdOrganizeFilesVisitor.h"
#include "icmd/organize/IcmdTestOrganizedFiles.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelFlowOptions.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolFunctions.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolWithConstraints.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = std::vector<Entry>;
using Names = std::vector<std::string>;

class OrganizeFilesTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        // Pin and timing constraints are constraint kinds of the family;
        // timing constraints go to synthesis, both to place and route and
        // physical synthesis.
        for (const auto& [name, value] : {std::pair{"IMPORT_CONSTRAINT_FILES", "PDC SDC"},
                                          {"PDC_DISP_NAME", "Pin"},
                                          {"PDC_EXTN", "pdc"},
                                          {"SDC_DISP_NAME", "Timing"},
                                          {"SDC_EXTN", "sdc"},
                                          {"SYNTHESIS_CONSTRAINTS_LIST", "sdc"},
                                          {"PALLADOR_IMPORT_CONSTRAINT_FILES", "pdc sdc"},
                                          {"PHYSYNTH_CONSTRAINTS_LIST", "pdc sdc"},
                                          {"IDE_ORGANIZE_SOURCES_ENABLED", "1"}})
            DefSetFL(name, value, __FILE__, __LINE__);
        ASSERT_TRUE(NewAluProject());
        for (const auto& [name, text] : {std::pair{"top.vhd", kTop}, {"mid.vhd", kMid}, {"leaf.vhd", kLeaf}})
            AddHdl(name, text);
        ASSERT_TRUE(IcmdDoSetRoot(false, Unit("top")->GetComponentID()));
        top = Unit("top");
        Design().SetNeedSave(false);
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    static ImodelModule* Unit(const std::string& name)
    {
        const ImodelDesignManager::LibraryPtr work = Design().FindLibraryByName("work");
        return work ? ImodelFindModuleInLib(work, name, zorpaMODULE_UNKNOWN, "") : nullptr;
    }
    Entry AddHdl(const std::string& name, const char* text)
    {
        const std::string path = m_folder.Write("alu/hdl/" + name, text);
        return IcmdDoAddFileToModel(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), true,
                                    true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    }
    // A file of the project that no command parses, written first.
    Entry AddFile(const std::string& name, zorpaFileManagerTypes type, const std::string& text = std::string())
    {
        const std::string path = m_folder.Write("alu/" + name, text.empty() ? "-- " + name + "\n" : text);
        return Files().AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true), false), false);
    }
    // The file a flow step makes for top in the current view.
    Entry AddDefault(zorpaFileManagerTypes type, const std::string& text)
    {
        IprocessFileObject* node =
            Imodel::GetInstance().GetProcessManager()->GetFlowForModule(top)->GetFileObject(type);
        const std::optional<IfileObject> value = node->CreateDefaultIfileObject(top, View());
        if (!value) return Entry();
        ImodelFileName relative;
        value->GetRelativeFileName(relative);
        return AddFile(relative.GetString(), type, text);
    }
    Entry Member(const std::string& name) const
    {
        return Files().GetFile(
            IfileObject(ImodelFileName(m_folder / ("alu/" + name)), zorpaFT_UNKNOWN, ImodelFMFull, true, true));
    }
    Entries Members(std::initializer_list<const char*> names) const
    {
        Entries files;
        for (const char* name : names) files.push_back(Member(name));
        return files;
    }
    static Names TitlesOf(const Entries& files)
    {
        Names titles;
        for (const Entry& file : files) titles.push_back(file ? file->GetFileTitleAndExt() : "(none)");
        return titles;
    }

    // Each command runs as the host runs it; true when it succeeded.
    template <class Command>
    static bool Run(std::unique_ptr<Command> command)
    {
        return IcmdDoCommand(std::move(command), false);
    }
    static std::unique_ptr<IcmdOrganizeSources> Sources(ImodelFunctionType tool, ImodelModule* module,
                                                        const Entries& files, bool useDefault,
                                                        IcmdOrganizeFilesBase::ModifyMode mode)
    {
        auto command = std::make_unique<IcmdOrganizeSources>(false);
        command->SetParams(tool, module);
        command->SetFilesParam(files);
        command->SetUseDefaultParam(useDefault);
        command->SetMode(mode);
        return command;
    }
    // The ways a command line may name the project file `name` (relative
    // to the project): relative, absolute, "<project>", in other letter case.
    void AddSpellings(Names& spellings, const std::string& name) const
    {
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        spellings.insert(spellings.end(), {name, m_folder / ("alu/" + name), "<project>/" + name, upper,
                                           "<project>/" + upper, m_folder / ("alu/" + upper)});
    }
    // The check as it was: each named file, unless told before, is matched
    // by key against every allowed file. The refusals, and whether nothing
    // was allowed.
    static std::pair<Names, bool> ExpectedRefusals(IcmdOrganizeFilesBase& command, const Entries& named)
    {
        Entries allowed;
        command.GetAllowedFileList(allowed);
        Names told;
        Names refused;
        for (const Entry& file : named) {
            const std::string key = ImodelFileNameKey(file->GetInternalFileName());
            const auto sameKey = [&key](const Entry& other) {
                return ImodelFileNameKey(other->GetInternalFileName()) == key;
            };
            if (std::any_of(allowed.begin(), allowed.end(), sameKey) ||
                std::find(told.begin(), told.end(), key) != told.end())
                continue;
            told.push_back(key);
            refused.push_back(std::string(Files().ContainsFile(*file) ? "INVALID " : "NOT_FOUND ") +
                              file->GetFileTitleAndExt());
        }
        return {refused, allowed.empty()};
    }
    // One to four of the spellings, made entries as a command line makes
    // them; now and then one named again, by the same entry (`sameEntry`)
    // or by one made apart.
    static Entries DrawNamed(std::mt19937& random, const Names& spellings, bool sameEntry)
    {
        std::uniform_int_distribution<std::size_t> pick(0, spellings.size() - 1);
        Entries named;
        for (int i = std::uniform_int_distribution<int>(1, 4)(random); i > 0; --i) {
            const Entry file =
                IcmdGetFileObjectFromTCLArgValue(spellings[pick(random)], std::string(), zorpaFT_UNKNOWN, true, false);
            if (!file) return {};
            named.push_back(file);
            if (sameEntry && random() % 5 == 0) named.push_back(file);
            if (random() % 5 == 0) named.push_back(boost::make_shared<IfileObjectEx>(*file));
        }
        return named;
    }
    // Runs the command as the check against the whole allowed list would
    // have it run: only when no named file is refused, each refusal told,
    // the files that can be named told after each project file refused when
    // some can, and a refused
    // request leaving the list (`current()`) as it was.
    template <class Current>
    void RunAsTheWholeListRefuses(std::unique_ptr<IcmdOrganizeFilesBase> command, const Entries& named, Current current,
                                  int round)
    {
        const auto [refused, noneAllowed] = ExpectedRefusals(*command, named);
        const Names before = current();
        messages.Clear();
        const bool ran = Run(std::move(command));
        ASSERT_EQ(ran, refused.empty()) << round;
        EXPECT_EQ(RefusalsTold(), refused) << round;
        // The files that can be named follow each project file refused.
        const auto invalid =
            static_cast<std::size_t>(std::count_if(refused.begin(), refused.end(), [](const std::string& refusal) {
                return refusal.starts_with("INVALID ");
            }));
        EXPECT_EQ(messages.WithId("ASSOCIATE_FILES_LIST").size(), noneAllowed ? 0u : invalid) << round;
        if (!ran) {
            EXPECT_EQ(current(), before) << round;
        }
    }
    // The refusals the command told, as ExpectedRefusals gives them.
    Names RefusalsTold()
    {
        Names told;
        for (const MdbMessage& message : messages.Messages()) {
            if (message.id != "ASSOCIATE_INVALID_FILE" && message.id != "ASSOCIATE_FILES_NOT_FOUND") continue;
            const std::size_t open = message.text.find('\'');
            const std::size_t close = message.text.find('\'', open + 1);
            told.push_back(std::string(message.id == "ASSOCIATE_INVALID_FILE" ? "INVALID " : "NOT_FOUND ") +
                           message.text.substr(open + 1, close - open - 1));
        }
        return told;
    }
    std::unique_ptr<IcmdOrganizeConstraints> Constraints(ImodelFunctionType tool, const Entries& files,
                                                         IcmdOrganizeFilesBase::ModifyMode mode) const
    {
        auto command = std::make_unique<IcmdOrganizeConstraints>(false);
        command->SetParams(tool, top, View());
        command->SetFilesParam(files);
        command->SetMode(mode);
        return command;
    }
    std::unique_ptr<IcmdOrganizeStimulus> Stimulus(const Entries& files, IcmdOrganizeFilesBase::ModifyMode mode) const
    {
        auto command = std::make_unique<IcmdOrganizeStimulus>(false);
        command->SetParams(top);
        command->SetFilesParam(files);
        command->SetMode(mode);
        return command;
    }
    // The list a command organizes, as its self-test reads it.
    template <class Command>
    static Names ListOf(Command& command)
    {
        Entries files;
        command.GetCurrentFileList(files, true);
        return TitlesOf(files);
    }
    Names ConstraintList(ImodelFunctionType tool) const
    {
        IcmdOrganizeConstraints command(false);
        command.SetParams(tool, top, View());
        return ListOf(command);
    }

    ImodelRevContextImpl* View() const { return top->GetContext()->GetCurRevContext(); }
    IprocessToolObject* Tool(ImodelFunctionType kind) const
    {
        return Imodel::GetInstance().GetProcessManager()->GetFlowForModule(top)->GetToolObject(kind);
    }
    imodelToolState StateOf(ImodelFunctionType kind) const { return View()->GetToolState(Tool(kind)); }
    // The tool ran with success for the view.
    void Ran(ImodelFunctionType kind) const { View()->SetToolState(Tool(kind), StateSuccess, nullptr, false); }

    ImodelModule* top = nullptr;
};

}  // namespace

TEST_F(OrganizeFilesTest, EachChangedListTakesTheResultsOfItsToolOutOfDateAndMarksTheProject)
{
    const Entries sources = Members({"hdl/leaf.vhd", "hdl/mid.vhd", "hdl/top.vhd"});
    const Entries reordered = Members({"hdl/mid.vhd", "hdl/leaf.vhd", "hdl/top.vhd"});
    using Mode = IcmdOrganizeFilesBase::ModifyMode;

    // A list stored but not used changes nothing the tool receives.
    Ran(ideSYNTHESIS);
    ASSERT_TRUE(Run(Sources(ideSYNTHESIS, top, reordered, true, IcmdOrganizeFilesBase::New)));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(StateOf(ideSYNTHESIS), StateSuccess);
    // Used, it does; the list computed from the hierarchy, stored unused,
    // is no change either.
    ASSERT_TRUE(Run(Sources(ideSYNTHESIS, top, reordered, false, IcmdOrganizeFilesBase::New)));
    EXPECT_EQ(StateOf(ideSYNTHESIS), StateNoResult);
    Ran(ideSYNTHESIS);
    Design().SetNeedSave(false);
    ASSERT_TRUE(Run(Sources(ideSYNTHESIS, top, reordered, false, IcmdOrganizeFilesBase::New)));
    EXPECT_FALSE(Design().GetNeedSave());
    EXPECT_EQ(StateOf(ideSYNTHESIS), StateSuccess);
    ASSERT_TRUE(Run(Sources(ideSYNTHESIS, top, sources, true, IcmdOrganizeFilesBase::New)));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_FALSE(top->UseCustomizedFileList(ideSYNTHESIS));
    EXPECT_EQ(StateOf(ideSYNTHESIS), StateNoResult);

    // The constraint lists of synthesis and of place and route.
    const Entries timing{AddFile("constraint/timing.sdc", zorpaFT_SDC)};
    const Entries pins{AddFile("constraint/pins.pdc", zorpaFT_PDC)};
    for (ImodelFunctionType tool : {ideSYNTHESIS, idePALLADOR}) {
        SCOPED_TRACE(tool);
        Ran(tool);
        Design().SetNeedSave(false);
        ASSERT_TRUE(Run(Constraints(tool, timing, Mode::New)));
        EXPECT_TRUE(Design().GetNeedSave());
        EXPECT_EQ(StateOf(tool), StateNoResult);
        EXPECT_EQ(ConstraintList(tool), Names{"timing.sdc"});
        // The same list again: nothing to do.
        Ran(tool);
        Design().SetNeedSave(false);
        ASSERT_TRUE(Run(Constraints(tool, timing, Mode::Add)));
        EXPECT_FALSE(Design().GetNeedSave());
        EXPECT_EQ(StateOf(tool), StateSuccess);
    }
    // Pin constraints are no synthesis constraints.
    EXPECT_FALSE(Run(Constraints(ideSYNTHESIS, pins, Mode::Add)));
    EXPECT_EQ(TextsOf("ASSOCIATE_INVALID_FILE"),
              Texts{"organize_constraints: 'pins.pdc' cannot be associated to Impl1."});

    // The stimulus steps follow the module's stimulus list.
    const Entries benches{AddFile("stimulus/tb_top.vhd", zorpaFT_TB_HDL)};
    IprocessToolObject* stimulus = Tool(ideSTIMULUS);
    ASSERT_NE(stimulus, nullptr);
    Design().SetNeedSave(false);
    ASSERT_TRUE(Run(Stimulus(benches, Mode::New)));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(top->GetContext()->GetToolState(stimulus), StateSuccess);
    ASSERT_TRUE(Run(Stimulus(benches, Mode::Remove)));
    EXPECT_EQ(top->GetContext()->GetToolState(stimulus), StateNoResult);
}

TEST_F(OrganizeFilesTest, ANewOrderOfTheArmDatabasesTakesTheLayoutMadeWithTheFormerOneOutOfDate)
{
    const Entry first = AddFile("dremmet/first.cdb", zorpaFT_ARM_DB);
    const Entry second = AddFile("dremmet/second.cdb", zorpaFT_ARM_DB);
    top->AddAssociatedFile(*first);
    top->AddAssociatedFile(*second);
    // The layout was made from top's netlist and the databases in their
    // first order.
    const Entry netlist =
        AddFile("synthesis/top.edn", zorpaFT_SYN_EDN, "(edif top (design top (cellRef top (libraryRef work))))\n");
    ImodelFileName adb;
    ASSERT_TRUE(ItoolGetAdbFileName(top, View(), adb, ImodelFMFull, false, true));
    ASSERT_TRUE(
        Imodel::GetInstance().GetPalladorTool()->WriteFileList(adb, {*netlist, *first, *second}, nullptr, false, true));
    const Entry database = AddFile("pallador/impl1/top.adb", zorpaFT_ADB);
    ASSERT_EQ(database->GetFullFileName(), adb);
    Ran(idePALLADOR);
    View()->SetToolStateForFile(idePALLADOR, database, StateSuccess);

    const auto order = [&](const Entries& files) {
        auto command = std::make_unique<IcmdOrganizeCDBs>();
        command->SetParams(files, top);
        return Run(std::move(command));
    };
    // The order the layout used: stored, and the layout stays.
    Design().SetNeedSave(false);
    ASSERT_TRUE(order({first, second, first}));
    EXPECT_EQ(top->GetCDBOrder(), (std::deque<IfileObject>{*first, *second}));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(View()->GetToolStateForFile(idePALLADOR, database), StateSuccess);
    Design().SetNeedSave(false);
    ASSERT_TRUE(order({second, first}));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_EQ(View()->GetToolStateForFile(idePALLADOR, database), StateNoResult);

    // The same order again marks nothing.
    View()->SetToolStateForFile(idePALLADOR, database, StateSuccess);
    Design().SetNeedSave(false);
    ASSERT_TRUE(order({second, first}));
    EXPECT_FALSE(Design().GetNeedSave());
    EXPECT_EQ(View()->GetToolStateForFile(idePALLADOR, database), StateSuccess);
}

TEST_F(OrganizeFilesTest, SavedClosedAndOpenedTheModuleHasEveryListBack)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    AddFile("constraint/timing.sdc", zorpaFT_SDC);
    AddFile("constraint/false.sdc", zorpaFT_SDC);
    AddFile("constraint/pins.pdc", zorpaFT_PDC);
    AddFile("stimulus/tb_b.vhd", zorpaFT_TB_HDL);
    AddFile("stimulus/tb_a.vhd", zorpaFT_TB_HDL);
    const Entry cdb = AddFile("dremmet/core.cdb", zorpaFT_ARM_DB);
    ASSERT_TRUE(Run(Sources(ideSIMULATION, top, Members({"hdl/top.vhd", "hdl/leaf.vhd"}), false, Mode::New)));
    ASSERT_TRUE(Run(Sources(ideSYNTHESIS, Unit("mid"), {}, false, Mode::New)));
    ASSERT_TRUE(Run(Constraints(ideSYNTHESIS, Members({"constraint/false.sdc", "constraint/timing.sdc"}), Mode::New)));
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, Members({"constraint/pins.pdc", "constraint/false.sdc"}), Mode::New)));
    ASSERT_TRUE(Run(Constraints(idePALLADOR, Members({"constraint/timing.sdc", "constraint/pins.pdc"}), Mode::New)));
    ASSERT_TRUE(Run(Stimulus(Members({"stimulus/tb_b.vhd", "stimulus/tb_a.vhd"}), Mode::New)));
    auto cdbs = std::make_unique<IcmdOrganizeCDBs>();
    cdbs->SetParams({cdb}, top);
    ASSERT_TRUE(Run(std::move(cdbs)));

    const auto lists = [this] {
        IcmdOrganizeSources simulation(false);
        simulation.SetParams(ideSIMULATION, top);
        IcmdOrganizeSources midSynthesis(false);
        midSynthesis.SetParams(ideSYNTHESIS, Unit("mid"));
        IcmdOrganizeStimulus stimulus(false);
        stimulus.SetParams(top);
        std::vector<Names> all{ListOf(simulation),
                               ListOf(midSynthesis),
                               ConstraintList(ideSYNTHESIS),
                               ConstraintList(idePHYSYNTH),
                               ConstraintList(idePALLADOR),
                               ListOf(stimulus),
                               {std::to_string(top->GetCDBOrder().size())}};
        return all;
    };
    const std::vector<Names> before = lists();
    EXPECT_EQ(before, (std::vector<Names>{{"top.vhd", "leaf.vhd"},
                                          {},
                                          {"false.sdc", "timing.sdc"},
                                          {"pins.pdc", "false.sdc"},
                                          {"timing.sdc", "pins.pdc"},
                                          {"tb_b.vhd", "tb_a.vhd"},
                                          {"1"}}));
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    ASSERT_TRUE(IcmdDoOpenProject((m_folder / "alu/alu.prj").c_str(), false, false));
    top = Unit("top");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(lists(), before);
    EXPECT_TRUE(top->UseCustomizedFileList(ideSIMULATION));
    EXPECT_TRUE(Unit("mid")->UseCustomizedFileList(ideSYNTHESIS));
}

TEST_F(OrganizeFilesTest, RandomRequestsMergeAsTheirModeSaysEachFileOnce)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    Entries benches;
    for (int i = 0; i < 6; ++i) benches.push_back(AddFile("stimulus/tb" + std::to_string(i) + ".vhd", zorpaFT_TB_HDL));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(benches.size()) - 1);
    std::uniform_int_distribution<int> count(0, 5);
    std::uniform_int_distribution<int> mode(0, 2);
    Names expected;
    for (int round = 0; round < 40; ++round) {
        Entries named;
        for (int i = count(random); i > 0; --i) named.push_back(benches[static_cast<std::size_t>(pick(random))]);
        const auto kind = static_cast<Mode>(mode(random));
        // The list worked out here: stimulus files have no place of their
        // own, so "add" appends.
        Names result = kind == Mode::New ? Names() : expected;
        for (const std::string& title : TitlesOf(named)) {
            const auto at = std::find(result.begin(), result.end(), title);
            if (kind == Mode::Remove && at != result.end()) result.erase(at);
            if (kind != Mode::Remove && at == result.end()) result.push_back(title);
        }
        expected = result;
        ASSERT_TRUE(Run(Stimulus(named, kind))) << round;
        IcmdOrganizeStimulus read(false);
        read.SetParams(top);
        ASSERT_EQ(ListOf(read), expected) << "round " << round << " mode " << kind;
        EXPECT_EQ(top->GetStimulusList().size(), expected.size());
    }
}

TEST_F(OrganizeFilesTest, NamedFilesAreRefusedAsAWalkOverTheWholeAllowedListRefusesThem)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    // Benches and sources, each spelled on a command line in several ways:
    // relative, absolute, "<project>", in other letter case; with files
    // outside the project and files of the other kind among them.
    Names spellings;
    for (int i = 0; i < 8; ++i) {
        const std::string bench = "stimulus/tb" + std::to_string(i) + ".vhd";
        const std::string source = "hdl/s" + std::to_string(i) + ".vhd";
        AddFile(bench, zorpaFT_TB_HDL);
        AddFile(source, zorpaFT_HDL);
        for (const std::string& name : {bench, source}) AddSpellings(spellings, name);
        spellings.push_back("stimulus/missing" + std::to_string(i) + ".vhd");
    }
    for (const char* name : {"top.vhd", "mid.vhd", "leaf.vhd"}) spellings.push_back(std::string("hdl/") + name);

    const auto currentList = [this](bool stimulus) {
        if (stimulus) {
            IcmdOrganizeStimulus read(false);
            read.SetParams(top);
            return ListOf(read);
        }
        IcmdOrganizeSources read(false);
        read.SetParams(ideSYNTHESIS, top);
        return ListOf(read);
    };

    std::mt19937 random(11);
    for (int round = 0; round < 120; ++round) {
        const Entries named = DrawNamed(random, spellings, true);
        ASSERT_FALSE(named.empty());
        const Mode mode = random() % 2 ? Mode::New : Mode::Add;
        const bool stimulus = round % 2 == 0;
        std::unique_ptr<IcmdOrganizeFilesBase> command;
        if (stimulus)
            command = Stimulus(named, mode);
        else
            command = Sources(ideSYNTHESIS, top, named, false, mode);
        // Each allowed file is found by its own name as itself.
        Entries allowed;
        command->GetAllowedFileList(allowed);
        for (const Entry& file : allowed) ASSERT_EQ(command->FindAllowedFile(file), file);
        RunAsTheWholeListRefuses(
            std::move(command), named, [&] { return currentList(stimulus); }, round);
    }
}

TEST_F(OrganizeFilesTest, NamedConstraintFilesAreRefusedAsAWalkOverTheWholeAllowedListRefusesThem)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    // Timing and pin constraints (synthesis takes only the first), a core's
    // constraint file that belongs to its description, sources and files
    // outside the project, each spelled in several ways.
    Names spellings;
    for (int i = 0; i < 6; ++i) {
        const std::string timing = "constraint/t" + std::to_string(i) + ".sdc";
        const std::string pins = "constraint/p" + std::to_string(i) + ".pdc";
        AddFile(timing, zorpaFT_SDC);
        AddFile(pins, zorpaFT_PDC);
        AddSpellings(spellings, timing);
        AddSpellings(spellings, pins);
        spellings.push_back("constraint/missing" + std::to_string(i) + ".sdc");
    }
    const Entry description = AddFile("kiltora/pll.cxf", zorpaFT_OMBRIX_CXF, "<component name=\"pll\"/>\n");
    const Entry owned = AddFile("kiltora/pll.sdc", zorpaFT_SDC);
    ASSERT_TRUE(description && owned);
    IfileObjectEx withParent(*owned);
    withParent.AddParentFile(*description);
    ASSERT_TRUE(Files().AddOrUpdateFile(withParent, false));
    AddSpellings(spellings, "kiltora/pll.sdc");
    for (const char* name : {"hdl/top.vhd", "hdl/mid.vhd"}) spellings.push_back(name);

    const auto currentList = [this](ImodelFunctionType tool) {
        IcmdOrganizeConstraints read(false);
        read.SetParams(tool, top, View());
        return ListOf(read);
    };

    std::mt19937 random(17);
    const ImodelFunctionType tools[] = {ideSYNTHESIS, idePHYSYNTH, idePALLADOR};
    for (int round = 0; round < 90; ++round) {
        const Entries named = DrawNamed(random, spellings, false);
        ASSERT_FALSE(named.empty());
        const ImodelFunctionType tool = tools[round % 3];
        std::unique_ptr<IcmdOrganizeConstraints> command =
            Constraints(tool, named, random() % 2 ? Mode::New : Mode::Add);
        // A file found by its name alone is in the allowed list under its key.
        Entries allowed;
        command->GetAllowedFileList(allowed);
        std::unordered_set<std::string> allowedKeys;
        for (const Entry& file : allowed) allowedKeys.insert(ImodelFileNameKey(file->GetInternalFileName()));
        for (const Entry& file : named) {
            if (const Entry found = command->FindAllowedFile(file)) {
                ASSERT_TRUE(allowedKeys.count(ImodelFileNameKey(found->GetInternalFileName())))
                    << file->GetInternalFileName().c_str();
            }
        }
        RunAsTheWholeListRefuses(
            std::move(command), named, [&] { return currentList(tool); }, round);
    }
}

TEST_F(OrganizeFilesTest, InProcessCallersWithoutModuleOrToolAreToldAndNothingChanges)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    const Entries timing{AddFile("constraint/timing.sdc", zorpaFT_SDC)};
    // Without a module or a root there is nothing to organize.
    Design().SetRootId(VyIfaces::ComponentID());
    ASSERT_EQ(Design().GetRootModule(), nullptr);
    EXPECT_FALSE(Run(Sources(ideSYNTHESIS, nullptr, Members({"hdl/top.vhd"}), false, Mode::New)));
    auto constraints = std::make_unique<IcmdOrganizeConstraints>(false);
    constraints->SetParams(ideSYNTHESIS, nullptr, nullptr);
    constraints->SetFilesParam(timing);
    EXPECT_FALSE(Run(std::move(constraints)));
    EXPECT_EQ(TextsOf("ORGANIZE_NO_MODULE"),
              (Texts{"organize_sources: there is no module to organize; name one with -module, or set the root module.",
                     "organize_constraints: there is no module to organize; name one with -module, or set the root "
                     "module."}));
    auto stimulus = std::make_unique<IcmdOrganizeStimulus>(false);
    stimulus->SetFilesParam(timing);
    EXPECT_FALSE(Run(std::move(stimulus)));
    auto cdbs = std::make_unique<IcmdOrganizeCDBs>();
    cdbs->SetParams(timing, nullptr);
    EXPECT_FALSE(Run(std::move(cdbs)));
    EXPECT_EQ(messages.WithId("MISSING_REQUIRED").size(), 2u);
    EXPECT_FALSE(top->UseCustomizedFileList(ideSYNTHESIS));
    EXPECT_TRUE(top->GetSynthesisConstraintFileList().empty());

    // A tool kind without a tool that keeps constraint lists.
    EXPECT_FALSE(Run(Constraints(ideSIMULATION, timing, Mode::New)));
    EXPECT_EQ(TextsOf("NO_CONSTRAINTS_MANAGER"),
              Texts{"Project Manager does not handle constraint files for simulation."});
    EXPECT_FALSE(Run(Sources(idePALLADOR, top, {}, false, Mode::New)));
    EXPECT_EQ(TextsOf("NO_CUSTOM_SOURCES"),
              Texts{"Project Manager does not handle customized source files for pallador."});
    EXPECT_FALSE(top->UseCustomizedFileList(idePALLADOR));
}

TEST_F(OrganizeFilesTest, AnOptionalConstraintFileTakenOutOfThePlaceAndRouteListStaysOut)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    // The pin constraints physical synthesis writes from top's netlist are
    // an optional input of place and route, used by default.
    View()->GetFlowOptions()->UsePhySynth = true;
    for (zorpaFileManagerTypes netlist : {zorpaFT_SYN_EDN, zorpaFT_ZEVORU_EDN})
        AddDefault(netlist, "(edif top (design top (cellRef top (libraryRef work))))\n");
    const Entry written = AddDefault(zorpaFT_ZEVORU_PDC, "set_io a 1\n");
    const Entry timing = AddFile("constraint/timing.sdc", zorpaFT_SDC);
    ASSERT_EQ(ConstraintList(idePALLADOR), Names{written->GetFileTitleAndExt()});

    ASSERT_TRUE(Run(Constraints(idePALLADOR, {written}, Mode::Remove)));
    EXPECT_EQ(ConstraintList(idePALLADOR), Names{});
    ASSERT_TRUE(Run(Constraints(idePALLADOR, {timing}, Mode::Add)));
    EXPECT_EQ(ConstraintList(idePALLADOR), Names{"timing.sdc"});
    // Named again, it is back.
    ASSERT_TRUE(Run(Constraints(idePALLADOR, {timing, written}, Mode::New)));
    EXPECT_EQ(ConstraintList(idePALLADOR), (Names{"timing.sdc", written->GetFileTitleAndExt()}));
}

TEST_F(OrganizeFilesTest, APlaceAndRouteListHoldingAFileOutsideTheProjectTakesFilesOutsideItToo)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    const Entry gone = AddFile("constraint/gone.pdc", zorpaFT_PDC);
    ImodelFileName adb;
    ASSERT_TRUE(ItoolGetAdbFileName(top, View(), adb, ImodelFMFull, false, true));
    ASSERT_TRUE(Imodel::GetInstance().GetPalladorTool()->WriteFileList(adb, {*gone}, nullptr, false, true));
    const Entries elsewhere{
        IfileManagerGetRealObject(IfileObject(ImodelFileName(m_folder.Write("alu/constraint/elsewhere.pdc", "")),
                                              zorpaFT_PDC, ImodelFMFull, true, true),
                                  true)};
    ASSERT_FALSE(elsewhere.front()->IsFileInProject());
    // While every file of the list is in the project, one outside it is refused.
    EXPECT_FALSE(Run(Constraints(idePALLADOR, elsewhere, Mode::Add)));
    EXPECT_EQ(TextsOf("ASSOCIATE_FILES_NOT_FOUND"),
              Texts{"organize_constraints: 'elsewhere.pdc' is not in the project."});
    gone->SetAbsent();
    EXPECT_FALSE(Run(Constraints(ideSYNTHESIS, elsewhere, Mode::Add)));
    ASSERT_TRUE(Run(Constraints(idePALLADOR, elsewhere, Mode::Add)));
    const std::string list = m_folder.Read("alu/pallador/impl1/top.ide_pld");
    EXPECT_LT(list.find("gone.pdc"), list.find("elsewhere.pdc"));
    EXPECT_NE(list.find("elsewhere.pdc"), std::string::npos);
}

TEST_F(OrganizeFilesTest, TheSelfTestComparesFilesNotEntriesAndCountsAFileNamedTwiceOnce)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    const Entries files{AddFile("constraint/pins.pdc", zorpaFT_PDC), AddFile("constraint/timing.sdc", zorpaFT_SDC)};
    // Physical synthesis answers with entries of its own for the files.
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, files, Mode::New)));
    Entries held;
    IcmdOrganizeConstraints reader(false);
    reader.SetParams(idePHYSYNTH, top, View());
    reader.GetCurrentFileList(held, true);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_NE(held.front(), files.front());
    const auto test = [&](const Entries& expected) {
        auto command = std::make_unique<IcmdTestOrganizedFiles<IcmdOrganizeConstraints>>();
        command->SetParams(idePHYSYNTH, top, View());
        command->SetFilesParam(expected);
        return Run(std::move(command));
    };
    EXPECT_TRUE(test(files));
    EXPECT_TRUE(test({files[0], files[1], files[0]}));
    EXPECT_FALSE(test({files[1], files[0]}));
    EXPECT_FALSE(test({files[0]}));
    // A file named twice is stored once by every mode.
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, {files[1], files[1]}, Mode::New)));
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, {files[0], files[0]}, Mode::Add)));
    EXPECT_EQ(ConstraintList(idePHYSYNTH), (Names{"timing.sdc", "pins.pdc"}));
    EXPECT_EQ(messages.WithId("SCRIPT_TCL_TEST_LIST_FAILED").size(), 2u);
}

TEST_F(OrganizeFilesTest, ALongPhysicalSynthesisListKeepsEachFileOnceInTheOrderFirstNamed)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    Entries files;
    for (int i = 0; i < 600; ++i)
        files.push_back(
            AddFile("constraint/c" + std::to_string(i) + (i % 2 ? ".pdc" : ".sdc"), i % 2 ? zorpaFT_PDC : zorpaFT_SDC));
    std::mt19937 random(11);
    Entries named = files;
    std::shuffle(named.begin(), named.end(), random);
    // Every file a second time, the same file as a value of its own.
    for (std::size_t i = 0; i < files.size(); i += 3)
        named.push_back(boost::make_shared<IfileObjectEx>(static_cast<const IfileObject&>(*named[i]), false));
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, named, Mode::New)));
    Names expected = TitlesOf(Entries(named.begin(), named.begin() + static_cast<std::ptrdiff_t>(files.size())));
    EXPECT_EQ(ConstraintList(idePHYSYNTH), expected);

    // Taken out and added again, a file goes to the end, once.
    const Entries moved{named[0], named[7], named[0]};
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, moved, Mode::Remove)));
    ASSERT_TRUE(Run(Constraints(idePHYSYNTH, moved, Mode::Add)));
    expected.erase(expected.begin() + 7);
    expected.erase(expected.begin());
    expected.push_back(named[0]->GetFileTitleAndExt());
    expected.push_back(named[7]->GetFileTitleAndExt());
    EXPECT_EQ(ConstraintList(idePHYSYNTH), expected);
}

TEST_F(OrganizeFilesTest, EveryRefusedFileIsNamedEachProjectFileFollowedByTheFilesThatMayBeNamed)
{
    using Mode = IcmdOrganizeFilesBase::ModifyMode;
    const Entries timing{AddFile("constraint/a.sdc", zorpaFT_SDC), AddFile("constraint/b.sdc", zorpaFT_SDC)};
    ASSERT_TRUE(Run(Constraints(ideSYNTHESIS, {timing[1]}, Mode::New)));
    messages.Clear();
    // Pin constraints are members synthesis does not take; the others are
    // not in the project. Each is named once, a repeated one too.
    Entries named{timing[0]};
    for (int i = 0; i < 60; ++i) {
        const std::string name = "constraint/p" + std::to_string(i) + ".pdc";
        if (i % 3 == 0) {
            named.push_back(boost::make_shared<IfileObjectEx>(
                IfileObject(ImodelFileName(m_folder / ("alu/" + name)), zorpaFT_PDC, ImodelFMFull, true, true), false));
        } else {
            named.push_back(AddFile(name, zorpaFT_PDC));
        }
    }
    named.push_back(named[2]);
    EXPECT_FALSE(Run(Constraints(ideSYNTHESIS, named, Mode::Add)));
    EXPECT_EQ(messages.WithId("ASSOCIATE_INVALID_FILE").size(), 40u);
    EXPECT_EQ(messages.WithId("ASSOCIATE_FILES_NOT_FOUND").size(), 20u);
    // The list lines are all alike: one line per timing constraint, and
    // nothing else.
    const Texts listed = TextsOf("ASSOCIATE_FILES_LIST");
    ASSERT_EQ(listed.size(), 40u);
    for (const std::string& text : listed) EXPECT_EQ(text, listed.front());
    EXPECT_EQ(std::count(listed.front().begin(), listed.front().end(), '\n'), 1);
    for (const char* title : {"a.sdc", "b.sdc"}) EXPECT_NE(listed.front().find(title), std::string::npos) << title;
    EXPECT_EQ(listed.front().find(".pdc"), std::string::npos);
    // The list the command would have changed is as it was.
    EXPECT_EQ(ConstraintList(ideSYNTHESIS), Names{"b.sdc"});

    // The order of the messages: a project file refused, the heading, the
    // list; a file not in the project is named alone.
    const std::vector<MdbMessage> all = messages.Messages();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].id == "ASSOCIATE_INVALID_FILE") {
            ASSERT_LT(i + 2, all.size());
            EXPECT_EQ(all[i + 1].id, "ASSOCIATE_FILES_THAT_CAN_BE");
            EXPECT_EQ(all[i + 2].id, "ASSOCIATE_FILES_LIST");
        } else if (all[i].id == "ASSOCIATE_FILES_NOT_FOUND") {
            if (i + 1 < all.size()) {
                EXPECT_NE(all[i + 1].id, "ASSOCIATE_FILES_THAT_CAN_BE");
            }
        }
    }
}

TEST_F(OrganizeFilesTest, TheHostsDialogReadsWhichListEachCommandOrganizes)
{
    // The visitor records which of its operations each command calls.
    class Recorder : public IcmdOrganizeFilesVisitor {
    public:
        std::vector<std::string> visits;
        void VisitStimulus(IcmdOrganizeFilesBase&) override { visits.push_back("stimulus"); }
        void VisitSynthesisConstraints(IcmdOrganizeFilesBase&) override { visits.push_back("synthesis constraints"); }
        void VisitPhySynthesisConstraints(IcmdOrganizeFilesBase&) override { visits.push_back("DAVIRI constraints"); }
        void VisitPalladorConstraints(IcmdOrganizeFilesBase&) override { visits.push_back("layout constraints"); }
        void VisitOtherConstraints(IcmdOrganizeFilesBase&) override { visits.push_back("other constraints"); }
        void VisitSynthesisSources(IcmdOrganizeFilesBase&) override { visits.push_back("synthesis sources"); }
        void VisitSimulationSources(IcmdOrganizeFilesBase&) override { visits.push_back("simulation sources"); }
        void VisitOtherSources(IcmdOrganizeFilesBase&) override { visits.push_back("other sources"); }
    } recorder;
    Names tools;
    bool hasUseDefault = false;
    std::vector<bool> useDefaults;
    for (ImodelFunctionType tool : {ideSYNTHESIS, ideSIMULATION, idePALLADOR}) {
        IcmdOrganizeSources command(false);
        command.SetParams(tool, top);
        command.Accept(recorder);
        tools.push_back(command.GetToolNameForDialog());
        command.GetCommonInfoForDialog(hasUseDefault);
        useDefaults.push_back(hasUseDefault && command.UseSolvatoListByDefault());
    }
    for (ImodelFunctionType tool : {ideSYNTHESIS, idePHYSYNTH, idePALLADOR, ideSIMULATION}) {
        IcmdOrganizeConstraints command(false);
        command.SetParams(tool, top, View());
        command.Accept(recorder);
        tools.push_back(command.GetToolNameForDialog());
        command.GetCommonInfoForDialog(hasUseDefault);
        useDefaults.push_back(hasUseDefault);
    }
    IcmdOrganizeStimulus stimulus(false);
    stimulus.SetParams(top);
    stimulus.Accept(recorder);
    EXPECT_EQ(recorder.visits, (std::vector<std::string>{"synthesis sources", "simulation sources", "other sources",
                                                         "synthesis constraints", "DAVIRI constraints",
                                                         "layout constraints", "other constraints", "stimulus"}));
    EXPECT_EQ(tools, (Names{"Synthesis", "Simulation", "Pallador", "Synthesis", "DAVIRI", "Pallador", "Simulation"}));
    EXPECT_EQ(useDefaults, (std::vector<bool>{true, true, true, false, false, false, false}));
    EXPECT_EQ(stimulus.GetToolNameForDialog(), "Stimulus");

    // The default list is the one the hierarchy gives, whatever is stored.
    IcmdOrganizeSources sources(false);
    sources.SetParams(ideSYNTHESIS, top);
    Entries computed;
    sources.GetDefaultFileList(computed);
    EXPECT_EQ(TitlesOf(computed), (Names{"leaf.vhd", "mid.vhd", "top.vhd"}));
    EXPECT_TRUE(sources.IsUsingDefaultList());
    ASSERT_TRUE(Run(Sources(ideSYNTHESIS, top, Members({"hdl/top.vhd"}), false, IcmdOrganizeFilesBase::New)));
    sources.GetDefaultFileList(computed);
    EXPECT_EQ(TitlesOf(computed), (Names{"leaf.vhd", "mid.vhd", "top.vhd"}));
    EXPECT_FALSE(sources.IsUsingDefaultList());
    EXPECT_EQ(ListOf(sources), Names{"top.vhd"});
    // The dialog places a file where the command would.
    Entries list = Members({"hdl/top.vhd"});
    sources.AddFileToList(list, Member("hdl/leaf.vhd"));
    EXPECT_EQ(TitlesOf(list), (Names{"top.vhd", "leaf.vhd"}));

    // Constraint files for the host: there are some once one may be named.
    EXPECT_FALSE(IcmdOrganizeConstraints::HasConstraintFiles(idePALLADOR, top, View()));
    AddFile("constraint/pins.pdc", zorpaFT_PDC);
    EXPECT_TRUE(IcmdOrganizeConstraints::HasConstraintFiles(idePALLADOR, top, View()));
    EXPECT_FALSE(IcmdOrganizeConstraints::HasConstraintFiles(ideSYNTHESIS, top, View()));
}
