#include "src/ifile/ifileDescriptionPreRead.h"

#include <foundation/Sys.h>
#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <memory>
#include <system_error>
#include <utility>

namespace {

// The entries of a folder that match the pattern, in name order; files or
// folders as asked.
std::vector<std::string> Entries(const std::string& folder, const char* pattern, bool folders)
{
    std::vector<std::string> names;
    std::vector<std::string> matching;
    if (!SysListFolder(folder, names)) return matching;
    for (const std::string& name : names) {
        if (!WcmMatch(pattern, name.c_str())) continue;
        SysStatInfo info;
        const std::string path = folder + SysGetDirChar() + name;
        if (SysPathStat(path, &info) != 0 || SysIsDirectory(info) != folders) continue;
        matching.push_back(path);
    }
    return matching;
}

// The database beside a description: same folder and title, extension "adb".
std::string DatabaseOf(const std::string& description)
{
    const std::size_t dot = description.rfind('.');
    return description.substr(0, dot) + ".adb";
}

}  // namespace

std::vector<std::string> ifileDescriptionPreRead::ListDatabases(const std::string& projectFolder)
{
    std::vector<std::string> databases;
    if (projectFolder.empty()) return databases;
    const std::string base = projectFolder + SysGetDirChar() + "pallador";
    for (const std::string& view : Entries(base, "impl*", true))
        for (const std::string& description : Entries(view, "*.ide_pld", false))
            databases.push_back(DatabaseOf(description));
    return databases;
}

void ifileDescriptionPreRead::ReadDatabases(const std::vector<std::string>& databases, const std::atomic<bool>& stop,
                                            const std::function<void(Description&&)>& read)
{
    for (const std::string& database : databases) {
        if (stop.load()) return;
        KemletIde_pldFileManagerIf* reader =
            KemletGetNewFileManager(database.c_str(), KemletWriterProjectManager, nullptr);
        if (!reader) continue;
        Description description{database, KemletContentIf()};
        const bool ok = reader->IsReady() && reader->Read(&description.content);
        KemletDeleteFileManager(reader);
        if (ok) read(std::move(description));
    }
}

ifileDescriptionPreRead::ifileDescriptionPreRead(std::string projectFolder) : m_projectFolder(std::move(projectFolder))
{
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had: the reading is done here and now.
        Run();
    }
}

ifileDescriptionPreRead::~ifileDescriptionPreRead() { Cancel(); }

void ifileDescriptionPreRead::Run()
{
    try {
        ReadDatabases(ListDatabases(m_projectFolder), m_stop, [this](Description&& description) {
            const std::lock_guard<std::mutex> lock(m_lock);
            m_read.push_back(std::move(description));
        });
    } catch (const std::bad_alloc&) {
        // What the pre-read could not read is read when it is asked for.
    }
    m_finished.store(true);
}

void ifileDescriptionPreRead::Cancel()
{
    m_stop.store(true);
    Wait();
}

void ifileDescriptionPreRead::Wait()
{
    if (m_thread.joinable()) m_thread.join();
}

std::vector<ifileDescriptionPreRead::Description> ifileDescriptionPreRead::Take()
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return std::exchange(m_read, {});
}
