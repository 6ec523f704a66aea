#include <cstdio>

int main() {
    std::puts("trimlet " TRIMLET_VERSION);
    return 0;
}
