// The pools of the objects every walk over a project's units touches: the
// units and their contexts and revisions.
#include "ievent/IeventModuleRegistry.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/ImodelBlockPool.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"

namespace {

constinit ImodelBlockPool g_units(sizeof(ImodelModule), alignof(ImodelModule));
constinit ImodelBlockPool g_contexts(sizeof(ImodelContextImpl), alignof(ImodelContextImpl));
constinit ImodelBlockPool g_revisions(sizeof(ImodelRevContextImpl), alignof(ImodelRevContextImpl));

}  // namespace

void* ImodelModule::operator new(std::size_t size)
{
    void* const block = g_units.Take(size);
    // The unit registers at the end of its construction.
    IeventModuleRegistry::PrefetchCellOf(block);
    return block;
}
void ImodelModule::operator delete(void* block, std::size_t size) noexcept { g_units.Give(block, size); }

void* ImodelContextImpl::operator new(std::size_t size) { return g_contexts.Take(size); }
void ImodelContextImpl::operator delete(void* block, std::size_t size) noexcept { g_contexts.Give(block, size); }

void* ImodelRevContextImpl::operator new(std::size_t size) { return g_revisions.Take(size); }
void ImodelRevContextImpl::operator delete(void* block, std::size_t size) noexcept { g_revisions.Give(block, size); }
