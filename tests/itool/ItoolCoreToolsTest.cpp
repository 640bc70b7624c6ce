// The model's registry of core-tool managers and the functions that reach a
// manager or tell a core's files, with tools hidden and visible; the hidden
// steps of the flow; the assignment-line test of the set-up files.
#include "itool/ItoolCoreTools.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "iprocess/IprocessIsToolHidden.h"
#include "itool/ItoolIsAssignmentLine.h"
#include "itool/ItoolVeyrun.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A manager that writes what it is asked into a log.
class LoggingCoreTool : public QuorlaneCoreToolManager {
public:
    LoggingCoreTool(zorpaFileManagerTypes core, ImodelFunctionType tool, Log& log)
        : m_core(core), m_tool(tool), m_log(log)
    {
    }
    zorpaFileManagerTypes GetCoreType() override { return m_core; }
    ImodelFunctionType GetToolType() override { return m_tool; }
    bool UpdateDataBase() override { return Note("update"); }
    void SaveNewWorkspaceTimeStamp() override { Note("save"); }
    bool CheckNewCoresCreated() override { return Note("check") && checkAnswer; }
    void Refresh() override { Note("refresh"); }

    bool checkAnswer = false;

private:
    bool Note(const char* what)
    {
        m_log.push_back(std::string(what) + " " + std::to_string(m_core));
        return true;
    }
    zorpaFileManagerTypes m_core;
    ImodelFunctionType m_tool;
    Log& m_log;
};

// Two managers added to the process-wide model for one test: type 32 for a
// synthesis tool (never hidden), type 31 for EDIF generation (hidden while
// IDE_GENERATE_EDIF reads 1, as here).
class ItoolCoreToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        DefSetFL("IDE_GENERATE_EDIF", "1");
        auto visible = std::make_unique<LoggingCoreTool>(zorpaFT_ARM_LIB, ideSYNTHESIS, log);
        auto hidden = std::make_unique<LoggingCoreTool>(zorpaFT_ARM_DB, ideGENERATEEDIF, log);
        m_visible = visible.get();
        m_hidden = hidden.get();
        Model().AddCoreToolManager(std::move(visible));
        Model().AddCoreToolManager(std::move(hidden));
    }
    void TearDown() override
    {
        EXPECT_NE(Model().RemoveCoreToolManager(m_visible), nullptr);
        EXPECT_NE(Model().RemoveCoreToolManager(m_hidden), nullptr);
        DefReset();
    }
    static Imodel& Model() { return Imodel::GetInstance(); }

    Log log;
    LoggingCoreTool* m_visible = nullptr;
    LoggingCoreTool* m_hidden = nullptr;
};

}  // namespace

TEST_F(ItoolCoreToolsTest, ManagersOfHiddenToolsAreLeftAlone)
{
    EXPECT_FALSE(Model().CheckNewCores(zorpaFT_GEN + 1));  // no manager of that type
    EXPECT_TRUE(Model().CheckNewCores(zorpaFT_ARM_DB));    // hidden: consistent without asking
    Model().RefreshCoreTool(zorpaFT_ARM_DB);
    EXPECT_TRUE(log.empty());

    EXPECT_FALSE(Model().CheckNewCores(zorpaFT_ARM_LIB));
    m_visible->checkAnswer = true;
    EXPECT_TRUE(Model().CheckNewCores(zorpaFT_ARM_LIB));
    Model().RefreshCoreTool(zorpaFT_ARM_LIB);
    EXPECT_EQ(log, (Log{"save 32", "check 32", "save 32", "check 32", "refresh 32"}));

    EXPECT_EQ(ItoolGetActiveCoreTool(zorpaFT_ARM_LIB, Model()), m_visible);
    EXPECT_EQ(ItoolGetActiveCoreTool(zorpaFT_ARM_DB, Model()), nullptr);
    EXPECT_EQ(ItoolGetActiveCoreTool(zorpaFT_GEN, Model()), ItoolVeyrun::GetInstance());

    log.clear();
    ItoolUpdateAllCoreTools();
    EXPECT_EQ(log, Log{"update 32"});
    // With EDIF generation shown again, its manager takes part.
    DefSetFL("IDE_GENERATE_EDIF", "0");
    log.clear();
    ItoolUpdateAllCoreTools();
    EXPECT_EQ(log, (Log{"update 32", "update 31"}));
}

TEST_F(ItoolCoreToolsTest, CoreFilesAreKnownByTheirTypeOrTheirAncestors)
{
    const IfileObject core("/p/cores/fifo.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, true, false);
    const IfileObject armLibrary("/p/arm/lib.a", zorpaFT_ARM_LIB, ImodelFMFull, true, false);
    const IfileObject source("/p/hdl/fifo.v", zorpaFT_HDL, ImodelFMFull, true, false);
    EXPECT_TRUE(ItoolIsMainCoreFile(&core));
    EXPECT_TRUE(ItoolIsMainCoreFile(&armLibrary));
    EXPECT_FALSE(ItoolIsMainCoreFile(&source));
    EXPECT_FALSE(ItoolIsMainCoreFile(nullptr));

    zorpaFileManagerTypes type = zorpaFT_UNKNOWN;
    IfileObjectEx generated(source, false);
    EXPECT_FALSE(ItoolIsCoreSubFile(generated, type));
    EXPECT_EQ(type, zorpaFT_UNKNOWN);
    generated.AddParentFile(armLibrary);
    generated.AddParentFile(core);
    // The managers decide in their order: the block-design tool's first.
    EXPECT_TRUE(ItoolIsCoreSubFile(generated, type));
    EXPECT_EQ(type, zorpaFT_OMBRIX_CXF);

    // A manager taken out is handed back and no longer asked.
    std::unique_ptr<QuorlaneCoreToolManager> veyrun = Model().RemoveCoreToolManager(ItoolVeyrun::GetInstance());
    ASSERT_NE(veyrun, nullptr);
    EXPECT_EQ(Model().RemoveCoreToolManager(veyrun.get()), nullptr);
    EXPECT_EQ(Model().GetCoreToolManager(zorpaFT_GEN), nullptr);
    EXPECT_TRUE(ItoolIsCoreSubFile(generated, type));
    EXPECT_EQ(type, zorpaFT_ARM_LIB);
    EXPECT_FALSE(ItoolIsMainCoreFile(&core));
    Model().AddCoreToolManager(std::move(veyrun));
    EXPECT_NE(ItoolVeyrun::GetInstance(), nullptr);
}

TEST(IprocessIsToolHidden, OnlyTheSwitchedStepsHide)
{
    DefReset();
    Imodel& model = Imodel::GetInstance();
    const bool configurator = !model.IntegrateDremmet();
    const bool packager = !model.IsPackagerEnabled();
    for (const char* edif : {"0", "1"}) {
        DefSetFL("IDE_GENERATE_EDIF", edif);
        for (int value = 0; value < ImodelFunctionTypeCount; ++value) {
            const auto kind = static_cast<ImodelFunctionType>(value);
            bool expected = false;
            if (kind == ideARM) expected = configurator;
            if (kind == ideGENERATEEDIF) expected = edif[0] == '1';
            if (kind == idePACKAGER) expected = packager;
            if (kind == ideCONSTRAINTSEDITOR) expected = !ImodelIsConstraintEditorSupported();
            EXPECT_EQ(IprocessIsToolHidden(kind, model), expected) << value << " " << edif;
        }
    }
    DefReset();
}

TEST(ItoolIsAssignmentLine, TheKeyStartsTheLineAndOnlyBlanksStandBeforeTheEqualsSign)
{
    EXPECT_TRUE(ItoolIsAssignmentLine("Resolution=ns", "Resolution"));
    EXPECT_TRUE(ItoolIsAssignmentLine("Resolution   = ns", "Resolution"));
    EXPECT_FALSE(ItoolIsAssignmentLine(" Resolution = ns", "Resolution"));
    EXPECT_FALSE(ItoolIsAssignmentLine("ResolutionX = ns", "Resolution"));
    EXPECT_FALSE(ItoolIsAssignmentLine("Resolution\t= ns", "Resolution"));
    EXPECT_FALSE(ItoolIsAssignmentLine("Resolution", "Resolution"));
    EXPECT_FALSE(ItoolIsAssignmentLine("Res", "Resolution"));
}
