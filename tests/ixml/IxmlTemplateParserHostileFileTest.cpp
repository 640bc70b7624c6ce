// Template databases that would cost the reader dear: entity bombs and
// files far too large are invalid, yield no template and are traced.
#include "DebugCapture.h"
#include "TempFolder.h"

#include "ixml/IxmlTemplateParser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace {

const std::string kTemplate = "<template><prefix>p</prefix><code>c</code><suffix>s</suffix></template>";

TEST(IxmlTemplateParserHostileFile, ADocumentTypeDeclarationMakesTheDatabaseInvalid)
{
    TempFolder folder;
    // One 100 KB entity referenced 5,000 times: about 2 GB once expanded.
    std::string text = "<!DOCTYPE r [<!ENTITY e \"" + std::string(100000, 'x') + "\">]><r><h type=\"VHDL\">" +
                       kTemplate + "<template><prefix>";
    for (int i = 0; i < 5000; ++i) text += "&e;";
    text += "</prefix><code/><suffix/></template></h></r>";
    const std::string bomb = folder.Write("templates.xml", text);
    DebugCapture debug;
    const IxmlTemplateParser parser(bomb);
    EXPECT_FALSE(parser.IsXMLValid());
    EXPECT_TRUE(parser.GetTemplates().empty());
    EXPECT_EQ(debug.Text(), "ERROR: Error when parsing templates.xml :\n'" + bomb +
                                ": has a document type declaration (<!DOCTYPE ...>), which is not allowed: this file "
                                "needs none'\n");

    const IxmlTemplateParser plain(
        folder.Write("plain.xml", "<!DOCTYPE r><r><h type=\"VHDL\">" + kTemplate + "</h></r>"));
    EXPECT_FALSE(plain.IsXMLValid());
    EXPECT_TRUE(plain.GetTemplates().empty());
}

TEST(IxmlTemplateParserHostileFile, AFileFarLargerThanADatabaseIsRefusedBeforeItIsRead)
{
    TempFolder folder;
    const std::string path = folder.Write("templates.xml", "<r><h type=\"VHDL\">" + kTemplate + "</h>");
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);  // sparse
    DebugCapture debug;
    const IxmlTemplateParser parser(path);
    EXPECT_FALSE(parser.IsXMLValid());
    EXPECT_TRUE(parser.GetTemplates().empty());
    EXPECT_NE(debug.Text().find(path + ": 1073741824 bytes, more than the 16777216 bytes"), std::string::npos)
        << debug.Text();
}

}  // namespace
