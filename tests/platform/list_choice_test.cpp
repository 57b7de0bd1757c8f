#include "platform/list_choice.h"

#include <gtest/gtest.h>

namespace {

TEST(ListChoiceTest, ListChoiceIsANumberOfTheList) {
  const struct {
    const char* answer;
    size_t count;
    size_t choice;
  } cases[] = {
      {"1", 2, 1},    {"2", 2, 2},    {"02", 2, 2},   {"3", 2, 0},   {"0", 2, 0},
      {"", 2, 0},     {"1", 0, 0},    {"-1", 2, 0},   {"+1", 2, 0},  {" 1", 2, 0},
      {"1 ", 2, 0},   {"1a", 2, 0},   {"12", 12, 12}, {"13", 12, 0},
      {"99999999999999999999999999", 12, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(listChoice(c.answer, c.count), c.choice) << c.answer << " of " << c.count;
  }
}

}  // namespace
