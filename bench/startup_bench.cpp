// The real program's start-up to its start window on screen, offline (in a network namespace
// of its own), and the peak memory of a study session, both against the least Qt Widgets
// program showing an empty 800 x 600 window. Needs an X display (scripts/bench.sh runs the
// benchmarks under xvfb-run); without one these figures are skipped.
#include "bench/bench_support.h"

#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

/// Watches the X display for the first top-level window of 800 x 600 that is mapped.
class WindowWatch {
  public:
    WindowWatch() {
        conn_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(conn_)) {
            return;
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conn_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(conn_);
        ok_ = true;
    }
    ~WindowWatch() { xcb_disconnect(conn_); }
    bool ok() const { return ok_; }

    /// The moment the window appeared, or nothing by the deadline.
    std::optional<Clock::time_point> waitForWindow(Clock::time_point deadline) {
        pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(conn_)) {
                const auto type = e->response_type & 0x7F;
                std::optional<xcb_window_t> mapped;
                if (type == XCB_MAP_NOTIFY) {
                    auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
                    if (!m->override_redirect) {
                        mapped = m->window;
                    }
                }
                free(e);
                if (mapped && hasWindowSize(*mapped)) {
                    return Clock::now();
                }
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            poll(&p, 1, static_cast<int>(std::max<long long>(1, left.count())));
        }
        return std::nullopt;
    }

  private:
    bool hasWindowSize(xcb_window_t w) {
        xcb_get_geometry_reply_t* g =
            xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr);
        const bool fits = g != nullptr && g->width == 800 && g->height == 600;
        free(g);
        return fits;
    }
    xcb_connection_t* conn_ = nullptr;
    xcb_window_t root_ = 0;
    bool ok_ = false;
};

long endAndMeasure(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

/// A program folder of its own: the executable and the files it ships with.
void layProgramFolder(const fs::path& folder) {
    const fs::path built(QM_PROGRAM_FOLDER);
    fs::copy_file(built / "vocabtrainer", folder / "vocabtrainer");
    fs::copy_file(built / "error.bat", folder / "error.bat");
    bench::layShippedFiles(folder);
}

std::vector<std::string> childEnvironment(const fs::path& home) {
    return {"QT_QPA_PLATFORM=xcb", "HOME=" + home.string(),
            "XDG_CONFIG_HOME=" + (home / ".config").string()};
}

/// Times each start from the spawn to the window on screen; peak memory at that moment.
void timeStarts(benchmark::State& state, bool realProgram) {
    // One connection for the whole run: the display's server resets whenever its last
    // client leaves, and a connection made during the reset fails.
    static WindowWatch watch;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !watch.ok()) {
        state.SkipWithError("no X display: run under xvfb-run (scripts/bench.sh does)");
        return;
    }
    long peak = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        const fs::path folder = dir.path().toStdString();
        const fs::path home = folder / "home";
        fs::create_directories(home);
        std::vector<std::string> argv{"unshare", "-n"};
        if (realProgram) {
            layProgramFolder(folder);
            argv.push_back((folder / "vocabtrainer").string());
        } else {
            argv.push_back((bench::benchFolder() / "bench_minimal_window").string());
        }
        const auto start = Clock::now();
        const pid_t pid = bench::spawn(argv, childEnvironment(home));
        const auto shown = watch.waitForWindow(start + std::chrono::seconds(30));
        peak = std::max(peak, endAndMeasure(pid));
        if (!shown) {
            state.SkipWithError("the window did not appear within 30 s");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*shown - start).count());
    }
    state.counters["peak_kb"] = static_cast<double>(peak);
}

void BM_StartUp(benchmark::State& state) {
    timeStarts(state, true);
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_StartUp_Baseline(benchmark::State& state) {
    timeStarts(state, false);
}
BENCHMARK(BM_StartUp_Baseline)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

std::map<std::string, double> readMemoryReport(const fs::path& file) {
    std::map<std::string, double> figures;
    std::ifstream in(file);
    std::string key;
    double kb = 0;
    while (in >> key >> kb) {
        figures[key] = kb;
    }
    return figures;
}

/// Peak memory of 300 answers on the study window against the empty window's. peak_kb is the
/// peak resident memory; own_kb the part that is the process's own (heap and stack), apart
/// from pages of the libraries and font files mapped (the Chinese fonts are large files of
/// which every new glyph touches more).
void BM_StudySessionMemory(benchmark::State& state) {
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    const std::string platform = display ? "QT_QPA_PLATFORM=xcb" : "QT_QPA_PLATFORM=offscreen";
    std::map<std::string, double> session;
    std::map<std::string, double> baseline;
    for (auto _ : state) {
        QTemporaryDir dir;
        const fs::path folder = dir.path().toStdString();
        bench::layShippedFiles(folder);
        fs::create_directories(folder / "settings");
        const bench::ChildRun run = bench::runChild(
            {(bench::benchFolder() / "bench_study_session").string(), folder.string(),
             (folder / "settings").string(), "300", (folder / "session.txt").string()},
            {platform});
        const bench::ChildRun empty =
            bench::runChild({(bench::benchFolder() / "bench_minimal_window").string(),
                             "--quit-when-painted", (folder / "baseline.txt").string()},
                            {platform});
        if (run.status != 0 || empty.status != 0) {
            state.SkipWithError("a child program failed");
            return;
        }
        session = readMemoryReport(folder / "session.txt");
        baseline = readMemoryReport(folder / "baseline.txt");
        state.counters["session_ms"] = run.ms;
    }
    state.counters["peak_kb"] = session["VmHWM"];
    state.counters["baseline_kb"] = baseline["VmHWM"];
    state.counters["extra_kb"] = session["VmHWM"] - baseline["VmHWM"];
    state.counters["own_kb"] = session["RssAnon"];
    state.counters["baseline_own_kb"] = baseline["RssAnon"];
    state.counters["extra_own_kb"] = session["RssAnon"] - baseline["RssAnon"];
    state.counters["font_and_library_kb"] = session["RssFile"];
}
BENCHMARK(BM_StudySessionMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
