// ImodelPhySynthesisOptions: the settings handed to the physical-synthesis
// tool for one design unit, and the ordered list of constraint files it
// takes. Each design unit owns one. A value: copyable, comparable, reset to
// its defaults.
//
// The project file keeps the options of a unit whose options are customized
// in a block that the project writer opens and closes ("LIST ..." to
// "ENDLIST"); between them, these lines, each key=value:
//   GenPinConstraints=TRUE|FALSE
//   UseSynplifySDC=TRUE|FALSE
//   LogSynthEffort=<text>    PhySynthEffort=<text>
//   RelaxDelay=<text>        MaxCoreCell=<text>
//   Constraints / one VALUE line per file / ENDConstraints
// The reader also takes an older optional-file list ("OptionalFiles" to
// "ENDOptionalFiles", one "<file name>;<state>" per line).
#pragma once

#include "imodel/names/ImodelLazy.h"
#include "imodel/names/ImodelLazyList.h"

#include "ifile/IfileObject.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class Iconvert;
class IfileObjectEx;
class ImodelModule;
class ImodelRevContextImpl;

// The state of a file in an optional-file list: 0 the file is used, 1 not.
enum OptionalFileState : int {
    OptionalFileUsed = 0,
    OptionalFileNotUsed = 1
};
using ImodelOptionalFiles = std::vector<std::pair<std::string, OptionalFileState>>;

// Whether a listed file is a constraint file of its own, matched by its
// name; any other entry is a flow file, standing for the file its node
// gives in each revision.
inline bool ImodelIsGenericConstraint(const IfileObject& file)
{
    return file.GetFileGlobalType() == zorpaFT_GROUP_CONSTRAINT;
}

class ImodelPhySynthesisOptions {
public:
    // The defaults (SetDefaultPhySynthOpt).
    ImodelPhySynthesisOptions();
    ImodelPhySynthesisOptions(const ImodelPhySynthesisOptions&) = default;
    ImodelPhySynthesisOptions& operator=(const ImodelPhySynthesisOptions&) = default;
    virtual ~ImodelPhySynthesisOptions();

    // Equal flags, texts (exactly) and constraint lists (same files in the
    // same order).
    bool operator==(const ImodelPhySynthesisOptions& other) const;
    bool operator!=(const ImodelPhySynthesisOptions& other) const { return !(*this == other); }

    // GenPinConstraints true, LogSynthEffort "3", PhySynthEffort "1",
    // RelaxDelay "0", MaxCoreCell "100", no constraint file, UseSynplifySDC
    // as the options variable IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT (on when it
    // reads 1). The module is not used.
    void SetDefaultPhySynthOpt(ImodelModule* module = nullptr);
    // Differs from a newly made record; the module is not used.
    bool IsCustomized(ImodelModule* module = nullptr) const;

    // The option lines and the constraint list; nothing for a null stream.
    void WriteToFile(std::ostream* stream) const;
    // Resets to the defaults, then reads the lines of the block from the
    // front of `lines` up to and including its "ENDLIST" (all of them when
    // there is none) and removes them; the caller goes on with the rest.
    // A nested list missing its closing line ends at the block's "ENDLIST".
    void ReadFromFile(std::vector<std::string>& lines, const std::vector<Iconvert*>& converters);

    // --- the values ------------------------------------------------------------------------
    // A text holding a line break cannot be stored and is refused with a
    // message (false, nothing changed).
    bool GetGenPinConstraints() const { return m_genPinConstraints; }
    void SetGenPinConstraints(bool value) { m_genPinConstraints = value; }
    bool GetUseSynplifySDC() const { return m_useSynplifySDC; }
    void SetUseSynplifySDC(bool value) { m_useSynplifySDC = value; }
    const std::string& GetLogSynthEffort() const { return m_logSynthEffort; }
    bool SetLogSynthEffort(const std::string& value);
    const std::string& GetPhySynthEffort() const { return m_phySynthEffort; }
    bool SetPhySynthEffort(const std::string& value);
    const std::string& GetRelaxDelay() const { return m_relaxDelay; }
    bool SetRelaxDelay(const std::string& value);
    const std::string& GetMaxCoreCell() const { return m_maxCoreCell; }
    bool SetMaxCoreCell(const std::string& value);

    // The stored constraint files, in order.
    const std::deque<IfileObject>& GetConstraintFileList() const { return m_constraintFiles.Get(); }
    // Replaces the list. With an optional-file list of exactly one entry,
    // UseSynplifySDC becomes whether that entry is used.
    void SetConstraintFileList(const std::deque<IfileObject>& files, const ImodelOptionalFiles* optionalFiles);

    // --- the list as the flow sees it (ImodelPhySynthesisConstraints.cpp) -----------------
    // The stored list with each flow constraint file replaced by the project
    // file its flow node gives for the module and revision (named after
    // `defaultName` when given); generic constraint files (group 104) stay
    // as they are. A file the node does not give is dropped with
    // `dropMissing`, else kept. Without module or revision, the stored list.
    void GetConstraintFileList(std::deque<IfileObject>& out, ImodelModule* module, ImodelRevContextImpl* revision,
                               bool dropMissing, const std::string* defaultName) const;
    // A file joined the project: a flow constraint file (levels 2 and 3)
    // that physical synthesis uses by default in a revision of the unit is
    // put at its default place in the list, unless the list holds a file of
    // its type or the synthesis constraints are not passed on; each revision
    // whose list now names it hears of the change.
    void ConstraintFileAdded(boost::shared_ptr<IfileObjectEx> file, ImodelModule* module);
    // A file left the project: generic constraint files are dropped from the
    // list, and each revision whose list held the file hears of the change.
    void ConstraintFileRemoved(const IfileObject& file, ImodelModule* module);
    // Tells the process manager that the module's physical-synthesis
    // constraints changed in the revision, or, without one, in every
    // revision the flow's physical-synthesis step takes part in.
    static void NotifyListChanged(ImodelModule* module, ImodelRevContextImpl* revision);

private:
    struct Keys;

    void ReadOptionLine(const std::string& line);
    void ReadOptionalFileLine(const std::string& line);
    static bool SetText(std::string& field, const std::string& value);

    bool m_genPinConstraints;
    std::string m_logSynthEffort;
    std::string m_phySynthEffort;
    std::string m_relaxDelay;
    std::string m_maxCoreCell;
    ImodelLazyList<std::deque<IfileObject>> m_constraintFiles;
    bool m_useSynplifySDC;
};

// A design unit's options, made when they are first changed: nearly every
// unit keeps the defaults, and a record holds over a hundred bytes. Until
// then they read as a record made with the unit would: UseSynplifySDC as
// the options variable read when the unit was made.
class ImodelUnitPhySynthesisOptions {
public:
    ImodelUnitPhySynthesisOptions();

    const ImodelPhySynthesisOptions& Get() const;
    // The unit's own record, made when there was none.
    ImodelPhySynthesisOptions& Use();
    // Gives the record back when it holds the defaults again (after a
    // change that often leaves them, asked of every unit).
    void Settle();

private:
    ImodelLazy<ImodelPhySynthesisOptions> m_options;
    bool m_useSynplifySDC;
};
