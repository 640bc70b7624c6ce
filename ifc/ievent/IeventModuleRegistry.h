// The design units that are alive, as far as change events must know them.
//
// Events carry module pointers that they do not own, and a batch may be kept
// by the host's dispatcher after the raiser returns. So that delivery never
// writes into, or hands out, a module that is gone:
// - the module class registers each module when it is built (Register),
//   under the module's own serial, and opens a Destruction scope at the
//   start of its destructor, which holds until the destructor body ends;
// - an event remembers, when it is built, the serial under which each of its
//   modules was registered, and writes into a module (IeventModuleAdded lets
//   it be displayed) only while that same registration stands and the module
//   is not being destroyed;
// - a batch that carries a module being destroyed goes to the views at once,
//   never to the host's deferred dispatcher (IeventMustDeliverAtOnce), so its
//   receivers still see the module before it is gone.
// The module class also gives the one write that events make into a module,
// letting it be shown in a view (SetDisplayMarker).
//
// Every operation takes one process-wide lock, so a host that delivers on a
// thread of its own cannot race the destruction of a module.
#pragma once

#include "ievent/Ievent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class ImodelModule;

class IeventModuleRegistry {
public:
    // A module's serial, given by the module class: unique among the modules
    // ever built, from 1; 0 stands for no registration.
    using Serial = std::uint64_t;
    // Lets a module be shown in a view (ImodelModule::SetCanBeDisplayedInAView(true)).
    using DisplayMarker = void (*)(ImodelModule*);

    // Registers a module that has just been built under its serial; a new
    // module at the address of one gone replaces it. Null is ignored.
    static void Register(ImodelModule* module, Serial serial);
    // Prefetches the cell of the module at `address`, or of one about to be
    // built there, for a registration or a question a little later: what is
    // done meanwhile hides the cache miss. Any thread, no lock taken.
    static void PrefetchCellOf(const void* address);
    // Room for `count` more modules, made at once (a design read again).
    static void Reserve(std::size_t count);
    // The serial of the module's current registration; 0 when it has none.
    static Serial SerialOf(const ImodelModule* module);
    // True while a Destruction scope for the module is open.
    static bool IsBeingDestroyed(const ImodelModule* module);
    // Whether the module still stands under the registration `serial` and
    // is not being destroyed.
    static bool IsAlive(const ImodelModule* module, Serial serial);

    // The same for many modules under one lock: the registrations of a large
    // design lie all over a large table, and are prefetched some modules
    // ahead so that their misses overlap. serials[i] is SerialOf(modules[i]).
    static void SerialsOf(std::span<ImodelModule* const> modules, std::span<Serial> serials);
    // alive[i] is IsAlive(modules[i], serials[i]).
    static void AreAlive(std::span<ImodelModule* const> modules, std::span<const Serial> serials,
                         std::span<bool> alive);

    // Marks the module as being destroyed for the scope's lifetime (its
    // registration ends at once); when the scope closes, the module is
    // forgotten.
    class Destruction {
    public:
        explicit Destruction(ImodelModule* module);
        ~Destruction();
        Destruction(const Destruction&) = delete;
        Destruction& operator=(const Destruction&) = delete;

    private:
        ImodelModule* m_module;
    };

    // The modules go together, none of them in a Destruction scope and no
    // event sent for them: each is forgotten as if its scope had opened and
    // closed. The registry is emptied at once when they are all it holds.
    static void ForgetAll(const std::vector<std::unique_ptr<ImodelModule>>& modules);
    // The same for `count` modules known to be every module registered, if
    // they are (the registry holds that many, none being destroyed): true
    // then, the registry empty; false with nothing changed otherwise.
    static bool ForgetAllIfOnly(std::size_t count);

    // Set once by the module class; null until then (nothing is marked).
    static void SetDisplayMarker(DisplayMarker marker);
    // Lets the module be displayed when it is still registered under
    // `serial` and not being destroyed; true when it was marked.
    static bool MarkDisplayable(ImodelModule* module, Serial serial);
    // MarkDisplayable of each module with its serial, under one lock.
    static void MarkAllDisplayable(std::span<ImodelModule* const> modules, std::span<const Serial> serials);
};

// True when an event of the batch carries a module whose destructor is
// running: such a batch must reach the views before the module is gone.
bool IeventMustDeliverAtOnce(const IeventBatch& events);
