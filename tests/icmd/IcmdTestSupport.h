// The base of the command tests: a fresh project folder for the process-wide
// model (no project open until a test opens one), an empty design, the
// tests' echo commands registered with a Tcl interpreter to run them, and
// every message recorded. Everything is put back afterwards.
#pragma once

#include "EchoCommand.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/project/IcmdNewProject.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "src/icmd/IcmdCommandTable.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <ktwkspace/Workspace.h>

#include <gtest/gtest.h>
#include <tcl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

class IcmdTest : public ::testing::Test {
protected:
    using Texts = std::vector<std::string>;

    void SetUp() override
    {
        DefReset();
        Manager().Reset();
        Manager().SetCurrentFolder(m_folder.Path());
        Manager().RegisterCommand(std::make_unique<EchoCommand>());
        Manager().RegisterCommand(std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", true, true}));
        Manager().AttachInterp(m_interp);
        Design().ClearProject();
        Design().SetProjectFolder(m_folder.Path());
    }
    void TearDown() override
    {
        Tcl_DeleteInterp(m_interp);
        Manager().Reset();
        Imodel::GetInstance().GetFileManager()->RemoveAllFiles();
        Design().ClearProject();
        DefReset();
    }

    // A VHDL hierarchy of three levels: top instantiates mid, mid leaf.
    static constexpr const char* kTop = "entity top is end;\narchitecture rtl of top is signal a, b : bit;\n"
                                        "begin u : entity work.mid port map (a, b); end;\n";
    static constexpr const char* kMid = "entity mid is port (a : in bit; b : out bit); end;\n"
                                        "architecture rtl of mid is begin u : entity work.leaf port map (a, b); end;\n";
    static constexpr const char* kLeaf = "entity leaf is port (x : in bit; y : out bit); end;\n"
                                         "architecture rtl of leaf is begin y <= x; end;\n";

    static AcmdManager& Manager() { return AcmdManager::GetInstance(); }

    // Registers the commands of those names from the library's command
    // table, as the model registers them; answers how many were registered.
    static int RegisterCommands(const Texts& names)
    {
        std::vector<IcmdCommandRow> rows;
        for (const IcmdCommandRow& row : IcmdGetCommandTable())
            if (std::find(names.begin(), names.end(), row.name) != names.end()) rows.push_back(row);
        return IcmdRegisterCommandRows(rows, Imodel::GetInstance(), true);
    }
    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

    // The device catalogue of one part: family ZX3, die zx3_10, package tq100.
    static void LoadOnePartCatalogue()
    {
        DefLoadDefaultsFromText("@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = zx3_10\n"
                                "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n",
                                nullptr);
    }
    // A new VHDL project "alu" on that part in <folder>/alu, which becomes
    // the current folder; true when it was made.
    bool NewAluProject()
    {
        if (!IcmdDoNewProject(false, "alu", m_folder / "alu", true, "ZX3", "zx3_10", "tq100")) return false;
        Manager().SetCurrentFolder(m_folder / "alu");
        return true;
    }

    // Runs a script; its result, or its error text, is kept in `result`.
    int Eval(const std::string& script)
    {
        const int code = Tcl_EvalEx(m_interp, script.c_str(), -1, TCL_EVAL_GLOBAL);
        result = Tcl_GetStringResult(m_interp);
        return code;
    }

    // A unit of the design, owned by its library from then on.
    static ImodelModule* AddUnit(const std::string& name, const std::string& library = "work")
    {
        auto unit = std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_VHDL, false, library, "", false);
        const auto [added, inserted] = Design().AddLibrary(library, false)->GetModules()->Insert(std::move(unit));
        return inserted ? added : nullptr;
    }

    // A file below the project folder, made a member of the project.
    boost::shared_ptr<IfileObjectEx> AddProjectFile(const std::string& name)
    {
        const IfileObject file(ImodelFileName(m_folder.Write(name, "")), zorpaFT_HDL, ImodelFMFull, true, true);
        return Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(IfileObjectEx(file, false), false);
    }

    Texts TextsOf(const std::string& id) const
    {
        Texts texts;
        for (const MdbMessage& message : messages.WithId(id)) texts.push_back(message.text);
        return texts;
    }

    TempFolder m_folder;
    MessageRecorder messages;
    std::string result;

private:
    Tcl_Interp* m_interp = Tcl_CreateInterp();
};

// A model with a core workspace of its own in the test's folder; the
// constraint editors it opened are forgotten with it.
class IcmdWorkspaceTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        Imodel::GetInstance().SetWorkspace(std::make_unique<Ktwkspace::Workspace>(
            "kiltora", m_folder.Path(), "ZX3", "zx3_10", "tq100", "VHDL", false, 0, true, true, nullptr, nullptr));
    }
    void TearDown() override
    {
        IcmdOpenConstraintsEditor::Close();
        Imodel::GetInstance().SetWorkspace(nullptr);
        IcmdTest::TearDown();
    }

    static Ktwkspace::Workspace& Workspace() { return *Imodel::GetInstance().GetWorkspace(); }
};
