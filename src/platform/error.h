// NSError: a domain, a code and the texts the logic writes to the console.
#pragma once

#include <optional>
#include <string>

namespace tidra {

struct Error {
    std::string domain;
    long code = 0;
    std::string localizedDescription;
    // The platform's description: "Error Domain=D Code=C \"text\"".
    std::string description() const {
        return "Error Domain=" + domain + " Code=" + std::to_string(code) + " \"" +
               localizedDescription + "\"";
    }
};

// The error out-parameter of the platform: filled on failure.
using ErrorOut = std::optional<Error>*;

}  // namespace tidra
