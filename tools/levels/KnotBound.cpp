#include "tools/levels/KnotBound.h"

#include <algorithm>
#include <array>
#include <deque>
#include <set>

namespace {

constexpr std::uint16_t kUnreached = 0xFFFF;

}  // namespace

KnotBound::KnotBound(const LevelLayout& layout, std::vector<int> period)
    : m_layout(layout), m_period(std::move(period)) {
    // Every rectangle of 2 x 2, 2 x 3 and 3 x 2 cells with two pieces or more that turn.
    std::set<std::vector<int>> seen;
    for (const auto& [width, height] : {std::pair{2, 2}, std::pair{2, 3}, std::pair{3, 2}}) {
        for (int c = 1; c + width - 1 <= kColumns; ++c) {
            for (int r = 1; r + height - 1 <= kRows; ++r) {
                Window window;
                int turning = 0;
                for (int dc = 0; dc < width; ++dc) {
                    for (int dr = 0; dr < height; ++dr) {
                        const int i = layout.PieceAt(CellIndex(c + dc, r + dr));
                        if (i < 0) continue;
                        window.pieces.push_back(i);
                        window.members.Add(i);
                        turning += m_period[i] > 1;
                    }
                }
                if (turning < 2 || !seen.insert(window.pieces).second) continue;
                const int k = static_cast<int>(window.pieces.size());
                window.across.assign(4 * k, -1);
                for (int j = 0; j < k; ++j) {
                    for (int d = 0; d < 4; ++d) {
                        const int q = layout.Piece(window.pieces[j]).neighbour[d];
                        if (q < 0) continue;
                        const auto at = std::find(window.pieces.begin(), window.pieces.end(), q);
                        window.across[4 * j + d] = at == window.pieces.end()
                                                       ? kOutside
                                                       : static_cast<int>(at - window.pieces.begin());
                    }
                }
                m_windows.push_back(std::move(window));
            }
        }
    }
}

void KnotBound::SetEndings(const std::vector<std::uint8_t>& endings) {
    m_endings = endings;
    m_turnsLeft.assign(4 * m_period.size(), 3);
    for (std::size_t i = 0; i < m_period.size(); ++i)
        for (int o = 0; o < m_period[i]; ++o)
            m_turnsLeft[4 * i + o] = static_cast<std::uint8_t>(TurnsToSet(o, m_endings[i]));
    m_counting.clear();
    for (int w = 0; w < static_cast<int>(m_windows.size()); ++w) {
        Window& window = m_windows[w];
        std::vector<std::uint8_t> own;
        for (int i : window.pieces) own.push_back(m_endings[i]);
        if (own != window.endings || window.presses.empty()) {
            window.endings = own;
            Build(window);
        }
        if (window.counts) m_counting.push_back(w);
    }
}

int KnotBound::TurnsLeft(int i, int o) const {
    return m_turnsLeft[4 * static_cast<std::size_t>(i) + static_cast<std::size_t>(o)];
}

void KnotBound::Build(Window& window) const {
    const int k = static_cast<int>(window.pieces.size());
    window.stride.resize(k);
    int configurations = 1;
    for (int j = 0; j < k; ++j) {
        window.stride[j] = configurations;
        configurations *= m_period[window.pieces[j]];
    }
    const int states = configurations * (k + 1);
    auto digit = [&](int configuration, int j) {
        return configuration / window.stride[j] % m_period[window.pieces[j]];
    };

    // Which pieces of the window hold water in each configuration, for each
    // place of the source: joined inside the window to the source, or to an
    // opening towards a piece outside it. And the turns each configuration
    // is from its pieces' endings.
    std::vector<std::uint8_t> wet(states);
    std::vector<int> turns(configurations, 0);
    std::array<int, 6> o{};  // the configuration's digits, counted up with it
    std::array<int, 6> label{};
    for (int config = 0; config < configurations; ++config) {
        for (int j = 0; j < k; ++j) label[j] = j;
        auto find = [&](int j) {
            while (label[j] != j) j = label[j] = label[label[j]];
            return j;
        };
        std::uint8_t port = 0;  // by label
        for (int j = 0; j < k; ++j) {
            turns[config] += TurnsLeft(window.pieces[j], o[j]);
            const std::uint8_t open = m_layout.Piece(window.pieces[j]).useful[o[j]];
            for (int d = 0; d < 4; ++d) {
                const int l = window.across[4 * j + d];
                if (!(open >> d & 1) || l == kOutside) continue;
                if (m_layout.Piece(window.pieces[l]).openings[o[l]] >> ((d + 2) % 4) & 1)
                    label[find(j)] = find(l);
            }
        }
        for (int j = 0; j < k; ++j) {
            const std::uint8_t open = m_layout.Piece(window.pieces[j]).useful[o[j]];
            for (int d = 0; d < 4; ++d)
                if ((open >> d & 1) && window.across[4 * j + d] == kOutside)
                    port |= static_cast<std::uint8_t>(1 << find(j));
        }
        for (int t = 0; t <= k; ++t) {
            std::uint8_t bits = 0;
            for (int j = 0; j < k; ++j)
                if ((port >> find(j) & 1) || (t < k && find(j) == find(t)))
                    bits |= static_cast<std::uint8_t>(1 << j);
            wet[config * (k + 1) + t] = bits;
        }
        for (int j = 0; j < k && ++o[j] == m_period[window.pieces[j]]; ++j) o[j] = 0;
    }

    // Backwards from every ending, breadth first: a press on piece j turns
    // it one way or the other and makes it the source, and needs it wet.
    window.presses.assign(states, kUnreached);
    std::deque<int> queue;
    for (int config = 0; config < configurations; ++config) {
        if (turns[config] != 0) continue;  // not every piece in one of its endings
        for (int t = 0; t <= k; ++t) {
            window.presses[config * (k + 1) + t] = 0;
            queue.push_back(config * (k + 1) + t);
        }
    }
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        const int config = state / (k + 1);
        const int j = state % (k + 1);
        if (j == k) continue;  // no press leaves the source outside
        const int p = m_period[window.pieces[j]];
        if (p == 1) continue;
        const int now = digit(config, j);
        for (const int before : {(now + p - 1) % p, (now + 1) % p}) {
            const int earlier = config + (before - now) * window.stride[j];
            for (int t = 0; t <= k; ++t) {
                const int from = earlier * (k + 1) + t;
                if (!(wet[from] >> j & 1) || window.presses[from] != kUnreached) continue;
                window.presses[from] = static_cast<std::uint16_t>(window.presses[state] + 1);
                queue.push_back(from);
            }
            if (p == 2) break;  // both ways are the same turn
        }
    }
    window.counts = false;
    for (int state = 0; state < states && !window.counts; ++state)
        window.counts = window.presses[state] > turns[state / (k + 1)];
}

int KnotBound::Estimate(const Packed& orientations, int source) const {
    const int n = m_layout.PieceCount();
    int own = 0;
    for (int i = 0; i < n; ++i) own += TurnsLeft(i, Get2(orientations, i));
    std::vector<Excess>& extras = m_excess;
    extras.clear();
    for (const int w : m_counting) {
        const Window& window = m_windows[w];
        const int k = static_cast<int>(window.pieces.size());
        int config = 0;
        int turns = 0;
        for (int j = 0; j < k; ++j) {
            const int o = Get2(orientations, window.pieces[j]);
            config += o * window.stride[j];
            turns += TurnsLeft(window.pieces[j], o);
        }
        const std::uint16_t* row = &window.presses[static_cast<std::size_t>(config) * (k + 1)];
        const auto at = std::find(window.pieces.begin(), window.pieces.end(), source);
        const int presses = row[at - window.pieces.begin()];  // k when the source is outside
        if (presses == kUnreached) return kDead;
        if (presses > turns) extras.push_back({presses - turns, w});
    }
    std::sort(extras.begin(), extras.end(), [&](const Excess& a, const Excess& b) {
        if (a.presses != b.presses) return a.presses > b.presses;
        return m_windows[a.window].pieces.size() < m_windows[b.window].pieces.size();
    });
    PieceSet taken;
    for (const Excess& extra : extras) {
        const PieceSet& members = m_windows[extra.window].members;
        if (taken.Meets(members)) continue;
        taken.Join(members);
        own += extra.presses;
    }
    return own;
}
