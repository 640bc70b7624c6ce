// The design manager. The design's libraries, modules and root module come
// with the design-unit work; until then the manager holds what identifies
// the project.
#pragma once

#include "imodel/ImodelDesignManager.h"

#include <memory>

class imodelDesignManagerImpl : public ImodelDesignManager {
public:
    imodelDesignManagerImpl() = default;
    ~imodelDesignManagerImpl() override;

    const ImodelFileName& GetProjectFolder() const override { return m_projectFolder; }
    const ImodelFileName& GetProjectName() const override { return m_projectName; }
    ImodelFileName GetProjectFileName() const override;
    bool HasProjectFileStream() const override { return m_projectFileStream != nullptr; }
    void SetProjectFolder(const ImodelFileName& folder) override;
    void SetProjectName(const ImodelFileName& name) override { m_projectName = name; }
    bool IsDefaultVHDL() const override { return m_defaultVHDL; }
    void SetDefaultVHDL(bool vhdl) override;
    std::fstream* GetProjectFileStream() override { return m_projectFileStream.get(); }
    void ResetProjectFileStream(bool makeNew) override;
    void SetNeedSave(bool needSave) override;
    bool GetNeedSave() const override { return m_needSave; }

private:
    ImodelFileName m_projectFolder;
    ImodelFileName m_projectName;
    bool m_defaultVHDL = false;
    std::unique_ptr<std::fstream> m_projectFileStream;
    bool m_needSave = false;
};
