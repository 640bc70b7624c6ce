// The console sink writing into a file, as when a script's output is
// redirected or piped: lines of the output stream are written in batches,
// yet every line keeps its place among those of the error stream.
#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

// Both streams write into one file, as "2>&1" makes them.
class SharedFile {
public:
    SharedFile() : m_file(std::tmpfile())
    {
        if (!m_file) return;
        out = ::fdopen(::dup(::fileno(m_file)), "w");
        err = ::fdopen(::dup(::fileno(m_file)), "w");
    }
    ~SharedFile()
    {
        for (std::FILE* stream : {out, err, m_file})
            if (stream) std::fclose(stream);
    }
    SharedFile(const SharedFile&) = delete;
    SharedFile& operator=(const SharedFile&) = delete;

    bool IsOpen() const { return m_file && out && err; }
    // What has reached the file so far.
    std::string Written() const
    {
        std::string text;
        char block[4096];
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(::fileno(m_file), block, sizeof block, at);
            if (got <= 0) break;
            text.append(block, static_cast<std::size_t>(got));
            at += got;
        }
        return text;
    }

    std::FILE* out = nullptr;
    std::FILE* err = nullptr;

private:
    std::FILE* m_file;
};

MdbMessage Line(int severity, const std::string& text)
{
    MdbMessage message;
    message.severity = severity;
    message.text = text;
    return message;
}

}  // namespace

TEST(MdbConsoleSink, OutputLinesWaitForAnErrorLineOrAFlushAndKeepTheirOrder)
{
    SharedFile file;
    ASSERT_TRUE(file.IsOpen());
    MdbConsoleSink sink(file.out, file.err, std::chrono::hours(1));
    sink.Output(Line(MdbINFO, "Reading file 'a.vhd'."));
    sink.Output(Line(MdbNOTICE, "a note"));
    EXPECT_EQ(file.Written(), "") << "held back within the delay";
    // An error line comes after every line before it.
    sink.Output(Line(MdbERROR, "Unable to read 'b.vhd'."));
    EXPECT_EQ(file.Written(), "Info: Reading file 'a.vhd'.\nNote: a note\nError: Unable to read 'b.vhd'.\n");
    MdbMessage question = Line(MdbWARNING, "Replace it?");
    question.defaultAnswer = MdbYES;
    EXPECT_EQ(sink.Query(question), MdbYES);
    sink.Output(Line(MdbWARNING, "Replaced."));
    sink.Output(Line(MdbINFO, "Done."));
    EXPECT_EQ(file.Written(), "Info: Reading file 'a.vhd'.\nNote: a note\nError: Unable to read 'b.vhd'.\n"
                              "Question: Replace it? [assumed answer: Yes]\nWarning: Replaced.\n");
    sink.Flush();
    EXPECT_EQ(file.Written(), "Info: Reading file 'a.vhd'.\nNote: a note\nError: Unable to read 'b.vhd'.\n"
                              "Question: Replace it? [assumed answer: Yes]\nWarning: Replaced.\nInfo: Done.\n");
}

TEST(MdbConsoleSink, AnOutputLineAfterTheDelayIsWrittenAtOnce)
{
    SharedFile file;
    ASSERT_TRUE(file.IsOpen());
    MdbConsoleSink sink(file.out, file.err, std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    sink.Output(Line(MdbINFO, "first"));
    EXPECT_EQ(file.Written(), "Info: first\n");
    // With no delay, every line is written as it comes.
    MdbConsoleSink eager(file.out, file.err, std::chrono::milliseconds(0));
    eager.Output(Line(MdbINFO, "second"));
    EXPECT_EQ(file.Written(), "Info: first\nInfo: second\n");
}
