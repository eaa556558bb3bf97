// How fast the song renders: the span renderer the callback uses, the per-sample loop that
// defines every sample, and memset of the same bytes as the floor that memory sets.
//
// Each iteration renders the whole song from fresh voices in the callback's 22050-byte blocks
// into one block buffer, as playback does. After Google Benchmark's own table, a summary gives
// samples per second for each (medians, when run with repetitions) and the ratios between them.
#include "fill_stream.hpp"
#include "renderer.hpp"
#include "song.hpp"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int BLOCK_SAMPLES = STREAM_BUFFER_BYTES / 2;
constexpr int SONG_BLOCKS = 116;
constexpr std::int64_t SONG_SAMPLES_IN_BLOCKS = std::int64_t{SONG_BLOCKS} * BLOCK_SAMPLES;

using Renderer = void (*)(Voice&, Track, Voice&, Track, std::int16_t*, int);

template <Renderer render>
void render_song(benchmark::State& state) {
    std::vector<std::int16_t> block(BLOCK_SAMPLES);
    for (auto _ : state) {
        Voice voice1;
        Voice voice2;
        for (int i = 0; i < SONG_BLOCKS; ++i) {
            render(voice1, track1, voice2, track2, block.data(), BLOCK_SAMPLES);
            benchmark::DoNotOptimize(block.data());
            benchmark::ClobberMemory();
        }
        if (voice1.active || voice2.active) {
            state.SkipWithError("the song did not end in 116 blocks");
        }
    }
    state.SetItemsProcessed(state.iterations() * SONG_SAMPLES_IN_BLOCKS);
}

void memset_song(benchmark::State& state) {
    std::vector<std::int16_t> block(BLOCK_SAMPLES);
    for (auto _ : state) {
        for (int i = 0; i < SONG_BLOCKS; ++i) {
            std::memset(block.data(), i, STREAM_BUFFER_BYTES);
            benchmark::DoNotOptimize(block.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * SONG_SAMPLES_IN_BLOCKS);
}

BENCHMARK(render_song<render_spans>)->Name("a_span_renderer")->Unit(benchmark::kMicrosecond);
BENCHMARK(render_song<render_samples>)->Name("b_per_sample_loop")->Unit(benchmark::kMicrosecond);
BENCHMARK(memset_song)->Name("c_memset")->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's samples per second: the median when there are repetitions.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const std::string name = run.run_name.function_name;
            if ((median || (run.run_type == Run::RT_Iteration && !medians_.contains(name))) &&
                run.counters.contains("items_per_second")) {
                rates_[name] = run.counters.at("items_per_second");
                if (median) {
                    medians_[name] = true;
                }
            }
        }
    }

    void print_summary() const {
        std::printf("\nsamples per second%s:\n", medians_.empty() ? "" : " (medians)");
        for (const auto& [name, rate] : rates_) {
            std::printf("  %-18s %14.0f\n", name.c_str(), rate);
        }
        const double a = rate("a_span_renderer");
        const double b = rate("b_per_sample_loop");
        const double c = rate("c_memset");
        if (a > 0 && b > 0 && c > 0) {
            std::printf("a/b: %.1f (span renderer over the per-sample loop; goal at least 10)\n",
                        a / b);
            std::printf("a/c: %.3f (span renderer over memset; goal at least 0.1)\n", a / c);
        }
    }

  private:
    double rate(const std::string& name) const {
        const auto found = rates_.find(name);
        return found != rates_.end() ? found->second : 0.0;
    }

    std::map<std::string, double> rates_;
    std::map<std::string, bool> medians_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.print_summary();
    return 0;
}
