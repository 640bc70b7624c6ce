// Predicates on project member files, handed to the file manager's queries
// and updates. A filter answers for one file and never changes it; the
// manager asks it once per file it walks, in the order of full names.
#pragma once

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <unordered_set>

class IfileObject;
class IfileObjectEx;

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
