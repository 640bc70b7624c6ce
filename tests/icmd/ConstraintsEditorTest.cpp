// What the host reaches of the constraints editor without a command line:
// opening a constraint file for the unit whose place-and-route database
// lists it, the choice among several such units, and the queries on open
// editors and supported files.
#include "IcmdTestSupport.h"
#include "PinConstraintsEditor.h"
#include "RecordingHost.h"

#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/project/IcmdCloseProject.h"
#include "imodel/design/ImodelFindModule.h"
#include "iprocess/IprocessFileObject.h"
#include "itool/ItoolPallador.h"

#include <foundation/AcmdParam.h>
#include <ktwkspace/Workspace.h>

#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

// A host that lets the user choose one of the offered units, or refuse.
class ChoosingHost : public RecordingHost {
public:
    int choice = -1;  // -1: the user refuses
    std::string title;
    std::vector<std::string> offered;

    bool ChooseParamValue(AcmdParam* parameter, const std::string& shownTitle) override
    {
        title = shownTitle;
        auto* choices = dynamic_cast<AcmdEnumParamBase*>(parameter);
        offered.clear();
        if (choices) choices->GetChoiceTexts(offered);
        if (choice < 0 || !choices) return false;
        choices->SetSelectedIndex(choice);
        return true;
    }
};

class ConstraintsEditorTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        EnablePinConstraintsEditor();
        ASSERT_TRUE(NewAluProject());
        for (const auto& [name, text] : {std::pair{"top.vhd", kTop}, {"mid.vhd", kMid}, {"leaf.vhd", kLeaf}}) {
            const std::string path = m_folder.Write(std::string("alu/hdl/") + name, text);
            IcmdDoAddFileToModel(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), true, true,
                                 false, nullptr, nullptr, true, nullptr, true, false, nullptr);
        }
        const std::string path = m_folder.Write("alu/constraint/pins.pdc", "set_io a 1\n");
        pins = Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), zorpaFT_PDC, ImodelFMFull, true, true), false), false);
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    static ImodelModule* Unit(const std::string& name)
    {
        return ImodelFindModuleInLib(Design().FindLibraryByName("work"), name, zorpaMODULE_UNKNOWN, "");
    }
    // The unit's place-and-route database (of its current view, which
    // becoming the root once gives it) lists the pin constraints.
    void ListedBy(const std::string& name)
    {
        ImodelModule* unit = Unit(name);
        ASSERT_TRUE(IcmdDoSetRoot(false, unit->GetComponentID()));
        const Entry database = IprocessGetCurrentFile(unit, zorpaFT_ADB, true, false);
        ASSERT_TRUE(database);
        ASSERT_TRUE(Imodel::GetInstance().GetPalladorTool()->WriteFileList(database->GetFullFileName(), {*pins},
                                                                           nullptr, false, true));
    }
    // What the editor of the pin constraints shows, read once.
    std::string Shown()
    {
        const std::string kept = m_folder.Read("alu/constraint/data/pins.pdc.ce");
        std::remove((m_folder / "alu/constraint/data/pins.pdc.ce").c_str());
        return kept;
    }
    std::string ShowsUnit(const std::string& unit, const std::string& ports)
    {
        return "CONSTRAINTS_EDITOR 1\nConstraints=" + pins->GetFullFileName().GetString() +
               "\nOutside=0\nUnit=" + unit + "\n" + ports;
    }
    void CloseEditors()
    {
        Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
        while (!workspace->GetEditorComponents().empty())
            ASSERT_TRUE(workspace->CloseEditor(workspace->GetEditorComponents().front()));
        EXPECT_TRUE(IcmdOpenConstraintsEditor::GetComponents().empty());
    }

    Entry pins;
};

}  // namespace

TEST_F(ConstraintsEditorTest, AFileOpensForTheUnitWhoseDatabaseListsIt)
{
    // No unit's database lists it: the editor opens without ports.
    EXPECT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(Shown(), ShowsUnit("", ""));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::IsOpened(pins));
    CloseEditors();
    EXPECT_FALSE(IcmdOpenConstraintsEditor::IsOpened(pins));

    ListedBy("mid");
    EXPECT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(Shown(), ShowsUnit("mid", "Port=IN a\nPort=OUT b\n"));
    // Asked again, it only comes to the front.
    EXPECT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(IcmdOpenConstraintsEditor::GetComponents().size(), 1u);
    CloseEditors();
    EXPECT_FALSE(IcmdOpenConstraintsEditor::DoOpenFile(Entry()));
}

TEST_F(ConstraintsEditorTest, OfSeveralUnitsTheUserChoosesAndMayRefuse)
{
    ListedBy("mid");
    ListedBy("leaf");
    ChoosingHost host;
    EXPECT_FALSE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(host.title, "File associated to many modules");
    // Offered in the order of their databases' names, whatever the order
    // they came to list the file in.
    EXPECT_EQ(host.offered, (std::vector<std::string>{"leaf", "mid"}));
    EXPECT_FALSE(IcmdOpenConstraintsEditor::IsOpened(pins));
    EXPECT_EQ(Shown(), "");

    host.choice = 0;
    EXPECT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(Shown(), ShowsUnit("leaf", "Port=IN x\nPort=OUT y\n"));
    CloseEditors();
}

TEST_F(ConstraintsEditorTest, WithoutAHostTheRootIsTakenAndOnlyPinConstraintsAreSupported)
{
    ListedBy("mid");
    ListedBy("top");
    EXPECT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(Shown(), ShowsUnit("top", ""));
    CloseEditors();

    EXPECT_TRUE(IcmdOpenConstraintsEditor::IsFileSupported(zorpaFT_PDC));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::IsFileSupported(pins));
    EXPECT_FALSE(IcmdOpenConstraintsEditor::IsFileSupported(zorpaFT_SDC));
    EXPECT_FALSE(IcmdOpenConstraintsEditor::IsFileSupported(Entry()));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::CanLoadPorts(Unit("mid")));
    EXPECT_FALSE(IcmdOpenConstraintsEditor::CanLoadPorts(nullptr));
    DefSetFL("IDE_CONSTRAINTS_EDITOR_ENABLED", "0", __FILE__, __LINE__);
    EXPECT_FALSE(IcmdOpenConstraintsEditor::IsFileSupported(pins));
    EXPECT_FALSE(IcmdOpenConstraintsEditor::DoOpen(pins, nullptr));
}

TEST_F(ConstraintsEditorTest, TheProjectClosingForgetsItsEditorsWhichGoWithItsWorkspace)
{
    ListedBy("mid");
    EXPECT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
    EXPECT_EQ(Shown(), ShowsUnit("mid", "Port=IN a\nPort=OUT b\n"));
    ASSERT_EQ(IcmdOpenConstraintsEditor::GetComponents().size(), 1u);
    EXPECT_TRUE(IcmdOpenConstraintsEditor::IsOpened(pins));
    ASSERT_TRUE(IcmdDoCloseProject(false, true));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::GetComponents().empty());
    EXPECT_FALSE(IcmdOpenConstraintsEditor::IsOpened(pins));
    // Without a project nothing opens, and the registry stays empty.
    EXPECT_FALSE(IcmdOpenConstraintsEditor::DoOpen(pins, nullptr));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::GetComponents().empty());
}
