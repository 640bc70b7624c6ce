#include "txprj/Txprj.h"

#include <foundation/Sys.h>

namespace {

// Each byte of a Latin-1 text as its UTF-8 character.
std::string Latin1ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

bool IsAbsolute(const std::string& name)
{
    return (!name.empty() && (name[0] == '/' || name[0] == '\\')) || (name.size() > 1 && name[1] == ':');
}

// The keyword and the rest of a line after one blank.
void Split(const std::string& line, std::string& keyword, std::string& rest)
{
    const std::size_t blank = line.find(' ');
    keyword = line.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

}  // namespace

TxprjReader::TxprjReader(const std::string& fileName, const std::string& encoding)
    : m_fileName(fileName), m_encoding(encoding)
{
}

int TxprjReader::Read()
{
    m_data = TxprjData();
    m_errorLine = 0;
    std::string text;
    if (!SysReadFile(m_fileName, text)) return CannotRead;
    const std::size_t slash = m_fileName.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : m_fileName.substr(0, slash);
    const int result = Parse(text, m_encoding, folder, m_data, &m_errorLine);
    if (result != Ok) m_data = TxprjData();
    return result;
}

int TxprjReader::Parse(const std::string& raw, const std::string& encoding, const std::string& folder, TxprjData& data,
                       int* errorLine)
{
    std::string text;
    if (encoding == "LATIN1")
        text = Latin1ToUtf8(raw);
    else if (encoding == "UTF-8")
        text = raw;
    else
        return UnknownEncoding;

    int number = 0;
    bool headerSeen = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string keyword, rest;
        Split(line, keyword, rest);
        if (!headerSeen) {
            if (keyword != "TXPRJ" || rest != "1") return NotAProject;
            headerSeen = true;
            continue;
        }
        if (keyword != "ALGO" && keyword != "DEVICE") continue;
        if (rest.empty() || (keyword == "ALGO" && data.GetAlgo())) {
            if (errorLine) *errorLine = number;
            return BadLine;
        }
        const TxprjAlgo file(IsAbsolute(rest) || folder.empty() ? rest : folder + "/" + rest);
        if (keyword == "ALGO")
            data.SetAlgo(file);
        else
            data.GetDeviceMgr().AddDevice(file);
    }
    return headerSeen ? Ok : NotAProject;
}
