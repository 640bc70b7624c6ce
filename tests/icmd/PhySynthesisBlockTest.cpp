// A unit's physical-synthesis options block in the project file, with the
// constraint names a hand or another tool may write: what an open reads, the
// save writes back so that the next open reads the same, and a path stays
// the file it names.
#include "MessageRecorder.h"
#include "ProjectCommandsTest.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

class PhySynthesisBlock : public ProjectCommandsTest {
protected:
    std::string ProjectFile() const { return m_folder / "alu/alu.prj"; }

    // A saved project whose one unit, top, has no options of its own.
    std::string MakeProject()
    {
        EXPECT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", false, "ZX3", "zx3_10", "tq100"));
        const std::string top =
            m_folder.Write("alu/hdl/top.vhd", "entity top is end;\narchitecture a of top is begin end;\n");
        const IfileObject file(ImodelFileName(top), zorpaFT_HDL, ImodelFMFull, true, true);
        IcmdDoAddFileToModel(file, true, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
        EXPECT_TRUE(IcmdDoCloseProject(false, false));
        return m_folder.Read("alu/alu.prj");
    }

    // The project file with `block` as top's options.
    static std::string WithBlock(const std::string& saved, const std::string& block)
    {
        std::string text = saved;
        const std::string list = "LIST NewModulesInfo\n";
        const std::size_t at = text.find(list);
        EXPECT_NE(at, std::string::npos);
        const std::size_t end = text.find("ENDLIST\n", at);
        text.replace(at, end + 8 - at,
                     list + "LIST \"top::work\"\nLIST PhySynthesisOptions\n" + block + "ENDLIST\nENDLIST\nENDLIST\n");
        return text;
    }

    // Opens the project (which saves it at once) and closes it: what top's
    // options held, and the file the save wrote.
    std::pair<std::vector<std::string>, std::string> OpenAndSave()
    {
        std::vector<std::string> names;
        EXPECT_TRUE(IcmdDoOpenProject(ProjectFile().c_str(), false, false));
        if (const ImodelModule* top = ImodelFindModule(VyIfaces::ComponentID("top", "work", "")))
            for (const IfileObject& file : top->GetPhySynthOptions()->GetConstraintFileList())
                names.push_back(file.GetInternalFileName().GetString());
        EXPECT_TRUE(IcmdDoCloseProject(false, false));
        return {names, m_folder.Read("alu/alu.prj")};
    }

    MessageRecorder m_messages;
};

}  // namespace

TEST_F(PhySynthesisBlock, EveryConstraintNameReadWritesBackAsTheSameFile)
{
    const std::string saved = MakeProject();
    // A bare name lies in the constraint folder; a path names a file of the
    // project folder, or outside it, also when its dots leave no folder in
    // it; a name that ends in a folder names no file.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"c.sdc", "<project>/constraint/c.sdc"},
        {"./a.sdc", "<project>/a.sdc"},
        {"x/../b.sdc", "<project>/b.sdc"},
        {"x\\..\\h.sdc", "<project>/h.sdc"},
        {"sub/./d.sdc", "<project>/sub/d.sdc"},
        {"<project>/e.sdc", "<project>/e.sdc"},
        {"./g.sdc,sdc", "<project>/g.sdc"},
        {".,", ""},
        {".", ""},
        {"..", ""},
        {"a/..", ""},
        {"/", ""},
        {"<project>/.", ""},
    };
    for (const auto& [line, expected] : names) {
        SCOPED_TRACE(line);
        m_folder.Write("alu/alu.prj", WithBlock(saved, "MaxCoreCell=200\nConstraints\n" + line + "\nENDConstraints\n"));
        const auto [first, written] = OpenAndSave();
        EXPECT_EQ(first, expected.empty() ? std::vector<std::string>() : std::vector<std::string>{expected});
        const auto [again, rewritten] = OpenAndSave();
        EXPECT_EQ(again, first);
        EXPECT_EQ(rewritten, written);
    }
}

TEST_F(PhySynthesisBlock, ABlockOfOddLinesReadsTheSameAfterEverySave)
{
    const std::string saved = MakeProject();
    const std::vector<std::string> pieces = {
        ".,",        "./a.sdc",         "x/../b.sdc",          "c.sdc", "..", "/",
        "d.pdc,pdc", "sub/../../e.sdc", "<project>/f.sdc,sdc", ".,sdc",
    };
    std::mt19937 random(9);
    for (int round = 0; round < 12; ++round) {
        std::string block = round % 2 ? "GenPinConstraints=FALSE\n" : "";
        block += "Constraints\n";
        for (int i = 0; i < 3; ++i) block += pieces[random() % pieces.size()] + "\n";
        // The last list may lack its end: the block's end closes it.
        if (round % 3) block += "ENDConstraints\n";
        SCOPED_TRACE(block);
        m_folder.Write("alu/alu.prj", WithBlock(saved, block));
        const auto [first, written] = OpenAndSave();
        const auto [again, rewritten] = OpenAndSave();
        EXPECT_EQ(again, first);
        EXPECT_EQ(rewritten, written);
    }
}
