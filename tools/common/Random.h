#pragma once
// Random numbers for the data generators: the same sequence on every machine.
// std::mt19937 is fully specified; the standard distributions are not, so the
// mapping to ranges is done here.

#include <cstdint>
#include <random>

class Random {
public:
    explicit Random(uint32_t seed) : m_engine(seed) {}
    double uniform(double low, double high)
    {
        return low + (high - low) * (m_engine() / 4294967296.0);
    }
    int below(int n) { return int(m_engine() % uint32_t(n)); }

private:
    std::mt19937 m_engine;
};
