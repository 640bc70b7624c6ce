#include <foundation/AcmdBase.h>
#include <foundation/AcmdManager.h>
#include <foundation/AcmdParam.h>
#include <foundation/UtlAscii.h>

#include <tcl.h>

#include <mutex>

namespace {

// Tcl's object and memory layers need their subsystems set up, also when no
// interpreter exists yet. A null name keeps the name a host already gave.
void EnsureTclReady()
{
    static std::once_flag ready;
    std::call_once(ready, [] { Tcl_FindExecutable(nullptr); });
}

// A Tcl object holding a copy of `text`, released when the holder goes.
class TclText {
public:
    explicit TclText(Tcl_Obj* object) : m_object(object) { Tcl_IncrRefCount(m_object); }
    ~TclText() { Tcl_DecrRefCount(m_object); }
    TclText(const TclText&) = delete;
    TclText& operator=(const TclText&) = delete;
    Tcl_Obj* Get() const { return m_object; }

private:
    Tcl_Obj* m_object;
};

// A list and its words are texts of the commands, in the system encoding;
// an escape in a word ("\0", "\u00e9") gives the character it stands for.
std::string ToStdString(Tcl_Obj* object) { return AcmdFromTclString(object); }

Tcl_Obj* NewTclString(const std::string& text) { return AcmdToTclString(text); }

// Files and folders given as relative paths are looked for against the
// command manager's folder.
std::string InManagerFolder(const std::string& text)
{
    return AcmdGetFullPath(text, AcmdManager::GetInstance().GetCurrentFolder());
}

}  // namespace

// --- Tcl lists ------------------------------------------------------------------

bool AcmdSplitList(const std::string& text, std::vector<std::string>& words)
{
    EnsureTclReady();
    words.clear();
    TclText list(NewTclString(text));
    int count = 0;
    Tcl_Obj** elements = nullptr;
    if (Tcl_ListObjGetElements(nullptr, list.Get(), &count, &elements) != TCL_OK) return false;
    words.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) words.push_back(ToStdString(elements[i]));
    return true;
}

std::string AcmdMergeList(const std::vector<std::string>& words)
{
    EnsureTclReady();
    TclText list(Tcl_NewListObj(0, nullptr));
    for (const std::string& word : words) {
        Tcl_ListObjAppendElement(nullptr, list.Get(), NewTclString(word));
    }
    return ToStdString(list.Get());
}

std::string AcmdShowNul(const std::string& text)
{
    std::string shown;
    for (const char c : text) shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    return shown;
}

bool AcmdCheckNoNul(const std::string& name, const std::vector<std::string>& words)
{
    for (const std::string& word : words) {
        if (word.find('\0') == std::string::npos) continue;
        AcmdReport(AcmdMsg::InvalidValue, {AcmdShowNul(word), name, "a text without a NUL character"});
        return false;
    }
    return true;
}

std::string AcmdJoinAlternatives(const std::vector<std::string>& words)
{
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) joined += i + 1 == words.size() ? " or " : ", ";
        joined += words[i];
    }
    return joined;
}

std::string AcmdToLower(std::string text)
{
    UtlMakeLower(text);
    return text;
}

// --- AcmdParam --------------------------------------------------------------------

AcmdParam::AcmdParam(const char* name, AcmdBase* owner, AcmdValueType type)
    : m_name(name ? name : ""), m_owner(owner), m_type(type)
{
}

AcmdParam::~AcmdParam()
{
    if (m_owner && m_registered) m_owner->RemoveParam(this);
}

void AcmdParam::RegisterToCmd()
{
    if (!m_owner || m_registered) return;
    m_owner->AddParam(this);
    m_registered = true;
}

void AcmdParam::initAndValidateObject(AcmdEnum::Result& /*result*/)
{
    if (m_deprecated && !GetValueTexts().empty()) DisplayDepreciatedWarning();
}

void AcmdParam::setNewValue(const std::string& text)
{
    Reset();
    SetValueFromText(text.c_str());
}

void AcmdParam::Reset() { m_valueTexts.clear(); }

void AcmdParam::SetDepreciated(bool deprecated, const std::string& replacement)
{
    m_deprecated = deprecated;
    m_replacement = replacement;
}

void AcmdParam::DisplayDepreciatedWarning() const
{
    if (m_replacement.empty()) {
        AcmdReport(AcmdMsg::Deprecated, {m_name});
    } else {
        AcmdReport(AcmdMsg::DeprecatedReplaced, {m_name, m_replacement});
    }
}

void AcmdParam::SetToolTipDescription(const std::string& text, const std::string& details)
{
    m_toolTip = text;
    m_toolTipDetails = details;
}

// --- AcmdStringParam ------------------------------------------------------------------

AcmdStringParam::AcmdStringParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required,
                                 const char* label, std::string defaultText, bool rejectDefault)
    : AcmdTypedParam<std::string>(name, owner, type, required, std::move(defaultText), rejectDefault, label)
{
    SetExportBindings(&AcmdExportSink::ExportText, &AcmdExportSink::ExportTextList);
}

bool AcmdStringParam::GetObjectFromString(const char* text, std::string& out, bool /*report*/, void* /*parentWindow*/)
{
    out = text ? text : "";
    return true;
}

// --- AcmdFileNameParam -----------------------------------------------------------------

AcmdFileNameParam::AcmdFileNameParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required,
                                     const char* label, std::string defaultText)
    : AcmdStringParam(name, owner, AcmdValueType(type.list, true), required, label, std::move(defaultText), false)
{
    SetExportBindings(&AcmdExportSink::ExportFilePath, &AcmdExportSink::ExportTextList);
}

std::string AcmdFileNameParam::GetTypeDescription() const
{
    return m_mayNotExist ? "a file path" : "the path of an existing file";
}

bool AcmdFileNameParam::GetObjectFromString(const char* text, std::string& out, bool report, void* /*parentWindow*/)
{
    out = text ? text : "";
    if (m_mayNotExist || UtlDoesFileExist(InManagerFolder(out))) return true;
    if (report) AcmdReport(AcmdMsg::FileDoesNotExist, {out, GetName()});
    return false;
}

bool AcmdFileNameParam::isSetAndValid() const
{
    if (!AcmdStringParam::isSetAndValid()) return false;
    if (m_mayNotExist) return true;
    return std::all_of(m_values.begin(), m_values.end(),
                       [](const std::string& file) { return UtlDoesFileExist(InManagerFolder(file)); });
}

bool AcmdFileNameParam::ExportParam() const
{
    if (!IsExportOnlyWhenSet()) return AcmdParam::ExportParam();
    // A list of names is set by its texts, its single object left empty.
    return IsRequired() || !GetObject().empty() || !GetValueTexts().empty();
}

void AcmdFileNameParam::AddFilter(const std::string& description, const std::vector<std::string>& extensions)
{
    m_filters.push_back(Filter{description, extensions});
}

void AcmdFileNameParam::GetFilterExtensions(std::set<std::string>& out) const
{
    out.clear();
    for (const Filter& filter : m_filters) out.insert(filter.extensions.begin(), filter.extensions.end());
}

std::string AcmdFileNameParam::GetFilterString() const
{
    std::string text;
    for (const Filter& filter : m_filters) {
        std::string patterns;
        for (const std::string& extension : filter.extensions) {
            if (!patterns.empty()) patterns += "; ";
            patterns += "*." + extension;
        }
        text += filter.description + " (" + patterns + ")|" + patterns + "|";
    }
    if (m_allFiles || text.empty()) text += "All Files (*.*)|*.*|";
    return text + "|";
}

// --- AcmdFolderNameParam ---------------------------------------------------------------

AcmdFolderNameParam::AcmdFolderNameParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required,
                                         const char* label, std::string defaultText)
    : AcmdStringParam(name, owner, AcmdValueType(type.list, true), required, label, std::move(defaultText), false)
{
    SetExportBindings(&AcmdExportSink::ExportFolderPath, &AcmdExportSink::ExportTextList);
}

std::string AcmdFolderNameParam::GetTypeDescription() const
{
    return m_mayNotExist ? "a directory path" : "the path of an existing directory";
}

bool AcmdFolderNameParam::GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow)
{
    out = text ? text : "";
    if (!out.empty()) out = InManagerFolder(out);
    if (m_mayNotExist || UtlDoesPathExist(out)) return true;
    if (report) AcmdDisplayFolderDoesNotExistErrorMessage(GetName(), out, parentWindow);
    return false;
}

const std::vector<std::string>& AcmdFolderNameParam::GetExportTexts()
{
    m_exportTexts = GetValueTexts();
    for (std::string& text : m_exportTexts) UtlSetUniversalValidSeparator(text);
    return m_exportTexts;
}

bool AcmdFolderNameParam::ExportParam() const
{
    if (!IsExportOnlyWhenSet()) return AcmdParam::ExportParam();
    // A list of names is set by its texts, its single object left empty.
    return IsRequired() || !GetObject().empty() || !GetValueTexts().empty();
}

// --- AcmdBoolParam ------------------------------------------------------------------------

AcmdBoolParam::AcmdBoolParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, bool defaultValue,
                             const char* label)
    : AcmdEnumParam<bool>(name, owner, type, required, defaultValue, false, label)
{
    SetExportBindings(&AcmdExportSink::ExportBool, nullptr);
    AddDefaultChoices();
    StoreStyle(0);
}

void AcmdBoolParam::AddDefaultChoices()
{
    static constexpr struct {
        bool value;
        const char* keyword;
    } kDefaults[] = {{true, "TRUE"}, {true, "1"}, {true, "true"}, {false, "FALSE"}, {false, "0"}, {false, "false"}};
    for (const auto& choice : kDefaults) AddChoice(choice.value, choice.keyword, "");
}

void AcmdBoolParam::SetStyle(int style)
{
    // Per style: keyword and label of false, then of true, put in front of
    // the defaults.
    static constexpr struct {
        const char* falseKeyword;
        const char* falseLabel;
        const char* trueKeyword;
        const char* trueLabel;
    } kStyles[] = {{"false", "0", "true", "1"}, {"false", "false", "true", "true"}, {"0", "0", "1", "1"}};

    if (style >= 0 && style <= 2) {
        const auto& styled = kStyles[style];
        ClearChoices();
        AddChoice(false, styled.falseKeyword, styled.falseLabel);
        AddChoice(true, styled.trueKeyword, styled.trueLabel);
        AddDefaultChoices();
    } else if (style != 3) {
        BrnDoAssertion(__FILE__, __LINE__, "boolean style is 0, 1, 2 or 3");
    }
    StoreStyle(style);
}

// --- AcmdFlagParam ------------------------------------------------------------------------

AcmdEnum::Result AcmdFlagParam::CopyValue(const AcmdParam& other, bool firstTextOnly)
{
    if (IsTyped()) SetObject(true);
    AcmdBoolParam::CopyValue(other, firstTextOnly);
    return AcmdEnum::Success;
}

void AcmdFlagParam::ExportValue(AcmdExportSink& sink)
{
    if (GetObject()) sink.ExportFlag(GetName().c_str());
}
