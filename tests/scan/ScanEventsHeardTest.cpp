// What a scan enters into the design and tells the views, against the plain
// way. Random designs are parsed file by file as add_file parses them:
// - once beside a view of every event and once beside a view of every event
//   but the units' changes (which a scan then leaves out, no view alive
//   hearing them): the other events, in order, and the links are the same;
// - with what the use clauses name looked up once while the libraries stay
//   as they are, and at every instance: the same links and events.
#include "ScanDesignSupport.h"

#include "ievent/IeventClasses.h"
#include "icmd/scan/IcmdParseFile.h"
#include "itool/ItoolVeyrun.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Keeps each event heard as its class and the units it carries.
class NamingView : public IeventView {
public:
    explicit NamingView(const IeventKinds& heard) : IeventView(nullptr, heard) {}

#define NAMING_VIEW_UPDATE(Event)                                                                                      \
    void UpdateView(const Event& event) override { Record(#Event, &event); }
    QUORLANE_IEVENT_CATALOGUE(NAMING_VIEW_UPDATE)
#undef NAMING_VIEW_UPDATE

    Strings heard;
    int unitChanges = 0;

private:
    void Record(const std::string& name, const Ievent* event)
    {
        if (name == "IeventModuleModified") {
            ++unitChanges;
            return;
        }
        std::string line = name;
        if (const auto* carrier = dynamic_cast<const Ievent_ModulesParent*>(event))
            for (const ImodelModule* unit : carrier->GetLiveModules()) line += " " + unit->GetName();
        heard.push_back(line);
    }
};

// Views for the heard-by tests.
class HearsTwo : public IeventView {
public:
    using IeventView::UpdateView;
    void UpdateView(const IeventLibraryAdded&) override {}
    void UpdateView(const IeventModuleRemoved&) override {}
};
class HidesOne : public IeventView {
public:
    void UpdateView(const IeventFileRemoved&) override {}  // hides the others
};
class BelowTwo : public HearsTwo {
public:
    using HearsTwo::UpdateView;
    void UpdateView(const IeventCvlibChanged&) override {}
};
class SeesBatches : public IeventView {
public:
    void UpdateViews(const IeventBatch&) override {}
};

template <class Event>
constexpr std::size_t Kind()
{
    return static_cast<std::size_t>(IeventKindOf<Event>::value);
}

IeventKinds KindsOf(std::initializer_list<std::size_t> kinds)
{
    IeventKinds set;
    for (const std::size_t kind : kinds) set.set(kind);
    return set;
}

class ScanEventsHeard : public ProjectScanFixture {
protected:
    struct File {
        std::string name;
        std::string text;
        std::string library;
    };

    // A random design: entities over two libraries instantiating earlier
    // ones directly, through components of packages and use clauses, with
    // names in random letter case; some files declare a unit twice.
    static std::vector<File> Design(std::mt19937& random)
    {
        const auto randomCase = [&random](std::string name) {
            for (char& c : name)
                if (random() % 3 == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return name;
        };
        const std::vector<std::string> libraries{"work", "lib2"};
        std::vector<File> files;
        const int packages = 1 + static_cast<int>(random() % 3);
        const int units = 4 + static_cast<int>(random() % 10);
        for (int p = 0; p < packages; ++p) {
            std::string text = "package pkg" + std::to_string(p) + " is\n";
            for (int c = 0; c < 3; ++c)
                text += "  component blk" + std::to_string(random() % units) + " port (a : in bit); end component;\n";
            text += "end package;\n";
            files.push_back({"pkg" + std::to_string(p) + ".vhd", text, libraries[random() % 2]});
        }
        for (int unit = 0; unit < units; ++unit) {
            const std::string library = libraries[random() % 2];
            std::string text;
            for (int u = static_cast<int>(random() % 4); u > 0; --u) {
                const std::string from = libraries[random() % 2];
                if (from != "work") text += "library " + from + ";\n";
                text += "use " + from + "." + (random() % 3 ? "pkg" + std::to_string(random() % packages) + ".all" : "all") +
                        ";\n";
            }
            const std::string name = "blk" + std::to_string(unit);
            text += "entity " + randomCase(name) + " is port (a : in bit); end entity;\n" + "architecture rtl of " +
                    randomCase(name) + " is\nbegin\n";
            for (int i = static_cast<int>(random() % 7); i > 0; --i) {
                const std::string sub = randomCase("blk" + std::to_string(random() % (unit + 2)));
                const std::string how = random() % 3 == 0   ? "entity work." + sub
                                        : random() % 3 == 0 ? "entity lib2." + sub
                                                            : sub;
                text += "  u" + std::to_string(i) + " : " + how + " port map (a => a);\n";
            }
            text += "end architecture;\n";
            // A package then one more entity in the same file: the clauses
            // above now see what the package declares.
            if (random() % 3 == 0) {
                const std::string package = "pkg" + std::to_string(random() % packages);
                text += "package " + randomCase(package) + " is\n  component " +
                        randomCase("blk" + std::to_string(random() % units)) +
                        " port (a : in bit); end component;\nend package;\n" + "entity " + name +
                        "x is port (a : in bit); end entity;\narchitecture rtl of " + name + "x is\nbegin\n";
                for (int i = static_cast<int>(random() % 5); i > 0; --i)
                    text += "  v" + std::to_string(i) + " : " + randomCase("blk" + std::to_string(random() % units)) +
                            " port map (a => a);\n";
                text += "end architecture;\n";
            }
            if (random() % 8 == 0) text += "entity blk" + std::to_string(random() % units) + " is end entity;\n";
            files.push_back({name + ".vhd", text, library});
        }
        std::shuffle(files.begin(), files.end(), random);
        // Some files come again, as a re-parse after an edit.
        for (int again = static_cast<int>(random() % 3); again > 0; --again)
            files.push_back(files[random() % files.size()]);
        return files;
    }

    // Every unit of every library with its sub-blocks and parents, in order.
    static std::string Links()
    {
        const auto named = [](const ImodelModule* unit) {
            return unit->GetDefinedInLibrary() + "." + unit->GetName() + (unit->GetModuleFile() ? "" : "?");
        };
        std::string out;
        for (auto [it, end] = ScanDesign().GetLibraries(); it != end; ++it)
            for (const ImodelModule* unit : *(*it)->GetModules()) {
                out += (*it)->GetName() + ": " + named(unit) + " <";
                if (const auto* subs = unit->GetSubBlocks())
                    for (const ImodelModule* sub : *subs) out += " " + named(sub);
                out += " ^";
                if (const auto* parents = unit->GetParentsList())
                    for (const ImodelModule* parent : *parents) out += " " + named(parent);
                out += "\n";
            }
        return out;
    }

    struct Heard {
        Strings events;
        int unitChanges = 0;
        std::string tree;
    };

    Heard ParseAll(const std::vector<File>& files, const IeventKinds& kinds, bool unitChangesHeard)
    {
        Heard result;
        // Every run starts with nothing to save, so that each is told of
        // the first change alike.
        ScanDesign().SetNeedSave(false);
        NamingView view(kinds);
        EXPECT_EQ(IeventView::MayBeHeard<IeventModuleModified>(), unitChangesHeard);
        for (const File& file : files) {
            const std::string path = m_folder.Write(file.name, file.text);
            if (!ScanDesign().FindLibraryByName(file.library)) ScanDesign().AddLibrary(file.library, false);
            boost::shared_ptr<IfileObjectEx> entry =
                ScanFiles().GetFile(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, false, true));
            if (!entry) entry = Enter(path, file.library);
            IcmdDoParseFile(entry, false, true, nullptr, nullptr, nullptr, false, nullptr, nullptr);
        }
        result.tree = Tree("work") + "--\n" + Tree("lib2") + "--\n" + Links();
        result.events = view.heard;
        result.unitChanges = view.unitChanges;
        return result;
    }
};

}  // namespace

TEST(IeventHeardBy, AViewHearsTheClassesItOverridesOrEveryClassWhenItSeesTheBatches)
{
    EXPECT_EQ(IeventHeardBy<HearsTwo>(), KindsOf({Kind<IeventLibraryAdded>(), Kind<IeventModuleRemoved>()}));
    EXPECT_EQ(IeventHeardBy<HidesOne>(), KindsOf({Kind<IeventFileRemoved>()}));
    EXPECT_EQ(IeventHeardBy<BelowTwo>(),
              KindsOf({Kind<IeventLibraryAdded>(), Kind<IeventModuleRemoved>(), Kind<IeventCvlibChanged>()}));
    EXPECT_TRUE(IeventHeardBy<SeesBatches>().all());
    EXPECT_TRUE(IeventHeardBy<IeventView>().none());
    // The project's own workspace does not hear the units' changes.
    const IeventKinds workspace = IeventHeardBy<ItoolVeyrun>();
    EXPECT_EQ(workspace, KindsOf({Kind<IeventLibraryAdded>(), Kind<IeventLibraryRemoved>(),
                                  Kind<IeventFilePreParse>(), Kind<IeventFileAndModulePostParse>()}));

    // A view hearing a class is counted while it lives.
    const bool before = IeventView::MayBeHeard<IeventCvlibChanged>();
    {
        NamingView deaf(KindsOf({Kind<IeventLibraryAdded>()}));
        EXPECT_EQ(IeventView::MayBeHeard<IeventCvlibChanged>(), before);
        NamingView hearing(KindsOf({Kind<IeventCvlibChanged>()}));
        EXPECT_TRUE(IeventView::MayBeHeard<IeventCvlibChanged>());
    }
    EXPECT_EQ(IeventView::MayBeHeard<IeventCvlibChanged>(), before);
}

TEST_F(ScanEventsHeard, RandomDesignsGiveEveryViewTheEventsItHearsWhetherOrNotUnitChangesAreSent)
{
    ASSERT_FALSE(IeventView::MayBeHeard<IeventModuleModified>()) << "a view alive hears every event";
    IeventKinds allButUnitChanges;
    allButUnitChanges.set().reset(Kind<IeventModuleModified>());
    int changesSent = 0;
    for (unsigned seed = 0; seed < 5; ++seed) {
        std::mt19937 random(seed);
        const std::vector<File> files = Design(random);
        const Heard plain = ParseAll(files, IeventKinds().set(), true);
        Clear();
        const Heard without = ParseAll(files, allButUnitChanges, false);
        Clear();
        EXPECT_EQ(without.events, plain.events) << "seed " << seed;
        EXPECT_EQ(without.tree, plain.tree) << "seed " << seed;
        // Units a view was shown still tell of their changes in batches.
        EXPECT_LE(without.unitChanges, plain.unitChanges) << "seed " << seed;
        changesSent += plain.unitChanges;
    }
    EXPECT_GT(changesSent, 5);
}

TEST_F(ScanEventsHeard, RandomDesignsLinkAlikeWhetherUseClausesAreLookedUpOnceOrAtEachInstance)
{
    struct Plain {
        Plain() { ZorpaParser<ImodelModule*>::LookUpUseClausesEveryTime(true); }
        ~Plain() { ZorpaParser<ImodelModule*>::LookUpUseClausesEveryTime(false); }
    };
    for (unsigned seed = 100; seed < 106; ++seed) {
        std::mt19937 random(seed);
        const std::vector<File> files = Design(random);
        Heard plain;
        {
            const Plain everyTime;
            plain = ParseAll(files, IeventKinds().set(), true);
        }
        Clear();
        const Heard once = ParseAll(files, IeventKinds().set(), true);
        Clear();
        EXPECT_EQ(once.tree, plain.tree) << "seed " << seed;
        EXPECT_EQ(once.events, plain.events) << "seed " << seed;
        EXPECT_EQ(once.unitChanges, plain.unitChanges) << "seed " << seed;
    }
}
