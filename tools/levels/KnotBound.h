#pragma once

#include <cstdint>
#include <vector>

#include "tools/levels/LevelLayout.h"
#include "tools/levels/PackedTurns.h"
#include "tools/levels/PieceSet.h"

// A lower bound on the presses still needed that counts the turns the water
// forces, not only the turns to the end. For each small window of cells it
// knows the least presses inside the window in a looser game, where water
// may enter the window through any opening towards a piece outside it (that
// piece is assumed to face back). Every real line of play is also a line of
// that game, so its presses inside the window are at least that many; the
// windows chosen are disjoint, the pieces outside them count their turns.
class KnotBound {
public:
    // period[i]: how many distinct orientations piece i has (4, 2 for a
    // straight, 1 for a cross).
    KnotBound(const LevelLayout& layout, std::vector<int> period);

    // endings[i]: the orientations (bit o, o < period[i]) piece i may have at
    // the end of any solution worth looking for. Windows whose pieces keep
    // their endings keep what was worked out for them.
    void SetEndings(const std::vector<std::uint8_t>& endings);

    const std::vector<int>& Periods() const { return m_period; }

    static constexpr int kDead = 1 << 20;  // no line of play from here solves the level

    // orientations: two bits a piece, each below its period; source: the
    // piece last pressed, or the level's source.
    int Estimate(const Packed& orientations, int source) const;

private:
    struct Window {
        std::vector<int> pieces;  // at most six
        std::vector<int> stride;  // of each piece's orientation in the configuration index
        std::vector<int> across;  // [4 * j + d]: the window's piece there, kOutside, or -1 for none
        PieceSet members;
        std::vector<std::uint8_t> endings;   // of its pieces, when the presses were worked out
        std::vector<std::uint16_t> presses;  // [configuration * (k + 1) + t], t = k: source outside
        bool counts = false;                 // needs more than its turns somewhere
    };
    static constexpr int kOutside = 8;

    void Build(Window& window) const;
    int TurnsLeft(int i, int o) const;

    const LevelLayout& m_layout;
    std::vector<int> m_period;
    std::vector<std::uint8_t> m_endings;
    std::vector<std::uint8_t> m_turnsLeft;  // [4 * piece + orientation]
    std::vector<Window> m_windows;
    std::vector<int> m_counting;  // windows that count
    struct Excess {
        int presses;
        int window;
    };
    mutable std::vector<Excess> m_excess;  // Estimate's own, kept to spare an allocation a position
};
