#include "output/markup_repaint.h"

#include <algorithm>

namespace output::markup {

std::vector<Box> EdgesMoved(const Box& before, const Box& after, int32_t reach) {
    const Box all = Union(before, after);
    if (before.Empty() || after.Empty())
        return {Box{all.left - reach, all.top - reach, all.right + reach, all.bottom + reach}};
    std::vector<Box> strips;
    const auto across = [&](int32_t a, int32_t b) {  // a vertical edge moved from a to b
        if (a != b)
            strips.push_back(Box{std::min(a, b) - reach, all.top - reach, std::max(a, b) + reach,
                                 all.bottom + reach});
    };
    const auto down = [&](int32_t a, int32_t b) {
        if (a != b)
            strips.push_back(Box{all.left - reach, std::min(a, b) - reach, all.right + reach,
                                 std::max(a, b) + reach});
    };
    across(before.left, after.left);
    across(before.right, after.right);
    down(before.top, after.top);
    down(before.bottom, after.bottom);
    return strips;
}

}  // namespace output::markup
