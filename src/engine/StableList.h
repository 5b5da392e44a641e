#pragma once
// A growable list whose elements never move: references and pointers to an element stay valid
// until that element is erased, whatever else is added or removed.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace padwright {

template <typename T> class StableList {
public:
    std::size_t size() const { return items_.size(); }
    int count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    T& operator[](std::size_t i) { return *items_[i]; }
    const T& operator[](std::size_t i) const { return *items_[i]; }

    T& push_back(const T& value) { return *items_.emplace_back(std::make_unique<T>(value)); }
    T& push_back(T&& value) { return *items_.emplace_back(std::make_unique<T>(std::move(value))); }
    // A value-initialised element (all bytes 0 for the plain records).
    T& emplace_back() { return *items_.emplace_back(std::make_unique<T>()); }
    void erase(std::size_t i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i)); }
    void clear() { items_.clear(); }

    template <typename Owner> class basic_iterator {
    public:
        basic_iterator(Owner it) : it_(it) {}
        auto& operator*() const { return **it_; }
        auto* operator->() const { return &**it_; }
        basic_iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const basic_iterator& other) const { return it_ == other.it_; }

    private:
        Owner it_;
    };
    using iterator = basic_iterator<typename std::vector<std::unique_ptr<T>>::iterator>;
    using const_iterator = basic_iterator<typename std::vector<std::unique_ptr<T>>::const_iterator>;
    iterator begin() { return iterator(items_.begin()); }
    iterator end() { return iterator(items_.end()); }
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    std::vector<std::unique_ptr<T>> items_;
};

} // namespace padwright
