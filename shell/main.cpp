#include <cstdio>

int main(int, char**) {
    std::fprintf(stderr, "korvex: not yet\n");
    return 2;
}
