// The event classes, in the order of the UpdateView overloads of IeventView.
// A new event class is one line here and its declaration in IeventClasses.h;
// IeventView then has an empty UpdateView for it, which views override.
#pragma once

#define QUORLANE_IEVENT_CATALOGUE(X)                                                                                   \
    X(IeventToolInputListChanged)                                                                                      \
    X(IeventNeedSaveFlagChanged)                                                                                       \
    X(IeventToolExePathChanged)                                                                                        \
    X(IeventCurrentRootChanged)                                                                                        \
    X(IeventCoreRemoved)                                                                                               \
    X(IeventIPCoresDisplayOptionsChanged)                                                                              \
    X(IeventCvlibChanged)                                                                                              \
    X(IeventBusDefChanged)                                                                                             \
    X(IeventIPRepositoryStateChanged)                                                                                  \
    X(IeventIPRepositoryRemoved)                                                                                       \
    X(IeventIPRepositoryReady)                                                                                         \
    X(IeventReloadAllCatalogs)                                                                                         \
    X(IeventNewErrorModulesAddedOrRemoved)                                                                             \
    X(IeventProjectOpened)                                                                                             \
    X(IeventProjectClosed)                                                                                             \
    X(IeventStatusBarContentChanged)                                                                                   \
    X(IeventBlockDrawing)                                                                                              \
    X(IeventDesignFlowOptionsChanged)                                                                                  \
    X(IeventPalladorViewsChanged)                                                                                      \
    X(IeventPalladorViewChangedActive)                                                                                 \
    X(IeventPalladorViewModified)                                                                                      \
    X(IeventPalladorViewWillBeRemoved)                                                                                 \
    X(IeventPalladorViewAdded)                                                                                         \
    X(IeventLibraryModified)                                                                                           \
    X(IeventLibraryRemoved)                                                                                            \
    X(IeventLibraryAdded)                                                                                              \
    X(IeventFileRetargeted)                                                                                            \
    X(IeventFileRemoved)                                                                                               \
    X(IeventFileAddedOrModified)                                                                                       \
    X(IeventFileRemoveAll)                                                                                             \
    X(IeventSelectionChanged)                                                                                          \
    X(IeventFileAndModulePostParse)                                                                                    \
    X(IeventFilePreParse)                                                                                              \
    X(IeventFilePostRemove)                                                                                            \
    X(IeventFilePreRemove)                                                                                             \
    X(IeventComponentModified)                                                                                         \
    X(IeventComponentRemoved)                                                                                          \
    X(IeventComponentAdded)                                                                                            \
    X(IeventModuleModified)                                                                                            \
    X(IeventModuleRemovedFromUseClause)                                                                                \
    X(IeventModuleRemoved)                                                                                             \
    X(IeventModuleAdded)                                                                                               \
    X(IeventModulePostRemoveAll)                                                                                       \
    X(IeventModulePreRemoveAll)

#define QUORLANE_IEVENT_DECLARE_CLASS(Event) class Event;
QUORLANE_IEVENT_CATALOGUE(QUORLANE_IEVENT_DECLARE_CLASS)
#undef QUORLANE_IEVENT_DECLARE_CLASS
