#pragma once

#include <QStringList>
#include <random>

namespace admin {

// The synthetic data's random source: seeded, so a run can be repeated.
class Dice {
public:
    explicit Dice(quint64 seed) : m_engine(seed) {}

    int between(int low, int high) // both ends included
    {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }
    double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }
    bool chance(double p) { return unit() < p; }
    double normal(double mean, double sd) { return std::normal_distribution<double>(mean, sd)(m_engine); }

    template <typename List>
    const auto& pick(const List& list)
    {
        return list[between(0, int(list.size()) - 1)];
    }

private:
    std::mt19937_64 m_engine;
};

} // namespace admin
