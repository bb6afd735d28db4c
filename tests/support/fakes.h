#pragma once

#include "publication/page_effect_source.h"
#include "runtime/dialogs.h"

#include <string>
#include <utility>
#include <vector>

namespace lumvrex::testing {

// Effects from a given list of unit values, recording the order of calls.
class FixedEffectSource final : public PageEffectSource
{
public:
    explicit FixedEffectSource(std::vector<float> units = {0.5f})
        : m_units(std::move(units))
    { }
    void reseed() override { calls += 'R'; }
    float next() override
    {
        calls += 'N';
        return m_units.empty() ? 0.0f : m_units[m_drawn++ % m_units.size()];
    }
    std::string calls; // "R" per reseed, "N" per draw, in order

private:
    std::vector<float> m_units;
    std::size_t m_drawn = 0;
};

// Dialogs answered by the test; every call is recorded.
class FakeDialogs final : public Dialogs
{
public:
    struct Shown
    {
        std::string kind; // "ask", "inform", "warn" or "confirm"
        std::string title;
        std::string text;
    };

    std::optional<std::string> answer; // what askText returns
    bool yes = true;                   // what confirm returns
    std::vector<Shown> shown;

    std::optional<std::string> askText(std::string_view title, std::string_view prompt) override
    {
        shown.push_back({"ask", std::string(title), std::string(prompt)});
        return answer;
    }
    void inform(std::string_view title, std::string_view text) override
    {
        shown.push_back({"inform", std::string(title), std::string(text)});
    }
    void warn(std::string_view title, std::string_view text) override
    {
        shown.push_back({"warn", std::string(title), std::string(text)});
    }
    bool confirm(std::string_view title, std::string_view question) override
    {
        shown.push_back({"confirm", std::string(title), std::string(question)});
        return yes;
    }
};

} // namespace lumvrex::testing
