// The base of the tests that work with the design flow of the process-wide
// model: a project folder with one place-and-route view, design units in the
// library "work", files registered with the file manager (and written to
// disk), and options set for one test. Everything is put back afterwards.
#pragma once

#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/IprocessToolObject.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// Sets options for the length of a scope; each is unset afterwards. The
// model's cached switches are read again on both ends.
class FlowOptionsScope {
public:
    FlowOptionsScope(std::initializer_list<std::pair<const char*, const char*>> options)
    {
        for (const auto& [name, value] : options) Set(name, value);
    }
    // A cached switch keeps the value it read last once its variable is
    // gone: the switches the flow reads get their defaults back first.
    ~FlowOptionsScope()
    {
        Imodel& model = Imodel::GetInstance();
        DefSetFL("IDE_INTEGRATE_DREMMET", "1");
        DefSetFL("DEBUG_MSG", "0");
        model.ReloadBoolSettings();
        model.IntegrateDremmet();
        model.IsDebugMsg();
        DefUnset("IDE_INTEGRATE_DREMMET");
        DefUnset("DEBUG_MSG");
        for (const std::string& name : m_names) DefUnset(name.c_str());
        model.ReloadBoolSettings();
    }
    FlowOptionsScope(const FlowOptionsScope&) = delete;
    FlowOptionsScope& operator=(const FlowOptionsScope&) = delete;

    void Set(const char* name, const char* value)
    {
        DefSetFL(name, value);
        m_names.emplace_back(name);
        Imodel::GetInstance().ReloadBoolSettings();
    }

private:
    std::vector<std::string> m_names;
};

// A netlist whose top cell is `cell`.
inline std::string FlowNetlist(const std::string& cell)
{
    return "(edif " + cell + " (design " + cell + " (cellRef " + cell + " (libraryRef work))))\n";
}

class FlowProject : public ::testing::Test {
protected:
    FlowProject() : m_oldFolder(Design().GetProjectFolder())
    {
        Design().Reset();
        Design().SetProjectFolder(m_folder.Path());
        Design().SetDefaultVHDL(false);
        std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "CURREV=1"};
        Views().ReadRevisions(views);
        // The flow's file nodes hear of every file from here on.
        Imodel::GetInstance().GetProcessManager();
    }
    ~FlowProject() override
    {
        Imodel::GetInstance().GetStateMachine()->AttachModule(nullptr);
        Files().RemoveAllFiles();
        Design().SetRootId(VyIfaces::ComponentID());
        Design().Reset();
        Views().RemoveAllViews();
        Design().SetProjectFolder(m_oldFolder);
        Design().SetDefaultVHDL(false);
        Design().SetNeedSave(false);
    }

    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    static ImodelRevisionManager& Views() { return *Imodel::GetInstance().GetRevisionManager(); }
    static IprocessFlow& Flow() { return *Imodel::GetInstance().GetProcessManager()->GetFlowForModule(nullptr); }
    static IprocessFileObject& Node(zorpaFileManagerTypes type) { return *Flow().GetFileObject(type); }
    static IprocessToolObject& Tool(ImodelFunctionType type) { return *Flow().GetToolObject(type); }

    // A unit of the library "work", which owns it.
    static ImodelModule* Unit(const std::string& name, const boost::shared_ptr<IfileObjectEx>& file = nullptr,
                              zorpaModuleTypes kind = zorpaMODULE_VERILOG)
    {
        auto unit = std::make_unique<ImodelModule>(name, file, kind, false, "", "", false);
        return Design().FindLibraryByName("work")->GetModules()->Insert(std::move(unit)).first;
    }
    static ImodelRevContextImpl* Revision(ImodelModule* unit) { return unit->GetContext()->GetCurRevContext(); }

    // The file at `name` below the project folder, written to disk and made
    // a member of the project in `state`.
    boost::shared_ptr<IfileObjectEx> Add(const std::string& name, zorpaFileManagerTypes type,
                                         const std::string& content = std::string(),
                                         imodelFileState state = imodelFileUpToDate)
    {
        m_folder.Write(name, content);
        IfileObjectEx file(IfileObject("<project>/" + name, type, ImodelFMInternal, true, true), false);
        file.SetFileState(state);
        return Files().AddOrUpdateFile(file, false);
    }
    // The default file of a node for the unit, written and added.
    boost::shared_ptr<IfileObjectEx> AddDefault(zorpaFileManagerTypes type, ImodelModule* unit,
                                                const std::string& content = std::string(),
                                                imodelFileState state = imodelFileUpToDate)
    {
        const std::optional<IfileObject> value = Node(type).CreateDefaultIfileObject(unit, Revision(unit));
        EXPECT_TRUE(value.has_value());
        ImodelFileName relative;
        value->GetRelativeFileName(relative);
        return Add(relative, type, content, state);
    }

    TempFolder m_folder;

private:
    ImodelFileName m_oldFolder;
};
