// What every fuzz target of the core shares: putting the process-wide
// records back to their start-up state before each run, so that a run
// depends on its input alone, and the checks of the capacities the records
// promise, which turn a silent overflow into a reported fault.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/support/fuzz_platform.h"

// Reports a broken promise and stops the run, so that libFuzzer keeps the
// input as a crash.
#define FUZZ_CHECK(condition, what) \
    ((condition) ? (void)0 : fuzzFailure(__FILE__, __LINE__, #condition, what))
[[noreturn]] void fuzzFailure(const char* file, int line, const char* condition, const char* what);

// The program's folder and settings file in every run.
inline constexpr const char* fuzzProgramFolder = "C:\\Tools\\Tavrin\\";
inline constexpr const char* fuzzSettingsPath = "C:\\Tools\\Tavrin\\Tavrin.ini";

// Resets every process-wide record of the core, the ports and the fuzz
// platform (which it installs); returns the platform.
FuzzPlatform& resetCore();

// Turns on "@param" with a few parameters of the kinds users write: one
// whose value holds another's name, one whose value holds its own.
void useSampleParameters();

// Turns on link cleaning: the built-in redirectors and one of the user's,
// the default strip list and a prefix of the user's.
void useSampleCleaning();

// The input as text.
inline std::string_view inputText(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The text up to the first line feed, and the rest behind it.
struct FirstLine {
    std::string_view line;
    std::string_view rest;
};
FirstLine splitFirstLine(std::string_view text);

// Capacity checks of the records.
void checkUrlList();
void checkSettings();
void checkAssociationTable();
void checkUrlParts();
// A text that a capacity of `capacity` bytes holds.
void checkHeld(std::string_view text, std::size_t capacity, const char* what);
// Each row of urlList, written as a list-file line and read back, is the
// same row.
void checkListRoundTrip();
