// The kinds of import_files that differ from the plain kind.
#pragma once

#include "icmd/files/IcmdImportFiles.h"

// Schematic-editor files, whose extension is a page number.
class icmdImportVDFileFilters : public IcmdImportFiles::ImportFileFilters {
public:
    icmdImportVDFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                            IcmdImportFiles* owner)
        : ImportFileFilters(type, key, description, std::string(), ideVIEWDRAW, owner)
    {
    }
    // A whole number.
    bool IsValidExt(const std::string& extension) override;
    bool UseCreateExtStrListForDisplay() const override { return true; }
    std::string CreateExtStrList() override { return "(*.[1-9]*)"; }

protected:
    std::string CreateFilterStr() override;
};

// HDL files of the project's language: "vhd" for a VHDL project, "v" (and
// "h" for sources) for a Verilog one.
class icmdImportHDLFileFilters : public IcmdImportFiles::ImportFileFilters {
public:
    icmdImportHDLFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                             IcmdImportFiles* owner)
        : ImportFileFilters(type, key, description, std::string(), ideHDLEDITOR, owner)
    {
    }

protected:
    void UpdateExtensionMember() override;
};

// Files that go to the user's places, not into the project (profiles, IP
// cores, templates): any model but the new-project wizard's takes them.
class icmdImportAnyProjectFileFilters : public IcmdImportFiles::ImportFileFilters {
public:
    icmdImportAnyProjectFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                                    Extensions extensions, IcmdImportFiles* owner)
        : ImportFileFilters(type, key, description, std::move(extensions), ideHDLEDITOR, owner)
    {
    }
    bool IsSupported(Imodel* model, bool report) const override;
};

// The simulator's set-up file: not for the new-project wizard.
class icmdImportModelSimIniFileFilters : public IcmdImportFiles::ImportFileFilters {
public:
    icmdImportModelSimIniFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                                     const std::string& extension, IcmdImportFiles* owner)
        : ImportFileFilters(type, key, description, extension, ideHDLEDITOR, owner)
    {
    }
    bool IsSupported(Imodel* model, bool report) const override;
};

// A constraint kind: the device family must support its extension.
class icmdImportConstraintFileFilters : public IcmdImportFiles::ImportFileFilters {
public:
    icmdImportConstraintFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                                    const std::string& extension, IcmdImportFiles* owner)
        : ImportFileFilters(type, key, description, extension, ideHDLEDITOR, owner)
    {
    }
    bool IsSupported(Imodel* model, bool report) const override;
};
