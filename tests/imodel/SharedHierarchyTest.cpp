// Answers that go once along every path of a hierarchy (the file count, the
// simulator parameters) on hierarchies whose units are shared: the same
// answers as a walk along every path, on hierarchies where such a walk
// would never end.
#include "ModuleTestSupport.h"

#include "MessageRecorder.h"

#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModuleTree.h"

#include <climits>
#include <random>

namespace {

using Module = std::unique_ptr<ImodelModule>;

class SharedHierarchyTest : public ModuleFixture {
protected:
    boost::shared_ptr<IfileObjectEx> File(const std::string& name)
    {
        m_files.push_back(MakeFile("/p/" + name + ".vhd"));
        return m_files.back();
    }
    ImodelModule* Unit(const std::string& name, bool withFile, const std::string& params = "")
    {
        m_units.push_back(MakeModule(name, withFile ? File(name) : nullptr));
        m_units.back()->SetVSimParams(params);
        return m_units.back().get();
    }
    // A top unit over `levels` levels of two units each; each unit uses both
    // units of the level below it.
    ImodelModule* Diamond(int levels, bool withFiles)
    {
        ImodelModule* top = Unit("top", withFiles);
        std::vector<ImodelModule*> above{top};
        for (int level = 0; level < levels; ++level) {
            std::vector<ImodelModule*> here{Unit("d" + std::to_string(level) + "a", withFiles),
                                            Unit("d" + std::to_string(level) + "b", withFiles)};
            for (ImodelModule* parent : above)
                for (ImodelModule* sub : here) parent->AddSubBlock(sub, false);
            above = here;
        }
        return top;
    }

    std::vector<boost::shared_ptr<IfileObjectEx>> m_files;
    std::vector<Module> m_units;
};

// The walks as their answers are defined: once along every path.
void CountAlongEveryPath(const std::deque<ImodelModule*>& list, int limit, int& count)
{
    for (ImodelModule* module : list) {
        if (module->GetModuleFile() && ++count >= limit && limit != -1) return;
        const auto* subBlocks = module->GetSubBlocks();
        if (subBlocks != nullptr) CountAlongEveryPath({subBlocks->begin(), subBlocks->end()}, limit, count);
    }
}

void ParamsAlongEveryPath(const ImodelModule* module, std::string& params)
{
    if (!module->GetVSimParams().empty()) params += (params.empty() ? "" : " ") + module->GetVSimParams();
    if (module->GetSubBlocks() != nullptr)
        for (const ImodelModule* sub : *module->GetSubBlocks()) ParamsAlongEveryPath(sub, params);
}

}  // namespace

TEST_F(SharedHierarchyTest, CountsAndParametersAreThoseOfAWalkAlongEveryPath)
{
    std::mt19937 random(33);
    for (int round = 0; round < 300; ++round) {
        // Units linked only to units made after them: no cycle.
        std::vector<ImodelModule*> units;
        const int size = 2 + static_cast<int>(random() % 12);
        for (int i = 0; i < size; ++i) {
            const std::string params = random() % 3 == 0 ? "-p" + std::to_string(i) : "";
            units.push_back(Unit("u" + std::to_string(i), random() % 3 != 0, params));
        }
        for (int i = 0; i < size; ++i)
            for (int j = i + 1; j < size; ++j)
                for (unsigned links = random() % 5 == 0 ? 1 + random() % 2 : 0; links > 0; --links)
                    units[i]->AddSubBlock(units[j], false);

        for (const int limit : {-1, -3, 0, 1, 2, 3, 5, 8, 13, 40}) {
            int expected = 0;
            CountAlongEveryPath({units[0]}, limit, expected);
            ASSERT_EQ(ImodelCountFiles(units[0], limit), expected) << "round " << round << ", limit " << limit;
        }
        for (const std::string start : {"", "-before"}) {
            std::string expected = start;
            ParamsAlongEveryPath(units[0], expected);
            std::string params = start;
            ImodelAppendVSimParams(units[0], params);
            ASSERT_EQ(params, expected) << "round " << round;
        }
        m_units.clear();
    }
}

TEST_F(SharedHierarchyTest, ADeepDiamondIsCountedWithoutWalkingItsPaths)
{
    // 2^61 places below the top: more than an int holds.
    ImodelModule* top = Diamond(60, true);
    EXPECT_EQ(ImodelCountFiles(top, -1), INT_MAX);
    const int limited = ImodelCountFiles(top, 1000);
    EXPECT_GE(limited, 1000);
    EXPECT_LE(limited, 1000 + 61);
    EXPECT_EQ(ImodelCountFiles(top, 1), 1);

    m_units.clear();
    top = Diamond(30, false);
    top->SetVSimParams("-t");
    ASSERT_TRUE(m_units[3]->SetVSimParams("-x"));  // one unit of the second level: two places
    std::string params;
    ImodelAppendVSimParams(top, params);
    EXPECT_EQ(params, "-t -x -x");
    EXPECT_EQ(ImodelCountFiles(top, -1), 0);
}

TEST_F(SharedHierarchyTest, ALinkBackUpTheHierarchyIsNotFollowed)
{
    ImodelModule* a = Unit("a", true, "-a");
    ImodelModule* b = Unit("b", true, "-b");
    ImodelModule* c = Unit("c", false, "-c");
    a->AddSubBlock(b, false);
    b->AddSubBlock(c, false);
    c->AddSubBlock(a, false);
    b->AddSubBlock(b, false);
    EXPECT_EQ(ImodelCountFiles(a, -1), 2);
    std::string params;
    ImodelAppendVSimParams(a, params);
    EXPECT_EQ(params, "-a -b -c");
}
