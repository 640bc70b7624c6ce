// Designs as deep and as shared as real ones get, through the commands a
// user types in the shell: a chain of units (each file using the next)
// saves, opens, refreshes and dumps, the dump stopping at its own depth; a
// chain in one file, each unit defined after the one it uses, reads whole;
// and a diamond of depth 30, whose top reaches its bottom along 2^30 paths,
// saves and opens with its per-module settings.
//
// The chain is deeper than a walk that recursed once per level could go
// on the stack these tests run with: the work of every command stays off
// the call stack.
#include "DesignShapes.h"
#include "DeviceCatalogue.h"
#include "MessageRecorder.h"
#include "QuorlanePackage.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelBlockPool.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <tcl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// The chain runs on a stack of half a megabyte, which a walk recursing
// once per level of 20,000 levels would overflow (26 bytes a level; a frame
// takes more); the depth stays small enough for the sanitizer build to go
// through every command in seconds.
constexpr int kChainDepth = 20000;
constexpr rlim_t kStackBytes = 512 * 1024;

// The main thread's stack may grow to `bytes` at most while it lives.
class StackLimit {
public:
    explicit StackLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_STACK, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_STACK, &limit);
    }
    ~StackLimit() { setrlimit(RLIMIT_STACK, &m_old); }
    StackLimit(const StackLimit&) = delete;
    StackLimit& operator=(const StackLimit&) = delete;

private:
    rlimit m_old{};
};

ImodelModule* Unit(int index)
{
    return ImodelFindModule(VyIfaces::ComponentID("unit_" + std::to_string(index), "work", ""));
}

class DeepDesign : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Quorlane_Init(m_interp), TCL_OK);
        LoadOneDeviceFamily();
        m_messages = std::make_unique<MessageRecorder>();
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) Eval("close_project -save false");
        m_messages.reset();
        Tcl_DeleteInterp(m_interp);
    }

    bool Eval(const std::string& script)
    {
        const bool done = Tcl_EvalEx(m_interp, script.c_str(), -1, TCL_EVAL_GLOBAL) == TCL_OK;
        if (!done) ADD_FAILURE() << script << ": " << Tcl_GetStringResult(m_interp);
        return done;
    }

    // A new project whose members are the files of `design`, unparsed, saved
    // and closed: opening it parses them.
    void MakeProject(const DesignShapeDesign& design)
    {
        ASSERT_TRUE(Eval("new_project -location {" + Folder() +
                         "} -name deep -hdl VHDL -family ZX3 -die zx3_10 -package tq100"));
        const std::vector<std::string> members = WriteDesignShape(design, Folder() + "/hdl");
        ASSERT_EQ(members.size(), design.units.size());
        IfileManager& files = *Imodel::GetInstance().GetFileManager();
        for (const std::string& member : members)
            files.AddOrUpdateFile(
                IfileObjectEx(IfileObject(ImodelFileName(member), zorpaFT_HDL, ImodelFMFull, true, true), false),
                false);
        ASSERT_TRUE(Eval("close_project"));
    }

    std::string Folder() const { return m_folder / "deep"; }
    std::string ProjectFile() const { return Folder() + "/deep.prj"; }
    std::string ProjectText() const { return m_folder.Read("deep/deep.prj"); }

    TempFolder m_folder;
    Tcl_Interp* m_interp = Tcl_CreateInterp();
    std::unique_ptr<MessageRecorder> m_messages;
};

// The number of lines of `text` that begin with `prefix`.
std::size_t LinesStartingWith(const std::string& text, const std::string& prefix)
{
    std::istringstream lines(text);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0) ++count;
    return count;
}

}  // namespace

TEST_F(DeepDesign, AChainSavesOpensRefreshesAndDumps)
{
    MakeProject(MakeDesignShape(DesignShape::Chain, kChainDepth));
    const StackLimit stack(kStackBytes);
    ASSERT_TRUE(Eval("open_project {" + ProjectFile() + "}"));
    const auto whole = [] {
        // Every level is there, each unit defined by its file and using the next.
        ImodelModule* top = Unit(0);
        ASSERT_TRUE(top && Unit(kChainDepth - 1));
        EXPECT_EQ(ImodelCountFiles(top, -1), kChainDepth);
        EXPECT_EQ(top->GetParentsList(), nullptr);
        EXPECT_TRUE(Unit(kChainDepth - 2)->GetSubBlocks()->Contains(Unit(kChainDepth - 1)));
    };
    whole();
    // The open saved at once; saving again writes the same.
    const std::string saved = ProjectText();
    EXPECT_EQ(LinesStartingWith(saved, "VALUE \"<project>/hdl/unit_"), static_cast<std::size_t>(kChainDepth));
    ASSERT_TRUE(Eval("save_project"));
    EXPECT_EQ(ProjectText(), saved);

    ASSERT_TRUE(Eval("refresh"));
    whole();
    ASSERT_TRUE(Eval("save_project"));
    EXPECT_EQ(ProjectText(), saved);

    // The dump stops at its depth, and says so.
    ASSERT_TRUE(Eval("dump_all_modules -tree true -file {" + (m_folder / "dump.txt") + "}"));
    const std::string dump = m_folder.Read("dump.txt");
    EXPECT_EQ(LinesStartingWith(dump, "Library: "), 1u);
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 1 + 1000 + 1);
    EXPECT_NE(dump.find("   unit_0 (unit_0.vhd)\n"), std::string::npos);
    EXPECT_EQ(LinesStartingWith(dump.substr(dump.rfind('\n', dump.size() - 2) + 1), " "), 1u);
    EXPECT_NE(dump.substr(dump.rfind('\n', dump.size() - 2) + 1).find("..."), std::string::npos);

    ASSERT_TRUE(Eval("close_project"));
    EXPECT_EQ(Unit(0), nullptr);
}

TEST_F(DeepDesign, AChainInOneFileDefinedFromTheBottomUpReadsWhole)
{
    // Each unit is defined after the one it uses: the read of the file meets
    // every unit from below first, and tells the views of each once.
    std::string text;
    for (int level = kChainDepth - 1; level >= 0; --level) {
        const std::string name = "unit_" + std::to_string(level);
        text += "entity " + name + " is end;\narchitecture rtl of " + name + " is begin\n";
        if (level + 1 < kChainDepth) text += "  u : entity work.unit_" + std::to_string(level + 1) + " port map (a);\n";
        text += "end;\n";
    }
    const std::string chain = m_folder.Write("chain.vhd", text);
    ASSERT_TRUE(
        Eval("new_project -location {" + Folder() + "} -name deep -hdl VHDL -family ZX3 -die zx3_10 -package tq100"));
    const StackLimit stack(kStackBytes);
    const auto whole = [] {
        ImodelModule* top = Unit(0);
        ASSERT_TRUE(top && Unit(kChainDepth - 1));
        EXPECT_EQ(top->GetParentsList(), nullptr);
        const ImodelLinkList* below = Unit(kChainDepth - 2)->GetSubBlocks();
        ASSERT_NE(below, nullptr);
        EXPECT_TRUE(below->Contains(Unit(kChainDepth - 1)));
        EXPECT_EQ(Design().GetRootId().ToString(), "unit_0::work");
    };
    ASSERT_TRUE(Eval("import_files -hdl_source {" + chain + "}"));
    whole();
    ASSERT_TRUE(Eval("refresh"));
    whole();
    ASSERT_TRUE(Eval("close_project"));
    ASSERT_TRUE(Eval("open_project {" + ProjectFile() + "}"));
    whole();
}

TEST_F(DeepDesign, ADiamondOfDepthThirtySavesAndOpensWithItsSettings)
{
    const DesignShapeDesign diamond = MakeDiamond(30);
    MakeProject(diamond);
    ASSERT_TRUE(Eval("open_project {" + ProjectFile() + "}"));
    ImodelModule* bottom = Unit(static_cast<int>(diamond.units.size()) - 1);
    ASSERT_TRUE(bottom && Unit(0));
    // The bottom, reached along 2^30 paths, has a setting the older layout
    // writes once per unit; so has a unit ten levels down, whose options
    // the physical-synthesis section writes once, not at each place.
    ImodelModule* middle = Unit(21);
    bottom->GetStimulusListPtr()->push_back(*Imodel::GetInstance().GetFileManager()->GetFile(
        IfileObject(ImodelFileName(Folder() + "/hdl/unit_0.vhd"), zorpaFT_HDL, ImodelFMFull, true, true)));
    middle->GetPhySynthOptions()->SetGenPinConstraints(false);
    ASSERT_TRUE(Eval("save_project"));
    const std::string saved = ProjectText();
    EXPECT_NE(saved.find("LIST AssociatedStimulus\nLIST " + bottom->GetName() + "\n"), std::string::npos);
    // The unit ten levels down stands at 2^10 places.
    EXPECT_EQ(LinesStartingWith(saved, "LIST \"unit_21\""), 1u);

    // The settings come back, and an open saves the same as the one before.
    std::string reopened;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(Eval("close_project"));
        ASSERT_TRUE(Eval("open_project {" + ProjectFile() + "}"));
        ASSERT_TRUE(Unit(21) && Unit(static_cast<int>(diamond.units.size()) - 1));
        EXPECT_FALSE(Unit(21)->GetPhySynthOptions()->GetGenPinConstraints());
        EXPECT_EQ(Unit(static_cast<int>(diamond.units.size()) - 1)->GetStimulusList().size(), 1u);
        EXPECT_EQ(LinesStartingWith(ProjectText(), "LIST \"unit_21\""), 1u);
        if (round == 1) {
            EXPECT_EQ(ProjectText(), reopened);
        }
        reopened = ProjectText();
    }
}

// A close empties the model in one sweep after random changes (units gone
// with their files, kept for a return, stimulus lists on shared blocks); the
// sanitizer build catches a list left pointing at a unit that is gone, and
// the project opens again to the same design.
TEST_F(DeepDesign, AClosedProjectAfterRandomChangesOpensToTheSameDesign)
{
    const int units = 300;
    MakeProject(MakeDesignShape(DesignShape::SharedBlocks, units, 7));
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    const auto member = [this](int index) { return Folder() + "/hdl/unit_" + std::to_string(index) + ".vhd"; };
    // Every unit with its file and links, library by library (the tree
    // dump would print every path through the shared blocks). A unit whose
    // file was deleted comes back at the end of its users' lists while
    // reading puts it in the file's order: the links are compared as sets.
    const auto names = [](const ImodelLinkList* links) {
        std::vector<std::string> all;
        if (links)
            for (const ImodelModule* unit : *links) all.push_back(unit->GetName());
        std::sort(all.begin(), all.end());
        std::string text;
        for (const std::string& name : all) text += " " + name;
        return text;
    };
    const auto dump = [&names] {
        std::string text;
        const auto [first, last] = Design().GetLibraries();
        for (auto library = first; library != last; ++library) {
            if (!*library) continue;
            text += "Library " + (*library)->GetName() + "\n";
            for (const ImodelModule* unit : *(*library)->GetModules())
                text += unit->GetName() + " " + unit->GetFileName() + " <" + names(unit->GetSubBlocks()) + " > ^" +
                        names(unit->GetParentsList()) + "\n";
        }
        return text;
    };
    for (std::uint32_t round = 1; round <= 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(Eval("open_project {" + ProjectFile() + "}"));
        std::mt19937 random(round);
        std::uniform_int_distribution<int> pick(1, units - 1);
        for (int change = 0; change < 12; ++change) {
            const int index = pick(random);
            ImodelModule* unit = Unit(index);
            if (unit == nullptr) continue;
            // (Physical-synthesis options are left alone: their section is
            // written once per path to the unit, far too many here.)
            if (change % 2 == 0) {
                Eval("delete_files -file {" + member(index) + "}");
            } else if (const auto file = files.GetFile(
                           IfileObject(ImodelFileName(member(change % 5)), zorpaFT_HDL, ImodelFMFull, true, true))) {
                unit->GetStimulusListPtr()->push_back(*file);
            }
        }
        ASSERT_TRUE(Eval("save_project"));
        const std::string before = dump();
        ASSERT_TRUE(Eval("close_project"));
        EXPECT_EQ(Unit(0), nullptr);
        ASSERT_TRUE(Eval("open_project {" + ProjectFile() + "}"));
        EXPECT_EQ(dump(), before);
        ASSERT_TRUE(Eval("close_project"));
    }
}

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define DEEP_DESIGN_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define DEEP_DESIGN_TSAN 1
#endif

// A design read again takes the memory of the one before from the heap: a
// block of many megabytes, as a large design's tables take, is neither
// mapped apart nor given back to the system when freed.
TEST_F(DeepDesign, ALargeBlockFreedStaysWithTheHeapForTheNextDesign)
{
#if defined(IMODEL_BLOCK_POOL_SANITIZED) || defined(DEEP_DESIGN_TSAN)
    GTEST_SKIP() << "the sanitizers' allocator keeps its own rules";
#else
    constexpr std::size_t kBytes = std::size_t{16} << 20;
    const struct mallinfo2 before = mallinfo2();
    auto* block = static_cast<char*>(std::malloc(kBytes));
    ASSERT_NE(block, nullptr);
    std::fill(block, block + kBytes, 'x');
    const struct mallinfo2 holding = mallinfo2();
    EXPECT_EQ(holding.hblkhd, before.hblkhd);
    std::free(block);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(after.arena, holding.arena);
    EXPECT_GE(after.fordblks, kBytes);
#endif
}
