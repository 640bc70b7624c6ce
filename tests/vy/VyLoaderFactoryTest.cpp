#include "vy/VyLoaderFactory.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Names(const Vymodel::VyModuleMap& modules)
{
    std::vector<std::string> names;
    for (const auto& [id, module] : modules) names.push_back(module->GetName());
    return names;
}

TEST(VyLoaderFactoryTest, ListsTheModulesOfAVerilogLibrary)
{
    TempFolder folder;
    const std::string path =
        folder.Write("cells.v", "// module COMMENTED (a);\n"
                                "/* module block_comment;\n*/\n"
                                "`timescale 1ns/1ps\n"
                                "module AND2 (input A, B, output Y);\n"
                                "  initial $display(\"module INSTRING;\");\n"
                                "endmodule\n"
                                "(* keep *) module\n   // name on the next line\n  inv(a, y); endmodule\r\n"
                                "macromodule \\weird$name (x); endmodule\n"
                                "module Inv (a); endmodule\n"
                                "module VCC(Y); endmodule module GND(Y); endmodule\n"
                                "module");
    const auto modules = Vymodel::VyLoaderFactory::LoadModules(path, "", nullptr);
    ASSERT_TRUE(modules);
    EXPECT_EQ(Names(*modules), (std::vector<std::string>{"AND2", "GND", "inv", "VCC", "weird$name"}));
    const auto found = modules->find(VyIfaces::ComponentID("and2", "CELLS", ""));
    ASSERT_NE(found, modules->end());
    EXPECT_EQ(found->first.library, "cells");
    EXPECT_EQ(found->first.package, "");

    // A relative name is taken against the base folder.
    const auto again = Vymodel::VyLoaderFactory::LoadModules("cells.v", folder.Path(), nullptr);
    ASSERT_TRUE(again);
    EXPECT_EQ(Names(*again), Names(*modules));
}

TEST(VyLoaderFactoryTest, AnUnreadableLibraryGivesNoMapAndAnEmptyOneAnEmptyMap)
{
    TempFolder folder;
    EXPECT_FALSE(Vymodel::VyLoaderFactory::LoadModules(folder.Path(), "", nullptr));

    const std::string noModule = folder.Write("e.v", "// nothing\n\"module x");
    const auto empty = Vymodel::VyLoaderFactory::LoadModules(noModule, "", nullptr);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

}  // namespace
