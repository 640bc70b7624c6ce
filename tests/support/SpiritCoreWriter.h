// Writes SPIRIT core descriptions for the tests and the benchmarks: a
// component with its identity, vendor extension (core type, HDL, devices,
// libraries), one view naming file sets, the file sets and the component
// instances. Texts are taken as they are (callers write XML where they
// mean XML).
#pragma once

#include <map>
#include <string>
#include <vector>

class SpiritCoreWriter {
public:
    explicit SpiritCoreWriter(std::string name) : m_name(std::move(name)) {}

    SpiritCoreWriter& CoreType(const std::string& type) { return Extension("<coreType>" + type + "</coreType>"); }
    SpiritCoreWriter& Hdl(const std::string& hdl) { return Extension("<hdlFormat>" + hdl + "</hdlFormat>"); }
    SpiritCoreWriter& HdlLibrary(const std::string& library)
    {
        return Extension("<hdlLibrary>" + library + "</hdlLibrary>");
    }
    SpiritCoreWriter& Device(const std::string& family, const std::string& die = "", const std::string& package = "")
    {
        m_devices += "<device family=\"" + family + "\" die=\"" + die + "\" package=\"" + package + "\"/>";
        return *this;
    }
    SpiritCoreWriter& Library(const std::string& name, const std::string& path)
    {
        m_libraries += "<library><name>" + name + "</name><path>" + path + "</path></library>";
        return *this;
    }
    // A library element as written.
    SpiritCoreWriter& LibraryXml(const std::string& xml)
    {
        m_libraries += xml;
        return *this;
    }
    // A file of the set (named by the view); `inner` goes inside <file>
    // after its name and location.
    SpiritCoreWriter& File(const std::string& set, const std::string& location, const std::string& name,
                           const std::string& inner = "")
    {
        if (m_sets.find(set) == m_sets.end()) m_order.push_back(set);
        std::string& files = m_sets[set];
        files += "<file><name>" + name + "</name>";
        if (!location.empty()) files += "<location>" + location + "</location>";
        files += inner + "</file>";
        return *this;
    }
    // A set the view names without a file set to back it.
    SpiritCoreWriter& Reference(const std::string& set)
    {
        m_extraRefs.push_back(set);
        return *this;
    }
    SpiritCoreWriter& Instance(const std::string& xml)
    {
        m_instances += "<componentInstance>" + xml + "</componentInstance>";
        return *this;
    }
    SpiritCoreWriter& Raw(const std::string& xml)
    {
        m_raw += xml;
        return *this;
    }

    std::string Text() const
    {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Component>\n<vendor>brennic.com</vendor>"
                           "<library>cores</library><name>" +
                           m_name + "</name><version>1.0</version>\n<vendorExtension>" + m_extension;
        if (!m_devices.empty()) text += "<supportedDevices>" + m_devices + "</supportedDevices>";
        if (!m_libraries.empty()) text += "<libraries>" + m_libraries + "</libraries>";
        text += "</vendorExtension>\n<hwModel><views><view><name>rtl</name>";
        for (const std::string& set : m_order) text += "<fileSetRef>" + set + "</fileSetRef>";
        for (const std::string& set : m_extraRefs) text += "<fileSetRef>" + set + "</fileSetRef>";
        text += "</view></views></hwModel>\n<fileSets>\n";
        for (const std::string& set : m_order)
            text += "<fileSet fileSetId=\"" + set + "\">" + m_sets.at(set) + "</fileSet>\n";
        text += "</fileSets>\n";
        if (!m_instances.empty()) text += "<componentInstances>" + m_instances + "</componentInstances>\n";
        return text + m_raw + "</Component>\n";
    }

private:
    SpiritCoreWriter& Extension(const std::string& xml)
    {
        m_extension += xml;
        return *this;
    }

    std::string m_name;
    std::string m_extension;
    std::string m_devices;
    std::string m_libraries;
    std::vector<std::string> m_order;
    std::map<std::string, std::string> m_sets;
    std::vector<std::string> m_extraRefs;
    std::string m_instances;
    std::string m_raw;
};
