// Shared part of the scanner fuzz targets: scans an input into a fresh
// design with the scanner of a kind and checks what it made.
#pragma once

#include "icmd/scan/zorpaCreateParser.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <algorithm>
#include <cstdlib>
#include <string>

// The statement walk of the scanner over the text: every statement lies
// inside the text and moves the walk on.
inline void WalkStatements(ZorpaParser<ImodelModule*>& parser, const std::string& text)
{
    const char* pos = text.data();
    const char* const end = pos + text.size();
    while (pos < end) {
        const char* before = pos;
        parser.skipComment(pos, end);
        parser.preprocessorLine(pos, end);
        if (pos < before || pos > end) std::abort();
        if (pos == end) break;
        const char* stop = parser.findStatementEnd(pos, end);
        if (stop < pos || stop > end) std::abort();
        const char* token = pos;
        for (bool any : {false, true})
            for (bool newline : {false, true})
                for (bool plain : {false, true}) {
                    token = pos;
                    const std::string_view read = parser.readToken(token, stop, any, newline, plain);
                    if (token < pos || token > stop || read.size() > static_cast<std::size_t>(stop - pos)) std::abort();
                }
        parser.declaredUnitName(pos, stop);
        parser.instantiatedUnitName(pos, stop);
        parser.isStructuralStatement(pos, stop);
        parser.readPorts(pos, stop);
        pos = stop > pos ? stop : pos + 1;
    }
}

// Scans the text into "work" and checks that every unit found is in the
// library and that links go both ways; the design is emptied afterwards.
inline void ScanIntoDesign(zorpaModuleTypes kind, const std::string& fileName, std::string text, int firstPage = -1,
                           int lastPage = -1)
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    design.Reset();
    {
        ImodelModule prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
        zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
        create.Visit(kind);
        ZorpaParser<ImodelModule*>& parser = *create.GetParser();
        parser.SetLibraries(design.GetLibraries());
        parser.SetMarkedNames([](const std::string& name) { return name == "marked"; });
        if (kind == zorpaMODULE_SCHEMATIC)
            parser.parse(fileName, "work", nullptr, false, firstPage, lastPage);
        else
            parser.parseText(fileName, "work", nullptr, true, text);
        const auto& library = *parser.GetLibraryModules();
        for (auto [it, end] = parser.GetModuleRange(); it != end; ++it) {
            if (!library.contains(*it)) std::abort();
            if (const auto* subs = (*it)->GetSubBlocks())
                for (const ImodelModule* sub : *subs) {
                    const auto* parents = sub->GetParentsList();
                    if (!parents || std::find(parents->begin(), parents->end(), *it) == parents->end()) std::abort();
                }
        }
        if (kind != zorpaMODULE_SCHEMATIC) WalkStatements(parser, text);
    }
    design.Reset();
}
