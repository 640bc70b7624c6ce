// delete_files seen from inside: a core whose tool keeps it keeps its files
// on disk too, a core the tool lets go takes its files off the disk, nothing
// outside the project folder is deleted, without a host the files that
// need confirming go all the same, and the files that go leave every unit's
// associated files and CDB order. The user's view (batches, links, a
// failed deletion, the lists in the project file) is the scenarios
// files_delete and files_delete_associations.
#include "CoreToolDouble.h"
#include "IcmdTestSupport.h"

#include "icmd/files/IcmdRemoveFilesFromProject.h"
#include "icmd/files/IcmdUpdateProjectContent.h"
#include "icmd/project/IcmdCloseProject.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/ImodelHost.h"

#include <foundation/Def.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

// A core tool of type 32 (synthesis, never hidden) that answers RemoveCore
// as told and remembers what it was asked.
class AnsweringCoreTool : public CoreToolDouble {
public:
    AnsweringCoreTool(bool& answer, std::vector<std::string>& asked)
        : CoreToolDouble(zorpaFT_ARM_LIB, ideSYNTHESIS), m_answer(answer), m_asked(asked)
    {
    }
    bool RemoveCore(const IfileObjectEx& file, bool) override
    {
        m_asked.push_back(file.GetFileTitleAndExt());
        return m_answer;
    }

private:
    bool& m_answer;
    std::vector<std::string>& m_asked;
};

class ContentRemoveFilesTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        LoadOnePartCatalogue();
        ASSERT_EQ(RegisterCommands({"delete_files"}), 1);
        ASSERT_TRUE(NewAluProject());
        m_host = Imodel::GetInstance().GetHost();
        Imodel::GetInstance().SetHost(nullptr);
        Imodel::GetInstance().AddCoreToolManager(std::make_unique<AnsweringCoreTool>(answer, asked));
    }
    void TearDown() override
    {
        Imodel& model = Imodel::GetInstance();
        EXPECT_NE(model.RemoveCoreToolManager(model.GetCoreToolManager(zorpaFT_ARM_LIB)), nullptr);
        model.SetHost(m_host);
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, true);
        IcmdTest::TearDown();
    }

    // A member file of that type, written at `name` in the test's folder
    // (the project folder is "alu"), with `parent` as its parent file.
    Entry Member(const std::string& name, zorpaFileManagerTypes type, const Entry& parent = Entry())
    {
        const std::string path = m_folder.Write(name, "x\n");
        IfileObjectEx file(IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true), false);
        if (parent) file.AddParentFile(*parent);
        return Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(file, false);
    }
    static bool InProject(const Entry& file)
    {
        return Imodel::GetInstance().GetFileManager()->GetFile(*file) != nullptr;
    }
    static bool OnDisk(const Entry& file) { return UtlDoesFileExist(file->GetFullFileName().GetString()); }

    bool answer = false;
    std::vector<std::string> asked;

private:
    ImodelHost* m_host = nullptr;
};

}  // namespace

TEST_F(ContentRemoveFilesTest, ACoreKeptByItsToolKeepsItsFilesOnDiskAndOneLetGoTakesThemAlong)
{
    const Entry core = Member("alu/cores/fifo.lib", zorpaFT_ARM_LIB);
    const Entry own = Member("alu/cores/fifo.vhd", zorpaFT_HDL, core);
    const Entry other = Member("alu/hdl/other.vhd", zorpaFT_HDL);
    ASSERT_TRUE(core && own && other);
    ASSERT_TRUE(own->IsChildOfFile(*core, true));

    // The tool keeps the core: the core's own file, named too, stays in the
    // project and on disk; the unrelated file goes.
    answer = false;
    EXPECT_TRUE(IcmdDoRemoveFiles(false, {core, own, other}, true, true, true));
    EXPECT_EQ(asked, std::vector<std::string>{"fifo.lib"});
    EXPECT_TRUE(InProject(core) && OnDisk(core));
    EXPECT_TRUE(InProject(own) && OnDisk(own));
    EXPECT_FALSE(InProject(other) || OnDisk(other));

    // Let go: both leave the project and the disk.
    answer = true;
    EXPECT_TRUE(IcmdDoRemoveFiles(false, {core, own}, true, true, true));
    EXPECT_FALSE(InProject(core) || OnDisk(core));
    EXPECT_FALSE(InProject(own) || OnDisk(own));
}

TEST_F(ContentRemoveFilesTest, WithoutAHostTheConfirmationIsGivenAndOnlyTheProjectsOwnFilesLeaveTheDisk)
{
    ASSERT_EQ(Imodel::GetInstance().GetHost(), nullptr);
    const Entry local = Member("alu/hdl/local.vhd", zorpaFT_HDL);
    const Entry linked = Member("shared/linked.vhd", zorpaFT_HDL);
    // A name that only begins like the project folder lies outside it.
    const Entry beside = Member("alu2/beside.vhd", zorpaFT_HDL);
    ASSERT_TRUE(local && linked && beside);
    ASSERT_FALSE(linked->IsLocalFile());
    ASSERT_FALSE(beside->IsLocalFile());

    ASSERT_EQ(Eval("delete_files -file hdl/local.vhd -file ../shared/linked.vhd -file ../alu2/beside.vhd -from_disk"),
              TCL_OK)
        << result;
    for (const Entry& file : {local, linked, beside}) EXPECT_FALSE(InProject(file)) << file->GetFileTitleAndExt();
    EXPECT_FALSE(OnDisk(local));
    EXPECT_TRUE(OnDisk(linked));
    EXPECT_TRUE(OnDisk(beside));
    EXPECT_EQ(TextsOf("LINKED_FILE_KEPT_ON_DISK").size(), 2u);
    EXPECT_TRUE(TextsOf("UNABLE_TO_DELETE_FILE").empty());
}

TEST_F(ContentRemoveFilesTest, AProgrammingProjectTakesOnlyAFolderBelowTheProjectFolder)
{
    // One in a folder of its own below the project: the folder goes.
    const Entry below = Member("alu/prog/job/job.pro", zorpaFT_PRO);
    m_folder.Write("alu/prog/job/data.bin", "1\n");
    // One right in the project folder: the project folder stays.
    const Entry top = Member("alu/top.pro", zorpaFT_PRO);
    ASSERT_TRUE(below && top);
    EXPECT_TRUE(IcmdDoRemoveFiles(false, {below, top}, true, false, false));
    EXPECT_FALSE(UtlDoesDiskObjectExist(m_folder / "alu/prog/job"));
    EXPECT_TRUE(UtlDoesDiskObjectExist(m_folder / "alu/prog"));
    EXPECT_FALSE(OnDisk(top));
    EXPECT_TRUE(UtlDoesFileExist(m_folder / "alu/alu.prj"));
}

TEST_F(ContentRemoveFilesTest, RemovedFilesLeaveEveryUnitsAssociatedFilesAndCdbOrder)
{
    using FileList = ImodelModule::FileList;
    std::mt19937 random(13);
    std::vector<Entry> databases;
    for (int i = 0; i < 40; ++i)
        databases.push_back(Member("alu/dremmet/d" + std::to_string(i) + ".cdb", zorpaFT_ARM_DB));
    const Entry core = Member("alu/cores/fifo.lib", zorpaFT_ARM_LIB);
    const Entry own = Member("alu/cores/fifo.vhd", zorpaFT_HDL, core);
    ASSERT_TRUE(core && own);
    std::vector<Entry> listed = databases;
    listed.push_back(own);
    const auto some = [&] {
        FileList files;
        for (const Entry& file : listed)
            if (random() % 4 == 0) files.push_back(*file);
        std::shuffle(files.begin(), files.end(), random);
        return files;
    };
    for (int i = 0; i < 300; ++i) {
        ImodelModule* unit = AddUnit("u" + std::to_string(i));
        ASSERT_NE(unit, nullptr);
        if (i % 3 == 0) continue;
        for (const IfileObject& file : some()) unit->GetAssociatedFileList().push_back(file);
        unit->SetCDBOrder(some(), false);
        // The settings of a unit that left the project are kept, and saved, too.
        if (i % 50 == 1) ImodelModule::SaveDeletedModuleInfo(unit);
    }
    // Each unit's two lists, and those of the units kept after they left.
    const auto lists = [] {
        std::map<std::string, std::pair<FileList, FileList>> all;
        const auto libraries = Design().GetLibraries();
        for (auto library = libraries.first; library != libraries.second; ++library)
            if (*library)
                for (const ImodelModule* unit : *(*library)->GetModules())
                    all[unit->GetName()] = {unit->GetAssociatedFileListConst(), unit->GetCDBOrder()};
        for (const ImodelModule::Owned& unit : ImodelModule::GetRemovedModuleList())
            all["kept " + unit->GetName()] = {unit->GetAssociatedFileListConst(), unit->GetCDBOrder()};
        return all;
    };
    const auto without = [](auto all, const std::vector<Entry>& gone) {
        for (auto& [name, two] : all)
            for (FileList* list : {&two.first, &two.second})
                std::erase_if(*list, [&gone](const IfileObject& file) {
                    return std::any_of(gone.begin(), gone.end(),
                                       [&file](const Entry& entry) { return *entry == file; });
                });
        return all;
    };

    // Every other database in one batch, and the core, which its tool keeps:
    // the core's own file stays, in the project and in the lists.
    std::vector<Entry> batch;
    for (std::size_t i = 0; i < databases.size(); i += 2) batch.push_back(databases[i]);
    auto expected = without(lists(), batch);
    batch.push_back(core);
    answer = false;
    EXPECT_TRUE(IcmdDoRemoveFiles(false, batch, false, true, false));
    EXPECT_TRUE(InProject(own));
    EXPECT_EQ(lists(), expected);

    // Let go, the core takes its own file out of the lists as well.
    answer = true;
    expected = without(expected, {own});
    EXPECT_TRUE(IcmdDoRemoveFiles(false, {core}, false, true, false));
    EXPECT_FALSE(InProject(own));
    EXPECT_EQ(lists(), expected);

    // The project update takes a file out while the design is kept aside
    // and given back: what comes back lets the file go too.
    expected = without(expected, {databases[1]});
    IcmdUpdateProjectContent({databases[1]}, {}, zorpaSaveRestoreParams{true, true, false});
    EXPECT_FALSE(InProject(databases[1]));
    EXPECT_EQ(lists(), expected);
    ImodelModule::ClearRemovedModuleList();
}
