#include "imodel/imodelDesignManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "imodel/Imodel.h"
#include "imodel/imodelUtl.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

imodelDesignManagerImpl::~imodelDesignManagerImpl()
{
    ResetProjectFileStream(false);
}

ImodelFileName imodelDesignManagerImpl::GetProjectFileName() const
{
    ImodelFileName fileName = m_projectFolder;
    fileName += SysGetDirChar();
    fileName += m_projectName.GetString();
    fileName += ".prj";
    return fileName;
}

void imodelDesignManagerImpl::SetProjectFolder(const ImodelFileName& folder)
{
    m_projectFolder = folder;
    ImodelSetValidSeparator(m_projectFolder, true);
}

void imodelDesignManagerImpl::SetDefaultVHDL(bool vhdl)
{
    if (vhdl == m_defaultVHDL)
        return;
    m_defaultVHDL = vhdl;
    SetNeedSave(true);
}

void imodelDesignManagerImpl::ResetProjectFileStream(bool makeNew)
{
    if (m_projectFileStream && m_projectFileStream->is_open())
        m_projectFileStream->close();
    m_projectFileStream.reset();
    if (makeNew)
        m_projectFileStream = std::make_unique<std::fstream>();
}

void imodelDesignManagerImpl::SetNeedSave(bool needSave)
{
    if (needSave == m_needSave)
        return;
    m_needSave = needSave;
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventNeedSaveFlagChanged>(), true);
}
