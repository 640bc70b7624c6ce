// The place-and-route views of the project (revisions in the project file):
// an ordered list of named, numbered views and the current one. Each view
// owns the folder "pallador/impl<number>" below the project folder, and
// every design unit keeps one revision context per view; the manager keeps
// those contexts in step when views are created, deleted, renamed or
// activated, tells the file manager and the file watcher, and reports every
// change as a change event. The project model owns the one revision
// manager; the path functions take the current view's number from it.
//
// A view's number is positive and never shared: two views never share a
// folder. View names compare exactly, except in FindView; a name holding a
// line break or a double quote is refused with a message.
#pragma once

#include "imodel/views/ImodelFileListIO.h"

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class ImodelFileName;
class ImodelModule;
class ImodelRevContext;

class ImodelRevisionManager {
public:
    virtual ~ImodelRevisionManager() = default;

    // Removes every view, each announced (IeventPalladorViewWillBeRemoved),
    // then IeventPalladorViewsChanged. The modules' revision contexts and
    // the views' folders are left alone.
    virtual void RemoveAllViews() = 0;
    // The project file's block: "LIST REVISIONS", `VALUE="<name>",NUM=<n>`
    // per view, "CURREV=" and the 1-based position of the current view,
    // "ENDLIST". Nothing for a null stream.
    virtual void WriteRevisions(std::ostream* stream) const = 0;
    // Rebuilds the views from the lines between the block's first and last
    // line. A view whose number is not positive or repeats, or whose name is
    // empty, repeats or cannot be stored, is dropped with a message. Every
    // module gets a revision per view. The view at CURREV becomes current,
    // the first one when CURREV is missing or out of range; without any view
    // a default one is created. Then IeventPalladorViewsChanged.
    virtual void ReadRevisions(const std::vector<std::string_view>& lines) = 0;
    // The same from lines held as strings, which are then emptied.
    void ReadRevisions(std::vector<std::string>& lines)
    {
        ReadRevisions(std::vector<std::string_view>(lines.begin(), lines.end()));
        lines.clear();
    }
    // The files that the place-and-route tool lists in the description file
    // "impl.prj_pld" of view `number` (the text between the first and the
    // last double quote of each line), with their types; false when the
    // file cannot be read.
    virtual bool ReadViewDescription(ImodelFileTypeList& files, int number) const = 0;
    // Creates a view numbered one above the highest number, named `name`
    // ("Impl" and its number when empty), with its folders under `location`
    // (the project folder when empty; no folders without either), adds its
    // revision to every module and activates it. With `copyCurrent` the
    // current view's folder is copied by the host and its files and watched
    // files are registered again under the new view. `saveFirst` asks for
    // the project to be saved before the activation. False, with nothing
    // changed and a message, for a refused name or a folder that cannot be
    // created.
    virtual bool CreateView(const std::string& name, const ImodelFileName& location, bool copyCurrent,
                            bool saveFirst) = 0;
    // Deletes the view of that name, its folder (only strictly inside the
    // project folder), its files and its revision in every module; the next
    // view (the previous one for the last) becomes current when it was.
    // False, with nothing changed, for an unknown name or the only view.
    virtual bool DeleteView(const std::string& name) = 0;
    // Makes the view of that name current (in every module too) and makes
    // sure its folder exists. The events go out whether or not the name is
    // known; false for an unknown name. The second argument is not read.
    virtual bool SetActiveView(const std::string& name, bool unused, bool saveFirst) = 0;
    // Gives the view `oldName` the name `newName`; nothing when a view has
    // that name already. False when nothing was renamed.
    virtual bool ModifyView(const std::string& oldName, const std::string& newName) = 0;

    // Whether the first view of that name is the current one.
    virtual bool IsCurrentRevision(const std::string& name) const = 0;
    // The 1-based position of the current view; 0 when there is none.
    virtual int GetCurrentIndex() const = 0;
    // Number of the current view; 0 when there is none.
    virtual int GetCurrentRevisionNumber() const = 0;
    // Name of the current view; empty when there is none.
    virtual std::string GetCurrentRevisionName() const = 0;
    // Number of views.
    virtual int GetRevisionCount() const = 0;
    // Number of the last view of the list; 0 when there is none.
    virtual int GetLastRevisionNumber() const = 0;
    // Append every view's name, respectively number, in list order; nothing
    // for a null pointer.
    virtual void GetRevisionNames(std::vector<std::string>* names) const = 0;
    // The views' names in list order, shared and never changed: a change of
    // the list makes a new one when next asked (every design unit takes
    // every name).
    virtual std::shared_ptr<const std::vector<std::string>> GetSharedRevisionNames() const = 0;
    virtual void GetRevisionNumbers(std::vector<int>* numbers) const = 0;
    // Name of the view of that number; empty when none.
    virtual std::string GetRevisionNameByNumber(int number) const = 0;
    // Number of the view of exactly that name; -1 when none.
    virtual int GetRevisionNumber(const std::string& name) const = 0;
    // Number of the view a revision context of the module belongs to (the
    // module context itself stands for its current revision); -1 when there
    // is none.
    virtual int GetRevisionNumberOfContext(ImodelModule* module, ImodelRevContext* revision) const = 0;
    // "<name> (pallador/impl<n>)"; false, with an empty text, for an unknown
    // number.
    virtual bool GetDisplayText(int number, std::string& text) const = 0;
    // Whether a view has that name, letter case ignored.
    virtual bool FindView(const char* name) const = 0;
    // A short HTML report of the view's folder and of the root module's
    // flow options in it; always true.
    virtual bool GetFlowReport(int number, std::string& html) const = 0;

protected:
    ImodelRevisionManager() = default;
    ImodelRevisionManager(const ImodelRevisionManager&) = delete;
    ImodelRevisionManager& operator=(const ImodelRevisionManager&) = delete;
};

// True while save-as opens a copy made without some of its place-and-route
// views: a view whose folder does not exist is dropped without a word.
bool& ImodelIgnoreViewThatDoesNotExist();
