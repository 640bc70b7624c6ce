#include "ifile/IfileManagerFunctions.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelBlockPool.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <climits>
#include <string>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

IfileManager* Manager() { return Imodel::GetInstance().GetFileManager(); }

// The project's entry that has `name` as its full name, else empty.
Entry FileNamed(const std::string& name)
{
    IfileManager* files = Manager();
    return files ? files->GetFileFor(IfileObject::IsSameFileName(name.c_str(), ImodelFMFull), 0) : Entry();
}

// The folder below the project folder that holds the place-and-route
// views' folders, and the start of each view folder's name.
const std::string kViewsFolder = "pallador";
const std::string kViewFolderStart = "impl";

// The file's name relative to the project folder; false outside it.
bool RelativeName(const IfileObject& file, ImodelFileName& out)
{
    return file.GetRelativeFileName(out) ||
           ImodelGetRelativeFileName(file.GetFullFileName(), out, true, file.GetFileType());
}

}  // namespace

Entry IfileManagerGetRealObject(const IfileObject& file, bool create)
{
    IfileManager* files = Manager();
    Entry entry = files ? files->GetFile(file) : Entry();
    // A value without a name (one the project file could not hold) names no file.
    if (!entry && create && !file.GetInternalFileName().empty())
        entry = boost::allocate_shared<IfileObjectEx>(ImodelPoolAllocator<IfileObjectEx>(), file, false);
    return entry;
}

Entry IfileManagerGetRealObject(const ImodelFileName& name, ImodelFMStringFileType form, zorpaFileManagerTypes type,
                                bool create, bool allowLink)
{
    // The name index answers whether there is one; only then is it fetched.
    IfileManager* files = Manager();
    Entry entry = files && files->HasFileNamed(name, form, 0)
                      ? files->GetFileFor(IfileObject::IsSameFileName(name.c_str(), form), 0)
                      : Entry();
    if (entry || !create) return entry;
    IfileObject made(name, type, form, allowLink, true);
    if (made.GetInternalFileName().empty()) return Entry();  // refused: the project file could not hold it
    return boost::allocate_shared<IfileObjectEx>(ImodelPoolAllocator<IfileObjectEx>(), std::move(made), false);
}

void IfileManagerGetRealObjects(const std::deque<IfileObject>& files, std::deque<IfileObjectEx>& out, bool warn)
{
    out.clear();
    IfileManager* manager = Manager();
    for (const IfileObject& file : files) {
        if (const Entry entry = manager ? manager->GetFile(file) : Entry()) {
            out.push_back(*entry);
        } else if (warn) {
            SysDebugPrintf("Warning: File %s is not found in file manager\n", file.GetInternalFileName().c_str());
            out.emplace_back(file, false);
        }
    }
}

void IfileManagerGetRealObjects(const std::deque<IfileObject>& files, std::vector<Entry>& out, bool create)
{
    out.clear();
    for (const IfileObject& file : files)
        if (Entry entry = IfileManagerGetRealObject(file, create)) out.push_back(std::move(entry));
}

void IfileManagerGetSimpleObjects(const std::deque<IfileObjectEx>& files, std::deque<IfileObject>& out)
{
    out.assign(files.begin(), files.end());
}

// An empty entry names no file: it is left out.
void IfileManagerGetSimpleObjects(const std::vector<Entry>& files, std::deque<IfileObject>& out)
{
    out.clear();
    for (const Entry& file : files)
        if (file) out.push_back(*file);
}

void IfileManagerGetSimpleObjects(const std::vector<Entry>& files, std::deque<IfileObjectEx>& out)
{
    out.clear();
    for (const Entry& file : files)
        if (file) out.push_back(*file);
}

void IfileFindAllPagesOfSchematic(Entry& page, int& first, int& last)
{
    IfileManager* files = Manager();
    if (!page || page->GetFileSpecificType() != zorpaFT_SCH || !files) return;
    const std::string name = page->GetFullFileName();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return;
    int number = 0;
    if (!UtlConvertToInteger(name.substr(dot + 1), number)) number = 0;
    const std::string base = name.substr(0, dot + 1);
    const auto pageNamed = [&base](long long k) { return base + std::to_string(k); };
    const auto exists = [&](long long k) { return files->HasFileNamed(pageNamed(k), ImodelFMFull, 0); };
    // Page numbers are ints: a run ends at the end of their range.
    if (first == -1) {
        long long k = number - 1LL;
        while (k >= INT_MIN && exists(k)) --k;
        first = static_cast<int>(k + 1);
    }
    if (last == -1) {
        long long k = number + 1LL;
        while (k <= INT_MAX && exists(k)) ++k;
        last = static_cast<int>(k - 1);
        if (last != number) page = FileNamed(pageNamed(last));
    }
}

Entry IfileGetFileToUseInModel(const Entry& file)
{
    if (!file) return Entry();
    if (file->GetFileSpecificType() == zorpaFT_SCH) {
        Entry highest = file;
        int first = -1;
        int last = -1;
        IfileFindAllPagesOfSchematic(highest, first, last);
        return highest;
    }
    // A core description stands for the block-design component it defines,
    // and the library holds no block-design component: no file stands for
    // one. Other files stand for nothing.
    return Entry();
}

void IfileGetFileToUseInDH(Entry& file)
{
    // A schematic shows as the page given.
    if (!file || file->GetFileSpecificType() == zorpaFT_SCH) return;
    IfileObjectEx::ParentFiles cores = file->GetParentFilesOfType(zorpaFT_OMBRIX_CXF);
    if (cores.size() != 1) return;
    Entry core = IfileGetAndUpdateFileObject(cores.front());
    if (!core) return;
    const Entry used = IfileGetFileToUseInModel(core);
    if (!used || used == file) file = core;
}

bool IfileGetFileNameInRev(const IfileObject& file, int revision, ImodelFileName& out, ImodelFMStringFileType form)
{
    const std::string prefix = kViewsFolder + SysGetDirChar() + kViewFolderStart;
    ImodelFileName relative;
    if (!RelativeName(file, relative)) return false;
    const std::string& name = relative;
    if (name.size() < prefix.size() || !ImodelIsSameFileName(name.substr(0, prefix.size()), prefix)) return false;
    // The separator that ends the "impl<k>" folder.
    const std::size_t separator = name.find_first_of("/\\", prefix.size());
    if (separator == std::string::npos) return false;
    ImodelFileName target;
    ImodelGetPathForRevFile(target, revision);
    const IfileObject moved(target.GetString() + SysGetDirChar() + name.substr(separator + 1), zorpaFT_UNKNOWN,
                            ImodelFMRelative, false, true);
    return moved.GetFileNameString(out, form);
}
