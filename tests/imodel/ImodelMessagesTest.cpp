// The library's message table: its invariants, one golden dump of the whole
// table, and values that are never taken for formats.
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelMessageDef.h"

#include "Golden.h"
#include "MessageRecorder.h"

#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

int CountPlaceholders(const std::string& format)
{
    int count = 0;
    for (std::size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (format[i + 1] == 's' || format[i + 1] == 'd') ++count;
        ++i;  // also skips the second sign of "%%"
    }
    return count;
}

bool IsQuestion(const ImodelMessageDef& def) { return def.kind != MdbLINE && def.kind != MdbMETERKIND; }

}  // namespace

TEST(ImodelMessages, TheTableHasUniqueNumbersAndPlaceholdersForEveryArgument)
{
    const std::vector<ImodelMessageEntry>& table = ImodelGetMessageTable();
    ASSERT_EQ(table.size(), 104u);  // 103 messages and the meter
    std::set<unsigned> serials;
    std::set<std::string> functions;
    std::string dump;
    for (const ImodelMessageEntry& entry : table) {
        const ImodelMessageDef& def = *entry.def;
        SCOPED_TRACE(def.id);
        EXPECT_TRUE(serials.insert(def.serial).second);
        EXPECT_TRUE(functions.insert(def.id + std::string(IsQuestion(def) ? "_QRY" : "_MSG")).second);
        EXPECT_EQ(CountPlaceholders(def.text), entry.arguments) << def.text;
        EXPECT_EQ(def.Number(), 1200u * 65536u + def.serial);
        EXPECT_TRUE(def.secondNumber == 0 || def.secondNumber >> 16 == 1200u);
        EXPECT_TRUE(def.kind == MdbLINE || def.kind == MdbMETERKIND ||
                    (def.kind >= MdbOKBOX && def.kind <= MdbYESNOCANCELBOX));
        dump += std::to_string(def.serial) + " " + def.id + (IsQuestion(def) ? "_QRY" : "_MSG") +
                " severity=" + std::to_string(def.severity) + " kind=" + std::to_string(def.kind) +
                " args=" + std::to_string(entry.arguments) + " second=" + std::to_string(def.secondNumber) +
                " code=" + std::to_string(def.queryCode) + " key=" + def.dontShowAgainKey + " | " +
                GoldenText(def.text) + "\n";
    }
    ExpectMatchesGolden("messages.txt", dump);
}

TEST(ImodelMessages, TextsKeepTheirPercentSignsAndValuesAreNeverFormats)
{
    MessageRecorder recorder;
    ImodelDisplayINVALID_NAME_CHAR_QRY(nullptr, MdbOK, "a*b", "file");
    ImodelDisplayDEBUG_MSG("50% %s %d");
    ImodelDisplayCONVERT_INCOMPATIBLE_PROJECT_QRY(nullptr, MdbOK, 8, 1);
    ImodelDisplayASSOCIATE_FILES_THAT_CAN_BE_MSG();
    EXPECT_EQ(
        recorder.Texts(),
        (std::vector<std::string>{
            "'a*b': You cannot use special characters (* | \\ / \" < > : ~ % $ # or ?) for file name", "50% %s %d",
            "You are trying to open a project created with Solvato IDE v8.1.\nThis project is not compatible "
            "with the current version of Solvato IDE and cannot be opened.",
            "files that can be associated are:"}));
    EXPECT_TRUE(recorder.Messages()[2].args[0].isInteger);
    EXPECT_TRUE(recorder.Messages().back().args.empty());
}
