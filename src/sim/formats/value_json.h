// Property-list values as JSON, for the front end: data as {"data": base64}, URLs as strings.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/value.h"

namespace tidra::sim {

nlohmann::json valueToJson(const Value& v);
std::string base64(const Data& d);

}  // namespace tidra::sim
