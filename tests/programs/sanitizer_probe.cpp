// Does what the sanitizers must report: leaks a block, or overflows a signed
// int. Either way it means to end with 1, the programs' normal quit, which a
// report must not be mistaken for.
#include <climits>
#include <cstdio>
#include <cstring>

int* lost = nullptr;

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "overflow") == 0) {
        volatile int largest = INT_MAX;
        std::printf("%d\n", largest + argc);
        return 1;
    }
    lost = new int[64];
    lost[0] = argc;
    std::printf("%d\n", lost[0]);
    lost = nullptr;
    return 1;
}
