// Sorting the match list by label. A list may hold the whole book, so labels
// are formatted once and a permutation is sorted in their stead; the 1.7 KB
// records are then moved straight to their places.
#include "search/match_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <utility>

namespace {

// std::string compares through char_traits<char>, which orders bytes as
// unsigned char and puts a prefix first: exactly the label order.
bool LabelBytesLess(std::string_view a, std::string_view b) { return a < b; }

// Rearranges `items` so that the new items[i] is the old items[order[i]],
// following each cycle of the permutation: every element is moved once, plus
// one move through a temporary per cycle. `order` is consumed.
template <typename Items>
void ApplyPermutation(Items& items, std::vector<std::uint32_t>& order) {
  const std::size_t n = items.size();
  for (std::size_t start = 0; start < n; ++start) {
    if (order[start] == start) continue;
    typename Items::value_type held = std::move(items[start]);
    std::size_t hole = start;
    for (;;) {
      const std::size_t from = order[hole];
      order[hole] = static_cast<std::uint32_t>(hole);
      if (from == start) {
        items[hole] = std::move(held);
        break;
      }
      items[hole] = std::move(items[from]);
      hole = from;
    }
  }
}

}  // namespace

bool LabelLess(const StudentRecord& a, const StudentRecord& b) {
  return LabelBytesLess(RecordLabel(a), RecordLabel(b));
}

namespace {
// The indexes of `labels` in ascending label order, equal labels in their
// first order.
std::vector<std::uint32_t> OrderOf(const std::vector<std::string>& labels) {
  std::vector<std::uint32_t> order(labels.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&labels](std::uint32_t a, std::uint32_t b) {
    const int c = labels[a].compare(labels[b]);
    return c != 0 ? c < 0 : a < b;
  });
  return order;
}
}  // namespace

std::vector<std::string> SortMatches(RecordList& matches) {
  const std::size_t n = matches.size();
  std::vector<std::string> labels(n);
  for (std::size_t i = 0; i < n; ++i) AppendRecordLabel(matches[i], labels[i]);

  std::vector<std::uint32_t> order = OrderOf(labels);

  std::vector<std::uint32_t> recordOrder = order;
  ApplyPermutation(matches, recordOrder);
  ApplyPermutation(labels, order);
  return labels;
}

void SortByLabel(std::vector<const StudentRecord*>& records) {
  const std::size_t n = records.size();
  std::vector<std::string> labels(n);
  for (std::size_t i = 0; i < n; ++i) AppendRecordLabel(*records[i], labels[i]);
  const std::vector<std::uint32_t> order = OrderOf(labels);
  std::vector<const StudentRecord*> sorted(n);
  for (std::size_t i = 0; i < n; ++i) sorted[i] = records[order[i]];
  records.swap(sorted);
}
