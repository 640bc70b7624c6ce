#include "ContextTestProject.h"
#include "MessageRecorder.h"
#include "ProjectFileBlock.h"
#include "TextLines.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelPhySynthesisDefaults.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

class PhySynthesisOptions : public ContextTestProject {
protected:
    static std::string Written(const ImodelPhySynthesisOptions& options)
    {
        std::ostringstream stream;
        options.WriteToFile(&stream);
        return stream.str();
    }

    // Reads the block `text` (its lines, then "ENDLIST") and returns the
    // lines left after it.
    static std::vector<std::string> Read(ImodelPhySynthesisOptions& options, const std::string& text)
    {
        std::vector<std::string> lines = TextLines(text);
        options.ReadFromFile(lines, {});
        return lines;
    }
};

}  // namespace

TEST_F(PhySynthesisOptions, AWrittenRecordReadsBackThroughTheProjectFile)
{
    ImodelPhySynthesisOptions options;
    options.SetGenPinConstraints(false);
    options.SetUseSynplifySDC(true);
    ASSERT_TRUE(options.SetLogSynthEffort("5"));
    ASSERT_TRUE(options.SetRelaxDelay("1.5"));
    ASSERT_TRUE(options.SetMaxCoreCell("80"));
    options.SetConstraintFileList({File("synthesis/top_sdc.sdc", zorpaFT_SYN_SDC),
                                   File("constraint/pins.pdc", zorpaFT_PDC),
                                   IfileObject("/opt/shared/clock.sdc", zorpaFT_SDC, ImodelFMInternal, true, true)},
                                  nullptr);
    const std::string text = Written(options);
    EXPECT_EQ(text, "GenPinConstraints=FALSE\nUseSynplifySDC=TRUE\nLogSynthEffort=5\nPhySynthEffort=1\nRelaxDelay=1.5\n"
                    "MaxCoreCell=80\nConstraints\n"
                    "VALUE \"<project>/synthesis/top_sdc.sdc,syn_sdc\"\n"
                    "VALUE \"<project>/constraint/pins.pdc,pdc\"\n"
                    "VALUE \"/opt/shared/clock.sdc,sdc\"\n"
                    "ENDConstraints\n");

    // As written, and as the project-file parser hands the lines over.
    for (std::vector<std::string> lines :
         {TextLines(text + "ENDLIST\nLIST next\n"),
          ProjectFileBlock("LIST PhySynthesisOptions\n" + text + "ENDLIST\n", "PhySynthesisOptions")}) {
        ImodelPhySynthesisOptions read;
        read.ReadFromFile(lines, {});
        EXPECT_EQ(read, options);
        EXPECT_EQ(read.GetConstraintFileList()[1].GetFileSpecificType(), zorpaFT_PDC);
        EXPECT_TRUE(lines.empty() || lines == std::vector<std::string>{"LIST next"});
    }

    // Project files written on Windows read alike.
    ImodelPhySynthesisOptions crlf;
    Read(crlf, "MaxCoreCell=80\r\nConstraints\r\n<project>/constraint/pins.pdc,pdc\r\nENDConstraints\r\nENDLIST\r\n");
    EXPECT_EQ(crlf.GetMaxCoreCell(), "80");
    ASSERT_EQ(crlf.GetConstraintFileList().size(), 1u);
    EXPECT_EQ(crlf.GetConstraintFileList()[0], File("constraint/pins.pdc", zorpaFT_PDC));
}

TEST_F(PhySynthesisOptions, ADamagedBlockEndsAtItsOwnEnd)
{
    // A list without its closing line ends with the block: the next unit's
    // block stays for the caller.
    const std::string next = "LIST \"cpu\"\nMaxCoreCell=300\nENDLIST\n";
    ImodelPhySynthesisOptions options;
    EXPECT_EQ(Read(options, "MaxCoreCell=200\nConstraints\n<project>/constraint/a.sdc,sdc\nENDLIST\n" + next),
              TextLines(next));
    EXPECT_EQ(options.GetMaxCoreCell(), "200");
    EXPECT_EQ(options.GetConstraintFileList().size(), 1u);
    EXPECT_EQ(Read(options, "OptionalFiles\n<project>/a.sdc;0\nENDLIST\n" + next), TextLines(next));

    // A block without its end takes what there is.
    EXPECT_TRUE(Read(options, "RelaxDelay=7\nConstraints\n").empty());
    EXPECT_EQ(options.GetRelaxDelay(), "7");
    EXPECT_TRUE(Read(options, "").empty());
    EXPECT_FALSE(options.IsCustomized());
}

TEST_F(PhySynthesisOptions, ASaveTakingTheDefaultOnceAnswersAsAskingEachTime)
{
    // A save reads the options variable behind UseSynplifySDC once and asks
    // each unit against it: the same answer as asking each unit plainly,
    // whatever the variable reads and whichever values differ.
    std::mt19937 random(28);
    const auto chance = [&random](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    for (int round = 0; round < 400; ++round) {
        DefSetFL("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT", chance(50) ? "1" : "0");
        ImodelPhySynthesisOptions options;
        if (chance(50)) options.SetUseSynplifySDC(chance(50));
        if (chance(10)) options.SetGenPinConstraints(false);
        if (chance(10)) {
            ASSERT_TRUE(options.SetLogSynthEffort(chance(50) ? "3" : "2"));
        }
        if (chance(10)) {
            ASSERT_TRUE(options.SetMaxCoreCell(chance(50) ? "100" : "90"));
        }
        const bool snapshot = ImodelDefaultUseSynplifySDC();
        EXPECT_EQ(ImodelIsPhySynthCustomized(options, snapshot), options.IsCustomized()) << "round " << round;
        ImodelPhySynthesisOptions fresh;
        EXPECT_EQ(ImodelIsPhySynthCustomized(options, snapshot), options != fresh) << "round " << round;
    }
    DefUnset("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT");
}

TEST_F(PhySynthesisOptions, AUnitsRecordMadeOnlyWhenChangedReadsAsOneMadeWithTheUnit)
{
    // Each unit's record is made when it is first changed, and given back
    // when a change leaves the defaults. Against records made with their
    // units, plainly: the options variable flips between the steps, units
    // are copied, changed, settled and compared, and every read, equality,
    // customization answer and written block stays the same.
    std::mt19937 random(7);
    const auto chance = [&random](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    struct Unit {
        ImodelUnitPhySynthesisOptions lazy;
        ImodelPhySynthesisOptions plain;
    };
    std::vector<Unit> units;
    for (int step = 0; step < 3000; ++step) {
        if (chance(20)) DefSetFL("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT", chance(50) ? "1" : "0");
        if (units.empty() || chance(15)) {
            units.push_back(Unit());
        } else if (chance(10)) {
            units.push_back(units[pick(units.size())]);
        } else {
            Unit& unit = units[pick(units.size())];
            const int change = static_cast<int>(pick(6));
            for (ImodelPhySynthesisOptions* options : {&unit.lazy.Use(), &unit.plain}) {
                switch (change) {
                case 0:
                    options->SetUseSynplifySDC(step % 2 == 0);
                    break;
                case 1:
                    options->SetGenPinConstraints(step % 3 != 0);
                    break;
                case 2:
                    ASSERT_TRUE(options->SetLogSynthEffort(step % 2 == 0 ? "3" : "4"));
                    break;
                case 3:
                    options->SetConstraintFileList(step % 2 == 0
                                                       ? std::deque<IfileObject>{}
                                                       : std::deque<IfileObject>{File("pins.pdc", zorpaFT_PDC)},
                                                   nullptr);
                    break;
                default:
                    options->SetDefaultPhySynthOpt();
                    break;
                }
            }
            if (chance(50)) unit.lazy.Settle();
        }
        const Unit& unit = units[pick(units.size())];
        const Unit& other = units[pick(units.size())];
        ASSERT_TRUE(unit.lazy.Get() == unit.plain) << "step " << step;
        ASSERT_EQ(unit.lazy.Get().IsCustomized(), unit.plain.IsCustomized()) << "step " << step;
        ASSERT_EQ(Written(unit.lazy.Get()), Written(unit.plain)) << "step " << step;
        ASSERT_EQ(unit.lazy.Get() == other.lazy.Get(), unit.plain == other.plain) << "step " << step;
    }
    DefUnset("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT");
}
