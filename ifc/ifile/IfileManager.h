// The files of the open project: each one a shared entry
// (boost::shared_ptr<IfileObjectEx>) owned by the file manager, which the
// project model owns. Queries empty their output first; a missing file gives
// an empty entry or false.
#pragma once

#include <boost/shared_ptr.hpp>

#include <vector>

class IfileManagerFilterParent;
class IfileObject;
class IfileObjectEx;

class IfileManager {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    virtual ~IfileManager() = default;

    // Whether an entry is stored under exactly the file's full name.
    virtual bool ContainsFile(const IfileObject& file) = 0;
    // Revision scope 1 keeps only files of no view or of the current view;
    // `extra` may be null.
    virtual void GetFiles(std::vector<Entry>& out, int revisionScope, const IfileManagerFilterParent* extra) = 0;
    // The HDL files that define packages, in every view.
    virtual void GetFilesWith(std::vector<Entry>& out) = 0;
    // Removes the files of one place-and-route view.
    virtual void RemoveFilesOfRevision(int revision) = 0;
    // Adds the files of view `from` again under view `to`; always true.
    virtual bool RetargetFiles(int from, int to) = 0;
    // Updates the view-dependent files and sends the resulting events.
    virtual void UpdateFilesAndNotify(int ignored) = 0;
    // The entry stored under exactly the file's full name, else empty.
    virtual Entry GetFile(const IfileObject& file) = 0;
    virtual int GetFileCount() = 0;

protected:
    IfileManager() = default;
    IfileManager(const IfileManager&) = delete;
    IfileManager& operator=(const IfileManager&) = delete;
};
