// Path splitting on the native separator "/"; every search runs from the right.
#pragma once

#include <string>
#include <string_view>

namespace talq {

// Text after the last "." of the name part (after the last "/"), "" when the name has no ".";
// lower-cased when asked.
std::string GetFileExtension(std::string_view path, bool lowerCase);

// Part after the last "/" (LowerCaseAccented when asked); "" when the path has no "/".
std::string GetFileName(std::string_view path, bool lowerCase);

// Path up to and including the last "/", "" when there is none. With normaliseCase the result
// is lower-cased (LowerCaseAccented); paths are case-sensitive here, so callers comparing
// paths pass false.
std::string GetFolderPart(std::string_view path, bool normaliseCase);

// The path with the text after the last "." of its name replaced by `extension`; a name
// without "." gets "." and the extension appended.
std::string ChangeExtension(std::string_view path, std::string_view extension);

// The text of a path box without the spaces, tabs and line breaks around it.
std::string TrimPathBox(std::string_view text);

// False for an empty path; otherwise true when something exists there that is not a folder.
bool FileExists(const std::string& path);

// True when path is a regular file that holds no bytes. A size of 0 is not trusted alone:
// files such as /proc/cpuinfo say 0 and still hold text, so one byte is read to make sure.
// False when the file cannot be opened (its reader says why).
bool FileHasNoBytes(const std::string& path);

}  // namespace talq
