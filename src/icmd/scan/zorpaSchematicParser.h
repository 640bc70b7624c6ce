// The schematic scanner: the unit of a schematic and the symbols placed on
// its pages. It reads, for each page, the wire file that the schematic
// editor writes into the folder "wir" beside the schematic's folder: its
// instance lines ("I ") and HDL attribute lines ("AS ... VHDL=" or
// "VERILOG="). The statement operations of the framework are not used.
#pragma once

#include "icmd/scan/ZorpaParser.h"

#include <string>
#include <string_view>

template <class T>
class zorpaSchematicParser : public ZorpaParser<T> {
public:
    zorpaSchematicParser(T prototype, T nullModule);

    // Declares the schematic's unit (its file title, upper-cased) and scans
    // its pages from the last down to the first. With both page numbers -1
    // the first page is the file's extension and the last the highest page
    // file found on disk after it.
    bool parse(const std::string& fileName, const std::string& libraryName, NdbWorld* world, bool readPorts,
               int firstPage = -1, int lastPage = -1) override;
    // Adds the instances of one page's wire file to the current unit.
    void scanPage(std::string_view text);

    bool skipComment(const char*& pos, const char* end) override;
    const char* findStatementEnd(const char* pos, const char* end) override;
    std::string_view readToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank,
                               bool backslashIsPlain) override;
    std::string_view declaredUnitName(const char* start, const char* end) override;
    std::string_view instantiatedUnitName(const char* start, const char* end) override;
    ZorpaPortList readPorts(const char* start, const char* end) override;
    bool isStructuralStatement(const char* start, const char* end) override;
};

extern template class zorpaSchematicParser<ImodelModule*>;
