// The save and restore of the libraries around a change of the design's
// units keeps only what the change touches. On random designs and random
// changes (files parsed again, their units gone and back under the same or
// other names, units of new names, roots moved, file stamps kept), the
// units come out of the restore with the data they would get from a copy of
// every library taken at the start, by name and by file.
#include "ReparseTestSupport.h"

#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelDestroyLib.h"
#include "imodel/design/ImodelDuplicateLibs.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using FileList = ImodelModule::FileList;

class UnitJournalTest : public ReparseFixture {
protected:
    static Imodel& Model() { return Imodel::GetInstance(); }

    // Units u0.. over files f0.. (one to three units a file), each with
    // data of its own: lists, expand value, CDB order.
    void MakeDesign(std::mt19937& random, int files)
    {
        m_files.clear();
        m_names.clear();
        for (int f = 0; f < files; ++f) m_files.push_back(ProjectFile("f" + std::to_string(f) + ".vhd"));
        m_extra = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
        for (int f = 0; f < files; ++f) {
            const int count = 1 + static_cast<int>(random() % 3);
            for (int u = 0; u < count; ++u) {
                const std::string name = "u" + std::to_string(m_names.size());
                m_names.push_back(name);
                ImodelModule* unit = Unit(name, m_files[f]);
                unit->SetExpand(static_cast<int>(random() % 3));
                if (random() % 2) unit->SetNewStimulusList({*m_extra}, nullptr);
                if (random() % 2) unit->AddAssociatedFile(*m_files[random() % m_files.size()]);
                if (random() % 3 == 0) unit->SetCDBOrder({*m_files[random() % m_files.size()]}, false);
            }
        }
    }

    // What a re-parse and its neighbours do to the units, drawn from `random`.
    void Change(std::mt19937& random)
    {
        const int steps = 1 + static_cast<int>(random() % 6);
        for (int step = 0; step < steps; ++step) {
            const Entry& file = m_files[random() % m_files.size()];
            switch (random() % 5) {
            case 0:
            case 1: {
                // The file's units go and come back, some under their old
                // names, some under a name another file already uses.
                std::vector<std::string> names;
                for (ImodelModule* unit : Design().FindLibraryByName("work")->GetModules()->UnitsOfFileKey(
                         ImodelFileNameKey(file->GetInternalFileName().GetString())))
                    names.push_back(unit->GetName());
                ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
                for (const std::string& name : names)
                    if (random() % 4 != 0) NewUnit(random() % 3 == 0 ? Drawn(random) : name, file);
                break;
            }
            case 2:
                NewUnit("n" + std::to_string(random() % 20), file);
                break;
            case 3:
                if (ImodelModule* unit = Find(Drawn(random))) unit->SetIsRoot(!unit->IsRoot());
                break;
            default:
                if (ImodelModule* unit = Find(Drawn(random))) unit->SaveTimeStamp();
                break;
            }
        }
    }

    void NewUnit(const std::string& name, const Entry& file)
    {
        auto made = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, "work", "", false);
        Design().FindLibraryByName("work")->GetModules()->Insert(std::move(made));
    }

    std::string Drawn(std::mt19937& random) const { return m_names[random() % m_names.size()]; }

    // Every unit of the design with what a restore gives back, in set order.
    static std::string Dump()
    {
        std::ostringstream out;
        for (const ImodelModule* unit : *Design().FindLibraryByName("work")->GetModules()) {
            out << unit->GetName() << " @" << (unit->GetModuleFile() ? unit->GetModuleFile()->GetFileTitleAndExt() : "-")
                << " expand " << unit->GetExpand() << " root " << unit->IsRoot() << " stimulus "
                << unit->GetStimulusList().size() << " associated " << unit->GetAssociatedFileListConst().size()
                << " cdb " << unit->GetCDBOrder().size() << "\n";
        }
        return out.str();
    }

    std::vector<Entry> m_files;
    Entry m_extra;
    std::vector<std::string> m_names;
};

}  // namespace

TEST_F(UnitJournalTest, RestoreGivesWhatACopyOfEveryLibraryGives)
{
    constexpr zorpaSaveRestoreParams kCopyLists{false, true, false};
    int differed = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        for (const bool byName : {true, false}) {
            // The same design and change twice: once restored from a copy
            // of every library, once through the model's save and restore.
            std::mt19937 first(seed);
            MakeDesign(first, 6);
            const std::string before = Dump();
            ImodelDesignManager::Libraries copies;
            ImodelDuplicateLibs(Design(), copies);
            Change(first);
            ImodelRestoreLibs(Design(), copies, byName, kCopyLists);
            ImodelDestroyLibs(copies);
            const std::string copied = Dump();
            Design().Reset();
            Files().RemoveAllFiles();
            ImodelModule::ClearRemovedModuleList();

            std::mt19937 second(seed);
            MakeDesign(second, 6);
            ASSERT_EQ(Dump(), before);
            Model().SaveLibraries();
            Model().SaveLibraries();  // nested: only the outer pair counts
            Change(second);
            Model().RestoreLibraries(byName, kCopyLists);
            Model().RestoreLibraries(byName, kCopyLists);
            EXPECT_EQ(Dump(), copied) << "seed " << seed << (byName ? " by name" : " by file");
            differed += copied != before;
            Design().Reset();
            Files().RemoveAllFiles();
            ImodelModule::ClearRemovedModuleList();
        }
    }
    // The changes were felt: the restore had work to do.
    EXPECT_GT(differed, 10);
}

TEST_F(UnitJournalTest, AUnitGoneAndBackUnderAnotherFileTakesTheDataOfItsName)
{
    const Entry first = ProjectFile("first.vhd");
    const Entry second = ProjectFile("second.vhd");
    const Entry bench = ProjectFile("tb.vhd", zorpaFT_TB_HDL);
    ImodelModule* mid = Unit("mid", first);
    ImodelModule* other = Unit("other", second);
    mid->SetNewStimulusList({*bench}, nullptr);
    mid->SetExpand(2);
    other->SetExpand(1);

    Model().SaveLibraries();
    ImodelRemoveModulesOfFile(first, nullptr, true, false, false, nullptr, nullptr);
    ImodelModule* again = Unit("MID", second);
    EXPECT_EQ(again->GetExpand(), -1);
    Model().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});

    EXPECT_EQ(again->GetStimulusList(), FileList{*bench});
    EXPECT_EQ(again->GetExpand(), 2);
    EXPECT_EQ(other->GetExpand(), 1);
    // Nothing is kept once the change is over: the next one starts afresh.
    Model().SaveLibraries();
    Model().RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    EXPECT_EQ(again->GetExpand(), 2);
}
