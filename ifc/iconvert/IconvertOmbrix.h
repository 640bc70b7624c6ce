// The files of the older core generator (projects before 7.0): a generated
// HDL file that the user kept in the HDL folder replaces the core
// generator's own copy, and the HDL copy then stays out of the project; the
// "GENFiles" list and every file of the core generator's folder stay out too.
#pragma once

#include "iconvert/Iconvert.h"

#include <unordered_set>

class IconvertOmbrix : public Iconvert {
public:
    IconvertOmbrix() : Iconvert(1) {}

    bool FileNeedsImport(const ImodelFileName& name, int type) override;
    bool FileNeedsImport(const std::string& line) override;
    bool OldFileGroupNeedsImport(const std::string& group, int type, ImodelProjectFileStructure& project) override;
    bool PreOpenConvert() override;

    const std::deque<IfileObject>& GetReplacedFiles() const { return m_replacedFiles; }

private:
    bool IsReplaced(const IfileObject& file) const;

    std::deque<IfileObject> m_replacedFiles;
    std::unordered_set<std::string> m_replacedKeys;
};
