// The library's message table: its invariants, one golden dump of the whole
// table, that each row of the list makes a function that emits its own
// message, that the check of a row's placeholders reads a text as the
// message database does, that no message is defined outside the table, that
// the messages other components word go out as the table defines them, and
// values that are never taken for formats.
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
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
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

// A row of the message list as this test reads it: what the row says, and a
// call of the function it declares (none for the messages other components
// word). Lines ignore the question's arguments.
struct Row {
    enum Form {
        Line,
        Query,
        SeriesQuery,
        Elsewhere
    };
    Form form;
    std::string id;
    std::string parameters;  // as written, "(s(fileName), d(count))"
    std::function<MdbQuery_result(void* parent, MdbQuery_result defaultAnswer, MdbQuery_result* answer)> call;
};

// The value a d(name) parameter is called with: differs between names of
// the same length, so that two numbers handed on swapped show.
constexpr int NumberFor(std::string_view name)
{
    int value = 7;
    for (char c : name) value = (value * 31 + c) % 100003;
    return value;
}

#define TEST_VALUE_s(name) #name
#define TEST_VALUE_d(name) NumberFor(#name)
#define TEST_VALUES(...) IMODEL_MAP(TEST_VALUE_, __VA_ARGS__)
#define TEST_MORE_VALUES(...) __VA_OPT__(, TEST_VALUES(__VA_ARGS__))

// Every row of the list, in its order, each string value the name of its
// parameter.
std::vector<Row> ListedRows()
{
    std::vector<Row> rows;
#define IMODEL_LINE(ID, PARAMETERS, ...)                                                                               \
    rows.push_back({Row::Line, #ID, #PARAMETERS, [](void*, MdbQuery_result, MdbQuery_result*) {                        \
                        ImodelDisplay##ID##_MSG(TEST_VALUES PARAMETERS);                                               \
                        return MdbOK;                                                                                  \
                    }});
#define IMODEL_QUERY(ID, PARAMETERS, ...)                                                                              \
    rows.push_back({Row::Query, #ID, #PARAMETERS, [](void* parent, MdbQuery_result defaultAnswer, MdbQuery_result*) {  \
                        return ImodelDisplay##ID##_QRY(parent, defaultAnswer TEST_MORE_VALUES PARAMETERS);             \
                    }});
#define IMODEL_SERIES_QUERY(ID, PARAMETERS, ...)                                                                       \
    rows.push_back({Row::SeriesQuery, #ID, #PARAMETERS,                                                                \
                    [](void* parent, MdbQuery_result defaultAnswer, MdbQuery_result* answer) {                         \
                        return ImodelDisplay##ID##_QRY(parent, defaultAnswer, answer TEST_MORE_VALUES PARAMETERS);     \
                    }});
#define IMODEL_LINE_DEF(ID, PARAMETERS, ...) rows.push_back({Row::Elsewhere, #ID, #PARAMETERS, nullptr});
#define IMODEL_QUERY_DEF IMODEL_LINE_DEF
#include "imodel/names/ImodelMessages.def"
    return rows;
}

#undef TEST_VALUE_s
#undef TEST_VALUE_d
#undef TEST_VALUES
#undef TEST_MORE_VALUES

// The values a row's function hands on, read from its parameters as written.
std::vector<MdbArg> ExpectedArgs(const std::string& parameters)
{
    std::vector<MdbArg> args;
    const std::regex parameter(R"(([sd])\((\w+)\))");
    for (auto it = std::sregex_iterator(parameters.begin(), parameters.end(), parameter); it != std::sregex_iterator();
         ++it) {
        MdbArg arg;
        arg.isInteger = (*it)[1] == "d";
        if (arg.isInteger) {
            arg.integer = NumberFor((*it)[2].str());
        } else {
            arg.text = (*it)[2];
        }
        args.push_back(arg);
    }
    return args;
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

// Each row's function emits the message of the table at the row's place,
// with its values in the order the row names them, the question's parent and
// default answer handed on, and the answer given back (to the caller's
// variable too for a question of a series).
TEST(ImodelMessages, EachRowsFunctionEmitsItsOwnMessageWithItsValuesInOrder)
{
    const std::vector<Row> rows = ListedRows();
    const std::vector<ImodelMessageEntry>& table = ImodelGetMessageTable();
    ASSERT_EQ(table.size(), rows.size() + 1);  // the meter comes last
    EXPECT_EQ(table.back().def->kind, MdbMETERKIND);
    std::mt19937 random(81);
    const MdbQuery_result answers[] = {MdbOK, MdbCANCEL, MdbYES, MdbNO};
    int calls = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const ImodelMessageDef& def = *table[i].def;
        SCOPED_TRACE(row.id + " " + row.parameters);
        EXPECT_EQ(def.id, row.id);
        const std::vector<MdbArg> expected = ExpectedArgs(row.parameters);
        EXPECT_EQ(table[i].arguments, static_cast<int>(expected.size()));
        EXPECT_EQ(def.queryCode, row.form == Row::SeriesQuery ? 3 : 0);
        if (row.form == Row::Line) {
            EXPECT_EQ(def.kind, MdbLINE);
        } else if (row.form != Row::Elsewhere) {
            EXPECT_TRUE(IsQuestion(def));
        }
        if (!row.call) continue;  // worded by another component: see below

        ++calls;
        MessageRecorder recorder;
        const MdbQuery_result defaultAnswer = answers[random() % 4];
        const MdbQuery_result scripted = answers[random() % 4];
        const bool script = random() % 2 == 0;
        if (script) recorder.AnswerNext(row.id, scripted);
        int owner = 0;
        // An answer this test never gives, so that one written where none is due shows.
        MdbQuery_result collected = MdbRETRY;
        const MdbQuery_result result = row.call(&owner, defaultAnswer, &collected);
        const std::vector<MessageRecorder::Record> records = recorder.Records();
        ASSERT_EQ(records.size(), 1u);
        const MdbMessage& message = records[0].message;
        EXPECT_EQ(message.id, def.id);
        EXPECT_EQ(message.number, def.Number());
        EXPECT_EQ(message.severity, def.severity);
        EXPECT_EQ(message.kind, def.kind);
        EXPECT_EQ(message.format, def.text);
        EXPECT_EQ(message.secondNumber, def.secondNumber);
        ASSERT_EQ(message.args.size(), expected.size());
        for (std::size_t a = 0; a < expected.size(); ++a) {
            EXPECT_EQ(message.args[a].isInteger, expected[a].isInteger) << a;
            EXPECT_EQ(message.args[a].text, expected[a].text) << a;
            EXPECT_EQ(message.args[a].integer, expected[a].integer) << a;
        }
        EXPECT_EQ(records[0].question, row.form != Row::Line);
        if (row.form == Row::Line) continue;
        EXPECT_EQ(message.parent, &owner);
        EXPECT_EQ(message.defaultAnswer, defaultAnswer);
        EXPECT_EQ(message.code, def.queryCode);
        EXPECT_EQ(message.dontShowAgainKey, def.dontShowAgainKey);
        EXPECT_EQ(result, script ? scripted : defaultAnswer);
        if (row.form == Row::SeriesQuery) {
            EXPECT_EQ(message.answerPointer, &collected);
            EXPECT_EQ(collected, result);
        } else {
            EXPECT_EQ(message.answerPointer, nullptr);
            EXPECT_EQ(collected, MdbRETRY);
        }
    }
    EXPECT_GT(calls, 150);
}

// The build holds each row to its text with ImodelTextTakes: it must find the
// placeholders that the message database fills, no more and no fewer. Texts
// made of signs around '%' are formatted with one marked value per
// placeholder the check expects.
TEST(ImodelMessages, ThePlaceholderCheckReadsATextAsTheMessageDatabaseDoes)
{
    static_assert(ImodelTextTakes("", {}));
    static_assert(ImodelTextTakes("100%% of %s, %d times", {'s', 'd'}));
    static_assert(!ImodelTextTakes("%s", {'d'}));
    static_assert(!ImodelTextTakes("%s %s", {'s'}));
    static_assert(!ImodelTextTakes("%s", {'s', 's'}));
    static_assert(ImodelTextTakes("%%s 50% %x %", {}));

    std::mt19937 random(81);
    const char signs[] = {'%', 's', 'd', 'x', ' '};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) text += signs[random() % 5];
        // What the check expects: the letters after each '%' that a "%%" does
        // not take.
        std::string letters;
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '%') continue;
            if (text[i + 1] == '%') {
                ++i;
            } else if (text[i + 1] == 's' || text[i + 1] == 'd') {
                letters.push_back(text[++i]);
            }
        }
        SCOPED_TRACE(text);
        EXPECT_TRUE(ImodelTextTakes(text, letters));
        // The database fills exactly as many: one value more stays out.
        std::vector<MdbArg> values(letters.size() + 1);
        for (std::size_t v = 0; v < values.size(); ++v) values[v].text = "<" + std::to_string(v) + ">";
        const std::string formatted = MdbFormat(text, values);
        for (std::size_t v = 0; v < values.size(); ++v)
            EXPECT_EQ(formatted.find(values[v].text) != std::string::npos, v < letters.size()) << formatted;
        // One placeholder fewer, one more, or one of the other type is refused.
        EXPECT_FALSE(ImodelTextTakes(text, letters + 's'));
        if (!letters.empty()) {
            EXPECT_FALSE(ImodelTextTakes(text, letters.substr(1)));
            std::string swapped = letters;
            swapped.back() = swapped.back() == 's' ? 'd' : 's';
            EXPECT_FALSE(ImodelTextTakes(text, swapped));
        }
    }
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
