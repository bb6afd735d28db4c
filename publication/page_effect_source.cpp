#include "publication/page_effect_source.h"

#include <chrono>

namespace lumvrex {
namespace {

std::uint64_t clockTicks()
{
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

std::uint64_t splitMix64(std::uint64_t &state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t startingState()
{
    std::random_device device;
    return (std::uint64_t(device()) << 32 | device()) ^ clockTicks();
}

} // namespace

float unitFromBits(std::uint32_t bits)
{
    return static_cast<float>(bits >> 8) * 0x1p-24f;
}

ClockEffectSource::ClockEffectSource()
    : m_state(startingState())
{ }

void ClockEffectSource::reseed()
{
    m_state ^= clockTicks() * 0x9E3779B97F4A7C15ULL;
}

float ClockEffectSource::next()
{
    return unitFromBits(static_cast<std::uint32_t>(splitMix64(m_state) >> 32));
}

SeededEffectSource::SeededEffectSource(std::uint32_t seed)
    : m_engine(seed)
{ }

float SeededEffectSource::next()
{
    return unitFromBits(static_cast<std::uint32_t>(m_engine()));
}

} // namespace lumvrex
