// Command services that record what the components below the command layer
// ask of them, in place of the command layer's for the life of the object
// (the former services come back after it).
#pragma once

#include "ifile/IfileObjectEx.h"
#include "imodel/model/ImodelCommandServices.h"

#include <boost/shared_ptr.hpp>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class RecordingCommandServices : public ImodelCommandServices {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    struct AddCall {
        std::string name;  // title and extension
        bool updateFileManager = false;
        bool parse = false;
        std::vector<std::string> skippedModules;
    };
    struct RemoveCall {
        std::string name;  // title and extension
        bool fromDisk = false;
        bool coreToolCheck = false;
        bool confirm = false;
    };

    RecordingCommandServices() : m_former(Install(this)) {}
    ~RecordingCommandServices() override { Install(m_former); }
    RecordingCommandServices(const RecordingCommandServices&) = delete;
    RecordingCommandServices& operator=(const RecordingCommandServices&) = delete;

    void RegisterCommands(Imodel&, bool linkingEnabled) override { registrations.push_back(linkingEnabled); }
    Entry AddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse, bool, std::deque<IfileObject>*,
                         std::vector<std::string>* skipModules, bool, VyIfaces::IComponent*, bool, bool,
                         std::vector<VyIfaces::IComponent*>*) override
    {
        adds.push_back({file.GetFileTitleAndExt(), updateFileManager, parse,
                        skipModules ? *skipModules : std::vector<std::string>{}});
        return addAnswer ? addAnswer(file) : Entry();
    }
    bool DeleteFileFromModel(const IfileObject& file, bool, bool, bool, std::vector<VyIfaces::IComponent*>*) override
    {
        deletes.push_back(file.GetFileTitleAndExt());
        return true;
    }
    bool SetRoot(ImodelModule* module) override
    {
        roots.push_back(module);
        return true;
    }
    void SetRootAgain() override { ++rootsAgain; }
    bool RemoveFiles(const std::vector<Entry>& files, bool fromDisk, bool coreToolCheck, bool confirm) override
    {
        for (const Entry& file : files)
            removals.push_back({file ? file->GetFileTitleAndExt() : std::string(), fromDisk, coreToolCheck, confirm});
        return true;
    }
    void UpdateProjectContent(const std::vector<Entry>& removed, const std::vector<Entry>& added,
                              const zorpaSaveRestoreParams&) override
    {
        updates.push_back({removed.size(), added.size()});
    }
    void CountProjectFile(const IfileObject& file) override { counted.push_back(file.GetFileTitleAndExt()); }
    bool ImportsFileType(zorpaFileManagerTypes type) override
    {
        askedTypes.push_back(type);
        return importedTypes.count(type) != 0;
    }

    // What was asked, in order.
    std::vector<bool> registrations;  // the linking setting of each
    std::vector<AddCall> adds;
    std::vector<std::string> deletes;
    std::vector<ImodelModule*> roots;
    int rootsAgain = 0;
    std::vector<RemoveCall> removals;
    std::vector<std::pair<std::size_t, std::size_t>> updates;  // removed and added counts
    std::vector<std::string> counted;
    std::vector<zorpaFileManagerTypes> askedTypes;

    // The answers: the entry add_file answers (none without), and the types
    // import_files offers.
    std::function<Entry(const IfileObjectEx&)> addAnswer;
    std::set<zorpaFileManagerTypes> importedTypes;

private:
    ImodelCommandServices* m_former;
};
