// Derived-file records: what each kind of flow file knows of its origin,
// read from the files themselves once per change on disk.
#include "DebugCapture.h"
#include "FlowProject.h"

#include "ifile/IfilePredecessorObject.h"
#include "imodel/model/ImodelFlowServices.h"

#include <filesystem>
#include <typeinfo>

namespace {

std::string Netlist(const std::string& cell, const std::string& library = "work")
{
    return "(edif " + cell + "\n  (design " + cell + "\t(cellRef " + cell + " (libraryRef " + library + ")))\n)\n";
}

// Stands for the record a file lacks.
class NoRecord : public IfilePredecessorObject {
public:
    NoRecord() : IfilePredecessorObject(nullptr, nullptr) {}
    boost::shared_ptr<IfileObjectEx> GetPredecessorFile() const override { return nullptr; }
    std::unique_ptr<IfilePredecessorObject> Clone(IfileObjectEx*) const override { return nullptr; }
    std::string GetDebugLine(const char*) const override { return "no record"; }
};

const IfilePredecessorObject& RecordOf(const boost::shared_ptr<IfileObjectEx>& file)
{
    static const NoRecord none;
    EXPECT_TRUE(file && file->GetPredecessorObject());
    if (!file || !file->GetPredecessorObject()) return none;
    return *file->GetPredecessorObject();
}

std::string RelativeName(const boost::shared_ptr<IfileObjectEx>& file)
{
    ImodelFileName name;
    file->GetRelativeFileName(name);
    return name.GetString();
}

}  // namespace

TEST(EdifTopCell, TheCellOfTheFirstDesignThatNamesOne)
{
    using Edif = IfilePredecessorObjectEdif;
    VyIfaces::ComponentID id = Edif::ScanTopCell("(edif x (design top (cellRef core (libraryRef lib1))))", true);
    EXPECT_EQ(id.name, "core");
    EXPECT_EQ(id.library, "lib1");
    EXPECT_EQ(Edif::ScanTopCell("(design top (cellRef core (libraryRef lib1)))", false).library, "work");
    // A design followed by something else lets the scan go on.
    id = Edif::ScanTopCell("(design a (view v)) (design b\n(cellRef\r\nbee (libraryRef)))", true);
    EXPECT_EQ(id.name, "bee");
    EXPECT_EQ(id.library, "work");
    for (const char* text :
         {"(design top (view netlist))", "(design (cellRef x))", "(cellRef x)", "", "((((", "(design"})
        EXPECT_TRUE(Edif::ScanTopCell(text, true).name.empty()) << text;
    // Keywords keep their case.
    EXPECT_TRUE(Edif::ScanTopCell("(DESIGN top (cellRef top))", true).name.empty());
}

using DerivedFiles = FlowProject;

TEST_F(DerivedFiles, EachFlowFileGetsTheRecordOfItsType)
{
    ImodelModule* top = Unit("top");
    const auto netlist = AddDefault(zorpaFT_SYN_EDN, top, Netlist("top", "lib1"));
    const auto constraints = AddDefault(zorpaFT_SYN_SDC, top);
    const auto database = AddDefault(zorpaFT_ADB, top);
    const auto converted = AddDefault(zorpaFT_SYN_HDL, top);
    EXPECT_NE(dynamic_cast<const IfilePredecessorObjectSynplifySdc*>(&RecordOf(constraints)), nullptr);

    // The unit, from the nearest record up the chain that names one.
    EXPECT_EQ(RecordOf(netlist).GetComponentID().library, "work");  // library info is not read
    EXPECT_EQ(RecordOf(constraints).GetComponentID().name, "top");
    EXPECT_FALSE(RecordOf(constraints).GetPredecessorFile());
    EXPECT_EQ(RecordOf(converted).GetPredecessorFile(), netlist);
    EXPECT_TRUE(RecordOf(converted).IsSameModule(top));
    EXPECT_EQ(IprocessGetModulePtr(converted.get()), top);
    EXPECT_TRUE(RecordOf(converted).HasPredecessor(*netlist, false));
    const IfileObject sameNameOtherType(netlist->GetInternalFileName(), zorpaFT_ZEVORU_EDN, ImodelFMInternal, true,
                                        false);
    EXPECT_FALSE(RecordOf(converted).HasPredecessor(sameNameOtherType, false));
    netlist->SetFileState(imodelFileOutOfDate);
    EXPECT_EQ(RecordOf(converted).GetOutOfDatePredecessor(), netlist);
    EXPECT_EQ(RecordOf(database).GetUsingString(), "");

    // Files of other types get a record only as new flow files.
    const auto bitstream = boost::make_shared<IfileObjectEx>(
        IfileObject("<project>/x.bit", zorpaFT_BIT, ImodelFMInternal, true, true), false);
    EXPECT_TRUE(IfileCreatePredecessorObject(bitstream, Node(zorpaFT_SYN_HDL), false));
    EXPECT_EQ(bitstream->GetPredecessorObject(), nullptr);
    EXPECT_TRUE(IfileCreatePredecessorObject(bitstream, Node(zorpaFT_SYN_HDL), true));
    EXPECT_NE(dynamic_cast<const IfilePredecessorObjectFlowFile*>(bitstream->GetPredecessorObject()), nullptr);
    EXPECT_FALSE(IfileCreatePredecessorObject(bitstream, Node(zorpaFT_BSP), true));  // a node without variants
    EXPECT_FALSE(IfileCreatePredecessorObject(nullptr, Node(zorpaFT_SYN_HDL), true));
}

TEST_F(DerivedFiles, AnOutOfDateProgrammingFileIsMadeAgainFromADatabaseWhoseLayoutSucceeded)
{
    ImodelModule* top = Unit("top");
    // The database knows its unit from the description the layout left.
    m_folder.Write("pallador/impl1/top.ide_pld", "KEMLET_IDE_PLD 1\nWRITER 1\nDATABASE top.adb\nDESIGN top\n");
    const auto database = AddDefault(zorpaFT_ADB, top);
    const auto pdb = AddDefault(zorpaFT_PDB, top, "", imodelFileOutOfDate);
    ASSERT_EQ(RecordOf(pdb).GetPredecessorFile(), database);
    IprocessToolObject& layout = Tool(idePALLADOR);
    ImodelRevContextImpl& view = *Revision(top);
    for (const imodelToolState state : {StateNoResult, StateFailure, StateSuccess}) {
        view.SetToolStateForFile(&layout, database, state);
        pdb->SetFileState(imodelFileOutOfDate);
        EXPECT_EQ(pdb->IsOODPDBThanCanBeUpdatedFromTorvix(), state == StateSuccess) << state;
        // Up to date, it needs nothing.
        pdb->SetFileState(imodelFileUpToDate);
        EXPECT_FALSE(pdb->IsOODPDBThanCanBeUpdatedFromTorvix());
    }
    // Another view's result does not count for the file of this one.
    std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "VALUE=\"impl2\",NUM=2", "CURREV=1"};
    Views().ReadRevisions(views);
    ImodelRevContextImpl* other = top->GetContext()->FindRevision("impl2");
    ASSERT_NE(other, nullptr);
    view.SetToolStateForFile(&layout, database, StateNoResult);
    other->SetToolStateForFile(&layout, database, StateSuccess);
    pdb->SetFileState(imodelFileOutOfDate);
    EXPECT_FALSE(pdb->IsOODPDBThanCanBeUpdatedFromTorvix());
    // A file of another type, or one whose record names no database, is none.
    view.SetToolStateForFile(&layout, database, StateSuccess);
    const auto programming = AddDefault(zorpaFT_PRO, top, "", imodelFileOutOfDate);
    EXPECT_FALSE(programming->IsOODPDBThanCanBeUpdatedFromTorvix());
    const auto loose = boost::make_shared<IfileObjectEx>(
        IfileObject("<project>/loose.pdb", zorpaFT_PDB, ImodelFMInternal, true, true), false);
    loose->SetFileState(imodelFileOutOfDate);
    EXPECT_FALSE(loose->IsOODPDBThanCanBeUpdatedFromTorvix());
}

TEST_F(DerivedFiles, ANetlistIsReadAgainOnlyWhenItChangesOnDisk)
{
    FlowOptionsScope options({{"IDE_PARSE_EDIF_LIBRARY_INFO", "1"}});
    ImodelModule* top = Unit("top");
    const auto netlist = AddDefault(zorpaFT_SYN_EDN, top, Netlist("alpha", "lib1"));
    EXPECT_EQ(RecordOf(netlist).GetComponentID().library, "lib1");
    EXPECT_EQ(RecordOf(netlist).GetUsingString(), "module: alpha [lib1]");

    // Same size and time, other content: a change of state reads nothing.
    const std::string path = netlist->GetFullFileName();
    const auto time = std::filesystem::last_write_time(path);
    m_folder.Write(RelativeName(netlist), Netlist("gamma", "lib1"));
    std::filesystem::last_write_time(path, time);
    netlist->SetFileState(imodelFileOutOfDate);
    EXPECT_EQ(RecordOf(netlist).GetComponentID().name, "alpha");
    // A new time: read again.
    std::filesystem::last_write_time(path, time + std::chrono::seconds(2));
    netlist->SetFileState(imodelFileUpToDate);
    EXPECT_EQ(RecordOf(netlist).GetComponentID().name, "gamma");

    PrintCapture traces;
    m_folder.Write(RelativeName(netlist), "(design top (view netlist))");
    netlist->SetFileState(imodelFileOutOfDate);
    EXPECT_TRUE(RecordOf(netlist).GetComponentID().name.empty());
    EXPECT_TRUE(traces.Holds("Error: Unable to find module name in " + path));
    EXPECT_EQ(RecordOf(netlist).GetUsingString(), "unknown module");
}

TEST_F(DerivedFiles, ANetlistReadIntoAnEmptyDesignBringsInItsUnit)
{
    FlowOptionsScope options({{"IDE_PARSE_EDIF_LIBRARY_INFO", "1"}});
    const auto netlist = Add("synthesis/core.edn", zorpaFT_SYN_EDN, Netlist("core", "lib1"));
    ImodelModule* root = Design().GetRootModule();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "core");
    EXPECT_EQ(root->GetDefinedInLibrary(), "lib1");
    EXPECT_EQ(root->GetModuleFile(), netlist);
    EXPECT_EQ(netlist->GetLibraryName(), "lib1");
    EXPECT_TRUE(Imodel::GetInstance().HasNetlistModules());
    EXPECT_EQ(IprocessGetModulePtr(netlist.get()), root);
    Imodel::GetInstance().SetHasNetlistModules(false);

    // A design that has units brings in none.
    Add("synthesis/other.edn", zorpaFT_SYN_EDN, Netlist("other"));
    EXPECT_EQ(Design().FindLibraryByName("work")->GetModules()->size(), 0u);
}

TEST_F(DerivedFiles, ANetlistReadAgainWithAnotherTopCellBringsThatUnitInPlaceOfItsOwn)
{
    const auto work = Design().FindLibraryByName("work");
    const auto netlist = Add("synthesis/n.edn", zorpaFT_SYN_EDN, Netlist("aaa"));
    ImodelModule* first = Design().GetRootModule();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->GetName(), "aaa");

    // The same cell again: the unit is left as it is.
    Add("synthesis/n.edn", zorpaFT_SYN_EDN, Netlist("aaa"));
    EXPECT_EQ(Design().GetRootModule(), first);
    EXPECT_EQ(work->GetModules()->size(), 1u);

    // Another cell: its unit alone, the root with it, the netlist used for it.
    Add("synthesis/n.edn", zorpaFT_SYN_EDN, Netlist("bbb"));
    ImodelModule* root = Design().GetRootModule();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "bbb");
    EXPECT_EQ(root->GetModuleFile(), netlist);
    EXPECT_EQ(IprocessGetModulePtr(netlist.get()), root);
    EXPECT_EQ(work->GetModules()->size(), 1u);

    // Without a root, the new unit becomes it too.
    Design().SetRootId(VyIfaces::ComponentID());
    Add("synthesis/n.edn", zorpaFT_SYN_EDN, Netlist("ccc"));
    ASSERT_NE(Design().GetRootModule(), nullptr);
    EXPECT_EQ(Design().GetRootModule()->GetName(), "ccc");

    // Beside a unit of any other file, a netlist brings in nothing, its own
    // unit stays.
    Unit("top");
    Add("synthesis/n.edn", zorpaFT_SYN_EDN, Netlist("ddd"));
    EXPECT_EQ(Design().GetRootModule()->GetName(), "ccc");
    EXPECT_EQ(work->GetModules()->size(), 2u);
}

TEST_F(DerivedFiles, AProgrammingProjectListsItsChainOfProgrammingFiles)
{
    ImodelModule* top = Unit("top");
    const auto chain = Add("pallador/impl1/top_tx/top.pro", zorpaFT_PRO,
                           "TXPRJ 1\nDEVICE ../a.stp\nDEVICE ../b.STP\nDEVICE ../a.stp\nDEVICE ../c.txt\n");
    const auto& inputs = dynamic_cast<const IfilePredecessorObjectTorvixProject&>(RecordOf(chain)).GetInputs();
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0].first.GetFileTitleAndExt(), "a.stp");
    EXPECT_EQ(inputs[1].first.GetFileSpecificType(), zorpaFT_STP);
    EXPECT_EQ(RecordOf(chain).GetUsingString(), "chain mode");
    EXPECT_TRUE(RecordOf(chain).IsDependingOfFile(inputs[1].first));
    EXPECT_FALSE(RecordOf(chain).IsSameModule(top));

    const auto single = Add("pallador/impl1/one/top.pro", zorpaFT_PRO, "TXPRJ 1\nALGO " + m_folder.Path() + "/x.pdb\n");
    EXPECT_EQ(RecordOf(single).GetUsingString(), "using x.pdb");
    const auto unreadable = Add("pallador/impl1/bad/top.pro", zorpaFT_PRO, "not a project\n");
    EXPECT_EQ(RecordOf(unreadable).GetUsingString(), "");
}
