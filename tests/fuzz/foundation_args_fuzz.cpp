// Command-line words: any text splits without fault, the count returned is
// the count appended, and every word survives a round trip through its quoting.
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

    // Every word quoted again (ArgsQuote, plain and always quoted) splits
    // back into the same words.
    const std::vector<std::string> split(words.begin() + 1, words.end());
    for (const bool always : {false, true}) {
        std::string again;
        for (const std::string& word : split) again += ArgsQuote(word, always) + " ";
        std::vector<std::string> reread;
        ArgsParse(again, reread);
        if (reread != split) std::abort();
    }
    return 0;
}
