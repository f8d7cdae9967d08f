#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// A small seeded generator (SplitMix64). The standard distributions differ between library
// implementations; this one gives the same demo shop on every platform for the same seed.
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : m_state(seed) {}
    // A generator for one stream (a table, a customer) that does not disturb any other.
    DemoRandom(std::uint64_t seed, std::uint64_t stream) : m_state(mix(seed ^ mix(stream + 0x51ED27))) {}

    static std::uint64_t mix(std::uint64_t x)
    {
        x += 0x9E3779B97F4A7C15ull;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }

    std::uint64_t next()
    {
        const std::uint64_t value = mix(m_state);
        m_state += 0x9E3779B97F4A7C15ull;
        return value;
    }
    // 0 .. n-1; n must be positive.
    int below(int n) { return int(next() % std::uint64_t(n)); }
    // lo .. hi inclusive.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // [0, 1)
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    // An index weighted towards the front: a few entries are common, the rest rare.
    int skewed(int n, int power = 2)
    {
        const double u = unit();
        double v = u;
        for (int i = 1; i < power; ++i)
            v *= u;
        return qMin(n - 1, int(v * n));
    }
    template <typename T> const T& pick(const QList<T>& list) { return list.at(below(int(list.size()))); }
    // n decimal digits, leading zeros kept.
    QString digits(int n)
    {
        QString text(n, QLatin1Char('0'));
        for (int i = 0; i < n; ++i)
            text[i] = QLatin1Char(char('0' + below(10)));
        return text;
    }

private:
    std::uint64_t m_state;
};
