#pragma once
// Writing every byte to a file descriptor, through short writes and
// interrupted ones.

#include <string_view>

namespace kestrovan::platform {

// False on a failed write, errno telling why.
bool writeAll(int fd, std::string_view bytes);

} // namespace kestrovan::platform
