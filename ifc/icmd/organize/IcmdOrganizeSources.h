// organize_sources: the ordered HDL sources one module passes to synthesis
// or simulation.
//
//   organize_sources -tool synthesis|simulation [-module <unit>]
//                    [-file <path> ...] [-mode new|add|remove]
//                    [-use_default true|false]
//
// Without -module the root module is organized. The model works the list
// out from the hierarchy unless the module keeps a customized list of its
// own for the tool. With use_default true (the default) that list is
// stored but not used, and a list equal to the computed one is not stored
// at all; with false the list is stored and used. Only HDL files of the
// project may be named. A change of the list in use takes the tool's
// results out of date.
#pragma once

#include "icmd/args/IcmdTCLModuleArg.h"
#include "icmd/args/IcmdToolTypeArg.h"
#include "icmd/organize/IcmdOrganizeFilesBase.h"

class IcmdOrganizeSources : public IcmdOrganizeFilesBase {
public:
    explicit IcmdOrganizeSources(bool selfTest);
    ~IcmdOrganizeSources() override;

    std::string GetName() const override { return "organize_sources"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOrganizeSources>(false); }
    // Takes the root module when none is given; refuses a tool other than
    // synthesis or simulation ("NO_CUSTOM_SOURCES").
    AcmdEnum::Result checkParams() override;

    // Sets `module`, then `tool`.
    void SetParams(ImodelFunctionType tool, ImodelModule* module);

    void Accept(IcmdOrganizeFilesVisitor& visitor) override;
    // The module's customized list for the tool (in use or not), else the
    // computed one.
    void GetCurrentFileList(Entries& out, bool forTest) override;
    void GetDefaultFileList(Entries& out) override;
    bool IsUsingDefaultList() override;
    // The project's HDL files.
    void GetAllowedFileList(Entries& out) override;
    Entry FindAllowedFile(const Entry& file) override;
    bool ApplyNewFileList(const Entries& list, const ImodelOptionalFiles& optional) override;
    bool CanBeRemoved(const Entry& file, bool silent) override;
    void GetOptionalFileList(Entries list, ImodelOptionalFiles& out) override;
    std::string GetAssociateToWhat() override;
    // "new" gives exactly the named files.
    void UpdateActualListForNew(Entries& current, const Entries& requested) override;
    ImodelModule* GetModule() const override;
    bool IsNewFileListValid(const Entries& list, void* context) override;
    ImodelFunctionType GetToolType() const override;

private:
    // The files the tool receives for the module now.
    void GetListInEffect(Entries& out) const;

    IcmdTCLModuleArg m_module;
    IcmdToolTypeArg m_tool;
};
