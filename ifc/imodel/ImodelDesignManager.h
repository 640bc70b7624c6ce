// What identifies the open project: its folder and name (hence the project
// file name), the project's default HDL, the need-save flag and the stream
// of the project file. The project model owns the one design manager.
#pragma once

#include "imodel/ImodelFileName.h"

#include <fstream>

class ImodelDesignManager {
public:
    virtual ~ImodelDesignManager() = default;

    virtual const ImodelFileName& GetProjectFolder() const = 0;
    virtual const ImodelFileName& GetProjectName() const = 0;
    // The project folder, the directory character, the project name and ".prj".
    virtual ImodelFileName GetProjectFileName() const = 0;
    // A project is open while the manager holds a project-file stream.
    virtual bool HasProjectFileStream() const = 0;
    // Stores the folder with its separators made valid.
    virtual void SetProjectFolder(const ImodelFileName& folder) = 0;
    virtual void SetProjectName(const ImodelFileName& name) = 0;
    virtual bool IsDefaultVHDL() const = 0;
    // A change marks the project as needing a save.
    virtual void SetDefaultVHDL(bool vhdl) = 0;
    virtual std::fstream* GetProjectFileStream() = 0;
    // Closes and drops the stream; with `makeNew`, keeps a new unopened one.
    virtual void ResetProjectFileStream(bool makeNew) = 0;
    // A change of the flag is announced with IeventNeedSaveFlagChanged.
    virtual void SetNeedSave(bool needSave) = 0;
    virtual bool GetNeedSave() const = 0;
};
