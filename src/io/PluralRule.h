// The plural rule of a message catalogue: the C expression of its "Plural-Forms" header, in n.
#pragma once

#include <memory>
#include <string>

class PluralRule
{
  public:
    // English's rule (one form for 1, another for the rest) until Parse takes another.
    PluralRule();
    ~PluralRule();
    PluralRule(PluralRule&&) noexcept;
    PluralRule& operator=(PluralRule&&) noexcept;

    // Takes a header's "nplurals=N; plural=EXPR;" part; false (the rule unchanged) when it cannot be read.
    bool Parse(const std::string& header);
    // The form for count n, always below Count().
    unsigned long Form(unsigned long n) const;
    unsigned long Count() const { return mCount; }

    struct Node;

  private:
    std::unique_ptr<Node> mRoot;
    unsigned long mCount = 2;
};
