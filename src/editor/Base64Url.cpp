// Encoding and decoding base64url text.
#include "editor/Base64Url.h"

#include <cstdint>
#include <stdexcept>

namespace
{
const char* const kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int ValueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '-' || c == '+')
        return 62;
    if (c == '_' || c == '/')
        return 63;
    return -1;
}
} // namespace

std::string Base64Url::Encode(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : bytes)
    {
        bits = (bits << 8) | static_cast<std::uint8_t>(c);
        count += 8;
        while (count >= 6)
        {
            count -= 6;
            text += kAlphabet[(bits >> count) & 0x3F];
        }
    }
    if (count > 0)
    {
        text += kAlphabet[(bits << (6 - count)) & 0x3F];
    }
    return text;
}

std::string Base64Url::Decode(const std::string& text)
{
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    bool padding = false;
    for (char c : text)
    {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
        {
            continue;
        }
        if (c == '=')
        {
            padding = true;
            continue;
        }
        const int value = ValueOf(c);
        if (value < 0 || padding)
        {
            throw std::runtime_error("The link is broken: it holds characters a link never has");
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8)
        {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return bytes;
}
