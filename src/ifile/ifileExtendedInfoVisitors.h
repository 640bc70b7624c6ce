// The visitors through which the extended-info cache reads the descriptions
// it keeps. Each carries a bool result, false at construction (but
// getKemletContentIfVisitor, which hands out a copy of the content).
#pragma once

#include "ifile/IfileExtendedInfo.h"
#include "ifile/IfileObject.h"

#include <boost/shared_ptr.hpp>

#include <memory>

class IfileObjectEx;

// Whether the description names the file (by its full name).
class isDependingOfVisitor : public IfileExtendedInfoVisitor {
public:
    explicit isDependingOfVisitor(const IfileObject* file) : m_file(file) {}
    void Visit(ifileExtendedADB& info) override;
    bool GetResult() const { return m_result; }

private:
    const IfileObject* m_file;
    bool m_result = false;
};

// Whether the description's file list differs from another content's: true
// when the other is missing; a content without files never differs.
class isFileListDifferentVisitor : public IfileExtendedInfoVisitor {
public:
    explicit isFileListDifferentVisitor(const KemletContentIf* other) : m_other(other) {}
    void Visit(ifileExtendedADB& info) override;
    bool GetResult() const { return m_result; }

private:
    const KemletContentIf* m_other;
    bool m_result = false;
};

// A copy of the description's content.
class getKemletContentIfVisitor : public IfileExtendedInfoVisitor {
public:
    void Visit(ifileExtendedADB& info) override { m_content = std::make_unique<KemletContentIf>(info.GetContent()); }
    std::unique_ptr<KemletContentIf> TakeContent() { return std::move(m_content); }

private:
    std::unique_ptr<KemletContentIf> m_content;
};

// A description that names the old file has the file of the described
// database rewritten with the new entry in its place.
class updateModelVisitor : public IfileExtendedInfoVisitor {
public:
    updateModelVisitor(const IfileObject* oldFile, const IfileObject* described,
                       boost::shared_ptr<IfileObjectEx> entry)
        : m_old(oldFile), m_described(described), m_entry(std::move(entry))
    {
    }
    void Visit(ifileExtendedADB& info) override;
    bool GetResult() const { return m_result; }

private:
    const IfileObject* m_old;
    const IfileObject* m_described;
    boost::shared_ptr<IfileObjectEx> m_entry;
    bool m_result = false;
};
