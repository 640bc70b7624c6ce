// The library's message table: its invariants, one golden dump of the whole
// table, that no message is defined outside it, that the messages other
// components word go out as the table defines them, and values that are
// never taken for formats.
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelMessageDef.h"
#include "iprocess/IprocessMessages.h"
#include "src/iconvert/IconvertMessages.h"

#include "Golden.h"
#include "MessageRecorder.h"

#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
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

const ImodelMessageEntry* FindInTable(const std::string& id, std::uint32_t number)
{
    for (const ImodelMessageEntry& entry : ImodelGetMessageTable())
        if (entry.def->id == id && entry.def->Number() == number) return &entry;
    return nullptr;
}

}  // namespace

TEST(ImodelMessages, TheTableHasUniqueNumbersAndPlaceholdersForEveryArgument)
{
    const std::vector<ImodelMessageEntry>& table = ImodelGetMessageTable();
    ASSERT_EQ(table.size(), 165u);  // 164 messages and the meter
    std::set<unsigned> serials;
    std::set<std::string> functions;
    std::map<std::string, std::vector<const ImodelMessageDef*>> byId;
    std::string dump;
    for (const ImodelMessageEntry& entry : table) {
        const ImodelMessageDef& def = *entry.def;
        SCOPED_TRACE(def.id);
        EXPECT_TRUE(serials.insert(def.serial).second);
        byId[def.id].push_back(&def);
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
    // An id names one message, or the line and the box of the same text.
    for (const auto& [id, defs] : byId) {
        SCOPED_TRACE(id);
        ASSERT_LE(defs.size(), 2u);
        if (defs.size() == 2) {
            EXPECT_NE(IsQuestion(*defs[0]), IsQuestion(*defs[1]));
            EXPECT_STREQ(defs[0]->text, defs[1]->text);
        }
    }
    ExpectMatchesGolden("messages.txt", dump);
}

// The library defines and emits messages in the table's file alone: a
// definition or a call of the message database anywhere else would be a
// message outside the table's checks.
TEST(ImodelMessages, NoSourceOutsideTheTableDefinesOrEmitsAMessage)
{
    const std::filesystem::path root = std::filesystem::path(QUORLANE_TEST_DATA_DIR).parent_path().parent_path();
    const std::set<std::string> allowed = {"src/imodel/names/ImodelMessages.cpp",
                                           "src/imodel/names/ImodelMessageDef.cpp"};
    const std::regex definition(R"((^|[^\w])ImodelMessageDef\s+\w+\s*[{=])");
    const std::regex call(R"(\bMdb(Output|Query|MeterInit)\s*\()");
    int files = 0;
    for (const char* folder : {"ifc", "src", "shell"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            const std::string name = std::filesystem::relative(entry.path(), root).generic_string();
            ++files;
            if (allowed.count(name)) continue;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                if (line.find("Mdb") == std::string::npos && line.find("ImodelMessageDef") == std::string::npos)
                    continue;
                EXPECT_FALSE(std::regex_search(line, definition)) << name << ":" << number << ": " << line;
                EXPECT_FALSE(std::regex_search(line, call)) << name << ":" << number << ": " << line;
            }
        }
    }
    EXPECT_GT(files, 100);
}

// The flow and the converters word messages of the table through functions
// of their own: each goes out with the table's values and as many values as
// the table says.
TEST(ImodelMessages, MessagesWordedByOtherComponentsGoOutAsTheTableDefinesThem)
{
    MessageRecorder recorder;
    IprocessDisplayCOMPONENT_NOT_READY_QRY(nullptr, MdbOK, "synthesis");
    IprocessDisplayCOMPONENT_NOT_UPTODATE_QRY(nullptr, MdbCANCEL, "place and route");
    IprocessDisplayLAYOUT_IGNORED_OOD_FILE_MSG("top.ide_pld", "top.edn");
    IconvertDisplayMOVED_MSG("netlist", "/p/a.edn", "/p/synthesis/a.edn");
    IconvertDisplayFAILED_TO_MOVE_MSG("/p/a.edn", "/p/synthesis/a.edn");
    const std::vector<MdbMessage> messages = recorder.Messages();
    ASSERT_EQ(messages.size(), 5u);
    for (const MdbMessage& message : messages) {
        SCOPED_TRACE(message.id);
        const ImodelMessageEntry* entry = FindInTable(message.id, message.number);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(message.catalogue, ImodelMessageCatalogue);
        EXPECT_EQ(message.severity, entry->def->severity);
        EXPECT_EQ(message.kind, entry->def->kind);
        EXPECT_EQ(message.format, entry->def->text);
        EXPECT_EQ(message.dontShowAgainKey, entry->def->dontShowAgainKey);
        EXPECT_EQ(static_cast<int>(message.args.size()), entry->arguments);
    }
    EXPECT_EQ(messages[3].text, "Moved netlist: \"/p/a.edn\" to \"/p/synthesis/a.edn\".");
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
