// The file-name key against the file-name comparison it stands for, and the
// one case rule that both rest on.
#include "DebugCapture.h"
#include "ProjectFolderScope.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/AcmdParam.h>
#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <zorpa/ZorpaString.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Names built from the pieces that the comparison treats specially: the
// token in both cases, both separators, letters in both cases, dots.
std::string RandomName(std::mt19937& random)
{
    static const std::vector<std::string> kPieces = {"<project>", "<PROJECT>", "/", "\\", "//",  "a",
                                                     "A",         "b",         ".", "..", "srv", "Proj"};
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 6);
    std::string name;
    for (int i = length(random); i > 0; --i) name += kPieces[piece(random)];
    return name;
}

// A spelling of the same name: letters flipped in case, separators swapped,
// the token expanded into the folder or the folder folded into the token.
std::string Respelled(std::string name, const std::string& folder, std::mt19937& random)
{
    std::bernoulli_distribution coin;
    if (!folder.empty() && coin(random) && name.starts_with(ImodelProjectToken))
        name.replace(0, std::string(ImodelProjectToken).size(), folder);
    for (char& c : name) {
        if (!coin(random)) continue;
        if (c == '/' || c == '\\')
            c = c == '/' ? '\\' : '/';
        else
            c = c == UtlToUpper(c) ? UtlToLower(c) : UtlToUpper(c);
    }
    return name;
}

}  // namespace

TEST(FileNameKey, TwoNamesAreTheSameFileExactlyWhenTheirKeysAreEqual)
{
    DebugMessagesOff();
    std::mt19937 random(20261206);
    for (const std::string folder : {"", "/srv/Proj", "/srv/Proj/", "C:\\Work\\proj", "/"}) {
        const ProjectFolderScope scope(folder);
        const std::string& held = Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString();
        int same = 0;
        for (int i = 0; i < 4000; ++i) {
            const std::string a = RandomName(random);
            const std::string b = i % 2 ? RandomName(random) : Respelled(a, folder, random);
            const bool equal = ImodelIsSameFileName(a, b);
            ASSERT_EQ(equal, ImodelFileNameKey(a) == ImodelFileNameKey(b))
                << "'" << a << "' and '" << b << "' in '" << folder << "'";
            ASSERT_EQ(equal, ImodelIsSameFileName(b, a));
            ASSERT_EQ(ImodelFileNameKey(a), ImodelFileNameKey(a, held));
            ASSERT_EQ(ImodelFileName(a) == ImodelFileName(b), equal);
            same += equal;
        }
        EXPECT_GT(same, 1000) << "the names must meet often enough to test anything";
    }
}

TEST(FileNameKey, EveryCaseHelperFollowsTheOneAsciiRule)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        const bool letter = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
        std::string upper = text;
        std::string lower = text;
        UtlMakeUpper(upper);
        UtlMakeLower(lower);
        EXPECT_EQ(upper != lower, letter) << byte;

        std::string imodelUpper = text;
        std::string imodelLower = text;
        std::string zorpaUpper = text;
        std::string zorpaLower = text;
        ImodelMakeUpper(imodelUpper);
        ImodelMakeLower(imodelLower);
        ZorpaMakeUpper(zorpaUpper);
        ZorpaMakeLower(zorpaLower);
        EXPECT_EQ(imodelUpper, upper);
        EXPECT_EQ(zorpaUpper, upper);
        EXPECT_EQ(imodelLower, lower);
        EXPECT_EQ(zorpaLower, lower);
        EXPECT_EQ(AcmdToLower(text), lower);
        EXPECT_TRUE(ImodelIsSameStrNoCase(upper, lower));
        EXPECT_EQ(ZorpaCompareNoCase(upper, lower), 0);
        EXPECT_EQ(WcmMatch(upper.c_str(), lower.c_str()), 1);
        EXPECT_TRUE(UtlIsSameFileName(upper, lower));
        // Outside ASCII nothing folds, whatever the locale says.
        if (byte >= 128) {
            EXPECT_FALSE(ImodelIsSameStrNoCase(text, std::string(1, static_cast<char>(byte ^ 0x20))));
        }
    }
}

// The key made the plain way: the token expanded when a folder is given,
// then every backslash a slash and every ASCII letter upper case; the hash
// is FNV-1a over those bytes.
TEST(FileNameKey, AKeyAndItsHashAreWhatTheStepByStepWayMakes)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(1, 255);
    for (const std::string folder : {"", "/srv/Proj", "C:\\Work\\proj", "/", "\xe4/x\\Y"}) {
        for (int i = 0; i < 3000; ++i) {
            std::string name = RandomName(random);
            // Bytes of every value, also outside ASCII.
            for (int extra = i % 4; extra > 0; --extra) name.insert(name.size() / 2, 1, static_cast<char>(byte(random)));
            std::string plain = name;
            if (!folder.empty() && plain.starts_with(ImodelProjectToken))
                plain.replace(0, std::string(ImodelProjectToken).size(), folder);
            for (char& c : plain) c = c == '\\' ? '/' : (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
            ASSERT_EQ(ImodelFileNameKey(name, folder), plain) << "'" << name << "' in '" << folder << "'";
            std::uint64_t hash = 14695981039346656037ULL;
            for (const char c : plain) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
            ASSERT_EQ(ImodelFileNameKeyHash(name, folder), hash) << "'" << name << "' in '" << folder << "'";
        }
    }
}
