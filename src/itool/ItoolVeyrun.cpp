#include "itool/ItoolVeyrun.h"

#include "imodel/Imodel.h"

ItoolVeyrun::ItoolVeyrun(Imodel* model) : IeventView(model) {}

ItoolVeyrun* ItoolVeyrun::GetInstance()
{
    return dynamic_cast<ItoolVeyrun*>(Imodel::GetInstance().GetCoreToolManager(zorpaFT_OMBRIX_CXF));
}
