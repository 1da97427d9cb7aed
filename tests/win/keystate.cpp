// Prints whether Windows considers Caps Lock on: "capslock=1" or "capslock=0".
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("capslock=%d\n", (GetKeyState(VK_CAPITAL) & 1) ? 1 : 0);
    return 0;
}
