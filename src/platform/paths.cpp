#include "platform/paths.h"

namespace tidra::paths {

std::string expandTilde(const std::string& path, const std::string& home) {
    if (path == "~") return home;
    if (hasPrefix(path, "~/")) return home + path.substr(1);
    return path;
}

std::string abbreviateWithTilde(const std::string& path, const std::string& home) {
    if (home.empty() || home == "/") return path;
    if (path == home) return "~";
    if (hasPrefix(path, home + "/")) return "~" + path.substr(home.size());
    return path;
}

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> out;
    if (path.empty()) return out;
    if (path[0] == '/') out.push_back("/");
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        if (j > i) out.push_back(path.substr(i, j - i));
        i = j + 1;
    }
    if (path.size() > 1 && path.back() == '/') out.push_back("/");
    return out;
}

std::string standardize(const std::string& path, const std::string& home) {
    std::string p = expandTilde(path, home);
    if (p.empty()) return p;
    bool absolute = p[0] == '/';
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= p.size()) {
        size_t j = p.find('/', i);
        if (j == std::string::npos) j = p.size();
        std::string c = p.substr(i, j - i);
        i = j + 1;
        if (c.empty() || c == ".") continue;
        if (c == ".." && absolute) {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(c);
    }
    std::string out = absolute ? "/" : "";
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k) out += '/';
        out += parts[k];
    }
    if (out.empty()) out = absolute ? "/" : ".";
    // The platform drops /private from paths that exist outside it as well; not needed here.
    return out;
}

std::string lastPathComponent(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p == "/") return "/";
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string deletingLastPathComponent(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    size_t slash = p.rfind('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string appendingPathComponent(const std::string& path, const std::string& component) {
    if (path.empty()) return component;
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    std::string c = component;
    while (!c.empty() && c.front() == '/') c.erase(c.begin());
    if (c.empty()) return p;
    return p == "/" ? "/" + c : p + "/" + c;
}

std::string pathExtension(const std::string& path) {
    std::string last = lastPathComponent(path);
    size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0) return "";
    return last.substr(dot + 1);
}

bool hasPrefix(const std::string& s, const std::string& prefix) {
    return !prefix.empty() && s.compare(0, prefix.size(), prefix) == 0;
}

bool contains(const std::string& s, const std::string& part) {
    return s.find(part) != std::string::npos;
}

}  // namespace tidra::paths
