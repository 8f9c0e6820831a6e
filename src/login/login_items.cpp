#include "login/login_items.h"

#include "login/apple_script_literal.h"

namespace tidra {

namespace {

bool listHoldsTidra(const EventDescriptor& list) {
    if (list.descriptorType() != kTypeAEList) return false;
    const long count = list.numberOfItems();
    for (long i = 1; i <= count; ++i) {
        auto item = list.descriptorAtIndex(i);
        if (!item) continue;
        auto name = item->stringValue();
        if (name && *name == kLoginItemName) return true;
    }
    return false;
}

// Every item's text, in order; an item without one stays empty. Nothing for anything but a list.
std::optional<std::vector<std::string>> texts(const EventDescriptor& list) {
    if (list.descriptorType() != kTypeAEList) return std::nullopt;
    std::vector<std::string> out;
    const long count = list.numberOfItems();
    for (long i = 1; i <= count; ++i) {
        auto item = list.descriptorAtIndex(i);
        auto text = item ? item->stringValue() : std::nullopt;
        out.push_back(text.value_or(""));
    }
    return out;
}

}  // namespace

std::string loginItemQueryScript() {
    return "tell application \"System Events\" to get the name of every login item";
}

std::string loginItemPathsScript() {
    return "tell application \"System Events\" to get the path of every login item";
}

std::string loginItemDeleteScript() {
    return "tell application \"System Events\" to delete login item \"Tidra\"";
}

std::string loginItemAddScript(const std::string& bundlePath) {
    return "tell application \"System Events\" to make login item at end with properties {path:" +
           appleScriptStringLiteral(bundlePath) + ", hidden:false, name:\"Tidra\"}";
}

bool LoginItems::query() {
    bool found = false;
    dispatch_.globalQueueSync([&] {
        auto script = scripting_.scriptWithSource(loginItemQueryScript());
        if (!script) return;
        Dictionary error;
        auto result = script->executeAndReturnError(&error);
        if (result) found = listHoldsTidra(*result);
    });
    return found;
}

std::optional<std::string> LoginItems::itemPath() {
    const auto ask = [&](const std::string& source) {
        std::optional<std::vector<std::string>> answer;
        dispatch_.globalQueueSync([&] {
            auto script = scripting_.scriptWithSource(source);
            if (!script) return;
            Dictionary error;
            if (auto result = script->executeAndReturnError(&error)) answer = texts(*result);
        });
        return answer;
    };
    const auto names = ask(loginItemQueryScript());
    const auto itemPaths = ask(loginItemPathsScript());
    // Two answers that do not pair up say nothing about which path is Tidra's.
    if (!names || !itemPaths || names->size() != itemPaths->size()) return std::nullopt;
    for (size_t i = 0; i < names->size(); ++i)
        if ((*names)[i] == kLoginItemName) return (*itemPaths)[i];
    return std::nullopt;
}

bool LoginItems::remove() {
    bool removed = false;
    dispatch_.globalQueueSync([&] {
        auto script = scripting_.scriptWithSource(loginItemDeleteScript());
        if (!script) return;
        Dictionary error;
        script->executeAndReturnError(&error);
        removed = error.empty();
    });
    return removed;
}

bool LoginItems::add() {
    remove();
    const std::string bundlePath = bundle_.bundlePath();
    bool added = false;
    dispatch_.globalQueueSync([&] {
        auto script = scripting_.scriptWithSource(loginItemAddScript(bundlePath));
        if (!script) return;
        Dictionary error;
        script->executeAndReturnError(&error);
        if (!error.empty()) console_.log(Value(error).description());
        added = error.empty();
    });
    return added;
}

}  // namespace tidra
