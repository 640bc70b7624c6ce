#include <ktwkspace/Catalog.h>

#include "OptionsScope.h"
#include "PrintCapture.h"
#include "TempFolder.h"

#include <foundation/Def.h>

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

}  // namespace

TEST(KtwkspaceCatalog, TheCoresOfAFamilyAreThoseForItOrForEveryFamily)
{
    TempFolder folder;
    Catalog catalog;
    ASSERT_TRUE(catalog.load(folder.Write("kiltora_catalog.xml", kCatalog)));
    ASSERT_EQ(catalog.GetAllCores().size(), 3u);
    EXPECT_EQ(catalog.GetAllCores()[1].families, (std::vector<std::string>{"ZX7", "QL3"}));
    catalog.setCatalog("ql3");
    EXPECT_EQ(Names(catalog.GetCatalogIf()->GetCores()), (std::vector<std::string>{"fifo", "pll"}));
}

TEST(KtwkspaceCatalog, AMissingOrMalformedFileLeavesTheCatalogueEmptyAndSaysWhy)
{
    TempFolder folder;
    Catalog catalog;
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"missing.xml", ""},
        {"broken.xml", "<kiltora_catalog><core"},
        {"root.xml", "<catalog/>"},
        {"noname.xml", R"(<kiltora_catalog><core vendor="v" library="l" version="1"/></kiltora_catalog>)"},
    };
    const OptionsScope options;
    DefSetBool("DEBUG_MSG", true);
    for (const auto& [name, text] : bad) {
        ASSERT_TRUE(catalog.load(folder.Write("good.xml", kCatalog)));
        PrintCapture debug;
        EXPECT_FALSE(catalog.load(text.empty() ? folder / name : folder.Write(name, text))) << name;
        EXPECT_TRUE(catalog.GetAllCores().empty()) << name;
        EXPECT_TRUE(debug.Holds("Core catalogue not read") && debug.Holds(name)) << debug.Text();
    }
}
