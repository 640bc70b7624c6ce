// The model's registry of core-tool managers and the functions that reach a
// manager or tell a core's files, with tools hidden and visible; the hidden
// steps of the flow; the assignment-line test of the set-up files.
#include "itool/ItoolCoreTools.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "iprocess/IprocessConditions.h"
#include "itool/ItoolIsAssignmentLine.h"
#include "itool/ItoolVeyrun.h"

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
    std::string GetToolName() override { return "Logging " + std::to_string(m_core); }
    bool UpdateDataBase() override { return Note("update"); }
    void SaveNewWorkspaceTimeStamp() override { Note("save"); }
    bool CheckNewCoresCreated() override { return Note("check"); }
    void Refresh() override { Note("refresh"); }
    // What the registry never asks.
    const char* GetXmlSPIRITNode() override { return "none"; }
    bool OpenTool() override { return false; }
    bool OpenCore(const IfileObject&) override { return false; }
    bool ImportCore(const IfileObject&, ImodelFileName&) override { return false; }
    bool RemoveCore(const IfileObjectEx&, bool) override { return false; }
    bool AddCoreToProject(const IfileObject&) override { return false; }
    bool OnlyOneCorePerProject() override { return false; }
    bool ImportCoreFilesInReadOnly() override { return false; }
    bool ImportOldCores() override { return false; }
    bool ConvertDataBase(int, int) override { return false; }
    bool StartTool(bool) override { return false; }
    bool StopTool() override { return false; }

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

// Two managers of the process-wide model for one test: type 32 for
// synthesis (never hidden), type 31 for EDIF generation (hidden while
// IDE_GENERATE_EDIF reads 1, as it does at first).
class ItoolCoreToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefSetFL("IDE_GENERATE_EDIF", "1");
        Model().AddCoreToolManager(std::make_unique<LoggingCoreTool>(zorpaFT_ARM_LIB, ideSYNTHESIS, log));
        Model().AddCoreToolManager(std::make_unique<LoggingCoreTool>(zorpaFT_ARM_DB, ideGENERATEEDIF, log));
    }
    void TearDown() override
    {
        for (int type : {zorpaFT_ARM_LIB, zorpaFT_ARM_DB})
            EXPECT_NE(Model().RemoveCoreToolManager(Model().GetCoreToolManager(type)), nullptr);
        DefReset();
    }
    static Imodel& Model() { return Imodel::GetInstance(); }

    Log log;
};

}  // namespace

TEST_F(ItoolCoreToolsTest, ManagersOfHiddenToolsAreLeftAlone)
{
    EXPECT_FALSE(Model().CheckNewCores(zorpaFT_SIM));    // no manager of that type
    EXPECT_TRUE(Model().CheckNewCores(zorpaFT_ARM_DB));  // hidden: consistent without asking
    Model().RefreshCoreTool(zorpaFT_ARM_DB);
    EXPECT_TRUE(Model().CheckNewCores(zorpaFT_ARM_LIB));
    Model().RefreshCoreTool(zorpaFT_ARM_LIB);
    EXPECT_EQ(log, (Log{"save 32", "check 32", "refresh 32"}));

    EXPECT_EQ(ItoolGetActiveCoreTool(zorpaFT_ARM_LIB, Model()), Model().GetCoreToolManager(zorpaFT_ARM_LIB));
    EXPECT_EQ(ItoolGetActiveCoreTool(zorpaFT_ARM_DB, Model()), nullptr);
    EXPECT_EQ(ItoolGetActiveCoreTool(zorpaFT_GEN, Model()), ItoolVeyrun::GetInstance());  // 34 is 33's

    for (const char* edif : {"1", "0"}) {
        DefSetFL("IDE_GENERATE_EDIF", edif);
        log.clear();
        ItoolUpdateAllCoreTools();
        EXPECT_EQ(log, edif[0] == '1' ? Log{"update 32"} : (Log{"update 32", "update 31"}));
    }
}

TEST_F(ItoolCoreToolsTest, CoreFilesAreKnownByTheirTypeOrTheirAncestorsInTheManagersOrder)
{
    const IfileObject core("/p/cores/fifo.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, true, false);
    const IfileObject armLibrary("/p/arm/lib.a", zorpaFT_ARM_LIB, ImodelFMFull, true, false);
    const IfileObject source("/p/hdl/fifo.v", zorpaFT_HDL, ImodelFMFull, true, false);
    EXPECT_TRUE(ItoolIsMainCoreFile(&core) && ItoolIsMainCoreFile(&armLibrary));
    EXPECT_FALSE(ItoolIsMainCoreFile(&source) || ItoolIsMainCoreFile(nullptr));

    zorpaFileManagerTypes type = zorpaFT_UNKNOWN;
    IfileObjectEx generated(source, false);
    EXPECT_FALSE(ItoolIsCoreSubFile(generated, type));
    generated.AddParentFile(armLibrary);
    generated.AddParentFile(core);
    EXPECT_TRUE(ItoolIsCoreSubFile(generated, type));
    EXPECT_EQ(type, zorpaFT_OMBRIX_CXF);  // the block-design tool's manager comes first

    // A manager taken out is handed back and no longer asked.
    std::unique_ptr<QuorlaneCoreToolManager> veyrun = Model().RemoveCoreToolManager(ItoolVeyrun::GetInstance());
    ASSERT_NE(veyrun, nullptr);
    EXPECT_EQ(Model().RemoveCoreToolManager(veyrun.get()), nullptr);
    EXPECT_TRUE(ItoolIsCoreSubFile(generated, type));
    EXPECT_EQ(type, zorpaFT_ARM_LIB);
    EXPECT_FALSE(ItoolIsMainCoreFile(&core));
    Model().AddCoreToolManager(std::move(veyrun));
}

TEST(ItoolIsAssignmentLine, TheKeyStartsTheLineAndOnlyBlanksStandBeforeTheEqualsSign)
{
    for (const char* line : {"Resolution=ns", "Resolution   = ns"})
        EXPECT_TRUE(ItoolIsAssignmentLine(line, "Resolution"));
    for (const char* line : {" Resolution = ns", "ResolutionX = ns", "Resolution\t= ns", "Resolution", "Res"})
        EXPECT_FALSE(ItoolIsAssignmentLine(line, "Resolution")) << line;
}
