#include <gtest/gtest.h>

#include "EepTestSupport.h"
#include "ui/Controls.h"

namespace {

constexpr auto kRead = VConfigByteArray::ReadFromUnit;
constexpr auto kWritten = VConfigByteArray::WrittenToUnit;

}  // namespace

TEST(Image, ByteStatesAndVerifiedReads) {
  RecordingLoop loop;
  VConfigByteArray image;
  image.setSizeCode(0);  // 128 bytes
  EXPECT_EQ(image.byteState(-1), 0);
  EXPECT_EQ(image.byteState(0), 0x0A);  // nothing allocated yet
  EXPECT_EQ(image.getShowingByte(0), 0xFF);
  EXPECT_EQ(image.getMirrorByte(0), 0);

  image.setShowingByte(5, 0x42);
  EXPECT_EQ(image.byteState(5), 0x1F);  // defined, mirror unknown: write and read
  image.setMirrorByte(5, 0x99, kRead);
  EXPECT_EQ(image.byteState(5), 0x1D);  // read once but contradicted: write, no re-read
  image.setMirrorByte(5, 0x42, kRead);  // a different second reading replaces the first
  EXPECT_EQ(image.byteState(5), 0x1E);  // read once and equal: confirm by reading
  image.setMirrorByte(5, 0x42, kRead);
  EXPECT_EQ(image.byteState(5), 0x3C);  // in step
  image.setMirrorByte(5, 0x43, kRead);
  EXPECT_EQ(image.byteState(5), 0x1D);  // the unit changed under us
  image.setMirrorByte(5, 0x43, kRead);
  EXPECT_EQ(image.byteState(5), 0x3D);  // valid but different

  // A written byte is trusted only after an equal read-back.
  image.setMirrorByte(6, 0x50, kWritten);
  image.setMirrorByte(6, 0x50, kWritten);
  EXPECT_EQ(image.byteState(6), 0x0A);
  image.setMirrorByte(6, 0x50, kRead);
  EXPECT_EQ(image.byteState(6), 0x28);

  // Without verification every recorded byte is valid at once; beyond the memory only the two
  // view bits are reported.
  image.verifyReads = [] { return false; };
  image.setMirrorByte(7, 0x60, kWritten);
  EXPECT_EQ(image.byteState(7), 0x28);
  image.setShowingByte(200, 1);
  image.setMirrorByte(200, 1, kRead);
  EXPECT_EQ(image.byteState(200), 0x30);

  // Defining a byte twice in one layout pass is reported and the byte is overwritten.
  image.setShowingByte(5, 0x44);
  ASSERT_EQ(loop.boxes.size(), 1u);
  EXPECT_EQ(loop.boxes[0].caption, "Error");
  EXPECT_EQ(loop.boxes[0].text, "VConfigByteArray::setShowingByte: uz je valid");
  EXPECT_EQ(loop.boxes[0].flags, ui::MB_ICONERROR);
  EXPECT_EQ(image.getShowingByte(5), 0x44);

  image.updateMemoryInfo();  // an empty layout: used length 0, so byte 5 lies beyond it
  EXPECT_EQ(image.getShowingByte(5), 0xFF);
  image.clearShowingStates();
  image.clearMirrorStates();
  EXPECT_EQ(image.byteState(5), 0x0A);
}

TEST(Image, ArraysGrowAndKeepTheirContent) {
  RecordingLoop loop;
  VConfigByteArray image;
  image.setShowingByte(-1, 1);
  EXPECT_EQ(image.allocated(), 0);
  image.setMirrorByte(10, 0x33, kRead);
  EXPECT_EQ(image.allocated(), 128);
  image.setShowingByte(1000, 8);  // 128 -> 256 -> 512 -> 1024
  EXPECT_EQ(image.allocated(), 1024);
  EXPECT_EQ(image.getMirrorByte(10), 0x33);
  EXPECT_EQ(image.getShowingByte(500), 0xFF);
  EXPECT_EQ(image.usedLength(), 1001);
  image.resize(100);
  image.setShowingByte(100, 1);  // the largest power of two not above 399
  EXPECT_EQ(image.allocated(), 256);
  EXPECT_EQ(image.getMirrorByte(10), 0x33);
  // No memory is larger than 64 KiB: such positions are not stored.
  image.setMirrorByte(1 << 30, 1, kRead);
  EXPECT_EQ(image.allocated(), 256);
}

TEST(Image, SizesAndIdentification) {
  RecordingLoop loop;
  VConfigByteArray::EEPROMid id;
  EXPECT_EQ(id.setSize(0), 255);
  EXPECT_EQ(id.setSize(65536), 9);
  EXPECT_EQ(id.setSize(1000), 0);
  ASSERT_EQ(loop.boxes.size(), 1u);
  EXPECT_EQ(loop.boxes[0].text, "VConfigByteArray::EEPROMid::setSize: bad size");

  VConfigByteArray image;
  ui::Label labelId(nullptr), labelVersion(nullptr);
  image.labels.id = &labelId;
  image.labels.version = &labelVersion;
  image.setEEPROMid(1, 0xDA, 5, 1, 12);
  EXPECT_EQ(labelId.Text(), "(01-DA-05)");
  EXPECT_EQ(labelVersion.Text(), "1.12");
  image.typeName = [](uint8_t, uint8_t, uint8_t) { return std::string("KX2"); };
  image.setEEPROMid(1, 0xDA, 2, 1, 8);
  EXPECT_EQ(labelId.Text(), "KX2");
}

TEST(Image, MemoryFiguresFollowTheLayout) {
  RecordingLoop loop;
  VConfigByteArray image;
  ui::Label total(nullptr), cfg(nullptr), freeMem(nullptr);
  image.labels.memLenTotal = &total;
  image.labels.memLenCfg = &cfg;
  image.labels.memLenFree = &freeMem;
  TestText text(std::string(124, 'a'));  // 125 bytes with its 0
  image.root().addVVC(&text);
  image.setSizeCode(0);

  image.updateMemoryInfo();
  EXPECT_EQ(total.Text(), "128");
  EXPECT_EQ(cfg.Text(), "125");
  EXPECT_EQ(freeMem.Text(), "3");
  EXPECT_EQ(freeMem.FontColor(), ui::clBlue);  // 97.7 % in use

  cfg.SetText("untouched");  // nothing changed: nothing is measured or shown
  image.updateMemoryInfo();
  EXPECT_EQ(cfg.Text(), "untouched");

  text.set(std::string(125, 'a'));  // 98.4 %
  image.updateMemoryInfo();
  EXPECT_EQ(cfg.Text(), "126");
  EXPECT_EQ(freeMem.FontColor(), ui::clPurple);
  text.set(std::string(128, 'a'));
  image.updateMemoryInfo();
  EXPECT_EQ(freeMem.Text(), "-1");
  EXPECT_EQ(freeMem.FontColor(), ui::clRed);

  image.setSizeCode(1);  // a new memory size is shown without a layout change
  image.updateMemoryInfo();
  EXPECT_EQ(total.Text(), "256");
  EXPECT_EQ(freeMem.FontColor(), ui::clBlue);
}

TEST(Image, ConfigurationLongerThanTheMemoryIsNotWritten) {
  RecordingLoop loop;
  VConfigByteArray image;
  TestText text(std::string(127, 'a'));  // exactly 128 bytes
  image.root().addVVC(&text);
  image.setSizeCode(0);
  EXPECT_TRUE(image.writeSettings(false, false));
  const std::vector<uint8_t> before = ShowingBytes(image);

  text.set(std::string(128, 'b'));
  EXPECT_FALSE(image.writeSettings(false, false));
  ASSERT_EQ(loop.boxes.size(), 1u);
  EXPECT_EQ(loop.boxes[0].caption, "KX2 Init");
  EXPECT_EQ(loop.boxes[0].text, "Nastaven\xED se nevejde do pam\xECti za\xF8\xEDzen\xED!");
  EXPECT_EQ(loop.boxes[0].flags, ui::MB_ICONERROR);
  EXPECT_EQ(ShowingBytes(image), before);

  int routed = 0;  // the application's box can be routed elsewhere
  image.messageBox = [&](const std::string&, unsigned) { return ++routed; };
  EXPECT_FALSE(image.writeSettings(false, true));
  EXPECT_EQ(routed, 1);

  EXPECT_TRUE(image.writeSettings(true, false));  // forced, as saving a file is
  EXPECT_EQ(image.usedLength(), 129);
  EXPECT_EQ(image.getShowingByte(0), 'b');
}

TEST(Image, WrittenHeaderStatesTheCurrentLength) {
  RecordingLoop loop;
  VConfigByteArray image;
  SmallLayout layout(image, "a long text");
  image.setSizeCode(0);
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(image.usedLength(), 32);
  // Shorter again, with no poll in between to re-measure.
  layout.t0.set("ab");
  ASSERT_TRUE(image.writeSettings(false, false));
  EXPECT_EQ(image.usedLength(), 23);
  EXPECT_EQ(image.getShowingByte(11), 23);

  // First phase of a write: the header reads 0, the rest is real.
  ASSERT_TRUE(image.writeSettings(false, true));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(image.getShowingByte(i), 0) << i;
  EXPECT_EQ(image.getShowingByte(12), 0x11);
  EXPECT_TRUE(loop.boxes.empty());
}

TEST(Image, MirrorBecomesTheShowingBufferAndIsInterpreted) {
  RecordingLoop loop;
  VConfigByteArray unit;
  SmallLayout source(unit, "hello", "");
  unit.setSizeCode(0);
  ASSERT_TRUE(unit.writeSettings(false, false));
  const std::vector<uint8_t> bytes = ShowingBytes(unit);

  VConfigByteArray image;
  SmallLayout layout(image);
  CountingTree tree;
  image.settingTree = &tree;
  image.verifyReads = [] { return false; };
  FillMirror(image, bytes, bytes.size());
  EXPECT_TRUE(image.mirror2Showing());
  EXPECT_EQ(layout.t0.loaded, "hello");
  EXPECT_EQ(layout.t2.loaded, "");
  EXPECT_EQ(ShowingBytes(image), bytes);
  EXPECT_EQ(tree.accepts, 1);
  EXPECT_TRUE(loop.boxes.empty());

  // Conflicting valid bytes keep the showing byte and are reported once, not once per byte.
  for (int i = 12; i < 14; ++i) image.setMirrorByte(i, 0x77, kRead);
  EXPECT_TRUE(image.mirror2Showing());
  ASSERT_EQ(loop.boxes.size(), 1u);
  EXPECT_EQ(loop.boxes[0].text,
            "VConfigByteArray::mirror2Showing: mirror and showing valid, but not equal");
  EXPECT_EQ(image.getShowingByte(12), 0x11);

  // A mirror without a configuration: interpretation fails, the used length is 0.
  image.clearMirrorStates();
  image.clearShowingStates();
  EXPECT_FALSE(image.mirror2Showing());
  EXPECT_EQ(image.usedLength(), 0);
  EXPECT_EQ(tree.reverts, 1);
}
