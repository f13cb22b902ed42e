#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vek {

struct Word;

// Words by name in one flat table, probed from the name's hash: a check looks up every name it
// reads. A name's first eight bytes, packed into a number, are both its hash and most of the
// comparison, so that a look-up of a short name reads a slot or two and calls nothing.
// It holds views of the names, which must outlive it.
class WordIndex {
  public:
    // Adds a name; a name added before keeps its word.
    void add(std::string_view name, const Word* word);
    // The word of that exact name, or nullptr.
    const Word* find(std::string_view name) const {
        if (m_slots.empty()) return nullptr;
        return m_slots[slotOf(name, packed(name))].word;
    }
    bool contains(std::string_view name) const { return find(name) != nullptr; }
    std::size_t size() const { return m_count; }

  private:
    struct Slot {
        std::uint64_t head = 0;  // the name's first eight bytes
        std::string_view name;
        const Word* word = nullptr;  // nullptr: the slot is free
    };

    static std::uint64_t packed(std::string_view name) {
        std::uint64_t head = 0;
        const std::size_t count = name.size() < 8 ? name.size() : 8;
        for (std::size_t k = 0; k < count; ++k)
            head |= std::uint64_t{static_cast<unsigned char>(name[k])} << (8 * k);
        return head;
    }
    static bool same(const Slot& slot, std::string_view name, std::uint64_t head) {
        return slot.head == head && slot.name.size() == name.size() &&
               (name.size() <= 8 || slot.name.substr(8) == name.substr(8));
    }
    // The slot that holds `name`, or the free slot where it would go.
    std::size_t slotOf(std::string_view name, std::uint64_t head) const {
        const std::size_t mask = m_slots.size() - 1;
        // Multiplying spreads the packed letters over the high bits, which pick the first slot.
        std::size_t at = static_cast<std::size_t>(((head ^ name.size()) * 0x9E3779B97F4A7C15ull) >>
                                                  (64 - m_bits));
        while (m_slots[at].word && !same(m_slots[at], name, head)) at = (at + 1) & mask;
        return at;
    }
    void grow();

    std::vector<Slot> m_slots;  // 2^m_bits in size, at most half full
    int m_bits = 0;
    std::size_t m_count = 0;
};

}  // namespace vek
