// Helpers of the device tests: a small device catalogue of their own, a
// fixture that loads it and checks afterwards that no query variable was
// left overridden, and a project that holds a file (so that the family-change
// rules are read rather than waived).
#pragma once

#include "MessageRecorder.h"
#include "OptionsScope.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Four families: ZX3 without a display name, QL5 without dies, TN4 whose
// die has no external name; ZX7 asks for a whole device.
inline constexpr const char* kDeviceCatalogue = R"(
@choices FAM = ZX3 ZX7 TN4 QL5
ZX7 = ZX7 Pro
TN4 = Tarnel 4
@choices DIE[QFAM=ZX3] = zx3_10 zx3_25
@choices DIE[QFAM=ZX7] = zx7_50 zx7_120
@choices DIE[QFAM=TN4] = tn4_15
@ext zx3_10 = ZX3-10
@ext zx3_25 = ZX3-25
@ext zx7_50 = ZX7-50
@ext zx7_120 = ZX7-120
@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = cs64 tq100
@choices PACKAGE[QFAM=ZX3,QDIE=zx3_25] = tq100
@choices PACKAGE[QFAM=ZX7,QDIE=zx7_50] = fg256 fg484
@choices PACKAGE[QFAM=ZX7,QDIE=zx7_120] = bg676
@choices PACKAGE[QFAM=TN4,QDIE=tn4_15] = vq100
@ext cs64 = CS64
@ext tq100 = TQ100
@ext fg256 = FG256
@ext fg484 = FG484
@ext bg676 = BG676
@ext vq100 = VQ100
FAMILY_CHANGE_ALLOWED[FAM=ZX3] = ZX7 TN4 QL5
FAMILY_CHANGE_ALLOWED[FAM=ZX7] = ZX3
IS_DEVICE_SELECTION_MANDATORY = 0
IS_DEVICE_SELECTION_MANDATORY[QFAM=ZX7] = 1
IDE_DIE_NOSUPPORT[QTOOL=synth] = zx7_120
)";

// Readable failures.
inline void PrintTo(const ImodelDevice& device, std::ostream* stream)
{
    *stream << "{" << device.GetFamily() << ", " << device.GetDieInternalName() << ", "
            << device.GetPackageInternalName() << "}";
}

inline ImodelDeviceManager& Devices() { return *Imodel::GetInstance().GetDeviceManager(); }

// The catalogue loaded, an empty current device, no project files.
class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override { Devices().ResetDevice(); }
    void TearDown() override
    {
        // Every temporary setting of a query variable was undone.
        for (const char* name : {"FAM", "QFAM", "QDIE", "QTOOL"}) EXPECT_NE(DefUnOverRide(name), 0) << name;
        Imodel::GetInstance().GetFileManager()->RemoveAllFiles();
        Devices().ResetDevice();
    }

    // Puts one file into the project, so that the family-change rules
    // FAM_CHANGE_ENABLED and ALL_FAM_CHANGE_ENABLED decide.
    void AddProjectFile()
    {
        const IfileObject file(ImodelFileName(m_folder.Write("top.vhd", "")), zorpaFT_HDL, ImodelFMFull, true, false);
        ASSERT_NE(Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(IfileObjectEx(file, false), false), nullptr);
    }

    OptionsScope options{kDeviceCatalogue};
    MessageRecorder messages;

private:
    TempFolder m_folder;
};
