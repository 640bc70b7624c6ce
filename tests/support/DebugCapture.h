// Recording the foundation's debug print with the model's DEBUG_MSG setting
// turned on.
#pragma once

#include "PrintCapture.h"

#include "imodel/model/Imodel.h"

#include <foundation/Def.h>

// Makes the model read DEBUG_MSG as off, whatever an earlier test left: the
// model keeps the last value it read once the variable is gone, so it is
// read back as 0 before it is removed.
inline void DebugMessagesOff()
{
    DefSetFL("DEBUG_MSG", "0");
    Imodel::GetInstance().ReloadBoolSettings();
    Imodel::GetInstance().IsDebugMsg();
    DefUnset("DEBUG_MSG");
}

// Turns DEBUG_MSG on, for the model too, and records the debug print while
// it lives; DEBUG_MSG is off again afterwards.
class DebugCapture : public PrintCapture {
public:
    DebugCapture()
    {
        DefSetFL("DEBUG_MSG", "1");
        Imodel::GetInstance().ReloadBoolSettings();
        Clear();  // what building the model printed is not the test's
    }
    ~DebugCapture() { DebugMessagesOff(); }
};
