// Command-line words: any text splits without fault, the count returned is
// the count appended, and words that need no quoting survive a round trip.
#include "foundation/Sys.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words{"before"};
    const int count = ArgsParse(line, words);
    if (count < 0 || words.size() != static_cast<std::size_t>(count) + 1 || words.front() != "before") std::abort();

    // Quote every word again (a quote inside as \") and split once more.
    // Words ending in a backslash are left out: "\" before the closing quote
    // reads as an escaped quote.
    std::string again;
    std::vector<std::string> quotable;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (!words[i].empty() && words[i].back() == '\\') continue;
        quotable.push_back(words[i]);
        std::string quoted = words[i];
        UtlReplaceAll(quoted, "\"", "\\\"");
        again += "\"" + quoted + "\" ";
    }
    std::vector<std::string> reread;
    ArgsParse(again, reread);
    if (reread != quotable) std::abort();
    return 0;
}
