// The preloaded probe that times the real program's start-up: it must see the program's own calls, in
// the order they happen, and report its memory when the program ends as a closed window ends it.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace
{
// The probe's lines of a program run, read from its stderr.
struct ProbeRun
{
    std::map<std::string, long long> marks; // milestone -> monotonic nanoseconds
    long long peakKilobytes = -1;
    long long presents = -1;
    int status = -1;
};

void Parse(const std::string& line, ProbeRun& run)
{
    std::istringstream fields(line);
    std::string tag;
    std::string kind;
    fields >> tag >> kind;
    if (tag != "kes-probe")
    {
        return;
    }
    if (kind == "first-present-ns")
    {
        fields >> run.marks["first-present"];
    }
    else if (kind == "mark")
    {
        std::string name;
        fields >> name;
        fields >> run.marks[name];
    }
    else if (kind == "exit")
    {
        std::string label;
        fields >> label >> run.peakKilobytes >> label >> run.presents;
    }
}

// Starts the bare present loop under the probe on SDL's dummy drivers, closes it after its first frame
// (SDL turns SIGTERM into a close request) and collects what the probe said.
ProbeRun RunBareLoop()
{
    int pipe[2];
    if (::pipe(pipe) != 0)
    {
        return {};
    }
    // A sanitizer build insists on being first in the list of libraries, and the probe comes before it;
    // leaks of the measured program are no concern here.
    std::vector<std::string> settings{std::string("LD_PRELOAD=") + KES_PRESENT_PROBE, "SDL_VIDEODRIVER=dummy",
                                      "SDL_AUDIODRIVER=dummy",
                                      "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0"};
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const bool replaced = std::strncmp(*entry, "LD_PRELOAD=", 11) == 0 ||
                              std::strncmp(*entry, "SDL_VIDEODRIVER=", 16) == 0 ||
                              std::strncmp(*entry, "SDL_AUDIODRIVER=", 16) == 0 ||
                              std::strncmp(*entry, "ASAN_OPTIONS=", 13) == 0;
        if (!replaced)
        {
            environment.push_back(*entry);
        }
    }
    for (std::string& setting : settings)
    {
        environment.push_back(setting.data());
    }
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipe[0]);
    std::string program = KES_BARE_PRESENT;
    char* arguments[] = {program.data(), nullptr};
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipe[1]);
    ProbeRun run;
    if (spawned != 0)
    {
        close(pipe[0]);
        return run;
    }

    std::string pending;
    bool closing = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline)
    {
        pollfd wait{pipe[0], POLLIN, 0};
        if (poll(&wait, 1, 100) <= 0)
        {
            continue;
        }
        char buffer[512];
        const ssize_t got = read(pipe[0], buffer, sizeof buffer);
        if (got <= 0)
        {
            break; // the program has ended
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos)
        {
            Parse(pending.substr(0, end), run);
            pending.erase(0, end + 1);
        }
        if (!closing && run.marks.count("first-present") != 0)
        {
            kill(child, SIGTERM);
            closing = true;
        }
    }
    close(pipe[0]);
    if (waitpid(child, &run.status, WNOHANG) == 0)
    {
        kill(child, SIGKILL);
        waitpid(child, &run.status, 0);
    }
    return run;
}

TEST(PresentProbe, StampsStartUpInOrderAndReportsPeakMemoryAtExit)
{
    const ProbeRun run = RunBareLoop();
    ASSERT_TRUE(WIFEXITED(run.status)) << "the bare loop did not end by itself after SIGTERM";
    EXPECT_EQ(WEXITSTATUS(run.status), 0);

    // The bare loop opens no audio; every other milestone comes, in the order of start-up.
    const std::vector<std::string> order{"loaded", "sdl-init", "window", "renderer", "loop", "first-present"};
    for (std::size_t i = 0; i < order.size(); ++i)
    {
        ASSERT_EQ(run.marks.count(order[i]), 1u) << order[i];
        if (i > 0)
        {
            EXPECT_LE(run.marks.at(order[i - 1]), run.marks.at(order[i]))
                << order[i - 1] << " then " << order[i];
        }
    }
    EXPECT_EQ(run.marks.count("audio"), 0u);
    EXPECT_GE(run.presents, 1);
    EXPECT_GT(run.peakKilobytes, 1024); // a program with SDL loaded holds more than a megabyte
}
} // namespace
