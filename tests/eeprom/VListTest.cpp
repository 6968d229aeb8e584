#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eeprom/VList.h"

namespace {

// An item that records its deletion and, like a dependant, unregisters itself from its list.
struct Item {
  Item(std::string n, std::vector<std::string>& log, VList<Item*>* list = nullptr)
      : name(std::move(n)), log(log), list(list) {}
  ~Item() {
    log.push_back(name);
    if (list != nullptr) {
      EXPECT_FALSE(list->Remove(this));  // already taken out
    }
  }
  std::string name;
  std::vector<std::string>& log;
  VList<Item*>* list;
};

}  // namespace

TEST(VList, OrderRemovalAndOwnership) {
  std::vector<std::string> log;
  {
    VList<Item*> owned(VListMode::Owning);
    for (const char* n : {"a", "b", "c", "d"}) owned.Add(new Item(n, log, &owned));
    EXPECT_TRUE(owned.Owning());
    EXPECT_EQ(owned.Count(), 4);
    EXPECT_EQ(owned[2]->name, "c");

    // Removal moves the last item into the gap and hands the item back undeleted.
    Item* b = owned.RemoveAt(1);
    EXPECT_EQ(b->name, "b");
    EXPECT_EQ(owned[1]->name, "d");
    EXPECT_EQ(owned.Count(), 3);
    EXPECT_TRUE(log.empty());
    b->list = nullptr;
    delete b;
    EXPECT_EQ(owned.IndexOf(b), -1);
  }
  // Destroyed last first: a, d, c in the list now.
  EXPECT_EQ(log, (std::vector<std::string>{"b", "c", "d", "a"}));

  std::vector<std::string> keptLog;
  Item kept("kept", keptLog);
  {
    VList<Item*> borrowed(VListMode::NotOwning);
    borrowed.Add(&kept);
    borrowed.Add(&kept);
    EXPECT_EQ(borrowed.IndexOf(&kept), 1);  // searched from the end
    EXPECT_TRUE(borrowed.Remove(&kept));
    EXPECT_TRUE(borrowed.Contains(&kept));
  }
  EXPECT_TRUE(keptLog.empty());
}
