#include <cstdio>

int main() {
    std::puts(
        "The vocabulary trainer's windows are not there yet; the libraries and word files are "
        "built.");
    return 0;
}
