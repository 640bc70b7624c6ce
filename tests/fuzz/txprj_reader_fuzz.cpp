// The programming-project reader: any text reads without fault in both
// encodings; what a text gives, written out again, reads back the same; CRLF
// and LF line ends read alike.
#include "txprj/Txprj.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Files(const TxprjData& data)
{
    std::vector<std::string> files;
    if (data.GetAlgo()) files.push_back("ALGO " + data.GetAlgo()->GetFilename());
    for (auto device = data.GetDeviceMgr().GetDevicesBegin(); device != data.GetDeviceMgr().GetDevicesEnd(); ++device)
        files.push_back("DEVICE " + device->GetFilename());
    return files;
}

std::string WithCrlf(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TxprjData latin;
    TxprjReader::Parse(text, "LATIN1", "", latin, nullptr);
    TxprjData read;
    if (TxprjReader::Parse(text, "UTF-8", "", read, nullptr) != TxprjReader::Ok) return 0;
    const std::vector<std::string> files = Files(read);
    std::string written = "TXPRJ 1\n";
    bool rewritable = true;
    for (const std::string& line : files) {
        if (line.back() == '\r') rewritable = false;
        written += line + "\n";
    }
    if (!rewritable) return 0;
    TxprjData again;
    if (TxprjReader::Parse(written, "UTF-8", "", again, nullptr) != TxprjReader::Ok || Files(again) != files) abort();
    TxprjData crlf;
    if (TxprjReader::Parse(WithCrlf(written), "UTF-8", "", crlf, nullptr) != TxprjReader::Ok || Files(crlf) != files)
        abort();
    return 0;
}
