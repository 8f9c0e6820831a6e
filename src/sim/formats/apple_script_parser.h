// The AppleScript compiler of the simulated Mac: the small part of the language that scripts
// sent to System Events and Finder use. A script is compiled whole before any of it runs, so a
// syntax error anywhere means nothing happens. Input of any shape yields either a script or a
// syntax error; nesting is bounded so that no input can exhaust the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tidra::sim::applescript {

// Byte offsets into the source.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct Expr {
    // Declared here, defined where Expr is complete: clang would otherwise need the pair in
    // `fields` complete while Expr itself is still being defined.
    Expr();
    enum class Kind { Text, Boolean, Integer, PosixFile, Variable, Record, List };
    Kind kind = Kind::Text;
    std::string text;  // Text, PosixFile (the path), Variable (the name, lower case)
    bool flag = false;
    std::int64_t number = 0;
    std::vector<std::pair<std::string, Expr>> fields;  // Record: keys in lower case
    std::vector<Expr> items;                           // List
    Span span;
};

// The properties of a login item that a script can ask for.
enum class LoginItemProperty { Name, Path, Hidden };

struct Statement {
    enum class Kind { Tell, Set, GetLoginItems, DeleteLoginItem, MakeLoginItem, MoveToTrash };
    Kind kind = Kind::Tell;
    Span span;
    std::string application;      // Tell: as written; commands: their target
    std::vector<Statement> body;  // Tell
    std::string variable;         // Set (lower case)
    Expr value;  // Set: the value; Delete: the name; Make: the properties; Move: the item
    LoginItemProperty property = LoginItemProperty::Name;  // GetLoginItems
};

struct Script {
    std::vector<Statement> statements;
};

struct SyntaxError {
    std::string message;
    Span span;
};

// Tells and records deeper than this are refused as a syntax error.
inline constexpr int kMaxNesting = 32;

std::variant<Script, SyntaxError> compile(const std::string& source);

}  // namespace tidra::sim::applescript
