#include <gtest/gtest.h>

#include <clocale>

// Tests must behave the same whatever locale the machine runs in; the engine never
// consults the C locale, and running under the environment's locale proves it.
int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
