#include "ContextTestProject.h"
#include "MessageRecorder.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

class Context : public ContextTestProject {
protected:
    // A module context with the views impl_1, impl_2 and impl_3, impl_2 current.
    static void AddThreeViews(ImodelContextImpl& context)
    {
        for (const char* name : {"impl_1", "impl_2", "impl_3"}) ASSERT_TRUE(context.AddRevision(name));
        context.SetCurRev("impl_2");
    }
};

}  // namespace

TEST_F(Context, ViewsAreFoundRenamedAndRemovedByExactName)
{
    MessageRecorder messages;
    ImodelContextImpl context("alu", nullptr);
    AddThreeViews(context);
    ImodelRevContextImpl* current = context.GetCurRevContext();
    EXPECT_EQ(context.FindRevision("IMPL_2"), nullptr);
    EXPECT_EQ(context.FindRevisionEx(&context), current);
    ImodelRevContextImpl stranger("impl_2", nullptr);
    EXPECT_EQ(context.FindRevisionEx(&stranger), nullptr);

    context.SetCurRev("impl_9");  // unknown names change nothing
    EXPECT_TRUE(context.IsCurRevContext(current));
    EXPECT_FALSE(context.RenameRevision("impl_9", "impl_8"));
    EXPECT_FALSE(context.AddRevision("impl\n4"));  // names that cannot be stored, or that another view has
    EXPECT_FALSE(context.RenameRevision("impl_1", "impl\"1"));
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 2u);
    EXPECT_FALSE(context.RenameRevision("impl_1", "impl_3"));
    EXPECT_TRUE(context.RenameRevision("impl_2", "fast"));
    EXPECT_EQ(context.FindRevision("fast"), current);

    // Removing the current view leaves none current, never a dangling one.
    context.RemoveRevision("fast");
    EXPECT_EQ(context.GetCurRevContext(), nullptr);
    EXPECT_EQ(context.GetSolvatoState(), Pre_Synthesis);
    ASSERT_EQ(context.GetAllRevs().size(), 2u);
}

namespace {

// One context as a test sees it: its views in order, the current one and
// what each holds.
std::string Dump(const ImodelContextImpl& context)
{
    std::string text;
    for (const ImodelRevContextImpl* view : context.GetAllRevs()) {
        text += view->GetName();
        if (context.IsCurRevContext(view)) text += "*";
        const ImodelFlowOptions& options = view->GetFlowOptions();
        text += "(" + std::to_string(options.UsePhySynth) + std::to_string(options.UseSynth) +
                std::to_string(view->GetSolvatoState()) + std::to_string(view->IsInDefaultState()) + ") ";
    }
    return text + "| " + std::to_string(context.IsInDefaultState());
}

// A random history of view changes and of units made, copied and changed
// between them, some units in the library (told of every view change), some
// outside it (told of none); the dump of every context at the end.
std::vector<std::string> ViewHistory(unsigned seed)
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    ImodelRevisionManager& views = *Imodel::GetInstance().GetRevisionManager();
    std::mt19937 random(seed);
    const auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    design.Reset();
    std::vector<std::string> lines;
    const int count = 1 + static_cast<int>(pick(5));
    for (int number = 1; number <= count; ++number)
        lines.push_back("VALUE=\"v" + std::to_string(number) + "\",NUM=" + std::to_string(number));
    lines.push_back("CURREV=" + std::to_string(1 + pick(static_cast<std::size_t>(count))));
    views.ReadRevisions(lines);

    std::vector<std::unique_ptr<ImodelContextImpl>> loose;
    std::vector<ImodelContextImpl*> contexts;
    int made = 0;
    for (int step = 0; step < 40; ++step) {
        std::vector<std::string> names;
        views.GetRevisionNames(&names);
        const std::string some = names.empty() ? std::string("none") : names[pick(names.size())];
        switch (pick(10)) {
        case 0: {  // a unit of the library
            auto unit = std::make_unique<ImodelModule>("u" + std::to_string(made++), nullptr, zorpaMODULE_VERILOG,
                                                       false, "", "", false);
            contexts.push_back(
                design.FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first->GetContext());
            break;
        }
        case 1:  // a context of no unit, told of nothing
            loose.push_back(std::make_unique<ImodelContextImpl>("loose", nullptr));
            contexts.push_back(loose.back().get());
            break;
        case 2:  // a copy of another, waiting or not
            if (!contexts.empty()) {
                loose.push_back(
                    std::make_unique<ImodelContextImpl>(*contexts[pick(contexts.size())], nullptr, pick(2) == 0));
                contexts.push_back(loose.back().get());
            }
            break;
        case 3:  // a context asked for its current view and changed there
            if (!contexts.empty()) {
                ImodelContextImpl& context = *contexts[pick(contexts.size())];
                if (ImodelFlowOptions* options = context.GetFlowOptions()) options->UsePhySynth = !options->UsePhySynth;
            }
            break;
        case 4:  // one context's revisions taken into another
            if (!contexts.empty())
                contexts[pick(contexts.size())]->DuplicateContextInfo(contexts[pick(contexts.size())], pick(2) == 0);
            break;
        case 5:
            views.CreateView("n" + std::to_string(step), ImodelFileName(), pick(2) == 0, false);
            break;
        case 6:
            views.DeleteView(some);
            break;
        case 7:
            views.ModifyView(some, "r" + std::to_string(step));
            break;
        case 8: {  // the list read again: the units keep theirs and gain the new names
            std::vector<std::string> again{"VALUE=\"" + some + "\",NUM=1",
                                           "VALUE=\"x" + std::to_string(step) + "\",NUM=2", "CURREV=2"};
            views.ReadRevisions(again);
            break;
        }
        default:
            views.SetActiveView(some, false, false);
            break;
        }
    }
    std::vector<std::string> dumps;
    for (const ImodelContextImpl* context : contexts) dumps.push_back(Dump(*context));
    loose.clear();
    design.Reset();
    views.RemoveAllViews();
    return dumps;
}

}  // namespace

TEST_F(Context, ContextsThatMakeTheirRevisionsWhenFirstNeededAnswerAsThoseMadeAtOnce)
{
    MessageRecorder messages;
    for (unsigned seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ImodelContextImpl::PlainRevisions() = true;
        const std::vector<std::string> plain = ViewHistory(seed);
        ImodelContextImpl::PlainRevisions() = false;
        EXPECT_EQ(ViewHistory(seed), plain);
    }
}

namespace {

// The files a view may choose in the history below: one file under three
// names (its full name and a case variant), another of the same title in
// another folder, and files of other titles and kinds.
std::vector<IfileObject> ChoosableFiles(const std::string& folder)
{
    std::vector<IfileObject> files;
    for (const char* name : {"<project>/flow/a.edn", "<project>/FLOW/A.EDN", "<project>/other/a.edn",
                             "<project>/flow/b.edn", "<project>/flow/a_sdc.sdc", "<project>/flow/a.pdc"}) {
        const std::string text(name);
        const zorpaFileManagerTypes type = text.ends_with("sdc")   ? zorpaFT_SYN_SDC
                                           : text.ends_with("pdc") ? zorpaFT_PDC
                                                                   : zorpaFT_SYN_EDN;
        files.emplace_back(text, type, ImodelFMInternal, true, true);
    }
    files.emplace_back(folder + "/flow/a.edn", zorpaFT_SYN_EDN, ImodelFMFull, true, true);
    return files;
}

// Every revision alive in `contexts` (the samples of those that wait for
// theirs included) that uses the file, as a walk over them finds it.
std::set<const ImodelRevContextImpl*> WalkForUsers(const std::vector<ImodelContextImpl*>& contexts,
                                                   const IfileObject& file)
{
    std::set<const ImodelRevContextImpl*> users;
    for (const ImodelContextImpl* context : contexts) {
        if (const ImodelRevContextImpl* sample = context->GetPendingSample())
            if (sample->IsFileUsed(file)) users.insert(sample);
        if (context->Pending()) continue;
        for (const ImodelRevContextImpl* revision : context->GetAllRevs())
            if (revision->IsFileUsed(file)) users.insert(revision);
    }
    return users;
}

}  // namespace

TEST_F(Context, TheViewsThatChoseAFileAreFoundByItsNameAsTheWalkFindsThem)
{
    MessageRecorder messages;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    ImodelRevisionManager& views = *Imodel::GetInstance().GetRevisionManager();
    const std::vector<IfileObject> files = ChoosableFiles(m_folder.Path());
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
        design.Reset();
        std::vector<std::string> list{"VALUE=\"v1\",NUM=1", "VALUE=\"v2\",NUM=2", "CURREV=1"};
        views.ReadRevisions(list);
        std::vector<std::unique_ptr<ImodelContextImpl>> loose;
        std::vector<ImodelContextImpl*> contexts;
        int made = 0;
        // A revision to change: a made one, or the sample of a context waiting for its own.
        const auto someRevision = [&]() -> ImodelRevContextImpl* {
            ImodelContextImpl& context = *contexts[pick(contexts.size())];
            if (context.Pending() && pick(2) == 0) return context.PendingSample();
            const std::vector<ImodelRevContextImpl*> revisions = context.GetAllRevs();
            return revisions.empty() ? nullptr : revisions[pick(revisions.size())];
        };
        for (int step = 0; step < 120; ++step) {
            std::vector<std::string> names;
            views.GetRevisionNames(&names);
            const std::string some = names.empty() ? std::string("none") : names[pick(names.size())];
            const IfileObject& file = files[pick(files.size())];
            switch (contexts.empty() ? 0 : pick(12)) {
            case 0: {  // a unit of the library
                auto unit = std::make_unique<ImodelModule>("u" + std::to_string(made++), nullptr, zorpaMODULE_VERILOG,
                                                           false, "", "", false);
                contexts.push_back(
                    design.FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first->GetContext());
                break;
            }
            case 1:  // a copy of another, waiting or not
                loose.push_back(
                    std::make_unique<ImodelContextImpl>(*contexts[pick(contexts.size())], nullptr, pick(2) == 0));
                contexts.push_back(loose.back().get());
                break;
            case 2:
            case 3:
            case 4:
                if (ImodelRevContextImpl* revision = someRevision()) revision->UseFile(file, false);
                break;
            case 5:
                if (ImodelRevContextImpl* revision = someRevision())
                    revision->DontUseFile(file.GetFileSpecificType(), false);
                break;
            case 6:  // one context's revisions taken into another
                contexts[pick(contexts.size())]->DuplicateContextInfo(contexts[pick(contexts.size())], pick(2) == 0);
                break;
            case 7: {  // a view's block read again from the project file
                ImodelRevContextImpl* revision = someRevision();
                if (!revision) break;
                std::vector<std::string> block{"Used_File_List", file.GetWriteFileLine(), "ENDUsed_File_List",
                                               "ENDLIST"};
                std::string line;
                bool useSynthRead = false;
                std::vector<std::string> outOfDate;
                revision->ReadStates(block, line, useSynthRead, {}, {}, false, outOfDate, {});
                break;
            }
            case 8:
                views.CreateView("n" + std::to_string(step), ImodelFileName(), pick(2) == 0, false);
                break;
            case 9:
                views.DeleteView(some);
                break;
            case 10: {  // a loose context goes
                const std::size_t at = pick(contexts.size());
                const auto owned = std::find_if(loose.begin(), loose.end(),
                                                [&](const auto& held) { return held.get() == contexts[at]; });
                if (owned == loose.end()) break;
                loose.erase(owned);
                contexts.erase(contexts.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            }
            default:  // every unit of the library goes
                design.Reset();
                std::erase_if(contexts, [&](const ImodelContextImpl* context) {
                    return std::none_of(loose.begin(), loose.end(),
                                        [context](const auto& held) { return held.get() == context; });
                });
                break;
            }
            for (const IfileObject& each : files) {
                const std::set<const ImodelRevContextImpl*> walked = WalkForUsers(contexts, each);
                const std::vector<ImodelRevContextImpl*> found = ImodelRevContextImpl::UsingFile(each);
                ASSERT_EQ(std::set<const ImodelRevContextImpl*>(found.begin(), found.end()), walked)
                    << "step " << step << ", " << each.GetInternalFileName().GetString();
                ASSERT_EQ(found.size(), walked.size());
            }
        }
        loose.clear();
        design.Reset();
        views.RemoveAllViews();
        for (const IfileObject& each : files) EXPECT_TRUE(ImodelRevContextImpl::UsingFile(each).empty());
    }
}
