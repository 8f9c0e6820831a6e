#include "sim/interface/description_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>

namespace tidra::sim {
namespace {

using nlohmann::json;

// Far deeper than a description goes, and far shallower than what would exhaust the stack.
constexpr int kDeepest = 256;

std::optional<Value> toValue(const json& node, int depth) {
    if (depth > kDeepest) return std::nullopt;
    switch (node.type()) {
        case json::value_t::null:
            return Value::null();
        case json::value_t::boolean:
            return Value(node.get<bool>());
        case json::value_t::number_integer:
            return Value(node.get<std::int64_t>());
        case json::value_t::number_unsigned: {
            // Beyond the integers a number object holds, NSJSONSerialization answers a double.
            const auto u = node.get<std::uint64_t>();
            if (u > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
                return Value(double(u));
            return Value(std::int64_t(u));
        }
        case json::value_t::number_float:
            return Value(node.get<double>());
        case json::value_t::string:
            return Value(node.get<std::string>());
        case json::value_t::array: {
            Array array;
            for (const json& element : node) {
                auto v = toValue(element, depth + 1);
                if (!v) return std::nullopt;
                array.push_back(std::move(*v));
            }
            return Value(std::move(array));
        }
        case json::value_t::object: {
            Dictionary dictionary;
            for (const auto& [key, element] : node.items()) {
                auto v = toValue(element, depth + 1);
                if (!v) return std::nullopt;
                dictionary.emplace(Value(key), std::move(*v));
            }
            return Value(std::move(dictionary));
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<Value> readDescriptionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return parseDescription(std::string(std::istreambuf_iterator<char>(in), {}));
}

std::optional<Value> parseDescription(const std::string& text) {
    const json document = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!document.is_object()) return std::nullopt;
    return toValue(document, 0);
}

}  // namespace tidra::sim
