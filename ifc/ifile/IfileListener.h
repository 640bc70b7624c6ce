// A listener of the file manager: told of every change of the project's
// file set before the views are. The flow's file nodes are the listeners;
// the file manager holds them without owning them.
#pragma once

#include <boost/shared_ptr.hpp>

class IfileObjectEx;

class IfileListener {
public:
    virtual ~IfileListener() = default;

    // Every file of the project is about to go.
    virtual void EmptyFileList() = 0;
    // The file was added (`isNew`) or changed.
    virtual void UpdateFile(const boost::shared_ptr<IfileObjectEx>& file, bool isNew) = 0;
    // The file leaves the project.
    virtual void RemoveFile(const boost::shared_ptr<IfileObjectEx>& file) = 0;

protected:
    IfileListener() = default;
    IfileListener(const IfileListener&) = default;
    IfileListener& operator=(const IfileListener&) = default;
};
