// ImodelFlowOptions: the route of one place-and-route view through the flow:
// whether it runs synthesis and whether it runs physical synthesis. Each
// revision context owns one; the project file keeps it as the block
// "LIST FlowOptions".
#pragma once

#include <ostream>
#include <string>
#include <vector>

class ImodelFlowOptions {
public:
    ImodelFlowOptions() = default;
    ImodelFlowOptions(const ImodelFlowOptions& other);
    virtual ~ImodelFlowOptions();

    ImodelFlowOptions& operator=(const ImodelFlowOptions& other);
    bool operator==(const ImodelFlowOptions& other) const;
    bool operator!=(const ImodelFlowOptions& other) const;

    // UsePhySynth false, UseSynth true.
    void SetDefault();
    // Whether the switches are as SetDefault and a fresh value leave them
    // (asked of every unit at every save, without a value made to compare).
    bool IsDefault() const { return !UsePhySynth && UseSynth; }

    // Writes the block: "LIST FlowOptions", "UsePhySynth=TRUE|FALSE",
    // "UseSynth=TRUE|FALSE", "ENDLIST", one per line. Nothing for a null
    // stream.
    void WriteFlowOptions(std::ostream* stream) const;

    // Reads the block from the front of `lines` (the caller has taken the
    // "LIST FlowOptions" line) up to and including the first "ENDLIST" or
    // the end of `lines`, and removes what it read. The switches start at
    // their defaults; "TRUE" in any letter case is true, any other value
    // false; unknown lines are skipped. `hasUseSynth` becomes true when the
    // block holds UseSynth and is otherwise left as the caller set it.
    void ReadFlowOptions(std::vector<std::string>& lines, bool& hasUseSynth);

    bool UsePhySynth = false;
    bool UseSynth = true;
};
