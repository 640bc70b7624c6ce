// The project-wide switches of the design flow: which generated files to
// refresh, design-rule check after synthesis, file detection, block mode and
// the programming tool's input file. A value: copyable, comparable, reset to
// its defaults, and stored in the project file's "GlobalFlowOptions" block
// as "key=TRUE" / "key=FALSE" lines (the caller writes the block's first and
// last lines). The switches are plain fields, named by their project-file
// keys, so commands can bind to them directly.
#pragma once

#include <memory>
#include <ostream>
#include <string>

class imodelTorvixInputOption;

class ImodelGlobalFlowOptions {
public:
    ImodelGlobalFlowOptions();
    ImodelGlobalFlowOptions(const ImodelGlobalFlowOptions& other);
    ImodelGlobalFlowOptions& operator=(const ImodelGlobalFlowOptions& other);
    virtual ~ImodelGlobalFlowOptions();

    // The eight switches and the programming input are equal.
    bool operator==(const ImodelGlobalFlowOptions& other) const;
    bool operator!=(const ImodelGlobalFlowOptions& other) const { return !(*this == other); }

    // Every switch and the programming input back to their defaults.
    void SetDefault();

    // One line of the project file: a switch key sets its switch to (value
    // is "TRUE", exactly); any other key goes to the programming input,
    // which takes only "TorvixInputFile".
    void ReadGlobalFlowOptions(const std::string& key, const std::string& value);
    // The switch lines (EnableFileDetection only when it is off), then the
    // programming input's line.
    void WriteGlobalFlowOptions(std::ostream* stream) const;

    // Tells whoever must know about a change made by the host, given the
    // values from before: a change of block mode shows the block-mode
    // warning; with `notifyFlow`, a change of file detection or block mode
    // goes to the process manager.
    void NotifyChanges(const ImodelGlobalFlowOptions& old, bool notifyFlow) const;

    // The programming tool takes the PDB file.
    bool IsPDBUsed() const;
    // File detection is at its default (on).
    bool IsTimerOptionDefault() const;
    // The programming input's file-type keyword: "stp", "pdb", or empty when
    // none is selected.
    std::string GetDefaultProgrammingOutput() const;

    bool GenerateHDLAfterSynthesis = false;
    bool GenerateHDLAfterPhySynthesis = false;
    bool RunDRCAfterSynthesis = false;
    bool UpdateViewDrawIni = true;
    bool UpdateModelSimIni = true;
    bool EnableFileDetection = true;
    bool NoIOMode = false;  // block mode
    bool GenerateHDLFromSchematic = true;

private:
    std::unique_ptr<imodelTorvixInputOption> m_programmingInput;
};
