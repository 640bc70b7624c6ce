// Fuzz target: the options database's reader of defaults text, then the
// lookups that walk what it stored (scoped values, choices, external names).
#include "foundation/Def.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DefReset();
    std::string error;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!DefLoadDefaultsFromText(text, &error)) {
        if (error.empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    static const char* const kNames[] = {"FAM", "DIE", "PACKAGE", "X", "A", "QFAM", "FAMILY_CHANGE_ALLOWED"};
    char buffer[64];
    std::vector<std::string> words;
    std::string out;
    int number = 0;
    DefOverRideGuard family("QFAM", "ZX7");
    DefOverRideGuard die("QDIE", "zx7a");
    for (const char* name : kNames) {
        DefGetFL(name);
        DefGetStrFL(name, buffer, sizeof buffer);
        DefGetBoolFL(name, &number);
        DefGetAllVisList(name, words);
        DefGetAllVisList(name, buffer, sizeof buffer);
        for (const std::string& word : words) {
            DefGetExtValue(word.c_str(), 1, out);
            DefGetExtValue(word.c_str(), 0, buffer, sizeof buffer);
        }
    }
    return 0;
}
