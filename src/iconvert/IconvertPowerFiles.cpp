#include "iconvert/IconvertPowerFiles.h"

#include "imodel/names/imodelUtl.h"
#include "src/iconvert/IconvertFolders.h"

bool IconvertPowerFiles::PreOpenConvert()
{
    const ImodelFileName from = IconvertFolderOfType(zorpaFT_GROUP_CONSTRAINT);
    const ImodelFileName to = IconvertFolderOfType(zorpaFT_SIM);
    const unsigned int middle = m_start + (m_end > m_start ? (m_end - m_start) / 2 : 0);
    MoveAllFiles(from, to, "VCD File", zorpaFT_VCD, m_start, middle, "vcd");
    MoveAllFiles(from, to, "SAIF File", zorpaFT_SAIF, middle, m_end, "saif");
    return true;
}
