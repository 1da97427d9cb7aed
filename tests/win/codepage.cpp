// Prints the ANSI code page the system reports: "acp=1252", or "acp=65001" on a system set to
// "Use Unicode UTF-8 for worldwide language support".
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("acp=%u\n", GetACP());
    return 0;
}
