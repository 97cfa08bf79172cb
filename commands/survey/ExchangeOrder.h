// The order an exchange sort leaves a list in (each place in turn takes the smallest of the rest, swapping only on a
// strictly smaller key), computed in n log n instead of n * n. Equal keys do not keep their list order in such a sort:
// an element pushed back by a smaller one can jump over its equals. Its exact order matters wherever the first of
// several equal candidates is taken.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <numeric>
#include <vector>

namespace fendo::survey {

// Counts of marked places in a list of fixed length, by range.
class RankCounter {
public:
    explicit RankCounter(std::size_t size) : m_tree(size + 1, 0) {}
    void add(std::size_t rank, int delta)
    {
        for (std::size_t i = rank + 1; i < m_tree.size(); i += i & (~i + 1)) m_tree[i] += delta;
    }
    // Marked places below rank.
    int below(std::size_t rank) const
    {
        int sum = 0;
        for (std::size_t i = std::min(rank, m_tree.size() - 1); i > 0; i -= i & (~i + 1)) sum += m_tree[i];
        return sum;
    }
    // Marked places strictly between two ranks (lo < hi).
    int between(std::size_t lo, std::size_t hi) const { return below(hi) - below(lo + 1); }
    std::size_t size() const { return m_tree.size() - 1; }

private:
    std::vector<int> m_tree;
};

// The order in which an exchange sort puts one group of equal keys, given the group's places in the list (ascending)
// and a counter marking the places of every smaller key. Larger keys do not change how the group ends up. Each smaller
// element met after a member of the group sends the group's current front to its back: that is what the swap with the
// running minimum does.
inline std::vector<std::size_t> tieGroupOrder(const std::vector<std::size_t>& ranks, const RankCounter& smaller)
{
    std::deque<std::size_t> queue;
    for (std::size_t t = 0; t < ranks.size(); ++t) {
        queue.push_back(ranks[t]);
        const std::size_t next = t + 1 < ranks.size() ? ranks[t + 1] : smaller.size();
        const std::size_t turns = static_cast<std::size_t>(smaller.between(ranks[t], next)) % queue.size();
        if (turns <= queue.size() / 2) {
            for (std::size_t k = 0; k < turns; ++k) {
                queue.push_back(queue.front());
                queue.pop_front();
            }
        } else {
            for (std::size_t k = turns; k < queue.size(); ++k) {
                queue.push_front(queue.back());
                queue.pop_back();
            }
        }
    }
    return {queue.begin(), queue.end()};
}

// The places of the list in the order the exchange sort by key leaves them.
template <typename Key>
std::vector<std::size_t> exchangeSortOrder(const std::vector<Key>& keys)
{
    std::vector<std::size_t> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), std::size_t{0});
    std::sort(byKey.begin(), byKey.end(), [&](std::size_t a, std::size_t b) {
        if (keys[a] < keys[b]) return true;
        if (keys[b] < keys[a]) return false;
        return a < b;
    });
    std::vector<std::size_t> out;
    out.reserve(keys.size());
    RankCounter smaller(keys.size());
    std::vector<std::size_t> group;
    for (std::size_t i = 0; i < byKey.size();) {
        group.clear();
        std::size_t j = i;
        while (j < byKey.size() && !(keys[byKey[i]] < keys[byKey[j]])) group.push_back(byKey[j++]);
        for (std::size_t place : tieGroupOrder(group, smaller)) out.push_back(place);
        for (std::size_t place : group) smaller.add(place, 1);
        i = j;
    }
    return out;
}

}  // namespace fendo::survey
