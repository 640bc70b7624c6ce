// The `file` argument: files of the project, given as paths. A text that
// begins with "<project>" names a file below the project folder; any other
// text is taken against the command manager's folder. Each file becomes the
// file manager's entry for it, or a new entry that is not added to the
// project. A list argument takes one file per occurrence of the option.
//
// With the in-project flag every file must already belong to the project:
// each one that does not is reported ("FILE_NOT_IN_PROJECT") and the
// command's validation fails.
#pragma once

#include "icmd/args/IcmdParam.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelFileTypes.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <vector>

class IcmdTCLFileArg : public IcmdParam<boost::shared_ptr<IfileObjectEx>> {
public:
    using File = boost::shared_ptr<IfileObjectEx>;

    // `acceptOutside`: a new entry for a file outside the project folder is
    // made quietly, as a link would be.
    IcmdTCLFileArg(AcmdBase* owner, bool required, bool list, bool inProject, bool acceptOutside);

    void SetFileObject(File file) { SetObject(std::move(file)); }
    // The project's entry of the file, or a new entry not added to it.
    void SetFileObject(const IfileObject& file);
    void SetFileObjects(const std::vector<File>& files) { SetObjects(files); }
    // The project's entries of the files; a file the project does not hold
    // is left out.
    void SetFileObjects(const std::deque<IfileObject>& files);
    bool MustBeInProject() const { return m_inProject; }
    void SetMustBeInProject(bool inProject) { m_inProject = inProject; }
    // The owning command reports each file the project does not hold
    // itself, with what it could take instead: the argument then lets such
    // files through, whatever its in-project flag says.
    void SetOwnerChecksProject(bool ownerChecks) { m_ownerChecksProject = ownerChecks; }

    void Accept(AcmdTypedParamVisitor& /*visitor*/) override {}
    std::string GetTypeDescription() const override;
    // An empty text gives no file and succeeds; a text that gives no entry
    // is reported (the argument and the text) and fails.
    bool GetObjectFromString(const char* text, File& out, bool report, void* parentWindow) override;
    // The full path; empty for no file.
    std::string GetStringFromObject(File file) const override;
    // With the in-project flag (and no check by the owner), also every
    // file belongs to the project.
    bool isSetAndValid() const override;

protected:
    // Drops the empty entries, then checks that the files belong to the
    // project when they must.
    void ValidateOwnValue(AcmdEnum::Result& result) override;

private:
    bool m_inProject;
    bool m_acceptOutside;
    bool m_ownerChecksProject = false;
};

// The file entry a path names. A text that begins with "<project>" (when
// `allowProjectToken`) is below the project folder, "." and ".." resolved, so
// "<project>/../x.v" names a file beside the project, not in it; a text with
// a folder part is a path of its own, made absolute; a bare file name lies in
// the project's folder for files of `type` in the view `revisionName`. The
// result is the project's entry of that file, else a new entry of `type` not
// added to the project (made quietly for a file outside the project folder
// with `acceptOutside`); empty for an empty text, "<project>" alone, or a
// path that holds "<project>" anywhere but at its start.
boost::shared_ptr<IfileObjectEx> IcmdGetFileObjectFromTCLArgValue(const std::string& value,
                                                                  const std::string& revisionName,
                                                                  zorpaFileManagerTypes type, bool allowProjectToken,
                                                                  bool acceptOutside);
// The full path that a file text names, as a file argument reads it: a
// text that begins with "<project>" below the project folder, "." and ".."
// resolved; any other text against the command manager's folder. Empty for
// an empty text, and for "<project>" alone or without a project folder.
std::string IcmdGetFullPathFromTCLArgValue(const std::string& value);
// The text of a file on a command line: its stored name with `internalName`,
// else its full path; empty for no file.
std::string IcmdTCLArgValueFromFileObject(boost::shared_ptr<IfileObjectEx> file, bool internalName);
