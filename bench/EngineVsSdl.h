// EngineVsSdl: what the benchmarks that measure the engine against SDL share — SDL views of the
// engine's surfaces, the cases (a name, a target ratio, the engine's and SDL's way of doing the
// same work), and a run that registers both sides of every case with Google Benchmark and prints,
// after its own output, the table "case  engine  SDL  ratio  target" from CPU times per iteration.
#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/display/DirectDrawSurface.h"

namespace bench {

struct SdlSurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

// An SDL view of the same pixels, keyed like the engine surface when asked.
inline SdlSurface Wrap(TDirectDrawSurface& surface, bool keyed) {
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(surface.Row(0), surface.Width(), surface.Height(), 16,
                                                           surface.Width() * 2, SDL_PIXELFORMAT_RGB565);
    if (view != nullptr) {
        SDL_SetColorKey(view, keyed ? SDL_TRUE : SDL_FALSE, surface.ColorKey());
    }
    return SdlSurface(view);
}

struct Case {
    std::string Name;
    double Target;  // the engine's time at most this many times SDL's
    std::function<void()> Engine;
    std::function<void()> Sdl;
};

// Keeps every run's CPU time per iteration (less disturbed by a busy machine than wall time).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                FTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // CPU time per iteration of one side of a case, in the benchmarks' unit; 0 if it did not run.
    double Time(const Case& c, const char* side) const {
        const auto found = FTimes.find(c.Name + "/" + side);
        return found == FTimes.end() ? 0 : found->second;
    }

    void PrintRatios(const std::vector<Case>& cases) const {
        std::printf("\n%-55s %12s %12s %8s %8s\n", "case", "engine", "SDL", "ratio", "target");
        for (const Case& c : cases) {
            const double engine = Time(c, "engine");
            const double sdl = Time(c, "SDL");
            if (engine == 0 || sdl == 0) {
                continue;
            }
            const double ratio = engine / sdl;
            std::printf("%-55s %12.1f %12.1f %8.2f %6s%.1f %s\n", c.Name.c_str(), engine, sdl, ratio, "<=", c.Target,
                        ratio <= c.Target ? "ok" : "MISSED");
        }
    }

private:
    std::map<std::string, double> FTimes;
};

// Registers "<case>/engine" and "<case>/SDL" for every case and runs them.
inline void RunCases(int argc, char** argv, const std::vector<Case>& cases, RatioReporter& reporter) {
    for (const Case& c : cases) {
        const auto run = [](std::function<void()> step) {
            return [step](benchmark::State& state) {
                for (auto _ : state) {
                    step();
                    benchmark::ClobberMemory();
                }
            };
        };
        benchmark::RegisterBenchmark((c.Name + "/engine").c_str(), run(c.Engine));
        benchmark::RegisterBenchmark((c.Name + "/SDL").c_str(), run(c.Sdl));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(cases);
    benchmark::Shutdown();
}

}  // namespace bench
