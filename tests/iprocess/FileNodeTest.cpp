// File nodes: how they name files, which file is a unit's current one, and
// the states they compute.
#include "FlowProject.h"

#include <algorithm>
#include <random>
#include <string>

namespace {

std::string RelativeName(const boost::shared_ptr<IfileObjectEx>& file)
{
    ImodelFileName name;
    if (file) file->GetRelativeFileName(name);
    return name.GetString();
}

std::vector<std::string> Names(const std::vector<boost::shared_ptr<IfileObjectEx>>& files)
{
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(RelativeName(file));
    return names;
}

}  // namespace

using FileNodes = FlowProject;

TEST_F(FileNodes, ANetlistOfAnotherUnitGivesWayToTheFirstFreeNumberedVariant)
{
    ImodelModule* top = Unit("top");
    const auto other = AddDefault(zorpaFT_SYN_EDN, top, FlowNetlist("other"));
    const std::string base = RelativeName(other).substr(0, RelativeName(other).size() - 4);
    const auto variant = [&] {
        return RelativeName(Node(zorpaFT_SYN_EDN).GetFileManagerObject(top, top->GetContext(), true, false, true));
    };
    EXPECT_EQ(variant(), base + "_1.edn");
    Add(base + "_1.edn", zorpaFT_SYN_EDN, FlowNetlist("other"));
    Add(base + "_2.edn", zorpaFT_SYN_EDN, FlowNetlist("top"));
    EXPECT_EQ(variant(), base + "_2.edn");
    // Without variants the default file stands.
    EXPECT_EQ(RelativeName(Node(zorpaFT_SYN_EDN).GetFileManagerObject(top, top->GetContext(), true, false, false)),
              base + ".edn");
}

TEST_F(FileNodes, TheSearchForAVariantEndsAtItsBound)
{
    ImodelModule* top = Unit("top");
    const auto other = AddDefault(zorpaFT_SYN_EDN, top, FlowNetlist("other"));
    const std::string base = RelativeName(other).substr(0, RelativeName(other).size() - 4);
    const int bound = IprocessFileObject::kMaxNumberedVariants;
    for (int number = 1; number <= bound; ++number)
        Add(base + "_" + std::to_string(number) + ".edn", zorpaFT_SYN_EDN, FlowNetlist("other"));
    const auto found = Node(zorpaFT_SYN_EDN).GetFileManagerObject(top, top->GetContext(), true, false, true);
    EXPECT_EQ(RelativeName(found), base + "_" + std::to_string(bound) + ".edn");
}

TEST_F(FileNodes, AnAbsentRequiredInputMakesAGroupIncompleteWhateverTheOthersAre)
{
    ImodelModule* top = Unit("top");
    const auto netlist = AddDefault(zorpaFT_SYN_EDN, top, FlowNetlist("top"));
    const std::vector<IprocessFileObject*> group{&Node(zorpaFT_SYN_EDN), &Node(zorpaFT_SYN_SDC)};
    IprocessFileToFileTransition optional(1, "optional constraints", Pre_Synthesis, true);
    optional.GetFroms()->assign(group.begin(), group.end());
    optional.AddOptionalInput(1);
    using FileNode = IprocessFileObject;
    EXPECT_EQ(FileNode::GetGroupOfFilesState(&group, top, nullptr, false), imodelFileAbsent);
    EXPECT_EQ(FileNode::GetGroupOfFilesState(&group, top, &optional, false), imodelFileUpToDate);
    netlist->SetFileState(imodelFileOutOfDate);
    EXPECT_EQ(FileNode::GetGroupOfFilesState(&group, top, nullptr, false), imodelFileAbsent);
    EXPECT_EQ(FileNode::GetGroupOfFilesState(&group, top, &optional, false), imodelFileOutOfDate);
    EXPECT_EQ(FileNode::GetGroupOfFilesState(&group, nullptr, &optional, false), imodelFileAbsent);
    const std::vector<IprocessFileObject*> none;
    EXPECT_EQ(FileNode::GetGroupOfFilesState(&none, top, nullptr, true), imodelFileAbsent);
}

TEST_F(FileNodes, AConvertedFileCountsAsItsInputsDo)
{
    ImodelModule* top = Unit("top");
    AddDefault(zorpaFT_SYN_EDN, top, FlowNetlist("top"));
    const auto database = AddDefault(zorpaFT_ADB, top, "", imodelFileOutOfDate);
    EXPECT_EQ(Node(zorpaFT_ADB).GetIntelligentFileState(top), imodelFileUpToDate);
    EXPECT_EQ(Node(zorpaFT_ADB).GetIntelligentFileState(nullptr), imodelFileAbsent);
    // The netlist that the database is made from: through the flow.
    EXPECT_EQ(Node(zorpaFT_ADB).GetPredecessorFileObject(), &Node(zorpaFT_SYN_EDN));
    EXPECT_EQ(Node(zorpaFT_SYN_SDC).GetPredecessorFileObject(), &Node(zorpaFT_SYN_EDN));
    EXPECT_EQ(Node(zorpaFT_BA_SDF).GetPredecessorFileObject(), &Node(zorpaFT_ADB));
    EXPECT_EQ(Node(zorpaFT_PRO).GetPredecessorFileObject(), &Node(zorpaFT_PDB));
    EXPECT_EQ(Node(zorpaFT_BSP).GetPredecessorFileObject(), nullptr);

    // Invalidation keeps to the views listed.
    const auto elsewhere = Add("pallador/impl2/top.adb", zorpaFT_ADB);
    database->SetFileState(imodelFileUpToDate);
    const std::vector<unsigned int> views{1};
    Node(zorpaFT_ADB).InvalidateAllFiles(IprocessFileObject::InvalidateAllFilter(&views));
    EXPECT_EQ(database->GetFileState(), imodelFileOutOfDate);
    EXPECT_EQ(elsewhere->GetFileState(), imodelFileUpToDate);
    Node(zorpaFT_ADB).InvalidateAllFiles(IprocessFileObject::InvalidateModuleSpecificFilter(top, nullptr));
    EXPECT_EQ(elsewhere->GetFileState(), imodelFileUpToDate);  // no record names a unit
}

TEST_F(FileNodes, TheUsableFilesOfANodeDeriveFromTheUnitAlongTheFlow)
{
    ImodelModule* top = Unit("top");
    const auto netlist = AddDefault(zorpaFT_SYN_EDN, top, FlowNetlist("top"));
    const std::string base = RelativeName(netlist).substr(0, RelativeName(netlist).size() - 4);
    const auto variant = Add(base + "_1.edn", zorpaFT_SYN_EDN, FlowNetlist("top"));
    Add(base + "_2.edn", zorpaFT_SYN_EDN, FlowNetlist("other"));
    std::vector<boost::shared_ptr<IfileObjectEx>> usable;
    Node(zorpaFT_SYN_EDN).GetUsableFileList(usable, top, Revision(top));
    EXPECT_EQ(usable, (std::vector<boost::shared_ptr<IfileObjectEx>>{netlist, variant}));

    // The converted netlist serves when its chain leads to the unit's netlist.
    const auto converted = AddDefault(zorpaFT_SYN_HDL, top);
    Node(zorpaFT_SYN_HDL).GetUsableFileList(usable, top, Revision(top));
    EXPECT_EQ(usable, std::vector<boost::shared_ptr<IfileObjectEx>>{converted});
    EXPECT_TRUE(Node(zorpaFT_SYN_HDL).IsFileManagerObject(top, top->GetContext(), converted));
    Node(zorpaFT_SYN_HDL).GetUsableFileList(usable, nullptr, Revision(top));
    EXPECT_TRUE(usable.empty());
}

TEST_F(FileNodes, TheUsableFilesFoundByUnitAreThoseAWalkOverEveryFileFinds)
{
    // The walk over every known file stands while the test scripts run; the
    // answers must not differ as netlists of several units come and go.
    const std::vector<std::string> cells{"u0", "u1", "U1", "u2", "other"};
    std::vector<ImodelModule*> units;
    for (const char* name : {"u0", "u1", "u2", "u3"}) units.push_back(Unit(name));
    std::vector<boost::shared_ptr<IfileObjectEx>> added;
    std::mt19937 random(7);
    const auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    for (int step = 0; step < 150; ++step) {
        if (added.empty() || pick(3) != 0) {
            const std::string name = "netlists/n" + std::to_string(pick(40)) + ".edn";
            added.push_back(Add(name, zorpaFT_SYN_EDN, FlowNetlist(cells[pick(cells.size())])));
        } else {
            const std::size_t at = pick(added.size());
            Files().RemoveFile(*added[at]);
            added.erase(added.begin() + static_cast<std::ptrdiff_t>(at));
        }
        for (ImodelModule* unit : units) {
            std::vector<boost::shared_ptr<IfileObjectEx>> indexed;
            std::vector<boost::shared_ptr<IfileObjectEx>> walked;
            Node(zorpaFT_SYN_EDN).GetUsableFileList(indexed, unit, Revision(unit));
            Imodel::IsRunningTests() = true;
            Node(zorpaFT_SYN_EDN).GetUsableFileList(walked, unit, Revision(unit));
            Imodel::IsRunningTests() = false;
            // The unit's default file not in the project is a new entry at each asking.
            ASSERT_EQ(Names(indexed), Names(walked)) << "step " << step << ", unit " << unit->GetName();
        }
    }
}
