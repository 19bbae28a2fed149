// Finding and rewriting the files the game keeps for the player.
#include "io/PlayerFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace
{
constexpr int kMaxLinkHops = 40; // as the system's own limit on symbolic link chains

// The system's words for the last failed call; streams leave errno as the failing call set it.
bool Fail(std::string* why)
{
    if (why != nullptr)
    {
        *why = std::generic_category().message(errno != 0 ? errno : EIO);
    }
    return false;
}

fs::path gKeptFolder;
std::function<void(const std::string&)> gStored;
std::function<void(const std::string&)> gRemoved;

// Where the file really lies when that is in the kept folder (reached through links or not), for the
// keeper; empty otherwise.
std::string KeptPath(const std::string& name)
{
    if (gKeptFolder.empty())
    {
        return {};
    }
    std::error_code error;
    const fs::path real = fs::weakly_canonical(fs::absolute(PlayerFile::Target(name), error), error);
    const fs::path kept = fs::weakly_canonical(gKeptFolder, error);
    const auto [keptEnd, realAt] = std::mismatch(kept.begin(), kept.end(), real.begin(), real.end());
    return keptEnd == kept.end() && realAt != real.end() ? real.string() : std::string();
}

// Writes the whole text to a new file and flushes it to the disk; false (errno set) when any step fails.
bool WriteFlushed(const fs::path& file, const std::string& text)
{
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (descriptor < 0)
    {
        return false;
    }
    std::size_t written = 0;
    while (written < text.size())
    {
        const ssize_t step = ::write(descriptor, text.data() + written, text.size() - written);
        if (step < 0 && errno == EINTR)
        {
            continue;
        }
        if (step <= 0)
        {
            const int failure = step == 0 ? EIO : errno;
            ::close(descriptor);
            errno = failure;
            return false;
        }
        written += static_cast<std::size_t>(step);
    }
    if (::fsync(descriptor) != 0 && errno != EINVAL && errno != EROFS)
    {
        const int failure = errno;
        ::close(descriptor);
        errno = failure;
        return false;
    }
    return ::close(descriptor) == 0;
}

// Replaces the file's content, through a link to its target; false (and why) when it cannot be written.
bool Replace(const std::string& name, const std::string& text, std::string* why);
} // namespace

void PlayerFile::KeepIn(const fs::path& folder, std::function<void(const std::string&)> stored,
                        std::function<void(const std::string&)> removed)
{
    gKeptFolder = folder;
    gStored = std::move(stored);
    gRemoved = std::move(removed);
}

bool PlayerFile::WriteAll(const Contents& files, std::string* why)
{
    std::vector<fs::path> written; // the new files made so far
    const auto failed = [&](const fs::path& file)
    {
        if (why != nullptr)
        {
            *why =
                file.filename().string() + ": " + std::generic_category().message(errno != 0 ? errno : EIO);
        }
        std::error_code ignored;
        for (const fs::path& made : written)
        {
            fs::remove(made, ignored);
        }
        return false;
    };
    for (const auto& [name, text] : files)
    {
        const fs::path target = Target(name);
        errno = 0;
        // A file the player made read-only is left as it is, although the folder would let it be replaced.
        if (Exists(name) && !std::ofstream(target, std::ios::binary | std::ios::app))
        {
            return failed(target);
        }
        fs::path temporary = target;
        temporary += ".new";
        errno = 0;
        if (!WriteFlushed(temporary, text))
        {
            const int failure = errno;
            std::error_code ignored;
            fs::remove(temporary, ignored);
            errno = failure;
            return failed(target);
        }
        written.push_back(temporary);
    }
    // Every file is complete: now they take the old ones' places.
    for (std::size_t i = 0; i < files.size(); ++i)
    {
        std::error_code error;
        fs::rename(written[i], Target(files[i].first), error);
        if (error)
        {
            errno = error.value();
            written.erase(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(i));
            return failed(Target(files[i].first));
        }
        const std::string kept = KeptPath(files[i].first);
        if (gStored && !kept.empty())
        {
            gStored(kept);
        }
    }
    return true;
}

void PlayerFile::Remove(const std::string& name)
{
    const std::string kept = KeptPath(name); // while the path still resolves
    std::error_code error;
    if (fs::remove(Target(name), error) && gRemoved && !kept.empty())
    {
        gRemoved(kept);
    }
}

std::string PlayerFile::SafeName(std::string text)
{
    for (char& c : text)
    {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '_';
        c = safe ? c : '_';
    }
    return text;
}

fs::path PlayerFile::Target(const std::string& name)
{
    fs::path path = name;
    std::error_code error;
    for (int hop = 0; hop < kMaxLinkHops && fs::is_symlink(path, error); ++hop)
    {
        const fs::path next = fs::read_symlink(path, error);
        if (error)
        {
            break;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

bool PlayerFile::Exists(const std::string& name)
{
    std::error_code error;
    // A file whose state cannot even be asked for is taken as present: it is not replaced.
    return fs::symlink_status(Target(name), error).type() != fs::file_type::not_found;
}

bool PlayerFile::Write(const std::string& name, const std::string& text, std::string* why)
{
    std::error_code error;
    if (!gKeptFolder.empty() && !fs::is_symlink(name, error) && !Exists(name))
    {
        // A new file of the player's is made in the kept folder, reached through a link of its name.
        fs::create_symlink(gKeptFolder / fs::path(name).filename(), name, error);
    }
    if (!Replace(name, text, why))
    {
        return false;
    }
    if (gStored)
    {
        gStored(fs::absolute(Target(name), error).lexically_normal().string());
    }
    return true;
}

namespace
{
bool Replace(const std::string& name, const std::string& text, std::string* why)
{
    const fs::path target = PlayerFile::Target(name);
    errno = 0;
    // A file the player made read-only is left as it is, although the folder would let it be replaced.
    if (PlayerFile::Exists(name) && !std::ofstream(target, std::ios::binary | std::ios::app))
    {
        return Fail(why);
    }
    // Written beside the old file and renamed over it, so a crash mid-write never leaves it truncated.
    fs::path temporary = target;
    temporary += ".tmp";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (file)
    {
        file << text;
        file.close();
        std::error_code error;
        if (!file)
        {
            // Made but not written whole (a full disk): the old file stays as it was.
            Fail(why);
            fs::remove(temporary, error);
            return false;
        }
        fs::rename(temporary, target, error);
        if (!error)
        {
            return true;
        }
        fs::remove(temporary, error);
    }
    // No new file could be made beside the old one, or not renamed over it: the old one is rewritten in
    // place (a folder the player may not write to can still hold a file they may).
    errno = 0;
    std::ofstream inPlace(target, std::ios::binary | std::ios::trunc);
    inPlace << text;
    inPlace.close();
    return inPlace ? true : Fail(why);
}
} // namespace
