// Memory that nothing reaches any more, freed off the command's path by the
// library's reclaimer thread (a closed project's file map, its units).
#pragma once

#include <cstddef>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

// What is given: anything, destroyed whole, on whatever thread. Its
// destructors touch nothing but its own memory and atomic counts.
struct ImodelUnreachable {
    virtual ~ImodelUnreachable() = default;
};

// Memory that nothing reaches and nothing counts: freed on the reclaimer's
// thread, together with the next hand-over of the closing project's units
// when the close gathers them, else queued at once (behind at most one
// hand-over, whose freeing it does not wait for).
void ImodelFreeLater(std::unique_ptr<ImodelUnreachable> memory);

// The same for containers let go of whole (lists of files, their indexes),
// moved into a hand-over of their own.
template <class... Containers>
void ImodelFreeLaterWhole(Containers&&... containers)
{
    struct Held : ImodelUnreachable {
        explicit Held(Containers&&... given) : held(std::move(given)...) {}
        std::tuple<std::remove_reference_t<Containers>...> held;
    };
    ImodelFreeLater(std::make_unique<Held>(std::move(containers)...));
}

// Lists of fewer elements than this are freed on the spot: not worth a
// hand-over.
constexpr std::size_t kImodelFreedLaterFrom = 256;

// Returns once everything given or handed over before has been freed.
void ImodelWaitForFreedMemory();

// While one lives (they nest), memory given to ImodelFreeLater is kept back
// and goes with the next hand-over of units, or is queued at the end of the
// outermost: a close hands its file map and its design over once, and no
// part of it waits for another part to be freed.
class ImodelFreeTogether {
public:
    ImodelFreeTogether();
    ~ImodelFreeTogether();
    ImodelFreeTogether(const ImodelFreeTogether&) = delete;
    ImodelFreeTogether& operator=(const ImodelFreeTogether&) = delete;
};
