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
         "VALUE=\"huge\",NUM=99999999999\nVALUE=\"Impl2\",NUM= 2 \nCURREV=2");
    EXPECT_EQ(Names(), (Lines{"Impl1", "Impl2"}));
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
