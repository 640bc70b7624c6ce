#include "DebugCapture.h"
#include "MessageRecorder.h"
#include "ReparseTestSupport.h"

#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/views/ImodelContextImpl.h"

#include <gtest/gtest.h>

namespace {

using Module = std::unique_ptr<ImodelModule>;
using ModuleSet = ImodelModule::ModuleSet;

class DeletedModuleTest : public ReparseFixture {
protected:
    static const ImodelModule::RemovedList& Removed() { return ImodelModule::GetRemovedModuleList(); }
    static const ImodelModule* Kept(const std::string& name, const std::string& library = "")
    {
        const Module probe = MakeModule(name, nullptr, zorpaMODULE_VHDL, false, library);
        return ImodelModule::FindDeletedModuleInfo(probe.get());
    }
    void SetUp() override
    {
        ReparseFixture::SetUp();
        AddView("impl_1");
    }
    // A unit (in the project's one view) in a given design state.
    static Module UnitInState(const std::string& name, const Entry& file, imodelSolvatoState state)
    {
        Module unit = MakeModule(name, file);
        unit->GetContext()->SetSolvatoState(state);
        return unit;
    }
    static std::string Name(const Entry& file) { return file->GetFullFileName().GetString(); }
};

}  // namespace

TEST_F(DeletedModuleTest, ALinkedFileThatComesBackUnchangedGivesItsStatesBack)
{
    const Entry file = LinkedFile("alu.vhd");
    Module removed = UnitInState("alu", file, Post_Synthesis);
    removed->SetNewStimulusList({*LinkedFile("tb.vhd")}, nullptr);
    ImodelModule::SaveDeletedModuleInfo(removed.get());
    removed.reset();
    ImodelModule::FileList notified;
    ImodelModule::GetNotifiedFileChangeList() = &notified;
    MessageRecorder messages;
    DebugCapture debug;

    Module again = UnitInState("alu", nullptr, Pre_Synthesis);
    EXPECT_TRUE(again->SetModuleFileName(Name(file), nullptr, true));

    // The states come back, and the design state is then computed again
    // from the files: the unit has no netlist.
    EXPECT_EQ(again->GetContext()->GetSolvatoState(), Pre_Synthesis);
    EXPECT_EQ(again->GetStimulusList().size(), 1u);
    ASSERT_EQ(messages.WithId("RESTORING_MODULE_STATE").size(), 1u);
    EXPECT_EQ(messages.WithId("RESTORING_MODULE_STATE")[0].text,
              "Linked file 'alu.vhd' is back and did not change! Restored alu::work information and states.");
    EXPECT_TRUE(messages.WithId("RESTORING_MODULE_INFO").empty());
    EXPECT_TRUE(notified.empty());
    EXPECT_TRUE(Removed().empty());
    EXPECT_TRUE(debug.Holds("Restoring alu::work info from deleted module info list\n"));
}

TEST_F(DeletedModuleTest, TheListStaysRightThroughManyEntriesAndChangesFromOutside)
{
    const MessageRecorder quiet;
    const Entry file = LinkedFile("many.vhd");
    for (int i = 0; i < 300; ++i) {
        Module unit = MakeModule("u" + std::to_string(i), file);
        unit->SetExpand(i);
        ImodelModule::SaveDeletedModuleInfo(unit.get());
    }
    // Restoring takes entries out of the middle.
    for (int i = 0; i < 300; i += 3) {
        const Module again = MakeModule("U" + std::to_string(i), file);
        ImodelModule::RestoreDeletedModuleInfo(again.get(), file);
        EXPECT_EQ(again->GetExpand(), i);
    }
    ASSERT_EQ(Removed().size(), 200u);

    for (int i = 0; i < 300; ++i) {
        const std::string name = "u" + std::to_string(i);
        const ImodelModule* kept = Kept(name);
        if (i % 3 == 0) {
            EXPECT_EQ(kept, nullptr) << name;
        } else {
            ASSERT_NE(kept, nullptr) << name;
            EXPECT_EQ(kept->GetExpand(), i);
        }
    }
}

TEST_F(DeletedModuleTest, AUnitOfAnotherFileTakesTheKeptListsOnceAndOnlyItsOwnKey)
{
    const MessageRecorder quiet;
    const Entry source = LinkedFile("ram.v");
    const Entry description = LinkedFile("ram.cxf");
    Module gone = MakeModule("ram", source);
    gone->SetNewStimulusList({*LinkedFile("tb.v")}, nullptr);
    ImodelModule::SaveDeletedModuleInfo(gone.get());
    Module other = MakeModule("ram_sub", source);
    ImodelModule::SaveDeletedModuleInfo(other.get());
    gone.reset();
    other.reset();

    // The description's unit stands for the key: it takes the test bench
    // though its file differs, and the key's entry is used up; the other
    // unit of the same source keeps its entry for when the source is back.
    Module described = MakeModule("ram", description);
    EXPECT_TRUE(ImodelModule::TakeDeletedModuleInfo(described.get()));
    EXPECT_EQ(described->GetStimulusList().size(), 1u);
    EXPECT_EQ(described->GetModuleFile(), description);
    EXPECT_EQ(Kept("ram"), nullptr);
    EXPECT_NE(Kept("ram_sub"), nullptr);
    EXPECT_FALSE(ImodelModule::TakeDeletedModuleInfo(described.get()));
    EXPECT_FALSE(ImodelModule::TakeDeletedModuleInfo(nullptr));
}
