// Cookie merging, member dedupe and percent-encoding on inputs far larger
// than a site ever sends, to show that none of them grows quadratically.
#include <benchmark/benchmark.h>

#include <string>

#include "http/cookies.h"
#include "text/codepage.h"

namespace {

constexpr int cookie_count = 20000;
constexpr int encode_size = 1 << 20;

// count name=value members joined by "; ", named from first on.
Text cookie_text(int first, int count) {
    Text text;
    for (int i = first; i < first + count; ++i) {
        text += "name" + std::to_string(i) + "=value" + std::to_string(i) + "; ";
    }
    return text;
}

void BM_CookiesMerge(benchmark::State& state) {
    // Half of the incoming names override current ones, and every tenth
    // incoming member is a deletion.
    const Text current = cookie_text(0, cookie_count);
    Text incoming;
    for (int i = cookie_count / 2; i < cookie_count / 2 + cookie_count; ++i) {
        incoming += "name" + std::to_string(i) + (i % 10 == 0 ? "=deleted; " : "=new; ");
    }
    for (auto _ : state) {
        Text c = current;
        Text in = incoming;
        benchmark::DoNotOptimize(cookies_merge(c, in));
    }
    state.SetItemsProcessed(state.iterations() * cookie_count * 2);
}
BENCHMARK(BM_CookiesMerge)->Unit(benchmark::kMillisecond);

void BM_DedupeJoined(benchmark::State& state) {
    // Every member twice.
    Text joined = cookie_text(0, cookie_count / 2) + cookie_text(0, cookie_count / 2);
    joined.resize(joined.size() - 2);
    for (auto _ : state) benchmark::DoNotOptimize(dedupe_joined(joined, "; "));
    state.SetItemsProcessed(state.iterations() * cookie_count);
}
BENCHMARK(BM_DedupeJoined)->Unit(benchmark::kMillisecond);

void BM_PercentEncode(benchmark::State& state) {
    Bytes source(encode_size);
    for (int i = 0; i < encode_size; ++i) source[i] = static_cast<std::uint8_t>(i * 131 + 7);
    const bool keep_plain = state.range(0) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(percent_encode(source, keep_plain));
    state.SetBytesProcessed(state.iterations() * encode_size);
}
BENCHMARK(BM_PercentEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
