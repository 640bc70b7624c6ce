// The design manager of the project model.
#pragma once

#include "imodel/design/ImodelDesignManager.h"

#include <memory>

class imodelDesignManagerImpl : public ImodelDesignManager {
public:
    imodelDesignManagerImpl() = default;
    // Closes the stream, then destroys the libraries and their units.
    ~imodelDesignManagerImpl() override;
    imodelDesignManagerImpl(const imodelDesignManagerImpl&) = delete;
    imodelDesignManagerImpl& operator=(const imodelDesignManagerImpl&) = delete;

    ImodelModule* GetRootModule() override;
    std::deque<ImodelModule*>* GetModuleTree() override;
    void UpdateTopModules(LibraryPtr library) override;
    std::deque<ImodelModule*>* GetTopModules(const LibraryPtr& library) override;
    void Reset() override;
    void RemoveAll() override;
    LibraryPtr AddLibrary(LibraryPtr library, bool notify) override;
    LibraryPtr AddLibrary(const std::string& name, bool notify) override;
    void EraseLibrary(const std::string& name) override;
    void RenameLibrary(const std::string& oldName, const std::string& newName) override;
    LibraryRange GetLibraries() const override { return {m_libraries.begin(), m_libraries.end()}; }
    LibraryPtr FindLibraryByName(std::string name) const override;

    VyIfaces::ComponentID& GetRootId() override { return m_rootId; }
    void SetRootId(const VyIfaces::ComponentID& id) override { m_rootId = id; }
    const VyIfaces::ComponentID& GetRootThatWent() const override { return m_rootThatWent; }
    void SetRootThatWent(const VyIfaces::ComponentID& id) override { m_rootThatWent = id; }

    const ImodelFileName& GetProjectFolder() const override { return m_projectFolder; }
    std::uint64_t GetProjectFolderStamp() const override { return m_projectFolderStamp; }
    const ImodelFileName& GetProjectName() const override { return m_projectName; }
    ImodelFileName GetProjectFileName() const override;
    bool HasProjectFileStream() const override { return m_projectFileStream != nullptr; }
    bool IsProjectOpen() const override { return m_projectOpen; }
    void SetProjectOpen(bool open) override { m_projectOpen = open; }
    void SetProjectFolder(const ImodelFileName& folder) override;
    void SetProjectName(const ImodelFileName& name) override { m_projectName = name; }
    bool IsDefaultVHDL() const override { return m_defaultVHDL; }
    void SetDefaultVHDL(bool vhdl) override;
    bool IsRootStructural() override;
    bool IsRootSchematic() override;
    bool RootHasSubBlocks() override;
    void ClearProject() override;
    std::fstream* GetProjectFileStream() override { return m_projectFileStream.get(); }
    void ResetProjectFileStream(bool makeNew) override;
    void SetNeedSave(bool needSave) override;
    bool GetNeedSave() const override { return m_needSave; }

private:
    static std::uint64_t NewFolderStamp();
    Libraries::const_iterator FindLibrary(const std::string& name) const;
    void Announce(const LibraryPtr& library, bool notify) const;
    // A change of letter case only: the library keeps its units and list.
    void RenameInPlace(const LibraryPtr& library, const std::string& newName);
    // The old library's units move into the new library, taking its name.
    void MoveUnits(const LibraryPtr& from, const LibraryPtr& to);

    ImodelFileName m_projectFolder;
    std::uint64_t m_projectFolderStamp = NewFolderStamp();
    ImodelFileName m_projectName;
    VyIfaces::ComponentID m_rootId;
    VyIfaces::ComponentID m_rootThatWent;
    bool m_defaultVHDL = false;
    Libraries m_libraries;
    std::unique_ptr<std::fstream> m_projectFileStream;
    bool m_projectOpen = false;
    bool m_needSave = false;
};
