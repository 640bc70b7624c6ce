// The synthesis tool object: each unit's synthesis constraint list (kept
// in the unit) and the result of the last synthesis run.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolSynthesis.h"

class itoolSynthesisImpl : public ItoolSynthesis {
public:
    itoolSynthesisImpl() = default;

    // --- ItoolWithConstraints -------------------------------------------------------------
    // The unit's list as the project's files; the revision is not consulted.
    bool GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision) override;
    bool SetConstraintFileList(const Entries& files, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // Takes the first equal entry out of the unit's list.
    void ConstraintFileRemoved(const IfileObject& file, ImodelModule* module, ImodelRevContextImpl* revision) override;
    void ConstraintFileDeleted(const IfileObject& file) override;
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("SYNTHESIS_CONSTRAINTS_LIST", extensions);
    }
    // The tool's result is dropped in every revision its node takes part in
    // when the unit's list holds the file.
    void ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject* resultNode,
                               IprocessToolObject* tool) override;
    bool GetUnitsNamingConstraintFile(const IfileObject& file, std::vector<ImodelModule*>& units) override;
    bool GetConstraintFileListEx(const Entry& file, Entries& out, ImodelModule* module, ImodelRevContextImpl* revision,
                                 bool flag) override;
    // Synthesis keeps no list kind of its own.
    bool GetToolFileKind(int&) override { return false; }
    std::string GetToolKey() override { return "SYNTHESIS"; }

    // --- Itool -------------------------------------------------------------------------------
    ImodelFunctionType GetToolType() override { return ideSYNTHESIS; }
    std::string GetProfileToolName() override;
    zorpaFileManagerTypes GetResultFileType() override { return zorpaFT_SYN_EDN; }

    // --- results ---------------------------------------------------------------------------------
    void ReadResultFile(const IfileObject& file, const std::string& toolName, const std::string& rootName) override;
    boost::shared_ptr<IfileObjectEx> AddNetlist(const IfileObject& netlist) override;
    void SetResultState(imodelToolState state, const boost::shared_ptr<IfileObjectEx>& netlist,
                        ImodelModule* module) override;
    imodelToolState GetResultState() const override { return m_state; }

private:
    // The name the user knows the tool by: the profile's, else the flow's.
    std::string GetDisplayName();

    imodelToolState m_state = StateNoResult;
};
