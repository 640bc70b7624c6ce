#include "MessageRecorder.h"
#include "ModuleTestSupport.h"
#include "TempFolder.h"
#include "TextLines.h"

#include "ConsoleHost.h"
#include "ievent/IeventCatalogue.h"
#include "ievent/IeventClasses.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/Sys.h>
#include <kemlet/KemletFileStructure.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Records the place-and-route view events in order, with their view numbers.
class ViewEvents : public IeventView {
public:
    ViewEvents() : IeventView(nullptr) {}

#define VIEW_EVENTS_UPDATE_VIEW(Event)                                                                                 \
    void UpdateView(const Event& event) override { Record(#Event, event); }
    QUORLANE_IEVENT_CATALOGUE(VIEW_EVENTS_UPDATE_VIEW)
#undef VIEW_EVENTS_UPDATE_VIEW

    // Taken and forgotten.
    Lines Take() { return std::exchange(m_log, {}); }

private:
    void Record(std::string name, const Ievent& event)
    {
        const std::string prefix = "IeventPallador";
        if (name.rfind(prefix, 0) != 0) return;
        name.erase(0, prefix.size());
        if (const auto* active = dynamic_cast<const IeventPalladorViewChangedActive*>(&event))
            name += " " + std::to_string(active->GetOldRev());
        if (const auto* view = dynamic_cast<const Ievent_DesignViewParent*>(&event))
            name += " " + std::to_string(view->GetRevNum());
        m_log.push_back(name);
    }

    Lines m_log;
};

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
        m_events.Take();
        Design().SetNeedSave(false);
    }

    static Lines Names()
    {
        Lines names;
        Views().GetRevisionNames(&names);
        return names;
    }
    static std::vector<int> Numbers()
    {
        std::vector<int> numbers;
        Views().GetRevisionNumbers(&numbers);
        return numbers;
    }
    static std::string Written()
    {
        std::ostringstream stream;
        Views().WriteRevisions(&stream);
        return stream.str();
    }
    bool Exists(const std::string& folder) const { return UtlDoesPathExist(m_project / folder); }

    // A design unit of "work", deleted by the design's reset.
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
    static std::string CurrentRevision(const ImodelModule* unit)
    {
        std::string name;
        unit->GetContext()->GetRevisionName(unit->GetContext(), name);
        return name;
    }

    TempFolder m_project;
    ViewEvents m_events;
    MessageRecorder m_messages;

private:
    ImodelFileName m_oldFolder;
};

const std::string kThreeViews = "VALUE=\"Impl1\",NUM=1\nVALUE=\"Impl2\",NUM=2\nVALUE=\"Impl3\",NUM=3\n";

}  // namespace

TEST_F(RevisionManager, WrittenViewsReadBackEqual)
{
    EXPECT_EQ(Views().GetRevisionCount(), 0);
    EXPECT_EQ(Views().GetCurrentRevisionNumber(), 0);
    Read("VALUE=\"Impl1\",NUM=1\nVALUE=\"fast run\",NUM=3\nVALUE=\"Impl2\",NUM=2\nOTHER=1\nCURREV=2");
    const std::string text = Written();
    EXPECT_EQ(text, "LIST REVISIONS\nVALUE=\"Impl1\",NUM=1\nVALUE=\"fast run\",NUM=3\nVALUE=\"Impl2\",NUM=2\n"
                    "CURREV=2\nENDLIST\n");
    EXPECT_EQ(Views().GetCurrentRevisionName(), "fast run");
    EXPECT_EQ(Views().GetCurrentRevisionNumber(), 3);
    EXPECT_EQ(Views().GetLastRevisionNumber(), 2);

    // Through the project-file parser, as the project reader hands the lines on.
    KemletFileStructure* structure = KemletFileGetNewStructure();
    structure->Parse("test.prj", text, "");
    Lines lines = structure->GetLIST("REVISIONS", true)->GetLines();
    KemletFileDeleteStructure(structure);
    Views().RemoveAllViews();
    m_events.Take();
    Views().ReadRevisions(lines);
    EXPECT_EQ(m_events.Take(), (Lines{"ViewsChanged"}));
    EXPECT_EQ(Names(), (Lines{"Impl1", "fast run", "Impl2"}));
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(Views().GetCurrentIndex(), 2);
    EXPECT_EQ(Written(), text);

    // Names compare exactly, but FindView ignores letter case.
    EXPECT_TRUE(Views().IsCurrentRevision("fast run"));
    EXPECT_FALSE(Views().IsCurrentRevision("Impl1"));
    EXPECT_EQ(Views().GetRevisionNumber("Impl2"), 2);
    EXPECT_EQ(Views().GetRevisionNumber("IMPL1"), -1);
    EXPECT_TRUE(Views().FindView("IMPL1"));
    EXPECT_FALSE(Views().FindView("Impl4"));
    EXPECT_FALSE(Views().FindView(nullptr));
    EXPECT_EQ(Views().GetRevisionNameByNumber(3), "fast run");
    EXPECT_EQ(Views().GetRevisionNameByNumber(4), "");
    Views().GetRevisionNames(nullptr);
    Views().GetRevisionNumbers(nullptr);
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
         "VALUE=\"huge\",NUM=99999999999\n"
         "VALUE=\"Impl2\",NUM= 2 \nCURREV=2");
    EXPECT_EQ(Names(), (Lines{"Impl1", "Impl2"}));
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl2");
    EXPECT_EQ(m_messages.WithId("VALUE_IGNORED").size(), 8u);
}

TEST_F(RevisionManager, ABlockWithoutViewsGivesOneNewCurrentView)
{
    Lines lines{"CURREV=1"};
    Views().ReadRevisions(lines);
    EXPECT_EQ(Names(), (Lines{"Impl1"}));
    EXPECT_EQ(Views().GetCurrentRevisionNumber(), 1);
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_TRUE(Exists("pallador/impl1/simulation"));
    EXPECT_EQ(m_events.Take(), (Lines{"ViewAdded 1", "ViewsChanged", "ViewChangedActive 0 1", "ViewsChanged"}));
}

TEST_F(RevisionManager, ANewViewIsNumberedAboveEveryOtherAndBecomesCurrent)
{
    Read("VALUE=\"Impl1\",NUM=1\nVALUE=\"Impl3\",NUM=3\nVALUE=\"Impl2\",NUM=2\nCURREV=1");
    ASSERT_TRUE(Views().CreateView("", "", false, false));
    EXPECT_EQ(Names(), (Lines{"Impl1", "Impl3", "Impl2", "Impl4"}));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl4");
    EXPECT_EQ(m_events.Take(), (Lines{"ViewAdded 4", "ViewsChanged", "ViewChangedActive 1 4"}));
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_TRUE(Exists("pallador/impl4"));
    EXPECT_TRUE(Exists("pallador/impl4/simulation"));
    EXPECT_FALSE(Exists("pallador/impl4/simulation/postlayout"));

    // Elsewhere than in the project folder.
    TempFolder elsewhere;
    ASSERT_TRUE(Views().CreateView("far", elsewhere.Path(), false, false));
    EXPECT_EQ(Views().GetRevisionNumber("far"), 5);
    EXPECT_TRUE(UtlDoesPathExist(elsewhere / "pallador/impl5/simulation"));
    m_events.Take();

    // A name that is taken or cannot be stored, or a folder that cannot be
    // made, creates nothing.
    m_project.Write("blocked", "a file where the folder would go");
    EXPECT_FALSE(Views().CreateView("Impl1", "", false, false));
    EXPECT_FALSE(Views().CreateView("say \"hi\"", "", false, false));
    EXPECT_FALSE(Views().CreateView("blocked", m_project / "blocked", false, false));
    EXPECT_EQ(Views().GetRevisionCount(), 5);
    EXPECT_EQ(Views().GetCurrentRevisionName(), "far");
    EXPECT_TRUE(m_events.Take().empty());
    EXPECT_EQ(m_messages.WithId("UNABLE_TO_CREATE_DIR").size(), 1u);
}

TEST_F(RevisionManager, EveryModuleFollowsTheViews)
{
    ImodelModule* top = AddUnit("top");
    ImodelModule* sub = AddUnit("sub");
    Read(kThreeViews + "CURREV=2");
    for (const ImodelModule* unit : {top, sub}) {
        EXPECT_EQ(RevisionNames(unit), (Lines{"Impl1", "Impl2", "Impl3"}));
        EXPECT_EQ(CurrentRevision(unit), "Impl2");
    }
    EXPECT_EQ(Views().GetRevisionNumberOfContext(top, top->GetContext()), 2);
    EXPECT_EQ(Views().GetRevisionNumberOfContext(top, top->GetContext()->FindRevision(std::string("Impl3"))), 3);
    EXPECT_EQ(Views().GetRevisionNumberOfContext(nullptr, top->GetContext()), -1);

    // A new view starts as a copy of the module's current one.
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    top->GetContext()->SetFlowOptions(options);
    ASSERT_TRUE(Views().CreateView("trial", "", false, false));
    EXPECT_EQ(RevisionNames(sub), (Lines{"Impl1", "Impl2", "Impl3", "trial"}));
    EXPECT_EQ(CurrentRevision(top), "trial");
    EXPECT_TRUE(top->GetContext()->GetFlowOptions()->UsePhySynth);

    ASSERT_TRUE(Views().ModifyView("Impl1", "first"));
    ASSERT_TRUE(Views().DeleteView("Impl3"));
    ASSERT_TRUE(Views().SetActiveView("first", false, false));
    for (const ImodelModule* unit : {top, sub}) {
        EXPECT_EQ(RevisionNames(unit), (Lines{"first", "Impl2", "trial"}));
        EXPECT_EQ(CurrentRevision(unit), "first");
    }
}

TEST_F(RevisionManager, DeletingAViewActivatesItsNeighbourWhenItWasCurrent)
{
    // The current view last in the list: the one before it takes over.
    Read(kThreeViews + "CURREV=3");
    m_project.Write("pallador/impl3/run.log", "");
    ASSERT_TRUE(Views().DeleteView("Impl3"));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl2");
    EXPECT_EQ(m_events.Take(), (Lines{"ViewWillBeRemoved 3", "ViewsChanged", "ViewChangedActive 2 2"}));
    EXPECT_FALSE(Exists("pallador/impl3"));
    EXPECT_TRUE(Design().GetNeedSave());

    // The current view inside the list: the next one takes over.
    Read(kThreeViews + "CURREV=2");
    ASSERT_TRUE(Views().DeleteView("Impl2"));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl3");
    EXPECT_EQ(m_events.Take(), (Lines{"ViewWillBeRemoved 2", "ViewsChanged", "ViewChangedActive 3 3"}));

    // A view before the current one: the current view stays.
    Read(kThreeViews + "CURREV=3");
    ASSERT_TRUE(Views().DeleteView("Impl1"));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl3");
    EXPECT_EQ(Views().GetCurrentIndex(), 2);
    EXPECT_EQ(m_events.Take(), (Lines{"ViewWillBeRemoved 1", "ViewsChanged"}));

    // The last remaining view and unknown names stay.
    Read("VALUE=\"Impl1\",NUM=1\nCURREV=1");
    EXPECT_FALSE(Views().DeleteView("Impl1"));
    Read(kThreeViews);
    EXPECT_FALSE(Views().DeleteView("impl2"));
    EXPECT_EQ(Views().GetRevisionCount(), 3);
    EXPECT_TRUE(m_events.Take().empty());
}

TEST_F(RevisionManager, WithoutAProjectFolderNoFolderIsDeleted)
{
    Read(kThreeViews + "CURREV=1");
    m_project.Write("pallador/impl2/run.log", "");
    Design().SetProjectFolder("");
    ASSERT_TRUE(Views().DeleteView("Impl2"));
    EXPECT_TRUE(UtlDoesFileExist(m_project / "pallador/impl2/run.log"));
    EXPECT_EQ(Names(), (Lines{"Impl1", "Impl3"}));
}

TEST_F(RevisionManager, RenamingKeepsNamesApart)
{
    Read(kThreeViews + "CURREV=1");
    EXPECT_FALSE(Views().ModifyView("Impl1", "Impl2"));
    EXPECT_FALSE(Views().ModifyView("Impl1", "Impl1"));
    EXPECT_FALSE(Views().ModifyView("Impl1", "two\nlines"));
    EXPECT_FALSE(Views().ModifyView("Impl1", ""));
    EXPECT_TRUE(m_events.Take().empty());
    EXPECT_FALSE(Design().GetNeedSave());

    EXPECT_TRUE(Views().ModifyView("Impl2", "timing"));
    EXPECT_EQ(m_events.Take(), (Lines{"ViewModified 2", "ViewsChanged"}));
    EXPECT_EQ(Views().GetRevisionNumber("timing"), 2);
    EXPECT_TRUE(Design().GetNeedSave());
    EXPECT_FALSE(Views().ModifyView("Impl2", "other"));
    EXPECT_EQ(m_events.Take(), (Lines{"ViewsChanged"}));
}

TEST_F(RevisionManager, ActivatingAViewMakesSureItsFolderExists)
{
    Read(kThreeViews + "CURREV=1");
    EXPECT_FALSE(Exists("pallador/impl3"));
    EXPECT_TRUE(Views().SetActiveView("Impl3", true, false));
    EXPECT_TRUE(Exists("pallador/impl3"));
    EXPECT_EQ(m_events.Take(), (Lines{"ViewsChanged", "ViewChangedActive 1 3"}));

    // An unknown name still tells the views, and changes nothing.
    EXPECT_FALSE(Views().SetActiveView("Impl9", false, false));
    EXPECT_EQ(m_events.Take(), (Lines{"ViewsChanged", "ViewChangedActive 3 3"}));
    EXPECT_EQ(Views().GetCurrentRevisionName(), "Impl3");

    Views().RemoveAllViews();
    EXPECT_EQ(m_events.Take(),
              (Lines{"ViewWillBeRemoved 1", "ViewWillBeRemoved 2", "ViewWillBeRemoved 3", "ViewsChanged"}));
    EXPECT_EQ(Views().GetCurrentIndex(), 0);
    EXPECT_EQ(Views().GetCurrentRevisionName(), "");
}

TEST_F(RevisionManager, ACopyOfTheCurrentViewCopiesItsFolder)
{
    Imodel::GetInstance().SetHost(&ConsoleHost::GetInstance());
    Read("VALUE=\"Impl1\",NUM=1\nCURREV=1");
    m_project.Write("pallador/impl1/top.adb", "placed");
    m_project.Write("pallador/impl1/reports/timing.rpt", "slack");
    ASSERT_TRUE(Views().CreateView("copy", "", true, false));
    EXPECT_EQ(m_project.Read("pallador/impl2/top.adb"), "placed");
    EXPECT_EQ(m_project.Read("pallador/impl2/reports/timing.rpt"), "slack");
    EXPECT_EQ(Views().GetCurrentRevisionName(), "copy");
}

TEST(ConsoleHostCopy, TheToolDecidesAndACopyNeverEntersItsOwnTarget)
{
    TempFolder folder;
    folder.Write("src/a.txt", "a");
    folder.Write("src/keep.log", "k");
    folder.Write("src/sub/b.txt", "b");
    // The target lies below the source.
    ImodelCopyDirTool tool(folder / "src", folder / "src/sub/copy", "*.txt");
    tool.MakeCopiedFilesReadOnly(true, nullptr);
    EXPECT_TRUE(ConsoleHost::GetInstance().CopyFolder(tool, true));
    EXPECT_EQ(folder.Read("src/sub/copy/a.txt"), "a");
    EXPECT_EQ(folder.Read("src/sub/copy/sub/b.txt"), "b");
    EXPECT_FALSE(UtlDoesDiskObjectExist(folder / "src/sub/copy/keep.log"));
    EXPECT_FALSE(UtlDoesDiskObjectExist(folder / "src/sub/copy/sub/copy"));
    EXPECT_TRUE(SysHasReadOnlyAttr(folder / "src/sub/copy/a.txt"));
    // The tool's folders are its own again afterwards.
    EXPECT_EQ(tool.GetSourceFolder().GetString(), folder / "src");

    MessageRecorder messages;
    ImodelCopyDirTool missing(folder / "none", folder / "target", "*");
    EXPECT_FALSE(ConsoleHost::GetInstance().CopyFolder(missing, false));
    EXPECT_EQ(messages.WithId("UNABLE_TO_COPY").size(), 1u);
}

TEST_F(RevisionManager, TheViewDescriptionNamesTheFilesBetweenQuotes)
{
    Read(kThreeViews + "CURREV=1");
    const std::string longName(3000, 'x');
    m_project.Write("pallador/impl2/impl.prj_pld", "KEY \"top.ADB\"\r\n"
                                                   "no quotes\r\n"
                                                   "one \" quote\n"
                                                   "empty \"\"\n"
                                                   "VALUE \"" +
                                                       longName +
                                                       ".sdf\"\n"
                                                       "x \"a \"b\" c.pdc\" y");
    ImodelFileTypeList files{{"stale", zorpaFT_HDL}};
    ASSERT_TRUE(Views().ReadViewDescription(files, 2));
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], std::make_pair(ImodelFileName("top.ADB"), zorpaFT_ADB));
    EXPECT_EQ(files[1].first.GetString(), longName + ".sdf");
    EXPECT_EQ(files[1].second, zorpaFT_SDF);
    EXPECT_EQ(files[2].first.GetString(), "a \"b\" c.pdc");

    EXPECT_FALSE(Views().ReadViewDescription(files, 3));
    EXPECT_TRUE(files.empty());
}

TEST_F(RevisionManager, DisplayTextsAndTheFlowReport)
{
    ImodelModule* top = AddUnit("top");
    Read("VALUE=\"Impl1\",NUM=1\nVALUE=\"A&B <fast>\",NUM=2\nCURREV=2");
    std::string text = "stale";
    EXPECT_TRUE(Views().GetDisplayText(2, text));
    EXPECT_EQ(text, "A&B <fast> (pallador/impl2)");
    EXPECT_FALSE(Views().GetDisplayText(7, text));
    EXPECT_EQ(text, "");

    const std::string head =
        "<br>Pallador View <b>A&amp;B &lt;fast&gt;</b><br><br>Location: " + m_project.Path() + "/pallador/impl2<br>";
    std::string html;
    EXPECT_TRUE(Views().GetFlowReport(2, html));
    EXPECT_EQ(html, head);

    Design().SetRootId(top->GetComponentID());
    ImodelFlowOptions options;
    options.UseSynth = false;
    top->GetContext()->SetFlowOptions(options);
    EXPECT_TRUE(Views().GetFlowReport(2, html));
    EXPECT_EQ(html, head + "<br>Flow configuration for module top::work:<br><t>Synthesis tool is de-activated"
                           "<br><t>DAVIRI tool is de-activated<br>");
    EXPECT_TRUE(Views().GetFlowReport(9, html));
    EXPECT_EQ(html.substr(0, 30), "<br>Pallador View <b></b><br><");
}
