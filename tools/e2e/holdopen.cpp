// holdopen.exe <ready-file> <file>...: opens each file as a running program
// holds its document (others may read it, nobody may delete it), writes
// <ready-file> once all are open, and keeps them open until it is killed.
#include <windows.h>

#include <fstream>

int main(int argc, char** argv) {
    if (argc < 3) return 64;
    for (int i = 2; i < argc; ++i) {
        const HANDLE file = CreateFileA(argv[i], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
    }
    std::ofstream ready(argv[1], std::ios::binary);
    ready << "open\r\n";
    ready.close();
    Sleep(INFINITE);
    return 0;
}
