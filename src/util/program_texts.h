// Numbered user-visible texts loaded once from talq.dat, and the language tables.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace talq {

// Number of languages (the six with common-word files, then all six together).
inline constexpr int kNumLanguages = 7;

// Language names, in the order of the common-word files.
inline constexpr std::array<std::string_view, kNumLanguages> kLanguageNames = {
    "English", "German", "Spanish", "Portuguese", "Italian", "French", "all six languages"};

// Common-word file names, one per language, in the data folder.
inline constexpr std::array<std::string_view, kNumLanguages> kCommonWordFiles = {
    "cwds_en.txt", "cwds_de.txt", "cwds_es.txt", "cwds_pt.txt",
    "cwds_it.txt", "cwds_fr.txt", "cwds_en_de_es_pt_it_fr.txt"};

// The program-text file name inside the data folder.
inline constexpr std::string_view kProgramTextFile = "talq.dat";

// Longest text (in characters) a program-text line may hold.
inline constexpr int kMaxProgramTextLength = 1024;

// Loads the texts of `fileName` (a path) into the process-wide table, replacing any loaded
// before. Returns the number of texts (> 0) or a failure code: 0 nothing read, -1 cannot
// open, -6 empty file, -7 read error, -1000 - N text too long at line N,
// -500 - N missing number or tab at line N, -1500 - N duplicate number at line N.
// On failure the table is left empty.
int LoadProgramTexts(const std::string& fileName);

// The message shown when LoadProgramTexts returned `code` (<= 0) for `fullPath`.
std::string ProgramTextLoadMessage(int code, const std::string& fullPath);

// The text with this number; "" for "~", for an unknown number or before loading.
std::string ProgramText(int number);

// The folder holding talq.dat and the common-word files: $TALQ_DATA_DIR when set, else the
// source tree's data/ when it holds talq.dat, else the installed share folder.
std::string DataDir();

// Name of language `index` (0-based); "" out of range.
std::string LanguageName(int index);

// Common-word file name of language `index` (0-based); "" out of range.
std::string CommonWordFileName(int index);

}  // namespace talq
