#include "language/word_index.h"

namespace vek {

void WordIndex::grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_bits = old.empty() ? 4 : m_bits + 1;
    m_slots.assign(std::size_t{1} << m_bits, Slot{});
    for (const Slot& slot : old) {
        if (slot.word) m_slots[slotOf(slot.name, slot.head)] = slot;
    }
}

void WordIndex::add(std::string_view name, const Word* word) {
    if (!word) return;
    if ((m_count + 1) * 2 > m_slots.size()) grow();
    const std::uint64_t head = packed(name);
    Slot& slot = m_slots[slotOf(name, head)];
    if (slot.word) return;
    slot = {head, name, word};
    ++m_count;
}

}  // namespace vek
