// The library's message table: its invariants, one golden dump of the whole
// table, and the behaviour of the functions whose shape differs.
#include "imodel/names/ImodelMessages.h"
#include "imodel/model/QuorlaneModule.h"
#include "imodel/names/ImodelMessageDef.h"

#include "Golden.h"
#include "MessageRecorder.h"

#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kBlockModeKey = "imodelSWITCH_BLOCKMODE_WARNING_QRY";

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

// Emits a message as its function does, with the given values.
int Emit(const ImodelMessageDef& def, void* parent, const std::vector<ImodelMessageArg>& a)
{
    const auto emit = [&](std::initializer_list<ImodelMessageArg> list) {
        return IsQuestion(def) ? int(ImodelEmitQuery(def, parent, MdbYES, list)) : ImodelEmitOutput(def, list);
    };
    switch (a.size()) {
    case 0:
        return emit({});
    case 1:
        return emit({a[0]});
    case 2:
        return emit({a[0], a[1]});
    case 3:
        return emit({a[0], a[1], a[2]});
    default:
        return emit({a[0], a[1], a[2], a[3]});
    }
}

}  // namespace

TEST(ImodelMessages, TheTableHasUniqueNumbersAndPlaceholdersForEveryArgument)
{
    const std::vector<ImodelMessageEntry>& table = ImodelGetMessageTable();
    ASSERT_EQ(table.size(), 101u);  // 100 messages and the meter
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

TEST(ImodelMessages, EveryMessageReachesTheSinkWithItsValuesInOrder)
{
    MessageRecorder recorder;
    int window = 0;
    const MdbQuery_result answers[] = {MdbCANCEL, MdbNO, MdbYES, MdbOK, MdbSKIP, MdbRETRY};
    std::size_t turn = 0;
    for (const ImodelMessageEntry& entry : ImodelGetMessageTable()) {
        const ImodelMessageDef& def = *entry.def;
        if (def.kind == MdbMETERKIND) continue;
        SCOPED_TRACE(def.id);
        recorder.Clear();
        const bool integers = std::string(def.text).find("%d") != std::string::npos;
        std::vector<std::string> values;
        std::vector<ImodelMessageArg> args;
        for (int i = 0; i < entry.arguments; ++i)
            values.push_back(integers ? std::to_string(7 + i) : def.id + std::to_string(i));
        for (int i = 0; i < entry.arguments; ++i)
            args.push_back(integers ? ImodelMessageArg(7 + i) : ImodelMessageArg(values[i].c_str()));
        const MdbQuery_result scripted = answers[turn++ % std::size(answers)];
        if (IsQuestion(def)) recorder.AnswerNext(def.id, scripted);
        const int result = Emit(def, &window, args);
        const std::vector<MessageRecorder::Record> records = recorder.Records();
        ASSERT_EQ(records.size(), 1u);
        const MdbMessage& message = records[0].message;
        EXPECT_EQ(records[0].question, IsQuestion(def));
        EXPECT_EQ(message.catalogue, "Quorlane");
        EXPECT_EQ(message.id, def.id);
        EXPECT_EQ(message.number, def.Number());
        EXPECT_EQ(message.severity, def.severity);
        EXPECT_EQ(message.kind, def.kind);
        EXPECT_EQ(message.secondNumber, def.secondNumber);
        EXPECT_EQ(message.module, QuorlaneGetModuleHandle());
        EXPECT_EQ(message.dontShowAgainKey, def.dontShowAgainKey);
        ASSERT_EQ(message.args.size(), values.size());
        std::size_t from = 0;
        for (const std::string& value : values) {
            from = message.text.find(value, from);
            ASSERT_NE(from, std::string::npos) << value << " missing or out of order in: " << message.text;
            from += value.size();
        }
        if (IsQuestion(def)) {
            EXPECT_EQ(result, scripted);
            EXPECT_EQ(message.parent, &window);
            EXPECT_EQ(message.defaultAnswer, MdbYES);
        } else {
            EXPECT_EQ(result, 0);
        }
    }
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

TEST(ImodelMessages, OnlyFileAlreadyExistsCollectsTheAnswerForTheSeries)
{
    MessageRecorder recorder;
    MdbQuery_result answer = MdbNOANSWER;
    recorder.AnswerNext("FILE_ALREADY_EXISTS", MdbNO);
    EXPECT_EQ(ImodelDisplayFILE_ALREADY_EXISTS_QRY(nullptr, MdbYES, &answer, "a.vhd"), MdbNO);
    EXPECT_EQ(answer, MdbNO);
    EXPECT_EQ(ImodelDisplayFILE_ALREADY_EXISTS_SINGLE_QRY(nullptr, MdbYES, "a.vhd"), MdbYES);
    // In batch nobody answers: the default stands.
    EXPECT_EQ(ImodelDisplayCORE_ALREADY_PRESENT_QRY(nullptr, MdbNO, "fifo"), MdbNO);

    const std::vector<MdbMessage> m = recorder.Messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].text, m[1].text);
    EXPECT_EQ(m[0].code, 3);
    EXPECT_EQ(m[0].answerPointer, &answer);
    EXPECT_EQ(m[1].code, 0);
    EXPECT_EQ(m[1].answerPointer, nullptr);
}

TEST(ImodelMessages, CommandMeterStartsWithItsIdThenGoesByNumberOnly)
{
    void (*progress)(unsigned int) = ImodelUpdateCOMMAND_METER;  // the reader's callback type
    MessageRecorder recorder;
    int window = 0;
    EXPECT_EQ(ImodelInitCOMMAND_METER(&window, "Opening project"), 0);
    progress(40);
    ImodelKillCOMMAND_METER();

    const std::vector<MessageRecorder::MeterCall> calls = recorder.MeterCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].message.id, "COMMAND_METER");
    EXPECT_EQ(calls[0].message.text, "Opening project...");
    EXPECT_EQ(calls[0].message.parent, &window);
    EXPECT_EQ(calls[1].kind, MessageRecorder::MeterCall::Update);
    EXPECT_EQ(calls[1].value, 40u);
    EXPECT_EQ(calls[2].kind, MessageRecorder::MeterCall::Kill);
    for (const auto& call : calls) EXPECT_EQ(call.number, 1200u * 65536u + 665u);
    EXPECT_TRUE(recorder.Records().empty());
}

TEST(ImodelMessages, BlockModeWarningIsRegisteredAtLoadAndCanBeSilenced)
{
    MdbDontShowAgainManager& manager = MdbDontShowAgainManager::GetInstance();
    ASSERT_TRUE(manager.IsRegistered(kBlockModeKey));
    EXPECT_EQ(manager.GetLabel(kBlockModeKey), "Warn me when Pallador Block mode is changed.");
    ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY();  // again: still one entry
    const std::vector<std::string> keys = manager.GetKeys();
    EXPECT_EQ(std::count(keys.begin(), keys.end(), kBlockModeKey), 1);

    MessageRecorder recorder;
    recorder.AnswerNext("SWITCH_BLOCKMODE_WARNING", MdbCANCEL);
    EXPECT_EQ(ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(nullptr, MdbOK), MdbCANCEL);
    ASSERT_TRUE(manager.SetShown(kBlockModeKey, false));
    recorder.Clear();
    EXPECT_EQ(ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(nullptr, MdbOK), MdbOK);
    EXPECT_TRUE(recorder.Records().empty());
    manager.SetShown(kBlockModeKey, true);
}

TEST(ImodelMessagesDeathTest, TheModuleHandleIsReadAtEachCall)
{
    // In a child process: the module handle cannot be unset afterwards.
    EXPECT_EXIT(
        {
            MessageRecorder recorder;
            int module = 0;
            QuorlaneInit(&module);
            ImodelDisplayNO_TOOL_MSG("synthesis");
            ImodelDisplayINVALID_CORE_NAME_QRY(nullptr, MdbOK);
            ImodelInitCOMMAND_METER(nullptr, "Opening project");
            bool passed = recorder.Messages().size() == 2 && recorder.MeterCalls().size() == 1 &&
                          recorder.MeterCalls()[0].message.module == &module;
            for (const MdbMessage& message : recorder.Messages()) passed = passed && message.module == &module;
            std::_Exit(passed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
