// Helpers of the re-parse tests (removing and restoring units, saving the
// libraries, collecting the files of a hierarchy): a project folder and a
// folder of linked files, files added to the project, units put into the
// design's libraries, and a design, file list, root and removed-unit list
// that start and end empty.
#pragma once

#include "ModuleTestSupport.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/Sys.h>

#include <string>
#include <vector>

using Entry = boost::shared_ptr<IfileObjectEx>;

class ReparseFixture : public ModuleFixture {
protected:
    void SetUp() override
    {
        ModuleFixture::SetUp();
        m_oldFolder = Design().GetProjectFolder();
        Design().SetProjectFolder(m_project.Path());
        Clear();
    }
    void TearDown() override
    {
        Clear();
        Design().SetProjectFolder(m_oldFolder);
        ModuleFixture::TearDown();
    }

    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

    // A file of the project folder, written on disk and added to the project.
    Entry ProjectFile(const std::string& relative, zorpaFileManagerTypes type = zorpaFT_HDL,
                      const std::string& library = "work")
    {
        m_project.Write(relative, "");
        return Add(IfileObject(relative, type, ImodelFMRelative, false, true), library);
    }
    // A file outside the project folder, linked into the project.
    Entry LinkedFile(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL)
    {
        return Add(IfileObject(ImodelFileName(m_linked.Write(name, "")), type, ImodelFMFull, true, true), "work");
    }

    // A unit put into the library (made when missing), which owns it from
    // then on.
    ImodelModule* Unit(const std::string& name, const Entry& file = nullptr, const std::string& library = "work",
                       zorpaModuleTypes kind = zorpaMODULE_VHDL, bool isPackage = false)
    {
        auto made = std::make_unique<ImodelModule>(name, file, kind, isPackage, library, "", false);
        const auto [unit, inserted] = Design().AddLibrary(library, false)->GetModules()->Insert(std::move(made));
        if (!inserted) ADD_FAILURE() << "a unit equal to " << name << " is already in " << library;
        return inserted ? unit : nullptr;
    }
    static ImodelModule* Find(const std::string& name, const std::string& library = "work")
    {
        return ImodelFindModuleInLib(Design().FindLibraryByName(library), name, zorpaMODULE_UNKNOWN, "");
    }
    static std::size_t UnitCount(const std::string& library = "work")
    {
        const ImodelDesignManager::LibraryPtr found = Design().FindLibraryByName(library);
        return found ? found->GetModules()->size() : 0;
    }

    // A place-and-route view of the project, current from now on: the
    // contexts of the units made afterwards hold its revision.
    static void AddView(const std::string& name)
    {
        ASSERT_TRUE(Imodel::GetInstance().GetRevisionManager()->CreateView(name, ImodelFileName(), false, false));
    }

    TempFolder m_project;
    TempFolder m_linked;

private:
    Entry Add(const IfileObject& value, const std::string& library)
    {
        IfileObjectEx member(value, false);
        member.SetLibraryName(library);
        return Files().AddOrUpdateFile(member, false);
    }

    static void Clear()
    {
        Imodel::GetInstance().GetRevisionManager()->RemoveAllViews();
        Design().Reset();
        Design().SetRootId(VyIfaces::ComponentID());
        Files().RemoveAllFiles();
        ImodelModule::ClearRemovedModuleList();
        ImodelModule::GetNotifiedFileChangeList() = nullptr;
    }

    ImodelFileName m_oldFolder;
};
