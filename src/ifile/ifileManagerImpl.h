// The file manager. Files enter the project through the file work (adding,
// reading the project file's file list); until then the project holds no
// file, and every answer is that of a project without files.
#pragma once

#include "ifile/IfileManager.h"

class ifileManagerImpl : public IfileManager {
public:
    ifileManagerImpl() = default;

    bool ContainsFile(const IfileObject&) override { return false; }
    void GetFiles(std::vector<Entry>& out, int, const IfileManagerFilterParent*) override { out.clear(); }
    void GetFilesWith(std::vector<Entry>& out) override { out.clear(); }
    void RemoveFilesOfRevision(int) override {}
    bool RetargetFiles(int, int) override { return true; }
    void UpdateFilesAndNotify(int) override {}
    Entry GetFile(const IfileObject&) override { return Entry(); }
    int GetFileCount() override { return 0; }
};
