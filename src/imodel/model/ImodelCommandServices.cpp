#include "imodel/model/ImodelCommandServices.h"

#include <utility>

namespace {

// Constant-initialised: the command layer may put its services in place
// while the library's other statics are still being made.
ImodelCommandServices* installed = nullptr;

}  // namespace

ImodelCommandServices* ImodelCommandServices::Get() { return installed; }

ImodelCommandServices* ImodelCommandServices::Install(ImodelCommandServices* services)
{
    return std::exchange(installed, services);
}
