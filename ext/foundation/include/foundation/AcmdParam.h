// Command parameters: the untyped base that the framework parses into, the
// typed templates that turn argument texts into values and back, and the
// concrete parameters (enumeration, string, file name, folder name, boolean,
// flag).
//
// Life of a parameter per run: Reset, argument texts (SetValueFromText, once
// per occurrence of its option, or SetValueTexts / CopyValue), conversion and
// validation (initAndValidateObject, isSetAndValid), use by the command
// (GetObject, GetObjects), release (exitObject). Code that builds a command
// itself calls SetObject / SetObjects instead of giving texts; such values are
// not converted again and their texts are generated, so the command can be
// exported and replayed.
#pragma once

#include <foundation/AcmdEnum.h>
#include <foundation/AcmdMessages.h>
#include <foundation/Sys.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class AcmdBase;
class AcmdParam;
class AcmdEnumParamBase;
class AcmdStringParam;
class AcmdFileNameParam;
class AcmdFolderNameParam;
class AcmdBoolParam;

// --- Tcl lists ------------------------------------------------------------------

// Splits `text` by Tcl's list rules into `words` (replaced). False, with
// `words` empty, when the text is not a well-formed list.
bool AcmdSplitList(const std::string& text, std::vector<std::string>& words);
// The words as one Tcl list, each quoted as needed; also a well-formed command
// whose words are these.
std::string AcmdMergeList(const std::vector<std::string>& words);
// No name or path holds a NUL character: a text would end at it in the calls
// that take it on, and name something else. False, once the first such word
// given for the parameter `name` is reported, when one holds a NUL.
bool AcmdCheckNoNul(const std::string& name, const std::vector<std::string>& words);
// `text` with each NUL written as \0, for a message.
std::string AcmdShowNul(const std::string& text);

// --- value type -------------------------------------------------------------------

// Whether a parameter holds a list, and whether each value of a list is given
// (and exported) as an occurrence of its own (repeat) rather than all values
// in one Tcl list.
struct AcmdValueType {
    constexpr AcmdValueType() = default;
    constexpr AcmdValueType(bool isList, bool isRepeat) : list(isList), repeat(isRepeat) {}
    static constexpr AcmdValueType Single() { return {}; }
    static constexpr AcmdValueType List() { return {true, false}; }
    static constexpr AcmdValueType RepeatList() { return {true, true}; }

    bool list = false;
    bool repeat = false;
};

// --- export sink ----------------------------------------------------------------------

// Receives a parameter's value when a command is written out. Every call
// names the parameter first.
class AcmdExportSink {
public:
    virtual ~AcmdExportSink() = default;
    virtual void ExportText(const char* name, std::string value) = 0;
    virtual void ExportFolderPath(const char* name, std::string value) = 0;
    virtual void ExportFilePath(const char* name, std::string value) = 0;
    // A switch that is on (a switch that is off is not written).
    virtual void ExportFlag(const char* name) = 0;
    virtual void ExportBool(const char* name, bool value) = 0;
    virtual void ExportTextList(const char* name, const std::vector<std::string>& values) = 0;
};

// --- visitor ----------------------------------------------------------------------------

// Double dispatch over the concrete parameters (a dialog builds its fields
// this way). Every operation does nothing unless overridden.
class AcmdTypedParamVisitor {
public:
    virtual ~AcmdTypedParamVisitor() = default;
    virtual void VisitString(AcmdStringParam&) {}
    virtual void VisitFolderName(AcmdFolderNameParam&) {}
    virtual void VisitFileName(AcmdFileNameParam&) {}
    virtual void VisitBool(AcmdBoolParam&) {}
    virtual void VisitEnum(AcmdEnumParamBase&, AcmdParam&) {}
};

// --- untyped base -----------------------------------------------------------------------

class AcmdParam {
public:
    // The parameter is not registered with `owner` yet: RegisterToCmd does it.
    AcmdParam(const char* name, AcmdBase* owner, AcmdValueType type);
    // Leaves the owner's parameter list.
    virtual ~AcmdParam();
    AcmdParam(const AcmdParam&) = delete;
    AcmdParam& operator=(const AcmdParam&) = delete;

    const std::string& GetName() const { return m_name; }
    AcmdBase* GetOwner() const { return m_owner; }
    AcmdValueType GetValueType() const { return m_type; }
    bool IsList() const { return m_type.list; }
    bool IsRepeat() const { return m_type.repeat; }
    bool IsRequired() const { return m_required; }
    void SetRequired(bool required) { m_required = required; }
    // Adds the parameter to its owner's list (construction order is the
    // command's parameter order).
    void RegisterToCmd();
    // The owner is going away: the parameter forgets it.
    void DetachFromCmd() { m_owner = nullptr; }

    virtual AcmdEnum::Result SetValueFromText(const char* text) = 0;
    virtual const std::vector<std::string>& GetValueTexts() const = 0;
    virtual std::string GetDefaultValueText() const = 0;
    virtual bool AcceptsEmptyText() const = 0;
    virtual const std::vector<std::string>& GetExportTexts() = 0;
    virtual bool ExportParam() const { return m_export; }
    bool SetExportParam(bool exportIt) { return m_export = exportIt; }
    virtual void Accept(AcmdTypedParamVisitor& visitor) = 0;
    virtual void ExportValue(AcmdExportSink& sink) = 0;
    // What the value must look like ("a string", "one of a | b").
    virtual std::string GetTypeDescription() const { return std::string(); }
    // Warns about a deprecated option that was given.
    virtual void initAndValidateObject(AcmdEnum::Result& result);
    virtual void exitObject() {}
    virtual bool isSetAndValid() const { return true; }
    // Replaces the value by the one `text` gives.
    virtual void setNewValue(const std::string& text);
    // Forgets the value texts.
    virtual void Reset();
    virtual AcmdEnum::Result CopyValue(const AcmdParam& other, bool firstTextOnly) = 0;

    void SetDepreciated(bool deprecated, const std::string& replacement = std::string());
    bool IsDepreciated() const { return m_deprecated; }
    void DisplayDepreciatedWarning() const;
    // A suppressed parameter is left out of the usage line.
    void SetSuppressed() { m_suppressed = true; }
    virtual bool IsSuppressed() const { return m_suppressed || IsDepreciated(); }
    // Whether an empty text counts as a value (true at construction).
    bool SetAcceptsEmptyText(bool accepts) { return m_acceptsEmpty = accepts; }
    // The name that messages show.
    virtual std::string GetDisplayName(bool /*withUnit*/) const { return m_name; }
    // The placeholder of the value in a usage line.
    virtual std::string GetDumpValueStr() const { return "value"; }

    // Help texts for a dialog: a short one and details (HTML fragments).
    void SetToolTipDescription(const std::string& text, const std::string& details);
    const std::string& GetToolTip() const { return m_toolTip; }
    const std::string& GetToolTipDetails() const { return m_toolTipDetails; }

protected:
    bool GetAcceptsEmptyFlag() const { return m_acceptsEmpty; }

    std::vector<std::string> m_valueTexts;

private:
    std::string m_name;
    AcmdBase* m_owner;
    AcmdValueType m_type;
    bool m_required = false;
    bool m_registered = false;
    bool m_export = true;
    bool m_suppressed = false;
    bool m_acceptsEmpty = true;
    bool m_deprecated = false;
    std::string m_replacement;
    std::string m_toolTip;
    std::string m_toolTipDetails;
};

// --- typed state ------------------------------------------------------------------------

template <typename T>
class AcmdTypedParamParent : public AcmdParam {
public:
    // Export bindings: the sink operation that receives one value, and the one
    // that receives a whole list.
    using SingleExport = void (AcmdExportSink::*)(const char*, T);
    using ListExport = void (AcmdExportSink::*)(const char*, const std::vector<T>&);

    AcmdTypedParamParent(const char* name, AcmdBase* owner, AcmdValueType type, SingleExport single, ListExport list,
                         const char* label, bool typed, T defaultValue, bool rejectDefault)
        : AcmdParam(name, owner, type), m_singleExport(single), m_listExport(list), m_label(label ? label : ""),
          m_typed(typed), m_rejectDefault(rejectDefault), m_default(std::move(defaultValue))
    {
    }

    const std::string& GetLabel() const { return m_label; }
    const T& GetDefault() const { return m_default; }
    bool IsTyped() const { return m_typed; }
    bool RejectsDefault() const { return m_rejectDefault; }
    // The converted (or set) values.
    const std::vector<T>& GetObjects() const { return m_values; }
    // Plain texts of the parameter are exported as file or folder paths.
    void SetFileKind(bool fileKind) { m_fileKind = fileKind; }
    void SetFolderKind(bool folderKind) { m_folderKind = folderKind; }

protected:
    void SetExportBindings(SingleExport single, ListExport list)
    {
        m_singleExport = single;
        m_listExport = list;
    }

    SingleExport m_singleExport;
    ListExport m_listExport;
    std::string m_label;
    bool m_typed;
    bool m_rejectDefault;
    T m_default;
    std::vector<T> m_values;
    bool m_fileKind = false;
    bool m_folderKind = false;
};

// --- typed conversion -------------------------------------------------------------------

template <typename T>
class AcmdTypedParam : public AcmdTypedParamParent<T> {
    using Parent = AcmdTypedParamParent<T>;

public:
    AcmdTypedParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, T defaultValue,
                   bool rejectDefault, const char* label)
        : Parent(name, owner, type, nullptr, nullptr, label, true, std::move(defaultValue), rejectDefault)
    {
        this->SetRequired(required);
        this->RegisterToCmd();
    }

    // Text to value; `report` asks for a message when the text converts to
    // nothing.
    virtual bool GetObjectFromString(const char* text, T& out, bool report, void* parentWindow) = 0;
    virtual std::string GetStringFromObject(T value) const = 0;

    std::string ObjectToString(T value) const { return GetStringFromObject(std::move(value)); }

    AcmdEnum::Result SetValueFromText(const char* text) override
    {
        std::string given = text ? text : "";
        // A script may repeat the option thousands of times: each text is
        // added to those before, not copied with them.
        if (this->IsList() && this->IsRepeat()) return AppendValueText(std::move(given));
        std::vector<std::string> texts;
        if (this->IsList()) {
            if (!AcmdSplitList(given, texts)) {
                AcmdReport(AcmdMsg::InvalidList, {this->GetName(), given});
                return AcmdEnum::Failure;
            }
            if (!AcmdCheckNoNul(this->GetName(), texts)) return AcmdEnum::Failure;
        } else if (!given.empty() || AcceptsEmptyText()) {
            texts.push_back(std::move(given));
        }
        return SetValueTexts(std::move(texts));
    }

    const std::vector<std::string>& GetValueTexts() const override { return this->m_valueTexts; }
    // The texts are handed over: a command set up in code per file would
    // otherwise copy each text again.
    virtual AcmdEnum::Result SetValueTexts(std::vector<std::string> texts)
    {
        this->m_valueTexts = std::move(texts);
        return AcmdEnum::Success;
    }
    // One more text of a repeated option, after the texts given before.
    virtual AcmdEnum::Result AppendValueText(std::string text)
    {
        this->m_valueTexts.push_back(std::move(text));
        return AcmdEnum::Success;
    }

    std::string GetDefaultValueText() const override { return GetStringFromObject(this->m_default); }

    bool AcceptsEmptyText() const override
    {
        if (this->GetAcceptsEmptyFlag() && GetDefaultValueText().empty()) return !this->m_rejectDefault;
        return this->GetAcceptsEmptyFlag();
    }

    const std::vector<std::string>& GetExportTexts() override { return GetValueTexts(); }

    bool ExportParam() const override
    {
        if (!m_exportOnlyWhenSet) return AcmdParam::ExportParam();
        return this->IsRequired() || isSetAndValid();
    }

    void initAndValidateObject(AcmdEnum::Result& result) override
    {
        AcmdParam::initAndValidateObject(result);
        if (!this->m_typed || result != AcmdEnum::Success || this->m_valueTexts.empty()) return;
        if (!this->m_values.empty()) return;  // values set in code win over texts
        if (this->IsList()) {
            ConvertList(result);
            return;
        }
        T value = this->m_default;
        if (GetObjectFromString(this->m_valueTexts.front().c_str(), value, true, nullptr)) {
            StoreValue(std::move(value));
        } else {
            result = AcmdEnum::Failure;
        }
    }

    void exitObject() override
    {
        if (!HasExportBindings()) this->m_values.clear();
    }

    bool isSetAndValid() const override
    {
        if (!this->m_typed) return true;
        if (this->m_values.empty()) return false;
        if (!this->m_rejectDefault) return true;
        return std::none_of(this->m_values.begin(), this->m_values.end(),
                            [this](const T& value) { return value == this->m_default; });
    }

    void Reset() override
    {
        this->m_values.clear();
        AcmdParam::Reset();
    }

    AcmdEnum::Result CopyValue(const AcmdParam& other, bool firstTextOnly) override
    {
        if (!firstTextOnly) return SetValueTexts(other.GetValueTexts());
        if (other.GetValueTexts().empty()) return AcmdEnum::Failure;
        return SetValueFromText(other.GetValueTexts().front().c_str());
    }

    std::string GetDisplayName(bool withUnit) const override
    {
        if (this->m_label.empty()) return this->GetName();
        if (withUnit && !m_unit.empty()) return this->m_label + " (in " + m_unit + ")";
        return this->m_label;
    }

    std::string GetDumpValueStr() const override
    {
        std::string name = GetDisplayName(true);
        return name.empty() ? AcmdParam::GetDumpValueStr() : name;
    }

    void ExportValue(AcmdExportSink& sink) override
    {
        if (this->GetOwner() && ExportThroughBindings(sink)) return;
        std::vector<std::string> texts = GetExportTexts();
        if (texts.empty() && this->m_typed) texts = TextsOfValues();
        // An empty single value or list is still written, so the option keeps
        // its place; a repeated option without values is simply not given.
        if (texts.empty() && !(this->IsList() && this->IsRepeat())) texts.emplace_back();
        if (texts.size() > 1 && !this->IsRepeat()) texts = {AcmdMergeList(texts)};
        for (std::string& text : texts) {
            if (this->m_fileKind) {
                sink.ExportFilePath(this->GetName().c_str(), std::move(text));
            } else if (this->m_folderKind) {
                sink.ExportFolderPath(this->GetName().c_str(), std::move(text));
            } else {
                sink.ExportText(this->GetName().c_str(), std::move(text));
            }
        }
    }

    bool IsModified() const { return !(GetObject() == this->m_default); }

    // Stores a single value (ignored for lists and untyped parameters).
    virtual void SetObject(T value)
    {
        if (this->m_typed && !this->IsList()) StoreValue(std::move(value));
    }
    // Stores the values of a list (ignored for single-value parameters).
    void SetObjects(const std::vector<T>& values)
    {
        if (!this->m_typed || !this->IsList()) return;
        this->m_values = values;
        std::vector<std::string> texts;
        for (const T& value : values) texts.push_back(GetStringFromObject(value));
        SetValueTexts(std::move(texts));
    }
    // The value of a single-value parameter, else (or without value) the default.
    T GetObject() const
    {
        if (this->m_typed && !this->IsList() && !this->m_values.empty()) return this->m_values.front();
        return this->m_default;
    }
    std::string GetValueText() const { return GetStringFromObject(GetObject()); }
    bool HasExportBindings() const { return this->m_singleExport || this->m_listExport; }

    void SetLabel(const std::string& label) { this->m_label = label; }
    const std::string& GetUnit() const { return m_unit; }
    void SetUnit(const std::string& unit) { m_unit = unit; }
    // With this set, an optional parameter is exported only when it holds a value.
    void SetExportOnlyWhenSet(bool onlyWhenSet) { m_exportOnlyWhenSet = onlyWhenSet; }
    bool IsExportOnlyWhenSet() const { return m_exportOnlyWhenSet; }

protected:
    // values = {value}; the texts become the value's text.
    void StoreValue(T value)
    {
        std::string text = GetStringFromObject(value);
        this->m_values.clear();
        this->m_values.push_back(std::move(value));
        SetValueFromText(text.c_str());
    }

private:
    // Converts every text, so that every bad text gets its message; the good
    // ones take their normalised form.
    void ConvertList(AcmdEnum::Result& result)
    {
        std::vector<T> values;
        for (std::string& text : this->m_valueTexts) {
            T value = this->m_default;
            if (!GetObjectFromString(text.c_str(), value, true, nullptr)) {
                result = AcmdEnum::Failure;
                continue;
            }
            text = GetStringFromObject(value);
            values.push_back(std::move(value));
        }
        this->m_values = std::move(values);
    }

    // True when a binding took the value.
    bool ExportThroughBindings(AcmdExportSink& sink)
    {
        const char* name = this->GetName().c_str();
        if (!this->IsList()) {
            if (!this->m_singleExport || !this->m_typed) return false;
            std::invoke(this->m_singleExport, sink, name, GetObject());
            return true;
        }
        const std::vector<T> values = this->m_typed ? this->m_values : std::vector<T>();
        if (this->m_listExport && !this->IsRepeat()) {
            std::invoke(this->m_listExport, sink, name, values);
            return true;
        }
        if (this->m_singleExport && this->IsRepeat() && !values.empty()) {
            for (const T& value : values) std::invoke(this->m_singleExport, sink, name, value);
            return true;
        }
        return false;
    }

    std::vector<std::string> TextsOfValues() const
    {
        if (!this->IsList()) return {GetStringFromObject(GetObject())};
        std::vector<std::string> texts;
        for (const T& value : this->m_values) texts.push_back(GetStringFromObject(value));
        if (this->IsRepeat() || texts.empty()) return texts;
        return {AcmdMergeList(texts)};
    }

    std::string m_unit;
    bool m_exportOnlyWhenSet = false;
};

// --- enumerations -------------------------------------------------------------------------

template <typename T>
struct AcmdEnumParamChoice {
    T value;
    std::string keyword;  // typed on a command line, written on export
    std::string label;    // shown in a dialog; may be empty

    const std::string& GetDisplayText() const { return label.empty() ? keyword : label; }
};

// How a dialog sees an enumeration: display texts with a selected entry.
class AcmdEnumParamBase {
public:
    virtual ~AcmdEnumParamBase() = default;
    // Appends the display text of each distinct value, in order of first appearance.
    virtual void GetChoiceTexts(std::vector<std::string>& out) const = 0;
    virtual int GetSelectedIndex() const = 0;
    virtual std::string GetSelectedText() const = 0;
    virtual void SetSelectedIndex(int index) = 0;
    virtual void SetSelectedText(const std::string& text) = 0;
    virtual int GetStyle() const = 0;
    virtual void SetStyle(int style) = 0;
};

// "a, b or c"
std::string AcmdJoinAlternatives(const std::vector<std::string>& words);
// Lower-cases with the default locale's ctype facet.
std::string AcmdToLower(std::string text);

template <typename T>
class AcmdEnumParam : public AcmdTypedParam<T>, public AcmdEnumParamBase {
    using Choice = AcmdEnumParamChoice<T>;

public:
    AcmdEnumParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, T defaultValue,
                  bool rejectDefault, const char* label)
        : AcmdTypedParam<T>(name, owner, type, required, std::move(defaultValue), rejectDefault, label)
    {
    }

    // Appends a choice; several choices may carry one value (synonyms), the
    // first of them is the value's canonical keyword.
    void AddChoice(T value, const char* keyword, const char* label)
    {
        m_choices.push_back(Choice{std::move(value), keyword ? keyword : "", label ? label : ""});
    }
    void ClearChoices() { m_choices.clear(); }
    const std::vector<Choice>& GetChoices() const { return m_choices; }
    bool IsCaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }

    void Accept(AcmdTypedParamVisitor& visitor) override { visitor.VisitEnum(*this, *this); }
    std::string GetTypeDescription() const override { return "one of " + GetDumpValueStr(); }

    std::string GetDumpValueStr() const override
    {
        std::string dump;
        for (const Choice* choice : FirstChoices()) {
            if (!dump.empty()) dump += " | ";
            dump += choice->keyword;
        }
        return dump;
    }

    bool GetObjectFromString(const char* text, T& out, bool report, void* parentWindow) override
    {
        return Match(text, out, report, parentWindow, false);
    }

    std::string GetStringFromObject(T value) const override
    {
        const Choice* choice = FirstChoiceFor(value);
        return choice ? choice->keyword : std::string();
    }

    bool HasChoiceFor(const T& value) const { return FirstChoiceFor(value) != nullptr; }

    bool GetObjectFromDisplayText(const char* text, T& out, bool report, void* parentWindow) const
    {
        return Match(text, out, report, parentWindow, true);
    }

    std::string GetDisplayTextFromObject(const T& value) const
    {
        const Choice* choice = FirstChoiceFor(value);
        return choice ? choice->GetDisplayText() : std::string();
    }

    void GetChoiceValues(std::vector<T>& out) const
    {
        for (const Choice* choice : FirstChoices()) out.push_back(choice->value);
    }

    void GetChoiceTexts(std::vector<std::string>& out) const override
    {
        for (const Choice* choice : FirstChoices()) out.push_back(choice->GetDisplayText());
    }

    int GetSelectedIndex() const override
    {
        std::vector<std::string> texts;
        GetChoiceTexts(texts);
        const T current = this->GetObject();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            T value = this->m_default;
            if (GetObjectFromDisplayText(texts[i].c_str(), value, true, nullptr) && value == current) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::string GetSelectedText() const override { return GetDisplayTextFromObject(this->GetObject()); }

    void SetSelectedIndex(int index) override
    {
        if (index < 0) {
            this->Reset();
            return;
        }
        std::vector<std::string> texts;
        GetChoiceTexts(texts);
        if (static_cast<std::size_t>(index) >= texts.size()) return;
        T value = this->m_default;
        if (GetObjectFromDisplayText(texts[static_cast<std::size_t>(index)].c_str(), value, false, nullptr)) {
            this->SetObject(std::move(value));
        }
    }

    void SetSelectedText(const std::string& text) override
    {
        const auto found = std::find_if(m_choices.begin(), m_choices.end(),
                                        [&](const Choice& c) { return c.GetDisplayText() == text; });
        if (found != m_choices.end()) this->SetObject(found->value);
    }

    int GetStyle() const override { return m_style; }
    // Styles 3, 4 and 5 are the dialog forms of an enumeration.
    void SetStyle(int style) override
    {
        if (style < 3 || style > 5) BrnDoAssertion(__FILE__, __LINE__, "enumeration style is 3, 4 or 5");
        m_style = style;
    }

protected:
    void StoreStyle(int style) { m_style = style; }

private:
    // Compares `text` with each choice's keyword (or display text); the
    // first match gives the value. The message lists the keywords.
    bool Match(const char* text, T& out, bool report, void* parentWindow, bool byDisplayText) const
    {
        const std::string given = text ? text : "";
        const std::string wanted = m_caseSensitive ? given : AcmdToLower(given);
        if (wanted.empty() && m_choices.empty()) return true;
        std::vector<std::string> keywords;
        for (const Choice& choice : m_choices) {
            const std::string& candidate = byDisplayText ? choice.GetDisplayText() : choice.keyword;
            if ((m_caseSensitive ? candidate : AcmdToLower(candidate)) == wanted) {
                out = choice.value;
                return true;
            }
            keywords.push_back(choice.keyword);
        }
        if (report && !keywords.empty()) {
            AcmdDisplayArgInvalidErrorMessage(this->GetName(), given, AcmdJoinAlternatives(keywords),
                                              this->GetDisplayName(true), parentWindow);
        }
        return false;
    }

    const Choice* FirstChoiceFor(const T& value) const
    {
        const auto found =
            std::find_if(m_choices.begin(), m_choices.end(), [&](const Choice& c) { return c.value == value; });
        return found == m_choices.end() ? nullptr : &*found;
    }

    // The first choice of each distinct value, in choice order.
    std::vector<const Choice*> FirstChoices() const
    {
        std::vector<const Choice*> firsts;
        for (const Choice& choice : m_choices) {
            if (FirstChoiceFor(choice.value) == &choice) firsts.push_back(&choice);
        }
        return firsts;
    }

    std::vector<Choice> m_choices;
    bool m_caseSensitive = true;
    int m_style = 3;
};

// --- concrete parameters -------------------------------------------------------------------

// Free text.
class AcmdStringParam : public AcmdTypedParam<std::string> {
public:
    AcmdStringParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, const char* label,
                    std::string defaultText, bool rejectDefault);

    void Accept(AcmdTypedParamVisitor& visitor) override { visitor.VisitString(*this); }
    std::string GetTypeDescription() const override { return "a string"; }
    bool GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow) override;
    std::string GetStringFromObject(std::string value) const override { return value; }

    // Texts a dialog may offer; they take no part in conversion or export.
    void AddProposedText(const std::string& text) { m_proposedTexts.push_back(text); }
    const std::vector<std::string>& GetProposedTexts() const { return m_proposedTexts; }

private:
    std::vector<std::string> m_proposedTexts;
};

// A file path. A list of files is given and exported one occurrence per file.
class AcmdFileNameParam : public AcmdStringParam {
public:
    struct Filter {
        std::string description;
        std::vector<std::string> extensions;  // without "*."
    };

    AcmdFileNameParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, const char* label,
                      std::string defaultText);

    void Accept(AcmdTypedParamVisitor& visitor) override { visitor.VisitFileName(*this); }
    std::string GetTypeDescription() const override;
    // The text as given; a file that must exist is looked for against the
    // command manager's folder.
    bool GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow) override;
    bool isSetAndValid() const override;
    bool ExportParam() const override;

    void AddFilter(const std::string& description, const std::vector<std::string>& extensions);
    // Whether the browse filter ends with an "All Files" entry (true at construction).
    void SetAllFilesFilter(bool allFiles) { m_allFiles = allFiles; }
    void GetFilterExtensions(std::set<std::string>& out) const;
    // "Verilog (*.v; *.vh)|*.v; *.vh|All Files (*.*)|*.*||"
    std::string GetFilterString() const;
    bool GetMayNotExist() const { return m_mayNotExist; }
    bool SetMayNotExist(bool mayNotExist) { return m_mayNotExist = mayNotExist; }
    bool SetSecondFileFlag(bool secondFile) { return m_secondFile = secondFile; }
    bool GetSecondFileFlag() const { return m_secondFile; }

private:
    bool m_allFiles = true;
    std::vector<Filter> m_filters;
    bool m_mayNotExist = true;
    bool m_secondFile = false;
};

// A folder path, made absolute against the command manager's folder.
class AcmdFolderNameParam : public AcmdStringParam {
public:
    AcmdFolderNameParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, const char* label,
                        std::string defaultText);

    void Accept(AcmdTypedParamVisitor& visitor) override { visitor.VisitFolderName(*this); }
    std::string GetTypeDescription() const override;
    bool GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow) override;
    // The value texts with one separator form.
    const std::vector<std::string>& GetExportTexts() override;
    bool ExportParam() const override;
    std::string GetDumpValueStr() const override { return "path"; }

    bool GetMayNotExist() const { return m_mayNotExist; }
    bool SetMayNotExist(bool mayNotExist) { return m_mayNotExist = mayNotExist; }

private:
    bool m_mayNotExist = true;
    std::vector<std::string> m_exportTexts;
};

// A boolean given by keyword: TRUE, 1, true / FALSE, 0, false.
class AcmdBoolParam : public AcmdEnumParam<bool> {
public:
    AcmdBoolParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, bool defaultValue,
                  const char* label);

    void Accept(AcmdTypedParamVisitor& visitor) override { visitor.VisitBool(*this); }
    std::string GetTypeDescription() const override { return "a boolean"; }
    // 0: "false"/"true" with labels "0"/"1"; 1: "false"/"true"; 2: "0"/"1",
    // each in front of the six default keywords; 3: the choices stay.
    void SetStyle(int style) override;

private:
    void AddDefaultChoices();
};

// A switch: given without a value, it turns the value on. Its default
// should be false: a switch that is off is not written on export.
class AcmdFlagParam : public AcmdBoolParam {
public:
    using AcmdBoolParam::AcmdBoolParam;

    std::string GetDumpValueStr() const override { return std::string(); }
    AcmdEnum::Result CopyValue(const AcmdParam& other, bool firstTextOnly) override;
    void ExportValue(AcmdExportSink& sink) override;
};
