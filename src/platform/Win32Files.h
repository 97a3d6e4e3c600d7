#pragma once
#include <optional>
#include <string>
#include <vector>

// The Windows file services without the toolkit: folder listings with the file system's
// own attributes, the attribute-filtered lookup, the INI reader and the path forms.
namespace platform::win32 {

struct FoundEntry {
    std::wstring name;
    unsigned attributes = 0; // the classic bits: read-only, hidden, system, directory, archive
};

// Entries of the folder of `pattern` whose names match its last part ("*" and "?",
// letters compared as the file system does, "*.*" matches every name), "." and ".."
// included for "*.*"; nullopt when nothing matches or the folder cannot be read.
std::optional<std::vector<FoundEntry>> listFolder(const std::wstring &pattern);
// The same match on one name.
bool matchesWildcard(const std::wstring &name, const std::wstring &mask);
// Found only when each of the entry's hidden, system and directory bits is in `allowed`.
bool lookupPath(const std::wstring &path, unsigned allowed);
// GetPrivateProfileString with a buffer of `size` characters.
std::wstring profileString(const std::wstring &section, const std::wstring &key,
                           const std::wstring &defaultValue, const std::wstring &file, int size);
// The full Windows form of a path: relative ones made absolute, "/" turned into "\".
std::wstring fullPath(const std::wstring &path);

} // namespace platform::win32
