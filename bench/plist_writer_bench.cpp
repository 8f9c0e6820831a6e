// The binary property-list writer and reader on lists of every kind of value (dates, UIDs,
// unsigned numbers past the signed range, text with NUL and characters past the BMP, nesting),
// from a thousand to a million values written (a hundred thousand read: a million makes a file
// past the 64 MB the readers take): the fitted complexity must be linear, so that a domain of any
// size is written in time proportional to its file.
#include <benchmark/benchmark.h>

#include "../tests/plist_generator.h"
#include "sim/formats/plist_value.h"

namespace tidra {
namespace {

// `n` generated values under one dictionary, each under a key of its own.
Value listOf(std::int64_t n) {
    testing::PlistGenerator generate{static_cast<std::uint64_t>(n)};
    Dictionary d;
    for (std::int64_t i = 0; i < n; ++i)
        d[Value("k" + std::to_string(i) + generate.text(true))] = generate.value(1);
    return Value(std::move(d));
}

void BM_WriteEveryKindOfValue(benchmark::State& state) {
    const Value list = listOf(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto written = sim::toBinaryPlist(list);
        bytes = written ? written->size() : 0;
        benchmark::DoNotOptimize(written);
    }
    state.SetComplexityN(state.range(0));
    state.SetLabel(std::to_string(bytes / 1000) + " kB");
}
BENCHMARK(BM_WriteEveryKindOfValue)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ReadEveryKindOfValue(benchmark::State& state) {
    const auto bytes = sim::toBinaryPlist(listOf(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(sim::parsePlist(*bytes));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadEveryKindOfValue)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace tidra
