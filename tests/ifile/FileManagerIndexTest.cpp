// The file manager's indexes give the answers, in the order, that a walk
// over all files in key order gives: random registrations, removals and
// re-keyings, with files of several names, types, views and parents, while
// the project folder changes under them. Files announced as changed by
// name are the ones, in the order, a walk asking every file announces.
// The HDL files that define packages are those a walk finds, however the
// files came to define packages or lost them. The folders of the files, and
// the files of a folder and title, are those a walk finds.
#include "DebugCapture.h"
#include "IfileObjectTestSupport.h"
#include "TempFolder.h"

#include "ifile/IfileListener.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/UtlAscii.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

using Entry = IfileManager::Entry;

// A walk over all files in key order, the first that passes.
template <class Passes>
Entry FirstByWalk(IfileManager& files, Passes passes)
{
    std::vector<Entry> all;
    files.GetFiles(all, 0, nullptr);
    const auto found = std::find_if(all.begin(), all.end(), passes);
    return found == all.end() ? Entry() : *found;
}

std::vector<Entry> AllByWalk(IfileManager& files, const std::function<bool(const Entry&)>& passes)
{
    std::vector<Entry> all;
    files.GetFiles(all, 0, nullptr);
    std::erase_if(all, [&passes](const Entry& file) { return !passes(file); });
    return all;
}

bool InScope(const Entry& file, int scope) { return scope != 1 || !file->IsRevSpecific() || file->IsInCurRev(); }

class FileManagerIndex : public ::testing::Test {
protected:
    // A name from a small vocabulary, so that names meet: in and out of the
    // project, in views, with equal titles in several folders, in several
    // spellings of the same file.
    std::string RandomRelative()
    {
        static const std::vector<std::string> kFolders = {"hdl",      "HDL",     "pallador/impl1", "pallador/impl2",
                                                          "cores/c1", "cores/c2"};
        static const std::vector<std::string> kTitles = {"top.v", "Top.v", "core.cxf", "a.vhd", "b.sdc"};
        return Pick(kFolders) + "/" + Pick(kTitles);
    }

    IfileObject RandomFile()
    {
        const std::string relative = RandomRelative();
        const zorpaFileManagerTypes type = relative.ends_with(".cxf")   ? zorpaFT_OMBRIX_CXF
                                           : relative.ends_with(".sdc") ? zorpaFT_SDC
                                                                        : zorpaFT_HDL;
        switch (Between(0, 3)) {
        case 0:  // stored relative to the project
            project.Write(relative, "");
            return IfileObject(relative, type, ImodelFMRelative, true, true);
        case 1:  // stored by its full name
            project.Write(relative, "");
            return IfileObject(project / relative, type, ImodelFMFull, true, false);
        case 2:  // a link outside the project
            return IfileObject("/elsewhere/" + relative, type, ImodelFMFull, true, false);
        default:  // another spelling of a project file
            project.Write(relative, "");
            return IfileObject("<project>\\" + relative, type, ImodelFMInternal, true, false);
        }
    }

    // The file under its name with the letters of its last part in the
    // other case.
    static IfileObject InAnotherCase(const IfileObject& file)
    {
        std::string name = file.GetInternalFileName().GetString();
        const std::size_t separator = name.find_last_of("/\\");
        for (std::size_t i = separator == std::string::npos ? 0 : separator + 1; i < name.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(name[i]);
            name[i] = static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c));
        }
        return IfileObject(ImodelFileName(name), file.GetFileSpecificType(), ImodelFMInternal, true, false);
    }

    template <class List>
    const typename List::value_type& Pick(const List& list)
    {
        return list[static_cast<std::size_t>(Between(0, static_cast<int>(list.size()) - 1))];
    }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    void ExpectLookupsAsByWalk(IfileManager& files)
    {
        for (int i = 0; i < 12; ++i) {
            const IfileObject probe = RandomFile();
            // By the exact stored name.
            const Entry exact = FirstByWalk(files, [&probe](const Entry& file) {
                return file->GetInternalFileName().GetString() == probe.GetInternalFileName().GetString();
            });
            ASSERT_EQ(files.ContainsFile(probe), exact != nullptr) << probe.GetInternalFileName().c_str();
            ASSERT_EQ(files.GetFile(probe), exact) << probe.GetInternalFileName().c_str();
            // One file asked about by type: as the list of the type holds it.
            for (const int type : {zorpaFT_HDL, zorpaFT_OMBRIX_CXF, zorpaFT_SDC}) {
                const int scope = Between(0, 1);
                std::vector<Entry> ofType;
                files.GetFilesOfSpecificType(type, ofType, scope, nullptr);
                const bool listed = exact && std::find(ofType.begin(), ofType.end(), exact) != ofType.end();
                ASSERT_EQ(files.GetFileOfSpecificType(probe, type, scope, nullptr), listed ? exact : Entry())
                    << probe.GetInternalFileName().c_str() << " type " << type << " scope " << scope;
            }
            std::vector<std::string> names = {probe.GetInternalFileName(), probe.GetFullFileName(),
                                              probe.GetFileTitleAndExt(), RandomRelative()};
            for (const std::string& name : names) {
                for (const ImodelFMStringFileType form :
                     {ImodelFMFull, ImodelFMRelative, ImodelFMShort, ImodelFMInternal}) {
                    const int scope = Between(0, 1);
                    const IfileObject::IsSameFileName matcher(name.c_str(), form);
                    const Entry expected =
                        FirstByWalk(files, [&](const Entry& file) { return InScope(file, scope) && matcher(*file); });
                    ASSERT_EQ(files.GetFileFor(matcher, scope), expected) << name << " form " << form;
                    ASSERT_EQ(files.HasFileNamed(name, form, scope), expected != nullptr);
                }
            }
        }
        for (const int type : {zorpaFT_HDL, zorpaFT_OMBRIX_CXF, zorpaFT_SDC}) {
            std::vector<Entry> ofType;
            files.GetFilesOfSpecificType(type, ofType, 0, nullptr);
            ASSERT_EQ(ofType, AllByWalk(files, [type](const Entry& file) { return file->GetFileType() == type; }));
            for (const Entry& file : ofType) ASSERT_EQ(files.GetFileOfSpecificType(*file, type, 0, nullptr), file);
        }
        // One file asked about by group: as the list of the group holds it.
        for (const int group : {static_cast<int>(zorpaFT_GROUP_CONSTRAINT), ImodelGetGlobalType(zorpaFT_HDL)}) {
            for (const int scope : {0, 1}) {
                std::vector<Entry> ofGroup;
                files.GetFilesOfGlobalType(group, ofGroup, scope, nullptr);
                for (int i = 0; i < 12; ++i) {
                    const IfileObject probe = RandomFile();
                    const Entry exact = files.GetFile(probe);
                    const bool listed = exact && std::find(ofGroup.begin(), ofGroup.end(), exact) != ofGroup.end();
                    ASSERT_EQ(files.GetFileOfGlobalType(probe, group, scope, nullptr), listed ? exact : Entry())
                        << probe.GetInternalFileName().c_str() << " group " << group << " scope " << scope;
                }
                for (const Entry& file : ofGroup)
                    ASSERT_EQ(files.GetFileOfGlobalType(*file, group, scope, nullptr), file);
            }
        }
        ExpectFoldersAsByWalk(files);
        std::vector<Entry> constraints;
        files.GetFilesOfGlobalType(zorpaFT_GROUP_CONSTRAINT, constraints, 1, nullptr);
        ASSERT_EQ(constraints, AllByWalk(files, [](const Entry& file) {
                      return file->GetFileGlobalType() == zorpaFT_GROUP_CONSTRAINT && InScope(file, 1);
                  }));
        for (const int view : {-1, 1, 2}) {
            std::deque<IfileObjectEx> ofView;
            files.GetFilesOfRevision(view, ofView);
            const std::vector<Entry> expected =
                AllByWalk(files, [view](const Entry& file) { return file->GetRevNum() == view; });
            ASSERT_EQ(ofView.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i)
                ASSERT_EQ(ofView[i].GetInternalFileName().GetString(), expected[i]->GetInternalFileName().GetString());
        }
    }

    // The folders as a walk over all files finds them: each stored name's
    // text up to its last separator, with the files of each folder, and of
    // each title in it (letter case aside), in key order.
    void ExpectFoldersAsByWalk(IfileManager& files)
    {
        const auto folderOf = [](const Entry& file) {
            const std::string& name = file->GetInternalFileName().GetString();
            const std::size_t separator = name.find_last_of("/\\");
            return separator == std::string::npos ? std::string() : name.substr(0, separator + 1);
        };
        std::vector<IfileManager::Folder> folders;
        files.GetFileFolders(folders);
        std::vector<Entry> all;
        files.GetFiles(all, 0, nullptr);
        std::vector<std::string> walked;
        for (const Entry& file : all) walked.push_back(folderOf(file));
        std::sort(walked.begin(), walked.end());
        walked.erase(std::unique(walked.begin(), walked.end()), walked.end());
        std::vector<std::string> answered;
        for (const IfileManager::Folder& folder : folders) answered.push_back(folder.text);
        std::sort(answered.begin(), answered.end());
        ASSERT_EQ(answered, walked);
        std::vector<Entry> found;
        for (const IfileManager::Folder& folder : folders) {
            const std::vector<Entry> inFolder =
                AllByWalk(files, [&](const Entry& file) { return folderOf(file) == folder.text; });
            ASSERT_FALSE(inFolder.empty());
            ASSERT_EQ(folder.first, inFolder.front()) << folder.text;
            ASSERT_EQ(folder.files, inFolder.size()) << folder.text;
            files.GetFilesOfFolder(folder.text, found);
            ASSERT_EQ(found, inFolder) << folder.text;
            for (const std::string title : {"top.v", "TOP.V", "a.vhd", "core.cxf", "x.vhd", ""}) {
                files.GetFilesOfFolderTitled(folder.text, title, found);
                ASSERT_EQ(found, AllByWalk(files,
                                           [&](const Entry& file) {
                                               return folderOf(file) == folder.text &&
                                                      UtlIsSameNoCase(file->GetInternalFileName().GetString().substr(
                                                                          folder.text.size()),
                                                                      title);
                                           }))
                    << folder.text << title;
            }
        }
        files.GetFilesOfFolder("no/such/", found);
        ASSERT_TRUE(found.empty());
    }

    // Two random lists of files, some registered in any spelling, some not:
    // AddFiles tells the listeners of the registered files that lie in
    // exactly one of them, as a walk over all files asking each whether it
    // equals one of those files tells them, in the walk's order.
    void ExpectAddFilesTellsAsAWalk(IfileManager& files)
    {
        std::vector<Entry> all;
        files.GetFiles(all, 0, nullptr);
        // Each list holds a file once, as a tool's list does.
        const auto has = [](const std::deque<IfileObject>& list, const IfileObject& file) {
            return std::find(list.begin(), list.end(), file) != list.end();
        };
        const auto randomList = [&] {
            std::deque<IfileObject> list;
            for (int i = Between(0, 5); i > 0; --i) {
                const IfileObject file = all.empty() || Between(0, 2) == 0 ? RandomFile() : IfileObject(*Pick(all));
                if (!has(list, file)) list.push_back(file);
            }
            return list;
        };
        const std::deque<IfileObject> first = randomList();
        std::deque<IfileObject> second = randomList();
        // Lists that share files, as an old and a new list of a tool do.
        for (const IfileObject& file : first)
            if (Between(0, 1) == 0 && !has(second, file))
                second.insert(second.begin() + Between(0, static_cast<int>(second.size())), file);
        std::deque<IfileObject> inOneList;
        for (const IfileObject& file : first)
            if (!has(second, file)) inOneList.push_back(file);
        for (const IfileObject& file : second)
            if (!has(first, file)) inOneList.push_back(file);

        RecordingListener byWalk;
        files.AddListener(&byWalk);
        files.UpdateFiles(IfileManagerFilterIsOneOf(inOneList));
        files.RemoveListener(&byWalk);
        RecordingListener told;
        files.AddListener(&told);
        files.AddFiles(first, second);
        files.RemoveListener(&told);
        ASSERT_EQ(told.updated, byWalk.updated);
    }

    struct RecordingListener : IfileListener {
        void EmptyFileList() override {}
        void UpdateFile(const Entry& file, bool isNew) override { updated.emplace_back(file, isNew); }
        void RemoveFile(const Entry&) override {}
        std::vector<std::pair<Entry, bool>> updated;
    };

    std::mt19937 random{42};
    TempFolder project;
    TempFolder other;
};

}  // namespace

TEST_F(FileManagerIndex, LookupsByIndexAnswerAsAWalkOverAllFiles)
{
    DebugMessagesOff();
    ProjectFolderScope folder(project.Path());
    const std::unique_ptr<IfileManager> files = IfileCreateManager();
    std::vector<Entry> added;
    for (int step = 0; step < 300; ++step) {
        const int action = Between(0, 9);
        if (action < 5 || added.empty()) {
            IfileObjectEx file(RandomFile(), false);
            if (Between(0, 2) == 0) file.AddParentFile(RandomFile());
            if (const Entry entry = files->AddOrUpdateFile(file, false)) added.push_back(entry);
        } else if (action < 8) {
            // A removal strips the file from the parents of every other file.
            const Entry gone = Pick(added);
            if (!files->ContainsFile(*gone)) continue;
            files->RemoveFile(*gone);
            std::vector<Entry> all;
            files->GetFiles(all, 0, nullptr);
            for (const Entry& file : all)
                for (const IfileObjectEx::ParentFile& parent : file->GetParentFileList())
                    ASSERT_NE(parent.first, static_cast<const IfileObject&>(*gone))
                        << file->GetInternalFileName().c_str();
        } else if (action == 8) {
            // A registered entry renamed (in letter case only, or to another
            // name), then re-keyed: the files a walk finds naming it as a
            // parent beforehand name it as it is named now, and link to it;
            // no file names it the old way.
            const Entry entry = Pick(added);
            if (!files->ContainsFile(*entry)) continue;
            const IfileObject old = *entry;
            const auto namesOld = [&old](const Entry& file) {
                const IfileObjectEx::ParentFiles& parents = file->GetParentFileList();
                return std::any_of(parents.begin(), parents.end(),
                                   [&old](const IfileObjectEx::ParentFile& parent) { return parent.first == old; });
            };
            const std::vector<Entry> children = AllByWalk(*files, namesOld);
            static_cast<IfileObject&>(*entry) = Between(0, 1) ? RandomFile() : InAnotherCase(old);
            if (!files->RenameFileKey(entry, old)) {
                static_cast<IfileObject&>(*entry) = old;
            } else {
                const std::string& now = entry->GetInternalFileName().GetString();
                for (const Entry& child : children) {
                    const IfileObjectEx::ParentFiles& parents = child->GetParentFileList();
                    ASSERT_TRUE(std::any_of(parents.begin(), parents.end(),
                                            [&](const IfileObjectEx::ParentFile& p) {
                                                return p.first.GetInternalFileName().GetString() == now &&
                                                       p.second.lock() == entry;
                                            }))
                        << child->GetInternalFileName().c_str() << " lost its link to " << now;
                }
                for (const Entry& file : AllByWalk(*files, namesOld))
                    for (const IfileObjectEx::ParentFile& parent : file->GetParentFileList()) {
                        if (parent.first == old) {
                            ASSERT_EQ(parent.first.GetInternalFileName().GetString(), now)
                                << file->GetInternalFileName().c_str();
                        }
                    }
            }
        } else {
            // The project moves: "<project>" names now stand for other files.
            Imodel::GetInstance().GetDesignManager()->SetProjectFolder(Between(0, 1) ? other.Path() : project.Path());
        }
        ExpectLookupsAsByWalk(*files);
        ExpectAddFilesTellsAsAWalk(*files);
    }
}

namespace {

// The package files as the walk over the HDL files finds them, and as a
// walk over all files finds them.
void ExpectPackageFilesAsByWalk(IfileManager& files)
{
    std::vector<Entry> answered;
    files.GetFilesWith(answered);
    std::vector<Entry> ofType;
    const IfileManagerFilterTestFile definesPackages(&IfileObjectEx::HasPackage);
    files.GetFilesOfSpecificType(zorpaFT_HDL, ofType, 0, &definesPackages);
    ASSERT_EQ(answered, ofType);
    ASSERT_EQ(answered, AllByWalk(files, [](const Entry& file) {
                  return file->GetFileSpecificType() == zorpaFT_HDL && file->HasPackage();
              }));
}

}  // namespace

TEST_F(FileManagerIndex, PackageFilesAreThoseAWalkFindsHoweverFilesGainOrLosePackages)
{
    DebugMessagesOff();
    ProjectFolderScope folder(project.Path());
    const std::unique_ptr<IfileManager> files = IfileCreateManager();
    const auto somePackages = [this] {
        std::deque<std::string> packages;
        for (int i = Between(0, 2); i > 0; --i) packages.push_back("pkg" + std::to_string(Between(0, 3)));
        return packages;
    };
    std::vector<Entry> added;
    std::size_t packageFilesSeen = 0;
    for (int step = 0; step < 600; ++step) {
        const Entry entry = added.empty() ? Entry() : Pick(added);
        const bool registered = entry && files->ContainsFile(*entry);
        switch (added.empty() ? 0 : Between(0, 9)) {
        case 0: {  // a file registered, with or without packages
            IfileObjectEx file(RandomFile(), false);
            file.SetDefinedPackages(somePackages());
            if (const Entry made = files->AddOrUpdateFile(file, false)) added.push_back(made);
            break;
        }
        case 1:  // the parser sets what a registered file defines
        case 2:
            entry->SetDefinedPackages(somePackages());
            break;
        case 3: {  // a copy of the project's entry changed, then assigned back
            IfileObjectEx copy(*entry, true);
            copy.SetDefinedPackages(somePackages());
            if (Between(0, 1) == 0)
                *entry = copy;
            else
                *entry = std::move(copy);
            break;
        }
        case 4: {  // another file's values taken, packages and type with them
            const Entry other = Pick(added);
            const IfileObject name = *entry;
            *entry = *other;
            static_cast<IfileObject&>(*entry) = name;
            break;
        }
        case 5:  // a value outside the project gains packages: no entry does
        {
            IfileObjectEx standalone(*entry);
            standalone.SetDefinedPackages({"elsewhere"});
            break;
        }
        case 6:
            if (registered) files->RemoveFile(*entry);
            break;
        case 7:  // registered again by value, its packages as they are now
            if (registered) break;
            if (const Entry made = files->AddOrUpdateFile(*entry, false)) added.push_back(made);
            break;
        case 8: {  // renamed and re-keyed, maybe to a name of another type
            if (!registered) break;
            const IfileObject old = *entry;
            static_cast<IfileObject&>(*entry) = RandomFile();
            if (!files->RenameFileKey(entry, old)) static_cast<IfileObject&>(*entry) = old;
            break;
        }
        default:
            Imodel::GetInstance().GetDesignManager()->SetProjectFolder(Between(0, 1) ? other.Path() : project.Path());
            break;
        }
        // Asked twice: the second answer comes from what the first found.
        ExpectPackageFilesAsByWalk(*files);
        ExpectPackageFilesAsByWalk(*files);
        std::vector<Entry> found;
        files->GetFilesWith(found);
        packageFilesSeen += found.size();
    }
    // The seed reaches projects that hold package files.
    EXPECT_GT(packageFilesSeen, 100U);
}
