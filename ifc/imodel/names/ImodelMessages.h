// The library's messages to the user: one function per message.
//
// An output line `ImodelDisplay<ID>_MSG` takes the values of its placeholders
// in order and returns what the message database returns. A question
// `ImodelDisplay<ID>_QRY` takes the window that owns the box (null for none)
// and the answer to assume when nobody can answer, then its values; it returns
// the answer as given, which may be a code that is not among the box's
// buttons, so callers compare it only with the codes they expect.
#pragma once

#include <foundation/Mdb.h>

#include <vector>

struct ImodelMessageDef;

// --- serials 0 to 38 ----------------------------------------------------------

int ImodelDisplayADB_UPDATED_MSG(const char* name);
int ImodelDisplayADB_PARTIALLY_UPDATED_MSG(const char* name);
int ImodelDisplayDEBUG_MSG(const char* text);
int ImodelDisplayVALUE_SET_MSG(const char* setting, const char* value);
int ImodelDisplayVALUE_IGNORED_MSG(const char* setting);
int ImodelDisplayCALLING_TOOL_MSG(const char* tool);
// The device checks use the line without a parent window and the box with one.
int ImodelDisplayWRONG_DEVICE_VALUE_MSG(const char* setting, const char* value, const char* sameSetting,
                                        const char* choices);
int ImodelDisplayMISSING_DEVICE_VALUE_MSG(const char* setting);
MdbQuery_result ImodelDisplayWRONG_DEVICE_VALUE_QRY(void* parent, MdbQuery_result defaultAnswer, const char* setting,
                                                    const char* value, const char* sameSetting, const char* choices);
MdbQuery_result ImodelDisplayMISSING_DEVICE_VALUE_QRY(void* parent, MdbQuery_result defaultAnswer, const char* setting);
int ImodelDisplayDUPLICATE_MODULE_MSG(const char* module);
int ImodelDisplayOLD_FILE_NOT_FOUND_MSG(const char* fileName);
int ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(const char* folder);
MdbQuery_result ImodelDisplayPROJECT_SETTING_UNSPECIFIED_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                             const char* setting);
MdbQuery_result ImodelDisplayFAM_CHANGE_NOT_ALLOWED_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                        const char* family);
MdbQuery_result ImodelDisplayFAM_CHANGE_CAN_ONLY_BE_QRY(void* parent, MdbQuery_result defaultAnswer, const char* family,
                                                        const char* allowedFamilies);
int ImodelDisplayINVALID_CORE_MSG(const char* fileKind, const char* fileName);
int ImodelDisplayINVALID_CORE_DEVICE_MSG(const char* core, const char* device);
int ImodelDisplayUNSUPPORTED_CORE_DEVICE_MSG();
int ImodelDisplayUNABLE_TO_COPY_MSG(const char* source, const char* destination);
MdbQuery_result ImodelDisplayCORE_ALREADY_PRESENT_QRY(void* parent, MdbQuery_result defaultAnswer, const char* core);
int ImodelDisplayNO_TOOL_PROFILE_MSG(const char* tool, const char* profile);
int ImodelDisplayNO_PROFILE_MSG(const char* tool, const char* profile);
int ImodelDisplayNO_TOOL_MSG(const char* tool);
int ImodelDisplayLINK_CHANGED_MSG(const char* fileName);
// Silenced for good once the user says so (see the registration below).
MdbQuery_result ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(void* parent, MdbQuery_result defaultAnswer);
int ImodelDisplayUSING_MODIFIED_FILE_MSG(const char* fileName);
int ImodelDisplaySPIRIT_FILE_NOT_FOUND_MSG(const char* fileName, const char* coreFile);
int ImodelDisplaySPIRIT_FILE_OUTSIDE_CORE_MSG(const char* fileName, const char* coreFile);
MdbQuery_result ImodelDisplayUPGRADED_DEVICE_FOR_CORE_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                          const char* currentDevice, const char* newDevice,
                                                          const char* core);
int ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(const char* fileName);
int ImodelDisplayUPDATED_CORE_FROM_DISK_MSG(const char* core);
int ImodelDisplayRESTORING_MODULE_STATE_MSG(const char* fileName, const char* module);
int ImodelDisplayRESTORING_MODULE_INFO_MSG(const char* fileName, const char* module);
int ImodelDisplayLINK_FILE_WAS_MODIFIED_MSG(const char* fileName);

// --- serials 600 to 664 -------------------------------------------------------

int ImodelDisplayREADING_FILE_MSG(const char* fileName);
int ImodelDisplayPROJECT_CREATED_MSG(const char* project);
int ImodelDisplayPROJECT_CLOSED_MSG(const char* project);
int ImodelDisplayPROJECT_SAVED_MSG(const char* project);
int ImodelDisplayPROJECT_OPENED_MSG(const char* project);
int ImodelDisplayCREATED_BACKUP_MSG(const char* archive);
MdbQuery_result ImodelDisplayCONVERT_NEED_CONVERT_QRY(void* parent, MdbQuery_result defaultAnswer, const char* project,
                                                      const char* version);
MdbQuery_result ImodelDisplayIMPORT_BLOCK_IN_BLOCK_MODE_QRY(void* parent, MdbQuery_result defaultAnswer);
MdbQuery_result ImodelDisplayFILE_ALREADY_OPENED_QRY(void* parent, MdbQuery_result defaultAnswer, const char* fileName,
                                                     const char* currentEditor, const char* requestedEditor);
MdbQuery_result ImodelDisplayCONSTRAINT_EDITOR_NO_SUPPORT_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                              const char* editor, const char* fileKind);
int ImodelDisplaySCRIPT_TCL_TEST_LIST_FAILED_MSG(const char* command, const char* expected, const char* actual);
int ImodelDisplayNO_CONSTRAINTS_MANAGER_MSG(const char* tool);
int ImodelDisplayNO_CUSTOM_SOURCES_MSG(const char* tool);
int ImodelDisplayASSOCIATE_FILES_NOT_FOUND_MSG(const char* command, const char* fileName);
int ImodelDisplayASSOCIATE_INVALID_FILE_MSG(const char* command, const char* fileName, const char* target);
int ImodelDisplayASSOCIATE_FILES_THAT_CAN_BE_MSG();
int ImodelDisplayUNABLE_TO_READ_MSG(const char* fileName);
int ImodelDisplayMODULE_NOT_DEFINED_MSG(const char* fileName, const char* module);
int ImodelDisplayCANNOT_SET_ROOT_MSG(const char* module);
MdbQuery_result ImodelDisplayCONVERT_FUTURE_PROJECT_QRY(void* parent, MdbQuery_result defaultAnswer);
// The version that wrote the project, printed "v<major>.<minor>".
MdbQuery_result ImodelDisplayCONVERT_INCOMPATIBLE_PROJECT_QRY(void* parent, MdbQuery_result defaultAnswer, int major,
                                                              int minor);
int ImodelDisplayFOLDER_ALREADY_EXIST_MSG(const char* folder);
int ImodelDisplayUNABLE_TO_MOVE_CORE_MSG(const char* core);
int ImodelDisplayFILE_NOT_FOUND_MSG(const char* fileName);
int ImodelDisplayWRONG_EXTENSION_MSG(const char* fileName);
MdbQuery_result ImodelDisplayFILE_ALREADY_IMPORTED_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                       const char* fileName);
int ImodelDisplayNO_PROJECT_LOADED_MSG(const char* command);
int ImodelDisplayPROJECT_NOT_FOUND_MSG(const char* fileName);
MdbQuery_result ImodelDisplayINVALID_NAME_CHAR_QRY(void* parent, MdbQuery_result defaultAnswer, const char* name,
                                                   const char* what);
MdbQuery_result ImodelDisplayINVALID_EXTENSION_QRY(void* parent, MdbQuery_result defaultAnswer, const char* extension);
int ImodelDisplaySAVE_FAILED_MSG(const char* fileName);
int ImodelDisplayIMPORT_NO_PROJECT_LOADED_MSG(const char* fileName);
int ImodelDisplayIMPORT_NOT_SUPPORTED_MSG(const char* fileKind);
int ImodelDisplayIMPORT_CONSTRAINT_NOT_SUPPORTED_MSG(const char* fileName, const char* constraintKind);
int ImodelDisplayFILE_NOT_IN_PROJECT_MSG(const char* fileName);
int ImodelDisplayFILE_MUST_BE_LOCAL_AND_USER_MSG(const char* fileName);
int ImodelDisplayUSE_FILE_NO_USABLE_FILE_MSG(const char* fileName, const char* purpose, const char* module);
int ImodelDisplayUSE_FILE_CANNOT_USE_FILE_MSG(const char* fileName, const char* purpose, const char* module,
                                              const char* usableFiles);
int ImodelDisplayNO_WIR_FILE_MSG(const char* fileName);
int ImodelDisplayINTERNAL_ERROR_OPEN_PRJ_MSG(const char* project);
int ImodelDisplayINTERNAL_ERROR_CREATE_WORKSPACE_MSG();
int ImodelDisplayUNABLE_TO_ACCESS_FILE_MSG(const char* fileName);
int ImodelDisplayINVALID_SIMULATION_PARAM_MSG(const char* parameter, const char* allowed);
MdbQuery_result ImodelDisplayINVALID_CORE_NAME_QRY(void* parent, MdbQuery_result defaultAnswer);
MdbQuery_result ImodelDisplayINVALID_CORE_NAME_CVLIB_QRY(void* parent, MdbQuery_result defaultAnswer);
MdbQuery_result ImodelDisplayFAILED_CREATE_BACKUP_QRY(void* parent, MdbQuery_result defaultAnswer, const char* archive);
MdbQuery_result ImodelDisplayFAILED_OVERWRITE_FILE_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                       const char* fileName);
int ImodelDisplayCANNOT_FIND_SPIRIT_COMPONENT_MSG(const char* vendor, const char* library, const char* name,
                                                  const char* version);
MdbQuery_result ImodelDisplayCLOSE_DOCS_QRY(void* parent, MdbQuery_result defaultAnswer, const char* documents);
MdbQuery_result ImodelDisplaySAME_PDC_DIFF_MODULE_WARN_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                           const char* fileName, const char* openModule,
                                                           const char* requestedModule, const char* sameFileName);
int ImodelDisplayFIXED_CONSTRAINT_FILE_MOVED_MSG(const char* fileName, const char* tool);
int ImodelDisplayRENAMED_LOCAL_MSG(const char* fileName, const char* newName);
MdbQuery_result ImodelDisplayCLOSE_TOOL_QRY(void* parent, MdbQuery_result defaultAnswer);
int ImodelDisplayINVALIDCHAR_MSG();
int ImodelDisplayINVALID_MODELSIM_LIB_MSG(const char* folder);
int ImodelDisplayINVALID_MODELSIM_TYPE_MSG(const char* folder, const char* libraryLanguage,
                                           const char* projectLanguage);
// A question of a series: `answer` (the caller's variable, may be null) also
// receives the answer so that the series can reuse it.
MdbQuery_result ImodelDisplayFILE_ALREADY_EXISTS_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                     MdbQuery_result* answer, const char* fileName);
MdbQuery_result ImodelDisplayFILE_ALREADY_EXISTS_SINGLE_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                            const char* fileName);

// --- serials 666 to 668 -------------------------------------------------------

int ImodelDisplayMEMBER_NOT_A_FILE_MSG(const char* fileName);
int ImodelDisplayPROJECT_FILE_EMPTY_MSG(const char* fileName);
// The system's reason a save failed, with the file's name; follows SAVE_FAILED.
int ImodelDisplaySAVE_FAILED_REASON_MSG(const char* reason);

// --- serials 690 to 712: project files, project names and copies ---------------

// A project file that cannot be read as a whole; `what` says where.
int ImodelDisplayPROJECT_FILE_DAMAGED_MSG(const char* fileName, const char* what);
// A project name that cannot be one folder name.
int ImodelDisplayINVALID_PROJECT_NAME_MSG(const char* name);
// A project folder that the project file cannot hold.
int ImodelDisplayINVALID_PROJECT_LOCATION_MSG(const char* folder);
// open_project of a file whose name does not end in .prj: the project's
// file is found again by the project's name and that extension.
int ImodelDisplayPROJECT_FILE_NOT_PRJ_MSG(const char* fileName);
int ImodelDisplaySAVE_AS_NO_COPY_MSG(const char* folder);
int ImodelDisplaySAVE_AS_INSIDE_PROJECT_MSG(const char* folder, const char* project);
// The number of linked files, printed as a number.
int ImodelDisplaySAVE_AS_LINKS_NOT_REPLACED_MSG(int links);

// --- serials 1000 to 1007 -----------------------------------------------------

int ImodelDisplayTOOL_SUCCEEDED_MSG(const char* tool);
int ImodelDisplayTOOL_FILE_NOT_FOUND_MSG(const char* fileName);
int ImodelDisplayIDE_PLD_FILE_WRITTEN_MSG();
int ImodelDisplayNO_STIMULUS_ASSOCIATED_MSG(const char* fileName);
int ImodelDisplayTOOL_FAILED_MSG(const char* tool);
int ImodelDisplayNO_WRITE_ACCESS_MSG(const char* fileName);
MdbQuery_result ImodelDisplayINCOMPATIBLE_DEVICE_WITH_CORE_QRY(void* parent, MdbQuery_result defaultAnswer,
                                                               const char* core);
int ImodelDisplayCONSIDER_MODULE_AS_RTL_MSG(const char* module);

// --- serials 1020 to 1023: set-up files, settings and options ----------------

// A set-up file of an outside tool that could not be written or brought up
// to date.
int ImodelDisplaySETUP_FILE_NOT_WRITTEN_MSG(const char* fileName);
int ImodelDisplayLIBRARY_NOT_IN_PROJECT_MSG(const char* library);
// An options file that could not be read; `reason` says which and why.
int ImodelDisplayOPTIONS_NOT_READ_MSG(const char* reason);
// A command that runs only while an option is set.
int ImodelDisplayCOMMAND_NEEDS_OPTION_MSG(const char* option, const char* command);

// --- serials 1100 and 1101: the organize commands ----------------------------

int ImodelDisplayORGANIZE_NO_MODULE_MSG(const char* command);
// The files that can be associated, one stored name a line, right after
// "ASSOCIATE_FILES_THAT_CAN_BE" (errors are kept together until the
// command ends: a printed list would come before its heading).
int ImodelDisplayASSOCIATE_FILES_LIST_MSG(const char* fileNames);

// --- serials 1401 to 1413: cores, designs, editors and outside tools --------

// The packager's script could not be made; `reason` says why.
int ImodelDisplayPACKAGER_SCRIPT_NOT_WRITTEN_MSG(const char* reason);
// A design name that cannot be one folder name.
int ImodelDisplayINVALID_DESIGN_NAME_MSG(const char* name);
// Parameters given for a new core that was not found, or that it refused.
int ImodelDisplayCORE_PARAMETERS_NOT_APPLIED_MSG(const char* core);
int ImodelDisplayCORE_PARAMETERS_REFUSED_MSG(const char* core);
// A tool whose version cannot be asked, and why.
int ImodelDisplayTOOL_VERSION_UNKNOWN_MSG(const char* executable, const char* reason);
// A program stopped after its time limit (in milliseconds, as text).
int ImodelDisplayTOOL_STOPPED_MSG(const char* program, const char* limit);
// A program that ended with a status other than 0 (as text).
int ImodelDisplayTOOL_EXIT_STATUS_MSG(const char* program, const char* status);
int ImodelDisplayFILE_REQUIRED_MSG();
// A core identity that is not four fields separated by ":".
int ImodelDisplayINVALID_CORE_IDENTITY_MSG(const char* identity);
int ImodelDisplayDESIGN_NOT_CREATED_MSG(const char* design);
int ImodelDisplayUNKNOWN_DESIGN_KIND_MSG(const char* kind);
int ImodelDisplayDESIGN_NOT_OPENED_MSG(const char* design);
// A file that the named editor could not open.
int ImodelDisplayEDITOR_NOT_OPENED_MSG(const char* fileName, const char* editor);
// --- serials 1414 to 1420: delete_files, the link and the library commands ---

// delete_files -from_disk leaves a linked file where it is.
int ImodelDisplayLINKED_FILE_KEPT_ON_DISK_MSG(const char* fileName);
int ImodelDisplayUNABLE_TO_DELETE_FILE_MSG(const char* fileName);
// A library name that a project file could not hold.
int ImodelDisplayINVALID_LIBRARY_NAME_MSG(const char* name);
// set_user_lib_options on "work", whose settings the project file does not keep.
int ImodelDisplayLIBRARY_SETTINGS_NOT_KEPT_MSG(const char* name);
// An imported file whose name differs from a member's only in letter case.
int ImodelDisplayFILE_NAME_CASE_TWIN_MSG(const char* fileName, const char* memberName);
// A file named by a link (or a link in its path) that is a member already.
int ImodelDisplayFILE_IN_PROJECT_AS_MSG(const char* fileName, const char* memberName);
// export_as_link to a place inside the project folder.
int ImodelDisplayLINK_PLACE_IN_PROJECT_MSG(const char* place, const char* fileName);

// --- serial 1421: a core's file that the project holds already ----------------

// A file a core names that the project already holds as somebody else's.
int ImodelDisplayCORE_FILE_HELD_BY_PROJECT_MSG(const char* fileName, const char* coreFile);

// --- serials 1422 to 1425: a core description the core workspace refuses ----

// A description that names no core (no <name>, or an empty one).
int ImodelDisplayCORE_WITHOUT_NAME_MSG(const char* fileName);
// A description with a value the workspace file cannot hold.
int ImodelDisplayCORE_NOT_STORABLE_MSG(const char* fileName);
// A core that another description brought, not read again.
int ImodelDisplayCORE_DEFINED_ELSEWHERE_MSG(const char* fileName, const char* core, const char* otherFile);
// Any other refusal: the workspace file could not be written.
int ImodelDisplayCORE_NOT_TAKEN_MSG(const char* fileName, const char* workspaceFile);
// --- serials 1426 and 1427: the conversion of a project of an older release ----

// The project file or its folder cannot be written: nothing is converted.
int ImodelDisplayPROJECT_NOT_CONVERTIBLE_MSG(const char* projectFile);
// The backup archive named would replace a file of the project.
int ImodelDisplayBACKUP_IN_PROJECT_MSG(const char* archive);
// --- serial 1461: the names of new designs -------------------------------------

// The name of a new design holds the project token.
int ImodelDisplayDESIGN_NAME_WITH_PROJECT_TOKEN_MSG(const char* name);
// set_brennic_lib_options asked for a library path of the user's own without one.
int ImodelDisplayCUSTOM_SIM_PATH_EMPTY_MSG();
// A parsed package file is not copied over a member of the project that
// the package folder holds under the same title.
int ImodelDisplayPACKAGE_COPY_OVER_MEMBER_MSG(const char* package, const char* member);
// --- serials 1540 and 1541: a core workspace that cannot be written --------

// delete_files keeps a core whose components the workspace could not drop.
int ImodelDisplayCORE_KEPT_IN_WORKSPACE_MSG(const char* fileName, const char* workspaceFile);
// The workspace was not told of a removed, renamed or chosen file.
int ImodelDisplayWORKSPACE_NOT_WRITTEN_MSG(const char* workspaceFile, const char* fileName);
// --- serial 1550: a link pointed at a file of another text -------------------

// change_link_source gave a unit's chosen definition a text that does not
// define the unit.
int ImodelDisplayCHOSEN_DEFINITION_GONE_MSG(const char* fileName, const char* module);

// --- serial 1620: a unit's definition handed on among its duplicates -------

// The unit's chosen definition went while several files still define it:
// the first of them defines it now.
int ImodelDisplayDEFINITION_GIVEN_TO_FIRST_MSG(const char* module, const char* fileName);

// --- serials 1660 to 1663: files cut short and members missing on disk -------

// A project file whose last line is not whole; `where` says where it ends.
int ImodelDisplayPROJECT_FILE_CUT_SHORT_MSG(const char* fileName, const char* where);
// add_file_to_library left a member whose file is missing where it was.
int ImodelDisplayLIBRARY_MOVE_FILE_MISSING_MSG(const char* fileName, const char* library, const char* kept);
// A library's member whose file is missing could not be parsed again.
int ImodelDisplayLIBRARY_FILE_NOT_READ_MSG(const char* fileName, const char* library);
// A link command had no file to copy.
int ImodelDisplayLINK_FILE_MISSING_MSG(const char* fileName, const char* target);

// --- serials 1451 and 1452: member files renamed on disk in letter case -----

// The file watcher had a member follow its file's new name.
int ImodelDisplayFILE_RENAMED_IN_CASE_MSG(const char* oldName, const char* newName);
// A project file that lists a member twice, in two cases of its letters:
// the name whose file is missing is dropped.
int ImodelDisplayMEMBER_CASE_TWIN_DROPPED_MSG(const char* dropped, const char* kept);

// --- messages emitted through functions of other components -------------------

// Defined in the table with every other message; the flow
// (iprocess/IprocessMessages.h) and the converters word them through
// functions of their own.
extern const ImodelMessageDef kCOMPONENT_NOT_READY_QRY;
extern const ImodelMessageDef kCOMPONENT_NOT_UPTODATE_QRY;
extern const ImodelMessageDef kLAYOUT_IGNORED_OOD_FILE_MSG;
extern const ImodelMessageDef kFAILED_TO_MOVE_MSG;
extern const ImodelMessageDef kMOVED_MSG;

// --- serials 1040 and 1041: the link commands' refusals ----------------------

int ImodelDisplayLINK_TARGET_EXISTS_MSG(const char* fileName, const char* target);
int ImodelDisplayLINK_SOURCE_IN_PROJECT_MSG(const char* source, const char* link);

// --- progress meter -----------------------------------------------------------

// Shows "<label>..." until killed; returns what MdbMeterInit returns.
int ImodelInitCOMMAND_METER(void* parent, const char* label);
// Fits the progress callback of the project-file reader.
void ImodelUpdateCOMMAND_METER(unsigned int value);
void ImodelKillCOMMAND_METER();

// --- do-not-show-again --------------------------------------------------------

// Makes SWITCH_BLOCKMODE_WARNING known to the do-not-show-again manager. Runs
// by itself when the library is loaded.
void ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY();

// --- the table ----------------------------------------------------------------

// One message of the table: its definition and how many values its function
// takes for the placeholders.
struct ImodelMessageEntry {
    const ImodelMessageDef* def;
    int arguments;
};
// Every message defined above, the meter included, in the order of their
// definitions: for the checks that walk the whole table.
const std::vector<ImodelMessageEntry>& ImodelGetMessageTable();
