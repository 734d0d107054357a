#include "framework/unique_any.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;
void Close(int *handle) { closed.push_back(*handle); }
int handles[3] = {5, 7, 9};

using Owned = UniqueAny<int *, Close>;
using OwnedOrMinusOne = UniqueAny<int *, Close, -1>;

TEST(Handles, EachHandleIsReleasedExactlyOnce)
{
    closed.clear();
    {
        Owned a(&handles[0]);
        Owned b(std::move(a));
        EXPECT_FALSE(a);
        Owned c(&handles[1]);
        c = std::move(b);
        EXPECT_EQ(closed, std::vector<int>{7});
        c.reset(c.get()); // the same handle again: kept, not closed
        EXPECT_EQ(closed.size(), 1u);
        EXPECT_EQ(c.release(), &handles[0]);
        EXPECT_FALSE(c);

        Owned d(&handles[2]);
        int **out = d.put(); // an out-parameter closes what was held first
        EXPECT_EQ(closed, (std::vector<int>{7, 9}));
        *out = &handles[1];
        EXPECT_EQ(d.get(), &handles[1]);
    }
    EXPECT_EQ(closed, (std::vector<int>{7, 9, 7})) << "a released handle is the caller's";
}

TEST(Handles, TheInvalidValueOfAKindIsNeverClosed)
{
    closed.clear();
    {
        OwnedOrMinusOne none;
        EXPECT_FALSE(none);
        EXPECT_EQ(none.get(), OwnedOrMinusOne::Invalid());
        OwnedOrMinusOne null(nullptr); // null is a handle for this kind, and -1 is none
        EXPECT_TRUE(null.is_valid());
        null.release();
        OwnedOrMinusOne held(&handles[0]);
        held.reset();
        EXPECT_EQ(held.get(), OwnedOrMinusOne::Invalid());
        *held.put() = OwnedOrMinusOne::Invalid(); // a call that failed and wrote "none"
    }
    EXPECT_EQ(closed, std::vector<int>{5});
}

} // namespace
