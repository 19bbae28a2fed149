// Reading and evaluating a catalogue's plural expression: a small recursive-descent parser of C's
// operators on n, bounded in depth and safe on division by zero, since catalogues come from outside.
#include "io/PluralRule.h"

#include <cctype>
#include <cstring>
#include <vector>

struct PluralRule::Node
{
    enum Kind
    {
        Number,
        Variable,
        Not,
        Binary,
        Choice
    };
    Kind mKind = Number;
    unsigned long mValue = 0;
    std::string mOperator;
    std::unique_ptr<Node> mA, mB, mC;

    unsigned long Evaluate(unsigned long n) const
    {
        switch (mKind)
        {
        case Number:
            return mValue;
        case Variable:
            return n;
        case Not:
            return !mA->Evaluate(n);
        case Choice:
            return mA->Evaluate(n) ? mB->Evaluate(n) : mC->Evaluate(n);
        default:
            break;
        }
        const unsigned long a = mA->Evaluate(n);
        // Both sides of && and || are pure, so evaluating both is harmless.
        const unsigned long b = mB->Evaluate(n);
        const std::string& op = mOperator;
        if (op == "||")
            return a || b;
        if (op == "&&")
            return a && b;
        if (op == "==")
            return a == b;
        if (op == "!=")
            return a != b;
        if (op == "<")
            return a < b;
        if (op == "<=")
            return a <= b;
        if (op == ">")
            return a > b;
        if (op == ">=")
            return a >= b;
        if (op == "+")
            return a + b;
        if (op == "-")
            return a - b;
        if (op == "*")
            return a * b;
        if (op == "/")
            return b ? a / b : 0;
        return b ? a % b : 0;
    }
};

namespace
{
using Node = PluralRule::Node;

// Deeper expressions than any language needs are refused rather than risking the stack.
constexpr int kMostDepth = 64;

class Parser
{
  public:
    explicit Parser(const std::string& text) : mText(text) {}

    std::unique_ptr<Node> Whole()
    {
        auto node = Conditional(0);
        Skip();
        if (node && mPos < mText.size() && mText[mPos] != ';')
            return nullptr;
        return node;
    }

  private:
    void Skip()
    {
        while (mPos < mText.size() && std::isspace(static_cast<unsigned char>(mText[mPos])))
            ++mPos;
    }
    bool Take(const char* token)
    {
        Skip();
        const std::size_t length = std::strlen(token);
        if (mText.compare(mPos, length, token) != 0)
            return false;
        // "<" must not take the first half of "<=", nor "=" of "==".
        if (length == 1 && mPos + 1 < mText.size() && mText[mPos + 1] == '=' && std::strchr("<>!=", token[0]))
            return false;
        mPos += length;
        return true;
    }
    static std::unique_ptr<Node> Join(const std::string& op, std::unique_ptr<Node> a, std::unique_ptr<Node> b)
    {
        if (!a || !b)
            return nullptr;
        auto node = std::make_unique<Node>();
        node->mKind = Node::Binary;
        node->mOperator = op;
        node->mA = std::move(a);
        node->mB = std::move(b);
        return node;
    }

    std::unique_ptr<Node> Conditional(int depth)
    {
        if (depth > kMostDepth)
            return nullptr;
        auto test = Binary(0, depth + 1);
        if (!test || !Take("?"))
            return test;
        auto yes = Conditional(depth + 1);
        if (!yes || !Take(":"))
            return nullptr;
        auto no = Conditional(depth + 1);
        if (!no)
            return nullptr;
        auto node = std::make_unique<Node>();
        node->mKind = Node::Choice;
        node->mA = std::move(test);
        node->mB = std::move(yes);
        node->mC = std::move(no);
        return node;
    }

    // Precedence levels from loosest to tightest.
    std::unique_ptr<Node> Binary(int level, int depth)
    {
        static const std::vector<std::vector<const char*>> levels = {
            {"||"}, {"&&"}, {"==", "!="}, {"<=", ">=", "<", ">"}, {"+", "-"}, {"*", "/", "%"}};
        if (depth > kMostDepth)
            return nullptr;
        if (level == static_cast<int>(levels.size()))
            return Unary(depth + 1);
        auto left = Binary(level + 1, depth + 1);
        for (;;)
        {
            const char* found = nullptr;
            for (const char* op : levels[static_cast<std::size_t>(level)])
                if (Take(op))
                {
                    found = op;
                    break;
                }
            if (!found || !left)
                return left;
            left = Join(found, std::move(left), Binary(level + 1, depth + 1));
        }
    }

    std::unique_ptr<Node> Unary(int depth)
    {
        if (depth > kMostDepth)
            return nullptr;
        if (Take("!"))
        {
            auto inner = Unary(depth + 1);
            if (!inner)
                return nullptr;
            auto node = std::make_unique<Node>();
            node->mKind = Node::Not;
            node->mA = std::move(inner);
            return node;
        }
        if (Take("("))
        {
            auto inner = Conditional(depth + 1);
            return inner && Take(")") ? std::move(inner) : nullptr;
        }
        Skip();
        auto node = std::make_unique<Node>();
        if (Take("n"))
        {
            node->mKind = Node::Variable;
            return node;
        }
        if (mPos >= mText.size() || !std::isdigit(static_cast<unsigned char>(mText[mPos])))
            return nullptr;
        while (mPos < mText.size() && std::isdigit(static_cast<unsigned char>(mText[mPos])))
        {
            if (node->mValue > 1000000)
                return nullptr;
            node->mValue = node->mValue * 10 + static_cast<unsigned long>(mText[mPos++] - '0');
        }
        return node;
    }

    const std::string& mText;
    std::size_t mPos = 0;
};

// The English rule: n != 1.
std::unique_ptr<Node> EnglishRule()
{
    const std::string text = "n != 1";
    return Parser(text).Whole();
}
} // namespace

PluralRule::PluralRule() : mRoot(EnglishRule()) {}
PluralRule::~PluralRule() = default;
PluralRule::PluralRule(PluralRule&&) noexcept = default;
PluralRule& PluralRule::operator=(PluralRule&&) noexcept = default;

bool PluralRule::Parse(const std::string& header)
{
    const std::size_t counted = header.find("nplurals=");
    const std::size_t rule = header.find("plural=", counted == std::string::npos ? 0 : counted + 9);
    if (counted == std::string::npos || rule == std::string::npos)
        return false;
    unsigned long count = 0;
    std::size_t at = counted + 9;
    while (at < header.size() && std::isdigit(static_cast<unsigned char>(header[at])) && count < 100)
        count = count * 10 + static_cast<unsigned long>(header[at++] - '0');
    const std::size_t end = header.find_first_of(";\n", rule);
    const std::string expression = header.substr(rule + 7, end == std::string::npos ? end : end - rule - 7);
    auto root = Parser(expression).Whole();
    if (count < 1 || count >= 100 || !root)
        return false;
    mRoot = std::move(root);
    mCount = count;
    return true;
}

unsigned long PluralRule::Form(unsigned long n) const
{
    const unsigned long form = mRoot->Evaluate(n);
    // A rule that names a form the catalogue lacks gets the last one.
    return form < mCount ? form : mCount - 1;
}
