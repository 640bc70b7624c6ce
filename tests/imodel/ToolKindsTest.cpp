// The keywords of tool kinds, design states and tool states: every keyword
// reads back in any letter case, values outside a table write its default,
// and one golden dump per table.
#include "Golden.h"

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace {

std::string Flipped(std::string text)
{
    for (char& c : text)
        c = std::isupper(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                        : static_cast<char>(std::toupper(c));
    return text;
}

// Writes every value of a table, checks that each keyword is unique and reads
// back as itself in any letter case, and returns the dump.
template <class Value, class Write, class Read, class Extra>
std::string Walk(int count, Write write, Read read, Extra extra)
{
    std::set<std::string> seen;
    std::string dump;
    for (int value = 0; value < count; ++value) {
        std::string text;
        write(static_cast<Value>(value), text);
        EXPECT_TRUE(seen.insert(text).second) << text;
        for (const std::string& spelling : {text, Flipped(text)}) {
            Value back = static_cast<Value>(count - 1 - value);
            EXPECT_TRUE(read(back, spelling)) << spelling;
            EXPECT_EQ(back, value) << spelling;
        }
        dump += std::to_string(value) + " \"" + text + "\"" + extra(value) + "\n";
    }
    return dump;
}

}  // namespace

TEST(ToolKinds, EveryToolKindReadsBackAndTheDumpMatchesTheGoldenFile)
{
    ExpectMatchesGolden("tool_kinds.txt",
                        Walk<ImodelFunctionType>(ImodelFunctionTypeCount, ImodelWriteToolNameString,
                                                 ImodelReadToolNameString, [](int value) {
                                                     ImodelFileName folder("-");
                                                     ImodelGetPathForTool(static_cast<ImodelFunctionType>(value),
                                                                          folder, ImodelGetFullPathParam(3));
                                                     return " folder=" + folder.GetString();
                                                 }));
    const auto none = [](int) { return std::string(); };
    ExpectMatchesGolden("design_states.txt", Walk<imodelSolvatoState>(imodelSolvatoStateCount, ImodelWriteSolvatoString,
                                                                      ImodelReadSolvatoString, none));
    ExpectMatchesGolden("tool_states.txt", Walk<imodelToolState>(imodelToolStateCount, ImodelWriteToolStateString,
                                                                 ImodelReadToolStateString, none));
}
