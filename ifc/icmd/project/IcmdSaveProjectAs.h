// save_project_as: copies the open project into a new folder under a new
// name, closes it and opens the copy. Two filters choose what the copy
// holds: which files (all, the project's member files, its source files, or
// none) and which place-and-route views (all, the current one, none). The
// project file always goes, under its new name, and so do the outside
// tools' set-up files. The host copies the folder, asking the command's
// copy tool before each folder and file.
//
// While the copy is opened, files and views that a filter left out are
// missing by intent: two process-wide flags tell the readers to drop them
// without a word.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

enum IcmdSaveAsFileFilter {
    IcmdSaveAsAllFiles = 0,
    IcmdSaveAsProjectFiles = 1,
    IcmdSaveAsSourceFiles = 2,
    IcmdSaveAsNoFiles = 3,
};

enum IcmdSaveAsImplFilter {
    IcmdSaveAsAllImpls = 0,
    IcmdSaveAsCurrentImpl = 1,
    IcmdSaveAsNoImpls = 2,
};

class IcmdSaveProjectAs : public IcmdBase {
public:
    IcmdSaveProjectAs();
    ~IcmdSaveProjectAs() override;

    std::string GetName() const override { return "save_project_as"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdSaveProjectAs>(); }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    void SetParams(const std::string& location, const std::string& name, bool replaceLinks);
    void SetFilesFilter(IcmdSaveAsFileFilter filter) { files.SetObject(filter); }
    IcmdSaveAsFileFilter GetFilesFilter() const { return files.GetObject(); }
    void SetPalladorImplFilter(IcmdSaveAsImplFilter filter) { pallador_views.SetObject(filter); }
    IcmdSaveAsImplFilter GetPalladorImplFilter() const { return pallador_views.GetObject(); }

    // The choices with their labels for a dialog, in value order; the
    // current view's choice names the view.
    virtual void GetFileFilterChoices(std::vector<std::pair<IcmdSaveAsFileFilter, std::string>>& out) const;
    virtual void GetImplFilterChoices(std::vector<std::pair<IcmdSaveAsImplFilter, std::string>>& out) const;

    // True while the copy is opened and a filter left files out: a file,
    // module or component that does not exist is dropped without a message.
    static bool SkipFileDoesNotExistMessage();
    // True while the copy is opened and views were left out: a view whose
    // folder does not exist is dropped.
    static bool IgnoreImplThatDoesNotExist();

    AcmdFileNameParam location;
    AcmdStringParam name;
    AcmdBoolParam replace_links;
    AcmdEnumParam<IcmdSaveAsFileFilter> files;
    AcmdEnumParam<IcmdSaveAsImplFilter> pallador_views;

private:
    // The new project folder, absolute.
    std::string TargetFolder() const;
};

// Runs save_project_as in process; true when the copy was made and opened.
bool IcmdDoSaveProjectAs(bool keep, const std::string& location, const std::string& name, bool replaceLinks,
                         IcmdSaveAsFileFilter files, IcmdSaveAsImplFilter views);
