// The file manager's own filters: each combines a revision scope, an
// optional public filter and one test. The manager walks the index that
// holds the candidates (by type, by view, by name) and asks the filter
// about each, so a filter's test and the index agree by construction.
#pragma once

#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "src/ifile/ifileManagerImpl.h"

// The base test: with revision scope 1, a file of a view other than the
// current one is rejected at once; then the extra filter, when set, decides.
class ifileManagerImpl::FilterListParent {
public:
    FilterListParent(int revisionScope, const IfileManagerFilterParent* extra)
        : m_revisionScope(revisionScope), m_extra(extra)
    {
    }
    virtual ~FilterListParent() = default;

    bool operator()(const FileListMap::Map::value_type& element) const { return (*this)(element.second.entry); }
    virtual bool operator()(const Entry& file) const
    {
        if (m_revisionScope == 1 && file->IsRevSpecific() && !file->IsInCurRev()) return false;
        return !m_extra || (*m_extra)(file);
    }

private:
    int m_revisionScope;
    const IfileManagerFilterParent* m_extra;
};

// ... and the file belongs to view `value` (-1: to none).
class ifileManagerImpl::FilterSameRev : public FilterListParent {
public:
    FilterSameRev(int revisionScope, const IfileManagerFilterParent* extra, int value)
        : FilterListParent(revisionScope, extra), m_value(value)
    {
    }
    using FilterListParent::operator();
    bool operator()(const Entry& file) const override
    {
        return FilterListParent::operator()(file) && file->GetRevNum() == m_value;
    }

private:
    int m_value;
};

// ... and the file's group is `value`.
class ifileManagerImpl::FilterSameGlobalType : public FilterListParent {
public:
    FilterSameGlobalType(int revisionScope, const IfileManagerFilterParent* extra, int value)
        : FilterListParent(revisionScope, extra), m_value(value)
    {
    }
    using FilterListParent::operator();
    bool operator()(const Entry& file) const override
    {
        return FilterListParent::operator()(file) && file->GetFileGlobalType() == m_value;
    }

private:
    int m_value;
};

// ... and the file's specific type is `value`.
class ifileManagerImpl::FilterSameSpecificType : public FilterListParent {
public:
    FilterSameSpecificType(int revisionScope, const IfileManagerFilterParent* extra, int value)
        : FilterListParent(revisionScope, extra), m_value(value)
    {
    }
    using FilterListParent::operator();
    bool operator()(const Entry& file) const override
    {
        return FilterListParent::operator()(file) && file->GetFileSpecificType() == m_value;
    }

private:
    int m_value;
};

// ... and the name matcher (which must outlive the filter) accepts the file.
class ifileManagerImpl::FilterSameFile : public FilterListParent {
public:
    FilterSameFile(int revisionScope, const IfileManagerFilterParent* extra, const IfileObject::IsSameFileName* matcher)
        : FilterListParent(revisionScope, extra), m_matcher(matcher)
    {
    }
    using FilterListParent::operator();
    bool operator()(const Entry& file) const override
    {
        return FilterListParent::operator()(file) && (*m_matcher)(*file);
    }

private:
    const IfileObject::IsSameFileName* m_matcher;
};
