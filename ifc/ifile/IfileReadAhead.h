// Opening a project looks at every member file on disk and reads each one it
// parses, one after the other. A read-ahead does that disk work ahead of the
// reader: helper threads take each listed file's status and, for the files
// to be read, its text, a bounded window ahead of the files being added; the
// reader's own status and read requests for those files are then answered
// from what the helpers found. With one processor, or few files, nothing
// runs ahead and each file's status is taken once, when it is first asked.
//
// Each answer is the disk as it was a moment before the request, which is
// what a request a moment earlier would have found: the status of a listed
// file is taken once for the life of the read-ahead, and its text (taken
// after its status, so a stamp is never newer than the text read under it)
// is handed out once. Requests from other threads, or for files not listed,
// go to the disk.
#pragma once

#include <foundation/Sys.h>

#include <zorpa/ZorpaModule.h>

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

class IfileReadAhead {
public:
    class Impl;

    // One file as the reader comes to it: its full name, as the reader will
    // ask for it, and whether the reader will read its text.
    struct Listed {
        std::string_view path;
        bool read = false;
    };

    // Whether adding a file of a unit of `kind` to the model parses its
    // text (a VHDL or Verilog source): the texts a read-ahead of files about
    // to be added reads ahead.
    static constexpr bool ReadsText(zorpaModuleTypes kind)
    {
        return kind == zorpaMODULE_VHDL || kind == zorpaMODULE_VERILOG;
    }

    // The files to look at, in order, each by its full name as the reader
    // will ask for it: the names one after the other in one block, not a
    // string each (a project's worth of small blocks made and freed at every
    // open and refresh).
    class Files {
    public:
        // The set-up of a read-ahead of files about to be added: the files
        // of `groups`, one group after the other and each in its order, as
        // `list` lists them. `list` is called with a file (and with its
        // group, where it takes two arguments) and gives a Listed, or
        // nothing for a file the reader will not come to. The name it gives
        // must outlive the call (a name the file holds): it is copied just
        // after.
        template <class List, class... Groups>
        static Files Of(const List& list, const Groups&... groups)
        {
            Files files;
            files.Reserve((std::size(groups) + ... + std::size_t{0}));
            (files.AddListed(list, groups), ...);
            return files;
        }

        Files() = default;
        Files(std::initializer_list<std::pair<std::string_view, bool>> files)
        {
            for (const auto& [path, read] : files) Add(path, read);
        }
        void Reserve(std::size_t files)
        {
            m_starts.reserve(files + 1);
            m_read.reserve(files);
        }
        // `read`: the reader will read its text.
        void Add(std::string_view path, bool read)
        {
            m_paths += path;
            m_starts.push_back(m_paths.size());
            m_read.push_back(read);
        }
        std::size_t Size() const { return m_read.size(); }
        // The same files, names and texts to read, in the same order.
        bool operator==(const Files&) const = default;

    private:
        friend class IfileReadAhead::Impl;
        template <class List, class Group>
        void AddListed(const List& list, const Group& group)
        {
            for (const auto& file : group) {
                std::optional<Listed> listed;
                if constexpr (std::is_invocable_v<const List&, decltype(file), const Group&>)
                    listed = list(file, group);
                else
                    listed = list(file);
                if (listed) Add(listed->path, listed->read);
            }
        }
        std::string m_paths;
        std::vector<std::size_t> m_starts{0};  // where each name starts, and one more for the end
        std::vector<bool> m_read;
    };

    // How far the helpers run ahead; the defaults suit opening a project.
    struct Limits {
        std::size_t window = 1024;              // files ahead of the reader's furthest request
        std::size_t batch = 16;                 // files a helper claims at once
        std::size_t maxBytesAhead = 32u << 20;  // text read and not yet taken
        std::size_t maxTextBytes = 1u << 20;    // a larger file is read by the reader
        std::size_t minFilesForHelpers = 64;    // fewer files are looked at by the reader alone
    };

    // Starts looking at the files, in order, and is the current read-ahead
    // of the calling thread until it ends. Read-aheads do not nest: one made
    // while another is current stays idle.
    explicit IfileReadAhead(Files files) : IfileReadAhead(std::move(files), Limits()) {}
    IfileReadAhead(Files files, const Limits& limits);
    ~IfileReadAhead();
    IfileReadAhead(const IfileReadAhead&) = delete;
    IfileReadAhead& operator=(const IfileReadAhead&) = delete;

private:
    std::unique_ptr<Impl> m_impl;
};

// `SysPathStat`, answered by the current read-ahead for the files it lists.
int IfileStatPath(const std::string& path, SysStatInfo* info);
// `SysReadFile`, answered by the current read-ahead for the files it read.
bool IfileReadPath(const std::string& path, std::string& text);
// Hands a text read by IfileReadPath back once it is done with, so that the
// current read-ahead reads a later file into its block; nothing otherwise.
void IfileRecycleText(std::string&& text);
