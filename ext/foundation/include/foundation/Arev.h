// Build identity of the running program, registered once by the module that
// owns it and read by whoever reports versions.
#pragma once

#include <string>
#include <vector>

void ArevSetBuildProgram(const char* program);
void ArevSetBuildView(const char* view);
void ArevSetBuildYear(const char* year);
void ArevSetMajorNumber(int number);
void ArevSetMinorNumber(int number);
void ArevSetPatchNumber(int number);
void ArevSetCaptureNumber(int number);
void ArevSetBuildNumber(int number);
void ArevSetExternalReleaseName(const char* name);
void ArevSetExternalReleaseNameAndNumber(const char* name);

int ArevGetMajorVerinfoNumber();
int ArevGetMinorVerinfoNumber();
// "major.minor" of the build, for instance "8.4".
std::string ArevGetVerinfoSoftwareRevision();
// The external release name and number, for instance "8.4".
std::string ArevGetReleaseVerinfoString();
std::string ArevGetBuildProgram();
std::string ArevGetBuildView();
std::string ArevGetBuildYear();

// Every set call in order, as "ArevSetMajorNumber=8" (tests read it).
std::vector<std::string> ArevGetRegistrationLog();
