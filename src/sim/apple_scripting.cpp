#include "sim/apple_scripting.h"

#include <algorithm>
#include <map>
#include <variant>

#include "platform/paths.h"
#include "sim/formats/apple_script_parser.h"
#include "sim/formats/event_descriptor.h"

namespace tidra::sim {

namespace as = applescript;

namespace {

constexpr long kSyntaxError = -2741;
constexpr long kCantGet = -1728;
constexpr long kCantMakeType = -1700;
constexpr long kNotRunning = -600;
constexpr long kNotAuthorized = -1743;
constexpr long kUndefinedVariable = -2753;
constexpr long kHandlerFailed = -10000;
constexpr long kStackOverflow = -2706;
// Items in one value, records and lists included.
constexpr std::size_t kMaxValueSize = 10000;

// Length of a UTF-8 sequence from its lead byte; 0 for a byte that cannot start one.
int sequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

bool validUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int n = sequenceLength(c);
        if (n == 0 || i + std::size_t(n) > s.size()) return false;
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += std::size_t(n);
    }
    return true;
}

// The platform counts ranges in UTF-16 units; the source is known to be valid UTF-8.
std::size_t utf16Units(const std::string& s, std::size_t byteEnd) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < byteEnd && i < s.size()) {
        const int n = sequenceLength(static_cast<unsigned char>(s[i]));
        units += n == 4 ? 2 : 1;
        i += std::size_t(n == 0 ? 1 : n);
    }
    return units;
}

// How AppleScript writes a text back in its messages.
std::string literal(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

struct RuntimeError {
    long number;
    std::string brief;
    std::string appName;
    as::Span span;
    // The system's own refusals are not worded as the application's error.
    bool fromSystem = false;
};

class Interpreter {
  public:
    Interpreter(SimAppleScripting& scripting) : scripting_(scripting) {}

    std::shared_ptr<EventDescriptor> run(const std::vector<as::Statement>& statements) {
        std::shared_ptr<EventDescriptor> result = SimEventDescriptor::null();
        for (const auto& statement : statements) result = execute(statement);
        return result;
    }

  private:
    std::shared_ptr<EventDescriptor> execute(const as::Statement& s) {
        switch (s.kind) {
            case as::Statement::Kind::Tell:
                return run(s.body);
            case as::Statement::Kind::Set: {
                Resolved value = resolveBounded(s.value);
                auto descriptor = describe(value.value);
                variables_[s.variable] = std::move(value);
                return descriptor;
            }
            case as::Statement::Kind::GetLoginItems:
                return getLoginItems(s);
            case as::Statement::Kind::DeleteLoginItem:
                return deleteLoginItem(s);
            case as::Statement::Kind::MakeLoginItem:
                return makeLoginItem(s);
            case as::Statement::Kind::MoveToTrash:
                return moveToTrash(s);
        }
        return SimEventDescriptor::null();
    }

    SimSystemEvents& systemEvents(const as::Statement& s) {
        if (!scripting_.systemEvents().available())
            throw RuntimeError{kNotRunning, "Application isn’t running.", s.application, s.span};
        // The system asks the user (or has asked) whether Tidra may control it.
        if (!scripting_.mayControl(s.application))
            throw RuntimeError{kNotAuthorized,
                               "Not authorized to send Apple events to " + s.application + ".",
                               s.application, s.span, true};
        return scripting_.systemEvents();
    }

    std::shared_ptr<EventDescriptor> getLoginItems(const as::Statement& s) {
        std::vector<std::shared_ptr<EventDescriptor>> values;
        for (const auto& item : systemEvents(s).loginItems()) {
            switch (s.property) {
                case as::LoginItemProperty::Name:
                    values.push_back(SimEventDescriptor::text(item.name));
                    break;
                case as::LoginItemProperty::Path:
                    values.push_back(SimEventDescriptor::text(item.path));
                    break;
                case as::LoginItemProperty::Hidden:
                    values.push_back(SimEventDescriptor::boolean(item.hidden));
                    break;
            }
        }
        return SimEventDescriptor::list(std::move(values));
    }

    std::shared_ptr<EventDescriptor> deleteLoginItem(const as::Statement& s) {
        const as::Expr name = resolve(s.value);
        if (name.kind != as::Expr::Kind::Text)
            throw RuntimeError{kCantMakeType, "Can’t make some data into the expected type.",
                               s.application, s.span};
        switch (systemEvents(s).deleteLoginItem(name.text)) {
            case SimSystemEvents::Deletion::Deleted:
                return SimEventDescriptor::null();
            case SimSystemEvents::Deletion::NotFound:
                throw RuntimeError{kCantGet, "Can’t get login item " + literal(name.text) + ".",
                                   s.application, s.span};
            case SimSystemEvents::Deletion::NotStored:
                break;
        }
        throw RuntimeError{kHandlerFailed, "AppleEvent handler failed.", s.application, s.span};
    }

    std::shared_ptr<EventDescriptor> makeLoginItem(const as::Statement& s) {
        const as::Expr properties = resolve(s.value);
        if (properties.kind != as::Expr::Kind::Record)
            throw RuntimeError{kCantMakeType, "Can’t make some data into the expected type.",
                               s.application, s.span};
        LoginItem item;
        bool hasPath = false;
        bool hasName = false;
        for (const auto& [key, value] : properties.fields) {
            const bool text = value.kind == as::Expr::Kind::Text;
            if (key == "path" && (text || value.kind == as::Expr::Kind::PosixFile)) {
                item.path = value.text;
                hasPath = true;
            } else if (key == "name" && text) {
                item.name = value.text;
                hasName = true;
            } else if (key == "hidden" && value.kind == as::Expr::Kind::Boolean) {
                item.hidden = value.flag;
            } else if (key == "path" || key == "name" || key == "hidden") {
                throw RuntimeError{kCantMakeType, "Can’t make some data into the expected type.",
                                   s.application, s.span};
            }
        }
        SimSystemEvents& events = systemEvents(s);
        if (!hasPath || item.path.empty())
            throw RuntimeError{kHandlerFailed, "AppleEvent handler failed.", s.application, s.span};
        if (!hasName) {
            item.name = paths::lastPathComponent(item.path);
            if (paths::pathExtension(item.name) == "app") item.name.resize(item.name.size() - 4);
        }
        if (!events.addLoginItem(item))
            throw RuntimeError{kHandlerFailed, "AppleEvent handler failed.", s.application, s.span};
        return SimEventDescriptor::objectSpecifier();
    }

    std::shared_ptr<EventDescriptor> moveToTrash(const as::Statement& s) {
        const as::Expr item = resolve(s.value);
        if (item.kind != as::Expr::Kind::PosixFile)
            throw RuntimeError{kCantGet, "Can’t get " + describeForMessage(item) + ".",
                               s.application, s.span};
        if (!scripting_.moveToTrash(item.text))
            throw RuntimeError{kCantGet, "Can’t get POSIX file " + literal(item.text) + ".",
                               s.application, s.span};
        return SimEventDescriptor::objectSpecifier();
    }

    static std::string describeForMessage(const as::Expr& e) {
        switch (e.kind) {
            case as::Expr::Kind::Text:
                return literal(e.text);
            case as::Expr::Kind::Boolean:
                return e.flag ? "true" : "false";
            case as::Expr::Kind::Integer:
                return std::to_string(e.number);
            default:
                return "some object";
        }
    }

    // Variables replaced by their values. A value built from variables can grow with every
    // statement ("set a to {a, a}"), so its depth and size are bounded here as the compiler
    // bounds what is written.
    struct Resolved {
        as::Expr value;
        int depth = 0;
        std::size_t size = 1;
    };
    as::Expr resolve(const as::Expr& e) { return resolveBounded(e).value; }

    Resolved resolveBounded(const as::Expr& e) {
        if (e.kind == as::Expr::Kind::Variable) {
            auto it = variables_.find(e.text);
            if (it == variables_.end())
                throw RuntimeError{kUndefinedVariable,
                                   "The variable " + e.text + " is not defined.", "", e.span};
            return it->second;
        }
        Resolved out{e, 0, 1};
        auto take = [&](as::Expr& slot) {
            Resolved part = resolveBounded(slot);
            out.depth = std::max(out.depth, part.depth + 1);
            out.size += part.size;
            if (out.depth > as::kMaxNesting || out.size > kMaxValueSize)
                throw RuntimeError{kStackOverflow, "Stack overflow.", "", e.span};
            slot = std::move(part.value);
        };
        for (auto& field : out.value.fields) take(field.second);
        for (auto& item : out.value.items) take(item);
        return out;
    }

    static std::shared_ptr<EventDescriptor> describe(const as::Expr& e) {
        switch (e.kind) {
            case as::Expr::Kind::Text:
                return SimEventDescriptor::text(e.text);
            case as::Expr::Kind::Boolean:
                return SimEventDescriptor::boolean(e.flag);
            case as::Expr::Kind::Integer:
                return SimEventDescriptor::integer(e.number);
            case as::Expr::Kind::PosixFile:
                return SimEventDescriptor::fileUrl("file://" + e.text);
            case as::Expr::Kind::Record: {
                std::vector<std::shared_ptr<EventDescriptor>> values;
                for (const auto& field : e.fields) values.push_back(describe(field.second));
                return SimEventDescriptor::record(std::move(values));
            }
            case as::Expr::Kind::List: {
                std::vector<std::shared_ptr<EventDescriptor>> items;
                for (const auto& item : e.items) items.push_back(describe(item));
                return SimEventDescriptor::list(std::move(items));
            }
            case as::Expr::Kind::Variable:
                break;
        }
        return SimEventDescriptor::null();
    }

    SimAppleScripting& scripting_;
    std::map<std::string, Resolved> variables_;
};

class SimAppleScript : public AppleScript {
  public:
    SimAppleScript(SimAppleScripting& scripting, std::string source)
        : scripting_(scripting), source_(std::move(source)) {}

    std::shared_ptr<EventDescriptor> executeAndReturnError(Dictionary* errorInfo) override {
        scripting_.recordRun(source_);
        auto compiled = as::compile(source_);
        if (auto* syntax = std::get_if<as::SyntaxError>(&compiled)) {
            fail(errorInfo, kSyntaxError, syntax->message, "", syntax->span);
            return nullptr;
        }
        try {
            return Interpreter(scripting_).run(std::get<as::Script>(compiled).statements);
        } catch (const RuntimeError& error) {
            fail(errorInfo, error.number, error.brief, error.appName, error.span, error.fromSystem);
            return nullptr;
        }
    }

  private:
    void fail(Dictionary* errorInfo, long number, const std::string& brief,
              const std::string& appName, as::Span span, bool fromSystem = false) const {
        if (!errorInfo) return;
        const std::size_t start = utf16Units(source_, span.begin);
        const std::size_t end = utf16Units(source_, span.end);
        *errorInfo = appleScriptError(number, brief, appName, start, end - start);
        if (fromSystem) (*errorInfo)[Value("NSAppleScriptErrorMessage")] = Value(brief);
    }

    SimAppleScripting& scripting_;
    std::string source_;
};

}  // namespace

Dictionary appleScriptError(long number, const std::string& brief, const std::string& appName,
                            std::size_t rangeStart, std::size_t rangeLength) {
    Dictionary error;
    error[Value("NSAppleScriptErrorNumber")] = Value(std::int64_t(number));
    error[Value("NSAppleScriptErrorBriefMessage")] = Value(brief);
    error[Value("NSAppleScriptErrorMessage")] =
        Value(appName.empty() ? brief : appName + " got an error: " + brief);
    if (!appName.empty()) error[Value("NSAppleScriptErrorAppName")] = Value(appName);
    error[Value("NSAppleScriptErrorRange")] =
        Value("NSRange: {" + std::to_string(rangeStart) + ", " + std::to_string(rangeLength) + "}");
    return error;
}

SimAppleScripting::SimAppleScripting(SimSystemEvents& systemEvents, TrashMover trash,
                                     Consent consent)
    : systemEvents_(systemEvents), trash_(std::move(trash)), consent_(std::move(consent)) {}

bool SimAppleScripting::mayControl(const std::string& application) {
    return !consent_ || consent_(application);
}

std::unique_ptr<AppleScript> SimAppleScripting::scriptWithSource(const std::string& source) {
    if (!validUtf8(source)) return nullptr;
    return std::make_unique<SimAppleScript>(*this, source);
}

std::vector<SimAppleScripting::Run> SimAppleScripting::runs() const {
    std::lock_guard lock(mutex_);
    return runs_;
}

std::optional<std::string> SimAppleScripting::moveToTrash(const std::string& macPath) {
    if (!trash_) return std::nullopt;
    return trash_(macPath);
}

void SimAppleScripting::recordRun(const std::string& source) {
    std::lock_guard lock(mutex_);
    if (runs_.size() >= 256) runs_.erase(runs_.begin());
    runs_.push_back({source, std::this_thread::get_id()});
}

}  // namespace tidra::sim
