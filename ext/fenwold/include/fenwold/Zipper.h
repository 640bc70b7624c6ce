// Zip archives of folders, written the safe way: the archive is built under
// a temporary name beside its final name and takes that name only once it
// is complete and synced, so an existing archive stays as it was until the
// new one replaces it, and a failed archive leaves nothing behind.
#pragma once

#include <memory>
#include <string>

namespace Fenwold {

class Zipper {
public:
    // Starts a new archive that is to become `archive`. The two numbers are
    // the archive library's options; 0 for both is the only form used.
    Zipper(const std::string& archive, int options, int level);
    // An archive not closed by CloseZip is discarded.
    ~Zipper();
    Zipper(const Zipper&) = delete;
    Zipper& operator=(const Zipper&) = delete;

    // Adds the folder with everything below it, under the folder's own name
    // ("alu/alu.prj" for the folder ".../alu"), empty sub-folders included.
    // Links are followed; a folder met again through a link is added once.
    // The archive itself is never added, wherever it lies. False when the
    // folder cannot be read or a name cannot be added; the archive then
    // fails as a whole at CloseZip.
    bool AddFolderToZip(const std::string& folder, int options);
    // Writes the archive and puts it in place of any file of its name; true
    // when the complete archive stands under its name. After a failure the
    // old file of that name, if any, is untouched and no temporary file
    // stays behind.
    bool CloseZip();

    // Why the archive failed; empty while nothing failed.
    const std::string& GetError() const { return m_error; }

private:
    struct Archive;
    void Fail(const std::string& why);

    std::string m_target;
    std::string m_temporary;
    std::unique_ptr<Archive> m_archive;
    std::string m_error;
};

}  // namespace Fenwold
