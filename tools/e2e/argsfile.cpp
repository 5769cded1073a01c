// argsfile.exe <file> [arguments...]: writes its arguments, <file> first, into
// <file>, one a line, so that a test sees exactly what the program was given.
#include <fstream>

int main(int argc, char** argv) {
    if (argc < 2) return 64;
    std::ofstream out(argv[1], std::ios::binary);
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    return out ? 0 : 1;
}
