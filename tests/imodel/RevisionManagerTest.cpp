// The place-and-route views of a project: the views block through the
// project-file reader, broken views, creating, renaming, deleting and
// activating views with their events and folders.
#include "MessageRecorder.h"
#include "ModuleTestSupport.h"
#include "ProjectFileBlock.h"
#include "RecordingView.h"
#include "TempFolder.h"
#include "TextLines.h"

#include "ievent/IeventClasses.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The place-and-route view events the view heard since the last call, with
// their view numbers.
Lines ViewEvents(RecordingView& view)
{
    Lines log;
    for (std::size_t i = 0; i < view.Names().size(); ++i) {
        const std::string prefix = "IeventPallador";
        if (view.Names()[i].rfind(prefix, 0) != 0) continue;
        std::string name = view.Names()[i].substr(prefix.size());
        if (const auto* active = dynamic_cast<const IeventPalladorViewChangedActive*>(view.Events()[i]))
            name += " " + std::to_string(active->GetOldRev());
        if (const auto* changed = dynamic_cast<const Ievent_DesignViewParent*>(view.Events()[i]))
            name += " " + std::to_string(changed->GetRevNum());
        log.push_back(name);
    }
    view.Clear();
    return log;
}

class RevisionManager : public ::testing::Test {
protected:
    RevisionManager() : m_oldFolder(Design().GetProjectFolder())
    {
        Design().Reset();
        Design().SetProjectFolder(m_project.Path());
    }
    ~RevisionManager() override
    {
        Views().RemoveAllViews();
        Design().Reset();
        Design().SetProjectFolder(m_oldFolder);
        Design().SetNeedSave(false);
        Imodel::GetInstance().SetHost(nullptr);
    }

    static ImodelRevisionManager& Views() { return *Imodel::GetInstance().GetRevisionManager(); }
    void Read(const std::string& text)
    {
        Lines lines = TextLines(text);
        Views().ReadRevisions(lines);
        EXPECT_TRUE(lines.empty());
        ViewEvents(m_events);
        Design().SetNeedSave(false);
    }
    static Lines Names()
    {
        Lines names;
        Views().GetRevisionNames(&names);
        return names;
    }
    static std::string Written()
    {
        return WrittenBy([](std::ostream* stream) { Views().WriteRevisions(stream); });
    }
    bool Exists(const std::string& folder) const { return UtlDoesPathExist(m_project / folder); }
    static ImodelModule* AddUnit(const std::string& name)
    {
        return Design().AddLibrary("work", false)->GetModules()->Insert(MakeModule(name)).first;
    }
    static Lines RevisionNames(const ImodelModule* unit)
    {
        Lines names;
        for (const ImodelRevContextImpl* revision : unit->GetContext()->GetAllRevs())
            names.push_back(revision->GetName());
        return names;
    }

    TempFolder m_project;
    RecordingView m_events;
    MessageRecorder m_messages;

private:
    ImodelFileName m_oldFolder;
};

const std::string kThreeViews = "VALUE=\"Impl1\",NUM=1\nVALUE=\"Impl2\",NUM=2\nVALUE=\"Impl3\",NUM=3\n";

}  // namespace

TEST_F(RevisionManager, WrittenViewsReadBackEqualThroughTheProjectFileReader)
{
    Read("VALUE=\"Impl1\",NUM=1\nVALUE=\"fast run\",NUM=3\nVALUE=\"Impl2\",NUM=2\nOTHER=1\nCURREV=2");
    const std::string text = Written();
    EXPECT_EQ(text, "LIST REVISIONS\nVALUE=\"Impl1\",NUM=1\nVALUE=\"fast run\",NUM=3\nVALUE=\"Impl2\",NUM=2\n"
                    "CURREV=2\nENDLIST\n");
    EXPECT_EQ(Views().GetCurrentRevisionName(), "fast run");
    EXPECT_EQ(Views().GetLastRevisionNumber(), 2);

    Lines lines = ProjectFileBlock(text, "REVISIONS");
    Views().RemoveAllViews();
    ViewEvents(m_events);
    Views().ReadRevisions(lines);
    EXPECT_EQ(ViewEvents(m_events), (Lines{"ViewsChanged"}));
    EXPECT_EQ(Names(), (Lines{"Impl1", "fast run", "Impl2"}));
    EXPECT_EQ(Written(), text);

    // Names compare exactly, but FindView ignores letter case.
    EXPECT_EQ(Views().GetRevisionNumber("IMPL1"), -1);
    EXPECT_TRUE(Views().FindView("IMPL1"));
    EXPECT_FALSE(Views().FindView(nullptr));
    EXPECT_EQ(Views().GetRevisionNameByNumber(4), "");
}

TEST_F(RevisionManager, ReadingChoosesTheCurrentViewAndDropsBrokenViews)
{
    for (const char* current : {"CURREV=0", "CURREV=4", "CURREV=x", "", "CURREV=-1"}) {
        Read(kThreeViews + current);
        EXPECT_EQ(Views().GetCurrentIndex(), 1) << current;
    }
    // Views whose number is not positive or taken, or whose name is empty,
    // taken or broken, are dropped with a message each.
    Read("VALUE=\"zero\",NUM=0\nVALUE=\"minus\",NUM=-2\nVALUE=\"Impl1\",NUM=1\nVALUE=\"again\",NUM=1\n"
         "VALUE=\"Impl1\",NUM=5\nVALUE=\"\",NUM=6\nVALUE=\"no number\"\nVALUE=Impl7,NUM=7\n"
         "VALUE=\"huge\",NUM=99999999999\nVALUE=\"Impl2\",NUM= 2 \nCURREV=7");
    EXPECT_EQ(Names(), (Lines{"Impl1", "Impl2"}));
    // CURREV counts the lines that read as a view, dropped ones too.
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl2");
    EXPECT_EQ(m_messages.WithId("VALUE_IGNORED").size(), 8u);

    // A block without views gives one new current view.
    Views().RemoveAllViews();
    ViewEvents(m_events);
    Lines lines{"CURREV=1"};
    Views().ReadRevisions(lines);
    EXPECT_EQ(Names(), (Lines{"Impl1"}));
    EXPECT_TRUE(Exists("pallador/impl1/simulation"));
    EXPECT_EQ(ViewEvents(m_events), (Lines{"ViewAdded 1", "ViewsChanged", "ViewChangedActive 0 1", "ViewsChanged"}));

    // It is kept, with every unit's revision for it, when its folder cannot
    // be made (a file stands where the views' folder goes): the folder is
    // reported, and a save still writes the view.
    const ImodelModule* unit = AddUnit("top");
    Views().RemoveAllViews();
    std::filesystem::remove_all(m_project / "pallador");
    std::ofstream(m_project / "pallador") << "not a folder\n";
    Lines again{"CURREV=1"};
    Views().ReadRevisions(again);
    EXPECT_EQ(Names(), (Lines{"Impl1"}));
    EXPECT_EQ(Views().GetCurrentIndex(), 1);
    EXPECT_EQ(RevisionNames(unit), (Lines{"Impl1"}));
    EXPECT_FALSE(m_messages.WithId("UNABLE_TO_CREATE_DIR").empty());
    EXPECT_EQ(Written(), "LIST REVISIONS\nVALUE=\"Impl1\",NUM=1\nCURREV=1\nENDLIST\n");
}

TEST_F(RevisionManager, ANewViewIsNumberedAboveEveryOtherAndBecomesCurrent)
{
    Read("VALUE=\"Impl1\",NUM=1\nVALUE=\"Impl3\",NUM=3\nVALUE=\"Impl2\",NUM=2\nCURREV=1");
    ASSERT_TRUE(Views().CreateView("", "", false, false));
    EXPECT_EQ(Names(), (Lines{"Impl1", "Impl3", "Impl2", "Impl4"}));
    EXPECT_EQ(ViewEvents(m_events), (Lines{"ViewAdded 4", "ViewsChanged", "ViewChangedActive 1 4"}));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_TRUE(Exists("pallador/impl4/simulation"));

    TempFolder elsewhere;
    ASSERT_TRUE(Views().CreateView("far", elsewhere.Path(), false, false));
    EXPECT_TRUE(UtlDoesPathExist(elsewhere / "pallador/impl5/simulation"));
    ViewEvents(m_events);

    // A name that is taken or cannot be stored, or a folder that cannot be
    // made, creates nothing.
    m_project.Write("blocked", "a file where the folder would go");
    EXPECT_FALSE(Views().CreateView("Impl1", "", false, false));
    EXPECT_FALSE(Views().CreateView("say \"hi\"", "", false, false));
    EXPECT_FALSE(Views().CreateView("blocked", m_project / "blocked", false, false));
    EXPECT_EQ(Views().GetRevisionCount(), 5);
    EXPECT_TRUE(ViewEvents(m_events).empty());
    EXPECT_EQ(m_messages.WithId("UNABLE_TO_CREATE_DIR").size(), 1u);
}

TEST_F(RevisionManager, EveryModuleFollowsTheViews)
{
    ImodelModule* top = AddUnit("top");
    ImodelModule* sub = AddUnit("sub");
    Read(kThreeViews + "CURREV=2");
    EXPECT_EQ(RevisionNames(sub), (Lines{"Impl1", "Impl2", "Impl3"}));
    EXPECT_EQ(Views().GetRevisionNumberOfContext(top, top->GetContext()->FindRevision(std::string("Impl3"))), 3);

    // A new view starts as a copy of the module's current one.
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    top->GetContext()->SetFlowOptions(options);
    ASSERT_TRUE(Views().CreateView("trial", "", false, false));
    EXPECT_TRUE(top->GetContext()->GetFlowOptions()->UsePhySynth);
    ASSERT_TRUE(Views().ModifyView("Impl1", "first"));
    ASSERT_TRUE(Views().DeleteView("Impl3"));
    ASSERT_TRUE(Views().SetActiveView("first", false, false));
    for (const ImodelModule* unit : {top, sub}) {
        EXPECT_EQ(RevisionNames(unit), (Lines{"first", "Impl2", "trial"}));
        std::string name;
        unit->GetContext()->GetRevisionName(unit->GetContext(), name);
        EXPECT_EQ(name, "first");
    }
}

TEST_F(RevisionManager, DeletingAViewActivatesItsNeighbourWhenItWasCurrent)
{
    Read(kThreeViews + "CURREV=3");
    m_project.Write("pallador/impl3/run.log", "");
    ASSERT_TRUE(Views().DeleteView("Impl3"));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl2");  // the last one: the one before takes over
    EXPECT_EQ(ViewEvents(m_events), (Lines{"ViewWillBeRemoved 3", "ViewsChanged", "ViewChangedActive 2 2"}));
    EXPECT_FALSE(Exists("pallador/impl3"));

    Read(kThreeViews + "CURREV=2");
    ASSERT_TRUE(Views().DeleteView("Impl2"));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl3");  // inside the list: the next one
    Read(kThreeViews + "CURREV=3");
    ASSERT_TRUE(Views().DeleteView("Impl1"));
    EXPECT_EQ(ViewEvents(m_events), (Lines{"ViewWillBeRemoved 1", "ViewsChanged"}));

    // The last remaining view and unknown names stay.
    Read("VALUE=\"Impl1\",NUM=1\nCURREV=1");
    EXPECT_FALSE(Views().DeleteView("Impl1"));
    Read(kThreeViews);
    EXPECT_FALSE(Views().DeleteView("impl2"));

    // Without a project folder no folder is deleted.
    m_project.Write("pallador/impl2/run.log", "");
    Design().SetProjectFolder("");
    ASSERT_TRUE(Views().DeleteView("Impl2"));
    EXPECT_TRUE(UtlDoesFileExist(m_project / "pallador/impl2/run.log"));
}

TEST_F(RevisionManager, ViewsAndEveryModuleAnswerByNameAndNumberThroughRandomChanges)
{
    // Enough views that the lists are looked up through their indexes;
    // every answer is checked against a plain list kept by the test.
    ImodelModule* top = AddUnit("top");
    ImodelModule* sub = AddUnit("sub");
    std::vector<std::pair<std::string, int>> views;
    std::string text;
    for (int number = 1; number <= 40; ++number) {
        views.emplace_back("v" + std::to_string(number), number);
        text += "VALUE=\"v" + std::to_string(number) + "\",NUM=" + std::to_string(number) + "\n";
    }
    Read(text + "CURREV=1");
    std::mt19937 random(28);
    const auto pick = [&random](std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); };
    int made = 0;
    for (int change = 0; change < 120; ++change) {
        const std::string name = views[pick(views.size())].first;
        switch (pick(4)) {
        case 0: {
            const std::string fresh = "new" + std::to_string(++made);
            int highest = 0;
            for (const auto& view : views) highest = std::max(highest, view.second);
            ASSERT_TRUE(Views().CreateView(fresh, "", false, false));
            views.emplace_back(fresh, highest + 1);
            break;
        }
        case 1:
            if (views.size() > 1) {
                ASSERT_TRUE(Views().DeleteView(name));
                std::erase_if(views, [&name](const auto& view) { return view.first == name; });
            }
            break;
        case 2: {
            const std::string renamed = "r" + std::to_string(change);
            ASSERT_TRUE(Views().ModifyView(name, renamed));
            for (auto& view : views)
                if (view.first == name) view.first = renamed;
            // A name another view has is refused.
            EXPECT_FALSE(Views().ModifyView(views.front().first, views.back().first));
            break;
        }
        case 3:
            ASSERT_TRUE(Views().SetActiveView(name, false, false));
            EXPECT_EQ(Views().GetCurrentRevisionName(), name);
            break;
        }
        Lines names;
        for (const auto& [each, number] : views) {
            names.push_back(each);
            EXPECT_EQ(Views().GetRevisionNumber(each), number);
            EXPECT_EQ(Views().GetRevisionNameByNumber(number), each);
            for (const ImodelModule* unit : {top, sub}) {
                const ImodelRevContextImpl* revision = unit->GetContext()->FindRevision(each);
                ASSERT_NE(revision, nullptr) << each;
                EXPECT_EQ(revision->GetName(), each);
                EXPECT_EQ(unit->GetContext()->FindRevision(static_cast<const ImodelRevContext*>(revision)), revision);
            }
        }
        ASSERT_EQ(Names(), names) << "after change " << change;
        EXPECT_EQ(RevisionNames(top), names);
        EXPECT_EQ(top->GetContext()->FindRevision(std::string("gone")), nullptr);
        EXPECT_EQ(Views().GetRevisionNumber("gone"), -1);
    }
    Views().RemoveAllViews();
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(Views().GetRevisionNumber(views.front().first), -1);
}

TEST_F(RevisionManager, ReadingRandomListsKeepsWhatAPlainReadingKeeps)
{
    // Names and numbers drawn from small pools repeat; numbers come in
    // order, shuffled or not positive. A plain reading of the same lines
    // (first view of a name or number wins, in file order) says which views
    // stay, in which order, and which is current; every lookup must agree
    // with it, also after views are created, deleted and renamed, and after
    // the list is emptied and read again.
    std::mt19937 random(2028);
    const auto below = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    for (int round = 0; round < 60; ++round) {
        const int count = 1 + below(round % 3 == 0 ? 300 : 30);
        const int namePool = count + below(3) * count / 4;
        // A third of the lists are as a save writes them (names unique,
        // numbers rising with gaps), some with one flaw; the others have
        // repeats in order or are drawn at random.
        const int shape = round % 3;
        const int flaw = shape == 0 && below(2) == 0 ? below(count) : -1;
        const bool ordered = shape == 1 || (shape == 0 && below(2) == 0);
        std::string text;
        std::vector<std::pair<std::string, int>> listed;  // lines that read as a view, in file order
        int rising = 0;
        for (int line = 0; line < count; ++line) {
            rising += 1 + below(3);
            std::string name = "v" + std::to_string(ordered ? line + 1 : below(namePool) + 1);
            int number = ordered ? line + 1 + below(2) * below(3) : below(namePool + 2) - 1;
            if (shape == 0) {
                name = "v" + std::to_string(count - line) + "_" + std::to_string(line);
                number = rising;
                if (line == flaw) {
                    // A repeated name, a number out of order, or one not positive.
                    if (line > 0 && below(3) == 0)
                        name = listed[static_cast<std::size_t>(below(line))].first;
                    else
                        number = below(2) == 0 ? -below(2) : std::max(1, rising - 1 - below(3));
                }
            }
            // Lines of no view between them.
            if (below(20) == 0) text += "OTHER=1\n";
            text += "VALUE=\"" + name + "\",NUM=" + std::to_string(number) + "\n";
            listed.emplace_back(name, number);
        }
        const int currev = below(count + 2);
        Read(text + "CURREV=" + std::to_string(currev) + "\n");

        std::vector<std::pair<std::string, int>> kept;
        for (const auto& view : listed) {
            const bool taken = std::any_of(kept.begin(), kept.end(), [&view](const auto& other) {
                return other.first == view.first || other.second == view.second;
            });
            if (view.second > 0 && !taken) kept.push_back(view);
        }
        // CURREV counts the lines as the file lists them; a line dropped
        // for its name names the view kept under that name, and one whose
        // name no view kept names none (the first view is current).
        int current = 1;
        if (currev >= 1 && currev <= static_cast<int>(listed.size())) {
            const std::string& named = listed[static_cast<std::size_t>(currev - 1)].first;
            const auto found =
                std::find_if(kept.begin(), kept.end(), [&named](const auto& view) { return view.first == named; });
            if (found != kept.end()) current = static_cast<int>(found - kept.begin()) + 1;
        }
        if (kept.empty()) kept.emplace_back("Impl1", 1);

        const auto check = [&](const std::string& when) {
            Lines names;
            std::vector<int> numbers;
            for (const auto& [name, number] : kept) {
                names.push_back(name);
                numbers.push_back(number);
                ASSERT_EQ(Views().GetRevisionNumber(name), number) << when;
                ASSERT_EQ(Views().GetRevisionNameByNumber(number), name) << when;
            }
            ASSERT_EQ(Names(), names) << when;
            std::vector<int> read;
            Views().GetRevisionNumbers(&read);
            ASSERT_EQ(read, numbers) << when;
            for (int number = -1; number <= namePool + 4; ++number) {
                const bool known =
                    std::any_of(kept.begin(), kept.end(), [number](const auto& view) { return view.second == number; });
                if (!known) {
                    ASSERT_EQ(Views().GetRevisionNameByNumber(number), "") << when << " " << number;
                }
            }
            ASSERT_EQ(Views().GetRevisionNumber("v0"), -1) << when;
        };
        check("round " + std::to_string(round));
        ASSERT_EQ(Views().GetCurrentIndex(), current) << "round " << round;

        // A few changes of the list, each checked.
        for (int change = 0; change < 4; ++change) {
            const std::string name = kept[static_cast<std::size_t>(below(static_cast<int>(kept.size())))].first;
            if (change == 0) {
                int highest = 0;
                for (const auto& view : kept) highest = std::max(highest, view.second);
                const std::string fresh = "made" + std::to_string(round);
                ASSERT_TRUE(Views().CreateView(fresh, "", false, false));
                kept.emplace_back(fresh, highest + 1);
            } else if (change == 1 && kept.size() > 1) {
                ASSERT_TRUE(Views().DeleteView(name));
                std::erase_if(kept, [&name](const auto& view) { return view.first == name; });
            } else if (change == 2) {
                ASSERT_TRUE(Views().ModifyView(name, "renamed"));
                for (auto& view : kept)
                    if (view.first == name) view.first = "renamed";
            }
            check("round " + std::to_string(round) + " change " + std::to_string(change));
        }
        Views().RemoveAllViews();
        EXPECT_TRUE(Names().empty());
        for (const auto& [name, number] : kept) {
            EXPECT_EQ(Views().GetRevisionNumber(name), -1);
            EXPECT_EQ(Views().GetRevisionNameByNumber(number), "");
        }
    }
}
