#pragma once

#include <cstdint>
#include <random>

namespace lumvrex {

// Where the per-page effect numbers come from. A script writer reseeds once
// before every page and draws one value in [0, 1) per page.
class PageEffectSource
{
public:
    virtual ~PageEffectSource() = default;
    virtual void reseed() = 0;
    virtual float next() = 0;
};

// A value in [0, 1) from the top 24 bits of a 32-bit draw: exact in single
// precision, and never 1.
float unitFromBits(std::uint32_t bits);

// The everyday source: reseeded from the clock. The clock is mixed into the
// generator's current state rather than replacing it, so pages written within
// one clock tick still get different numbers. A SplitMix64 step is used
// because reseeding a Mersenne Twister per page costs more than writing it.
class ClockEffectSource final : public PageEffectSource
{
public:
    ClockEffectSource();
    void reseed() override;
    float next() override;

private:
    std::uint64_t m_state;
};

// Reproducible effects: a standard Mersenne Twister seeded once, whose output
// the C++ standard fixes, so a seed gives the same numbers everywhere.
// Reseeding does nothing; the sequence simply goes on.
class SeededEffectSource final : public PageEffectSource
{
public:
    explicit SeededEffectSource(std::uint32_t seed);
    void reseed() override { }
    float next() override;

private:
    std::mt19937 m_engine;
};

} // namespace lumvrex
