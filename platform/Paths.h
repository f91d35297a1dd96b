#pragma once
// Native paths: separator "/", folders held without a trailing "/" except the
// root "/" itself, which plays the part of a bare drive.

#include <string>
#include <string_view>

namespace kestrovan::platform {

inline constexpr char kSeparator = '/';

bool isRootFolder(std::string_view path);
bool isAbsolutePath(std::string_view path);
std::string stripTrailingSeparator(std::string_view path);
std::string joinPath(std::string_view folder, std::string_view name);
// "/a/b" -> "/a", "/a" -> "/", "/" -> "/", "name" -> ".".
std::string parentFolder(std::string_view path);
// Last path component.
std::string baseNameOf(std::string_view path);
// "O1234.NC" -> "O1234"; a leading dot is not an extension (".profile").
std::string removeExtension(std::string_view fileName);

// `path` read against `folder` as the system reads a relative path against
// the working folder; "." components and doubled separators go, ".." stays
// for the system to resolve. An absolute path is returned as it is.
std::string pathFrom(std::string_view folder, std::string_view path);

// The process's working folder; empty when it cannot be had.
std::string currentFolder();

bool pathExists(const std::string& path);
bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);
// A file whose owner may not write it (the read-only attribute), whoever
// runs the program: the super-user is kept from replacing it too.
bool isReadOnlyFile(const std::string& path);
// A regular file (links followed) that this process may execute.
bool isExecutableFile(const std::string& path);

// Renames `from` to `to` only when nothing is called `to` yet; an existing
// file is never replaced. 0, or the errno of the failure (EEXIST).
int renameNoReplace(const std::string& from, const std::string& to);

// Creates the folder with every missing level. Returns true when the folder
// exists afterwards. Relative paths are refused: a data folder must never
// depend on the current working folder.
bool createFolderPath(const std::string& path);

} // namespace kestrovan::platform
