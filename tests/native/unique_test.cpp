#include "toolkit/unique.h"

#include <gtest/gtest.h>

#include <vector>

namespace toolkit {
namespace {

std::vector<int> closed;
void CloseFake(int h) { closed.push_back(h); }
using UniqueFake = Unique<int, CloseFake>;
using UniqueFakeFile = Unique<int, CloseFake, -1>;  // -1 owns nothing, 0 is a handle

struct FakeInterface {
    int references = 1;
    void AddRef() { ++references; }
    void Release() { --references; }
};

TEST(Unique, ClosesExactlyOnceOnEveryPath) {
    closed.clear();
    {
        UniqueFake a(1);
        UniqueFake b(std::move(a));  // moved-from owner closes nothing
        UniqueFake c(3);
        c = std::move(b);  // closes 3, takes 1
        UniqueFake d(4);
        EXPECT_EQ(d.release(), 4);  // released: not closed
        UniqueFake e(5);
        e.reset(6);
        UniqueFake empty;
    }
    EXPECT_EQ(closed, (std::vector<int>{3, 5, 6, 1}));

    closed.clear();
    {
        UniqueFakeFile failed(-1), zero(0), none;
        EXPECT_FALSE(failed);
        EXPECT_TRUE(zero);
        EXPECT_EQ(none.get(), -1);
    }
    EXPECT_EQ(closed, (std::vector<int>{0}));
}

TEST(ComPtr, BalancesReferences) {
    FakeInterface object;
    {
        ComPtr<FakeInterface> owner(&object);  // adopts the caller's reference
        ComPtr<FakeInterface> copy = owner;
        EXPECT_EQ(object.references, 2);
        ComPtr<FakeInterface> moved = std::move(copy);
        EXPECT_EQ(object.references, 2);
        moved = owner;  // self-share: still two owners
        EXPECT_EQ(object.references, 2);
        owner.put();  // an out-parameter slot releases what was held
        EXPECT_EQ(object.references, 1);
    }
    EXPECT_EQ(object.references, 0);
}

}  // namespace
}  // namespace toolkit
