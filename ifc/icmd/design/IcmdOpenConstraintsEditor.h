// The process-wide registry of the block-design components that hold open
// graphical constraint editors. The constraints editor puts the components
// it opens into the registry; the closing of the editors that depend on the
// device reads it, and closing the project forgets them.
#pragma once

#include <set>

namespace VyIfaces {
class IComponent;
}

class IcmdOpenConstraintsEditor {
public:
    // The components of the open constraint editors; the registry owns none.
    static std::set<VyIfaces::IComponent*>& GetComponents();
    // Forgets every component without deleting it (the project closes).
    static void Close();
};
