// The platform's path-string operations (NSString's path methods), on plain strings.
#pragma once

#include <string>
#include <vector>

namespace tidra::paths {

// "~" and "~/x" become the home directory; "." components and redundant or trailing slashes go;
// ".." is resolved textually for absolute paths (stringByStandardizingPath).
std::string standardize(const std::string& path, const std::string& home);
std::string expandTilde(const std::string& path, const std::string& home);
// The home directory written as "~" where the path lies inside it.
std::string abbreviateWithTilde(const std::string& path, const std::string& home);
std::string lastPathComponent(const std::string& path);
std::string deletingLastPathComponent(const std::string& path);
std::string appendingPathComponent(const std::string& path, const std::string& component);
std::string pathExtension(const std::string& path);
// "/a/b" gives {"/", "a", "b"}, as pathComponents does.
std::vector<std::string> components(const std::string& path);
bool hasPrefix(const std::string& s, const std::string& prefix);
bool contains(const std::string& s, const std::string& part);

}  // namespace tidra::paths
