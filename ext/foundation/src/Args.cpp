// Splitting a command line into words.
#include "foundation/Sys.h"

#include "foundation/UtlAscii.h"

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
