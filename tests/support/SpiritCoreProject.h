// The ground of the core tests: the process-wide model with a project in a
// fresh folder, a small device catalogue, no workspace until a test opens
// one, and everything put back afterwards. Also a block-design component
// double and helpers to write core descriptions.
#pragma once

#include "OptionsScope.h"
#include "SpiritCoreWriter.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <ktwkspace/Workspace.h>
#include <vy/IComponent.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The families, dies and packages the core tests use (ZX3-10 is zx3_10).
inline constexpr const char* kSpiritTestCatalogue = "@choices FAM = ZX3 ZX7\n"
                                                    "@choices DIE[QFAM=ZX3] = zx3_10 zx3_25\n"
                                                    "@choices DIE[QFAM=ZX7] = zx7_50\n"
                                                    "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = cs64 tq100\n"
                                                    "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_25] = tq100 fg256\n"
                                                    "@choices PACKAGE[QFAM=ZX7,QDIE=zx7_50] = fg256\n"
                                                    "@ext zx3_10 = ZX3-10\n"
                                                    "@ext zx3_25 = ZX3-25\n"
                                                    "@ext tq100 = TQ100\n"
                                                    "IDE_OPEN_ALL_CORE_FILES_IN_READONLY = 0\n";

// A block-design component of a given kind, identity and definition file.
class TestComponent : public VyIfaces::IComponent {
public:
    TestComponent(VyModuleType type, const std::string& name, const std::string& definition = "",
                  const std::string& library = "work")
        : m_type(type), m_id(name, library, ""), m_definition(definition)
    {
    }
    const VyIfaces::ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return m_type; }
    std::string GetDefinitionFileName() const override { return m_definition; }
    void Accept(VyIfaces::IComponentVisitor& visitor) override
    {
        switch (m_type) {
        case HDL:
            return visitor.VisitHDLComponent(*this);
        case Schematic:
            return visitor.VisitSchematic(*this);
        case UserIP:
            return visitor.VisitUserIPCore(*this);
        default:
            return visitor.VisitKiltoraCore(*this);
        }
    }
    std::vector<VyIfaces::ComponentInstance> GetInstances() const override { return instances; }

    std::vector<VyIfaces::ComponentInstance> instances;

private:
    VyModuleType m_type;
    VyIfaces::ComponentID m_id;
    std::string m_definition;
};

class SpiritCoreProject : public ::testing::Test {
protected:
    // `vhdl`: the project's HDL (the HDL sets then take "vhd" alone);
    // otherwise Verilog ("v" and "h").
    explicit SpiritCoreProject(bool vhdl = false) : m_options(kSpiritTestCatalogue)
    {
        Clear();
        design.SetProjectFolder(ImodelFileName(project.Path()));
        design.SetDefaultVHDL(vhdl);
        devices.SetDevice(ImodelDevice("ZX3", "zx3_10", "tq100"));
        design.SetNeedSave(false);
        design.SetProjectOpen(true);
    }
    ~SpiritCoreProject() override { Clear(); }

    // A project file of type 33 for a path below the project folder.
    static IfileObject CoreFile(const std::string& path)
    {
        return IfileObject(ImodelFileName(path), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true);
    }
    // The project's entry of a file; empty when it has none.
    IfileManager::Entry Entry(const std::string& path) const
    {
        return files.GetFile(IfileObject(ImodelFileName(path), zorpaFT_UNKNOWN, ImodelFMFull, true, true));
    }
    // The project's files, "<name relative to the project folder> <type keyword>" each, in order.
    std::vector<std::string> Members() const
    {
        std::vector<IfileManager::Entry> entries;
        files.GetFiles(entries, 0, nullptr);
        std::vector<std::string> names;
        for (const IfileManager::Entry& entry : entries) {
            ImodelFileName shown = entry->GetRelativeOrFullFileName();
            std::string type;
            entry->GetStrType(type);
            names.push_back(shown.GetString() + " " + type);
        }
        return names;
    }

    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    ImodelDeviceManager& devices = *model.GetDeviceManager();
    IfileManager& files = *model.GetFileManager();
    TempFolder project;

private:
    void Clear()
    {
        model.SetWorkspace(nullptr);
        files.RemoveAllFiles();
        design.Reset();
        design.SetProjectFolder(ImodelFileName());
        design.SetProjectOpen(false);
        design.SetDefaultVHDL(false);
        design.SetNeedSave(false);
        devices.ResetDevice();
        Imodel::GetIsReadingProject() = false;
        Imodel::GetIsConvertingProject() = false;
    }

    OptionsScope m_options;
};
