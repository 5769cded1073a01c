// marker.exe <file> [sleep-ms]: sleeps, then writes <file>. A test that finds
// the file knows the program that started marker.exe let it run to its end.
#include <windows.h>

#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) return 64;
    if (argc == 3) Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    std::ofstream marker(argv[1], std::ios::binary);
    marker << "marker\r\n";
    return marker ? 0 : 1;
}
