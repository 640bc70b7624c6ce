// Opening a project looks at every member file on disk and reads each one it
// parses, one after the other. A prefetch does that disk work ahead of the
// reader: helper threads take each listed file's status and, for the files
// to be read, its text, a bounded window ahead of the files being added; the
// reader's own status and read requests for those files are then answered
// from what the helpers found. With one processor, or few files, nothing
// runs ahead and each file's status is taken once, when it is first asked.
//
// Each answer is the disk as it was a moment before the request, which is
// what a request a moment earlier would have found: the status of a listed
// file is taken once for the life of the prefetch, and its text (taken after
// its status, so a stamp is never newer than the text read under it) is
// handed out once. Requests from other threads, or for files not listed, go
// to the disk.
#pragma once

#include <foundation/Sys.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class IfileDiskPrefetch {
public:
    struct File {
        std::string path;   // the full name, as the reader will ask for it
        bool read = false;  // the reader will read its text
    };

    // How far the helpers run ahead; the defaults suit opening a project.
    struct Limits {
        std::size_t window = 1024;              // files ahead of the reader's furthest request
        std::size_t batch = 16;                 // files a helper claims at once
        std::size_t maxBytesAhead = 32u << 20;  // text read and not yet taken
        std::size_t maxTextBytes = 1u << 20;    // a larger file is read by the reader
        std::size_t minFilesForHelpers = 64;    // fewer files are looked at by the reader alone
    };

    // Starts looking at the files, in order, and is the current prefetch of
    // the calling thread until it ends. Prefetches do not nest: one made
    // while another is current stays idle.
    explicit IfileDiskPrefetch(std::vector<File> files) : IfileDiskPrefetch(std::move(files), Limits()) {}
    IfileDiskPrefetch(std::vector<File> files, const Limits& limits);
    ~IfileDiskPrefetch();
    IfileDiskPrefetch(const IfileDiskPrefetch&) = delete;
    IfileDiskPrefetch& operator=(const IfileDiskPrefetch&) = delete;

    class Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

// `SysPathStat`, answered by the current prefetch for the files it lists.
int IfileStatPath(const std::string& path, SysStatInfo* info);
// `SysReadFile`, answered by the current prefetch for the files it read.
bool IfileReadPath(const std::string& path, std::string& text);
