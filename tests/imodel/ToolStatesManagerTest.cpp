#include "ContextTestProject.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelToolStatesManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <vector>

using ToolStatesManager = ContextTestProject;

TEST_F(ToolStatesManager, WithFileChoiceEachFileHasItsOwnResult)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    ImodelContextToolStatesManager manager;
    const auto member = Entry("synthesis/a.edn", zorpaFT_SYN_EDN, true);
    const auto outsider = Entry("synthesis/c.edn", zorpaFT_SYN_EDN, false);
    manager.SetObjectToolState(idePALLADOR, nullptr, StateFailure, nullptr);
    manager.SetObjectToolState(idePALLADOR, member, StateSuccess, nullptr);
    manager.SetObjectToolState(ideSYNTHESIS, member, StateSuccess, nullptr);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, member), StateSuccess);
    // A project file without a record of its own reads the general result;
    // a file outside the project has none. Reading makes no record.
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, Entry("synthesis/b.edn", zorpaFT_SYN_EDN, true)), StateFailure);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, outsider), StateNoResult);
    EXPECT_EQ(manager.GetObjects().size(), 3u);
    // The same file under another spelling is the same record.
    const auto spelled = boost::make_shared<IfileObjectEx>(
        IfileObject(m_folder.Path() + "/SYNTHESIS/A.EDN", zorpaFT_SYN_EDN, ImodelFMFull, true, false), false);
    manager.SetObjectToolState(idePALLADOR, spelled, StateFailure, nullptr);
    EXPECT_EQ(manager.GetObjects().size(), 3u);
    // Removing a file drops its records of every tool and keeps the rest.
    manager.NotifyFileRemoved(member);
    ASSERT_EQ(manager.GetObjects().size(), 1u);
    EXPECT_EQ(manager.GetObjects().front().GetFile(), nullptr);
}

// Whether some manager holds a per-file record is known without asking each
// of them (a file that leaves is then looked for nowhere). It must follow
// every way records come and go: made by a state, copied with a manager,
// taken away with a removed file, gone with their manager.
TEST_F(ToolStatesManager, WhetherAnyRecordNamesAFileFollowsEveryChange)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    ASSERT_FALSE(ImodelContextToolStatesManager::AnyFileRecords());
    const std::vector<boost::shared_ptr<IfileObjectEx>> files = {Entry("synthesis/a.edn", zorpaFT_SYN_EDN, true),
                                                                 Entry("synthesis/b.edn", zorpaFT_SYN_EDN, true),
                                                                 Entry("synthesis/c.edn", zorpaFT_SYN_EDN, true)};
    const ImodelFunctionType kinds[] = {ideSYNTHESIS, idePALLADOR};
    const imodelToolState states[] = {StateNoResult, StateSuccess, StateFailure};
    std::vector<std::optional<ImodelContextToolStatesManager>> managers(4);
    const auto holdsFileRecord = [&managers] {
        for (const auto& manager : managers)
            if (manager)
                for (const auto& object : manager->GetObjects())
                    if (object.GetFile()) return true;
        return false;
    };
    std::mt19937 random(28);
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int step = 0; step < 2000; ++step) {
        auto& manager = managers[pick(managers.size())];
        const auto& other = managers[pick(managers.size())];
        switch (pick(5)) {
        case 0:
            if (!manager) manager.emplace();
            manager->SetObjectToolState(kinds[pick(2)], pick(4) == 0 ? nullptr : files[pick(files.size())],
                                        states[pick(3)], nullptr);
            break;
        case 1:
            if (manager) manager->NotifyFileRemoved(files[pick(files.size())]);
            break;
        case 2:
            if (other && &manager != &other) manager.emplace(*other);
            break;
        case 3:
            if (manager && other) *manager = *other;
            break;
        default:
            if (pick(3) == 0) manager.reset();
            break;
        }
        ASSERT_EQ(ImodelContextToolStatesManager::AnyFileRecords(), holdsFileRecord()) << "step " << step;
    }
    for (auto& manager : managers) manager.reset();
    EXPECT_FALSE(ImodelContextToolStatesManager::AnyFileRecords());
}
