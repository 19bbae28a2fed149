// A file of the player's in the working directory (settings, progress): found through symbolic links and
// replaced whole, so a crash mid-write never leaves it cut short.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class PlayerFile
{
  public:
    PlayerFile() = delete;

    // The file a name really stands for: a symbolic link (to a file kept elsewhere) is followed to its
    // target, even a missing one, so that writing keeps the link a link.
    static std::filesystem::path Target(const std::string& name);
    // Whether the file (or the target of the link it is) exists, readable or not.
    static bool Exists(const std::string& name);
    // Text made fit for a part of a file name: every character but letters, digits, '-' and '_' becomes '_'.
    static std::string SafeName(std::string text);
    // Replaces the file's content with text; false when it cannot be written, and then why (the system's
    // words, such as "No space left on device") in *why when given. A file the player made read-only is
    // left as it is.
    // Every file written is handed to the keeper set by KeepIn.
    static bool Write(const std::string& name, const std::string& text, std::string* why = nullptr);
    // Writes several files as one: each to a new file beside it, flushed to the disk, and all renamed into
    // place only once every one is complete. On a failure (a full disk, a file-size limit, a file the
    // player made read-only) the new files are removed, every old file is left byte for byte, and false
    // comes back with why ("file: the system's words") in *why when given. Each file written is handed to
    // the keeper set by KeepIn, as Write's are; no link is made for it.
    using Contents = std::vector<std::pair<std::string, std::string>>; // file, its whole content
    static bool WriteAll(const Contents& files, std::string* why = nullptr);
    // Removes the file (a missing one is no failure), and tells the keeper when there was one.
    static void Remove(const std::string& name);
    // Where the working folder does not outlast the run (a browser tab), the player's files live in folder
    // instead, each name in the working folder a link to its file there, and stored is called with the
    // path of each file written, removed with the path of each file removed, of those in the folder.
    // Nothing calls it on the desktop.
    static void KeepIn(const std::filesystem::path& folder, std::function<void(const std::string&)> stored,
                       std::function<void(const std::string&)> removed = nullptr);
};
