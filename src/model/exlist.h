#pragma once
// TExList: the owning list most of the drawing model uses (layer members,
// construction candidates, result lists, marker lists). Removing or deleting
// an item frees it; reading an index outside the list answers none.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace qm {

template <class T>
class TExList {
  using Storage = std::vector<std::unique_ptr<T>>;

 public:
  // Iterates the items as plain pointers (never null).
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T*;
    using difference_type = std::ptrdiff_t;
    using pointer = T* const*;
    using reference = T*;
    const_iterator() = default;
    explicit const_iterator(typename Storage::const_iterator it) : it_(it) {}
    T* operator*() const { return it_->get(); }
    const_iterator& operator++() {
      ++it_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++it_;
      return old;
    }
    bool operator==(const const_iterator&) const = default;

   private:
    typename Storage::const_iterator it_;
  };

  TExList() = default;
  TExList(const TExList&) = delete;
  TExList& operator=(const TExList&) = delete;
  TExList(TExList&&) noexcept = default;
  TExList& operator=(TExList&&) noexcept = default;
  ~TExList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // None (nullptr) outside the list.
  T* At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
  }
  T* operator[](int index) const { return At(index); }
  T* First() const { return At(0); }
  T* Last() const { return At(Count() - 1); }

  // Appends and answers the item (null items are refused).
  T* Add(std::unique_ptr<T> item) {
    if (!item) return nullptr;
    items_.push_back(std::move(item));
    return items_.back().get();
  }
  // Inserts before `index` (clamped to 0..Count()).
  T* Insert(int index, std::unique_ptr<T> item) {
    if (!item) return nullptr;
    index = std::clamp(index, 0, Count());
    auto it = items_.insert(items_.begin() + index, std::move(item));
    return it->get();
  }

  int IndexOf(const T* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
  }

  // Frees the item; false when the index is outside the list.
  bool Delete(int index) { return Extract(index) != nullptr; }
  // Frees the item when it is listed.
  bool Remove(const T* item) { return Delete(IndexOf(item)); }

  // Takes the item off the list without freeing it.
  std::unique_ptr<T> Extract(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    auto it = items_.begin() + index;
    std::unique_ptr<T> item = std::move(*it);
    items_.erase(it);
    return item;
  }
  std::unique_ptr<T> Extract(const T* item) { return Extract(IndexOf(item)); }

  // Frees every item for which pred(item) holds, keeping the order of the
  // others; answers the number freed. The predicate sees the whole list
  // unchanged, and the items are freed only once the list holds just the
  // survivors, so whatever an item's destruction notifies never finds a
  // half-compacted list. Linear in the list length.
  template <class Pred>
  int DeleteIf(Pred pred) {
    std::vector<bool> doomed(items_.size());
    std::size_t freed = 0;
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (pred(*items_[i])) {
        doomed[i] = true;
        ++freed;
      }
    if (freed == 0) return 0;
    Storage dead;
    dead.reserve(freed);
    std::size_t out = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (doomed[i])
        dead.push_back(std::move(items_[i]));
      else if (out++ != i)
        items_[out - 1] = std::move(items_[i]);
    }
    items_.resize(out);
    for (auto& item : dead) item.reset();  // in list order
    return static_cast<int>(freed);
  }

  // Frees all items (in list order); the list is already empty while they
  // are freed.
  void Clear() {
    Storage dead;
    dead.swap(items_);
    for (auto& item : dead) item.reset();
  }
  // Empties the list without freeing: the items go to the caller.
  Storage DetachAll() {
    Storage out;
    out.swap(items_);
    return out;
  }

  void Reserve(std::size_t n) { items_.reserve(n); }

  const_iterator begin() const { return const_iterator(items_.cbegin()); }
  const_iterator end() const { return const_iterator(items_.cend()); }

 private:
  Storage items_;
};

}  // namespace qm
