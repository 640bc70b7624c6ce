// The base of the command tests: a fresh project folder for the process-wide
// model (no project open until a test opens one), an empty design with a
// "work" library, the tests' echo commands registered with the command
// manager and a Tcl interpreter that runs them, and every message recorded.
// Everything is put back afterwards.
#pragma once

#include "EchoCommand.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>

#include <gtest/gtest.h>
#include <tcl.h>

#include <memory>
#include <string>
#include <vector>

class IcmdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        Manager().Reset();
        Manager().SetCurrentFolder(m_folder.Path());
        Manager().RegisterCommand(std::make_unique<EchoCommand>());
        Manager().RegisterCommand(std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", true, true}));
        m_interp = Tcl_CreateInterp();
        Manager().AttachInterp(m_interp);
        Design().Reset();
        Design().SetProjectFolder(m_folder.Path());
        Design().SetProjectOpen(false);
    }

    void TearDown() override
    {
        Tcl_DeleteInterp(m_interp);
        Manager().Reset();
        Imodel::GetInstance().GetFileManager()->RemoveAllFiles();
        Design().SetProjectOpen(false);
        Design().SetRootId(VyIfaces::ComponentID());
        Design().Reset();
        Design().SetProjectFolder(ImodelFileName());
        Design().SetNeedSave(false);
        DefReset();
    }

    static AcmdManager& Manager() { return AcmdManager::GetInstance(); }
    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

    // Runs a script; the result (or the error text) goes to Result().
    int Eval(const std::string& script)
    {
        const int code = Tcl_EvalEx(m_interp, script.c_str(), -1, TCL_EVAL_GLOBAL);
        m_result = Tcl_GetStringResult(m_interp);
        return code;
    }
    const std::string& Result() const { return m_result; }

    // A unit of the design, owned by its library from then on.
    ImodelModule* AddUnit(const std::string& name, const std::string& library = "work", const std::string& package = "")
    {
        auto unit = std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_VHDL, false, library, package, false);
        if (!Design().AddLibrary(library, false)->GetModules()->insert(unit.get()).second) return nullptr;
        return unit.release();
    }

    // A file below the project folder, made a member of the project.
    boost::shared_ptr<IfileObjectEx> AddProjectFile(const std::string& name)
    {
        const IfileObject file(ImodelFileName(m_folder.Write(name, "")), zorpaFT_HDL, ImodelFMFull, true, true);
        return Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(IfileObjectEx(file, false), false);
    }

    // The texts of the messages of that id, in order.
    std::vector<std::string> TextsOf(const std::string& id) const
    {
        std::vector<std::string> texts;
        for (const MdbMessage& message : m_messages.WithId(id)) texts.push_back(message.text);
        return texts;
    }

    TempFolder m_folder;
    MessageRecorder m_messages;

private:
    Tcl_Interp* m_interp = nullptr;
    std::string m_result;
};
