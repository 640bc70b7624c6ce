// Recording the foundation's debug print in tests.
#pragma once

#include <foundation/Sys.h>

#include <string>

// Records the debug print while it lives.
class PrintCapture {
public:
    PrintCapture()
    {
        SysSetPrintHook([this](const std::string& text) { m_text += text; });
    }
    ~PrintCapture() { SysSetPrintHook({}); }
    PrintCapture(const PrintCapture&) = delete;
    PrintCapture& operator=(const PrintCapture&) = delete;

    const std::string& Text() const { return m_text; }
    bool Holds(const std::string& part) const { return m_text.find(part) != std::string::npos; }
    void Clear() { m_text.clear(); }

private:
    std::string m_text;
};
