#include <foundation/AcmdBase.h>
#include <foundation/AcmdParam.h>

#include <algorithm>
#include <set>

AcmdBase::~AcmdBase()
{
    for (AcmdParam* param : m_params) param->DetachFromCmd();
}

void AcmdBase::AddParam(AcmdParam* param)
{
    if (param && std::find(m_params.begin(), m_params.end(), param) == m_params.end()) {
        // Commands have a few parameters, and some are made once per file
        // a project read parses: room for them in one block.
        if (m_params.empty()) m_params.reserve(4);
        m_params.push_back(param);
    }
}

void AcmdBase::RemoveParam(AcmdParam* param)
{
    m_params.erase(std::remove(m_params.begin(), m_params.end(), param), m_params.end());
}

AcmdParam* AcmdBase::FindParam(const std::string& name) const
{
    const auto found = std::find_if(m_params.begin(), m_params.end(),
                                    [&](const AcmdParam* param) { return param->GetName() == name; });
    return found == m_params.end() ? nullptr : *found;
}

AcmdEnum::Result AcmdBase::ParseArgs(const std::vector<std::string>& args)
{
    m_parseError.reset();
    for (AcmdParam* param : m_params) param->Reset();
    // A value that holds a NUL is refused as a value of its option (in a
    // list, each word is checked when the list is split); any other word as
    // a word out of place.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].find('\0') == std::string::npos) continue;
        const AcmdParam* param = i > 0 && args[i - 1].starts_with('-') ? FindParam(args[i - 1].substr(1)) : nullptr;
        if (param != nullptr) {
            AcmdCheckNoNul(param->GetName(), {args[i]});
            return AcmdEnum::Failure;
        }
        return KeepParseError(AcmdMsg::UnexpectedArgument, AcmdShowNul(args[i]));
    }
    std::set<const AcmdParam*> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool isOption = word.size() > 1 && word[0] == '-';
        if (!isOption) return KeepParseError(AcmdMsg::UnexpectedArgument, word);
        AcmdParam* param = FindParam(word.substr(1));
        if (!param) return KeepParseError(AcmdMsg::UnknownOption, word);
        const bool repeatable = param->IsList() && param->IsRepeat();
        if (!given.insert(param).second && !repeatable) {
            return KeepParseError(AcmdMsg::DuplicateOption, word);
        }
        if (auto* flag = dynamic_cast<AcmdFlagParam*>(param)) {
            flag->SetObject(true);
            continue;
        }
        if (i + 1 == args.size()) return KeepParseError(AcmdMsg::MissingValue, word);
        // The next word is the value, even when it starts with "-", unless it
        // is one of this command's own options: then this option's value was
        // left out, and taking the option for it would drop the option
        // ("-file -verbose" writing a file named -verbose).
        const std::string& next = args[i + 1];
        if (next.size() > 1 && next[0] == '-' && FindParam(next.substr(1)) != nullptr) {
            return KeepParseError(AcmdMsg::MissingValue, word);
        }
        if (param->SetValueFromText(args[++i].c_str()) != AcmdEnum::Success) return AcmdEnum::Failure;
    }
    return AcmdEnum::Success;
}

AcmdEnum::Result AcmdBase::KeepParseError(AcmdMsg message, const std::string& word)
{
    m_parseError = ParseError{message, word};
    return AcmdEnum::Failure;
}

void AcmdBase::ReportParseError()
{
    if (!m_parseError) return;
    AcmdReport(m_parseError->message, {m_parseError->word, GetUsage()});
    m_parseError.reset();
}

std::string AcmdBase::GetUsage() const
{
    std::string usage = GetName();
    for (const AcmdParam* param : m_params) {
        if (param->IsSuppressed()) continue;
        std::string option = "-" + param->GetName();
        const std::string placeholder = param->GetDumpValueStr();
        if (!placeholder.empty()) option += " <" + placeholder + ">";
        usage += param->IsRequired() ? " " + option : " [" + option + "]";
    }
    return usage;
}

void AcmdBase::initAndValidateAll(const std::vector<AcmdParam*>& params, AcmdEnum::Result& result)
{
    for (AcmdParam* param : params) {
        AcmdEnum::Result own = AcmdEnum::Success;
        param->initAndValidateObject(own);
        if (own != AcmdEnum::Success) result = AcmdEnum::Failure;
    }
}

int AcmdBase::isAllSetAndValid(const std::vector<AcmdParam*>& params)
{
    const bool all =
        std::all_of(params.begin(), params.end(), [](const AcmdParam* param) { return param->isSetAndValid(); });
    return all ? 0 : 1;
}

void AcmdBase::exitAll(const std::vector<AcmdParam*>& params)
{
    for (AcmdParam* param : params) param->exitObject();
}
