// The place-and-route tool's file lists in a project: made when missing,
// written only when they change, reconciled with the project's constraint
// files, and never written over another design's list.
#include "FlowProject.h"
#include "MessageRecorder.h"
#include "RecordingCommandServices.h"
#include "TempFolder.h"

#include "imodel/views/ImodelFlowOptions.h"
#include "itool/ItoolFunctions.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <kemlet/KemletContentIf.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ItoolPalladorFileListTest : public FlowProject {
protected:
    ItoolPalladorFileListTest()
    {
        m_top = Unit("top");
        m_folder.Write("pallador/impl1/top.adb", "");
        EXPECT_TRUE(ItoolGetAdbFileName(m_top, Revision(m_top), m_adb, ImodelFMFull, false, true));
    }

    static ItoolPallador& Pallador() { return *Imodel::GetInstance().GetPalladorTool(); }
    std::string List() const { return m_folder.Read("pallador/impl1/top.ide_pld"); }
    void WriteList(const std::string& body) const
    {
        m_folder.Write("pallador/impl1/top.ide_pld", "KEMLET_IDE_PLD 1\nWRITER 1\n" + body);
    }
    std::string Full(const std::string& name) const { return m_folder / name; }
    static std::vector<std::string> Names(const std::deque<IfileObject>& list)
    {
        std::vector<std::string> names;
        for (const IfileObject& file : list) names.push_back(file.GetFileTitleAndExt());
        return names;
    }

    // Pin constraints (pdc) are a constraint kind of the device, and place
    // and route takes them.
    FlowOptionsScope m_options{{"PALLADOR_IMPORT_CONSTRAINT_FILES", "pdc gcf"},
                               {"IMPORT_CONSTRAINT_FILES", "PDC"},
                               {"PDC_DISP_NAME", "Pin"},
                               {"PDC_EXTN", "pdc"}};
    ImodelModule* m_top = nullptr;
    ImodelFileName m_adb;
};

}  // namespace

TEST_F(ItoolPalladorFileListTest, AMissingListIsMadeWithTheDefaultInputsAndConstraintFiles)
{
    EXPECT_EQ(m_adb.GetString(), Full("pallador/impl1/top.adb"));
    const auto pins = Add("constraint/top.pdc", zorpaFT_PDC);
    m_top->AddAssociatedFile(*pins);

    ASSERT_TRUE(Pallador().EnsureFileListFile(m_adb, m_top, Revision(m_top)));
    EXPECT_EQ(List(), "KEMLET_IDE_PLD 1\nWRITER 2\nDATABASE top.adb\nLOCAL_COPIES 0\n"
                      "FILE " +
                          Full("synthesis/top.edn") +
                          "\nKIND 0\n"
                          "FILE " +
                          Full("constraint/top.pdc") +
                          "\nKIND 12\n"
                          "OPTIONAL 0 " +
                          Full("constraint/top.pdc") + "\n");

    // The tool's own list stays as it is, made writable.
    WriteList("FILE /elsewhere/top.edn\n");
    SysSetReadOnlyAttr(Full("pallador/impl1/top.ide_pld"), true);
    ASSERT_TRUE(Pallador().EnsureFileListFile(m_adb, m_top, Revision(m_top)));
    EXPECT_FALSE(SysHasReadOnlyAttr(Full("pallador/impl1/top.ide_pld")));
    EXPECT_EQ(List(), "KEMLET_IDE_PLD 1\nWRITER 1\nFILE /elsewhere/top.edn\n");

    // The constraint list the tool answers with: the project's files of the
    // list, reconciled (the unit's constraint file joins it).
    ItoolWithConstraints::Entries files;
    EXPECT_TRUE(Pallador().GetConstraintFileList(files, m_top, Revision(m_top)));
    EXPECT_EQ(files, ItoolWithConstraints::Entries{pins});
    EXPECT_FALSE(Pallador().GetConstraintFileList(files, nullptr, Revision(m_top)));
}

TEST_F(ItoolPalladorFileListTest, ANewConstraintFileOfTheBlockDesignEngineJoinsItsUnitsList)
{
    WriteList("DATABASE top.adb\nFILE " + Full("synthesis/top.edn") + "\nKIND 0\n");
    Add("constraint/top.pdc", zorpaFT_PDC);
    ItoolVeyrun::GetInstance()->NewConstraintFileAdded(Full("constraint/top.pdc"), m_top->GetComponentID());
    ASSERT_EQ(m_top->GetAssociatedFileListConst().size(), 1u);
    EXPECT_NE(List().find("FILE " + Full("constraint/top.pdc") + "\nKIND 12\n"), std::string::npos) << List();
    EXPECT_NE(List().find("FILE " + Full("synthesis/top.edn")), std::string::npos);
}

TEST_F(ItoolPalladorFileListTest, AnUnchangedListIsNotWrittenAgain)
{
    const std::deque<IfileObject> list{
        IfileObject(Full("synthesis/top.edn"), zorpaFT_SYN_EDN, ImodelFMFull, true, true),
        IfileObject(Full("stim/run.vcd"), zorpaFT_VCD, ImodelFMFull, true, true)};
    const ImodelOptionalFiles optional{{Full("constraint/top.pdc"), OptionalFileNotUsed}};
    ASSERT_TRUE(Pallador().WriteFileList(m_adb, list, &optional, false, false));
    const std::string written = List();
    EXPECT_NE(written.find("KIND 13\nFORMAT vcd\n"), std::string::npos);
    SysStatInfo before;
    ASSERT_EQ(SysPathStat(Full("pallador/impl1/top.ide_pld"), &before), 0);

    ASSERT_TRUE(Pallador().WriteFileList(m_adb, list, &optional, false, false));
    SysStatInfo after;
    ASSERT_EQ(SysPathStat(Full("pallador/impl1/top.ide_pld"), &after), 0);
    EXPECT_EQ(after.time, before.time);

    // A changed flag is written; a list the user made read-only only when forced.
    SysSetReadOnlyAttr(Full("pallador/impl1/top.ide_pld"), true);
    const ImodelOptionalFiles used{{Full("constraint/top.pdc"), OptionalFileUsed}};
    EXPECT_FALSE(Pallador().WriteFileList(m_adb, list, &used, false, false));
    EXPECT_EQ(List(), written);
    EXPECT_TRUE(Pallador().WriteFileList(m_adb, list, &used, false, true));
    EXPECT_NE(List().find("OPTIONAL 0 " + Full("constraint/top.pdc")), std::string::npos);
}

TEST_F(ItoolPalladorFileListTest, TheReconciliationSparesWhatTheUserTurnedOffAndWhatTheFlowDoesNotKnow)
{
    Revision(m_top)->GetFlowOptions()->UsePhySynth = true;
    const auto netlist = AddDefault(zorpaFT_ZEVORU_EDN, m_top);
    const auto pins = AddDefault(zorpaFT_ZEVORU_PDC, m_top);
    const std::string pinsName = pins->GetFullFileName().GetString();
    Revision(m_top)->UseFile(IfileObject(m_adb, zorpaFT_ADB, ImodelFMFull, true, true), false);
    WriteList("FILE " + netlist->GetFullFileName().GetString() + "\nKIND 0\nFILE " + Full("notes.txt") + "\nFILE " +
              Full("pallador/impl1/top_ba.sdf") + "\nKIND 9\nOPTIONAL 1 " + pinsName + "\n");

    // The back-annotated file is no input of the tool; the notes have no
    // node of their own; the constraint file is turned off.
    std::deque<IfileObject> list;
    EXPECT_EQ(Pallador().ReadFileList(m_adb, m_top, Revision(m_top), list, nullptr, false),
              ItoolPallador::ReadListRead);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"top_zevoru.edn", "notes.txt"}));
    EXPECT_EQ(List().find("top_ba.sdf"), std::string::npos);
    EXPECT_NE(List().find("OPTIONAL 1 " + pinsName), std::string::npos);

    // Turned on, it goes before the files of no particular place.
    WriteList("FILE " + netlist->GetFullFileName().GetString() + "\nKIND 0\nFILE " + Full("notes.txt") +
              "\nOPTIONAL 0 " + pinsName + "\n");
    list.clear();
    Pallador().ReadFileList(m_adb, m_top, Revision(m_top), list, nullptr, false);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"top_zevoru.edn", "top_zevoru.pdc", "notes.txt"}));
    EXPECT_NE(List().find("FILE " + pinsName + "\nKIND 12\n"), std::string::npos);

    // Without a record it is used by default, as the flow says.
    WriteList("FILE " + netlist->GetFullFileName().GetString() + "\nKIND 0\n");
    list.clear();
    Pallador().ReadFileList(m_adb, m_top, Revision(m_top), list, nullptr, false);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"top_zevoru.edn", "top_zevoru.pdc"}));
}

TEST_F(ItoolPalladorFileListTest, AListOfAnotherDesignOrOneThatCannotBeReadIsNeverWrittenOver)
{
    const auto pins = Add("constraint/top.pdc", zorpaFT_PDC);
    m_top->AddAssociatedFile(*pins);
    for (const std::string& text : {std::string("KEMLET_IDE_PLD 1\nWRITER 1\nDATABASE other.adb\nFILE /x/other.edn\n"),
                                    std::string("KEMLET_IDE_PLD 1\nRUN_FAILED maybe\n"), std::string("not ours\n")}) {
        m_folder.Write("pallador/impl1/top.ide_pld", text);
        std::deque<IfileObject> list;
        const ItoolPallador::ReadResult expected =
            text.find("other.adb") != std::string::npos ? ItoolPallador::ReadOtherDesign : ItoolPallador::ReadNothing;
        EXPECT_EQ(Pallador().ReadFileList(m_adb, m_top, Revision(m_top), list, nullptr, true), expected);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(List(), text);
        ItoolUpdateToolConstraintFileList(m_top, Revision(m_top), true, true, false);
        EXPECT_EQ(List(), text);
    }

    // Where there is none, a refresh has nothing to write: the list is made
    // when the tool asks for it.
    SysDelete(Full("pallador/impl1/top.ide_pld"));
    ItoolUpdateToolConstraintFileList(m_top, Revision(m_top), true, true, false);
    EXPECT_FALSE(UtlDoesFileExist(Full("pallador/impl1/top.ide_pld")));
}

TEST_F(ItoolPalladorFileListTest, AChangedConstraintFileTakesTheLayoutResultThatUsedIt)
{
    const auto netlist =
        AddDefault(zorpaFT_SYN_EDN, m_top, "(edif top (design top (cellRef top (libraryRef work))))\n");
    const auto pins = Add("constraint/top.pdc", zorpaFT_PDC);
    const auto other = Add("constraint/other.pdc", zorpaFT_PDC);
    WriteList("DESIGN top\nFILE " + netlist->GetFullFileName().GetString() + "\nKIND 0\nFILE " +
              pins->GetFullFileName().GetString() + "\nKIND 12\n");
    const auto adb = Add("pallador/impl1/top.adb", zorpaFT_ADB);
    IprocessToolObject& layout = Tool(idePALLADOR);
    Revision(m_top)->SetToolStateForFile(&layout, adb, StateSuccess);

    QuorlaneStateMachine& flow = *Imodel::GetInstance().GetStateMachine();
    flow.FileModificationMessage(QuorlaneConstraintFileChanged, other);
    EXPECT_EQ(Revision(m_top)->GetToolStateForFile(&layout, adb), StateSuccess);
    flow.FileModificationMessage(QuorlaneConstraintFileChanged, pins);
    EXPECT_EQ(Revision(m_top)->GetToolStateForFile(&layout, adb), StateNoResult);
}

TEST_F(ItoolPalladorFileListTest, TheListsFilesOutsideTheProjectBecomeLinksWhenTheyAreOnDisk)
{
    TempFolder shared;
    shared.Write("pins.pdc", "set_io a 1\n");
    m_folder.Write("constraint/removed.pdc", "set_io b 2\n");
    WriteList("DATABASE top.adb\nFILE " + Full("synthesis/top.edn") + "\nKIND 0\nFILE " + (shared / "pins.pdc") +
              "\nKIND 12\nFILE " + (shared / "gone.pdc") + "\nKIND 12\nFILE " + Full("constraint/removed.pdc") +
              "\nKIND 12\n");
    RecordingCommandServices commands;
    KemletContentIf content;
    Pallador().ImportLinkedFiles(m_adb, content);
    // The project's own files are left alone, also one the project lacks;
    // the broken link is passed over.
    EXPECT_EQ(commands.links, std::vector<std::string>{"pins.pdc"});
    EXPECT_EQ(content.GetFileList().size(), 4u);
    // Another design's list makes no links.
    commands.links.clear();
    WriteList("DATABASE other.adb\nFILE " + (shared / "pins.pdc") + "\nKIND 12\n");
    Pallador().ImportLinkedFiles(m_adb, content);
    EXPECT_TRUE(commands.links.empty());
}
