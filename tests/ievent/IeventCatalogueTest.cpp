#include "Golden.h"
#include "RecordingView.h"

#include "ievent/IeventClasses.h"
#include "imodel/model/Imodel.h"

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Stand-ins for objects the events only point to; never dereferenced.
int g_moduleStorage = 0;
int g_componentStorage = 0;
int g_coreStorage = 0;
ImodelModule* const kModule = reinterpret_cast<ImodelModule*>(&g_moduleStorage);
VyIfaces::IComponent* const kComponent = reinterpret_cast<VyIfaces::IComponent*>(&g_componentStorage);
const VlnvCoreId* const kCore = reinterpret_cast<const VlnvCoreId*>(&g_coreStorage);

// File entries are only shared, never looked into: an empty one serves.
Ievent_FilesParent::Entry NewEntry() { return {}; }

// A scanner of design units as the parse command hands it over.
struct FakeScanner {
    std::vector<ImodelModule*> found;
    std::pair<std::vector<ImodelModule*>::const_iterator, std::vector<ImodelModule*>::const_iterator>
    GetModuleRange() const
    {
        return {found.begin(), found.end()};
    }
};

std::vector<std::string> CatalogueNames()
{
#define IEVENT_TEST_NAME(Event) #Event,
    return {QUORLANE_IEVENT_CATALOGUE(IEVENT_TEST_NAME)};
#undef IEVENT_TEST_NAME
}

// One event of every class, keyed by the class name its delivery must reach.
std::map<std::string, boost::shared_ptr<Ievent>> OneOfEach()
{
#define EVENT(Event, ...)                                                                                              \
    {                                                                                                                  \
#Event, boost::make_shared < Event>(__VA_ARGS__)                                                               \
    }
    static FakeScanner scanner{{kModule}};
    return {
        EVENT(IeventToolInputListChanged, idePALLADOR),
        EVENT(IeventNeedSaveFlagChanged),
        EVENT(IeventToolExePathChanged, ideSYNTHESIS),
        EVENT(IeventCurrentRootChanged),
        EVENT(IeventCoreRemoved, kCore),
        EVENT(IeventIPCoresDisplayOptionsChanged),
        EVENT(IeventCvlibChanged),
        EVENT(IeventBusDefChanged),
        EVENT(IeventIPRepositoryStateChanged, "/repo/a"),
        EVENT(IeventIPRepositoryRemoved, "/repo/b"),
        EVENT(IeventIPRepositoryReady, "/repo/c"),
        EVENT(IeventReloadAllCatalogs, false, false),
        EVENT(IeventNewErrorModulesAddedOrRemoved),
        EVENT(IeventProjectOpened, true),
        EVENT(IeventProjectClosed),
        EVENT(IeventStatusBarContentChanged),
        EVENT(IeventBlockDrawing, true),
        EVENT(IeventDesignFlowOptionsChanged),
        EVENT(IeventPalladorViewsChanged),
        EVENT(IeventPalladorViewChangedActive, 2, 5),
        EVENT(IeventPalladorViewModified, 3),
        EVENT(IeventPalladorViewWillBeRemoved, 4),
        EVENT(IeventPalladorViewAdded, 6),
        EVENT(IeventLibraryModified, "a", "b"),
        EVENT(IeventLibraryRemoved, "old_lib"),
        EVENT(IeventLibraryAdded, "new_lib"),
        EVENT(IeventFileRetargeted, NewEntry()),
        EVENT(IeventFileRemoved, NewEntry()),
        EVENT(IeventFileAddedOrModified, NewEntry(), true),
        EVENT(IeventFileRemoveAll),
        EVENT(IeventSelectionChanged, kModule),
        EVENT(IeventFileAndModulePostParse, NewEntry(), &scanner),
        EVENT(IeventFilePreParse, NewEntry()),
        EVENT(IeventFilePostRemove, NewEntry()),
        EVENT(IeventFilePreRemove, NewEntry()),
        EVENT(IeventComponentModified, kComponent),
        EVENT(IeventComponentRemoved, kComponent),
        EVENT(IeventComponentAdded, kComponent),
        EVENT(IeventModuleModified, kModule),
        EVENT(IeventModuleRemovedFromUseClause, std::vector<ImodelModule*>{kModule}),
        EVENT(IeventModuleRemoved, kModule),
        EVENT(IeventModuleAdded, kModule),
        EVENT(IeventModulePostRemoveAll),
        EVENT(IeventModulePreRemoveAll),
    };
#undef EVENT
}

// A view that overrides nothing.
class SilentView : public IeventView {};

}  // namespace

TEST(IeventCatalogue, EveryClassReachesExactlyItsOwnUpdateView)
{
    const std::vector<std::string> names = CatalogueNames();
    std::string dump;
    for (const std::string& name : names) dump += name + "\n";
    ExpectMatchesGolden("events.txt", dump);
    const auto events = OneOfEach();
    ASSERT_EQ(events.size(), names.size());

    // The whole catalogue as one batch, in view order.
    IeventBatch batch;
    for (const std::string& name : names) {
        ASSERT_EQ(events.count(name), 1u) << name << " has no event in the walk";
        batch.push_back(events.at(name));
    }
    RecordingView view;
    view.UpdateViews(batch);
    EXPECT_EQ(view.Names(), names);
    ASSERT_EQ(view.Events().size(), batch.size());
    for (std::size_t i = 0; i < batch.size(); ++i) EXPECT_EQ(view.Events()[i], batch[i].get()) << names[i];

    // The base view ignores every class; a derived class keeps its own.
    SilentView silent;
    silent.UpdateViews(batch);
    RecordingView derived;
    IeventIPRepositoryRemoved removed("/repo");
    static_cast<IeventIPRepositoryReady&>(removed).Notify(&derived);
    EXPECT_EQ(derived.Names(), std::vector<std::string>{"IeventIPRepositoryRemoved"});
}
