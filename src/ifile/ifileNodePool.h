// Blocks of a few fixed sizes for the nodes of the file map and its type
// indexes, carved from larger chunks. A project's files fill the map with no
// allocator block per node; their nodes lie side by side in the order they
// came (mostly key order, the order every walk takes), and emptying the map
// gives back a few chunks instead of a block per node. A freed node is
// reused by the next one of its size; the chunks of a size go back once no
// node of that size is in use.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

class ifileNodePool {
public:
    ifileNodePool() = default;
    ifileNodePool(const ifileNodePool&) = delete;
    ifileNodePool& operator=(const ifileNodePool&) = delete;

    void* Take(std::size_t size);
    void Give(void* block, std::size_t size);
    // Blocks in use, of every size.
    std::size_t Live() const;

private:
    struct Free {
        Free* next;
    };
    struct Class {
        std::size_t size = 0;  // rounded up to the largest alignment
        Free* free = nullptr;
        std::size_t live = 0;
        std::byte* next = nullptr;  // the unused rest of the newest chunk
        std::byte* end = nullptr;
        std::size_t heldBytes = 0;  // in chunks
        std::vector<std::unique_ptr<std::byte[]>> chunks;
    };
    Class& ClassOf(std::size_t size);

    // Node containers allocate one or two sizes each.
    std::vector<Class> m_classes;
};

// The allocator of a node container whose nodes come from a pool; without a
// pool (a container made empty on its own, never filled from one), and for
// anything but single nodes, the plain allocator.
template <class T>
class ifilePoolAllocator {
public:
    using value_type = T;
    // Containers that trade their nodes trade the pool with them.
    using propagate_on_container_swap = std::true_type;

    ifilePoolAllocator() = default;
    explicit ifilePoolAllocator(ifileNodePool* pool) : m_pool(pool) {}
    template <class U>
    ifilePoolAllocator(const ifilePoolAllocator<U>& other) : m_pool(other.Pool())
    {
    }

    T* allocate(std::size_t count)
    {
        if (m_pool && count == 1) return static_cast<T*>(m_pool->Take(sizeof(T)));
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* block, std::size_t count)
    {
        if (m_pool && count == 1)
            m_pool->Give(block, sizeof(T));
        else
            std::allocator<T>().deallocate(block, count);
    }

    ifileNodePool* Pool() const { return m_pool; }
    template <class U>
    bool operator==(const ifilePoolAllocator<U>& other) const
    {
        return m_pool == other.Pool();
    }

private:
    ifileNodePool* m_pool = nullptr;
};
