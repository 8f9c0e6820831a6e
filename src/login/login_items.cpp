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

}  // namespace

std::string loginItemQueryScript() {
    return "tell application \"System Events\" to get the name of every login item";
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

void LoginItems::remove() {
    dispatch_.globalQueueSync([&] {
        auto script = scripting_.scriptWithSource(loginItemDeleteScript());
        if (!script) return;
        Dictionary error;
        script->executeAndReturnError(&error);
    });
}

void LoginItems::add() {
    remove();
    const std::string bundlePath = bundle_.bundlePath();
    dispatch_.globalQueueSync([&] {
        auto script = scripting_.scriptWithSource(loginItemAddScript(bundlePath));
        if (!script) return;
        Dictionary error;
        script->executeAndReturnError(&error);
        if (!error.empty()) console_.log(Value(error).description());
    });
}

}  // namespace tidra
