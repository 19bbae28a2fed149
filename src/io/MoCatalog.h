// One language's messages, read from a compiled gettext catalogue (a ".mo" file).
#pragma once

#include "io/PluralRule.h"

#include <map>
#include <string>
#include <vector>

class MoCatalog
{
  public:
    // Reads the catalogue's bytes; false (and an empty catalogue) when they are not a whole, sound
    // catalogue. Never reads outside the bytes it is given.
    bool Parse(const std::string& bytes);
    // Reads a file; false when it is missing or not a sound catalogue.
    bool Load(const std::string& path);

    // The translation of a message, or null where the catalogue has none (or an empty one).
    const std::string* Find(const std::string& message) const;
    // The translation of a message with plural forms, by the catalogue's rule for count, or null.
    const std::string* FindPlural(const std::string& singular, unsigned long count) const;

    std::size_t Size() const { return mMessages.size(); }
    const PluralRule& Rule() const { return mRule; }

  private:
    // Keyed by the message (for plural messages, its singular); every form, in order.
    std::map<std::string, std::vector<std::string>> mMessages;
    PluralRule mRule;
};
