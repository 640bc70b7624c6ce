#include "ifile/IfileExtendedInfo.h"
#include "src/ifile/ifileExtendedInfoVisitors.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "itool/ItoolPallador.h"

std::unique_ptr<KemletContentIf> IfileCastFromADBInfo(const boost::shared_ptr<IfileExtendedInfo>& info)
{
    if (!info) return nullptr;
    getKemletContentIfVisitor visitor;
    info->Accept(visitor);
    return visitor.TakeContent();
}

void isDependingOfVisitor::Visit(ifileExtendedADB& info)
{
    m_result = m_file && info.GetContent().IsFileInList(m_file->GetFullFileName().GetString());
}

void isFileListDifferentVisitor::Visit(ifileExtendedADB& info)
{
    if (!m_other) {
        m_result = true;
        return;
    }
    const std::vector<std::string>& files = m_other->GetFileList();
    m_result = !files.empty() && !info.GetContent().IsSameFileList(files);
}

void updateModelVisitor::Visit(ifileExtendedADB& info)
{
    m_result = m_old && m_described && info.GetContent().IsFileInList(m_old->GetFullFileName().GetString());
    if (!m_result) return;
    if (ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool())
        pallador->RenameFileInList(*m_described, *m_old, m_entry);
}
