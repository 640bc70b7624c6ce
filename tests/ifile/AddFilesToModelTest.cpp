// Adding the files of a project file to the project, and the error group a
// file belongs to as its error text changes.
#include "ProjectFolderScope.h"
#include "RecordingCommandServices.h"
#include "TempFolder.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Entry = IfileManager::Entry;

class Registered : public IfileListener {
public:
    std::vector<std::string> names;
    void EmptyFileList() override {}
    void UpdateFile(const Entry& file, bool isNew) override
    {
        if (isNew) names.push_back(file->GetFileTitleAndExt());
    }
    void RemoveFile(const Entry&) override {}
};

class AddFilesToModelTest : public ::testing::Test {
protected:
    // The add-file command as the file manager sees it: it refuses files
    // named "refused.v" and answers the registered entry of the others.
    AddFilesToModelTest()
    {
        commands.addAnswer = [this](const IfileObjectEx& file) {
            return file.GetFileTitleAndExt() == "refused.v" ? Entry() : files.GetFile(file);
        };
    }
    ~AddFilesToModelTest() override
    {
        files.RemoveAllFiles();
        files.UpdateErrorFiles();
    }

    // A project file whose file-list block lists the files (each with its
    // extra lines), written as the file manager writes it.
    static void Parse(ImodelProjectFileStructure& parsed, const std::vector<std::string>& members)
    {
        std::ostringstream text;
        text << "KEY SOLVATO \"8.4\"\nLIST FileManager\n";
        for (const std::string& member : members) text << member << "ENDFILE\n";
        text << "ENDLIST\n";
        parsed.Parse("test.prj", text.str(), "");
    }
    Entry Find(const std::string& relative) const
    {
        return files.GetFile(IfileObject(relative, zorpaFT_UNKNOWN, ImodelFMRelative, false, true));
    }

    TempFolder project;
    ProjectFolderScope folder{project.Path()};
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    RecordingCommandServices commands;
};

}  // namespace

TEST_F(AddFilesToModelTest, SchematicsComeFirstAndChildrenPointAtTheirRegisteredParent)
{
    for (const char* name : {"b.v", "a.sch", "refused.v", "c.v"}) project.Write(name, "");
    ImodelProjectFileStructure parsed;
    Parse(parsed, {"VALUE \"<project>/b.v,hdl\"\nPARENT=\"<project>/a.sch\"\n", "VALUE \"<project>/a.sch,sch\"\n",
                   "VALUE \"<project>/refused.v,hdl\"\n", "VALUE \"<project>/gone.v,hdl\"\n",
                   "VALUE \"/elsewhere/linked.v,hdl\"\n", "VALUE \"<project>/c.v,hdl\"\nPARENT=\"<project>/b.v\"\n"});
    Registered listener;
    files.AddListener(&listener);
    std::vector<std::string> skip{"ram"};
    int steps = 0;
    EXPECT_TRUE(files.AddFilesToModel(
        parsed, {}, &skip, [&steps] { ++steps; }, true, true));
    files.RemoveListener(&listener);

    // The schematic is registered before any other file; the linked file is
    // left out; the missing one is not registered.
    EXPECT_EQ(listener.names, (std::vector<std::string>{"a.sch", "b.v", "refused.v", "c.v"}));
    std::vector<std::string> handed;
    for (const RecordingCommandServices::AddCall& call : commands.adds) {
        handed.push_back(call.name);
        EXPECT_FALSE(call.updateFileManager);
        EXPECT_TRUE(call.parse);
        EXPECT_EQ(call.skippedModules, skip);
    }
    EXPECT_EQ(handed, (std::vector<std::string>{"b.v", "a.sch", "refused.v", "gone.v", "c.v"}));
    EXPECT_EQ(steps, 5);
    // Files the command refuses are for deletion.
    ASSERT_EQ(parsed.GetFilesToDelete().size(), 2u);
    EXPECT_EQ(parsed.GetFilesToDelete()[0].first, project.Path() + "/refused.v");
    EXPECT_EQ(parsed.GetFilesToDelete()[1].first, project.Path() + "/gone.v");

    // A file listed after its parent points at the parent's registered entry.
    const Entry b = Find("b.v");
    const Entry c = Find("c.v");
    ASSERT_TRUE(b && c);
    EXPECT_EQ(b->GetParentFilesOfType(zorpaFT_SCH).size(), 1u);
    EXPECT_EQ(c->GetParentFileList().front().second.lock(), b);
}

TEST_F(AddFilesToModelTest, WithoutTheCommandLayerTheFilesStayRegisteredAndNoneIsForDeletion)
{
    for (const char* name : {"a.v", "b.v"}) project.Write(name, "");
    ImodelProjectFileStructure parsed;
    Parse(parsed, {"VALUE \"<project>/a.v,hdl\"\n", "VALUE \"<project>/b.v,hdl\"\n"});
    ImodelCommandServices* layer = ImodelCommandServices::Install(nullptr);
    int steps = 0;
    EXPECT_TRUE(files.AddFilesToModel(
        parsed, {}, nullptr, [&steps] { ++steps; }, true, true));
    ImodelCommandServices::Install(layer);
    EXPECT_TRUE(Find("a.v") && Find("b.v"));
    EXPECT_EQ(steps, 2);
    EXPECT_TRUE(commands.adds.empty());
    EXPECT_TRUE(parsed.GetFilesToDelete().empty());
}

TEST_F(AddFilesToModelTest, AFileIsInTheGroupOfItsCurrentErrorTextOnly)
{
    project.Write("a.v", "");
    project.Write("b.v", "");
    IfileObjectEx a(IfileObject("a.v", zorpaFT_HDL, ImodelFMRelative, false, true), false);
    IfileObjectEx b(IfileObject("b.v", zorpaFT_HDL, ImodelFMRelative, false, true), false);
    b.SetErrorFile(ImodelModuleAlreadyDefined, "alu");
    files.AddOrUpdateFile(b, true);
    // "zeta" sorts after "alu": the walk over the groups must reach it.
    for (const char* text : {"zeta", "alu", "mux"}) {
        a.SetErrorFile(ImodelModuleAlreadyDefined, text);
        files.AddOrUpdateFile(a, true);
        std::vector<std::string> groupsOfA;
        const IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
        for (auto group = groups.first; group != groups.second; ++group)
            for (const IfileErrorFile& member : *group->second)
                if (member.file.lock() == Find("a.v")) groupsOfA.push_back(group->first);
        EXPECT_EQ(groupsOfA, std::vector<std::string>{text});
    }
    // No group is left without a file, and b stays in its own.
    std::vector<std::string> texts;
    const IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
    for (auto group = groups.first; group != groups.second; ++group) texts.push_back(group->first);
    EXPECT_EQ(texts, (std::vector<std::string>{"alu", "mux"}));
}

// The files the adds find changed on disk are those a walk over the whole
// block after every add finds: each file's entry, as it stands at the end,
// against the stamp the block stored. The command here drops some entries
// as a failed parse does, its own or an earlier file's, and the block holds
// files twice, missing files and linked files.
TEST_F(AddFilesToModelTest, TheFilesNewerOnDiskAreThoseAWalkAfterEveryAddFinds)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Some blocks are as large as a project's whose read files are let
        // go of off the command's path once every file is added.
        const int count = 3 + static_cast<int>(round % 8 == 7 ? 300 + random() % 60 : random() % 30);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            names.push_back("r" + std::to_string(round) + "_" + std::to_string(i) + ".v");
            if (random() % 8 != 0) project.Write(names.back(), std::string(1 + random() % 40, 'x'));
        }
        std::vector<std::string> members;
        for (int line = 0; line < count + 3; ++line) {
            const std::string& name = names[random() % names.size()];
            std::string member = random() % 10 == 0 ? "VALUE \"/elsewhere/" + name + ",hdl\"\n"
                                                    : "VALUE \"<project>/" + name + ",hdl\"\n";
            SysStatInfo disk;
            if (SysPathStat(project.Path() + "/" + name, &disk) != 0)
                disk = SysStatInfo{0, 1'700'000'000'000'000'000, 5};
            switch (random() % 4) {
            case 0:  // stored as it is on disk
                member += "TIME=\"" + std::to_string(disk.time) + "\"\nSIZE=\"" + std::to_string(disk.size) + "\"\n";
                break;
            case 1:  // stored before the last change
                member += "TIME=\"" + std::to_string(disk.time - 2'000'000'000) + "\"\nSIZE=\"" +
                          std::to_string(disk.size) + "\"\n";
                break;
            case 2:  // the size changed
                member +=
                    "TIME=\"" + std::to_string(disk.time) + "\"\nSIZE=\"" + std::to_string(disk.size + 1) + "\"\n";
                break;
            default:  // no stamp stored
                break;
            }
            members.push_back(member);
        }
        // The command drops the entry of one file in five, and sometimes an
        // earlier file's too.
        std::vector<std::string> handed;
        commands.addAnswer = [&](const IfileObjectEx& file) {
            handed.push_back(file.GetFileTitleAndExt());
            if (random() % 5 != 0) return files.GetFile(file);
            if (handed.size() > 1 && random() % 2 == 0)
                files.RemoveFile(
                    IfileObject(handed[random() % (handed.size() - 1)], zorpaFT_HDL, ImodelFMRelative, false, true));
            files.RemoveFile(file);
            return Entry();
        };
        ImodelProjectFileStructure parsed;
        Parse(parsed, members);
        std::deque<IfileObject> newer;
        newer.emplace_back(IfileObject("before.v", zorpaFT_HDL, ImodelFMRelative, false, true));
        const bool localOnly = random() % 2 == 0;
        ASSERT_TRUE(files.AddFilesToModel(parsed, {}, nullptr, nullptr, true, localOnly, &newer));

        // The plain way: the block read again, every file looked up at the end.
        ImodelProjectFileStructure again;
        Parse(again, members);
        std::deque<IfileObjectEx> stored;
        ASSERT_TRUE(IfileGetFileList(again, stored, {}));
        std::vector<std::string> expected{newer.front().GetInternalFileName().GetString()};
        for (const IfileObjectEx& file : stored)
            if (const Entry entry = files.GetFile(file); entry && entry->IsNewerThan(file.GetStatInfo()))
                expected.push_back(entry->GetInternalFileName().GetString());
        std::vector<std::string> found;
        for (const IfileObject& file : newer) found.push_back(file.GetInternalFileName().GetString());
        EXPECT_EQ(found, expected);
        files.RemoveAllFiles();
    }
}
