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
