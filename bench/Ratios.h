// Ratios: what the benchmark programs that measure the engine against SDL share — a case is an
// engine step and the SDL step it is held against; both are registered with Google Benchmark,
// and after its usual table the engine/SDL ratio of every case is printed with its target.
// Runs are repeated in random interleaving and the medians compared, so that a machine busy
// with other work disturbs both sides alike.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct RatioCase {
    std::string Name;
    double Target;  // the highest engine/SDL ratio that meets the goal
    std::function<void()> Engine;
    std::function<void()> Sdl;
};

// One line of the table: a measure of the engine and of SDL, and the highest engine/SDL ratio
// that meets the goal (0: shown for information, no goal).
struct RatioRow {
    std::string Name;
    double Engine;
    double Sdl;
    double Target;
};

inline void PrintRatioRows(const std::vector<RatioRow>& rows) {
    std::printf("\n%-55s %12s %12s %8s %8s\n", "case", "engine", "SDL", "ratio", "target");
    for (const RatioRow& row : rows) {
        const double ratio = row.Engine / row.Sdl;
        if (row.Target > 0) {
            std::printf("%-55s %12.1f %12.1f %8.2f %6s%g %s\n", row.Name.c_str(), row.Engine, row.Sdl, ratio, "<=",
                        row.Target, ratio <= row.Target ? "ok" : "MISSED");
        } else {
            std::printf("%-55s %12.1f %12.1f %8.2f %8s\n", row.Name.c_str(), row.Engine, row.Sdl, ratio, "-");
        }
    }
}

// Keeps every case's CPU time per iteration (less disturbed by a busy machine than wall time),
// the median of the repetitions when there are several, and prints engine/SDL ratios after the
// usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((median || run.run_type == Run::RT_Iteration) && !run.error_occurred) {
                FTimes[run.run_name.str()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // CPU time per iteration of one side ("engine" or "SDL") of a case; 0 if it did not run.
    double Time(const RatioCase& c, const char* side) const {
        const auto found = FTimes.find(c.Name + "/" + side);
        return found == FTimes.end() ? 0 : found->second;
    }

    void PrintRatios(const std::vector<RatioCase>& cases) const {
        std::vector<RatioRow> rows;
        for (const RatioCase& c : cases) {
            const double engine = Time(c, "engine");
            const double sdl = Time(c, "SDL");
            if (engine != 0 && sdl != 0) {
                rows.push_back({c.Name, engine, sdl, c.Target});
            }
        }
        PrintRatioRows(rows);
    }

private:
    std::map<std::string, double> FTimes;
};

// Registers both steps of every case, runs them and prints the ratios; the times stay readable
// in the reporter afterwards.
inline void RunRatioBenchmarks(int argc, char** argv, const std::vector<RatioCase>& cases, RatioReporter& reporter) {
    for (const RatioCase& c : cases) {
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
    // Defaults first: flags given on the command line come later and win.
    std::vector<char*> arguments{argv[0]};
    char repetitions[] = "--benchmark_repetitions=5";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.end(), {repetitions, interleaving, aggregates});
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(cases);
    benchmark::Shutdown();
}

// The same, as a benchmark program's whole work; its result.
inline int RunRatioBenchmarks(int argc, char** argv, const std::vector<RatioCase>& cases) {
    RatioReporter reporter;
    RunRatioBenchmarks(argc, argv, cases, reporter);
    return 0;
}
