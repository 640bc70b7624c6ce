// The change events. Every class is listed, in the same order, in
// IeventCatalogue.h; IeventOf gives each one the Notify that calls the view's
// UpdateView overload for exactly that class. An event with one payload
// carrier (IeventParents.h) lists the carrier first and takes its
// constructors; the two tool events list the event base first.
#pragma once

#include "ievent/Ievent.h"
#include "ievent/IeventParents.h"
#include "ievent/IeventView.h"

#include <deque>
#include <string>
#include <vector>

class IfileObject;

// Ievent (or `Base`, itself an event) with the double dispatch of `Derived`.
template <class Derived, class Base = Ievent>
class IeventOf : public Base {
public:
    using Base::Base;
    void Notify(IeventView* view) override { view->UpdateView(static_cast<const Derived&>(*this)); }
};

// An event of `Derived` whose payload is one carrier.
template <class Derived, class Carrier>
class IeventWith : public Carrier, public IeventOf<Derived> {
public:
    using Carrier::Carrier;
};

// Events without a payload.
class IeventNeedSaveFlagChanged final : public IeventOf<IeventNeedSaveFlagChanged> {};
class IeventCurrentRootChanged final : public IeventOf<IeventCurrentRootChanged> {};
class IeventIPCoresDisplayOptionsChanged final : public IeventOf<IeventIPCoresDisplayOptionsChanged> {};
class IeventCvlibChanged final : public IeventOf<IeventCvlibChanged> {};
class IeventBusDefChanged final : public IeventOf<IeventBusDefChanged> {};
class IeventNewErrorModulesAddedOrRemoved final : public IeventOf<IeventNewErrorModulesAddedOrRemoved> {};
class IeventProjectClosed final : public IeventOf<IeventProjectClosed> {};
class IeventStatusBarContentChanged final : public IeventOf<IeventStatusBarContentChanged> {};
class IeventDesignFlowOptionsChanged final : public IeventOf<IeventDesignFlowOptionsChanged> {};
class IeventPalladorViewsChanged final : public IeventOf<IeventPalladorViewsChanged> {};
class IeventFileRemoveAll final : public IeventOf<IeventFileRemoveAll> {};
class IeventModulePostRemoveAll final : public IeventOf<IeventModulePostRemoveAll> {};
class IeventModulePreRemoveAll final : public IeventOf<IeventModulePreRemoveAll> {};

// Tools, by kind.
class IeventToolInputListChanged final : public IeventOf<IeventToolInputListChanged>, public Ievent_ToolParent {
public:
    using Ievent_ToolParent::Ievent_ToolParent;
};

class IeventToolExePathChanged final : public IeventOf<IeventToolExePathChanged>, public Ievent_ToolParent {
public:
    using Ievent_ToolParent::Ievent_ToolParent;
};

class IeventCoreRemoved final : public IeventWith<IeventCoreRemoved, Ievent_CoresParent> {
public:
    using IeventWith::IeventWith;
};

// A core repository, named by its location: its catalogue became ready.
class IeventIPRepositoryReady : public IeventOf<IeventIPRepositoryReady> {
public:
    explicit IeventIPRepositoryReady(const char* repository) : m_repository(repository ? repository : "") {}
    const std::string& GetRepository() const { return m_repository; }

private:
    std::string m_repository;
};

// The repository's catalogue state is about to change.
class IeventIPRepositoryStateChanged final : public IeventOf<IeventIPRepositoryStateChanged, IeventIPRepositoryReady> {
public:
    explicit IeventIPRepositoryStateChanged(const char* repository) : IeventOf(repository) {}
};

// A user repository is about to be removed.
class IeventIPRepositoryRemoved final : public IeventOf<IeventIPRepositoryRemoved, IeventIPRepositoryReady> {
public:
    explicit IeventIPRepositoryRemoved(const char* repository) : IeventOf(repository) {}
};

// Every core catalogue is to be read again; the two flags as given.
class IeventReloadAllCatalogs final : public IeventOf<IeventReloadAllCatalogs> {
public:
    IeventReloadAllCatalogs(bool first, bool second) : m_first(first), m_second(second) {}
    bool GetFirstFlag() const { return m_first; }
    bool GetSecondFlag() const { return m_second; }

private:
    bool m_first;
    bool m_second;
};

class IeventProjectOpened final : public IeventOf<IeventProjectOpened> {
public:
    explicit IeventProjectOpened(bool isNewProject) : m_isNewProject(isNewProject) {}
    // True when the project was newly created rather than opened.
    bool IsNewProject() const { return m_isNewProject; }

private:
    bool m_isNewProject;
};

class IeventBlockDrawing final : public IeventOf<IeventBlockDrawing> {
public:
    explicit IeventBlockDrawing(bool needBlock) : m_needBlock(needBlock) {}
    // True to begin holding back drawing, false to end it.
    bool NeedBlock() const { return m_needBlock; }

private:
    bool m_needBlock;
};

// Place-and-route views, by revision number.
class IeventPalladorViewChangedActive final
    : public IeventWith<IeventPalladorViewChangedActive, Ievent_DesignViewParent> {
public:
    // GetRevNum answers the newly active revision.
    IeventPalladorViewChangedActive(int oldRevision, int newRevision)
        : IeventWith(newRevision), m_oldRevision(oldRevision)
    {
    }
    virtual int GetOldRev() const { return m_oldRevision; }

private:
    int m_oldRevision;
};

class IeventPalladorViewModified final : public IeventWith<IeventPalladorViewModified, Ievent_DesignViewParent> {
public:
    using IeventWith::IeventWith;
};

class IeventPalladorViewWillBeRemoved final
    : public IeventWith<IeventPalladorViewWillBeRemoved, Ievent_DesignViewParent> {
public:
    using IeventWith::IeventWith;
};

class IeventPalladorViewAdded final : public IeventWith<IeventPalladorViewAdded, Ievent_DesignViewParent> {
public:
    using IeventWith::IeventWith;
};

// HDL libraries, by name.
class IeventLibraryModified final : public IeventWith<IeventLibraryModified, Ievent_LibraryParent> {
public:
    // GetLibrary answers the new name.
    IeventLibraryModified(const std::string& oldLibrary, const std::string& newLibrary)
        : IeventWith(newLibrary), m_oldLibrary(oldLibrary)
    {
    }
    const std::string& GetOldLibrary() const { return m_oldLibrary; }
    const std::string& GetNewLibrary() const { return GetLibrary(); }

private:
    std::string m_oldLibrary;
};

class IeventLibraryRemoved final : public IeventWith<IeventLibraryRemoved, Ievent_LibraryParent> {
public:
    using IeventWith::IeventWith;
};

class IeventLibraryAdded final : public IeventWith<IeventLibraryAdded, Ievent_LibraryParent> {
public:
    using IeventWith::IeventWith;
};

// Project files.
class IeventFileRetargeted final : public IeventWith<IeventFileRetargeted, Ievent_FilesParent> {
public:
    using IeventWith::IeventWith;
};

class IeventFileRemoved final : public IeventWith<IeventFileRemoved, Ievent_FilesParent> {
public:
    using IeventWith::IeventWith;
};

class IeventFileAddedOrModified final : public IeventWith<IeventFileAddedOrModified, Ievent_FilesParent> {
public:
    IeventFileAddedOrModified(Entry file, bool areNewFiles) : IeventWith(std::move(file)), m_areNewFiles(areNewFiles) {}
    // True when the file is new to the project.
    bool AreNewFiles() const { return m_areNewFiles; }

private:
    bool m_areNewFiles;
};

// What is selected: a module, files or a core, at most one of them; the
// lists of the others hold one null entry.
class IeventSelectionChanged final : public Ievent_ModulesParent,
                                     public Ievent_FilesParent,
                                     public Ievent_CoresParent,
                                     public IeventOf<IeventSelectionChanged> {
public:
    IeventSelectionChanged();
    explicit IeventSelectionChanged(ImodelModule* module);
    explicit IeventSelectionChanged(Entry file);
    // The project's entries of the listed files, in list order; files that
    // are not in the project are left out.
    explicit IeventSelectionChanged(const std::deque<IfileObject>& files);
    explicit IeventSelectionChanged(const VlnvCoreId* core);

    // The first module of the list; null when there is none.
    virtual ImodelModule* GetModuleSelected() const;
    // The first file entry; empty when there is none.
    virtual Entry GetFileSelected() const;
    virtual bool IsFileSelected() const;
    virtual bool IsModuleSelected() const;
    virtual bool IsCoreSelected() const;
};

// A file was parsed; the modules found in it.
class IeventFileAndModulePostParse final : public Ievent_FilesParent,
                                           public Ievent_ModulesParent,
                                           public IeventOf<IeventFileAndModulePostParse> {
public:
    template <IeventModuleScanner Scanner>
    IeventFileAndModulePostParse(Entry file, Scanner* scanner)
        : Ievent_FilesParent(std::move(file)), Ievent_ModulesParent(scanner)
    {
    }
    IeventFileAndModulePostParse(Entry file, const std::vector<ImodelModule*>& modules)
        : Ievent_FilesParent(std::move(file)), Ievent_ModulesParent(modules)
    {
    }
    IeventFileAndModulePostParse(Entry file, ImodelModule* module)
        : Ievent_FilesParent(std::move(file)), Ievent_ModulesParent(module)
    {
    }
};

class IeventFilePreParse final : public IeventWith<IeventFilePreParse, Ievent_FilesParent> {
public:
    using IeventWith::IeventWith;
};

class IeventFilePostRemove final : public IeventWith<IeventFilePostRemove, Ievent_FilesParent> {
public:
    using IeventWith::IeventWith;
};

class IeventFilePreRemove final : public IeventWith<IeventFilePreRemove, Ievent_FilesParent> {
public:
    using IeventWith::IeventWith;
};

// Block-design components.
class IeventComponentModified final : public IeventWith<IeventComponentModified, Ievent_ComponentParent> {
public:
    using IeventWith::IeventWith;
};

class IeventComponentRemoved final : public IeventWith<IeventComponentRemoved, Ievent_ComponentParent> {
public:
    using IeventWith::IeventWith;
};

class IeventComponentAdded final : public IeventWith<IeventComponentAdded, Ievent_ComponentParent> {
public:
    using IeventWith::IeventWith;
};

// Design units.
class IeventModuleModified final : public IeventWith<IeventModuleModified, Ievent_ModulesParent> {
public:
    using IeventWith::IeventWith;
};

class IeventModuleRemovedFromUseClause final
    : public IeventWith<IeventModuleRemovedFromUseClause, Ievent_ModulesParent> {
public:
    using IeventWith::IeventWith;
};

class IeventModuleRemoved final : public IeventWith<IeventModuleRemoved, Ievent_ModulesParent> {
public:
    using IeventWith::IeventWith;
};

// The one event whose delivery does more than forward: before each view
// hears of them, the modules still alive become displayable in a view, so
// that a module a view has seen reports its removal when it is destroyed.
class IeventModuleAdded final : public IeventWith<IeventModuleAdded, Ievent_ModulesParent> {
public:
    using IeventWith::IeventWith;
    void Notify(IeventView* view) override;
};
