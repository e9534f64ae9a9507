// Throughput of the scanning text primitives on large mixed ASCII and
// double-byte texts, beside std::string's own search on the same input.
// Each primitive is run on 1 MiB and 16 MiB: a linear one takes about
// sixteen times as long on the larger text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>

#include "text/text.h"

namespace {

constexpr char begin_marker[] = "#BEGIN-OF-TEXT#";
constexpr char end_marker[] = "#END-OF-TEXT#";

// Lines of ASCII words, code-page-936 characters, half- and full-width
// spaces, ending in CR LF; the markers stand only at the very start and end.
Text make_mixed_text(std::size_t size) {
    static const char* const words[] = {"Set-Cookie:", "path=/;", "user",     "id=1024", "OK",
                                        "qiandao",     "<br>",    "HTTP/1.1", "200"};
    std::mt19937 random(936);
    const std::size_t body = size - (sizeof end_marker - 1);
    Text text = begin_marker;
    for (Text piece;; piece.clear()) {
        switch (random() % 6) {
            case 0:
            case 1:
                piece = words[random() % std::size(words)];
                break;
            case 2:
            case 3:
                for (int n = 1 + random() % 6; n > 0; --n) {
                    piece += static_cast<char>(0xB0 + random() % 0x48);
                    piece += static_cast<char>(0xA1 + random() % 0x5E);
                }
                break;
            case 4:
                piece = random() % 4 == 0 ? "\xA1\xA1" : " ";
                break;
            default:
                piece = "\r\n";
                break;
        }
        if (text.size() + piece.size() > body) break;
        text += piece;
    }
    text.resize(body, 'x');
    return text + end_marker;
}

const Text& mixed_text(std::int64_t size) {
    static std::map<std::int64_t, Text> texts;
    auto found = texts.find(size);
    if (found == texts.end()) {
        found = texts.emplace(size, make_mixed_text(static_cast<std::size_t>(size))).first;
    }
    return found->second;
}

template <typename Run>
void measure(benchmark::State& state, Run run) {
    const Text& text = mixed_text(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(run(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_std_find(benchmark::State& state) {
    measure(state, [](const Text& text) { return text.find(end_marker); });
}

void BM_txt_find(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_find(text, end_marker); });
}

// A pattern that is absent but whose first byte stands on every line, so
// that the search cannot skip ahead on its first byte alone.
constexpr char absent_line[] = "\r\nHTTP/2";

void BM_std_find_frequent_first_byte(benchmark::State& state) {
    measure(state, [](const Text& text) { return text.find(absent_line); });
}

void BM_txt_find_frequent_first_byte(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_find(text, absent_line); });
}

void BM_txt_find_ignoring_case(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_find(text, "#end-of-text#", 1, true); });
}

void BM_std_rfind(benchmark::State& state) {
    measure(state, [](const Text& text) { return text.rfind(begin_marker); });
}

void BM_txt_find_last(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_find_last(text, begin_marker); });
}

// std::string's own find driving the same replacement and split, as the
// reference for what the allocations and copies alone cost.
void BM_std_replace(benchmark::State& state) {
    measure(state, [](const Text& text) {
        Text result;
        result.reserve(text.size());
        std::size_t copied = 0;
        for (std::size_t found; (found = text.find("\r\n", copied)) != Text::npos;) {
            result.append(text, copied, found - copied);
            result += "><br><";
            copied = found + 2;
        }
        result.append(text, copied, Text::npos);
        return result;
    });
}

void BM_std_split(benchmark::State& state) {
    measure(state, [](const Text& text) {
        TextList members;
        std::size_t begin = 0;
        for (std::size_t found; (found = text.find("\r\n", begin)) != Text::npos;) {
            members.emplace_back(text, begin, found - begin);
            begin = found + 2;
        }
        if (begin < text.size()) members.emplace_back(text, begin);
        return members;
    });
}

void BM_txt_replace(benchmark::State& state) {
    measure(state, [](const Text& text) {
        return txt_replace(text, "\r\n", "><br><", 1, txt_no_limit, true);
    });
}

void BM_txt_replace_ignoring_case(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_replace(text, "set-cookie", "Set-Cookie"); });
}

void BM_txt_split(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_split(text, "\r\n"); });
}

void BM_txt_strip_spaces(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_strip_spaces(text); });
}

void BM_txt_trim(benchmark::State& state) {
    measure(state, [](const Text& text) { return txt_trim(text); });
}

}  // namespace

BENCHMARK(BM_std_find)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_find)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_std_find_frequent_first_byte)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_find_frequent_first_byte)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_find_ignoring_case)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_std_rfind)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_find_last)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_std_replace)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_std_split)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_replace)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_replace_ignoring_case)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_split)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_strip_spaces)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_txt_trim)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);
