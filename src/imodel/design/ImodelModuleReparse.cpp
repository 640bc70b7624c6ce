// The members of a design unit that parsing files again relies on: pointing
// the unit at another defining file, and taking a sub-block out of the links.
#include "imodel/design/ImodelModule.h"

#include "ifile/IfileManager.h"
#include "src/imodel/design/ImodelModuleNotify.h"

#include <zorpa/ZorpaString.h>

namespace {

// The text after the last "." of a name; the whole name without a dot.
std::string ExtensionOf(const ImodelFileName& name)
{
    const std::string& text = name.GetString();
    return text.substr(text.rfind('.') + 1);
}

boost::shared_ptr<IfileObjectEx> ProjectFileNamed(const std::string& fileName)
{
    Imodel* model = ImodelAliveModel();
    IfileManager* files = model ? model->GetFileManager() : nullptr;
    if (files == nullptr) return nullptr;
    return files->GetFileFor(IfileObject::IsSameFileName(fileName.c_str(), ImodelFMFull), 0);
}

}  // namespace

bool ImodelModule::SetModuleFileName(const std::string& fileName, ImodelModule* other, bool restore)
{
    boost::shared_ptr<IfileObjectEx> file;
    if (!fileName.empty()) {
        const boost::shared_ptr<IfileObjectEx> otherFile = other ? other->GetModuleFile() : nullptr;
        file = otherFile && otherFile->GetFullFileName() == ImodelFileName(fileName) ? otherFile
                                                                                     : ProjectFileNamed(fileName);
    }
    bool result = true;
    const boost::shared_ptr<IfileObjectEx> current = GetModuleFile();
    if (other != nullptr && current && file && current->GetFullFileName() == file->GetFullFileName()) {
        result = current->GetFileSpecificType() == zorpaFT_SCH && file->GetFileSpecificType() == zorpaFT_SCH &&
                 ZorpaCompareNoCase(ExtensionOf(current->GetFullFileName()), ExtensionOf(file->GetFullFileName())) == 0;
    }
    ChangeFile(file);
    if (restore && file && !file->IsLocalFile()) RestoreDeletedModuleInfo(this, file);
    return result;
}

int ImodelModule::ReplaceSubBlock(ImodelModule* sub, ImodelModule* replacement)
{
    if (sub == nullptr || replacement == nullptr || !m_subBlocks) return 0;
    if (sub == replacement) return static_cast<int>(m_subBlocks->Count(sub));
    HierarchyChanged();
    const std::size_t occurrences = m_subBlocks->ReplaceAll(sub, replacement);
    sub->ForgetParent(this);
    if (occurrences > 0) replacement->AddParent(this);
    return static_cast<int>(occurrences);
}

int ImodelModule::DetachSubBlock(ImodelModule* sub)
{
    if (sub == nullptr) return 0;
    HierarchyChanged();
    const std::size_t occurrences = m_subBlocks ? m_subBlocks->EraseAll(sub) : 0;
    sub->ForgetParent(this);
    return static_cast<int>(occurrences);
}
