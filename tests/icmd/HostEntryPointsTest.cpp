// Entry points only a host calls: closing the editors that depend on the
// device before the host changes it, and export_as_link run in process.
// Both run under the shell's console host, as a script would drive them.
#include "IcmdTestSupport.h"
#include "PinConstraintsEditor.h"
#include "RecordingHost.h"

#include "ConsoleHost.h"
#include "icmd/design/IcmdCloseDeviceDependentWindows.h"
#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdPublishFile.h"
#include "icmd/project/IcmdOpenProject.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/device/ImodelDevice.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <string>
#include <utility>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

ImodelDevice Device(const std::string& family, const std::string& die, const std::string& package)
{
    ImodelDevice device;
    device.SetMember(family, imodelDeviceFamily);
    device.SetMember(die, imodelDeviceDie);
    device.SetMember(package, imodelDevicePackage);
    return device;
}

// A project "alu" on ZX3 zx3_10 with three block designs, "bus" and "dma"
// open in their editors, and the pin constraints open in theirs.
class DeviceDependentEditors : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        Imodel::GetInstance().SetHost(&m_console);
        EnablePinConstraintsEditor();
        ASSERT_TRUE(NewAluProject());
        for (const char* name : {"bus", "dma", "fifo"})
            ASSERT_TRUE(ItoolVeyrun::GetInstance()->CreateNewVeyrun(name).first);
        for (const char* name : {"dma", "bus"}) ASSERT_TRUE(Workspace().OpenVeyrun(name));
        const std::string path = m_folder.Write("alu/constraint/pins.pdc", "set_io a 1\n");
        pins = Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), zorpaFT_PDC, ImodelFMFull, true, true), false), false);
        ASSERT_TRUE(IcmdOpenConstraintsEditor::DoOpenFile(pins));
        messages.Clear();
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        Imodel::GetInstance().SetHost(nullptr);
        IcmdTest::TearDown();
    }

    static Ktwkspace::Workspace& Workspace() { return *Imodel::GetInstance().GetWorkspace(); }
    static bool IsOpen(const std::string& design)
    {
        return Workspace().IsComponentOpen(VyIfaces::ComponentID(design, "work", ""));
    }
    // The documents the question named, one a line.
    Texts Asked() const
    {
        Texts asked;
        for (const MdbMessage& message : messages.WithId("CLOSE_DOCS")) asked.push_back(message.text);
        return asked;
    }
    static std::string Question(const std::string& names)
    {
        return "Before changing the project device settings, the following documents(s) must be closed:\n" + names;
    }
    std::string PinsEditor() const
    {
        return IcmdOpenConstraintsEditor::GetComponents().empty()
                   ? std::string()
                   : (*IcmdOpenConstraintsEditor::GetComponents().begin())->GetDisplayName();
    }

    ConsoleHost m_console;
    Entry pins;
};

}  // namespace

TEST_F(DeviceDependentEditors, AScriptClosesEveryEditorMadeForAnotherDeviceAndNothingIsAskedForTheSameDevice)
{
    ASSERT_TRUE(IsOpen("bus") && IsOpen("dma") && !IsOpen("fifo"));
    const std::string editor = PinsEditor();
    ASSERT_FALSE(editor.empty());

    // The same part, the package aside: nothing depends on it.
    EXPECT_TRUE(IcmdDoCloseDeviceDependentWindows(nullptr, Device("zx3", "ZX3_10", "pq208")));
    EXPECT_TRUE(Asked().empty());
    EXPECT_TRUE(IsOpen("bus") && IsOpen("dma"));

    // Another die: the constraint editors first, then the open designs in
    // the workspace's order; the question says OK in a script.
    EXPECT_TRUE(IcmdDoCloseDeviceDependentWindows(nullptr, Device("ZX3", "zx3_20", "tq100")));
    EXPECT_EQ(Asked(), Texts{Question(editor + "\nbus\ndma")});
    EXPECT_FALSE(IsOpen("bus") || IsOpen("dma") || IsOpen("fifo"));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::GetComponents().empty());
    EXPECT_TRUE(Workspace().GetEditorComponents().empty());
    // The designs stay in the workspace; only their editors closed.
    EXPECT_NE(Workspace().FindComponent(VyIfaces::ComponentID("bus", "work", "")), nullptr);

    // Nothing is left to close.
    messages.Clear();
    EXPECT_TRUE(IcmdDoCloseDeviceDependentWindows(nullptr, Device("ZX7", "zx7a", "pq208")));
    EXPECT_TRUE(Asked().empty());
}

TEST_F(DeviceDependentEditors, AUserWhoCancelsKeepsTheEditorsAndTheDeviceMustNotChange)
{
    RecordingHost user;
    user.runningScript = false;
    const ImodelDevice other = Device("ZX7", "zx7a", "pq208");
    // Nobody answers: Cancel is assumed.
    EXPECT_FALSE(IcmdDoCloseDeviceDependentWindows(nullptr, other));
    EXPECT_EQ(Asked().size(), 1u);
    EXPECT_TRUE(IsOpen("bus") && IsOpen("dma"));
    EXPECT_EQ(IcmdOpenConstraintsEditor::GetComponents().size(), 1u);

    messages.AnswerNext("CLOSE_DOCS", MdbOK);
    EXPECT_TRUE(IcmdDoCloseDeviceDependentWindows(nullptr, other));
    EXPECT_EQ(Asked().size(), 2u);
    EXPECT_FALSE(IsOpen("bus") || IsOpen("dma"));
    EXPECT_TRUE(IcmdOpenConstraintsEditor::GetComponents().empty());
}

namespace {

// A project "alu" under the console host with a source of its own folder
// and one linked from outside it.
class PublishFileInProcess : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        Imodel::GetInstance().SetHost(&m_console);
        ASSERT_TRUE(NewAluProject());
        source = Add(m_folder.Write("alu/hdl/adder.vhd", kLeaf));
        linked = Add(m_folder.Write("shared/top.vhd", kTop));
        ASSERT_TRUE(source && linked);
        messages.Clear();
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        Imodel::GetInstance().SetHost(nullptr);
        IcmdTest::TearDown();
    }

    static Entry Add(const std::string& path)
    {
        return IcmdDoAddFileToModel(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), true,
                                    true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    }
    static Entry Member(const std::string& path)
    {
        return Imodel::GetInstance().GetFileManager()->GetFile(
            IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true));
    }

    ConsoleHost m_console;
    Entry source;
    Entry linked;
};

}  // namespace

TEST_F(PublishFileInProcess, TheEntryMovesToItsCopyOutsideTheProjectAndStaysThereAcrossASave)
{
    const std::size_t history = Manager().GetHistory().size();
    const std::string place = m_folder / "exported/adder.vhd";
    ASSERT_TRUE(IcmdDoPublishFile(source, place, false));
    EXPECT_EQ(Manager().GetHistory().size(), history);
    EXPECT_EQ(source->GetFullFileName().GetString(), place);
    EXPECT_FALSE(source->IsLocalFile());
    EXPECT_EQ(m_folder.Read("exported/adder.vhd"), kLeaf);
    EXPECT_EQ(Member(place), source);
    EXPECT_FALSE(Member(m_folder / "alu/hdl/adder.vhd"));
    // The unit the file defines is defined by the link now.
    const ImodelModule* leaf =
        ImodelFindModuleInLib(Design().FindLibraryByName("work"), "leaf", zorpaMODULE_UNKNOWN, "");
    ASSERT_NE(leaf, nullptr);
    ASSERT_TRUE(leaf->GetModuleFile());
    EXPECT_EQ(leaf->GetModuleFile()->GetFullFileName().GetString(), place);

    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    ASSERT_TRUE(IcmdDoOpenProject((m_folder / "alu/alu.prj").c_str(), false, false));
    const Entry reopened = Member(place);
    ASSERT_TRUE(reopened);
    EXPECT_FALSE(reopened->IsLocalFile());
}

TEST_F(PublishFileInProcess, RefusalsLeaveTheEntryAndTheDiskAsTheyWereAndAKeptRunGoesToTheHistory)
{
    const std::string own = source->GetFullFileName().GetString();
    // Onto a file that is there already.
    m_folder.Write("taken/adder.vhd", "-- somebody's\n");
    EXPECT_FALSE(IcmdDoPublishFile(source, m_folder / "taken/adder.vhd", false));
    EXPECT_EQ(TextsOf("LINK_TARGET_EXISTS").size(), 1u);
    EXPECT_EQ(m_folder.Read("taken/adder.vhd"), "-- somebody's\n");
    // Into the project's own folder.
    EXPECT_FALSE(IcmdDoPublishFile(source, m_folder / "alu/synthesis/adder.vhd", false));
    EXPECT_EQ(TextsOf("LINK_PLACE_IN_PROJECT").size(), 1u);
    // Under another extension.
    EXPECT_FALSE(IcmdDoPublishFile(source, m_folder / "exported/adder.v", false));
    EXPECT_EQ(messages.WithId("INVALID_EXTENSION").size(), 1u);
    // A file that is a link already.
    EXPECT_FALSE(IcmdDoPublishFile(linked, m_folder / "exported/top.vhd", false));
    EXPECT_EQ(TextsOf("FILE_MUST_BE_LOCAL_AND_USER"),
              Texts{"'" + (m_folder / "shared/top.vhd") +
                    "' must not be part of a component and must be local to the project."});
    EXPECT_EQ(source->GetFullFileName().GetString(), own);
    EXPECT_EQ(m_folder.List("exported"), Texts{});
    EXPECT_FALSE(UtlDoesFileExist(m_folder / "alu/synthesis/adder.vhd"));

    // No file, or no place: nothing to do, and nothing done.
    EXPECT_TRUE(IcmdDoPublishFile(source, "", false));
    EXPECT_EQ(source->GetFullFileName().GetString(), own);

    // Kept: the manager holds the command that ran, with its values.
    const std::size_t history = Manager().GetHistory().size();
    ASSERT_TRUE(IcmdDoPublishFile(source, m_folder / "exported/adder.vhd", true));
    ASSERT_EQ(Manager().GetHistory().size(), history + 1);
    EXPECT_EQ(Manager().GetHistory().back()->GetName(), "export_as_link");
    EXPECT_EQ(source->GetFullFileName().GetString(), m_folder / "exported/adder.vhd");
}
