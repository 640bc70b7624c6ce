// A block of the project file made in a text that goes to the stream
// whenever it holds some tens of kilobytes: a block of many thousand lines
// is formatted without a stream operation per value, and without a text of
// its whole size.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

class ImodelChunkedText {
public:
    explicit ImodelChunkedText(std::ostream& stream) : m_stream(stream) { m_text.reserve(kChunk + 4096); }

    // The text not yet written, to append to.
    std::string& Text() { return m_text; }
    // Writes the text once it holds a chunk.
    void Step()
    {
        if (m_text.size() >= kChunk) Flush();
    }
    // Writes the text.
    void Flush()
    {
        m_stream.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

private:
    static constexpr std::size_t kChunk = 64 * 1024;
    std::ostream& m_stream;
    std::string m_text;
};
