// Questions, do-not-show-again, meters through the sink, error capture and
// sink installation.
#include "MessageRecorder.h"

#include <foundation/Def.h>
#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kNumber = (1200u << 16) | 663u;
constexpr std::uint32_t kMeter = (1200u << 16) | 665u;

MdbQuery_result Ask(const char* id, MdbQuery_result defaultAnswer, MdbQuery_result* answer = nullptr,
                    const char* key = "")
{
    const int args = MdbArgSetInit(1);
    MdbArgSetString(args, 0, id);
    return MdbQuery(nullptr, args, nullptr, "Quorlane", id, MdbWARNING, MdbYESNOBOX, "Replace %s?", kNumber,
                    defaultAnswer, 0, answer ? 3 : 0, answer, key);
}

void Say(int severity, const std::string& text)
{
    const int args = MdbArgSetInit(1);
    MdbArgSetString(args, 0, text.c_str());
    MdbOutput(args, nullptr, "Quorlane", "TEST", severity, MdbLINE, "%s", 1, 0);
}

class MdbOptionsTest : public testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override { DefReset(); }
};

}  // namespace

TEST(MdbQuery, ScriptedAnswersComeInOrderPerIdThenTheDefault)
{
    MessageRecorder recorder;
    recorder.AnswerNext("FIRST", MdbYES);
    recorder.AnswerNext("FIRST", MdbCANCEL);
    recorder.AnswerNext("SECOND", MdbNO);

    EXPECT_EQ(Ask("SECOND", MdbOK), MdbNO);
    EXPECT_EQ(Ask("FIRST", MdbOK), MdbYES);
    EXPECT_EQ(Ask("FIRST", MdbOK), MdbCANCEL);
    EXPECT_EQ(Ask("FIRST", MdbOK), MdbOK);
    EXPECT_EQ(Ask("SECOND", MdbNO), MdbNO);

    const std::vector<MessageRecorder::Record> records = recorder.Records();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_TRUE(records[0].question);
    EXPECT_EQ(records[0].message.text, "Replace SECOND?");
    EXPECT_EQ(records[0].message.kind, MdbYESNOBOX);
    EXPECT_EQ(records[0].message.number, kNumber);
    EXPECT_EQ(records[0].message.defaultAnswer, MdbOK);
    EXPECT_EQ(records[0].message.scriptedAnswer, MdbNO);
    EXPECT_EQ(records[3].message.scriptedAnswer, std::nullopt);
    EXPECT_EQ(records[3].answer, MdbOK);

    // Leftovers are forgotten when asked to.
    MdbPushScriptedAnswer("FIRST", MdbNO);
    MdbClearScriptedAnswers();
    EXPECT_EQ(Ask("FIRST", MdbYES), MdbYES);
}

TEST(MdbQuery, TheAnswerPointerReceivesTheAnswer)
{
    MessageRecorder recorder;
    MdbQuery_result remembered = MdbNOANSWER;
    EXPECT_EQ(Ask("FILE_ALREADY_EXISTS", MdbYES, &remembered), MdbYES);
    EXPECT_EQ(remembered, MdbYES);
    recorder.AnswerNext("FILE_ALREADY_EXISTS", MdbNO);
    EXPECT_EQ(Ask("FILE_ALREADY_EXISTS", MdbYES, &remembered), MdbNO);
    EXPECT_EQ(remembered, MdbNO);

    const std::vector<MdbMessage> asked = recorder.WithId("FILE_ALREADY_EXISTS");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].code, 3);
    EXPECT_EQ(asked[1].answerPointer, &remembered);
}

TEST_F(MdbOptionsTest, SilencedQuestionsAnswerTheirDefaultWithoutOutput)
{
    MdbDontShowAgainManager& manager = MdbDontShowAgainManager::GetInstance();
    const std::string key = "mdbtestSILENCE_ME_QRY";
    manager.RegisterQuery(key, 1, "Warn me before replacing.", 0, 0);
    EXPECT_TRUE(manager.IsRegistered(key));
    EXPECT_TRUE(manager.IsShown(key));
    EXPECT_EQ(manager.GetLabel(key), "Warn me before replacing.");

    MessageRecorder recorder;
    recorder.AnswerNext("SILENCE_ME", MdbNO);
    EXPECT_EQ(Ask("SILENCE_ME", MdbOK, nullptr, key.c_str()), MdbNO);  // shown: asked

    ASSERT_TRUE(manager.SetShown(key, false));
    EXPECT_FALSE(manager.IsShown(key));
    int stored = -1;
    EXPECT_EQ(DefGetIntFL(key.c_str(), &stored), 0);
    EXPECT_EQ(stored, 0);

    recorder.Clear();
    recorder.AnswerNext("SILENCE_ME", MdbCANCEL);
    MdbQuery_result remembered = MdbNOANSWER;
    EXPECT_EQ(Ask("SILENCE_ME", MdbOK, &remembered, key.c_str()), MdbOK);
    EXPECT_EQ(remembered, MdbOK);
    EXPECT_TRUE(recorder.Records().empty());
    // The scripted answer waits for the next question actually asked.
    EXPECT_EQ(Ask("SILENCE_ME", MdbOK), MdbCANCEL);

    ASSERT_TRUE(manager.SetShown(key, true));
    EXPECT_EQ(Ask("SILENCE_ME", MdbYES, nullptr, key.c_str()), MdbYES);
    EXPECT_EQ(recorder.Records().size(), 2u);
}

TEST_F(MdbOptionsTest, RegistrationDecidesTheShownStateUntilTheOptionsSay)
{
    MdbDontShowAgainManager& manager = MdbDontShowAgainManager::GetInstance();
    const std::string quiet = "mdbtestQUIET_QRY";
    manager.RegisterQuery(quiet, 0, "first label", 0, 0);
    EXPECT_FALSE(manager.IsShown(quiet));
    manager.RegisterQuery(quiet, 1, "second label", 0, 0);  // registered again: replaced
    EXPECT_TRUE(manager.IsShown(quiet));
    EXPECT_EQ(manager.GetLabel(quiet), "second label");
    ASSERT_EQ(DefSetFL(quiet.c_str(), "0"), 0);
    EXPECT_FALSE(manager.IsShown(quiet));

    // Unregistered keys are always shown and cannot be silenced.
    EXPECT_TRUE(manager.IsShown("mdbtestUNKNOWN_QRY"));
    EXPECT_FALSE(manager.SetShown("mdbtestUNKNOWN_QRY", false));
    EXPECT_FALSE(manager.IsRegistered("mdbtestUNKNOWN_QRY"));
    EXPECT_EQ(manager.GetLabel("mdbtestUNKNOWN_QRY"), "");
    manager.RegisterQuery("", 0, "no key", 0, 0);
    EXPECT_FALSE(manager.IsRegistered(""));

    const std::vector<std::string> keys = manager.GetKeys();
    const auto at = std::find(keys.begin(), keys.end(), quiet);
    ASSERT_NE(at, keys.end());
    EXPECT_EQ(std::count(keys.begin(), keys.end(), quiet), 1);

    MessageRecorder recorder;
    EXPECT_EQ(Ask("QUIET", MdbCANCEL, nullptr, quiet.c_str()), MdbCANCEL);
    EXPECT_TRUE(recorder.Records().empty());
}

TEST(MdbMeter, CallsReachTheSinkWithTheirNamesAndClampedValues)
{
    MessageRecorder recorder;
    const int args = MdbArgSetInit(1);
    MdbArgSetString(args, 0, "Opening project");
    EXPECT_EQ(
        MdbMeterInit(nullptr, args, nullptr, "Quorlane", "COMMAND_METER", MdbMETER, MdbMETERKIND, "", "%s...", kMeter),
        0);
    MdbMeterUpdate(nullptr, "Quorlane", kMeter, 30);
    MdbMeterUpdate(nullptr, "Quorlane", kMeter, 1000);
    MdbMeterKill(nullptr, "Quorlane", kMeter);

    const std::vector<MessageRecorder::MeterCall> calls = recorder.MeterCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, MessageRecorder::MeterCall::Init);
    EXPECT_EQ(calls[0].message.id, "COMMAND_METER");
    EXPECT_EQ(calls[0].message.text, "Opening project...");
    EXPECT_EQ(calls[0].message.title, "");
    EXPECT_EQ(calls[0].message.severity, MdbMETER);
    EXPECT_EQ(calls[0].message.kind, MdbMETERKIND);
    EXPECT_EQ(calls[1].value, 30u);
    EXPECT_EQ(calls[2].value, 100u);
    EXPECT_EQ(calls[3].kind, MessageRecorder::MeterCall::Kill);
    EXPECT_EQ(calls[3].catalogue, "Quorlane");
    EXPECT_EQ(calls[3].number, kMeter);
    EXPECT_TRUE(recorder.Records().empty());
}

TEST(MdbErrorCapture, TheOutermostCaptureKeepsErrorsOfItsThread)
{
    MessageRecorder recorder;
    {
        MdbErrorCapture outer;
        EXPECT_TRUE(outer.IsOutermost());
        Say(MdbERROR, "first error");
        Say(MdbWARNING, "a warning passes");
        {
            MdbErrorCapture inner;
            EXPECT_FALSE(inner.IsOutermost());
            Say(MdbERROR, "inner error");
            EXPECT_TRUE(inner.Take().empty());
            inner.Release();  // not the outermost: nothing moves
        }
        std::thread([] { Say(MdbERROR, "another thread"); }).join();
        EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"a warning passes", "another thread"}));

        const std::vector<MdbMessage> kept = outer.Take();
        ASSERT_EQ(kept.size(), 2u);
        EXPECT_EQ(kept[0].text, "first error");
        EXPECT_EQ(kept[1].text, "inner error");
        EXPECT_TRUE(outer.Take().empty());

        Say(MdbERROR, "released");
        outer.Release();
        EXPECT_EQ(recorder.Texts().back(), "released");
        Say(MdbERROR, "left at the end");
    }
    EXPECT_EQ(recorder.Texts().back(), "left at the end");
    EXPECT_EQ(recorder.CountBySeverity(MdbERROR), 3);
    Say(MdbERROR, "no capture");
    EXPECT_EQ(recorder.CountBySeverity(MdbERROR), 4);
}

TEST(MdbErrorCapture, NothingIsLostWhenCapturesCloseOutOfOrder)
{
    MessageRecorder recorder;
    auto outer = std::make_unique<MdbErrorCapture>();
    auto inner = std::make_unique<MdbErrorCapture>();
    outer.reset();
    Say(MdbERROR, "kept by nobody");
    EXPECT_TRUE(recorder.Records().empty());
    inner.reset();
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"kept by nobody"}));
}

namespace {

// A sink that emits a message of its own while it handles one.
class EchoingSink : public MessageRecorder {
public:
    void Output(const MdbMessage& message) override
    {
        MessageRecorder::Output(message);
        if (message.id == "TEST") {
            MdbOutput(MdbArgSetInit(0), nullptr, "Quorlane", "ECHO", MdbINFO, MdbLINE, "echo", 2, 0);
        }
    }
};

}  // namespace

TEST(MdbSink, SinksNestAndMayEmitThemselves)
{
    MdbSink* console = MdbGetSink();
    {
        MessageRecorder outer;
        EXPECT_EQ(MdbGetSink(), &outer);
        {
            EchoingSink inner;
            Say(MdbINFO, "to the inner sink");
            EXPECT_EQ(inner.Texts(), (std::vector<std::string>{"to the inner sink", "echo"}));
        }
        EXPECT_EQ(MdbGetSink(), &outer);
        Say(MdbINFO, "to the outer sink");
        EXPECT_EQ(outer.Texts(), (std::vector<std::string>{"to the outer sink"}));
    }
    EXPECT_EQ(MdbGetSink(), console);
    MessageRecorder recorder;
    EXPECT_EQ(MdbSetSink(nullptr), &recorder);
    EXPECT_EQ(MdbGetSink(), console);
    MdbSetSink(&recorder);
}
