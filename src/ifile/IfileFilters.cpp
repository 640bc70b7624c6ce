// The public file filters that need the model's units and the derived-file
// records, and the flow-order sorting of files.
#include "ifile/IfileFlowOrder.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelModule.h"
#include "iprocess/IprocessFileObject.h"

#include <algorithm>

bool IfileManagerFilterNoFileWithParent::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && !file->HasParentFile();
}

bool IfileManagerFilterHasParentOfType::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && file->HasParentFileOfType(m_type, m_recursive);
}

bool IfileManagerFilterIsInFolder::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && file->IsInFolder(m_folder);
}

IfileManagerFilterModuleSpecificFiles::IfileManagerFilterModuleSpecificFiles(ImodelModule* module)
{
    if (const boost::shared_ptr<IfileObjectEx> file = module ? module->GetModuleFile() : nullptr)
        m_parents = file->GetParentFiles();
}

IfileManagerFilterModuleSpecificFiles::IfileManagerFilterModuleSpecificFiles(IfileObjectEx* file)
{
    if (file) m_parents = file->GetParentFiles();
}

bool IfileManagerFilterModuleSpecificFiles::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && std::any_of(m_parents.begin(), m_parents.end(),
                               [&file](const IfileObject& parent) { return file->IsChildOfFile(parent, true); });
}

bool IfileManagerFilterNoParentORModuleSpecificFiles::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && (!file->HasParentFile() || m_moduleFiles(file));
}

bool IfileManagerFilterIsRelatedToModule::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    const IfilePredecessorObject* record = file && m_module ? file->GetPredecessorObject() : nullptr;
    return record && record->GetComponentID() == m_module->GetComponentID();
}

bool IfileManagerFilterSameFileType::operator()(boost::shared_ptr<IfileObjectEx> file) const
{
    return file && file->GetFileSpecificType() == m_type;
}

// --- flow order ----------------------------------------------------------------------------------------------

IfileSortFilesFlowOrder::IfileSortFilesFlowOrder(const std::vector<IprocessFileObject*>& nodes) : m_nodes(nodes)
{
    // The first node of a type gives the type's place.
    for (std::size_t position = 0; position < m_nodes.size(); ++position)
        if (m_nodes[position])
            m_positions.try_emplace(static_cast<int>(m_nodes[position]->GetFileType()), static_cast<int>(position));
}

int IfileSortFilesFlowOrder::GetFlowPosition(int type) const
{
    const auto found = m_positions.find(type);
    return found == m_positions.end() ? -1 : found->second;
}

bool IfileSortFilesFlowOrder::operator()(const IfileObject& a, const IfileObject& b) const
{
    return GetFlowPosition(a.GetFileSpecificType()) < GetFlowPosition(b.GetFileSpecificType());
}

void IfileSortFileListRegardingFlowOrder(const std::vector<IprocessFileObject*>& nodes,
                                         std::deque<IfileObjectEx>& files)
{
    const IfileSortFilesFlowOrder order(nodes);
    std::stable_sort(files.begin(), files.end(),
                     [&order](const IfileObjectEx& a, const IfileObjectEx& b) { return order(a, b); });
}
