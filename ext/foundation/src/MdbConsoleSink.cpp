// The console sink: message lines on stdout/stderr and a progress bar on a
// terminal.
#include <foundation/Mdb.h>

#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kBarWidth = 30;

struct SeverityTag {
    int severity;
    const char* tag;
    bool toErrorStream;
};
constexpr SeverityTag kSeverityTags[] = {
    {MdbERROR, "Error", true},
    {MdbWARNING, "Warning", true},
    {MdbNOTICE, "Note", false},
    {MdbINFO, "Info", false},
};
constexpr SeverityTag kOtherSeverity = {0, "Info", false};

const SeverityTag& TagOf(int severity)
{
    for (const SeverityTag& tag : kSeverityTags) {
        if (tag.severity == severity) return tag;
    }
    return kOtherSeverity;
}

struct AnswerName {
    MdbQuery_result answer;
    const char* name;
};
constexpr AnswerName kAnswerNames[] = {
    {MdbCANCEL, "Cancel"}, {MdbNO, "No"},         {MdbYES, "Yes"},           {MdbOK, "OK"},
    {MdbSKIP, "Skip"},     {MdbABORT, "Abort"},   {MdbCONTINUE, "Continue"}, {MdbRETRY, "Retry"},
    {MdbTRY, "Try"},       {MdbNOANSWER, "none"},
};

std::string NameOf(MdbQuery_result answer)
{
    for (const AnswerName& entry : kAnswerNames) {
        if (entry.answer == answer) return entry.name;
    }
    return std::to_string(static_cast<int>(answer));
}

// "<tag>: <text><suffix>" as one line; a text that already ends with a line
// break gets no second one (the suffix goes before it).
std::string MakeLine(const char* tag, const std::string& text, const std::string& suffix)
{
    // One block per line: a project read prints a line for every file.
    const std::string_view head(tag);
    std::string line;
    line.reserve(head.size() + 2 + text.size() + suffix.size() + 1);
    line.append(head).append(": ").append(text);
    const bool endsWithBreak = !line.empty() && line.back() == '\n';
    if (endsWithBreak) line.pop_back();
    line.append(suffix).append("\n");
    return line;
}

bool IsTerminal(std::FILE* stream)
{
    const int fd = stream ? fileno(stream) : -1;
    return fd >= 0 && isatty(fd) == 1;
}

}  // namespace

MdbConsoleSink::MdbConsoleSink(std::FILE* out, std::FILE* err, std::chrono::milliseconds outputDelay)
    : m_out(out), m_err(err), m_outputDelay(outputDelay), m_outIsTerminal(IsTerminal(out)),
      m_outFlushed(std::chrono::steady_clock::now())
{
}

void MdbConsoleSink::Output(const MdbMessage& message)
{
    const SeverityTag& tag = TagOf(message.severity);
    PrintLine(tag.toErrorStream ? m_err : m_out, MakeLine(tag.tag, message.text, ""));
}

MdbQuery_result MdbConsoleSink::Query(const MdbMessage& message)
{
    const MdbQuery_result answer = message.scriptedAnswer.value_or(message.defaultAnswer);
    const std::string how = message.scriptedAnswer ? "scripted" : "assumed";
    PrintLine(m_out, MakeLine("Question", message.text, " [" + how + " answer: " + NameOf(answer) + "]"));
    return answer;
}

void MdbConsoleSink::MeterInit(const MdbMessage& message)
{
    EraseMeter();
    m_meterShown = IsTerminal(m_err);
    m_meterLabel = message.text;
    m_meterCatalogue = message.catalogue;
    m_meterNumber = message.number;
    m_meterValue = 0;
    DrawMeter();
}

void MdbConsoleSink::MeterUpdate(const std::string& catalogue, std::uint32_t number, unsigned value)
{
    if (!m_meterShown || catalogue != m_meterCatalogue || number != m_meterNumber) return;
    if (value == m_meterValue) return;  // frequent updates, same picture
    m_meterValue = value;
    DrawMeter();
}

void MdbConsoleSink::MeterKill(const std::string& catalogue, std::uint32_t number)
{
    if (!m_meterShown || catalogue != m_meterCatalogue || number != m_meterNumber) return;
    EraseMeter();
    m_meterShown = false;
}

// A line printed while the bar is drawn would run into it: the bar is erased
// first and drawn again below the line.
void MdbConsoleSink::PrintLine(std::FILE* stream, const std::string& line)
{
    EraseMeter();
    if (stream != m_out) Flush();  // what came before comes first
    std::fputs(line.c_str(), stream);
    // Another stream is written through at once. The output is flushed on a
    // terminal, or once the delay has passed: a write per line would cost a
    // file or a pipe more than the line.
    if (stream != m_out)
        std::fflush(stream);
    else if (m_outIsTerminal || std::chrono::steady_clock::now() - m_outFlushed >= m_outputDelay)
        Flush();
    DrawMeter();
}

void MdbConsoleSink::Flush()
{
    std::fflush(m_out);
    m_outFlushed = std::chrono::steady_clock::now();
}

void MdbConsoleSink::DrawMeter()
{
    if (!m_meterShown) return;
    const unsigned percent = m_meterValue > 100 ? 100 : m_meterValue;
    const std::size_t filled = kBarWidth * percent / 100;
    const std::string percentText = std::to_string(percent);
    // The percent is right-aligned, so every picture of one meter has the
    // same width and overwrites the previous one.
    const std::string bar = m_meterLabel + " [" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') +
                            "] " + std::string(3 - percentText.size(), ' ') + percentText + "%";
    std::fputs(("\r" + bar).c_str(), m_err);
    std::fflush(m_err);
    m_drawnWidth = bar.size();
}

void MdbConsoleSink::EraseMeter()
{
    if (m_drawnWidth == 0) return;
    std::fputs(("\r" + std::string(m_drawnWidth, ' ') + "\r").c_str(), m_err);
    std::fflush(m_err);
    m_drawnWidth = 0;
}
