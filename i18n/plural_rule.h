#pragma once

#include <memory>
#include <optional>
#include <string_view>

namespace lumvrex {

// The "plural=" expression of a catalogue's Plural-Forms header: a C
// expression in n, such as "(n != 1)" or Polish's nested conditionals.
class PluralRule
{
public:
    // English's rule: form 0 for one, form 1 for everything else.
    PluralRule();
    ~PluralRule();
    PluralRule(PluralRule &&) noexcept;
    PluralRule &operator=(PluralRule &&) noexcept;

    // Nothing for an expression that is not one.
    static std::optional<PluralRule> parse(std::string_view expression);

    // Which of the catalogue's forms stands for n.
    unsigned long formFor(unsigned long n) const;

    struct Node;

private:
    explicit PluralRule(std::unique_ptr<Node> root);
    std::unique_ptr<Node> m_root;
};

} // namespace lumvrex
