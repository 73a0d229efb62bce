#pragma once

#include <string>
#include <string_view>

namespace filesync {

// The path of a file directly in the folder: the folder, the path delimiter unless
// it ends in one already, and the name's bytes. Empty for an empty folder, which
// would otherwise turn into the root folder.
std::string PathInFolder(std::string_view folder, std::string_view name);

} // namespace filesync
