#include "platform/string_list.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

struct Marker : TObject {};

TEST(StringList, AddsKeepsOrderAndObjects) {
    StringList list;
    Marker m;
    EXPECT_EQ(list.Add("um"), 0);
    EXPECT_EQ(list.AddObject("dois", &m), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_STREQ(list.Get(1), "dois");
    EXPECT_EQ(list.Objects(0), nullptr);
    EXPECT_EQ(list.Objects(1), &m);
    list.Exchange(0, 1);
    EXPECT_STREQ(list.Get(0), "dois");
    list.Delete(0);
    EXPECT_STREQ(list.Get(0), "um");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, RefusesIndexesOutsideTheList) {
    StringList list;
    list.Add("x");
    try {
        list.Get(1);
        ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list.Objects(-1), EListError);
    EXPECT_THROW(list.Delete(5), EListError);
    EXPECT_THROW(list.Exchange(0, 1), EListError);
    EXPECT_EQ(list.Count(), 1) << "a refused index changes nothing";
}

TEST(StringList, AssignCopiesTextsAndSharesObjects) {
    StringList source;
    Marker m;
    source.AddObject("a", &m);
    source.Add("b");
    StringList copy;
    copy.Add("old");
    copy.Assign(source);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_STREQ(copy.Get(0), "a");
    EXPECT_EQ(copy.Objects(0), &m);
    copy.Assign(copy);
    EXPECT_EQ(copy.Count(), 2);
}

// The host calls the list only through the abstract interface.
TEST(StringList, WorksThroughTheHostInterface) {
    StringList concrete;
    HostStringList& host = concrete;
    host.Add("texto");
    EXPECT_EQ(host.Count(), 1);
    EXPECT_STREQ(host.Get(0), "texto");
    host.Clear();
    EXPECT_EQ(concrete.Count(), 0);
}

}  // namespace
