// Splitting a command line into words.
#include "foundation/Sys.h"

#include "foundation/UtlAscii.h"

#include <algorithm>

int ArgsParse(const std::string& line, std::vector<std::string>& words, bool* unterminated)
{
    const std::size_t before = words.size();
    std::string word;
    bool inWord = false;  // a word has started (possibly empty: "")
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
                word += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (UtlIsBlank(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            // Backslashes outside quotes stay as they are (Windows paths).
            if (c == '"') {
                quoted = true;
            } else {
                word += c;
            }
            inWord = true;
        }
    }
    // An unterminated quote takes the rest of the line as its word.
    if (inWord) words.push_back(std::move(word));
    if (unterminated) *unterminated = quoted;
    return static_cast<int>(words.size() - before);
}

std::string ArgsQuote(const std::string& word, bool alwaysQuoted)
{
    const bool plain = std::none_of(word.begin(), word.end(), [](char c) { return UtlIsBlank(c) || c == '"'; });
    if (!alwaysQuoted && !word.empty() && plain) return word;
    const std::size_t bodyEnd = word.find_last_not_of('\\') + 1;
    std::string text = "\"";
    for (std::size_t i = 0; i < bodyEnd; ++i) {
        if (word[i] == '"') text += '\\';
        text += word[i];
    }
    return text + "\"" + word.substr(bodyEnd);
}
