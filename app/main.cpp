#include "app/lunvik_main.h"

int main(int, char** argv) {
    return LunvikMain(argv[0]);
}
