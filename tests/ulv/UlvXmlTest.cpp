#include "ulv/UlvXml.h"
#include "ulv/PersistCollection.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(UlvXmlTest, ReadsElementsAttributesAndText)
{
    UlvXmlDocument document;
    ASSERT_TRUE(document.ParseText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<lib kind=\"\" name=\"caf\xc3\xa9 \xf0\x9f\x94\xa7\">"
                                   "<cell>a<![CDATA[<b>]]>c<sub>ignored</sub>d</cell>"
                                   "<cell>second</cell><other/></lib>"))
        << document.GetError();
    const auto* root = document.GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(UlvGetName(root), "lib");

    std::string value = "unchanged";
    EXPECT_FALSE(UlvGetAttribute(root, "missing", value));
    EXPECT_EQ(value, "unchanged");
    EXPECT_TRUE(UlvGetAttribute(root, "kind", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(UlvGetAttribute(root, "name", value));
    EXPECT_EQ(value, "caf\xc3\xa9 \xf0\x9f\x94\xa7");

    const auto children = UlvGetChildElements(root);
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(UlvGetName(children[2]), "other");
    EXPECT_EQ(UlvGetText(children[0]), "a<b>cd");
    EXPECT_EQ(UlvFindChildElement(root, "cell"), children[0]);
    EXPECT_EQ(UlvFindChildElement(root, "Cell"), nullptr);
    EXPECT_EQ(UlvGetText(UlvFindChildElement(root, "other")), "");
}

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

TEST(UlvXmlTest, RefusesExternalEntitiesWithoutReadingThem)
{
    TempFolder folder;
    const std::string secret = folder.Write("secret.txt", "TOPSECRET");
    const std::string cases[] = {
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret + "\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]><r>&x;</r>",
        "<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + secret + "\"> %p;]><r/>",
        "<!DOCTYPE r [<!ENTITY x PUBLIC \"-//X//Y\" \"http://127.0.0.1:9/x\">]><r>&x;</r>",
    };
    for (const std::string& text : cases) {
        const std::string path = folder.Write("input.xml", text);
        UlvXmlDocument document;
        EXPECT_FALSE(document.ParseFile(path)) << text;
        EXPECT_EQ(document.GetRoot(), nullptr);
        EXPECT_FALSE(Contains(document.GetError(), "TOPSECRET"));
        EXPECT_FALSE(Contains(document.GetError(), "root:"));
        EXPECT_TRUE(Contains(document.GetError(), "external entity")) << document.GetError();
    }
}

TEST(UlvXmlTest, IgnoresTheExternalDtdAndKeepsInternalEntities)
{
    TempFolder folder;
    folder.Write("defaults.dtd", "<!ATTLIST r a CDATA \"from-dtd\">");
    const std::string path = folder.Write(
        "doc.xml", "<!DOCTYPE r SYSTEM \"defaults.dtd\"><r xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                   "xsi:noNamespaceSchemaLocation=\"schema.xsd\">text</r>");
    UlvXmlDocument document;
    ASSERT_TRUE(document.ParseFile(path)) << document.GetError();
    std::string value;
    EXPECT_FALSE(UlvGetAttribute(document.GetRoot(), "a", value));
    EXPECT_EQ(UlvGetText(document.GetRoot()), "text");

    ASSERT_TRUE(document.ParseText("<!DOCTYPE r [<!ENTITY who \"world\">]><r>hello &who; &amp; &#x41;</r>"))
        << document.GetError();
    EXPECT_EQ(UlvGetText(document.GetRoot()), "hello world & A");
}

TEST(UlvXmlTest, BoundsEntityExpansion)
{
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        laughs += "<!ENTITY lol" + std::to_string(level) + " \"";
        const std::string inner = level == 1 ? "&lol;" : "&lol" + std::to_string(level - 1) + ";";
        for (int i = 0; i < 10; ++i) laughs += inner;
        laughs += "\">\n";
    }
    laughs += "]>\n<lolz>&lol9;</lolz>\n";
    const auto start = std::chrono::steady_clock::now();
    UlvXmlDocument document;
    EXPECT_FALSE(document.ParseText(laughs, "laughs"));
    EXPECT_EQ(document.GetRoot(), nullptr);
    EXPECT_TRUE(Contains(document.GetError(), "laughs: ")) << document.GetError();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    // Within the limit expansion works as usual.
    ASSERT_TRUE(document.ParseText("<!DOCTYPE r [<!ENTITY a \"xy\"><!ENTITY b \"&a;&a;&a;\">]><r>&b;&b;</r>"));
    EXPECT_EQ(UlvGetText(document.GetRoot()), "xyxyxyxyxyxy");
}

TEST(UlvXmlTest, ConvertsTextBothWaysAndReplacesWhatIsNoUtf8)
{
    for (const std::string text : {"", "plain", "\xc3\xa9t\xc3\xa9", "\xf0\x9f\x94\xa7 x"})
        EXPECT_EQ(UlvToUtf8(UlvFromUtf8(text).c_str()), text);
    EXPECT_EQ(UlvToUtf8(UlvFromUtf8("a\xff"
                                    "b\xc3")
                            .c_str()),
              "a\xef\xbf\xbd"
              "b\xef\xbf\xbd");
    EXPECT_EQ(UlvToUtf8(UlvFromUtf8("\xc0\xaf").c_str()), "\xef\xbf\xbd\xef\xbf\xbd");  // overlong "/"
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(UlvToUtf8(lone), "a\xef\xbf\xbd"
                               "b");
    EXPECT_TRUE(UlvIsStrEqualNoCase("Result", "rESULT"));
    EXPECT_FALSE(UlvIsStrEqualNoCase("\xc3\xa9", "\xc3\x89"));
}

TEST(UlvXmlTest, CollectionChecksTheRootNameAndWalksAtoms)
{
    TempFolder folder;
    const std::string path = folder.Write("c.xml", "<Synthesis><result>ok<x/></result><result>2</result></Synthesis>");

    PersistCollection any("");
    EXPECT_FALSE(any.getRootAtom());
    ASSERT_TRUE(any.readObjects(path)) << any.getReadError();
    EXPECT_EQ(any.getRootAtom()->getName(), "Synthesis");

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
