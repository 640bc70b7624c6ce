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
    static ImodelModule::ModuleList& Removed() { return ImodelModule::GetRemovedModuleList(); }
    static const ImodelModule* Kept(const std::string& name, const std::string& library = "")
    {
        const Module probe = MakeModule(name, nullptr, zorpaMODULE_VHDL, false, library);
        const auto entry = ImodelModule::FindDeletedModuleInfo(probe.get());
        return entry == Removed().end() ? nullptr : *entry;
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

TEST_F(DeletedModuleTest, OneEntryPerKeyWhateverTheLetterCaseAndTheLatestSaveWins)
{
    const Entry file = LinkedFile("alu.vhd");
    Module first = MakeModule("alu", file);
    first->SetExpand(1);
    ImodelModule::SaveDeletedModuleInfo(first.get());
    Module second = MakeModule("ALU", file);
    second->SetExpand(2);
    ImodelModule::SaveDeletedModuleInfo(second.get());
    ImodelModule::SaveDeletedModuleInfo(nullptr);

    ASSERT_EQ(Removed().size(), 1u);
    ASSERT_NE(Kept("Alu"), nullptr);
    EXPECT_EQ(Kept("Alu")->GetExpand(), 2);
    EXPECT_EQ(Kept("alu", "lib2"), nullptr);  // another library is another key
    EXPECT_EQ(ImodelModule::FindDeletedModuleInfo(nullptr), Removed().end());
    // The entry is a clone: the units saved may go.
    first.reset();
    second.reset();
    EXPECT_EQ(Kept("alu")->GetExpand(), 2);
}

TEST_F(DeletedModuleTest, AUnitOfAnotherFileGetsNothingBackAndTheEntryStays)
{
    const Entry file = LinkedFile("alu.vhd");
    Module removed = MakeModule("alu", file);
    removed->SetExpand(5);
    ImodelModule::SaveDeletedModuleInfo(removed.get());
    std::string& debug = CaptureDebug();

    const Module elsewhere = MakeModule("alu", LinkedFile("other.vhd"));
    ImodelModule::RestoreDeletedModuleInfo(elsewhere.get(), file);
    const Module withoutFile = MakeModule("alu");
    ImodelModule::RestoreDeletedModuleInfo(withoutFile.get(), file);
    const Module right = MakeModule("alu", file);
    ImodelModule::RestoreDeletedModuleInfo(right.get(), nullptr);
    ImodelModule::RestoreDeletedModuleInfo(nullptr, file);

    EXPECT_EQ(elsewhere->GetExpand(), -1);
    EXPECT_EQ(withoutFile->GetExpand(), -1);
    EXPECT_EQ(right->GetExpand(), -1);
    EXPECT_EQ(Removed().size(), 1u);
    EXPECT_NE(debug.find("Did not restore alu::work info, file is not the same"), std::string::npos) << debug;
}

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
    std::string& debug = CaptureDebug();

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
    EXPECT_NE(debug.find("Restoring alu::work info from deleted module info list\n"), std::string::npos);
}

TEST_F(DeletedModuleTest, ALinkedFileThatChangedGivesItsDataBackAndIsReportedChanged)
{
    const Entry file = LinkedFile("alu.vhd");
    Module removed = UnitInState("alu", file, Post_Synthesis);
    removed->SetCDBOrder({*LinkedFile("a.cdb", zorpaFT_ARM_DB)}, false);
    ImodelModule::SaveDeletedModuleInfo(removed.get());
    removed.reset();
    file->StoreStatInfo(4096, 1'700'000'000LL * IfileObjectEx::kNanosecondsPerSecond);  // written meanwhile
    ImodelModule::FileList notified;
    ImodelModule::GetNotifiedFileChangeList() = &notified;
    MessageRecorder messages;

    Module again = MakeModule("alu", file);
    ImodelModule::RestoreDeletedModuleInfo(again.get(), file);

    EXPECT_EQ(again->GetCDBOrder().size(), 1u);
    ASSERT_EQ(messages.WithId("RESTORING_MODULE_INFO").size(), 1u);
    EXPECT_EQ(messages.WithId("RESTORING_MODULE_INFO")[0].text,
              "Linked file 'alu.vhd' is back but changed! Restored alu::work information.");
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0], *file);
    EXPECT_TRUE(Removed().empty());
}

TEST_F(DeletedModuleTest, PointingAUnitAtAFileRestoresOnlyForLinkedFiles)
{
    const Entry local = ProjectFile("src/alu.vhd");
    const Entry linked = LinkedFile("alu.vhd");
    for (const Entry& file : {local, linked}) {
        Module removed = MakeModule("alu", file);
        removed->SetExpand(3);
        ImodelModule::SaveDeletedModuleInfo(removed.get());
    }

    const Module unit = MakeModule("alu");
    EXPECT_TRUE(unit->SetModuleFileName(Name(local), nullptr, true));
    EXPECT_EQ(unit->GetModuleFile(), local);
    EXPECT_EQ(unit->GetExpand(), -1);  // a file of the project folder never restores
    EXPECT_EQ(Removed().size(), 1u);

    EXPECT_TRUE(unit->SetModuleFileName(Name(linked), nullptr, true));
    EXPECT_EQ(unit->GetModuleFile(), linked);
    EXPECT_EQ(unit->GetExpand(), 3);
    EXPECT_TRUE(Removed().empty());

    // Without the restore flag the data stays where it is.
    ImodelModule::SaveDeletedModuleInfo(MakeModule("cpu", linked).get());
    const Module cpu = MakeModule("cpu");
    cpu->SetModuleFileName(Name(linked), nullptr, false);
    EXPECT_EQ(Removed().size(), 1u);
}

TEST_F(DeletedModuleTest, PointingAUnitAtItsOwnFileAgainIsRefusedUnlessBothAreSchematics)
{
    const Entry hdl = ProjectFile("alu.vhd");
    const Module unit = MakeModule("alu", hdl);
    const Module other = MakeModule("other", hdl);
    EXPECT_FALSE(unit->SetModuleFileName(Name(hdl), other.get(), false));
    EXPECT_EQ(unit->GetModuleFile(), hdl);

    const Entry schematic = ProjectFile("alu.sch", zorpaFT_SCH);
    const Module drawn = MakeModule("alu", schematic, zorpaMODULE_SCHEMATIC);
    const Module page = MakeModule("page", schematic, zorpaMODULE_SCHEMATIC);
    EXPECT_TRUE(drawn->SetModuleFileName(Name(schematic), page.get(), false));

    // The other unit's file serves when it has the name, in the project or not.
    const Entry outside = MakeFile("/elsewhere/x.vhd");
    const Module owner = MakeModule("x", outside);
    EXPECT_TRUE(unit->SetModuleFileName("/elsewhere/x.vhd", owner.get(), false));
    EXPECT_EQ(unit->GetModuleFile(), outside);

    // A name the project does not know, or none, leaves the unit without file.
    EXPECT_TRUE(unit->SetModuleFileName("/nowhere/y.vhd", nullptr, false));
    EXPECT_FALSE(unit->GetModuleFile());
    EXPECT_TRUE(drawn->SetModuleFileName("", nullptr, true));
    EXPECT_FALSE(drawn->GetModuleFile());
}

TEST_F(DeletedModuleTest, ForgettingAFileDropsTheEntriesOfItsUnitsOnly)
{
    const Entry gone = LinkedFile("gone.vhd");
    const Entry stays = LinkedFile("stays.vhd");
    for (const char* name : {"a", "b", "c"}) ImodelModule::SaveDeletedModuleInfo(MakeModule(name, gone).get());
    ImodelModule::SaveDeletedModuleInfo(MakeModule("d", stays).get());
    std::string& debug = CaptureDebug();

    ImodelModule::RemoveDeletedModuleInfo(gone);
    ImodelModule::RemoveDeletedModuleInfo(nullptr);

    ASSERT_EQ(Removed().size(), 1u);
    EXPECT_EQ(Kept("a"), nullptr);
    EXPECT_NE(Kept("d"), nullptr);
    EXPECT_NE(debug.find("Removed b::work info from deleted module info list\n"), std::string::npos) << debug;
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
    // A caller that deletes an entry itself through the list's reference.
    ImodelModule* taken = Removed().front();
    const std::string takenName = taken->GetName();
    Removed().pop_front();
    ImodelModule::Delete(taken, false);

    for (int i = 0; i < 300; ++i) {
        const std::string name = "u" + std::to_string(i);
        const ImodelModule* kept = Kept(name);
        if (i % 3 == 0 || name == takenName) {
            EXPECT_EQ(kept, nullptr) << name;
        } else {
            ASSERT_NE(kept, nullptr) << name;
            EXPECT_EQ(kept->GetExpand(), i);
        }
    }
}

TEST_F(DeletedModuleTest, UnitsMatchByNameAndFileOrByNameAlone)
{
    const Entry oldName = MakeFile("/d/alu_old.vhd");
    const Entry newName = MakeFile("/d/alu_new.vhd");
    Module source = MakeModule("alu", oldName);
    source->SetExpand(7);
    Module withoutFile = MakeModule("cpu");
    withoutFile->SetExpand(8);
    auto from = boost::make_shared<ModuleSet>(ModuleSet{source.get(), withoutFile.get()});

    Module renamed = MakeModule("ALU", newName);
    Module cpu = MakeModule("cpu", MakeFile("/d/cpu.vhd"));
    auto to = boost::make_shared<ModuleSet>(ModuleSet{renamed.get(), cpu.get()});

    ImodelDuplicateSubModuleInfo(from, to, false, {true, true, false});
    EXPECT_EQ(renamed->GetExpand(), -1);  // another file: no match
    EXPECT_EQ(cpu->GetExpand(), 8);       // no file on one side: the name decides
    ImodelDuplicateSubModuleInfo(from, to, true, {true, true, false});
    EXPECT_EQ(renamed->GetExpand(), 7);
    ImodelDuplicateSubModuleInfo(from, nullptr, true, {true, true, false});
    EXPECT_FALSE(ImodelModule::IsRemovingTempModule());
}
