// The cache of place-and-route descriptions: copies handed out, one entry
// per file however it is spelt, what reading a description caches and tells,
// which databases depend on a file, names carried into the descriptions,
// the conversion's messages, and the pre-read of a project's views, at once
// or on a worker whose results the model's thread takes.
#include "DebugCapture.h"
#include "MessageRecorder.h"
#include "ProjectFolderScope.h"
#include "RecordingCommandServices.h"
#include "RecordingView.h"
#include "TempFolder.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "itool/ItoolPallador.h"
#include "src/ifile/ifileExtendedInfoVisitors.h"

#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class ExtendedInfo : public ::testing::Test {
protected:
    ~ExtendedInfo() override
    {
        Cache().ClearInfo();
        Imodel::GetInstance().GetFileManager()->RemoveAllFiles();
        Imodel::SetIsInteractiveMode(false);
        IfileExtendedInfoManager::IsDoingConvert() = false;
        IfileExtendedInfoManager::IdePldFilesRecentlyChecked() = nullptr;
    }

    static IfileExtendedInfoManager& Cache() { return *Imodel::GetInstance().GetExtendedInfoManager(); }
    IfileObject File(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL) const
    {
        return IfileObject(ImodelFileName(m_folder / name), type, ImodelFMFull, true, true);
    }
    IfileObject Database(const std::string& name) const { return File(name, zorpaFT_ADB); }
    // The description of a database below the project, listing files of it.
    void Describe(const std::string& database, const std::vector<std::string>& files,
                  WhoWroteTheFile writer = KemletWriterPlaceAndRoute) const
    {
        KemletContentIf content;
        for (const std::string& file : files) content.AddFile(m_folder / file, 1);
        const std::filesystem::path path(database);
        std::string text;
        ASSERT_TRUE(KemletFormatDescription(content, writer, path.filename().string(), text));
        m_folder.Write((path.parent_path() / (path.stem().string() + ".ide_pld")).string(), text);
    }
    // The files the cached description of the database lists.
    std::vector<std::string> Cached(const std::string& database) const
    {
        const std::unique_ptr<KemletContentIf> content =
            IfileCastFromADBInfo(Cache().GetInfo(Database(database), false));
        return content ? content->GetFileList() : std::vector<std::string>{"(none)"};
    }
    std::vector<std::string> Named(const std::deque<IfileObject>& files) const
    {
        std::vector<std::string> names;
        for (const IfileObject& file : files) names.push_back(file.GetFileTitleAndExt());
        return names;
    }

    TempFolder m_folder;
    ProjectFolderScope m_project{m_folder.Path()};
    RecordingView view;
    MessageRecorder messages;
};

}  // namespace

TEST_F(ExtendedInfo, OneFileIsOneEntryHandedOutAsCopiesAndOnlyDatabasesAreLoaded)
{
    KemletContentIf content;
    content.AddFile("/x/a.vhd");
    Cache().SetInfo(Database("pallador/impl1/top.adb"), boost::make_shared<ifileExtendedADB>(content));
    content.AddFile("/x/b.vhd");
    // The same file spelt otherwise replaces the entry.
    const IfileObject upper(ImodelFileName(m_folder / "PALLADOR\\impl1\\TOP.ADB"), zorpaFT_ADB, ImodelFMFull, true,
                            true);
    Cache().SetInfo(upper, boost::make_shared<ifileExtendedADB>(content));
    EXPECT_EQ(Cached("pallador/impl1/top.adb"), (std::vector<std::string>{"/x/a.vhd", "/x/b.vhd"}));
    const auto first = Cache().GetInfo(Database("pallador/impl1/top.adb"), false);
    const auto second = Cache().GetInfo(Database("pallador/impl1/top.adb"), false);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());
    std::unique_ptr<KemletContentIf> copy = IfileCastFromADBInfo(first);
    copy->AddFile("/x/c.vhd");
    EXPECT_EQ(Cached("pallador/impl1/top.adb").size(), 2u);
    EXPECT_EQ(IfileCastFromADBInfo(nullptr), nullptr);

    // A file of another type is never loaded, whatever lies beside it.
    std::deque<IfileObject> checked;
    IfileExtendedInfoManager::IdePldFilesRecentlyChecked() = &checked;
    Describe("pallador/impl1/other.adb", {"hdl/a.vhd"});
    EXPECT_EQ(Cache().GetInfo(File("pallador/impl1/other.adb"), true), nullptr);
    EXPECT_TRUE(checked.empty());
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 0);
    // A database is, on the first request.
    EXPECT_NE(Cache().GetInfo(Database("pallador/impl1/other.adb"), true), nullptr);
    EXPECT_EQ(Named(checked), std::vector<std::string>{"other.adb"});
}

TEST_F(ExtendedInfo, ADescriptionReadFromDiskTellsWhichDatabasesDependOnAFile)
{
    Describe("pallador/impl1/top.adb", {"hdl/a.vhd", "constraint/top.sdc"});
    Describe("pallador/impl2/top.adb", {"constraint/top.sdc"});
    EXPECT_TRUE(Cache().LoadInfo(Database("pallador/impl2/top.adb"), false, false));
    EXPECT_TRUE(Cache().LoadInfo(Database("pallador/impl1/top.adb"), false, false));
    // Every load tells the views the place-and-route inputs may have changed.
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 2);

    std::deque<IfileObject> dependents{File("stale")};
    Cache().GetDependentFiles(File("constraint/top.sdc"), dependents);
    ASSERT_EQ(dependents.size(), 2u);  // in key order
    EXPECT_EQ(dependents[0].GetFullFileName().GetString(), m_folder / "pallador/impl1/top.adb");
    EXPECT_EQ(dependents[1].GetFullFileName().GetString(), m_folder / "pallador/impl2/top.adb");
    Cache().GetDependentFiles(File("hdl/a.vhd"), dependents);
    EXPECT_EQ(dependents.size(), 1u);
    Cache().GetDependentFiles(File("hdl/unknown.vhd"), dependents);
    EXPECT_TRUE(dependents.empty());
    EXPECT_TRUE(Cache().IsDependingOn(Database("pallador/impl1/top.adb"), File("hdl/a.vhd"), false));
    EXPECT_FALSE(Cache().IsDependingOn(Database("pallador/impl2/top.adb"), File("hdl/a.vhd"), false));
    EXPECT_FALSE(Cache().IsDependingOn(Database("pallador/impl3/top.adb"), File("hdl/a.vhd"), true));

    Cache().ClearInfo();
    Cache().GetDependentFiles(File("constraint/top.sdc"), dependents);
    EXPECT_TRUE(dependents.empty());
}

TEST_F(ExtendedInfo, AnUnreadableDescriptionCachesNothingAndOutsideAConversionTheViewsStillHear)
{
    m_folder.Write("pallador/impl1/top.ide_pld", "garbage\n");
    EXPECT_FALSE(Cache().LoadInfo(Database("pallador/impl1/top.adb"), true, true));
    EXPECT_EQ(Cache().GetInfo(Database("pallador/impl1/top.adb"), false), nullptr);
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 1);
    IfileExtendedInfoManager::IsDoingConvert() = true;
    Describe("pallador/impl1/top.adb", {"hdl/a.vhd"});
    EXPECT_TRUE(Cache().LoadInfo(Database("pallador/impl1/top.adb"), false, false));
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 1);
}

TEST_F(ExtendedInfo, TheConversionTellsOfEachRegisteredDatabaseOnceAndTakesItsNameOffTheList)
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    const std::vector<std::pair<std::string, bool>> databases{{"pallador/impl1/made.adb", true},
                                                              {"pallador/impl1/failed.adb", false}};
    for (const auto& [name, made] : databases) {
        m_folder.Write(name, "database\n");
        files.AddOrUpdateFile(IfileObjectEx(Database(name), false), false);
        files.AddName(Database(name).GetFullFileName().GetString(), 0);
        KemletContentIf content;
        content.AddFile(m_folder / "hdl/a.vhd", 1);
        content.SetLocalCopiesMade(made);
        std::filesystem::create_directories(std::filesystem::path(m_folder / name).parent_path());
        ASSERT_TRUE(KemletIde_pldFileManagerIf(m_folder / name, KemletWriterPlaceAndRoute, nullptr).Write(content));
    }
    IfileExtendedInfoManager::IsDoingConvert() = true;
    for (const auto& [name, made] : databases) Cache().LoadInfo(Database(name), false, false);
    EXPECT_EQ(messages.WithId("ADB_UPDATED").size(), 1u);
    EXPECT_EQ(messages.WithId("CONVERT_FAILED_LOCAL_COPIES").size(), 1u);
    for (const auto& [name, made] : databases)
        EXPECT_FALSE(files.HasName(Database(name).GetFullFileName().GetString(), 0));
    // Told once: the names are gone.
    for (const auto& [name, made] : databases) Cache().LoadInfo(Database(name), false, false);
    EXPECT_EQ(messages.WithId("ADB_UPDATED").size() + messages.WithId("CONVERT_FAILED_LOCAL_COPIES").size(), 2u);
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 0);
}

TEST_F(ExtendedInfo, AnEmptyListNeverDiffersAndAnyOtherDiffersExactlyWhenItIsAnother)
{
    std::mt19937 random(2112);
    const std::vector<std::string> pool{"/a.vhd", "/b.vhd", "/c.sdc", "/d.pdc"};
    const auto randomList = [&] {
        std::vector<std::string> list;
        for (std::size_t n = random() % 4; n > 0; --n) list.push_back(pool[random() % pool.size()]);
        return list;
    };
    for (int round = 0; round < 200; ++round) {
        KemletContentIf cached;
        KemletContentIf other;
        const std::vector<std::string> mine = randomList();
        const std::vector<std::string> theirs = randomList();
        for (const std::string& file : mine) cached.AddFile(file);
        for (const std::string& file : theirs) other.AddFile(file);
        ifileExtendedADB info(cached);
        isFileListDifferentVisitor visitor(&other);
        info.Accept(visitor);
        EXPECT_EQ(visitor.GetResult(), !theirs.empty() && theirs != mine);
    }
    KemletContentIf cached;
    ifileExtendedADB info(cached);
    isFileListDifferentVisitor missing(nullptr);
    info.Accept(missing);
    EXPECT_TRUE(missing.GetResult());
}

TEST_F(ExtendedInfo, ANewNameIsWrittenIntoEveryDescriptionThatNamesTheOldFile)
{
    Describe("pallador/impl1/top.adb", {"hdl/a.vhd", "constraint/top.sdc"});
    Describe("pallador/impl2/top.adb", {"constraint/top.sdc"});
    Cache().LoadInfo(Database("pallador/impl1/top.adb"), false, false);
    Cache().LoadInfo(Database("pallador/impl2/top.adb"), false, false);
    const std::string untouched = m_folder.Read("pallador/impl2/top.ide_pld");
    const Entry moved = boost::make_shared<IfileObjectEx>(File("/hdl/moved/a.vhd"), false);
    Cache().UpdateModelFromInfo(File("hdl/a.vhd"), moved);
    KemletContentIf written;
    ASSERT_TRUE(KemletIde_pldFileManagerIf(m_folder / "pallador/impl1/top.adb", KemletWriterProjectManager, nullptr)
                    .Read(&written));
    EXPECT_EQ(written.GetFileList(),
              (std::vector<std::string>{m_folder / "hdl/moved/a.vhd", m_folder / "constraint/top.sdc"}));
    EXPECT_EQ(m_folder.Read("pallador/impl2/top.ide_pld"), untouched);
}

TEST_F(ExtendedInfo, ThePlaceAndRouteToolReadsItsListsThroughTheCacheWhichItsWritesKeepCurrent)
{
    ItoolPallador& pallador = *Imodel::GetInstance().GetPalladorTool();
    Describe("pallador/impl1/top.adb", {"hdl/a.vhd"});
    std::deque<IfileObject> list;
    ASSERT_TRUE(
        pallador.GetFileListFromCache(Database("pallador/impl1/top.adb"), nullptr, nullptr, list, false, false));
    EXPECT_EQ(Named(list), std::vector<std::string>{"a.vhd"});
    EXPECT_EQ(Cached("pallador/impl1/top.adb").size(), 1u);
    // Changed behind the cache's back: the cache answers what it read.
    Describe("pallador/impl1/top.adb", {"hdl/a.vhd", "hdl/b.vhd"});
    list.clear();
    pallador.GetFileListFromCache(Database("pallador/impl1/top.adb"), nullptr, nullptr, list, false, false);
    EXPECT_EQ(list.size(), 1u);
    // Written by the tool object: the cache reads it again.
    ASSERT_TRUE(pallador.WriteFileList(Database("pallador/impl1/top.adb").GetFullFileName(),
                                       {File("hdl/c.vhd"), File("hdl/d.vhd")}, nullptr, false, false));
    list.clear();
    pallador.GetFileListFromCache(Database("pallador/impl1/top.adb"), nullptr, nullptr, list, false, false);
    EXPECT_EQ(Named(list), (std::vector<std::string>{"c.vhd", "d.vhd"}));
}

TEST_F(ExtendedInfo, TheFilesOutsideTheProjectThatADescriptionReadFreshUsesJoinItAsLinks)
{
    TempFolder elsewhere;
    elsewhere.Write("pins.pdc", "set_io a 1\n");
    elsewhere.Write("member.pdc", "set_io b 2\n");
    m_folder.Write("hdl/a.vhd", "entity a is end;\n");
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    files.AddOrUpdateFile(
        IfileObjectEx(IfileObject(ImodelFileName(elsewhere / "member.pdc"), zorpaFT_PDC, ImodelFMFull, true, true),
                      false),
        false);
    // The project's own file that the project lacks (a user took it out),
    // a file outside it, one outside it that is a member already and a
    // broken link.
    const auto describe = [&](const std::string& database) {
        KemletContentIf content;
        for (const std::string& file :
             {m_folder / "hdl/a.vhd", elsewhere / "pins.pdc", elsewhere / "member.pdc", elsewhere / "gone.pdc"})
            content.AddFile(file, 12);
        std::string text;
        ASSERT_TRUE(KemletFormatDescription(content, KemletWriterPlaceAndRoute, "top.adb", text));
        m_folder.Write(database, text);
    };
    describe("pallador/impl1/top.ide_pld");
    describe("pallador/impl2/top.ide_pld");
    RecordingCommandServices commands;
    {
        DebugCapture debug;
        EXPECT_TRUE(Cache().LoadInfo(Database("pallador/impl1/top.adb"), true, true));
        EXPECT_EQ(commands.links, std::vector<std::string>{"pins.pdc"});
        EXPECT_NE(debug.Text().find("Ignoring gone.pdc: broken link used by pallador\n"), std::string::npos);
        EXPECT_NE(debug.Text().find("Added pins.pdc link used by pallador\n"), std::string::npos);
    }

    // A description loaded to answer a question, or read again after this
    // program wrote it, adds nothing.
    commands.links.clear();
    EXPECT_NE(Cache().GetInfo(Database("pallador/impl2/top.adb"), true), nullptr);
    EXPECT_TRUE(Cache().ReloadInfo(Database("pallador/impl1/top.adb"), false));
    EXPECT_TRUE(commands.links.empty());
    // Nor does the description of another database lying beside it.
    KemletContentIf other;
    other.AddFile(elsewhere / "pins.pdc", 12);
    std::string text;
    ASSERT_TRUE(KemletFormatDescription(other, KemletWriterPlaceAndRoute, "other.adb", text));
    m_folder.Write("pallador/impl1/top.ide_pld", text);
    EXPECT_TRUE(Cache().LoadInfo(Database("pallador/impl1/top.adb"), false, false));
    EXPECT_TRUE(commands.links.empty());

    // The pre-read of an open registers them, at once or when the model's
    // thread takes what the worker read.
    describe("pallador/impl1/top.ide_pld");
    for (const bool interactive : {false, true}) {
        Cache().ClearInfo();
        commands.links.clear();
        Imodel::SetIsInteractiveMode(interactive);
        Cache().StartPreRead();
        Cache().ApplyPreReadResults(true);
        EXPECT_EQ(commands.links, (std::vector<std::string>{"pins.pdc", "pins.pdc"}));
    }
}

class ExtendedInfoPreRead : public ExtendedInfo {
protected:
    // Descriptions in two views, and one outside them.
    void DescribeProject()
    {
        Describe("pallador/impl1/top.adb", {"hdl/a.vhd"});
        Describe("pallador/impl1/mid.adb", {"hdl/b.vhd"});
        Describe("pallador/impl2/top.adb", {"hdl/c.vhd"});
        Describe("elsewhere/top.adb", {"hdl/d.vhd"});
    }
    void ExpectProjectCached()
    {
        EXPECT_EQ(Cached("pallador/impl1/top.adb"), std::vector<std::string>{m_folder / "hdl/a.vhd"});
        EXPECT_EQ(Cached("pallador/impl1/mid.adb"), std::vector<std::string>{m_folder / "hdl/b.vhd"});
        EXPECT_EQ(Cached("pallador/impl2/top.adb"), std::vector<std::string>{m_folder / "hdl/c.vhd"});
        EXPECT_EQ(Cached("elsewhere/top.adb"), std::vector<std::string>{"(none)"});
    }
};

TEST_F(ExtendedInfoPreRead, OutsideInteractiveModeEveryViewIsReadBeforeItReturns)
{
    DescribeProject();
    Cache().StartPreRead();
    EXPECT_FALSE(Cache().IsPreReading());
    ExpectProjectCached();
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 3);
}

TEST_F(ExtendedInfoPreRead, InInteractiveModeTheModelsThreadTakesWhatTheWorkerRead)
{
    DescribeProject();
    std::deque<IfileObject> checked;
    IfileExtendedInfoManager::IdePldFilesRecentlyChecked() = &checked;
    Imodel::SetIsInteractiveMode(true);
    Cache().StartPreRead();
    Cache().ApplyPreReadResults(true);
    EXPECT_FALSE(Cache().IsPreReading());
    ExpectProjectCached();
    EXPECT_EQ(checked.size(), 3u);
    EXPECT_EQ(view.Count("IeventToolInputListChanged"), 3);
}

TEST_F(ExtendedInfoPreRead, ALoadMadeMeanwhileIsNotOverwrittenByTheOlderReading)
{
    DescribeProject();
    Imodel::SetIsInteractiveMode(true);
    Cache().StartPreRead();
    Describe("pallador/impl1/top.adb", {"hdl/new.vhd"});
    Cache().LoadInfo(Database("pallador/impl1/top.adb"), false, false);
    Cache().ApplyPreReadResults(true);
    EXPECT_EQ(Cached("pallador/impl1/top.adb"), std::vector<std::string>{m_folder / "hdl/new.vhd"});
}

TEST_F(ExtendedInfoPreRead, ClosingStopsTheWorkerAndAnotherProjectTakesNothingOfIt)
{
    for (int i = 0; i < 200; ++i) Describe("pallador/impl1/d" + std::to_string(i) + ".adb", {"hdl/a.vhd"});
    Imodel::SetIsInteractiveMode(true);
    Cache().StartPreRead();
    Cache().ClearInfo();
    EXPECT_FALSE(Cache().IsPreReading());
    Cache().ApplyPreReadResults(true);
    std::deque<IfileObject> dependents;
    Cache().GetDependentFiles(File("hdl/a.vhd"), dependents);
    EXPECT_TRUE(dependents.empty());

    // Read for this folder, taken while another project is open: dropped.
    Cache().StartPreRead();
    TempFolder other;
    {
        const ProjectFolderScope elsewhere(other.Path());
        Cache().ApplyPreReadResults(true);
    }
    Cache().GetDependentFiles(File("hdl/a.vhd"), dependents);
    EXPECT_TRUE(dependents.empty());
    // A second pre-read replaces the first one.
    Cache().StartPreRead();
    Cache().StartPreRead();
    Cache().ApplyPreReadResults(true);
    Cache().GetDependentFiles(File("hdl/a.vhd"), dependents);
    EXPECT_EQ(dependents.size(), 200u);
}
