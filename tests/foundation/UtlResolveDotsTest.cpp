// Lexical resolution of "." and "..": what the project model relies on to
// tell whether a name lies inside a folder.
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

TEST(UtlResolveDots, ResolvesComponentsAndKeepsTheRoot)
{
    EXPECT_EQ(UtlResolveDots("/srv/Proj/../other/a.v"), "/srv/other/a.v");
    EXPECT_EQ(UtlResolveDots("a\\..\\..\\x"), "../x");
    EXPECT_EQ(UtlResolveDots("/.."), "/");
    EXPECT_EQ(UtlResolveDots("//server/share/../x"), "//server/x");
    EXPECT_EQ(UtlResolveDots("C:\\work\\..\\..\\a.v"), "C:/a.v");
    EXPECT_EQ(UtlResolveDots("a/.."), "");
}

TEST(UtlResolveDots, TheResultHasNoDotsLeftAndResolvesToItself)
{
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a", "B", ".", "..", "/", "\\", "//"};
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    for (int i = 0; i < 5000; ++i) {
        std::string path;
        for (int n = 0; n < 8; ++n) path += pieces[piece(random)];
        const std::string resolved = UtlResolveDots(path);
        EXPECT_EQ(UtlResolveDots(resolved), resolved) << path;
        EXPECT_EQ(resolved.find("/./"), std::string::npos) << path;
        EXPECT_EQ(resolved.find('\\'), std::string::npos) << path;
        // ".." only in front of a relative path.
        std::string rest = resolved;
        while (rest.starts_with("../")) rest.erase(0, 3);
        if (rest == "..") rest.clear();
        EXPECT_EQ(("/" + rest + "/").find("/../"), std::string::npos) << path;
        // An absolute path resolves as the system layer qualifies it.
        const bool networkRoot = path.size() > 1 && (path[1] == '/' || path[1] == '\\');
        if (path.starts_with("/") && !networkRoot) {
            EXPECT_EQ(resolved, SysGetQualifiedPath(path)) << path;
        }
    }
}
