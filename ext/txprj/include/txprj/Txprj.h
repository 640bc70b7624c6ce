// The programming tool's project file: which programming files it writes
// to the devices. A project holds at most one single-device algorithm and
// a chain of devices, each naming the file programmed into it.
//
// The file is a text file of our own line format:
//
//   TXPRJ 1                 header and format version
//   ALGO <file name>        the single-device algorithm's file (at most one)
//   DEVICE <file name>      a device of the chain, in chain order
//
// A name is the rest of its line; a relative name is relative to the
// project file's folder, which the reader resolves. Lines of other keywords
// are ignored, so later versions may add some; a known keyword without a
// name, a second ALGO line or a missing header makes the file unreadable.
// CRLF files read like LF ones.
#pragma once

#include <string>
#include <vector>

// One programmed file.
class TxprjAlgo {
public:
    explicit TxprjAlgo(const std::string& fileName) : m_fileName(fileName) {}
    const std::string& GetFilename() const { return m_fileName; }

private:
    std::string m_fileName;
};

// The devices of the chain, in order.
class TxprjDeviceMgr {
public:
    using Devices = std::vector<TxprjAlgo>;
    Devices::const_iterator GetDevicesBegin() const { return m_devices.begin(); }
    Devices::const_iterator GetDevicesEnd() const { return m_devices.end(); }
    void AddDevice(const TxprjAlgo& device) { m_devices.push_back(device); }

private:
    Devices m_devices;
};

// What a project file holds.
class TxprjData {
public:
    // The single-device algorithm; null when the project has none.
    const TxprjAlgo* GetAlgo() const { return m_hasAlgo ? &m_algo : nullptr; }
    const TxprjDeviceMgr& GetDeviceMgr() const { return m_devices; }
    void SetAlgo(const TxprjAlgo& algo)
    {
        m_algo = algo;
        m_hasAlgo = true;
    }
    TxprjDeviceMgr& GetDeviceMgr() { return m_devices; }

private:
    TxprjAlgo m_algo{std::string()};
    bool m_hasAlgo = false;
    TxprjDeviceMgr m_devices;
};

// Reads one project file. The encoding names how the file's bytes are
// meant: "LATIN1" (converted to UTF-8) or "UTF-8" (taken as they are).
class TxprjReader {
public:
    enum Result : int {
        Ok = 0,
        CannotRead = 1,   // the file cannot be opened or read
        NotAProject = 2,  // no header, or a version this reader does not know
        BadLine = 3,      // a known keyword without a name, or a second algorithm
        UnknownEncoding = 4
    };

    TxprjReader(const std::string& fileName, const std::string& encoding);
    // Reads the file into the data; the data is empty after a failure.
    int Read();
    const TxprjData& GetData() const { return m_data; }
    // The line number of a bad line (1-based); 0 otherwise.
    int GetErrorLine() const { return m_errorLine; }

    // The same reading of a text, relative names resolved against `folder`.
    static int Parse(const std::string& text, const std::string& encoding, const std::string& folder, TxprjData& data,
                     int* errorLine);

private:
    std::string m_fileName;
    std::string m_encoding;
    TxprjData m_data;
    int m_errorLine = 0;
};
