#pragma once
// Changing the data folder from the folder prompt (F5), and creating a
// folder with every missing level.

#include <string>

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::files {

// Creates the folder and every missing level above it. False for the root
// or an empty path, and when the folder does not exist afterwards.
bool CreateFolderPath(const std::string& path);

// The folder the prompt's text names: without its trailing "/"; a relative
// path is read against the data folder, never the working folder; "." and
// ".." are resolved on the text.
std::string typedFolder(const std::string& text, const std::string& dirPath);

// Enter on the folder prompt. The new data folder, or the old one when the
// named folder does not exist and is not created (the operator says No, or
// the creation fails, which is told in a box).
std::string enterFolder(const std::string& text, const std::string& dirPath, base::Dialogs& dialogs);

} // namespace kestrovan::files
