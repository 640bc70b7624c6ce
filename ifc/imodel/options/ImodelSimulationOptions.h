// The settings handed to the HDL simulator. A value: copyable, comparable,
// reset to its defaults, and stored in the project file's
// "SimulationOptions" block as "key=value" lines (the caller writes the
// block's first and last lines). The fields are plain, named by their
// project-file keys; the flags hold 1 for true and 0 for false and are
// written "true" / "false".
#pragma once

#include <ostream>
#include <string>

class ImodelSimulationOptions {
public:
    ImodelSimulationOptions();
    ImodelSimulationOptions(const ImodelSimulationOptions&) = default;
    ImodelSimulationOptions& operator=(const ImodelSimulationOptions&) = default;
    virtual ~ImodelSimulationOptions() = default;

    // Every field equal (texts exactly).
    bool operator==(const ImodelSimulationOptions& other) const = default;

    // The defaults; run time and resolution come from "IDE_SIMULATION_RUNTIME"
    // and "IDE_SIMULATION_RESOLUTION" when those can be read.
    void SetDefault();

    // The fifteen lines, in the project file's order. A text holding a line
    // break (CheckTexts skipped) is refused: nothing is written and the
    // stream fails, so that the save writes nothing.
    void WriteSimulationOptions(std::ostream* stream) const;
    // One line of the project file: a field's key (exactly) sets the field
    // (a flag is on when the value is "true" in any case; a text holding a
    // line break is not taken) and gives true; any other key changes
    // nothing and gives false.
    bool ReadSimulationOption(const std::string& key, const std::string& value);

    // Whether every text can be stored in the line-oriented project file:
    // a text holding a line break is reported ("INVALID_SIMULATION_PARAM"),
    // and the record must then not go into the model.
    bool CheckTexts() const;

    int UseAutomaticDoFile;  // use the automatically written DO file
    int IncludeWaveDo;       // include the DO file named by DoFileName2
    std::string Type;        // SDF timing delays: "min", "typ" or "max"
    std::string RunTime;
    std::string Resolution;
    std::string VsimOpt;          // further options of the vsim command
    std::string EntityName;       // the test bench's module name
    std::string TopInstanceName;  // the design's instance in the test bench
    std::string DoFileName;       // a DO file of the user's
    std::string DoFileName2;      // the DO file to include
    int DisplayDUTWave;           // waveforms of the design rather than the test bench
    int LogAllSignals;
    std::string DoFileParams;  // arguments of the do command
    int DumpVCD;               // write a VCD file
    std::string VCDFileName;
};
