// create_design: a new design of a core, under a name of the user's choice.
//
//   create_design -id vendor:library:name:version -design_name <name>
//                 [-config_file <path>] [-params {name:value ...}]
//
// The identity picks who creates the design (letter case ignored):
//   library Zandrel, name Veyrun   a new block design of that name
//   library Kiltora                the core generator's cores: not made here
//   any other                      the SPIRIT component of that identity
//                                  (the suite's, Brnspirit::ComponentMgr),
//                                  made a new core of the core workspace
//                                  with the parameters, or, with
//                                  DREMMET_AS_IPTOOL or a generator "LGI",
//                                  opened in the IP-core configurator
// The name must be one folder name (no "/", "\", "..", control
// characters); a SPIRIT design may not be named as its core or as a cell
// of the device maker. A new core whose parameters cannot be applied is
// removed again; a configurator run that fails removes the design folder it
// made in the project, nothing else. The configuration file is offered to
// the creators; none reads it.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>
#include <ulv/VlnvCoreId.h>
#include <vy/ComponentID.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class DesignCreatorBase;

class IcmdCreateDesign : public IcmdBase {
public:
    IcmdCreateDesign();
    ~IcmdCreateDesign() override;

    std::string GetName() const override { return "create_design"; }
    // A new command with neither identity nor creator.
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdCreateDesign>(); }
    // The identity is parsed and the creator chosen on the first check (a
    // later check keeps both); then the name is checked: by the house rule
    // of names, then by the creator.
    AcmdEnum::Result checkParams() override;
    // The creator makes the design.
    AcmdEnum::Result execDo() override;

    virtual std::string GetCmdLabel() const { return "Create Design"; }
    virtual std::string GetFileNameParam() const { return m_configFile.GetObject(); }
    virtual std::string GetIdParam() const { return m_id.GetObject(); }
    virtual std::string GetNameParam() const { return m_designName.GetObject(); }
    // Empty until the first check parsed the identity.
    virtual const VlnvCoreId& GetVLNV() const { return m_core; }
    virtual const AcmdStringParam& GetParams() const { return m_params; }

    void SetIdParam(const std::string& id) { m_id.SetObject(id); }
    void SetIdParam(const VlnvCoreId& core) { m_id.SetObject(core.ToString()); }
    void SetNameParam(const std::string& name) { m_designName.SetObject(name); }
    void SetFileNameParam(const std::string& file) { m_configFile.SetObject(file); }
    // The core parameters, each "name:value".
    void SetParamTexts(const std::vector<std::string>& texts) { m_params.SetObjects(texts); }

    // The creator the first check chose; null before.
    const DesignCreatorBase* GetCreator() const { return m_creator.get(); }

private:
    AcmdStringParam m_id;
    AcmdStringParam m_designName;
    AcmdFileNameParam m_configFile;
    AcmdStringParam m_params;
    VlnvCoreId m_core;
    std::unique_ptr<DesignCreatorBase> m_creator;
};

// Splits "vendor:library:name:version" at every ":", empty fields kept;
// false, with `core` unchanged, unless there are exactly four fields.
bool IcmdParseCoreIdentity(const std::string& text, VlnvCoreId& core);
// Each "name:value" as (name, value), split at the first ":"; a text
// without ":" or starting with it gives two empty texts.
std::vector<std::pair<std::string, std::string>> IcmdParseCoreParameters(const std::vector<std::string>& texts);

// Who makes the design of a create_design command.
class DesignCreatorBase {
public:
    explicit DesignCreatorBase(IcmdCreateDesign& command) : m_command(command) {}
    virtual ~DesignCreatorBase() = default;
    DesignCreatorBase(const DesignCreatorBase&) = delete;
    DesignCreatorBase& operator=(const DesignCreatorBase&) = delete;

    // Makes the design; false when it was not made.
    virtual bool Create() = 0;
    // Whether the design name may be used (the user is told why not).
    virtual bool Check() = 0;

protected:
    IcmdCreateDesign& m_command;
};

// A new block design of the block-design tool.
class ZandrelDesignCreator : public DesignCreatorBase {
public:
    using DesignCreatorBase::DesignCreatorBase;
    bool Create() override;
    bool Check() override { return true; }
};

// The core generator's cores are made by the core generator, not by
// create_design: its run fails.
class KiltoraDesignCreator : public DesignCreatorBase {
public:
    using DesignCreatorBase::DesignCreatorBase;
    bool Create() override { return false; }
    bool Check() override { return true; }
};

// A design of a SPIRIT component: a core of the workspace, or the
// configurator's.
class SpiritDesignCreator : public DesignCreatorBase {
public:
    using DesignCreatorBase::DesignCreatorBase;
    bool Create() override;
    // Not the core's own name ("INVALID_CORE_NAME") nor a cell of the
    // device maker ("INVALID_CORE_NAME_CVLIB").
    bool Check() override;

private:
    bool CreateInWorkspace(const VyIfaces::ComponentID& id);
    bool OpenInConfigurator(const VyIfaces::ComponentID& id);
};

// The creator the command's identity calls for.
std::unique_ptr<DesignCreatorBase> DesignCreatorFactory(IcmdCreateDesign& command);
