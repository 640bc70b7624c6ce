#include "imodel/model/ImodelBlockPool.h"

#include <foundation/Sys.h>

#include <new>

namespace {

// Chunks grow from a few blocks to a few megabytes. A chunk large enough to
// be mapped on its own is rounded up to whole pages, which it takes anyway.
// Blocks larger than this are not worth pooling.
//
// The chunks are not advised for huge pages. Where memory is lent by a host
// (a virtual machine), a huge page taken afresh is filled in by the host at
// its first touch: opening a project of a hundred thousand units took a
// tenth longer with the advice, more than the walks over the units gained.
constexpr std::size_t kFirstChunkBlocks = 8;
constexpr std::size_t kPageRoundedChunk = 128 * 1024;  // the C allocator maps such blocks
constexpr std::size_t kLargestChunk = std::size_t{8} << 20;
constexpr std::size_t kLargestBlock = 64 * 1024;

}  // namespace

// A block given back holds the link to the next free one.
static_assert(sizeof(ImodelPoolLink<void>) == sizeof(void*) &&
              alignof(ImodelPoolLink<void>) <= alignof(std::max_align_t));

bool ImodelBlockPool::Pooled(std::size_t size) const noexcept { return size <= m_block && m_block <= kLargestBlock; }

void* ImodelBlockPool::Take(std::size_t size)
{
    if (!Pooled(size)) return ::operator new(size, std::align_val_t(m_align));
    std::lock_guard<std::mutex> lock(m_mutex);
    if (Free* block = m_free.get()) {
        ImodelUnpoisonBlock(block, m_block);
        m_free = block->next;
        ++m_live;
        return block;
    }
    if (m_next.get() == m_end.get()) {
        const std::size_t header = RoundUp(sizeof(Chunk), m_align);
        std::size_t bytes = ImodelNextChunkBytes(m_heldBytes, header + kFirstChunkBlocks * m_block, kLargestChunk);
        if (bytes >= kPageRoundedChunk) bytes = RoundUp(bytes, 4096);
        void* const memory = SysAlignedAlloc(m_align, bytes);
        if (!memory) throw std::bad_alloc();
        m_chunks = new (memory) Chunk{m_chunks, bytes};
        ++m_chunkCount;
        m_heldBytes += bytes;
        std::byte* const first = static_cast<std::byte*>(memory) + header;
        m_next = first;
        m_end = first + (bytes - header) / m_block * m_block;
        ImodelPoisonBlock(first, static_cast<std::size_t>(m_end.get() - first));
    }
    std::byte* const block = m_next.get();
    m_next = block + m_block;
    ImodelUnpoisonBlock(block, m_block);
    ++m_live;
    return block;
}

void ImodelBlockPool::Give(void* block, std::size_t size) noexcept
{
    if (!block) return;
    if (!Pooled(size)) {
        ::operator delete(block, std::align_val_t(m_align));
        return;
    }
    ImodelPoolLink<Chunk> chunks;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (--m_live == 0) {
            // The last block in use: every chunk goes back whole.
            chunks = m_chunks;
            m_chunks = nullptr;
            m_chunkCount = 0;
            m_heldBytes = 0;
            m_free = nullptr;
            m_next = m_end = nullptr;
        } else {
            m_free = new (block) Free{m_free};
            ImodelPoisonBlock(block, m_block);
        }
    }
    while (Chunk* chunk = chunks.get()) {
        chunks = chunk->next;
        ImodelUnpoisonBlock(chunk, chunk->bytes);
        SysAlignedFree(chunk);
    }
}

std::size_t ImodelBlockPool::Live() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_live;
}

std::size_t ImodelBlockPool::Chunks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_chunkCount;
}

std::size_t ImodelBlockPool::Held() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_heldBytes;
}

bool ImodelBlockPool::Holds(const void* block) const
{
    const auto* at = static_cast<const std::byte*>(block);
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Chunk* chunk = m_chunks.get(); chunk; chunk = chunk->next.get()) {
        const auto* start = reinterpret_cast<const std::byte*>(chunk);
        if (at >= start && at < start + chunk->bytes) return true;
    }
    return false;
}
