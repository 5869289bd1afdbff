#include <iostream>

#include "cli/companion.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);  // the batch flushes its answers itself, when its input waits
    return companion::Run(argc, argv, std::cin, std::cout, std::cerr);
}
