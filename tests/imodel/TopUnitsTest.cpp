// The top-level lists, made when read after an update: after any run of
// changes (units in and out, links made and dropped, files, package flags and
// libraries changed, units moved, a library renamed), each list read holds
// the library's packages in the reverse order of its unit set, then the units
// no unit of a library of the same name instantiates, in set order.
#include "ModuleTreeTestSupport.h"

#include "MessageRecorder.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <array>
#include <deque>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Libraries = std::vector<ImodelDesignManager::LibraryPtr>;
using List = std::deque<ImodelModule*>;

class TopUnitsTest : public DesignFixture {
protected:
    void TearDown() override
    {
        Design().Reset();
        Imodel::GetInstance().GetFileManager()->RemoveAllFiles();
        DesignFixture::TearDown();
    }

    template <class Pool>
    auto Pick(const Pool& pool)
    {
        return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(m_random)];
    }
    bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(m_random) < percent; }

    static Libraries AllLibraries()
    {
        const auto [begin, end] = Design().GetLibraries();
        return Libraries(begin, end);
    }
    // Every unit of every library, with the set that holds it.
    static std::vector<std::pair<ImodelModule*, ImodelModule::UnitSet*>> AllUnits()
    {
        std::vector<std::pair<ImodelModule*, ImodelModule::UnitSet*>> units;
        for (const auto& library : AllLibraries())
            for (ImodelModule* unit : *library->GetModules()) units.emplace_back(unit, library->GetModules().get());
        return units;
    }

    // The library's top-level units worked out from every unit.
    static List FromScratch(const ImodelDesignManager::LibraryPtr& library)
    {
        List packages;
        List others;
        for (ImodelModule* unit : *library->GetModules()) {
            bool top = true;
            if (const ImodelLinkList* parents = unit->GetParentsList())
                for (const ImodelModule* parent : *parents)
                    top = top && (parent == nullptr ||
                                  !ImodelIsSameStrNoCase(parent->GetComponentID().library, library->GetName()));
            if (top) (unit->IsPackage() ? packages : others).push_back(unit);
        }
        List list(packages.rbegin(), packages.rend());
        list.insert(list.end(), others.begin(), others.end());
        return list;
    }

    // The list read after an update compared with the list worked out anew;
    // read again, it is the same.
    static void ExpectCurrent(const ImodelDesignManager::LibraryPtr& library, int step)
    {
        Design().UpdateTopModules(library);
        const List* read = Design().GetTopModules(library);
        ASSERT_NE(read, nullptr);
        ASSERT_EQ(*read, FromScratch(library)) << library->GetName() << " at step " << step;
        ASSERT_EQ(*Design().GetTopModules(library), FromScratch(library));
    }

    std::mt19937 m_random{20261207};
};

const std::array<const char*, 3> kLibraries{"work", "lib", "other"};
const std::array<const char*, 4> kDefinedIn{"work", "WORK", "lib", "elsewhere"};
const std::array<const char*, 6> kNames{"a", "B", "c", "alu", "ALU", "top"};
const std::array<const char*, 4> kFiles{"/p/one.vhd", "/p/two.vhd", "/p/three.v", "/p/four.vhd"};

}  // namespace

TEST_F(TopUnitsTest, ListsKeptUpToDateMatchListsMadeAnewAfterRandomChanges)
{
    for (const char* name : kFiles) {
        const IfileObject value(ImodelFileName(name), zorpaFT_HDL, ImodelFMFull, false, true);
        Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(IfileObjectEx(value, false), false);
    }
    // Renames and duplicates tell the user; not looked at here.
    MessageRecorder messages;
    int filed = 0;
    int compared = 0;
    for (int round = 0; round < 12; ++round) {
        Design().Reset();
        for (const char* library : kLibraries) Design().AddLibrary(library, false);
        for (int step = 0; step < 600; ++step) {
            const auto units = AllUnits();
            const auto [unit, set] = units.empty() ? std::pair<ImodelModule*, ImodelModule::UnitSet*>() : Pick(units);
            ImodelModule* other = units.empty() ? nullptr : Pick(units).first;
            const auto library = Design().AddLibrary(Pick(kLibraries), false);
            switch (std::uniform_int_distribution<int>(0, units.size() < 6 ? 0 : 11)(m_random)) {
            case 0:
            case 1:
                library->GetModules()->Insert(MakeModule(Pick(kNames), Chance(60) ? MakeFile(Pick(kFiles)) : nullptr,
                                                         zorpaMODULE_VHDL, Chance(20), library->GetName()));
                break;
            case 2:
                set->Erase(unit);
                break;
            case 3:
            case 4:
                unit->AddSubBlock(other, false);
                break;
            case 5:
                unit->RemoveSubBlock(other, true);
                break;
            case 6:
                if (Chance(50))
                    unit->DetachSubBlock(other);
                else
                    unit->DestroySubBlockList(false);
                break;
            case 7:
                unit->SetDefinedInLibrary(Pick(kDefinedIn));
                break;
            case 8:
                unit->SetIsPackage(!unit->IsPackage());
                break;
            case 9:
                if (Chance(50)) {
                    unit->SetNoFile();
                } else {
                    unit->SetModuleFileName(Pick(kFiles), nullptr, false);
                    filed += unit->GetModuleFile() != nullptr;
                }
                break;
            case 10:
                if (auto moved = set->Extract(unit)) library->GetModules()->Insert(std::move(moved));
                break;
            case 11:
                if (Chance(10) && library->GetName() != "work")
                    Design().RenameLibrary(library->GetName(), Chance(50) ? "LIB" : "lib");
                break;
            }
            // Updated now and then, as parsing does, and read only later.
            if (Chance(30)) Design().UpdateTopModules(library);
            if (Chance(15)) {
                ASSERT_NO_FATAL_FAILURE(ExpectCurrent(library, step));
                ++compared;
            }
        }
        for (const auto& library : AllLibraries()) ASSERT_NO_FATAL_FAILURE(ExpectCurrent(library, -1));
    }
    EXPECT_GT(filed, 50);
    EXPECT_GT(compared, 500);
}
