// The suite's SPIRIT components: read from the descriptions below a folder,
// found by identity whatever its letter case, with the names of their
// generators; files that are no description are passed over.
#include <brnspirit/ComponentMgr.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Description(const std::string& name, const std::string& version, const std::string& generators)
{
    return "<Component><vendor>brennic.com</vendor><library>cores</library><name>" + name + "</name><version>" +
           version + "</version>" + generators + "</Component>\n";
}

}  // namespace

TEST(BrnspiritComponentMgr, ComponentsAreFoundByIdentityWithTheirGenerators)
{
    TempFolder install;
    install.Write("spirit/fifo.xml", Description("fifo", "1.0", ""));
    install.Write("spirit/wizards/pll.CXF",
                  Description("pll", "2.1",
                              "<componentGenerators><componentGenerator><name>LGI_wizard</name></componentGenerator>"
                              "<componentGenerator><name>netlister</name></componentGenerator>"
                              "<other><name>not a generator</name></other></componentGenerators>"));
    install.Write("spirit/fifo-again.xml", Description("FIFO", "1.0", ""));
    install.Write("spirit/broken.xml", "<Component><name>broken</name>");
    install.Write("spirit/nameless.xml", "<Component><vendor>v</vendor></Component>\n");
    install.Write("spirit/design.xml", "<design><name>top</name></design>\n");
    install.Write("spirit/notes.txt", Description("notes", "1.0", ""));

    Brnspirit::ComponentMgr& manager = *Brnspirit::ComponentMgr::GetInstance();
    EXPECT_EQ(manager.Load(install / "spirit"), 3);
    const Brnspirit::Component* fifo = manager.GetComponent(VlnvCoreId("BRENNIC.com", "Cores", "Fifo", "1.0"));
    ASSERT_NE(fifo, nullptr);
    // Of two of one identity the first read stands; files are read in path order.
    EXPECT_EQ(fifo->GetFileName(), install / "spirit/fifo-again.xml");
    EXPECT_TRUE(fifo->GetGenerators().empty());
    const Brnspirit::Component* pll = manager.GetComponent(VlnvCoreId("brennic.com", "cores", "pll", "2.1"));
    ASSERT_NE(pll, nullptr);
    EXPECT_EQ(pll->GetVLNV(), VlnvCoreId("brennic.com", "cores", "pll", "2.1"));
    EXPECT_EQ(pll->GetGenerators(), (std::vector<std::string>{"LGI_wizard", "netlister"}));
    EXPECT_EQ(manager.GetComponent(VlnvCoreId("brennic.com", "cores", "pll", "2.0")), nullptr);
    EXPECT_EQ(manager.GetComponent(VlnvCoreId("brennic.com", "cores", "notes", "1.0")), nullptr);

    // A load replaces what was read before.
    EXPECT_EQ(manager.Load(install / "missing"), 0);
    EXPECT_TRUE(manager.GetComponents().empty());
}
