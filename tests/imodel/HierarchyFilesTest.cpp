#include "ReparseTestSupport.h"

#include "imodel/design/ImodelHierarchyFiles.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// A mixed VHDL and Verilog design:
//   top (src/top.vhd, uses package pkg twice)
//     mid (src/mid.vhd, for synthesis only; attached: ip/enc.vhd encrypted,
//          sim/mid_sim.vhd for simulation only)
//       defs (src/defs.v, included by leaf.v)
//       leaf (src/leaf.v)
//     blk (sch/blk.sch, a schematic shown as a schematic component)
//   pkg (src/pkg.vhd, a package)
//   helper (sim/helper.vhd), named in top's include-for-simulation list,
//     whose own list names top again.
class HierarchyFilesTest : public ReparseFixture {
protected:
    void SetUp() override
    {
        ReparseFixture::SetUp();
        // Read once per process: set before the first collection asks.
        DefSetFL("IDE_INCLUDE_FOR_SIMULATION_ENABLED", "1");
        ASSERT_TRUE(Imodel::GetInstance().IsIncludeForSimulationEnabled());
        Design().SetDefaultVHDL(true);

        pkgFile = ProjectFile("src/pkg.vhd");
        pkgFile->SetDefinedPackages({"pkg"});
        topFile = ProjectFile("src/top.vhd");
        topFile->SetUsedPackages({"work.pkg.all", "work.pkg.width"});
        midFile = ProjectFile("src/mid.vhd");
        OnlyFor(midFile, ideSYNTHESIS);
        defsFile = ProjectFile("src/defs.v");
        leafFile = ProjectFile("src/leaf.v");
        leafFile->AddIncludedFile(*defsFile);
        blkFile = ProjectFile("sch/blk.sch", zorpaFT_SCH);
        encFile = ProjectFile("ip/enc.vhd");
        encFile->SetIsEncryptedFile(true);
        simFile = ProjectFile("sim/mid_sim.vhd");
        OnlyFor(simFile, ideSIMULATION);
        helperFile = ProjectFile("sim/helper.vhd");

        top = Unit("top", topFile);
        mid = Unit("mid", midFile);
        ImodelModule* defs = Unit("defs", defsFile, "work", zorpaMODULE_VERILOG);
        leaf = Unit("leaf", leafFile, "work", zorpaMODULE_VERILOG);
        ImodelModule* blk = Unit("blk", blkFile, "work", zorpaMODULE_SCHEMATIC);
        pkg = Unit("pkg", pkgFile, "work", zorpaMODULE_VHDL, true);
        helper = Unit("helper", helperFile);
        top->AddSubBlock(mid, false);
        top->AddSubBlock(blk, false);
        mid->AddSubBlock(defs, false);
        mid->AddSubBlock(leaf, false);
        mid->AddAssociatedFile(*encFile);
        mid->AddAssociatedFile(*simFile);
        blk->SetComponent(&schematic);
        top->GetSimulationModuleToIncludeList()->push_back(helper->GetComponentID());
        helper->GetSimulationModuleToIncludeList()->push_back(top->GetComponentID());
        Design().UpdateTopModules(Design().FindLibraryByName("work"));
    }

    static void OnlyFor(const Entry& file, ImodelFunctionType tool)
    {
        file->SetUsedByAllTools(false);
        file->SetUseForTool(IfileObjectEx::type_Filter(tool, ""));
    }

    // Names below the project folder.
    template <class Files>
    static Names Relative(const Files& files)
    {
        Names names;
        for (const auto& file : files) {
            std::string name = ToValue(file).GetInternalFileName().GetString();
            if (name.rfind("<project>/", 0) == 0) name.erase(0, 10);
            names.push_back(name);
        }
        return names;
    }
    static const IfileObject& ToValue(const Entry& file) { return *file; }
    static const IfileObject& ToValue(const IfileObject& file) { return file; }

    Names Hdl(ImodelFunctionType tool, std::deque<IfileObject>* included = nullptr, bool notify = false)
    {
        ImodelModule::FileEntries files;
        ImodelGetHdlFileNames(files, top, tool, included, notify);
        return Relative(files);
    }

    TestComponent schematic{{"blk", "work", ""}, VyIfaces::IComponent::Schematic};
    Entry pkgFile, topFile, midFile, defsFile, leafFile, blkFile, encFile, simFile, helperFile;
    ImodelModule* top = nullptr;
    ImodelModule* mid = nullptr;
    ImodelModule* leaf = nullptr;
    ImodelModule* pkg = nullptr;
    ImodelModule* helper = nullptr;
};

}  // namespace

TEST_F(HierarchyFilesTest, EachToolGetsItsOwnOrderedList)
{
    std::deque<IfileObject> included;
    EXPECT_EQ(Hdl(ideSYNTHESIS, &included),
              (Names{"ip/enc.vhd", "src/leaf.v", "src/mid.vhd", "src/pkg.vhd", "src/top.vhd", "viewdraw/top.vhd"}));
    EXPECT_EQ(Relative(included), Names{"src/defs.v"});
    EXPECT_EQ(Hdl(ideSIMULATION), (Names{"src/leaf.v", "sim/mid_sim.vhd", "src/pkg.vhd", "src/top.vhd",
                                         "viewdraw/top.vhd", "sim/helper.vhd"}));
    // The constraints editor does not enter the schematic component and
    // takes no include into account.
    included.clear();
    EXPECT_EQ(Hdl(idePACKAGER, &included), (Names{"src/defs.v", "src/leaf.v", "src/pkg.vhd", "src/top.vhd"}));
    EXPECT_TRUE(included.empty());
    // The HDL written for a schematic is no project file, but up to date.
    ImodelModule::FileEntries files;
    ImodelGetHdlFileNames(files, top, ideSYNTHESIS, nullptr, false);
    EXPECT_FALSE(Files().ContainsFile(*files.back()));
    EXPECT_EQ(files.back()->GetFileState(), imodelFileUpToDate);

    // A Verilog design gets the Verilog of its schematic; callers keep their files.
    Design().SetDefaultVHDL(false);
    files = {helperFile};
    ImodelGetHdlFileNames(files, top, ideSYNTHESIS, nullptr, false);
    EXPECT_EQ(Relative(files), (Names{"sim/helper.vhd", "ip/enc.vhd", "src/leaf.v", "src/mid.vhd", "src/pkg.vhd",
                                      "src/top.vhd", "viewdraw/top.v"}));
}

TEST_F(HierarchyFilesTest, CyclicDesignsAndIncludeListsEnd)
{
    ImodelModule* loopA = Unit("loop_a", ProjectFile("loop/a.vhd"));
    ImodelModule* loopB = Unit("loop_b", ProjectFile("loop/b.vhd"));
    loopA->AddSubBlock(loopB, false);
    loopB->AddSubBlock(loopA, false);
    loopA->GetSimulationModuleToIncludeList()->push_back(loopB->GetComponentID());
    loopB->GetSimulationModuleToIncludeList()->push_back(loopA->GetComponentID());

    ImodelModule::FileEntries files;
    ImodelGetHdlFileNames(files, loopA, ideSIMULATION, nullptr, false);
    EXPECT_EQ(Relative(files), (Names{"loop/b.vhd", "loop/a.vhd", "src/pkg.vhd"}));
    EXPECT_EQ(ImodelCountFiles(loopA, -1), 2);
    EXPECT_TRUE(ImodelIsUsedInHierarchy(*loopB->GetModuleFile(), loopA));
    EXPECT_FALSE(ImodelHasCoreSubBlocks(loopA, zorpaFT_OMBRIX_CXF));
}
