#include "sim/formats/apple_script_parser.h"

#include <optional>

#include "text/ascii.h"

namespace tidra::sim::applescript {

Expr::Expr() = default;

namespace {

struct Token {
    enum class Kind { Word, String, Number, Punct, Newline, End };
    Kind kind = Kind::End;
    std::string text;  // Word: lower case; String: decoded; Punct: the character
    std::int64_t number = 0;
    Span span;
};

struct Failure {
    SyntaxError error;
};

bool isWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isWordChar(char c) {
    return isWordStart(c) || (c >= '0' && c <= '9');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The continuation character "¬" in UTF-8.
constexpr char kContinuation0 = char(0xC2);
constexpr char kContinuation1 = char(0xAC);

class Lexer {
  public:
    explicit Lexer(const std::string& source) : s_(source) {}

    std::vector<Token> run() {
        std::vector<Token> out;
        while (true) {
            skipBlanks();
            if (i_ >= s_.size()) break;
            const std::size_t start = i_;
            const char c = s_[i_];
            if (c == '\n' || c == '\r') {
                ++i_;
                if (out.empty() || out.back().kind != Token::Kind::Newline)
                    out.push_back({Token::Kind::Newline, "", 0, {start, i_}});
            } else if (c == '"') {
                out.push_back(string());
            } else if (isWordStart(c)) {
                std::string word;
                while (i_ < s_.size() && isWordChar(s_[i_])) word += asciiLower(s_[i_++]);
                out.push_back({Token::Kind::Word, word, 0, {start, i_}});
            } else if (isDigit(c)) {
                out.push_back(number());
            } else if (c == '{' || c == '}' || c == ':' || c == ',' || c == '(' || c == ')') {
                ++i_;
                out.push_back({Token::Kind::Punct, std::string(1, c), 0, {start, i_}});
            } else {
                fail("Expected expression but found unknown token.", start, start + 1);
            }
        }
        out.push_back({Token::Kind::End, "", 0, {s_.size(), s_.size()}});
        return out;
    }

  private:
    [[noreturn]] void fail(const std::string& message, std::size_t begin, std::size_t end) {
        throw Failure{{message, {begin, end}}};
    }

    bool at(std::size_t k, char c) const { return k < s_.size() && s_[k] == c; }

    // Spaces, tabs, comments and line continuations; line ends are tokens.
    void skipBlanks() {
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
                ++i_;
            } else if (c == '#' || (c == '-' && at(i_ + 1, '-'))) {
                while (i_ < s_.size() && s_[i_] != '\n' && s_[i_] != '\r') ++i_;
            } else if (c == '(' && at(i_ + 1, '*')) {
                blockComment();
            } else if (c == kContinuation0 && at(i_ + 1, kContinuation1)) {
                const std::size_t start = i_;
                i_ += 2;
                while (at(i_, ' ') || at(i_, '\t')) ++i_;
                if (at(i_, '\r')) ++i_;
                if (at(i_, '\n')) {
                    ++i_;
                } else if (i_ < s_.size()) {
                    fail("Expected end of line but found unknown token.", start, start + 2);
                }
            } else {
                return;
            }
        }
    }

    // "(* ... *)", nested to any depth: a counter, not recursion.
    void blockComment() {
        const std::size_t start = i_;
        std::size_t depth = 0;
        while (i_ < s_.size()) {
            if (s_[i_] == '(' && at(i_ + 1, '*')) {
                ++depth;
                i_ += 2;
            } else if (s_[i_] == '*' && at(i_ + 1, ')')) {
                i_ += 2;
                if (--depth == 0) return;
            } else {
                ++i_;
            }
        }
        fail("Expected “*)” but found end of script.", start, s_.size());
    }

    Token string() {
        const std::size_t start = i_++;
        std::string text;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '"') {
                ++i_;
                return {Token::Kind::String, text, 0, {start, i_}};
            }
            if (c != '\\') {
                text += c;
                ++i_;
                continue;
            }
            if (i_ + 1 >= s_.size()) break;
            switch (s_[i_ + 1]) {
                case '"':
                    text += '"';
                    break;
                case '\\':
                    text += '\\';
                    break;
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                default:
                    fail("Expected “\"” but found unknown token.", i_, i_ + 2);
            }
            i_ += 2;
        }
        fail("Expected “\"” but found end of script.", start, s_.size());
    }

    Token number() {
        const std::size_t start = i_;
        std::int64_t value = 0;
        while (i_ < s_.size() && isDigit(s_[i_])) {
            if (value > (INT64_MAX - 9) / 10) fail("Number too large.", start, i_ + 1);
            value = value * 10 + (s_[i_] - '0');
            ++i_;
        }
        if (i_ < s_.size() && isWordStart(s_[i_]))
            fail("Expected end of line but found identifier.", start, i_ + 1);
        return {Token::Kind::Number, "", value, {start, i_}};
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    Script script() {
        Script out;
        skipNewlines();
        while (peek().kind != Token::Kind::End) {
            out.statements.push_back(statement("", 0));
            endOfStatement();
        }
        return out;
    }

  private:
    const Token& peek(std::size_t ahead = 0) const {
        const std::size_t k = i_ + ahead;
        return k < t_.size() ? t_[k] : t_.back();
    }
    const Token& next() {
        const Token& tok = peek();
        if (i_ < t_.size() - 1) ++i_;
        return tok;
    }
    bool isWord(const char* word, std::size_t ahead = 0) const {
        const Token& tok = peek(ahead);
        return tok.kind == Token::Kind::Word && tok.text == word;
    }
    bool isPunct(char c) const { return peek().kind == Token::Kind::Punct && peek().text[0] == c; }
    bool acceptWord(const char* word) {
        if (!isWord(word)) return false;
        next();
        return true;
    }

    static std::string describe(const Token& tok) {
        switch (tok.kind) {
            case Token::Kind::Word:
                return "identifier";
            case Token::Kind::String:
                return "“\"”";
            case Token::Kind::Number:
                return "number";
            case Token::Kind::Punct:
                return "“" + tok.text + "”";
            case Token::Kind::Newline:
                return "end of line";
            case Token::Kind::End:
                return "end of script";
        }
        return "unknown token";
    }

    [[noreturn]] void expected(const std::string& what) const {
        const Token& tok = peek();
        throw Failure{{"Expected " + what + " but found " + describe(tok) + ".", tok.span}};
    }

    void expectWord(const char* word) {
        if (!acceptWord(word)) expected(std::string("“") + word + "”");
    }

    void skipNewlines() {
        while (peek().kind == Token::Kind::Newline) next();
    }

    void endOfStatement() {
        if (peek().kind == Token::Kind::End) return;
        if (peek().kind != Token::Kind::Newline) expected("end of line");
        skipNewlines();
    }

    Span from(std::size_t begin) const {
        const std::size_t last = i_ == 0 ? 0 : i_ - 1;
        return {begin, t_[last].span.end < begin ? begin : t_[last].span.end};
    }

    Statement statement(const std::string& target, int depth) {
        if (isWord("tell")) return tell(depth);
        if (isWord("set")) return set(depth);
        return command(target, depth);
    }

    Statement tell(int depth) {
        const std::size_t begin = next().span.begin;
        if (depth >= kMaxNesting) throw Failure{{"Too many nested tell blocks.", from(begin)}};
        if (!acceptWord("application") && !acceptWord("app")) expected("“application”");
        if (peek().kind != Token::Kind::String) expected("application name");
        Statement out;
        out.kind = Statement::Kind::Tell;
        out.application = next().text;
        if (acceptWord("to")) {
            out.body.push_back(statement(out.application, depth + 1));
        } else {
            if (peek().kind != Token::Kind::Newline) expected("“to” or end of line");
            skipNewlines();
            while (!isWord("end")) {
                if (peek().kind == Token::Kind::End) expected("“end tell”");
                out.body.push_back(statement(out.application, depth + 1));
                if (peek().kind != Token::Kind::Newline) expected("end of line");
                skipNewlines();
            }
            next();
            acceptWord("tell");
        }
        out.span = from(begin);
        return out;
    }

    Statement set(int depth) {
        const std::size_t begin = next().span.begin;
        if (peek().kind != Token::Kind::Word || reserved(peek().text)) expected("variable name");
        Statement out;
        out.kind = Statement::Kind::Set;
        out.variable = next().text;
        expectWord("to");
        out.value = expr(depth);
        out.span = from(begin);
        return out;
    }

    static bool reserved(const std::string& w) {
        for (const char* r : {"tell", "set", "to", "end", "of", "the", "every", "true", "false",
                              "get", "delete", "make", "move", "at", "with", "application"})
            if (w == r) return true;
        return false;
    }

    // The terms of a command come from the target's dictionary: "login item" only means
    // something to System Events and "trash" only to Finder.
    Statement command(const std::string& target, int depth) {
        const std::string app = asciiLower(target);
        if (app == "system events") return systemEventsCommand(target, depth);
        if (app == "finder" && isWord("move")) return finderMove(target, depth);
        expected("end of line, etc.");
    }

    void expectLoginItem() {
        expectWord("login");
        expectWord("item");
    }

    Statement systemEventsCommand(const std::string& target, int depth) {
        const std::size_t begin = peek().span.begin;
        Statement out;
        out.application = target;
        if (isWord("delete")) {
            next();
            expectLoginItem();
            out.kind = Statement::Kind::DeleteLoginItem;
            out.value = expr(depth);
        } else if (isWord("make")) {
            next();
            acceptWord("new");
            expectLoginItem();
            expectWord("at");
            expectWord("end");
            if (acceptWord("of")) {
                expectWord("login");
                expectWord("items");
            }
            expectWord("with");
            expectWord("properties");
            out.kind = Statement::Kind::MakeLoginItem;
            out.value = expr(depth);
        } else {
            acceptWord("get");
            acceptWord("the");
            out.kind = Statement::Kind::GetLoginItems;
            if (acceptWord("name")) {
                out.property = LoginItemProperty::Name;
            } else if (acceptWord("path")) {
                out.property = LoginItemProperty::Path;
            } else if (acceptWord("hidden")) {
                out.property = LoginItemProperty::Hidden;
            } else {
                expected("expression");
            }
            expectWord("of");
            expectWord("every");
            expectLoginItem();
        }
        out.span = from(begin);
        return out;
    }

    Statement finderMove(const std::string& target, int depth) {
        const std::size_t begin = next().span.begin;
        Statement out;
        out.kind = Statement::Kind::MoveToTrash;
        out.application = target;
        out.value = expr(depth);
        expectWord("to");
        acceptWord("the");
        expectWord("trash");
        out.span = from(begin);
        return out;
    }

    Expr expr(int depth) {
        if (depth >= kMaxNesting) throw Failure{{"Expression too deeply nested.", peek().span}};
        Expr out;
        const std::size_t begin = peek().span.begin;
        const Token& tok = peek();
        if (tok.kind == Token::Kind::String) {
            out.kind = Expr::Kind::Text;
            out.text = next().text;
        } else if (tok.kind == Token::Kind::Number) {
            out.kind = Expr::Kind::Integer;
            out.number = next().number;
        } else if (isWord("true") || isWord("false")) {
            out.kind = Expr::Kind::Boolean;
            out.flag = next().text == "true";
        } else if (isWord("posix") && isWord("file", 1)) {
            next();
            next();
            if (peek().kind != Token::Kind::String) expected("“\"”");
            out.kind = Expr::Kind::PosixFile;
            out.text = next().text;
        } else if (isPunct('(')) {
            next();
            out = expr(depth + 1);
            if (!isPunct(')')) expected("“)”");
            next();
        } else if (isPunct('{')) {
            out = collection(depth + 1);
        } else if (tok.kind == Token::Kind::Word && !reserved(tok.text)) {
            out.kind = Expr::Kind::Variable;
            out.text = next().text;
        } else {
            expected("expression");
        }
        out.span = from(begin);
        return out;
    }

    // "{}" and "{a, b}" are lists; "{key:value, ...}" is a record.
    Expr collection(int depth) {
        next();
        Expr out;
        out.kind = Expr::Kind::List;
        if (isPunct('}')) {
            next();
            return out;
        }
        const bool record = peek().kind == Token::Kind::Word &&
                            peek(1).kind == Token::Kind::Punct && peek(1).text == ":";
        if (record) out.kind = Expr::Kind::Record;
        while (true) {
            if (record) {
                if (peek().kind != Token::Kind::Word) expected("property label");
                std::string key = next().text;
                if (!isPunct(':')) expected("“:”");
                next();
                out.fields.emplace_back(std::move(key), expr(depth));
            } else {
                out.items.push_back(expr(depth));
            }
            if (isPunct('}')) break;
            if (!isPunct(',')) expected("“,” or “}”");
            next();
        }
        next();
        return out;
    }

    std::vector<Token> t_;
    std::size_t i_ = 0;
};

}  // namespace

std::variant<Script, SyntaxError> compile(const std::string& source) {
    try {
        return Parser(Lexer(source).run()).script();
    } catch (const Failure& failure) {
        return failure.error;
    }
}

}  // namespace tidra::sim::applescript
