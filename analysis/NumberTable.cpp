// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/NumberTable.h"

#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/ReportWriter.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/hypergeometric.hpp>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>

namespace zg {

namespace {

// The chain stops once the mass of the states with numbers still unseen falls below this.
constexpr double NegligibleMass = 1e-300;

// What the walk over the range gathers for one number, side by side so that one draw's update of
// a number touches one place.
struct NumberWalk {
    std::int32_t last = 0;    // the newest appearance so far, A - 1 before the first
    std::int32_t longest = 0; // the largest gap before an appearance so far
    std::int32_t count = 0;
    std::int32_t countLast = 0;
};
using Walk = std::array<NumberWalk, 80>; // by bit position 0..79

// Draws from..to (their masks, or masks made from the records): for each number a draw holds, the
// gap since its previous appearance and the appearance itself. `recent` adds to countLast too.
template <bool recent>
void WalkDraws(Walk& w, const DrawsView& draws, const DrawMasks* masks, std::int32_t from, std::int32_t to) {
    for (std::int32_t q = from; q <= to; ++q) {
        const DrawMask m = masks != nullptr ? (*masks)[q] : MaskOfDraw(draws[q]);
        const auto visit = [&](std::uint64_t bits, int base) {
            while (bits != 0) {
                NumberWalk& x = w[static_cast<std::size_t>(base + std::countr_zero(bits))];
                bits &= bits - 1;
                ++x.count;
                if constexpr (recent)
                    ++x.countLast;
                x.longest = std::max(x.longest, q - x.last - 1);
                x.last = q;
            }
        };
        visit(m.low, 0);
        visit(m.high & 0xFFFFu, 64); // numbers 65..80; bit 63 (CountFromDraw) is no number
    }
}

#if defined(__GNUC__)
// Eight numbers side by side in 16-bit lanes (GCC's vector types: SSE2 on x86-64, NEON on ARM).
// Each draw adds one to every number's current absence, empties it for the numbers the draw holds
// and keeps the largest: the same gaps as WalkDraws, for all 80 numbers at once and without a
// branch per number. An absence of 32,767 draws stops growing; the caller then walks again
// exactly.
using Lanes = std::int16_t __attribute__((vector_size(16)));
constexpr std::int16_t AbsenceCeiling = 32767;

// For each byte value, -1 in lane j where bit j is set, else 0.
const std::array<Lanes, 256>& ByteLanes() {
    static const std::array<Lanes, 256> lanes = [] {
        std::array<Lanes, 256> l{};
        for (unsigned b = 0; b < 256; ++b)
            for (unsigned j = 0; j < 8; ++j)
                l[b][j] = static_cast<std::int16_t>((b >> j) & 1u ? -1 : 0);
        return l;
    }();
    return lanes;
}

// Walks draws a..b as WalkDraws does (the last `last` of them into countLast too). False when an
// absence reached the ceiling; w is then unchanged.
bool WalkDrawsInLanes(Walk& w, const DrawsView& draws, const DrawMasks* masks, std::int32_t a, std::int32_t b,
                      std::int32_t last) {
    const std::array<Lanes, 256>& expand = ByteLanes();
    const Lanes ceiling = {AbsenceCeiling, AbsenceCeiling, AbsenceCeiling, AbsenceCeiling,
                           AbsenceCeiling, AbsenceCeiling, AbsenceCeiling, AbsenceCeiling};
    Lanes absence[10] = {}, longest[10] = {}, count[10] = {};
    std::array<std::int32_t, 80> total{}, recent{};
    const auto flush = [&](std::array<std::int32_t, 80>& into) {
        for (std::size_t v = 0; v < 10; ++v) {
            for (std::size_t j = 0; j < 8; ++j)
                into[8 * v + j] += count[v][j];
            count[v] = Lanes{};
        }
    };
    const auto phase = [&](std::int32_t from, std::int32_t to, std::array<std::int32_t, 80>& counts) {
        std::int32_t counted = 0;
        for (std::int32_t q = from; q <= to; ++q) {
            const DrawMask m = masks != nullptr ? (*masks)[q] : MaskOfDraw(draws[q]);
            const std::uint64_t bytes[2] = {m.low, m.high & 0xFFFFu}; // bit 63 (CountFromDraw) is no number
            for (std::size_t v = 0; v < 10; ++v) {
                const Lanes present = expand[(bytes[v / 8] >> (8 * (v % 8))) & 0xFFu];
                absence[v] = (absence[v] + 1 + (absence[v] == ceiling)) & ~present;
                longest[v] = longest[v] > absence[v] ? longest[v] : absence[v];
                count[v] -= present;
            }
            if (++counted == AbsenceCeiling) { // before a count could pass the lanes' range
                flush(counts);
                counted = 0;
            }
        }
        flush(counts);
    };
    phase(a, b - last, total);
    phase(b - last + 1, b, recent);
    for (std::size_t k = 0; k < 80; ++k)
        if (longest[k / 8][k % 8] == AbsenceCeiling)
            return false;
    for (std::size_t k = 0; k < 80; ++k) {
        const std::int16_t away = absence[k / 8][k % 8], most = longest[k / 8][k % 8];
        NumberWalk& x = w[k];
        x.count = total[k] + recent[k];
        x.countLast = recent[k];
        x.last = x.count > 0 ? b - away : a - 1;
        x.longest = most;
    }
    return true;
}
#endif

// P(j of the u unseen numbers come in one fair draw) = C(u, j) C(80 - u, 20 - j) / C(80, 20),
// for u = 0..80 and j = 0..20; 0 where impossible.
using Transitions = std::array<std::array<double, 21>, 81>;

const Transitions& UnseenTransitions() {
    static const Transitions table = [] {
        Transitions t{};
        for (unsigned u = 0; u <= 80; ++u) {
            const boost::math::hypergeometric_distribution<double> draw(u, 20, 80);
            const unsigned lowest = u > 60 ? u - 60 : 0;
            for (unsigned j = lowest; j <= std::min(u, 20u); ++j)
                t[u][j] = boost::math::pdf(draw, j);
        }
        return t;
    }();
    return table;
}

} // namespace

std::optional<NumberTable> ComputeNumberTable(const NumberTableInput& in) {
    const std::int32_t a = in.rangeFrom, b = in.rangeTo;
    if (a < 1 || a > b || b > in.draws.count)
        return std::nullopt;
    NumberTable t;
    t.rangeFrom = a;
    t.rangeTo = b;
    t.draws = b - a + 1;
    t.last = std::clamp(in.last, 1, t.draws);
    t.firstDateLong = DrawDateLongText(in.draws, a);
    t.lastDateLong = DrawDateLongText(in.draws, b);
    t.firstDateShort = DrawDateText(in.draws, a);
    t.lastDateShort = DrawDateText(in.draws, b);
    t.bandLast = NumberCountBand(t.last);

    const DrawMasks* masks = in.masks != nullptr && in.masks->count() == in.draws.count ? in.masks : nullptr;
    Walk w;
#if defined(__GNUC__)
    const bool walked = WalkDrawsInLanes(w, in.draws, masks, a, b, t.last);
#else
    const bool walked = false;
#endif
    if (!walked) {
        for (NumberWalk& x : w)
            x.last = a - 1;
        WalkDraws<false>(w, in.draws, masks, a, b - t.last);
        WalkDraws<true>(w, in.draws, masks, b - t.last + 1, b);
    }

    t.rows.resize(80);
    for (std::int32_t x = 1; x <= 80; ++x) {
        const auto k = static_cast<std::size_t>(x - 1);
        NumberRow& r = t.rows[k];
        r.number = x;
        const NumberWalk& walked = w[k];
        r.count = walked.count;
        r.sharePercent = 100.0 * r.count / t.draws;
        if (r.count > 0) {
            r.lastDraw = walked.last;
            const DrawRecord& d = in.draws[r.lastDraw];
            r.lastDate = DrawDate{d.Day, d.Month, d.Year};
        }
        r.currentGap = b - walked.last; // n when the number never came
        // The gaps q - p - 1 add up to (last - (A - 1)) - count.
        r.gapSum = static_cast<std::int64_t>(walked.last) - (a - 1) - r.count;
        r.longestGap = std::max(walked.longest, r.currentGap);
        r.pCurrentGap = std::pow(0.75, r.currentGap);
        r.countLast = walked.countLast;
        r.status = r.countLast > t.bandLast.high  ? NumberStatus::Hot
                   : r.countLast < t.bandLast.low ? NumberStatus::Cold
                                                  : NumberStatus::Normal;
        r.inSet = in.set.Member[x];
        t.outsideCount += r.status != NumberStatus::Normal ? 1 : 0;
        t.longestCurrentGap = std::max(t.longestCurrentGap, r.currentGap);
    }
    for (const NumberRow& r : t.rows)
        if (r.currentGap == t.longestCurrentGap)
            t.longestGapNumbers.push_back(r.number);
    t.pAny = ChanceSomeNumberAway(t.longestCurrentGap);
    t.outsideExpected = ExpectedOutsideBand(t.last, t.bandLast);
    return t;
}

double ChanceSomeNumberAway(std::int32_t gap) {
    const Transitions& p = UnseenTransitions();
    // mass[u]: the chance that u numbers are still unseen; u = 0 absorbs and is not kept.
    std::array<double, 81> mass{};
    mass[80] = 1;
    double away = 1;
    for (std::int32_t step = 0; step < gap && away >= NegligibleMass; ++step) {
        std::array<double, 81> next{};
        for (unsigned u = 1; u <= 80; ++u) {
            if (mass[u] == 0)
                continue;
            const unsigned lowest = u > 60 ? u - 60 : 0;
            for (unsigned j = lowest; j <= std::min(u, 20u); ++j)
                next[u - j] += mass[u] * p[u][j];
        }
        next[0] = 0;
        mass = next;
        away = 0;
        for (unsigned u = 1; u <= 80; ++u)
            away += mass[u];
    }
    return std::min(away, 1.0);
}

double ExpectedOutsideBand(std::int32_t draws, CountBand band) {
    if (draws <= 0)
        return 0;
    const boost::math::binomial_distribution<double> fair(draws, 0.25);
    const double below = band.low > 0 ? boost::math::cdf(fair, static_cast<double>(band.low - 1)) : 0.0;
    const double above = boost::math::cdf(boost::math::complement(fair, static_cast<double>(band.high)));
    return 80 * (below + above);
}

} // namespace zg
