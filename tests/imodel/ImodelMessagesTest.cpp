#include "imodel/names/ImodelMessages.h"
#include "imodel/model/QuorlaneModule.h"

#include "MessageRecorder.h"

#include <foundation/Mdb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr std::uint32_t Number(unsigned serial) { return 1200u * 65536u + serial; }

const std::string kBlockModeKey = "imodelSWITCH_BLOCKMODE_WARNING_QRY";

// What a message function is called with.
struct Call {
    void* parent = nullptr;
    MdbQuery_result defaultAnswer = MdbOK;
    MdbQuery_result answer = MdbNOANSWER;  // the variable of FILE_ALREADY_EXISTS
    std::array<std::string, 4> strings;

    const char* operator[](std::size_t index) const { return strings[index].c_str(); }
};

// Every message function with what it must pass, written down apart from the
// library's own table so that a wrong entry there shows.
struct Row {
    const char* id;
    unsigned serial;
    int severity;
    int kind;
    int placeholders;
    int (*call)(Call&);
    std::uint32_t secondNumber = 0;

    bool IsQuestion() const { return kind != 201; }
    bool Is(std::string_view name) const { return id == name; }
};

const Row kRows[] = {
    {"ADB_UPDATED", 0, 4, 201, 1,
     [](Call& c) { return ImodelDisplayADB_UPDATED_MSG(c[0]); }},
    {"ADB_PARTIALLY_UPDATED", 1, 4, 201, 1,
     [](Call& c) { return ImodelDisplayADB_PARTIALLY_UPDATED_MSG(c[0]); }},
    {"DEBUG", 2, 4, 201, 1,
     [](Call& c) { return ImodelDisplayDEBUG_MSG(c[0]); }},
    {"VALUE_SET", 3, 4, 201, 2,
     [](Call& c) { return ImodelDisplayVALUE_SET_MSG(c[0], c[1]); }},
    {"VALUE_IGNORED", 4, 4, 201, 1,
     [](Call& c) { return ImodelDisplayVALUE_IGNORED_MSG(c[0]); }},
    {"CALLING_TOOL", 5, 4, 201, 1,
     [](Call& c) { return ImodelDisplayCALLING_TOOL_MSG(c[0]); }},
    {"WRONG_DEVICE_VALUE", 6, 1, 201, 4,
     [](Call& c) { return ImodelDisplayWRONG_DEVICE_VALUE_MSG(c[0], c[1], c[2], c[3]); }},
    {"MISSING_DEVICE_VALUE", 7, 1, 201, 1,
     [](Call& c) { return ImodelDisplayMISSING_DEVICE_VALUE_MSG(c[0]); }},
    {"WRONG_DEVICE_VALUE", 8, 1, 203, 4,
     [](Call& c) { return int(ImodelDisplayWRONG_DEVICE_VALUE_QRY(c.parent, c.defaultAnswer, c[0], c[1], c[2], c[3])); }},
    {"MISSING_DEVICE_VALUE", 9, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayMISSING_DEVICE_VALUE_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"DUPLICATE_MODULE", 10, 1, 201, 1,
     [](Call& c) { return ImodelDisplayDUPLICATE_MODULE_MSG(c[0]); }},
    {"OLD_FILE_NOT_FOUND", 11, 1, 201, 1,
     [](Call& c) { return ImodelDisplayOLD_FILE_NOT_FOUND_MSG(c[0]); }, 78643201},
    {"UNABLE_TO_CREATE_DIR", 12, 1, 201, 1,
     [](Call& c) { return ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(c[0]); }},
    {"PROJECT_SETTING_UNSPECIFIED", 15, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayPROJECT_SETTING_UNSPECIFIED_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"FAM_CHANGE_NOT_ALLOWED", 16, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayFAM_CHANGE_NOT_ALLOWED_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"FAM_CHANGE_CAN_ONLY_BE", 17, 1, 203, 2,
     [](Call& c) { return int(ImodelDisplayFAM_CHANGE_CAN_ONLY_BE_QRY(c.parent, c.defaultAnswer, c[0], c[1])); }},
    {"INVALID_CORE", 18, 1, 201, 2,
     [](Call& c) { return ImodelDisplayINVALID_CORE_MSG(c[0], c[1]); }},
    {"INVALID_CORE_DEVICE", 19, 1, 201, 2,
     [](Call& c) { return ImodelDisplayINVALID_CORE_DEVICE_MSG(c[0], c[1]); }},
    {"UNSUPPORTED_CORE_DEVICE", 20, 1, 201, 0,
     [](Call&) { return ImodelDisplayUNSUPPORTED_CORE_DEVICE_MSG(); }},
    {"UNABLE_TO_COPY", 21, 1, 201, 2,
     [](Call& c) { return ImodelDisplayUNABLE_TO_COPY_MSG(c[0], c[1]); }},
    {"CORE_ALREADY_PRESENT", 22, 1, 205, 1,
     [](Call& c) { return int(ImodelDisplayCORE_ALREADY_PRESENT_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"NO_TOOL_PROFILE", 24, 1, 201, 2,
     [](Call& c) { return ImodelDisplayNO_TOOL_PROFILE_MSG(c[0], c[1]); }},
    {"NO_PROFILE", 25, 1, 201, 2,
     [](Call& c) { return ImodelDisplayNO_PROFILE_MSG(c[0], c[1]); }},
    {"NO_TOOL", 26, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_TOOL_MSG(c[0]); }},
    {"LINK_CHANGED", 27, 2, 201, 1,
     [](Call& c) { return ImodelDisplayLINK_CHANGED_MSG(c[0]); }},
    {"SWITCH_BLOCKMODE_WARNING", 28, 2, 203, 0,
     [](Call& c) { return int(ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(c.parent, c.defaultAnswer)); }},
    {"USING_MODIFIED_FILE", 30, 2, 201, 1,
     [](Call& c) { return ImodelDisplayUSING_MODIFIED_FILE_MSG(c[0]); }},
    {"SPIRIT_FILE_NOT_FOUND", 31, 2, 201, 2,
     [](Call& c) { return ImodelDisplaySPIRIT_FILE_NOT_FOUND_MSG(c[0], c[1]); }},
    {"UPGRADED_DEVICE_FOR_CORE", 32, 2, 205, 3,
     [](Call& c) { return int(ImodelDisplayUPGRADED_DEVICE_FOR_CORE_QRY(c.parent, c.defaultAnswer, c[0], c[1], c[2])); }},
    {"CONVERT_FAILED_LOCAL_COPIES", 34, 2, 201, 1,
     [](Call& c) { return ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(c[0]); }, 78643203},
    {"UPDATED_CORE_FROM_DISK", 35, 3, 201, 1,
     [](Call& c) { return ImodelDisplayUPDATED_CORE_FROM_DISK_MSG(c[0]); }},
    {"RESTORING_MODULE_STATE", 36, 3, 201, 2,
     [](Call& c) { return ImodelDisplayRESTORING_MODULE_STATE_MSG(c[0], c[1]); }},
    {"RESTORING_MODULE_INFO", 37, 3, 201, 2,
     [](Call& c) { return ImodelDisplayRESTORING_MODULE_INFO_MSG(c[0], c[1]); }},
    {"LINK_FILE_WAS_MODIFIED", 38, 3, 201, 1,
     [](Call& c) { return ImodelDisplayLINK_FILE_WAS_MODIFIED_MSG(c[0]); }},
    {"READING_FILE", 600, 4, 201, 1,
     [](Call& c) { return ImodelDisplayREADING_FILE_MSG(c[0]); }},
    {"PROJECT_CREATED", 601, 4, 201, 1,
     [](Call& c) { return ImodelDisplayPROJECT_CREATED_MSG(c[0]); }},
    {"PROJECT_CLOSED", 602, 4, 201, 1,
     [](Call& c) { return ImodelDisplayPROJECT_CLOSED_MSG(c[0]); }},
    {"PROJECT_SAVED", 603, 4, 201, 1,
     [](Call& c) { return ImodelDisplayPROJECT_SAVED_MSG(c[0]); }},
    {"PROJECT_OPENED", 604, 4, 201, 1,
     [](Call& c) { return ImodelDisplayPROJECT_OPENED_MSG(c[0]); }},
    {"CREATED_BACKUP", 605, 4, 201, 1,
     [](Call& c) { return ImodelDisplayCREATED_BACKUP_MSG(c[0]); }},
    {"CONVERT_NEED_CONVERT", 606, 4, 205, 2,
     [](Call& c) { return int(ImodelDisplayCONVERT_NEED_CONVERT_QRY(c.parent, c.defaultAnswer, c[0], c[1])); }},
    {"IMPORT_BLOCK_IN_BLOCK_MODE", 607, 4, 205, 0,
     [](Call& c) { return int(ImodelDisplayIMPORT_BLOCK_IN_BLOCK_MODE_QRY(c.parent, c.defaultAnswer)); }},
    {"FILE_ALREADY_OPENED", 608, 1, 206, 3,
     [](Call& c) { return int(ImodelDisplayFILE_ALREADY_OPENED_QRY(c.parent, c.defaultAnswer, c[0], c[1], c[2])); }},
    {"CONSTRAINT_EDITOR_NO_SUPPORT", 609, 1, 203, 2,
     [](Call& c) { return int(ImodelDisplayCONSTRAINT_EDITOR_NO_SUPPORT_QRY(c.parent, c.defaultAnswer, c[0], c[1])); }},
    {"SCRIPT_TCL_TEST_LIST_FAILED", 610, 1, 201, 3,
     [](Call& c) { return ImodelDisplaySCRIPT_TCL_TEST_LIST_FAILED_MSG(c[0], c[1], c[2]); }},
    {"NO_CONSTRAINTS_MANAGER", 611, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_CONSTRAINTS_MANAGER_MSG(c[0]); }},
    {"NO_CUSTOM_SOURCES", 612, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_CUSTOM_SOURCES_MSG(c[0]); }},
    {"ASSOCIATE_FILES_NOT_FOUND", 613, 1, 201, 2,
     [](Call& c) { return ImodelDisplayASSOCIATE_FILES_NOT_FOUND_MSG(c[0], c[1]); }},
    {"ASSOCIATE_INVALID_FILE", 614, 1, 201, 3,
     [](Call& c) { return ImodelDisplayASSOCIATE_INVALID_FILE_MSG(c[0], c[1], c[2]); }},
    {"ASSOCIATE_FILES_THAT_CAN_BE", 615, 1, 201, 0,
     [](Call&) { return ImodelDisplayASSOCIATE_FILES_THAT_CAN_BE_MSG(); }},
    {"UNABLE_TO_READ", 616, 1, 201, 1,
     [](Call& c) { return ImodelDisplayUNABLE_TO_READ_MSG(c[0]); }},
    {"MODULE_NOT_DEFINED", 617, 1, 201, 2,
     [](Call& c) { return ImodelDisplayMODULE_NOT_DEFINED_MSG(c[0], c[1]); }},
    {"CANNOT_SET_ROOT", 621, 1, 201, 1,
     [](Call& c) { return ImodelDisplayCANNOT_SET_ROOT_MSG(c[0]); }},
    {"CONVERT_FUTURE_PROJECT", 622, 1, 203, 0,
     [](Call& c) { return int(ImodelDisplayCONVERT_FUTURE_PROJECT_QRY(c.parent, c.defaultAnswer)); }},
    {"CONVERT_INCOMPATIBLE_PROJECT", 623, 1, 203, 2,
     [](Call& c) { return int(ImodelDisplayCONVERT_INCOMPATIBLE_PROJECT_QRY(c.parent, c.defaultAnswer, 7, 3)); }, 78643801},
    {"FOLDER_ALREADY_EXIST", 624, 1, 201, 1,
     [](Call& c) { return ImodelDisplayFOLDER_ALREADY_EXIST_MSG(c[0]); }},
    {"UNABLE_TO_MOVE_CORE", 625, 1, 201, 1,
     [](Call& c) { return ImodelDisplayUNABLE_TO_MOVE_CORE_MSG(c[0]); }},
    {"FILE_NOT_FOUND", 626, 1, 201, 1,
     [](Call& c) { return ImodelDisplayFILE_NOT_FOUND_MSG(c[0]); }},
    {"WRONG_EXTENSION", 627, 1, 201, 1,
     [](Call& c) { return ImodelDisplayWRONG_EXTENSION_MSG(c[0]); }},
    {"FILE_ALREADY_IMPORTED", 628, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayFILE_ALREADY_IMPORTED_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"NO_PROJECT_LOADED", 629, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_PROJECT_LOADED_MSG(c[0]); }},
    {"PROJECT_NOT_FOUND", 630, 1, 201, 1,
     [](Call& c) { return ImodelDisplayPROJECT_NOT_FOUND_MSG(c[0]); }},
    {"INVALID_NAME_CHAR", 632, 1, 203, 2,
     [](Call& c) { return int(ImodelDisplayINVALID_NAME_CHAR_QRY(c.parent, c.defaultAnswer, c[0], c[1])); }},
    {"INVALID_EXTENSION", 633, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayINVALID_EXTENSION_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"SAVE_FAILED", 635, 1, 201, 1,
     [](Call& c) { return ImodelDisplaySAVE_FAILED_MSG(c[0]); }},
    {"IMPORT_NO_PROJECT_LOADED", 636, 1, 201, 1,
     [](Call& c) { return ImodelDisplayIMPORT_NO_PROJECT_LOADED_MSG(c[0]); }},
    {"IMPORT_NOT_SUPPORTED", 637, 1, 201, 1,
     [](Call& c) { return ImodelDisplayIMPORT_NOT_SUPPORTED_MSG(c[0]); }},
    {"IMPORT_CONSTRAINT_NOT_SUPPORTED", 639, 1, 201, 2,
     [](Call& c) { return ImodelDisplayIMPORT_CONSTRAINT_NOT_SUPPORTED_MSG(c[0], c[1]); }},
    {"FILE_NOT_IN_PROJECT", 640, 1, 201, 1,
     [](Call& c) { return ImodelDisplayFILE_NOT_IN_PROJECT_MSG(c[0]); }},
    {"FILE_MUST_BE_LOCAL_AND_USER", 641, 1, 201, 1,
     [](Call& c) { return ImodelDisplayFILE_MUST_BE_LOCAL_AND_USER_MSG(c[0]); }},
    {"USE_FILE_NO_USABLE_FILE", 642, 1, 201, 3,
     [](Call& c) { return ImodelDisplayUSE_FILE_NO_USABLE_FILE_MSG(c[0], c[1], c[2]); }},
    {"USE_FILE_CANNOT_USE_FILE", 643, 1, 201, 4,
     [](Call& c) { return ImodelDisplayUSE_FILE_CANNOT_USE_FILE_MSG(c[0], c[1], c[2], c[3]); }},
    {"NO_WIR_FILE", 644, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_WIR_FILE_MSG(c[0]); }},
    {"INTERNAL_ERROR_OPEN_PRJ", 645, 1, 201, 1,
     [](Call& c) { return ImodelDisplayINTERNAL_ERROR_OPEN_PRJ_MSG(c[0]); }},
    {"INTERNAL_ERROR_CREATE_WORKSPACE", 646, 1, 201, 0,
     [](Call&) { return ImodelDisplayINTERNAL_ERROR_CREATE_WORKSPACE_MSG(); }},
    {"UNABLE_TO_ACCESS_FILE", 647, 1, 201, 1,
     [](Call& c) { return ImodelDisplayUNABLE_TO_ACCESS_FILE_MSG(c[0]); }},
    {"INVALID_SIMULATION_PARAM", 648, 1, 201, 2,
     [](Call& c) { return ImodelDisplayINVALID_SIMULATION_PARAM_MSG(c[0], c[1]); }},
    {"INVALID_CORE_NAME", 649, 1, 203, 0,
     [](Call& c) { return int(ImodelDisplayINVALID_CORE_NAME_QRY(c.parent, c.defaultAnswer)); }},
    {"INVALID_CORE_NAME_CVLIB", 650, 1, 203, 0,
     [](Call& c) { return int(ImodelDisplayINVALID_CORE_NAME_CVLIB_QRY(c.parent, c.defaultAnswer)); }},
    {"FAILED_CREATE_BACKUP", 651, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayFAILED_CREATE_BACKUP_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"FAILED_OVERWRITE_FILE", 652, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayFAILED_OVERWRITE_FILE_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"CANNOT_FIND_SPIRIT_COMPONENT", 653, 1, 201, 4,
     [](Call& c) { return ImodelDisplayCANNOT_FIND_SPIRIT_COMPONENT_MSG(c[0], c[1], c[2], c[3]); }},
    {"CLOSE_DOCS", 655, 2, 204, 1,
     [](Call& c) { return int(ImodelDisplayCLOSE_DOCS_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"SAME_PDC_DIFF_MODULE_WARN", 656, 2, 203, 4,
     [](Call& c) { return int(ImodelDisplaySAME_PDC_DIFF_MODULE_WARN_QRY(c.parent, c.defaultAnswer, c[0], c[1], c[2], c[3])); }},
    {"FIXED_CONSTRAINT_FILE_MOVED", 657, 2, 201, 2,
     [](Call& c) { return ImodelDisplayFIXED_CONSTRAINT_FILE_MOVED_MSG(c[0], c[1]); }},
    {"RENAMED_LOCAL", 658, 2, 201, 2,
     [](Call& c) { return ImodelDisplayRENAMED_LOCAL_MSG(c[0], c[1]); }},
    {"CLOSE_TOOL", 659, 2, 203, 0,
     [](Call& c) { return int(ImodelDisplayCLOSE_TOOL_QRY(c.parent, c.defaultAnswer)); }},
    {"INVALIDCHAR", 660, 2, 201, 0,
     [](Call&) { return ImodelDisplayINVALIDCHAR_MSG(); }},
    {"INVALID_MODELSIM_LIB", 661, 2, 201, 1,
     [](Call& c) { return ImodelDisplayINVALID_MODELSIM_LIB_MSG(c[0]); }},
    {"INVALID_MODELSIM_TYPE", 662, 2, 201, 3,
     [](Call& c) { return ImodelDisplayINVALID_MODELSIM_TYPE_MSG(c[0], c[1], c[2]); }},
    {"FILE_ALREADY_EXISTS", 663, 2, 205, 1,
     [](Call& c) { return int(ImodelDisplayFILE_ALREADY_EXISTS_QRY(c.parent, c.defaultAnswer, &c.answer, c[0])); }},
    {"FILE_ALREADY_EXISTS_SINGLE", 664, 2, 205, 1,
     [](Call& c) { return int(ImodelDisplayFILE_ALREADY_EXISTS_SINGLE_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"TOOL_SUCCEEDED", 1000, 4, 201, 1,
     [](Call& c) { return ImodelDisplayTOOL_SUCCEEDED_MSG(c[0]); }},
    {"TOOL_FILE_NOT_FOUND", 1001, 1, 201, 1,
     [](Call& c) { return ImodelDisplayTOOL_FILE_NOT_FOUND_MSG(c[0]); }},
    {"IDE_PLD_FILE_WRITTEN", 1002, 1, 201, 0,
     [](Call&) { return ImodelDisplayIDE_PLD_FILE_WRITTEN_MSG(); }},
    {"NO_STIMULUS_ASSOCIATED", 1003, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_STIMULUS_ASSOCIATED_MSG(c[0]); }},
    {"TOOL_FAILED", 1004, 1, 201, 1,
     [](Call& c) { return ImodelDisplayTOOL_FAILED_MSG(c[0]); }},
    {"NO_WRITE_ACCESS", 1005, 1, 201, 1,
     [](Call& c) { return ImodelDisplayNO_WRITE_ACCESS_MSG(c[0]); }},
    {"INCOMPATIBLE_DEVICE_WITH_CORE", 1006, 1, 203, 1,
     [](Call& c) { return int(ImodelDisplayINCOMPATIBLE_DEVICE_WITH_CORE_QRY(c.parent, c.defaultAnswer, c[0])); }},
    {"CONSIDER_MODULE_AS_RTL", 1007, 2, 201, 1,
     [](Call& c) { return ImodelDisplayCONSIDER_MODULE_AS_RTL_MSG(c[0]); }, 78644201},
};

int CountPlaceholders(const std::string& format)
{
    int count = 0;
    for (std::size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (format[i + 1] == 's' || format[i + 1] == 'd') ++count;
        ++i;  // also skips the second sign of "%%"
    }
    return count;
}

// The arguments arrive in order, typed, and land in the text in that order.
void ExpectArguments(const Row& row, const Call& call, const MdbMessage& message)
{
    std::vector<std::string> values;
    if (row.Is("CONVERT_INCOMPATIBLE_PROJECT")) {
        ASSERT_EQ(message.args.size(), 2u);
        EXPECT_TRUE(message.args[0].isInteger && message.args[1].isInteger);
        EXPECT_EQ(message.args[0].integer, 7);
        EXPECT_EQ(message.args[1].integer, 3);
        values = {"7", "3"};
    } else {
        ASSERT_EQ(message.args.size(), static_cast<std::size_t>(row.placeholders));
        for (std::size_t i = 0; i < message.args.size(); ++i) {
            EXPECT_FALSE(message.args[i].isInteger);
            EXPECT_EQ(message.args[i].text, call.strings[i]);
            values.push_back(call.strings[i]);
        }
    }
    std::size_t from = 0;
    for (const std::string& value : values) {
        from = message.text.find(value, from);
        ASSERT_NE(from, std::string::npos) << value << " missing or out of order in: " << message.text;
        from += value.size();
    }
}

}  // namespace

TEST(ImodelMessages, TheRowsCoverEveryNumberOfTheThreeBlocks)
{
    const std::set<unsigned> unused = {13, 14, 23, 29, 33, 618, 619, 620, 631, 634, 638, 654};
    std::set<unsigned> expected;
    for (auto [first, last] : {std::pair{0u, 38u}, {600u, 664u}, {1000u, 1007u}}) {
        for (unsigned serial = first; serial <= last; ++serial) {
            if (!unused.count(serial)) expected.insert(serial);
        }
    }
    std::set<unsigned> serials;
    std::set<std::string> functions;
    for (const Row& row : kRows) {
        EXPECT_TRUE(serials.insert(row.serial).second) << row.id;
        EXPECT_TRUE(functions.insert(row.id + (row.IsQuestion() ? "_QRY"s : "_MSG"s)).second) << row.id;
    }
    EXPECT_EQ(serials, expected);
    EXPECT_EQ(std::size(kRows), 100u);
    EXPECT_EQ(Number(600), 78643800u);
    EXPECT_EQ(Number(600), 0x04B00258u);
}

TEST(ImodelMessages, EveryFunctionPassesItsValuesAndArgumentsInOrder)
{
    MessageRecorder recorder;
    int window = 0;
    // Scripted answers rotate through every code, also those the box lacks.
    const MdbQuery_result answers[] = {MdbCANCEL, MdbNO,       MdbYES,   MdbOK, MdbSKIP,
                                       MdbABORT,  MdbCONTINUE, MdbRETRY, MdbTRY};
    std::size_t turn = 0;
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.id);
        recorder.Clear();
        Call call;
        call.parent = &window;
        call.defaultAnswer = turn % 2 ? MdbYES : MdbCANCEL;
        for (std::size_t i = 0; i < call.strings.size(); ++i) {
            call.strings[i] = row.id + "<"s + std::to_string(i) + ">";
        }
        const MdbQuery_result scripted = answers[turn++ % std::size(answers)];
        if (row.IsQuestion()) recorder.AnswerNext(row.id, scripted);

        const int result = row.call(call);

        const std::vector<MessageRecorder::Record> records = recorder.Records();
        ASSERT_EQ(records.size(), 1u);
        const MdbMessage& message = records[0].message;
        EXPECT_EQ(records[0].question, row.IsQuestion());
        EXPECT_EQ(message.catalogue, "Quorlane");
        EXPECT_EQ(message.id, row.id);
        EXPECT_EQ(message.number, Number(row.serial));
        EXPECT_EQ(message.severity, row.severity);
        EXPECT_EQ(message.kind, row.kind);
        EXPECT_EQ(message.secondNumber, row.secondNumber);
        EXPECT_EQ(message.module, QuorlaneGetModuleHandle());
        EXPECT_EQ(CountPlaceholders(message.format), row.placeholders) << message.format;
        ExpectArguments(row, call, message);
        if (!row.IsQuestion()) {
            EXPECT_EQ(result, 0);
            continue;
        }
        EXPECT_EQ(result, scripted);
        EXPECT_EQ(message.parent, &window);
        EXPECT_EQ(message.defaultAnswer, call.defaultAnswer);
        const bool collects = row.Is("FILE_ALREADY_EXISTS");
        EXPECT_EQ(message.code, collects ? 3 : 0);
        EXPECT_EQ(message.answerPointer, collects ? &call.answer : nullptr);
        EXPECT_EQ(message.dontShowAgainKey, row.Is("SWITCH_BLOCKMODE_WARNING") ? kBlockModeKey : "");
    }
}

TEST(ImodelMessages, TextsKeepTheirEscapesLineBreaksAndPercentSigns)
{
    MessageRecorder recorder;
    ImodelDisplayINVALID_NAME_CHAR_QRY(nullptr, MdbOK, "a*b", "file");
    ImodelDisplayINVALIDCHAR_MSG();
    ImodelDisplayIMPORT_CONSTRAINT_NOT_SUPPORTED_MSG("top.sdc", "SDC");
    ImodelDisplayCANNOT_FIND_SPIRIT_COMPONENT_MSG("acme", "lib", "fifo", "1.0");
    ImodelDisplayCONVERT_INCOMPATIBLE_PROJECT_QRY(nullptr, MdbOK, 8, 1);
    ImodelDisplayUPGRADED_DEVICE_FOR_CORE_QRY(nullptr, MdbYES, "A3P250", "A3P1000", "fifo");
    // Values are never formats, whatever they hold.
    ImodelDisplayDEBUG_MSG("50% %s %d");
    ImodelDisplayASSOCIATE_FILES_THAT_CAN_BE_MSG();

    const std::vector<std::string> expected = {
        "'a*b': You cannot use special characters (* | \\ / \" < > : ~ % $ # or ?) for file name",
        "Project path contains invalid characters (* | \" < > : or ?), this may cause problems when "
        "invoking external tools.",
        "Cannot import the 'top.sdc'; your selected family does not support SDC constraints. \n",
        "Cannot find Spirit core configuration file for vendor:acme library:lib name:fifo version:1.0.\n",
        "You are trying to open a project created with Solvato IDE v8.1.\nThis project is not compatible "
        "with the current version of Solvato IDE and cannot be opened.",
        "Solvato IDE needs to change your current device settings from\nA3P250\nto\nA3P1000\nto match "
        "'fifo' settings.\n\nDo you still want to import core?",
        "50% %s %d",
        "files that can be associated are:",
    };
    EXPECT_EQ(recorder.Texts(), expected);
    const std::vector<MdbMessage> messages = recorder.Messages();
    ASSERT_EQ(messages.size(), expected.size());
    EXPECT_EQ(messages[0].format,
              "'%s': You cannot use special characters (* | \\ / \" < > : ~ %% $ # or ?) for %s name");
    EXPECT_TRUE(messages.back().args.empty());  // no placeholder: an empty set still goes along
}

TEST(ImodelMessages, PairsThatShareATextDifferInNumberKindOrAnswerPointer)
{
    MessageRecorder recorder;
    ImodelDisplayWRONG_DEVICE_VALUE_MSG("Die", "X9", "Die", "A, B");
    ImodelDisplayWRONG_DEVICE_VALUE_QRY(nullptr, MdbOK, "Die", "X9", "Die", "A, B");
    ImodelDisplayMISSING_DEVICE_VALUE_MSG("Family");
    ImodelDisplayMISSING_DEVICE_VALUE_QRY(nullptr, MdbOK, "Family");
    MdbQuery_result answer = MdbNOANSWER;
    recorder.AnswerNext("FILE_ALREADY_EXISTS", MdbNO);
    EXPECT_EQ(ImodelDisplayFILE_ALREADY_EXISTS_QRY(nullptr, MdbYES, &answer, "a.vhd"), MdbNO);
    EXPECT_EQ(answer, MdbNO);  // the series remembers it
    EXPECT_EQ(ImodelDisplayFILE_ALREADY_EXISTS_SINGLE_QRY(nullptr, MdbYES, "a.vhd"), MdbYES);

    const std::vector<MdbMessage> m = recorder.Messages();
    ASSERT_EQ(m.size(), 6u);
    const auto expectTwins = [](const MdbMessage& line, const MdbMessage& box, unsigned lineSerial,
                                unsigned boxSerial) {
        EXPECT_EQ(line.id, box.id);
        EXPECT_EQ(line.text, box.text);
        EXPECT_EQ(line.number, Number(lineSerial));
        EXPECT_EQ(box.number, Number(boxSerial));
        EXPECT_EQ(line.kind, 201);
        EXPECT_EQ(box.kind, 203);
    };
    expectTwins(m[0], m[1], 6, 8);
    EXPECT_EQ(m[0].text, "Die 'X9' has not been set. Die must be one of the following: A, B.");
    expectTwins(m[2], m[3], 7, 9);
    EXPECT_EQ(m[4].text, m[5].text);
    EXPECT_EQ(m[4].text, "The file:'a.vhd' already exists.\nAre you sure you want to replace it?");
    EXPECT_EQ(m[4].code, 3);
    EXPECT_EQ(m[4].answerPointer, &answer);
    EXPECT_EQ(m[5].code, 0);
    EXPECT_EQ(m[5].answerPointer, nullptr);
}

TEST(ImodelMessages, QuestionsAnswerTheScriptElseTheDefault)
{
    {
        MessageRecorder recorder;
        recorder.AnswerNext("CORE_ALREADY_PRESENT", MdbTRY);  // no such button: handed on as is
        EXPECT_EQ(ImodelDisplayCORE_ALREADY_PRESENT_QRY(nullptr, MdbNO, "fifo"), MdbTRY);
        EXPECT_EQ(ImodelDisplayCORE_ALREADY_PRESENT_QRY(nullptr, MdbNO, "fifo"), MdbNO);
        EXPECT_EQ(ImodelDisplayCLOSE_DOCS_QRY(nullptr, MdbCANCEL, "top.pdc"), MdbCANCEL);
    }
    // In batch, on the console, nobody answers: the default stands.
    EXPECT_EQ(ImodelDisplayIMPORT_BLOCK_IN_BLOCK_MODE_QRY(nullptr, MdbYES), MdbYES);
}

TEST(ImodelMessages, CommandMeterStartsWithItsIdThenGoesByNumberOnly)
{
    void (*progress)(unsigned int) = ImodelUpdateCOMMAND_METER;  // the reader's callback type
    MessageRecorder recorder;
    int window = 0;
    EXPECT_EQ(ImodelInitCOMMAND_METER(&window, "Opening project"), 0);
    progress(40);
    ImodelKillCOMMAND_METER();

    const std::vector<MessageRecorder::MeterCall> calls = recorder.MeterCalls();
    ASSERT_EQ(calls.size(), 3u);
    const MdbMessage& start = calls[0].message;
    EXPECT_EQ(calls[0].kind, MessageRecorder::MeterCall::Init);
    EXPECT_EQ(start.catalogue, "Quorlane");
    EXPECT_EQ(start.id, "COMMAND_METER");
    EXPECT_EQ(start.severity, 12);
    EXPECT_EQ(start.kind, 213);
    EXPECT_EQ(start.title, "");
    EXPECT_EQ(start.format, "%s...");
    EXPECT_EQ(start.text, "Opening project...");
    EXPECT_EQ(start.number, Number(665));
    EXPECT_EQ(start.parent, &window);
    EXPECT_EQ(start.module, QuorlaneGetModuleHandle());

    EXPECT_EQ(calls[1].kind, MessageRecorder::MeterCall::Update);
    EXPECT_EQ(calls[1].value, 40u);
    EXPECT_EQ(calls[2].kind, MessageRecorder::MeterCall::Kill);
    for (std::size_t i = 1; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].catalogue, "Quorlane");
        EXPECT_EQ(calls[i].number, Number(665));
    }
    EXPECT_TRUE(recorder.Records().empty());
}

TEST(ImodelMessages, BlockModeWarningIsRegisteredAtLoadUnderTheKeyItAsksWith)
{
    MdbDontShowAgainManager& manager = MdbDontShowAgainManager::GetInstance();
    ASSERT_TRUE(manager.IsRegistered(kBlockModeKey));
    EXPECT_EQ(manager.GetLabel(kBlockModeKey), "Warn me when Pallador Block mode is changed.");
    ImodelRegisterSWITCH_BLOCKMODE_WARNING_QRY();  // again: still one entry
    std::vector<std::string> keys = manager.GetKeys();
    EXPECT_EQ(std::count(keys.begin(), keys.end(), kBlockModeKey), 1);

    MessageRecorder recorder;
    recorder.AnswerNext("SWITCH_BLOCKMODE_WARNING", MdbCANCEL);
    EXPECT_EQ(ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(nullptr, MdbOK), MdbCANCEL);
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_EQ(recorder.Messages()[0].dontShowAgainKey, kBlockModeKey);

    // Silenced, the question is not shown and the default stands.
    ASSERT_TRUE(manager.SetShown(kBlockModeKey, false));
    recorder.Clear();
    EXPECT_EQ(ImodelDisplaySWITCH_BLOCKMODE_WARNING_QRY(nullptr, MdbOK), MdbOK);
    EXPECT_TRUE(recorder.Records().empty());
    manager.SetShown(kBlockModeKey, true);
}

TEST(ImodelMessagesDeathTest, TheModuleHandleIsReadAtEachCall)
{
    // In a child process: the module handle cannot be unset afterwards.
    EXPECT_EXIT(
        {
            MessageRecorder recorder;
            int module = 0;
            QuorlaneInit(&module);
            ImodelDisplayNO_TOOL_MSG("synthesis");
            ImodelDisplayINVALID_CORE_NAME_QRY(nullptr, MdbOK);
            ImodelInitCOMMAND_METER(nullptr, "Opening project");
            bool passed = recorder.Messages().size() == 2 && recorder.MeterCalls().size() == 1 &&
                          recorder.MeterCalls()[0].message.module == &module;
            for (const MdbMessage& message : recorder.Messages()) passed = passed && message.module == &module;
            std::_Exit(passed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
