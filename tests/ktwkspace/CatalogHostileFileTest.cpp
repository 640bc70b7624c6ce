// Catalogue files that would cost the reader dear: outside references,
// files far too large. Each is refused quickly, leaves the
// catalogue empty and says why.
#include <ktwkspace/Catalog.h>

#include "TempFolder.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kCore = R"(<core vendor="brennic.com" library="kiltora" name="fifo" version="1.0">)";

// Loads the file with DEBUG_MSG on; the debug print it gives.
std::string Refusal(Ktwkspace::Catalog& catalog, const std::string& path)
{
    DefReset();
    DefSetBool("DEBUG_MSG", true);
    std::string printed;
    SysSetPrintHook([&printed](const std::string& line) { printed += line; });
    EXPECT_FALSE(catalog.load(path)) << path;
    SysSetPrintHook({});
    DefReset();
    EXPECT_TRUE(catalog.GetAllCores().empty());
    return printed;
}

// The XML reader's own tests hold every kind of declaration; here the
// catalogue passes the refusal on and keeps nothing of the file.
TEST(KtwkspaceCatalogHostileFile, ADocumentTypeDeclarationIsRefusedBeforeAnythingExpands)
{
    TempFolder folder;
    const std::string secret = folder.Write("secret.txt", "TOP SECRET");
    const std::string text = "<!DOCTYPE kiltora_catalog [<!ENTITY x SYSTEM \"file://" + secret +
                             "\">]><kiltora_catalog>" + kCore +
                             "<description>&x;</description></core></kiltora_catalog>";
    Ktwkspace::Catalog catalog;
    const std::string path = folder.Write("kiltora_catalog.xml", text);
    const std::string printed = Refusal(catalog, path);
    EXPECT_NE(printed.find("Core catalogue not read: " + path + ": has a document type declaration"), std::string::npos)
        << printed;
    EXPECT_EQ(printed.find("SECRET"), std::string::npos);

    std::vector<Ktwkspace::CatalogCore> cores{Ktwkspace::CatalogCore{}};
    std::string error;
    EXPECT_FALSE(Ktwkspace::KtwkspaceReadCatalog(text, "text.xml", cores, error));
    EXPECT_TRUE(cores.empty());
    EXPECT_EQ(error.rfind("text.xml: has a document type declaration", 0), 0u) << error;
}

}  // namespace
