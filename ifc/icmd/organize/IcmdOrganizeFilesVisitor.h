// The host's dialogs that let a user organize a list of files: each
// command tells, through Accept, which list it organizes.
#pragma once

class IcmdOrganizeFilesBase;

class IcmdOrganizeFilesVisitor {
public:
    virtual ~IcmdOrganizeFilesVisitor() = default;

    virtual void VisitStimulus(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitSynthesisConstraints(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitPhySynthesisConstraints(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitPalladorConstraints(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitOtherConstraints(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitSynthesisSources(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitSimulationSources(IcmdOrganizeFilesBase& command) = 0;
    virtual void VisitOtherSources(IcmdOrganizeFilesBase& command) = 0;

protected:
    IcmdOrganizeFilesVisitor() = default;
    IcmdOrganizeFilesVisitor(const IcmdOrganizeFilesVisitor&) = default;
    IcmdOrganizeFilesVisitor& operator=(const IcmdOrganizeFilesVisitor&) = default;
};
