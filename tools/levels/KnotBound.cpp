#include "tools/levels/KnotBound.h"

#include <algorithm>
#include <deque>
#include <numeric>
#include <set>

namespace {

constexpr std::uint16_t kUnreached = 0xFFFF;

}  // namespace

KnotBound::KnotBound(const LevelLayout& layout, std::vector<std::uint8_t> endings, std::vector<int> period)
    : m_layout(layout), m_endings(std::move(endings)), m_period(std::move(period)) {
    m_turnsLeft.assign(4 * m_period.size(), 3);
    for (std::size_t i = 0; i < m_period.size(); ++i)
        for (int o = 0; o < m_period[i]; ++o)
            for (int t = 0; t < m_period[i]; ++t)
                if (m_endings[i] >> t & 1)
                    m_turnsLeft[4 * i + o] =
                        std::min<std::uint8_t>(m_turnsLeft[4 * i + o], TurnDistance(o, t));
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
                        turning += m_period[i] > 1;
                    }
                }
                if (turning < 2 || !seen.insert(window.pieces).second) continue;
                Build(window);
                m_windows.push_back(std::move(window));
            }
        }
    }
}

int KnotBound::TurnsLeft(int i, int o) const {
    return m_turnsLeft[static_cast<std::size_t>(4 * i + o)];
}

void KnotBound::Build(Window& window) const {
    const int k = static_cast<int>(window.pieces.size());
    window.stride.resize(k);
    int configurations = 1;
    for (int j = 0; j < k; ++j) {
        window.stride[j] = configurations;
        configurations *= m_period[window.pieces[j]];
        window.members.Add(window.pieces[j]);
    }
    const int states = configurations * (k + 1);
    auto digit = [&](int configuration, int j) {
        return configuration / window.stride[j] % m_period[window.pieces[j]];
    };

    // Which pieces of the window hold water in each configuration, for each
    // place of the source: joined inside the window to the source, or to an
    // opening towards a piece outside it.
    std::vector<std::uint8_t> wet(states);
    std::vector<int> label(k);
    for (int config = 0; config < configurations; ++config) {
        std::iota(label.begin(), label.end(), 0);
        auto find = [&](int j) {
            while (label[j] != j) j = label[j] = label[label[j]];
            return j;
        };
        std::uint8_t port = 0;  // by label
        for (int j = 0; j < k; ++j) {
            const LayoutPiece& piece = m_layout.Piece(window.pieces[j]);
            const std::uint8_t open = piece.useful[digit(config, j)];
            for (int d = 0; d < 4; ++d) {
                if (!(open >> d & 1)) continue;
                const int q = piece.neighbour[d];
                const auto at = std::find(window.pieces.begin(), window.pieces.end(), q);
                if (at == window.pieces.end()) continue;
                const int l = static_cast<int>(at - window.pieces.begin());
                if (m_layout.Piece(q).openings[digit(config, l)] >> ((d + 2) % 4) & 1)
                    label[find(j)] = find(l);
            }
        }
        for (int j = 0; j < k; ++j) {
            const LayoutPiece& piece = m_layout.Piece(window.pieces[j]);
            const std::uint8_t open = piece.useful[digit(config, j)];
            for (int d = 0; d < 4; ++d)
                if ((open >> d & 1) && !window.members.Has(piece.neighbour[d]))
                    port |= static_cast<std::uint8_t>(1 << find(j));
        }
        for (int t = 0; t <= k; ++t) {
            std::uint8_t bits = 0;
            for (int j = 0; j < k; ++j)
                if ((port >> find(j) & 1) || (t < k && find(j) == find(t)))
                    bits |= static_cast<std::uint8_t>(1 << j);
            wet[config * (k + 1) + t] = bits;
        }
    }

    // Backwards from every ending, breadth first: a press on piece j turns
    // it one way or the other and makes it the source, and needs it wet.
    window.presses.assign(states, kUnreached);
    std::deque<int> queue;
    for (int config = 0; config < configurations; ++config) {
        bool ends = true;
        for (int j = 0; j < k && ends; ++j) ends = m_endings[window.pieces[j]] >> digit(config, j) & 1;
        if (!ends) continue;
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
}

int KnotBound::Estimate(const Packed& orientations, int source) const {
    const int n = m_layout.PieceCount();
    int own = 0;
    for (int i = 0; i < n; ++i) own += TurnsLeft(i, Get2(orientations, i));
    struct Extra {
        int presses;
        int window;
    };
    std::vector<Extra> extras;
    for (int w = 0; w < static_cast<int>(m_windows.size()); ++w) {
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
    std::sort(extras.begin(), extras.end(), [&](const Extra& a, const Extra& b) {
        if (a.presses != b.presses) return a.presses > b.presses;
        return m_windows[a.window].pieces.size() < m_windows[b.window].pieces.size();
    });
    PieceSet taken;
    for (const Extra& extra : extras) {
        const PieceSet& members = m_windows[extra.window].members;
        if ((taken.low & members.low) || (taken.high & members.high)) continue;
        taken.low |= members.low;
        taken.high |= members.high;
        own += extra.presses;
    }
    return own;
}
