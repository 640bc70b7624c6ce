#include "ContextTestProject.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelToolStatesManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <string>
#include <vector>

using ToolStatesManager = ContextTestProject;

TEST_F(ToolStatesManager, GeneralRecordsAreMadeOnlyForResultsWorthKeeping)
{
    ImodelContextToolStatesManager manager;
    EXPECT_FALSE(MarksNeedSave([&] { manager.SetObjectToolState(ideSYNTHESIS, nullptr, StateNoResult, nullptr); }));
    EXPECT_TRUE(manager.GetObjects().empty());
    EXPECT_TRUE(manager.IsInDefaultState());

    EXPECT_TRUE(MarksNeedSave([&] { manager.SetObjectToolState(ideSYNTHESIS, nullptr, StateSuccess, nullptr); }));
    ASSERT_EQ(manager.GetObjects().size(), 1u);
    EXPECT_EQ(manager.GetObjectToolState(ideSYNTHESIS, nullptr), StateSuccess);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, nullptr), StateNoResult);
    EXPECT_FALSE(manager.IsInDefaultState());

    // The same state again is no change.
    EXPECT_FALSE(MarksNeedSave([&] { manager.SetObjectToolState(ideSYNTHESIS, nullptr, StateSuccess, nullptr); }));

    // Back to "no result": the record stays, holding nothing worth storing.
    EXPECT_TRUE(MarksNeedSave([&] { manager.SetObjectToolState(ideSYNTHESIS, nullptr, StateNoResult, nullptr); }));
    EXPECT_EQ(manager.GetObjects().size(), 1u);
    EXPECT_TRUE(manager.IsInDefaultState());

    // A copy is deep: changing it leaves the original as it was.
    ImodelContextToolStatesManager copy(manager);
    copy.SetObjectToolState(ideSYNTHESIS, nullptr, StateFailure, nullptr);
    EXPECT_EQ(manager.GetObjectToolState(ideSYNTHESIS, nullptr), StateNoResult);
    EXPECT_EQ(copy.GetObjectToolState(ideSYNTHESIS, nullptr), StateFailure);
}

TEST_F(ToolStatesManager, WithoutFileChoiceEachToolHasOneRecordWhateverFileIsPassed)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "0");
    ImodelContextToolStatesManager manager;
    const auto first = Entry("synthesis/a.edn", zorpaFT_SYN_EDN, true);
    const auto second = Entry("synthesis/b.edn", zorpaFT_SYN_EDN, false);

    manager.SetObjectToolState(idePALLADOR, first, StateFailure, nullptr);
    manager.SetObjectToolState(idePALLADOR, second, StateSuccess, nullptr);
    ASSERT_EQ(manager.GetObjects().size(), 1u);
    EXPECT_EQ(manager.GetObjects().front().GetFile(), nullptr);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, first), StateSuccess);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, nullptr), StateSuccess);

    // Removing a file touches no general record.
    manager.NotifyFileRemoved(second);
    EXPECT_EQ(manager.GetObjects().size(), 1u);
}

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
