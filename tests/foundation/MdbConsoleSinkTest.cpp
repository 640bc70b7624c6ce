// The console sink: severity routing and question lines.
#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// A temporary stream that reads back what was written to it.
class Capture {
public:
    Capture() : m_file(std::tmpfile()) {}
    ~Capture()
    {
        if (m_file) std::fclose(m_file);
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    std::FILE* File() const { return m_file; }
    std::string Text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string text;
        char buffer[256];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;) text.append(buffer, n);
        return text;
    }

private:
    std::FILE* m_file;
};

void Say(int severity, const char* text)
{
    MdbOutput(MdbArgSetInit(0), nullptr, "Quorlane", "TEST", severity, MdbLINE, text, 1, 0);
}

MdbQuery_result Ask(const char* text, MdbQuery_result defaultAnswer)
{
    return MdbQuery(nullptr, MdbArgSetInit(0), nullptr, "Quorlane", "TEST_QUESTION", MdbWARNING, MdbYESNOBOX, text, 2,
                    defaultAnswer, 0, 0, nullptr, "");
}

}  // namespace

TEST(MdbConsoleSink, SeveritiesGoToTheirStreamsAndQuestionsSayWhichAnswerWasTaken)
{
    Capture out, err;
    MdbConsoleSink console(out.File(), err.File());
    MdbSink* const previous = MdbSetSink(&console);
    Say(MdbERROR, "broken");
    Say(MdbINFO, "The p project was opened.");
    Say(MdbWARNING, "careful\nsecond line");
    Say(MdbNOTICE, "changed on disk");
    Say(MdbERROR, "ends with a break. \n");
    Say(99, "odd severity");
    EXPECT_EQ(Ask("Replace it?", MdbNO), MdbNO);
    MdbPushScriptedAnswer("TEST_QUESTION", MdbYES);
    EXPECT_EQ(Ask("The file exists.\nReplace it?", MdbNO), MdbYES);
    EXPECT_EQ(Ask("Odd default?", static_cast<MdbQuery_result>(75)), 75);

    MdbSetSink(previous);
    EXPECT_EQ(err.Text(), "Error: broken\nWarning: careful\nsecond line\nError: ends with a break. \n");
    EXPECT_EQ(out.Text(), "Info: The p project was opened.\nNote: changed on disk\nInfo: odd severity\n"
                          "Question: Replace it? [assumed answer: No]\n"
                          "Question: The file exists.\nReplace it? [scripted answer: Yes]\n"
                          "Question: Odd default? [assumed answer: 75]\n");
}
