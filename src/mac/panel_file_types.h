// The types Tidra's logic gives an open panel, read as the panel's own: a filename extension
// ("png", also written ".png", as a path's extension is often quoted) or a type identifier
// ("public.png"). A type identifier never starts with a dot, so a leading dot marks an extension.
#pragma once

#include <optional>
#include <string>

namespace tidra::mac {

struct PanelFileType {
    enum class Kind { Extension, Identifier };
    Kind kind = Kind::Extension;
    std::string name;
};

// Nothing for what is neither: an empty name, a dot alone, or a name with an empty part.
inline std::optional<PanelFileType> readPanelFileType(const std::string& type) {
    const bool dotted = !type.empty() && type.front() == '.';
    const std::string name = dotted ? type.substr(1) : type;
    if (name.empty() || name.front() == '.' || name.back() == '.' ||
        name.find("..") != std::string::npos)
        return std::nullopt;
    const bool identifier = !dotted && name.find('.') != std::string::npos;
    return PanelFileType{
        identifier ? PanelFileType::Kind::Identifier : PanelFileType::Kind::Extension, name};
}

}  // namespace tidra::mac
