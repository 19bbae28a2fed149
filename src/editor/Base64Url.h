// Base64 with the address-safe alphabet ("-" and "_"), without padding: how a level travels in a link.
#pragma once

#include <string>

class Base64Url
{
  public:
    Base64Url() = delete;

    static std::string Encode(const std::string& bytes);
    // Blanks and line ends are skipped, padding "=" is allowed at the end; any other character outside
    // the alphabet throws std::runtime_error.
    static std::string Decode(const std::string& text);
};
