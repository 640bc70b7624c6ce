#include "icmd/design/IcmdOpenConstraintsEditor.h"

std::set<VyIfaces::IComponent*>& IcmdOpenConstraintsEditor::GetComponents()
{
    static std::set<VyIfaces::IComponent*> components;
    return components;
}

void IcmdOpenConstraintsEditor::Close() { GetComponents().clear(); }
