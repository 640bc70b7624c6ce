#include "icmd/args/IcmdComponentIDText.h"

VyIfaces::ComponentID IcmdReadComponentID(const std::string& text) { return VyIfaces::ComponentID::FromString(text); }

std::string IcmdWriteComponentID(const VyIfaces::ComponentID& id)
{
    // A package without a name is not written either.
    return id.name.empty() ? std::string() : id.ToString();
}
