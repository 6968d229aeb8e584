#include <gtest/gtest.h>

#include "EepTestSupport.h"

namespace {

const std::vector<uint8_t> kSmallImage = {
    0x0E, 0x00, 0x12, 0x00, 0x0C, 0x00, 0x3F, 0xF5,  // addresses of g2, g3, g1; fixed bytes
    0x61,                                            // 1 + sum of the eight bytes above
    0x00, 0x00, 0x17,                                // reserved; used length 23, high byte first
    0x11, 0x22,                                      // g1
    'a',  'b',  0x00, 0x00,                          // g2: "ab", ""
    'x',  'y',  'z',  0x00, 0x6C};                   // g3: "xyz" and its checksum

const char kErrorReadingEep[] = "Chyba p\xF8i interpretaci nastaven\xED za\xF8\xEDzen\xED";

}  // namespace

TEST(Layout, ChecksumIsOnePlusTheByteSum) {
  RecordingLoop loop;
  VConfigByteArray image;
  VESGVorCRC group;
  VESFixedByte a(0x61), b(0x62), c(0x63);
  group.addVVC(&a);
  group.addVVC(&b);
  group.addVVC(&c);
  image.root().addVVC(&group);
  image.setSizeCode(0);
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(image.usedLength(), 4);
  EXPECT_EQ(image.getShowingByte(3), 0x27);

  bool badCrc = true;
  image.writeBadCrc = [&] { return badCrc; };
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(image.getShowingByte(3), 0xA6);
  // A configuration written with a bad checksum still loads.
  EXPECT_EQ(image.readSettings(), 4);
  EXPECT_TRUE(loop.boxes.empty());
}

TEST(Layout, GroupsAreLaidOutThroughTheirAddressWords) {
  RecordingLoop loop;
  VConfigByteArray image;
  SmallLayout layout(image);
  image.setSizeCode(0);
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(ShowingBytes(image), kSmallImage);

  // A text that grows moves the group after it: its address word and the header checksum change.
  layout.t0.set("abc");
  ASSERT_TRUE(image.writeSettings(false, false));
  std::vector<uint8_t> moved = ShowingBytes(image);
  ASSERT_EQ(moved.size(), 24u);
  EXPECT_EQ(moved[0], 0x0E);
  EXPECT_EQ(moved[2], 0x13);
  EXPECT_EQ(moved[8], 0x62);
  EXPECT_EQ(moved[11], 24);
  EXPECT_EQ(moved[19], 'x');
  EXPECT_EQ(moved[23], 0x6C);
  EXPECT_TRUE(loop.boxes.empty());

  // Interpretation jumps to each group's address and ends exactly at the used length.
  CountingTree tree;
  image.settingTree = &tree;
  EXPECT_EQ(image.readSettings(), 24);
  EXPECT_EQ(layout.t0.loaded, "abc");
  EXPECT_EQ(layout.t1.loaded, "");
  EXPECT_EQ(layout.t2.loaded, "xyz");
  EXPECT_EQ(tree.accepts, 1);
  EXPECT_EQ(tree.reverts, 0);
}

TEST(Layout, InterpretationFailsAndRevertsOnForeignData) {
  RecordingLoop loop;
  VConfigByteArray image;
  SmallLayout layout(image);
  CountingTree tree;
  image.settingTree = &tree;

  auto interpret = [&](std::vector<uint8_t> bytes, int hole = -1) {
    DefineShowing(image, bytes);
    if (hole >= 0) {  // leave one byte undefined
      image.clearShowingStates();
      for (size_t i = 0; i < bytes.size(); ++i)
        if (static_cast<int>(i) != hole) image.setShowingByte(static_cast<int>(i), bytes[i]);
    }
    return image.readSettings();
  };
  EXPECT_EQ(interpret(kSmallImage), 23);
  EXPECT_EQ(tree.accepts, 1);

  std::vector<uint8_t> bad = kSmallImage;
  bad[7] = 0xF4;  // a constant byte differs
  EXPECT_EQ(interpret(bad), -1);
  EXPECT_EQ(interpret(kSmallImage, 20), -1);  // a text without its end
  EXPECT_EQ(tree.reverts, 2);
  EXPECT_EQ(tree.accepts, 1);
  ASSERT_EQ(loop.boxes.size(), 2u);
  EXPECT_EQ(loop.boxes[0].caption, "KX2 Init");
  EXPECT_EQ(loop.boxes[0].text, kErrorReadingEep);
  EXPECT_EQ(loop.boxes[0].flags, ui::MB_ICONERROR);

  // A wrong checksum is not a reason to refuse.
  bad = kSmallImage;
  bad[22] = 0;
  EXPECT_EQ(interpret(bad), 23);

  // Nor is a group placed where the words say, even over another one: g2 at g1's address reads
  // g1's bytes into its first text, and the lengths still end where g3 does.
  bad = kSmallImage;
  bad[0] = 12;
  EXPECT_EQ(interpret(bad), 23);
  EXPECT_EQ(layout.t0.loaded,
            "\x11\x22"
            "ab");
  EXPECT_EQ(layout.t1.loaded, "");
  EXPECT_EQ(layout.t2.loaded, "xyz");
  EXPECT_EQ(loop.boxes.size(), 2u);
}

TEST(Layout, LengthIsLearntWhileTheUnitIsRead) {
  RecordingLoop loop;
  VConfigByteArray image;
  SmallLayout layout(image);
  image.setSizeCode(0);
  image.verifyReads = [] { return false; };
  EXPECT_GT(image.expectedLength(), 12);  // nothing valid: at least the header is needed
  FillMirror(image, kSmallImage, 20);     // t2 without its final 0, no checksum yet
  EXPECT_EQ(image.expectedLength(), 22);
  FillMirror(image, kSmallImage, 22);
  EXPECT_EQ(image.expectedLength(), 24);  // only the checksum byte is missing
  FillMirror(image, kSmallImage, 23);
  EXPECT_EQ(image.expectedLength(), 23);
}

TEST(Layout, ChangesClimbToTheRoot) {
  RecordingLoop loop;
  VConfigByteArray image;
  SmallLayout layout(image);
  image.updateMemoryInfo();
  VEepSettingGroup& root = image.root();
  EXPECT_FALSE(root.isChanged());
  EXPECT_FALSE(root.isUpdatePending());
  EXPECT_FALSE(layout.g1.isUpdatePending());

  markChanged(&layout.b0, false);  // a byte keeps its length
  EXPECT_TRUE(layout.g1.isUpdatePending());
  EXPECT_TRUE(root.isUpdatePending());
  EXPECT_FALSE(root.isChanged());
  image.updateMemoryInfo();
  EXPECT_FALSE(root.isUpdatePending());
  EXPECT_FALSE(layout.g1.isUpdatePending());

  layout.t2.set("longer");  // below two groups
  EXPECT_TRUE(layout.g3sum.isChanged());
  EXPECT_TRUE(layout.g3.isChanged());
  EXPECT_TRUE(root.isChanged());
  image.updateMemoryInfo();
  EXPECT_EQ(image.usedLength(), 26);
  EXPECT_FALSE(root.isChanged());
  markChanged(nullptr, true);  // settings without a descriptor
  EXPECT_TRUE(loop.boxes.empty());
}

TEST(Layout, WronglyBuiltLayoutsAreReported) {
  RecordingLoop loop;
  VEepSettingGroup first, second;
  VESFixedByte byte(1);
  first.addVVC(&byte);
  second.addVVC(&byte);  // the byte moves; listed twice it would be laid out twice
  ASSERT_EQ(loop.boxes.size(), 1u);
  EXPECT_EQ(loop.boxes[0].caption, "Error");
  EXPECT_EQ(loop.boxes[0].text, "VSetting::addVVC: to je divny, pridavat ho do dvou, ne?");
  EXPECT_EQ(first.children().Count(), 0);

  VESAddrWordLH word;
  word.setClientAddress(100, true);
  word.setClientAddress(101, false);  // a storing pass found the group elsewhere
  ASSERT_EQ(loop.boxes.size(), 2u);
  EXPECT_EQ(loop.boxes[1].text, "VSettingAddr::setClientAddress: adresa se v druhem pruchodu lisi");
  EXPECT_EQ(word.clientAddress(), 100);

  // Descriptors that go away leave their group; a group that goes away releases its children.
  {
    VESFixedByte shortLived(2);
    second.addVVC(&shortLived);
  }
  EXPECT_EQ(second.children().Count(), 1);
  {
    VEepSettingGroup group;
    group.addVVC(&byte);
  }
  EXPECT_EQ(byte.parentGroup(), nullptr);
}
