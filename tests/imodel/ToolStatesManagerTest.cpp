#include "ContextTestProject.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelToolStatesManager.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <cctype>
#include <cstddef>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

using ToolStatesManager = ContextTestProject;

TEST_F(ToolStatesManager, WithFileChoiceEachFileHasItsOwnResult)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    ImodelContextToolStatesManager manager;
    const auto member = Entry("synthesis/a.edn", zorpaFT_SYN_EDN, true);
    const auto outsider = Entry("synthesis/c.edn", zorpaFT_SYN_EDN, false);
    manager.SetObjectToolState(idePALLADOR, nullptr, StateFailure, nullptr);
    manager.SetObjectToolState(idePALLADOR, member, StateSuccess, nullptr);
    manager.SetObjectToolState(ideSYNTHESIS, member, StateSuccess, nullptr);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, member), StateSuccess);
    // A project file without a record of its own reads the general result;
    // a file outside the project has none. Reading makes no record.
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, Entry("synthesis/b.edn", zorpaFT_SYN_EDN, true)), StateFailure);
    EXPECT_EQ(manager.GetObjectToolState(idePALLADOR, outsider), StateNoResult);
    EXPECT_EQ(manager.GetObjects().size(), 3u);
    // The same file under another spelling is the same record.
    const auto spelled = boost::make_shared<IfileObjectEx>(
        IfileObject(m_folder.Path() + "/SYNTHESIS/A.EDN", zorpaFT_SYN_EDN, ImodelFMFull, true, false), false);
    manager.SetObjectToolState(idePALLADOR, spelled, StateFailure, nullptr);
    EXPECT_EQ(manager.GetObjects().size(), 3u);
    // Removing a file drops its records of every tool and keeps the rest.
    manager.NotifyFileRemoved(member);
    ASSERT_EQ(manager.GetObjects().size(), 1u);
    EXPECT_EQ(manager.GetObjects().front().GetFile(), nullptr);
}

// A file that leaves the project takes its records out of every manager
// that holds one, found by the file's name whatever the spelling of the
// record's file, and leaves every other record as it was: through every way
// records come and go (made by a state, copied and assigned with their
// manager, taken away, gone with their manager), the managers a file is
// looked for in stay those that hold it.
TEST_F(ToolStatesManager, AFileThatLeavesTheProjectLeavesEveryManager)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    const std::vector<boost::shared_ptr<IfileObjectEx>> files = {
        Entry("synthesis/a.edn", zorpaFT_SYN_EDN, true), Entry("synthesis/b.edn", zorpaFT_SYN_EDN, true),
        Entry("other/a.edn", zorpaFT_SYN_EDN, true),
        // a.edn under another spelling: its records are a.edn's.
        boost::make_shared<IfileObjectEx>(
            IfileObject(m_folder.Path() + "/SYNTHESIS/A.EDN", zorpaFT_SYN_EDN, ImodelFMFull, true, false), false)};
    const ImodelFunctionType kinds[] = {ideSYNTHESIS, idePALLADOR};
    const imodelToolState states[] = {StateNoResult, StateSuccess, StateFailure};
    std::vector<std::optional<ImodelContextToolStatesManager>> managers(4);
    // Per manager, the records it holds, by tool and file name.
    const auto recordsOf = [&managers] {
        std::vector<std::multiset<std::string>> records;
        for (const auto& manager : managers) {
            records.emplace_back();
            if (!manager) continue;
            for (const auto& object : manager->GetObjects())
                records.back().insert(std::to_string(object.GetKind()) + ":" +
                                      (object.GetFile() ? object.GetFile()->GetFullFileName().GetString() : "-") + "=" +
                                      std::to_string(object.GetState()));
        }
        return records;
    };
    const auto isOf = [](const std::string& record, const IfileObject& file) {
        return record.find(":" + file.GetFullFileName().GetString() + "=") != std::string::npos;
    };
    std::mt19937 random(31);
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int step = 0; step < 3000; ++step) {
        auto& manager = managers[pick(managers.size())];
        const auto& other = managers[pick(managers.size())];
        switch (pick(6)) {
        case 0:
        case 1:
            if (!manager) manager.emplace();
            manager->SetObjectToolState(kinds[pick(2)], pick(4) == 0 ? nullptr : files[pick(files.size())],
                                        states[pick(3)], nullptr);
            break;
        case 2:
            if (other && &manager != &other) manager.emplace(*other);
            break;
        case 3:
            if (manager && other) *manager = *other;
            break;
        case 4:
            if (manager) manager->NotifyFileRemoved(files[pick(files.size())]);
            break;
        default: {
            if (pick(4) == 0) {
                manager.reset();
                break;
            }
            const IfileObject& leaving = *files[pick(files.size() - 1)];
            auto expected = recordsOf();
            for (auto& records : expected)
                std::erase_if(records, [&](const std::string& record) {
                    // Spelled otherwise, a.edn is still a.edn.
                    return isOf(record, leaving) || (leaving == *files[0] && isOf(record, *files[3]));
                });
            ImodelContextToolStatesManager::FileLeftProject(leaving);
            ASSERT_EQ(recordsOf(), expected) << "step " << step;
            break;
        }
        }
    }
}

// A member missing from disk when the project is opened is let go without
// being held: its records stay until the project is saved, and then go
// unless the project holds the file again.
TEST_F(ToolStatesManager, AFileNotHeldKeepsItsRecordsUntilTheSaveOnlyWhenItComesBack)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    IfileManager& members = *Imodel::GetInstance().GetFileManager();
    const auto back = Entry("synthesis/back.edn", zorpaFT_SYN_EDN, true);
    const auto gone = Entry("synthesis/gone.edn", zorpaFT_SYN_EDN, true);
    ImodelContextToolStatesManager manager;
    manager.SetObjectToolState(ideSYNTHESIS, back, StateSuccess, nullptr);
    manager.SetObjectToolState(idePALLADOR, gone, StateFailure, nullptr);
    manager.SetObjectToolState(idePALLADOR, nullptr, StateSuccess, nullptr);
    ImodelContextToolStatesManager::FileNotHeld(*back);
    ImodelContextToolStatesManager::FileNotHeld(*gone);
    EXPECT_EQ(manager.GetObjects().size(), 3u);
    // back.edn comes back into the project before the save.
    m_folder.Write("synthesis/back.edn", "");
    members.AddOrUpdateFile(IfileObjectEx(*back, false), false);
    ImodelContextToolStatesManager::ForgetFilesNotBack();
    members.RemoveAllFiles();
    ASSERT_EQ(manager.GetObjects().size(), 2u);
    EXPECT_EQ(manager.GetObjectToolState(ideSYNTHESIS, back), StateSuccess);
    EXPECT_EQ(manager.GetObjects().back().GetFile(), nullptr);
    // Let go once, a file is not let go again at a later save.
    ImodelContextToolStatesManager::ForgetFilesNotBack();
    EXPECT_EQ(manager.GetObjectToolState(ideSYNTHESIS, back), StateSuccess);
}

// A file renamed while the project is open (in letter case on disk, or to
// another place): every record of it, in every manager, takes the new name
// and keeps its state, as renaming each record by a walk does; the records
// are then found under the new name, the file leaving takes them all.
TEST_F(ToolStatesManager, AFileRenamedIsRenamedInEveryManagerAndFoundUnderItsNewName)
{
    DefOverRideGuard choice("IDE_SELECT_FLOW_FILE_FEATURE_ENABLED", "1");
    const std::vector<boost::shared_ptr<IfileObjectEx>> files = {Entry("synthesis/a.edn", zorpaFT_SYN_EDN, true),
                                                                 Entry("synthesis/b.edn", zorpaFT_SYN_EDN, true),
                                                                 Entry("other/a.edn", zorpaFT_SYN_EDN, true)};
    const ImodelFunctionType kinds[] = {ideSYNTHESIS, idePALLADOR};
    const imodelToolState states[] = {StateSuccess, StateFailure};
    std::mt19937 random(57);
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::optional<ImodelContextToolStatesManager>> managers(5);
        for (int step = 0; step < 20; ++step) {
            auto& manager = managers[pick(managers.size())];
            const auto& other = managers[pick(managers.size())];
            if (pick(5) == 0 && other && &manager != &other) {
                manager.emplace(*other);
                continue;
            }
            if (!manager) manager.emplace();
            manager->SetObjectToolState(kinds[pick(2)], pick(5) == 0 ? nullptr : files[pick(files.size())],
                                        states[pick(2)], nullptr);
        }
        // Per manager, its records by tool, file name as spelt, and state.
        const auto recordsOf = [&managers] {
            std::vector<std::vector<std::string>> records;
            for (const auto& manager : managers) {
                records.emplace_back();
                if (!manager) continue;
                for (const auto& object : manager->GetObjects())
                    records.back().push_back(
                        std::to_string(object.GetKind()) + ":" +
                        (object.GetFile() ? object.GetFile()->GetInternalFileName().GetString() : "-") + "=" +
                        std::to_string(object.GetState()));
            }
            return records;
        };
        const IfileObject& from = *files[pick(files.size())];
        std::string name = from.GetInternalFileName().GetString();
        if (pick(2) == 0) {
            for (std::size_t i = name.rfind('/') + 1; i < name.size(); ++i)
                name[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
        } else {
            name.replace(name.rfind('/') + 1, std::string::npos, "moved" + std::to_string(round) + ".edn");
        }
        const IfileObject to(ImodelFileName(name), zorpaFT_SYN_EDN, ImodelFMInternal, true, false);
        auto expected = recordsOf();
        const std::string was = ":" + from.GetInternalFileName().GetString() + "=";
        for (auto& records : expected)
            for (std::string& record : records)
                if (const std::size_t at = record.find(was); at != std::string::npos)
                    record.replace(at, was.size(), ":" + name + "=");
        ImodelContextToolStatesManager::FileRenamed(from, to);
        ASSERT_EQ(recordsOf(), expected) << "round " << round;
        for (auto& records : expected)
            std::erase_if(
                records, [&](const std::string& record) { return record.find(":" + name + "=") != std::string::npos; });
        ImodelContextToolStatesManager::FileLeftProject(to);
        ASSERT_EQ(recordsOf(), expected) << "round " << round;
    }
}
