// Test double of a core-tool manager: of a core type and a tool kind, with
// neutral answers (nothing done, false) to everything; tests override what
// they look at.
#pragma once

#include "itool/QuorlaneCoreToolManager.h"

#include <string>

class CoreToolDouble : public QuorlaneCoreToolManager {
public:
    CoreToolDouble(zorpaFileManagerTypes core, ImodelFunctionType tool) : m_core(core), m_tool(tool) {}

    zorpaFileManagerTypes GetCoreType() override { return m_core; }
    ImodelFunctionType GetToolType() override { return m_tool; }
    std::string GetToolName() override { return "double " + std::to_string(m_core); }
    const char* GetXmlSPIRITNode() override { return "none"; }
    bool UpdateDataBase() override { return false; }
    bool OpenTool() override { return false; }
    bool OpenCore(const IfileObject&) override { return false; }
    bool ImportCore(const IfileObject&, ImodelFileName&) override { return false; }
    bool RemoveCore(const IfileObjectEx&, bool) override { return false; }
    bool AddCoreToProject(const IfileObject&) override { return false; }
    bool OnlyOneCorePerProject() override { return false; }
    bool ImportCoreFilesInReadOnly() override { return false; }
    bool ImportOldCores() override { return false; }
    bool ConvertDataBase(int, int) override { return false; }
    void SaveNewWorkspaceTimeStamp() override {}
    bool CheckNewCoresCreated() override { return false; }
    void Refresh() override {}
    bool StartTool(bool) override { return false; }
    bool StopTool() override { return false; }

private:
    zorpaFileManagerTypes m_core;
    ImodelFunctionType m_tool;
};
