#include "tools/levels/PerfectNetworks.h"

#include <bit>

namespace {

// Domains are sets of orientations (bit o), one orientation kept per set of
// openings so that a straight or a cross is not tried twice.
class NetworkSearch {
public:
    NetworkSearch(const LevelLayout& layout, int maxNetworks, int maxNodes, bool looseEnds)
        : m_layout(layout), m_maxNetworks(maxNetworks), m_nodesLeft(maxNodes), m_looseEnds(looseEnds) {}

    std::vector<std::vector<std::uint8_t>> Run() {
        const int n = m_layout.PieceCount();
        std::vector<std::uint8_t> domain(n, 0);
        for (int i = 0; i < n; ++i) {
            const LayoutPiece& piece = m_layout.Piece(i);
            for (int o = 0; o < 4; ++o) {
                if (!m_looseEnds && piece.openings[o] != piece.useful[o])
                    continue;  // an opening would face nothing
                bool seen = false;
                for (int earlier = 0; earlier < o; ++earlier)
                    if ((domain[i] >> earlier & 1) && piece.useful[earlier] == piece.useful[o]) seen = true;
                if (!seen) domain[i] |= static_cast<std::uint8_t>(1 << o);
            }
        }
        if (n > 0) Search(domain);
        return m_found;
    }

private:
    // Possible values of the opening of piece i towards d.
    int Sides(int i, std::uint8_t dom, int d) const {
        int sides = 0;
        for (int o = 0; o < 4; ++o)
            if (dom >> o & 1) sides |= 1 << ((m_layout.Piece(i).openings[o] >> d) & 1);
        return sides;
    }

    bool Propagate(std::vector<std::uint8_t>& domain) const {
        const int n = m_layout.PieceCount();
        bool changed = true;
        while (changed) {
            changed = false;
            for (int i = 0; i < n; ++i) {
                const LayoutPiece& piece = m_layout.Piece(i);
                std::uint8_t kept = 0;
                for (int o = 0; o < 4; ++o) {
                    if (!(domain[i] >> o & 1)) continue;
                    bool fits = true;
                    for (int d = 0; d < 4 && fits; ++d) {
                        const int q = piece.neighbour[d];
                        if (q < 0) continue;
                        const int mine = (piece.openings[o] >> d) & 1;
                        fits = (Sides(q, domain[q], (d + 2) % 4) >> mine) & 1;
                    }
                    if (fits) kept |= static_cast<std::uint8_t>(1 << o);
                }
                if (kept == 0) return false;
                if (kept != domain[i]) {
                    domain[i] = kept;
                    changed = true;
                }
            }
        }
        return !ClosedPart(domain);
    }

    // A finished part that joins nothing else can never be one network with
    // the rest.
    bool ClosedPart(const std::vector<std::uint8_t>& domain) const {
        const int n = m_layout.PieceCount();
        std::vector<std::uint8_t> seen(n, 0);
        std::vector<int> stack;
        for (int start = 0; start < n; ++start) {
            if (seen[start] || std::popcount(domain[start]) != 1) continue;
            bool closed = true;
            int size = 0;
            stack.assign(1, start);
            seen[start] = 1;
            while (!stack.empty()) {
                const int i = stack.back();
                stack.pop_back();
                ++size;
                const LayoutPiece& piece = m_layout.Piece(i);
                const std::uint8_t open = piece.useful[std::countr_zero(domain[i])];
                for (int d = 0; d < 4; ++d) {
                    if (!(open >> d & 1)) continue;
                    const int q = piece.neighbour[d];
                    if (std::popcount(domain[q]) != 1) {
                        closed = false;
                        continue;
                    }
                    if (!seen[q]) {
                        seen[q] = 1;
                        stack.push_back(q);
                    }
                }
            }
            if (closed && size < n) return true;
        }
        return false;
    }

    void Search(std::vector<std::uint8_t> domain) {
        if (static_cast<int>(m_found.size()) >= m_maxNetworks || --m_nodesLeft < 0) return;
        if (!Propagate(domain)) return;
        int pick = -1;
        for (int i = 0; i < m_layout.PieceCount(); ++i) {
            const int size = std::popcount(domain[i]);
            if (size > 1 && (pick < 0 || size < std::popcount(domain[pick]))) pick = i;
        }
        if (pick < 0) {
            std::vector<std::uint8_t> network(domain.size());
            for (std::size_t i = 0; i < domain.size(); ++i)
                network[i] = static_cast<std::uint8_t>(std::countr_zero(domain[i]));
            m_found.push_back(network);
            return;
        }
        for (int o = 0; o < 4; ++o) {
            if (!(domain[pick] >> o & 1)) continue;
            std::vector<std::uint8_t> next = domain;
            next[pick] = static_cast<std::uint8_t>(1 << o);
            Search(next);
        }
    }

    const LevelLayout& m_layout;
    int m_maxNetworks;
    int m_nodesLeft;
    bool m_looseEnds;
    std::vector<std::vector<std::uint8_t>> m_found;
};

}  // namespace

std::vector<std::vector<std::uint8_t>> FindPerfectNetworks(const LevelLayout& layout, int maxNetworks,
                                                           int maxNodes, bool looseEnds) {
    return NetworkSearch(layout, maxNetworks, maxNodes, looseEnds).Run();
}
