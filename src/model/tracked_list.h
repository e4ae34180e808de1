// An owning list whose every chance to change its items moves a version counter on, so
// that whoever copied the items can tell that the copy may no longer match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace lumacet {

// Non-const access counts as a change, whether or not the caller writes: the counter may
// move on too often, never too seldom. Read through a const reference to leave it alone.
template <class T>
class TTrackedList {
 public:
  using TItems = std::vector<std::unique_ptr<T>>;

  explicit TTrackedList(std::uint64_t& version) : fVersion(version) {}
  TTrackedList(const TTrackedList&) = delete;
  TTrackedList& operator=(const TTrackedList&) = delete;

  std::size_t size() const { return fItems.size(); }
  bool empty() const { return fItems.empty(); }
  const std::unique_ptr<T>& operator[](std::size_t i) const { return fItems[i]; }
  const std::unique_ptr<T>& front() const { return fItems.front(); }
  const std::unique_ptr<T>& back() const { return fItems.back(); }
  typename TItems::const_iterator begin() const { return fItems.begin(); }
  typename TItems::const_iterator end() const { return fItems.end(); }

  std::unique_ptr<T>& operator[](std::size_t i) { return Changed()[i]; }
  std::unique_ptr<T>& front() { return Changed().front(); }
  std::unique_ptr<T>& back() { return Changed().back(); }
  typename TItems::iterator begin() { return Changed().begin(); }
  typename TItems::iterator end() { return Changed().end(); }
  void push_back(std::unique_ptr<T> item) { Changed().push_back(std::move(item)); }
  void pop_back() { Changed().pop_back(); }
  void clear() { Changed().clear(); }

 private:
  TItems& Changed() {
    ++fVersion;
    return fItems;
  }

  std::uint64_t& fVersion;
  TItems fItems;
};

}  // namespace lumacet
