// The cache of place-and-route project descriptions, one per design
// database file (type 4): which files each database was built from. It
// answers which databases depend on a file, carries a file's new name into
// the descriptions, tells the design flow when a description is found or its
// file list changes, and keeps each unit's compile order in step with it.
// The project model owns the one cache.
//
// Opening a project reads every description of its views ahead
// (StartPreRead). In interactive mode a worker thread does the reading: it
// touches nothing of the model, and what it read reaches the cache on the
// thread that drives the model, through ApplyPreReadResults. One pre-read
// runs at a time; ClearInfo and the destructor stop it and wait for it.
#pragma once

#include "ifile/IfileExtendedInfo.h"
#include "ifile/IfileObject.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>

class IfileObjectEx;

class IfileExtendedInfoManager {
public:
    virtual ~IfileExtendedInfoManager() = default;

    // Stores the info for the file, replacing the entry of an equal file.
    virtual void SetInfo(const IfileObject& file, boost::shared_ptr<IfileExtendedInfo> info) = 0;
    // A copy of the file's info; null when none is cached. With `load`, a
    // database (type 4) that is not cached is loaded first.
    virtual boost::shared_ptr<IfileExtendedInfo> GetInfo(const IfileObject& file, bool load) = 0;
    // Forgets every description (the project closes); stops a pre-read.
    virtual void ClearInfo() = 0;
    // Every cached description that names `oldFile` is rewritten on disk
    // with the new entry's name in its place.
    virtual void UpdateModelFromInfo(const IfileObject& oldFile, boost::shared_ptr<IfileObjectEx> entry) = 0;
    // The databases whose description names the file, in key order.
    virtual void GetDependentFiles(const IfileObject& file, std::deque<IfileObject>& out) = 0;
    // Whether the database's description names the file.
    virtual bool IsDependingOn(const IfileObject& database, const IfileObject& file, bool load) = 0;
    // Reads the database's description into the cache, and the files it
    // names outside the project that the project lacks join it as links
    // (ItoolPallador::RegisterDescriptionLinks). With `updateModel` the flow
    // is told of it and the unit's compile order follows it; with `compare`
    // a file list that differs from the one cached before is told to the
    // flow. Whether a description was read.
    virtual bool LoadInfo(const IfileObject& database, bool updateModel, bool compare) = 0;
    // Reads again a description this program has just written, as LoadInfo
    // does without `updateModel`, but registers no file: the writes happen
    // inside commands and walks over the project's files and units, which a
    // new member would disturb. (A written description is a changed file
    // to the watcher, whose next cycle loads it with LoadInfo.) A database
    // loaded on demand (GetInfo) registers none either.
    virtual bool ReloadInfo(const IfileObject& database, bool compare) = 0;
    // Reads every description of the project's views: at once outside
    // interactive mode, else on a worker thread (see above).
    virtual void StartPreRead() = 0;
    // Takes what the pre-read has read so far into the cache (with `wait`,
    // after it ended). Called on the thread that drives the model; nothing
    // to do when no pre-read runs.
    virtual void ApplyPreReadResults(bool wait) = 0;
    // Whether a pre-read's results are still to come.
    virtual bool IsPreReading() const = 0;

    // Set by callers outside the library: while it points at a list, every
    // load that opens a description appends the database file to it.
    static std::deque<IfileObject>*& IdePldFilesRecentlyChecked();
    // Set by callers outside the library while they convert a project.
    static bool& IsDoingConvert();
    // Tells the user that the local copies of a converted file could not be
    // made ("CONVERT_FAILED_LOCAL_COPIES").
    static void DisplayFailedToCreateLocalCopiesMessage(const char* file);

protected:
    IfileExtendedInfoManager() = default;
    IfileExtendedInfoManager(const IfileExtendedInfoManager&) = delete;
    IfileExtendedInfoManager& operator=(const IfileExtendedInfoManager&) = delete;
};

// The cache of place-and-route project information, for the project singleton to own.
std::unique_ptr<IfileExtendedInfoManager> IfileCreateExtendedInfoManager();
