// Message database: formats messages by id and hands them to a sink (the
// console, a test recorder, a host), asks questions and drives progress meters.
//
// A message text is a format with "%s", "%d" and "%%" placeholders that take
// the arguments of its argument set in order. Arguments are only ever
// substituted, never used as formats; missing arguments print as nothing and
// surplus arguments are ignored.
//
// Every function may be called from any thread. Sink calls are serialised by
// one output lock that the calling thread may take again, so a sink may emit
// messages itself; a sink must not wait for another thread that emits.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

enum MdbQuery_result {
    MdbCANCEL = 70,
    MdbNO = 71,
    MdbYES = 72,
    MdbOK = 73,
    MdbSKIP = 74,
    MdbABORT = 76,
    MdbCONTINUE = 77,
    MdbRETRY = 78,
    MdbTRY = 79,
    MdbNOANSWER = 80,  // callers' "no answer yet" marker of a question series
};

// Severity codes.
enum MdbSeverity {
    MdbERROR = 1,
    MdbWARNING = 2,
    MdbNOTICE = 3,
    MdbINFO = 4,
    MdbMETER = 12
};
// Kind codes.
enum MdbKind {
    MdbLINE = 201,
    MdbOKBOX = 203,
    MdbOKCANCELBOX = 204,
    MdbYESNOBOX = 205,
    MdbYESNOCANCELBOX = 206,
    MdbMETERKIND = 213,
};

// One argument of a message.
struct MdbArg {
    bool isInteger = false;
    std::string text;
    int integer = 0;
};

// A message as handed to a sink.
struct MdbMessage {
    std::string catalogue;
    std::string id;
    std::uint32_t number = 0;  // 0xSSSSNNNN: block in the upper 16 bits
    int severity = 0;
    int kind = 0;
    std::string format;  // the default text, unformatted
    std::string text;    // the formatted text
    std::string title;   // meters only
    std::uint32_t secondNumber = 0;
    std::vector<MdbArg> args;
    const void* module = nullptr;  // the emitting module's handle
    // Questions only.
    void* parent = nullptr;
    MdbQuery_result defaultAnswer = MdbOK;
    int code = 0;
    MdbQuery_result* answerPointer = nullptr;
    std::string dontShowAgainKey;
    // Set when a script already answered the question: the sink reports it
    // and the database returns it whatever the sink answers.
    std::optional<MdbQuery_result> scriptedAnswer;
};

// Where messages go. Every call runs on the emitting thread, under the
// database's output lock.
class MdbSink {
public:
    virtual ~MdbSink() = default;
    virtual void Output(const MdbMessage& message) = 0;
    // Answers a question; the default answer is in the message.
    virtual MdbQuery_result Query(const MdbMessage& message) = 0;
    virtual void MeterInit(const MdbMessage& message) = 0;
    virtual void MeterUpdate(const std::string& catalogue, std::uint32_t number, unsigned value) = 0;
    virtual void MeterKill(const std::string& catalogue, std::uint32_t number) = 0;
    // Hands on whatever the sink still holds back; nothing by default.
    virtual void Flush() {}
};

// The console: one line per message, "Error: ", "Warning: ", "Note: " or
// "Info: " in front (other severities read as "Info: "); errors and warnings
// go to the error stream, the rest to the output stream. Lines reach a
// terminal at once. Into a file or a pipe the output stream's lines are
// flushed at most every tenth of a second (a project read prints a line per
// file), always before a line of the error stream, and at Flush: the
// commands flush at their end, so that both streams, and the script's own
// output, keep their order.
// A question prints "Question: <text> [assumed answer: Yes]" (or "[scripted
// answer: No]") to the output stream and returns that answer. The meter draws
// "<label> [#####.....]  50%" on the error stream when it is a terminal,
// redraws it below lines printed meanwhile, erases it when killed, and prints
// nothing when the error stream is not a terminal.
class MdbConsoleSink : public MdbSink {
public:
    static constexpr std::chrono::milliseconds kOutputDelay{100};
    // `outputDelay`: how long lines into a file or a pipe may wait.
    explicit MdbConsoleSink(std::FILE* out = stdout, std::FILE* err = stderr,
                            std::chrono::milliseconds outputDelay = kOutputDelay);

    void Output(const MdbMessage& message) override;
    MdbQuery_result Query(const MdbMessage& message) override;
    void MeterInit(const MdbMessage& message) override;
    void MeterUpdate(const std::string& catalogue, std::uint32_t number, unsigned value) override;
    void MeterKill(const std::string& catalogue, std::uint32_t number) override;
    void Flush() override;

private:
    void PrintLine(std::FILE* stream, const std::string& line);
    void DrawMeter();
    void EraseMeter();

    std::FILE* m_out;
    std::FILE* m_err;
    bool m_meterShown = false;  // a meter is running and drawn on a terminal
    std::string m_meterLabel;
    std::string m_meterCatalogue;
    std::uint32_t m_meterNumber = 0;
    unsigned m_meterValue = 0;
    std::size_t m_drawnWidth = 0;  // characters of the bar now on the screen
    std::chrono::milliseconds m_outputDelay;
    bool m_outIsTerminal;
    std::chrono::steady_clock::time_point m_outFlushed;  // the last flush of the output stream
};

// Installs the sink that receives every message (not owned; null restores the
// console sink). Returns the previous one (the console sink when none was
// installed). Once it returns, no other thread is still inside the old sink.
MdbSink* MdbSetSink(MdbSink* sink);
MdbSink* MdbGetSink();
// Flushes the current sink (MdbSink::Flush).
void MdbFlush();

// --- argument sets ----------------------------------------------------------
// A handle names a set of `count` places (0 to 64; a negative count makes 0,
// a larger one 64); the set is consumed by the output, question or meter call
// it is handed to, and an unknown handle there (or 0) means no arguments.
// Handle 0 is never issued. Places left unset print as nothing. Sets that are
// never handed on are dropped, oldest first, once 1024 are pending.
int MdbArgSetInit(int count);
// Returns 0, or -1 when the handle is unknown or the index out of range (the
// call is then ignored). A null text is the empty text.
int MdbArgSetString(int handle, int index, const char* value);
int MdbArgSetInteger(int handle, int index, int value);

// Formats `format` with `args` as described above: "%s" and "%d" take the
// next argument (either kind prints as itself: a text as the text, an integer
// as its decimal number), "%%" prints "%", any other "%" prints as it stands.
std::string MdbFormat(const std::string& format, const std::vector<MdbArg>& args);

// --- output and questions -------------------------------------------------
// Null texts (catalogue, id, text, key) read as empty texts.

// Hands one formatted line to the sink (or to the open error capture of the
// thread, for errors). Returns 0.
int MdbOutput(int argSet, const void* module, const char* catalogue, const char* id, int severity, int kind,
              const char* text, std::uint32_t number, std::uint32_t secondNumber);

// Asks a question. The answer is, in this order of precedence:
//   - the default answer, silently, when the do-not-show-again key is
//     registered and silenced;
//   - the next scripted answer queued for the id (MdbPushScriptedAnswer);
//   - the sink's answer (the console assumes the default answer and says so).
// When an answer pointer is given it receives the answer too.
MdbQuery_result MdbQuery(void* parent, int argSet, const void* module, const char* catalogue, const char* id,
                         int severity, int kind, const char* text, std::uint32_t number, MdbQuery_result defaultAnswer,
                         std::uint32_t secondNumber, int code, MdbQuery_result* answerPointer,
                         const char* dontShowAgainKey);

// Scripted answers, per message id, consumed in order (tests and batch scripts).
// The sink still sees the question, with the answer in `scriptedAnswer`.
void MdbPushScriptedAnswer(const std::string& id, MdbQuery_result answer);
void MdbClearScriptedAnswers();

// --- progress meter ---------------------------------------------------------
// A meter is named by its catalogue and number; its id travels only when it
// starts. Values are percents; larger values are taken as 100. Init returns 0.

int MdbMeterInit(void* parent, int argSet, const void* module, const char* catalogue, const char* id, int severity,
                 int kind, const char* title, const char* text, std::uint32_t number);
void MdbMeterUpdate(const void* module, const char* catalogue, std::uint32_t number, unsigned value);
void MdbMeterKill(const void* module, const char* catalogue, std::uint32_t number);

// --- capture ----------------------------------------------------------------
// While a capture is open on a thread, error messages emitted on that thread
// are kept by the outermost capture instead of being handed to the sink; the
// other severities pass through. Closing the outermost capture either hands
// the kept errors to the sink (Release) or gives them to the caller (Take).
// Kept errors are never lost: whatever is still kept when the last capture of
// the thread closes goes to the sink.
// The command manager uses it to turn a failing command's errors into the Tcl
// error result without printing them twice. A question of error severity is
// asked at once (its answer is needed), and its text is kept besides, so that
// Take gives the reason of a command that failed on it; Release forgets it.
class MdbErrorCapture {
public:
    MdbErrorCapture();
    ~MdbErrorCapture();  // releases the kept errors to the sink
    MdbErrorCapture(const MdbErrorCapture&) = delete;
    MdbErrorCapture& operator=(const MdbErrorCapture&) = delete;

    bool IsOutermost() const { return m_outermost; }
    // The kept messages, then the error questions asked meanwhile, removed
    // from the capture (outermost capture only).
    std::vector<MdbMessage> Take();
    // Hands the kept messages to the sink now.
    void Release();

private:
    bool m_outermost;
};

// --- do-not-show-again ------------------------------------------------------

// Keys of questions that the user may silence for good. A key is shown while
// the options variable of the same name reads 1 (its registered value is the
// default), so a silenced question stays silenced across sessions once the
// options are flushed. Safe from any thread; registration touches no options,
// so it may run during static initialisation.
class MdbDontShowAgainManager {
public:
    static MdbDontShowAgainManager& GetInstance();

    // Registers (or registers again, replacing value and label) a key. The two
    // reserved values are accepted and not used. An empty key is ignored.
    void RegisterQuery(const std::string& key, int value, const std::string& label, int reserved1, int reserved2);
    bool IsRegistered(const std::string& key) const;
    // Whether the question of the key is still shown (unregistered keys are).
    bool IsShown(const std::string& key) const;
    // Stores the choice in the options; false for an unregistered key or when
    // the options refuse the value.
    bool SetShown(const std::string& key, bool shown);
    // The label of a registered key ("" otherwise).
    std::string GetLabel(const std::string& key) const;
    // The registered keys in registration order.
    std::vector<std::string> GetKeys() const;

private:
    MdbDontShowAgainManager() = default;
    struct Entry {
        int defaultValue = 1;
        std::string label;
    };
    const Entry* Find(const std::string& key) const;

    mutable std::mutex m_lock;
    std::vector<std::pair<std::string, Entry>> m_entries;
};
