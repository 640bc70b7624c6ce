#include "TempFolder.h"

#include "ixml/IxmlTemplateParser.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

Lines Describe(const IxmlTemplateParser& parser)
{
    Lines lines;
    for (const auto& t : parser.GetTemplates()) {
        lines.push_back(t->getSectionFullName() + "|" + t->getPrefix() + "|" + t->getCode() + "|" + t->getSuffix() +
                        (t->isVHDL() ? "|vhdl" : "|verilog"));
        EXPECT_FALSE(t->isUserTemplate());
        EXPECT_EQ(t->getFileName(), "");
    }
    return lines;
}

std::string Template(const std::string& name)
{
    return "<template><prefix>" + name + "</prefix><code/><suffix/></template>";
}

class IxmlTemplateParserTest : public testing::Test {
protected:
    // Reads `text` as a database file.
    Lines Read(const std::string& text, bool* valid = nullptr)
    {
        const IxmlTemplateParser parser(folder.Write("templates.xml", text));
        if (valid) *valid = parser.IsXMLValid();
        if (!parser.IsXMLValid()) {
            EXPECT_TRUE(parser.GetTemplates().empty());
        }
        return Describe(parser);
    }
    bool IsValid(const std::string& text)
    {
        bool valid = false;
        Read(text, &valid);
        return valid;
    }

    TempFolder folder;
};

TEST_F(IxmlTemplateParserTest, NestedSectionsGiveFullNamesInDocumentOrder)
{
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AnyRoot>\n"
                             " <lang type=\"Verilog\">" +
                             Template("v1") +
                             "</lang>\n"
                             " <other type=\"VHDL\">\n"
                             "  <section name=\"Sequential\">\n"
                             "   <section name=\"Counters\">" +
                             Template("up") + Template("down") + "</section>\n" + Template("reg") +
                             "   <section name=\"\"><section name=\"deep\">" + Template("x") +
                             "</section></section>\n"
                             "  </section>\n" +
                             Template("top") +
                             "  <section name=\"Empty\"/>\n"
                             " </other>\n"
                             " <lang type=\"Verilog\"><section name=\"Gates\">" +
                             Template("and") +
                             "</section></lang>\n"
                             "</AnyRoot>\n";
    EXPECT_EQ(Read(text), (Lines{"Verilog|v1|||verilog", "VHDL;Sequential;Counters|up|||vhdl",
                                 "VHDL;Sequential;Counters|down|||vhdl", "VHDL;Sequential|reg|||vhdl",
                                 "VHDL;Sequential;;deep|x|||vhdl", "VHDL|top|||vhdl", "Verilog;Gates|and|||verilog"}));
}

TEST_F(IxmlTemplateParserTest, AnyFaultInvalidatesTheWholeDatabase)
{
    const std::string good = "<h type=\"VHDL\">" + Template("a") + "</h>";
    EXPECT_TRUE(IsValid("<r>" + good + "</r>"));
    const std::string faults[] = {
        "<r/>",                                                                                 // no language
        "<r>" + good + "<h type=\"vhdl\">" + Template("b") + "</h></r>",                        // type in lower case
        "<r>" + good + "<h>" + Template("b") + "</h></r>",                                      // no type
        "<r>" + good + "<h type=\"VHDL\"><template><prefix/><code/></template></h></r>",        // no suffix
        "<r>" + good + "<h type=\"VHDL\"><template><code/><suffix/></template></h></r>",        // no prefix
        "<r>" + good + "<h type=\"Verilog\"><section>" + Template("b") + "</section></h></r>",  // unnamed
        "<r>" + good + "<h type=\"VHDL\"><group name=\"g\"/></h></r>",                          // unknown element
        "<r>" + good + "<h type=\"VHDL\"><section name=\"s\"><x/></section></h></r>",
        "<r>" + good,  // malformed
        "",
        "not xml",
    };
    for (const std::string& text : faults) EXPECT_FALSE(IsValid(text)) << text;
    EXPECT_FALSE(IxmlTemplateParser(folder / "none.xml").IsXMLValid());
    // Text between the elements is not an element.
    EXPECT_TRUE(IsValid("<r>text<h type=\"Verilog\">more" + Template("a") + "</h><!-- note --></r>"));
}

TEST_F(IxmlTemplateParserTest, NeverReadsOutsideTheFile)
{
    folder.Write("secret.txt", "TOPSECRET");
    const std::string text = "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]>"
                             "<r><h type=\"VHDL\"><template><prefix>&x;</prefix><code/><suffix/></template></h></r>";
    bool valid = true;
    EXPECT_TRUE(Read(text, &valid).empty());
    EXPECT_FALSE(valid);
}

TEST_F(IxmlTemplateParserTest, SectionsNestDeeply)
{
    const int depth = 5000;
    std::string text = "<r><h type=\"Verilog\">";
    std::string path = "Verilog";
    for (int level = 0; level < depth; ++level) {
        text += "<section name=\"s\">";
        path += ";s";
    }
    text += Template("deep");
    for (int level = 0; level < depth; ++level) text += "</section>";
    text += Template("shallow") + "</h></r>";
    EXPECT_EQ(Read(text), (Lines{path + "|deep|||verilog", "Verilog|shallow|||verilog"}));
}

}  // namespace
