#include "icmd/scan/zorpaCreateParser.h"

#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaSchematicParser.h"
#include "src/icmd/scan/zorpaVHDLParser.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include "imodel/model/ImodelBlockPool.h"

#include <boost/make_shared.hpp>

#include <memory>
#include <type_traits>
#include <utility>

namespace {

// Keeps the block of the last scanner dropped on this thread for the next
// one made on it. A scanner is made for every file read and dropped after
// it, and its block is larger than the C allocator keeps at hand per
// thread: each new one would make the allocator sweep all its small free
// blocks first, and serve the next small ones the slow way. Under the
// address sanitizer the kept block is poisoned, so that a scanner used
// after it went is still reported.
template <class T>
class ScannerAllocator {
public:
    using value_type = T;

    ScannerAllocator() = default;
    template <class U>
    ScannerAllocator(const ScannerAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        Kept& kept = Spare();
        if (count == 1 && kept.block != nullptr) {
            ImodelUnpoisonBlock(kept.block, sizeof(T));
            return std::exchange(kept.block, nullptr);
        }
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* block, std::size_t count) noexcept
    {
        Kept& kept = Spare();
        if (count == 1 && kept.block == nullptr && !kept.ended) {
            // The thread gives the block back when it ends.
            static thread_local Ender ender;
            kept.block = block;
            ImodelPoisonBlock(block, sizeof(T));
            return;
        }
        std::allocator<T>().deallocate(block, count);
    }
    template <class U>
    bool operator==(const ScannerAllocator<U>&) const noexcept
    {
        return true;
    }

private:
    // Has no destructor: it lasts as long as its thread's storage, past the
    // destructors of the thread's objects, so that a scanner one of them
    // drops still finds it (ended, and keeping nothing).
    struct Kept {
        T* block = nullptr;
        bool ended = false;
    };
    static_assert(std::is_trivially_destructible_v<Kept>);
    static Kept& Spare()
    {
        static constinit thread_local Kept kept;
        return kept;
    }
    // Made on a thread with its first kept block, so ended before the
    // thread's objects made earlier: a scanner made or dropped later on the
    // thread (by one of them, or by an object of static duration at exit)
    // finds no block kept and keeps none.
    struct Ender {
        Ender() = default;
        Ender(const Ender&) = delete;
        Ender& operator=(const Ender&) = delete;
        ~Ender()
        {
            Kept& kept = Spare();
            kept.ended = true;
            if (T* block = std::exchange(kept.block, nullptr)) {
                ImodelUnpoisonBlock(block, sizeof(T));
                std::allocator<T>().deallocate(block, 1);
            }
        }
    };
};

template <class Scanner, class T>
boost::shared_ptr<ZorpaParser<T>> MakeScanner(T prototype, T nullModule)
{
    return boost::allocate_shared<Scanner>(ScannerAllocator<Scanner>(), prototype, nullModule);
}

}  // namespace

template <class T>
void zorpaCreateParser<T>::VisitVHDL()
{
    m_parser = MakeScanner<zorpaVHDLParser<T>>(m_prototype, m_nullModule);
}

template <class T>
void zorpaCreateParser<T>::VisitVerilog()
{
    m_parser = MakeScanner<zorpaVerilogParser<T>>(m_prototype, m_nullModule);
}

template <class T>
void zorpaCreateParser<T>::VisitSchematic()
{
    m_parser = MakeScanner<zorpaSchematicParser<T>>(m_prototype, m_nullModule);
}

template class zorpaCreateParser<ImodelModule*>;
