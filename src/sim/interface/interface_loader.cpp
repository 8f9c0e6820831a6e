#include "sim/interface/interface_loader.h"

#include <fstream>
#include <map>

#include "sim/interface/shortcut_recorder.h"
#include "sim/interface/views.h"

namespace tidra::sim {
namespace {

using nlohmann::json;

// Reserved object name for the object that loads the description (its "File's Owner").
constexpr const char* kOwner = "owner";

Rect rectFrom(const json& node) {
    const json& f = node.value("frame", json::array());
    if (!f.is_array() || f.size() != 4) return {};
    return Rect{{f[0].get<double>(), f[1].get<double>()}, {f[2].get<double>(), f[3].get<double>()}};
}

// Builds one description's object graph, then wires it to the owner.
class Builder {
  public:
    explicit Builder(Object& owner) : owner_(owner) {}

    std::shared_ptr<View> view(const json& node) {
        const std::string cls = node.value("class", "NSView");
        const std::string id = node.value("id", "");
        const Rect frame = rectFrom(node);
        std::shared_ptr<View> made;
        if (cls == "NSTextField") {
            made = std::make_shared<SimTextField>(id, frame, node.value("stringValue", ""));
        } else if (cls == "NSButton") {
            auto button = std::make_shared<SimButton>(id, frame, node.value("title", ""));
            if (node.contains("action")) {
                button->setAction(node["action"].get<std::string>());
                // Actions go to the owner; a description names no other target.
                if (node.value("target", kOwner) == std::string(kOwner)) button->setTarget(&owner_);
            }
            made = button;
        } else if (cls == "ShortcutRecorder") {
            auto recorder = std::make_shared<SimShortcutRecorder>(id, frame);
            recorder->setAction(node.value("action", ""));
            if (node.value("target", kOwner) == std::string(kOwner)) recorder->setTarget(&owner_);
            made = recorder;
        } else if (cls == "NSVisualEffectView") {
            auto effect = std::make_shared<SimVisualEffectView>(frame, id);
            if (node.contains("material")) effect->setMaterial(node["material"].get<int>());
            if (node.contains("blendingMode"))
                effect->setBlendingMode(node["blendingMode"].get<int>());
            if (node.contains("state")) effect->setState(node["state"].get<int>());
            made = effect;
        } else {
            made = std::make_shared<SimView>(cls, id, frame);
        }
        if (node.value("wantsLayer", false)) made->setWantsLayer(true);
        if (node.contains("appearance")) made->setAppearance(node["appearance"].get<std::string>());
        for (const auto& child : node.value("subviews", json::array()))
            made->addSubview(view(child));
        if (!id.empty()) byId_[id] = made.get();
        return made;
    }

    void connectOutlets(const json& description) {
        for (const auto& outlet : description.value("outlets", json::array())) {
            if (outlet.value("object", kOwner) != std::string(kOwner)) continue;
            auto it = byId_.find(outlet.value("destination", ""));
            owner_.setOutlet(outlet.value("name", ""), it == byId_.end() ? nullptr : it->second);
        }
    }

  private:
    Object& owner_;
    std::map<std::string, Object*> byId_;
};

}  // namespace

SimInterfaceLoader::ResourceLookup SimInterfaceLoader::inFolder(std::string dir) {
    return [dir = std::move(dir)](const std::string& nibName) -> std::optional<std::string> {
        return dir + "/" + nibName + ".json";
    };
}

std::optional<nlohmann::json> SimInterfaceLoader::read(const std::string& nibName) {
    auto file = lookup_ ? lookup_(nibName) : std::nullopt;
    if (!file) return std::nullopt;
    std::ifstream in(*file);
    if (!in) return std::nullopt;
    auto description = json::parse(in, nullptr, /*allow_exceptions=*/false);
    if (description.is_discarded() || !description.is_object()) return std::nullopt;
    return description;
}

std::shared_ptr<Window> SimInterfaceLoader::loadWindow(const std::string& nibName, Object& owner) {
    auto description = read(nibName);
    if (!description || !(*description)["window"].is_object()) {
        console_.log("-[NSWindowController loadWindow]: failed to load window nib file '" +
                     nibName + "'.");
        return nullptr;
    }
    try {
        const json& node = (*description)["window"];
        Builder builder(owner);
        auto window =
            std::make_shared<SimWindow>(windows_, nibName, rectFrom(node), node.value("title", ""));
        json content = node.value("contentView", json::object());
        // The content view fills the window unless the description says otherwise.
        if (!content.contains("frame")) {
            const Rect r = window->frame();
            content["frame"] = {0, 0, r.size.width, r.size.height};
        }
        window->setContentView(builder.view(content));
        builder.connectOutlets(*description);
        return window;
    } catch (const json::exception&) {
        console_.log("-[NSWindowController loadWindow]: failed to load window nib file '" +
                     nibName + "'.");
        return nullptr;
    }
}

std::shared_ptr<View> SimInterfaceLoader::loadView(const std::string& nibName, Object& owner) {
    auto description = read(nibName);
    if (!description || !(*description)["view"].is_object()) {
        console_.log("-[NSViewController loadView] could not load the \"" + nibName + "\" nib.");
        return nullptr;
    }
    try {
        Builder builder(owner);
        auto view = builder.view((*description)["view"]);
        builder.connectOutlets(*description);
        return view;
    } catch (const json::exception&) {
        console_.log("-[NSViewController loadView] could not load the \"" + nibName + "\" nib.");
        return nullptr;
    }
}

}  // namespace tidra::sim
