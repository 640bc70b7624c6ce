// The states of a module's views in the project file: what is written, what
// reads back through the project-file reader, and what a damaged or older
// block gives.
#include "ContextTestProject.h"
#include "ModuleTestSupport.h"
#include "ProjectFileBlock.h"
#include "TextLines.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "imodel/views/ImodelToolStatesManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class RevContextPersistence : public ContextTestProject {
protected:
    ~RevContextPersistence() override
    {
        Files().RemoveAllFiles();
        Views().RemoveAllViews();
    }

    static IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
    static ImodelRevisionManager& Views() { return *Imodel::GetInstance().GetRevisionManager(); }

    // Project members, made on disk, and the project's views, numbered as their folders are.
    void AddFiles(std::initializer_list<std::pair<const char*, zorpaFileManagerTypes>> files, const char* current)
    {
        for (const auto& [name, type] : files) {
            m_folder.Write(name, "");
            Files().AddOrUpdateFile(IfileObjectEx(File(name, type), false), false);
        }
        Lines revisions{"VALUE=\"impl_1\",NUM=1", "VALUE=\"impl_2\",NUM=2", std::string("CURREV=") + current};
        Views().ReadRevisions(revisions);
    }
    static imodelFileState StateOf(const std::string& name)
    {
        return Files().GetFile(File(name, zorpaFT_UNKNOWN))->GetFileState();
    }

    static void AddViews(ImodelContextImpl& context, std::initializer_list<const char*> names, const char* current)
    {
        for (const char* name : names) ASSERT_TRUE(context.AddRevision(name));
        context.SetCurRev(current);
    }

    static std::string Written(const ImodelContextImpl& context)
    {
        std::ostringstream stream;
        context.WriteStates(&stream);
        return stream.str();
    }

    // Reads the lines into the context as the project reader does; the
    // flag is whether the flow options named UseSynth.
    static bool Read(ImodelContextImpl& context, Lines& lines, Lines* outOfDate = nullptr)
    {
        bool useSynthRead = false;
        std::string line;
        Lines ignored;
        context.ReadStates(lines, line, useSynthRead, {}, {}, false, outOfDate ? *outOfDate : ignored, {});
        return useSynthRead;
    }

    // Everything a revision stores, as text.
    static std::string Describe(const ImodelRevContextImpl* revision)
    {
        if (!revision) return "none";
        std::string text;
        ImodelWriteSolvatoString(revision->GetSolvatoState(), text);
        for (const auto& object : revision->GetToolStatesManager().GetObjects()) {
            text += " " + std::to_string(object.GetKind()) + ":" + std::to_string(object.GetState());
            if (object.GetFile()) text += "(" + object.GetFile()->GetWriteFileLine() + ")";
        }
        const ImodelFlowOptions& options = revision->GetFlowOptions();
        text += options.UseSynth ? " synth" : " nosynth";
        text += options.UsePhySynth ? " physynth" : " nophysynth";
        for (const IfileObject& file : revision->GetUsedFiles()) text += " [" + file.GetWriteFileLine() + "]";
        return text;
    }

    static std::string Describe(const ImodelContextImpl& context, const char* name)
    {
        return Describe(context.FindRevision(std::string(name)));
    }
};

}  // namespace

TEST_F(RevContextPersistence, AWrittenModuleReadsBackWithEveryKindOfState)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    ImodelContextImpl written("alu", nullptr);
    AddViews(written, {"impl_1", "impl_2", "impl_3"}, "impl_1");
    ImodelRevContextImpl& first = *written.FindRevision(std::string("impl_1"));
    first.SetSolvatoState(Post_Layout);
    first.SetToolState(ideSYNTHESIS, nullptr, StateSuccess, false);
    // A file whose name holds "=" and parentheses keeps its own state.
    first.SetToolStateForFile(idePALLADOR, Entry("pallador/impl1/a=(b).edn", zorpaFT_SYN_EDN, false), StateFailure);
    first.SetToolStateForFile(idePALLADOR, Entry("pallador/impl1/c.edn", zorpaFT_SYN_EDN, false), StateSuccess);
    ImodelFlowOptions options;
    options.UsePhySynth = true;
    options.UseSynth = false;
    first.SetFlowOptions(options);
    first.UseFile(File("synthesis/top.edn", zorpaFT_SYN_EDN), false);
    first.UseFile(File("constraint/top.pdc", zorpaFT_PDC), false);
    written.FindRevision(std::string("impl_3"))->UseFile(File("stimulus/tb.vhd", zorpaFT_TB_HDL), false);

    // impl_2 holds nothing worth storing and is not written.
    const std::string text = Written(written);
    EXPECT_EQ(text.find("LIST impl_2"), std::string::npos);

    ImodelContextImpl read("alu", nullptr);
    AddViews(read, {"impl_1", "impl_2", "impl_3"}, "impl_2");
    Lines lines = ProjectFileBlock("LIST ProjectState5.1\n" + text + "ENDLIST\n", "ProjectState5.1");
    EXPECT_TRUE(Read(read, lines));
    EXPECT_TRUE(lines.empty());
    for (const char* name : {"impl_1", "impl_2", "impl_3"}) EXPECT_EQ(Describe(read, name), Describe(written, name));
    EXPECT_EQ(read.FindRevision(std::string("impl_1"))
                  ->GetToolStateForFile(idePALLADOR, Entry("pallador/impl1/a=(b).edn", zorpaFT_SYN_EDN, false)),
              StateFailure);
    // Writing what was read gives the same text.
    EXPECT_EQ(Written(read), text);
}

TEST_F(RevContextPersistence, ToolStateLinesNamingNoKnownToolOrStateAreIgnored)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    ImodelContextImpl context("alu", nullptr);
    AddViews(context, {"impl_1"}, "impl_1");
    Lines lines = TextLines("LIST impl_1\n"
                            "ideSYNTHESIS()=StateSuccess\n"  // empty parentheses stay in the key
                            "idePALLADOR=StateOutOfDate\n"   // the older keyword reads as no result
                            "ideNOTHING=StateSuccess\n"
                            "ideSIMULATION=Done\n"
                            "ideSTIMULUS=\n"
                            "no equals sign\n"
                            "idephysynth=statefailure\n"          // keywords ignore letter case
                            "ideSIMULATION(,hdl)=StateSuccess\n"  // a file without a name
                            "idePHYSYNTH=StateSuccess\n"          // a later line updates the record
                            "SolvatoState=\n"
                            "SolvatoState=Post_Nothing\n"
                            "ENDLIST");
    Read(context, lines);
    const ImodelRevContextImpl* revision = context.GetCurRevContext();
    EXPECT_EQ(Describe(revision), "Pre_Synthesis 3:0 11:2 synth nophysynth");
}

TEST_F(RevContextPersistence, EveryReaderStopsAtTheEndOfItsOwnBlock)
{
    // A design unit: its revisions know their siblings through it.
    const std::unique_ptr<ImodelModule> unit = MakeModule("alu");
    ImodelContextImpl& context = *unit->GetContext();
    AddViews(context, {"impl_1", "impl_2"}, "impl_1");
    // impl_1's used-file list and impl_1 itself miss their closing lines.
    Lines lines = TextLines("LIST impl_1\n"
                            "Used_File_List\n"
                            "<project>/a.edn,syn_edn\n"
                            "LIST impl_2\n"
                            "SolvatoState=Post_Synthesis\n"
                            "LIST FlowOptions\nUsePhySynth=TRUE\n"  // no ENDLIST
                            "Used_File_List\n<project>/b.edn,syn_edn\nENDUsed_File_List\n"
                            "ENDLIST\n"
                            "LIST \"work::next\"\n"  // the next module's block
                            "LIST impl_1\nSolvatoState=Post_Layout\nENDLIST\n"
                            "ENDLIST");
    Read(context, lines);
    EXPECT_EQ(Describe(context, "impl_1"), "Pre_Synthesis synth nophysynth [<project>/a.edn,syn_edn]");
    // The flow options' block took impl_2's remaining lines, not more.
    EXPECT_EQ(Describe(context, "impl_2"), "Post_Synthesis synth physynth");
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines.front(), "LIST \"work::next\"");

    // A revision read on its own ends before its sibling's block.
    Lines alone = TextLines("ideSYNTHESIS=StateFailure\nLIST impl_2\nENDLIST");
    std::string line = "SolvatoState=Post_Synthesis";
    bool useSynthRead = false;
    Lines outOfDate;
    context.FindRevision(std::string("impl_1"))->ReadStates(alone, line, useSynthRead, {}, {}, false, outOfDate, {});
    EXPECT_EQ(Describe(context, "impl_1"), "Post_Synthesis 0:1 synth nophysynth [<project>/a.edn,syn_edn]");
    EXPECT_EQ(alone, (Lines{"LIST impl_2", "ENDLIST"}));
    EXPECT_EQ(line, "ideSYNTHESIS=StateFailure");
}

TEST_F(RevContextPersistence, AnOlderBlockWithoutViewsGoesToTheCurrentView)
{
    AddFiles({{"hdl/top.vhd", zorpaFT_HDL}, {"pallador/impl2/top.adb", zorpaFT_ADB}, {"hdl/other.vhd", zorpaFT_HDL}},
             "2");
    ImodelContextImpl context("alu", nullptr);
    AddViews(context, {"impl_1", "impl_2"}, "impl_2");
    Lines lines = TextLines("SolvatoState=Post_Synthesis\n"
                            "ideSYNTHESIS=StateSuccess\n"
                            "LIST Files Up To Date\nother.vhd\nENDLIST\n"
                            "LIST Files Out Of Date\nTOP.VHD\n<project>/pallador/impl2/top.adb\nENDLIST\n"
                            "ENDLIST\n"
                            "after");
    bool useSynthRead = false;
    std::string line;
    Lines outOfDate;
    const ImodelFileTypeList known{{"top.vhd", zorpaFT_HDL}, {"other.vhd", zorpaFT_HDL}};
    context.ReadStates(lines, line, useSynthRead, known, {}, true, outOfDate, {});
    // The block held the states of the one view there was: the current one.
    EXPECT_EQ(Describe(context, "impl_2"), "Post_Synthesis 0:2 synth nophysynth");
    EXPECT_EQ(Describe(context, "impl_1"), "Pre_Synthesis synth nophysynth");
    EXPECT_EQ(outOfDate, (Lines{"top.vhd", "<project>/pallador/impl2/top.adb"}));
    EXPECT_EQ(lines, (Lines{"after"}));
    EXPECT_EQ(line, "ENDLIST");

    EXPECT_EQ(StateOf("hdl/top.vhd"), imodelFileOutOfDate);
    EXPECT_EQ(StateOf("pallador/impl2/top.adb"), imodelFileOutOfDate);
    EXPECT_NE(StateOf("hdl/other.vhd"), imodelFileOutOfDate);
}
