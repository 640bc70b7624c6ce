// A fresh temporary folder for one test, removed with everything in it when
// the object goes away.
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of `name` inside the folder.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    // Writes a file inside the folder (parents created) and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;
    // The content of a file inside the folder ("" when it cannot be read).
    std::string Read(const std::string& name) const;
    // The names in a folder inside the folder (itself for ""), sorted,
    // hidden ones included; none when it cannot be read.
    std::vector<std::string> List(const std::string& name = "") const;

private:
    std::string m_path;
};
