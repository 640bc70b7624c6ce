// Every walk over a hierarchy of 200,000 levels (a chain of units, each
// using the next) ends with its answer: none runs out of call stack.
#include "ModuleTreeTestSupport.h"

#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelRoot.h"

#include <sstream>

namespace {

constexpr int kDepth = 200000;

class DeepHierarchyTest : public DesignFixture {
protected:
    void SetUp() override
    {
        DesignFixture::SetUp();
        for (int i = 0; i < kDepth; ++i) {
            const std::string name = "u" + std::to_string(i);
            m_chain.push_back(AddUnit("work", name, File("/p/" + name + ".vhd")));
            if (i > 0) m_chain[i - 1]->AddSubBlock(m_chain[i], false);
        }
        m_top.push_back(m_chain.front());
    }

    std::vector<ImodelModule*> m_chain;
    std::deque<ImodelModule*> m_top;
};

}  // namespace

TEST_F(DeepHierarchyTest, EveryWalkReachesTheBottom)
{
    ImodelModule* top = m_chain.front();
    ImodelModule* bottom = m_chain.back();

    // Counts and parameters.
    EXPECT_EQ(ImodelCountFiles(top, -1), kDepth);
    EXPECT_EQ(ImodelCountFiles(top, 10), 10);
    for (int i = 0; i < kDepth; i += 1000) ASSERT_TRUE(m_chain[i]->SetVSimParams("-g"));
    std::string params;
    ImodelAppendVSimParams(top, params);
    EXPECT_EQ(params.size(), kDepth / 1000 * 3 - 1);

    // File collections: sub-modules first, so the bottom's file leads.
    ImodelModule::FileEntries files;
    ImodelGetOriginalFileNames(files, top, nullptr, nullptr, nullptr, false);
    ASSERT_EQ(files.size(), static_cast<std::size_t>(kDepth));
    EXPECT_EQ(files.front(), bottom->GetModuleFile());
    ImodelModule::FileEntries hdl;
    ImodelGetHdlFileNames(hdl, top, ideSYNTHESIS, nullptr, false);
    std::deque<IfileObject> attached;
    ImodelGetChildAssociatedFiles(top, zorpaFT_HDL, attached, nullptr, true, nullptr);
    std::vector<std::string> names;
    ImodelFindTopLevelModules(bottom->GetModuleFullFileName(), &m_top, &names);
    EXPECT_EQ(names, std::vector<std::string>{"u199999"});
    EXPECT_TRUE(ImodelIsUsedInHierarchy(*bottom->GetModuleFile(), top));

    // Searches and questions down the hierarchy and up the parents.
    EXPECT_EQ(ImodelFindModuleInTree("u199999", &m_top), bottom);
    ImodelModule* start = nullptr;
    EXPECT_EQ(ImodelFindModuleMatch("u19999?", &m_top, start, true, true), m_chain[199990]);
    EXPECT_FALSE(ImodelIsLoop(top, top->GetSubBlocks()));
    EXPECT_TRUE(ImodelHasSubHdlBlocks(top->GetSubBlocks()));
    EXPECT_TRUE(top->IsStructural());
    EXPECT_FALSE(ImodelIsTopLevelModuleOfFile(top->GetModuleFile(), bottom));
    ImodelModule::ModuleSet related;
    m_chain[kDepth / 2]->GetAllRelatedModules(related, -1, -1);
    EXPECT_EQ(related.size(), static_cast<std::size_t>(kDepth));
    ImodelUpdateStimulusAssociation(
        IfileObject(ImodelFileName("/p/stimulus.vhd"), zorpaFT_HDL, ImodelFMFull, true, false), &m_top);

    // The dump stops at its depth limit and says so.
    std::ostringstream dump;
    ImodelDumpTree(dump, "", &m_top, "work");
    const std::string text = dump.str();
    EXPECT_NE(text.find("... (levels below 1000 are not shown)"), std::string::npos);

    // The root: every unit but the bottom is a package.
    for (ImodelModule* unit : m_chain) unit->SetIsPackage(unit != bottom);
    EXPECT_EQ(ImodelGetFirstValidRoot(&m_top), bottom);
    for (ImodelModule* unit : m_chain) unit->SetIsPackage(false);

    // A link back to the top closes a cycle of 200,000 units.
    bottom->AddSubBlock(top, false);
    EXPECT_TRUE(ImodelIsLoop(top, top->GetSubBlocks()));
    EXPECT_EQ(ImodelCountFiles(top, -1), kDepth);
    std::ostringstream cyclic;
    ImodelDumpTree(cyclic, "", &m_top, "work");

    // Removing a unit in the middle, then the whole library.
    ImodelRemoveModulesOfFile(m_chain[kDepth / 2]->GetModuleFile(), nullptr, true, false, false, nullptr, nullptr);
    EXPECT_EQ(ImodelCountFiles(top, -1), kDepth / 2);
    Design().Reset();
}
