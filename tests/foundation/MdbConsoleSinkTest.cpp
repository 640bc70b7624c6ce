// The console sink: severity routing, question lines and the progress bar.
#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint32_t kMeter = (1200u << 16) | 665u;

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

// Installs a sink for the scope of a test.
class Installed {
public:
    explicit Installed(MdbSink* sink) : m_previous(MdbSetSink(sink)) {}
    ~Installed() { MdbSetSink(m_previous); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    MdbSink* m_previous;
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

// The master side of a pseudo-terminal, with the other side open as a stream
// that the sink takes for a terminal.
class Terminal {
public:
    Terminal()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) return;
        const char* name = ptsname(m_master);
        const int slave = name ? open(name, O_RDWR | O_NOCTTY) : -1;
        if (slave >= 0) m_stream = fdopen(slave, "w");
    }
    ~Terminal()
    {
        if (m_stream) std::fclose(m_stream);
        if (m_master >= 0) close(m_master);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    std::FILE* Stream() const { return m_stream; }
    // Everything written since the last call.
    std::string Drain()
    {
        std::string text;
        pollfd ready{m_master, POLLIN, 0};
        char buffer[256];
        while (poll(&ready, 1, 50) > 0 && (ready.revents & POLLIN)) {
            const ssize_t n = read(m_master, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

private:
    int m_master = -1;
    std::FILE* m_stream = nullptr;
};

}  // namespace

TEST(MdbConsoleSink, SeveritiesGoToTheirStreamsAndQuestionsSayWhichAnswerWasTaken)
{
    Capture out, err;
    MdbConsoleSink console(out.File(), err.File());
    Installed installed(&console);
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

    EXPECT_EQ(err.Text(), "Error: broken\nWarning: careful\nsecond line\nError: ends with a break. \n");
    EXPECT_EQ(out.Text(), "Info: The p project was opened.\nNote: changed on disk\nInfo: odd severity\n"
                          "Question: Replace it? [assumed answer: No]\n"
                          "Question: The file exists.\nReplace it? [scripted answer: Yes]\n"
                          "Question: Odd default? [assumed answer: 75]\n");
}

TEST(MdbConsoleSink, MeterDrawsABarOnATerminalThatStepsAsideForLines)
{
    Terminal terminal;
    if (!terminal.Stream()) GTEST_SKIP() << "no pseudo-terminal available";
    Capture out;
    MdbConsoleSink console(out.File(), terminal.Stream());
    Installed installed(&console);
    const int args = MdbArgSetInit(1);
    MdbArgSetString(args, 0, "Opening project");
    MdbMeterInit(nullptr, args, nullptr, "Quorlane", "COMMAND_METER", MdbMETER, MdbMETERKIND, "", "%s...", kMeter);
    EXPECT_EQ(terminal.Drain(), "\rOpening project... [" + std::string(30, '.') + "]   0%");
    MdbMeterUpdate(nullptr, "Quorlane", kMeter, 50);
    const std::string half = "Opening project... [" + std::string(15, '#') + std::string(15, '.') + "]  50%";
    EXPECT_EQ(terminal.Drain(), "\r" + half);
    MdbMeterUpdate(nullptr, "Quorlane", kMeter, 50);  // same picture: nothing drawn
    MdbMeterUpdate(nullptr, "Other", kMeter, 70);     // another meter: ignored
    EXPECT_EQ(terminal.Drain(), "");
    Say(MdbINFO, "between");
    const std::string blank = "\r" + std::string(half.size(), ' ') + "\r";
    EXPECT_EQ(terminal.Drain(), blank + "\r" + half);
    EXPECT_EQ(out.Text(), "Info: between\n");
    MdbMeterKill(nullptr, "Quorlane", kMeter);
    EXPECT_EQ(terminal.Drain(), blank);
    MdbMeterUpdate(nullptr, "Quorlane", kMeter, 10);  // killed: nothing more
    EXPECT_EQ(terminal.Drain(), "");
}
