// The versions of the project file at which its layout changed, against
// which opening a project and the tools' conversions test the version it
// was written by. A project without a version (-1, -1) is older than all of
// them.
#pragma once

struct ImodelProjectVersions {
    static bool IsPre_FolderStructuring1(int major, int) { return major < 6; }
    static bool IsPre_RevStructFlowSupported(int major, int minor) { return major < 6 || (major == 6 && minor < 2); }
    static bool IsPre_LocalFilesRequiredInPallador(int major, int minor)
    {
        return IsPre_RevStructFlowSupported(major, minor);
    }
    static bool IsPre_Kiltora(int major, int) { return major < 7; }
    static bool IsPre_PackageFilesParsing(int major, int minor) { return major < 7 || (major == 7 && minor < 2); }
    static bool IsPre_DESIGNNameKeyInIde_PldFiles(int major, int minor)
    {
        return IsPre_PackageFilesParsing(major, minor);
    }
    static bool IsPre_QVP_And_Block_FilesInWS(int major, int) { return major < 8; }
    static bool IsPre_PowerFilesInSimulationFolder(int major, int minor)
    {
        return major < 8 || (major == 8 && minor < 1);
    }
};
