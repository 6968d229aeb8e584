#include <gtest/gtest.h>

#include <string>

#include "ui/TextField.h"
#include "ui/Types.h"

using ui::TextField;
using Effect = TextField::Effect;

TEST(TextField, KeysEditAtTheCaretWithinTheLimits) {
  struct Case {
    const char* what;
    const char* text;
    int start, length, maxLength;
    bool readOnly, multiLine;
    char key;       // typed, when down is 0
    uint16_t down;  // a key without a character
    const char* after;
    int caret, selected;
    Effect effect;
  };
  const Case cases[] = {
      {"typing replaces the selection", "abcd", 1, 2, 0, false, false, 'x', 0, "axd", 2, 0,
       Effect::Text},
      {"typing inserts at the caret", "ab", 1, 0, 0, false, false, 'x', 0, "axb", 2, 0,
       Effect::Text},
      {"a full field takes no more", "abc", 3, 0, 3, false, false, 'x', 0, "abc", 3, 0,
       Effect::None},
      {"the replaced selection makes room", "abc", 0, 3, 3, false, false, 'x', 0, "x", 1, 0,
       Effect::Text},
      {"control characters do nothing", "ab", 1, 0, 0, false, false, 0x1B, 0, "ab", 1, 0,
       Effect::None},
      {"Enter in one line does nothing", "ab", 1, 0, 0, false, false, '\r', 0, "ab", 1, 0,
       Effect::None},
      {"Enter breaks a multi-line field", "ab", 1, 0, 0, false, true, '\r', 0, "a\r\nb", 3, 0,
       Effect::Text},
      {"Backspace deletes before the caret", "abc", 2, 0, 0, false, false, '\b', 0, "ac", 1, 0,
       Effect::Text},
      {"Backspace at the start does nothing", "abc", 0, 0, 0, false, false, '\b', 0, "abc", 0, 0,
       Effect::None},
      {"Backspace deletes the selection", "abcd", 1, 2, 0, false, false, '\b', 0, "ad", 1, 0,
       Effect::Text},
      {"Delete deletes after the caret", "abc", 1, 0, 0, false, false, 0, ui::VK_DELETE, "ac", 1, 0,
       Effect::Text},
      {"Delete at the end does nothing", "abc", 3, 0, 0, false, false, 0, ui::VK_DELETE, "abc", 3,
       0, Effect::None},
      {"a read-only field takes no typing", "ab", 1, 0, 0, true, false, 'x', 0, "ab", 1, 0,
       Effect::None},
      {"nor a Delete", "ab", 1, 0, 0, true, false, 0, ui::VK_DELETE, "ab", 1, 0, Effect::None},
      {"Left stops at the start", "ab", 0, 0, 0, false, false, 0, ui::VK_LEFT, "ab", 0, 0,
       Effect::Caret},
      {"Right leaves the selection behind", "abcd", 1, 2, 0, false, false, 0, ui::VK_RIGHT, "abcd",
       4, 0, Effect::Caret},
      {"End goes to the end", "abcd", 1, 2, 0, true, false, 0, ui::VK_END, "abcd", 4, 0,
       Effect::Caret},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextField field;
    std::string text = c.text;
    field.SetMaxLength(c.maxLength);
    field.SetReadOnly(c.readOnly);
    field.SetSelStart(c.start, text);
    field.SetSelLength(c.length, text);
    const Effect effect =
        c.down != 0 ? field.KeyDown(c.down, text) : field.Key(c.key, text, c.multiLine);
    EXPECT_EQ(effect, c.effect);
    EXPECT_EQ(text, c.after);
    EXPECT_EQ(field.SelStart(text), c.caret);
    EXPECT_EQ(field.SelLength(text), c.selected);
  }
}

TEST(TextField, TextEnteredAtOnceIsCStyleCutToTheLimitWithTheCaretAfterIt) {
  TextField field;
  field.SetMaxLength(4);
  std::string value("abcdef\0g", 8);
  EXPECT_TRUE(field.Enter(value, ""));
  EXPECT_EQ(value, "abcd");
  EXPECT_EQ(field.SelStart(value), 4);
  value = "abcdx";
  EXPECT_FALSE(field.Enter(value, "abcd"));  // cut, it is what the field holds
  field.SetReadOnly(true);
  value = "z";
  EXPECT_FALSE(field.Enter(value, "abcd"));
}
