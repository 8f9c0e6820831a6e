#include "sim/application.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "sim/run_loop.h"

namespace tidra::sim {

using nlohmann::json;

SimApplication::~SimApplication() {
    releaseObjects();
}

void SimApplication::releaseObjects() {
    menus_.clear();
    items_.clear();
    // The objects go in reverse order of creation, so the controller goes before the delegate.
    while (!objects_.empty()) objects_.pop_back();
}

Object* SimApplication::object(const std::string& id) const {
    for (const auto& [name, o] : objects_)
        if (name == id) return o.get();
    return nullptr;
}

std::shared_ptr<SimMenu> SimApplication::menu(const std::string& id) const {
    for (const auto& [name, m] : menus_)
        if (name == id) return m;
    return nullptr;
}

void SimApplication::terminate(Object*) {
    throw ProcessExit{0};
}

void SimApplication::exit(int status) {
    throw ProcessExit{status};
}

bool SimApplication::loadMainInterface(const ClassRegistry& classes) {
    auto file = bundle_.resourceFile("MainMenu", "json");
    if (!file) {
        loadError_ = "the bundle has no MainMenu interface description";
        return false;
    }
    std::ifstream in(*file);
    json doc = json::parse(in, nullptr, /*allow_exceptions=*/false);
    if (!doc.is_object()) {
        loadError_ = "MainMenu is not a valid interface description";
        return false;
    }
    delegateId_ = doc.value("applicationDelegate", "");
    for (const auto& o : doc.value("objects", json::array())) {
        auto made = classes.make(o.value("class", ""));
        if (!made) {
            loadError_ = "no class named " + o.value("class", std::string("?"));
            return false;
        }
        objects_.emplace_back(o.value("id", ""), made);
    }
    // Menus: items with their tags, actions (targets by identifier) and bindings.
    std::function<std::shared_ptr<SimMenu>(const json&)> buildMenu = [&](const json& m) {
        auto menu = std::make_shared<SimMenu>();
        menu->identifier = m.value("id", "");
        for (const auto& it : m.value("items", json::array())) {
            auto item = std::make_shared<SimMenuItem>();
            item->separator = it.value("separator", false);
            item->title_ = it.value("title", "");
            item->tag_ = it.value("tag", 0);
            item->action = it.value("action", "");
            if (it.contains("target")) item->target = object(it["target"].get<std::string>());
            item->bindKey = it.value("bind", "");
            if (!item->bindKey.empty()) item->store = &store_;
            if (it.contains("submenu")) item->submenu_ = buildMenu(it["submenu"]);
            if (it.contains("id")) items_.emplace_back(it["id"].get<std::string>(), item.get());
            menu->entries.push_back(item);
        }
        if (!menu->identifier.empty()) menus_.emplace_back(menu->identifier, menu);
        return menu;
    };
    for (const auto& m : doc.value("menus", json::array())) buildMenu(m);
    for (const auto& o : doc.value("outlets", json::array())) {
        Object* owner = object(o.value("object", ""));
        std::string dest = o.value("destination", "");
        Object* value = object(dest);
        if (!value)
            if (auto m = menu(dest)) value = m.get();
        if (!value)
            for (const auto& [id, item] : items_)
                if (id == dest) value = item;
        if (owner && value) owner->setOutlet(o.value("name", ""), value);
    }
    return true;
}

int SimApplication::applicationMain(int, char**, const ClassRegistry& classes) {
    if (!loadMainInterface(classes)) return 1;
    for (const auto& [id, o] : objects_) o->awakeFromNib();
    ApplicationDelegate* delegate = nullptr;
    if (auto* d = dynamic_cast<ApplicationDelegate*>(object(delegateId_))) delegate = d;
    Notification note{"NSApplicationWillFinishLaunchingNotification", nullptr, Value()};
    if (delegate) delegate->applicationWillFinishLaunching(note);
    note.name = "NSApplicationDidFinishLaunchingNotification";
    finishedLaunching_ = true;
    if (delegate) delegate->applicationDidFinishLaunching(note);
    return 0;
}

}  // namespace tidra::sim
