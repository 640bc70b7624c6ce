// The physical-synthesis tool object: it keeps no file of its own; a
// unit's list lives in the unit's physical-synthesis options.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolPhySynth.h"

class itoolPhySynthImpl : public ItoolPhySynth {
public:
    itoolPhySynthImpl() = default;

    // Never fails: a unit without options has an empty list.
    bool GetConstraintFileList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // Stores the list in the unit's options; a list that differs from the
    // stored one is announced for every revision of the unit.
    bool SetConstraintFileList(const Entries& files, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // ... a single optional file's flag deciding whether the synthesis
    // constraint file is passed on.
    bool SetConstraintFiles(const Entries& files, const ImodelOptionalFiles& optional, ImodelModule* module,
                            ImodelRevContextImpl* revision) override;
    void ConstraintFileRemoved(const IfileObject& file, ImodelModule* module, ImodelRevContextImpl* revision) override;
    // Only a constraint file (group 104) is taken out, from every unit.
    void ConstraintFileDeleted(const IfileObject& file) override;
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("PHYSYNTH_CONSTRAINTS_LIST", extensions);
    }
    void ConstraintFileChanged(ImodelModule* module, const Entry& file, IprocessFileObject* resultNode,
                               IprocessToolObject* tool) override;
    bool GetUnitsNamingConstraintFile(const IfileObject& file, std::vector<ImodelModule*>& units) override;
    // The unit's list for the revision, each file once; the filter file is
    // not consulted.
    bool GetConstraintFileListEx(const Entry& file, Entries& out, ImodelModule* module, ImodelRevContextImpl* revision,
                                 bool flag) override;
    bool GetToolFileKind(int& kind) override
    {
        kind = 2;
        return true;
    }
    std::string GetToolKey() override { return "DAVIRI"; }
    // The flow files of the list are named after `baseName` when given.
    void GetUsedConstraintFiles(Entries& out, const Entry& file, ImodelModule* module, ImodelRevContextImpl* revision,
                                const std::string* baseName) override;

private:
    // Stores the list (and the optional flags when given); a changed list is
    // announced for every revision of the unit.
    static void StoreList(const Entries& files, const ImodelOptionalFiles* optional, ImodelModule* module);
    void AppendList(Entries& out, ImodelModule* module, ImodelRevContextImpl* revision, const std::string* baseName);
};
