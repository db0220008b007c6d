// Figures of the real game in the SDL window (run under a display, e.g. Xvfb):
//   window_figures startup   start-up to the menu on the screen, then quit;
//                            and peak resident memory
//   window_figures all       that, then CPU while idle on the menu and during a
//                            match waiting for the person (10 s each), pointer
//                            move to the marker presented, the pauses of a
//                            growing disc, and peak resident memory of it all
// It is the game itself (WinMain on the SDL backend); a second thread plays the
// person by pushing SDL input events, and every frame shown is timed by taking
// SDL_UpdateWindowSurface, through which the backend presents each picture.
// Start the game with setting.dat (one human, no clock) and zdj/15.bmp in the
// working folder. WOLBY_LAUNCH_NS, CLOCK_REALTIME in ns taken just before the
// process was started, adds the time from the launch.
#include <SDL.h>
#include <dlfcn.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/perf/peak_memory.h"
#include "platform/sdl/sdl_backend.h"
#include "screens/program_state.h"
#include "screens/screen.h"
#include "shell/win_main.h"

namespace {

using Clock = std::chrono::steady_clock;

std::mutex g_mutex;
std::condition_variable g_shown;
std::uint64_t g_frames = 0;             // pictures presented so far
Clock::time_point g_lastFrame;
std::int32_t g_lastFrameScreen = -1;    // g_screen when it was presented
bool g_lastFrameHasSheet = false;       // presented after the sheet was loaded
Clock::time_point g_menuShown;          // the first picture with the menu
double g_launchToMenuMs = -1;
bool g_recording = false;               // keep the time of every frame shown
std::vector<Clock::time_point> g_recorded;

double RealtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

using UpdateFunction = int (*)(SDL_Window*);
using UpdateRectsFunction = int (*)(SDL_Window*, const SDL_Rect*, int);

template <typename Function>
Function Real(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    Function function = nullptr;
    std::memcpy(&function, &symbol, sizeof function);
    return function;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Waits until a picture is presented after `after` frames and `test` holds for it.
template <typename Test>
bool WaitForFrame(std::uint64_t after, Test test, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(g_mutex);
    return g_shown.wait_for(lock, limit, [&] { return g_frames > after && test(); });
}

std::uint64_t Frames() {
    std::lock_guard lock(g_mutex);
    return g_frames;
}

// Window coordinates of a point of the 800 x 600 picture, as the backend lays
// the picture out on a window of the desktop's size.
struct Layout {
    int x = 0, y = 0, w = 800, h = 600;
    SDL_Point At(int px, int py) const { return {x + px * w / 800 + w / 1600, y + py * h / 600 + h / 1200}; }
};

Layout g_layout;

void PushMotion(SDL_Point p) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = p.x;
    event.motion.y = p.y;
    SDL_PushEvent(&event);
}

void PushClick(SDL_Point p) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = p.x;
    event.button.y = p.y;
    SDL_PushEvent(&event);
}

void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double IdleCpuPercent(double seconds) {
    const double before = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return 100.0 * (CpuSeconds() - before) / seconds;
}

struct Figures {
    double menuIdleCpu = -1;
    double matchIdleCpu = -1;
    std::vector<double> pointerMs;
    bool matchStarted = false;
    std::vector<double> pauseMs;  // between the frames of the growing discs of one move
    double discMs = -1;           // the first disc, from its first frame to the next disc's
};

// The frames of one move: a present at each 10 ms pause of the two growing
// discs (the one played and the one it turns).
void MeasureDiscs(Figures* figures) {
    {
        std::lock_guard lock(g_mutex);
        g_recorded.clear();
        g_recording = true;
    }
    // Player 1 takes (4, 2) on the 6 x 6 board, turning (3, 2).
    PushClick(g_layout.At(100 + 51 * 4 + 10 - 15, 100 + 51 * 2 + 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    std::vector<Clock::time_point> frames;
    {
        std::lock_guard lock(g_mutex);
        g_recording = false;
        frames = g_recorded;
    }
    for (std::size_t i = 1; i < frames.size() && i <= 12; ++i) {
        const double ms = std::chrono::duration<double, std::milli>(frames[i] - frames[i - 1]).count();
        if (ms < 30) figures->pauseMs.push_back(ms);
    }
    if (frames.size() >= 7) {
        figures->discMs = std::chrono::duration<double, std::milli>(frames[6] - frames[0]).count();
    }
}

void PlayThePerson(bool all, double idleSeconds, Figures* figures) {
    if (!WaitForFrame(0, [] { return g_lastFrameHasSheet; }, std::chrono::seconds(20))) {
        std::fprintf(stderr, "the menu never showed\n");
        PushQuit();
        return;
    }
    if (!all) {
        PushQuit();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    figures->menuIdleCpu = IdleCpuPercent(idleSeconds);

    // Over the four items and off them, in turn: each move redraws the markers.
    const int ys[] = {195, 245, 295, 345, 420};
    for (int i = 0; i < 41; ++i) {
        const std::uint64_t before = Frames();
        const auto sent = Clock::now();
        PushMotion(g_layout.At(300, ys[i % 5]));
        if (!WaitForFrame(before, [] { return true; })) break;
        Clock::time_point shown;
        {
            std::lock_guard lock(g_mutex);
            shown = g_lastFrame;
        }
        figures->pointerMs.push_back(std::chrono::duration<double, std::milli>(shown - sent).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    // A match against the computer: the person is to move, nothing else runs.
    const std::uint64_t before = Frames();
    PushClick(g_layout.At(300 - 15, 195));
    figures->matchStarted = WaitForFrame(before, [] { return g_lastFrameScreen == Screen::Match; });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    if (figures->matchStarted) figures->matchIdleCpu = IdleCpuPercent(idleSeconds);
    if (figures->matchStarted) MeasureDiscs(figures);
    PushQuit();
}

void FrameShown() {
    const auto now = Clock::now();
    {
        std::lock_guard lock(g_mutex);
        if (g_recording && g_recorded.size() < 1000) g_recorded.push_back(now);
        ++g_frames;
        g_lastFrame = now;
        g_lastFrameScreen = g_screen;
        // The sheet is loaded right before the menu is drawn, with nothing shown between.
        g_lastFrameHasSheet = g_sheetSurface != nullptr;
        if (g_lastFrameHasSheet && g_menuShown == Clock::time_point{}) {
            g_menuShown = now;
            if (const char* launch = std::getenv("WOLBY_LAUNCH_NS")) {
                g_launchToMenuMs = (RealtimeNs() - std::atof(launch)) / 1e6;
            }
        }
    }
    g_shown.notify_all();
}

}  // namespace

// Every picture the backend shows passes here: the whole window or its parts.
extern "C" int SDL_UpdateWindowSurface(SDL_Window* window) {
    static const auto real = Real<UpdateFunction>("SDL_UpdateWindowSurface");
    const int result = real(window);
    FrameShown();
    return result;
}

extern "C" int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
    static const auto real = Real<UpdateRectsFunction>("SDL_UpdateWindowSurfaceRects");
    const int result = real(window, rects, count);
    FrameShown();
    return result;
}

int main(int argc, char** argv) {
    const auto started = Clock::now();
    const bool all = argc > 1 && std::strcmp(argv[1], "all") == 0;
    const double idleSeconds = argc > 2 ? std::atof(argv[2]) : 10.0;

    // Where the backend puts the 800 x 600 picture on a desktop-sized window.
    // The display is opened as the game opens it.
    if (platform::sdl::OpenDisplay(nullptr)) {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            int w = mode.w;
            int h = mode.w * 600 / 800;
            if (h > mode.h) {
                h = mode.h;
                w = mode.h * 800 / 600;
            }
            g_layout = Layout{(mode.w - w) / 2, (mode.h - h) / 2, w, h};
        }
    }

    Figures figures;
    std::thread person(PlayThePerson, all, idleSeconds, &figures);
    const int status = WinMain();
    person.join();

    const double startupMs = g_menuShown == Clock::time_point{}
                                 ? -1
                                 : std::chrono::duration<double, std::milli>(g_menuShown - started).count();
    std::printf("startup_ms %.2f\n", startupMs);
    if (g_launchToMenuMs >= 0) std::printf("launch_to_menu_ms %.2f\n", g_launchToMenuMs);
    std::printf("peak_rss_mb %.1f\n", static_cast<double>(PeakResidentKiB()) / 1024.0);
    if (all) {
        std::printf("idle_menu_cpu_percent %.3f\n", figures.menuIdleCpu);
        std::printf("idle_match_cpu_percent %.3f\n", figures.matchIdleCpu);
        std::printf("pointer_to_marker_ms_median %.3f\n", Median(figures.pointerMs));
        std::printf("pointer_to_marker_ms_max %.3f\n",
                    figures.pointerMs.empty() ? -1 : *std::max_element(figures.pointerMs.begin(), figures.pointerMs.end()));
        std::printf("pointer_moves %zu\n", figures.pointerMs.size());
        if (!figures.pauseMs.empty()) {
            std::printf("disc_pause_ms_median %.2f\n", Median(figures.pauseMs));
            std::printf("disc_pause_ms_min %.2f\n", *std::min_element(figures.pauseMs.begin(), figures.pauseMs.end()));
            std::printf("disc_pause_ms_max %.2f\n", *std::max_element(figures.pauseMs.begin(), figures.pauseMs.end()));
            std::printf("disc_pauses %zu\n", figures.pauseMs.size());
        }
        std::printf("disc_grows_ms %.2f\n", figures.discMs);
    }
    return status == 1 ? 0 : 1;
}
