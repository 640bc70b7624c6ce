// ImodelFileName: the path type of every interface of the library (a design
// file, a folder, a project file). It keeps the text exactly as the caller
// passed it: a full path, a path relative to the project folder, or a path
// beginning with "<project>".
//
// Equality and order differ on purpose:
//   ==, !=  the model's file-name comparison (ImodelIsSameFileName in
//           imodelUtl.h): "<project>" on one side, separators and letter
//           case do not matter;
//   <       plain byte order of the texts, for sorted containers. Two names
//           that differ only in case or separator are two keys of a map,
//           while == finds them equal.
#pragma once

#include <cstddef>
#include <string>

class ImodelFileName {
public:
    ImodelFileName() = default;
    ImodelFileName(const ImodelFileName& other);
    ImodelFileName(ImodelFileName&& other) noexcept = default;
    ImodelFileName(const std::string& text);
    // A null pointer gives an empty name.
    ImodelFileName(const char* text);
    ~ImodelFileName() = default;

    ImodelFileName& operator=(const ImodelFileName& other);
    ImodelFileName& operator=(ImodelFileName&& other) noexcept = default;
    ImodelFileName& operator=(const std::string& text);
    // A null pointer leaves the name unchanged.
    ImodelFileName& operator=(const char* text);

    bool operator==(const ImodelFileName& other) const;
    bool operator!=(const ImodelFileName& other) const;
    // A null pointer compares as the empty name.
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const;
    // Byte order of the texts, case-sensitive, without the file-name rules.
    bool operator<(const ImodelFileName& other) const;

    // The text itself.
    const std::string& GetString() const { return m_name; }
    std::string& GetString() { return m_name; }
    operator const std::string&() const { return m_name; }
    const char* c_str() const { return m_name.c_str(); }
    std::size_t length() const { return m_name.length(); }
    std::size_t size() const { return m_name.size(); }
    bool empty() const { return m_name.empty(); }
    void clear() { m_name.clear(); }
    ImodelFileName& operator+=(const std::string& text)
    {
        m_name += text;
        return *this;
    }
    ImodelFileName& operator+=(char c)
    {
        m_name += c;
        return *this;
    }

private:
    std::string m_name;
};
