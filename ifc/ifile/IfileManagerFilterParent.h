// Predicates on project member files, handed to the file manager's queries
// and updates. A filter answers for one file and never changes it; the
// manager asks it once per file it walks, in the order of full names.
#pragma once

#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <unordered_set>

class IfileObject;
class IfileObjectEx;
class ImodelModule;

class IfileManagerFilterParent {
public:
    virtual ~IfileManagerFilterParent() = default;

    virtual bool operator()(boost::shared_ptr<IfileObjectEx> file) const = 0;

protected:
    IfileManagerFilterParent() = default;
    IfileManagerFilterParent(const IfileManagerFilterParent&) = default;
    IfileManagerFilterParent& operator=(const IfileManagerFilterParent&) = default;
};

// Files for which an argument-free query of the member file holds; a null
// entry never passes.
class IfileManagerFilterTestFile : public IfileManagerFilterParent {
public:
    using Test = bool (IfileObjectEx::*)() const;

    explicit IfileManagerFilterTestFile(Test test) : m_test(test) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    Test m_test;
};

// Files equal (file-value equality) to one of a list. The list is read
// once, when the filter is made.
class IfileManagerFilterIsOneOf : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterIsOneOf(const std::deque<IfileObject>& files);
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    // The files' keys of equality: one lookup per file asked.
    std::unordered_set<std::string> m_keys;
};

// Files that belong to a place-and-route view (`revisionSpecific` true), or
// those that do not.
class IfileManagerFilterRevDependentFiles : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterRevDependentFiles(bool revisionSpecific) : m_revisionSpecific(revisionSpecific) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    bool m_revisionSpecific;
};

// Files that have no parent file.
class IfileManagerFilterNoFileWithParent : public IfileManagerFilterParent {
public:
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;
};

// Files with a parent (with `recursive`, an ancestor) of the type.
class IfileManagerFilterHasParentOfType : public IfileManagerFilterParent {
public:
    IfileManagerFilterHasParentOfType(zorpaFileManagerTypes type, bool recursive) : m_type(type), m_recursive(recursive)
    {
    }
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    zorpaFileManagerTypes m_type;
    bool m_recursive;
};

// Files in the folder or below it (file-name equality); a folder "a/b"
// does not hold the files of "a/bc".
class IfileManagerFilterIsInFolder : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterIsInFolder(const ImodelFileName& folder) : m_folder(folder) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    ImodelFileName m_folder;
};

// Files that descend from one of the parent files of a module's own file
// (or of a given file); none when the module has no file.
class IfileManagerFilterModuleSpecificFiles : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterModuleSpecificFiles(ImodelModule* module);
    explicit IfileManagerFilterModuleSpecificFiles(IfileObjectEx* file);
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    std::deque<IfileObject> m_parents;
};

// Files without parent file, and those of IfileManagerFilterModuleSpecificFiles.
class IfileManagerFilterNoParentORModuleSpecificFiles : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterNoParentORModuleSpecificFiles(ImodelModule* module) : m_moduleFiles(module) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    IfileManagerFilterModuleSpecificFiles m_moduleFiles;
};

// Derived files whose record names the module.
class IfileManagerFilterIsRelatedToModule : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterIsRelatedToModule(ImodelModule* module) : m_module(module) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    ImodelModule* m_module;
};

// Files of one specific type.
class IfileManagerFilterSameFileType : public IfileManagerFilterParent {
public:
    explicit IfileManagerFilterSameFileType(int type) : m_type(type) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override;

private:
    int m_type;
};
