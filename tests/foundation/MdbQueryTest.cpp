// Questions, do-not-show-again and sink installation (the error capture the
// command framework uses is checked through AcmdManagerTest).
#include "MessageRecorder.h"
#include "OptionsScope.h"

#include <foundation/Def.h>
#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kNumber = (1200u << 16) | 663u;
using Texts = std::vector<std::string>;

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

}  // namespace

TEST(MdbQuery, SilencedQuestionsAnswerTheirDefaultWithoutOutput)
{
    const OptionsScope options;
    MdbDontShowAgainManager& manager = MdbDontShowAgainManager::GetInstance();
    const std::string key = "mdbtestSILENCE_ME_QRY";
    manager.RegisterQuery(key, 1, "Warn me before replacing.", 0, 0);
    MessageRecorder recorder;
    ASSERT_TRUE(manager.SetShown(key, false));
    int stored = -1;
    EXPECT_EQ(DefGetIntFL(key.c_str(), &stored), 0);  // kept in the options
    EXPECT_EQ(stored, 0);

    recorder.AnswerNext("SILENCE_ME", MdbCANCEL);
    MdbQuery_result remembered = MdbNOANSWER;
    EXPECT_EQ(Ask("SILENCE_ME", MdbOK, &remembered, key.c_str()), MdbOK);
    EXPECT_EQ(remembered, MdbOK);
    EXPECT_TRUE(recorder.Records().empty());
    EXPECT_EQ(Ask("SILENCE_ME", MdbOK), MdbCANCEL);  // the scripted answer waits for a question asked

    // Unregistered keys are always shown and cannot be silenced.
    EXPECT_TRUE(manager.IsShown("mdbtestUNKNOWN_QRY"));
    EXPECT_FALSE(manager.SetShown("mdbtestUNKNOWN_QRY", false));
    manager.RegisterQuery("", 0, "no key", 0, 0);
    EXPECT_FALSE(manager.IsRegistered(""));
}

namespace {

// A sink that emits a message of its own while it handles one.
class EchoingSink : public MessageRecorder {
public:
    void Output(const MdbMessage& message) override
    {
        MessageRecorder::Output(message);
        if (message.id == "TEST")
            MdbOutput(MdbArgSetInit(0), nullptr, "Quorlane", "ECHO", MdbINFO, MdbLINE, "echo", 2, 0);
    }
};

}  // namespace

TEST(MdbSink, SinksNestAndMayEmitThemselves)
{
    MdbSink* console = MdbGetSink();
    {
        MessageRecorder outer;
        {
            EchoingSink inner;
            Say(MdbINFO, "to the inner sink");
            EXPECT_EQ(inner.Texts(), (Texts{"to the inner sink", "echo"}));
        }
        EXPECT_EQ(MdbGetSink(), &outer);
        Say(MdbINFO, "to the outer sink");
        EXPECT_EQ(outer.Texts(), (Texts{"to the outer sink"}));
    }
    EXPECT_EQ(MdbGetSink(), console);
    MessageRecorder recorder;
    EXPECT_EQ(MdbSetSink(nullptr), &recorder);
    EXPECT_EQ(MdbGetSink(), console);
    MdbSetSink(&recorder);
}
