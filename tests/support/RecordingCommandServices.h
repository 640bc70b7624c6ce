// Command services that record what the components below the command layer
// ask of them, in place of the command layer's for the life of the object
// (the former services come back after it). With `forward` they also pass
// every request on to the former services and answer what those answer.
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

    explicit RecordingCommandServices(bool forward = false) : m_former(Install(this)), m_forward(forward && m_former) {}
    ~RecordingCommandServices() override { Install(m_former); }
    RecordingCommandServices(const RecordingCommandServices&) = delete;
    RecordingCommandServices& operator=(const RecordingCommandServices&) = delete;

    void RegisterCommands(Imodel& model, bool linkingEnabled) override
    {
        registrations.push_back(linkingEnabled);
        if (m_forward) m_former->RegisterCommands(model, linkingEnabled);
    }
    Entry AddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse, bool useEvenIfDefined,
                         std::deque<IfileObject>* skipFiles, std::vector<std::string>* skipModules, bool printError,
                         VyIfaces::IComponent* component, bool updateState, bool moveToLibrary,
                         std::vector<VyIfaces::IComponent*>* components) override
    {
        adds.push_back({file.GetFileTitleAndExt(), updateFileManager, parse,
                        skipModules ? *skipModules : std::vector<std::string>{}});
        if (m_forward)
            return m_former->AddFileToModel(file, updateFileManager, parse, useEvenIfDefined, skipFiles, skipModules,
                                            printError, component, updateState, moveToLibrary, components);
        return addAnswer ? addAnswer(file) : Entry();
    }
    bool DeleteFileFromModel(const IfileObject& file, bool removeFromFileManager, bool readd, bool workspace,
                             std::vector<VyIfaces::IComponent*>* components) override
    {
        deletes.push_back(file.GetFileTitleAndExt());
        return !m_forward || m_former->DeleteFileFromModel(file, removeFromFileManager, readd, workspace, components);
    }
    bool SetRoot(ImodelModule* module) override
    {
        roots.push_back(module);
        return !m_forward || m_former->SetRoot(module);
    }
    void SetRootAgain() override
    {
        ++rootsAgain;
        if (m_forward) m_former->SetRootAgain();
    }
    void LinkRefusedInstances() override
    {
        if (m_forward) m_former->LinkRefusedInstances();
    }
    bool RemoveFiles(const std::vector<Entry>& files, bool fromDisk, bool coreToolCheck, bool confirm) override
    {
        for (const Entry& file : files)
            removals.push_back({file ? file->GetFileTitleAndExt() : std::string(), fromDisk, coreToolCheck, confirm});
        return !m_forward || m_former->RemoveFiles(files, fromDisk, coreToolCheck, confirm);
    }
    void CountProjectFile(const IfileObject& file) override
    {
        counted.push_back(file.GetFileTitleAndExt());
        if (m_forward) m_former->CountProjectFile(file);
    }
    bool ImportsFileType(zorpaFileManagerTypes type) override
    {
        askedTypes.push_back(type);
        return m_forward ? m_former->ImportsFileType(type) : importedTypes.count(type) != 0;
    }
    void UpdateProjectContent(const std::vector<Entry>& removed, const std::vector<Entry>& added,
                              const zorpaSaveRestoreParams& params) override
    {
        updates.push_back({removed, added});
        if (m_forward) m_former->UpdateProjectContent(removed, added, params);
    }
    const std::set<VyIfaces::IComponent*>& GetConstraintsEditorComponents() override
    {
        return m_forward ? m_former->GetConstraintsEditorComponents() : editorComponents;
    }
    bool CreateLink(const IfileObject& file) override
    {
        links.push_back(file.GetFileTitleAndExt());
        return m_forward ? m_former->CreateLink(file) : linkAnswer;
    }
    void FollowRenamedFile(const Entry& entry, const std::string& fullName) override
    {
        renames.emplace_back(entry ? entry->GetFileTitleAndExt() : std::string(), fullName);
        if (m_forward) m_former->FollowRenamedFile(entry, fullName);
    }

    // What was asked, in order.
    std::vector<bool> registrations;  // the linking setting of each
    std::vector<AddCall> adds;
    std::vector<std::string> deletes;
    std::vector<ImodelModule*> roots;
    int rootsAgain = 0;
    std::vector<RemoveCall> removals;
    std::vector<std::string> counted;
    std::vector<zorpaFileManagerTypes> askedTypes;
    // The removed and added lists of each project update.
    std::vector<std::pair<std::vector<Entry>, std::vector<Entry>>> updates;
    std::vector<std::string> links;  // title and extension of each
    // Each member that followed a rename: its title and extension before, the new full name.
    std::vector<std::pair<std::string, std::string>> renames;

    // The answers: the entry add_file answers (none without), and the types
    // import_files offers.
    std::function<Entry(const IfileObjectEx&)> addAnswer;
    std::set<zorpaFileManagerTypes> importedTypes;
    // The components whose constraints editors are open.
    std::set<VyIfaces::IComponent*> editorComponents;
    bool linkAnswer = true;  // what create_links answers

private:
    ImodelCommandServices* m_former;
    bool m_forward;
};
