#include <ktwkspace/Catalog.h>

#include "TempFolder.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Ktwkspace::Catalog;
using Ktwkspace::CatalogCore;

namespace {

const char* const kCatalog = R"(<?xml version="1.0"?>
<kiltora_catalog>
  <!-- the cores of the suite -->
  <core vendor="brennic.com" library="kiltora" name="fifo" version="1.0">
    <description>Synchronous FIFO</description>
  </core>
  <core vendor="brennic.com" library="kiltora" name="pll" version="2.1">
    <family>ZX7</family>
    <family>QL3</family>
    <note>skipped</note>
  </core>
  <bundle name="skipped too"/>
  <core vendor="brennic.com" library="dsp" name="fir" version="1.0">
    <family>ZX9</family>
  </core>
</kiltora_catalog>
)";

std::vector<std::string> Names(const std::vector<const CatalogCore*>& cores)
{
    std::vector<std::string> names;
    for (const CatalogCore* core : cores) names.push_back(core->name);
    return names;
}

// Collects the debug print while it lives, with DEBUG_MSG on.
class DebugLines {
public:
    DebugLines()
    {
        DefReset();
        DefSetBool("DEBUG_MSG", true);
        SysSetPrintHook([this](const std::string& line) { text += line; });
    }
    ~DebugLines()
    {
        SysSetPrintHook({});
        DefReset();
    }
    std::string text;
};

}  // namespace

TEST(KtwkspaceCatalog, TheCoresOfAFamilyAreThoseForItOrForEveryFamily)
{
    TempFolder folder;
    Catalog catalog;
    ASSERT_TRUE(catalog.load(folder.Write("kiltora_catalog.xml", kCatalog)));
    ASSERT_EQ(catalog.GetAllCores().size(), 3u);
    const CatalogCore& fifo = catalog.GetAllCores()[0];
    EXPECT_EQ(fifo.vendor, "brennic.com");
    EXPECT_EQ(fifo.library, "kiltora");
    EXPECT_EQ(fifo.version, "1.0");
    EXPECT_EQ(fifo.description, "Synchronous FIFO");
    EXPECT_EQ(catalog.GetAllCores()[1].families, (std::vector<std::string>{"ZX7", "QL3"}));

    // No family chosen: everything is offered.
    EXPECT_EQ(catalog.GetFamily(), "");
    EXPECT_EQ(Names(catalog.GetCores()), (std::vector<std::string>{"fifo", "pll", "fir"}));
    catalog.setCatalog("ql3");
    EXPECT_EQ(Names(catalog.GetCatalogIf()->GetCores()), (std::vector<std::string>{"fifo", "pll"}));
    catalog.setCatalog("ZX9");
    EXPECT_EQ(Names(catalog.GetCores()), (std::vector<std::string>{"fifo", "fir"}));
    catalog.setCatalog("other");
    EXPECT_EQ(Names(catalog.GetCores()), (std::vector<std::string>{"fifo"}));
}

TEST(KtwkspaceCatalog, AMissingOrMalformedFileLeavesTheCatalogueEmptyAndSaysWhy)
{
    TempFolder folder;
    Catalog catalog;
    ASSERT_TRUE(catalog.load(folder.Write("good.xml", kCatalog)));

    const std::vector<std::pair<std::string, std::string>> bad = {
        {"missing.xml", ""},
        {"broken.xml", "<kiltora_catalog><core"},
        {"root.xml", "<catalog/>"},
        {"noname.xml", R"(<kiltora_catalog><core vendor="v" library="l" version="1"/></kiltora_catalog>)"},
        {"emptyversion.xml",
         R"(<kiltora_catalog><core vendor="v" library="l" name="n" version=""/></kiltora_catalog>)"},
    };
    for (const auto& [name, text] : bad) {
        ASSERT_TRUE(catalog.load(folder / "good.xml"));
        DebugLines debug;
        const std::string path = text.empty() ? folder / name : folder.Write(name, text);
        EXPECT_FALSE(catalog.load(path)) << name;
        EXPECT_TRUE(catalog.GetAllCores().empty()) << name;
        EXPECT_NE(debug.text.find("Core catalogue not read"), std::string::npos) << name;
        EXPECT_NE(debug.text.find(name), std::string::npos) << debug.text;
    }

    // Without DEBUG_MSG nothing is printed.
    std::string printed;
    SysSetPrintHook([&printed](const std::string& line) { printed += line; });
    EXPECT_FALSE(catalog.load(folder / "missing.xml"));
    SysSetPrintHook({});
    EXPECT_EQ(printed, "");
}
