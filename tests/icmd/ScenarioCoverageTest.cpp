// Every command a user can type is run by at least one scenario script: the
// commands come from the library's own registration, the scripts from
// tests/tcl.
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Names = std::set<std::string>;

bool IsWordCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// The words of a script that stand where Tcl takes a command name: first on
// a line, or right after ";", "[" or "{" (the script argument of try, catch,
// if, foreach...). Comment lines say nothing.
Names CommandWords(const std::string& script)
{
    Names words;
    std::istringstream lines(script);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        bool commandStarts = true;
        for (std::size_t i = first; i < line.size();) {
            const char c = line[i];
            if (IsWordCharacter(c)) {
                std::size_t end = i;
                while (end < line.size() && IsWordCharacter(line[end])) ++end;
                if (commandStarts) words.insert(line.substr(i, end - i));
                commandStarts = false;
                i = end;
                continue;
            }
            if (c == ';' || c == '[' || c == '{') {
                commandStarts = true;
            } else if (c != ' ' && c != '\t') {
                commandStarts = false;
            }
            ++i;
        }
    }
    return words;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// For each script under tests/tcl, the words it runs as commands.
std::map<std::string, Names> ScenarioCommands()
{
    std::map<std::string, Names> scripts;
    const std::filesystem::path folder = std::filesystem::path(QUORLANE_TEST_DATA_DIR).parent_path() / "tcl";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".tcl")
            scripts[entry.path().filename().string()] = CommandWords(ReadText(entry.path()));
    return scripts;
}

}  // namespace

TEST(ScenarioCoverage, CommandWordsAreThoseInCommandPosition)
{
    const Names words = CommandWords("# use_file is not run here\n"
                                     "try {use_file -file a}; set_root top\n"
                                     "  puts \"refresh is a word of a text\"\n"
                                     "set x [dump_all_modules -tree 1]\n"
                                     "foreach f {a b} { refresh }\n");
    EXPECT_EQ(words,
              (Names{"try", "use_file", "set_root", "puts", "set", "dump_all_modules", "foreach", "a", "refresh"}));
}

TEST(ScenarioCoverage, EveryRegisteredCommandIsRunByAScenario)
{
    Imodel& model = Imodel::GetInstance();
    // The commands of the linking option count too: it must be on here.
    ASSERT_TRUE(model.IsLinkingEnabled());
    AcmdManager& manager = AcmdManager::GetInstance();
    manager.Reset();
    model.RegisterCommands();
    const std::vector<std::string> registered = manager.GetCommandNames();
    manager.Reset();
    ASSERT_FALSE(registered.empty());

    const std::map<std::string, Names> scripts = ScenarioCommands();
    ASSERT_FALSE(scripts.empty());
    std::vector<std::string> missing;
    for (const std::string& command : registered) {
        const bool run = std::any_of(scripts.begin(), scripts.end(),
                                     [&command](const auto& script) { return script.second.count(command) != 0; });
        if (!run) missing.push_back(command);
    }
    EXPECT_TRUE(missing.empty()) << "no scenario under tests/tcl runs: " << testing::PrintToString(missing);
}
