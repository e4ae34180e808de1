#include <cstdio>

int main() {
  std::puts("lumacet-cli");
  return 0;
}
