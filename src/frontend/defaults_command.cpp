#include "frontend/defaults_command.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "frontend/frontend.h"
#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace {

// As the defaults tool reports a change the preferences daemon could not write.
constexpr const char* kNotStored = "could not store the change on the disk; see `log`";

std::string canonicalDomain(const std::string& d) {
    return d == "-g" ? kGlobalDomain : d;
}

// The defaults tool's rendering of a value.
std::string defaultsText(const Value& v) {
    if (v.kind() == Value::Kind::Boolean) return v.boolValue() ? "1" : "0";
    if (v.isString()) return v.string();
    return v.description();
}

// `defaults write -int`: a whole number a property list's integer holds, or a usage error.
// strtoll alone would take "12abc" in part and store the nearest limit for one out of range.
std::int64_t wholeNumber(const std::string& text) {
    const bool digits = !text.empty() &&
                        text.find_first_not_of("0123456789", text[0] == '-' || text[0] == '+') ==
                            std::string::npos &&
                        text.find_first_of("0123456789") != std::string::npos;
    if (!digits) throw CommandError{"-int takes a whole number, not " + text};
    errno = 0;
    char* end = nullptr;
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0')
        throw CommandError{"-int takes a whole number from " +
                           std::to_string(std::numeric_limits<std::int64_t>::min()) + " to " +
                           std::to_string(std::numeric_limits<std::int64_t>::max()) + ", not " +
                           text};
    return n;
}

// The value of `defaults write DOMAIN KEY TYPE TEXT`, or a usage error.
Value typedValue(const Frontend& f, const std::string& type, const std::string& text) {
    if (type == "-bool" || type == "-boolean") {
        if (text == "true" || text == "YES" || text == "yes" || text == "1") return Value(true);
        if (text == "false" || text == "NO" || text == "no" || text == "0") return Value(false);
        f.usageError("-bool takes true, false, yes, no, 1 or 0");
    }
    if (type == "-int" || type == "-integer") return Value(wholeNumber(text));
    if (type == "-string") {
        // A property list holds text only; the bytes would be lost on the way.
        if (!isStorableText(text)) f.usageError("-string takes UTF-8 text without NUL bytes");
        return Value(text);
    }
    f.usageError("unknown value type " + type);
}

void readDefaults(Frontend& f, const std::vector<std::string>& w) {
    Value all = f.mac().prefs().domainSnapshot(canonicalDomain(w[2]));
    if (w.size() == 3) {
        if (all.dictionary().empty())
            f.out() << "Domain " << w[2] << " does not exist\n";
        else
            f.out() << all.description() << "\n";
        return;
    }
    Value v = all[Value(w[3])];
    if (v.isNil())
        f.out() << "The domain/default pair of (" << w[2] << ", " << w[3] << ") does not exist\n";
    else
        f.out() << defaultsText(v) << "\n";
}

void writeDefault(Frontend& f, const std::string& domain, const std::string& key,
                  const Value& value) {
    SimPreferences& prefs = f.mac().prefs();
    f.mac().intoTidra([&] { prefs.writeFromOutside(domain, key, value); });
    if (!prefs.flushAll()) throw CommandError{kNotStored};
}

// As the defaults tool: the words after -array are the array's strings.
void writeDefaultsArray(Frontend& f, const std::vector<std::string>& w) {
    if (!isStorableText(w[3])) f.usageError("KEY must be UTF-8 text without NUL bytes");
    Array items;
    for (size_t i = 5; i < w.size(); ++i) {
        if (!isStorableText(w[i])) f.usageError("-array takes UTF-8 text without NUL bytes");
        items.push_back(Value(w[i]));
    }
    writeDefault(f, canonicalDomain(w[2]), w[3], Value(items));
}

void writeDefaultsValue(Frontend& f, const std::vector<std::string>& w) {
    if (!isStorableText(w[3])) f.usageError("KEY must be UTF-8 text without NUL bytes");
    writeDefault(f, canonicalDomain(w[2]), w[3], typedValue(f, w[4], w[5]));
}

void deleteDefaults(Frontend& f, const std::vector<std::string>& w) {
    const std::string domain = canonicalDomain(w[2]);
    SimPreferences& prefs = f.mac().prefs();
    if (w.size() == 4) {
        if (prefs.domainSnapshot(domain)[Value(w[3])].isNil()) {
            f.out() << "Domain (" << w[2] << ") not found.\nDefaults have not been changed.\n";
            return;
        }
        f.mac().intoTidra([&] { prefs.deleteFromOutside(domain, w[3]); });
    } else {
        Value all = prefs.domainSnapshot(domain);
        for (const auto& [k, val] : all.dictionary())
            if (k.isString())
                f.mac().intoTidra([&] { prefs.deleteFromOutside(domain, k.string()); });
    }
    if (!prefs.flushAll()) throw CommandError{kNotStored};
}

}  // namespace

void addDefaultsCommand(Frontend& f) {
    f.add("defaults",
          "defaults read DOMAIN [KEY] | defaults write DOMAIN KEY -bool|-int|-string VALUE | "
          "defaults write DOMAIN KEY -array [STRING...] | "
          "defaults delete DOMAIN [KEY]",
          [&f](const CommandLine& cl) {
              const auto& w = cl.words;
              if (w.size() < 3) f.usageError();
              const std::string& verb = w[1];
              if (verb == "read" && w.size() <= 4) return readDefaults(f, w);
              if (verb == "write" && w.size() >= 5 && w[4] == "-array")
                  return writeDefaultsArray(f, w);
              if (verb == "write" && w.size() == 6) return writeDefaultsValue(f, w);
              if (verb == "delete" && w.size() <= 4) return deleteDefaults(f, w);
              f.usageError();
          });
}

}  // namespace tidra::sim
