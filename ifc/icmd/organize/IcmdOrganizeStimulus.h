// associate_stimulus: the stimulus (test-bench) files of a module.
//
//   associate_stimulus -module <unit> [-file <path> ...] [-mode new|add|remove]
//
// Only the project's test-bench files may be named. The new list marks the
// project as needing a save and is handed to the design flow, whose
// stimulus steps follow it.
#pragma once

#include "icmd/args/IcmdTCLModuleArg.h"
#include "icmd/organize/IcmdOrganizeFilesBase.h"

class IcmdOrganizeStimulus : public IcmdOrganizeFilesBase {
public:
    explicit IcmdOrganizeStimulus(bool selfTest);
    ~IcmdOrganizeStimulus() override;

    std::string GetName() const override { return "associate_stimulus"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOrganizeStimulus>(false); }

    void SetParams(ImodelModule* module);

    void Accept(IcmdOrganizeFilesVisitor& visitor) override;
    // The module's stimulus files, as project entries.
    void GetCurrentFileList(Entries& out, bool forTest) override;
    void GetDefaultFileList(Entries& out) override;
    bool IsUsingDefaultList() override;
    // The project's test-bench files.
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
    IcmdTCLModuleArg m_module;
};
