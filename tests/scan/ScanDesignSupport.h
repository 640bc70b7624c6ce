// A design to scan into: the model's libraries, reset around each test,
// with the scanners driven the way parse_file drives them (a prototype unit
// per file, the design's libraries, the marked names, the use-anyway flag).
#pragma once

#include "ScanTestSupport.h"
#include "TempFolder.h"
#include "icmd/scan/zorpaCreateParser.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

inline ImodelDesignManager& ScanDesign() { return *Imodel::GetInstance().GetDesignManager(); }
inline IfileManager& ScanFiles() { return *Imodel::GetInstance().GetFileManager(); }

class ScanDesignFixture : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    static void Clear()
    {
        ScanDesign().Reset();
        ScanFiles().RemoveAllFiles();
        DefReset();
        ScanDesign().SetDefaultVHDL(true);
    }

    // The project's entry for a file written into the test's folder.
    boost::shared_ptr<IfileObjectEx> Enter(const std::string& name, const std::string& library = "work",
                                           zorpaFileManagerTypes type = zorpaFT_HDL)
    {
        IfileObjectEx entry(IfileObject(ImodelFileName(name), type, ImodelFMFull, false, true), false);
        entry.SetLibraryName(library);
        return ScanFiles().AddOrUpdateFile(entry, true);
    }

    struct Result {
        std::string alreadyDefined;
        bool structural = true;
        std::vector<std::string> found;
        // The scanner handed the units found in the units' own order, each once.
        bool foundInUnitOrder = true;
        std::deque<std::string> includes;
        bool parsed = false;
    };

    // Writes the file, enters it into the project and scans it into its
    // library, as parse_file does.
    Result Scan(const std::string& title, const std::string& text, zorpaModuleTypes kind,
                const std::string& library = "work", bool useAnyway = false, const std::deque<std::string>& marked = {},
                int firstPage = -1, int lastPage = -1)
    {
        const std::string path = m_folder.Write(title, text);
        return ScanPath(path, kind, library, useAnyway, marked, firstPage, lastPage);
    }

    Result ScanPath(const std::string& path, zorpaModuleTypes kind, const std::string& library = "work",
                    bool useAnyway = false, const std::deque<std::string>& marked = {}, int firstPage = -1,
                    int lastPage = -1)
    {
        const boost::shared_ptr<IfileObjectEx> file = Enter(path, library);
        if (!ScanDesign().FindLibraryByName(library)) ScanDesign().AddLibrary(library, false);
        ImodelModule prototype("prototype", file, zorpaMODULE_UNKNOWN, false, "work", "", false);
        zorpaCreateParser<ImodelModule*> create(&prototype, nullptr);
        create.Visit(kind);
        const boost::shared_ptr<ZorpaParser<ImodelModule*>> parser = create.GetParser();
        Result result;
        if (!parser) return result;
        parser->SetLibraries(ScanDesign().GetLibraries());
        parser->SetMarkedNames([&marked](const std::string& name) {
            return std::find(marked.begin(), marked.end(), name) != marked.end();
        });
        parser->SetUseAnyway(useAnyway);
        result.parsed = parser->parse(path, library, nullptr, false, firstPage, lastPage);
        result.alreadyDefined = parser->GetAlreadyDefinedName();
        result.structural = parser->IsStructural();
        result.includes = parser->GetIncludeNames();
        const ImodelModule* previous = nullptr;
        for (auto [it, end] = parser->GetModuleRange(); it != end; ++it) {
            if (previous != nullptr && !(*previous < **it)) result.foundInUnitOrder = false;
            previous = *it;
            result.found.push_back((*it)->GetName());
        }
        std::sort(result.found.begin(), result.found.end());
        return result;
    }

    // The unit of that name in the library, or null.
    static ImodelModule* Unit(const std::string& name, const std::string& library = "work")
    {
        const auto lib = ScanDesign().FindLibraryByName(library);
        if (!lib) return nullptr;
        for (ImodelModule* unit : *lib->GetModules())
            if (unit->IsSameModule(name)) return unit;
        return nullptr;
    }

    // The hierarchy below the library's top-level units, one line per unit:
    // indent, name, "?" for a placeholder, "(package)" for a package.
    static std::string Tree(const std::string& library = "work")
    {
        const auto lib = ScanDesign().FindLibraryByName(library);
        if (!lib) return "";
        ScanDesign().UpdateTopModules(lib);
        std::ostringstream out;
        std::set<const ImodelModule*> onPath;
        std::function<void(const ImodelModule*, int)> walk = [&](const ImodelModule* unit, int depth) {
            out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << unit->GetName()
                << (unit->GetModuleFile() ? "" : " ?") << (unit->IsPackage() ? " (package)" : "") << "\n";
            if (!onPath.insert(unit).second) return;  // a cycle
            if (const auto* subs = unit->GetSubBlocks())
                for (const ImodelModule* sub : *subs) walk(sub, depth + 1);
            onPath.erase(unit);
        };
        if (const auto* tops = ScanDesign().GetTopModules(lib))
            for (const ImodelModule* top : *tops) walk(top, 0);
        return out.str();
    }

    // The number of units without a file in every library.
    static int Placeholders()
    {
        int count = 0;
        for (auto [it, end] = ScanDesign().GetLibraries(); it != end; ++it)
            for (const ImodelModule* unit : *(*it)->GetModules()) count += unit->GetModuleFile() ? 0 : 1;
        return count;
    }

    TempFolder m_folder;
};

// The same with a project open in the test's folder, as commands need it.
class ProjectScanFixture : public ScanDesignFixture {
protected:
    void SetUp() override
    {
        ScanDesignFixture::SetUp();
        ScanDesign().SetProjectFolder(ImodelFileName(m_folder.Path()));
        ScanDesign().SetProjectOpen(true);
    }
    void TearDown() override
    {
        ScanDesignFixture::TearDown();
        ScanDesign().ClearProject();
    }
};
