#include "src/ifile/ifileNodePool.h"

#include "imodel/model/ImodelBlockPool.h"

#include <algorithm>
#include <new>

namespace {

// Chunks grow from a few nodes (the small maps of a removal) to this size;
// larger blocks would have the allocator sort its free lists when given back.
constexpr std::size_t kLargestChunk = 32 * 1024;
constexpr std::size_t kFirstChunkNodes = 8;

}  // namespace

ifileNodePool::Class& ifileNodePool::ClassOf(std::size_t size)
{
    constexpr std::size_t align = alignof(std::max_align_t);
    size = std::max((size + align - 1) / align * align, sizeof(Free));
    for (Class& each : m_classes)
        if (each.size == size) return each;
    m_classes.emplace_back();
    m_classes.back().size = size;
    return m_classes.back();
}

void* ifileNodePool::Take(std::size_t size)
{
    Class& of = ClassOf(size);
    ++of.live;
    if (Free* block = of.free) {
        of.free = block->next;
        ImodelUnpoisonBlock(block, of.size);
        return block;
    }
    if (of.next == of.end) {
        const std::size_t bytes = ImodelNextChunkBytes(of.heldBytes, kFirstChunkNodes * of.size, kLargestChunk);
        of.heldBytes += bytes;
        of.chunks.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
        of.next = of.chunks.back().get();
        of.end = of.next + bytes / of.size * of.size;
    }
    void* block = of.next;
    of.next += of.size;
    return block;
}

void ifileNodePool::Give(void* block, std::size_t size)
{
    Class& of = ClassOf(size);
    if (--of.live == 0) {
        // The last node of the size: its chunks go back whole.
        of.chunks.clear();
        of.free = nullptr;
        of.next = of.end = nullptr;
        of.heldBytes = 0;
        return;
    }
    of.free = new (block) Free{of.free};
    ImodelPoisonBlock(static_cast<std::byte*>(block) + sizeof(Free), of.size - sizeof(Free));
}

std::size_t ifileNodePool::Live() const
{
    std::size_t live = 0;
    for (const Class& each : m_classes) live += each.live;
    return live;
}
