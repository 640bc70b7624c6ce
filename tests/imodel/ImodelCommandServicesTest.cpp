// What the model asks of the command layer goes through the services the
// layer installed, and the model does without them when none are in place.
#include "OptionsScope.h"
#include "RecordingCommandServices.h"

#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"

#include <foundation/AcmdManager.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<zorpaFileManagerTypes> kIoKinds = {zorpaFT_PDC, zorpaFT_GCF, zorpaFT_PIN};

// The linking setting read afresh from the options database.
void ReloadSettings() { Imodel::GetInstance().ReloadBoolSettings(); }

}  // namespace

TEST(ImodelCommandServices, ADoubleTakesTheLayersPlaceForItsLifeAndHandsItBack)
{
    ImodelCommandServices* layer = ImodelCommandServices::Get();
    ASSERT_NE(layer, nullptr);
    {
        RecordingCommandServices outer;
        EXPECT_EQ(ImodelCommandServices::Get(), &outer);
        {
            RecordingCommandServices inner;
            EXPECT_EQ(ImodelCommandServices::Get(), &inner);
        }
        EXPECT_EQ(ImodelCommandServices::Get(), &outer);
    }
    EXPECT_EQ(ImodelCommandServices::Get(), layer);
}

TEST(ImodelCommandServices, TheModelRegistersItsCommandsThroughTheServicesWithTheLinkingSetting)
{
    RecordingCommandServices commands;
    Imodel& model = Imodel::GetInstance();
    // Ends with linking on, as the model has it by default.
    for (const char* linking : {"0", "1"}) {
        const OptionsScope options(std::string("IDE_LINKING_ENABLED = ") + linking + "\n");
        ReloadSettings();
        model.RegisterCommands();
    }
    EXPECT_EQ(commands.registrations, (std::vector<bool>{false, true}));
}

TEST(ImodelCommandServices, TheIoConstraintKindIsTheFirstOfPdcGcfPinThatImportOffers)
{
    RecordingCommandServices commands;
    // Every choice of offered kinds: the answer is the first offered one in
    // that order, and no kind after it is asked for.
    for (unsigned offered = 0; offered < 8; ++offered) {
        commands.importedTypes.clear();
        commands.askedTypes.clear();
        for (std::size_t i = 0; i < kIoKinds.size(); ++i)
            if (offered & (1u << i)) commands.importedTypes.insert(kIoKinds[i]);
        std::size_t first = 0;
        while (first < kIoKinds.size() && !(offered & (1u << first))) ++first;
        const zorpaFileManagerTypes expected = first < kIoKinds.size() ? kIoKinds[first] : zorpaFT_UNKNOWN;
        EXPECT_EQ(ImodelGetIoConstraintFileType(), expected) << offered;
        const std::size_t asked = first < kIoKinds.size() ? first + 1 : kIoKinds.size();
        EXPECT_EQ(commands.askedTypes, std::vector<zorpaFileManagerTypes>(kIoKinds.begin(), kIoKinds.begin() + asked))
            << offered;
    }
}

TEST(ImodelCommandServices, WithoutTheCommandLayerTheModelRegistersNothingOfItsOwnAndOffersNoIoKind)
{
    ImodelCommandServices* layer = ImodelCommandServices::Install(nullptr);
    AcmdManager& manager = AcmdManager::GetInstance();
    manager.Reset();
    Imodel::GetInstance().RegisterCommands();
    EXPECT_TRUE(manager.GetCommandNames().empty());
    EXPECT_EQ(ImodelGetIoConstraintFileType(), zorpaFT_UNKNOWN);
    ImodelCommandServices::Install(layer);
    manager.Reset();
}
