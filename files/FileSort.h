#pragma once
// Order of the file entries: by name, size or date, in one of two
// directions. Only files are sorted; folders keep the enumeration order.

#include "files/FileEntry.h"

#include <string_view>
#include <vector>

namespace kestrovan::files {

enum class SortKey { Name = 1, Size = 2, Date = 3 };

// "D" sorts names and dates ascending but sizes largest first; "U" the
// reverse of each. The size key deliberately runs against the other two:
// operators look for the big programs first.
enum class SortDirection { D, U };

// "N", "S", "T" from the settings; anything else falls back to the name.
SortKey sortKeyFromSetting(std::string_view fileSort);
// "U" from the settings; anything else is "D".
SortDirection sortDirectionFromSetting(std::string_view sortMuki);

// Collation of names and date texts as a desktop's file manager compares
// them: symbols before digits before letters, letters alphabetically without
// regard to case, and only on an otherwise equal pair lower case before upper
// case ("abc" < "ABD", "abc" < "ABC"). Zero only for identical texts.
int compareNames(std::string_view a, std::string_view b);

// Negative when a comes first.
int compareFileEntries(const FileEntry& a, const FileEntry& b, SortKey key, SortDirection dir);

// Sorts the file table. Entries with equal keys keep their relative order.
void sortFileEntries(std::vector<FileEntry>& files, SortKey key, SortDirection dir);

} // namespace kestrovan::files
