// The base of the tests that create, open and save projects through the
// project commands' in-process entry points: the device catalogue of one
// family, a fresh folder as the current folder, and no project open before
// or after the test (one left open is closed, saving it).
#pragma once

#include "DeviceCatalogue.h"
#include "TempFolder.h"

#include "icmd/project/IcmdCloseProject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        LoadOneDeviceFamily();
        AcmdManager::GetInstance().SetCurrentFolder(m_folder.Path());
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        AcmdManager::GetInstance().SetCurrentFolder(std::string());
        DefReset();
    }

    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

    TempFolder m_folder;
};
