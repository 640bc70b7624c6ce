// The message database: argument sets, formatting, the sink, questions with
// scripted answers, meters and the per-thread error capture.
#include <foundation/Def.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <iterator>
#include <map>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxArgsPerSet = 64;
constexpr std::size_t kMaxPendingArgSets = 1024;
constexpr unsigned kMaxMeterValue = 100;

// Holds a T that is never destroyed: messages may still be emitted by other
// statics while the program shuts down.
template <typename T>
class Immortal {
public:
    Immortal() { ::new (static_cast<void*>(m_storage)) T(); }
    T& Get() { return *std::launder(reinterpret_cast<T*>(m_storage)); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};

// An argument set waiting for the message it is handed to.
struct PendingArgs {
    int handle = 0;
    std::vector<MdbArg> args;
};

// Argument vectors of delivered messages kept for the next sets: a project
// read emits a message per file, each with a set. One whose texts held more
// room than a few paths is let go: a long text once is not kept for good.
constexpr std::size_t kSpareArgSets = 8;
constexpr std::size_t kSpareTextRoom = 4096;

struct Database {
    std::mutex stateLock;  // guards the argument sets, the handles and the scripted answers
    // In the order they were issued: nearly always none or one is pending,
    // and the newest is the one asked for.
    std::vector<PendingArgs> argSets;
    std::vector<std::vector<MdbArg>> spareArgs;
    int nextHandle = 1;
    std::map<std::string, std::deque<MdbQuery_result>> scriptedAnswers;

    std::recursive_mutex outputLock;  // held around every sink call and sink change
    MdbConsoleSink console;
    MdbSink* sink = nullptr;  // null: the console
};

Database& Db()
{
    static Immortal<Database> database;
    return database.Get();
}

// Errors kept by the open captures of this thread.
struct CaptureState {
    int depth = 0;
    std::vector<MdbMessage> kept;
    // Error questions asked meanwhile: shown already, kept as reasons.
    std::vector<MdbMessage> asked;
};
thread_local CaptureState t_capture;

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

bool DebugOn()
{
    int on = 0;
    return DefGetBoolFL("DEBUG_MSG", &on) == 0 && on == 1;
}

std::vector<PendingArgs>::iterator FindArgSet(Database& db, int handle)
{
    const auto found = std::find_if(db.argSets.rbegin(), db.argSets.rend(),
                                    [handle](const PendingArgs& pending) { return pending.handle == handle; });
    return found == db.argSets.rend() ? db.argSets.end() : std::prev(found.base());
}

// The next free handle; 0 is never issued, also after the counter wraps.
int IssueHandle(Database& db)
{
    int handle = db.nextHandle;
    while (FindArgSet(db, handle) != db.argSets.end()) handle = handle == INT_MAX ? 1 : handle + 1;
    db.nextHandle = handle == INT_MAX ? 1 : handle + 1;
    return handle;
}

std::vector<MdbArg> TakeArgSet(int handle)
{
    Database& db = Db();
    std::lock_guard lock(db.stateLock);
    const auto found = FindArgSet(db, handle);
    if (found == db.argSets.end()) return {};
    std::vector<MdbArg> args = std::move(found->args);
    db.argSets.erase(found);
    return args;
}

// Keeps the vector and its texts' room for a later set.
void GiveBackArgs(std::vector<MdbArg> args)
{
    std::size_t room = 0;
    for (const MdbArg& arg : args) room += arg.text.capacity();
    if (args.capacity() == 0 || room > kSpareTextRoom) return;
    Database& db = Db();
    std::lock_guard lock(db.stateLock);
    if (db.spareArgs.size() < kSpareArgSets) db.spareArgs.push_back(std::move(args));
}

template <typename Setter>
int SetArg(int handle, int index, Setter set)
{
    Database& db = Db();
    std::lock_guard lock(db.stateLock);
    const auto found = FindArgSet(db, handle);
    if (found == db.argSets.end() || index < 0 || static_cast<std::size_t>(index) >= found->args.size()) {
        return -1;
    }
    set(found->args[static_cast<std::size_t>(index)]);
    return 0;
}

std::optional<MdbQuery_result> PopScriptedAnswer(const std::string& id)
{
    Database& db = Db();
    std::lock_guard lock(db.stateLock);
    const auto found = db.scriptedAnswers.find(id);
    if (found == db.scriptedAnswers.end()) return std::nullopt;
    const MdbQuery_result answer = found->second.front();
    found->second.pop_front();
    if (found->second.empty()) db.scriptedAnswers.erase(found);
    return answer;
}

// Runs one call on the current sink under the output lock.
template <typename Call>
auto Deliver(Call call)
{
    Database& db = Db();
    std::lock_guard lock(db.outputLock);
    return call(db.sink ? *db.sink : static_cast<MdbSink&>(db.console));
}

MdbMessage MakeMessage(int argSet, const void* module, const char* catalogue, const char* id, int severity, int kind,
                       const char* text, std::uint32_t number, std::uint32_t secondNumber)
{
    MdbMessage message;
    message.catalogue = Text(catalogue);
    message.id = Text(id);
    message.number = number;
    message.severity = severity;
    message.kind = kind;
    message.format = Text(text);
    message.args = TakeArgSet(argSet);
    message.text = MdbFormat(message.format, message.args);
    message.secondNumber = secondNumber;
    message.module = module;
    return message;
}

void ReleaseKept(std::vector<MdbMessage> kept)
{
    for (const MdbMessage& message : kept) Deliver([&](MdbSink& sink) { sink.Output(message); });
}

}  // namespace

// --- sink ---------------------------------------------------------------------

MdbSink* MdbSetSink(MdbSink* sink)
{
    Database& db = Db();
    std::lock_guard lock(db.outputLock);
    MdbSink* previous = db.sink ? db.sink : &db.console;
    db.sink = sink == &db.console ? nullptr : sink;
    return previous;
}

MdbSink* MdbGetSink()
{
    Database& db = Db();
    std::lock_guard lock(db.outputLock);
    return db.sink ? db.sink : &db.console;
}

void MdbFlush()
{
    Deliver([](MdbSink& sink) { sink.Flush(); });
}

// --- argument sets ----------------------------------------------------------------

int MdbArgSetInit(int count)
{
    Database& db = Db();
    int dropped = 0;
    int handle = 0;
    {
        std::lock_guard lock(db.stateLock);
        if (db.argSets.size() >= kMaxPendingArgSets) {
            // Sets are consumed where they are handed on; one that never is
            // would otherwise stay for good. The first is the oldest.
            dropped = db.argSets.front().handle;
            db.argSets.erase(db.argSets.begin());
        }
        handle = IssueHandle(db);
        std::vector<MdbArg> args;
        if (!db.spareArgs.empty()) {
            args = std::move(db.spareArgs.back());
            db.spareArgs.pop_back();
        }
        // Each argument starts empty; a text keeps its room.
        args.resize(static_cast<std::size_t>(std::clamp(count, 0, kMaxArgsPerSet)));
        for (MdbArg& arg : args) {
            arg.isInteger = false;
            arg.text.clear();
            arg.integer = 0;
        }
        db.argSets.push_back(PendingArgs{handle, std::move(args)});
    }
    if (dropped != 0 && DebugOn()) {
        SysDebugPrintf("MDB: dropped the argument set %d, never used by a message\n", dropped);
    }
    return handle;
}

int MdbArgSetString(int handle, int index, const char* value)
{
    return SetArg(handle, index, [&](MdbArg& arg) {
        arg.isInteger = false;
        arg.text.assign(value ? value : "");
    });
}

int MdbArgSetInteger(int handle, int index, int value)
{
    return SetArg(handle, index, [&](MdbArg& arg) {
        arg.isInteger = true;
        arg.text.clear();
        arg.integer = value;
    });
}

std::string MdbFormat(const std::string& format, const std::vector<MdbArg>& args)
{
    // Room for every argument at once: a file name appended to a short
    // format would otherwise move the text.
    std::size_t room = format.size();
    for (const MdbArg& arg : args) room += arg.isInteger ? 11 : arg.text.size();
    std::string out;
    out.reserve(room);
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char following = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c != '%') {
            out += c;
        } else if (following == '%') {
            out += '%';
            ++i;
        } else if (following == 's' || following == 'd') {
            if (next < args.size()) {
                const MdbArg& arg = args[next];
                out += arg.isInteger ? std::to_string(arg.integer) : arg.text;
            }
            ++next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// --- output and questions ---------------------------------------------------------

int MdbOutput(int argSet, const void* module, const char* catalogue, const char* id, int severity, int kind,
              const char* text, std::uint32_t number, std::uint32_t secondNumber)
{
    MdbMessage message = MakeMessage(argSet, module, catalogue, id, severity, kind, text, number, secondNumber);
    if (message.severity == MdbERROR && t_capture.depth > 0) {
        t_capture.kept.push_back(std::move(message));
        return 0;
    }
    Deliver([&](MdbSink& sink) { sink.Output(message); });
    GiveBackArgs(std::move(message.args));
    return 0;
}

MdbQuery_result MdbQuery(void* parent, int argSet, const void* module, const char* catalogue, const char* id,
                         int severity, int kind, const char* text, std::uint32_t number, MdbQuery_result defaultAnswer,
                         std::uint32_t secondNumber, int code, MdbQuery_result* answerPointer,
                         const char* dontShowAgainKey)
{
    MdbMessage message = MakeMessage(argSet, module, catalogue, id, severity, kind, text, number, secondNumber);
    message.parent = parent;
    message.defaultAnswer = defaultAnswer;
    message.code = code;
    message.answerPointer = answerPointer;
    message.dontShowAgainKey = Text(dontShowAgainKey);

    if (message.severity == MdbERROR && t_capture.depth > 0) {
        MdbMessage reason;
        reason.id = message.id;
        reason.severity = message.severity;
        reason.text = message.text;
        t_capture.asked.push_back(std::move(reason));
    }
    MdbQuery_result answer = defaultAnswer;
    if (MdbDontShowAgainManager::GetInstance().IsShown(message.dontShowAgainKey)) {
        message.scriptedAnswer = PopScriptedAnswer(message.id);
        const MdbQuery_result given = Deliver([&](MdbSink& sink) { return sink.Query(message); });
        answer = message.scriptedAnswer.value_or(given);
    }
    if (answerPointer) *answerPointer = answer;
    GiveBackArgs(std::move(message.args));
    return answer;
}

void MdbPushScriptedAnswer(const std::string& id, MdbQuery_result answer)
{
    Database& db = Db();
    std::lock_guard lock(db.stateLock);
    db.scriptedAnswers[id].push_back(answer);
}

void MdbClearScriptedAnswers()
{
    Database& db = Db();
    std::lock_guard lock(db.stateLock);
    db.scriptedAnswers.clear();
}

// --- progress meter ---------------------------------------------------------------

int MdbMeterInit(void* parent, int argSet, const void* module, const char* catalogue, const char* id, int severity,
                 int kind, const char* title, const char* text, std::uint32_t number)
{
    MdbMessage message = MakeMessage(argSet, module, catalogue, id, severity, kind, text, number, 0);
    message.parent = parent;
    message.title = Text(title);
    Deliver([&](MdbSink& sink) { sink.MeterInit(message); });
    GiveBackArgs(std::move(message.args));
    return 0;
}

void MdbMeterUpdate(const void*, const char* catalogue, std::uint32_t number, unsigned value)
{
    const std::string name = Text(catalogue);
    const unsigned percent = std::min(value, kMaxMeterValue);
    Deliver([&](MdbSink& sink) { sink.MeterUpdate(name, number, percent); });
}

void MdbMeterKill(const void*, const char* catalogue, std::uint32_t number)
{
    const std::string name = Text(catalogue);
    Deliver([&](MdbSink& sink) { sink.MeterKill(name, number); });
}

// --- capture ----------------------------------------------------------------------

MdbErrorCapture::MdbErrorCapture() : m_outermost(++t_capture.depth == 1) {}

MdbErrorCapture::~MdbErrorCapture()
{
    if (m_outermost) Release();
    // Closed out of order, the outermost may already be gone: the last
    // capture hands on what is left.
    if (--t_capture.depth == 0) {
        ReleaseKept(std::exchange(t_capture.kept, {}));
        t_capture.asked.clear();
    }
}

std::vector<MdbMessage> MdbErrorCapture::Take()
{
    if (!m_outermost) return {};
    std::vector<MdbMessage> taken = std::exchange(t_capture.kept, {});
    for (MdbMessage& asked : t_capture.asked) taken.push_back(std::move(asked));
    t_capture.asked.clear();
    return taken;
}

void MdbErrorCapture::Release()
{
    if (!m_outermost) return;
    ReleaseKept(std::exchange(t_capture.kept, {}));
    t_capture.asked.clear();
}
