// The scheme behind every message of the library: a message is a constant
// definition (id, number, severity, kind, default text, ...) and one of two
// generic emitters hands it with the caller's values to the foundation's
// message database. Each component keeps a small table of its own messages
// and wraps each in a named function; nobody assembles message texts.
#pragma once

#include <foundation/Mdb.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>

// The catalogue every message of the library belongs to.
inline constexpr const char* ImodelMessageCatalogue = "Quorlane";

// The library's block in the upper 16 bits, the serial in the lower 16.
constexpr std::uint32_t ImodelMessageNumber(unsigned serial) { return std::uint32_t{1200} * 65536u + serial; }

struct ImodelMessageDef {
    const char* id;
    unsigned serial;
    int severity;                       // MdbSeverity
    int kind;                           // MdbKind
    const char* text;                   // "%s"/"%d" take the arguments in order
    std::uint32_t secondNumber = 0;     // a whole number (ImodelMessageNumber), 0 for none
    int queryCode = 0;                  // questions: handed on with the caller's answer pointer
    const char* dontShowAgainKey = "";  // questions the user may silence for good

    constexpr std::uint32_t Number() const { return ImodelMessageNumber(serial); }
};

// Whether `text` takes exactly these placeholders, in order: 's' for a "%s",
// 'd' for a "%d". As the message database reads a text, "%%" is a percent
// sign and a '%' before any other sign stays as it is. The message rows are
// held to their texts with it when they compile.
constexpr bool ImodelTextTakes(std::string_view text, std::string_view placeholders)
{
    std::size_t next = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') continue;
        const char sign = text[++i];  // taken: "%%" is one '%', any other sign is text
        if (sign != 's' && sign != 'd') continue;
        if (next == placeholders.size() || placeholders[next] != sign) return false;
        ++next;
    }
    return next == placeholders.size();
}
// The same with the letters as a list, as the rows write them.
constexpr bool ImodelTextTakes(std::string_view text, std::initializer_list<char> placeholders)
{
    return ImodelTextTakes(text, std::string_view(placeholders.begin(), placeholders.size()));
}

// One value for a placeholder: a string for "%s" or an integer for "%d".
// The constructors are implicit so that calls read `{name, folder}`.
struct ImodelMessageArg {
    ImodelMessageArg(const char* value) : text(value) {}
    ImodelMessageArg(int value) : isInteger(true), integer(value) {}

    bool isInteger = false;
    const char* text = nullptr;
    int integer = 0;
};

// Writes a line to the output log; returns what MdbOutput returns.
int ImodelEmitOutput(const ImodelMessageDef& message, std::initializer_list<ImodelMessageArg> args = {});

// Asks a question owned by `parent`; returns the answer exactly as the message
// database gives it. `answerPointer` goes to MdbQuery with the message's query
// code (null for every question but those that collect an answer for later).
MdbQuery_result ImodelEmitQuery(const ImodelMessageDef& message, void* parent, MdbQuery_result defaultAnswer,
                                std::initializer_list<ImodelMessageArg> args = {},
                                MdbQuery_result* answerPointer = nullptr);
