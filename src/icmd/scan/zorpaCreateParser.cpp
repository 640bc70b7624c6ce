#include "icmd/scan/zorpaCreateParser.h"

#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaSchematicParser.h"
#include "src/icmd/scan/zorpaVHDLParser.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include "imodel/model/ImodelBlockPool.h"

#include <boost/make_shared.hpp>

#include <memory>
#include <utility>

namespace {

#ifdef IMODEL_BLOCK_POOL_SANITIZED
constexpr bool kKeepBlocks = false;
#else
constexpr bool kKeepBlocks = true;
#endif

// Keeps the block of the last scanner dropped on this thread for the next
// one made on it. A scanner is made for every file read and dropped after
// it, and its block is larger than the C allocator keeps at hand per
// thread: each new one would make the allocator sweep all its small free
// blocks first, and serve the next small ones the slow way. Under the
// address sanitizer every block is the allocator's own, so that a scanner
// used after it went is still reported.
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
        if (count == 1 && kKeepBlocks && Spare().block) return std::exchange(Spare().block, nullptr);
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* block, std::size_t count) noexcept
    {
        if (count == 1 && kKeepBlocks && !Spare().block && !Spare().ended) {
            Spare().block = block;
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
    struct Kept {
        T* block = nullptr;
        bool ended = false;
        // A scanner made or dropped later on this thread (by an object of
        // static duration at exit) finds no block kept and keeps none.
        ~Kept()
        {
            if (block) std::allocator<T>().deallocate(std::exchange(block, nullptr), 1);
            ended = true;
        }
    };
    static Kept& Spare()
    {
        static thread_local Kept kept;
        return kept;
    }
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
