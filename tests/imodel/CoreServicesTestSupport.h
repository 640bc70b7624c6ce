// Helpers of the core-workspace and callback-object tests: a fresh project
// folder with a VHDL project on a known device, and a host that hands out
// a given IIDEObject.
#pragma once

#include "RecordingHost.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "itimer/ItimerManager.h"

#include <foundation/Def.h>
#include <ktwkspace/Workspace.h>

#include <gtest/gtest.h>

// The process-wide model with a project in a fresh folder, put back to no
// project (and no workspace, no files, default options) afterwards.
class CoreServicesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clear();
        design.SetProjectFolder(project.Path());
        design.SetDefaultVHDL(true);
        devices.SetDevice(ImodelDevice("ZX7", "zx7a", "pq208"));
        design.SetNeedSave(false);
    }
    void TearDown() override { Clear(); }

    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    ImodelDeviceManager& devices = *model.GetDeviceManager();
    TempFolder project;

private:
    void Clear()
    {
        DefReset();
        model.SetWorkspace(nullptr);
        model.GetFileManager()->RemoveAllFiles();
        design.Reset();
        design.SetProjectFolder(ImodelFileName());
        design.SetDefaultVHDL(false);
        design.SetNeedSave(false);
        devices.ResetDevice();
        Imodel::SetIsInteractiveMode(false);
        ItimerManager::GetTimerBlockedByVeyrun() = false;
    }
};

// A recording host that hands out `object` as its IIDEObject.
class IIDEObjectHost : public RecordingHost {
public:
    explicit IIDEObjectHost(IIDEObject* object, Imodel* model = nullptr) : RecordingHost(model), m_object(object) {}
    IIDEObject* GetIIDEObject() override
    {
        RecordingHost::GetIIDEObject();
        return m_object;
    }

private:
    IIDEObject* m_object;
};
