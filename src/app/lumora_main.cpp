// The window program.
#include <cstdio>

int main() {
  std::printf("Lumora %s\n", LUMORA_VERSION);
  return 0;
}
