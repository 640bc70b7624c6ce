// Questions the user silenced (the error capture the command framework uses
// is checked through AcmdManagerTest).
#include "MessageRecorder.h"
#include "OptionsScope.h"

#include <foundation/Def.h>
#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t kNumber = (1200u << 16) | 663u;

MdbQuery_result Ask(const char* id, MdbQuery_result defaultAnswer, MdbQuery_result* answer = nullptr,
                    const char* key = "")
{
    const int args = MdbArgSetInit(1);
    MdbArgSetString(args, 0, id);
    return MdbQuery(nullptr, args, nullptr, "Quorlane", id, MdbWARNING, MdbYESNOBOX, "Replace %s?", kNumber,
                    defaultAnswer, 0, answer ? 3 : 0, answer, key);
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
