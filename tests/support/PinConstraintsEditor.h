// The options under which a project takes pin constraint files (".pdc")
// and the constraints editor opens them.
#pragma once

#include <foundation/Def.h>

#include <utility>

inline void EnablePinConstraintsEditor()
{
    for (const auto& [name, value] : {std::pair{"IMPORT_CONSTRAINT_FILES", "PDC"},
                                      {"PDC_DISP_NAME", "Pin"},
                                      {"PDC_EXTN", "pdc"},
                                      {"PALLADOR_IMPORT_CONSTRAINT_FILES", "pdc"},
                                      {"IDE_CONSTRAINTS_EDITOR_ENABLED", "1"}})
        DefSetFL(name, value, __FILE__, __LINE__);
}
