// Tool-version queries. get_current_tool_version asks the host's tool
// profiles which tool is active for a tool kind and answers that tool's
// version as its Tcl result:
//
//   get_current_tool_version -tool <kind>
//
// get_tool_version runs in process only: it runs the tool of `path` (its
// folder) with the command text of the options variable "<type>_VERSION"
// (program and arguments) in the temporary folder and keeps what the tool
// prints. Nothing is cached: every query runs the tool again. A tool that
// cannot be found or run, fails, or does not end in time (the host stops
// it) fails the query, naming the tool. Neither needs an open project.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdToolTypeArg.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdGetToolVersion : public IcmdBase {
public:
    IcmdGetToolVersion();
    ~IcmdGetToolVersion() override;

    std::string GetName() const override { return "get_tool_version"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdGetToolVersion>(); }
    AcmdEnum::Result execDo() override;
    bool NeedProjectOpenedToExecute() const override { return false; }

    void SetParams(const std::string& path, const std::string& type, ImodelFunctionType tool);
    // What the tool printed; "Unknown" until a run got it.
    std::string GetVersion() const { return m_version; }

private:
    std::string m_version = "Unknown";
    AcmdStringParam m_path;
    AcmdStringParam m_type;
    IcmdToolTypeArg m_tool;
};

class IcmdGetActiveToolVersion : public IcmdBase {
public:
    IcmdGetActiveToolVersion();
    ~IcmdGetActiveToolVersion() override;

    std::string GetName() const override { return "get_current_tool_version"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdGetActiveToolVersion>(); }
    // Fails without a host or profiles (silently), without an active tool
    // of the kind ("NO_PROFILE"), or as get_tool_version fails.
    AcmdEnum::Result execDo() override;
    bool NeedProjectOpenedToExecute() const override { return false; }

    void SetParam(ImodelFunctionType tool) { m_tool.SetObject(tool); }

private:
    IcmdToolTypeArg m_tool;
};
