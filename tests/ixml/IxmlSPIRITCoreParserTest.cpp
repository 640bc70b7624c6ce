// What a core brings into the project: its file sets (types, extensions,
// tool reservations, local copies, read-only rules), its libraries and the
// files of the unit it defines, the unit made when no HDL file defines it,
// and descriptions written to harm (loops, paths out of the core).
#include "ixml/IxmlSPIRITCoreParser.h"

#include "DebugCapture.h"
#include "MessageRecorder.h"
#include "SpiritCoreProject.h"

#include "imodel/design/ImodelModuleTree.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

class IxmlSPIRITCoreParserTest : public SpiritCoreProject {
protected:
    // Reads the core at `path` and adds it to the project; the units it
    // defines come back in `modules`.
    bool Add(const std::string& path, VyIfaces::IComponent* component = nullptr, bool readOnly = false,
             bool localCopies = false)
    {
        IxmlSPIRITCoreParser parser(CoreFile(path), readOnly, "Component", component, false, false, localCopies);
        modules.clear();
        return parser.ParseComponent(CoreFile(path), true, true, false, &modules);
    }

    static std::vector<std::string> Names(const std::deque<IfileObject>& list)
    {
        std::vector<std::string> names;
        for (const IfileObject& file : list) names.push_back(file.GetFileTitleAndExt());
        return names;
    }

    std::set<ImodelModule*> modules;
    MessageRecorder messages;
};

TEST_F(IxmlSPIRITCoreParserTest, TheFileSetTableFollowsTheProjectsLanguages)
{
    const std::string path = project.Write("cores/a.cxf", SpiritCoreWriter("a").Text());
    const auto extensionsOf = [&](const char* set) {
        const IxmlSPIRITCoreParser parser(CoreFile(path), false, "Component", nullptr, true, false, false);
        const auto& readers = parser.GetViewReaders();
        const auto found =
            std::find_if(readers.begin(), readers.end(), [set](const auto& r) { return r.main.name == set; });
        std::string text;
        for (const std::string& extension : found->extensions) text += extension + " ";
        return text;
    };
    EXPECT_EQ(extensionsOf("HDL_FILESET"), "v h ");
    EXPECT_EQ(extensionsOf("ANY_SYNTHESIS_FILESET"), "v h sdc ");
    design.SetDefaultVHDL(true);
    EXPECT_EQ(extensionsOf("STIMULUS_FILESET"), "vhd ");
    DefSetFL("IDE_MIXED_HDL_ENABLED", "1");
    EXPECT_EQ(extensionsOf("HDL_PACKAGE_FILESET"), "vhd v h ");

    // Every name is known once; tool variants live in the synthesis set; a
    // set for one tool copies nothing; the component set takes the core's type.
    const IxmlSPIRITCoreParser parser(CoreFile(path), false, "Component", nullptr, true, false, false);
    std::set<std::string> names;
    for (const auto& reader : parser.GetViewReaders()) {
        EXPECT_TRUE(names.insert(reader.main.name).second) << reader.main.name;
        if (!reader.alternative.name.empty()) { EXPECT_TRUE(names.insert(reader.alternative.name).second); }
        for (const auto& sub : reader.subSets) {
            EXPECT_TRUE(names.insert(sub.name).second);
            EXPECT_FALSE(sub.optionKey.empty());
            EXPECT_FALSE(reader.allTools);
        }
        if (!reader.allTools) { EXPECT_FALSE(reader.copyLocally) << reader.main.name; }
    }
    EXPECT_EQ(names.size(), 13u);
    EXPECT_EQ(parser.GetViewReaders().back().fileType, zorpaFT_OMBRIX_CXF);
}

TEST_F(IxmlSPIRITCoreParserTest, ACoreBecomesProjectFilesOfItsSetsTypesAndTools)
{
    project.Write("cores/fifo/hdl/fifo.v", "module fifo(input a, output b); assign b = a; endmodule\n");
    project.Write("cores/fifo/hdl/fifo_pkg.h", "`define W 8\n");
    project.Write("cores/fifo/hdl/readme.txt", "not HDL\n");
    project.Write("cores/fifo/syn/fifo.sdc", "create_clock\n");
    project.Write("cores/fifo/syn/fifo_syn.v", "module fifo_syn; endmodule\n");
    project.Write("cores/fifo/syn/fifo_prec.v", "module fifo_prec; endmodule\n");
    project.Write("cores/fifo/pr/fifo.pdc", "set_io\n");
    project.Write("cores/fifo/pr/fifo.cdb", "db\n");
    project.Write("cores/fifo/sim/ram.mem", "00\n");
    project.Write("cores/fifo/sim/run.do", "run -all\n");
    project.Write("cores/fifo/sim/tb_fifo.v", "module tb_fifo; endmodule\n");
    const std::string path = project.Write(
        "cores/fifo/fifo.cxf",
        SpiritCoreWriter("fifo")
            .Hdl("Verilog")
            .File("HDL_FILESET", "hdl", "fifo.v")
            .File("HDL_FILESET", "hdl", "fifo_pkg.h", "<vendorExtension><isIncludeFile/></vendorExtension>")
            .File("HDL_FILESET", "hdl", "readme.txt")
            .File("SYNPLIFY_SYNTHESIS_FILESET", "syn", "fifo_syn.v")
            .File("PRECISION_SYNTHESIS_FILESET", "syn", "fifo_prec.v")
            .File("OTHER_SYNTHESIS_FILESET", "syn", "fifo.sdc", "<userFileType>SDC</userFileType>")
            .File("PALLADOR_FILESET", "pr", "fifo.pdc",
                  "<fileType><userFileType type=\"PDC\">LIB</userFileType></fileType>")
            .File("PALLADOR_FILESET", "pr", "fifo.cdb", "<logicalName>fifolib</logicalName>")
            .File("ANY_SIMULATION_FILESET", "sim", "ram.mem")
            .File("ANY_SIMULATION_FILESET", "sim", "run.do",
                  "<userFileType>DO</userFileType><vendorExtension><IncludeInRunDo/></vendorExtension>")
            .File("STIMULUS_FILESET", "sim", "tb_fifo.v",
                  "<vendorExtension><ModuleUnderTest>fifo</ModuleUnderTest></vendorExtension>")
            .Reference("UNKNOWN_FILESET")
            .Reference("ZEVORU_FILESET")
            .Text());
    TestComponent user(VyIfaces::IComponent::UserIP, "fifo", path);
    IxmlSPIRITCoreParser parser(CoreFile(path), false, "Component", &user, false, false, false);
    ASSERT_TRUE(parser.ParseComponent(CoreFile(path), true, true, false, &modules));

    EXPECT_EQ(Members(), (std::vector<std::string>{"cores/fifo/fifo.cxf ombrix_cxf", "cores/fifo/hdl/fifo.v hdl",
                                                   "cores/fifo/hdl/fifo_pkg.h hdl", "cores/fifo/pr/fifo.cdb arm_db",
                                                   "cores/fifo/pr/fifo.pdc pdc", "cores/fifo/sim/run.do do",
                                                   "cores/fifo/sim/tb_fifo.v tb_hdl", "cores/fifo/syn/fifo.sdc sdc",
                                                   "cores/fifo/syn/fifo_prec.v hdl", "cores/fifo/syn/fifo_syn.v hdl",
                                                   "simulation/ram.mem sim"}));
    // Tool reservations: the synthesis variants by their keys; the other
    // synthesis files for synthesis but not for the variants.
    const auto syn = Entry(project / "cores/fifo/syn/fifo_syn.v");
    EXPECT_FALSE(syn->IsUsedByAllTools());
    EXPECT_TRUE(syn->IsUsedForTool(ideSYNTHESIS, "SYNPLIFY7_EXT", true));
    EXPECT_FALSE(syn->IsUsedForTool(ideSYNTHESIS, "PRECISION_EXT", true));
    const auto sdc = Entry(project / "cores/fifo/syn/fifo.sdc");
    EXPECT_TRUE(sdc->IsUsedForTool(ideSYNTHESIS, "", true));
    EXPECT_FALSE(sdc->IsUsedForTool(ideSYNTHESIS, "SYNPLIFY7_EXT", true));
    EXPECT_FALSE(sdc->IsUsedForTool(idePALLADOR, "", true));
    EXPECT_TRUE(Entry(project / "cores/fifo/pr/fifo.pdc")->IsUsedForTool(idePALLADOR, "", true));
    EXPECT_EQ(Entry(project / "cores/fifo/pr/fifo.cdb")->GetLibraryName(), "fifolib");
    EXPECT_TRUE(Entry(project / "cores/fifo/hdl/fifo_pkg.h")->IsIncludedFile());
    EXPECT_TRUE(Entry(project / "cores/fifo/hdl/fifo.v")->IsUsedByAllTools());
    EXPECT_TRUE(Entry(project / "cores/fifo/hdl/fifo.v")->IsChildOfFile(CoreFile(path), false));
    ASSERT_TRUE(Entry(project / "cores/fifo/sim/tb_fifo.v")->GetStimulusOptions());
    EXPECT_EQ(Entry(project / "cores/fifo/sim/tb_fifo.v")->GetStimulusOptions()->GetModuleUnderTest(), "fifo");
    // The simulation files of a core that is not the core generator's are
    // taken from the project's copy; ".do" files are never copied.
    EXPECT_EQ(project.Read("simulation/ram.mem"), "00\n");
    EXPECT_FALSE(Entry(project / "simulation/run.do"));

    // The unit the core defines: found, and given the core's files.
    ASSERT_EQ(modules.size(), 1u);
    ImodelModule& fifo = **modules.begin();
    EXPECT_EQ(fifo.GetName(), "fifo");
    EXPECT_EQ(Names(fifo.GetSynthesisConstraintFileList()), std::vector<std::string>{"fifo.sdc"});
    EXPECT_EQ(Names(fifo.GetAssociatedFileListConst()),
              (std::vector<std::string>{"fifo.sdc", "ram.mem", "fifo.pdc", "fifo.cdb", "run.do"}));
    EXPECT_EQ(Names(fifo.GetStimulusList()), std::vector<std::string>{"tb_fifo.v"});

    EXPECT_TRUE(messages.Messages().empty());

    // The first set not fully covered: one that skipped a file of a wrong
    // extension; once it is fixed, the next is one that found nothing.
    std::string failing;
    EXPECT_FALSE(parser.IsFilesMapFullyCovered(failing));
    EXPECT_EQ(failing, "HDL_FILESET");
}

TEST_F(IxmlSPIRITCoreParserTest, LibrariesArePrecompiledAndEachSwitchIsAddedOnce)
{
    // A core whose unit no HDL file defines: the unit stays across adds.
    const std::string path = project.Write("cores/gen/gen.cxf", SpiritCoreWriter("gen")
                                                                    .Hdl("Verilog")
                                                                    .Library("alib", "lib/a")
                                                                    .Library("blib", "lib/b")
                                                                    .Library("nopath", "")
                                                                    .Text());
    const auto entry = files.AddOrUpdateFile(IfileObjectEx(CoreFile(path), false), false);
    ImodelModule* gen = nullptr;
    ASSERT_TRUE(IxmlSPIRITCoreParser::CreateUndefinedModule(entry, "gen", "", nullptr, gen));
    gen->SetVSimParams("-L alibx");
    ASSERT_TRUE(Add(path));
    ASSERT_TRUE(Add(path));  // a refresh adds the core again
    ASSERT_EQ(ImodelFindModuleInAnyLib("gen", ""), gen);
    EXPECT_EQ(gen->GetVSimParams(), "-L alibx -L alib -L blib -L nopath");
    for (const char* name : {"alib", "blib"}) {
        const auto library = design.FindLibraryByName(name);
        ASSERT_TRUE(library) << name;
        EXPECT_EQ(library->GetCompileOption(), ZORPA_REFRESH_AND_COMPILE);
        // Relative to the simulation folder, where the simulator looks.
        EXPECT_EQ(library->GetPath(), std::string("../cores/gen/lib/") + (name[0] == 'a' ? "a" : "b"));
    }

    // A library without a path is no library; a VHDL core adds no switch.
    design.Reset();
    const std::string vhdl = project.Write("cores/v/v.cxf", SpiritCoreWriter("v")
                                                                .Hdl("VHDL")
                                                                .LibraryXml("<library><name>only</name></library>")
                                                                .Library("vlib", "lib")
                                                                .Text());
    const auto vEntry = files.AddOrUpdateFile(IfileObjectEx(CoreFile(vhdl), false), false);
    ImodelModule* v = nullptr;
    ASSERT_TRUE(IxmlSPIRITCoreParser::CreateUndefinedModule(vEntry, "v", "", nullptr, v));
    ASSERT_TRUE(Add(vhdl));
    EXPECT_FALSE(design.FindLibraryByName("only"));
    EXPECT_TRUE(design.FindLibraryByName("vlib"));
    EXPECT_EQ(v->GetVSimParams(), "");
}

TEST_F(IxmlSPIRITCoreParserTest, AReservedSDCIsASynthesisConstraintUnlessAProjectIsRead)
{
    project.Write("cores/c/c.v", "module c; endmodule\n");
    project.Write("cores/c/c.sdc", "create_clock\n");
    project.Write("cores/c/free.sdc", "create_clock\n");
    const std::string path = project.Write(
        "cores/c/c.cxf", SpiritCoreWriter("c")
                             .File("HDL_FILESET", "", "c.v")
                             .File("ANY_SYNTHESIS_FILESET", "", "c.sdc", "<userFileType>SDC</userFileType>")
                             .File("OTHER_FILESET", "", "free.sdc")
                             .Text());
    Imodel::GetIsReadingProject() = true;
    ASSERT_TRUE(Add(path));
    Imodel::GetIsReadingProject() = false;
    ImodelModule* core = ImodelFindModuleInAnyLib("c", "");
    ASSERT_NE(core, nullptr);
    EXPECT_TRUE(core->GetSynthesisConstraintFileList().empty());
    EXPECT_EQ(Names(core->GetAssociatedFileListConst()), std::vector<std::string>{"c.sdc"});
    ASSERT_TRUE(Add(path));
    core = ImodelFindModuleInAnyLib("c", "");
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(Names(core->GetSynthesisConstraintFileList()), std::vector<std::string>{"c.sdc"});
}

TEST_F(IxmlSPIRITCoreParserTest, MissingFilesAreToldOnceEachAndTheOthersStillCome)
{
    project.Write("cores/m/here.v", "module here; endmodule\n");
    const std::string path = project.Write("cores/m/m.cxf", SpiritCoreWriter("m")
                                                                .File("HDL_FILESET", "", "here.v")
                                                                .File("HDL_FILESET", "", "gone.v")
                                                                .File("HDL_FILESET", "", "gone.v")
                                                                .Text());
    ASSERT_TRUE(Add(path));
    ASSERT_EQ(messages.WithId("SPIRIT_FILE_NOT_FOUND").size(), 1u);
    EXPECT_NE(messages.WithId("SPIRIT_FILE_NOT_FOUND")[0].text.find("gone.v"), std::string::npos);
    EXPECT_TRUE(Entry(project / "cores/m/here.v"));
}

TEST_F(IxmlSPIRITCoreParserTest, ReadOnlyRulesChangeOnlyTheProjectsFiles)
{
    TempFolder outside;
    const std::string foreign = outside.Write("core/x.v", "module x; endmodule\n");
    const std::string external =
        outside.Write("core/x.cxf", SpiritCoreWriter("x").File("HDL_FILESET", "", "x.v").Text());
    ASSERT_TRUE(Add(external, nullptr, true));
    EXPECT_FALSE(SysHasReadOnlyAttr(foreign));

    project.Write("cores/y/y.v", "module y; endmodule\n");
    project.Write("cores/y/y.cdb", "db\n");
    const std::string local = project.Write(
        "cores/y/y.cxf",
        SpiritCoreWriter("y").File("HDL_FILESET", "", "y.v").File("PALLADOR_FILESET", "", "y.cdb").Text());
    Imodel::IsRunningTests() = true;
    IxmlSPIRITCoreParser::GetReadOnlyFiles().clear();
    ASSERT_TRUE(Add(local, nullptr, true));
    Imodel::IsRunningTests() = false;
    EXPECT_TRUE(SysHasReadOnlyAttr(project / "cores/y/y.v"));
    // The core console writes its database: it stays writable.
    EXPECT_FALSE(SysHasReadOnlyAttr(project / "cores/y/y.cdb"));
    EXPECT_EQ(Names(IxmlSPIRITCoreParser::GetReadOnlyFiles()), std::vector<std::string>{"y.v"});
    IxmlSPIRITCoreParser::GetReadOnlyFiles().clear();

    // The switch that disables read-only imports wins.
    SysSetReadOnlyAttr(project / "cores/y/y.v", false);
    DefSetFL("IDE_CORE_IMPORT_DISABLE_READONLY", "1");
    ASSERT_TRUE(Add(local, nullptr, true));
    EXPECT_FALSE(SysHasReadOnlyAttr(project / "cores/y/y.v"));
}

TEST_F(IxmlSPIRITCoreParserTest, PathsOutOfTheCoreAreRefusedUnlessTheyStayInTheProject)
{
    TempFolder outside;
    outside.Write("lib/stolen.v", "module stolen; endmodule\n");
    outside.Write("core/ok.v", "module ok; endmodule\n");
    const std::string external = outside.Write("core/c.cxf", SpiritCoreWriter("c")
                                                                 .File("HDL_FILESET", "", "ok.v")
                                                                 .File("HDL_FILESET", "../lib", "stolen.v")
                                                                 .File("HDL_FILESET", "", outside / "lib/stolen.v")
                                                                 .File("HDL_FILESET", "sub/../..", "c2.v")
                                                                 .Text());
    ASSERT_TRUE(Add(external));
    EXPECT_TRUE(Entry(outside / "core/ok.v"));
    EXPECT_FALSE(Entry(outside / "lib/stolen.v"));
    EXPECT_EQ(messages.WithId("SPIRIT_FILE_OUTSIDE_CORE").size(), 3u);

    // A core in the project may name the project's own files.
    project.Write("hdl/shared.v", "module shared; endmodule\n");
    const std::string local = project.Write(
        "component/work/d/d.cxf", SpiritCoreWriter("d").File("HDL_FILESET", "../../../hdl", "shared.v").Text());
    ASSERT_TRUE(Add(local));
    EXPECT_TRUE(Entry(project / "hdl/shared.v"));
    EXPECT_EQ(messages.WithId("SPIRIT_FILE_OUTSIDE_CORE").size(), 3u);
}

TEST_F(IxmlSPIRITCoreParserTest, SubComponentsAreReadOnceEachAndNotBeyondADepth)
{
    // a -> b -> a, and a names itself: the walk ends, each file read once.
    project.Write(
        "cores/a.cxf",
        SpiritCoreWriter("a").File("COMPONENT_FILESET", "", "b.cxf").File("COMPONENT_FILESET", "", "a.cxf").Text());
    project.Write("cores/b.cxf", SpiritCoreWriter("b").File("COMPONENT_FILESET", "", "a.cxf").Text());
    IxmlSPIRITCoreParser loop(CoreFile(project / "cores/a.cxf"), false, "Component", nullptr, false, false, false);
    EXPECT_TRUE(loop.ParseComponent(CoreFile(project / "cores/a.cxf"), true, true, false, nullptr));
    EXPECT_EQ(Members(), (std::vector<std::string>{"cores/a.cxf ombrix_cxf"}));

    // A chain far deeper than any core: read down to its limit, no further.
    const int length = 40;
    for (int i = 0; i < length; ++i)
        project.Write("chain/c" + std::to_string(i) + ".cxf",
                      SpiritCoreWriter("c" + std::to_string(i))
                          .File("COMPONENT_FILESET", "", "c" + std::to_string(i + 1) + ".cxf")
                          .File("OTHER_FILESET", "", "f" + std::to_string(i) + ".log")
                          .Text());
    for (int i = 0; i < length; ++i) project.Write("chain/f" + std::to_string(i) + ".log", "log\n");
    IxmlSPIRITCoreParser chain(CoreFile(project / "chain/c0.cxf"), false, "Component", nullptr, true, false, false);
    EXPECT_TRUE(chain.ParseComponent(CoreFile(project / "chain/c0.cxf"), true, false, true, nullptr));
    int logs = 0;
    for (const std::string& member : Members()) logs += member.find(".log") != std::string::npos;
    EXPECT_EQ(logs, 33);
}

TEST_F(IxmlSPIRITCoreParserTest, UndefinedUnitsAreMadeCompletedAndGivenTheirInstances)
{
    const IfileObject cxf = CoreFile(project.Write("cores/top.cxf", SpiritCoreWriter("top").Text()));
    const auto file = files.AddOrUpdateFile(IfileObjectEx(cxf, false), false);
    TestComponent top(VyIfaces::IComponent::Veyrun, "top", cxf.GetFullFileName().GetString());
    VyIfaces::ComponentInstance leaf;
    leaf.kind = 1;
    leaf.moduleName = "leaf";
    VyIfaces::ComponentInstance core;
    core.kind = 3;
    core.core = VlnvCoreId("brennic.com", "cores", "ram", "1.0");
    core.library = "corelib";
    VyIfaces::ComponentInstance self;
    self.kind = 2;
    self.referencedName = "top";
    VyIfaces::ComponentInstance none;
    top.instances = {leaf, core, self, none};

    ImodelModule* made = nullptr;
    ASSERT_TRUE(IxmlSPIRITCoreParser::CreateUndefinedModule(file, "top", "", &top, made));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetModuleType(), zorpaMODULE_UNKNOWN);
    EXPECT_EQ(made->GetModuleFile(), file);
    std::vector<std::string> subs;
    for (ImodelModule* sub : *made->GetSubBlocks()) subs.push_back(sub->GetComponentID().ToString());
    EXPECT_EQ(subs, (std::vector<std::string>{"leaf::work", "ram::corelib"}));

    // A unit with a file of its own stays as it is; one without gets the file.
    ImodelModule* again = nullptr;
    EXPECT_FALSE(IxmlSPIRITCoreParser::CreateUndefinedModule(file, "top", "work", nullptr, again));
    EXPECT_EQ(again, nullptr);
    ImodelModule* leafUnit = ImodelFindModuleInAnyLib("leaf", "");
    ASSERT_NE(leafUnit, nullptr);
    EXPECT_FALSE(leafUnit->GetModuleFile());
    // The leaf instantiates the top: linking it would make a loop.
    TestComponent leafComponent(VyIfaces::IComponent::Veyrun, "leaf");
    VyIfaces::ComponentInstance up;
    up.kind = 1;
    up.moduleName = "top";
    leafComponent.instances = {up};
    ImodelModule* completed = nullptr;
    ASSERT_TRUE(IxmlSPIRITCoreParser::CreateUndefinedModule(file, "leaf", "work", &leafComponent, completed));
    EXPECT_EQ(completed, leafUnit);
    EXPECT_EQ(leafUnit->GetModuleFile(), file);
    EXPECT_FALSE(leafUnit->HasSubBlocks());
}

}  // namespace
