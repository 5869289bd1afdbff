#include <iostream>

#include "cli/companion.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return companion::Run(argc, argv, std::cin, std::cout, std::cerr);
}
