// `tidra`: starts the simulated Mac, launches Tidra in it and hands the keyboard (or a script)
// to the front end.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "about/companion_store.h"
#include "app/class_registry.h"
#include "frontend/frontend.h"
#include "sim/localizations.h"
#include "sim/mac.h"

namespace {

int usage() {
    std::cerr << "usage: tidra [--mac DIR] [--script FILE|-] "
                 "[--bundle-in downloads|applications|user-applications|dmg|nested|PATH] "
                 "[--system-version VERSION] [--language LANGUAGE]\n";
    return 2;
}

std::string defaultMacFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return std::string(state) + "/tidra/mac";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/state/tidra/mac";
}

}  // namespace

int main(int argc, char** argv) {
    tidra::sim::MacOptions options;
    options.root = defaultMacFolder();
    // Tidra.app runs Tidra, with the stand-in for its feedback framework.
    options.tidraProgram = tidra::makeTidraClasses;
    options.feedbackAddress = tidra::kFeedbackAddressPlaceholder;
    std::string script;
    bool hasScript = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc) return usage();
        std::string v = argv[++i];
        if (a == "--mac") {
            options.root = v;
        } else if (a == "--script") {
            script = v;
            hasScript = true;
        } else if (a == "--bundle-in") {
            options.bundleIn = v;
        } else if (a == "--system-version") {
            options.systemVersion = tidra::sim::parseSystemVersion(v);
            if (!options.systemVersion) {
                std::cerr << "tidra: --system-version " << tidra::sim::systemVersionRefusal(v)
                          << "\n";
                return 2;
            }
        } else if (a == "--language") {
            if (!tidra::sim::plausibleLanguage(v)) {
                std::cerr << "tidra: --language takes a language as macOS names it, such as de, "
                             "pt-BR or zh-Hant; \""
                          << v << "\" is none\n";
                return 2;
            }
            options.languages = {v};
        } else {
            return usage();
        }
    }
    const bool interactive = !hasScript && ::isatty(STDIN_FILENO);
    options.realTime = interactive;
    std::ifstream file;
    if (hasScript && script != "-") {
        file.open(script);
        if (!file) {
            std::cerr << "tidra: cannot read " << script << "\n";
            return 2;
        }
    }
    std::istream& in = hasScript && script != "-" ? static_cast<std::istream&>(file) : std::cin;

    // Whatever the disk holds, tidra ends with a message, never an uncaught exception.
    try {
        tidra::sim::Mac mac(options);
        tidra::sim::Frontend frontend(mac, std::cout);
        frontend.attach(in, interactive);
        frontend.launch();
        return interactive ? frontend.runInteractive(in) : frontend.runScript(in);
    } catch (const std::exception& e) {
        std::cout << std::flush;
        std::cerr << "tidra: " << e.what() << "\n";
        return 2;
    }
}
