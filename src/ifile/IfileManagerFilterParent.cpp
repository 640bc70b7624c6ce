#include "ifile/IfileManagerFilterParent.h"

#include "ifile/IfileObjectEx.h"
#include "src/ifile/IfileObjectModel.h"

bool IfileManagerFilterTestFile::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && ((*file).*m_test)();
}

IfileManagerFilterIsOneOf::IfileManagerFilterIsOneOf(const std::deque<IfileObject>& files)
{
    for (const IfileObject& file : files) m_keys.insert(ifileSameFileKey(file));
}

bool IfileManagerFilterIsOneOf::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && m_keys.count(ifileSameFileKey(*file)) != 0;
}

bool IfileManagerFilterRevDependentFiles::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && file->IsRevSpecific() == m_revisionSpecific;
}
