#include "platform/list_choice.h"

std::size_t listChoice(const std::string& answer, std::size_t count) {
  std::size_t number = 0;
  for (char c : answer) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + std::size_t(c - '0');
    if (number > count) return 0;  // also before the number could overflow
  }
  return number;
}
