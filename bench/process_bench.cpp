// SPDX-License-Identifier: GPL-3.0-or-later
// Whole processes, each beside its floor in the same run: the database load of 99,999 draws
// (zg_load_process) against `wc -w` on the same file, the program's start-up with 99,999 draws
// (zg_startup_process) against the same start-up with an empty database, and `zentagrafo-cli
// import` of a 99,999-line results file ("1;01.10.1996;3,8,13,...") into an empty folder against
// `zentagrafo-cli info` on the database of the same draws; the analysis, ZENTAG and export
// reports of 99,999 draws against the same `info`, and `info` itself against `wc -w`. The import
// and the reports run in turn with `info`, which gives their ratios (counter x_info). The time of
// a run is the process's CPU time (user + system, from wait4), which other load on the machine
// changes less than the wall-clock time; that is shown beside it as a counter.
#include "FloorRatio.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The draws as a results site publishes them: "number;DD.MM.YYYY;n1,...,n20", one line each.
std::string ResultsFileBytes(const zg::SampleDatabase& sample) {
    std::string out;
    const auto two = [](std::int32_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    for (std::int32_t q = 1; q < static_cast<std::int32_t>(sample.draws.size()); ++q) {
        const zg::DrawRecord& d = sample.draws[static_cast<std::size_t>(q)];
        out += std::to_string(d.Number) + ';' + two(d.Day) + '.' + two(d.Month) + '.' + std::to_string(d.Year) + ';';
        for (int j = 0; j < 20; ++j)
            out += std::to_string(d.Numbers[j]) + (j < 19 ? ',' : '\n');
    }
    return out;
}

// Program folders in a temporary folder, removed at exit: one with a full database, one with an
// empty database file, and one without a database that a results file of the same draws is
// imported into.
struct Folders {
    fs::path root, full, empty, import, results;
    Folders() {
        root = fs::temp_directory_path() / ("zg-process-bench-" + std::to_string(std::random_device{}()));
        full = root / "full";
        empty = root / "empty";
        import = root / "import";
        results = root / "wyniki.csv";
        for (const fs::path& dir : {full, empty, import}) {
            fs::create_directories(dir / "TXT");
            fs::create_directories(dir / "ZESTAWY LICZB");
        }
        const zg::SampleDatabase sample =
            zg::GenerateSampleDatabase(zg::MaxDraws, 20240601u, zg::SampleLayout::YearFirst);
        std::ofstream(full / "zentag.wyn", std::ios::binary) << sample.bytes;
        std::ofstream(empty / "zentag.wyn", std::ios::binary);
        std::ofstream(results, std::ios::binary) << ResultsFileBytes(sample);
    }
    ~Folders() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

Folders& TheFolders() {
    static Folders f;
    return f;
}

fs::path BenchDir() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

// A command ready to start with its output and messages sent to /dev/null (a failure shows as its
// exit status).
class Process {
public:
    explicit Process(const std::vector<std::string>& command) : command_(command) {
        for (const std::string& a : command_)
            argv_.push_back(const_cast<char*>(a.c_str()));
        argv_.push_back(nullptr);
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0);
    }
    ~Process() { posix_spawn_file_actions_destroy(&actions_); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Runs the command once: its CPU time (user + system) in seconds, and the wall-clock time
    // added to `wall`; a negative time, with the reason in the state, when it failed.
    double Run(benchmark::State& state, double& wall) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv_[0], &actions_, nullptr, argv_.data(), environ) != 0) {
            state.SkipWithError(("cannot start " + command_[0]).c_str());
            return -1;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError((command_[0] + " failed").c_str());
            return -1;
        }
        const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
        return seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }

private:
    std::vector<std::string> command_;
    std::vector<char*> argv_;
    posix_spawn_file_actions_t actions_;
};

void SetWallCounter(benchmark::State& state, double wall) {
    state.counters["wall_ms"] = benchmark::Counter(
        wall * 1e3 / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)));
}

// The iteration's time is the command's CPU time. `before` runs ahead of each run, untimed.
void TimeProcess(benchmark::State& state, const std::vector<std::string>& command,
                 const std::function<void()>& before = {}) {
    Process process(command);
    double wall = 0;
    for (auto _ : state) {
        if (before)
            before();
        const double cpu = process.Run(state, wall);
        if (cpu < 0)
            break;
        state.SetIterationTime(cpu);
    }
    SetWallCounter(state, wall);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// As TimeProcess, with `zentagrafo-cli info` on the full database run (untimed) before each run of
// the command: the counter x_info is the median of the command's CPU times over the median of
// info's. Taken in turn, the two see the same state of a shared machine, which the two benchmarks
// measured one after the other need not (a burst of other load can fall on either one alone).
void TimeProcessBesideInfo(benchmark::State& state, const std::vector<std::string>& command,
                           const std::function<void()>& before = {}) {
    Process info({ZG_CLI_PATH, "info", TheFolders().full.string()});
    Process process(command);
    std::vector<double> infoTimes, times;
    double infoWall = 0, wall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double infoCpu = info.Run(state, infoWall);
        if (before)
            before();
        state.ResumeTiming();
        if (infoCpu < 0)
            break;
        const double cpu = process.Run(state, wall);
        if (cpu < 0)
            break;
        state.SetIterationTime(cpu);
        infoTimes.push_back(infoCpu);
        times.push_back(cpu);
    }
    SetWallCounter(state, wall);
    const double infoMedian = Median(infoTimes);
    state.counters["x_info"] = infoMedian > 0 ? Median(times) / infoMedian : 0;
}

void BM_WcWords(benchmark::State& state) {
    TimeProcess(state, {"wc", "-w", (TheFolders().full / "zentag.wyn").string()});
}
BENCHMARK(BM_WcWords)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LoadProcess(benchmark::State& state) {
    TimeProcess(state, {(BenchDir() / "zg_load_process").string(), (TheFolders().full / "zentag.wyn").string()});
}
BENCHMARK(BM_LoadProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_InfoProcess(benchmark::State& state) {
    TimeProcess(state, {ZG_CLI_PATH, "info", TheFolders().full.string()});
}
BENCHMARK(BM_InfoProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

// The reports on the full database, each written into the temporary folder: the analysis of a set
// of 7 with hits 0..7 (every draw a row), the ZENTAG table of the same search at offset 1, and the
// database export.
const std::vector<std::string> ReportSearch = {"--set", "3,7,15,22,41,56,77", "--range", "1:99999", "--hits", "0:7"};

std::vector<std::string> ReportCommand(const std::string& command, const std::vector<std::string>& options,
                                       const std::string& report) {
    const Folders& f = TheFolders();
    std::vector<std::string> argv = {ZG_CLI_PATH, command};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(f.full.string());
    argv.push_back((f.root / report).string());
    return argv;
}

void BM_AnalysisProcess(benchmark::State& state) {
    TimeProcessBesideInfo(state, ReportCommand("analysis", ReportSearch, "analysis.txt"));
}
BENCHMARK(BM_AnalysisProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ZentagProcess(benchmark::State& state) {
    std::vector<std::string> options = ReportSearch;
    options.insert(options.end(), {"--offset", "1"});
    TimeProcessBesideInfo(state, ReportCommand("zentag", options, "zentag.txt"));
}
BENCHMARK(BM_ZentagProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ExportProcess(benchmark::State& state) {
    TimeProcessBesideInfo(state, ReportCommand("export", {}, "export.txt"));
}
BENCHMARK(BM_ExportProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

// Each run imports into a folder without a database, so every run writes all 99,999 draws.
void BM_ImportProcess(benchmark::State& state) {
    const Folders& f = TheFolders();
    TimeProcessBesideInfo(state, {ZG_CLI_PATH, "import", f.import.string(), f.results.string()},
                          [&f] { fs::remove(f.import / "zentag.wyn"); });
}
BENCHMARK(BM_ImportProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

#ifdef ZG_STARTUP_PROCESS
// Arg: the draws in the database (0: an empty database file).
void BM_StartupProcess(benchmark::State& state) {
    const fs::path& dir = state.range(0) == 0 ? TheFolders().empty : TheFolders().full;
    TimeProcess(state, {(BenchDir() / "zg_startup_process").string(), dir.string()});
}
BENCHMARK(BM_StartupProcess)->Arg(0)->Arg(zg::MaxDraws)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv) {
    return zgbench::RunWithRatios(
        argc, argv,
        {
            {"BM_LoadProcess/manual_time", "BM_WcWords/manual_time", 1.0, true},
            {"BM_StartupProcess/99999/manual_time", "BM_StartupProcess/0/manual_time", 1.3, true},
            // Each measured in turn with info (its counter x_info); the ratios to BM_InfoProcess,
            // measured on its own, follow for comparison, without a goal.
            {"BM_ImportProcess/manual_time", "info in turn", 2.0, true, "x_info"},
            {"BM_AnalysisProcess/manual_time", "info in turn", 1.6, true, "x_info"},
            {"BM_ZentagProcess/manual_time", "info in turn", 1.6, true, "x_info"},
            {"BM_ExportProcess/manual_time", "info in turn", 1.6, true, "x_info"},
            {"BM_ImportProcess/manual_time", "BM_InfoProcess/manual_time", 0, true},
            {"BM_AnalysisProcess/manual_time", "BM_InfoProcess/manual_time", 0, true},
            {"BM_ZentagProcess/manual_time", "BM_InfoProcess/manual_time", 0, true},
            {"BM_ExportProcess/manual_time", "BM_InfoProcess/manual_time", 0, true},
            {"BM_InfoProcess/manual_time", "BM_WcWords/manual_time", 1.0, true},
        });
}
