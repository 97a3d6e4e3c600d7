#pragma once
#include <optional>
#include <string>

// The Windows shell without the toolkit: special folders and file associations.
namespace platform::win32 {

// The current user's Favorites folder (SHGetFolderPath, CSIDL_FAVORITES, its current
// path); nullopt when the system has none.
std::optional<std::wstring> favoritesFolder();
// FindExecutable's result for a document: > 32 when a program opens its type.
int findExecutable(const std::wstring &documentPath);

} // namespace platform::win32
