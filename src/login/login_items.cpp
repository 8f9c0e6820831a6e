#include "login/login_items.h"

#include "text/apple_script_literal.h"

namespace tidra {

namespace {

// System Events' answer to a delete when no entry of that name is left.
constexpr long kAppleEventNoSuchObject = -1728;
constexpr int kMostLoginItemRounds = 100;
constexpr const char* kAppleScriptErrorNumberKey = "NSAppleScriptErrorNumber";
constexpr const char* kAppleScriptErrorMessageKey = "NSAppleScriptErrorMessage";

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

std::shared_ptr<EventDescriptor> LoginItems::run(const std::string& source, Dictionary& error) {
    std::shared_ptr<EventDescriptor> result;
    bool made = false;
    dispatch_.globalQueueSync([&] {
        auto script = scripting_.scriptWithSource(source);
        if (!script) return;
        made = true;
        result = script->executeAndReturnError(&error);
    });
    // A script that cannot even be made gives no error dictionary; it failed all the same.
    if (!made) error[Value(kAppleScriptErrorMessageKey)] = Value("The script could not be made.");
    return error.empty() ? result : nullptr;
}

void LoginItems::refused(const Dictionary& error) {
    auto number = error.find(Value(kAppleScriptErrorNumberKey));
    lastErrorNumber_ = number != error.end() && number->second.isNumber()
                           ? std::optional<long>(number->second.intValue())
                           : std::nullopt;
    console_.log(Value(error).description());
}

bool LoginItems::query() {
    return lookUp().value_or(false);
}

std::optional<bool> LoginItems::lookUp() {
    Dictionary error;
    auto result = run(loginItemQueryScript(), error);
    // Anything but a list says nothing about the entries.
    if (result && result->descriptorType() == kTypeAEList) return listHoldsTidra(*result);
    if (error.empty()) error[Value(kAppleScriptErrorMessageKey)] = Value("No list of login items.");
    refused(error);
    return std::nullopt;
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
    // "delete login item" takes the first entry of that name only. However many there are, each
    // round takes one; a System Events that never runs out is not followed for ever.
    for (int round = 0; round < kMostLoginItemRounds; ++round) {
        Dictionary error;
        run(loginItemDeleteScript(), error);
        if (error.empty()) continue;
        auto number = error.find(Value(kAppleScriptErrorNumberKey));
        if (number != error.end() && number->second.isNumber() &&
            number->second.intValue() == kAppleEventNoSuchObject)
            return true;  // none left
        refused(error);
        return false;
    }
    lastErrorNumber_.reset();
    console_.log("System Events still lists a login item named Tidra after " +
                 std::to_string(kMostLoginItemRounds) + " deletions");
    return false;
}

bool LoginItems::add() {
    // An entry that could not go would stay beside the new one.
    if (!remove()) return false;
    Dictionary error;
    run(loginItemAddScript(bundle_.bundlePath()), error);
    if (error.empty()) return true;
    refused(error);
    return false;
}

}  // namespace tidra
