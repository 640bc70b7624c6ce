// Sets the process-wide model's project folder for one test and puts the
// former folder back afterwards.
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"

#include <string>

class ProjectFolderScope {
public:
    explicit ProjectFolderScope(const std::string& folder) : m_old(Manager().GetProjectFolder())
    {
        Manager().SetProjectFolder(folder);
    }
    ~ProjectFolderScope() { Manager().SetProjectFolder(m_old); }
    ProjectFolderScope(const ProjectFolderScope&) = delete;
    ProjectFolderScope& operator=(const ProjectFolderScope&) = delete;

private:
    static ImodelDesignManager& Manager() { return *Imodel::GetInstance().GetDesignManager(); }
    ImodelFileName m_old;
};
