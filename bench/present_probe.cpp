// Preloaded into a program under measurement: reports on stderr the moment its first frame has been
// presented, a few milestones of its start-up before that, and when it exits its peak resident memory.
// The program itself is not changed: the probe's functions stand in front of the libraries' own.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

struct SDL_Window;
struct SDL_Renderer;

namespace
{
using PresentFunction = void (*)(SDL_Renderer*);

PresentFunction gPresent = nullptr;
long long gPresents = 0;

// The same clock as Python's time.monotonic(), so the measuring script can subtract its own start time.
long long MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Straight to the file descriptor: stdio buffers may never be flushed if the program is killed.
void Report(const char* line)
{
    const std::size_t length = std::strlen(line);
    std::size_t written = 0;
    while (written < length)
    {
        const ssize_t result = write(2, line + written, length - written);
        if (result <= 0)
        {
            return;
        }
        written += static_cast<std::size_t>(result);
    }
}

// One report per milestone, the first time it is reached.
void Mark(const char* name, bool& reported)
{
    if (reported)
    {
        return;
    }
    reported = true;
    char line[128];
    std::snprintf(line, sizeof line, "kes-probe mark %s %lld\n", name, MonotonicNanoseconds());
    Report(line);
}

// The library's own function of that name, behind the probe's.
template <typename Function> Function Next(Function& cached, const char* name)
{
    if (cached == nullptr)
    {
        cached = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
    }
    return cached;
}

// "VmHWM:    123456 kB" of /proc/self/status, in kB; -1 when it cannot be read.
long long PeakResidentKilobytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
    {
        return -1;
    }
    char line[256];
    long long kilobytes = -1;
    while (std::fgets(line, sizeof line, status) != nullptr)
    {
        if (std::strncmp(line, "VmHWM:", 6) == 0)
        {
            std::sscanf(line + 6, "%lld", &kilobytes);
            break;
        }
    }
    std::fclose(status);
    return kilobytes;
}
} // namespace

// The libraries are loaded and the program's static set-up is about to run.
[[gnu::constructor]] static void MarkLoaded()
{
    static bool reported = false;
    Mark("loaded", reported);
}

extern "C" int SDL_Init(std::uint32_t flags)
{
    static int (*next)(std::uint32_t) = nullptr;
    static bool reported = false;
    const int result = Next(next, "SDL_Init")(flags);
    Mark("sdl-init", reported);
    return result;
}

extern "C" SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, std::uint32_t flags)
{
    static SDL_Window* (*next)(const char*, int, int, int, int, std::uint32_t) = nullptr;
    static bool reported = false;
    SDL_Window* window = Next(next, "SDL_CreateWindow")(title, x, y, w, h, flags);
    Mark("window", reported);
    return window;
}

extern "C" SDL_Renderer* SDL_CreateRenderer(SDL_Window* window, int index, std::uint32_t flags)
{
    static SDL_Renderer* (*next)(SDL_Window*, int, std::uint32_t) = nullptr;
    static bool reported = false;
    SDL_Renderer* renderer = Next(next, "SDL_CreateRenderer")(window, index, flags);
    Mark("renderer", reported);
    return renderer;
}

extern "C" int Mix_OpenAudio(int frequency, std::uint16_t format, int channels, int chunkSize)
{
    static int (*next)(int, std::uint16_t, int, int) = nullptr;
    static bool reported = false;
    const int result = Next(next, "Mix_OpenAudio")(frequency, format, channels, chunkSize);
    Mark("audio", reported);
    return result;
}

// The first look for events: start-up is over and the main loop has begun.
extern "C" int SDL_PollEvent(void* event)
{
    static int (*next)(void*) = nullptr;
    static bool reported = false;
    Mark("loop", reported);
    return Next(next, "SDL_PollEvent")(event);
}

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer)
{
    if (Next(gPresent, "SDL_RenderPresent") == nullptr)
    {
        return;
    }
    gPresent(renderer);
    if (++gPresents == 1)
    {
        char line[96];
        std::snprintf(line, sizeof line, "kes-probe first-present-ns %lld\n", MonotonicNanoseconds());
        Report(line);
    }
}

[[gnu::destructor]] static void ReportAtExit()
{
    char line[128];
    std::snprintf(line, sizeof line, "kes-probe exit vmhwm-kb %lld presents %lld\n", PeakResidentKilobytes(),
                  gPresents);
    Report(line);
}
