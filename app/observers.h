#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vek {

// An observation that ends when this goes, so that an observer may live shorter than what it
// observes (and the other way round).
class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            m_cancel = std::exchange(other.m_cancel, {});
        }
        return *this;
    }
    ~Subscription() { cancel(); }

  private:
    void cancel() {
        if (m_cancel) std::exchange(m_cancel, {})();
    }

    std::function<void()> m_cancel;
};

// The plain list of callbacks a document tells of each change, in the order they were added.
template <typename Event>
class ObserverList {
  public:
    using Observer = std::function<void(const Event&)>;

    ObserverList() = default;
    ObserverList(const ObserverList&) = delete;
    ObserverList& operator=(const ObserverList&) = delete;

    [[nodiscard]] Subscription add(Observer observer) {
        const int id = m_nextId++;
        m_entries->push_back({id, std::move(observer)});
        return Subscription([entries = std::weak_ptr(m_entries), id] {
            if (const auto list = entries.lock())
                std::erase_if(*list, [id](const Entry& entry) { return entry.id == id; });
        });
    }

    void notify(const Event& event) const {
        // By position: an observer added while the others are told is told too.
        for (std::size_t i = 0; i < m_entries->size(); ++i) (*m_entries)[i].observer(event);
    }

  private:
    struct Entry {
        int id;
        Observer observer;
    };

    std::shared_ptr<std::vector<Entry>> m_entries = std::make_shared<std::vector<Entry>>();
    int m_nextId = 0;
};

}  // namespace vek
