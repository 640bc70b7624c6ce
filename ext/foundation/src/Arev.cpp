// Build identity of the running program.
#include "foundation/Arev.h"

#include <mutex>

namespace {

struct Identity {
    std::string program;
    std::string view;
    std::string year;
    int major = 0;
    int minor = 0;
    int patch = 0;
    int capture = 0;
    int build = 0;
    std::string releaseName;
    std::string releaseNameAndNumber;
    std::vector<std::string> log;
};

std::mutex& IdentityMutex()
{
    static std::mutex mutex;
    return mutex;
}

Identity& TheIdentity()
{
    static Identity identity;
    return identity;
}

void SetText(std::string Identity::*field, const char* call, const char* value)
{
    const std::string text = value ? value : "";
    std::lock_guard<std::mutex> lock(IdentityMutex());
    TheIdentity().*field = text;
    TheIdentity().log.push_back(std::string(call) + "=" + text);
}

void SetNumber(int Identity::*field, const char* call, int value)
{
    std::lock_guard<std::mutex> lock(IdentityMutex());
    TheIdentity().*field = value;
    TheIdentity().log.push_back(std::string(call) + "=" + std::to_string(value));
}

template <typename T>
T Get(T Identity::*field)
{
    std::lock_guard<std::mutex> lock(IdentityMutex());
    return TheIdentity().*field;
}

}  // namespace

void ArevSetBuildProgram(const char* program) { SetText(&Identity::program, "ArevSetBuildProgram", program); }
void ArevSetBuildView(const char* view) { SetText(&Identity::view, "ArevSetBuildView", view); }
void ArevSetBuildYear(const char* year) { SetText(&Identity::year, "ArevSetBuildYear", year); }
void ArevSetMajorNumber(int number) { SetNumber(&Identity::major, "ArevSetMajorNumber", number); }
void ArevSetMinorNumber(int number) { SetNumber(&Identity::minor, "ArevSetMinorNumber", number); }
void ArevSetPatchNumber(int number) { SetNumber(&Identity::patch, "ArevSetPatchNumber", number); }
void ArevSetCaptureNumber(int number) { SetNumber(&Identity::capture, "ArevSetCaptureNumber", number); }
void ArevSetBuildNumber(int number) { SetNumber(&Identity::build, "ArevSetBuildNumber", number); }
void ArevSetExternalReleaseName(const char* name)
{
    SetText(&Identity::releaseName, "ArevSetExternalReleaseName", name);
}
void ArevSetExternalReleaseNameAndNumber(const char* name)
{
    SetText(&Identity::releaseNameAndNumber, "ArevSetExternalReleaseNameAndNumber", name);
}

int ArevGetMajorVerinfoNumber() { return Get(&Identity::major); }
int ArevGetMinorVerinfoNumber() { return Get(&Identity::minor); }

std::string ArevGetVerinfoSoftwareRevision()
{
    std::lock_guard<std::mutex> lock(IdentityMutex());
    return std::to_string(TheIdentity().major) + "." + std::to_string(TheIdentity().minor);
}

std::string ArevGetReleaseVerinfoString() { return Get(&Identity::releaseNameAndNumber); }
std::string ArevGetBuildProgram() { return Get(&Identity::program); }
std::string ArevGetBuildView() { return Get(&Identity::view); }
std::string ArevGetBuildYear() { return Get(&Identity::year); }
std::vector<std::string> ArevGetRegistrationLog() { return Get(&Identity::log); }
