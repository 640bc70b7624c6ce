// A change of the project's HDL reaches the files each view uses: an HDL
// source chosen for the flow is renamed to the extension of the new
// language, as the flow's node of its type now expects it.
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "src/imodel/views/imodelContextNotify.h"

#include <string>

void ImodelRevContextImpl::HDLTypeChanged()
{
    for (IfileObject& file : m_usedFiles) {
        bool isVHDL = false;
        if (!file.IsFileHDL(isVHDL)) continue;
        IprocessFileObject* node = imodelContextProcessManager().GetFileObject(file.GetFileSpecificType(), m_module);
        if (node == nullptr) continue;
        const std::string extension = node->GetExt();
        if (extension.empty() || extension == file.GetExt()) continue;
        std::string name = file.GetFullFileName().GetString();
        const std::size_t title = name.find_last_of('/') + 1;
        const std::size_t dot = name.rfind('.');
        name = (dot == std::string::npos || dot < title ? name + "." : name.substr(0, dot + 1)) + extension;
        file.SetFileName(ImodelFileName(name), ImodelFMFull, false);
    }
}

void ImodelContextImpl::HDLTypeChanged()
{
    for (const auto& revision : m_revisions) revision->HDLTypeChanged();
}
