// Blocks of one size for the objects every walk over a project's units and
// files touches, carved side by side from large chunks: a walk over a
// hundred thousand of them then runs through a few dozen megabytes instead
// of pages scattered over the whole heap, and misses the address
// translation and the cache far less often.
//
// The chunks come from the C allocator (so the heap's figures count them)
// and grow from a few blocks by a quarter of what the pool holds to a
// few megabytes: a project holds little more than its objects need. A
// block given back is reused by the next one taken; the chunks go back when
// no block of the pool is in use (a closed project's objects all gone).
//
// Blocks may be taken and given on any thread (a closed project's objects
// are freed on the reclaimer's). The pool has no destructor: one of static
// duration stays usable while other objects of static duration go.
//
// The same code runs under the address sanitizer: what a pool holds but has
// not handed out is poisoned, so that an object used after it went is
// reported, and the pool's own pointers into its chunks are kept hidden
// from the leak checker, so that a chunk is reachable only through the
// blocks handed out of it: one whose blocks were all lost is reported as a
// leak of the pool's.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#define IMODEL_BLOCK_POOL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define IMODEL_BLOCK_POOL_SANITIZED 1
#endif
#endif
#ifdef IMODEL_BLOCK_POOL_SANITIZED
#include <sanitizer/asan_interface.h>
#endif

// Under the address sanitizer, memory a pool holds but has not handed out
// is poisoned, so that an object used after it went is still reported;
// elsewhere these do nothing.
inline void ImodelPoisonBlock([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes)
{
#ifdef IMODEL_BLOCK_POOL_SANITIZED
    ASAN_POISON_MEMORY_REGION(block, bytes);
#endif
}

inline void ImodelUnpoisonBlock([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes)
{
#ifdef IMODEL_BLOCK_POOL_SANITIZED
    ASAN_UNPOISON_MEMORY_REGION(block, bytes);
#endif
}

// The bytes of a pool's next chunk, given the bytes its chunks hold: `first`
// (a few blocks) while it holds little, then a quarter of what it holds, up
// to `largest`. The part not handed out yet then stays small beside what is
// in use (the heap counts it all: a project of two dozen units would
// otherwise pay for a chunk of many more).
constexpr std::size_t ImodelNextChunkBytes(std::size_t held, std::size_t first, std::size_t largest) noexcept
{
    return std::max(first, std::min(held / 4, largest));
}

// A pointer of a pool into its chunks. Under the address sanitizer it is
// kept with its bits turned, so that the leak checker does not take it for
// a reference; elsewhere it is the plain pointer.
template <class T>
class ImodelPoolLink {
public:
    constexpr ImodelPoolLink() noexcept = default;
    ImodelPoolLink(T* pointer) noexcept : m_bits(reinterpret_cast<std::uintptr_t>(pointer) ^ kTurn) {}
    T* get() const noexcept { return reinterpret_cast<T*>(m_bits ^ kTurn); }
    T* operator->() const noexcept { return get(); }
    explicit operator bool() const noexcept { return m_bits != kTurn; }

private:
#ifdef IMODEL_BLOCK_POOL_SANITIZED
    static constexpr std::uintptr_t kTurn = ~std::uintptr_t{0};
#else
    static constexpr std::uintptr_t kTurn = 0;
#endif
    std::uintptr_t m_bits = kTurn;
};

class ImodelBlockPool {
public:
    // Blocks of `size` bytes aligned to `align` (a power of two).
    constexpr ImodelBlockPool(std::size_t size, std::size_t align) noexcept
        : m_align(align < kMinAlign ? kMinAlign : align),
          m_block(RoundUp(size < sizeof(void*) ? sizeof(void*) : size, m_align))
    {
    }
    ImodelBlockPool(const ImodelBlockPool&) = delete;
    ImodelBlockPool& operator=(const ImodelBlockPool&) = delete;

    // A block for an object of `size` bytes; larger objects than the pool's
    // blocks (a derived class) and blocks too large to pool come from the
    // plain allocator, and go back to it by Give with the same size.
    // Throws std::bad_alloc when there is no memory.
    void* Take(std::size_t size);
    void Give(void* block, std::size_t size) noexcept;

    // Blocks in use, chunks held and their bytes.
    std::size_t Live() const;
    std::size_t Chunks() const;
    std::size_t Held() const;
    // Whether `block` lies in one of the pool's chunks.
    bool Holds(const void* block) const;

private:
    static constexpr std::size_t kMinAlign = alignof(std::max_align_t);
    static constexpr std::size_t RoundUp(std::size_t bytes, std::size_t align) noexcept
    {
        return (bytes + align - 1) / align * align;
    }
    bool Pooled(std::size_t size) const noexcept;

    struct Free {
        ImodelPoolLink<Free> next;
    };
    struct Chunk {
        ImodelPoolLink<Chunk> next;
        std::size_t bytes;
    };

    const std::size_t m_align;
    const std::size_t m_block;
    mutable std::mutex m_mutex;
    ImodelPoolLink<Free> m_free;
    ImodelPoolLink<std::byte> m_next;  // the unused rest of the newest chunk
    ImodelPoolLink<std::byte> m_end;
    std::size_t m_live = 0;
    std::size_t m_heldBytes = 0;  // in chunks
    std::size_t m_chunkCount = 0;
    ImodelPoolLink<Chunk> m_chunks;
};

// The allocator of objects made one by one and shared (allocate_shared):
// each with its count, in a pool of its own kind. Anything but single
// objects comes from the plain allocator.
template <class T>
class ImodelPoolAllocator {
public:
    using value_type = T;

    ImodelPoolAllocator() = default;
    template <class U>
    ImodelPoolAllocator(const ImodelPoolAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (count == 1) return static_cast<T*>(Pool().Take(sizeof(T)));
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* block, std::size_t count) noexcept
    {
        if (count == 1)
            Pool().Give(block, sizeof(T));
        else
            std::allocator<T>().deallocate(block, count);
    }

    template <class U>
    bool operator==(const ImodelPoolAllocator<U>&) const noexcept
    {
        return true;
    }

    // The pool of T's blocks.
    static ImodelBlockPool& Pool()
    {
        static constinit ImodelBlockPool pool(sizeof(T), alignof(T));
        return pool;
    }
};
