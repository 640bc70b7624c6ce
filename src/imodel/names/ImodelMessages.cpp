// Every message of the library: one row per message, in the order of their
// numbers. Each row defines the message and its function; the rows of the
// functions whose shape differs, and of the messages that the flow and the
// converters emit through functions of their own, define the message only.
#include "imodel/names/ImodelMessages.h"

#include "imodel/model/QuorlaneModule.h"
#include "imodel/names/ImodelMessageDef.h"

#include <string>
#include <vector>

namespace {

std::vector<ImodelMessageEntry>& Table()
{
    static std::vector<ImodelMessageEntry> table;
    return table;
}

// Each definition joins the table where it is made, in the file's order.
bool List(const ImodelMessageDef& def, int arguments)
{
    Table().push_back({&def, arguments});
    return true;
}

}  // namespace

const std::vector<ImodelMessageEntry>& ImodelGetMessageTable() { return Table(); }

#define IMODEL_LIST(DEF, N) [[maybe_unused]] static const bool DEF##_listed = List(DEF, N);

// Parameter lists and values of 0 to 4 string placeholders.
#define IMODEL_STRINGS_0
#define IMODEL_STRINGS_1 const char* a
#define IMODEL_STRINGS_2 IMODEL_STRINGS_1, const char* b
#define IMODEL_STRINGS_3 IMODEL_STRINGS_2, const char* c
#define IMODEL_STRINGS_4 IMODEL_STRINGS_3, const char* d
#define IMODEL_QUERY_STRINGS_0 void *parent, MdbQuery_result defaultAnswer
#define IMODEL_QUERY_STRINGS_1 IMODEL_QUERY_STRINGS_0, IMODEL_STRINGS_1
#define IMODEL_QUERY_STRINGS_2 IMODEL_QUERY_STRINGS_0, IMODEL_STRINGS_2
#define IMODEL_QUERY_STRINGS_3 IMODEL_QUERY_STRINGS_0, IMODEL_STRINGS_3
#define IMODEL_QUERY_STRINGS_4 IMODEL_QUERY_STRINGS_0, IMODEL_STRINGS_4
#define IMODEL_VALUES_0
#define IMODEL_VALUES_1 a
#define IMODEL_VALUES_2 a, b
#define IMODEL_VALUES_3 a, b, c
#define IMODEL_VALUES_4 a, b, c, d

// IMODEL_LINE_DEF(id, placeholders, serial, severity, text[, second number]):
// the line k<id>_MSG alone, for a line whose function has another shape or
// belongs to another component.
#define IMODEL_LINE_DEF(ID, N, SERIAL, SEVERITY, ...)                                                                  \
    constexpr ImodelMessageDef k##ID##_MSG{#ID, SERIAL, SEVERITY, MdbLINE, __VA_ARGS__};                               \
    IMODEL_LIST(k##ID##_MSG, N)

// IMODEL_LINE(id, placeholders, serial, severity, text[, second number]):
// the line k<id>_MSG and ImodelDisplay<id>_MSG.
#define IMODEL_LINE(ID, N, SERIAL, SEVERITY, ...)                                                                      \
    IMODEL_LINE_DEF(ID, N, SERIAL, SEVERITY, __VA_ARGS__)                                                              \
    int ImodelDisplay##ID##_MSG(IMODEL_STRINGS_##N) { return ImodelEmitOutput(k##ID##_MSG, {IMODEL_VALUES_##N}); }

// IMODEL_SILENCEABLE_DEF(id, placeholders, serial, severity, kind, text, key):
// the question k<id>_QRY alone, which the user may silence for good; its key
// is registered with the do-not-show-again manager while the library loads.
#define IMODEL_SILENCEABLE_DEF(ID, N, SERIAL, SEVERITY, KIND, TEXT, KEY)                                               \
    constexpr ImodelMessageDef k##ID##_QRY{                                                                            \
        .id = #ID, .serial = SERIAL, .severity = SEVERITY, .kind = KIND, .text = TEXT, .dontShowAgainKey = KEY};       \
    IMODEL_LIST(k##ID##_QRY, N)

// ImodelDisplay<id>_QRY over the question k<id>_QRY.
#define IMODEL_QUERY_FUNCTION(ID, N)                                                                                   \
    MdbQuery_result ImodelDisplay##ID##_QRY(IMODEL_QUERY_STRINGS_##N)                                                  \
    {                                                                                                                  \
        return ImodelEmitQuery(k##ID##_QRY, parent, defaultAnswer, {IMODEL_VALUES_##N});                               \
    }

// IMODEL_QUERY(id, placeholders, serial, severity, kind, text): the question
// k<id>_QRY and ImodelDisplay<id>_QRY.
#define IMODEL_QUERY(ID, N, SERIAL, SEVERITY, KIND, TEXT)                                                              \
    constexpr ImodelMessageDef k##ID##_QRY{#ID, SERIAL, SEVERITY, KIND, TEXT};                                         \
    IMODEL_LIST(k##ID##_QRY, N)                                                                                        \
    IMODEL_QUERY_FUNCTION(ID, N)

// --- serials 0 to 38 ----------------------------------------------------------

IMODEL_LINE(ADB_UPDATED, 1, 0, MdbINFO, "%s updated successfully.")
IMODEL_LINE(ADB_PARTIALLY_UPDATED, 1, 1, MdbINFO, "%s was updated, this design is still using some non-local files.")
IMODEL_LINE(DEBUG, 1, 2, MdbINFO, "%s")
IMODEL_LINE(VALUE_SET, 2, 3, MdbINFO, "%s is unspecified or invalid; it has been set to %s.")
IMODEL_LINE(VALUE_IGNORED, 1, 4, MdbINFO, "%s is invalid, it has been unset.")
IMODEL_LINE(CALLING_TOOL, 1, 5, MdbINFO, "Starting %s...")
IMODEL_LINE(WRONG_DEVICE_VALUE, 4, 6, MdbERROR, "%s '%s' has not been set. %s must be one of the following: %s.")
IMODEL_LINE(MISSING_DEVICE_VALUE, 1, 7, MdbERROR, "%s is required to continue.")
IMODEL_QUERY(WRONG_DEVICE_VALUE, 4, 8, MdbERROR, MdbOKBOX,
             "%s '%s' has not been set. %s must be one of the following: %s.")
IMODEL_QUERY(MISSING_DEVICE_VALUE, 1, 9, MdbERROR, MdbOKBOX, "%s is required to continue.")
IMODEL_LINE(DUPLICATE_MODULE, 1, 10, MdbERROR,
            "The %s module is defined in multiple files. Duplicate modules are not supported.\n"
            "Select the file you want to use from the Design Hierarchy.")
IMODEL_LINE(OLD_FILE_NOT_FOUND, 1, 11, MdbERROR, "Unable to find the file '%s'.", ImodelMessageNumber(1))
IMODEL_LINE(UNABLE_TO_CREATE_DIR, 1, 12, MdbERROR, "Unable to create directory: %s.")
IMODEL_QUERY(PROJECT_SETTING_UNSPECIFIED, 1, 15, MdbERROR, MdbOKBOX, "Please specify the %s for your project.")
IMODEL_QUERY(FAM_CHANGE_NOT_ALLOWED, 1, 16, MdbERROR, MdbOKBOX, "Family change is not allowed for %s projects.")
IMODEL_QUERY(FAM_CHANGE_CAN_ONLY_BE, 2, 17, MdbERROR, MdbOKBOX, "%s projects can only be changed to %s.")
IMODEL_LINE(INVALID_CORE, 2, 18, MdbERROR,
            "Unable to parse %s '%s'.\n"
            "Please verify that the file is valid.")
IMODEL_LINE(INVALID_CORE_DEVICE, 2, 19, MdbERROR,
            "Current device selection not supported by '%s'.\n"
            "Check that it has been created for your current device: %s.")
IMODEL_LINE(UNSUPPORTED_CORE_DEVICE, 0, 20, MdbERROR,
            "Core's device is not supported by Solvato IDE.\n"
            "Core cannot be imported.")
IMODEL_LINE(UNABLE_TO_COPY, 2, 21, MdbERROR,
            "Unable to copy: '%s' to '%s'.\n"
            "Please check the write permissions.")
IMODEL_QUERY(CORE_ALREADY_PRESENT, 1, 22, MdbERROR, MdbYESNOBOX,
             "Solvato only supports one core per project.\n"
             "\n"
             "Your project already contains a core ('%s'), do you wish to remove it and import the new one?")
IMODEL_LINE(NO_TOOL_PROFILE, 2, 24, MdbERROR,
            "Unable to start %s.\n"
            "From the Project menu, select 'Profile...' and change the %s profile.")
IMODEL_LINE(NO_PROFILE, 2, 25, MdbERROR,
            "No active profile for %s.\n"
            "From the Project menu, select 'Profile...' and change the %s profile.")
IMODEL_LINE(NO_TOOL, 1, 26, MdbERROR, "Unable to start %s.")
IMODEL_LINE(LINK_CHANGED, 1, 27, MdbWARNING, "Linked file '%s' has changed.")

// Its key is "imodel" + id + "_QRY".
IMODEL_SILENCEABLE_DEF(
    SWITCH_BLOCKMODE_WARNING, 0, 28, MdbWARNING, MdbOKBOX,
    "Solvato IDE does not save any of your files. Please backup the files you wish to preserve before continuing.",
    "imodelSWITCH_BLOCKMODE_WARNING_QRY")
IMODEL_QUERY_FUNCTION(SWITCH_BLOCKMODE_WARNING, 0)

IMODEL_LINE(
    USING_MODIFIED_FILE, 1, 30, MdbWARNING,
    "File '%s' was modified but not saved. Your modifications will not be evaluated by the tool you are launching.")
IMODEL_LINE(SPIRIT_FILE_NOT_FOUND, 2, 31, MdbWARNING,
            "Unable to access the file '%s'.\n"
            "Please check that the core file '%s' is valid; you may need to regenerate this core.")
IMODEL_QUERY(UPGRADED_DEVICE_FOR_CORE, 3, 32, MdbWARNING, MdbYESNOBOX,
             "Solvato IDE needs to change your current device settings from\n"
             "%s\n"
             "to\n"
             "%s\n"
             "to match '%s' settings.\n"
             "\n"
             "Do you still want to import core?")
IMODEL_LINE(CONVERT_FAILED_LOCAL_COPIES, 1, 34, MdbWARNING,
            "Failed to convert the file '%s'. You will be asked to convert the design the next time you open it",
            ImodelMessageNumber(3))
IMODEL_LINE(UPDATED_CORE_FROM_DISK, 1, 35, MdbNOTICE,
            "Files for core '%s' have changed on disk; Solvato IDE now works with the updated version of these files.")
IMODEL_LINE(RESTORING_MODULE_STATE, 2, 36, MdbNOTICE,
            "Linked file '%s' is back and did not change! Restored %s information and states.")
IMODEL_LINE(RESTORING_MODULE_INFO, 2, 37, MdbNOTICE, "Linked file '%s' is back but changed! Restored %s information.")
IMODEL_LINE(LINK_FILE_WAS_MODIFIED, 1, 38, MdbNOTICE, "Linked file '%s' was modified since last session.")

// --- serials 400 to 402: the flow's, emitted by iprocess/IprocessMessages.h ----

IMODEL_SILENCEABLE_DEF(COMPONENT_NOT_READY, 1, 400, MdbERROR, MdbOKCANCELBOX,
                       "Your design contains some components with error(s).\nClick Cancel to abort %s.",
                       "iprocessCOMPONENT_NOT_READY_QRY")
IMODEL_SILENCEABLE_DEF(COMPONENT_NOT_UPTODATE, 1, 401, MdbWARNING, MdbOKCANCELBOX,
                       "Your design contains some components that are out of date.\nClick Cancel to abort %s.",
                       "iprocessCOMPONENT_NOT_UPTODATE_QRY")
IMODEL_LINE_DEF(
    LAYOUT_IGNORED_OOD_FILE, 2, 402, MdbWARNING,
    "%s completed layout, but it used the out-of-date file: %s. Your design will remain in pre-layout state.")

// --- serials 600 to 664 -------------------------------------------------------

IMODEL_LINE(READING_FILE, 1, 600, MdbINFO, "Reading file '%s'.")
IMODEL_LINE(PROJECT_CREATED, 1, 601, MdbINFO, "The %s project was created.")
IMODEL_LINE(PROJECT_CLOSED, 1, 602, MdbINFO, "The %s project was closed.")
IMODEL_LINE(PROJECT_SAVED, 1, 603, MdbINFO, "The '%s' project was saved.")
IMODEL_LINE(PROJECT_OPENED, 1, 604, MdbINFO, "The %s project was opened.")
IMODEL_LINE(CREATED_BACKUP, 1, 605, MdbINFO, "Backup '%s' created successfully.")
IMODEL_QUERY(CONVERT_NEED_CONVERT, 2, 606, MdbINFO, MdbYESNOBOX,
             "You are trying to open the %s project created with a previous version of Solvato IDE.\n"
             "To use this project in Solvato IDE %s, the project data must be converted.\n"
             "After conversion, the project will not be compatible for use with older Solvato versions.\n"
             "\n"
             "You should keep a backup copy of your project.\n"
             "To keep a backup copy of your project, click 'No' below and then copy your project folder manually.\n"
             "Click 'Yes' if you have already created a backup copy of your project.\n"
             "\n"
             "Do you wish to proceed with the conversion?")
IMODEL_QUERY(IMPORT_BLOCK_IN_BLOCK_MODE, 0, 607, MdbINFO, MdbYESNOBOX,
             "Do you want to turn off the option Enable Pallador Block creation?")
IMODEL_QUERY(FILE_ALREADY_OPENED, 3, 608, MdbERROR, MdbYESNOCANCELBOX,
             "File '%s' is currently open in a %s. Close it before opening it in the %s?")
IMODEL_QUERY(CONSTRAINT_EDITOR_NO_SUPPORT, 2, 609, MdbERROR, MdbOKBOX, "%s cannot be opened for '%s' files.")
IMODEL_LINE(SCRIPT_TCL_TEST_LIST_FAILED, 3, 610, MdbERROR, "%s: Test failed: file list is not '%s' but '%s'.")
IMODEL_LINE(NO_CONSTRAINTS_MANAGER, 1, 611, MdbERROR, "Project Manager does not handle constraint files for %s.")
IMODEL_LINE(NO_CUSTOM_SOURCES, 1, 612, MdbERROR, "Project Manager does not handle customized source files for %s.")
IMODEL_LINE(ASSOCIATE_FILES_NOT_FOUND, 2, 613, MdbERROR, "%s: '%s' is not in the project.")
IMODEL_LINE(ASSOCIATE_INVALID_FILE, 3, 614, MdbERROR, "%s: '%s' cannot be associated to %s.")
IMODEL_LINE(ASSOCIATE_FILES_THAT_CAN_BE, 0, 615, MdbERROR, "files that can be associated are:")
IMODEL_LINE(UNABLE_TO_READ, 1, 616, MdbERROR,
            "Unable to read the file '%s'.\n"
            "You may not have permission to read the file; please check your file permissions.")
IMODEL_LINE(MODULE_NOT_DEFINED, 2, 617, MdbERROR, "'%s' does not define module '%s'.")
IMODEL_LINE(CANNOT_SET_ROOT, 1, 621, MdbERROR, "'%s' cannot be set as root.")
IMODEL_QUERY(CONVERT_FUTURE_PROJECT, 0, 622, MdbERROR, MdbOKBOX,
             "You are trying to open a project created with a newer version of Solvato.")

constexpr ImodelMessageDef kCONVERT_INCOMPATIBLE_PROJECT_QRY{
    .id = "CONVERT_INCOMPATIBLE_PROJECT",
    .serial = 623,
    .severity = MdbERROR,
    .kind = MdbOKBOX,
    .text = "You are trying to open a project created with Solvato IDE v%d.%d.\n"
            "This project is not compatible with the current version of Solvato IDE and cannot be opened.",
    .secondNumber = ImodelMessageNumber(601)};
IMODEL_LIST(kCONVERT_INCOMPATIBLE_PROJECT_QRY, 2)
MdbQuery_result ImodelDisplayCONVERT_INCOMPATIBLE_PROJECT_QRY(void* parent, MdbQuery_result defaultAnswer, int major,
                                                              int minor)
{
    return ImodelEmitQuery(kCONVERT_INCOMPATIBLE_PROJECT_QRY, parent, defaultAnswer, {major, minor});
}

IMODEL_LINE(FOLDER_ALREADY_EXIST, 1, 624, MdbERROR, "The '%s' directory exists already.")
IMODEL_LINE(UNABLE_TO_MOVE_CORE, 1, 625, MdbERROR, "Moving files of core '%s' is not supported.")
IMODEL_LINE(FILE_NOT_FOUND, 1, 626, MdbERROR, "Unable to find the file '%s'.")
IMODEL_LINE(WRONG_EXTENSION, 1, 627, MdbERROR, "'%s' is not a supported extension.")
IMODEL_QUERY(FILE_ALREADY_IMPORTED, 1, 628, MdbERROR, MdbOKBOX, "A file named '%s' is already imported.")
IMODEL_LINE(NO_PROJECT_LOADED, 1, 629, MdbERROR, "You must load a project to execute '%s'.")
IMODEL_LINE(PROJECT_NOT_FOUND, 1, 630, MdbERROR, "Unable to find project file: '%s'.")
IMODEL_QUERY(INVALID_NAME_CHAR, 2, 632, MdbERROR, MdbOKBOX,
             "'%s': You cannot use special characters (* | \\ / \" < > : ~ %% $ # or ?) for %s name")
IMODEL_QUERY(INVALID_EXTENSION, 1, 633, MdbERROR, MdbOKBOX,
             "New file name must have the same extension as the original file name ('%s').")
IMODEL_LINE(SAVE_FAILED, 1, 635, MdbERROR, "Failed to save '%s'. Please check the write permissions.")
IMODEL_LINE(IMPORT_NO_PROJECT_LOADED, 1, 636, MdbERROR, "You must load a project to import '%s'.")
IMODEL_LINE(IMPORT_NOT_SUPPORTED, 1, 637, MdbERROR,
            "Cannot import '%s' ; they are not supported for your current project.")
IMODEL_LINE(IMPORT_CONSTRAINT_NOT_SUPPORTED, 2, 639, MdbERROR,
            "Cannot import the '%s'; your selected family does not support %s constraints. \n")
IMODEL_LINE(FILE_NOT_IN_PROJECT, 1, 640, MdbERROR, "'%s' is not in the project.")
IMODEL_LINE(FILE_MUST_BE_LOCAL_AND_USER, 1, 641, MdbERROR,
            "'%s' must not be part of a component and must be local to the project.")
IMODEL_LINE(USE_FILE_NO_USABLE_FILE, 3, 642, MdbERROR, "File:'%s' cannot be used for '%s' in '%s'")
IMODEL_LINE(USE_FILE_CANNOT_USE_FILE, 4, 643, MdbERROR,
            "File:'%s' cannot be used for '%s' in '%s'.\n"
            "Files that can be used are:\n"
            "%s.")
IMODEL_LINE(
    NO_WIR_FILE, 1, 644, MdbERROR,
    "The %s file does not exist.\n"
    "The Design Hierarchy will not be resolved for this design file until you have the corresponding wir file.\n"
    "Please perform a Save+Check inside ViewDraw to generate the wir file.")
IMODEL_LINE(INTERNAL_ERROR_OPEN_PRJ, 1, 645, MdbERROR,
            "Unable to open %s.\n"
            "Please contact Brennic technical support for more information.")
IMODEL_LINE(INTERNAL_ERROR_CREATE_WORKSPACE, 0, 646, MdbERROR,
            "Unable to create the Kiltora workspace.\n"
            "Please contact Brennic technical support for more information.")
IMODEL_LINE(UNABLE_TO_ACCESS_FILE, 1, 647, MdbERROR,
            "Unable to import file: '%s'.\n"
            "Please check the read permissions.")
IMODEL_LINE(INVALID_SIMULATION_PARAM, 2, 648, MdbERROR, "%s must be %s")
IMODEL_QUERY(INVALID_CORE_NAME, 0, 649, MdbERROR, MdbOKBOX, "You cannot use the same name as the component.")
IMODEL_QUERY(INVALID_CORE_NAME_CVLIB, 0, 650, MdbERROR, MdbOKBOX, "You cannot use the same name as an Brennic cell.")
IMODEL_QUERY(FAILED_CREATE_BACKUP, 1, 651, MdbERROR, MdbOKBOX, "Failed to create archive %s.")
IMODEL_QUERY(FAILED_OVERWRITE_FILE, 1, 652, MdbERROR, MdbOKBOX, "Unable to overwrite existing file %s.")
IMODEL_LINE(CANNOT_FIND_SPIRIT_COMPONENT, 4, 653, MdbERROR,
            "Cannot find Spirit core configuration file for vendor:%s library:%s name:%s version:%s.\n")
IMODEL_QUERY(CLOSE_DOCS, 1, 655, MdbWARNING, MdbOKCANCELBOX,
             "Before changing the project device settings, the following documents(s) must be closed:\n"
             "%s")
IMODEL_QUERY(SAME_PDC_DIFF_MODULE_WARN, 4, 656, MdbWARNING, MdbOKBOX,
             "'%s' is already open for module '%s'. To load the file for '%s', first close '%s', and then re-open it.")
IMODEL_LINE(FIXED_CONSTRAINT_FILE_MOVED, 2, 657, MdbWARNING,
            "'%s' cannot be removed from the list of files that are passed to %s.")
IMODEL_LINE(RENAMED_LOCAL, 2, 658, MdbWARNING,
            "'%s' is already in your project.\n"
            "Project Manager renamed the file '%s'.")
IMODEL_QUERY(CLOSE_TOOL, 0, 659, MdbWARNING, MdbOKBOX, "Please close any tool that was opened by Solvato IDE.")
IMODEL_LINE(INVALIDCHAR, 0, 660, MdbWARNING,
            "Project path contains invalid characters (* | \" < > : or ?), this may cause problems when invoking "
            "external tools.")
IMODEL_LINE(INVALID_MODELSIM_LIB, 1, 661, MdbWARNING,
            "The ModelSim library path '%s' is invalid; please update your Simulation options.")
IMODEL_LINE(INVALID_MODELSIM_TYPE, 3, 662, MdbWARNING,
            "ModelSim library path '%s' is %s and your project is %s. Please update your Simulation options.")

// Code 3 tells the message database that the caller's variable collects the answer.
constexpr ImodelMessageDef kFILE_ALREADY_EXISTS_QRY{.id = "FILE_ALREADY_EXISTS",
                                                    .serial = 663,
                                                    .severity = MdbWARNING,
                                                    .kind = MdbYESNOBOX,
                                                    .text = "The file:'%s' already exists.\n"
                                                            "Are you sure you want to replace it?",
                                                    .queryCode = 3};
IMODEL_LIST(kFILE_ALREADY_EXISTS_QRY, 1)
MdbQuery_result ImodelDisplayFILE_ALREADY_EXISTS_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                     MdbQuery_result* answer, const char* fileName)
{
    return ImodelEmitQuery(kFILE_ALREADY_EXISTS_QRY, parent, defaultAnswer, {fileName}, answer);
}

IMODEL_QUERY(FILE_ALREADY_EXISTS_SINGLE, 1, 664, MdbWARNING, MdbYESNOBOX,
             "The file:'%s' already exists.\n"
             "Are you sure you want to replace it?")

// --- serials 666 to 668 -------------------------------------------------------

IMODEL_LINE(MEMBER_NOT_A_FILE, 1, 666, MdbERROR,
            "The project member '%s' is not a regular file; it was not read and is left out of the project.")
IMODEL_LINE(PROJECT_FILE_EMPTY, 1, 667, MdbERROR,
            "The project file '%s' holds no project: it is empty, or has no key and no section. It was not opened "
            "and is left as it is.")
IMODEL_LINE(SAVE_FAILED_REASON, 1, 668, MdbERROR, "%s.")

// --- serials 690 to 712: project files, project names and copies ---------------

IMODEL_LINE(PROJECT_FILE_DAMAGED, 2, 690, MdbERROR, "The project file '%s' is damaged: %s.")
IMODEL_LINE(INVALID_PROJECT_NAME, 1, 691, MdbERROR,
            "'%s' cannot be the name of a project: it must be one folder name, without '/', '\\', '..', a double "
            "quote or a control character.")
IMODEL_LINE(INVALID_PROJECT_LOCATION, 1, 692, MdbERROR,
            "'%s' cannot be the location of a project: a folder path must not be empty or hold a double quote or a "
            "line break.")
IMODEL_LINE(PROJECT_FILE_NOT_PRJ, 1, 693, MdbERROR,
            "'%s' cannot be opened as a project: the name of a project file ends in .prj.")
IMODEL_LINE(SAVE_AS_NO_COPY, 1, 710, MdbERROR,
            "Unable to copy the project to '%s': there is no host application to copy its folder.")
IMODEL_LINE(SAVE_AS_INSIDE_PROJECT, 2, 711, MdbERROR,
            "The project cannot be saved as '%s': that folder lies inside the project folder '%s'.")

IMODEL_LINE_DEF(SAVE_AS_LINKS_NOT_REPLACED, 1, 712, MdbWARNING,
                "%d linked files of the project could not be replaced by local copies: they stay links.")
int ImodelDisplaySAVE_AS_LINKS_NOT_REPLACED_MSG(int links)
{
    return ImodelEmitOutput(kSAVE_AS_LINKS_NOT_REPLACED_MSG, {links});
}

// --- serials 800 and 801: the converters', emitted by src/iconvert -------------

IMODEL_LINE_DEF(FAILED_TO_MOVE, 2, 800, MdbERROR,
                "Unable to move the file '%s' to '%s'. You may need to re-import the file.")
IMODEL_LINE_DEF(MOVED, 3, 801, MdbNOTICE, "Moved %s: \"%s\" to \"%s\".")

// --- serials 1000 to 1007 -----------------------------------------------------

IMODEL_LINE(TOOL_SUCCEEDED, 1, 1000, MdbINFO, "%s successful.")
IMODEL_LINE(TOOL_FILE_NOT_FOUND, 1, 1001, MdbERROR, "Unable to find the file '%s', cannot add it to Solvato project.")
IMODEL_LINE(IDE_PLD_FILE_WRITTEN, 0, 1002, MdbERROR, "Failed to set Pallador's constraint file list.")
IMODEL_LINE(NO_STIMULUS_ASSOCIATED, 1, 1003, MdbERROR,
            "There is no stimulus file associated with '%s'.\n"
            "Associate stimulus before launching simulation?")
IMODEL_LINE(TOOL_FAILED, 1, 1004, MdbERROR, "%s failed.")
IMODEL_LINE(NO_WRITE_ACCESS, 1, 1005, MdbERROR,
            "You do not have write access to %s.\n"
            "ViewDraw A.E. cannot open.")
IMODEL_QUERY(INCOMPATIBLE_DEVICE_WITH_CORE, 1, 1006, MdbERROR, MdbOKBOX,
             "Core '%s' is not compatible with the device you have selected.\n"
             "You must remove this core from your project if you really want to change the device")
IMODEL_LINE(
    CONSIDER_MODULE_AS_RTL, 1, 1007, MdbWARNING,
    "Solvato assumes that '%s' was using synthesized flow, if it was not you may need to create a new Pallador view.",
    ImodelMessageNumber(1001))

// --- serials 1020 to 1023: set-up files, settings and options ----------------

IMODEL_LINE(SETUP_FILE_NOT_WRITTEN, 1, 1020, MdbWARNING, "Unable to write '%s'. Please check the write permissions.")
IMODEL_LINE(LIBRARY_NOT_IN_PROJECT, 1, 1021, MdbERROR, "The library '%s' is not in the project.")
IMODEL_LINE(OPTIONS_NOT_READ, 1, 1022, MdbWARNING, "%s")
IMODEL_LINE(COMMAND_NEEDS_OPTION, 2, 1023, MdbERROR, "You must set the option %s to 1 to execute '%s'.")

// --- serials 1040 and 1041: the link commands' refusals ----------------------

IMODEL_LINE(LINK_TARGET_EXISTS, 2, 1040, MdbERROR, "Unable to copy '%s' to '%s': a file of that name already exists.")
IMODEL_LINE(LINK_SOURCE_IN_PROJECT, 2, 1041, MdbERROR,
            "'%s' is already a file of the project: the link '%s' was not changed.")
// --- serials 1100 and 1101: the organize commands ----------------------------

IMODEL_LINE(ORGANIZE_NO_MODULE, 1, 1100, MdbERROR,
            "%s: there is no module to organize; name one with -module, or set the root module.")
IMODEL_LINE(ASSOCIATE_FILES_LIST, 1, 1101, MdbERROR, "%s")

// --- serial 1400: core descriptions ------------------------------------------

IMODEL_LINE(SPIRIT_FILE_OUTSIDE_CORE, 2, 1400, MdbWARNING,
            "The file '%s' named by the core '%s' lies outside the core's folder and the project.\n"
            "The file is not added.")

// --- serials 1401 to 1413: cores, designs, editors and outside tools --------

IMODEL_LINE(PACKAGER_SCRIPT_NOT_WRITTEN, 1, 1401, MdbERROR,
            "The core packager's script cannot be written (%s); the packager was not started.")
IMODEL_LINE(INVALID_DESIGN_NAME, 1, 1402, MdbERROR,
            "'%s' cannot be the name of a design: it must be one folder name, without '/', '\\', ':', '..', a "
            "double quote or a control character.")
IMODEL_LINE(CORE_PARAMETERS_NOT_APPLIED, 1, 1403, MdbERROR,
            "The parameters given for '%s' were not applied: the new core is not in the core workspace.")
IMODEL_LINE(CORE_PARAMETERS_REFUSED, 1, 1404, MdbERROR,
            "The parameters given for '%s' were refused (each must be name:value); the new core was removed.")
IMODEL_LINE(TOOL_VERSION_UNKNOWN, 2, 1405, MdbERROR, "Unable to get the version of '%s': %s.")
IMODEL_LINE(TOOL_STOPPED, 2, 1406, MdbERROR, "'%s' did not end within %s ms; it was stopped.")
IMODEL_LINE(TOOL_EXIT_STATUS, 2, 1407, MdbERROR, "'%s' ended with the exit status %s.")
IMODEL_LINE(FILE_REQUIRED, 0, 1408, MdbERROR, "File is required")
IMODEL_LINE(INVALID_CORE_IDENTITY, 1, 1409, MdbERROR,
            "'%s' is not a core identity: it must be vendor:library:name:version.")
IMODEL_LINE(DESIGN_NOT_CREATED, 1, 1410, MdbERROR, "Unable to create the design '%s'.")
IMODEL_LINE(UNKNOWN_DESIGN_KIND, 1, 1411, MdbERROR,
            "'%s' is not a kind of design that can be made new: the kind is Veyrun.")
IMODEL_LINE(DESIGN_NOT_OPENED, 1, 1412, MdbERROR, "Unable to open the block design '%s'.")
IMODEL_LINE(EDITOR_NOT_OPENED, 2, 1413, MdbERROR, "Unable to open '%s' in %s.")
// --- serials 1414 to 1420: delete_files, the link and the library commands ---

IMODEL_LINE(LINKED_FILE_KEPT_ON_DISK, 1, 1414, MdbINFO,
            "'%s' lies outside the project folder: it left the project and stays on disk.")
IMODEL_LINE(UNABLE_TO_DELETE_FILE, 1, 1415, MdbWARNING,
            "Unable to delete the file '%s' from disk.\nPlease check the write permissions.")
IMODEL_LINE(INVALID_LIBRARY_NAME, 1, 1416, MdbERROR,
            "'%s' cannot be the name of a library: it would be read back as something else (a name that starts "
            "with LIST, ENDLIST, KEY or VALUE, holds \"::\" or has a blank at either end).")
IMODEL_LINE(LIBRARY_SETTINGS_NOT_KEPT, 1, 1417, MdbERROR,
            "The library '%s' takes no path or compile option: the project file keeps them only for the libraries "
            "added to the project.")
IMODEL_LINE(FILE_NAME_CASE_TWIN, 2, 1418, MdbERROR,
            "'%s' was not added: its name differs from the project's file '%s' only in the case of its letters, "
            "which the project does not tell apart.")
IMODEL_LINE(FILE_IN_PROJECT_AS, 2, 1419, MdbERROR,
            "'%s' is the project's file '%s' under another name: the project holds each file once.")
IMODEL_LINE(LINK_PLACE_IN_PROJECT, 2, 1420, MdbERROR,
            "'%s' lies inside the project folder: '%s' is exported as a link only to a place outside it.")
// --- serial 1421: a core's file that the project holds already ----------------

IMODEL_LINE(CORE_FILE_HELD_BY_PROJECT, 2, 1421, MdbWARNING,
            "'%s' is already a file of the project: the core '%s' neither takes it over nor overwrites it.")
// --- serials 1422 to 1425: a core description the core workspace refuses ----

IMODEL_LINE(CORE_WITHOUT_NAME, 1, 1422, MdbERROR,
            "'%s' was not imported: it names no core (its <name> element is missing or empty).")
IMODEL_LINE(CORE_NOT_STORABLE, 1, 1423, MdbERROR,
            "'%s' was not imported: the name of its core, its library or a device or instance it names holds a line "
            "break or another control character, which the project's core workspace cannot keep.")
IMODEL_LINE(CORE_DEFINED_ELSEWHERE, 3, 1424, MdbERROR,
            "'%s' was not imported: the core '%s' of the project's core workspace is the one '%s' describes.")
IMODEL_LINE(CORE_NOT_TAKEN, 2, 1425, MdbERROR,
            "'%s' was not imported: the project's core workspace did not take it; check that its file '%s' can be "
            "written.")
// --- serials 1426 and 1427: the conversion of a project of an older release ----

IMODEL_LINE(PROJECT_NOT_CONVERTIBLE, 1, 1426, MdbERROR,
            "'%s' was written by an older release and cannot be converted: the project file or its folder cannot be "
            "written. Nothing was changed.")
IMODEL_LINE(BACKUP_IN_PROJECT, 1, 1427, MdbERROR,
            "The backup archive '%s' would replace a file of the project: choose a new name or a place outside the "
            "project folder. Nothing was changed.")
// --- serials 1451 and 1452: member files renamed on disk in letter case -----

IMODEL_LINE(FILE_RENAMED_IN_CASE, 2, 1451, MdbINFO,
            "'%s' was renamed on disk to '%s': the project's file takes the new name and keeps its units.")
IMODEL_LINE(MEMBER_CASE_TWIN_DROPPED, 2, 1452, MdbWARNING,
            "The project lists '%s' and also '%s', a name that differs only in the case of its letters: the first is "
            "not on disk and was dropped, the second is the project's file.")
// --- serial 1461: the names of new designs -------------------------------------

IMODEL_LINE(DESIGN_NAME_WITH_PROJECT_TOKEN, 1, 1461, MdbERROR,
            "'%s' cannot be the name of a design: '<project>' in it would be read as the project's folder, and the "
            "project could not hold the design's file.")
// --- serial 1470: the simulator's library path -------------------------------

IMODEL_LINE(CUSTOM_SIM_PATH_EMPTY, 0, 1470, MdbERROR,
            "A ModelSim library path of your own needs the path (sim_path): without one the simulator would find no "
            "library of the device family. Nothing was changed.")
// --- serial 1520: copies of package files -----------------------------------

IMODEL_LINE(PACKAGE_COPY_OVER_MEMBER, 2, 1520, MdbWARNING,
            "The package file '%s' was not copied to '%s': that file is one of the project's own files and is kept "
            "as it is.")
// --- serials 1540 and 1541: a core workspace that cannot be written --------

IMODEL_LINE(CORE_KEPT_IN_WORKSPACE, 2, 1540, MdbERROR,
            "'%s' was not removed: the project's core workspace could not let go of its core; check that its file "
            "'%s' can be written.")
IMODEL_LINE(WORKSPACE_NOT_WRITTEN, 2, 1541, MdbWARNING,
            "The project's core workspace '%s' could not be written: it keeps its cores as they were for '%s'.")
// --- serial 1550: a link pointed at a file of another text -------------------

IMODEL_LINE(CHOSEN_DEFINITION_GONE, 2, 1550, MdbWARNING,
            "The link now points at '%s', which does not define module '%s': the choice of this file as the "
            "module's definition is not kept.")
// --- serial 1620: a unit's definition handed on among its duplicates -------

IMODEL_LINE(DEFINITION_GIVEN_TO_FIRST, 2, 1620, MdbINFO,
            "The %s module is now defined by '%s', the first of the files that define it, as when the project is "
            "opened. Select the file you want to use from the Design Hierarchy.")

// --- serials 1660 to 1663: files cut short and members missing on disk -------

IMODEL_LINE(PROJECT_FILE_CUT_SHORT, 2, 1660, MdbERROR,
            "The project file '%s' is cut short: %s. It was not opened and is left as it is.")
IMODEL_LINE(LIBRARY_MOVE_FILE_MISSING, 3, 1661, MdbERROR,
            "'%s' was not moved to the library '%s': the file is not on disk, and a library's units are read from "
            "their files. It stays in the project as it was, in the library '%s'.")
IMODEL_LINE(LIBRARY_FILE_NOT_READ, 2, 1662, MdbERROR,
            "'%s' is not on disk: its units could not be read again in the library '%s'. The file stays in the "
            "project, in that library.")
IMODEL_LINE(LINK_FILE_MISSING, 2, 1663, MdbERROR,
            "'%s' is not on disk: there is nothing to copy to '%s'. The project's file stays as it was.")

// --- progress meter -----------------------------------------------------------

// Addressed by catalogue and number; the id travels only when it starts.
constexpr ImodelMessageDef kCOMMAND_METER{"COMMAND_METER", 665, MdbMETER, MdbMETERKIND, "%s..."};
IMODEL_LIST(kCOMMAND_METER, 1)

int ImodelInitCOMMAND_METER(void* parent, const char* label)
{
    const int argSet = MdbArgSetInit(1);
    MdbArgSetString(argSet, 0, label);
    return MdbMeterInit(parent, argSet, QuorlaneGetModuleHandle(), ImodelMessageCatalogue, kCOMMAND_METER.id,
                        kCOMMAND_METER.severity, kCOMMAND_METER.kind, "", kCOMMAND_METER.text, kCOMMAND_METER.Number());
}

void ImodelUpdateCOMMAND_METER(unsigned int value)
{
    MdbMeterUpdate(QuorlaneGetModuleHandle(), ImodelMessageCatalogue, kCOMMAND_METER.Number(), value);
}

void ImodelKillCOMMAND_METER()
{
    MdbMeterKill(QuorlaneGetModuleHandle(), ImodelMessageCatalogue, kCOMMAND_METER.Number());
}

// --- do-not-show-again --------------------------------------------------------

void ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY()
{
    const std::string key = kSWITCH_BLOCKMODE_WARNING_QRY.dontShowAgainKey;
    const std::string label = "Warn me when Pallador Block mode is changed.";
    MdbDontShowAgainManager::GetInstance().RegisterQuery(key, 1, label, 0, 0);
}

namespace {

// Registered while the library loads, before any question can be asked.
struct BlockModeWarningRegistration {
    BlockModeWarningRegistration() { ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY(); }
};
const BlockModeWarningRegistration g_blockModeWarningRegistration;

}  // namespace
