#include "ulv/UlvXml.h"
#include "ulv/PersistCollection.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(UlvXmlTest, ReportsUnreadableAndMalformedInputAndDropsTheOldDocument)
{
    TempFolder folder;
    UlvXmlDocument document;
    ASSERT_TRUE(document.ParseText("<a/>"));

    EXPECT_FALSE(document.ParseFile(folder / "missing.xml"));
    EXPECT_EQ(document.GetRoot(), nullptr);
    EXPECT_TRUE(Contains(document.GetError(), "missing.xml: cannot be read")) << document.GetError();

    const std::string bad = folder.Write("bad.xml", "<a>\n<b></a>\n");
    EXPECT_FALSE(document.ParseFile(bad));
    EXPECT_EQ(document.GetRoot(), nullptr);
    EXPECT_TRUE(Contains(document.GetError(), "bad.xml: line 2")) << document.GetError();

    for (const char* text : {"", "   ", "<?xml version=\"1.0\"?>", "<a>", "<a></b>", "\xff\xfe<"}) {
        EXPECT_FALSE(document.ParseText(text, "input")) << text;
        EXPECT_TRUE(Contains(document.GetError(), "input: ")) << document.GetError();
        EXPECT_EQ(document.GetRoot(), nullptr);
    }

    const std::string good = folder.Write("good.xml", "<root><x/></root>\r\n");
    ASSERT_TRUE(document.ParseFile(good)) << document.GetError();
    EXPECT_EQ(UlvGetName(document.GetRoot()), "root");
    EXPECT_EQ(document.GetError(), "");
}

// Documents parsed one after the other, on one thread and on two, with
// failures of every kind among them: each document read stays whole while
// the others are parsed and after they go, and a failure leaves no trace on
// the next parse.
TEST(UlvXmlTest, ManyDocumentsLiveSideBySideWhateverFailsBetweenThem)
{
    const auto parseSeries = [](int count, const std::string& tag) {
        std::vector<std::unique_ptr<UlvXmlDocument>> kept;
        const char* const failing[] = {"<a>", "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", "<a></b>", ""};
        for (int i = 0; i < count; ++i) {
            UlvXmlDocument refused;
            EXPECT_FALSE(refused.ParseText(failing[i % 4], "bad")) << i;
            auto document = std::make_unique<UlvXmlDocument>();
            const std::string name = tag + std::to_string(i);
            EXPECT_TRUE(document->ParseText("<" + name + " n=\"" + std::to_string(i) + "\"><c/></" + name + ">"))
                << document->GetError();
            EXPECT_EQ(document->GetError(), "");
            kept.push_back(std::move(document));
            if (i % 3 == 0) kept.erase(kept.begin() + i / 3 % static_cast<int>(kept.size()));
        }
        for (const auto& document : kept) {
            const std::string name = UlvGetName(document->GetRoot());
            ASSERT_EQ(name.rfind(tag, 0), 0u) << name;
            std::string number;
            ASSERT_TRUE(UlvGetAttribute(document->GetRoot(), "n", number));
            EXPECT_EQ(name, tag + number);
            EXPECT_EQ(UlvGetChildElements(document->GetRoot()).size(), 1u);
        }
    };
    parseSeries(40, "main");
    std::thread other(parseSeries, 40, "other");
    parseSeries(40, "again");
    other.join();
}

// One internal entity of 100 KB referenced 5,000 times: about 2 GB once
// expanded, from a 125 KB file.
std::string EntityBomb()
{
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e \"" + std::string(100000, 'x') + "\">]>\n<r>";
    for (int i = 0; i < 5000; ++i) text += "&e;";
    return text + "</r>\n";
}

TEST(UlvXmlTest, RefusesEveryDocumentTypeDeclarationBeforeActingOnIt)
{
    TempFolder folder;
    const std::string secret = folder.Write("secret.txt", "TOPSECRET");
    folder.Write("defaults.dtd", "<!ATTLIST r a CDATA \"from-dtd\">");
    std::string laughs = "<!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        laughs += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) laughs += level == 1 ? "&lol;" : "&lol" + std::to_string(level - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><lolz>&lol9;</lolz>";
    std::string utf16 = "\xff\xfe";  // little-endian, with its byte order mark
    for (const char c : std::string("<!DOCTYPE r><r/>")) utf16 += {c, '\0'};
    const std::string cases[] = {
        EntityBomb(),
        laughs,
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret + "\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + secret + "\"> %p;]><r/>",
        "<!DOCTYPE r [<!ENTITY x PUBLIC \"-//X//Y\" \"http://127.0.0.1:9/x\">]><r>&x;</r>",
        "<!DOCTYPE r SYSTEM \"defaults.dtd\"><r/>",
        "<?xml version=\"1.0\"?>\n<!-- a comment first -->\n<!DOCTYPE r>\n<r/>",
        utf16,
    };
    for (const std::string& text : cases) {
        UlvXmlDocument document;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(document.ParseFile(folder.Write("input.xml", text))) << text.substr(0, 80);
        EXPECT_EQ(document.GetRoot(), nullptr);
        EXPECT_TRUE(Contains(document.GetError(), "input.xml: has a document type declaration")) << document.GetError();
        EXPECT_FALSE(Contains(document.GetError(), "TOPSECRET"));
        EXPECT_FALSE(document.ParseText(text, "text"));
        EXPECT_TRUE(Contains(document.GetError(), "text: has a document type declaration")) << document.GetError();
        // Refused at the declaration, long before any expansion could start.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }

    // Without a DTD the predefined entities and character references remain.
    UlvXmlDocument document;
    ASSERT_TRUE(document.ParseText("<r>a &amp; b &lt;&gt; &#x41;&#66;</r>")) << document.GetError();
    EXPECT_EQ(UlvGetText(document.GetRoot()), "a & b <> AB");
    EXPECT_FALSE(document.ParseText("<r>&undeclared;</r>", "input"));
    EXPECT_TRUE(Contains(document.GetError(), "input: line 1")) << document.GetError();
}

TEST(UlvXmlTest, RefusesAFileLargerThanItsLimitBeforeReadingIt)
{
    TempFolder folder;
    // A sparse file of 1 GiB: read whole, it would take gigabytes of memory.
    const std::string huge = folder.Write("huge.xml", "<r>");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);
    UlvXmlDocument document;
    EXPECT_FALSE(document.ParseFile(huge));
    EXPECT_EQ(document.GetError(), huge + ": 1073741824 bytes, more than the " + std::to_string(kUlvMaxFileSize) +
                                       " bytes this file may have; it is not read");
    PersistCollection collection("");
    EXPECT_FALSE(collection.readObjects(huge));
    EXPECT_TRUE(Contains(collection.getReadError(), "1073741824 bytes, more than")) << collection.getReadError();

    // A reader may set its own limit; a file of exactly that size is read.
    const std::string text = "<root><x/></root>";
    const std::string path = folder.Write("small.xml", text);
    const auto size = static_cast<std::int64_t>(text.size());
    EXPECT_TRUE(document.ParseFile(path, size)) << document.GetError();
    EXPECT_FALSE(document.ParseFile(path, size - 1));
    EXPECT_TRUE(Contains(document.GetError(), "small.xml: 17 bytes, more than the 16 bytes")) << document.GetError();
    EXPECT_FALSE(collection.readObjects(path, size - 1));
    EXPECT_TRUE(collection.readObjects(path, size));
}

TEST(UlvXmlTest, CollectionChecksTheRootNameAndWalksAtoms)
{
    TempFolder folder;
    const std::string path = folder.Write("c.xml", "<Synthesis><result>ok<x/></result><result>2</result></Synthesis>");

    PersistCollection any("");
    EXPECT_FALSE(any.getRootAtom());
    ASSERT_TRUE(any.readObjects(path)) << any.getReadError();
    EXPECT_EQ(any.getRootAtom()->getName(), "Synthesis");

    // The root name is matched ignoring ASCII case only.
    EXPECT_FALSE(UlvIsStrEqualNoCase("\xc3\xa9", "\xc3\x89"));
    PersistCollection named("synthesis");
    ASSERT_TRUE(named.readObjects(path));
    const auto result = named.getRootAtom()->findChildAtom("result");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->getText(), "ok");
    EXPECT_EQ(result->getChildAtoms().size(), 1u);
    EXPECT_FALSE(result->findChildAtom("y"));
    EXPECT_EQ(named.getRootAtom()->getChildAtoms().size(), 2u);

    PersistCollection other("project");
    EXPECT_FALSE(other.readObjects(path));
    EXPECT_FALSE(other.getRootAtom());
    EXPECT_TRUE(Contains(other.getReadError(), "\"Synthesis\", not \"project\"")) << other.getReadError();

    EXPECT_TRUE(named.readObjects(path));
    EXPECT_FALSE(named.readObjects(folder / "none.xml"));
    EXPECT_FALSE(named.getRootAtom());
}

}  // namespace
